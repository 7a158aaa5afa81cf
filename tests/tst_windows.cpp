// The three windows in-process, on the offscreen platform, with scripted seams;
// CTest runs them at screen scales 1, 1.5 and 2 (QT_SCALE_FACTOR).
#include "qeltest.h"
#include "windows.h"

#include "about/frmabout.h"
#include "exam/draft.h"
#include "platform/inputguard.h"
#include "platform/product.h"
#include "start/practice.h"
#include "widgets/drawing.h"

#include <QCheckBox>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

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
struct HelpCase {
    bool issue;
    QString answer;
    QByteArray saved; // null: no file
    QString text, clipboard;
};
struct LeftDraft {
    bool issue;
    QString answer;
    QByteArray before; // the essay file
    QString fault;     // of the draft or of the essay file
    int boxes;
};
Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(LeftDraft)
Q_DECLARE_METATYPE(End)
Q_DECLARE_METATYPE(HelpCase)

namespace {

constexpr auto Ok = MessageBoxes::AnswerOk, Cancel = MessageBoxes::AnswerCancel;
const QString Another = QStringLiteral("Do you want to start another question?");
const QString SaveIt = QStringLiteral("Do you want to save it?");

auto Rgb = [](const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); };
// A rectangle in device pixels, its edges rounded as the drawing rounds them.
QRect Device(const QRect& r, qreal s)
{
    return {QPoint(qRound(r.x() * s), qRound(r.y() * s)),
            QPoint(qRound((r.right() + 1) * s) - 1, qRound((r.bottom() + 1) * s) - 1)};
}
// Places as "name left top width height, ...", in pixels.
void CheckPlaces(QWidget& window, const QString& places)
{
    for (const QString& place : places.split(", ")) {
        const QStringList f = place.split(' ');
        const QRect want(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt());
        QCOMPARE(window.findChild<QWidget*>(f[0])->geometry(), want);
    }
}

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

class TestWindows : public QObject {
    Q_OBJECT
private slots:
    void init() { QGuiApplication::clipboard()->setText(QStringLiteral("on the clipboard")); }

    void startWindow()
    {
        LoadedProgram p;
        Frmstart& s = *p.start;
        QVERIFY(QTest::qWaitForWindowActive(&s));
        // The test window's controls are made once the start window is drawn, and only once.
        const QList<QTimer*> timers = s.findChildren<QTimer*>();
        QTRY_VERIFY(
            std::none_of(timers.begin(), timers.end(), [](QTimer* t) { return t->isActive(); }));
        QCOMPARE(s.windowTitle(), "QEL Simulator 1.0 (" + Product::WebAddress + ")");
        QCOMPARE(s.size(), QSize(414, 269));
        CheckPlaces(s, "Frame1 16 16 169 233, Option1 16 24 113 17, Option2 16 40 121 17, "
                       "Label1 32 104 49 17, Text1 72 96 49 22, Check1 32 128 113 25, "
                       "Command2 48 176 73 25, Frame2 224 16 169 89, Command3 48 32 73 25, "
                       "Command1 232 128 65 25, Command4 320 128 65 25, Picture1 216 192 183 59");
        QVERIFY(s.Option1->isChecked() && !s.Option2->isChecked() && !s.Check1->isChecked());
        QCOMPARE(s.Text1->text(), QStringLiteral("1"));
        QVERIFY(s.Text1->isEnabled() && !s.Command3->isEnabled());
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
        QVERIFY(s.Text1->isEnabled() && s.Text1->text() == "42");
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
        QCOMPARE(p.fake.boxes.prompts.join(""), wrong ? "Wrong Number" : "");
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
        QVERIFY(t.Text1->isReadOnly() && (t.windowFlags() & Qt::FramelessWindowHint));
        for (QLabel* hidden : {t.Label3, t.Label4, t.Label6})
            QVERIFY(!hidden->isVisible());
        QVERIFY(t.Text2->document()->isEmpty());
        QVERIFY(QTest::qWaitForWindowActive(&t));
        QCOMPARE(QApplication::focusWidget(), t.Text2);
        QTest::mouseClick(t.Text1->viewport(), Qt::LeftButton); // the topic hands the caret on
        QCOMPARE(QApplication::focusWidget(), t.Text2);
    }

