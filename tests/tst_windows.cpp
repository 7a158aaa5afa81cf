// The three windows in-process, on the offscreen platform, with scripted seams.
#include "qeltest.h"
#include "windows.h"

#include "about/frmabout.h"
#include "platform/product.h"
#include "start/practice.h"
#include "widgets/picturebox.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

#include <unistd.h>

struct Start {
    bool issue, random;
    QString entry, heading, topic; // no heading: "Wrong Number"
};
struct End {
    int button; // 0: a close request
    QString answer;
    MessageBoxes::Answer save, another;
    bool saved;
};
struct Edit {
    int button, from, to;
    QString clipboard, left, after; // clipboard "-": none
};
struct HelpCase {
    bool issue;
    QString answer;
    QByteArray saved; // null: no file
    QString text, clipboard;
};
Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(End)
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(HelpCase)

namespace {

const QString Another = QStringLiteral("Do you want to start another question?");
const QString SaveIt = QStringLiteral("Do you want to save it?");

// Places as "name left top width height, ...", in pixels.
void CheckPlaces(QWidget& window, const QString& places)
{
    for (const QString& place : places.split(", ")) {
        const QStringList f = place.split(' ');
        const auto* w = window.findChild<QWidget*>(f[0]);
        QVERIFY2(w &&
                     w->geometry() == QRect(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt()),
                 qPrintable(place));
    }
}

} // namespace

class TestWindows : public QObject {
    Q_OBJECT
private slots:
    void init() { QGuiApplication::clipboard()->setText(QStringLiteral("on the clipboard")); }

