#include "essay/usageslips.h"

#include "essay/wordcount.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>

namespace {

// The rules. Each is certain where it fires: the words around a slip leave no
// other reading. Where English allows the same words ("had had", "could, of
// course", "their being"), the pattern stops short or an exception says so.
constexpr auto Rules = std::to_array<UsageRule>({
    // Mechanics.
    {UsageFamily::Mechanics, "[ @any @same ]",
     "had had|that that|is is|do do|her her|very very|really really|so so|no no|now now|"
     "bye bye|ha ha|many many|far far|well well|again again|more more|blah blah|yes yes",
     "The same word twice in a row", "$1", "We must weigh the the cost of housing.", "the",
     "What he had had was enough, and that that is so is clear."},
    {UsageFamily::Mechanics, "@start [ @lower ]", "i|i'm|i've|i'd|i'll",
     "A sentence begins with a capital letter", "@capital",
     "Cities grow fast. many people move there for work.", "Many",
     "Cities grow fast, e.g. in Asia, etc. and so on. \"Why?\" she asked. Many move."},
    {UsageFamily::Mechanics,
     "[ =i ] am|was|have|had|do|did|don't|didn't|can|can't|cannot|could|would|will|won't|"
     "should|must|may|might|think|believe|feel|agree|disagree|know|want|like|see|say|also|"
     "personally|strongly|really|still|never|always|hope|need|find|found|remember|mean|argue|"
     "prefer|consider|understand|learned|learnt|went|saw|got|came|became|worked|live|lived|"
     "studied|grew|doubt|wish|suppose|guess|realised|realized|noticed|support|oppose|chose|"
     "decided|started|began|used|read|wrote|thought|felt|knew|wanted|liked|would",
     "", "\"I\" is always a capital", "@capital", "In my view i think the plan is weak.", "I",
     "The terms i and j, part (i) of it, i.e. the first."},
    {UsageFamily::Mechanics, "[ =i'm|=i've|=i'd|=i'll|=i’m|=i’ve|=i’d|=i’ll ]", "",
     "\"I\" is always a capital", "@capital", "Honestly, i'm not convinced.", "I'm",
     "I'm not convinced, and I've said so."},
    {UsageFamily::Mechanics, "@space-before", "",
     "No space before a comma, stop, colon, semicolon, question or exclamation mark", "",
     "However , the plan failed.", "However,", "He paused ... then said: yes, 3 .5 is right!"},
    {UsageFamily::Mechanics, "@no-space-after", "", "A space after the end of a sentence", "",
     "The plan failed.Then it was dropped.", "failed. Then",
     "See www.Example.com, Node.js and e.g.This; Mr. Lee agreed."},
    {UsageFamily::Mechanics, "@unclosed", "",
     "A quotation mark or bracket opened and not closed in its paragraph", "",
     "The report (published in 2020 shows a rise.", "( … )",
     R"(The report (published in 2020) says "yes"; a) first, b) second, 6'2" tall.)"},
    // Usage: a and an, by sound.
    {UsageFamily::Usage, "[ a ] @vowel",
     "a and|a or|a is|a are|a in|a as|a if|a of|a on|a at|a it|a its|a also|a other|a else|"
     "a priori|a posteriori|a fortiori|a la",
     "\"an\" before a vowel sound", "an", "It was a interesting idea.", "an",
     "A university, a one-off, a US firm, a European plan and points a and b."},
    {UsageFamily::Usage, "[ an ] @consonant", "", "\"a\" before a consonant sound", "a",
     "She joined an university abroad.", "a",
     "An hour, an MBA, an honest man, an x-ray and an herbal tea."},
    // Usage: words that sound alike.
    {UsageFamily::Usage, "[ it's|it’s ] own", "", R"("its" (of it), not "it's" (it is))", "its",
     "The city has it's own rules.", "its", "It's clear that the city has its own rules."},
    {UsageFamily::Usage, "[ its ] a|an|the|not|been|also|because",
     "a priori|a posteriori|a fortiori", R"("it's" (it is), not "its" (of it))", "it's",
     "Its a good plan.", "It's", "The firm and its a priori claims; its staff."},
    {UsageFamily::Usage, "[ their|they're|they’re ] is|are|was|were", "",
     R"("there is" and "there are", not "their")", "there", "Their are many reasons.", "There",
     "Their reasons are weak, and there are many."},
    {UsageFamily::Usage, "[ there|they're|they’re ] own", "", "\"their own\"", "their",
     "They sold there own house.", "their", "They live there on their own."},
    {UsageFamily::Usage, "[ your ] a|an|the|not|so|too|also", "a priori",
     R"("you're" (you are), not "your")", "you're", "If your not ready, wait.", "you're",
     "Your plan is good and you're right."},
    {UsageFamily::Usage, "[ you're|you’re ] own", "", "\"your own\"", "your",
     "Make you're own choice.", "your", "You're on your own."},
    {UsageFamily::Usage, "[ whose ] a|an|the|not|been|going", "",
     R"("who's" (who is), not "whose")", "who's", "Whose going to pay?", "Who's",
     "Whose turn is it, and who's going?"},
    {UsageFamily::Usage,
     "more|less|rather|other|better|worse|fewer|greater|larger|smaller|higher|lower|bigger|"
     "longer|shorter|easier|harder|faster|cheaper|older|younger|stronger|weaker [ then ] "
     "!we|you|they|he|she|i|it|there|this|that|these|those|one|the|a|an|we'll|they'll|it's",
     "", "\"than\" after a comparison", "than", "This plan is better then mine.", "than",
     "If we earn more then we save; we ate, then left."},
    {UsageFamily::Usage, "and|since|until|till|back [ than ]", "", "\"then\" for time", "then",
     "We met, and than we left.", "then", "It is older than this, and then some."},
    {UsageFamily::Usage,
     "will|would|can|could|may|might|must|should|to|don't|didn't|won't|cannot|can't|"
     "shouldn't|wouldn't [ loose ]",
     "", "\"lose\" (to no longer have)", "lose", "Many workers will loose their jobs.", "lose",
     "The rope was loose, and to lose it would hurt."},
    {UsageFamily::Usage, "a|very|too|come|came|comes|broke|break|set|cut [ lose ]", "",
     "\"loose\" (not tight)", "loose", "The screw is too lose.", "loose",
     "Too many lose their jobs in a lose-lose deal."},
    {UsageFamily::Usage, "could|would|should|might|must|may [ of ]",
     "of course|of necessity|of itself", R"("could have", not "could of")", "have",
     "We could of done better.", "have",
     "We could, of course, have done better; it would of course follow."},
    {UsageFamily::Usage, "[ alot ]", "", "\"a lot\" is two words", "a lot", "Students read alot.",
     "a lot", "A lot of students read a lot."},
    // Usage: agreement that the words settle.
    {UsageFamily::Usage, "he|she|it [ don't|dont ]", "", R"("he doesn't", not "he don't")",
     "doesn't", "He don't agree with the plan.", "doesn't", "He doesn't agree; they don't."},
    {UsageFamily::Usage, "they|we [ was ]", "", R"("they were", not "they was")", "were",
     "They was late again.", "were", "They were late; the team was not."},
    {UsageFamily::Usage, "i|you|we|they [ doesn't|doesnt ]", "",
     R"("they don't", not "they doesn't")", "don't", "They doesn't know it.", "don't",
     "They don't know it; she doesn't."},
    {UsageFamily::Usage,
     "one of the|my|our|their|his|her|its|these|those [ reason|way|problem|example|factor|"
     "thing|issue|advantage|disadvantage|benefit|method|solution|aspect|idea|mistake|"
     "argument|challenge|consequence|feature|goal|skill|option|step|tool|source|danger|risk|"
     "threat|drawback|strength|weakness ] why|that|which|is|was|for|of|to|in|i|we|.",
     "", R"("one of the reasons": a plural after "one of")", "$4s", "One of the reason is cost.",
     "reasons", "One of the reasons is cost; one of the problem areas is rent."},
    {UsageFamily::Usage, "there [ is|was ] many|several|numerous|various", "many a",
     "\"there are\" before a plural", "is>are|was>were", "There is many reasons for this.", "are",
     "There are many reasons; there is many a slip."},
    {UsageFamily::Usage, "[ there's|there’s ] many|several|numerous|various", "many a",
     "\"there are\" before a plural", "there are", "There's many ways to start.", "There are",
     "There are many ways; there's many a slip."},
});

// A word of the answer: letters, digits and marks, with an apostrophe or a
// hyphen between two of them.
struct Word {
    qsizetype start = 0;
    qint32 length = 0;
    quint16 flags = 0;
};

enum : quint16 {
    HasLetter = 1,
    HasDigit = 2,
    UpperFirst = 4,
    AllUpper = 8,  // two letters or more, all capitals
    AllLower = 16, // every letter lower case
    Adjacent = 32, // only white space between it and the word before
    LineStart = 64,
    SentenceStart = 128,
    AcronymLike = 256, // its first two letters capitals ("MSc", "NGOs")
    Latin = 512,       // every letter of the Latin script
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c.isSurrogate();
}

bool isJoiner(QChar c)
{
    return c == u'\'' || c == QChar(0x2019) || c == u'-';
}

bool isCloser(QChar c)
{
    return c == u'"' || c == u'\'' || c == QChar(0x201D) || c == QChar(0x2019) || c == u')' ||
           c == u']';
}

QString keyOf(QStringView word)
{
    QString key = word.toString().toLower();
    key.replace(QChar(0x2019), u'\'');
    return key;
}

// Full stops after these words need not end a sentence.
bool isAbbreviation(const QString& key)
{
    static const QSet<QString> Known = [] {
        QSet<QString> known;
        for (const char* a :
             {"etc", "vs",   "cf",  "approx", "incl", "esp", "viz",  "al",  "ca",   "dept",
              "fig", "no",   "nos", "vol",    "pp",   "ed",  "eds",  "st",  "dr",   "mr",
              "mrs", "ms",   "jr",  "sr",     "prof", "inc", "ltd",  "co",  "corp", "misc",
              "min", "max",  "sec", "hr",     "hrs",  "yr",  "yrs",  "mt",  "ft",   "oz",
              "lb",  "lbs",  "pt",  "ibid",   "op",   "cit", "esq",  "gen", "gov",  "govt",
              "rev", "resp", "est", "ave",    "int",  "ref", "refs", "sq",  "var",  "ver",
              "jan", "feb",  "mar", "apr",    "jun",  "jul", "aug",  "sep", "sept", "oct",
              "nov", "dec",  "mon", "tue",    "wed",  "thu", "fri",  "sat", "sun",  "ph",
              "vii", "viii", "ii",  "iii",    "iv",   "vi"})
            known.insert(QString::fromLatin1(a));
        return known;
    }();
    return Known.contains(key);
}

// The marks stuck to a word that end its sentence for certain: a full stop
// after a word that is no abbreviation, or a question or exclamation mark not
// inside a quotation ("'Why?' she asked").
bool endsSentence(QStringView marks, const QString& before, quint16 beforeFlags)
{
    qsizetype core = marks.size();
    while (core > 0 && isCloser(marks[core - 1]))
        --core;
    qsizetype from = 0; // "(as I do)."
    while (from < core && isCloser(marks[from]))
        ++from;
    if (core == from)
        return false;
    const QStringView stops = marks.sliced(from, core - from);
    if (core < marks.size())
        return false; // 'the "temp." schema', '"Why?" she asked'
    // A number ends a sentence but where it opens its line ("3. Prices").
    if (stops == u".") {
        return (beforeFlags & HasLetter ? before.size() >= 2 && !isAbbreviation(before)
                                        : !(beforeFlags & LineStart)) &&
               !((beforeFlags & HasLetter) && (beforeFlags & HasDigit));
    }
    return core - from <= 3 &&
           std::all_of(stops.begin(), stops.end(), [](QChar c) { return c == u'?' || c == u'!'; });
}

// The words with what lies between them: whether a sentence or line begins.
// One pass over the characters, each case beside the others where it can be
// read; split, the pass would be harder to follow.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
QList<Word> wordsOf(QStringView text)
{
    QList<Word> words;
    qsizetype i = 0;
    qsizetype gapStart = 0;
    QString beforeKey;
    while (i < text.size()) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        Word word{i};
        int letters = 0;
        int upper = 0;
        int lower = 0;
        bool latin = true;
        while (i < text.size()) {
            const QChar c = text[i];
            if (isJoiner(c) && i + 1 < text.size() && isWordChar(text[i + 1]) && letters > 0) {
                ++i;
                continue;
            }
            if (!isWordChar(c))
                break;
            if (c.isDigit()) {
                word.flags |= HasDigit;
            } else if (c.isLetter()) {
                if (letters == 0 && c.isUpper())
                    word.flags |= UpperFirst;
                if (letters == 1 && c.isUpper() && (word.flags & UpperFirst))
                    word.flags |= AcronymLike;
                ++letters;
                upper += c.isUpper() ? 1 : 0;
                latin = latin && c.script() == QChar::Script_Latin;
                lower += c.isLower() ? 1 : 0;
            }
            ++i;
        }
        word.length = qint32(std::min<qsizetype>(i - word.start, 1 << 30));
        if (letters > 0)
            word.flags |= HasLetter;
        if (latin)
            word.flags |= Latin;
        if (letters >= 2 && upper == letters)
            word.flags |= AllUpper;
        if (letters > 0 && lower == letters)
            word.flags |= AllLower;

        // What lies between this word and the one before.
        const QStringView gap = text.sliced(gapStart, word.start - gapStart);
        const qsizetype firstBreak = gap.indexOf(u'\n');
        const qsizetype lastBreak = gap.lastIndexOf(u'\n');
        const bool spaceOnly = gap.trimmed().isEmpty();
        if (spaceOnly && !words.isEmpty())
            word.flags |= Adjacent;
        const bool directAfterSpace = word.start > 0 && text[word.start - 1].isSpace();
        bool starts = false;
        if (words.isEmpty()) {
            starts = spaceOnly;
            word.flags |= LineStart;
        } else if (lastBreak >= 0) {
            word.flags |= LineStart;
            const QStringView lineEnd = gap.first(firstBreak);
            const QStringView between = gap.sliced(firstBreak, lastBreak - firstBreak);
            const bool blankLine = between.count(u'\n') >= 2 && between.trimmed().isEmpty();
            const bool afterEnd = !lineEnd.isEmpty() && !lineEnd[0].isSpace() &&
                                  endsSentence(lineEnd.trimmed(), beforeKey, words.last().flags);
            starts = gap.sliced(lastBreak).trimmed().isEmpty() && (blankLine || afterEnd);
        } else if (!gap.isEmpty() && !gap[0].isSpace() && directAfterSpace) {
            const QStringView marks = gap.trimmed();
            starts = gap.first(marks.size()) == marks &&
                     endsSentence(marks, beforeKey, words.last().flags);
        }
        if (starts)
            word.flags |= SentenceStart;
        words.append(word);
        beforeKey = word.length <= 12 ? keyOf(text.sliced(word.start, word.length)) : QString();
        gapStart = i;
    }
    return words;
}

