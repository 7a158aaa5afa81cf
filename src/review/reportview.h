#pragma once

// The essay report as the Review window, the PDF and qelreport show it: rich
// text or plain text with a sentence for each figure, and the words drawn
// against the target band.

#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>

class QTextDocument;
struct EssayReport;

// Where the report's text finds the picture of the word band.
inline const QUrl WordBandPicture(QStringLiteral("qel:wordband"));
// Its width in the report, in logical pixels: the narrowest the report reads without scrolling
// across.
inline constexpr int BandWidth = 360;

// The words against the target band, for a screen or page of the given
// density (device pixels per logical pixel).
QImage drawWordBand(int words, qreal pixelRatio);

// What the report says, in one place for the screen, the PDF and the command
// line: a summary, then sections of figures, each with its name and value,
// the lines listed under it (the misspelled words, the word marked) and a
// sentence on what it means.
struct ReportLine {
    QString marked; // underlined in rich text
    QString rest;
};
struct ReportFigure {
    QString name;
    QString value;
    QList<ReportLine> lines;
    QString meaning;
    bool wordBand = false; // the picture of the words against the band follows
};
struct ReportSection {
    QString heading;
    QList<ReportFigure> figures = {};
    QString note = {}; // said in place of the figures
};
struct ReportContents {
    QString summary; // the words against the band, the paragraphs, the spelling slips
    QList<ReportSection> sections;
    QString closing;
};
ReportContents reportContents(const EssayReport& report);

// Whether each figure's meaning is written under it (for a newcomer, and on
// paper) or only shown when the pointer rests on the figure's name.
enum class ReportMeanings { Shown, AsTooltips };

// The report as rich text; it shows WordBandPicture.
QString reportHtml(const EssayReport& report, ReportMeanings meanings = ReportMeanings::Shown);

// The report as plain text in lines of at most width characters, for a terminal.
QString reportText(const EssayReport& report, int width);

// Lines of any ends (a section of the report from elsewhere) in lines of at
// most width characters and LF ends, each keeping its indent.
QString wrapLines(QStringView text, int width);

// Gives the document the picture the report's text shows.
void addWordBand(QTextDocument& document, const EssayReport& report, qreal pixelRatio);
