// The draft of a long answer: what a keystroke costs, what one draft write
// costs (laying it out, writing, syncing and renaming it), and how much of that
// the window thread carries when a draft falls due. The sync waits on the disk
// (7 to 25 ms here on a busy machine, far more on a slow stick), so the write
// runs on a thread of its own and the window thread only takes the answer.

#include "benchsupport.h"

#include "exam/draft.h"
#include "platform/realplatform.h"
#include "widgets/ui.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr qsizetype AnswerBytes = qsizetype{200} * 1024;

Draft longDraft()
{
    Bench::Words words(16);
    Draft draft;
    draft.question = {EssayKind::Issue, 12};
    draft.topicText = QString::fromUtf8("\r\n" + Bench::topicBlock(words));
    QByteArray answer;
    while (answer.size() < AnswerBytes)
        answer += words.answer(400) + "\r\n\r\n";
    answer.truncate(AnswerBytes);
    draft.answer = QString::fromUtf8(answer);
    draft.changed = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
    return draft;
}

struct Folder {
    QTemporaryDir dir;
    QString app = dir.path() + QLatin1Char('/');
    Folder() { QDir(dir.path()).mkdir(QStringLiteral("user")); }
};

void BM_DraftText200KB(benchmark::State& state)
{
    const Draft draft = longDraft();
    for (auto _ : state)
        benchmark::DoNotOptimize(draftText(draft));
}
BENCHMARK(BM_DraftText200KB)->Unit(benchmark::kMicrosecond);

// QSaveFile: a temporary file, fdatasync, rename over the previous draft.
void BM_DraftWrite200KB(benchmark::State& state)
{
    Folder folder;
    const Draft draft = longDraft();
    const QString path = draftFolder(folder.app) + QStringLiteral("draft.txt");
    double longest = 0;
    for (auto _ : state) {
        const auto start = Bench::Stopwatch::now();
        if (!writeDraftFile(path, draft)) {
            state.SkipWithError("the draft was not written");
            break;
        }
        longest = std::max(longest, Bench::seconds(start, Bench::Stopwatch::now()));
    }
    state.counters["file_bytes"] = static_cast<double>(QFileInfo(path).size());
    // The one stall a typist could feel is the slowest write, not the average.
    state.counters["longest_ms"] = longest * 1000;
}
BENCHMARK(BM_DraftWrite200KB)->Unit(benchmark::kMillisecond)->Iterations(200);

// What the window thread does when a draft falls due: the answer out of the
// box, handed to the writing thread. Waiting for that write is not counted.
void BM_DraftDueFromAnswerBox200KB(benchmark::State& state)
{
    Folder folder;
    const Draft draft = longDraft();
    QPlainTextEdit box;
    setBoxText(&box, draft.answer);
    RealClock clock;
    DraftKeeper keeper(folder.app, clock, [&] {
        Draft current = draft;
        current.answer = boxText(&box);
        return std::optional<Draft>(current);
    });
    for (auto _ : state) {
        keeper.writeNow();
        state.PauseTiming();
        keeper.finish();
        state.ResumeTiming();
    }
    state.counters["answer_chars"] = static_cast<double>(boxText(&box).size());
}
BENCHMARK(BM_DraftDueFromAnswerBox200KB)->Unit(benchmark::kMicrosecond)->Iterations(200);

// The keystroke path: the change is noted and the timers are rearmed.
void BM_KeystrokeNotesChange(benchmark::State& state)
{
    Folder folder;
    RealClock clock;
    DraftKeeper keeper(folder.app, clock, [] { return std::optional<Draft>(); });
    for (auto _ : state)
        keeper.changed();
}
BENCHMARK(BM_KeystrokeNotesChange)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runWithApplication(argc, argv);
}