// Whether a word certainly opens with a vowel or a consonant sound.
enum class Sound { Vowel, Consonant, Unsure };

bool startsWithAny(const QString& key, std::initializer_list<const char*> prefixes)
{
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](const char* p) { return key.startsWith(QLatin1String(p)); });
}

// The cases of English spelling by sound, one after another.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
Sound soundOf(QStringView word, quint16 flags)
{
    if ((flags & HasDigit) || !(flags & HasLetter) || word.size() < 2 || isJoiner(word[1]))
        return Sound::Unsure;
    if ((flags & AllUpper) || (flags & AcronymLike)) {
        // Read letter by letter or as a word, the first letter decides, but
        // for F, H, L, M, N, R, S and X, whose names open with a vowel.
        // A long one may be a word in capitals ("an UPDATE").
        QString upper = word.toString().toUpper();
        if (upper.endsWith(u'S') && upper.size() > 2)
            upper.chop(1);
        const char16_t first = upper[0].unicode();
        if (QStringView(u"BCDGJKPQTVWYZ").contains(QChar(first)))
            return Sound::Consonant;
        if (upper.size() > 4)
            return Sound::Unsure;
        if (QStringView(u"AEIO").contains(QChar(first)))
            return Sound::Vowel;
        if (first == u'U')
            return Sound::Consonant;
        static const QSet<QString> Vowelled{"MBA", "MA",  "MP",  "MRI",  "MD",  "MSC",
                                            "NGO", "NHS", "FBI", "FDA",  "SUV", "LLC",
                                            "LLM", "SMS", "MVP", "RSVP", "SOS"};
        return Vowelled.contains(upper) ? Sound::Vowel : Sound::Unsure;
    }
    const QString key = keyOf(word);
    if (!std::any_of(key.begin(), key.end(),
                     [](QChar c) { return QStringView(u"aeiouy").contains(c); }))
        return Sound::Unsure; // "nth"
    const bool name = flags & UpperFirst;
    switch (key[0].unicode()) {
    case u'a':
    case u'i':
        return Sound::Vowel;
    case u'e':
        if (startsWithAny(key, {"eu", "ewe"}))
            return !name || key.startsWith(u"euro") ? Sound::Consonant : Sound::Unsure; // "Euler"
        return Sound::Vowel;
    case u'o':
        if (key.startsWith(u"oner"))
            return Sound::Unsure;
        return startsWithAny(key, {"one", "once", "oui"}) ? Sound::Consonant : Sound::Vowel;
    case u'u':
        if (startsWithAny(key, {"unin", "unim", "unid"}))
            return Sound::Unsure;
        if (startsWithAny(key, {"uni", "unan", "unary", "use", "usa", "usu", "uti", "ute", "uto",
                                "ura", "ure", "uri", "uro", "ubi", "uku", "ukr", "ugan", "uvu"}))
            return Sound::Consonant;
        if (startsWithAny(key, {"un", "um", "up", "ul", "ug", "urb", "urg", "urn", "ush", "utt",
                                "udd", "ump"}))
            return Sound::Vowel;
        return Sound::Unsure;
    case u'h':
        if (startsWithAny(key, {"hour", "honest", "honor", "honour", "heir"}))
            return Sound::Vowel;
        if (startsWithAny(key, {"herb", "hist", "hotel", "habit", "hyp", "homag", "humb", "human",
                                "hero", "hilar", "hered"}))
            return Sound::Unsure;
        return Sound::Consonant;
    default:
        return key[0] >= u'a' && key[0] <= u'z' ? Sound::Consonant : Sound::Unsure;
    }
}

