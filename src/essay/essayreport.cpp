#include "essay/essayreport.h"

#include "essay/spellchecker.h"
#include "essay/wordcount.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// One word: letters, marks and digits, with an apostrophe or a hyphen between
// two of them ("don't", "well-known").
struct Token {
    qsizetype start = 0;
    qsizetype length = 0;
    int letters = 0;
    bool digit = false;
    bool capitals = true; // every letter a capital
    bool otherScript = false;
};

char32_t codePointAt(QStringView text, qsizetype i, int& size)
{
    char32_t c = text[i].unicode();
    size = 1;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        c = QChar::surrogateToUcs4(char16_t(c), text[i + 1].unicode());
        size = 2;
    }
    return c;
}

bool isWordChar(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

bool isJoiner(char32_t c)
{
    return c == U'\'' || c == U'\u2019' || c == U'-';
}

QList<Token> tokenize(QStringView text)
{
    QList<Token> tokens;
    qsizetype i = 0;
    int size = 1;
    while (i < text.size()) {
        if (!isWordChar(codePointAt(text, i, size))) {
            i += size;
            continue;
        }
        Token token{i};
        while (i < text.size()) {
            const char32_t c = codePointAt(text, i, size);
            if (isJoiner(c) && i + 1 < text.size() && isWordChar(text[i + 1].unicode()) &&
                token.letters > 0) {
                i += 1;
                continue;
            }
            if (!isWordChar(c))
                break;
            if (QChar::isDigit(c)) {
                token.digit = true;
            } else if (QChar::isLetter(c)) {
                ++token.letters;
                token.capitals = token.capitals && QChar::isUpper(c);
                const QChar::Script script = QChar::script(c);
                token.otherScript = token.otherScript || (script != QChar::Script_Latin &&
                                                          script != QChar::Script_Common &&
                                                          script != QChar::Script_Inherited);
            }
            i += size;
        }
        token.length = i - token.start;
        tokens.append(token);
    }
    return tokens;
}

// A word in one form for counting and comparing: lower case, the typographic
// apostrophe as a plain one, no possessive ending.
QString keyOf(QStringView word)
{
    QString key = word.toString().toLower();
    key.replace(QChar(0x2019), QLatin1Char('\''));
    if (key.endsWith(QLatin1String("'s")))
        key.chop(2);
    return key;
}

// Singular and plural compare as one word.
QString stemOf(QString key)
{
    if (key.endsWith(QLatin1String("ies")) && key.size() > 4)
        key.replace(key.size() - 3, 3, QStringLiteral("y"));
    else if (key.endsWith(QLatin1Char('s')) && !key.endsWith(QLatin1String("ss")) && key.size() > 3)
        key.chop(1);
    return key;
}

bool isFunctionWord(const QString& key)
{
    static const QSet<QString> Words = [] {
        QSet<QString> words;
        for (const char* w :
             {"a",       "about",  "after", "all",   "also",    "am",      "an",        "and",
              "any",     "are",    "as",    "at",    "be",      "been",    "being",     "both",
              "but",     "by",     "can",   "could", "did",     "do",      "does",      "each",
              "either",  "even",   "every", "for",   "from",    "had",     "has",       "have",
              "he",      "her",    "here",  "him",   "his",     "how",     "i",         "if",
              "in",      "into",   "is",    "it",    "its",     "just",    "may",       "me",
              "might",   "more",   "most",  "much",  "must",    "my",      "neither",   "no",
              "none",    "nor",    "not",   "of",    "off",     "on",      "one",       "only",
              "or",      "other",  "our",   "out",   "over",    "own",     "same",      "shall",
              "she",     "should", "so",    "some",  "such",    "than",    "that",      "the",
              "their",   "them",   "then",  "there", "these",   "they",    "this",      "those",
              "through", "to",     "too",   "under", "until",   "up",      "upon",      "us",
              "very",    "was",    "we",    "were",  "what",    "when",    "where",     "whether",
              "which",   "while",  "who",   "whom",  "whose",   "why",     "will",      "with",
              "would",   "yet",    "you",   "your",  "because", "however", "therefore", "thus"})
            words.insert(QString::fromLatin1(w));
        return words;
    }();
    return Words.contains(key);
}

// Words that carry no idea of a topic's own: numbers and order, linking words,
// and the prepositions and adverbs of every argument.
bool isFrameWord(const QString& key)
{
    static const QSet<QString> Words = [] {
        QSet<QString> words;
        for (const char* w :
             {"zero",       "two",       "three",    "four",     "five",       "six",
              "seven",      "eight",     "nine",     "ten",      "eleven",     "twelve",
              "twenty",     "thirty",    "hundred",  "thousand", "million",    "billion",
              "first",      "second",    "third",    "fourth",   "fifth",      "last",
              "next",       "half",      "once",     "twice",    "without",    "across",
              "among",      "amongst",   "between",  "within",   "against",    "before",
              "during",     "since",     "toward",   "towards",  "around",     "along",
              "behind",     "beyond",    "below",    "above",    "near",       "onto",
              "per",        "via",       "despite",  "except",   "unlike",     "though",
              "unless",     "besides",   "again",    "already",  "still",      "ever",
              "perhaps",    "rather",    "quite",    "almost",   "enough",     "less",
              "least",      "many",      "few",      "several",  "another",    "else",
              "whatever",   "whichever", "whoever",  "itself",   "themselves", "himself",
              "herself",    "ourselves", "yourself", "myself",   "something",  "anything",
              "everything", "nothing",   "someone",  "anyone",   "everyone",   "certain",
              "often",      "yes",       "now",      "later",    "soon"})
            words.insert(QString::fromLatin1(w));
        for (const QString& phrase : linkingPhrases()) {
            if (!phrase.contains(QLatin1Char(' ')))
                words.insert(phrase);
        }
        return words;
    }();
    return Words.contains(key);
}

bool isContentWord(const Token& token, const QString& key)
{
    return token.letters >= 3 && !token.digit && !key.contains(QLatin1Char('\'')) &&
           !isFunctionWord(key) && !isFrameWord(key);
}

// Full stops that end no sentence: abbreviations, lower case, without the last stop.
bool isAbbreviation(QStringView before)
{
    static const QSet<QString> Known = [] {
        QSet<QString> known;
        for (const char* a : {"e.g", "i.e", "dr", "mr", "mrs", "ms", "prof", "st", "vs", "cf", "jr",
                              "sr", "a.m", "p.m", "u.s", "u.k"})
            known.insert(QString::fromLatin1(a));
        return known;
    }();
    qsizetype from = before.size();
    while (from > 0 && from > before.size() - 6 && !before[from - 1].isSpace() &&
           before[from - 1] != QLatin1Char('(') && before[from - 1] != QLatin1Char('"'))
        --from;
    const QStringView word = before.sliced(from);
    // A single capital is an initial: "J. S. Mill".
    if (word.size() == 1 && word[0].isUpper())
        return true;
    return Known.contains(word.toString().toLower());
}

bool closesQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QChar(0x201D) ||
           c == QChar(0x2019) || c == QLatin1Char(')') || c == QChar(0xBB);
}

