// Start-up: the whole load with the real libraries, and the library reader
// against a plain read of the same bytes.

#include "benchsupport.h"

#include "fakeplatform.h"
#include "programfolder.h"

#include "app/startup.h"
#include "bank/topiclibrary.h"
#include "start/frmstart.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

// A program folder with the real libraries and pictures beside it.
struct RealFolder {
    ProgramFolder folder;
    RealFolder()
    {
        const QString data = qEnvironmentVariable("QEL_SOURCE_DIR") + QStringLiteral("/data/");
        for (const QString& name : {IssueLibraryName, ArgumentLibraryName}) {
            QFile source(data + name);
            source.open(QIODevice::ReadOnly);
            folder.write(name, source.readAll());
        }
    }
};

void BM_LoadProgram(benchmark::State& state)
{
    RealFolder real;
    FakePlatform fake;
    // The first load also meets the font files; the figure is the load itself.
    LoadProgram(fake.seams, real.folder.path()).reset();
    for (auto _ : state) {
        const auto start = bench::Stopwatch::now();
        std::unique_ptr<Frmstart> program = LoadProgram(fake.seams, real.folder.path());
        state.SetIterationTime(bench::Seconds(start, bench::Stopwatch::now()));
        benchmark::DoNotOptimize(program.get());
        if (program->IssueTopics.size() != IssueTopicCount ||
            program->ArgumentTopics.size() != ArgumentTopicCount) {
            state.SkipWithError("the libraries did not load");
            break;
        }
    }
}
BENCHMARK(BM_LoadProgram)->UseManualTime()->Unit(benchmark::kMillisecond);

// The load followed by what the user first sees: the start window shown and painted.
void BM_LoadProgramAndShow(benchmark::State& state)
{
    RealFolder real;
    FakePlatform fake;
    LoadProgram(fake.seams, real.folder.path()).reset();
    for (auto _ : state) {
        const auto start = bench::Stopwatch::now();
        std::unique_ptr<Frmstart> program = LoadProgram(fake.seams, real.folder.path());
        program->show();
        QCoreApplication::processEvents();
        state.SetIterationTime(bench::Seconds(start, bench::Stopwatch::now()));
        program.reset();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_LoadProgramAndShow)->UseManualTime()->Unit(benchmark::kMillisecond);

constexpr qsizetype LargeLibrarySize = qsizetype{10} * 1024 * 1024;
const QString LargeLibraryName = QStringLiteral("large.lib");

struct LargeLibrary {
    QTemporaryDir dir;
    int blocks = 0;
    qsizetype size = 0;
    QString folder() const { return dir.path() + QLatin1Char('/'); }
    QString path() const { return folder() + LargeLibraryName; }
};

const LargeLibrary& TheLargeLibrary()
{
    static const LargeLibrary library = [] {
        LargeLibrary made;
        const bench::GeneratedLibrary generated = bench::MakeLibrary(LargeLibrarySize, 150);
        made.blocks = generated.blocks;
        made.size = generated.bytes.size();
        bench::WriteFile(made.path(), generated.bytes);
        return made;
    }();
    return library;
}

qsizetype PlainRead(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    benchmark::DoNotOptimize(bytes.constData());
    return bytes.size();
}

void BM_PlainRead10MB(benchmark::State& state)
{
    const LargeLibrary& library = TheLargeLibrary();
    for (auto _ : state) {
        if (PlainRead(library.path()) != library.size) {
            state.SkipWithError("short read");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * library.size);
}
BENCHMARK(BM_PlainRead10MB)->Unit(benchmark::kMillisecond);

// Every block of the library is read, so the reader goes through the whole
// file; each iteration also times a plain read, so the ratio compares runs
// that met the same cache.
void BM_LoadTopicLibrary10MB(benchmark::State& state)
{
    const LargeLibrary& library = TheLargeLibrary();
    double loadSeconds = 0;
    double plainSeconds = 0;
    for (auto _ : state) {
        const auto t0 = bench::Stopwatch::now();
        PlainRead(library.path());
        const auto t1 = bench::Stopwatch::now();
        TopicTable table;
        LoadTopicLibrary(library.folder(), LargeLibraryName, library.blocks, table);
        const auto t2 = bench::Stopwatch::now();
        benchmark::DoNotOptimize(table.size());
        plainSeconds += bench::Seconds(t0, t1);
        loadSeconds += bench::Seconds(t1, t2);
        state.SetIterationTime(bench::Seconds(t1, t2));
    }
    state.SetBytesProcessed(state.iterations() * library.size);
    state.counters["blocks"] = library.blocks;
    state.counters["plain_ms"] = plainSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["x_plain"] = plainSeconds > 0 ? loadSeconds / plainSeconds : 0;
}
BENCHMARK(BM_LoadTopicLibrary10MB)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWithApplication(argc, argv);
}
