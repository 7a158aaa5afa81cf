#pragma once

// Essay files read back record by record, for looking through earlier essays.

#include "essay/essayfile.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringView>

// One part of an essay file, as views into the file's text. A record runs from
// its two empty lines to the end of its answer, laid out as buildEssayRecord
// writes it; one cut off in its answer is still a record. What the layout
// cannot place (text before the first record, a record whose head or topic was
// edited or cut off) is a part of its own: not a record, its text all answer.
//
// Help puts the topic's saved records into the answer box, so an answer may
// hold copies of earlier records. A copy is known by its head (the date, time
// and topic lines) and holds the earlier record with that head whole: it stays
// inside the answer that holds it, listed in copies.
struct EssayRecordPart {
    QStringView text; // the whole part, as it stands in the file
    bool isRecord = false;
    QStringView date;
    QStringView time;
    QStringView topic;         // as the test window showed it, CR LF included
    QStringView answer;        // as typed, without the line end the record adds
    QList<QStringView> copies; // the spans of the answer that Help brought in, in order
};

// The text cut into its parts: in file order, together the whole text.
QList<EssayRecordPart> splitEssayRecords(QStringView text);

// The spans of an answer that copy the records of earlier, the text Help brought
// into it (or the essay file Help read), in order.
QList<QStringView> recordCopiesIn(QStringView answer, QStringView earlier);

// The words the candidate wrote, and those Help brought in, as countWords counts them.
struct AnswerWords {
    int own = 0;
    int fromHelp = 0;
};
AnswerWords countAnswerWords(QStringView answer, const QList<QStringView>& copies);

// What the candidate wrote of an answer: the answer with Help's copies taken
// out, each copy giving way to one line end so that the text on either side
// stays apart. Every figure of an essay is measured on it.
class OwnAnswer {
public:
    OwnAnswer(QStringView answer, const QList<QStringView>& copies);
    QStringView text() const { return copies_ == 0 ? answer_ : QStringView(text_); }
    // Where a place in text() stands in the answer.
    qsizetype answerOffset(qsizetype ownOffset) const;
    // The spans of the answer that Help brought in, as offsets into it.
    QList<std::pair<qsizetype, qsizetype>> helpSpans() const { return helpSpans_; }

private:
    QStringView answer_;
    QString text_;     // only when there are copies
    qsizetype copies_; // how many
    // Each piece of the answer kept: where it starts in text() and in the answer.
    QList<std::pair<qsizetype, qsizetype>> pieces_;
    QList<std::pair<qsizetype, qsizetype>> helpSpans_; // start, length
};

// Reads a record's date and time back in the formats recordDate and
// recordTime write for the locale, or in the fixed form of a system without
// regional settings. A date or time that reads in neither gives no QDateTime.
class RecordDateReader {
public:
    explicit RecordDateReader(const QLocale& locale);
    QDateTime read(QStringView date, QStringView time);

private:
    QLocale locale_;
    QString dateFormat_;
    QString timeFormat_;
    QHash<QString, QDate> days_; // the records of one day share their date
};