struct Span {
    qsizetype start;
    qsizetype end;
};

// Sentences end at ".", "?", "!", "..." or "…", quotes and brackets after them
// included, before white space; and at every line break.
QList<Span> sentenceSpans(QStringView text)
{
    QList<Span> spans;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            spans.append({start, i});
            start = i + 1;
            continue;
        }
        if (c != QLatin1Char('.') && c != QLatin1Char('?') && c != QLatin1Char('!') &&
            c != QChar(0x2026))
            continue;
        qsizetype end = i;
        while (end + 1 < text.size() &&
               (text[end + 1] == QLatin1Char('.') || text[end + 1] == QLatin1Char('?') ||
                text[end + 1] == QLatin1Char('!') || text[end + 1] == QChar(0x2026)))
            ++end;
        while (end + 1 < text.size() && closesQuote(text[end + 1]))
            ++end;
        if (end + 1 < text.size() && !text[end + 1].isSpace())
            continue; // "3.5", "e.g." inside a word
        if (c == QLatin1Char('.') && end == i && isAbbreviation(text.sliced(start, i - start)))
            continue;
        spans.append({start, end + 1});
        start = end + 1;
        i = end;
    }
    spans.append({start, text.size()});
    return spans;
}

// The first words of a text, as many as fit in about forty characters.
QString firstWords(QStringView text)
{
    QString simple = text.toString().simplified();
    if (simple.size() <= 48)
        return simple;
    qsizetype cut = simple.lastIndexOf(QLatin1Char(' '), 40);
    if (cut <= 0)
        cut = 40;
    return simple.left(cut) + QStringLiteral("...");
}

