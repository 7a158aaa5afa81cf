#include "essay/essayrecords.h"

#include "essay/essayfile.h"

#include <algorithm>

namespace {

constexpr QStringView StarLine = u"********************\r\n";
// Where a record begins: its two empty lines, the star line and "Date: ".
constexpr QStringView RecordStart = u"\r\n\r\n********************\r\nDate: ";
// Between the topic and the answer: the topic's own line end, the star line,
// an empty line and the answer's heading.
constexpr QStringView AnswerHeading = u"\r\n********************\r\n\r\nYour Answer:\r\n\r\n";
constexpr QStringView CrLf = u"\r\n";
// A date, time or number line longer than this is no part of a record's head;
// the bound keeps a file of near misses from being searched again and again.
constexpr qsizetype LongestHeadLine = 200;

// Reads a record's head, from just after "Date: " to the topic.
class HeadReader {
public:
    HeadReader(QStringView part, qsizetype at) : part_(part), at_(at) {}

    bool line(QStringView& value)
    {
        const qsizetype end =
            part_.sliced(at_, std::min(LongestHeadLine, part_.size() - at_)).indexOf(CrLf);
        if (end < 0)
            return false;
        value = part_.sliced(at_, end);
        at_ += end + CrLf.size();
        return true;
    }
    bool take(QStringView expected)
    {
        if (!part_.sliced(at_).startsWith(expected))
            return false;
        at_ += expected.size();
        return true;
    }
    // "Issue No." or "Argument No." and the topic number.
    bool numberLine()
    {
        QStringView number;
        if (!line(number))
            return false;
        for (const QStringView label : {u"Issue No.", u"Argument No."}) {
            if (number.startsWith(label)) {
                number = number.sliced(label.size());
                return !number.isEmpty() && std::all_of(number.begin(), number.end(), [](QChar c) {
                    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
                });
            }
        }
        return false;
    }
    qsizetype at() const { return at_; }

private:
    QStringView part_;
    qsizetype at_;
};

EssayRecordPart readPart(QStringView part)
{
    EssayRecordPart read;
    read.text = part;
    read.answer = part;
    if (!part.startsWith(RecordStart))
        return read;
    HeadReader head(part, RecordStart.size());
    QStringView date;
    QStringView time;
    if (!head.line(date) || !head.take(u"Time: ") || !head.line(time) || !head.numberLine() ||
        !head.take(StarLine) || !head.take(u"Question:\r\n\r\n"))
        return read;
    const qsizetype topicStart = head.at();
    const qsizetype answerHeading = part.indexOf(AnswerHeading, topicStart);
    if (answerHeading < 0)
        return read;
    read.isRecord = true;
    read.date = date;
    read.time = time;
    read.topic = part.sliced(topicStart, answerHeading - topicStart);
    read.answer = part.sliced(answerHeading + AnswerHeading.size());
    // The line end after the answer; a record cut off in its answer has none.
    if (read.answer.endsWith(CrLf))
        read.answer.chop(CrLf.size());
    return read;
}

} // namespace

QList<EssayRecordPart> splitEssayRecords(QStringView text)
{
    QList<EssayRecordPart> parts;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype next = text.indexOf(RecordStart, start + 1);
        if (next < 0)
            next = text.size();
        parts.append(readPart(text.sliced(start, next - start)));
        start = next;
    }
    return parts;
}

RecordDateReader::RecordDateReader(const QLocale& locale)
    : locale_(locale), dateFormat_(recordDateFormat(locale)), timeFormat_(recordTimeFormat(locale))
{
}

QDateTime RecordDateReader::read(QStringView date, QStringView time)
{
    const QString dateText = date.toString();
    auto day = days_.constFind(dateText);
    if (day == days_.cend()) {
        QDate read = locale_.toDate(dateText, dateFormat_);
        if (!read.isValid())
            read = QDate::fromString(dateText, QStringLiteral("yyyy-MM-dd"));
        day = days_.insert(dateText, read);
    }
    const QString timeText = time.toString();
    QTime timeOfDay = locale_.toTime(timeText, timeFormat_);
    if (!timeOfDay.isValid())
        timeOfDay = QTime::fromString(timeText, QStringLiteral("HH:mm:ss"));
    if (!day->isValid() || !timeOfDay.isValid())
        return {};
    return {*day, timeOfDay};
}
