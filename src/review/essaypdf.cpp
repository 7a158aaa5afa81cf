#include "review/essaypdf.h"

#include "platform/product.h"
#include "platform/textio.h"
#include "review/reportview.h"

#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>

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

// A record's text without the empty lines around it, with the widgets' LF.
QString pageText(const QString& programText)
{
    QString text = toWidgetText(programText);
    while (text.startsWith(QLatin1Char('\n')))
        text.remove(0, 1);
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace

bool writeEssayPdf(const QString& path, const EssayPage& page, QString& reason)
{
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
    addParagraph(cursor, pageText(page.answer), 11, false);
    if (page.report) {
        addParagraph(cursor, QStringLiteral("Report:"), 13);
        cursor.insertBlock();
        cursor.setCharFormat(textFormat(10));
        // Drawn for print, sharp on paper.
        addWordBand(document, *page.report, 4);
        cursor.insertHtml(reportHtml(*page.report));
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason =
            QStringLiteral("The file cannot be opened for writing: %1.").arg(file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(page.heading + QStringLiteral(", ") + page.date + QLatin1Char(' ') +
                        page.time);
        writer.setCreator(Product::TitleWithVersion);
        document.print(&writer);
    }
    if (!file.commit()) {
        reason = QStringLiteral("The file could not be written: %1.").arg(file.errorString());
        return false;
    }
    return true;
}
