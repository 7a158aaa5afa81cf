#pragma once

// The program's own pictures (the test screen, its buttons, the logo and the
// smiley of the window icon), painted with QPainter for any pixel density. The
// picture generator writes the same paintings at 100 % into res/ and data/.
//
// Pictures are named by the base name of the file each one is stored as
// (res/background.png is "background"). No widget is involved: this is plain
// painting and can run before any window exists.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

// The colours the test screen is drawn in: the exam's own, or one of the plain
// schemes of one text colour on one background.
enum class ColourScheme { Exam, BlackOnWhite, WhiteOnBlack, YellowOnBlack };

struct SchemeColours {
    QColor text, background;
    QColor greyed; // the words of a button that is switched off
};
SchemeColours schemeColours(ColourScheme scheme);

// Every drawn picture, in the order the generator writes them.
QStringList drawnPictureNames();

// The picture's size in device-independent pixels; empty for an unknown name.
QSize drawnPictureSize(const QString& name);

// The picture painted for a screen of the given device pixel ratio, with the
// ratio set on the image. Every straight edge lies on a whole device pixel, so
// fractional ratios stay as sharp as whole ones; edges are rounded where the
// picture lies in its window (origin, in device-independent pixels), so that a
// button covers exactly the device pixels of its place and matches the
// background drawn beneath it. At ratio 1 it is the stored picture, pixel for
// pixel. Null for an unknown name.
QImage drawPicture(const QString& name, qreal ratio, const QPoint& origin = QPoint(),
                   ColourScheme scheme = ColourScheme::Exam);

// The smiley of the window icon, painted for a square of side pixels.
QImage drawSmiley(int side);

// Where the test screen's background shows each button picture; the windows
// lay the real buttons over these places.
struct DrawnButtonPlace {
    QString name;
    QPoint pos;
};
const std::vector<DrawnButtonPlace>& backgroundButtonPlaces();

// The face every drawn text is set in, and whether it is installed: without it
// text would be set in a substitute of other widths.
QString drawingFace();
bool drawingFaceInstalled();
