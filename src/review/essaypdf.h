#pragma once

// One saved essay as a printable page, through Qt's own PDF writer.

#include "essay/essayreport.h"
#include "essay/pacelog.h"

#include <QList>
#include <QString>

#include <optional>

struct EssayPage {
    QString heading; // the record's number line: "Issue No.12"
    QString date;
    QString time;
    int words = 0;
    QString topic;                       // CR LF form, as in the record
    QString answer;                      // CR LF form, as typed
    const EssayReport* report = nullptr; // printed after the answer when given
    // Places in the answer with LF line ends, as the Review window's answer box
    // holds it: the misspelled words, underlined, and the text Help brought in, greyed.
    QList<TextSpan> slipsAt;
    QList<TextSpan> fromHelp;
    QString keyHtml{};                              // what the topic asked for, after the report
    std::optional<PaceLog> timeline = std::nullopt; // how the time went, printed after the report
    QString marks{}; // the candidate's own rating and leave-out mark, in a line at the end
};

// Writes the page, and as many more as the answer needs, to a PDF file at
// path: whole, or not at all, so a file already there stays as it was on a
// failure. On failure returns false and gives the reason in plain words; an
// answer longer than 4 MB, or too long for Qt to lay out, is such a failure.
bool writeEssayPdf(const QString& path, const EssayPage& page, QString& reason);
