#pragma once

#include "widgets/drawing.h"

#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>

// A picture for the windows: either drawn by the program, and then painted for
// each screen's pixel density when first shown there, or a fixed image (a
// user's own button GIF) that is shown as it was made, scaled like any image
// made for 100 %.
class Picture {
public:
    Picture() = default;
    static Picture drawn(const QString& name, ColourScheme scheme = ColourScheme::Exam);
    static Picture fixed(const QPixmap& pixmap);

    bool isNull() const { return name_.isEmpty() && fixed_.isNull(); }
    // In device-independent pixels.
    QSize size() const;
    // The picture for a screen of the given device pixel ratio, where it lies in
    // its window (see drawPicture), painted on first use and kept for the next.
    QPixmap pixmap(qreal ratio, const QPoint& origin = QPoint()) const;
    // The picture as it shows at 100 %.
    QImage toImage() const { return pixmap(1.0).toImage(); }

private:
    QString name_;
    ColourScheme scheme_ = ColourScheme::Exam;
    QPixmap fixed_;
};

// The four pictures that lie beside the program and give Answer Confirm and
// Next their changing looks. A file that is missing or not a picture never ends
// the program: the look compiled into the program serves instead. A file that
// is still the one shipped with the program is drawn at the screen's density.
// The plain colour schemes draw their own look and leave the files aside.
Picture loadButtonPicture(const QString& appFolder, const QString& fileName,
                          ColourScheme scheme = ColourScheme::Exam);

// A picture compiled into the program, by its file name, in a colour scheme.
Picture builtInPicture(const QString& fileName, ColourScheme scheme = ColourScheme::Exam);

// The smiley window icon, painted at whatever size and density is asked of it.
QIcon smileyIcon();
