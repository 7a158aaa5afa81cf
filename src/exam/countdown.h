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
    std::int16_t MinutesLeft = 30;
    std::int16_t SecondsLeft = 0;
    // Reading of the elapsed-time clock at which the running countdown began;
    // 0 means no start has been taken. Kept in double precision: that clock
    // counts from the system's start and outgrows single precision within days.
    double CountdownStart = 0;
    bool RestartPending = true;
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
TickOutcome CountdownTick(CountdownState& state, double clockReading);

// The state of the clock at rest (CountdownStart keeps its value).
void PutCountdownAtRest(CountdownState& state);
