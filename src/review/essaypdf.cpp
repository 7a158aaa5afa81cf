#include "review/essaypdf.h"

#include "platform/product.h"
#include "platform/textio.h"
#include "review/pacepane.h"
#include "review/reportview.h"

#include <QAbstractTextDocumentLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

namespace {

// One face throughout, in sizes: a sans-serif metric-compatible with Arial.
QTextCharFormat textFormat(double points)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{QStringLiteral("Arial")});
    format.setFontPointSize(points);
    return format;
}

// A paragraph of its own, after an empty line unless it is the first.
void addParagraph(QTextCursor& cursor, const QString& text, double points, bool spaced = true)
{
    if (!cursor.atStart())
        cursor.insertText(spaced ? QStringLiteral("\n\n") : QStringLiteral("\n"));
    cursor.setCharFormat(textFormat(points));
    cursor.insertText(text);
}

// A record's text without the empty lines around it, with the widgets' LF;
// cut gives how many characters went from its start.
QString pageText(const QString& programText, qsizetype* cut = nullptr)
{
    QString text = toWidgetText(programText);
    qsizetype leading = 0;
    while (leading < text.size() && text.at(leading) == QLatin1Char('\n'))
        ++leading;
    text.remove(0, leading);
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    if (cut)
        *cut = leading;
    return text;
}

// Gives the spans of the text from start on, less cut, a format of their own.
void markSpans(QTextDocument& document, int start, qsizetype cut, const QList<TextSpan>& spans,
               const QTextCharFormat& format)
{
    const int end = document.characterCount() - 1;
    for (const TextSpan& span : spans) {
        const qsizetype from = span.start - cut;
        if (from < 0 || start + from + span.length > end)
            continue; // in the empty lines left out
        QTextCursor marked(&document);
        marked.setPosition(int(start + from));
        marked.setPosition(int(start + from + span.length), QTextCursor::KeepAnchor);
        marked.mergeCharFormat(format);
    }
}

// The longest answer put in a PDF: 4 MB of prose is about a thousand pages and
// takes some four seconds to write (it took 0.8 s a megabyte on two busy cores),
// while a real essay is a few kilobytes.
constexpr qsizetype LongestPdfAnswer = qsizetype{4} << 20;

// Qt places text in 26.6 fixed point: past 2^25 device pixels, some 2,400 pages
// at the writer's 1,200 dpi, places wrap round, and print() gave a blank page or
// a few for a long essay.
constexpr qreal Reach = qreal(1 << 25);

// Whether the document's layout went down the pages within that reach: the root
// frame's blocks, their lines and its frames one below another.
bool laidOutInOrder(const QTextDocument& document)
{
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    const qreal height = layout->documentSize().height(); // laid out whole now
    qreal last = 0;
    const auto follows = [&last](qreal y) {
        if (y < last || y >= Reach)
            return false;
        last = y;
        return true;
    };
    for (auto item = document.rootFrame()->begin(); !item.atEnd(); ++item) {
        if (QTextFrame* frame = item.currentFrame()) {
            if (!follows(layout->frameBoundingRect(frame).top()))
                return false;
            continue;
        }
        const QTextLayout* lines = item.currentBlock().layout();
        const qreal top = lines->position().y();
        if (!follows(top))
            return false;
        for (int i = 0; i < lines->lineCount(); ++i)
            if (!follows(top + lines->lineAt(i).y()))
                return false;
    }
    return follows(height);
}

} // namespace

