#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The exam's own time per question; a candidate with more time is given one of
// the other times allowed.
inline constexpr int SecondsAllowed = 1800;
inline constexpr std::array<int, 4> TimesAllowed{1800, 2250, 2700, 3600};
inline constexpr int TickIntervalMs = 500;
inline constexpr int LastMinutesThreshold = 5;
inline const QString ClockAtLoadCaption = QStringLiteral("00:30");

// The test window's clock variables.
struct CountdownState {
    std::int16_t minutesLeft = 30;
    std::int16_t secondsLeft = 0;
    // Reading of the elapsed-time clock at which the running countdown began;
    // 0 means no start has been taken. Kept in double precision: that clock
    // counts from the system's start and outgrows single precision within days.
    double countdownStart = 0;
    bool restartPending = true;
};

// What one tick asks of the window.
struct TickOutcome {
    bool timeUp = false;         // switch the timer off and announce "Time Up!"
    bool captionChanged = false; // set the clock label to caption
    QString caption;
    bool lastMinutes = false; // force the clock visible and the Time button off
    // This tick reached five minutes left (5) or one minute left (1): a screen
    // reader is told. 0 on every other tick.
    int minutesCrossed = 0;
};

// One tick of the countdown for a reading of the elapsed-time clock. The
// remaining time never goes below zero: a countdown whose ticks were held up
// past its end shows 00:00, and the next tick announces time up.
// While five or more whole minutes are left the caption reads hours and minutes
// (00:30, 01:00), in the last five minutes and seconds.
TickOutcome countdownTick(CountdownState& state, double clockReading,
                          int secondsAllowed = SecondsAllowed);

// The state of the clock at rest (countdownStart keeps its value).
void putCountdownAtRest(CountdownState& state, int secondsAllowed = SecondsAllowed);

// The time left as a screen reader says it: "25 minutes left", "1 hour left",
// "4 minutes 59 seconds left".
QString spokenTimeLeft(const CountdownState& state);

// What the clock shows at rest: the time allowed in minutes and seconds, "30:00".
QString clockAtRestCaption(int secondsAllowed);
