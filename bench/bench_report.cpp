// The essay report: every figure of a 600-word and a 5,000-word answer, the
// spelling check against both dictionaries and the usage and mechanics rules
// included (goals: under 20 ms and under 100 ms), and the suggestions for one misspelled word,
// which the Review window looks for one at a time after the report shows.

#include "benchsupport.h"

#include "essay/essayreport.h"
#include "essay/spellchecker.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <memory>

namespace {

const QString SystemDictionaries = QStringLiteral("/usr/share/hunspell");

// Real words, as many different ones as an essay of the length would hold:
// taken from the American dictionary's list.
QStringList wordPool(int size)
{
    QFile list(SystemDictionaries + QStringLiteral("/en_US.dic"));
    QStringList all;
    if (list.open(QIODevice::ReadOnly)) {
        while (!list.atEnd()) {
            const QString word =
                QString::fromUtf8(list.readLine()).section(QLatin1Char('/'), 0, 0).trimmed();
            if (word.size() >= 2 && word.size() <= 12 && word.at(0).isLower() &&
                std::all_of(word.begin(), word.end(), [](QChar c) { return c >= 'a' && c <= 'z'; }))
                all << word;
        }
    }
    QStringList pool;
    const qsizetype step = std::max<qsizetype>(1, all.size() / size);
    for (qsizetype i = 0; i < all.size() && pool.size() < size; i += step)
        pool << all.at(i);
    return pool;
}

// Sentences of 8 to 20 words in paragraphs of five, a word in a hundred
// misspelled (two letters swapped), a linking word opening some sentences, and
// a slip of usage or mechanics in every seventh.
const std::array<QString, 6> Slips{QStringLiteral("the the"), QStringLiteral("could of"),
                                   QStringLiteral("a idea"),  QStringLiteral("their is"),
                                   QStringLiteral("alot"),    QStringLiteral("i think")};

QString makeAnswer(int words)
{
    const QStringList pool = wordPool(words / 2 + 50);
    Bench::Words random(32);
    QString text;
    int written = 0;
    int sentence = 0;
    while (written < words) {
        const int length = 8 + random.below(13);
        for (int i = 0; i < length; ++i) {
            QString word = pool.at(random.below(int(pool.size())));
            if (random.below(100) == 0 && word.size() > 3)
                std::swap(word[1], word[2]);
            if (i == 0 && sentence % 4 == 0)
                word = QStringLiteral("however ") + word;
            if (i == 3 && sentence % 7 == 6)
                word = Slips[sentence / 7 % std::size(Slips)] + QStringLiteral(" ") + word;
            if (i == 0)
                word[0] = word[0].toUpper();
            text += (i == 0 ? QString() : QStringLiteral(" ")) + word;
        }
        text += ++sentence % 5 == 0 ? QStringLiteral(".\n\n") : QStringLiteral(". ");
        written += length;
    }
    return text;
}

const QString Topic = QStringLiteral(
    "\"A company that tries to serve every kind of customer ends up serving none of them well. "
    "Lasting success comes from deciding clearly which customers not to pursue.\"\n\nWrite a "
    "response in which you explain how far you agree or disagree with the view above.\n");

std::unique_ptr<SpellChecker> theSpelling;

const SpellChecker& spelling()
{
    if (!theSpelling)
        theSpelling = std::make_unique<SpellChecker>(QStringList{SystemDictionaries});
    return *theSpelling;
}

void BM_Report(benchmark::State& state)
{
    const QString answer = makeAnswer(int(state.range(0)));
    if (!spelling().hasDictionary())
        state.SkipWithError("no dictionary in /usr/share/hunspell");
    EssayReport report;
    for (auto _ : state) {
        report = makeEssayReport(answer, Topic, &spelling());
        benchmark::DoNotOptimize(report.words);
    }
    state.counters["words"] = report.words;
    state.counters["misspelled"] = report.misspelled;
    state.counters["different_words"] = report.distinctPerHundred * report.words / 100;
    state.counters["usage_slips"] = report.usage.mechanics + report.usage.usage;
}
BENCHMARK(BM_Report)->Arg(600)->Arg(5000)->Unit(benchmark::kMillisecond);

// The usage and mechanics rules alone, their share of the report.
void BM_UsageSlips(benchmark::State& state)
{
    const QString answer = makeAnswer(int(state.range(0)));
    int found = 0;
    for (auto _ : state) {
        found = countUsageSlips(answer);
        benchmark::DoNotOptimize(found);
    }
    state.counters["usage_slips"] = found;
}
BENCHMARK(BM_UsageSlips)->Arg(600)->Arg(5000)->Unit(benchmark::kMillisecond);

// The suggestions for one word, as the window looks for them after the report.
void BM_SuggestOneWord(benchmark::State& state)
{
    const QStringList slips{QStringLiteral("recieve"), QStringLiteral("definately"),
                            QStringLiteral("occured"), QStringLiteral("seperate")};
    qsizetype next = 0;
    for (auto _ : state) {
        const QStringList found = spelling().suggest(slips.at(next++ % slips.size()), 3);
        benchmark::DoNotOptimize(found.size());
    }
}
BENCHMARK(BM_SuggestOneWord)->Unit(benchmark::kMillisecond);

void BM_OpenDictionaries(benchmark::State& state)
{
    for (auto _ : state) {
        SpellChecker opened({SystemDictionaries});
        benchmark::DoNotOptimize(opened.hasDictionary());
    }
}
BENCHMARK(BM_OpenDictionaries)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runWithApplication(argc, argv, [] { theSpelling.reset(); });
}
