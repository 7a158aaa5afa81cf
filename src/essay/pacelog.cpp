#include "essay/pacelog.h"

#include "platform/numeric.h"

#include <algorithm>
#include <cmath>

int paceSeconds(double seconds)
{
    return static_cast<int>(roundHalfEven(std::clamp(seconds, 0.0, 1e8)));
}

void PaceRecorder::start(int secondsAllowed, int words, int helpWords)
{
    log_ = PaceLog{secondsAllowed, {}};
    log_.entries.append({0, words, helpWords, 0, 0, PaceEvent::Start});
    running_ = true;
    expected_.reset();
    typed_ = deleted_ = 0;
    touched_ = false;
    lastChange_ = 0;
    nextSample_ = PaceSampleSeconds;
}

std::optional<PaceEvent> PaceRecorder::changed(double seconds, int removed, int added)
{
    if (!running_)
        return std::nullopt;
    std::optional<PaceEvent> event = expected_;
    // Typing gives one character at a time; more at once came from outside
    // the keys (a drop, the menu's Paste).
    if (!event && added > 1)
        event = PaceEvent::Paste;
    // What a paste replaces is deleted as much as what a cut takes.
    if (!event || *event == PaceEvent::Cut || *event == PaceEvent::Undo ||
        *event == PaceEvent::Paste)
        deleted_ += removed;
    if (!event)
        typed_ += added;
    touched_ = true;
    const bool quiet = seconds - lastChange_ >= PaceSampleSeconds;
    lastChange_ = seconds;
    if (event)
        return event;
    if (quiet)
        return PaceEvent::Resume;
    if (sampleDue(seconds))
        return PaceEvent::Tick;
    return std::nullopt;
}

void PaceRecorder::add(double seconds, PaceEvent event, int words, int helpWords)
{
    if (!running_ || log_.entries.size() >= MostPaceEntries)
        return;
    const int at = std::max(paceSeconds(seconds), log_.entries.constLast().seconds);
    log_.entries.append({at, words, helpWords, typed_, deleted_, event});
    typed_ = deleted_ = 0;
    touched_ = false;
    if (event == PaceEvent::Tick || seconds >= nextSample_)
        nextSample_ = (std::floor(seconds / PaceSampleSeconds) + 1) * PaceSampleSeconds;
}

PaceLog PaceRecorder::ended(double seconds, int words, int helpWords) const
{
    PaceLog log = log_;
    if (!log.entries.isEmpty())
        log.entries.append({std::max(paceSeconds(seconds), log.entries.constLast().seconds), words,
                            helpWords, typed_, deleted_, PaceEvent::End});
    return log;
}

void PaceRecorder::restore(const PaceLog& log)
{
    log_ = log;
    running_ = !log.entries.isEmpty();
    typed_ = deleted_ = 0;
    touched_ = false;
    lastChange_ = running_ ? log.entries.constLast().seconds : 0;
    nextSample_ = lastChange_ + PaceSampleSeconds;
}

QString paceLines(const PaceLog& log)
{
    QString text;
    text.reserve(log.entries.size() * 20);
    for (const PaceEntry& entry : log.entries) {
        text += QString::number(entry.seconds) + QLatin1Char(' ') + QLatin1Char(char(entry.event)) +
                QLatin1Char(' ') + QString::number(entry.words) + QLatin1Char(' ') +
                QString::number(entry.helpWords) + QLatin1Char(' ') + QString::number(entry.typed) +
                QLatin1Char(' ') + QString::number(entry.deleted) + QStringLiteral("\r\n");
    }
    return text;
}

