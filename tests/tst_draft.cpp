#include "windows.h"

#include "exam/draft.h"
#include "platform/textio.h"

#include <QDir>
#include <QtTest>

#include <unistd.h>

namespace {
constexpr auto Ok = MessageBoxes::AnswerOk, Cancel = MessageBoxes::AnswerCancel;
const QDateTime Changed(QDate(2026, 3, 14), QTime(9, 26, 53));

Draft Sample(bool issue, const QString& answer)
{
    return {issue ? EssayKind::Issue : EssayKind::Argument, "12", "\r\nTopic\r\n", answer, Changed};
}
QByteArray Record(const Draft& d)
{
    return ToCodePage(BuildEssayRecord(d.kind, d.number, RecordDate(d.changed, QLocale()),
                                       RecordTime(d.changed, QLocale()), d.topicText, d.answer));
}
// The draft files (and their locks and temporaries) in the user folder.
QStringList Drafts(const ProgramFolder& folder)
{
    return QDir(folder.file(QStringLiteral("user"))).entryList({"draft*"}, QDir::Files);
}
} // namespace

class TestDraft : public QObject {
    Q_OBJECT
private slots:
    // A draft left by a crash, met by the next start: the round trip, damage,
    // the essay file's faults, and an answer that already reached the file.
    void recoveryAtStart_data()
    {
        QTest::addColumn<bool>("issue");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("before"); // the essay file
        QTest::addColumn<QString>("fault");     // of the draft or of the essay file
        QTest::addColumn<int>("boxes");
        QTest::newRow("issue") << true << "One line." << QByteArray() << "" << 2;
        QTest::newRow("argument, non-ASCII, CR LF") << false << "Ärger —\r\n\r\n€ \U0001F600\r\n"
                                                    << QByteArray() << "" << 2;
        QTest::newRow("layout in the answer") << true << "Answer: 3 characters\r\nEnd of draft\r\n"
                                              << QByteArray() << "" << 2;
        QTest::newRow("damaged: cut off") << true << "Words." << QByteArray() << "cut" << 1;
        QTest::newRow("damaged: count") << true << "Words." << QByteArray() << "count" << 1;
        QTest::newRow("essay file read-only") << true << "A." << QByteArray("x") << "ro" << 3;
        QTest::newRow("essay file a folder") << true << "A." << QByteArray() << "folder" << 3;
        Draft saved = Sample(true, "Once.\r\nOnce.");
        QTest::newRow("died in recovery") << true << saved.answer << Record(saved) << "" << 0;
        saved.changed = saved.changed.addSecs(40); // the section ended after the last change
        QTest::newRow("died after a save") << true << saved.answer << Record(saved) << "" << 0;
    }
    void recoveryAtStart()
    {
        QFETCH(bool, issue);
        QFETCH(QString, answer);
        QFETCH(QByteArray, before);
        QFETCH(QString, fault);
        QFETCH(int, boxes);
        ProgramFolder folder;
        const Draft draft = Sample(issue, answer);
        QByteArray bytes = ToCodePage(DraftText(draft));
        bytes = fault == "cut"     ? bytes.chopped(20)
                : fault == "count" ? QByteArray(bytes).replace("6 char", "7 char")
                                   : bytes;
        folder.write("user/draft.txt", bytes);
        const QString essay = issue ? "user/ai12.txt" : "user/aa12.txt";
        if (!before.isEmpty())
            folder.write(essay, before);
        if (fault == "ro" &&
            (geteuid() == 0 || !QFile(folder.file(essay)).setPermissions(QFile::ReadOwner)))
            QSKIP("root writes to read-only files");
        if (fault == "folder")
            QDir().mkpath(folder.file(essay));
        FakePlatform fake;
        auto start = LoadProgram(fake.seams, folder.path());
        QCOMPARE(fake.boxes.asked.size(), boxes);
        const QStringList said = fake.boxes.prompts();
        // Which topic and when it was last changed, then the question.
        QVERIFY(boxes < 2 || (said[0].contains(issue ? "Issue No.12" : "Argument No.12") &&
                              said[0].contains(RecordTime(Changed, QLocale())) &&
                              said[1] == "Do you want to save it?"));
        const QString left = boxes == 1 ? "draft (damaged).txt" : boxes == 3 ? "draft.txt" : "";
        if (boxes % 2) // the one box that names the file kept, or the one not written
            QVERIFY(said.last().contains(
                QDir::toNativeSeparators(folder.file(boxes == 1 ? "user/" + left : essay))));
        if (fault != "folder")
            QCOMPARE(folder.read(essay), boxes == 2 ? Record(draft) : before);
        QCOMPARE(Drafts(folder), left.isEmpty() ? QStringList() : QStringList{left});
        QCOMPARE(folder.read("user/" + left), left.isEmpty() ? QByteArray() : bytes);
    }