    void paintingAt100IsTheStoredPicture()
    {
        const QString res = qEnvironmentVariable("QEL_SOURCE_DIR") + "/res/";
        for (const QString& name : DrawnPictureNames())
            QVERIFY2(Rgb(DrawPicture(name, 1.0)) == Rgb(QImage(res + name + ".png")),
                     qPrintable(name));
    }

    // On screen, each picture button shows exactly what the background draws
    // beneath it (also when its GIF is missing or broken), each text box covers
    // its drawn panel, the instruction box is the painting for the screen's
    // density, and the windows lie on the screen.
    void controlsLieOverTheirDrawnParts()
    {
        LoadedProgram p;
        QVERIFY(QFile::remove(p.folder.file("confirm0.gif")));
        p.folder.write("next0.gif", "not a picture");
        p.startQuestion(true, "1");
        Frmmain& t = p.test();
        const qreal s = t.devicePixelRatioF();
        QCOMPARE(t.size(), QSize(638, 480));
        QVERIFY(t.children().indexOf(t.Label5) > t.children().indexOf(t.Label1)); // clock on top
        QCOMPARE(s, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        const QImage background = Rgb(DrawPicture("background", s));
        const QImage shown = Rgb(t.grab().toImage());
        for (PictureBox* box : {t.Picture1, t.Picture2, t.Picture3, t.Picture4, t.Picture5,
                                t.Picture6, t.Picture7, t.Picture8, t.Picture9}) {
            const QRect place = Device(box->geometry(), s);
            QVERIFY2(shown.copy(place) == background.copy(place), qPrintable(box->objectName()));
        }
        Click(t.Picture6); // Next: both buttons take their other look
        const QImage armed = Rgb(t.grab().toImage());
        for (PictureBox* box : {t.Picture5, t.Picture6}) {
            const QRect place = Device(box->geometry(), s);
            QVERIFY(armed.copy(place) != background.copy(place));
        }
        const int two = qCeil(2 * s); // two pixels at 100 %
        for (QPlainTextEdit* text : {t.Text1, t.Text2}) {
            const QRect d = Device(text->geometry(), s);
            QCOMPARE(background.pixel(d.left() + two, d.top() + two), qRgb(255, 255, 255));
            QCOMPARE(background.pixel(d.center().x(), d.bottom() - two), qRgb(255, 255, 255));
            QVERIFY(background.pixel(d.left() - 1, d.center().y()) != qRgb(255, 255, 255));
            QVERIFY(background.pixel(d.center().x(), d.bottom() + two) != qRgb(255, 255, 255));
        }
        const QRect box = Device(QRect(12, 24, 616, 52), s);
        const QImage instruction = shown.copy(box);
        QCOMPARE(instruction, background.copy(box));
        // Too big for a small screen at a high scale, the window keeps to its corner.
        const QRect screen = t.screen()->availableGeometry();
        QVERIFY(screen.contains(t.frameGeometry()) ||
                t.frameGeometry().topLeft() == screen.topLeft());
        if (s != 2.0)
            return;
        // Sharp at 200 %: a picture doubled pixel for pixel has no 2x2 block with
        // detail in it; a smoothly blown-up one has no step from black to white
        // between neighbours. The painting for 200 % has plenty of both.
        int detailed = 0;
        int steps = 0;
        for (int y = 0; y + 1 < instruction.height(); y += 2) {
            for (int x = 0; x + 1 < instruction.width(); x += 2) {
                const QRgb c = instruction.pixel(x, y);
                detailed += instruction.pixel(x + 1, y) != c || instruction.pixel(x, y + 1) != c ||
                            instruction.pixel(x + 1, y + 1) != c;
                steps += qAbs(qGray(c) - qGray(instruction.pixel(x + 1, y))) > 160;
            }
        }
        const int blocks = instruction.width() * instruction.height() / 4;
        QVERIFY(detailed > blocks / 20 && steps > blocks / 100);
    }

    // The countdown through the window, on the fake clock: a tick takes the start,
    // the next comes `elapsed` later, and one more 0.4 s after that.
    void countdown_data()
    {
        Columns<double, QString, bool>("elapsed", "caption", "lastMinutes");
        Row("0.5 to even 0", 0.5, "00:30", false);
        Row("1500", 1500.0, "00:05", false);
        Row("1501", 1501.0, "04:59", true);
        Row("1798.5 to even", 1798.5, "00:02", true);
        Row("1799.5 to even", 1799.5, "00:00", true);
        Row("past the end", 2500.0, "00:00", true);
        Row("backwards", -80000.0, "00:30", false);
    }
    void countdown()
    {
        QFETCH(double, elapsed);
        QFETCH(QString, caption);
        QFETCH(bool, lastMinutes);
        LoadedProgram p;
        Frmmain& t = p.test();
        p.startQuestion(true, QStringLiteral("3"));
        QVERIFY(t.Timer1->isActive() && t.Timer1->interval() == 500);
        p.fake.clock.elapsed = 90000;
        t.TimerTick();
        QCOMPARE(t.Label5->text(), QStringLiteral("00:30"));
        Click(t.Picture3); // Time hides the clock
        p.fake.clock.elapsed += elapsed;
        t.TimerTick();
        // The last five minutes force the clock on and the Time button off.
        QCOMPARE(t.Label5->text(), caption);
        QVERIFY(t.Label5->isVisible() == lastMinutes && t.Picture3->isEnabled() != lastMinutes);
        p.fake.clock.elapsed += 0.4;
        t.TimerTick();
        const bool up = caption == "00:00";
        QCOMPARE(p.fake.boxes.prompts, up ? QStringList{"Time Up!"} : QStringList());
        QCOMPARE(t.Timer1->isActive(), !up);
        if (!up) {
            Click(t.Picture3); // shows it again, or is off with the clock forced on
            QVERIFY(t.Label5->isVisible());
            return;
        }
        const AskedBox box = p.fake.boxes.asked.first();
        QVERIFY(box.title == "Time Up!" && box.icon == MessageBoxes::Exclamation &&
                box.guard == MessageBoxes::GuardFirstSecond && t.Label5->text() == "00:00");
        t.EndSection(); // the clock at rest, the Time button on again
        QVERIFY(t.Label5->text() == "30:00" && t.Picture3->isEnabled() &&
                t.Countdown.RestartPending);
    }

    // Ending a section: which boxes are asked, what is saved, where the user goes.
    void endSection_data()
    {
        Columns<End>("e");
        Row("test quit, save, another", End{1, "essay", Ok, Ok, true});
        Row("section exit, end", End{2, "essay", Ok, Cancel, true});
        Row("answer confirm", End{5, "essay", Ok, Ok, true});
        Row("close request", End{0, "essay", Ok, Ok, true});
        Row("cancel the save", End{1, "essay", Cancel, Ok, false});
        Row("empty answer", End{1, "", Cancel, Cancel, false});
        Row("blanks are an answer", End{1, " \n", Ok, Ok, true});
        Row("unusual characters",
            End{1, QString::fromUtf8("a\u00a0b\u2028c\td\u00e9"), Ok, Ok, true});
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
        auto* keeper = t.findChild<DraftKeeper*>();
        keeper->WriteNow();
        keeper->Finish();
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
        QCOMPARE(p.fake.boxes.prompts,
                 e.answer.isEmpty() ? QStringList{Another} : QStringList({SaveIt, Another}));
        const AskedBox& last = p.fake.boxes.asked.last();
        QVERIFY(last.title == "Quit" && last.icon == MessageBoxes::Information &&
                last.buttons == MessageBoxes::OkCancel);
        const QByteArray file = p.folder.read(QStringLiteral("user/ai12.txt"));
        QCOMPARE(QDir(p.folder.file(QStringLiteral("user"))).count(),
                 e.saved ? 3U : 2U); // no draft
        QString typed = e.answer;
        typed.replace(QChar::LineSeparator, '\n');
        const QLocale locale = QLocale::system();
        const QByteArray stars = "********************\r\n";
        QCOMPARE(file, !e.saved ? QByteArray()
                                : "\r\n\r\n" + stars +
                                      ToCodePage("Date: " + RecordDate(click, locale) +
                                                 "\r\nTime: " + RecordTime(click, locale)) +
                                      "\r\nIssue No.12\r\n" + stars +
                                      "Question:\r\n\r\n\r\nIssue topic 12\r\n\r\n" + stars +
                                      "\r\nYour Answer:\r\n\r\n" +
                                      ToCodePage(FromWidgetText(typed)) + "\r\n");
        const bool another = e.another == Ok;
        QCOMPARE(p.fake.end.statuses, another ? QList<int>() : QList<int>{0});
        QVERIFY(t.isVisible() != another && p.start->isVisible() == another);
        QVERIFY(!t.Picture5->isEnabled() && t.Picture6->isEnabled());
        QCOMPARE(t.Label5->text(), QStringLiteral("30:00"));
        QCOMPARE(WidgetText(t.Text2), typed); // kept, hidden, until the next start
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
        Row("empty file", HelpCase{true, "", "", "", "on the clipboard"});
        Row("no file", HelpCase{true, "y", QByteArray(), "y", "y"});
    }
    void help()
    {
        QFETCH(HelpCase, h);
        LoadedProgram p;
        if (!h.saved.isNull())
            p.folder.write(h.issue ? "user/ai12.txt" : "user/aa12.txt", h.saved);
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
        QCOMPARE(QApplication::focusWidget(), about.cmdOK);
        // Its fixed place, moved just enough to lie on a small screen at a high scale.
        QVERIFY(about.screen()->availableGeometry().contains(about.frameGeometry()));
        QVERIFY(about.devicePixelRatioF() > 1 || about.geometry() == QRect(407, 204, 387, 253));
        CheckPlaces(about,
                    "picIcon 16 16 183 59, lblTitle 208 16 131 16, lblVersion 208 40 171 31, "
                    "lblDescription 16 88 347 62, lblDisclaimer 17 168 242 87, "
                    "cmdOK 275 184 100 23, cmdSysInfo 276 216 99 23");
        QVERIFY(about.lblDescription->wordWrap() && about.lblDisclaimer->wordWrap());
        QTest::keyClick(about.cmdOK, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), about.picIcon);
        QTest::keyClick(about.picIcon, Qt::Key_Tab);
        QTest::keyClick(about.cmdSysInfo, Qt::Key_Return); // Enter presses the focused button
        QCOMPARE(fake.boxes.prompts,
                 QStringList{"System information are temporarily unavailable."});
        QVERIFY(about.isVisible());
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
    }