namespace {

char16_t code(QChar c)
{
    return c.unicode();
}
char16_t code(char c)
{
    return uchar(c);
}

// Read in one pass without a copy: a notes file may hold many thousands of lines.
template <typename View> std::optional<QList<PaceEntry>> readEntries(View lines)
{
    QList<PaceEntry> entries;
    const qsizetype size = lines.size();
    qsizetype at = 0;
    // A count as entries keep it: digits only, at most nine of them.
    const auto count = [&](int& value) {
        const qsizetype from = at;
        value = 0;
        const auto digit = [&] { return code(lines[at]) >= '0' && code(lines[at]) <= '9'; };
        while (at < size && at - from < 9 && digit())
            value = value * 10 + (code(lines[at++]) - '0');
        return at > from && (at == size || !digit());
    };
    const auto space = [&] { return at < size && code(lines[at++]) == ' '; };
    while (at < size) {
        const char16_t c = code(lines[at]);
        if (c == '\r' || c == '\n') {
            ++at;
            continue;
        }
        if (entries.size() >= MostPaceEntries)
            return std::nullopt;
        PaceEntry entry;
        if (!count(entry.seconds) || !space() || at >= size)
            return std::nullopt;
        const char16_t event = code(lines[at++]);
        if (!QStringView(u"stkpxurhe").contains(QChar(event)))
            return std::nullopt;
        entry.event = PaceEvent(char(event));
        if (!space() || !count(entry.words) || !space() || !count(entry.helpWords) || !space() ||
            !count(entry.typed) || !space() || !count(entry.deleted))
            return std::nullopt;
        if (at < size && code(lines[at]) != '\r' && code(lines[at]) != '\n')
            return std::nullopt;
        if (!entries.isEmpty() && entry.seconds < entries.constLast().seconds)
            return std::nullopt;
        entries.append(entry);
    }
    if (entries.isEmpty())
        return std::nullopt;
    return entries;
}

} // namespace

std::optional<QList<PaceEntry>> paceEntriesFromLines(QStringView lines)
{
    return readEntries(lines);
}

std::optional<QList<PaceEntry>> paceEntriesFromLines(QByteArrayView lines)
{
    return readEntries(lines);
}

namespace {

// An entry taken at the moment of a change, rather than at the sample after it.
bool atChange(PaceEvent event)
{
    return event != PaceEvent::Tick && event != PaceEvent::Start && event != PaceEvent::End;
}

// Own words at a second: those of the last entry taken by then.
int wordsAt(const QList<PaceEntry>& entries, int seconds)
{
    int words = 0;
    for (const PaceEntry& entry : entries) {
        if (entry.seconds > seconds)
            break;
        words = entry.words;
    }
    return words;
}

// Every pause of a minute or more between two changes, and the longest.
void addPauses(PaceFigures& figures, const QList<PaceEntry>& entries)
{
    std::optional<qsizetype> lastActive; // the entry that followed the last change seen
    for (qsizetype i = 1; i < entries.size(); ++i) {
        const PaceEntry& entry = entries.at(i);
        const PaceEntry& before = entries.at(i - 1);
        const bool active = atChange(entry.event) || entry.typed + entry.deleted > 0 ||
                            entry.words != before.words || entry.helpWords != before.helpWords;
        if (!active)
            continue;
        // The change came at this entry's second when it took the entry, or
        // somewhere since the entry before: the pause is counted to that one.
        if (lastActive) {
            const int from = entries.at(*lastActive).seconds;
            const int to = atChange(entry.event) ? entry.seconds : before.seconds;
            if (to - from >= PauseSeconds) {
                figures.pauses.append({from, to - from});
                if (!figures.longestPause || to - from > figures.longestPause->seconds)
                    figures.longestPause = PacePause{from, to - from};
            }
        }
        lastActive = i;
    }
}

} // namespace