    void startWindow()
    {
        LoadedProgram p;
        Frmstart& s = *p.start;
        QVERIFY(QTest::qWaitForWindowActive(&s));
        QCOMPARE(s.windowTitle(), "QEL Simulator 1.0 (" + Product::WebAddress + ")");
        QCOMPARE(s.size(), QSize(414, 269));
        CheckPlaces(s, "Frame1 16 16 169 233, Option1 16 24 113 17, Option2 16 40 121 17, "
                       "Label1 32 104 49 17, Text1 72 96 49 22, Check1 32 128 113 25, "
                       "Command2 48 176 73 25, Frame2 224 16 169 89, Command3 48 32 73 25, "
                       "Command1 232 128 65 25, Command4 320 128 65 25, Picture1 216 192 183 59");
        QVERIFY(s.Option1->isChecked() && !s.Option2->isChecked() && !s.Check1->isChecked());
        QCOMPARE(s.Text1->text(), QStringLiteral("1"));
        QVERIFY(s.Text1->isEnabled() && !s.Command3->isEnabled());
        QCOMPARE(s.ArgumentTopics.at(140), QStringLiteral("Argument topic 141\r\n"));
        QStringList visited;
        for (int i = 0; i < 8; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, QStringList({"Command1", "Option1", "Text1", "Check1", "Command2",
                                       "Picture1", "Command4", "Command1"}));
        for (const auto& [button, letter] :
             {std::pair{s.Command1, Qt::Key_Q}, {s.Command2, Qt::Key_S}, {s.Command4, Qt::Key_A}})
            QCOMPARE(button->shortcut(), QKeySequence(Qt::ALT | letter));
        // Random Select greys the number box and keeps its text.
        s.Text1->setText(QStringLiteral("42"));
        s.Check1->click();
        QVERIFY(!s.Text1->isEnabled());
        s.Check1->click();
        QVERIFY(s.Text1->isEnabled());
        QCOMPARE(s.Text1->text(), QStringLiteral("42"));
        p.fake.shell.succeed = false; // a failure to open the site shows nothing
        QTest::mouseClick(s.Picture1, Qt::LeftButton);
        QCOMPARE(p.fake.shell.opened, QStringList{Product::WebAddress});
        QCOMPARE(s.Picture1->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(s.Picture1->toolTip(), QStringLiteral("Click to visit our website"));
        // Enter presses the focused button; closing the window is Quit.
        QTest::keyClick(s.Command1, Qt::Key_Return);
        s.close();
        QCOMPARE(p.fake.end.statuses, QList<int>({0, 0}));
        QVERIFY(p.fake.boxes.asked.isEmpty());
    }

    // A start fills the test window; a bad entry is refused with "Wrong Number".
    void practiceStart_data()
    {
        Columns<Start>("s");
        Row("issue 1.4", Start{true, false, "1.4", "Issue 1", "\r\nIssue topic 1\r\n"});
        Row("issue 149.5", Start{true, false, "149.5", "Issue 150", "\r\nIssue topic 150\r\n"});
        Row("argument 141",
            Start{false, false, "141", "Argument 141",
                  "\r\nArgument topic 141\r\n\r\n\r\n" + ArgumentDirections + "\r\n"});
        Row("issue 151", Start{true, false, "151", "", ""});
        Row("argument 142", Start{false, false, "142", "", ""});
        Row("random ignores the box", Start{true, true, "abc", "Issue ", ""});
    }
    void practiceStart()
    {
        QFETCH(Start, s);
        LoadedProgram p;
        Frmmain& t = p.test();
        t.Text2->setPlainText(QStringLiteral("left from before"));
        p.start->Check1->setChecked(s.random);
        p.startQuestion(s.issue, s.entry);
        const bool wrong = s.heading.isEmpty();
        QCOMPARE(p.fake.boxes.prompts().join(""), wrong ? "Wrong Number" : "");
        QCOMPARE(p.start->Text1->text(), wrong ? "1" : s.entry);
        QVERIFY(p.start->isVisible() == wrong && t.isVisible() != wrong &&
                t.Timer1->isActive() != wrong);
        if (wrong) {
            QVERIFY(p.fake.boxes.asked.first().title == "Error!" &&
                    p.fake.boxes.asked.first().icon == MessageBoxes::Exclamation);
            return;
        }
        QVERIFY(t.Label2->text().startsWith(s.heading));
        QCOMPARE(t.Label2->text(), s.heading.left(s.heading.indexOf(' ') + 1) + t.Label4->text());
        QCOMPARE(t.Label3->text(), s.issue ? "2" : "1");
        QCOMPARE(t.Label1->text(), s.issue ? "GMAT Test - Section 2: Analytical Writing 2"
                                           : "GMAT Test - Section 1: Analytical Writing 1");
        QVERIFY(s.topic.isEmpty() || BoxText(t.Text1) == s.topic);
        QVERIFY(t.Text2->document()->isEmpty());
        QVERIFY(QTest::qWaitForWindowActive(&t));
        QCOMPARE(QApplication::focusWidget(), t.Text2);
        QTest::mouseClick(t.Text1->viewport(), Qt::LeftButton); // the topic hands the caret on
        QCOMPARE(QApplication::focusWidget(), t.Text2);
    }

    void testWindowLoad()
    {
        LoadedProgram p;
        Frmmain& t = p.test();
        QVERIFY(!t.isVisible() && (t.windowFlags() & Qt::FramelessWindowHint));
        QCOMPARE(t.size(), QSize(638, 480));
        QCOMPARE(t.AppFolder, p.folder.path() + QLatin1Char('/'));
        QVERIFY(t.Countdown.CountdownStart == 0.0 && t.Countdown.RestartPending);
        QVERIFY(!t.Timer1->isActive() && t.Timer1->interval() == 500);
        QVERIFY(t.Label5->text() == "00:30" && t.Label6->text() == "30");
        QVERIFY(!t.Picture5->isEnabled() && t.Picture6->isEnabled() && t.Text1->isReadOnly());
        CheckPlaces(t,
                    "Label1 0 2 641 17, Label5 8 2 49 17, Label3 16 32 25 17, Label4 72 32 41 17, "
                    "Label6 128 32 33 17, Label2 16 80 193 17, Text1 12 96 616 163, "
                    "Text2 19 264 530 171, Picture7 554 269 67 43, Picture8 554 317 67 43, "
                    "Picture9 554 365 67 43, Picture1 11 439 45 40, Picture2 58 439 45 40, "
                    "Picture3 105 439 45 40, Picture4 490 439 45 40, Picture5 537 439 45 40, "
                    "Picture6 584 439 45 40");
        QVERIFY(t.children().indexOf(t.Label5) >
                t.children().indexOf(t.Label1)); // the clock on top
        for (QLabel* hidden : {t.Label3, t.Label4, t.Label6})
            QVERIFY(!hidden->isVisibleTo(&t));
    }

    // The countdown through the window, on the fake clock.
    void countdown()
    {
        LoadedProgram p;
        Frmmain& t = p.test();
        p.startQuestion(true, QStringLiteral("3"));
        p.fake.clock.elapsed = 90000; // the first tick takes its own reading as the start
        t.TimerTick();
        for (const bool shown : {false, true, false}) {
            Click(t.Picture3);
            QCOMPARE(t.Label5->isVisible(), shown);
        }
        p.fake.clock.elapsed += 61;
        t.TimerTick();
        QVERIFY(t.Label5->text() == "00:28" && !t.Label5->isVisible() && t.Picture3->isEnabled());
        p.fake.clock.elapsed += 1440; // 1501 s: the last five minutes force the clock on
        t.TimerTick();
        QVERIFY(t.Label5->text() == "04:59" && t.Label5->isVisible() && !t.Picture3->isEnabled());
        p.fake.clock.elapsed += 299;
        t.TimerTick();
        QVERIFY(t.Label5->text() == "00:00" && p.fake.boxes.asked.isEmpty());
        t.TimerTick();
        const AskedBox up = p.fake.boxes.asked.value(0);
        QVERIFY(up.prompt == "Time Up!" && up.title == "Time Up!" &&
                up.icon == MessageBoxes::Exclamation);
        QVERIFY(p.fake.boxes.asked.size() == 1 && !t.Timer1->isActive() &&
                t.Label5->text() == "00:00");
        t.EndSection(); // the clock at rest
        QVERIFY(t.Label5->text() == "30:00" && t.Label5->isVisibleTo(&t) &&
                t.Picture3->isEnabled());
        QVERIFY(!t.Timer1->isActive() && t.Countdown.RestartPending);
    }

    // Ending a section: which boxes are asked, what is saved, where the user goes.
    void endSection_data()
    {
        Columns<End>("e");
        Row("test quit, save, another",
            End{1, "essay", MessageBoxes::AnswerOk, MessageBoxes::AnswerOk, true});
        Row("section exit, end",
            End{2, "essay", MessageBoxes::AnswerOk, MessageBoxes::AnswerCancel, true});
        Row("answer confirm",
            End{5, "essay", MessageBoxes::AnswerOk, MessageBoxes::AnswerOk, true});
        Row("close request", End{0, "essay", MessageBoxes::AnswerOk, MessageBoxes::AnswerOk, true});
        Row("cancel the save",
            End{1, "essay", MessageBoxes::AnswerCancel, MessageBoxes::AnswerOk, false});
        Row("empty answer",
            End{1, "", MessageBoxes::AnswerCancel, MessageBoxes::AnswerCancel, false});
        Row("blanks are an answer",
            End{1, " \n", MessageBoxes::AnswerOk, MessageBoxes::AnswerOk, true});
        Row("unusual characters", End{1, QString::fromUtf8("a\u00a0b\u2028c\td\u00e9"),
                                      MessageBoxes::AnswerOk, MessageBoxes::AnswerOk, true});
    }
    void endSection()
    {
        QFETCH(End, e);
        LoadedProgram p;
        Frmmain& t = p.test();
        t.EndSection(); // before any question, there is nothing to end
        QVERIFY(p.fake.boxes.asked.isEmpty());
        p.startQuestion(true, QStringLiteral("12"));
        t.Text2->setPlainText(e.answer);
        Click(t.Picture5); // off until Next arms it
        QVERIFY(p.fake.boxes.asked.isEmpty());
        if (e.button == 5)
            Click(t.Picture6);
        const QDateTime click = p.fake.clock.now;
        p.fake.boxes.whileOpen = [&p] { p.fake.clock.now = p.fake.clock.now.addDays(1); };
        p.fake.boxes.answers = {e.save, e.another};
        if (e.answer.isEmpty())
            p.fake.boxes.answers.removeFirst();
        if (e.button == 0)
            t.close();
        else
            Click(t.findChild<PictureBox*>(QStringLiteral("Picture%1").arg(e.button)));
        QCOMPARE(p.fake.boxes.prompts(),
                 e.answer.isEmpty() ? QStringList{Another} : QStringList({SaveIt, Another}));
        const AskedBox& last = p.fake.boxes.asked.last();
        QVERIFY(last.title == "Quit" && last.icon == MessageBoxes::Information &&
                last.buttons == MessageBoxes::OkCancel);
        const QByteArray file = p.folder.read(QStringLiteral("user/ai12.txt"));
        QCOMPARE(QDir(p.folder.file(QStringLiteral("user"))).count(), e.saved ? 3U : 2U);
        QString typed = e.answer;
        typed.replace(QChar::LineSeparator, '\n');
        if (e.saved) {
            const QLocale locale = QLocale::system();
            QVERIFY(file.contains(ToCodePage("Date: " + RecordDate(click, locale) +
                                             "\r\nTime: " + RecordTime(click, locale))));
            QVERIFY(
                file.endsWith("Your Answer:\r\n\r\n" + ToCodePage(FromWidgetText(typed)) + "\r\n"));
        }
        const bool another = e.another == MessageBoxes::AnswerOk;
        QCOMPARE(p.fake.end.statuses, another ? QList<int>() : QList<int>{0});
        QVERIFY(t.isVisible() != another && p.start->isVisible() == another);
        QVERIFY(!t.Picture5->isEnabled() && t.Picture6->isEnabled());
        QCOMPARE(t.Label5->text(), QStringLiteral("30:00"));
        QCOMPARE(WidgetText(t.Text2), typed); // kept, hidden, until the next start
    }

    // Next swaps the two buttons' looks; a missing or broken GIF takes the built-in look.
    void buttonLooks()
    {
        LoadedProgram p;
        QVERIFY(QFile::remove(p.folder.file(QStringLiteral("confirm1.gif"))));
        p.folder.write(QStringLiteral("next1.gif"), "not a picture");
        p.startQuestion(true, QStringLiteral("1"));
        Frmmain& t = p.test();
        const QImage rest5 = t.Picture5->picture().toImage();
        const QImage rest6 = t.Picture6->picture().toImage();
        Click(t.Picture6);
        QVERIFY(t.Picture5->isEnabled() && !t.Picture6->isEnabled());
        QVERIFY(t.Picture5->picture().toImage() != rest5 &&
                t.Picture6->picture().toImage() != rest6);
        Click(t.Picture6); // off: a second click does nothing
        QVERIFY(t.Picture5->isEnabled());
        Click(t.Picture9); // Undo is a picture only
        Click(t.Picture5);
        QCOMPARE(p.fake.boxes.asked.size(), 1);
        QVERIFY(t.Picture5->picture().toImage() == rest5 &&
                t.Picture6->picture().toImage() == rest6);
    }

    void cutAndPaste_data()
    {
        Columns<Edit>("e");
        Row("cut a word", Edit{7, 3, 7, "", "one three\nfour", " two"});
        Row("cut across a line", Edit{7, 11, 15, "", "one two throur", "ee\nf"});
        Row("cut nothing", Edit{7, 3, 3, "", "one two three\nfour", "on the clipboard"});
        Row("paste at the caret", Edit{8, 3, 3, "X", "oneX two three\nfour", "X"});
        Row("paste over a selection", Edit{8, 0, 3, "X", "X two three\nfour", "X"});
        Row("paste nothing deletes", Edit{8, 3, 7, "-", "one three\nfour", ""});
        Row("paste CR LF", Edit{8, 0, 0, "a\r\nb", "a\nbone two three\nfour", "a\r\nb"});
    }
    void cutAndPaste()
    {
        QFETCH(Edit, e);
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("1"));
        Frmmain& t = p.test();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        t.Text2->setPlainText(QStringLiteral("one two three\nfour"));
        QTextCursor cursor = t.Text2->textCursor();
        cursor.setPosition(e.from);
        cursor.setPosition(e.to, QTextCursor::KeepAnchor);
        t.Text2->setTextCursor(cursor);
        if (e.clipboard == "-")
            QGuiApplication::clipboard()->clear();
        else if (!e.clipboard.isEmpty())
            QGuiApplication::clipboard()->setText(e.clipboard);
        Click(e.button == 7 ? t.Picture7 : t.Picture8);
        QCOMPARE(t.Text2->toPlainText(), e.left);
        QCOMPARE(QGuiApplication::clipboard()->text(), e.after);
        QCOMPARE(QApplication::focusWidget(), t.Text2);
    }

