#pragma once

#include <QString>
#include <QStringList>

// One topic text per topic number; number k is at index k - 1.
using TopicTable = QStringList;

inline constexpr int IssueTopicCount = 150;
inline constexpr int ArgumentTopicCount = 141;
inline const QString IssueLibraryName = QStringLiteral("ai.lib");
inline const QString ArgumentLibraryName = QStringLiteral("aa.lib");

// The line that ends every topic block.
inline const QByteArray TopicSeparator = QByteArrayLiteral("-----------------------");

// Reads blocks 1 to count of appFolder + fileName into entries 1 to count of
// table. A line ends at CR LF or a lone CR; a lone LF is part of the line. Each
// topic is its lines, each followed by CR LF, with leading and trailing spaces
// removed. Nothing after the count-th separator is read. Throws Fault when the
// file cannot be read or ends before that separator; table is then unchanged.
void LoadTopicLibrary(const QString& appFolder, const QString& fileName, int count,
                      TopicTable& table);