// A pattern's element, as read from its text.
struct Element {
    enum Kind { Words, Exact, Not, Any, Same, Vowel, Consonant, Lower, Start, Open, Close };
    Kind kind = Words;
    QSet<QString> words;
    bool orEnd = false; // "." among the words
};

enum class Check { Sequence, SpaceBefore, NoSpaceAfter, Unclosed };

struct CompiledRule {
    Check check = Check::Sequence;
    QList<Element> elements;
    QList<QStringList> exceptions;
    QHash<QString, QString> mapping;
};

CompiledRule compile(const UsageRule& rule)
{
    CompiledRule compiled;
    const QString pattern = QString::fromUtf8(rule.pattern);
    if (pattern == u"@space-before")
        compiled.check = Check::SpaceBefore;
    else if (pattern == u"@no-space-after")
        compiled.check = Check::NoSpaceAfter;
    else if (pattern == u"@unclosed")
        compiled.check = Check::Unclosed;
    for (const QString& part : pattern.split(u' ', Qt::SkipEmptyParts)) {
        if (compiled.check != Check::Sequence)
            break;
        static const QHash<QString, Element::Kind> Named{
            {"@any", Element::Any},     {"@same", Element::Same},
            {"@vowel", Element::Vowel}, {"@consonant", Element::Consonant},
            {"@lower", Element::Lower}, {"@start", Element::Start},
            {"[", Element::Open},       {"]", Element::Close}};
        Element element;
        if (Named.contains(part)) {
            element.kind = Named.value(part);
        } else {
            QString list = part;
            if (list.startsWith(u'!')) {
                element.kind = Element::Not;
                list.remove(0, 1);
            }
            for (const QString& listed : list.split(u'|')) {
                QString word = listed;
                if (word.startsWith(u'=')) {
                    element.kind = Element::Exact;
                    element.words.insert(word.mid(1));
                } else if (word == u".") {
                    element.orEnd = true;
                } else {
                    element.words.insert(keyOf(word));
                }
            }
        }
        compiled.elements.append(element);
    }
    for (const QString& phrase : QString::fromUtf8(rule.exceptions).split(u'|', Qt::SkipEmptyParts))
        compiled.exceptions.append(phrase.split(u' '));
    const QString correction = QString::fromUtf8(rule.correction);
    if (correction.contains(u'>')) {
        for (const QString& pair : correction.split(u'|'))
            compiled.mapping.insert(pair.section(u'>', 0, 0), pair.section(u'>', 1));
    }
    return compiled;
}

