#include "exam/sectionend.h"

#include "platform/numeric.h"

#include <algorithm>

bool SectionEnd::timeRanOut() const
{
    return seconds >= secondsAllowed;
}

int secondsTaken(double from, double to)
{
    // The clock only moves forward; should it ever seem not to, nothing has elapsed.
    return static_cast<int>(roundHalfEven(std::clamp(to - from, 0.0, 1e9)));
}

namespace {

QString wordsText(int words)
{
    return words == 1 ? QStringLiteral("1 word") : QStringLiteral("%1 words").arg(words);
}

} // namespace

QString wordsAndTime(const SectionEnd& end)
{
    QString text = QStringLiteral("%1 in %2 min %3 s")
                       .arg(wordsText(end.words))
                       .arg(end.seconds / 60)
                       .arg(end.seconds % 60);
    if (end.timeRanOut())
        text += QStringLiteral(" (the time ran out)");
    return text;
}

QString wordsAndTimeLine(const SectionEnd& end)
{
    QString line = QStringLiteral("You wrote ") + wordsAndTime(end) + QLatin1Char('.');
    if (end.helpWords > 0) {
        line += QStringLiteral(" %1 came from Help.").arg(wordsText(end.helpWords));
    }
    return line;
}

QString timelineLostLine(const SectionEnd& end)
{
    return end.saved && !end.timelineKept
               ? QStringLiteral("Your essay was saved, but how its time went could not be "
                                "kept.\r\n\r\n")
               : QString();
}
