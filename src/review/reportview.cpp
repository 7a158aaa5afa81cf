#include "review/reportview.h"

#include "essay/essayreport.h"
#include "review/usagepane.h"

#include <QPainter>
#include <QTextDocument>

namespace {

constexpr int BandHeight = 34;
// The bar runs to a third beyond the band's top.
constexpr int BarEnd = TargetWords.high * 4 / 3;

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
        parts << QStringLiteral("%1 (%2)").arg(word.word).arg(word.count);
    return parts.join(QStringLiteral(", "));
}

QString bandPlace(int words)
{
    const QString where = words < TargetWords.low    ? QStringLiteral("below")
                          : words > TargetWords.high ? QStringLiteral("above")
                                                     : QStringLiteral("within");
    return QStringLiteral("%1, %2 the band of %3 to %4")
        .arg(words)
        .arg(where)
        .arg(TargetWords.low)
        .arg(TargetWords.high);
}

QString summaryOf(const EssayReport& report)
{
    QString spelling = QStringLiteral("Spelling: not checked");
    if (!report.dictionaries.isEmpty()) {
        spelling = QStringLiteral("Spelling slips: %1").arg(report.slipsWritten);
        if (report.misspelled != report.slipsWritten)
            spelling += QStringLiteral(" (%1 different words)").arg(report.misspelled);
    }
    return QStringLiteral("Words: %1. Paragraphs: %2. %3.")
        .arg(bandPlace(report.words))
        .arg(report.paragraphs)
        .arg(spelling);
}

ReportSection lengthPart(const EssayReport& report)
{
    ReportSection part{QStringLiteral("Length")};
    part.figures << ReportFigure{QStringLiteral("Words"),
                                 bandPlace(report.words),
                                 {},
                                 QStringLiteral("Counted as when the essay was saved. Scores of "
                                                "timed essays tend to rise with length up to "
                                                "about 600 words."),
                                 true};
    part.figures << ReportFigure{QStringLiteral("Paragraphs"),
                                 QString::number(report.paragraphs),
                                 {},
                                 QStringLiteral("Every line that holds a word, whether a blank "
                                                "line or a single line break ends it.")};
    part.figures << ReportFigure{QStringLiteral("Sentences"),
                                 QString::number(report.sentences),
                                 {},
                                 QStringLiteral("Each ends at a full stop, question or exclamation "
                                                "mark or ellipsis, or at a line break; the stops "
                                                "of e.g. or Dr. do not end one.")};
    QString perSentence = QStringLiteral("none");
    if (report.sentences > 0) {
        perSentence = QStringLiteral("%1 on average; the longest has %2 (\"%3\")")
                          .arg(number(report.meanSentenceWords))
                          .arg(report.longestSentenceWords)
                          .arg(report.longestSentenceStart);
    }
    part.figures << ReportFigure{QStringLiteral("Words per sentence"),
                                 perSentence,
                                 {},
                                 QStringLiteral("How long your sentences usually are, and where "
                                                "one may run on.")};
    return part;
}

ReportSection spellingPart(const EssayReport& report)
{
    ReportSection part{QStringLiteral("Spelling")};
    if (report.dictionaries.isEmpty()) {
        part.note = QStringLiteral("Spelling: no English dictionary was found");
        return part;
    }
    const bool both = report.dictionaries.size() > 1;
    const QString which = both ? QStringLiteral("neither the American nor the British English "
                                                "dictionary knows")
                          : report.dictionaries.first() == QLatin1String("en_US")
                              ? QStringLiteral("the American English dictionary does not know")
                              : QStringLiteral("the British English dictionary does not know");
    ReportFigure slips{QStringLiteral("Words not in the dictionary"),
                       QString::number(report.misspelled),
                       {},
                       QStringLiteral("Words %1, each once with how often it is written and up "
                                      "to three suggestions; they are underlined in the answer. "
                                      "Names and rare terms may be among them.")
                           .arg(which)};
    for (qsizetype i = 0; i < report.slips.size(); ++i) {
        const SpellingSlip& slip = report.slips[i];
        QString rest = QStringLiteral(" (%1)").arg(slip.count);
        if (!slip.suggestions.isEmpty())
            rest += QStringLiteral(": ") + slip.suggestions.join(QStringLiteral(", "));
        else if (i >= report.suggested)
            rest += QStringLiteral(": ...");
        slips.lines << ReportLine{slip.word, rest};
    }
    if (report.misspelled > report.slips.size())
        slips.lines << ReportLine{
            {}, QStringLiteral("and %1 more").arg(report.misspelled - report.slips.size())};
    part.figures << slips;
    part.figures << ReportFigure{QStringLiteral("Left out"),
                                 QString::number(report.leftOut),
                                 {},
                                 QStringLiteral("Words with digits, all-capital abbreviations and "
                                                "words in other scripts, which were not checked.")};
    return part;
}