// The topic without its directions: a paragraph that opens with "Write" or
// "Discuss" tells what to do, the same for every topic.
QString topicWithoutDirections(QStringView topic)
{
    QString kept;
    for (const QStringView line : topic.split(u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u"Write ") || trimmed.startsWith(u"Discuss "))
            continue;
        kept += line.toString() + QLatin1Char('\n');
    }
    return kept;
}

// Orders counted words by count, the first met first among equals.
void sortByCount(QList<CountedWord>& words)
{
    std::stable_sort(words.begin(), words.end(),
                     [](const CountedWord& a, const CountedWord& b) { return a.count > b.count; });
}

// The words in order, each counted, in the order first met.
class Tally {
public:
    void add(const QString& word)
    {
        auto at = index_.constFind(word);
        if (at == index_.cend()) {
            at = index_.insert(word, int(words_.size()));
            words_.append({word, 0});
        }
        ++words_[*at].count;
    }
    QList<CountedWord> sorted() const
    {
        QList<CountedWord> words = words_;
        sortByCount(words);
        return words;
    }

private:
    QHash<QString, int> index_;
    QList<CountedWord> words_;
};

void measureLength(EssayReport& report, QStringView answer)
{
    report.words = countWords(answer);
    for (const QStringView line : answer.split(u'\n')) {
        if (countWords(line) > 0)
            ++report.paragraphs;
    }
    int sentenceWords = 0;
    for (const Span& span : sentenceSpans(answer)) {
        const QStringView sentence = answer.sliced(span.start, span.end - span.start);
        const int words = countWords(sentence);
        if (words == 0)
            continue;
        ++report.sentences;
        sentenceWords += words;
        if (words > report.longestSentenceWords) {
            report.longestSentenceWords = words;
            report.longestSentenceStart = firstWords(sentence);
        }
    }
    if (report.sentences > 0)
        report.meanSentenceWords = double(sentenceWords) / report.sentences;
}

// Digits, abbreviations in capitals, other scripts and words too long for the
// dictionaries are not looked up.
bool leftOutOfSpelling(const Token& token)
{
    return token.digit || token.otherScript || (token.capitals && token.letters > 1) ||
           token.length > SpellChecker::LongestWord;
}

QString spelledWord(QStringView answer, const Token& token)
{
    QString word = answer.sliced(token.start, token.length).toString();
    word.replace(QChar(0x2019), QLatin1Char('\''));
    return word;
}

void measureSpelling(EssayReport& report, QStringView answer, const QList<Token>& tokens,
                     const SpellChecker& spelling)
{
    report.dictionaries = spelling.names();
    QHash<QString, bool> known;
    Tally slips;
    QHash<QString, QString> written; // the first form of each slip
    for (const Token& token : tokens) {
        if (leftOutOfSpelling(token)) {
            ++report.leftOut;
            continue;
        }
        if (token.letters == 0)
            continue;
        const QString word = spelledWord(answer, token);
        auto found = known.constFind(word);
        if (found == known.cend()) {
            if (known.size() >= CheckedWords) {
                ++report.leftOut;
                continue;
            }
            found = known.insert(word, spelling.knows(word));
        }
        if (*found)
            continue;
        const QString key = word.toLower();
        if (!written.contains(key))
            written.insert(key, word);
        slips.add(key);
        ++report.slipsWritten;
        if (report.slipsAt.size() < MarkedSlips)
            report.slipsAt.append({token.start, token.length});
    }
    const QList<CountedWord> sorted = slips.sorted();
    report.misspelled = int(sorted.size());
    for (const CountedWord& slip : sorted.first(std::min<qsizetype>(sorted.size(), ListedSlips)))
        report.slips.append({written.value(slip.word), slip.count, {}});
}

