#include "essay/essayrecords.h"

#include "essay/essayfile.h"
#include "essay/wordcount.h"

#include <QHash>

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
    // "Issue No.", "Argument No." or "GRE Issue No." and the topic number.
    bool numberLine()
    {
        QStringView number;
        if (!line(number))
            return false;
        for (const KindFacts& kind : EssayKinds) {
            const QLatin1StringView label(kind.numberLabel);
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

// Calls take(part) for each part of the text as it is laid out, copies apart.
template <typename Take> void forEachPart(QStringView text, Take take)
{
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype next = text.indexOf(RecordStart, start + 1);
        if (next < 0)
            next = text.size();
        take(readPart(text.sliced(start, next - start)));
        start = next;
    }
}

// The records met so far, by their heads, and whether a part copies one.
class KnownRecords {
public:
    // A record's text as it stands, up to the next record's start (a copy in
    // its answer, if any), is what Help copies of it.
    void add(const EssayRecordPart& part)
    {
        if (part.isRecord)
            texts_.insert(head(part), part.text);
    }
    // The length of the part's text, from its start, that copies a record met
    // before: one with its head, held whole but for the last line end, which
    // Help's copy lacks (what was typed after it runs on). 0 for any other part:
    // two saves in the same second share a head, not their answers.
    qsizetype copied(const EssayRecordPart& part) const
    {
        if (!part.isRecord)
            return 0;
        const auto [first, last] = texts_.equal_range(head(part));
        for (auto original = first; original != last; ++original) {
            const qsizetype length = std::min(part.text.size(), original->size());
            const qsizetype same =
                std::mismatch(part.text.begin(), part.text.begin() + length, original->begin())
                    .first -
                part.text.begin();
            if (same >= original->size() - CrLf.size())
                return same;
        }
        return 0;
    }

private:
    static QStringView head(const EssayRecordPart& part)
    {
        return part.text.first(part.topic.data() - part.text.data());
    }
    QMultiHash<QStringView, QStringView> texts_;
};

} // namespace

QList<EssayRecordPart> splitEssayRecords(QStringView text)
{
    QList<EssayRecordPart> parts;
    KnownRecords known;
    forEachPart(text, [&](const EssayRecordPart& part) {
        const qsizetype copied = known.copied(part);
        if (copied == 0 || parts.isEmpty()) {
            known.add(part);
            parts.append(part);
            return;
        }
        // The copy and whatever follows it belong to the answer before it.
        EssayRecordPart& holder = parts.last();
        const QChar* end = part.text.data() + part.text.size();
        holder.text = QStringView(holder.text.data(), end);
        holder.answer = QStringView(holder.answer.data(), end);
        // A record's answer ends before its line end; text that is no record is all answer.
        if (holder.isRecord && holder.answer.endsWith(CrLf))
            holder.answer.chop(CrLf.size());
        holder.copies.append(part.text.first(copied));
    });
    return parts;
}

QList<QStringView> recordCopiesIn(QStringView answer, QStringView earlier)
{
    KnownRecords known;
    forEachPart(earlier, [&known](const EssayRecordPart& part) { known.add(part); });
    QList<QStringView> copies;
    forEachPart(answer, [&](const EssayRecordPart& part) {
        if (const qsizetype copied = known.copied(part))
            copies.append(part.text.first(copied));
    });
    return copies;
}

AnswerWords countAnswerWords(QStringView answer, const QList<QStringView>& copies)
{
    const OwnAnswer own(answer, copies);
    AnswerWords words{countWords(own.text())};
    for (const auto& [start, length] : own.helpSpans())
        words.fromHelp += countWords(answer.sliced(start, length));
    return words;
}

OwnAnswer::OwnAnswer(QStringView answer, const QList<QStringView>& copies)
    : answer_(answer), copies_(copies.size())
{
    if (copies.isEmpty())
        return;
    const QChar* from = answer.data();
    const QChar* end = answer.data() + answer.size();
    const auto keep = [&](const QChar* pieceEnd) {
        if (!text_.isEmpty())
            text_ += QLatin1Char('\n');
        pieces_.append({text_.size(), from - answer.data()});
        text_ += QStringView(from, pieceEnd);
    };
    for (const QStringView copy : copies) {
        // A copy may run past the answer by the record's own last line end.
        const QChar* copyEnd = std::min(copy.data() + copy.size(), end);
        keep(copy.data());
        helpSpans_.append({copy.data() - answer.data(), copyEnd - copy.data()});
        from = copyEnd;
    }
    keep(end);
}

qsizetype OwnAnswer::answerOffset(qsizetype ownOffset) const
{
    if (copies_ == 0)
        return ownOffset;
    // The last piece that starts at or before the offset.
    auto piece = std::upper_bound(pieces_.begin(), pieces_.end(), ownOffset,
                                  [](qsizetype at, const auto& p) { return at < p.first; });
    if (piece == pieces_.begin())
        return ownOffset;
    --piece;
    return piece->second + (ownOffset - piece->first);
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
