// libFuzzer targets, one per unit that reads outside input; QEL_FUZZ picks the
// unit. A broken invariant aborts, so libFuzzer keeps the input as a finding.
#include "bank/topiclibrary.h"
#include "essay/essayfile.h"
#include "essay/essaynotes.h"
#include "essay/essayrecords.h"
#include "essay/topickey.h"
#include "platform/fault.h"
#include "platform/numeric.h"
#include "review/keypane.h"
#include "start/numberentry.h"

#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

#define CHECK(condition)                                                                           \
    ((condition) ? void() : (std::fprintf(stderr, "invariant broken: %s\n", #condition), abort()))

// libFuzzer calls its entry point by this name.
extern "C" int LLVMFuzzerTestOneInput( // NOLINT(readability-identifier-naming)
    const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (bytes.isEmpty())
        return 0;
#if QEL_FUZZ == 1 // a topic library: topics end in CR LF and never in a space, or a Fault
    static QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("f.lib")));
    CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes.mid(1)) >= 0);
    file.close();
    const int count = 1 + uchar(bytes[0]) % 200;
    TopicTable table;
    try {
        loadTopicLibrary(dir.path() + '/', QStringLiteral("f.lib"), count, table);
    } catch (const Fault&) {
        return 0; // std::exception of any other kind escapes and is a finding
    }
    CHECK(int(table.size()) == count);
    for (int k = 0; k < count; ++k) {
        const QString topic = table.at(k);
        CHECK(!topic.startsWith(' ') && !topic.endsWith(' '));
        CHECK(topic.isEmpty() || topic.endsWith(QLatin1String("\r\n")));
    }
#elif QEL_FUZZ == 2 // the number box: a topic number exactly when the value rounds into range
    const QString text = QString::fromUtf8(bytes);
    const double value = readNumberEntry(text);
    CHECK(!std::isnan(value));
    for (const int limit : {IssueTopicCount, ArgumentTopicCount}) {
        const std::optional<int> number = topicNumberFromEntry(text, limit);
        CHECK(number.has_value() == (value >= 1.0 && value <= limit));
        CHECK(!number || *number == int(roundHalfEven(value)));
    }
#elif QEL_FUZZ == 3 // an essay file read back by Help: one CR LF per line
    const QString result = savedEssaysFromBytes(bytes);
    CHECK(result.isEmpty() == bytes.isEmpty() || bytes == "\xEF\xBB\xBF");
    CHECK(result.size() <= 2 * bytes.size() + 2);
#elif QEL_FUZZ == 4 // an essay file read back: the parts tile the text, each piece in its part
    const QString text = QString::fromLocal8Bit(bytes); // as the Review window decodes it
    const QChar* at = text.constData();
    for (const EssayRecordPart& part : splitEssayRecords(text)) {
        CHECK(part.text.data() == at && part.isRecord != (part.answer == part.text));
        at += part.text.size();
        for (const QStringView piece : {part.date, part.time, part.topic, part.answer})
            CHECK(piece.isNull() || (piece.data() >= at - part.text.size() && piece.end() <= at));
    }
    CHECK(at == text.constData() + text.size());
#elif QEL_FUZZ == 5 // a key file: labelled lines of bounded length, a guess for each line
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.key"));
    QFile file(path);
    CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) >= 0);
    file.close();
    const KeyFile keys = readKeyFile(path);
    CHECK(keys.readable && keys.keys.size() <= bytes.count('\n') + 1);
    // The answer and the topic are the file's own text, of an essay's and a topic's
    // length: the guess meets its own words.
    const QString answer = QString::fromUtf8(bytes.left(8192));
    const QString topic = answer.left(2048);
    for (int number = 0; number <= std::min(int(keys.keys.size()) + 1, 4); ++number) {
        const TopicKey* key = keys.topic(number);
        CHECK(!key ==
              keyText(keys, number, answer, topic).contains(QLatin1String("No key was found")));
        if (!key)
            continue;
        const QList<bool> guess = guessPointsTakenUp(*key, answer, topic);
        CHECK(guess.size() == key->size());
        for (qsizetype i = 0; i < key->size(); ++i) {
            const KeyLine& line = key->at(i);
            CHECK(!line.text.isEmpty() && line.text.size() <= LongestKeyLine);
            CHECK(!guess[i] || isPoint(line));
        }
    }
#elif QEL_FUZZ == 6 // a notes file: each record gets a whole, ordered timeline or none
    static const QString first =
        buildEssayRecord({EssayKind::Issue, 1}, QStringLiteral("1/2/2026"),
                         QStringLiteral("9:00:00"), {}, QStringLiteral("a"));
    static const QString second = buildEssayRecord(
        {EssayKind::Issue, 1}, QStringLiteral("1/2/2026"), QStringLiteral("9:00:00"), {}, {});
    const QList<NotedRecord> records{
        {first, QStringView(first).sliced(first.indexOf(QLatin1String("Date: ")) + 6, 8),
         QStringView(first).sliced(first.indexOf(QLatin1String("Time: ")) + 6, 7)},
        {second, QStringView(second).sliced(second.indexOf(QLatin1String("Date: ")) + 6, 8),
         QStringView(second).sliced(second.indexOf(QLatin1String("Time: ")) + 6, 7)}};
    const QList<std::optional<PaceLog>> timelines = matchTimelines(bytes, records);
    CHECK(timelines.size() == records.size());
    for (const RecordMarks& marks : matchMarks(bytes, records))
        CHECK(!marks.rating || (*marks.rating >= 0 && *marks.rating <= 12));
    for (const std::optional<PaceLog>& log : timelines) {
        if (!log)
            continue;
        CHECK(!log->entries.isEmpty() && log->entries.size() <= MostPaceEntries);
        for (qsizetype i = 1; i < log->entries.size(); ++i)
            CHECK(log->entries[i - 1].seconds <= log->entries[i].seconds);
        const PaceFigures figures = paceFigures(*log);
        CHECK(!figures.deletedShare || (*figures.deletedShare >= 0 && *figures.deletedShare <= 1));
        CHECK(figures.secondsLeft >= 0 && paceSentences(figures).size() == 6);
    }
#endif
    return 0;
}
