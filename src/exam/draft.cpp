#include "exam/draft.h"

#include "essay/essaynotes.h"
#include "platform/appfolder.h"
#include "platform/filesync.h"
#include "platform/textio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Heading = QStringLiteral("QEL Simulator draft: an answer that was not saved yet");
const QString EndLine = QStringLiteral("End of draft");
const QString Characters = QStringLiteral(" characters");
const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
// More copies than anyone runs at once; past this, a copy keeps no draft.
constexpr int MostPlaces = 64;

QString placeName(int place)
{
    return place == 1 ? QStringLiteral("draft.txt") : QStringLiteral("draft-%1.txt").arg(place);
}

int placeOf(const QString& name)
{
    return name == QLatin1String("draft.txt") ? 1 : name.mid(6).chopped(4).toInt();
}

std::unique_ptr<QLockFile> lockFor(const QString& draftPath)
{
    // Qt's stale-lock test knows a lock whose process is gone (or that was
    // taken before a reboot); a live copy's lock is never taken over.
    return std::make_unique<QLockFile>(draftPath + QStringLiteral(".lock"));
}

// QSaveFile's temporary file is the draft's name plus six letters; one is left
// behind only when the copy died between writing it and renaming it.
const QRegularExpression& temporaryName()
{
    static const QRegularExpression Pattern(
        QStringLiteral("^(draft(?:-[0-9]+)?\\.txt)\\.[A-Za-z0-9]{6}$"));
    return Pattern;
}

void removeLeftoverTemporaries(const QDir& dir, const QString& draftName)
{
    for (const QString& entry : dir.entryList({draftName + QStringLiteral(".*")}, QDir::Files)) {
        const QRegularExpressionMatch match = temporaryName().match(entry);
        if (match.hasMatch() && match.captured(1) == draftName)
            QFile::remove(dir.filePath(entry));
    }
}

// A damaged draft moves aside to "draft (damaged).txt", never to be read as a
// draft again nor lost; returns the new path, or nothing when it cannot move.
QString setAside(const QString& path)
{
    const QFileInfo info(path);
    for (int n = 1; n <= MostPlaces; ++n) {
        const QString suffix =
            n == 1 ? QStringLiteral(" (damaged)") : QStringLiteral(" (damaged %1)").arg(n);
        const QString target =
            info.dir().filePath(info.completeBaseName() + suffix + QStringLiteral(".txt"));
        if (!QFileInfo::exists(target) && QFile::rename(path, target))
            return QDir::toNativeSeparators(target);
    }
    return {};
}

// True when a record of the essay file ends with exactly this answer, on the
// disk: the answer reached the file before the draft could be removed. The copy
// that wrote it may have died before its sync, so the file is synced here; one
// that cannot be synced does not count, and the answer is offered again (twice
// is better than lost).
bool essayFileHolds(const QString& essayPath, const QString& answer)
{
    QFile file(essayPath);
    const QFileInfo info(essayPath);
    // Windows syncs only a file open for writing; a file nobody may write was
    // not written by a save a moment ago.
    if (!info.isFile() || info.size() > LargestEssayFile ||
        !(file.open(QIODevice::ReadWrite) || file.open(QIODevice::ReadOnly)))
        return false;
    const QByteArray bytes = file.readAll();
    const QByteArray stars = QByteArrayLiteral("********************\r\n");
    const QByteArray wanted =
        stars +
        toCodePage(QString(CrLf + QStringLiteral("Your Answer:") + CrLf + CrLf + answer + CrLf));
    const QByteArray nextRecord = "\r\n\r\n" + stars + "Date: ";
    for (qsizetype at = bytes.indexOf(wanted); at >= 0; at = bytes.indexOf(wanted, at + 1)) {
        const QByteArrayView rest = QByteArrayView(bytes).sliced(at + wanted.size());
        if (rest.isEmpty() || rest.startsWith(nextRecord)) {
            QString reason; // not shown: the answer is offered again instead
            return !file.isWritable() ||
                   (syncFile(file, reason) && syncFolder(info.absolutePath(), reason));
        }
    }
    return false;
}

} // namespace

