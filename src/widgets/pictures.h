#pragma once

#include <QPixmap>
#include <QString>

// The four pictures that lie beside the program and give Answer Confirm and
// Next their changing looks. A file that is missing or not a picture never ends
// the program: the look compiled into the program serves instead.
QPixmap LoadButtonPicture(const QString& appFolder, const QString& fileName);

// A picture compiled into the program, by its file name.
QPixmap BuiltInPicture(const QString& fileName);
