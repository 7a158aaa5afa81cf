#pragma once

// Spelling through Hunspell against the American and the British English
// dictionaries: a word is misspelled only when neither knows it. The
// dictionaries take some 18 MB, so one checker serves every thread of a run:
// its lookups take turns.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <mutex>
#include <vector>

class Hunspell;

class SpellChecker {
public:
    // Opens en_US and en_GB (.aff and .dic), each from the first of the folders
    // that holds both of its files. With none found, hasDictionary() is false.
    explicit SpellChecker(const QStringList& folders);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    // Where the program looks: the dictionaries/ folder beside it, which it
    // ships, then the system's Hunspell folder (Windows has none).
    static QStringList folders(const QString& appFolder);

    bool hasDictionary() const { return !dictionaries_.empty(); }
    // The names of the dictionaries opened: "en_US", "en_GB".
    QStringList names() const { return names_; }

    // Hunspell cuts words at 100 bytes: a longer word is not looked up.
    static constexpr qsizetype LongestWord = 60;

    // Whether any dictionary opened knows the word.
    bool knows(QStringView word) const;
    // Up to most suggestions, the American dictionary's first, each once.
    QStringList suggest(QStringView word, int most) const;

private:
    // What the dictionaries said, so that the words every essay uses are looked
    // up once across many essays (qelreport, the export); bounded.
    static constexpr qsizetype RememberedWords = 200000;
    mutable QHash<QString, bool> known_;
    std::vector<std::unique_ptr<Hunspell>> dictionaries_;
    mutable std::mutex lookup_; // Hunspell itself is not safe across threads
    QStringList names_;
};
