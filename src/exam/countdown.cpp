#include "exam/countdown.h"

#include "platform/numeric.h"

#include <algorithm>

namespace {

QString twoDigits(int value)
{
    QString text = QString::number(value);
    if (text.size() == 1)
        text.prepend(QLatin1Char('0'));
    return text;
}

} // namespace

TickOutcome countdownTick(CountdownState& state, double clockReading)
{
    if (state.restartPending) {
        state.countdownStart = clockReading;
        state.restartPending = false;
    }
    if (state.countdownStart == 0)
        state.countdownStart = clockReading;

    TickOutcome outcome;
    if (state.minutesLeft == 0 && state.secondsLeft == 0) {
        state.restartPending = true;
        outcome.timeUp = true;
        return outcome;
    }

    // The clock only moves forward; should it ever seem not to, nothing has elapsed.
    const double elapsed = std::max(0.0, clockReading - state.countdownStart);
    const double rounded = roundHalfEven(std::min(elapsed, double(SecondsAllowed)));
    const int remaining = SecondsAllowed - static_cast<int>(rounded);
    state.secondsLeft = static_cast<std::int16_t>(remaining % 60);
    state.minutesLeft = static_cast<std::int16_t>(remaining / 60);

    outcome.captionChanged = true;
    if (state.minutesLeft >= LastMinutesThreshold) {
        outcome.caption = QStringLiteral("00:") + twoDigits(state.minutesLeft);
    } else {
        outcome.lastMinutes = true;
        outcome.caption =
            twoDigits(state.minutesLeft) + QLatin1Char(':') + twoDigits(state.secondsLeft);
    }
    return outcome;
}

void putCountdownAtRest(CountdownState& state)
{
    state.minutesLeft = 30;
    state.secondsLeft = 0;
    state.restartPending = true;
}
