#pragma once

#include <QString>

// What a practice start writes into the test window for one topic.
struct PracticeQuestion {
    QString sectionTitle; // Label1
    QString heading;      // Label2
    QString modeCode;     // Label3: "2" Issue, "1" Argument
    QString number;       // Label4
    QString topicText;    // Text1, in the program's CR LF form
};

// The captions and topic text for topic `number` whose stored text is `topic`:
// an empty first line, the topic, and for an Argument the exam's directions.
PracticeQuestion ComposePracticeQuestion(bool issue, int number, const QString& topic);

// The three sentences shown after every Argument topic, run together.
extern const QString ArgumentDirections;
