#pragma once

#include <QString>

#include <cstdint>

inline constexpr int SecondsAllowed = 1800;
inline constexpr int TickIntervalMs = 500;
inline constexpr int LastMinutesThreshold = 5;
inline const QString ClockAtRestCaption = QStringLiteral("30:00");
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
};

// One tick of the countdown for a reading of the elapsed-time clock. The
// remaining time never goes below zero: a countdown whose ticks were held up
// past its end shows 00:00, and the next tick announces time up.
TickOutcome countdownTick(CountdownState& state, double clockReading);

// The state of the clock at rest (countdownStart keeps its value).
void putCountdownAtRest(CountdownState& state);