QString draftText(const Draft& draft)
{
    QString text;
    text.reserve(draft.topicText.size() + draft.answer.size() + 300);
    text += Heading + CrLf;
    text += QStringLiteral("Kind: ") + kindName(draft.question.kind) + CrLf;
    text += QStringLiteral("Number: ") + QString::number(draft.question.number) + CrLf;
    text += QStringLiteral("Last changed: ") + draft.changed.toString(TimeFormat) + CrLf;
    text += QStringLiteral("Topic: ") + QString::number(draft.topicText.size()) + Characters + CrLf;
    text += draft.topicText + CrLf;
    text += QStringLiteral("Answer: ") + QString::number(draft.answer.size()) + Characters + CrLf;
    text += draft.answer + CrLf;
    if (!draft.pace.entries.isEmpty()) {
        QString lines = QString::number(draft.pace.secondsAllowed) + CrLf + paceLines(draft.pace);
        lines.chop(2);
        text += QStringLiteral("Timeline: ") + QString::number(lines.size()) + Characters + CrLf;
        text += lines + CrLf;
    }
    text += EndLine + CrLf;
    return text;
}

std::optional<Draft> draftFromText(const QString& text)
{
    qsizetype at = 0;
    // The rest of the line that starts with name, or nothing.
    const auto field = [&](const QString& name) -> std::optional<QString> {
        const qsizetype end = text.indexOf(CrLf, at);
        if (end < 0 || !QStringView(text).mid(at, end - at).startsWith(name))
            return std::nullopt;
        const QString value = text.mid(at + name.size(), end - at - name.size());
        at = end + 2;
        return value;
    };
    // A "Name: N characters" line, then exactly N characters and a line end.
    const auto block = [&](const QString& name) -> std::optional<QString> {
        const std::optional<QString> count = field(name);
        bool ok = false;
        const qsizetype size = count && count->endsWith(Characters)
                                   ? count->chopped(Characters.size()).toLongLong(&ok)
                                   : -1;
        if (!ok || size < 0 || size > text.size() - at - 2 || text.mid(at + size, 2) != CrLf)
            return std::nullopt;
        const QString value = text.mid(at, size);
        at += size + 2;
        return value;
    };

    Draft draft;
    const std::optional<QString> heading = field(Heading);
    const std::optional<QString> kind = field(QStringLiteral("Kind: "));
    const std::optional<QString> number = field(QStringLiteral("Number: "));
    const std::optional<QString> changed = field(QStringLiteral("Last changed: "));
    if (!heading || !heading->isEmpty() || !kind || !number || !changed)
        return std::nullopt;
    const auto* const known =
        std::find_if(EssayKinds.begin(), EssayKinds.end(),
                     [&kind](const auto& k) { return *kind == QLatin1String(k.name); });
    if (known == EssayKinds.end())
        return std::nullopt;
    draft.question.kind = known->kind;
    static const QRegularExpression TopicNumber(QStringLiteral("^[1-9][0-9]{0,3}$"));
    if (!TopicNumber.match(*number).hasMatch())
        return std::nullopt;
    draft.question.number = number->toInt();
    draft.changed = QDateTime::fromString(*changed, TimeFormat);
    const std::optional<QString> topic = block(QStringLiteral("Topic: "));
    const std::optional<QString> answer = topic ? block(QStringLiteral("Answer: ")) : std::nullopt;
    // A draft kept before timelines has none.
    if (answer && QStringView(text).mid(at).startsWith(QLatin1String("Timeline: "))) {
        if (const std::optional<QString> timeline = block(QStringLiteral("Timeline: "))) {
            const qsizetype firstLine = timeline->indexOf(CrLf);
            bool ok = false;
            const int allowed = timeline->left(firstLine).toInt(&ok);
            const auto entries =
                firstLine > 0 ? paceEntriesFromLines(QStringView(*timeline).mid(firstLine + 2))
                              : std::nullopt;
            if (ok && entries)
                draft.pace = PaceLog{allowed, *entries};
        }
    }
    if (!draft.changed.isValid() || !answer || QStringView(text).mid(at) != EndLine + CrLf)
        return std::nullopt;
    draft.topicText = *topic;
    draft.answer = *answer;
    return draft;
}

