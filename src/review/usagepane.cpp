#include "review/usagepane.h"

#include "essay/usageslips.h"

namespace {

ReportFigure familyFigure(const UsageReport& usage, UsageFamily family, const QString& covers)
{
    const int found = family == UsageFamily::Mechanics ? usage.mechanics : usage.usage;
    return {familyName(family),
            QStringLiteral("%1, %2 per hundred words")
                .arg(found)
                .arg(QString::number(usage.perHundred(family), 'f', 2)),
            {},
            covers};
}

} // namespace

ReportSection usageSection(const UsageReport& usage)
{
    ReportSection section{QStringLiteral("Usage and mechanics")};
    section.figures << familyFigure(
        usage, UsageFamily::Mechanics,
        QStringLiteral("A word written twice, a sentence begun in lower case, \"i\" for \"I\", a "
                       "space before a comma or stop or none after a sentence, a quotation mark "
                       "or bracket left open."));
    section.figures << familyFigure(
        usage, UsageFamily::Usage,
        QStringLiteral("\"a\" and \"an\" by sound; its and it's, their and there, your and "
                       "you're, then and than, lose and loose, \"could of\", \"alot\"; \"he "
                       "don't\", \"they was\" and the like."));
    ReportFigure slips{QStringLiteral("Slips"),
                       usage.slips.isEmpty() ? QStringLiteral("none found")
                                             : QString::number(usage.different),
                       {},
                       QStringLiteral("Each slip once, with how often it is made and the likely "
                                      "correction; they are underlined in blue in the answer. "
                                      "The rules flag only slips they are certain of: a sentence "
                                      "without a flag may still be wrong.")};
    for (const UsageSlip& slip : usage.slips) {
        const UsageRule& rule = usageRules()[slip.rule];
        slips.lines << ReportLine{slip.written,
                                  QStringLiteral(" \u2192 %1 (%2): %3. \u201c%4\u201d")
                                      .arg(slip.correction)
                                      .arg(slip.count)
                                      .arg(QString::fromUtf8(rule.says), slip.sentence)};
    }
    if (usage.different > usage.slips.size())
        slips.lines << ReportLine{
            {}, QStringLiteral("and %1 more").arg(usage.different - usage.slips.size())};
    section.figures << slips;
    return section;
}