const QList<CompiledRule>& compiledRules()
{
    static const QList<CompiledRule> All = [] {
        QList<CompiledRule> all;
        for (const UsageRule& rule : Rules)
            all.append(compile(rule));
        return all;
    }();
    return All;
}

// The sequence rules by the word they open with, so that at each word of the
// answer only the rules that can match there are tried.
struct RuleIndex {
    QHash<QString, QList<int>> byFirstWord;
    QList<int> everywhere; // opening with a kind of word rather than a word
};

const RuleIndex& ruleIndex()
{
    static const RuleIndex Index = [] {
        RuleIndex index;
        const QList<CompiledRule>& rules = compiledRules();
        for (int r = 0; r < int(rules.size()); ++r) {
            if (rules[r].check != Check::Sequence)
                continue;
            auto first = std::find_if(
                rules[r].elements.begin(), rules[r].elements.end(), [](const Element& e) {
                    return e.kind != Element::Open && e.kind != Element::Close;
                });
            if (first == rules[r].elements.end() || first->orEnd ||
                (first->kind != Element::Words && first->kind != Element::Exact)) {
                index.everywhere.append(r);
                continue;
            }
            for (const QString& word : first->words)
                index.byFirstWord[keyOf(word)].append(r);
        }
        return index;
    }();
    return Index;
}

