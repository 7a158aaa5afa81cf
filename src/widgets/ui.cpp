#include "widgets/ui.h"

#include "platform/textio.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextDocument>

#include <cmath>

QRect keepOnScreen(const QRect& place, const QRect& available)
{
    QRect moved = place;
    if (moved.right() > available.right())
        moved.moveRight(available.right());
    if (moved.bottom() > available.bottom())
        moved.moveBottom(available.bottom());
    if (moved.left() < available.left())
        moved.moveLeft(available.left());
    if (moved.top() < available.top())
        moved.moveTop(available.top());
    return moved;
}

QPoint placeOver(const QSize& size, const QRect& over, const QRect& available)
{
    if (size.width() > available.width() || size.height() > available.height())
        return available.topLeft();
    QRect centred(QPoint(0, 0), size);
    centred.moveCenter(over.center());
    return keepOnScreen(centred, available).topLeft();
}

void keepWindowOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect frame = window->frameGeometry();
    const QRect moved = keepOnScreen(frame, screen->availableGeometry());
    if (moved != frame)
        window->move(window->pos() + (moved.topLeft() - frame.topLeft()));
}

QFont programFont(const QString& family, double points, bool bold)
{
    QFont font(family);
    // Named by the installed faces the design's name stands for, so every
    // design name meets the same face and its fallbacks are looked up once.
    const QStringList faces = QFont::substitutes(family);
    if (!faces.isEmpty())
        font.setFamilies(faces);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

void installProgramFonts()
{
    for (const char* name : {"Helv Label", "Arial", "MS Sans Serif"}) {
        QFont::insertSubstitutions(QString::fromLatin1(name),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                    QStringLiteral("Helvetica"), QStringLiteral("sans-serif")});
    }
    // The system's dialog font of the design: 8 points, narrow enough for the
    // captions to fit the controls' fixed sizes.
    QApplication::setFont(programFont(QStringLiteral("MS Sans Serif"), 8));
}

QString widgetText(const QPlainTextEdit* box)
{
    // Not toPlainText(), which turns no-break spaces into plain ones: the answer
    // is saved as typed. The raw text separates paragraphs with U+2029.
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

QString boxText(const QPlainTextEdit* box)
{
    return fromWidgetText(widgetText(box));
}

void setBoxText(QPlainTextEdit* box, const QString& programText)
{
    box->setPlainText(toWidgetText(programText));
}
