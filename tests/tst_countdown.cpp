#include "exam/countdown.h"

#include <QtTest>

namespace {
constexpr double Start = 5000.0; // an arbitrary reading of the elapsed-time clock

// A countdown whose first tick was at Start, then one tick at Start + elapsed.
TickOutcome TickAt(CountdownState& state, double elapsed)
{
    CountdownTick(state, Start);
    return CountdownTick(state, Start + elapsed);
}
} // namespace

class TestCountdown : public QObject {
    Q_OBJECT
private slots:
    void captions_data()
    {
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("lastMinutes");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::newRow("0") << 0.0 << "00:30" << false << 30 << 0;
        QTest::newRow("0.5 rounds to even 0") << 0.5 << "00:30" << false << 30 << 0;
        QTest::newRow("1") << 1.0 << "00:29" << false << 29 << 59;
        QTest::newRow("1.5 rounds to 2") << 1.5 << "00:29" << false << 29 << 58;
        QTest::newRow("59.5 rounds to 60") << 59.5 << "00:29" << false << 29 << 0;
        QTest::newRow("60.5 rounds to 60") << 60.5 << "00:29" << false << 29 << 0;
        QTest::newRow("1499") << 1499.0 << "00:05" << false << 5 << 1;
        QTest::newRow("1500") << 1500.0 << "00:05" << false << 5 << 0;
        QTest::newRow("1501") << 1501.0 << "04:59" << true << 4 << 59;
        QTest::newRow("1790") << 1790.0 << "00:10" << true << 0 << 10;
        QTest::newRow("1798.5 rounds to 1798") << 1798.5 << "00:02" << true << 0 << 2;
        QTest::newRow("1799.4") << 1799.4 << "00:01" << true << 0 << 1;
        QTest::newRow("1799.5 rounds to 1800") << 1799.5 << "00:00" << true << 0 << 0;
        QTest::newRow("1800") << 1800.0 << "00:00" << true << 0 << 0;
        QTest::newRow("1801 never negative") << 1801.0 << "00:00" << true << 0 << 0;
        QTest::newRow("a day later") << 86400.0 * 3 << "00:00" << true << 0 << 0;
    }
    void captions()
    {
        QFETCH(double, elapsed);
        QFETCH(QString, caption);
        QFETCH(bool, lastMinutes);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        CountdownState state;
        const TickOutcome outcome = TickAt(state, elapsed);
        QVERIFY(!outcome.timeUp);
        QVERIFY(outcome.captionChanged);
        QCOMPARE(outcome.caption, caption);
        QCOMPARE(outcome.lastMinutes, lastMinutes);
        QCOMPARE(int(state.MinutesLeft), minutes);
        QCOMPARE(int(state.SecondsLeft), seconds);
    }

    // The first tick takes its own reading as the start, however long ago the
    // timer was switched on, and clears the pending restart.
    void firstTickTakesStart()
    {
        CountdownState state;
        state.CountdownStart = 12.0; // left from an earlier question
        const TickOutcome first = CountdownTick(state, 9999.0);
        QCOMPARE(state.CountdownStart, 9999.0);
        QVERIFY(!state.RestartPending);
        QCOMPARE(first.caption, QStringLiteral("00:30"));
        QCOMPARE(CountdownTick(state, 9999.0 + 61).caption, QStringLiteral("00:28"));
    }

    void timeUpExactlyOnceAfterZero()
    {
        CountdownState state;
        TickAt(state, 1800.0);
        QCOMPARE(int(state.MinutesLeft), 0);
        const TickOutcome next = CountdownTick(state, Start + 1800.5);
        QVERIFY(next.timeUp);
        QVERIFY(!next.captionChanged);
        QVERIFY(state.RestartPending);
        // Switching the timer on again without putting the clock at rest would
        // announce time up at once; putting it at rest starts afresh.
        PutCountdownAtRest(state);
        const TickOutcome fresh = CountdownTick(state, Start + 4000);
        QVERIFY(!fresh.timeUp);
        QCOMPARE(fresh.caption, QStringLiteral("00:30"));
    }

    void noTimeUpBeforeZero()
    {
        CountdownState state;
        TickAt(state, 1799.0);
        QVERIFY(!CountdownTick(state, Start + 1799.4).timeUp);
    }

    // Ticks held up past the end (a sleeping computer) still end in time up.
    void heldUpTicksEndInTimeUp()
    {
        CountdownState state;
        QCOMPARE(TickAt(state, 2500.0).caption, QStringLiteral("00:00"));
        QVERIFY(CountdownTick(state, Start + 2500.5).timeUp);
    }

    // A reading that seems to go backwards counts as no time elapsed; nothing
    // overflows whatever the readings are.
    void clockStepsNeverFault_data()
    {
        QTest::addColumn<double>("reading");
        QTest::addColumn<QString>("caption");
        QTest::newRow("backwards") << Start - 80000.0 << "00:30";
        QTest::newRow("far forward") << Start + 1e12 << "00:00";
        QTest::newRow("at zero") << 0.0 << "00:30";
    }
    void clockStepsNeverFault()
    {
        QFETCH(double, reading);
        QFETCH(QString, caption);
        CountdownState state;
        CountdownTick(state, Start);
        QCOMPARE(CountdownTick(state, reading).caption, caption);
    }

    void atRestKeepsStart()
    {
        CountdownState state;
        TickAt(state, 1700.0);
        PutCountdownAtRest(state);
        QCOMPARE(int(state.MinutesLeft), 30);
        QCOMPARE(int(state.SecondsLeft), 0);
        QVERIFY(state.RestartPending);
        QCOMPARE(state.CountdownStart, Start);
    }
};

QTEST_GUILESS_MAIN(TestCountdown)
#include "tst_countdown.moc"
