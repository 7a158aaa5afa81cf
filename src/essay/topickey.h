#pragma once

// Each topic's key: what a strong answer to it would take up, kept in a file
// beside the program (aa.key, ai.key) in the topic libraries' layout, and a
// guess from the words an answer uses of which points it takes up. The guess
// is no grade: it only says whether the answer seems to speak of a point.

#include "essay/question.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <map>
#include <utility>

enum class KeyLabel { Conclusion, Weakness, For, Against, Balance };

// One line of a key: its label, its text as shown, and the key words the line
// may end with in square brackets, which are not shown.
struct KeyLine {
    KeyLabel label = KeyLabel::Conclusion;
    QString text;
    QStringList keyWords;
};

// One topic's lines in the order of the file. Every line but the conclusion
// is a point.
using TopicKey = QList<KeyLine>;

inline bool isPoint(const KeyLine& line)
{
    return line.label != KeyLabel::Conclusion;
}

// The most read of a key file (a key is some 150 KB), and the longest line
// that counts as a point: a longer one is left out.
inline constexpr qint64 LargestKeyFile = qint64{4} << 20;
inline constexpr qsizetype LongestKeyLine = 1000;

struct KeyFile {
    QString path;          // where it was looked for
    QList<TopicKey> keys;  // entry N for topic N, at index N - 1
    bool readable = false; // a regular file that could be opened

    // The key of the topic numbered number, or nullptr when the file has no
    // entry for it or the entry has no point.
    const TopicKey* topic(int number) const;
};

// Reads a key file: entries end at a line of exactly 23 hyphens, lines end in
// CR LF or LF, and only lines that begin with a label are kept. Reads only a
// regular file, and at most LargestKeyFile bytes of it; never throws.
KeyFile readKeyFile(const QString& path);

QString keyFileName(EssayKind kind);

// The key files of one window, each read the first time it is asked for.
class KeyShelf {
public:
    explicit KeyShelf(QString appFolder) : appFolder_(std::move(appFolder)) {}
    const KeyFile& file(EssayKind kind);

private:
    QString appFolder_;
    std::map<EssayKind, KeyFile> files_;
};

// For each line of the key, whether the answer seems to take it up (the
// conclusion never does). From the words used: the point's key words and own
// words, their stems and near forms, near one another in the answer; words the
// topic itself uses count for little, so restating the topic takes up nothing.
QList<bool> guessPointsTakenUp(const TopicKey& key, QStringView answer, QStringView topic);

// The figures for a list of essays: points taken up, and points.
struct KeyTally {
    int pointsTakenUp = 0;
    int points = 0;
};
KeyTally tallyKey(const TopicKey& key, QStringView answer, QStringView topic);
