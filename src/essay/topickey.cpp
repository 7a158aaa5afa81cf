#include "essay/topickey.h"

#include "platform/textio.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <optional>

namespace {

const QByteArray KeySeparator = QByteArrayLiteral("-----------------------");

constexpr std::array<std::pair<KeyLabel, QLatin1StringView>, 5> Labels{{
    {KeyLabel::Conclusion, QLatin1StringView("Conclusion:")},
    {KeyLabel::Weakness, QLatin1StringView("Weakness:")},
    {KeyLabel::For, QLatin1StringView("For:")},
    {KeyLabel::Against, QLatin1StringView("Against:")},
    {KeyLabel::Balance, QLatin1StringView("Balance:")},
}};

// A line of the file as a key line, when it begins with a label.
std::optional<KeyLine> keyLine(QByteArrayView bytes)
{
    const QString line = fromCodePage(bytes).trimmed();
    for (const auto& [label, name] : Labels) {
        if (!line.startsWith(name))
            continue;
        KeyLine key{label, line.sliced(name.size()).trimmed(), {}};
        const qsizetype open = key.text.lastIndexOf(QLatin1Char('['));
        if (key.text.endsWith(QLatin1Char(']')) && open >= 0) {
            for (const QString& word : key.text.sliced(open + 1).chopped(1).split(u','))
                if (!word.trimmed().isEmpty())
                    key.keyWords << word.trimmed();
            key.text = key.text.left(open).trimmed();
        }
        if (key.text.isEmpty())
            return std::nullopt;
        return key;
    }
    return std::nullopt;
}

// Words that say nothing of one point rather than another: the small words of
// the language and those every essay on an argument uses.
bool isCommonWord(const QString& word)
{
    static const QSet<QString> Words = [] {
        QSet<QString> words;
        for (const char* w :
             {"a",       "about",    "after",      "all",      "also",    "am",       "an",
              "and",     "any",      "are",        "as",       "at",      "be",       "been",
              "being",   "both",     "but",        "by",       "can",     "could",    "did",
              "do",      "does",     "each",       "either",   "even",    "every",    "for",
              "from",    "had",      "has",        "have",     "he",      "her",      "here",
              "him",     "his",      "how",        "i",        "if",      "in",       "into",
              "is",      "it",       "its",        "just",     "may",     "me",       "might",
              "more",    "most",     "much",       "must",     "my",      "neither",  "no",
              "none",    "nor",      "not",        "of",       "off",     "on",       "one",
              "only",    "or",       "other",      "our",      "out",     "over",     "own",
              "same",    "shall",    "she",        "should",   "so",      "some",     "such",
              "than",    "that",     "the",        "their",    "them",    "then",     "there",
              "these",   "they",     "this",       "those",    "through", "to",       "too",
              "under",   "until",    "up",         "upon",     "us",      "very",     "was",
              "we",      "were",     "what",       "when",     "where",   "whether",  "which",
              "while",   "who",      "whom",       "whose",    "why",     "will",     "with",
              "would",   "yet",      "you",        "your",     "because", "however",  "therefore",
              "thus",    "argument", "arguments",  "author",   "writer",  "memo",     "claim",
              "claims",  "conclude", "conclusion", "evidence", "assume",  "assumes",  "assumption",
              "essay",   "reason",   "reasons",    "point",    "answer",  "question", "ask",
              "show",    "shows",    "shown",      "example",  "likely",  "perhaps",  "rather",
              "instead", "without",  "nothing",    "given",    "make",    "makes",    "made",
              "many",    "few",      "less",       "another",  "itself",  "say",      "says",
              "said",    "take",     "takes",      "way",      "thing",   "things",   "fact",
              "case",    "well",     "need",       "needs",    "use",     "used",     "like",
              "know",    "seem",     "seems",      "cannot",   "whole",   "now",      "still",
              "get",     "got",      "two",        "three",    "first",   "also",     "own",
              "far",     "yes",      "its"})
            words.insert(QString::fromLatin1(w));
        return words;
    }();
    return Words.contains(word);
}

// The stem of a lower-case word: common endings taken off, so that a word and
// its plural, past or adjective mostly meet; what they leave apart, nearForms
// joins.
QString stemOf(QString word)
{
    word.remove(QLatin1Char('\''));
    word.remove(QChar(0x2019));
    static const std::array<QLatin1StringView, 24> Endings{
        QLatin1StringView("ations"), QLatin1StringView("ation"), QLatin1StringView("itions"),
        QLatin1StringView("ition"),  QLatin1StringView("ments"), QLatin1StringView("ment"),
        QLatin1StringView("ness"),   QLatin1StringView("ings"),  QLatin1StringView("ing"),
        QLatin1StringView("ities"),  QLatin1StringView("ity"),   QLatin1StringView("ically"),
        QLatin1StringView("ally"),   QLatin1StringView("ism"),   QLatin1StringView("ly"),
        QLatin1StringView("ies"),    QLatin1StringView("ied"),   QLatin1StringView("ed"),
        QLatin1StringView("ers"),    QLatin1StringView("er"),    QLatin1StringView("es"),
        QLatin1StringView("al"),     QLatin1StringView("s"),     QLatin1StringView("e")};
    for (const QLatin1StringView ending : Endings) {
        if (word.size() - ending.size() < 3 || !word.endsWith(ending))
            continue;
        if (ending == QLatin1StringView("s") &&
            (word.endsWith(u"ss") || word.endsWith(u"us") || word.endsWith(u"is")))
            continue;
        word.chop(ending.size());
        break;
    }
    return word;
}

// Two stems of one word, as near as the stemmer leaves them (compar-ison,
// novel-ty, differ-ent).
bool nearForms(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    const QString& shorter = a.size() < b.size() ? a : b;
    const QString& longer = a.size() < b.size() ? b : a;
    return shorter.size() >= 4 && longer.size() - shorter.size() <= 4 && longer.startsWith(shorter);
}

// Words that question what they stand beside. A point made only of the
// topic's own words is taken up where the answer doubts those words.
bool isDoubtWord(const QString& word)
{
    static const QSet<QString> Words = [] {
        QSet<QString> words;
        for (const char* w :
             {"not",       "cannot",       "can't",    "doesn't",     "don't",    "isn't",
              "aren't",    "won't",        "unclear",  "doubt",       "doubtful", "whether",
              "unless",    "fail",         "fails",    "ignore",      "ignores",  "overlook",
              "overlooks", "questionable", "unproven", "unsupported", "hardly",   "merely"})
            words.insert(QString::fromLatin1(w));
        return words;
    }();
    return Words.contains(word);
}

// Doubt words stand among the stems with this mark, which no stem begins with.
const QString DoubtMark = QStringLiteral("?");

// The stems of the words of text that say something, in order; at most limit.
QStringList contentStems(QStringView text, qsizetype limit = 20000)
{
    QStringList stems;
    qsizetype i = 0;
    while (i < text.size() && stems.size() < limit) {
        while (i < text.size() && !text[i].isLetterOrNumber())
            ++i;
        const qsizetype start = i;
        while (i < text.size() &&
               (text[i].isLetterOrNumber() || ((text[i] == u'\'' || text[i] == QChar(0x2019)) &&
                                               i + 1 < text.size() && text[i + 1].isLetter())))
            ++i;
        if (i == start)
            break;
        const QString word = text.sliced(start, i - start).toString().toLower();
        const bool number = word.front().isDigit();
        if (isDoubtWord(word))
            stems << DoubtMark + word;
        else if (number || (word.size() >= 3 && !isCommonWord(word)))
            stems << (number ? word : stemOf(word));
    }
    return stems;
}

// How far apart, in content words, the words that take up one point may lie:
// about two sentences.
constexpr qsizetype Reach = 24;

// A text's stems, each with its places, found by their first four letters
// (near forms of four letters or more share them).
class StemIndex {
public:
    explicit StemIndex(const QStringList& stems)
    {
        for (qsizetype i = 0; i < stems.size(); ++i)
            places_[stems[i]].append(i);
        for (auto it = places_.cbegin(); it != places_.cend(); ++it)
            byStart_[it.key().left(4)].append(it.key());
    }
    const QHash<QString, QList<qsizetype>>& places() const { return places_; }
    // The stems of the text that are near forms of stem.
    QStringList nearTo(const QString& stem) const
    {
        QStringList near;
        for (const QString& other : byStart_.value(stem.left(4)))
            if (nearForms(other, stem))
                near << other;
        return near;
    }

private:
    QHash<QString, QList<qsizetype>> places_;
    QHash<QString, QStringList> byStart_;
};

struct Term {
    QString stem;
    double weight = 0;
    bool topicWord = false;
    bool inText = false; // in the point's sentences, not only among its key words
};

// The terms of each point: its key words weigh twice its other words, and
// more when its sentences use them too; a word several points share weighs as
// much less; a word of the topic itself, which an answer that only restates
// the topic also uses, weighs a quarter.
QList<QList<Term>> pointTerms(const TopicKey& key, const StemIndex& topic)
{
    QList<QHash<QString, Term>> own(key.size());
    QHash<QString, int> shared;
    for (qsizetype p = 0; p < key.size(); ++p) {
        if (!isPoint(key[p]))
            continue;
        for (const QString& stem : contentStems(key[p].text))
            if (!stem.startsWith(DoubtMark))
                own[p].insert(stem, {stem, 1, false, true});
        for (const QString& phrase : key[p].keyWords) {
            for (const QString& stem : contentStems(phrase)) {
                if (stem.startsWith(DoubtMark))
                    continue;
                Term& term = own[p][stem];
                term.stem = stem;
                term.weight = term.inText ? 2.5 : 2;
            }
        }
        for (auto it = own[p].cbegin(); it != own[p].cend(); ++it)
            ++shared[it.key()];
    }
    QList<QList<Term>> terms(key.size());
    for (qsizetype p = 0; p < key.size(); ++p) {
        for (Term term : std::as_const(own[p])) {
            term.topicWord = !topic.nearTo(term.stem).isEmpty();
            term.weight = term.weight / shared.value(term.stem) * (term.topicWord ? 0.25 : 1);
            terms[p].append(term);
        }
    }
    return terms;
}

// Where each term stands in the answer, in order of place; a doubt the topic
// lacks is term -1, looked for only when doubts count.
QList<std::pair<qsizetype, qsizetype>> hitsOf(const QList<Term>& terms, const StemIndex& answer,
                                              const StemIndex* topicForDoubts)
{
    QList<std::pair<qsizetype, qsizetype>> hits;
    for (qsizetype t = 0; t < terms.size(); ++t) {
        for (const QString& stem : answer.nearTo(terms[t].stem)) {
            for (const qsizetype at : answer.places().value(stem))
                hits.append({at, t});
        }
    }
    for (auto it = answer.places().cbegin(); topicForDoubts && it != answer.places().cend(); ++it) {
        if (it.key().startsWith(DoubtMark) && !topicForDoubts->places().contains(it.key())) {
            for (const qsizetype at : it.value())
                hits.append({at, -1});
        }
    }
    std::sort(hits.begin(), hits.end());
    return hits;
}

// What a point's terms weigh, and the weight the answer's words must reach.
struct Bar {
    QList<double> weights; // by term
    double needed = 0;
    double neededOwn = 0; // of it, in words not the topic's
    bool thin = false;    // doubts count
};

Bar barOf(const QList<Term>& terms)
{
    Bar bar;
    double objection = 0;
    for (const Term& term : terms)
        objection += !term.topicWord && term.inText ? term.weight : 0;
    // A point told apart from the topic by too few words of its own: the
    // topic's words count in full, but only beside a doubt the topic lacks.
    bar.thin = objection < 1;
    if (bar.thin)
        objection = 0;
    for (const Term& term : terms) {
        bar.weights << (bar.thin && term.topicWord ? term.weight * 4 : term.weight);
        objection += bar.thin && term.inText ? bar.weights.constLast() : 0;
    }
    bar.needed = std::min(3.0, 0.6 * objection) - 1e-9;
    bar.neededOwn = bar.thin ? 0 : std::min(bar.needed, 1.0 - 1e-9);
    return bar;
}

// Whether the answer's words take up a point: somewhere within Reach words of
// one another stand enough of its terms, most of them not the topic's own.
bool takesUp(const QList<Term>& terms, const StemIndex& answer, const StemIndex& topic)
{
    const Bar bar = barOf(terms);
    const QList<std::pair<qsizetype, qsizetype>> hits =
        hitsOf(terms, answer, bar.thin ? &topic : nullptr);
    QList<int> inWindow(terms.size() + 1, 0); // the last counts doubts
    double score = 0;
    double ownScore = 0;
    const auto count = [&](qsizetype t, int step) {
        int& n = inWindow[t < 0 ? terms.size() : t];
        if (t >= 0 && (step > 0 ? n == 0 : n == 1)) {
            score += step * bar.weights[t];
            ownScore += terms[t].topicWord ? 0 : step * bar.weights[t];
        }
        n += step;
    };
    qsizetype first = 0;
    for (const auto& [at, t] : hits) {
        while (hits[first].first <= at - Reach)
            count(hits[first++].second, -1);
        count(t, 1);
        if (score >= bar.needed && ownScore >= bar.neededOwn &&
            (!bar.thin || inWindow.constLast() > 0))
            return true;
    }
    return false;
}

} // namespace