    void twoCopiesAndAKilledOne()
    {
        ProgramFolder folder;
        const QString app = folder.path() + QLatin1Char('/');
        FakePlatform fake;
        DraftKeeper a(app, fake.clock, [] { return Sample(true, "Copy A."); });
        a.WriteNow();
        // A second copy starts: it neither claims nor overwrites the first one's draft.
        QVERIFY(ClaimOrphanDrafts(app).empty());
        auto b = std::make_unique<DraftKeeper>(app, fake.clock, [] { return Sample(false, "B."); });
        b->WriteNow();
        a.Finish(); // the write runs on a thread of its own
        QCOMPARE(ReadDraftFile(a.path())->answer, "Copy A.");
        // B is killed in the middle of a write: a stale lock and a half-written temporary.
        b.reset();
        folder.write("user/draft-2.txt.lock",
                     "2147483646\nqelsim\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        folder.write("user/draft-2.txt.Ab12Cd", "QEL Simulator draft: an ans");
        const std::vector<ClaimedDraft> orphans = ClaimOrphanDrafts(app);
        QCOMPARE(orphans.size(), std::size_t(1));
        QString detail;
        const auto wantB = [](const Draft& d) { return d.answer == "B."; };
        QCOMPARE(RecoverDraft(app, orphans[0], QLocale::system(), wantB, detail), Recovery::Saved);
        QCOMPARE(Drafts(folder), QStringList({"draft-2.txt.lock", "draft.txt", "draft.txt.lock"}));
    }

    // What ending the section leaves; a missing user folder is never created.
    void removalRules_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QList<MessageBoxes::Answer>>("answers");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("left");
        const QStringList kept{"draft.txt", "draft.txt.lock"};
        QTest::newRow("saved") << "Essay." << QList{Ok, Ok} << "" << QStringList();
        QTest::newRow("refused") << "Essay." << QList{Cancel, Ok} << "" << QStringList();
        QTest::newRow("emptied") << "" << QList{Ok} << "" << QStringList();
        QTest::newRow("save failed") << "Essay." << QList{Ok, Ok} << "user/ai12.txt" << kept;
        QTest::newRow("no user folder") << "Essay." << QList{Ok, Ok} << "user" << QStringList();
    }
    void removalRules()
    {
        QFETCH(QString, answer);
        QFETCH(QList<MessageBoxes::Answer>, answers);
        QFETCH(QString, fault);
        QFETCH(QStringList, left);
        LoadedProgram p;
        const QString faulty = p.folder.file(fault);
        fault == "user" ? void(QDir(faulty).removeRecursively()) : void(QDir().mkpath(faulty));
        p.startQuestion(true, "12");
        Frmmain& t = p.test();
        t.Text2->setPlainText("First words.");
        // Typing arms both the quiet wait and the longest one.
        for (const char* timer : {"DraftQuietTimer", "DraftLongestTimer"})
            QVERIFY(t.findChild<QTimer*>(timer)->isActive());
        auto* keeper = t.findChild<DraftKeeper*>();
        keeper->WriteNow();
        keeper->Finish();
        QCOMPARE(Drafts(p.folder).size(), fault == "user" ? 0 : 2);
        QVERIFY(p.fake.boxes.asked.isEmpty());
        t.Text2->setPlainText(answer);
        p.fake.boxes.answers = answers;
        t.EndSection();
        QCOMPARE(Drafts(p.folder), left);
        QCOMPARE(QFileInfo::exists(p.folder.file("user")), fault != "user");
    }
};

QTEST_MAIN(TestDraft)
#include "tst_draft.moc"
