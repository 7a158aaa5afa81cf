#pragma once

// What an essay is made of, measured from its answer and topic alone: length,
// spelling, repetition, linking words, the topic's words and vocabulary. These
// are counts for the writer to read after the test, not a grade.

#include "essay/usageslips.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

class SpellChecker;

// The length the essay is measured against: public analyses of scored GRE and
// GMAT essays find scores rising with length up to about 600 words, and 500 to
// 600 is what a well-scored 30-minute essay usually runs to.
struct WordBand {
    int low;
    int high;
};
inline constexpr WordBand TargetWords{500, 600};

// The longest lists the report keeps, so that an answer of megabytes gives a
// report of a page.
inline constexpr int ListedSlips = 40;
inline constexpr int MarkedSlips = 5000;
inline constexpr int CheckedWords = 20000; // different words looked up
inline constexpr int ListedWords = 8;
inline constexpr int ListedStarts = 10;
inline constexpr int ListedTopicWords = 30;

struct CountedWord {
    QString word;
    int count = 0;
    bool operator==(const CountedWord&) const = default;
};

// A word neither dictionary knows, as first written, and how often it is.
struct SpellingSlip {
    QString word;
    int count = 0;
    QStringList suggestions; // filled by suggestSpellings, which takes its time
};

// Where a misspelled word stands in the answer: a character offset and length.
struct TextSpan {
    qsizetype start = 0;
    qsizetype length = 0;
};

struct EssayReport {
    // Length.
    int words = 0; // as countWords counts them
    int paragraphs = 0;
    int sentences = 0;
    double meanSentenceWords = 0;
    int longestSentenceWords = 0;
    QString longestSentenceStart; // its first words

    // Spelling; with no dictionary, nothing is checked.
    QStringList dictionaries;  // the names of those used
    QList<SpellingSlip> slips; // most frequent first, at most ListedSlips
    int suggested = 0;         // the first slips whose suggestions were looked for
    int misspelled = 0;        // different words, listed or not
    int slipsWritten = 0;      // each misspelled word as often as it is written
    QList<TextSpan> slipsAt;   // at most MarkedSlips, in text order
    int leftOut = 0;           // digits, all capitals, other scripts, too many

    // Repetition.
    QList<CountedWord> mostUsed;   // content words used at least twice, a plural as its singular
    int repeatedStarts = 0;        // sentences opening with the word the one before opened with
    QList<CountedWord> startWords; // each such sentence's first word and its number
    // Linking words and phrases, with how often each is used.
    QList<CountedWord> linking;
    int paragraphsOpeningLinked = 0;

    // The topic's content words, its directions left out.
    int topicWords = 0;
    int topicWordsUsed = 0;
    QStringList topicWordsUnused; // at most ListedTopicWords, in the topic's order

    // Vocabulary, over the words that hold a letter.
    double distinctPerHundred = 0;
    double longWordShare = 0; // of seven letters or more, 0 to 1

    // Usage and mechanics: slips a rule finds for certain.
    UsageReport usage;
};

// Measures the answer (any line breaks) against the topic. spelling may be
// null or without a dictionary: then no word is checked. Suggestions are not
// made here (see suggestSpellings).
EssayReport makeEssayReport(QStringView answer, QStringView topic, const SpellChecker* spelling);

// How many times the answer holds a word no dictionary knows, by the report's
// rules; known keeps what the dictionaries said, across answers.
int countSlips(QStringView answer, const SpellChecker& spelling, QHash<QString, bool>& known);

// Looks for the suggestions of at most count more slips, after those looked
// for already; returns how many remain.
int suggestSpellings(EssayReport& report, const SpellChecker& spelling, int count);

// The fixed list of linking words and phrases, lower case.
const QStringList& linkingPhrases();
