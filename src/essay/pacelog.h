#pragma once

// How the time of one question went: counts taken while the candidate writes
// (never the answer's text), and the figures they give afterwards.

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

// Why an entry was taken.
enum class PaceEvent : char {
    Start = 's',  // the question's first clock tick
    Tick = 't',   // every 5 seconds of the question's time
    Resume = 'k', // the first change after 5 seconds or more without one, when it came
    Paste = 'p',
    Cut = 'x',
    Undo = 'u',
    Redo = 'r',
    Help = 'h', // Help brought the topic's earlier essays into the answer
    End = 'e',  // the section ended
};

struct PaceEntry {
    int seconds = 0;   // since the question's first clock tick
    int words = 0;     // the candidate's own in the answer, by countWords
    int helpWords = 0; // those Help brought in
    int typed = 0;     // characters typed since the entry before (not pasted, not Help's)
    int deleted = 0;   // characters deleted since the entry before
    PaceEvent event = PaceEvent::Tick;
    bool operator==(const PaceEntry&) const = default;
};

struct PaceLog {
    int secondsAllowed = 1800;
    QList<PaceEntry> entries; // in time order
    bool operator==(const PaceLog&) const = default;
};

inline constexpr int PaceSampleSeconds = 5;
inline constexpr int PauseSeconds = 60;
inline constexpr int LastMinutesSeconds = 300;
// More than an hour's question ever makes: 3600 / 5 samples and thousands of edits.
inline constexpr int MostPaceEntries = 20000;

// Keeps the log while a question runs. What a keystroke costs is a few
// additions; the words are counted by the caller only when an entry is taken.
class PaceRecorder {
public:
    // The question's first tick, with the words already in the answer.
    void start(int secondsAllowed, int words, int helpWords);
    bool running() const { return running_; }
    void stop() { running_ = false; }

    // The next change to the answer is this event's (a paste, a cut, ...), or
    // plain typing when nothing.
    void expect(std::optional<PaceEvent> event) { expected_ = event; }

    // A change to the answer at the given second: characters removed and added.
    // Returns the event whose entry is due now because of it, if any.
    std::optional<PaceEvent> changed(double seconds, int removed, int added);
    // Whether the 5-second sample is due.
    bool sampleDue(double seconds) const { return running_ && seconds >= nextSample_; }
    // Whether anything changed since the last entry, so words need counting.
    bool changedSinceEntry() const { return typed_ + deleted_ > 0 || touched_; }
    const PaceEntry& lastEntry() const { return log_.entries.constLast(); }

    void add(double seconds, PaceEvent event, int words, int helpWords);

    const PaceLog& log() const { return log_; }
    // The log with its end entry, leaving the recorder as it was.
    PaceLog ended(double seconds, int words, int helpWords) const;
    // Goes on from a log kept before (a recovered draft has no recorder).
    void restore(const PaceLog& log);

private:
    PaceLog log_;
    bool running_ = false;
    std::optional<PaceEvent> expected_;
    int typed_ = 0;
    int deleted_ = 0;
    bool touched_ = false; // an edit that added or removed no counted characters
    double lastChange_ = 0;
    double nextSample_ = PaceSampleSeconds;
};

// Whole seconds of a reading, as entries keep them.
int paceSeconds(double seconds);

// The log's lines, CR LF after each: "seconds event words helpWords typed deleted".
QString paceLines(const PaceLog& log);
// The entries of such lines, or nothing when any line is damaged, out of time
// order or there are more than MostPaceEntries.
std::optional<QList<PaceEntry>> paceEntriesFromLines(QStringView lines);
std::optional<QList<PaceEntry>> paceEntriesFromLines(QByteArrayView lines);

struct PacePause {
    int start = 0;
    int seconds = 0;
};

struct PaceFigures {
    int secondsAllowed = 1800;
    int endSeconds = 0;                  // the last entry: the end of the section
    int words = 0;                       // own words at the end
    std::optional<int> firstWordSeconds; // nothing when no word was written
    std::array<int, 3> thirds{};         // own words gained in each third of the time allowed
    std::optional<PacePause> longestPause;
    QList<PacePause> pauses;            // every pause of 60 seconds or more
    std::optional<double> deletedShare; // of the typed characters; nothing when none was typed
    int wordsLastFiveMinutes = 0;
    bool timeRanOut = false;
    int secondsLeft = 0;    // at the end, when the time did not run out
    int wordsAfterTime = 0; // when it did
    QList<int> pastes;      // seconds of each paste
    QList<int> helps;       // seconds of each Help
};

PaceFigures paceFigures(const PaceLog& log);

// The figures as sentences, one a figure.
QStringList paceSentences(const PaceFigures& figures);

// "4 min 05 s", "45 s".
QString paceDuration(int seconds);

inline const QString NoTimelineSentence = QStringLiteral("No timeline was kept for this essay.");

// The figures a table of essays gives, empty texts for an essay without a
// timeline: first_word_s, longest_pause_s, words_last_5_min, deleted_share, time_left_s.
QStringList paceColumns(const std::optional<PaceFigures>& figures);
