#include "windows.h"

#include "exam/essayfile.h"
#include "widgets/picturebox.h"
#include "widgets/pictures.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

#include <unistd.h>

namespace {
const MessageBoxes::Answer Ok = MessageBoxes::AnswerOk;
const MessageBoxes::Answer Cancel = MessageBoxes::AnswerCancel;

QImage Image(const PictureBox* box)
{
    return box->picture().toImage().convertToFormat(QImage::Format_RGB32);
}
QImage Gif(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}
} // namespace

class TestEndSection : public QObject {
    Q_OBJECT
private slots:
    void savesAndReturns_data()
    {
        QTest::addColumn<bool>("issue");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("numberRow");
        QTest::newRow("issue 12 test quit") << true << "12"
                                            << "Picture1"
                                            << "user/ai12.txt"
                                            << "Issue No.12";
        QTest::newRow("argument 7 section exit") << false << "7"
                                                 << "Picture2"
                                                 << "user/aa7.txt"
                                                 << "Argument No.7";
    }
    void savesAndReturns()
    {
        QFETCH(bool, issue);
        QFETCH(QString, number);
        QFETCH(QString, button);
        QFETCH(QString, file);
        QFETCH(QString, numberRow);
        LoadedProgram p;
        p.fake.clock.now = QDateTime(QDate(2026, 3, 4), QTime(21, 6, 5));
        p.startQuestion(issue, number);
        Frmmain& t = p.test();
        t.Text2->setPlainText(QStringLiteral("line one\nline two"));
        t.Next(); // armed buttons go back to rest after another question
        // The record keeps the time of the click, however long the box stays open.
        p.fake.boxes.whileOpen = [&] { p.fake.clock.now = p.fake.clock.now.addSecs(600); };
        QTest::mouseClick(t.findChild<PictureBox*>(button), Qt::LeftButton);

        QCOMPARE(p.fake.boxes.prompts(), QStringList({"Do you want to save it?",
                                                      "Do you want to start another question?"}));
        for (const AskedBox& box : p.fake.boxes.asked) {
            QCOMPARE(box.title, QStringLiteral("Quit"));
            QCOMPARE(box.icon, MessageBoxes::Information);
            QCOMPARE(box.buttons, MessageBoxes::OkCancel);
        }
        const QLocale locale = QLocale::system();
        const QDateTime click(QDate(2026, 3, 4), QTime(21, 6, 5));
        const QString topic = BoxText(t.Text1);
        const QByteArray expected =
            ("\r\n\r\n********************\r\nDate: " + RecordDate(click, locale) +
             "\r\nTime: " + RecordTime(click, locale) + "\r\n" + numberRow +
             "\r\n********************\r\nQuestion:\r\n\r\n" + topic +
             "\r\n********************\r\n\r\nYour Answer:\r\n\r\nline one\r\nline two\r\n")
                .toUtf8();
        QCOMPARE(p.folder.read(file), expected);
        QVERIFY(!t.isVisible());
        QVERIFY(p.start->isVisible());
        QCOMPARE(p.start->Text1->text(), number);
        QVERIFY(p.fake.end.statuses.isEmpty());
        QVERIFY(!t.Picture5->isEnabled());
        QVERIFY(t.Picture6->isEnabled());
        QCOMPARE(Image(t.Picture5), Gif(p.folder.file("confirm0.gif")));
        QCOMPARE(Image(t.Picture6), Gif(p.folder.file("next0.gif")));
        QCOMPARE(t.Label5->text(), QStringLiteral("30:00"));
        QVERIFY(!t.Timer1->isActive());
        // The answer stays, hidden, until the next start empties it.
        QCOMPARE(t.Text2->toPlainText(), QStringLiteral("line one\nline two"));
    }

    void secondSaveAppends()
    {
        LoadedProgram p;
        for (const char* answer : {"first", "second"}) {
            p.startQuestion(true, QStringLiteral("12"));
            p.test().Text2->setPlainText(QString::fromLatin1(answer));
            p.test().EndSection();
        }
        const QByteArray bytes = p.folder.read(QStringLiteral("user/ai12.txt"));
        QCOMPARE(bytes.count("Your Answer:"), 2);
        QVERIFY(bytes.indexOf("first") < bytes.indexOf("second"));
        QVERIFY(bytes.startsWith("\r\n\r\n****"));
        QVERIFY(bytes.contains("first\r\n\r\n\r\n****"));
    }