ReportSection repetitionPart(const EssayReport& report)
{
    ReportSection part{QStringLiteral("Repetition")};
    part.figures << ReportFigure{
        QStringLiteral("Most used words"),
        report.mostUsed.isEmpty() ? QStringLiteral("none used twice") : counted(report.mostUsed),
        {},
        QStringLiteral("The words with a meaning of their own (not the, of, which and the like) "
                       "that come back most often; a plural counts as its singular.")};
    QString starts = QString::number(report.repeatedStarts);
    if (!report.startWords.isEmpty()) {
        QStringList which;
        for (const CountedWord& start : report.startWords)
            which << QStringLiteral("\"%1\" (sentence %2)").arg(start.word).arg(start.count);
        starts += QStringLiteral(": ") + which.join(QStringLiteral(", "));
    }
    part.figures << ReportFigure{QStringLiteral("Sentences that open like the one before"),
                                 starts,
                                 {},
                                 QStringLiteral("Sentences beginning with the same word as the "
                                                "sentence before them; varied openings read less "
                                                "like a list.")};
    return part;
}

ReportSection linkingPart(const EssayReport& report)
{
    ReportSection part{QStringLiteral("Linking words")};
    part.figures << ReportFigure{
        QStringLiteral("Used"),
        report.linking.isEmpty() ? QStringLiteral("none") : counted(report.linking),
        {},
        QStringLiteral("Words and phrases such as however, for example and in conclusion, which "
                       "show how one idea leads to the next.")};
    part.figures << ReportFigure{
        QStringLiteral("Paragraphs opening with one"),
        QStringLiteral("%1 of %2").arg(report.paragraphsOpeningLinked).arg(report.paragraphs),
        {},
        QStringLiteral("A paragraph that opens with a linking word tells the reader at once how "
                       "it stands to the one before.")};
    return part;
}

ReportSection topicPart(const EssayReport& report)
{
    ReportSection part{QStringLiteral("The topic's words")};
    if (report.topicWords == 0) {
        part.figures << ReportFigure{QStringLiteral("Used"),
                                     QStringLiteral("none to look for"),
                                     {},
                                     QStringLiteral("The topic has no words with a meaning of "
                                                    "their own besides its directions.")};
        return part;
    }
    part.figures << ReportFigure{
        QStringLiteral("Used"),
        QStringLiteral("%1 of %2 (%3)")
            .arg(report.topicWordsUsed)
            .arg(report.topicWords)
            .arg(percent(double(report.topicWordsUsed) / report.topicWords)),
        {},
        QStringLiteral("The share of the topic's words with a meaning of their own, its "
                       "directions, numbers and linking words left out, that the answer uses too "
                       "(a plural counts as its singular).")};
    if (!report.topicWordsUnused.isEmpty()) {
        QString unused = report.topicWordsUnused.join(QStringLiteral(", "));
        if (report.topicWords - report.topicWordsUsed > report.topicWordsUnused.size())
            unused += QStringLiteral(", ...");
        part.figures << ReportFigure{QStringLiteral("Never used"),
                                     unused,
                                     {},
                                     QStringLiteral("The topic's words the answer does not take "
                                                    "up.")};
    }
    return part;
}

ReportSection vocabularyPart(const EssayReport& report)
{
    ReportSection part{QStringLiteral("Vocabulary")};
    part.figures << ReportFigure{QStringLiteral("Different words per hundred"),
                                 number(report.distinctPerHundred),
                                 {},
                                 QStringLiteral("Of every hundred words, how many are different; "
                                                "it falls as an essay grows, so compare essays of "
                                                "a like length.")};
    part.figures << ReportFigure{QStringLiteral("Long words"),
                                 percent(report.longWordShare),
                                 {},
                                 QStringLiteral("The share of words of seven letters or more.")};
    return part;
}

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

