// qelreport as a candidate runs it, the built program started afresh each
// time: the whole CSV of years of practice (5,000 records, about 50 MB, every
// answer spelled against both dictionaries; goal under 20 s) and the report of
// one 5,000-word essay with its suggestions (goal under a second).

#include "benchsupport.h"

#include "essay/essayfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int Records = 5000;
constexpr int AnswerWords = 1050; // with the topic and the head, about 10 KB a record

// Real words, a few thousand of them, from the American dictionary's list.
QStringList wordPool()
{
    QFile list(QStringLiteral("/usr/share/hunspell/en_US.dic"));
    QStringList all;
    if (list.open(QIODevice::ReadOnly)) {
        while (!list.atEnd()) {
            const QString word =
                QString::fromUtf8(list.readLine()).section(QLatin1Char('/'), 0, 0).trimmed();
            if (word.size() >= 2 && word.size() <= 12 &&
                std::all_of(word.begin(), word.end(), [](QChar c) { return c >= 'a' && c <= 'z'; }))
                all << word;
        }
    }
    QStringList pool;
    const qsizetype step = std::max<qsizetype>(1, all.size() / 6000);
    for (qsizetype i = 0; i < all.size(); i += step)
        pool << all.at(i);
    return pool;
}

// Prose as essays use words: a few words often, most rarely; a word in a
// hundred misspelled (two letters swapped); paragraphs of five sentences.
QString makeAnswer(const QStringList& pool, Bench::Words& random, int words)
{
    QString text;
    int written = 0;
    int sentence = 0;
    while (written < words) {
        const int length = 8 + random.below(13);
        for (int i = 0; i < length; ++i) {
            QString word = pool.at(random.below(random.below(int(pool.size())) + 1));
            if (random.below(100) == 0 && word.size() > 3)
                std::swap(word[1], word[2]);
            if (i == 0)
                word[0] = word[0].toUpper();
            text += (i == 0 ? QString() : QStringLiteral(" ")) + word;
        }
        text += ++sentence % 5 == 0 ? QStringLiteral(".\r\n\r\n") : QStringLiteral(". ");
        written += length;
    }
    return text;
}

struct Essays {
    QTemporaryDir folder;
    qsizetype bytes = 0;
    QString longEssay; // one record of 5,000 words

    Essays()
    {
        QDir(folder.path()).mkdir(QStringLiteral("user"));
        const QStringList pool = wordPool();
        Bench::Words random(38);
        QMap<QString, QByteArray> files;
        QDateTime when(QDate(2023, 1, 9), QTime(18, 4, 11));
        const QLocale locale = QLocale::system();
        for (int i = 0; i < Records; ++i) {
            const bool issue = i % 2 == 0;
            const Question question{issue ? EssayKind::Issue : EssayKind::Argument,
                                    1 + (i * 37 + i / 7) % (issue ? 150 : 141)};
            when = when.addSecs(3600 * 5 + i % 1000);
            files[essayFilePath(folder.path() + QLatin1Char('/'), question)] +=
                buildEssayRecord(question, recordDate(when, locale), recordTime(when, locale),
                                 QString::fromUtf8("\r\n" + Bench::topicBlock(random)),
                                 makeAnswer(pool, random, AnswerWords))
                    .toUtf8();
        }
        for (auto file = files.cbegin(); file != files.cend(); ++file) {
            Bench::writeFile(file.key(), file.value());
            bytes += file.value().size();
        }
        longEssay = folder.filePath(QStringLiteral("long/ai1.txt"));
        QDir(folder.path()).mkdir(QStringLiteral("long"));
        Bench::writeFile(longEssay,
                         buildEssayRecord({EssayKind::Issue, 1}, recordDate(when, locale),
                                          recordTime(when, locale),
                                          QString::fromUtf8("\r\n" + Bench::topicBlock(random)),
                                          makeAnswer(pool, random, 5000))
                             .toUtf8());
    }
};

std::unique_ptr<Essays> theEssays;

Essays& essays()
{
    if (!theEssays)
        theEssays = std::make_unique<Essays>();
    return *theEssays;
}

// The processor time of the finished children, in seconds.
double childrenCpu()
{
    rusage used{};
    getrusage(RUSAGE_CHILDREN, &used);
    return double(used.ru_utime.tv_sec + used.ru_stime.tv_sec) +
           double(used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e6;
}

// Runs the built qelreport; gives its standard output, empty when it failed,
// the time it took and the processor time it used (which the load of a shared
// machine does not stretch).
QByteArray runQelReport(const QStringList& arguments, double& seconds, double& cpu)
{
    QProcess run;
    const double cpuBefore = childrenCpu();
    const auto start = Bench::Stopwatch::now();
    run.start(QStringLiteral(QEL_PROGRAM_DIR "/qelreport"), arguments);
    QByteArray out;
    while (run.waitForReadyRead(-1))
        out += run.readAllStandardOutput();
    run.waitForFinished(-1);
    out += run.readAllStandardOutput();
    seconds = Bench::seconds(start, Bench::Stopwatch::now());
    cpu = childrenCpu() - cpuBefore;
    std::fputs(run.readAllStandardError().left(2000).constData(), stderr);
    return run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0 ? out : QByteArray();
}

void BM_QelReportWholeCsv(benchmark::State& state)
{
    Essays& made = essays();
    qsizetype rows = 0;
    double cpu = 0;
    for (auto _ : state) {
        double seconds = 0;
        const QByteArray csv =
            runQelReport({made.folder.filePath(QStringLiteral("user"))}, seconds, cpu);
        state.SetIterationTime(seconds);
        rows = csv.count('\n') - 1;
    }
    if (rows != Records)
        state.SkipWithError(("qelreport wrote " + std::to_string(rows) + " rows").c_str());
    state.counters["records"] = double(rows);
    state.counters["files_MB"] = double(made.bytes) / (1024 * 1024);
    state.counters["cpu_s"] = cpu;
}
BENCHMARK(BM_QelReportWholeCsv)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_QelReportOneEssay(benchmark::State& state)
{
    Essays& made = essays();
    QByteArray report;
    double cpu = 0;
    for (auto _ : state) {
        double seconds = 0;
        report = runQelReport({QStringLiteral("--essay"), made.longEssay}, seconds, cpu);
        state.SetIterationTime(seconds);
    }
    state.counters["cpu_s"] = cpu;
    if (!report.contains("Spelling"))
        state.SkipWithError("qelreport did not print the report");
    state.counters["words"] =
        report.mid(report.indexOf("Words: ") + 7, 8).split(',').first().toDouble();
}
BENCHMARK(BM_QelReportOneEssay)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runWithApplication(argc, argv, [] { theEssays.reset(); });
}