// The slips as they are found, each counted, the first of each kept.
class Finder {
public:
    explicit Finder(QStringView text) : text_(text), words_(wordsOf(text)) {}

    void run()
    {
        const QList<CompiledRule>& rules = compiledRules();
        for (qsizetype r = 0; r < rules.size(); ++r) {
            switch (rules[r].check) {
            case Check::Sequence:
                break;
            case Check::SpaceBefore:
                spaceBefore(int(r));
                break;
            case Check::NoSpaceAfter:
                noSpaceAfter(int(r));
                break;
            case Check::Unclosed:
                unclosed(int(r));
                break;
            }
        }
        // Word by word, every rule at each, so a word is put in lower case once.
        const RuleIndex& index = ruleIndex();
        for (qsizetype i = 0; i < words_.size(); ++i) {
            for (int r : index.everywhere)
                matchAt(r, rules[r], i);
            const auto opening = index.byFirstWord.constFind(keyAt(i));
            if (opening != index.byFirstWord.cend()) {
                for (int r : *opening)
                    matchAt(r, rules[r], i);
            }
        }
    }

    UsageReport report()
    {
        UsageReport report;
        report.words = countWords(text_);
        report.mechanics = found_[0];
        report.usage = found_[1];
        report.different = int(slips_.size());
        std::stable_sort(slips_.begin(), slips_.end(), [](const UsageSlip& a, const UsageSlip& b) {
            return a.count != b.count ? a.count > b.count : a.firstAt < b.firstAt;
        });
        report.slips = slips_.first(std::min<qsizetype>(slips_.size(), ListedUsageSlips));
        std::sort(places_.begin(), places_.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [start, length] : std::as_const(places_))
            report.places.append({start, length});
        return report;
    }

