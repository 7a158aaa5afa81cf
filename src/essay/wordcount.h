#pragma once

#include <QString>
#include <QStringView>

// The words of a text, as a candidate counts them: a word is a run of characters
// between white space that holds at least one letter or digit, so a dash or a
// line of stars standing alone is no word. Letters of every script count.
int countWords(QStringView text);

// The text's first runs between white space, up to count of them, joined by
// single spaces, with "..." after them when more follow: an answer as a line.
QString firstWords(QStringView text, int count);
