// The Review window over years of practice: 5,000 records, about 50 MB, spread
// over the topics as a user's would be. Opening it (every file read, every
// record placed and dated, the window drawn, the newest essay's report made)
// should take under a second, and memory at its peak less than three times
// what the files hold. Each record has its half hour's timeline in the notes
// beside its file, as the test window keeps them.

#include "benchsupport.h"

#include "fakeplatform.h"

#include "essay/essayfile.h"
#include "essay/essaynotes.h"
#include "review/progressview.h"
#include "review/reviewwindow.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>

#include <malloc.h>

#include <memory>

namespace {

constexpr int Records = 5000;
constexpr qsizetype AnswerSize = 9500; // with the topic and the head, about 10 KB a record

struct YearsOfEssays {
    FakePlatform fake;
    ProgramFolder folder;
    qsizetype bytes = 0;
    qsizetype notesBytes = 0;

    // Samples every 5 seconds of a half hour, 600 words, a paste and a Help.
    static PaceLog halfHour(int seed)
    {
        PaceLog log;
        int words = 0;
        for (int at = 0; at <= 1800; at += 5) {
            const int typed = (at * 7 + seed) % 40;
            words += typed / 6;
            const PaceEvent event = at == 0      ? PaceEvent::Start
                                    : at == 600  ? PaceEvent::Paste
                                    : at == 900  ? PaceEvent::Help
                                    : at == 1800 ? PaceEvent::End
                                                 : PaceEvent::Tick;
            log.entries.append({at, words, at >= 900 ? 1500 : 0, typed, typed / 9, event});
        }
        return log;
    }

    YearsOfEssays()
    {
        Bench::Words words(26);
        QMap<QString, QByteArray> files;
        QMap<QString, QByteArray> notes;
        QDateTime when(QDate(2023, 1, 9), QTime(18, 4, 11));
        for (int i = 0; i < Records; ++i) {
            // Issue and Argument topics in turn, some more often than others.
            const bool issue = i % 2 == 0;
            const int number = 1 + (i * 37 + i / 7) % (issue ? 150 : 141);
            const Question question{issue ? EssayKind::Issue : EssayKind::Argument, number};
            QByteArray answer = words.answer(int(AnswerSize / 6));
            answer.truncate(AnswerSize);
            when = when.addSecs(3600 * 5 + i % 1000);
            const QString path = essayFilePath(folder.path() + QLatin1Char('/'), question);
            const QString date = recordDate(when, QLocale::system());
            const QString time = recordTime(when, QLocale::system());
            const QString record = buildEssayRecord(
                question, date, time, QString::fromUtf8("\r\n" + Bench::topicBlock(words)),
                QString::fromUtf8(answer));
            files[path] += record.toUtf8();
            notes[notesFilePath(path)] += timelineEntry(record, date, time, halfHour(i)).toUtf8();
        }
        for (auto file = files.cbegin(); file != files.cend(); ++file) {
            Bench::writeFile(file.key(), file.value());
            bytes += file.value().size();
        }
        for (auto file = notes.cbegin(); file != notes.cend(); ++file) {
            Bench::writeFile(file.key(), file.value());
            notesBytes += file.value().size();
        }
    }
};

std::unique_ptr<YearsOfEssays> theEssays;

// A figure of this process from /proc/self/status, in bytes.
qint64 memoryFigure(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(int(qstrlen(name))).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return 0;
}

// The peak resident size starts again from the present one.
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void BM_OpenReviewWindow(benchmark::State& state)
{
    if (!theEssays)
        theEssays = std::make_unique<YearsOfEssays>();
    YearsOfEssays& essays = *theEssays;
    const QString appFolder = essays.folder.path() + QLatin1Char('/');
    double peakRatio = 0;
    double settledRatio = 0; // three seconds after, as a user would read it in a task manager
    double searchSeconds = 0;
    double searchDoneSeconds = 0;
    double progressSeconds = 0;
    double redrawSeconds = 0;
    double paceSeconds = 0;
    double firstSeconds = 0; // the run's first opening also opens the dictionaries
    int rows = 0;
    for (auto _ : state) {
        malloc_trim(0); // what earlier runs freed goes back, so the peak is this run's
        resetPeakMemory();
        const qint64 before = memoryFigure("VmRSS:");
        const auto start = Bench::Stopwatch::now();
        ReviewWindow review(essays.fake.seams, appFolder, nullptr);
        review.show();
        QCoreApplication::processEvents(); // drawn
        const double opened = Bench::seconds(start, Bench::Stopwatch::now());
        state.SetIterationTime(opened);
        if (firstSeconds == 0)
            firstSeconds = opened;
        const qint64 peak = memoryFigure("VmHWM:");
        peakRatio = std::max(peakRatio, double(peak - before) / double(essays.bytes));
        rows = review.essayList->model()->rowCount();
        const QDeadlineTimer settled(3000);
        while (!settled.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        settledRatio =
            std::max(settledRatio, double(memoryFigure("VmRSS:") - before) / double(essays.bytes));
        // A search that finds nothing reads every topic and answer.
        const auto searched = Bench::Stopwatch::now();
        // The keystroke's cost on the window thread; the rows change when the
        // search's own thread is done.
        review.searchBox->setText(QStringLiteral("no such words"));
        searchSeconds = Bench::seconds(searched, Bench::Stopwatch::now());
        while (review.essayList->model()->rowCount() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        searchDoneSeconds = Bench::seconds(searched, Bench::Stopwatch::now());
        review.searchBox->clear();
        QCoreApplication::processEvents();
        // The Progress tab over every essay, their words counted as the files were
        // read; the slips come later, from a thread of their own.
        const auto shown = Bench::Stopwatch::now();
        review.views->setCurrentIndex(1);
        benchmark::DoNotOptimize(review.progressView->grab());
        progressSeconds = Bench::seconds(shown, Bench::Stopwatch::now());
        // The timelines' figures arrive from a thread of their own.
        while (!review.progressView->timeLeftChart->isVisible())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        paceSeconds = Bench::seconds(shown, Bench::Stopwatch::now());
        const auto redrawn = Bench::Stopwatch::now();
        benchmark::DoNotOptimize(review.progressView->grab());
        redrawSeconds = Bench::seconds(redrawn, Bench::Stopwatch::now());
    }
    if (rows != Records)
        state.SkipWithError("the window did not list every record");
    state.counters["records"] = rows;
    state.counters["files_MB"] = double(essays.bytes) / (1024 * 1024);
    state.counters["notes_MB"] = double(essays.notesBytes) / (1024 * 1024);
    state.counters["x_files_peak"] = peakRatio;
    state.counters["x_files_after_3s"] = settledRatio;
    state.counters["search_ms"] = searchSeconds * 1000;
    state.counters["search_done_ms"] = searchDoneSeconds * 1000;
    state.counters["progress_ms"] = progressSeconds * 1000;
    state.counters["progress_redraw_ms"] = redrawSeconds * 1000;
    state.counters["timelines_ms"] = paceSeconds * 1000;
    state.counters["first_open_ms"] = firstSeconds * 1000;
}
BENCHMARK(BM_OpenReviewWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runWithApplication(argc, argv, [] { theEssays.reset(); });
}
