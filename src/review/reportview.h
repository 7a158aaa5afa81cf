#pragma once

// The essay report as the Review window and the PDF show it: rich text with a
// plain sentence for each figure, and the words drawn against the target band.

#include <QImage>
#include <QString>
#include <QUrl>

class QTextDocument;
struct EssayReport;

// Where the report's text finds the picture of the word band.
inline const QUrl WordBandPicture(QStringLiteral("qel:wordband"));

// The words against the target band, for a screen or page of the given
// density (device pixels per logical pixel).
QImage drawWordBand(int words, qreal pixelRatio);

// The report as rich text; it shows WordBandPicture.
QString reportHtml(const EssayReport& report);

// Gives the document the picture the report's text shows.
void addWordBand(QTextDocument& document, const EssayReport& report, qreal pixelRatio);
