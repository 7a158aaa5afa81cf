#include "app/startup.h"

#include "essay/wordcount.h"
#include "exam/draft.h"
#include "platform/fault.h"
#include "start/startwindow.h"
#include "widgets/ui.h"

#include <QDir>

namespace {

const QString UnsavedTitle = QStringLiteral("Unsaved Answer");
// As many as a box shows on two or three lines.
constexpr int FirstWordsShown = 25;

} // namespace

void recoverDrafts(Platform& platform, const QString& appFolder)
{
    const QLocale locale = QLocale::system();
    for (const ClaimedDraft& claimed : claimOrphanDrafts(appFolder)) {
        QString essayPath; // named once the draft is read
        const auto wantIt = [&](const Draft& draft) {
            essayPath = draftEssayFilePath(appFolder, draft);
            // What it holds, so that the candidate can tell whether it is worth keeping.
            platform.boxes.show(nullptr,
                                QStringLiteral("Your answer to %1 was not saved when the "
                                               "program last ended.\r\n\r\nLast changed: %2 %3"
                                               "\r\nWords: %4\r\nIt begins: %5")
                                    .arg(topicName(draft.question),
                                         recordDate(draft.changed, locale),
                                         recordTime(draft.changed, locale),
                                         QString::number(countWords(draft.answer)),
                                         firstWords(draft.answer, FirstWordsShown)),
                                UnsavedTitle, MessageBoxes::Information, MessageBoxes::Ok);
            const auto answer = platform.boxes.show(
                nullptr, QStringLiteral("Do you want to save it?"), UnsavedTitle,
                MessageBoxes::Information, MessageBoxes::OkCancel);
            // Closing the question decides nothing: the draft waits for the next start.
            return answer == MessageBoxes::AnswerOk       ? DraftChoice::Save
                   : answer == MessageBoxes::AnswerClosed ? DraftChoice::Later
                                                          : DraftChoice::Discard;
        };
        QString detail;
        const Recovery outcome = recoverDraft(appFolder, claimed, locale, wantIt, detail);
        const QString draftPath = QDir::toNativeSeparators(claimed.path());
        if (outcome == Recovery::Damaged) {
            platform.boxes.show(
                nullptr,
                QStringLiteral("An answer that was not saved was found in %1, but the file is "
                               "damaged and cannot be offered for saving.\r\n\r\n%2")
                    .arg(draftPath, detail.isEmpty()
                                        ? QStringLiteral("It has been left where it is.")
                                        : QStringLiteral("It has been kept as %1.").arg(detail)),
                UnsavedTitle, MessageBoxes::Exclamation, MessageBoxes::Ok);
        }
        if (outcome == Recovery::NotSaved) {
            platform.boxes.show(nullptr,
                                QStringLiteral("The answer could not be saved.\r\n\r\nFile: %1\r\n"
                                               "Reason: %2\r\n\r\nIt is kept in %3 and offered "
                                               "again at the next start.")
                                    .arg(essayPath, detail, draftPath),
                                QStringLiteral("Not Saved"), MessageBoxes::Exclamation,
                                MessageBoxes::Ok);
        }
    }
}

std::unique_ptr<StartWindow> loadProgram(Platform& platform, const QString& programFolder)
{
    installProgramFonts();
    auto start = std::make_unique<StartWindow>(platform, programFolder);
    // Before the start window shows: an answer a crash left behind comes first.
    recoverDrafts(platform, start->appFolder);
    return start;
}

void handleUntrappedFault(Platform& platform, const std::exception& error)
{
    const int status = reportFault(platform.boxes, error);
    platform.end.endProgram(status);
}

QelApplication::QelApplication(int& argc, char** argv, Platform& platform)
    : QApplication(argc, argv), platform_(platform)
{
    // The program ends only through its own ways out (Quit, the close box, the
    // end of a section), never because the last visible window went away.
    setQuitOnLastWindowClosed(false);
}

bool QelApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        handleUntrappedFault(platform_, error);
    }
    return false;
}
