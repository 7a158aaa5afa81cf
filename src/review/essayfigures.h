#pragma once

// Every essay's figures as a spreadsheet (CSV, RFC 4180, UTF-8, CR LF): one row
// per record, in the order the Review window lists them, with the figures of
// the report it shows. qelreport prints it; the Review window exports it.

#include "essay/essayrecords.h"
#include "essay/essayreport.h"
#include "essay/pacelog.h"
#include "essay/topickey.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class EssayList;
class QIODevice;
class SpellChecker;
struct SavedEssay;

// A saved answer as the Review window's answer box holds it (LF line ends),
// with Help's copies of earlier essays in it, and what the candidate wrote of
// it: the places own() gives are places in the answer box.
class BoxAnswer {
public:
    explicit BoxAnswer(const EssayRecordPart& part);
    BoxAnswer(const BoxAnswer&) = delete;
    BoxAnswer& operator=(const BoxAnswer&) = delete;
    const QString& text() const { return text_; }
    const OwnAnswer& own() const { return own_; }

private:
    QString text_;
    QList<QStringView> copies_; // into text_
    OwnAnswer own_;
};

// The report of a saved essay, measured on the candidate's own words, Help's
// text left out; its places are those of the answer box.
EssayReport savedEssayReport(const BoxAnswer& answer, QStringView topic,
                             const SpellChecker* spelling);
EssayReport savedEssayReport(const SavedEssay& essay, const SpellChecker* spelling);

// Looks for the suggestions of every listed slip not looked for yet, the later
// half on a second thread through a second checker (Hunspell serves one thread
// at a time): tens of milliseconds a word, on both cores.
void suggestEverySpelling(EssayReport& report, const SpellChecker& spelling,
                          const SpellChecker& aside);

// What is known of one record: its report, and how far it took up its topic's
// key when there is one.
struct RecordFigures {
    EssayReport report;
    std::optional<KeyTally> key;
    std::optional<PaceFigures> pace; // how its time went, when a timeline was kept
};

// One column: its name in the header and its cell for a record.
struct FigureColumn {
    QString name;
    std::function<QString(const EssayList& essays, const SavedEssay& essay,
                          const RecordFigures& figures)>
        cell;
};
// The columns in order; new ones go at the end, so earlier sheets still read.
const QList<FigureColumn>& figureColumns();

// A cell as RFC 4180 writes it: quoted when it holds a comma, a quote or a line end.
QString csvCell(const QString& text);

// Writes the header and the row of each record among the rows given (EssayList
// rows, in the order given); a row that is no record is passed to leftOut
// rather than written. With a second checker, half the reports are made on a
// second thread through it. With the topic keys, each record's points taken up;
// with the timelines' figures (one per EssayList row), how its time went. Returns how many
// rows were written, or -1 when the device fails.
int writeFiguresCsv(QIODevice& out, const EssayList& essays, const QList<int>& rows,
                    const SpellChecker* spelling,
                    const std::function<void(const SavedEssay&)>& leftOut = {},
                    const SpellChecker* aside = nullptr, KeyShelf* keys = nullptr,
                    const QList<std::optional<PaceFigures>>* timelines = nullptr);
