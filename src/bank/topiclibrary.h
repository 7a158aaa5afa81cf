#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <iterator>

// One topic text per topic number; number k is at index k - 1. The table keeps
// the library's bytes and where each topic lies in them, and makes a topic's
// text only when it is asked for: loading costs little more than reading the
// file, and a run shows a handful of the topics.
class TopicTable {
public:
    TopicTable() = default;
    // A table of the given texts, as they are.
    TopicTable(std::initializer_list<QString> texts);

    qsizetype size() const { return topics_.size(); }
    bool isEmpty() const { return topics_.isEmpty(); }
    // The text of the topic at index (0 to size() - 1).
    QString at(qsizetype index) const;
    QStringList toList() const;

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = QString;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = QString;

        const_iterator() = default;
        const_iterator(const TopicTable* table, qsizetype index) : table_(table), index_(index) {}
        QString operator*() const { return table_->at(index_); }
        const_iterator& operator++()
        {
            ++index_;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const TopicTable* table_ = nullptr;
        qsizetype index_ = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    friend bool operator==(const TopicTable& a, const TopicTable& b);
    friend bool operator==(const TopicTable& a, const QStringList& b);

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

// Test output names the texts, as it would for a list of strings.
char* toString(const TopicTable& table);

inline constexpr int IssueTopicCount = 150;
inline constexpr int ArgumentTopicCount = 141;
inline const QString IssueLibraryName = QStringLiteral("ai.lib");
inline const QString ArgumentLibraryName = QStringLiteral("aa.lib");

// The line that ends every topic block.
inline const QByteArray TopicSeparator = QByteArrayLiteral("-----------------------");

// Reads blocks 1 to count of appFolder + fileName into entries 1 to count of
// table. A line ends at CR LF or a lone CR; a lone LF is part of the line. Each
// topic is its lines, each followed by CR LF, with leading and trailing spaces
// removed. Nothing after the count-th separator is kept. Throws Fault when the
// file cannot be read or ends before that separator; table is then unchanged.
void LoadTopicLibrary(const QString& appFolder, const QString& fileName, int count,
                      TopicTable& table);
