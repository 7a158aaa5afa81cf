#pragma once

// The notes file: what the program keeps about the records of one essay file
// besides their text, beside it in the user folder (ai12.txt has ai12.notes).
// Entries are only ever appended; each names its record by the record's date,
// time and a hash of its whole text as written, so that a record cut out by
// hand, or two records of one second, never lends another essay its notes.
// The format is described in docs/notes-file.md.

#include "essay/pacelog.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The notes file of an essay file: the same name ending in ".notes".
QString notesFilePath(const QString& essayFilePath);

// A record's mark in its notes: SHA-1 of the record's text in the file's code
// page, in hex.
QString recordHash(QStringView recordText);

// One timeline entry, CR LF throughout, for the record as written.
QString timelineEntry(QStringView recordText, const QString& date, const QString& time,
                      const PaceLog& log);

// The candidate's own rating of the record, in half points, or none: an entry of
// its own kind, appended when it changes.
QString ratingEntry(QStringView recordText, const QString& date, const QString& time,
                    std::optional<int> halfPoints);
// Whether the record is left out of the progress pictures and totals: appended
// when it is marked, and again when the mark is undone.
QString leaveOutEntry(QStringView recordText, const QString& date, const QString& time,
                      bool leftOut);

// Appends the text whole and returns true once it is on the disk, as records
// are appended; on failure gives the reason in plain words.
bool appendNotes(const QString& path, const QString& text, QString& reason);

// The most of a notes file that is read: years of timelines many times over.
inline constexpr qint64 LargestNotesFile = qint64{64} << 20;

// A record of an essay file, as the notes name it.
struct NotedRecord {
    QStringView text; // the whole record as it stands in the file
    QStringView date;
    QStringView time;
};

// The timeline of each record, in the records' order, from a notes file's
// bytes: nothing for a record without one, or whose last entry is damaged.
// Entries for records that are not given are passed over.
QList<std::optional<PaceLog>> matchTimelines(QByteArrayView notes,
                                             const QList<NotedRecord>& records);

// What the candidate said of a record: the last entry of each kind counts.
struct RecordMarks {
    std::optional<int> rating; // in half points, 0 to 12
    bool leftOut = false;
    bool operator==(const RecordMarks&) const = default;
};
// The marks of each record, in the records' order; an entry for a record that
// is not given, or whose body is not one the program writes, is passed over.
QList<RecordMarks> matchMarks(QByteArrayView notes, const QList<NotedRecord>& records);

// The notes file's bytes, or nothing when it is missing, not a regular file,
// or larger than LargestNotesFile.
QByteArray readNotesFile(const QString& path);