void measureWords(EssayReport& report, QStringView answer, const QList<Token>& tokens)
{
    // Singular and plural count as one word, shown as first written.
    Tally content;
    QHash<QString, QString> firstForm;
    QSet<QString> distinct;
    int lettered = 0;
    int longWords = 0;
    for (const Token& token : tokens) {
        if (token.letters == 0)
            continue;
        ++lettered;
        longWords += token.letters >= 7 ? 1 : 0;
        const QString form = keyOf(answer.sliced(token.start, token.length));
        distinct.insert(form);
        if (isContentWord(token, form)) {
            const QString stem = stemOf(form);
            if (!firstForm.contains(stem)) // the form first written
                firstForm.insert(stem, form);
            content.add(stem);
        }
    }
    for (const CountedWord& word : content.sorted()) {
        if (word.count < 2 || report.mostUsed.size() >= ListedWords)
            break;
        report.mostUsed.append({firstForm.value(word.word), word.count});
    }
    if (lettered > 0) {
        report.distinctPerHundred = 100.0 * double(distinct.size()) / lettered;
        report.longWordShare = double(longWords) / lettered;
    }
}

void measureStarts(EssayReport& report, QStringView answer, const QList<Token>& tokens)
{
    QString before;
    qsizetype next = 0;
    int sentence = 0;
    for (const Span& span : sentenceSpans(answer)) {
        while (next < tokens.size() && tokens[next].start < span.start)
            ++next;
        if (next >= tokens.size() || tokens[next].start >= span.end)
            continue; // no word in it
        ++sentence;
        const QString first = keyOf(answer.sliced(tokens[next].start, tokens[next].length));
        if (first == before) {
            ++report.repeatedStarts;
            if (report.startWords.size() < ListedStarts)
                report.startWords.append(
                    {answer.sliced(tokens[next].start, tokens[next].length).toString(), sentence});
        }
        before = first;
    }
}

void measureLinking(EssayReport& report, QStringView answer, const QList<Token>& tokens)
{
    // Phrases as lists of words, the longest tried first.
    static const QList<QStringList> Phrases = [] {
        QList<QStringList> phrases;
        for (const QString& phrase : linkingPhrases())
            phrases.append(phrase.split(QLatin1Char(' ')));
        std::stable_sort(
            phrases.begin(), phrases.end(),
            [](const QStringList& a, const QStringList& b) { return a.size() > b.size(); });
        return phrases;
    }();
    // Which line each word stands on; a phrase never runs over a line break.
    QList<int> lineOf(tokens.size());
    int line = 0;
    for (qsizetype t = 0; t < tokens.size(); ++t) {
        if (t > 0) {
            const qsizetype from = tokens[t - 1].start + tokens[t - 1].length;
            line += answer.sliced(from, tokens[t].start - from).contains(u'\n') ? 1 : 0;
        }
        lineOf[t] = line;
    }
    Tally used;
    for (qsizetype t = 0; t < tokens.size();) {
        qsizetype matched = 0;
        for (const QStringList& phrase : Phrases) {
            if (t + phrase.size() > tokens.size() || lineOf[t + phrase.size() - 1] != lineOf[t])
                continue;
            bool same = true;
            for (qsizetype w = 0; w < phrase.size() && same; ++w) {
                const Token& token = tokens[t + w];
                same = answer.sliced(token.start, token.length)
                           .compare(phrase[w], Qt::CaseInsensitive) == 0;
            }
            if (same) {
                used.add(phrase.join(QLatin1Char(' ')));
                matched = phrase.size();
                break;
            }
        }
        const bool opening = t == 0 || lineOf[t - 1] != lineOf[t];
        report.paragraphsOpeningLinked += opening && matched > 0 ? 1 : 0;
        t += std::max<qsizetype>(1, matched);
    }
    report.linking = used.sorted();
}

