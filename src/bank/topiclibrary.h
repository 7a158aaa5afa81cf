#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One topic text per topic number; number k is at index k - 1. The table keeps
// the library's bytes and where each topic lies in them, and makes a topic's
// text only when it is asked for: loading costs little more than reading the
// file, and a run shows a handful of the topics.
class TopicTable {
public:
    qsizetype size() const { return topics_.size(); }
    // The text of the topic at index (0 to size() - 1).
    QString at(qsizetype index) const;

private:
    friend class TopicScanner;

    // A topic's bytes: its lines with their line ends, leading spaces already
    // skipped. A topic with a lone CR for a line end gets its LF when it is made.
    struct Topic {
        qsizetype begin = 0;
        qsizetype end = 0;
        bool loneCr = false;
    };
    QByteArray bytes_;
    QList<Topic> topics_;
};

inline constexpr int IssueTopicCount = 150;
inline constexpr int ArgumentTopicCount = 141;
inline constexpr int GreIssueTopicCount = 150;
inline const QString IssueLibraryName = QStringLiteral("ai.lib");
inline const QString ArgumentLibraryName = QStringLiteral("aa.lib");
inline const QString GreIssueLibraryName = QStringLiteral("gi.lib");

// The line that ends every topic block.
inline const QByteArray TopicSeparator = QByteArrayLiteral("-----------------------");

// Reads blocks 1 to count of appFolder + fileName into entries 1 to count of
// table. A line ends at CR LF or a lone CR; a lone LF is part of the line. Each
// topic is its lines, each followed by CR LF, with leading and trailing spaces
// removed. Nothing after the count-th separator is kept. Throws Fault when the
// file cannot be read or ends before that separator; table is then unchanged.
void loadTopicLibrary(const QString& appFolder, const QString& fileName, int count,
                      TopicTable& table);
