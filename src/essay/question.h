#pragma once

#include "bank/topiclibrary.h"

#include <QString>

#include <array>

// The question under way: which library its topic comes from, and its number there.
enum class EssayKind { Issue, Argument, GreIssue };

struct Question {
    EssayKind kind = EssayKind::Issue;
    int number = 1;

    bool operator==(const Question&) const = default;
};

// What tells the kinds apart wherever essays are named, filed and counted. The
// order is the kinds' order everywhere: the Kind filter, the lists, the topics map.
struct KindFacts {
    EssayKind kind;
    const char* name;        // "GRE Issue": the list's Kind column, the drafts
    const char* numberLabel; // "GRE Issue No.": the record's heading line
    const char* filePrefix;  // "gi": user/gi12.txt
    int topicCount;
};

inline constexpr std::array<KindFacts, 3> EssayKinds{{
    {EssayKind::Issue, "Issue", "Issue No.", "ai", IssueTopicCount},
    {EssayKind::Argument, "Argument", "Argument No.", "aa", ArgumentTopicCount},
    {EssayKind::GreIssue, "GRE Issue", "GRE Issue No.", "gi", GreIssueTopicCount},
}};

inline const KindFacts& kindFacts(EssayKind kind)
{
    return EssayKinds.at(std::size_t(kind));
}

inline QString kindName(EssayKind kind)
{
    return QLatin1String(kindFacts(kind).name);
}
