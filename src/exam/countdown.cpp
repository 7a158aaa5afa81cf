#include "exam/countdown.h"

#include "platform/numeric.h"

#include <algorithm>

namespace {

QString TwoDigits(int value)
{
    QString text = QString::number(value);
    if (text.size() == 1)
        text.prepend(QLatin1Char('0'));
    return text;
}

} // namespace

TickOutcome CountdownTick(CountdownState& state, double clockReading)
{
    if (state.RestartPending) {
        state.CountdownStart = clockReading;
        state.RestartPending = false;
    }
    if (state.CountdownStart == 0)
        state.CountdownStart = clockReading;

    TickOutcome outcome;
    if (state.MinutesLeft == 0 && state.SecondsLeft == 0) {
        state.RestartPending = true;
        outcome.timeUp = true;
        return outcome;
    }

    // The clock only moves forward; should it ever seem not to, nothing has elapsed.
    const double elapsed = std::max(0.0, clockReading - state.CountdownStart);
    const double rounded = RoundHalfEven(std::min(elapsed, double(SecondsAllowed)));
    const int remaining = SecondsAllowed - static_cast<int>(rounded);
    state.SecondsLeft = static_cast<std::int16_t>(remaining % 60);
    state.MinutesLeft = static_cast<std::int16_t>(remaining / 60);

    outcome.captionChanged = true;
    if (state.MinutesLeft >= LastMinutesThreshold) {
        outcome.caption = QStringLiteral("00:") + TwoDigits(state.MinutesLeft);
    } else {
        outcome.lastMinutes = true;
        outcome.caption =
            TwoDigits(state.MinutesLeft) + QLatin1Char(':') + TwoDigits(state.SecondsLeft);
    }
    return outcome;
}

void PutCountdownAtRest(CountdownState& state)
{
    state.MinutesLeft = 30;
    state.SecondsLeft = 0;
    state.RestartPending = true;
}
