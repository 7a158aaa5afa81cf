#pragma once

#include "essay/question.h"
#include "platform/textio.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// "Argument No.7": the topic as its record names it.
QString topicName(const Question& question);

// appFolder + "user" + separator + ("ai" | "aa" | "gi") + number + ".txt".
QString essayFilePath(const QString& appFolder, const Question& question);

// The date and time of a record in the locale's short date and its time of day
// with hours, minutes and seconds (no time zone).
QString recordDate(const QDateTime& when, const QLocale& locale);
QString recordTime(const QDateTime& when, const QLocale& locale);
// The formats those two write in, so that a record's date can be read back.
QString recordDateFormat(const QLocale& locale);
QString recordTimeFormat(const QLocale& locale);

// One record as it is appended to an essay file, CR LF throughout. topicText
// and answer are in the program's CR LF form.
QString buildEssayRecord(const Question& question, const QString& date, const QString& time,
                         const QString& topicText, const QString& answer);

// Appends a record to the file whole, or not at all, and returns true only once
// it is on the disk: the file synced, and its folder too when this created the
// file. On failure returns false and gives the reason in plain words; the file
// is as it was before.
bool appendEssayRecord(const QString& path, const QString& record, QString& reason);

// The largest essay file Help reads: 256 MB, years of daily essays many times over.
inline constexpr qint64 LargestEssayFile = LargestReadFile;

// Every line of the essay file, each preceded by CR LF, as one text: what Help
// appends below the answer. Missing or unreadable files give no value, and so
// do files that are not regular files or are larger than LargestEssayFile; an
// empty file gives an empty text.
struct SavedEssays {
    bool readable = false;
    QString text;
};
SavedEssays readSavedEssays(const QString& path);
// The same from the file's bytes.
QString savedEssaysFromBytes(QByteArrayView bytes);