    // The user had tabbed onto Section Exit; after a click on any button, Space
    // or Enter on it once Tab brought the focus there (a focus mark shows until
    // the focus leaves), or any box, the next key lands in the answer.
    void typingLandsInAnswer_data()
    {
        Columns<QString, int>("picture", "key"); // key 0: a click
        for (const char* name : {"Picture1", "Picture2", "Picture3", "Picture4", "Picture6",
                                 "Picture7", "Picture8", "Picture9"}) {
            for (int key : {0, int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_Enter)})
                QTest::addRow("%s %d", name, key) << QString(name) << key;
        }
        Row("Answer Confirm, Not Saved, Time Up!", QString(), 0);
    }
    void typingLandsInAnswer()
    {
        QFETCH(QString, picture);
        QFETCH(int, key);
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("4"));
        Frmmain& t = p.test();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        t.TimerTick();
        t.Text2->setPlainText(QStringLiteral("essay"));
        t.Text2->moveCursor(QTextCursor::End);
        QTest::keyClick(t.Text2, Qt::Key_Tab); // onto Section Exit
        // Cancel on "Do you want to save it?" and on another question.
        p.fake.boxes.answers = {Cancel, Cancel};
        auto* box = t.findChild<PictureBox*>(picture);
        if (picture.isEmpty()) {
            // After "Not Saved" the clock counts on from the question's own start.
            p.fake.boxes.answers = {Ok};
            QVERIFY(QDir().mkpath(t.AppFolder + "user/ai4.txt"));
            t.findChild<DraftKeeper*>()->WriteNow();
            Click(t.Picture6);
            Click(t.Picture5);
            t.findChild<DraftKeeper*>()->Finish();
            QCOMPARE(Drafts(p.folder), QStringList({"draft.txt", "draft.txt.lock"})); // kept
            p.fake.clock.elapsed += 1700;
            t.TimerTick();
            QCOMPARE(t.Label5->text(), QStringLiteral("01:40"));
            p.fake.clock.elapsed += 900;
            t.TimerTick();
            t.TimerTick();
            QCOMPARE(p.fake.boxes.prompts.last(), QStringLiteral("Time Up!"));
        } else if (!key) {
            Click(box);
        } else {
            t.Text2->setFocus();
            const QImage plain = box->grab().toImage();
            box->setFocus(Qt::TabFocusReason);
            const QImage marked = box->grab().toImage();
            QTest::keyClick(box, Qt::Key(key),
                            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QVERIFY(marked != plain && box->grab().toImage() != marked);
        }
        QTest::keyClicks(QApplication::focusWidget(), "x");
        QVERIFY(t.Text2->toPlainText().endsWith(QLatin1Char('x')));
    }

    // A draft left by a crash, met by the next start: the round trip, damage,
    // the essay file's faults, and an answer that already reached the file.
    void recoveryAtStart_data()
    {
        Columns<LeftDraft>("r");
        Row("issue", LeftDraft{true, "One line.", {}, "", 2});
        Row("argument, non-ASCII, CR LF",
            LeftDraft{false, "Ärger —\r\n\r\n€ \U0001F600\r\n", {}, "", 2});
        Row("layout in the answer",
            LeftDraft{true, "Answer: 3 characters\r\nEnd of draft\r\n", {}, "", 2});
        Row("damaged: cut off", LeftDraft{true, "Words.", {}, "cut", 1});
        Row("damaged: count", LeftDraft{true, "Words.", {}, "count", 1});
        Row("essay file a folder", LeftDraft{true, "A.", {}, "folder", 3});
        Draft saved = Sample(true, "Once.\r\nOnce.");
        Row("died in recovery", LeftDraft{true, saved.answer, Record(saved), "", 0});
        saved.changed = saved.changed.addSecs(40); // the section ended after the last change
        Row("died after a save", LeftDraft{true, saved.answer, Record(saved), "", 0});
    }
    void recoveryAtStart()
    {
        QFETCH(LeftDraft, r);
        const auto& [issue, answer, before, fault, boxes] = r;
        ProgramFolder folder;
        const Draft draft = Sample(issue, answer);
        QByteArray bytes = ToCodePage(DraftText(draft));
        bytes = fault == "cut"     ? bytes.chopped(20)
                : fault == "count" ? QByteArray(bytes).replace("6 char", "7 char")
                                   : bytes;
        folder.write("user/draft.txt", bytes);
        if (fault == "count") // a draft damaged before keeps its name
            folder.write("user/draft (damaged).txt", "older");
        const QString essay = issue ? "user/ai12.txt" : "user/aa12.txt";
        if (!before.isEmpty())
            folder.write(essay, before);
        if (fault == "folder")
            QDir().mkpath(folder.file(essay));
        FakePlatform fake;
        auto start = LoadProgram(fake.seams, folder.path());
        QCOMPARE(fake.boxes.asked.size(), boxes);
        const QStringList said = fake.boxes.prompts;
        // Which topic and when it was last changed, then the question.
        QVERIFY(boxes < 2 || (said[0].contains(issue ? "Issue No.12" : "Argument No.12") &&
                              said[0].contains(RecordTime(Changed, QLocale())) &&
                              said[1] == "Do you want to save it?"));
        const QString left = fault == "count" ? "draft (damaged 2).txt"
                             : boxes == 1     ? "draft (damaged).txt"
                             : boxes == 3     ? "draft.txt"
                                              : "";
        if (boxes % 2) // the one box that names the file kept, or the one not written
            QVERIFY(said.last().contains(
                QDir::toNativeSeparators(folder.file(boxes == 1 ? "user/" + left : essay))));
        if (fault != "folder")
            QCOMPARE(folder.read(essay), boxes == 2 ? Record(draft) : before);
        QStringList kept = left.isEmpty() ? QStringList() : QStringList{left};
        if (fault == "count")
            kept << "draft (damaged).txt";
        QCOMPARE(Drafts(folder), kept);
        QCOMPARE(folder.read("user/" + left), left.isEmpty() ? QByteArray() : bytes);
        if (boxes != 3)
            return;
        // Typing now drafts beside the kept draft, which waits for the next start.
        start->StartPractice();
        start->testWindow()->Text2->setPlainText("New.");
        start->testWindow()->findChild<DraftKeeper*>()->WriteNow();
        start->testWindow()->findChild<DraftKeeper*>()->Finish();
        QCOMPARE(Drafts(folder), QStringList({"draft-2.txt", "draft-2.txt.lock", "draft.txt"}));
        QCOMPARE(folder.read("user/draft.txt"), bytes);
    }

    // Ctrl+Y redoes; Ctrl+Down and Ctrl+Page Down scroll the topic, the caret staying put.
    void answerKeys()
    {
        LoadedProgram p;
        p.startQuestion(false, QStringLiteral("7"));
        Frmmain& t = p.test();
        t.Text1->setPlainText(QString(80, '\n'));
        QTest::keyClicks(t.Text2, "ab");
        QTest::keyClick(t.Text2, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(t.Text2->toPlainText() != "ab"); // other Ctrl keys pass on: Ctrl+Z undoes
        QTest::keyClick(t.Text2, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(t.Text2->toPlainText(), QStringLiteral("ab"));
        QTest::keyClick(t.Text2, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(t.Text1->verticalScrollBar()->value(), 1);
        QTest::keyClick(t.Text2, Qt::Key_PageDown, Qt::ControlModifier);
        QVERIFY(t.Text1->verticalScrollBar()->value() > 5);
        QCOMPARE(t.Text2->textCursor().position(), 2);
    }

    // Keys and clicks in the first second of the guarded box do not answer it.
    void timeUpGuard_data()
    {
        Columns<int, int>("ms", "key"); // key 0: a click on OK
        Row("Enter at 0.999 s", 999, int(Qt::Key_Return));
        Row("click at 0.3 s", 300, 0);
        Row("Enter at 1 s", 1000, int(Qt::Key_Return));
        Row("click at 1.5 s", 1500, 0);
    }
    void timeUpGuard()
    {
        QFETCH(int, ms);
        QFETCH(int, key);
        QMessageBox box(QMessageBox::Warning, "Time Up!", "Time Up!", QMessageBox::Ok);
        InputGuard guard(&box, InputGuard::FirstSecondMs, [ms] { return qint64(ms); });
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        if (key)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        else
            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        QCOMPARE(box.isHidden(), ms >= 1000);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
