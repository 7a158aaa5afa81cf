// Saving an essay: one record appended to an empty essay file and to a large
// one. The append should not grow with what the file already holds.

#include "benchsupport.h"

#include "exam/essayfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr qsizetype LargeFileSize = qsizetype{50} * 1024 * 1024;

QString typicalRecord(int seed)
{
    Bench::Words words(static_cast<std::uint32_t>(seed));
    const QString topic = QString::fromUtf8("\r\n" + Bench::topicBlock(words));
    const QString answer = QString::fromUtf8(words.answer(400));
    return buildEssayRecord({EssayKind::Issue, 12}, QStringLiteral("14/03/2026"),
                            QStringLiteral("09:26:53"), topic, answer);
}

struct EssayFiles {
    QTemporaryDir dir;
    QString record = typicalRecord(400);
    QString empty;
    QString large;
    qsizetype largeSize = 0;

    EssayFiles()
    {
        QDir(dir.path()).mkdir(QStringLiteral("user"));
        const QString user = dir.path() + QStringLiteral("/user/");
        empty = user + QStringLiteral("ai1.txt");
        large = user + QStringLiteral("ai2.txt");
        Bench::writeFile(empty, QByteArray());
        // A file of past records, as years of practice would leave it.
        QByteArray bytes;
        bytes.reserve(LargeFileSize + qsizetype{64} * 1024);
        for (int seed = 1; bytes.size() < LargeFileSize; ++seed)
            bytes += typicalRecord(seed).toUtf8();
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

// One timed append; the file is cut back to its former size afterwards.
bool timedAppend(const QString& path, qsizetype sizeBefore, const QString& record, double& seconds)
{
    QString reason;
    const auto start = Bench::Stopwatch::now();
    const bool saved = appendEssayRecord(path, record, reason);
    seconds = Bench::seconds(start, Bench::Stopwatch::now());
    QFile::resize(path, sizeBefore);
    return saved;
}

void BM_AppendToEmptyFile(benchmark::State& state)
{
    EssayFiles& files = sharedFiles();
    for (auto _ : state) {
        double seconds = 0;
        if (!timedAppend(files.empty, 0, files.record, seconds)) {
            state.SkipWithError("the record was not saved");
            break;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["record_bytes"] = static_cast<double>(files.record.toUtf8().size());
}
BENCHMARK(BM_AppendToEmptyFile)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

// Each iteration also appends to the empty file, so the ratio compares appends
// made under the same conditions.
void BM_AppendTo50MBFile(benchmark::State& state)
{
    EssayFiles& files = sharedFiles();
    double largeSeconds = 0;
    double emptySeconds = 0;
    for (auto _ : state) {
        double seconds = 0;
        double emptySecondsNow = 0;
        if (!timedAppend(files.large, files.largeSize, files.record, seconds) ||
            !timedAppend(files.empty, 0, files.record, emptySecondsNow)) {
            state.SkipWithError("the record was not saved");
            break;
        }
        state.SetIterationTime(seconds);
        largeSeconds += seconds;
        emptySeconds += emptySecondsNow;
    }
    state.counters["x_empty"] = emptySeconds > 0 ? largeSeconds / emptySeconds : 0;
}
BENCHMARK(BM_AppendTo50MBFile)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

} // namespace

BENCHMARK_MAIN();
