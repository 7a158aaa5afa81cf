#include "exam/countdown.h"

#include "platform/numeric.h"

#include <QStringList>

#include <algorithm>

namespace {

QString twoDigits(int value)
{
    QString text = QString::number(value);
    if (text.size() == 1)
        text.prepend(QLatin1Char('0'));
    return text;
}

QString counted(int count, const char* one, const char* many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

} // namespace

TickOutcome countdownTick(CountdownState& state, double clockReading, int secondsAllowed)
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
    const double rounded = roundHalfEven(std::min(elapsed, double(secondsAllowed)));
    const int remaining = secondsAllowed - static_cast<int>(rounded);
    const int before = state.minutesLeft * 60 + state.secondsLeft;
    state.secondsLeft = static_cast<std::int16_t>(remaining % 60);
    state.minutesLeft = static_cast<std::int16_t>(remaining / 60);

    for (const int mark : {LastMinutesThreshold, 1}) {
        if (before > mark * 60 && remaining <= mark * 60 && remaining > 0)
            outcome.minutesCrossed = mark;
    }

    outcome.captionChanged = true;
    if (state.minutesLeft >= LastMinutesThreshold) {
        outcome.caption = twoDigits(state.minutesLeft / 60) + QLatin1Char(':') +
                          twoDigits(state.minutesLeft % 60);
    } else {
        outcome.lastMinutes = true;
        outcome.caption =
            twoDigits(state.minutesLeft) + QLatin1Char(':') + twoDigits(state.secondsLeft);
    }
    return outcome;
}

void putCountdownAtRest(CountdownState& state, int secondsAllowed)
{
    state.minutesLeft = static_cast<std::int16_t>(secondsAllowed / 60);
    state.secondsLeft = static_cast<std::int16_t>(secondsAllowed % 60);
    state.restartPending = true;
}

QString clockAtRestCaption(int secondsAllowed)
{
    return twoDigits(secondsAllowed / 60) + QLatin1Char(':') + twoDigits(secondsAllowed % 60);
}

QString spokenTimeLeft(const CountdownState& state)
{
    const int minutes = state.minutesLeft;
    QStringList parts;
    if (minutes >= LastMinutesThreshold) {
        if (minutes >= 60)
            parts << counted(minutes / 60, "hour", "hours");
        if (minutes % 60 != 0)
            parts << counted(minutes % 60, "minute", "minutes");
    } else {
        if (minutes > 0)
            parts << counted(minutes, "minute", "minutes");
        if (state.secondsLeft > 0 || minutes <= 0)
            parts << counted(qMax(0, int(state.secondsLeft)), "second", "seconds");
    }
    return parts.join(QLatin1Char(' ')) + QStringLiteral(" left");
}
