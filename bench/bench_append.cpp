// Saving an essay: the record of a 5 KB essay appended and synced to the disk,
// as a topic's first save (the new file's folder synced too) and against a
// 50 MB essay file. The sync is what makes a save outlive a power cut; the
// figures show what it costs beside writing the same bytes without one, and
// the append should not grow with what the file already holds.

#include "benchsupport.h"

#include "essay/essayfile.h"
#include "platform/textio.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr qsizetype EssaySize = qsizetype{5} * 1024;
constexpr qsizetype LargeFileSize = qsizetype{50} * 1024 * 1024;

QString essayRecord(int seed, qsizetype answerSize)
{
    Bench::Words words(static_cast<std::uint32_t>(seed));
    const QString topic = QString::fromUtf8("\r\n" + Bench::topicBlock(words));
    QByteArray answer = words.answer(static_cast<int>(answerSize / 4));
    answer.truncate(answerSize);
    return buildEssayRecord({EssayKind::Issue, 12}, QStringLiteral("14/03/2026"),
                            QStringLiteral("09:26:53"), topic, QString::fromUtf8(answer));
}

struct EssayFiles {
    // In the current folder, not the system's temporary one: that may live in
    // memory (tmpfs), where a sync costs nothing.
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/essay-files-XXXXXX")};
    QString record = essayRecord(400, EssaySize);
    QString fresh; // removed after each save, so every save creates it
    QString empty;
    QString large;
    qsizetype largeSize = 0;

    EssayFiles()
    {
        QDir(dir.path()).mkdir(QStringLiteral("user"));
        const QString user = dir.path() + QStringLiteral("/user/");
        fresh = user + QStringLiteral("ai1.txt");
        empty = user + QStringLiteral("ai2.txt");
        large = user + QStringLiteral("ai3.txt");
        Bench::writeFile(empty, QByteArray());
        // A file of past records, as years of practice would leave it.
        QByteArray bytes;
        bytes.reserve(LargeFileSize + qsizetype{64} * 1024);
        for (int seed = 1; bytes.size() < LargeFileSize; ++seed)
            bytes += essayRecord(seed, 2500).toUtf8();
        bytes.truncate(LargeFileSize);
        largeSize = bytes.size();
        Bench::writeFile(large, bytes);
    }
};

EssayFiles& sharedFiles()
{
    static EssayFiles files;
    return files;
}

// One timed save; the file is cut back to its former size afterwards, or
// removed when the save made it.
bool timedSave(const QString& path, qsizetype sizeBefore, const QString& record, double& seconds)
{
    QString reason;
    const bool existed = QFile::exists(path);
    const auto start = Bench::Stopwatch::now();
    const bool saved = appendEssayRecord(path, record, reason);
    seconds = Bench::seconds(start, Bench::Stopwatch::now());
    if (existed)
        QFile::resize(path, sizeBefore);
    else
        QFile::remove(path);
    return saved;
}

// The same bytes appended with no sync: what a save cost before it waited for the disk.
double unsyncedSeconds(const QString& path, const QString& record)
{
    const QByteArray bytes = toCodePage(record);
    QFile file(path);
    const auto start = Bench::Stopwatch::now();
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        file.write(bytes);
    file.close();
    const double seconds = Bench::seconds(start, Bench::Stopwatch::now());
    QFile::remove(path);
    return seconds;
}

void BM_SaveToNewFile(benchmark::State& state)
{
    EssayFiles& files = sharedFiles();
    double unsynced = 0;
    for (auto _ : state) {
        double seconds = 0;
        if (!timedSave(files.fresh, 0, files.record, seconds)) {
            state.SkipWithError("the record was not saved");
            break;
        }
        state.SetIterationTime(seconds);
        unsynced += unsyncedSeconds(files.fresh, files.record);
    }
    state.counters["record_bytes"] = static_cast<double>(toCodePage(files.record).size());
    state.counters["unsynced_us"] =
        state.iterations() ? unsynced / static_cast<double>(state.iterations()) * 1e6 : 0;
}
BENCHMARK(BM_SaveToNewFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

// Each iteration also saves to an empty file that exists already, so the ratio
// compares saves made under the same conditions.
void BM_SaveTo50MBFile(benchmark::State& state)
{
    EssayFiles& files = sharedFiles();
    double largeSeconds = 0;
    double emptySeconds = 0;
    for (auto _ : state) {
        double seconds = 0;
        double emptySecondsNow = 0;
        if (!timedSave(files.large, files.largeSize, files.record, seconds) ||
            !timedSave(files.empty, 0, files.record, emptySecondsNow)) {
            state.SkipWithError("the record was not saved");
            break;
        }
        state.SetIterationTime(seconds);
        largeSeconds += seconds;
        emptySeconds += emptySecondsNow;
    }
    state.counters["x_empty"] = emptySeconds > 0 ? largeSeconds / emptySeconds : 0;
    state.counters["empty_us"] =
        state.iterations() ? emptySeconds / static_cast<double>(state.iterations()) * 1e6 : 0;
}
BENCHMARK(BM_SaveTo50MBFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

} // namespace

BENCHMARK_MAIN();