const TopicKey* KeyFile::topic(int number) const
{
    if (number < 1 || number > keys.size())
        return nullptr;
    const TopicKey& key = keys[number - 1];
    return std::any_of(key.cbegin(), key.cend(), isPoint) ? &key : nullptr;
}

KeyFile readKeyFile(const QString& path)
{
    KeyFile file{path, {}, false};
    // A device, a pipe or a folder under the name is no key.
    if (!QFileInfo(path).isFile())
        return file;
    QFile device(path);
    if (!device.open(QIODevice::ReadOnly))
        return file;
    file.readable = true;
    // Room for what the file holds, not for the most that is read.
    const QByteArray bytes = device.read(std::min(device.size(), LargestKeyFile));
    TopicKey entry;
    bool entryHasLines = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        QByteArrayView line(bytes.constData() + start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        start = next;
        if (line == KeySeparator) {
            file.keys.append(std::move(entry));
            entry = {};
            entryHasLines = false;
            continue;
        }
        entryHasLines = entryHasLines || !line.trimmed().isEmpty();
        if (line.size() > LongestKeyLine)
            continue;
        if (std::optional<KeyLine> key = keyLine(line))
            entry.append(std::move(*key));
    }
    // A last entry without its separator still counts.
    if (entryHasLines)
        file.keys.append(std::move(entry));
    return file;
}

