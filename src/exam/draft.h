#pragma once

// The draft: a copy of the answer kept in the user folder while a question is
// under way, so that a crash, a kill or a power cut loses a few seconds of
// typing at most. It goes when the section ends and is offered for saving at
// the next start when it did not. The answer's pace log travels with it, and
// goes to the notes file when the draft's answer is saved.
//
// Each running copy of the program writes its own draft (user/draft.txt, then
// user/draft-2.txt, ... for further copies), guarded by a lock file beside it
// (user/draft.txt.lock). A draft whose lock is held belongs to a live copy and
// is left alone; a lock left by a copy that died is stale and its draft is
// recovered.

#include "essay/essayfile.h"
#include "essay/pacelog.h"
#include "platform/platform.h"

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;

struct Draft {
    Question question;
    QString topicText; // as shown, in the program's CR LF form
    QString answer;    // CR LF form
    QDateTime changed; // local date and time of the last change to the answer
    PaceLog pace = {}; // how the time went until then; no entries in a draft kept before
};

// The file's text, CR LF throughout:
//
//   QEL Simulator draft: an answer that was not saved yet
//   Kind: Issue
//   Number: 12
//   Last changed: 2026-03-14 09:26:53
//   Topic: 45 characters
//   <exactly that many characters of topic>
//   Answer: 1234 characters
//   <exactly that many characters of answer>
//   Timeline: 812 characters
//   <the time allowed in seconds, CR LF, and the pace log's lines without the last CR LF>
//   End of draft
//
// The timeline block is left out when there is no log, as drafts before it had none.
//
// The counts make a cut-off or edited file detectable, whatever the answer holds.
QString draftText(const Draft& draft);
// The draft the text describes, or nothing when the text is damaged.
std::optional<Draft> draftFromText(const QString& text);

// Writes the draft atomically (a synced temporary file renamed over the old
// one, then the folder synced): a crash in the middle leaves the previous
// draft whole, and a power cut after it keeps the new one.
bool writeDraftFile(const QString& path, const Draft& draft);
// The draft in the file, or nothing when it is missing, unreadable or damaged.
std::optional<Draft> readDraftFile(const QString& path);

// appFolder + "user" + separator, where every draft lives.
QString draftFolder(const QString& appFolder);
// True for draft.txt and draft-<n>.txt.
bool isDraftFileName(const QString& name);

// A draft whose lock this copy holds, so no other copy touches it meanwhile.
class ClaimedDraft {
public:
    ClaimedDraft(QString path, std::unique_ptr<QLockFile> lock);
    ClaimedDraft(ClaimedDraft&& other) noexcept;
    ClaimedDraft& operator=(ClaimedDraft&& other) noexcept;
    ~ClaimedDraft();

    const QString& path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

// Every draft in the user folder that no running copy holds: left by a copy that
// died, or kept after a recovery that could not save. Leftover temporary files
// of the claimed drafts' unfinished writes are removed.
std::vector<ClaimedDraft> claimOrphanDrafts(const QString& appFolder);

// What recovering one claimed draft came to.
enum class Recovery {
    Damaged,      // unreadable or damaged: set aside (detail: its new path, empty if it stayed)
    AlreadySaved, // the essay file already holds this answer (synced now): the draft is removed
    Refused,      // the user did not want it: the draft is removed
    Deferred,     // the user put the question off: the draft waits for the next start
    Saved,        // appended to the essay file: the draft is removed
    NotSaved,     // the append failed (detail: the reason): the draft is kept
};

// What the user wants done with a draft's answer.
enum class DraftChoice { Save, Discard, Later };

// Recovers one claimed draft. wantIt is asked only for a whole draft whose
// answer is not saved yet; the record is dated with the draft's last change.
// The answer is appended only when no record in the essay file holds it
// already, so a copy that died after appending but before removing the draft
// never adds it twice. The draft goes only once the record is on the disk.
Recovery recoverDraft(const QString& appFolder, const ClaimedDraft& claimed, const QLocale& locale,
                      const std::function<DraftChoice(const Draft&)>& wantIt, QString& detail);

// The essay file a draft belongs to.
QString draftEssayFilePath(const QString& appFolder, const Draft& draft);

// Keeps the draft of the question under way: a few seconds after the last
// change, and at least every few seconds while typing goes on. Writing is
// quiet: a draft that cannot be written never interrupts the candidate. The
// answer is taken on the window thread; writing and syncing it run on a thread
// of their own, so a slow disk never holds up typing.
class DraftKeeper : public QObject {
    Q_OBJECT
public:
    // After this long without a change, the draft is written.
    static constexpr int QuietMs = 2000;
    // While typing goes on, a draft is due this long after the first change it
    // lacks: half a second under five, so that the gap to the next keystroke
    // and the write itself still keep what a kill can lose within 5 seconds.
    static constexpr int LongestMs = 4500;

    // source gives the question under way, or nothing between questions; the
    // keeper stamps it with the time of the last change.
    using Source = std::function<std::optional<Draft>()>;
    DraftKeeper(const QString& appFolder, Clock& clock, Source source, QObject* parent = nullptr);
    ~DraftKeeper() override;

    // The answer changed.
    void changed();
    // Writes the draft now (an empty answer removes it); the timers end here.
    void writeNow();
    // The answer is saved or refused: the draft and its lock go.
    void discard();
    // Waits until the last write has reached the disk.
    void finish();

    // Takes this copy's place for a draft in the user folder, when it has none
    // yet, so that a question can start knowing whether its answer is kept.
    // Returns why no draft can be kept there, or nothing when one can.
    std::optional<QString> claim();

    // The draft file this copy writes, empty until it has claimed one.
    QString path() const { return path_; }

private:
    bool claimPlace();

    QString folder_;
    Clock& clock_;
    Source source_;
    QDateTime changed_;
    QTimer quiet_;
    QTimer longest_;
    std::unique_ptr<QLockFile> lock_;
    QString path_;
    std::future<void> writing_;
};
