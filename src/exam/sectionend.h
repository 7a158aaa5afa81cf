#pragma once

#include "essay/question.h"
#include "exam/countdown.h"

#include <QString>

// How a section ended, as the test window tells its owner.
struct SectionEnd {
    Question question;
    int words = 0;     // the candidate's own in the answer, counted by countWords
    int helpWords = 0; // those Help brought into the answer: earlier essays
    int seconds = 0;   // from the question's first clock tick to the end of the section
    bool saved = false;
    bool wholeTest = false; // Test Quit or a close request: the whole test ends with it
    int secondsAllowed = SecondsAllowed; // the time the question was given
    bool timelineKept = true;            // false when a saved essay's timeline could not be written

    // The time allowed is used up (the clock read 00:00 or would have).
    bool timeRanOut() const;
};

// Whole seconds from one reading of the elapsed-time clock to a later one,
// rounded as the countdown rounds them, so the line agrees with the clock.
int secondsTaken(double from, double to);

// "412 words in 27 min 13 s", followed by " (the time ran out)" when it did.
QString wordsAndTime(const SectionEnd& end);

// The line that begins the box after a save whose timeline was not written,
// empty otherwise.
QString timelineLostLine(const SectionEnd& end);

// The line below "Do you want to save it?": "You wrote 412 words in 27 min 13 s.",
// and " 390 words came from Help." when Help brought earlier essays in.
QString wordsAndTimeLine(const SectionEnd& end);
