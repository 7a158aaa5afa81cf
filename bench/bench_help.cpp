// Help with a long essay file: the saved essays read and set below the answer,
// beside the least such a step can cost (one read and one setPlainText).

#include "benchsupport.h"

#include "windows.h"

#include "exam/essayfile.h"
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
    Frmmain& test;
    QString path;
    qsizetype size = 0;
    QString answer;

    QuestionWithHistory() : test(program.test())
    {
        program.startQuestion(true, QStringLiteral("7"));
        test.Timer1->stop();
        path = EssayFilePath(test.AppFolder, test.Label3->text(), test.Label4->text());

        // Records of about the same length, so that 2,500 of them make 5 MB.
        bench::Words words(2500);
        const QString topic = BoxText(test.Text1);
        const QString date = QStringLiteral("14/03/2026");
        const qsizetype frame = BuildEssayRecord(EssayKind::Issue, QStringLiteral("7"), date,
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
            bytes += BuildEssayRecord(EssayKind::Issue, QStringLiteral("7"), date, time, topic,
                                      QString::fromUtf8(text))
                         .toUtf8();
        }
        size = bytes.size();
        bench::WriteFile(path, bytes);
        answer = QString::fromUtf8(words.answer(400));
    }

    // The answer box as the user left it before pressing Help, with the event
    // loop caught up.
    void reset()
    {
        SetBoxText(test.Text2, answer);
        QCoreApplication::processEvents();
    }
};

// Built once for both benchmarks: writing the file and loading the program
// take longer than the runs.
std::unique_ptr<QuestionWithHistory> TheQuestion;

QuestionWithHistory& Question()
{
    if (!TheQuestion)
        TheQuestion = std::make_unique<QuestionWithHistory>();
    return *TheQuestion;
}

double TimedHelp(QuestionWithHistory& question)
{
    question.reset();
    const auto start = bench::Stopwatch::now();
    question.test.Help();
    return bench::Seconds(start, bench::Stopwatch::now());
}

double TimedFloor(QuestionWithHistory& question)
{
    question.reset();
    const auto start = bench::Stopwatch::now();
    QFile file(question.path);
    file.open(QIODevice::ReadOnly);
    question.test.Text2->setPlainText(QString::fromLocal8Bit(file.readAll()));
    return bench::Seconds(start, bench::Stopwatch::now());
}

void BM_ReadAndSetPlainText(benchmark::State& state)
{
    QuestionWithHistory& question = Question();
    for (auto _ : state)
        state.SetIterationTime(TimedFloor(question));
    state.counters["file_MB"] = static_cast<double>(question.size) / (1024 * 1024);
}
BENCHMARK(BM_ReadAndSetPlainText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

// Each iteration also times the floor, so the ratio compares like with like.
void BM_Help(benchmark::State& state)
{
    QuestionWithHistory& question = Question();
    double helpSeconds = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        const double seconds = TimedHelp(question);
        if (question.test.Text2->document()->characterCount() < question.size / 2) {
            state.SkipWithError("the saved essays did not reach the answer box");
            break;
        }
        floorSeconds += TimedFloor(question);
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
    return bench::RunWithApplication(argc, argv, [] { TheQuestion.reset(); });
}
