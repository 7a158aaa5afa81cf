#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The six forms of the GRE's Issue task. The library gives its topics the forms
// in this order, in turn: topic 1 is a statement, topic 6 a policy, topic 7 a
// statement again; each topic ends with its form's instruction.
enum class IssueForm { Statement, Recommendation, Claim, TwoViews, ClaimAndReason, Policy };

inline constexpr int IssueFormCount = 6;

// Names as the start window's Form chooser and the test window's heading show them.
inline const std::array<QString, IssueFormCount> IssueFormNames{
    QStringLiteral("Statement"), QStringLiteral("Recommendation"),   QStringLiteral("Claim"),
    QStringLiteral("Two Views"), QStringLiteral("Claim and Reason"), QStringLiteral("Policy")};

IssueForm issueFormOf(int number);
QString issueFormName(IssueForm form);

// A GRE Issue topic drawn at random, of any form or of one, from a generator
// seeded with seed.
int drawGreIssueTopic(std::optional<IssueForm> form, std::uint64_t seed);
