#include "review/usagepane.h"

#include "essay/usageslips.h"

namespace {

QString familyLine(const UsageReport& usage, UsageFamily family, const QString& covers)
{
    const int found = family == UsageFamily::Mechanics ? usage.mechanics : usage.usage;
    return QStringLiteral("<p style=\"margin-top:6px\"><b>%1:</b> %2, %3 per hundred words<br>"
                          "<span style=\"color:#505050\">%4</span></p>")
        .arg(familyName(family))
        .arg(found)
        .arg(QString::number(usage.perHundred(family), 'f', 2), covers);
}

} // namespace

QString usageHtml(const UsageReport& usage)
{
    QString html =
        QStringLiteral("<h4 style=\"margin-top:10px; margin-bottom:0\">Usage and mechanics</h4>");
    html += familyLine(usage, UsageFamily::Mechanics,
                       QStringLiteral("A word written twice, a sentence begun in lower case, "
                                      "\"i\" for \"I\", a space before a comma or stop or none "
                                      "after a sentence, a quotation mark or bracket left open."));
    html += familyLine(usage, UsageFamily::Usage,
                       QStringLiteral("\"a\" and \"an\" by sound; its and it's, their and "
                                      "there, your and you're, then and than, lose and loose, "
                                      "\"could of\", \"alot\"; \"he don't\", \"they was\" and "
                                      "the like."));
    if (!usage.slips.isEmpty()) {
        QStringList lines;
        for (const UsageSlip& slip : usage.slips) {
            const UsageRule& rule = usageRules()[slip.rule];
            lines << QStringLiteral("<u>%1</u> &rarr; <b>%2</b> (%3): %4<br><span "
                                    "style=\"color:#505050\">&ldquo;%5&rdquo;</span>")
                         .arg(slip.written.toHtmlEscaped(), slip.correction.toHtmlEscaped())
                         .arg(slip.count)
                         .arg(QString::fromUtf8(rule.says).toHtmlEscaped(),
                              slip.sentence.toHtmlEscaped());
        }
        if (usage.different > usage.slips.size())
            lines << QStringLiteral("and %1 more").arg(usage.different - usage.slips.size());
        html += QStringLiteral("<p style=\"margin-top:6px\">%1</p>")
                    .arg(lines.join(QStringLiteral("<br>")));
    }
    html += QStringLiteral("<p><span style=\"color:#505050\">Each slip once, with how often it "
                           "is made and the likely correction; they are underlined in blue in "
                           "the answer. The rules flag only slips they are certain of: a "
                           "sentence without a flag may still be wrong.</span></p>");
    return html;
}
