#include "essay/selfrating.h"

#include <array>

namespace {

// Written for this program: what the candidate can check in their own essay.
const std::array<const char*, 7> IssueLevels{
    "Nothing to rate: left blank, a copy of the topic, about something else, or not in English.",
    "Hardly an answer: a few loose sentences with no position that holds together, and slips "
    "so many that the meaning is often lost.",
    "A position is hard to find or barely backed; the ideas jump about, and grammar and "
    "wording get in the way of reading.",
    "Takes a position and gives reasons, but they stay thin or general; the order wanders in "
    "places, and slips now and then blur the point.",
    "A clear position with relevant reasons and examples in a sensible order; the wording does "
    "its job, and its slips never hide the meaning.",
    "A considered position built on well-chosen reasons and examples, moving smoothly from one "
    "to the next, in controlled and varied language with few slips.",
    "A position worked out with insight: it weighs the other side, qualifies the view where it "
    "should and makes every example count, in precise, fluent prose almost free of slips.",
};

const std::array<const char*, 7> ArgumentLevels{
    "Nothing to rate: left blank, a copy of the topic, about something else, or not in English.",
    "Shows little grasp of what the argument says or how it reasons: a few disjointed "
    "sentences with frequent errors.",
    "Mostly gives the writer's own view of the subject instead of judging the reasoning; few "
    "real flaws are named, and errors get in the way.",
    "Names some flaws in the reasoning but leaves the most serious aside or explains them "
    "thinly; the order and the wording are uneven.",
    "Finds the main flaws and says why each weakens the conclusion, though some stay "
    "undeveloped; organised and readable, with some slips.",
    "Examines the key assumptions one by one and says what evidence would settle them, in a "
    "well-ordered essay with controlled, varied language.",
    "Takes the argument apart with insight: shows where each assumption fails and what would "
    "mend it, tightly organised and written with precision, almost free of slips.",
};

} // namespace

QList<int> ratingLevels(EssayKind kind)
{
    const int step = kind == EssayKind::GreIssue ? 1 : 2;
    QList<int> levels;
    for (int level = 0; level <= HighestRating; level += step)
        levels << level;
    return levels;
}

QString ratingText(int halfPoints)
{
    return QString::number(halfPoints / 2) + (halfPoints % 2 ? QStringLiteral(".5") : QString());
}

std::optional<int> ratingFromText(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 3 || text.front() < '0' || text.front() > '6')
        return std::nullopt;
    const int whole = (text.front() - '0') * 2;
    if (text.size() == 1)
        return whole;
    if (text.size() == 3 && text.sliced(1) == QByteArrayView(".5") && whole < HighestRating)
        return whole + 1;
    return std::nullopt;
}

QString ratingMeaning(EssayKind kind, int halfPoints)
{
    const auto& levels = kind == EssayKind::Argument ? ArgumentLevels : IssueLevels;
    if (halfPoints < 0 || halfPoints > HighestRating)
        return {};
    if (halfPoints % 2 == 0)
        return QString::fromLatin1(levels.at(std::size_t(halfPoints / 2)));
    return QStringLiteral("Between %1 and %2: does more than a %1 essay in places, but not yet "
                          "what a %2 essay does throughout.")
        .arg(halfPoints / 2)
        .arg(halfPoints / 2 + 1);
}

QString marksLine(std::optional<int> halfPoints, bool leftOut)
{
    QString line;
    if (halfPoints)
        line = QStringLiteral("Your rating: %1 of 6.").arg(ratingText(*halfPoints));
    if (leftOut) {
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) +
                QStringLiteral("Left out of the progress pictures and totals.");
    }
    return line;
}
