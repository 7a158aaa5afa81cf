#pragma once

// Slips of usage and mechanics that a rule can find for certain: "the the",
// "an university", "could of", "their is", a sentence begun in lower case. Each
// rule is a row of data with a sentence it must flag and one it must not; one
// engine applies them all. Rules that would need a guess (style, word choice,
// the passive) are not here: a sentence without a flag may still be wrong.

#include <QList>
#include <QString>
#include <QStringView>

#include <span>

enum class UsageFamily { Mechanics, Usage };

// One rule. pattern is a run of words separated by spaces, each element
// matching one word of the answer with only white space between them:
//   its|it's      one of these words, in any case but all capitals; a capital
//                 only where a sentence or line begins
//   =i            exactly this word, case and all
//   !we|they      any word but these
//   .             (inside a list) no further word: punctuation or the end
//   @any          any word of letters
//   @same         the word before again
//   @vowel        a word that certainly opens with a vowel sound
//   @consonant    a word that certainly opens with a consonant sound
//   @lower        a word all in lower case letters
//   @start        (takes no word) a sentence certainly begins here
//   [ ]           the slip itself, underlined and replaced; all when absent
// A pattern that is only "@space-before", "@no-space-after" or "@unclosed" names
// a check of the characters themselves. exceptions are phrases, separated by
// "|", that stop the rule wherever one starts inside the match. correction
// replaces the slip: "$N" is the match's N-th word as written, "a>b|c>d" maps
// the slip (lower case) to its correction, "@capital" is the slip with a capital.
struct UsageRule {
    UsageFamily family;
    const char* pattern;
    const char* exceptions;
    const char* says; // what the rule says, in a few plain words
    const char* correction;
    // Its proof: a sentence it must flag, with the correction it must give,
    // and one it must leave alone.
    const char* firesOn;
    const char* corrected;
    const char* silentOn;
};

std::span<const UsageRule> usageRules();

// The most the report keeps, as for spelling: an answer of megabytes gives a
// report of a page.
inline constexpr int ListedUsageSlips = 40;
inline constexpr int MarkedUsageSlips = 5000;
inline constexpr int SlipSentenceLength = 90; // characters of the sentence shown

struct UsageSpan {
    qsizetype start = 0;
    qsizetype length = 0;
};

// One slip, listed once however often it is made.
struct UsageSlip {
    int rule = 0;       // index into usageRules()
    QString written;    // as first written
    QString correction; // what to write instead
    QString sentence;   // where it was first met, cut to a line
    int count = 0;
    qsizetype firstAt = 0; // where in the answer it is first made
};

struct UsageReport {
    int words = 0; // as countWords counts them
    int mechanics = 0;
    int usage = 0;
    QList<UsageSlip> slips;  // most frequent first, then in text order; at most ListedUsageSlips
    int different = 0;       // different slips, listed or not
    QList<UsageSpan> places; // at most MarkedUsageSlips, in text order

    double perHundred(UsageFamily family) const
    {
        const int found = family == UsageFamily::Mechanics ? mechanics : usage;
        return words > 0 ? 100.0 * found / words : 0.0;
    }
};

UsageReport findUsageSlips(QStringView answer);

// How many slips of usage and mechanics the answer holds, both families.
int countUsageSlips(QStringView answer);

// "Mechanics" or "Usage".
QString familyName(UsageFamily family);
