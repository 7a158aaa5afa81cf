// Start-up: the whole load with the real libraries, and the library reader
// against a plain read of the same bytes.

#include "benchsupport.h"

#include "fakeplatform.h"

#include "app/startup.h"
#include "bank/topiclibrary.h"
#include "exam/testwindow.h"
#include "start/startwindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <map>
#include <memory>

namespace {

// A program folder with the real libraries and pictures beside it.
struct RealFolder {
    ProgramFolder folder;
    RealFolder()
    {
        const QString data = qEnvironmentVariable("QEL_SOURCE_DIR") + QStringLiteral("/data/");
        for (const QString& name : {IssueLibraryName, ArgumentLibraryName, GreIssueLibraryName}) {
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
    loadProgram(fake.seams, real.folder.path()).reset();
    for (auto _ : state) {
        const auto start = Bench::Stopwatch::now();
        std::unique_ptr<StartWindow> program = loadProgram(fake.seams, real.folder.path());
        state.SetIterationTime(Bench::seconds(start, Bench::Stopwatch::now()));
        benchmark::DoNotOptimize(program.get());
        if (program->issueTopics.size() != IssueTopicCount ||
            program->argumentTopics.size() != ArgumentTopicCount ||
            program->greIssueTopics.size() != GreIssueTopicCount) {
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
    loadProgram(fake.seams, real.folder.path()).reset();
    for (auto _ : state) {
        const auto start = Bench::Stopwatch::now();
        std::unique_ptr<StartWindow> program = loadProgram(fake.seams, real.folder.path());
        program->show();
        QCoreApplication::processEvents();
        state.SetIterationTime(Bench::seconds(start, Bench::Stopwatch::now()));
        program.reset();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_LoadProgramAndShow)->UseManualTime()->Unit(benchmark::kMillisecond);

const QString LargeLibraryName = QStringLiteral("large.lib");

struct LargeLibrary {
    QTemporaryDir dir;
    int blocks = 0;
    qsizetype size = 0;
    QString folder() const { return dir.path() + QLatin1Char('/'); }
    QString path() const { return folder() + LargeLibraryName; }
};

// A generated library of about the given size, made once per size.
const LargeLibrary& libraryOfSize(qsizetype size)
{
    static std::map<qsizetype, std::unique_ptr<LargeLibrary>> made;
    std::unique_ptr<LargeLibrary>& library = made[size];
    if (!library) {
        library = std::make_unique<LargeLibrary>();
        const Bench::GeneratedLibrary generated = Bench::makeLibrary(size, 150);
        library->blocks = generated.blocks;
        library->size = generated.bytes.size();
        Bench::writeFile(library->path(), generated.bytes);
    }
    return *library;
}

qsizetype plainRead(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    benchmark::DoNotOptimize(bytes.constData());
    return bytes.size();
}

void BM_PlainRead(benchmark::State& state)
{
    const LargeLibrary& library = libraryOfSize(state.range(0));
    for (auto _ : state) {
        if (plainRead(library.path()) != library.size) {
            state.SkipWithError("short read");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * library.size);
}

// Every block of the library is read, so the reader goes through the whole
// file; each iteration also times a plain read, so the ratio compares runs
// that met the same cache.
void BM_LoadTopicLibrary(benchmark::State& state)
{
    const LargeLibrary& library = libraryOfSize(state.range(0));
    double loadSeconds = 0;
    double plainSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Bench::Stopwatch::now();
        plainRead(library.path());
        const auto t1 = Bench::Stopwatch::now();
        TopicTable table;
        loadTopicLibrary(library.folder(), LargeLibraryName, library.blocks, table);
        const auto t2 = Bench::Stopwatch::now();
        benchmark::DoNotOptimize(table.size());
        plainSeconds += Bench::seconds(t0, t1);
        loadSeconds += Bench::seconds(t1, t2);
        state.SetIterationTime(Bench::seconds(t1, t2));
    }
    state.SetBytesProcessed(state.iterations() * library.size);
    state.counters["blocks"] = library.blocks;
    state.counters["plain_ms"] = plainSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["x_plain"] = plainSeconds > 0 ? loadSeconds / plainSeconds : 0;
}

// 100 KB is the size of the real libraries; 10 MB and 50 MB show the reader
// keeps pace with the disk cache whatever the size.
constexpr qsizetype KB = 1024;
constexpr qsizetype MB = KB * 1024;
BENCHMARK(BM_PlainRead)->Arg(100 * KB)->Arg(10 * MB)->Arg(50 * MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTopicLibrary)
    ->Arg(100 * KB)
    ->Arg(10 * MB)
    ->Arg(50 * MB)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Start pressed: the test window filled and shown, on the offscreen platform
// (bench/startup.py times the same through the real X server).
void BM_StartPractice(benchmark::State& state)
{
    RealFolder real;
    FakePlatform fake;
    std::unique_ptr<StartWindow> program = loadProgram(fake.seams, real.folder.path());
    program->show();
    QCoreApplication::processEvents();
    program->testWindow();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        const auto start = Bench::Stopwatch::now();
        program->startPractice();
        QCoreApplication::processEvents();
        state.SetIterationTime(Bench::seconds(start, Bench::Stopwatch::now()));
        program->testWindow()->hide();
        program->testWindow()->clockTimer->stop();
        program->show();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_StartPractice)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runWithApplication(argc, argv);
}