bool writeEssayPdf(const QString& path, const EssayPage& page, QString& reason)
{
    if (page.answer.size() > LongestPdfAnswer) {
        reason = QStringLiteral("The answer is %1 MB long; a PDF takes answers of up to %2 MB.")
                     .arg(double(page.answer.size()) / (1 << 20), 0, 'f', 1)
                     .arg(LongestPdfAnswer >> 20);
        return false;
    }
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 9));
    QTextCursor cursor(&document);
    addParagraph(cursor, page.heading, 16);
    addParagraph(cursor,
                 QStringLiteral("Date: %1    Time: %2    Words: %3")
                     .arg(page.date, page.time)
                     .arg(page.words),
                 10, false);
    addParagraph(cursor, QStringLiteral("Question:"), 13);
    addParagraph(cursor, pageText(page.topic), 11, false);
    addParagraph(cursor, QStringLiteral("Your Answer:"), 13);
    addParagraph(cursor, QString(), 11, false);
    const int answerStart = cursor.position();
    qsizetype cut = 0;
    cursor.insertText(pageText(page.answer, &cut));
    // On paper as on screen: Help's text greyed, the misspelled words underlined.
    QTextCharFormat fromHelp;
    fromHelp.setForeground(QColor(0x80, 0x80, 0x80));
    markSpans(document, answerStart, cut, page.fromHelp, fromHelp);
    QTextCharFormat slip;
    slip.setFontUnderline(true);
    slip.setUnderlineColor(QColor(0xD0, 0x10, 0x10));
    markSpans(document, answerStart, cut, page.slipsAt, slip);
    if (page.report) {
        addParagraph(cursor, QStringLiteral("Report:"), 13);
        cursor.insertBlock();
        cursor.setCharFormat(textFormat(10));
        // Drawn for print, sharp on paper.
        addWordBand(document, *page.report, 4);
        cursor.insertHtml(reportHtml(*page.report));
        cursor.insertBlock();
        if (page.timeline)
            addPacePicture(document, *page.timeline, 4);
        cursor.insertHtml(paceHtml(page.timeline));
    }
    if (!page.keyHtml.isEmpty()) {
        cursor.insertBlock();
        cursor.setCharFormat(textFormat(10));
        cursor.insertHtml(page.keyHtml);
    }
    if (!page.marks.isEmpty())
        addParagraph(cursor, page.marks, 10, false);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason =
            QStringLiteral("The file cannot be opened for writing: %1.").arg(file.errorString());
        return false;
    }
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(page.heading + QStringLiteral(", ") + page.date + QLatin1Char(' ') + page.time);
    writer.setCreator(Product::TitleWithVersion);
    // Laid out here, as QTextDocument::print would lay out a copy, so that the
    // layout can be checked before a page is written: 2 cm margins in the
    // layout's 96 dpi pixels, and the page's number at the foot of each page.
    const int margin = int(2 / 2.54 * 96);
    QTextFrameFormat frame = document.rootFrame()->frameFormat();
    frame.setMargin(margin);
    document.rootFrame()->setFrameFormat(frame);
    document.documentLayout()->setPaintDevice(&writer);
    const QSizeF body(writer.width(), writer.height());
    document.setPageSize(body);
    if (!laidOutInOrder(document)) {
        reason = QStringLiteral("The essay is too long to lay out on pages.");
        return false; // the file is discarded with nothing written
    }
    const qreal scale = writer.logicalDpiY() / 96.0;
    const QPointF numberAt(body.width() - margin * scale,
                           body.height() - margin * scale +
                               QFontMetricsF(document.defaultFont(), &writer).ascent() +
                               5 * writer.logicalDpiY() / 72.0);
    const int pages = document.pageCount();
    QPainter painter(&writer);
    painter.setFont(document.defaultFont());
    for (int index = 0; index < pages; ++index) {
        if (index > 0)
            writer.newPage();
        const QRectF view(QPointF(0, index * body.height()), body);
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.setClipping(false);
        const QString number = QString::number(index + 1);
        painter.drawText(QPointF(numberAt.x() - painter.fontMetrics().horizontalAdvance(number),
                                 numberAt.y() + view.top()),
                         number);
        painter.restore();
    }
    if (!painter.end() || !file.commit()) {
        reason = QStringLiteral("The file could not be written: %1.").arg(file.errorString());
        return false;
    }
    return true;
}