    int found() const { return found_[0] + found_[1]; }

private:
    QStringView textOf(qsizetype w) const
    {
        return text_.sliced(words_[w].start, words_[w].length);
    }

    // Keys of the last few words asked for: a pattern looks a few words ahead.
    const QString& keyAt(qsizetype w)
    {
        const size_t slot = size_t(w) % keys_.size();
        if (keyIndex_[slot] != w) {
            keyIndex_[slot] = w;
            keys_[slot] = words_[w].length <= 40 ? keyOf(textOf(w)) : QString();
        }
        return keys_[slot];
    }

    // A listed word matches in any case but all capitals, and with a capital
    // only where a line or sentence begins ("I" always).
    bool caseFits(qsizetype w) const
    {
        const quint16 f = words_[w].flags;
        if (f & AllUpper)
            return false;
        if ((f & UpperFirst) && !(f & (SentenceStart | LineStart)))
            return words_[w].length == 1 && text_[words_[w].start] == u'I';
        return true;
    }

    bool fits(const Element& e, qsizetype w, qsizetype previous)
    {
        const quint16 f = words_[w].flags;
        switch (e.kind) {
        case Element::Words:
            return caseFits(w) && e.words.contains(keyAt(w));
        case Element::Exact:
            return e.words.contains(textOf(w).toString());
        case Element::Not:
            return !e.words.contains(keyAt(w));
        case Element::Any:
            return (f & HasLetter) && (f & Latin) && !(f & HasDigit);
        case Element::Same: {
            // Written alike, but for the capital of a sentence's first word: "AND, OR or".
            if (previous < 0 || !(f & HasLetter) || !(f & Latin) || (f & HasDigit) ||
                (f & UpperFirst) || keyAt(w) != keyAt(previous) || keyAt(w).isEmpty())
                return false;
            const QStringView before = textOf(previous);
            return before.sliced(1) == textOf(w).sliced(1);
        }
        case Element::Vowel:
            return soundOf(textOf(w), f) == Sound::Vowel;
        case Element::Consonant:
            return soundOf(textOf(w), f) == Sound::Consonant;
        case Element::Lower: {
            // Prose goes on after it: a word, or a comma and a word, not a
            // term and its meaning ("psow: the flag", "db → the handle").
            qsizetype end = words_[w].start + words_[w].length;
            if (end < text_.size() && text_[end] == u',')
                ++end;
            while (end < text_.size() && (text_[end] == u' ' || text_[end] == u'\t'))
                ++end;
            const bool prose = end < text_.size() && text_[end].isLetterOrNumber() &&
                               end > words_[w].start + words_[w].length;
            return (f & AllLower) && (f & Latin) && !(f & HasDigit) && prose;
        }
        default:
            return false;
        }
    }

    void matchAt(int r, const CompiledRule& rule, qsizetype first)
    {
        qsizetype w = first;
        qsizetype slipFrom = -1;
        qsizetype slipTo = -1;
        for (const Element& e : rule.elements) {
            if (e.kind == Element::Start) {
                if (w >= words_.size() || !(words_[w].flags & SentenceStart))
                    return;
                continue;
            }
            if (e.kind == Element::Open) {
                slipFrom = w;
                continue;
            }
            if (e.kind == Element::Close) {
                slipTo = w - 1;
                continue;
            }
            const bool next = w < words_.size() && (w == first || (words_[w].flags & Adjacent));
            if (e.orEnd && !next)
                continue;
            if (!next || !fits(e, w, w - 1))
                return;
            ++w;
        }
        if (slipFrom < 0) {
            slipFrom = first;
            slipTo = w - 1;
        }
        if (slipTo < slipFrom || isException(rule, first, w))
            return;
        const qsizetype start = words_[slipFrom].start;
        const qsizetype length = words_[slipTo].start + words_[slipTo].length - start;
        const QString written = text_.sliced(start, length).toString();
        add(r, start, length, written, correct(r, rule, written, first));
    }

