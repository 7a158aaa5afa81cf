#include "essay/essaynotes.h"

#include "essay/essayfile.h"
#include "essay/selfrating.h"
#include "platform/textio.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QLatin1StringView TimelineHead("== timeline");
const QLatin1StringView EndLine("== end");

} // namespace

QString notesFilePath(const QString& essayFilePath)
{
    QString path = essayFilePath;
    if (path.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        path.chop(4);
    return path + QStringLiteral(".notes");
}

QString recordHash(QStringView recordText)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(toCodePage(recordText), QCryptographicHash::Sha1).toHex());
}

QString timelineEntry(QStringView recordText, const QString& date, const QString& time,
                      const PaceLog& log)
{
    QString text = TimelineHead + CrLf;
    text += QStringLiteral("record: ") + recordHash(recordText) + CrLf;
    text += QStringLiteral("date: ") + date + CrLf;
    text += QStringLiteral("time: ") + time + CrLf;
    text += QStringLiteral("allowed: ") + QString::number(log.secondsAllowed) + CrLf;
    text += paceLines(log);
    text += EndLine + CrLf;
    return text;
}

namespace {

QString markEntry(QLatin1StringView kind, QStringView recordText, const QString& date,
                  const QString& time, const QString& body)
{
    return QStringLiteral("== ") + kind + CrLf + QStringLiteral("record: ") +
           recordHash(recordText) + CrLf + QStringLiteral("date: ") + date + CrLf +
           QStringLiteral("time: ") + time + CrLf + body + CrLf + EndLine + CrLf;
}

} // namespace

QString ratingEntry(QStringView recordText, const QString& date, const QString& time,
                    std::optional<int> halfPoints)
{
    return markEntry(QLatin1StringView("rating"), recordText, date, time,
                     halfPoints ? ratingText(*halfPoints) : QStringLiteral("none"));
}

QString leaveOutEntry(QStringView recordText, const QString& date, const QString& time,
                      bool leftOut)
{
    return markEntry(QLatin1StringView("leave-out"), recordText, date, time,
                     leftOut ? QStringLiteral("out") : QStringLiteral("in"));
}

bool appendNotes(const QString& path, const QString& text, QString& reason)
{
    // The same whole, synced append as a record's.
    return appendEssayRecord(path, text, reason);
}

QByteArray readNotesFile(const QString& path)
{
    // Only a regular file of a bounded size: a link to a device would never end.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > LargestNotesFile)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential() || file.size() > LargestNotesFile)
        return {};
    QByteArray bytes = file.read(LargestNotesFile);
    return file.error() == QFileDevice::NoError ? bytes : QByteArray();
}

