#pragma once

// Every essay saved in the user folder, read once and listed newest first, and
// the filter the Review window puts over the list. No widget is made here.

#include "essay/essaynotes.h"
#include "essay/essayrecords.h"
#include "essay/question.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QLocale>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QStringMatcher>

#include <optional>

// What the list knows of an essay without reading its text back.
struct ListedEssay {
    Question question; // from the file's name
    int file = 0;      // the file's place in EssayList::fileNames
    bool isRecord = false;
    QDateTime when;    // null when the date cannot be read: listed last
    int words = 0;     // the candidate's own, not counting what Help brought in
    int record = 0;    // the record's place among its file's records, from 1; 0: no record
    RecordMarks marks; // the candidate's rating, and whether it is left out of the pictures
};

// One record, or one part of a file that is not laid out as a record, with its
// text. The part's views point into heldText, which every copy shares.
struct SavedEssay : ListedEssay {
    EssayRecordPart part;
    QString heldText;
};

class QDir;

class EssayList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        DateColumn,
        TimeColumn,
        KindColumn,
        NumberColumn,
        WordsColumn,
        AnswerColumn,
        RatingColumn
    };
    static constexpr int ColumnCount = 7;
    // What a column sorts by: dates and times as such, numbers as numbers.
    static constexpr int SortRole = Qt::UserRole;

    explicit EssayList(QObject* parent = nullptr);

    // Reads every essay file of the folder: only the names the program writes,
    // ai1.txt to ai150.txt and aa1.txt to aa141.txt, with the marks in their
    // notes. Nothing is ever written.
    // A line that ends in LF alone is read as ending in CR LF.
    // The marks can be left to readMarks, which a thread may run.
    enum class Marks { Read, Later };
    void read(const QString& userFolder, const QLocale& locale, Marks marks = Marks::Read);
    // Reads one essay file, whatever its name; its kind and topic come from the
    // name when it is one the program writes (else topic number 0). Gives the
    // reason when it is not read.
    bool readFile(const QString& path, const QLocale& locale, QString& reason);

    const ListedEssay& listed(int row) const { return essays_.at(row).listed; }
    // The essay with its text, read back from the list's compact copy.
    SavedEssay essay(int row) const;
    QString fileName(const ListedEssay& essay) const { return fileNames_.at(essay.file); }
    int words(int row) const;
    // Once the candidate's rating or leave-out mark is in the notes file.
    void setMarks(int row, const RecordMarks& marks);
    // Every row's marks from the notes beside the essay files, one file read at
    // a time: safe on another thread while the list stays as it is.
    QList<RecordMarks> readMarks() const;
    void setAllMarks(const QList<RecordMarks>& marks);
    // A date as the list shows it, in one form whatever form the record has.
    QString shownDate(const QDate& date) const;
    // How many essays on how many topics, and the files that were not read.
    QString summary() const;
    // The files that were not read, each with the reason: "ai3.txt (not a regular file)".
    const QStringList& notRead() const { return skipped_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // What a cell shows.
    QVariant shown(const QModelIndex& index) const;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QLocale locale_;
    struct EssayFileName {
        QString name;
        Question question;
    };
    QString folder_; // where the files were read
    void readFiles(const QDir& folder, const QList<EssayFileName>& files, const QLocale& locale);

    // Where a part's pieces stand in its text.
    struct PartSpans {
        std::pair<qsizetype, qsizetype> date, time, topic, answer; // start, length
        QList<std::pair<qsizetype, qsizetype>> copies;
    };
    // An essay as the list keeps it: its text in UTF-8, which essays mostly in
    // ASCII hold in half the room of the text itself.
    struct StoredEssay {
        ListedEssay listed;
        QByteArray text;
        PartSpans spans;
        qsizetype answerByte = 0; // where the answer starts in text
        QString date, time;       // as the record holds them, for the list's cells
    };
    static StoredEssay stored(const EssayRecordPart& part, const ListedEssay& listed);

    QStringList fileNames_;
    QList<StoredEssay> essays_;
    QStringList skipped_;
    int records_ = 0;
    std::array<int, EssayKinds.size()> topicsWritten_{}; // per kind, in the kinds' order
};

// The words typed in the search, split once for every essay it is matched on.
// An essay matches when each word stands in its topic or its answer, in any
// order and case.
class EssaySearch {
public:
    explicit EssaySearch(const QString& search = {});
    bool isEmpty() const { return words_.isEmpty(); }
    bool matches(const SavedEssay& essay) const;

private:
    QList<QStringMatcher> words_;
};

// Shows the essays of one kind, or both, that the search matches.
class EssayFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setFilter(std::optional<EssayKind> kind, const QString& search);
    // The same, with which rows match the search already found (one per row).
    void setFilter(std::optional<EssayKind> kind, const QString& search, QList<bool> matches);
    // Only the essays of one topic, or of every topic; the kind and search still hold.
    void setTopic(std::optional<Question> topic);
    std::optional<Question> topic() const { return topic_; }
    // Whether the kind and the search let the essay through, whatever the topic.
    bool passes(int sourceRow) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    std::optional<EssayKind> kind_;
    std::optional<Question> topic_;
    EssaySearch search_;
    QList<bool> matches_; // empty: each row is matched when asked
};
