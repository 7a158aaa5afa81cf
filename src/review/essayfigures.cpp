#include "review/essayfigures.h"

#include "essay/selfrating.h"
#include "platform/textio.h"
#include "review/essaylist.h"

#include "essay/spellchecker.h"

#include <QIODevice>

#include <future>
#include <vector>

namespace {

QString decimal(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

} // namespace

namespace {

// Help's copies, from places in the record's text (CR LF) to places in the
// box's (LF): each CR LF before a place is one character fewer.
QList<QStringView> copiesInBox(const EssayRecordPart& part, const QString& box)
{
    QList<QStringView> copies;
    const QStringView answer = part.answer;
    qsizetype pairs = 0;
    qsizetype counted = 0; // the answer's characters looked at for pairs
    const auto inBox = [&](qsizetype at) {
        for (; counted < at; ++counted)
            pairs += answer[counted] == QLatin1Char('\r') && counted + 1 < answer.size() &&
                     answer[counted + 1] == QLatin1Char('\n');
        return at - pairs;
    };
    for (const QStringView copy : part.copies) {
        const qsizetype start = copy.data() - answer.data();
        const qsizetype end = std::min(start + copy.size(), answer.size());
        const qsizetype from = inBox(start);
        copies << QStringView(box).sliced(from, inBox(end) - from);
    }
    return copies;
}

} // namespace

BoxAnswer::BoxAnswer(const EssayRecordPart& part)
    : text_(toWidgetText(part.answer)), copies_(copiesInBox(part, text_)), own_(text_, copies_)
{
}

EssayReport savedEssayReport(const BoxAnswer& answer, QStringView topic,
                             const SpellChecker* spelling)
{
    return makeEssayReport(answer.own().text(), topic, spelling);
}

EssayReport savedEssayReport(const SavedEssay& essay, const SpellChecker* spelling)
{
    const BoxAnswer answer(essay.part);
    return savedEssayReport(answer, toWidgetText(essay.part.topic), spelling);
}

void suggestEverySpelling(EssayReport& report, const SpellChecker& spelling,
                          const SpellChecker& aside)
{
    const int left = int(report.slips.size()) - report.suggested;
    const int first = report.suggested + left / 2;
    QStringList words;
    for (qsizetype i = first; i < report.slips.size(); ++i)
        words << report.slips.at(i).word;
    auto later = std::async(std::launch::async, [&aside, words] {
        QList<QStringList> found;
        for (const QString& word : words)
            found << aside.suggest(word, 3);
        return found;
    });
    suggestSpellings(report, spelling, first - report.suggested);
    const QList<QStringList> found = later.get();
    for (qsizetype i = 0; i < found.size(); ++i)
        report.slips[first + i].suggestions = found.at(i);
    report.suggested = int(report.slips.size());
}

const QList<FigureColumn>& figureColumns()
{
    using Essays = const EssayList&;
    using Essay = const SavedEssay&;
    using Report = const RecordFigures&;
    static const QList<FigureColumn> Columns{
        {QStringLiteral("file"), [](Essays all, Essay e, Report) { return all.fileName(e); }},
        {QStringLiteral("record"),
         [](Essays, Essay e, Report) { return QString::number(e.record); }},
        {QStringLiteral("date"), [](Essays, Essay e, Report) { return e.part.date.toString(); }},
        {QStringLiteral("time"), [](Essays, Essay e, Report) { return e.part.time.toString(); }},
        {QStringLiteral("kind"), [](Essays, Essay e, Report) { return kindName(e.question.kind); }},
        {QStringLiteral("topic"),
         [](Essays, Essay e, Report) { return QString::number(e.question.number); }},
        {QStringLiteral("words"),
         [](Essays, Essay, Report r) { return QString::number(r.report.words); }},
        {QStringLiteral("paragraphs"),
         [](Essays, Essay, Report r) { return QString::number(r.report.paragraphs); }},
        {QStringLiteral("sentences"),
         [](Essays, Essay, Report r) { return QString::number(r.report.sentences); }},
        // As the report shows them: one decimal, a share to the hundredth.
        {QStringLiteral("mean_sentence_words"),
         [](Essays, Essay, Report r) { return decimal(r.report.meanSentenceWords, 1); }},
        {QStringLiteral("spelling_slips"),
         [](Essays, Essay, Report r) {
             return r.report.dictionaries.isEmpty() ? QString()
                                                    : QString::number(r.report.slipsWritten);
         }},
        {QStringLiteral("topic_words_used"),
         [](Essays, Essay, Report r) { return QString::number(r.report.topicWordsUsed); }},
        {QStringLiteral("topic_words"),
         [](Essays, Essay, Report r) { return QString::number(r.report.topicWords); }},
        {QStringLiteral("distinct_per_hundred"),
         [](Essays, Essay, Report r) { return decimal(r.report.distinctPerHundred, 1); }},
        {QStringLiteral("long_word_share"),
         [](Essays, Essay, Report r) {
             return decimal(qRound(r.report.longWordShare * 100) / 100.0, 2);
         }},
        {QStringLiteral("usage_slips"),
         [](Essays, Essay, Report r) {
             return QString::number(r.report.usage.mechanics + r.report.usage.usage);
         }},
        {QStringLiteral("points_taken_up"),
         [](Essays, Essay, Report r) {
             return r.key ? QString::number(r.key->pointsTakenUp) : QString();
         }},
        {QStringLiteral("points"),
         [](Essays, Essay, Report r) {
             return r.key ? QString::number(r.key->points) : QString();
         }},
    };
    static const QList<FigureColumn> WithPace = [] {
        QList<FigureColumn> columns = Columns;
        const QStringList names{QStringLiteral("first_word_s"), QStringLiteral("longest_pause_s"),
                                QStringLiteral("words_last_5_min"), QStringLiteral("deleted_share"),
                                QStringLiteral("time_left_s")};
        for (qsizetype i = 0; i < names.size(); ++i) {
            columns.append({names.at(i),
                            [i](Essays, Essay, Report r) { return paceColumns(r.pace).value(i); }});
        }
        // The candidate's own, from the notes: empty when not rated.
        columns.append({QStringLiteral("rating"), [](Essays, Essay e, Report) {
                            return e.marks.rating ? ratingText(*e.marks.rating) : QString();
                        }});
        return columns;
    }();
    return WithPace;
}

QString csvCell(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

namespace {

// One record's figures; the keys are only looked up, so two threads may share them.
RecordFigures recordFigures(const SavedEssay& essay, const SpellChecker* checker, KeyShelf* keys,
                            std::optional<PaceFigures> pace)
{
    RecordFigures figures;
    figures.pace = std::move(pace);
    const BoxAnswer answer(essay.part);
    const QString topic = toWidgetText(essay.part.topic);
    figures.report = savedEssayReport(answer, topic, checker);
    if (keys) {
        if (const TopicKey* entry = keys->file(essay.question.kind).topic(essay.question.number))
            figures.key = tallyKey(*entry, answer.own().text(), topic);
    }
    return figures;
}

} // namespace

int writeFiguresCsv(QIODevice& out, const EssayList& essays, const QList<int>& rows,
                    const SpellChecker* spelling,
                    const std::function<void(const SavedEssay&)>& leftOut,
                    const SpellChecker* aside, KeyShelf* keys,
                    const QList<std::optional<PaceFigures>>* timelines)
{
    // Every key read before the threads start: they only look them up.
    if (keys) {
        for (const KindFacts& kind : EssayKinds)
            keys->file(kind.kind);
    }
    const QList<FigureColumn>& columns = figureColumns();
    QStringList cells;
    for (const FigureColumn& column : columns)
        cells << column.name;
    if (out.write(cells.join(QLatin1Char(',')).toUtf8() + "\r\n") < 0)
        return -1;
    QList<int> records;
    for (const int row : rows) {
        if (essays.listed(row).isRecord)
            records << row;
        else if (leftOut)
            leftOut(essays.essay(row));
    }
    // In batches, the later half of each measured on the second thread; the
    // essays are only read, and each thread has its own dictionaries.
    constexpr qsizetype Batch = 64;
    for (qsizetype from = 0; from < records.size(); from += Batch) {
        const qsizetype count = std::min(Batch, records.size() - from);
        std::vector<RecordFigures> reports(count);
        const qsizetype half = aside ? count / 2 : count;
        const auto measure = [&](qsizetype first, qsizetype end, const SpellChecker* checker) {
            for (qsizetype i = first; i < end; ++i) {
                const int row = records.at(from + i);
                reports[i] = recordFigures(essays.essay(row), checker, keys,
                                           timelines ? timelines->value(row) : std::nullopt);
            }
        };
        std::future<void> later;
        if (half < count)
            later = std::async(std::launch::async, measure, half, count, aside);
        measure(0, half, spelling);
        if (later.valid())
            later.get();
        QByteArray lines;
        for (qsizetype i = 0; i < count; ++i) {
            cells.clear();
            for (const FigureColumn& column : columns)
                cells << csvCell(
                    column.cell(essays, essays.essay(records.at(from + i)), reports[i]));
            lines += cells.join(QLatin1Char(',')).toUtf8() + "\r\n";
        }
        if (out.write(lines) < 0)
            return -1;
    }
    return int(records.size());
}
