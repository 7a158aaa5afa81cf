#pragma once

// The essays over time and the topics written, as figures the Progress view
// draws: points, scales, the running median, the topics' cells and a line of
// totals. Computed here without a widget.

#include "bank/topiclibrary.h"
#include "essay/question.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// What the pictures need of one essay.
struct ProgressEssay {
    Question question;
    QDateTime when; // null when its date cannot be read
    int words = 0;
    std::optional<double> slipsPerHundred; // until the spelling is counted
    std::optional<double> usagePerHundred; // usage and mechanics, until counted
    // From the essay's timeline, when it has one.
    std::optional<double> minutesToFirstWord = std::nullopt;
    std::optional<double> minutesLeft = std::nullopt;
    std::optional<double> rating = std::nullopt; // the candidate's own, 0 to 6
};

// A scale's ends and the step between its marks.
struct ProgressScale {
    double low = 0;
    double high = 1;
    double step = 1;
    bool operator==(const ProgressScale&) const = default;
};

// Ends on whole multiples of a step of 1, 2 or 5 times a power of ten, so that
// from 4 to 6 marks cover low to high; never an empty range.
ProgressScale valueScale(double low, double high);
// Days since the epoch (fractions for the time of day): ends on whole days,
// steps of 1, 2, 7, 14, 28 days or whole multiples of 91.
ProgressScale dayScale(double first, double last);

struct ProgressPoint {
    double day = 0; // days since the epoch, local time
    double value = 0;
    EssayKind kind = EssayKind::Issue;
};

// One picture over time: its points in date order, the median of each point
// and the four before it, and its scales. The values' scale fits the bulk of
// the essays: one far beyond the others stands at the top edge, not stretching it.
struct TimeSeries {
    QList<ProgressPoint> points;
    QList<double> median; // one per point
    ProgressScale days;
    ProgressScale values;
    int above = 0;   // points beyond the top of the values' scale
    int waiting = 0; // dated essays whose figure has not arrived yet
};

// The top a scale needs for the bulk of the values: the largest that is at most
// four times their median (or the floor), and never below the floor.
double bulkTop(QList<double> values, double floor);

// The median of each value and the (window - 1) before it; fewer at the start.
QList<double> runningMedian(const QList<double>& values, int window = 5);

struct TopicCell {
    Question question;
    int count = 0;
    int shade = 0; // 0 never written, 1 once, 2 twice, 3 three or four times, 4 five or more
};
int topicShade(int count);
// What each shade stands for, lightest first.
inline constexpr std::array<const char*, 5> ShadeNames{"never", "once", "twice", "3 or 4 times",
                                                       "5 or more"};

struct ProgressTotals {
    int lastWeek = 0;  // essays dated in the 7 days up to now
    int lastMonth = 0; // in the 30 days up to now
    // The median words of the ten newest essays dated up to now, and of the ten
    // before them: one huge paste cannot move them as it would a mean.
    std::optional<double> medianLastTen;
    std::optional<double> medianTenBefore;
    // Of the ten newest dated essays with a timeline.
    std::optional<double> meanMinutesToFirstWord;
    std::optional<double> meanMinutesLeft;
};

struct Progress {
    TimeSeries words;
    TimeSeries slips;       // per hundred words
    TimeSeries usage;       // usage and mechanics slips per hundred words
    TimeSeries firstWord;   // minutes before the first word, of the essays with a timeline
    TimeSeries timeLeft;    // minutes left at the end
    TimeSeries ratings;     // the candidate's own, of the essays rated, on the scale's 0 to 6
    QList<TopicCell> cells; // every topic of each kind, in the order of EssayKinds
    ProgressTotals totals;
    int essays = 0;
    int undated = 0; // left out of the pictures over time and the totals
    int future = 0;  // dated after now: left out as well
};

// The essays in any order, against the time now.
Progress makeProgress(const QList<ProgressEssay>& essays, const QDateTime& now);

// The line of totals, and the line under the pictures for the undated and the future.
QString totalsLine(const Progress& progress);
QString datesLine(const Progress& progress);
// The figures of one picture as sentences, for a reader who cannot see it.
QString seriesSentences(const TimeSeries& series, const QString& what);
