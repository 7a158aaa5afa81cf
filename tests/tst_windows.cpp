// The windows in-process, on the offscreen platform, with scripted seams;
// CTest runs them at screen scales 1, 1.5 and 2 (QT_SCALE_FACTOR).
#include "qeltest.h"
#include "windows.h"

#include "about/aboutwindow.h"
#include "essay/essaynotes.h"
#include "essay/spellchecker.h"
#include "essay/wordcount.h"
#include "exam/draft.h"
#include "platform/appfolder.h"
#include "platform/inputguard.h"
#include "platform/product.h"
#include "platform/realplatform.h"
#include "review/essayfigures.h"
#include "review/essaylist.h"
#include "review/essaypdf.h"
#include "review/pacepane.h"
#include "review/progressview.h"
#include "review/ratingpane.h"
#include "review/reviewwindow.h"
#include "start/practice.h"
#include "widgets/announcer.h"
#include "widgets/drawing.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTextBlock>

#include <QTextBrowser>
#include <QTextLayout>
#include <set>

struct Start {
    bool issue, random;
    QString entry, heading, topic; // no heading: "Wrong Number"
    bool byEnter = false;          // Enter in the number box, not Start
};
struct End {
    QString button; // empty: a close request
    QString answer;
    MessageBoxes::Answer save, another;
    bool saved;
    QString line = "You wrote 1 word in 0 min 0 s."; // below "Do you want to save it?"
};
struct HelpCase {
    bool issue;
    QString answer;
    QByteArray saved; // null: no file
    QString text, clipboard;
    QString line{}; // below the save question, when the section ends straight after Help
};
struct LeftDraft {
    bool issue;
    QString answer;
    QByteArray before; // the essay file
    QString fault;     // of the draft or of the essay file; "closed": the save question
    int boxes;
};
Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(LeftDraft)
Q_DECLARE_METATYPE(End)
Q_DECLARE_METATYPE(HelpCase)

namespace {

constexpr auto Ok = MessageBoxes::AnswerOk, Cancel = MessageBoxes::AnswerCancel,
               Closed = MessageBoxes::AnswerClosed;
const QString Another = QStringLiteral("Do you want to start another question?");
const QString SaveIt = QStringLiteral("Do you want to save it?");

auto rgb = [](const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); };
// A rectangle in device pixels, its edges rounded as the drawing rounds them.
QRect device(const QRect& r, qreal s)
{
    return {QPoint(qRound(r.x() * s), qRound(r.y() * s)),
            QPoint(qRound((r.right() + 1) * s) - 1, qRound((r.bottom() + 1) * s) - 1)};
}
// Places as "name left top width height, ...", in pixels.
void checkPlaces(QWidget& window, const QString& places)
{
    for (const QString& place : places.split(", ")) {
        const QStringList f = place.split(' ');
        const QRect want(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt());
        QCOMPARE(window.findChild<QWidget*>(f[0])->geometry(), want);
    }
}

// What a screen reader finds in a window: every control that takes the focus, as
// "name:role", in the order of the window's accessibility tree.
QString accessibleControls(QWidget* window)
{
    QStringList controls;
    QList<QAccessibleInterface*> todo{QAccessible::queryAccessibleInterface(window)};
    while (!todo.isEmpty()) {
        QAccessibleInterface* node = todo.takeLast();
        if (node->state().invisible)
            continue; // hidden, with all it holds
        if (node->state().focusable)
            controls << node->text(QAccessible::Name) + ':' +
                            QMetaEnum::fromType<QAccessible::Role>().valueToKey(node->role());
        for (int i = node->childCount() - 1; i >= 0; --i)
            todo << node->child(i);
    }
    return controls.join(", ");
}

// The highest contrast (WCAG) between a picture's commonest colour and any other.
double contrast(const QImage& image)
{
    auto lin = [](int v) { return v <= 10 ? v / 3294.6 : std::pow((v + 14.025) / 269.025, 2.4); };
    auto lum = [&](QRgb c) {
        return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
    };
    QHash<QRgb, int> count;
    QRgb ground = image.pixel(0, 0);
    const int w = image.width();
    for (int i = 0; i < w * image.height(); ++i)
        if (++count[image.pixel(i % w, i / w)] > count.value(ground))
            ground = image.pixel(i % w, i / w);
    double best = 1;
    for (const QRgb c : count.keys())
        best = std::max(best, (std::max(lum(c), lum(ground)) + 0.05) /
                                  (std::min(lum(c), lum(ground)) + 0.05));
    return best;
}

const QDateTime Changed(QDate(2026, 3, 14), QTime(9, 26, 53));

Draft sample(bool issue, const QString& answer, int days = 0)
{
    const Question question{issue ? EssayKind::Issue : EssayKind::Argument, 12};
    return {question, "\r\nTopic\r\n", answer, Changed.addDays(days)};
}
QByteArray record(const Draft& d)
{
    return toCodePage(buildEssayRecord(d.question, recordDate(d.changed, QLocale()),
                                       recordTime(d.changed, QLocale()), d.topicText, d.answer));
}
// The draft files (and their locks and temporaries) in the user folder.
QStringList drafts(const ProgramFolder& folder)
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
        StartWindow& s = *p.start;
        QVERIFY(QTest::qWaitForWindowActive(&s));
        // The test window's controls are made once the start window is drawn, and only once.
        const QList<QTimer*> timers = s.findChildren<QTimer*>();
        QTRY_VERIFY(
            std::none_of(timers.begin(), timers.end(), [](QTimer* t) { return t->isActive(); }));
        QCOMPARE(s.windowTitle(), "QEL Simulator 1.0 (" + Product::WebAddress + ")");
        QCOMPARE(s.size(), QSize(414, 393));
        // Wider than a small screen at a high scale, it keeps its title bar on the screen.
        QVERIFY(s.screen()->availableGeometry().contains(s.frameGeometry().topLeft()));
        // "QEL No." ends short of its box, whatever the font.
        QVERIFY(s.numberLabel->geometry().right() + 4 < s.numberBox->x() &&
                s.numberLabel->fontMetrics().horizontalAdvance(s.numberLabel->text()) <=
                    s.numberLabel->width());
        checkPlaces(s, "practiceFrame 16 16 169 233, issueOption 16 24 113 17, "
                       "argumentOption 16 40 121 17, numberLabel 16 104 50 17, "
                       "numberBox 72 96 49 22, randomSelect 32 128 113 25, "
                       "practiceStartButton 48 176 73 25, fullTestFrame 224 16 169 89, "
                       "fullTestStartButton 48 32 73 25, quitButton 232 128 65 25, "
                       "aboutButton 320 128 65 25, reviewButton 320 164 65 25, "
                       "logo 216 192 183 59, accommodationsFrame 16 256 377 73, "
                       "timeAllowedBox 104 18 257 22, coloursBox 104 44 257 22");
        QVERIFY(s.issueOption->isChecked() && !s.argumentOption->isChecked() &&
                !s.randomSelect->isChecked());
        QCOMPARE(s.numberBox->text(), QStringLiteral("1"));
        const QString controls = accessibleControls(&s);
#ifdef Q_OS_WIN // Qt names a combo box by its label there, by its choice elsewhere
        const char* const timeAllowed = "Time allowed:ComboBox, ";
#else
        const char* const timeAllowed = "Standard (30 min):ComboBox, ";
