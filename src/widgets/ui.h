#pragma once

// Small helpers shared by the windows: twips to pixels, fonts by point size,
// and the text boxes' side of the CR LF boundary.

#include <QFont>
#include <QRect>
#include <QString>

class QPlainTextEdit;
class QWidget;

// 15 twips make one pixel at 96 dots per inch, to the nearest pixel; Qt's
// high-DPI scaling does the rest.
constexpr int twips(int twips)
{
    return (twips * 2 + 15) / 30;
}
constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

// A window's place moved just enough to lie inside the available area of its
// screen. A window larger than the area keeps its top-left corner inside it.
QRect keepOnScreen(const QRect& place, const QRect& available);
// Where a window of a size first shows over another: centred on it and kept on
// the screen, or in the screen's corner when too big for it.
QPoint placeOver(const QSize& size, const QRect& over, const QRect& available);

// Moves a window, frame included as far as it is known yet, onto its screen's
// available area (a fixed place can reach past a small screen at high scales).
void keepWindowOnScreen(QWidget* window);

// A font of the given point size, set in pixels at 96 dots per inch so that text
// keeps its place over the pictures whatever the screen's reported resolution.
QFont programFont(const QString& family, double points, bool bold = false);

// Maps the design's font names to an installed metric-compatible face and sets
// the dialog font.
void installProgramFonts();

// A text box's text as typed, with LF line breaks.
QString widgetText(const QPlainTextEdit* box);

// A text box's text in the program's CR LF form, and back.
QString boxText(const QPlainTextEdit* box);
void setBoxText(QPlainTextEdit* box, const QString& programText);