    bool isException(const CompiledRule& rule, qsizetype from, qsizetype to)
    {
        for (qsizetype w = from; w < to; ++w) {
            for (const QStringList& phrase : rule.exceptions) {
                qsizetype k = 0;
                while (k < phrase.size() && w + k < words_.size() &&
                       (k == 0 || (words_[w + k].flags & Adjacent)) && keyAt(w + k) == phrase[k])
                    ++k;
                if (k == phrase.size())
                    return true;
            }
        }
        return false;
    }

    QString correct(int r, const CompiledRule& rule, const QString& written, qsizetype first)
    {
        QString correction = QString::fromUtf8(Rules[r].correction);
        if (!rule.mapping.isEmpty()) {
            correction = rule.mapping.value(keyOf(written), correction);
        } else if (correction == u"@capital") {
            correction = written;
            correction[0] = correction[0].toUpper();
        } else if (correction.contains(u'$')) {
            for (int n = 9; n >= 1; --n) {
                const QString place = QStringLiteral("$%1").arg(n);
                if (correction.contains(place) && first + n - 1 < words_.size())
                    correction.replace(place, textOf(first + n - 1).toString());
            }
        }
        if (!written.isEmpty() && written[0].isUpper() && !correction.isEmpty())
            correction[0] = correction[0].toUpper();
        return correction;
    }

    // " ," and the like: a space between a word and the mark after it.
    void spaceBefore(int r)
    {
        for (qsizetype i = 1; i < text_.size(); ++i) {
            const QChar mark = text_[i];
            if (!QStringView(u",.;:?!").contains(mark) ||
                (text_[i - 1] != u' ' && text_[i - 1] != u'\t'))
                continue;
            qsizetype space = i - 1;
            while (space > 0 && (text_[space - 1] == u' ' || text_[space - 1] == u'\t') &&
                   i - space < 8)
                --space;
            if (space == 0 || !text_[space - 1].isLetterOrNumber())
                continue;
            // The mark ends where it stands: a space or the end after it, or a
            // closing quotation mark or another ? or ! after a full stop, ? or !.
            const QChar after = i + 1 < text_.size() ? text_[i + 1] : QChar(u' ');
            const bool closing = isCloser(after) || after == u'?' || after == u'!';
            if (!after.isSpace() && !(QStringView(u".?!").contains(mark) && closing))
                continue;
            qsizetype word = space;
            while (word > 0 && (isWordChar(text_[word - 1]) || isJoiner(text_[word - 1])) &&
                   space - word < 40)
                --word;
            const QString written = text_.sliced(word, i + 1 - word).toString();
            add(r, word, i + 1 - word, written, text_.sliced(word, space - word).toString() + mark);
        }
    }

    // "end.Next": no space after a sentence's end before the next word.
    void noSpaceAfter(int r)
    {
        for (qsizetype w = 1; w < words_.size(); ++w) {
            const Word& before = words_[w - 1];
            const Word& word = words_[w];
            const qsizetype at = before.start + before.length;
            if (word.start != at + 1 || !QStringView(u".?!").contains(text_[at]))
                continue;
            const QStringView left = textOf(w - 1);
            const QStringView right = textOf(w);
            const auto lettersOnly = [](QStringView s) {
                return std::all_of(s.begin(), s.end(), [](QChar c) { return c.isLetter(); });
            };
            if (left.size() < 2 || !lettersOnly(left) || !left.last().isLower() ||
                right.size() < 2 || !lettersOnly(right) || !right[0].isUpper() ||
                !std::all_of(right.begin() + 1, right.end(), [](QChar c) { return c.isLower(); }))
                continue;
            // Not a web or mail address: no "/" or "@" in the run, no stop after.
            const qsizetype end = word.start + word.length;
            if (end < text_.size() &&
                (text_[end] == u'.' || text_[end] == u'/' || text_[end] == u'@'))
                continue;
            qsizetype run = before.start;
            while (run > 0 && !text_[run - 1].isSpace() && before.start - run < 80)
                --run;
            const QStringView head = text_.sliced(run, before.start - run);
            static const QSet<QString> Domains{"com", "org", "net", "edu", "gov", "io", "uk", "de"};
            if (head.contains(u'/') || head.contains(u'@') || head.contains(u'.') ||
                Domains.contains(right.toString().toLower()))
                continue;
            const qsizetype length = end - before.start;
            add(r, before.start, length, text_.sliced(before.start, length).toString(),
                left.toString() + text_[at] + u' ' + right.toString());
        }
    }