#endif
        QVERIFY2(
            controls.startsWith(
                "Issue (1-150):RadioButton, Argument (1-141):RadioButton, QEL No.:EditableText, "
                "Random Select:CheckBox, Start:Button, Start:Button, Quit:Button, About:Button, "
                "Review...:Button, " +
                Product::DistributorName + ":Button, " + timeAllowed),
            qPrintable(controls));
        // A chooser reads out its choice, labelled by the words beside it.
        QVERIFY(s.timeAllowedLabel->buddy() == s.timeAllowedBox &&
                s.coloursLabel->buddy() == s.coloursBox &&
                s.timeAllowedBox->accessibleName() == "Time allowed" &&
                s.coloursBox->accessibleName() == "Colours");
        QVERIFY(s.numberBox->isEnabled() && s.fullTestStartButton->isEnabled());
        QStringList visited;
        for (int i = 0; i < 13; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        // The focus starts on the practice Start: Enter at once never quits.
        QCOMPARE(visited, QStringList({"practiceStartButton", "fullTestStartButton", "logo",
                                       "aboutButton", "reviewButton", "timeAllowedBox",
                                       "coloursBox", "gmatOption", "quitButton", "issueOption",
                                       "numberBox", "randomSelect", "practiceStartButton"}));
        for (const auto& [button, letter] : {std::pair{s.quitButton, Qt::Key_Q},
                                             {s.practiceStartButton, Qt::Key_S},
                                             {s.fullTestStartButton, Qt::Key_T},
                                             {s.aboutButton, Qt::Key_A},
                                             {s.reviewButton, Qt::Key_R}})
            QCOMPARE(button->shortcut(), QKeySequence(Qt::ALT | letter));
        // Random Select greys the number box and keeps its text.
        s.numberBox->setText(QStringLiteral("42"));
        s.randomSelect->click();
        QVERIFY(!s.numberBox->isEnabled());
        s.randomSelect->click();
        QVERIFY(s.numberBox->isEnabled() && s.numberBox->text() == "42");
        p.fake.shell.succeed = false; // a failure to open the site shows nothing
        QTest::mouseClick(s.logo, Qt::LeftButton);
        QCOMPARE(p.fake.shell.opened, QStringList{Product::WebAddress});
        QCOMPARE(s.logo->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(s.logo->toolTip(), QStringLiteral("Click to visit our website"));
        // Enter presses the focused button; closing the window is Quit.
        QTest::keyClick(s.quitButton, Qt::Key_Return);
        s.close();
        QCOMPARE(p.fake.end.statuses, QList<int>({0, 0}));
        QVERIFY(p.fake.boxes.asked.isEmpty());
    }

    // A start fills the test window; a bad entry is refused with "Wrong Number".
    void practiceStart_data()
    {
        columns<Start>("s");
        row("issue 1.4", Start{true, false, "1.4", "Issue 1", "\r\nIssue topic 1\r\n"});
        row("argument 141",
            Start{false, false, "141", "Argument 141",
                  "\r\nArgument topic 141\r\n\r\n\r\n" + ArgumentDirections + "\r\n"});
        row("issue 151", Start{true, false, "151", "", ""});
        row("argument 142", Start{false, false, "142", "", ""});
        row("random ignores the box", Start{true, true, "abc", "Issue ", ""});
        row("Enter after the number", Start{false, false, "7", "Argument 7", "", true});
        row("Enter after a wrong one", Start{true, false, "0", "", "", true});
    }
    void practiceStart()
    {
        QFETCH(Start, s);
        LoadedProgram p;
        TestWindow& t = p.test();
        t.answerBox->setPlainText(QStringLiteral("left from before"));
        p.start->randomSelect->setChecked(s.random);
        if (s.byEnter) {
            (s.issue ? p.start->issueOption : p.start->argumentOption)->setChecked(true);
            p.start->numberBox->setText(s.entry);
            QTest::keyClick(p.start->numberBox, Qt::Key_Return);
        } else {
            p.startQuestion(s.issue, s.entry);
        }
        const bool wrong = s.heading.isEmpty();
        QCOMPARE(p.fake.boxes.prompts.join(""), wrong ? "Wrong Number" : "");
        QCOMPARE(p.start->numberBox->text(), wrong ? "1" : s.entry);
        QVERIFY(p.start->isVisible() == wrong && t.isVisible() != wrong &&
                t.clockTimer->isActive() != wrong);
        if (wrong) {
            QVERIFY(p.fake.boxes.asked.first().title == "Error!" &&
                    p.fake.boxes.asked.first().icon == MessageBoxes::Exclamation);
            return;
        }
        QVERIFY(t.topicHeading->text().startsWith(s.heading));
        const Question q = t.question().value();
        QCOMPARE(t.topicHeading->text(),
                 s.heading.left(s.heading.indexOf(' ') + 1) + QString::number(q.number));
        QVERIFY(q.kind == (s.issue ? EssayKind::Issue : EssayKind::Argument));
        QCOMPARE(t.sectionTitle->text(), s.issue ? "GMAT Test - Section 2: Analytical Writing 2"
                                                 : "GMAT Test - Section 1: Analytical Writing 1");
        QVERIFY(s.topic.isEmpty() || boxText(t.topicBox) == s.topic);
        QVERIFY(t.topicBox->isReadOnly() && (t.windowFlags() & Qt::FramelessWindowHint));
        QVERIFY(t.answerBox->document()->isEmpty());
        QVERIFY(QTest::qWaitForWindowActive(&t));
        QCOMPARE(QApplication::focusWidget(), t.answerBox);
        QTest::mouseClick(t.topicBox->viewport(), Qt::LeftButton); // the topic hands the caret on
        QCOMPARE(QApplication::focusWidget(), t.answerBox);
        // Under Tab and Shift+Tab it passes on: each round reaches every enabled control.
        QStringList round;
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            for (int i = 0; i < 9; ++i) {
                QTest::keyClick(QApplication::focusWidget(), key);
                round << QApplication::focusWidget()->objectName().remove("Button");
            }
        }
        QCOMPARE(round.join(' '), "sectionExit time help next cut paste undo testQuit answerBox "
                                  "testQuit undo paste cut next help time sectionExit answerBox");
    }

    void paintingAt100IsTheStoredPicture()
    {
        const QString res = qEnvironmentVariable("QEL_SOURCE_DIR") + "/res/";
        for (const QString& name : drawnPictureNames())
            QVERIFY2(rgb(drawPicture(name, 1.0)) == rgb(QImage(res + name + ".png")),
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
        TestWindow& t = p.test();
        const qreal s = t.devicePixelRatioF();
        QCOMPARE(t.size(), QSize(638, 480));
        QVERIFY(t.children().indexOf(t.clock) >
                t.children().indexOf(t.sectionTitle)); // clock on top
        QCOMPARE(accessibleControls(&t),
                 "Topic:EditableText, Answer box:EditableText, Cut:Button, Paste:Button, "
                 "Undo:Button, Test Quit:Button, Section Exit:Button, Time:Button, Help:Button, "
                 "Answer Confirm:Button, Next:Button");
        QCOMPARE(s, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        const QImage background = rgb(drawPicture("background", s));
        const QImage shown = rgb(t.grab().toImage());
        for (PictureBox* box :
             {t.testQuitButton, t.sectionExitButton, t.timeButton, t.helpButton,
              t.answerConfirmButton, t.nextButton, t.cutButton, t.pasteButton, t.undoButton}) {
            const QRect place = device(box->geometry(), s);
            QVERIFY2(shown.copy(place) == background.copy(place), qPrintable(box->objectName()));
        }
        click(t.nextButton); // Next: both buttons take their other look
        const QImage armed = rgb(t.grab().toImage());
        for (PictureBox* box : {t.answerConfirmButton, t.nextButton}) {
            const QRect place = device(box->geometry(), s);
            QVERIFY(armed.copy(place) != background.copy(place));
        }
        const int two = qCeil(2 * s); // two pixels at 100 %
        for (QPlainTextEdit* text : {t.topicBox, t.answerBox}) {
            const QRect d = device(text->geometry(), s);
            QCOMPARE(background.pixel(d.left() + two, d.top() + two), qRgb(255, 255, 255));
            QCOMPARE(background.pixel(d.center().x(), d.bottom() - two), qRgb(255, 255, 255));
            QVERIFY(background.pixel(d.left() - 1, d.center().y()) != qRgb(255, 255, 255));
            QVERIFY(background.pixel(d.center().x(), d.bottom() + two) != qRgb(255, 255, 255));
        }
        const QRect box = device(QRect(12, 24, 616, 52), s);
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

    // The countdown through the window, on the fake clock, for each time allowed: a
    // tick takes the start, the next comes `elapsed` later, and one more 0.4 s after
    // that. `heard`: what the Time button tells a screen reader after the second
    // tick, with the clock hidden, then each announcement.
    void countdown_data()
    {
        columns<int, double, QString, bool, QString>("allowed", "elapsed", "caption", "lastMinutes",
                                                     "heard");
        const auto [up, five, late] =
            std::array<QString, 3>{"0 seconds left / Time Up!", "5 minutes left / 5 minutes left",
                                   "4 minutes 59 seconds left / 4 minutes 59 seconds left"};
        row("0.5 to even 0", 0, 0.5, "00:30", false, "29 minutes left");
        row("1500", 0, 1500.0, "00:05", false, five);
        row("1501", 0, 1501.0, "04:59", true, late);
        row("1798.5 to even", 0, 1798.5, "00:02", true, "1 second left / 2 seconds left");
        row("1799.5 to even", 0, 1799.5, "00:00", true, up);
        row("past the end", 0, 2500.0, "00:00", true, up);
        row("backwards", 0, -80000.0, "00:30", false, "30 minutes left");
        row("+25 % first tick", 1, 0.5, "00:37", false, "37 minutes left");
        row("+25 % five minutes", 1, 1950.0, "00:05", false, five);
        row("+25 % 00:00", 1, 2249.5, "00:00", true, up);
        row("+25 % past the end", 1, 2300.0, "00:00", true, up);
        row("+50 % first tick", 2, 0.5, "00:45", false, "44 minutes left");
        row("+50 % past 30 min", 2, 1900.0, "00:13", false, "13 minutes left");
        row("+50 % 04:59", 2, 2401.0, "04:59", true, late);
        row("+50 % 00:00", 2, 2700.0, "00:00", true, up);
        row("+50 % past the end", 2, 2800.0, "00:00", true, up);
        row("double first tick", 3, 0.5, "01:00", false, "59 minutes left");
        row("double 00:59", 3, 60.0, "00:59", false, "59 minutes left");
        row("double five minutes", 3, 3300.0, "00:05", false, five);
        row("double one minute", 3, 3540.0, "01:00", true, "1 minute left / 1 minute left");
        row("double 00:00", 3, 3599.5, "00:00", true, up);
        row("double past the end", 3, 9000.0, "00:00", true, up);
    }
    void countdown()
    {
        QFETCH(int, allowed);
        QFETCH(double, elapsed);
        QFETCH(QString, caption);
        QFETCH(bool, lastMinutes);
        LoadedProgram p;
        TestWindow& t = p.test();
        p.start->timeAllowedBox->setCurrentIndex(allowed);
        p.startQuestion(true, QStringLiteral("3"));
        QVERIFY(t.clockTimer->isActive() && t.clockTimer->interval() == 500);
        const int seconds = TimesAllowed.at(allowed);
        p.fake.clock.elapsed = 90000;
        t.timerTick();
        QCOMPARE(t.clock->text(), QTime(0, 0).addSecs(seconds).toString("hh:mm"));
        // Time hides the clock, pressed here as a screen reader presses it.
        QAccessibleInterface* time = QAccessible::queryAccessibleInterface(t.timeButton);
        time->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        // What the alert in the window's tree says after each tick, as a screen reader hears it.
        QAccessibleInterface* news = QAccessible::queryAccessibleInterface(t.clockNews);
        QVERIFY(news->role() == QAccessible::AlertMessage && news->parent()->object() == &t);
        QStringList heard;
        auto listen = [&] {
            if (!news->state().invisible && !heard.endsWith(news->text(QAccessible::Name)))
                heard << news->text(QAccessible::Name);
        };
        p.fake.clock.elapsed += elapsed;
        t.timerTick();
        listen();
        // The last five minutes force the clock on and the Time button off.
        QCOMPARE(t.clock->text(), caption);
        QVERIFY(t.clock->isVisible() == lastMinutes && t.timeButton->isEnabled() != lastMinutes);
        p.fake.clock.elapsed += 0.4;
        t.timerTick();
        listen();
        // The caret stays where it was.
        QTEST((QStringList{time->text(QAccessible::Description)} + heard).join(" / "), "heard");
        QCOMPARE(t.focusWidget(), t.answerBox);
        const bool up = caption == "00:00";
        QCOMPARE(p.fake.boxes.prompts, up ? QStringList{"Time Up!"} : QStringList());
        QCOMPARE(t.clockTimer->isActive(), !up);
        if (!up) {
            click(t.timeButton); // shows it again, or is off with the clock forced on
            QVERIFY(t.clock->isVisible());
        } else {
            const AskedBox box = p.fake.boxes.asked.first();
            QVERIFY(box.title == "Time Up!" && box.icon == MessageBoxes::Exclamation &&
                    box.guard == MessageBoxes::GuardFirstSecond && t.clock->text() == "00:00");
        }
        t.answerBox->setPlainText("Late words.");
        t.endSection(); // the clock at rest, the Time button on again; was the time up?
        const int taken = qRound(qMax(0.0, elapsed) + 0.4);
        QVERIFY(p.fake.boxes.prompts.filter(SaveIt).first().endsWith(
            QString("%1 min %2 s").arg(taken / 60).arg(taken % 60) +
            (up ? " (the time ran out)." : ".")));
        QVERIFY(t.clock->text() == QString::asprintf("%02d:%02d", seconds / 60, seconds % 60) &&
                t.timeButton->isEnabled() && t.countdown.restartPending);
    }

    // Time and colours chosen from the keyboard hold for both Full Test sections;
    // the words of each plain scheme, the selection's included, keep 7:1 and more
    // against their ground on the screen as shown.
    void accommodations_data()
    {
        columns<int, int, QString>("time", "colours", "rest");
        row("exam's own, +25 %", 1, 0, "37:30");
        row("black on white, +50 %", 2, 1, "45:00");
        row("white on black, double", 3, 2, "60:00");
        row("yellow on black, standard", 0, 3, "00:30");
    }
    void accommodations()
    {
        QFETCH(int, time);
        QFETCH(int, colours);
        QFETCH(QString, rest);
        LoadedProgram p;
        QVERIFY(QTest::qWaitForWindowActive(p.start.get()));
        for (const auto& [key, steps] : {std::pair{Qt::Key_I, time}, {Qt::Key_O, colours}}) {
            QTest::keyClick(p.start.get(), key, Qt::AltModifier);
            for (int i = 0; i < steps; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        }
        QTest::keyClick(p.start.get(), Qt::Key_T, Qt::AltModifier);
        TestWindow& t = p.test();
        QTRY_VERIFY(t.isVisible()); // a shortcut presses its button a moment later
        checkPlaces(t, "sectionTitle 0 2 641 17, clock 8 2 49 17, topicHeading 16 80 193 17");
        for (int section = 1; section <= 2; ++section) {
            QVERIFY(t.clock->text() == (section == 2 && time == 0 ? "30:00" : rest) &&
                    int(t.colourScheme()) == colours && t.isVisible());
            t.answerBox->setPlainText("Words to read");
            t.answerBox->selectAll(); // the words' first line: inside the selection
            const QImage shown = rgb(t.grab().toImage());
            for (const QRect& place :
                 {t.sectionTitle->geometry(), t.clock->geometry(), t.topicHeading->geometry(),
                  t.topicBox->geometry(), t.cutButton->geometry(),
                  t.answerConfirmButton->geometry(), t.nextButton->geometry(),
                  QRect(12, 24, 616, 52), QRect(540, 80, 100, 17), QRect(26, 269, 40, 12)})
                QVERIFY(colours == 0 ||
                        contrast(shown.copy(device(place, t.devicePixelRatioF()))) >= 7);
            click(t.sectionExitButton);
        }
    }

    // Ending a section: which boxes are asked, what is saved, where the user goes.
    void endSection_data()
    {
        columns<End>("e");
        row("test quit, save, another", End{"testQuitButton", "essay", Ok, Ok, true});
        row("section exit, end", End{"sectionExitButton", "essay", Ok, Cancel, true});
        row("answer confirm", End{"answerConfirmButton", "essay", Ok, Ok, true});
        row("close request", End{"", "essay", Ok, Ok, true});
        row("double close: back to the question", End{"", "essay", Closed, Ok, false});
        row("cancel the save", End{"testQuitButton", "essay", Cancel, Ok, false});
        row("empty answer", End{"testQuitButton", "", Cancel, Cancel, false});
        row("blanks are an answer",
            End{"testQuitButton", " \n", Ok, Ok, true, "You wrote 0 words in 0 min 0 s."});
        row("unusual characters",
            End{"testQuitButton", QString::fromUtf8("a\u00a0b\u2028c\td\u00e9"), Ok, Ok, true,
                "You wrote 4 words in 0 min 0 s."});
    }
    void endSection()
    {
        QFETCH(End, e);
        LoadedProgram p;
        TestWindow& t = p.test();
        t.endSection(); // before any question, there is nothing to end
        QVERIFY(p.fake.boxes.asked.isEmpty());
        p.startQuestion(true, QStringLiteral("12"));
        t.answerBox->setPlainText(e.answer);
        auto* keeper = t.findChild<DraftKeeper*>();
        keeper->writeNow();
        keeper->finish();
        if (e.button == "answerConfirmButton")
            click(t.nextButton);
        const QDateTime clickedAt = p.fake.clock.dateTime;
        p.fake.boxes.whileOpen = [&p] { p.fake.clock.dateTime = p.fake.clock.dateTime.addDays(1); };
        p.fake.boxes.answers = {e.save, e.another};
        if (e.answer.isEmpty())
            p.fake.boxes.answers.removeFirst();
        if (e.button.isEmpty())
            t.close();
        else
            click(t.findChild<PictureBox*>(e.button));
        const bool back = e.save == Closed; // the question goes on, its draft kept
        QCOMPARE(
            p.fake.boxes.prompts,
            QStringList({SaveIt + "\r\n" + e.line, Another}).mid(e.answer.isEmpty(), back ? 1 : 2));
        const AskedBox& last = p.fake.boxes.asked.last();
        QVERIFY(last.title == "Quit" && last.icon == MessageBoxes::Information &&
                last.buttons == MessageBoxes::OkCancel);
        const QByteArray file = p.folder.read(QStringLiteral("user/ai12.txt"));
        QCOMPARE(QDir(p.folder.file(QStringLiteral("user"))).count(),
                 e.saved ? 3U
                 : back  ? 4U
                         : 2U); // no draft, or the draft and its lock
        QString typed = e.answer;
        typed.replace(QChar::LineSeparator, '\n');
        const QLocale locale = QLocale::system();
        const QByteArray stars = "********************\r\n";
        QCOMPARE(file, !e.saved ? QByteArray()
                                : "\r\n\r\n" + stars +
                                      toCodePage("Date: " + recordDate(clickedAt, locale) +
                                                 "\r\nTime: " + recordTime(clickedAt, locale)) +
                                      "\r\nIssue No.12\r\n" + stars +
                                      "Question:\r\n\r\n\r\nIssue topic 12\r\n\r\n" + stars +
                                      "\r\nYour Answer:\r\n\r\n" +
                                      toCodePage(fromWidgetText(typed)) + "\r\n");
        const bool another = e.another == Ok && !back;
        QCOMPARE(p.fake.end.statuses, another || back ? QList<int>() : QList<int>{0});
        QVERIFY(t.isVisible() != another && p.start->isVisible() == another);
        QVERIFY(!t.answerConfirmButton->isEnabled() && t.nextButton->isEnabled());
        QVERIFY(t.clock->text() == (back ? "00:30" : "30:00") && t.clockTimer->isActive() == back);
        QCOMPARE(widgetText(t.answerBox), typed); // kept, hidden, until the next start
    }

    // The Full Test: an Argument, then an Issue timed afresh, each section ended its
    // own way ('!' fails the first save); Test Quit or a close request ends the whole test.
    void fullTest_data()
    {
        columns<QStringList, QString, QString>("ways", "titles", "summary");
        const QString one = "Section 1, Argument No.%1: 2 words in 27 min 13 s, saved.";
        const QString two = one + "\r\nSection 2, Issue No.%2: 2 words in 27 min 13 s, saved.";
        row("test quit in section 1", QStringList{"testQuitButton"}, "Quit,Full Test,Quit", one);
        row("close in section 1", QStringList{""}, "Quit,Full Test,Quit", one);
        row("failed save, exit, confirm", QStringList{"!sectionExitButton", "answerConfirmButton"},
            "Quit,Not Saved,Quit,Full Test,Quit,Full Test,Quit", two);
    }
    void fullTest()
    {
        QFETCH(QStringList, ways);
        QFETCH(QString, summary);
        LoadedProgram p;
        TestWindow& t = p.test();
        QTest::keyClick(p.start->fullTestStartButton, Qt::Key_Space);
        QList<Question> taken;
        for (QString way : ways) {
            const QString file = essayFilePath({}, taken.emplace_back(t.question().value()));
            t.timerTick();
            p.fake.clock.elapsed += 1633;
            t.answerBox->setPlainText("Section " + QString::number(taken.size()));
            if (way.startsWith('!') && QDir().mkpath(p.folder.file(file))) {
                click(t.findChild<PictureBox*>(way.remove(0, 1)));
                QVERIFY(QDir().rmdir(p.folder.file(file)));
            }
            click(t.nextButton); // arms Answer Confirm; the other ways end it all the same
            way.isEmpty() ? void(t.close()) : click(t.findChild<PictureBox*>(way));
            QVERIFY(t.nextButton->isEnabled() && // the buttons at rest for the next section
                    p.folder.read(file).endsWith(" " + QByteArray::number(taken.size()) + "\r\n"));
        }
        QTEST(p.fake.boxes.titles.join(','), "titles");
        QCOMPARE(p.fake.boxes.prompts.at(p.fake.boxes.prompts.size() - 2),
                 summary.replace("%1", QString::number(taken.first().number))
                     .replace("%2", QString::number(taken.last().number)));
        QVERIFY(p.start->isVisible() && !t.isVisible() && t.question() == taken.last());
    }

    // Help: the answer to the clipboard, the saved records below it, the clock at rest.
    void help_data()
    {
        columns<HelpCase>("h");
        const QByteArray saved = "\r\n\r\n***\r\nold one\r\n";
        const QString back = "\r\n\r\n\r\n***\r\nold one";
        row("issue 12",
            HelpCase{true, "new\r\nanswer", saved, "new\r\nanswer" + back, "new\nanswer"});
        row("argument 12", HelpCase{false, "x", saved, "x" + back, "x"});
        const QByteArray record = toCodePage(
            buildEssayRecord({EssayKind::Issue, 12}, "1", "2", "T\r\n", "One two three."));
        row("a saved essay: its words are Help's",
            HelpCase{true, "Mine.", record, "Mine." + savedEssaysFromBytes(record), "Mine.",
                     "You wrote 1 word in 0 min 0 s. 13 words came from Help."});
        row("empty file", HelpCase{true, "", "", "", "on the clipboard"});
        row("no file", HelpCase{true, "y", QByteArray(), "y", "y"});
#ifndef Q_OS_WIN
        row("a link to a device: unread", HelpCase{true, "", "/dev/zero", "", "on the clipboard"});
#endif
        row("over 256 MB: unread", HelpCase{true, "", "/big", "", "on the clipboard"});
    }
    void help()
    {
        QFETCH(HelpCase, h);
        LoadedProgram p;
        const QString essay = h.issue ? "user/ai12.txt" : "user/aa12.txt";
        if (h.saved == "/dev/zero")
            QVERIFY(QFile::link(h.saved, p.folder.file(essay)));
        else if (!h.saved.isNull())
            p.folder.write(essay, h.saved);
        if (h.saved == "/big") // sparse: no disk fills up
            QVERIFY(QFile::resize(p.folder.file(essay), LargestEssayFile + 1));
        p.startQuestion(h.issue, QStringLiteral("12"));
        TestWindow& t = p.test();
        t.timerTick();
        t.answerBox->insertPlainText(toWidgetText(h.answer)); // one step of typing to undo
        click(t.helpButton);
        QCOMPARE(boxText(t.answerBox), h.text);
        QCOMPARE(QGuiApplication::clipboard()->text(), h.clipboard);
        QCOMPARE(t.clockTimer->isActive(), h.saved.isNull() || h.saved.startsWith('/'));
        QCOMPARE(t.clock->text(), t.clockTimer->isActive() ? "00:30" : "30:00");
        QVERIFY(h.saved.isEmpty() || t.answerBox->textCursor().atEnd());
        QVERIFY(h.saved.isEmpty() || t.answerBox->verticalScrollBar()->value() ==
                                         t.answerBox->verticalScrollBar()->maximum());
        if (!h.line.isEmpty()) { // the save question closed: back to the question
            p.fake.boxes.answers = {Closed};
            click(t.sectionExitButton);
            QCOMPARE(p.fake.boxes.prompts, QStringList{SaveIt + "\r\n" + h.line});
        }
        // What Help added is one step of undo, the typing before it another.
        for (const QString& before : {h.text == h.answer ? QString() : h.answer, QString()}) {
            QTest::keyClick(t.answerBox, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(boxText(t.answerBox), before);
        }
    }

    void aboutWindow()
    {
        FakePlatform fake;
        AboutWindow about(fake.seams, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QCOMPARE(about.windowTitle(), "About QEL Simulator 1.0 (" + Product::WebAddress + ")");
        QCOMPARE(about.titleLabel->text(), QStringLiteral("QEL Simulator 1.0"));
        QCOMPARE(QApplication::focusWidget(), about.okButton);
        // Its fixed place, moved just enough to lie on a small screen at a high scale.
        QVERIFY(about.screen()->availableGeometry().contains(about.frameGeometry()));
        QVERIFY(about.devicePixelRatioF() > 1 || about.geometry() == QRect(407, 204, 387, 253));
        checkPlaces(about,
                    "logo 16 16 183 59, titleLabel 208 16 131 16, authorLabel 208 40 171 31, "
                    "noteLabel 16 88 347 62, distributorLabel 17 168 242 87, "
                    "okButton 275 184 100 23, sysInfoButton 276 216 99 23");
        QVERIFY(about.noteLabel->wordWrap() && about.distributorLabel->wordWrap());
        QCOMPARE(accessibleControls(&about),
                 Product::DistributorName + ":Button, OK:Button, SysInfo...:Button");
        QTest::keyClick(about.okButton, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), about.logo);
        QTest::keyClick(about.logo, Qt::Key_Tab);
        QTest::keyClick(about.sysInfoButton, Qt::Key_Return); // Enter presses the focused button
        QCOMPARE(fake.boxes.prompts,
                 QStringList{"System information are temporarily unavailable."});
        QVERIFY(about.isVisible());
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
    }

    // A question starts with word that no draft can be kept, and why, before its clock
    // runs; the candidate writes on, and the drafts bring no further box.
    void draftPlace_data()
    {
        columns<QString, QString>("user", "reason"); // what stands at user/
        row("a folder", "folder", "");
        row("missing", "", "The folder does not exist.");
        row("a file", "file", "A file stands in the folder's place.");
    }
    void draftPlace()
    {
        QFETCH(QString, user);
        QFETCH(QString, reason);
        LoadedProgram p;
        TestWindow& t = p.test();
        const QString folder = p.folder.file("user");
        QVERIFY(QDir(folder).removeRecursively());
        if (user == "folder")
            QVERIFY(QDir().mkdir(folder));
        else if (user == "file")
            p.folder.write("user", "x");
        bool counting = false;
        QPoint off; // from the box's window to where the start window stood, on the screen
        p.fake.boxes.whileOpen = [&] {
            counting = t.clockTimer->isActive();
            const QRect screen = t.screen()->availableGeometry();
            const bool fits = screen.width() >= t.width() && screen.height() >= t.height();
            QRect centred(QPoint(), t.size());
            centred.moveCenter(p.start->frameGeometry().center());
            off = t.pos() - (fits ? keepOnScreen(centred, screen).topLeft() : screen.topLeft());
        };
        p.startQuestion(true, QStringLiteral("3"));
        QTest::keyClicks(t.answerBox, "Typed on.");
        t.findChild<DraftKeeper*>()->writeNow();
        t.findChild<DraftKeeper*>()->finish();
        QVERIFY(!counting && t.clockTimer->isActive() && t.focusWidget() == t.answerBox);
        QCOMPARE(p.fake.boxes.titles, reason.isEmpty() ? QStringList() : QStringList{"No Draft"});
        // Over the test window, which already stands where it will be seen.
        QVERIFY(reason.isEmpty() || (p.fake.boxes.asked[0].parent == &t && t.isVisible() &&
                                     off.manhattanLength() <= 2));
        QVERIFY(reason.isEmpty() ||
                p.fake.boxes.prompts[0].contains(QDir::toNativeSeparators(folder) +
                                                 "\r\nReason: " + reason));
        QCOMPARE(drafts(p.folder).size(), user == "folder" ? 2 : 0);
    }

    // The user had tabbed onto Section Exit; after a click on any button, Space
    // or Enter on it once Tab brought the focus there (a focus mark shows until
    // the focus leaves), or any box, the next key lands in the answer.
    void typingLandsInAnswer_data()
    {
        columns<QString, int>("picture", "key"); // key 0: a click
        for (const char* name : {"testQuitButton", "sectionExitButton", "timeButton", "helpButton",
                                 "nextButton", "cutButton", "pasteButton", "undoButton"}) {
            for (int key : {0, int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_Enter)})
                row(qPrintable(QStringLiteral("%1 %2").arg(name).arg(key)), QString(name), key);
        }
        row("Answer Confirm, Not Saved, Time Up!", QString(), 0);
    }
    void typingLandsInAnswer()
    {
        QFETCH(QString, picture);
        QFETCH(int, key);
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("4"));
        TestWindow& t = p.test();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        t.timerTick();
        t.answerBox->setPlainText(QStringLiteral("essay"));
        t.answerBox->moveCursor(QTextCursor::End);
        QTest::keyClick(t.answerBox, Qt::Key_Tab); // onto Section Exit
        // Cancel on "Do you want to save it?" and on another question.
        p.fake.boxes.answers = {Cancel, Cancel};
        auto* box = t.findChild<PictureBox*>(picture);
        if (picture.isEmpty()) {
            // After "Not Saved" the clock counts on from the question's own start.
            p.fake.boxes.answers = {Ok};
            QVERIFY(QDir().mkpath(t.appFolder + "user/ai4.txt"));
            t.findChild<DraftKeeper*>()->writeNow();
            click(t.nextButton);
            click(t.answerConfirmButton);
            t.findChild<DraftKeeper*>()->finish();
            QCOMPARE(drafts(p.folder), QStringList({"draft.txt", "draft.txt.lock"})); // kept
            p.fake.clock.elapsed += 1700;
            t.timerTick();
            QCOMPARE(t.clock->text(), QStringLiteral("01:40"));
            p.fake.clock.elapsed += 900;
            t.timerTick();
            t.timerTick();
            QCOMPARE(p.fake.boxes.prompts.last(), QStringLiteral("Time Up!"));
        } else if (!key) {
            click(box);
        } else {
            t.answerBox->setFocus();
            const QImage plain = box->grab().toImage();
            box->setFocus(Qt::TabFocusReason);
            const QImage marked = box->grab().toImage();
            QTest::keyClick(box, Qt::Key(key),
                            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QVERIFY(marked != plain && box->grab().toImage() != marked);
        }
        QTest::keyClicks(QApplication::focusWidget(), "x teh");
        QVERIFY(t.answerBox->toPlainText().endsWith(QLatin1String("x teh")));
        // No spelling help while the test runs: nothing underlined, no report.
        QVERIFY(t.answerBox->extraSelections().isEmpty() && !t.findChild<QTextBrowser*>() &&
                t.answerBox->document()->lastBlock().layout()->formats().isEmpty());
    }

    // A draft left by a crash, met by the next start: the round trip, damage,
    // the essay file's faults, and an answer that already reached the file.
    void recoveryAtStart_data()
    {
        columns<LeftDraft>("r");
        row("issue", LeftDraft{true, "One line.", {}, "", 2});
        row("argument, non-ASCII, CR LF",
            LeftDraft{false, "Ärger —\r\n\r\n€ \U0001F600\r\n", {}, "", 2});
        row("layout in the answer",
            LeftDraft{true, "Answer: 3 characters\r\nEnd of draft\r\n", {}, "", 2});
        row("damaged: cut off", LeftDraft{true, "Words.", {}, "cut", 1});
        row("damaged: count", LeftDraft{true, "Words.", {}, "count", 1});
        row("essay file a folder", LeftDraft{true, "A.", {}, "folder", 3});
        row("question closed: kept", LeftDraft{true, "A.", {}, "closed", 2});
        Draft saved = sample(true, "Once.\r\nOnce.");
        row("died in recovery", LeftDraft{true, saved.answer, record(saved), "", 0});
        saved.changed = saved.changed.addSecs(40); // the section ended after the last change
        row("died after a save", LeftDraft{true, saved.answer, record(saved), "", 0});
    }
    void recoveryAtStart()
    {
        QFETCH(LeftDraft, r);
        const auto& [issue, answer, before, fault, boxes] = r;
        ProgramFolder folder;
        const Draft draft = sample(issue, answer);
        QByteArray bytes = toCodePage(draftText(draft));
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
        fake.boxes.answers = {Ok, fault == "closed" ? Closed : Ok};
        auto start = loadProgram(fake.seams, QDir::toNativeSeparators(folder.path()));
        QCOMPARE(fake.boxes.asked.size(), boxes);
        const QStringList said = fake.boxes.prompts;
        // Which topic and when it was last changed, then the question.
        QVERIFY(boxes < 2 || (said[0].contains(issue ? "Issue No.12" : "Argument No.12") &&
                              said[0].contains(recordTime(Changed, QLocale())) &&
                              said[1] == "Do you want to save it?"));
        // And what it holds, to decide by.
        QVERIFY(boxes < 2 || said[0].endsWith(QStringLiteral("\r\nWords: %1\r\nIt begins: %2")
                                                  .arg(countWords(answer))
                                                  .arg(firstWords(answer, 25))));
        const QString left = fault == "count"                  ? "draft (damaged 2).txt"
                             : boxes == 1                      ? "draft (damaged).txt"
                             : boxes == 3 || fault == "closed" ? "draft.txt"
                                                               : "";
        if (boxes % 2) { // the one box that names the file kept, or the one not written
            QVERIFY2(said.last().contains(QDir::toNativeSeparators(
                         folder.file(boxes == 1 ? "user/" + left : essay))),
                     qPrintable(said.last()));
        }
        if (fault != "folder")
            QCOMPARE(folder.read(essay), boxes == 2 && fault.isEmpty() ? record(draft) : before);
        QStringList kept = left.isEmpty() ? QStringList() : QStringList{left};
        if (fault == "count")
            kept << "draft (damaged).txt";
        QCOMPARE(drafts(folder), kept);
        QCOMPARE(folder.read("user/" + left), left.isEmpty() ? QByteArray() : bytes);
        if (boxes != 3)
            return;
        // Typing now drafts beside the kept draft, which waits for the next start.
        start->startPractice();
        start->testWindow()->answerBox->setPlainText("New.");
        start->testWindow()->findChild<DraftKeeper*>()->writeNow();
        start->testWindow()->findChild<DraftKeeper*>()->finish();
        QCOMPARE(drafts(folder), QStringList({"draft-2.txt", "draft-2.txt.lock", "draft.txt"}));
        QCOMPARE(folder.read("user/draft.txt"), bytes);
    }

    // The Review window: the essays newest first (an unreadable date, then text that is
    // no record, last), filter and search, one opened, saved as a PDF and written
    // again; user/ untouched.
    void reviewWindow()
    {
        LoadedProgram p;
        p.folder.write("user/ai9.txt",
                       record(sample(true, "O", 1)) + record(sample(true, "N teh .", 3)));
        p.folder.write("user/aa7.txt", "hand-edited" + record(sample(false, "Naïve café.", 2)));
        p.folder.write("user/ai3.txt", record(sample(true, "U")).replace("Date: ", "Date: x"));
        QDir(p.folder.file("user")).mkdir("ai5.txt");
        const auto user = [&p] {
            return QDir(p.folder.file("user")).entryList().join("").toUtf8() +
                   p.folder.read("user/ai9.txt") + p.folder.read("user/aa7.txt");
        };
        const QByteArray before = user();
        p.start->randomSelect->click();
        p.start->reviewButton->click();
        QPointer<ReviewWindow> r = p.start->findChild<ReviewWindow*>();
        QVERIFY(QTest::qWaitForWindowActive(r) && r->isModal());
        // The newest essay chosen, its misspelled word underlined and listed in its report,
        // its slip of mechanics in another colour.
        const QList<QTextEdit::ExtraSelection> marked = r->answerBox->extraSelections();
        QVERIFY(marked.size() == 2 && marked[0].cursor.selectedText() == "teh");
        QVERIFY(marked[1].cursor.selectedText() == "teh ." &&
                marked[1].format.underlineColor() != marked[0].format.underlineColor());
        QVERIFY(r->reportView->toPlainText().contains("teh . → teh. (1)"));
        QVERIFY(r->reportView->toPlainText().contains("Words: 2, below the band of 500 to 600"));
        QTRY_VERIFY(r->reportView->toPlainText().contains("teh (1): the"));
        // Under the report, the topic's key; this folder has none.
        QVERIFY(r->reportView->toPlainText().contains(
            "No key was found for this topic (entry 9 of " +
            QDir::toNativeSeparators(p.folder.file("ai.key"))));
        QCOMPARE(r->countLabel->text(), "4 essays on 2 of the 150 Issue topics and 1 of the 141 "
                                        "Argument topics. 1 part is not laid out as a saved essay, "
                                        "listed as text. Not read: ai5.txt (not a regular file).");
        const auto shown = [&r] {
            QStringList rows;
            for (int i = 0; i < r->essayList->model()->rowCount(); ++i)
                rows << r->essayList->model()->index(i, 5).data().toString(); // the answer
            return rows.join(' ');
        };
        QCOMPARE(shown(), "N teh . Naïve café. O U hand-edited"); // U: its date cannot be read
        r->kindFilter->setCurrentIndex(2);                        // Argument
        QTest::keyClick(r, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), "hand TOPIC"); // no essay holds both
        const int listTop = r->views->y();
        QTRY_COMPARE(r->foundLabel->text(),
                     "No Argument essay holds all of: hand TOPIC."); // searched on a thread
        r->searchBox->setText(" café  topic "); // in any order, in the answer or the topic
        QTRY_COMPARE(shown(), "Naïve café.");
        QCOMPARE(r->foundLabel->text(), "1 Argument essay holds all of: café topic.");
        r->searchBox->clear();
        QTRY_VERIFY(r->foundLabel->text().isEmpty());
        QCOMPARE(r->views->y(), listTop); // the line keeps its room: nothing below it moves
        r->searchBox->setText(" café  topic ");
        QTRY_COMPARE(shown(), "Naïve café.");
        QTest::keyClick(r->searchBox, Qt::Key_Tab);
        QTest::keyClick(r->essayList, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), r->answerBox);
        QCOMPARE(widgetText(r->answerBox) + r->wordsLabel->text(), "Naïve café.Words: 2");
        QStringList asked{p.folder.file("user/aa7.txt"), p.folder.file("e.pdf")};
        r->askPdfPath = [&asked](QWidget*, const QString&) { return asked.takeFirst(); };
        r->savePdfButton->click(); // refused: the user folder keeps the essays only
        r->savePdfButton->click();
        // One box for the refusal; the PDF font's ToUnicode map holds the letters the
        // answer is first to use, in order: ï v f é.
        QVERIFY(p.fake.boxes.asked.size() == 1 &&
                p.folder.read("e.pdf").contains("<00EF> <0076> <0066> <00E9>"));
        QTest::keyClick(r->answerBox, Qt::Key_Tab);
        QTest::keyClick(r->reportView, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), r->ratingPane->ratingChoice);
        QTest::keyClick(r->ratingPane->ratingChoice, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), r->ratingPane->leaveOutBox);
        QTest::keyClick(r->ratingPane->leaveOutBox, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), r->explainBox);
        QTest::keyClick(r->explainBox, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // Write this topic again
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!r && p.start->argumentOption->isChecked() && !p.start->randomSelect->isChecked());
        QVERIFY(p.start->numberBox->isEnabled() && p.start->numberBox->text() == "7");
        QCOMPARE(user(), before);
    }

    // An essay saved after Help is measured on what the candidate wrote, whatever the
    // line ends of the file Help read: the save question, the list, the report, the
    // Progress tab's slips, the PDF; Help's text greyed in the answer box.
    void helpInFigures_data()
    {
        columns<bool>("lf");
        row("CR LF file", false);
        row("file saved again with LF", true);
    }
    void helpInFigures()
    {
        QFETCH(bool, lf);
        LoadedProgram p;
        QByteArray old = record(sample(true, "Teh olld essay.\r\n\r\nIt had sevral wrods.", -9));
        if (lf)
            old.replace("\r\n", "\n");
        p.folder.write("user/ai12.txt", old);
        p.startQuestion(true, QStringLiteral("12"));
        TestWindow& t = p.test();
        t.timerTick();
        t.answerBox->insertPlainText("Mine now here.");
        click(t.helpButton);
        t.answerBox->insertPlainText("\nAnd more.");
        p.fake.boxes.answers = {Ok, Ok};
        click(t.sectionExitButton);
        // Help's words are the old record's, its date and time in the system's own form.
        QCOMPARE(p.fake.boxes.prompts.first(),
                 SaveIt + QString("\r\nYou wrote 5 words in 0 min 0 s. %1 words came from Help.")
                              .arg(countWords(fromCodePage(old))));
        p.start->reviewButton->click();
        QPointer<ReviewWindow> r = p.start->findChild<ReviewWindow*>();
        QVERIFY(QTest::qWaitForWindowActive(r));
        QCOMPARE(r->wordsLabel->text(), "Words: 5");
        const QString report = r->reportView->toPlainText();
        QVERIFY2(report.contains("Words: 5,") && report.contains("Paragraphs: 2") &&
                     !report.contains("olld") && !report.contains("Topic"),
                 qPrintable(report));
        QString greyed;
        for (const QTextEdit::ExtraSelection& marked : r->answerBox->extraSelections()) {
            QVERIFY(marked.format.hasProperty(QTextFormat::ForegroundBrush)); // no slip of its own
            greyed += marked.cursor.selectedText();
        }
        QVERIFY(greyed.contains("sevral wrods") && !greyed.contains("Mine") &&
                !greyed.contains("more"));
        r->views->setCurrentIndex(1);
        QTRY_VERIFY2(
            r->progressView->slipsChart->accessibleDescription().contains("from 0 to 57.1"),
            qPrintable(r->progressView->slipsChart->accessibleDescription()));
    }

    // A click on a heading sorts the list by it: numbers as numbers, dates as dates.
    void reviewSort_data()
    {
        columns<QList<int>, QString>("headings", "shown");
        row("newest first", QList<int>{}, "10 9 100");
        row("by words", QList<int>{EssayList::WordsColumn}, "9 10 100");
        row("by words, most first", QList<int>{EssayList::WordsColumn, EssayList::WordsColumn},
            "100 10 9");
        row("oldest first", QList<int>{EssayList::DateColumn}, "100 9 10");
        row("by time of day", QList<int>{EssayList::TimeColumn}, "9 100 10");
    }
    void reviewSort()
    {
        QFETCH(QList<int>, headings);
        LoadedProgram p;
        const auto essay = [](int words, int days, int hour) {
            Draft d = sample(true, QString("w ").repeated(words), days);
            d.changed.setTime(QTime(hour, 0));
            return record(d);
        };
        p.folder.write("user/ai9.txt", essay(9, 2, 10) + essay(10, 3, 20));
        p.folder.write("user/aa7.txt", essay(100, 1, 15));
        p.start->reviewButton->click();
        QPointer<ReviewWindow> r = p.start->findChild<ReviewWindow*>();
        QVERIFY(QTest::qWaitForWindowActive(r));
        QHeaderView* header = r->essayList->horizontalHeader();
        for (int column : headings)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 4, 4));
        QStringList words;
        for (int i = 0; i < 3; ++i)
            words << r->essayList->model()->index(i, EssayList::WordsColumn).data().toString();
        QTEST(words.join(' '), "shown");
    }

    // Export figures: refused in the user folder; then the rows the Kind choice
    // lets through, in qelreport's bytes, and how many it wrote.
    void reviewExport()
    {
        LoadedProgram p;
        p.folder.write("user/ai9.txt",
                       record(sample(true, "Teh end.", 1)) + record(sample(true, "N")));
        p.folder.write("user/aa7.txt", "junk" + record(sample(false, "A b c", 2)));
        p.start->reviewButton->click();
        QPointer<ReviewWindow> r = p.start->findChild<ReviewWindow*>();
        QVERIFY(QTest::qWaitForWindowActive(r));
        QStringList asked{p.folder.file("user/f.csv"), p.folder.file("all.csv"),
                          p.folder.file("argument.csv"), p.folder.file("none.csv")};
        r->askCsvPath = [&asked](QWidget*, const QString&) { return asked.takeFirst(); };
        r->exportButton->click();
        QVERIFY(!QFile::exists(p.folder.file("user/f.csv")));
        r->exportButton->click();
        r->kindFilter->setCurrentIndex(2);
        r->exportButton->click();
        r->searchBox->setText("nowhere"); // nothing listed: the header alone
        QTRY_COMPARE(r->essayList->model()->rowCount(), 0);
        r->exportButton->click();
        const QStringList said = p.fake.boxes.prompts;
        QCOMPARE(said.size(), 4);
        QVERIFY2(said[0].contains("Choose another folder for the figures"), qPrintable(said[0]));
        QVERIFY2(said[1].startsWith("3 rows written to "), qPrintable(said[1]));
        QVERIFY2(said[2].startsWith("1 row written to "), qPrintable(said[2]));
        QVERIFY2(said[3].startsWith("0 rows written to "), qPrintable(said[3]));
        // The same bytes as the command line writes for the folder, newest first.
        EssayList essays;
        essays.read(p.folder.file("user"), QLocale::system());
        QBuffer all;
        all.open(QIODevice::WriteOnly);
        const SpellChecker spelling(SpellChecker::folders(p.folder.path() + '/'));
        QCOMPARE(writeFiguresCsv(all, essays, {0, 1, 2, 3}, &spelling), 3);
        QCOMPARE(p.folder.read("all.csv"), all.data());
        const QList<QByteArray> lines = p.folder.read("argument.csv").split('\n');
        QCOMPARE(lines.size(), 3); // the header, one row, the end
        QVERIFY2(lines[1].startsWith("aa7.txt,1,") && lines[1].endsWith(",0.00,0,,,,,,,,\r"),
                 lines[1]);
        QVERIFY(p.folder.read("all.csv").contains("\r\nai9.txt,2,"));
    }

    // The report has the room: the list and the topic keep their height when the
    // window grows, the panes keep theirs while the window is open, and in a
    // window of 1280 x 1024 pixels the report shows twelve lines. Each figure's
    // meaning is a tooltip until the candidate asks for it under each figure.
    void reviewLayout()
    {
        LoadedProgram p;
        p.folder.write("user/ai9.txt",
                       record(sample(true, "One.", 1)) + record(sample(true, "Two.")));
        p.start->reviewButton->click();
        QPointer<ReviewWindow> r = p.start->findChild<ReviewWindow*>();
        QVERIFY(QTest::qWaitForWindowActive(r));
        r->resize(QSize(1280, 1024) / r->devicePixelRatioF());
        QTRY_COMPARE(r->height(), qRound(1024 / r->devicePixelRatioF()));
        const int lines =
            r->reportView->viewport()->height() / r->reportView->fontMetrics().lineSpacing();
        QVERIFY2(lines >= 12, qPrintable(QString::number(lines)));
        const QList<int> before = r->panes->sizes();
        r->resize(r->width(), r->height() - 60);
        QTRY_VERIFY(r->panes->sizes() != before);
        const QList<int> after = r->panes->sizes();
        QVERIFY2(
            after[0] == before[0] && after[1] == before[1] && after[2] < before[2] &&
                after[3] < before[3],
            qPrintable(
                QString("%1 %2 %3 %4").arg(after[0]).arg(after[1]).arg(after[2]).arg(after[3])));
        r->panes->setSizes({after[0] + 30, after[1], after[2] - 30, after[3]});
        const QList<int> chosen = r->panes->sizes();
        r->essayList->setCurrentIndex(r->essayList->model()->index(1, 0));
        r->views->setCurrentIndex(1);
        r->views->setCurrentIndex(0);
        QCOMPARE(r->panes->sizes(), chosen);
        // The summary on top; the meanings on demand.
        const QString meaning = "Counted as when the essay was saved.";
        QVERIFY(r->reportView->toPlainText().startsWith(
            "Words: 1, below the band of 500 to 600. Paragraphs: 1. Spelling slips: 0."));
        QVERIFY(!r->reportView->toPlainText().contains(meaning));
        QTextCursor words = r->reportView->document()->find("Words:", 60);
        QVERIFY(words.charFormat().toolTip().startsWith(meaning));
        r->explainBox->click();
        QVERIFY(r->reportView->toPlainText().contains(meaning));
    }

    // The candidate's own rating and leave-out mark, two records of one second
    // apart: kept in the notes alone, shown in the list and Progress, read back
    // by a new window; notes that cannot be written change nothing, and say so.
    void ownRating_data()
    {
        columns<bool>("writable");
        row("kept", true);
        row("notes that cannot be written", false);
    }
    void ownRating()
    {
        QFETCH(bool, writable);
        LoadedProgram p;
        const QByteArray essays = record(sample(true, "One.")) + record(sample(true, "Two."));
        p.folder.write("user/ai12.txt", essays);
        if (!writable)
            QVERIFY(QDir().mkpath(p.folder.file("user/ai12.notes")));
        p.start->reviewButton->click();
        QPointer<ReviewWindow> r = p.start->findChild<ReviewWindow*>();
        QVERIFY(QTest::qWaitForWindowActive(r));
        RatingPane* pane = r->ratingPane;
        QTRY_VERIFY(pane->isEnabled());           // the marks are read on a thread
        QCOMPARE(pane->ratingChoice->count(), 8); // not rated, 0 to 6 in whole points
        const auto choose = [&](int row, int halfPoints, bool leftOut) {
            r->essayList->setCurrentIndex(r->essayList->model()->index(row, 0));
            const int at = pane->ratingChoice->findData(halfPoints);
            pane->ratingChoice->setCurrentIndex(at);
            emit pane->ratingChoice->activated(at);
            if (pane->leaveOutBox->isChecked() != leftOut)
                pane->leaveOutBox->click();
        };
        const auto shown = [&](int row) {
            return r->essayList->model()->index(row, EssayList::RatingColumn).data().toString();
        };
        r->views->setCurrentIndex(1);
        const QString bothInProgress = r->progressView->wordsChart->accessibleDescription();
        r->views->setCurrentIndex(0);
        choose(0, 0, false); // an essay off its topic
        QCOMPARE(shown(0), writable ? "0" : "");
        choose(0, 10, false); // changed: the last counts
        choose(1, 6, true);
        QCOMPARE(p.folder.read("user/ai12.txt"), essays);
        QCOMPARE(QDir(p.folder.file("user")).entryList(QDir::Files),
                 writable ? QStringList({"ai12.notes", "ai12.txt"}) : QStringList{"ai12.txt"});
        if (!writable) {
            QCOMPARE(p.fake.boxes.asked.size(), 4);
            QVERIFY(p.fake.boxes.prompts.first().startsWith("Not kept: ") &&
                    !p.fake.boxes.prompts.first().contains('\n'));
            QVERIFY(shown(0).isEmpty() && shown(1).isEmpty());
            QCOMPARE(pane->ratingChoice->currentText(), "Not rated");
            QVERIFY(!pane->leaveOutBox->isChecked());
            return;
        }
        QVERIFY(p.fake.boxes.asked.isEmpty());
        QCOMPARE(QStringList({shown(0), shown(1)}), QStringList({"5", "3, left out"}));
        QVERIFY(pane->meaningLabel->text().startsWith("Takes a position and gives reasons"));
        // Left out of the pictures and totals, and back once undone.
        r->views->setCurrentIndex(1);
        QVERIFY(r->progressView->wordsChart->accessibleDescription().startsWith("Words: 1 essay,"));
        QVERIFY(r->progressView->ratingsChart->accessibleDescription().endsWith(": 5.") &&
                r->progressView->ratingsChart->isVisible());
        r->views->setCurrentIndex(0);
        pane->leaveOutBox->click();
        r->views->setCurrentIndex(1);
        QCOMPARE(r->progressView->wordsChart->accessibleDescription(), bothInProgress);
        EssayList again;
        again.read(p.folder.file("user"), QLocale());
        QCOMPARE(again.essay(0).marks, (RecordMarks{10, false}));
        QCOMPARE(again.essay(1).marks, (RecordMarks{6, false}));
        // A new mark tells the list's views which cells changed, all of them cells it has.
        const QAbstractItemModelTester tester(
            &again, QAbstractItemModelTester::FailureReportingMode::QtTest);
        again.setMarks(1, {4, true});
        QCOMPARE(again.index(1, EssayList::RatingColumn).data(), "2, left out");
    }

    // An essay as a PDF: all of its pages, or no file and the reason, an old file kept.
    void essayPdf_data()
    {
        columns<QString, QString, int>("answer", "reason", "pages");
        row("a page", QString("Short."), QString(), 1);
        row("empty lines", "a" + QString("\r\n").repeated(300) + "z", QString(), 6);
        row("past the layout's reach", "a" + QString("\r\n").repeated(150000) + "z",
            QString("too long to lay out"), 0);
        row("above the bound", QString("x ").repeated(2 << 20) + "x", QString("of up to 4 MB"), 0);
    }
    void essayPdf()
    {
        QFETCH(QString, answer);
        QFETCH(QString, reason);
        QFETCH(int, pages);
        ProgramFolder folder;
        folder.write("e.pdf", "old");
        QString why;
        const EssayPage page{"Issue No.1", "3/14/2026", "9:26:53 AM", 1, "\r\nTopic\r\n",
                             answer,       nullptr,     {},           {}};
        QCOMPARE(writeEssayPdf(folder.file("e.pdf"), page, why), reason.isEmpty());
        QVERIFY2(why.contains(reason), qPrintable(why));
        const QByteArray pdf = folder.read("e.pdf");
        QCOMPARE(int(pdf.count("/Type /Page\n")), pages); // an object a page
        QVERIFY(pages > 0 || pdf == "old");               // the file there before is kept
    }

    // The Progress tab: the map's shades and the points' colours where they are
    // drawn, at the screen's density; Enter on a cell lists that topic's essays.
    void progressView()
    {
        LoadedProgram p;
        p.folder.write("user/ai9.txt",
                       record(sample(true, "O teh", 1)) + record(sample(true, "N")));
        p.folder.write("user/aa7.txt", record(sample(false, "A b c", 2)));
        p.fake.clock.dateTime = Changed.addDays(3); // after the essays
        p.start->reviewButton->click();
        QPointer<ReviewWindow> r = p.start->findChild<ReviewWindow*>();
        QVERIFY(QTest::qWaitForWindowActive(r) && r->views->currentIndex() == 0);
        r->resize(800, 720); // three bands of topics and the keys
        r->views->setCurrentIndex(1);
        ProgressView* v = r->progressView;
        QTRY_VERIFY(v->slipsChart->accessibleDescription().startsWith("Spelling slips per hundred "
                                                                      "words: 3 essays"));
        QVERIFY(v->topicMap->isVisible() && r->rect().contains(v->mapTo(r, v->rect().center())));
        v->topicMap->resize(v->topicMap->sizeHint()); // room for the counts
        const QImage map = rgb(v->topicMap->grab().toImage());
        const qreal s = map.devicePixelRatio();
        for (const auto& [cell, shade] : {std::pair(8, 2), std::pair(156, 1), std::pair(0, 0)}) {
            const QRect r = v->topicMap->cellRect(cell);
            QCOMPARE(map.pixelColor((r.topLeft() + QPoint(2, 2)) * s), shadeColour(shade));
            // The count written in it; nothing in a cell never written.
            bool written = false;
            const QRect inside = device(r.adjusted(2, 2, -3, -3), s);
            for (int i = 0; i < inside.width() * inside.height(); ++i)
                written |= map.pixelColor(inside.left() + i % inside.width(),
                                          inside.top() + i / inside.width()) != shadeColour(shade);
            QCOMPARE(written, shade > 0);
        }
        // Each mark and shade is named on the screen, beside its picture.
        QStringList named;
        for (PictureKey* key : {v->chartKey, v->mapKey})
            for (const PictureKey::Entry& entry : key->entries())
                named << entry.name;
        QCOMPARE(named.join(", "),
                 "Issue, Argument, GRE Issue, median of each essay and the four before, 500 "
                 "to 600 words, beyond the top, with its figure, never, once, "
                 "twice, 3 or 4 times, 5 or more");
        QVERIFY(v->chartKey->isVisible() && v->mapKey->isVisible() &&
                !v->ratingsChart->isVisible()); // no essay rated
        const auto coloursOf = [](QWidget* w) {
            const QImage shown = rgb(w->grab().toImage());
            std::set<QRgb> colours;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    colours.insert(shown.pixel(x, y));
            return colours;
        };
        // The marks as the picture draws them, and in its key.
        for (QWidget* w : std::initializer_list<QWidget*>{v->wordsChart, v->chartKey})
            for (const QColor& c : {IssueColour, ArgumentColour, BandColour})
                QVERIFY(coloursOf(w).contains(c.rgb()));
        // Tab goes from picture to picture in their order.
        v->wordsChart->setFocus();
        for (QWidget* next : {v->slipsChart, v->usageChart}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        v->topicMap->setCurrentCell(0);
        QVERIFY(v->cellLabel->text().startsWith("Issue No.1: "));
        v->topicMap->setFocus();
        v->topicMap->setCurrentCell(8);
        QVERIFY(v->cellLabel->text().startsWith("Issue No.9: written 2 times"));
        // A long topic's line wraps rather than widen the window.
        QVERIFY(v->cellLabel->minimumSizeHint().width() <
                v->cellLabel->fontMetrics().horizontalAdvance(v->cellLabel->text()) / 2);
        QTest::keyClick(v->topicMap, Qt::Key_Return);
        QVERIFY(r->views->currentIndex() == 0 && r->essayList->model()->rowCount() == 2);
        QCOMPARE(r->topicLabel->text(), "Topic: Issue No.9");
        r->allTopicsButton->click();
        QCOMPARE(r->essayList->model()->rowCount(), 3);
    }

    // Each shade of the map against the next (WCAG contrast), on a light window and a
    // dark one: "never" stands 3:1 from "once"; five steps cannot all reach 3:1 (that
    // would take 81:1, and black on white is 21:1), so the rest keep their order and
    // show their counts, written at 4.5:1 and more.
    void mapShades_data()
    {
        columns<MapScheme, int, double>("scheme", "shade", "least");
        for (const auto& [scheme, name] :
             {std::pair(MapScheme::Light, "light, "), std::pair(MapScheme::Dark, "dark, ")}) {
            for (int shade = 0; shade < 4; ++shade) {
                row(qPrintable(name + QString(ShadeNames.at(shade)) + " and next"), scheme, shade,
                    shade == 0 ? 3.0 : 1.6);
            }
        }
    }
    void mapShades()
    {
        QFETCH(MapScheme, scheme);
        QFETCH(int, shade);
        QFETCH(double, least);
        const auto lum = [](const QColor& c) {
            const auto lin = [](double v) {
                return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
        };
        const double here = lum(shadeColour(shade, scheme));
        const double next = lum(shadeColour(shade + 1, scheme));
        const double ratio = (std::max(here, next) + 0.05) / (std::min(here, next) + 0.05);
        QVERIFY2(ratio >= least, qPrintable(QString::number(ratio)));
        QVERIFY((next < here) == (scheme == MapScheme::Light)); // more is further from the page
        const double ink = lum(inkOn(shadeColour(shade + 1, scheme)));
        QVERIFY((std::max(ink, next) + 0.05) / (std::min(ink, next) + 0.05) >= 4.5);
    }

    // The GRE mode: off without its library; chosen from the keyboard for the run,
    // a topic of one form drawn at random, the section ended by the clock, the
    // essay filed byte for byte, read back by Help and listed by the Review window.
    void greMode()
    {
        {
            LoadedProgram p; // the folder has no gi.lib
            QVERIFY(!p.start->greOption->isEnabled() && p.start->gmatOption->isChecked() &&
                    p.start->examNote->text().startsWith("GRE off") &&
                    p.start->greOption->toolTip().endsWith("gi.lib: The file was not found."));
        }
        LoadedProgram p(true);
        StartWindow& s = *p.start;
        QVERIFY(QTest::qWaitForWindowActive(&s) && s.greOption->isEnabled());
        QTest::keyClick(&s, Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(s.greOption->isChecked()); // a shortcut presses its button a moment later
        QVERIFY(!s.issueOption->isVisible() && s.greTopicsLabel->isVisible() &&
                !s.formBox->isEnabled());
        QStringList visited;
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space, Qt::Key_Tab,
                                  Qt::Key_End, Qt::Key_Tab}) {
            QTest::keyClick(QApplication::focusWidget(), key);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited.join(' '),
                 "quitButton numberBox randomSelect randomSelect formBox formBox "
                 "practiceStartButton");
        QVERIFY(accessibleControls(&s).contains("GMAT:RadioButton, GRE:RadioButton") &&
                s.formBox->accessibleName() == "Form of a random topic" &&
                s.formBox->currentText() == "Policy");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        TestWindow& t = p.test();
        const Question q = t.question().value();
        QVERIFY(t.isVisible() && q.kind == EssayKind::GreIssue && q.number % 6 == 0);
        QCOMPARE(t.sectionTitle->text(), "GRE Test - Analytical Writing: Analyze an Issue");
        QCOMPARE(t.topicHeading->text(), QString("Issue %1 - Policy").arg(q.number));

        // The time runs out: the section ends with the save question, guarded from typing.
        t.answerBox->setPlainText("Time will tell.");
        t.timerTick();
        p.fake.clock.elapsed += 1800;
        t.timerTick();
        QVERIFY(p.fake.boxes.asked.isEmpty() && t.clock->text() == "00:00");
        p.fake.clock.elapsed += 0.5;
        t.timerTick();
        QCOMPARE(p.fake.boxes.prompts,
                 QStringList({"The time is up: the section has ended.\r\n" + SaveIt +
                                  "\r\nYou wrote 3 words in 30 min 0 s (the time ran out).",
                              Another}));
        QVERIFY(p.fake.boxes.asked[0].title == "Time Up!" &&
                p.fake.boxes.asked[0].guard == MessageBoxes::GuardFirstSecond);
        QVERIFY(s.isVisible() && !t.isVisible() && s.greOption->isChecked());
        const QString name = QString("user/gi%1.txt").arg(q.number);
        const QByteArray file = p.folder.read(name);
        const QByteArray stars = "********************\r\n";
        const QLocale locale = QLocale::system();
        QCOMPARE(file, "\r\n\r\n" + stars +
                           toCodePage("Date: " + recordDate(p.fake.clock.dateTime, locale) +
                                      "\r\nTime: " + recordTime(p.fake.clock.dateTime, locale) +
                                      "\r\nGRE Issue No." + QString::number(q.number) + "\r\n") +
                           stars + "Question:\r\n\r\n" +
                           toCodePage("\r\n" + s.greIssueTopics.at(q.number - 1)) + "\r\n" + stars +
                           "\r\nYour Answer:\r\n\r\nTime will tell.\r\n");

        // The same topic by number: Help brings the essay back.
        s.randomSelect->click();
        s.numberBox->setText(QString::number(q.number));
        s.practiceStartButton->click();
        click(t.helpButton);
        QCOMPARE(boxText(t.answerBox), savedEssaysFromBytes(file));
        p.fake.boxes.answers = {Cancel, Ok};
        click(t.sectionExitButton);

        s.reviewButton->click();
        QPointer<ReviewWindow> r = s.findChild<ReviewWindow*>();
        QVERIFY(QTest::qWaitForWindowActive(r));
        QVERIFY(r->countLabel->text().endsWith("GRE Issue topics: 1 of 150."));
        r->kindFilter->setCurrentIndex(r->kindFilter->findText("GRE Issue"));
        QVERIFY(r->essayList->model()->rowCount() == 1 &&
                r->essayList->model()->index(0, 2).data() == "GRE Issue" &&
                r->essayList->model()->index(0, 5).data() == "Time will tell.");
        r->close();
        // The GRE's Full Test: one Issue topic at random.
        s.fullTestStartButton->click();
        QVERIFY(t.isVisible() && t.question()->kind == EssayKind::GreIssue);
    }

    // Ctrl+Y redoes; Ctrl+Down and Ctrl+Page Down scroll the topic, the caret staying put.
    void answerKeys()
    {
        LoadedProgram p;
        p.startQuestion(false, QStringLiteral("7"));
        TestWindow& t = p.test();
        t.topicBox->setPlainText(QString(80, '\n'));
        QTest::keyClicks(t.answerBox, "ab");
        QTest::keyClick(t.answerBox, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(t.answerBox->toPlainText() != "ab"); // other Ctrl keys pass on: Ctrl+Z undoes
        QTest::keyClick(t.answerBox, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(t.answerBox->toPlainText(), QStringLiteral("ab"));
        QTest::keyClick(t.answerBox, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(t.topicBox->verticalScrollBar()->value(), 1);
        QTest::keyClick(t.answerBox, Qt::Key_PageDown, Qt::ControlModifier);
        QVERIFY(t.topicBox->verticalScrollBar()->value() > 5);
        QCOMPARE(t.answerBox->textCursor().position(), 2);
    }

    // Keys and clicks in the first second of the guarded box do not answer it.
    void timeUpGuard_data()
    {
        columns<int, int>("ms", "key"); // key 0: a click on OK
        row("Enter at 0.999 s", 999, int(Qt::Key_Return));
        row("click at 0.3 s", 300, 0);
        row("Enter at 1 s", 1000, int(Qt::Key_Return));
        row("click at 1.5 s", 1500, 0);
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

    // A box with a short prompt is still as wide as its title needs: the frame
    // would cut the title off.
    void boxTitleFits()
    {
        const QString title = "Unsaved Answer, a title far longer than its prompt";
        int width = 0;
        QTimer::singleShot(0, [&width] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            width = box->width();
            box->button(QMessageBox::Ok)->click();
        });
        RealMessageBoxes boxes;
        QCOMPARE(
            boxes.show(nullptr, "Save?", title, MessageBoxes::Information, MessageBoxes::OkCancel),
            MessageBoxes::AnswerOk);
        QVERIFY(width > QFontMetrics(QApplication::font()).horizontalAdvance(title) + 100);
    }

    // Keys that edit the answer are logged as what they do; a letter y is typing,
    // whatever the keys for redo are.
    void paceKeys()
    {
        LoadedProgram p;
        p.startQuestion(true, "12");
        TestWindow& t = p.test();
        t.timerTick();
        QTest::keyClicks(t.answerBox, "yes yes");
        for (const Qt::Key key : {Qt::Key_Z, Qt::Key_Y, Qt::Key_A, Qt::Key_X}) {
            QTest::keyClick(t.answerBox, key, Qt::ControlModifier);
            QCoreApplication::processEvents(); // each edit's entry is taken once it is done
        }
        QTest::keyClicks(t.answerBox, "y");
        QCoreApplication::processEvents();
        QString events;
        for (const PaceEntry& entry : t.paceLog().entries)
            events += QChar(char(entry.event));
        QCOMPARE(events, "surx");
    }

    // The pace log on the scripted clock: typing, a pause, a paste of 200 words and
    // a save; the notes beside the essay file hold its timeline, and the Review
    // window tells how the time went. The draft carries the log, and recovering it
    // keeps it. A timeline that cannot be written costs a line, not the essay.
    void paceRoad()
    {
        LoadedProgram p;
        p.startQuestion(true, "12");
        TestWindow& t = p.test();
        const double start = p.fake.clock.elapsed;
        const auto tickTo = [&](double seconds) {
            while (p.fake.clock.elapsed < start + seconds) {
                p.fake.clock.elapsed = std::min(p.fake.clock.elapsed + 0.5, start + seconds);
                t.timerTick();
            }
            QCoreApplication::processEvents();
        };
        t.timerTick(); // the first tick: the log begins
        tickTo(3);
        QTest::keyClicks(t.answerBox, "One two ");
        tickTo(82); // a pause from the sample at 5 s
        QTest::keyClicks(t.answerBox, "three ");
        tickTo(90);
        QGuiApplication::clipboard()->setText(QString("word ").repeated(200));
        QTest::keyClick(t.answerBox, Qt::Key_V, Qt::ControlModifier);
        tickTo(96);
        QTest::keyClick(t.answerBox, Qt::Key_Backspace);
        t.keepDraftNow();
        const std::optional<Draft> draft = readDraftFile(p.folder.file("user/draft.txt"));
        QVERIFY(draft && draft->pace == t.paceLog() && draft->pace.entries.size() > 15);
        ProgramFolder other; // a copy that died: its draft is recovered there
        QVERIFY(QFile::copy(p.folder.file("user/draft.txt"), other.file("user/draft.txt")));

        click(t.sectionExitButton); // save, then another question
        const auto timeline = [](const QString& user) {
            EssayList list;
            list.read(user, QLocale::system());
            return essayTimeline(list, 0, user);
        };
        const std::optional<PaceLog> saved = timeline(p.folder.file("user"));
        QVERIFY(saved &&
                saved->entries.size() == draft->pace.entries.size() + 2); // the Backspace, the end
        const QStringList said = paceSentences(paceFigures(*saved));
        QCOMPARE(said.mid(0, 3).join(' '),
                 "The first word came after 5 s. Words written in each third of the 30 min 00 s "
                 "allowed: 203 in the first 10 min 00 s, 0 in the second, 0 in the last. The "
                 "longest pause was 1 min 17 s, from 0:05 into the question.");
        QCOMPARE(said.at(3), "7 % of the characters typed were deleted again."); // 1 of 14
        QCOMPARE(paceFigures(*saved).pastes, QList<int>{90});

        p.start->reviewButton->click();
        QPointer<ReviewWindow> r = p.start->findChild<ReviewWindow*>();
        QVERIFY(QTest::qWaitForWindowActive(r));
        QCOMPARE(r->pacePane->sentences->text(), said.join(' '));
        // The sentences wrap to the pane rather than widen the window.
        QVERIFY(r->pacePane->sentences->minimumSizeHint().width() < r->width() / 2);
        QVERIFY(r->pacePane->chart->isVisible() &&
                r->pacePane->chart->accessibleDescription() == said.join(' '));
        r->askPdfPath = [&p](QWidget*, const QString&) { return p.folder.file("pace.pdf"); };
        r->savePdfButton->click(); // the picture and the sentences go on the page too
        QVERIFY(p.fake.boxes.prompts.size() == 2 && p.folder.read("pace.pdf").startsWith("%PDF"));
        r->views->setCurrentIndex(1); // the Progress tab: its timelines read on a thread
        QTRY_VERIFY(r->progressView->timeLeftChart->isVisible());
        QVERIFY(r->progressView->totalsLabel->text().endsWith(
            "Of the last ten essays with a timeline: 0.1 min before the first word, 28.4 min left "
            "at the end, in the mean."));
        r->close();

        const QString otherFolder = appFolderOf(QDir::toNativeSeparators(other.path()));
        const std::vector<ClaimedDraft> claimed = claimOrphanDrafts(otherFolder);
        QString detail;
        QCOMPARE(recoverDraft(
                     otherFolder, claimed.at(0), QLocale::system(),
                     [](const Draft&) { return DraftChoice::Save; }, detail),
                 Recovery::Saved);
        QCOMPARE(timeline(other.file("user")), draft->pace);

        // The notes cannot be written: the essay is saved all the same.
        QVERIFY(QDir().mkpath(p.folder.file("user/ai13.notes")));
        p.startQuestion(true, "13");
        t.timerTick();
        QTest::keyClicks(t.answerBox, "Kept.");
        p.fake.boxes.prompts.clear();
        click(t.sectionExitButton);
        QVERIFY(p.folder.read("user/ai13.txt").endsWith("Kept.\r\n"));
        QCOMPARE(p.fake.boxes.prompts.at(1), "Your essay was saved, but how its time went could "
                                             "not be kept.\r\n\r\nDo you want to start another "
                                             "question?");
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