QString keyFileName(EssayKind kind)
{
    return QLatin1String(kindFacts(kind).filePrefix) + QStringLiteral(".key");
}

const KeyFile& KeyShelf::file(EssayKind kind)
{
    auto found = files_.find(kind);
    if (found == files_.end())
        found = files_.emplace(kind, readKeyFile(appFolder_ + keyFileName(kind))).first;
    return found->second;
}

QList<bool> guessPointsTakenUp(const TopicKey& key, QStringView answer, QStringView topic)
{
    const StemIndex answerStems(contentStems(answer));
    const StemIndex topicStems(contentStems(topic));
    const QList<QList<Term>> terms = pointTerms(key, topicStems);
    QList<bool> takenUp(key.size(), false);
    for (qsizetype p = 0; p < key.size(); ++p)
        takenUp[p] = isPoint(key[p]) && takesUp(terms[p], answerStems, topicStems);
    return takenUp;
}

KeyTally tallyKey(const TopicKey& key, QStringView answer, QStringView topic)
{
    const QList<bool> takenUp = guessPointsTakenUp(key, answer, topic);
    KeyTally tally;
    for (qsizetype p = 0; p < key.size(); ++p) {
        tally.points += isPoint(key[p]) ? 1 : 0;
        tally.pointsTakenUp += takenUp[p] ? 1 : 0;
    }
    return tally;
}
