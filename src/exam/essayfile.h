#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The essay kind a mode code stands for: "2" is Issue, any other code Argument.
enum class EssayKind { Issue, Argument };
EssayKind EssayKindFromModeCode(const QString& modeCode);

// appFolder + "user" + separator + ("ai" | "aa") + number + ".txt", with the
// number's leading and trailing spaces removed.
QString EssayFilePath(const QString& appFolder, const QString& modeCode, const QString& number);

// The date and time of a record in the locale's short date and its time of day
// with hours, minutes and seconds (no time zone).
QString RecordDate(const QDateTime& when, const QLocale& locale);
QString RecordTime(const QDateTime& when, const QLocale& locale);

// One record as it is appended to an essay file, CR LF throughout. topicText
// and answer are in the program's CR LF form.
QString BuildEssayRecord(EssayKind kind, const QString& number, const QString& date,
                         const QString& time, const QString& topicText, const QString& answer);

// Appends a record to the file whole, or not at all. On failure returns false
// and gives the reason in plain words; the file is as it was before.
bool AppendEssayRecord(const QString& path, const QString& record, QString& reason);

// Every line of the essay file, each preceded by CR LF, as one text: what Help
// appends below the answer. Missing or unreadable files give no value; an
// empty file gives an empty text.
struct SavedEssays {
    bool readable = false;
    QString text;
};
SavedEssays ReadSavedEssays(const QString& path);
// The same from the file's bytes.
QString SavedEssaysFromBytes(QByteArrayView bytes);