    // A bracket or quotation mark opened and not closed before its paragraph ends.
    // NOLINTNEXTLINE(readability-function-cognitive-complexity): one pass, as wordsOf
    void unclosed(int r)
    {
        struct Open {
            QChar mark;
            QChar close;
            int depth = 0;
            qsizetype at = -1; // the outermost one still open
        };
        std::array<Open, 4> open{
            {{u'(', u')'}, {u'[', u']'}, {QChar(0x201C), QChar(0x201D)}, {u'"', u'"'}}};
        const auto report = [&] {
            for (Open& o : open) {
                if (o.depth > 0)
                    add(r, o.at, 1, QString(o.mark),
                        QString(o.mark) + QStringLiteral(" … ") + o.close);
                o.depth = 0;
            }
        };
        for (qsizetype i = 0; i < text_.size(); ++i) {
            const QChar c = text_[i];
            if (c == u'\n') {
                report();
                continue;
            }
            for (Open& o : open) {
                if (o.mark == o.close && c == o.mark) {
                    if (o.depth == 0 && i > 0 && text_[i - 1].isDigit())
                        continue; // 6'2": inches
                    o.depth = 1 - o.depth;
                    o.at = i;
                } else if (c == o.mark) {
                    if (i > 0 && (text_[i - 1] == u':' || text_[i - 1] == u';'))
                        continue; // :(
                    if (o.depth++ == 0)
                        o.at = i;
                } else if (c == o.close && o.depth > 0) {
                    --o.depth;
                }
            }
        }
        report();
    }

    void add(int r, qsizetype start, qsizetype length, const QString& written,
             const QString& correction)
    {
        ++found_[Rules[r].family == UsageFamily::Mechanics ? 0 : 1];
        if (places_.size() < MarkedUsageSlips)
            places_.append({start, length});
        const QString key = QString::number(r) + u'\x1f' + keyOf(written);
        auto at = index_.constFind(key);
        if (at != index_.cend()) {
            ++slips_[*at].count;
            return;
        }
        if (index_.size() >= MarkedUsageSlips)
            return; // counted, not kept
        index_.insert(key, int(slips_.size()));
        slips_.append({r, written, correction, sentenceAround(start, length), 1, start});
    }

    // The sentence around a slip, cut to a line.
    QString sentenceAround(qsizetype start, qsizetype length) const
    {
        const qsizetype reach = 240;
        qsizetype from = start;
        while (from > 0 && start - from < reach && text_[from - 1] != u'\n' &&
               !(from >= 2 && text_[from - 1].isSpace() &&
                 QStringView(u".?!").contains(text_[from - 2])))
            --from;
        qsizetype to = start + length;
        while (to < text_.size() && to - start < reach && text_[to] != u'\n' &&
               !QStringView(u".?!").contains(text_[to - 1]))
            ++to;
        QString line = text_.sliced(from, to - from).toString().simplified();
        if (line.size() <= SlipSentenceLength)
            return line;
        const QString slip = text_.sliced(start, length).toString().simplified();
        qsizetype at = std::max<qsizetype>(0, line.indexOf(slip) - SlipSentenceLength / 3);
        QString cut = line.mid(at, SlipSentenceLength);
        if (at > 0)
            cut = QStringLiteral("...") + cut;
        if (at + SlipSentenceLength < line.size())
            cut += QStringLiteral("...");
        return cut;
    }

    QStringView text_;
    QList<Word> words_;
    std::array<QString, 16> keys_;
    std::array<qsizetype, 16> keyIndex_ = [] {
        std::array<qsizetype, 16> none;
        none.fill(-1);
        return none;
    }();
    std::array<int, 2> found_{0, 0};
    QList<UsageSlip> slips_;
    QHash<QString, int> index_;
    QList<std::pair<qsizetype, qsizetype>> places_;
};

} // namespace

std::span<const UsageRule> usageRules()
{
    return Rules;
}

UsageReport findUsageSlips(QStringView answer)
{
    Finder finder(answer);
    finder.run();
    return finder.report();
}

int countUsageSlips(QStringView answer)
{
    Finder finder(answer);
    finder.run();
    return finder.found();
}

QString familyName(UsageFamily family)
{
    return family == UsageFamily::Mechanics ? QStringLiteral("Mechanics") : QStringLiteral("Usage");
}
