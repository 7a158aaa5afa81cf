#pragma once

// The question under way: which library its topic comes from, and its number there.
enum class EssayKind { Issue, Argument };

struct Question {
    EssayKind kind = EssayKind::Issue;
    int number = 1;

    bool operator==(const Question&) const = default;
};
