#pragma once

// One saved essay as a printable page, through Qt's own PDF writer.

#include "essay/pacelog.h"

#include <QString>

#include <optional>

struct EssayReport;

struct EssayPage {
    QString heading; // the record's number line: "Issue No.12"
    QString date;
    QString time;
    int words = 0;
    QString topic;                                  // CR LF form, as in the record
    QString answer;                                 // CR LF form, as typed
    const EssayReport* report = nullptr;            // printed after the answer when given
    std::optional<PaceLog> timeline = std::nullopt; // how the time went, printed after the report
};

// Writes the page, and as many more as the answer needs, to a PDF file at
// path: whole, or not at all, so a file already there stays as it was on a
// failure. On failure returns false and gives the reason in plain words; an
// answer longer than 4 MB, or too long for Qt to lay out, is such a failure.
bool writeEssayPdf(const QString& path, const EssayPage& page, QString& reason);
