#pragma once

// The candidate's own rating of an essay on the exam's 0 to 6 scale, kept in
// half points: whole points for the GMAT's kinds, half points for the GRE's, as
// each exam reports it. Each level says what an essay at that level does.

#include "essay/question.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// The top of the scale, in half points (6).
inline constexpr int HighestRating = 12;

// The levels a candidate can choose for an essay of the kind, lowest first, in half points.
QList<int> ratingLevels(EssayKind kind);

// "4" or "4.5".
QString ratingText(int halfPoints);
// The rating a notes entry gives: "0" to "6", or a half point between; nothing else.
std::optional<int> ratingFromText(QByteArrayView text);

// What an essay of the kind does at that level, in a sentence or two.
QString ratingMeaning(EssayKind kind, int halfPoints);

// One line on the candidate's rating and the leave-out mark, for the PDF and
// qelreport: "Your rating: 4.5 of 6." Empty when neither was given.
QString marksLine(std::optional<int> halfPoints, bool leftOut);
