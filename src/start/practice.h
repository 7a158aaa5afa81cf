#pragma once

#include "essay/question.h"

#include <QString>

// What a practice start writes into the test window for one topic.
struct PracticeQuestion {
    QString sectionTitle;
    QString heading;   // the topic heading: the kind and the number
    QString topicText; // the topic box, in the program's CR LF form
};

// The captions and topic text for a question whose stored topic text is `topic`:
// an empty first line, the topic, and for an Argument the exam's directions. A
// GRE Issue topic's heading names its form: "Issue 12 - Two Views".
PracticeQuestion composePracticeQuestion(const Question& question, const QString& topic);

// The GRE's writing section as the test window's title names it.
inline const QString GreSectionTitle =
    QStringLiteral("GRE Test - Analytical Writing: Analyze an Issue");

// The three sentences shown after every Argument topic, run together.
extern const QString ArgumentDirections;
