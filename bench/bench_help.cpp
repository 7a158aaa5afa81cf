// Help with a long essay file: the saved essays read and set below the answer,
// beside the least such a step can cost (one read and one setPlainText).

#include "benchsupport.h"

#include "windows.h"

#include "essay/essayfile.h"
#include "widgets/ui.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextDocument>

#include <memory>

namespace {

constexpr int SavedRecords = 2500;
constexpr qsizetype EssayFileSize = qsizetype{5} * 1024 * 1024;

struct QuestionWithHistory {
    LoadedProgram program;
    TestWindow& test;
    QString path;
    qsizetype size = 0;
    QString answer;

    QuestionWithHistory() : test(program.test())
    {
        program.startQuestion(true, QStringLiteral("7"));
        test.clockTimer->stop();
        path = essayFilePath(test.appFolder, test.question().value());

        // Records of about the same length, so that 2,500 of them make 5 MB.
        Bench::Words words(2500);
        const QString topic = boxText(test.topicBox);
        const QString date = QStringLiteral("14/03/2026");
        const qsizetype frame = buildEssayRecord({EssayKind::Issue, 7}, date,
                                                 QStringLiteral("09:26:53"), topic, QString())
                                    .size();
        const qsizetype answerSize = EssayFileSize / SavedRecords - frame;
        QByteArray bytes;
        bytes.reserve(EssayFileSize + qsizetype{64} * 1024);
        for (int i = 0; i < SavedRecords; ++i) {
            QByteArray text = words.answer(static_cast<int>(answerSize / 6));
            while (text.size() < answerSize)
                text += ' ' + words.sentences(8);
            text.truncate(answerSize);
            const QString time = QStringLiteral("%1:%2:%3")
                                     .arg(8 + i % 12, 2, 10, QLatin1Char('0'))
                                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                                     .arg((i * 7) % 60, 2, 10, QLatin1Char('0'));
            bytes +=
                buildEssayRecord({EssayKind::Issue, 7}, date, time, topic, QString::fromUtf8(text))
                    .toUtf8();
        }
        size = bytes.size();
        Bench::writeFile(path, bytes);
        answer = QString::fromUtf8(words.answer(400));
    }

    // The answer box as the user left it before pressing Help, with the event
    // loop caught up.
    void reset()
    {
        setBoxText(test.answerBox, answer);
        QCoreApplication::processEvents();
    }
};

// Built once for both benchmarks: writing the file and loading the program
// take longer than the runs.
std::unique_ptr<QuestionWithHistory> theQuestion;

QuestionWithHistory& sharedQuestion()
{
    if (!theQuestion)
        theQuestion = std::make_unique<QuestionWithHistory>();
    return *theQuestion;
}

double timedHelp(QuestionWithHistory& question)
{
    question.reset();
    const auto start = Bench::Stopwatch::now();
    question.test.help();
    return Bench::seconds(start, Bench::Stopwatch::now());
}

double timedFloor(QuestionWithHistory& question)
{
    question.reset();
    const auto start = Bench::Stopwatch::now();
    QFile file(question.path);
    file.open(QIODevice::ReadOnly);
    question.test.answerBox->setPlainText(QString::fromLocal8Bit(file.readAll()));
    return Bench::seconds(start, Bench::Stopwatch::now());
}

void BM_ReadAndSetPlainText(benchmark::State& state)
{
    QuestionWithHistory& question = sharedQuestion();
    for (auto _ : state)
        state.SetIterationTime(timedFloor(question));
    state.counters["file_MB"] = static_cast<double>(question.size) / (1024 * 1024);
}
BENCHMARK(BM_ReadAndSetPlainText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

// Each iteration also times the floor, so the ratio compares like with like.
void BM_Help(benchmark::State& state)
{
    QuestionWithHistory& question = sharedQuestion();
    double helpSeconds = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        const double seconds = timedHelp(question);
        if (question.test.answerBox->document()->characterCount() < question.size / 2) {
            state.SkipWithError("the saved essays did not reach the answer box");
            break;
        }
        floorSeconds += timedFloor(question);
        helpSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["records"] = SavedRecords;
    state.counters["x_floor"] = floorSeconds > 0 ? helpSeconds / floorSeconds : 0;
}
BENCHMARK(BM_Help)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runWithApplication(argc, argv, [] { theQuestion.reset(); });
}