    void answersDecideTheRoad_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QList<MessageBoxes::Answer>>("answers");
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("ended");
        const QString save = QStringLiteral("Do you want to save it?");
        const QString another = QStringLiteral("Do you want to start another question?");
        QTest::newRow("empty answer skips the save question")
            << "" << QList<MessageBoxes::Answer>{Ok} << QStringList{another} << false << false;
        QTest::newRow("blanks count as an answer") << " \n " << QList<MessageBoxes::Answer>{Ok, Ok}
                                                   << QStringList{save, another} << true << false;
        QTest::newRow("cancel the save") << "text" << QList<MessageBoxes::Answer>{Cancel, Ok}
                                         << QStringList{save, another} << false << false;
        QTest::newRow("cancel another question ends the program")
            << "text" << QList<MessageBoxes::Answer>{Ok, Cancel} << QStringList{save, another}
            << true << true;
    }
    void answersDecideTheRoad()
    {
        QFETCH(QString, answer);
        QFETCH(QList<MessageBoxes::Answer>, answers);
        QFETCH(QStringList, prompts);
        QFETCH(bool, saved);
        QFETCH(bool, ended);
        LoadedProgram p;
        p.startQuestion(false, QStringLiteral("7"));
        p.test().Text2->setPlainText(answer);
        p.fake.boxes.answers = answers;
        p.test().EndSection();
        QCOMPARE(p.fake.boxes.prompts(), prompts);
        QCOMPARE(QFile::exists(p.folder.file("user/aa7.txt")), saved);
        QCOMPARE(p.fake.end.statuses, ended ? QList<int>{0} : QList<int>{});
        QCOMPARE(p.test().Label5->text(), QStringLiteral("30:00"));
    }

    void modeCodeGuard()
    {
        LoadedProgram p;
        p.test().show();
        p.test().Text2->setPlainText(QStringLiteral("text"));
        p.test().EndSection(); // no question has started: Label3 is empty
        QVERIFY(p.fake.boxes.asked.isEmpty());
        QCOMPARE(p.test().Label5->text(), QStringLiteral("00:30"));
        QVERIFY(p.test().isVisible());
    }

    void closeRequestRunsTestQuit()
    {
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("1"));
        p.test().Text2->setPlainText(QStringLiteral("text"));
        p.fake.boxes.answers = {Cancel, Ok};
        p.test().close();
        QCOMPARE(p.fake.boxes.prompts().size(), 2);
        QVERIFY(!p.test().isVisible());
        QVERIFY(p.start->isVisible());
    }

    void answerConfirmOnlyWhenArmed()
    {
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("1"));
        QTest::mouseClick(p.test().Picture5, Qt::LeftButton);
        QVERIFY(p.fake.boxes.asked.isEmpty());
        QTest::mouseClick(p.test().Picture6, Qt::LeftButton);
        QVERIFY(p.test().Picture5->isEnabled());
        QVERIFY(!p.test().Picture6->isEnabled());
        QTest::mouseClick(p.test().Picture6, Qt::LeftButton); // off: does nothing
        QTest::mouseClick(p.test().Picture5, Qt::LeftButton);
        QCOMPARE(p.fake.boxes.prompts(), QStringList{"Do you want to start another question?"});
    }

    // A save that fails shows why and keeps everything on screen.
    void failedSaveKeepsTheAnswer_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("no user folder") << "nofolder";
        QTest::newRow("folder in the file's place") << "dir";
        QTest::newRow("read-only file") << "readonly";
        QTest::newRow("full disk") << "full";
    }
    void failedSaveKeepsTheAnswer()
    {
        QFETCH(QString, fault);
        LoadedProgram p;
        const QString file = p.folder.file(QStringLiteral("user/ai5.txt"));
        const QByteArray old = "\r\n\r\nan older record\r\n";
        if (fault == QLatin1String("nofolder")) {
            QVERIFY(QDir(p.folder.file(QStringLiteral("user"))).removeRecursively());
        } else if (fault == QLatin1String("dir")) {
            QVERIFY(QDir().mkpath(file));
        } else if (fault == QLatin1String("readonly")) {
            if (geteuid() == 0)
                QSKIP("root can write to a read-only file");
            p.folder.write(QStringLiteral("user/ai5.txt"), old);
            QFile(file).setPermissions(QFile::ReadOwner);
        } else {
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), file));
        }
        p.startQuestion(true, QStringLiteral("5"));
        Frmmain& t = p.test();
        t.Text2->setPlainText(QStringLiteral("my precious essay"));
        t.EndSection();
        QCOMPARE(p.fake.boxes.asked.size(), 2);
        const AskedBox& failure = p.fake.boxes.asked.at(1);
        QVERIFY2(failure.prompt.contains(file), qPrintable(failure.prompt));
        QCOMPARE(failure.icon, MessageBoxes::Exclamation);
        QVERIFY(t.isVisible());
        QVERIFY(!p.start->isVisible());
        QCOMPARE(t.Text2->toPlainText(), QStringLiteral("my precious essay"));
        QCOMPARE(t.Label2->text(), QStringLiteral("Issue 5"));
        QCOMPARE(t.Label5->text(), QStringLiteral("00:30")); // as before the section was ended
        QVERIFY(p.fake.end.statuses.isEmpty());
        if (fault == QLatin1String("readonly"))
            QCOMPARE(p.folder.read(QStringLiteral("user/ai5.txt")), old);
        // Mend the cause and end the section again: now it saves.
        if (fault == QLatin1String("nofolder"))
            QVERIFY(QDir().mkpath(p.folder.file(QStringLiteral("user"))));
        else
            QVERIFY(QFile(file).remove() || QDir(file).removeRecursively());
        p.fake.boxes.asked.clear();
        t.EndSection();
        QCOMPARE(p.fake.boxes.asked.size(), 2);
        QVERIFY(p.folder.read(QStringLiteral("user/ai5.txt")).endsWith("my precious essay\r\n"));
    }

    void missingGifsFallBack()
    {
        LoadedProgram p;
        for (const char* gif : {"confirm0.gif", "next0.gif", "confirm1.gif", "next1.gif"})
            QVERIFY(QFile::remove(p.folder.file(QString::fromLatin1(gif))));
        p.folder.write(QStringLiteral("next0.gif"), "not a picture");
        p.startQuestion(true, QStringLiteral("1"));
        Frmmain& t = p.test();
        t.Next();
        QVERIFY(t.Picture5->isEnabled());
        QVERIFY(!t.Picture6->isEnabled());
        QCOMPARE(Image(t.Picture5),
                 BuiltInPicture("confirm1.png").toImage().convertToFormat(QImage::Format_RGB32));
        t.EndSection();
        QVERIFY(p.start->isVisible());
        QCOMPARE(Image(t.Picture6),
                 BuiltInPicture("next0.png").toImage().convertToFormat(QImage::Format_RGB32));
        QVERIFY(p.fake.end.statuses.isEmpty());
    }
};

QTEST_MAIN(TestEndSection)
#include "tst_endsection.moc"
