// Saving an essay: one record appended to an empty essay file and to a large
// one. The append should not grow with what the file already holds.

#include "benchsupport.h"

#include "exam/essayfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr qsizetype LargeFileSize = qsizetype{50} * 1024 * 1024;

QString TypicalRecord(int seed)
{
    bench::Words words(static_cast<std::uint32_t>(seed));
    const QString topic = QString::fromUtf8("\r\n" + bench::TopicBlock(words));
    const QString answer = QString::fromUtf8(words.answer(400));
    return BuildEssayRecord(EssayKind::Issue, QStringLiteral("12"), QStringLiteral("14/03/2026"),
                            QStringLiteral("09:26:53"), topic, answer);
}

struct EssayFiles {
    QTemporaryDir dir;
    QString record = TypicalRecord(400);
    QString empty;
    QString large;
    qsizetype largeSize = 0;

    EssayFiles()
    {
        QDir(dir.path()).mkdir(QStringLiteral("user"));
        const QString user = dir.path() + QStringLiteral("/user/");
        empty = user + QStringLiteral("ai1.txt");
        large = user + QStringLiteral("ai2.txt");
        bench::WriteFile(empty, QByteArray());
        // A file of past records, as years of practice would leave it.
        QByteArray bytes;
        bytes.reserve(LargeFileSize + qsizetype{64} * 1024);
        for (int seed = 1; bytes.size() < LargeFileSize; ++seed)
            bytes += TypicalRecord(seed).toUtf8();
        bytes.truncate(LargeFileSize);
        largeSize = bytes.size();
        bench::WriteFile(large, bytes);
    }
};

EssayFiles& Files()
{
    static EssayFiles files;
    return files;
}

// One timed append; the file is cut back to its former size afterwards.
bool TimedAppend(const QString& path, qsizetype sizeBefore, const QString& record, double& seconds)
{
    QString reason;
    const auto start = bench::Stopwatch::now();
    const bool saved = AppendEssayRecord(path, record, reason);
    seconds = bench::Seconds(start, bench::Stopwatch::now());
    QFile::resize(path, sizeBefore);
    return saved;
}

void BM_AppendToEmptyFile(benchmark::State& state)
{
    EssayFiles& files = Files();
    for (auto _ : state) {
        double seconds = 0;
        if (!TimedAppend(files.empty, 0, files.record, seconds)) {
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
    EssayFiles& files = Files();
    double largeSeconds = 0;
    double emptySeconds = 0;
    for (auto _ : state) {
        double seconds = 0;
        double emptySecondsNow = 0;
        if (!TimedAppend(files.large, files.largeSize, files.record, seconds) ||
            !TimedAppend(files.empty, 0, files.record, emptySecondsNow)) {
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