    // Help: the answer to the clipboard, the saved records below it, the clock at rest.
    void help_data()
    {
        Columns<HelpCase>("h");
        const QByteArray saved = "\r\n\r\n***\r\nold one\r\n";
        const QString back = "\r\n\r\n\r\n***\r\nold one";
        Row("issue 12",
            HelpCase{true, "new\r\nanswer", saved, "new\r\nanswer" + back, "new\nanswer"});
        Row("argument 12", HelpCase{false, "x", saved, "x" + back, "x"});
        Row("empty answer", HelpCase{true, "", saved, back, "on the clipboard"});
        Row("empty file", HelpCase{true, "", "", "", "on the clipboard"});
        Row("no file", HelpCase{true, "y", QByteArray(), "y", "y"});
    }
    void help()
    {
        QFETCH(HelpCase, h);
        LoadedProgram p;
        const QString file =
            h.issue ? QStringLiteral("user/ai12.txt") : QStringLiteral("user/aa12.txt");
        if (!h.saved.isNull())
            p.folder.write(file, h.saved);
        p.startQuestion(h.issue, QStringLiteral("12"));
        Frmmain& t = p.test();
        t.TimerTick();
        SetBoxText(t.Text2, h.answer);
        Click(t.Picture4);
        QCOMPARE(BoxText(t.Text2), h.text);
        QCOMPARE(QGuiApplication::clipboard()->text(), h.clipboard);
        QCOMPARE(t.Timer1->isActive(), h.saved.isNull()); // no file: the clock runs on
        QCOMPARE(t.Label5->text(), h.saved.isNull() ? "00:30" : "30:00");
        QVERIFY(h.saved.isEmpty() || t.Text2->textCursor().atEnd());
        QVERIFY(h.saved.isEmpty() ||
                t.Text2->verticalScrollBar()->value() == t.Text2->verticalScrollBar()->maximum());
    }

