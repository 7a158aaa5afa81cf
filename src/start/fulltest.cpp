#include "start/fulltest.h"

#include "essay/essayfile.h"

std::optional<EssayKind> FullTest::nextSection() const
{
    if (over_ || taken_.size() >= qsizetype(Sections.size()))
        return std::nullopt;
    return Sections.at(taken_.size());
}

bool FullTest::sectionEnded(const SectionEnd& end)
{
    taken_.append(end);
    // Test Quit ends the whole sitting, whichever section it came in.
    over_ = over_ || end.wholeTest;
    return nextSection().has_value();
}

QString FullTest::sectionOverText() const
{
    return QStringLiteral("Section %1 is over. Section %2 begins when you press OK.")
        .arg(taken_.size())
        .arg(taken_.size() + 1);
}

QString FullTest::summary() const
{
    QStringList lines;
    for (qsizetype i = 0; i < taken_.size(); ++i) {
        const SectionEnd& end = taken_.at(i);
        lines << QStringLiteral("Section %1, %2: %3, %4.")
                     .arg(i + 1)
                     .arg(topicName(end.question), wordsAndTime(end),
                          end.saved ? QStringLiteral("saved") : QStringLiteral("not saved"));
    }
    return lines.join(QStringLiteral("\r\n"));
}