bool writeDraftFile(const QString& path, const Draft& draft)
{
    // QSaveFile writes a temporary file, syncs it and renames it over the old
    // draft only on commit; it never creates the folder.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = toCodePage(draftText(draft));
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    // The rename lives in the folder: until the folder is synced, a power cut
    // may bring back the old draft, or none.
    QString reason;
    return file.commit() && syncFolder(QFileInfo(path).absolutePath(), reason);
}

std::optional<Draft> readDraftFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return draftFromText(fromCodePage(bytes));
}

QString draftFolder(const QString& appFolder)
{
    return appFolder + QStringLiteral("user") + PathSeparator;
}

bool isDraftFileName(const QString& name)
{
    static const QRegularExpression Pattern(QStringLiteral("^draft(?:-[0-9]+)?\\.txt$"));
    return Pattern.match(name).hasMatch();
}

QString draftEssayFilePath(const QString& appFolder, const Draft& draft)
{
    return essayFilePath(appFolder, draft.question);
}

ClaimedDraft::ClaimedDraft(QString path, std::unique_ptr<QLockFile> lock)
    : path_(std::move(path)), lock_(std::move(lock))
{
}
ClaimedDraft::ClaimedDraft(ClaimedDraft&&) noexcept = default;
ClaimedDraft& ClaimedDraft::operator=(ClaimedDraft&&) noexcept = default;
ClaimedDraft::~ClaimedDraft() = default;

std::vector<ClaimedDraft> claimOrphanDrafts(const QString& appFolder)
{
    std::vector<ClaimedDraft> claimed;
    const QDir dir(draftFolder(appFolder));
    if (!dir.exists())
        return claimed;
    QStringList names;
    for (const QString& entry : dir.entryList({QStringLiteral("draft*.txt*")}, QDir::Files)) {
        const QRegularExpressionMatch temporary = temporaryName().match(entry);
        const QString name = temporary.hasMatch() ? temporary.captured(1) : entry;
        if (isDraftFileName(name) && !names.contains(name))
            names << name;
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return placeOf(a) < placeOf(b); });
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        std::unique_ptr<QLockFile> lock = lockFor(path);
        if (!lock->tryLock(0))
            continue; // a running copy's draft
        removeLeftoverTemporaries(dir, name);
        if (QFileInfo::exists(path))
            claimed.emplace_back(path, std::move(lock));
    }
    return claimed;
}

Recovery recoverDraft(const QString& appFolder, const ClaimedDraft& claimed, const QLocale& locale,
                      const std::function<DraftChoice(const Draft&)>& wantIt, QString& detail)
{
    detail.clear();
    const std::optional<Draft> draft = readDraftFile(claimed.path());
    if (!draft) {
        detail = setAside(claimed.path());
        return Recovery::Damaged;
    }
    const QString essayPath = draftEssayFilePath(appFolder, *draft);
    // An empty answer has nothing to lose.
    if (draft->answer.isEmpty() || essayFileHolds(essayPath, draft->answer)) {
        QFile::remove(claimed.path());
        return Recovery::AlreadySaved;
    }
    const DraftChoice choice = wantIt(*draft);
    if (choice == DraftChoice::Later)
        return Recovery::Deferred;
    if (choice == DraftChoice::Discard) {
        QFile::remove(claimed.path());
        return Recovery::Refused;
    }
    const QString record =
        buildEssayRecord(draft->question, recordDate(draft->changed, locale),
                         recordTime(draft->changed, locale), draft->topicText, draft->answer);
    if (!appendEssayRecord(essayPath, record, detail))
        return Recovery::NotSaved;
    // Its timeline up to the crash, when it had one; the essay is saved either way.
    if (!draft->pace.entries.isEmpty()) {
        QString notLogged;
        appendNotes(notesFilePath(essayPath),
                    timelineEntry(record, recordDate(draft->changed, locale),
                                  recordTime(draft->changed, locale), draft->pace),
                    notLogged);
    }
    // Dying here leaves the draft beside a record that holds it; the next start
    // sees that and only removes the draft.
    QFile::remove(claimed.path());
    return Recovery::Saved;
}