namespace {

// One entry of the file as its lines stand: the head's fields and the lines
// that follow them up to its end line.
struct RawEntry {
    QByteArrayView kind;
    QByteArrayView record;
    QByteArrayView date;
    QByteArrayView time;
    QByteArrayView allowed;
    QByteArrayView lines; // the lines after the head's fields
};

QByteArrayView chopLineEnd(QByteArrayView line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

// Calls found(entry) for each whole entry; one cut off, or broken by the head
// of another, is passed over.
template <typename Found> void eachEntry(QByteArrayView notes, Found found)
{
    RawEntry open;
    bool isOpen = false;
    qsizetype fieldsEnd = -1; // where the open entry's lines begin, once its fields are read
    qsizetype at = 0;
    while (at < notes.size()) {
        const qsizetype end = notes.indexOf('\n', at);
        const qsizetype lineEnd = end < 0 ? notes.size() : end;
        const QByteArrayView line = chopLineEnd(notes.sliced(at, lineEnd - at));
        if (line.startsWith("== ")) {
            const bool endLine = line == QByteArrayView("== end");
            if (isOpen && endLine && fieldsEnd >= 0) {
                open.lines = notes.sliced(fieldsEnd, at - fieldsEnd);
                found(open);
            }
            isOpen = !endLine;
            if (isOpen)
                open = RawEntry{line.sliced(3), {}, {}, {}, {}, {}};
            fieldsEnd = -1;
        } else if (isOpen && fieldsEnd < 0) {
            const qsizetype colon = line.indexOf(": ");
            if (colon <= 0) {
                fieldsEnd = at; // the first line that is no field: read again as a line
                continue;
            }
            const QByteArrayView name = line.first(colon);
            const QByteArrayView value = line.sliced(colon + 2);
            if (name == QByteArrayView("record"))
                open.record = value;
            else if (name == QByteArrayView("date"))
                open.date = value;
            else if (name == QByteArrayView("time"))
                open.time = value;
            else if (name == QByteArrayView("allowed"))
                open.allowed = value;
        }
        at = lineEnd + 1;
    }
}

QString dayAndTime(QStringView date, QStringView time)
{
    return date.toString() + QLatin1Char('\n') + time.toString();
}

} // namespace

namespace {

// The records an entry names: those of its date and time whose text has its
// hash. A record's text is hashed only when an entry names its second.
class RecordMatcher {
public:
    explicit RecordMatcher(const QList<NotedRecord>& records) : records_(records)
    {
        for (int i = 0; i < records.size(); ++i)
            bySecond_[dayAndTime(records[i].date, records[i].time)].append(i);
    }
    template <typename Matched> void eachRecord(const RawEntry& entry, Matched matched)
    {
        if (entry.record.size() != 40)
            return;
        const auto candidates =
            bySecond_.constFind(dayAndTime(fromCodePage(entry.date), fromCodePage(entry.time)));
        if (candidates == bySecond_.constEnd())
            return;
        const QString hash = QString::fromLatin1(entry.record);
        for (const int i : *candidates) {
            auto known = hashes_.constFind(i);
            if (known == hashes_.constEnd())
                known = hashes_.insert(i, recordHash(records_[i].text));
            if (*known == hash)
                matched(i);
        }
    }

private:
    const QList<NotedRecord>& records_;
    QHash<QString, QList<int>> bySecond_;
    QHash<int, QString> hashes_;
};

} // namespace

QList<std::optional<PaceLog>> matchTimelines(QByteArrayView notes,
                                             const QList<NotedRecord>& records)
{
    QList<std::optional<PaceLog>> timelines(records.size());
    if (notes.isEmpty() || records.isEmpty())
        return timelines;
    RecordMatcher matcher(records);
    // The last timeline written for a record counts.
    eachEntry(notes, [&](const RawEntry& entry) {
        if (entry.kind != QByteArrayView("timeline"))
            return;
        std::optional<PaceLog> log;
        bool read = false;
        matcher.eachRecord(entry, [&](int i) {
            if (!read) {
                read = true;
                bool ok = false;
                const int allowed = entry.allowed.toByteArray().toInt(&ok);
                std::optional<QList<PaceEntry>> lines;
                if (ok && allowed >= 60 && allowed <= 24 * 3600 &&
                    entry.lines.size() <= qsizetype{MostPaceEntries} * 64)
                    lines = paceEntriesFromLines(entry.lines);
                if (lines)
                    log = PaceLog{allowed, std::move(*lines)};
            }
            timelines[i] = log;
        });
    });
    return timelines;
}

QList<RecordMarks> matchMarks(QByteArrayView notes, const QList<NotedRecord>& records)
{
    QList<RecordMarks> marks(records.size());
    // Most notes are timelines alone: a search far quicker than reading their lines.
    if (records.isEmpty() || (!notes.contains(QByteArrayView("== rating")) &&
                              !notes.contains(QByteArrayView("== leave-out"))))
        return marks;
    RecordMatcher matcher(records);
    eachEntry(notes, [&](const RawEntry& entry) {
        const bool rating = entry.kind == QByteArrayView("rating");
        if (!rating && entry.kind != QByteArrayView("leave-out"))
            return;
        // One body line, as the program writes it; anything else is passed over.
        QByteArrayView body = entry.lines.trimmed();
        if (body.contains('\n'))
            return;
        std::optional<int> halfPoints = ratingFromText(body);
        const bool none = body == QByteArrayView("none");
        const bool out = body == QByteArrayView("out");
        if (rating ? !halfPoints && !none : !out && body != QByteArrayView("in"))
            return;
        matcher.eachRecord(entry, [&](int i) {
            if (rating)
                marks[i].rating = halfPoints;
            else
                marks[i].leftOut = out;
        });
    });
    return marks;
}
