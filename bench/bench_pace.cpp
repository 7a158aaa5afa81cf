// The pace log: what it adds to a keystroke on the window thread (a key and a
// Backspace into a 600-word answer, with the log running and before it starts),
// what an entry with its word count costs, how large a 30-minute log is, and a
// save of a 5 KB essay with its log, both synced to the disk.

#include "benchsupport.h"

#include "windows.h"

#include "essay/essaynotes.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

namespace {

struct TypedQuestion {
    LoadedProgram program;
    TestWindow& test;

    explicit TypedQuestion(bool logRunning) : test(program.test())
    {
        program.startQuestion(true, QStringLiteral("12"));
        test.clockTimer->stop(); // the ticks are driven here
        Bench::Words words(7);
        test.answerBox->setPlainText(QString::fromUtf8(words.answer(600)));
        test.answerBox->moveCursor(QTextCursor::End);
        if (logRunning)
            test.timerTick();
        QCoreApplication::processEvents();
    }
    void key(int key, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(test.answerBox, &press);
    }
};

// Typing at five keys a second: the clock moves 0.2 s a key. The timer is
// stopped, as after Help or "Time Up!", so the keys themselves take the
// 5-second samples with their word counts: the dearest case.
void keystrokes(benchmark::State& state, bool logRunning)
{
    TypedQuestion question(logRunning);
    FakeClock& clock = question.program.fake.clock;
    for (auto _ : state) {
        clock.elapsed += 0.2;
        question.key(Qt::Key_A, QStringLiteral("a"));
        clock.elapsed += 0.2;
        question.key(Qt::Key_Backspace, QString());
        QCoreApplication::processEvents(); // a change's entry is taken once its edit is whole
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["log_entries"] = double(question.test.paceLog().entries.size());
}
void BM_KeystrokeWithPaceLog(benchmark::State& state)
{
    keystrokes(state, true);
}
void BM_KeystrokeWithoutPaceLog(benchmark::State& state)
{
    keystrokes(state, false);
}
BENCHMARK(BM_KeystrokeWithPaceLog);
BENCHMARK(BM_KeystrokeWithoutPaceLog);

// The log's own part of a keystroke, alone.
void BM_PaceRecorderChange(benchmark::State& state)
{
    PaceRecorder recorder;
    recorder.start(1800, 0, 0);
    double at = 0;
    for (auto _ : state) {
        at += 0.2;
        if (const auto event = recorder.changed(at, 0, 1))
            recorder.add(at, *event, 1, 0);
        if (recorder.log().entries.size() > 10000)
            recorder.start(1800, 0, 0), at = 0;
    }
}
BENCHMARK(BM_PaceRecorderChange);

// One 5-second sample after typing: the answer's words counted for it.
void BM_PaceSample(benchmark::State& state)
{
    TypedQuestion question(true);
    FakeClock& clock = question.program.fake.clock;
    for (auto _ : state) {
        question.key(Qt::Key_A, QStringLiteral("a"));
        clock.elapsed += 5;
        question.test.timerTick();
    }
}
BENCHMARK(BM_PaceSample);

// A busy half hour: typing throughout, 40 pastes, 40 undos, a Help.
PaceLog halfHour()
{
    PaceRecorder recorder;
    recorder.start(1800, 0, 0);
    int words = 0;
    for (double at = 0.2; at < 1800; at += 0.2) {
        const int step = int(at * 5);
        if (step % 220 == 0)
            recorder.expect(step % 440 == 0 ? PaceEvent::Paste : PaceEvent::Undo);
        if (const auto event = recorder.changed(at, step % 9 == 0 ? 1 : 0, 1)) {
            recorder.add(at, *event, words, 1500);
            recorder.expect(std::nullopt);
        }
        words += step % 6 == 0;
        if (recorder.sampleDue(at))
            recorder.add(at, PaceEvent::Tick, words, 1500);
    }
    return recorder.ended(1800, words, 1500);
}

void BM_HalfHourLog(benchmark::State& state)
{
    const PaceLog log = halfHour();
    const QString record = buildEssayRecord({EssayKind::Issue, 12}, QStringLiteral("14/03/2026"),
                                            QStringLiteral("09:26:53"), {}, {});
    QString entry;
    for (auto _ : state)
        benchmark::DoNotOptimize(entry = timelineEntry(record, QStringLiteral("14/03/2026"),
                                                       QStringLiteral("09:26:53"), log));
    state.counters["entries"] = double(log.entries.size());
    state.counters["log_KB"] = double(entry.size()) / 1024;
}
BENCHMARK(BM_HalfHourLog);

// A save as the test window makes it: the record, then its timeline, each synced.
void BM_SaveWithPaceLog(benchmark::State& state)
{
    // On the machine's disk: a sync on a file system in memory costs nothing.
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/pace-files-XXXXXX"));
    QDir(dir.path()).mkdir(QStringLiteral("user"));
    const QString path = dir.path() + QStringLiteral("/user/ai12.txt");
    Bench::Words words(3);
    const QString record = buildEssayRecord(
        {EssayKind::Issue, 12}, QStringLiteral("14/03/2026"), QStringLiteral("09:26:53"),
        QString::fromUtf8("\r\n" + Bench::topicBlock(words)),
        QString::fromUtf8(words.answer(900).left(qsizetype{5} * 1024)));
    const PaceLog log = halfHour();
    for (auto _ : state) {
        QFile::remove(path);
        QFile::remove(notesFilePath(path));
        const auto start = Bench::Stopwatch::now();
        QString reason;
        const bool saved = appendEssayRecord(path, record, reason) &&
                           appendNotes(notesFilePath(path),
                                       timelineEntry(record, QStringLiteral("14/03/2026"),
                                                     QStringLiteral("09:26:53"), log),
                                       reason);
        state.SetIterationTime(Bench::seconds(start, Bench::Stopwatch::now()));
        if (!saved)
            state.SkipWithError(qPrintable(reason));
    }
}
BENCHMARK(BM_SaveWithPaceLog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runWithApplication(argc, argv);
}
