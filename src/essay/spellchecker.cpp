#include "essay/spellchecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <hunspell.hxx>

#include <algorithm>
#include <string>

namespace {

// Suggestions for a long word are searched for a long time.
constexpr qsizetype LongestSuggested = 30;

// Both dictionaries declare UTF-8 (SET UTF-8), so Hunspell takes the words so.
std::string hunspellWord(QStringView word)
{
    return word.toUtf8().toStdString();
}

// Hunspell counts its instances in a table shared by all of them, without a
// lock: two checkers opened or closed at once on two threads would lose the
// count. They take turns here.
std::mutex& openingAndClosing()
{
    static std::mutex turn;
    return turn;
}

} // namespace

SpellChecker::SpellChecker(const QStringList& folders)
{
    const std::lock_guard opening(openingAndClosing());
    for (const QString& name : {QStringLiteral("en_US"), QStringLiteral("en_GB")}) {
        for (const QString& folder : folders) {
            const QString aff = QDir(folder).filePath(name + QStringLiteral(".aff"));
            const QString dic = QDir(folder).filePath(name + QStringLiteral(".dic"));
            if (!QFileInfo(aff).isFile() || !QFileInfo(dic).isFile())
                continue;
            dictionaries_.push_back(std::make_unique<Hunspell>(QFile::encodeName(aff).constData(),
                                                               QFile::encodeName(dic).constData()));
            names_ << name;
            break;
        }
    }
}

SpellChecker::~SpellChecker()
{
    const std::lock_guard closing(openingAndClosing());
    dictionaries_.clear();
}

QStringList SpellChecker::folders(const QString& appFolder)
{
#ifdef Q_OS_WIN
    return {appFolder + QStringLiteral("dictionaries")};
#else
    return {appFolder + QStringLiteral("dictionaries"), QStringLiteral("/usr/share/hunspell")};
#endif
}

bool SpellChecker::knows(QStringView word) const
{
    if (word.size() > LongestWord)
        return false;
    QString key = word.toString();
    const std::lock_guard turn(lookup_);
    const auto found = known_.constFind(key);
    if (found != known_.cend())
        return *found;
    const std::string asked = hunspellWord(word);
    const bool knownWord = std::any_of(dictionaries_.begin(), dictionaries_.end(),
                                       [&asked](const auto& d) { return d->spell(asked); });
    if (known_.size() >= RememberedWords)
        known_.clear();
    known_.insert(key, knownWord);
    return knownWord;
}

QStringList SpellChecker::suggest(QStringView word, int most) const
{
    QStringList found;
    if (word.size() > LongestSuggested)
        return found;
    const std::string asked = hunspellWord(word);
    // Each dictionary's search is slow (tens of milliseconds): the British one
    // is asked only when the American one gave too few.
    const std::lock_guard turn(lookup_);
    for (const auto& dictionary : dictionaries_) {
        if (found.size() >= most)
            break;
        for (const std::string& suggestion : dictionary->suggest(asked)) {
            const QString text = QString::fromStdString(suggestion);
            if (found.size() < most && !found.contains(text))
                found << text;
        }
    }
    return found;
}
