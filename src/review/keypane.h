#pragma once

// "What the topic asked for": the chosen essay's topic key, and against each
// point whether the answer seems to take it up, as the Review window, the PDF
// and the plain-text report show it.

#include <QString>
#include <QStringView>

struct KeyFile;

// The section as rich text. A file without a key for the topic gives one line
// that says so and where the key was looked for.
QString keyHtml(const KeyFile& file, int topicNumber, QStringView answer, QStringView topic);

// The same as plain lines, each ending in CR LF.
QString keyText(const KeyFile& file, int topicNumber, QStringView answer, QStringView topic);