DraftKeeper::DraftKeeper(const QString& appFolder, Clock& clock, Source source, QObject* parent)
    : QObject(parent), folder_(draftFolder(appFolder)), clock_(clock), source_(std::move(source)),
      quiet_(this), longest_(this)
{
    quiet_.setObjectName(QStringLiteral("DraftQuietTimer"));
    quiet_.setInterval(QuietMs);
    longest_.setObjectName(QStringLiteral("DraftLongestTimer"));
    longest_.setInterval(LongestMs);
    for (QTimer* timer : {&quiet_, &longest_}) {
        timer->setSingleShot(true);
        // A coarse timer may fire 5 % late; the longest wait is a promise.
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, &DraftKeeper::writeNow);
    }
}

// The draft stays: a program that ends without ending the section (an untrapped
// fault) leaves it for the next start. Only the lock goes, once the last write
// is done.
DraftKeeper::~DraftKeeper()
{
    finish();
}

void DraftKeeper::changed()
{
    changed_ = clock_.now();
    quiet_.start();
    if (!longest_.isActive())
        longest_.start();
}

void DraftKeeper::writeNow()
{
    quiet_.stop();
    longest_.stop();
    const std::optional<Draft> current = source_();
    if (!current)
        return;
    if (writing_.valid() &&
        writing_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        // The disk is slower than the typist: try again after the next pause.
        quiet_.start();
        return;
    }
    finish();
    if (current->answer.isEmpty()) {
        if (!path_.isEmpty())
            QFile::remove(path_);
        return;
    }
    if (path_.isEmpty() && !claimPlace())
        return;
    Draft draft = *current;
    draft.changed = changed_.isValid() ? changed_ : clock_.now();
    // A draft that cannot be written is not the candidate's concern now; the
    // save at the end of the section reports its own fault.
    writing_ = std::async(std::launch::async, [path = path_, draft = std::move(draft)] {
        writeDraftFile(path, draft);
    });
}

void DraftKeeper::finish()
{
    if (writing_.valid())
        writing_.get();
}

void DraftKeeper::discard()
{
    quiet_.stop();
    longest_.stop();
    // A write still under way must not bring the draft back after its removal.
    finish();
    if (!path_.isEmpty())
        QFile::remove(path_);
    lock_.reset();
    path_.clear();
}

std::optional<QString> DraftKeeper::claim()
{
    if (!path_.isEmpty() || claimPlace())
        return std::nullopt;
    const QFileInfo folder(QDir::cleanPath(folder_));
    if (!folder.exists())
        return QStringLiteral("The folder does not exist.");
    if (!folder.isDir())
        return QStringLiteral("A file stands in the folder's place.");
    // The system's own words for what stops a file being made there.
    QTemporaryFile probe(QDir(folder_).filePath(QStringLiteral("draft-probe-XXXXXX")));
    if (!probe.open())
        return probe.errorString() + QLatin1Char('.');
    return QStringLiteral("Every place for a draft is taken by other copies of the program.");
}

bool DraftKeeper::claimPlace()
{
    // The user folder is the user's to make; without it there is no draft.
    const QDir dir(folder_);
    if (!dir.exists())
        return false;
    for (int place = 1; place <= MostPlaces; ++place) {
        const QString path = dir.filePath(placeName(place));
        std::unique_ptr<QLockFile> lock = lockFor(path);
        // A draft without a live owner waits for the next start's recovery.
        if (!lock->tryLock(0) || QFileInfo::exists(path))
            continue;
        removeLeftoverTemporaries(dir, placeName(place));
        lock_ = std::move(lock);
        path_ = path;
        return true;
    }
    return false;
}
