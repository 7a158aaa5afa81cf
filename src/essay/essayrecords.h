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
struct EssayRecordPart {
    QStringView text; // the whole part, as it stands in the file
    bool isRecord = false;
    QStringView date;
    QStringView time;
    QStringView topic;  // as the test window showed it, CR LF included
    QStringView answer; // as typed, without the line end the record adds
};

// The text cut into its parts: in file order, together the whole text.
QList<EssayRecordPart> splitEssayRecords(QStringView text);

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