// The words of a text in lines of at most width characters, each line after
// the indent; a word longer than a line stands on a line of its own.
QStringList wrapped(const QString& text, int width, int indent)
{
    QStringList lines;
    QString line;
    const QString margin(indent, QLatin1Char(' '));
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && margin.size() + line.size() + 1 + word.size() > width) {
            lines << margin + line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        lines << margin + line;
    return lines;
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

ReportContents reportContents(const EssayReport& report)
{
    return {summaryOf(report),
            {lengthPart(report), spellingPart(report), usageSection(report.usage),
             repetitionPart(report), linkingPart(report), topicPart(report),
             vocabularyPart(report)},
            QStringLiteral("The program does not grade: these are counts, not a score.")};
}

QString reportHtml(const EssayReport& report, ReportMeanings meanings)
{
    const ReportContents contents = reportContents(report);
    QString html = QStringLiteral("<p style=\"margin-bottom:4px\"><b>%1</b></p>")
                       .arg(escaped(contents.summary));
    for (const ReportSection& section : contents.sections) {
        html += QStringLiteral("<h4 style=\"margin-top:10px; margin-bottom:0\">%1</h4>")
                    .arg(escaped(section.heading));
        if (!section.note.isEmpty())
            html += QStringLiteral("<p>%1</p>").arg(escaped(section.note));
        for (const ReportFigure& figure : section.figures) {
            QString value = escaped(figure.value);
            for (const ReportLine& line : figure.lines) {
                value += QStringLiteral("<br>");
                if (!line.marked.isEmpty())
                    value += QStringLiteral("<u>%1</u>").arg(escaped(line.marked));
                value += escaped(line.rest);
            }
            const bool shown = meanings == ReportMeanings::Shown;
            html += QStringLiteral(
                        "<p style=\"margin-top:%1px; margin-bottom:0\"><b title=\"%2\">%3:</b> %4")
                        .arg(shown ? 6 : 3)
                        .arg(escaped(figure.meaning), escaped(figure.name), value);
            if (shown)
                html += QStringLiteral("<br><span style=\"color:#505050\">%1</span>")
                            .arg(escaped(figure.meaning));
            html += QStringLiteral("</p>");
            if (figure.wordBand) {
                html += QStringLiteral("<p style=\"margin-top:4px; margin-bottom:0\"><img "
                                       "src=\"%1\" width=\"%2\" height=\"%3\"></p>")
                            .arg(WordBandPicture.toString())
                            .arg(BandWidth)
                            .arg(BandHeight);
            }
        }
    }
    return html + QStringLiteral("<p style=\"margin-top:10px\"><i>%1</i></p>")
                      .arg(escaped(contents.closing));
}

QString reportText(const EssayReport& report, int width)
{
    width = std::max(width, 30);
    const ReportContents contents = reportContents(report);
    QStringList lines = wrapped(contents.summary, width, 0);
    for (const ReportSection& section : contents.sections) {
        lines << QString() << section.heading << QString(section.heading.size(), QLatin1Char('-'));
        if (!section.note.isEmpty())
            lines << wrapped(section.note, width, 0);
        for (const ReportFigure& figure : section.figures) {
            lines << wrapped(figure.name + QStringLiteral(": ") + figure.value, width, 0);
            for (const ReportLine& line : figure.lines)
                lines << wrapped(line.marked + line.rest, width, 4);
            lines << wrapped(figure.meaning, width, 2);
        }
    }
    lines << QString() << wrapped(contents.closing, width, 0);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString wrapLines(QStringView text, int width)
{
    width = std::max(width, 30);
    QStringList lines;
    for (const QStringView line : text.split(u'\n')) {
        const QString plain = line.endsWith(u'\r') ? line.chopped(1).toString() : line.toString();
        qsizetype indent = 0;
        while (indent < plain.size() && plain.at(indent) == QLatin1Char(' '))
            ++indent;
        const QStringList wrappedLine = wrapped(plain, width, int(indent));
        lines << (wrappedLine.isEmpty() ? QStringList{QString()} : wrappedLine);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void addWordBand(QTextDocument& document, const EssayReport& report, qreal pixelRatio)
{
    document.addResource(QTextDocument::ImageResource, WordBandPicture,
                         drawWordBand(report.words, pixelRatio));
}
