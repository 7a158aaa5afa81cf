#include "review/reportview.h"

#include "essay/essayreport.h"
#include "review/usagepane.h"

#include <QPainter>
#include <QTextDocument>

namespace {

constexpr int BandWidth = 360;
constexpr int BandHeight = 34;
// The bar runs to a third beyond the band's top.
constexpr int BarEnd = TargetWords.high * 4 / 3;

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString number(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

QString percent(double share)
{
    return QString::number(qRound(share * 100)) + QStringLiteral(" %");
}

QString counted(const QList<CountedWord>& words)
{
    QStringList parts;
    for (const CountedWord& word : words)
        parts << QStringLiteral("%1 (%2)").arg(escaped(word.word)).arg(word.count);
    return parts.join(QStringLiteral(", "));
}

// One figure: its name and value, then what it means.
QString figure(const QString& name, const QString& value, const QString& meaning)
{
    return QStringLiteral("<p style=\"margin-top:6px\"><b>%1:</b> %2<br><span "
                          "style=\"color:#505050\">%3</span></p>")
        .arg(name, value, meaning);
}

QString heading(const QString& text)
{
    return QStringLiteral("<h4 style=\"margin-top:10px; margin-bottom:0\">%1</h4>").arg(text);
}

QString lengthPart(const EssayReport& report)
{
    QString html = heading(QStringLiteral("Length"));
    const QString where = report.words < TargetWords.low    ? QStringLiteral("below")
                          : report.words > TargetWords.high ? QStringLiteral("above")
                                                            : QStringLiteral("within");
    html += figure(QStringLiteral("Words"),
                   QStringLiteral("%1, %2 the band of %3 to %4")
                       .arg(report.words)
                       .arg(where)
                       .arg(TargetWords.low)
                       .arg(TargetWords.high),
                   QStringLiteral("Counted as when the essay was saved. Scores of timed essays "
                                  "tend to rise with length up to about 600 words."));
    html += QStringLiteral("<p><img src=\"%1\" width=\"%2\" height=\"%3\"></p>")
                .arg(WordBandPicture.toString())
                .arg(BandWidth)
                .arg(BandHeight);
    html += figure(QStringLiteral("Paragraphs"), QString::number(report.paragraphs),
                   QStringLiteral("Every line that holds a word, whether a blank line or a single "
                                  "line break ends it."));
    html += figure(QStringLiteral("Sentences"), QString::number(report.sentences),
                   QStringLiteral("Each ends at a full stop, question or exclamation mark or "
                                  "ellipsis, or at a line break; the stops of e.g. or Dr. do not "
                                  "end one."));
    QString perSentence = QStringLiteral("none");
    if (report.sentences > 0) {
        perSentence = QStringLiteral("%1 on average; the longest has %2 (\"%3\")")
                          .arg(number(report.meanSentenceWords))
                          .arg(report.longestSentenceWords)
                          .arg(escaped(report.longestSentenceStart));
    }
    html += figure(QStringLiteral("Words per sentence"), perSentence,
                   QStringLiteral("How long your sentences usually are, and where one may run "
                                  "on."));
    return html;
}

QString spellingPart(const EssayReport& report)
{
    QString html = heading(QStringLiteral("Spelling"));
    if (report.dictionaries.isEmpty())
        return html + QStringLiteral("<p>Spelling: no English dictionary was found</p>");
    const bool both = report.dictionaries.size() > 1;
    const QString which = both ? QStringLiteral("neither the American nor the British English "
                                                "dictionary knows")
                          : report.dictionaries.first() == QLatin1String("en_US")
                              ? QStringLiteral("the American English dictionary does not know")
                              : QStringLiteral("the British English dictionary does not know");
    QString value = QString::number(report.misspelled);
    if (!report.slips.isEmpty()) {
        QStringList slips;
        for (qsizetype i = 0; i < report.slips.size(); ++i) {
            const SpellingSlip& slip = report.slips[i];
            QString line = QStringLiteral("<u>%1</u> (%2)").arg(escaped(slip.word)).arg(slip.count);
            if (!slip.suggestions.isEmpty())
                line += QStringLiteral(": ") + escaped(slip.suggestions.join(QStringLiteral(", ")));
            else if (i >= report.suggested)
                line += QStringLiteral(": ...");
            slips << line;
        }
        value += QStringLiteral("<br>") + slips.join(QStringLiteral("<br>"));
        if (report.misspelled > report.slips.size())
            value += QStringLiteral("<br>and %1 more").arg(report.misspelled - report.slips.size());
    }
    html += figure(QStringLiteral("Words not in the dictionary"), value,
                   QStringLiteral("Words %1, each once with how often it is written and up to "
                                  "three suggestions; they are underlined in the answer. Names "
                                  "and rare terms may be among them.")
                       .arg(which));
    html += figure(QStringLiteral("Left out"), QString::number(report.leftOut),
                   QStringLiteral("Words with digits, all-capital abbreviations and words in "
                                  "other scripts, which were not checked."));
    return html;
}

QString repetitionPart(const EssayReport& report)
{
    QString html = heading(QStringLiteral("Repetition"));
    html += figure(QStringLiteral("Most used words"),
                   report.mostUsed.isEmpty() ? QStringLiteral("none used twice")
                                             : counted(report.mostUsed),
                   QStringLiteral("The words with a meaning of their own (not the, of, which and "
                                  "the like) that come back most often."));
    QString starts = QString::number(report.repeatedStarts);
    if (!report.startWords.isEmpty()) {
        QStringList which;
        for (const CountedWord& start : report.startWords)
            which
                << QStringLiteral("\"%1\" (sentence %2)").arg(escaped(start.word)).arg(start.count);
        starts += QStringLiteral(": ") + which.join(QStringLiteral(", "));
    }
    html += figure(QStringLiteral("Sentences that open like the one before"), starts,
                   QStringLiteral("Sentences beginning with the same word as the sentence before "
                                  "them; varied openings read less like a list."));
    return html;
}

QString linkingPart(const EssayReport& report)
{
    QString html = heading(QStringLiteral("Linking words"));
    html += figure(QStringLiteral("Used"),
                   report.linking.isEmpty() ? QStringLiteral("none") : counted(report.linking),
                   QStringLiteral("Words and phrases such as however, for example and in "
                                  "conclusion, which show how one idea leads to the next."));
    html += figure(
        QStringLiteral("Paragraphs opening with one"),
        QStringLiteral("%1 of %2").arg(report.paragraphsOpeningLinked).arg(report.paragraphs),
        QStringLiteral("A paragraph that opens with a linking word tells the reader at "
                       "once how it stands to the one before."));
    return html;
}

QString topicPart(const EssayReport& report)
{
    QString html = heading(QStringLiteral("The topic's words"));
    if (report.topicWords == 0) {
        return html + figure(QStringLiteral("Used"), QStringLiteral("none to look for"),
                             QStringLiteral("The topic has no words with a meaning of their own "
                                            "besides its directions."));
    }
    html += figure(QStringLiteral("Used"),
                   QStringLiteral("%1 of %2 (%3)")
                       .arg(report.topicWordsUsed)
                       .arg(report.topicWords)
                       .arg(percent(double(report.topicWordsUsed) / report.topicWords)),
                   QStringLiteral("The share of the topic's words with a meaning of their own, "
                                  "its directions left out, that the answer uses too (a plural "
                                  "counts as its singular)."));
    if (!report.topicWordsUnused.isEmpty()) {
        QString unused = escaped(report.topicWordsUnused.join(QStringLiteral(", ")));
        if (report.topicWords - report.topicWordsUsed > report.topicWordsUnused.size())
            unused += QStringLiteral(", ...");
        html += figure(QStringLiteral("Never used"), unused,
                       QStringLiteral("The topic's words the answer does not take up."));
    }
    return html;
}

QString vocabularyPart(const EssayReport& report)
{
    QString html = heading(QStringLiteral("Vocabulary"));
    html += figure(QStringLiteral("Different words per hundred"), number(report.distinctPerHundred),
                   QStringLiteral("Of every hundred words, how many are different; it falls as "
                                  "an essay grows, so compare essays of a like length."));
    html += figure(QStringLiteral("Long words"), percent(report.longWordShare),
                   QStringLiteral("The share of words of seven letters or more."));
    return html;
}

} // namespace

QImage drawWordBand(int words, qreal pixelRatio)
{
    QImage image(QSize(BandWidth, BandHeight) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int barTop = 2;
    const int barHeight = 14;
    const auto x = [](int value) {
        return qreal(std::min(value, BarEnd)) * (BandWidth - 1) / BarEnd;
    };
    painter.fillRect(QRectF(0, barTop, BandWidth - 1, barHeight), QColor(0xE8, 0xE8, 0xE8));
    painter.fillRect(
        QRectF(x(TargetWords.low), barTop, x(TargetWords.high) - x(TargetWords.low), barHeight),
        QColor(0xB9, 0xDE, 0xB0));
    const bool within = words >= TargetWords.low && words <= TargetWords.high;
    painter.fillRect(QRectF(0, barTop + 4, x(words), barHeight - 8),
                     within ? QColor(0x2E, 0x7D, 0x32) : QColor(0x45, 0x5A, 0x8A));
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.drawRect(QRectF(0.5, barTop + 0.5, BandWidth - 2, barHeight));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int labelTop = barTop + barHeight + 2;
    painter.drawText(QRectF(0, labelTop, 40, 16), Qt::AlignLeft, QStringLiteral("0"));
    for (const int mark : {TargetWords.low, TargetWords.high}) {
        painter.drawLine(QPointF(x(mark), barTop), QPointF(x(mark), barTop + barHeight + 2));
        painter.drawText(QRectF(x(mark) - 20, labelTop, 40, 16), Qt::AlignHCenter,
                         QString::number(mark));
    }
    painter.drawText(QRectF(BandWidth - 60, labelTop, 59, 16), Qt::AlignRight,
                     QString::number(BarEnd) + (words > BarEnd ? QStringLiteral("+") : QString()));
    return image;
}

QString reportHtml(const EssayReport& report)
{
    return lengthPart(report) + spellingPart(report) + usageHtml(report.usage) +
           repetitionPart(report) + linkingPart(report) + topicPart(report) +
           vocabularyPart(report) +
           QStringLiteral("<p style=\"margin-top:10px\"><i>The program does not grade: these "
                          "are counts, not a score.</i></p>");
}

void addWordBand(QTextDocument& document, const EssayReport& report, qreal pixelRatio)
{
    document.addResource(QTextDocument::ImageResource, WordBandPicture,
                         drawWordBand(report.words, pixelRatio));
}
