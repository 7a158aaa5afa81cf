// One step of the countdown: the pure computation, and the test window's timer
// handler with the clock label it updates.

#include "benchsupport.h"

#include "windows.h"

#include "exam/countdown.h"

#include <QCoreApplication>

namespace {

// Readings half a second apart over nearly the whole half hour, never reaching
// time up, so both caption forms are computed.
constexpr int ReadingSteps = 2 * (SecondsAllowed - 10);

void BM_CountdownTick(benchmark::State& state)
{
    CountdownState clock;
    const double start = 5000;
    countdownTick(clock, start);
    int step = 0;
    for (auto _ : state) {
        TickOutcome outcome = countdownTick(clock, start + 0.5 * step);
        benchmark::DoNotOptimize(outcome);
        step = step + 1 == ReadingSteps ? 0 : step + 1;
    }
}
BENCHMARK(BM_CountdownTick);

// In the last minutes the caption shows seconds; stepping the clock a whole
// second at a time makes every tick change the label.
constexpr double LastMinutesFrom = SecondsAllowed - LastMinutesThreshold * 60;
constexpr int LastMinutesSteps = LastMinutesThreshold * 60 - 10;

struct RunningQuestion {
    LoadedProgram program;
    TestWindow& test;
    double start = 0;

    RunningQuestion() : test(program.test())
    {
        program.startQuestion(true, QStringLiteral("12"));
        // The ticks are driven here; the window's own timer stays out of it.
        test.clockTimer->stop();
        start = program.fake.clock.elapsed;
        test.timerTick();
        QCoreApplication::processEvents();
    }
    void setStep(int step)
    {
        program.fake.clock.elapsed = start + LastMinutesFrom + (step % LastMinutesSteps);
    }
    bool captionMoves()
    {
        setStep(0);
        test.timerTick();
        const QString first = test.clock->text();
        setStep(1);
        test.timerTick();
        return test.clock->text() != first;
    }
};

void BM_TimerTick(benchmark::State& state)
{
    RunningQuestion question;
    if (!question.captionMoves()) {
        state.SkipWithError("the clock label does not change from tick to tick");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        question.setStep(step++);
        question.test.timerTick();
    }
}
BENCHMARK(BM_TimerTick);

// The same with the event loop's turn after it, where the label is repainted.
void BM_TimerTickAndPaint(benchmark::State& state)
{
    RunningQuestion question;
    int step = 0;
    for (auto _ : state) {
        question.setStep(step++);
        question.test.timerTick();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_TimerTickAndPaint);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runWithApplication(argc, argv);
}