void measureTopic(EssayReport& report, QStringView answer, const QList<Token>& tokens,
                  QStringView topic)
{
    QSet<QString> answered;
    for (const Token& token : tokens)
        answered.insert(stemOf(keyOf(answer.sliced(token.start, token.length))));
    const QString kept = topicWithoutDirections(topic);
    QSet<QString> seen;
    for (const Token& token : tokenize(kept)) {
        const QString key = keyOf(QStringView(kept).sliced(token.start, token.length));
        const QString stem = stemOf(key);
        if (!isContentWord(token, key) || seen.contains(stem))
            continue;
        seen.insert(stem);
        ++report.topicWords;
        if (answered.contains(stem))
            ++report.topicWordsUsed;
        else if (report.topicWordsUnused.size() < ListedTopicWords)
            report.topicWordsUnused << key;
    }
}

} // namespace

const QStringList& linkingPhrases()
{
    static const QStringList Phrases{
        QStringLiteral("however"),
        QStringLiteral("therefore"),
        QStringLiteral("moreover"),
        QStringLiteral("furthermore"),
        QStringLiteral("in addition"),
        QStringLiteral("additionally"),
        QStringLiteral("for example"),
        QStringLiteral("for instance"),
        QStringLiteral("in conclusion"),
        QStringLiteral("to conclude"),
        QStringLiteral("to sum up"),
        QStringLiteral("in summary"),
        QStringLiteral("consequently"),
        QStringLiteral("as a result"),
        QStringLiteral("thus"),
        QStringLiteral("hence"),
        QStringLiteral("nevertheless"),
        QStringLiteral("nonetheless"),
        QStringLiteral("on the other hand"),
        QStringLiteral("in contrast"),
        QStringLiteral("by contrast"),
        QStringLiteral("similarly"),
        QStringLiteral("likewise"),
        QStringLiteral("in fact"),
        QStringLiteral("indeed"),
        QStringLiteral("first of all"),
        QStringLiteral("firstly"),
        QStringLiteral("secondly"),
        QStringLiteral("thirdly"),
        QStringLiteral("finally"),
        QStringLiteral("lastly"),
        QStringLiteral("meanwhile"),
        QStringLiteral("although"),
        QStringLiteral("even though"),
        QStringLiteral("because"),
        QStringLiteral("whereas"),
        QStringLiteral("instead"),
        QStringLiteral("otherwise"),
        QStringLiteral("accordingly"),
        QStringLiteral("in other words"),
        QStringLiteral("above all"),
        QStringLiteral("in particular"),
        QStringLiteral("of course"),
        QStringLiteral("after all"),
        QStringLiteral("overall"),
        QStringLiteral("ultimately"),
    };
    return Phrases;
}

EssayReport makeEssayReport(QStringView answer, QStringView topic, const SpellChecker* spelling)
{
    EssayReport report;
    const QList<Token> tokens = tokenize(answer);
    measureLength(report, answer);
    if (spelling && spelling->hasDictionary())
        measureSpelling(report, answer, tokens, *spelling);
    measureWords(report, answer, tokens);
    measureStarts(report, answer, tokens);
    measureLinking(report, answer, tokens);
    measureTopic(report, answer, tokens, topic);
    report.usage = findUsageSlips(answer);
    return report;
}

int countSlips(QStringView answer, const SpellChecker& spelling, QHash<QString, bool>& known)
{
    int slips = 0;
    for (const Token& token : tokenize(answer)) {
        if (leftOutOfSpelling(token) || token.letters == 0)
            continue;
        const QString word = spelledWord(answer, token);
        auto found = known.constFind(word);
        if (found == known.cend()) {
            if (known.size() >= qsizetype{20} * CheckedWords) // bounded over years of essays
                known.clear();
            found = known.insert(word, spelling.knows(word));
        }
        slips += !*found;
    }
    return slips;
}

int suggestSpellings(EssayReport& report, const SpellChecker& spelling, int count)
{
    for (; count > 0 && report.suggested < report.slips.size(); --count, ++report.suggested) {
        SpellingSlip& slip = report.slips[report.suggested];
        slip.suggestions = spelling.suggest(slip.word, 3);
    }
    return int(report.slips.size()) - report.suggested;
}
