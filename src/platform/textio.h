#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The program's own texts use CR LF; Qt's text widgets hold LF. These two are
// the only place where one becomes the other.
QString toWidgetText(QStringView programText);
QString fromWidgetText(QStringView widgetText);

// Text files are read and written in the system's 8-bit code page (UTF-8 where
// the system has no other).
QByteArray toCodePage(QStringView text);
QString fromCodePage(QByteArrayView bytes);

// The most the program reads of any file from outside: a topic library, an essay
// file. A larger file, or a device behind a name, is refused rather than read until
// memory runs out.
inline constexpr qint64 LargestReadFile = qint64{256} << 20;

// Removes leading and trailing spaces only: tabs and line ends stay.
QString trimSpaces(const QString& text);