PaceFigures paceFigures(const PaceLog& log)
{
    PaceFigures figures;
    figures.secondsAllowed = std::max(1, log.secondsAllowed);
    const QList<PaceEntry>& entries = log.entries;
    if (entries.isEmpty())
        return figures;
    const int allowed = figures.secondsAllowed;
    const int end = entries.constLast().seconds;
    figures.endSeconds = end;
    figures.words = entries.constLast().words;

    long long typed = 0;
    long long deleted = 0;
    for (const PaceEntry& entry : entries) {
        typed += entry.typed;
        deleted += entry.deleted;
        if (!figures.firstWordSeconds && entry.words > 0)
            figures.firstWordSeconds = entry.seconds;
        if (entry.event == PaceEvent::Paste)
            figures.pastes.append(entry.seconds);
        if (entry.event == PaceEvent::Help)
            figures.helps.append(entry.seconds);
    }
    addPauses(figures, entries);
    if (typed > 0)
        figures.deletedShare = std::min(1.0, double(deleted) / double(typed));

    const int counted = std::min(end, allowed);
    for (int third = 0; third < 3; ++third) {
        const int from = allowed * third / 3;
        const int to = std::min(allowed * (third + 1) / 3, counted);
        if (from < counted)
            figures.thirds[third] = wordsAt(entries, to) - wordsAt(entries, from);
    }
    const int lastFrom = std::max(0, allowed - LastMinutesSeconds);
    if (end > lastFrom)
        figures.wordsLastFiveMinutes = wordsAt(entries, counted) - wordsAt(entries, lastFrom);
    figures.timeRanOut = end >= allowed;
    if (figures.timeRanOut)
        figures.wordsAfterTime = figures.words - wordsAt(entries, allowed);
    else
        figures.secondsLeft = allowed - end;
    return figures;
}

QString paceDuration(int seconds)
{
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    return QStringLiteral("%1 min %2 s")
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

namespace {

QString wordsText(int words)
{
    return std::abs(words) == 1 ? QStringLiteral("%1 word").arg(words)
                                : QStringLiteral("%1 words").arg(words);
}

// "0:05" into the question.
QString clockText(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QStringList paceSentences(const PaceFigures& figures)
{
    QStringList sentences;
    sentences << (figures.firstWordSeconds ? QStringLiteral("The first word came after %1.")
                                                 .arg(paceDuration(*figures.firstWordSeconds))
                                           : QStringLiteral("No word was written."));
    const int third = figures.secondsAllowed / 3;
    sentences << QStringLiteral("Words written in each third of the %1 allowed: %2 in the "
                                "first %3, %4 in the second, %5 in the last.")
                     .arg(paceDuration(figures.secondsAllowed), QString::number(figures.thirds[0]),
                          paceDuration(third), QString::number(figures.thirds[1]),
                          QString::number(figures.thirds[2]));
    const QString others = figures.pauses.size() > 1
                               ? QStringLiteral("; there were %1 pauses of a minute or more")
                                     .arg(figures.pauses.size())
                               : QString();
    sentences << (figures.longestPause
                      ? QStringLiteral("The longest pause was %1, from %2 into the question%3.")
                            .arg(paceDuration(figures.longestPause->seconds),
                                 clockText(figures.longestPause->start), others)
                      : QStringLiteral("No pause lasted a minute or more."));
    sentences << (figures.deletedShare
                      ? QStringLiteral("%1 % of the characters typed were deleted again.")
                            .arg(qRound(*figures.deletedShare * 100))
                      : QStringLiteral("Nothing was typed."));
    sentences << QStringLiteral("%1 in the last five minutes.")
                     .arg(wordsText(figures.wordsLastFiveMinutes));
    sentences << (figures.timeRanOut ? QStringLiteral("The time ran out; %1 after it.")
                                           .arg(wordsText(figures.wordsAfterTime))
                                     : QStringLiteral("%1 of the time was left at the end.")
                                           .arg(paceDuration(figures.secondsLeft)));
    return sentences;
}

QStringList paceColumns(const std::optional<PaceFigures>& figures)
{
    if (!figures)
        return QStringList(5);
    return {figures->firstWordSeconds ? QString::number(*figures->firstWordSeconds) : QString(),
            QString::number(figures->longestPause ? figures->longestPause->seconds : 0),
            QString::number(figures->wordsLastFiveMinutes),
            figures->deletedShare ? QString::number(*figures->deletedShare, 'f', 3) : QString(),
            QString::number(figures->secondsLeft)};
}