    void aboutWindow()
    {
        FakePlatform fake;
        frmAbout about(fake.seams, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QCOMPARE(about.windowTitle(), "About QEL Simulator 1.0 (" + Product::WebAddress + ")");
        QCOMPARE(about.lblTitle->text(), QStringLiteral("QEL Simulator 1.0"));
        QCOMPARE(about.lblVersion->text(),
                 "Author: " + Product::AuthorName + "\nMailto: " + Product::AuthorMail);
        QVERIFY(about.lblDisclaimer->text().startsWith(
            " The only granted distributor of this software is  " +
            Product::DistributorName.toUpper() + " " + Product::WebAddress));
        QCOMPARE(QApplication::focusWidget(), about.cmdOK);
        QCOMPARE(about.geometry(), QRect(407, 204, 387, 253));
        CheckPlaces(about,
                    "picIcon 16 16 183 59, lblTitle 208 16 131 16, lblVersion 208 40 171 31, "
                    "lblDescription 16 88 347 62, lblDisclaimer 17 168 242 87, "
                    "cmdOK 275 184 100 23, cmdSysInfo 276 216 99 23");
        QVERIFY(about.lblDescription->wordWrap() && about.lblDisclaimer->wordWrap());
        QTest::keyClick(about.cmdOK, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), about.picIcon);
        QTest::keyClick(about.picIcon, Qt::Key_Tab);
        QTest::keyClick(about.cmdSysInfo, Qt::Key_Return); // Enter presses the focused button
        QCOMPARE(fake.boxes.prompts(),
                 QStringList{"System information are temporarily unavailable."});
        QVERIFY(about.isVisible());
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
