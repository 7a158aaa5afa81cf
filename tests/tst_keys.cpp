#include "windows.h"

#include "exam/essayfile.h"
#include "platform/inputguard.h"
#include "widgets/picturebox.h"

#include <QMessageBox>
#include <QScrollBar>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using Act = std::function<void(Frmmain&, FakePlatform&)>;
Q_DECLARE_METATYPE(Act)

// A click on the picture, or a key on it once Tab has brought the focus there,
// which must show a focus mark until the focus leaves.
static Act press(const char* name, int key)
{
    return [name, key](Frmmain& t, FakePlatform&) {
        auto* picture = t.findChild<PictureBox*>(name);
        if (!key)
            return QTest::mouseClick(picture, Qt::LeftButton);
        t.Text2->setFocus();
        const QImage plain = picture->grab().toImage();
        picture->setFocus(Qt::TabFocusReason);
        const QImage marked = picture->grab().toImage();
        QTest::keyClick(picture, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QVERIFY(marked != plain && picture->grab().toImage() != marked);
    };
}

class TestKeys : public QObject {
    Q_OBJECT
private slots:
    // The user had tabbed onto Section Exit; after any button or box, the next
    // key lands in the answer.
    void typingLandsInAnswer_data()
    {
        QTest::addColumn<Act>("act");
        for (const char* name : {"Picture1", "Picture2", "Picture3", "Picture4", "Picture6",
                                 "Picture7", "Picture8", "Picture9"}) {
            for (int key : {0, int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_Enter)}) {
                QTest::addRow("%s %s", name,
                              key ? qPrintable(QKeySequence(key).toString()) : "click")
                    << press(name, key);
            }
        }
        // After "Not Saved" the clock counts on from the question's own start.
        QTest::newRow("Answer Confirm, Not Saved, Time Up!")
            << Act([](Frmmain& t, FakePlatform& fake) {
                   fake.boxes.answers = {MessageBoxes::AnswerOk};
                   t.TimerTick();
                   QVERIFY(QDir(t.AppFolder + "user").removeRecursively());
                   QTest::mouseClick(t.Picture6, Qt::LeftButton);
                   t.Picture2->setFocus(Qt::TabFocusReason);
                   QTest::mouseClick(t.Picture5, Qt::LeftButton);
                   QVERIFY(t.Timer1->isActive());
                   fake.clock.elapsed += 1700;
                   t.TimerTick();
                   QCOMPARE(t.Label5->text(), QStringLiteral("01:40"));
                   fake.clock.elapsed += 900;
                   t.TimerTick();
                   t.TimerTick();
                   QCOMPARE(fake.boxes.prompts().last(), QStringLiteral("Time Up!"));
                   QCOMPARE(fake.boxes.asked.last().guard, MessageBoxes::GuardFirstSecond);
               });
    }
    void typingLandsInAnswer()
    {
        QFETCH(Act, act);
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("4"));
        Frmmain& t = p.test();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        t.Text2->setPlainText(QStringLiteral("essay"));
        t.Text2->moveCursor(QTextCursor::End);
        QTest::keyClick(t.Text2, Qt::Key_Tab); // onto Section Exit
        // Cancel on "Do you want to save it?" and on another question.
        p.fake.boxes.answers = {MessageBoxes::AnswerCancel, MessageBoxes::AnswerCancel};
        act(t, p.fake);
        QTest::keyClicks(QApplication::focusWidget(), "x");
        QVERIFY(t.Text2->toPlainText().endsWith(QLatin1Char('x')));
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
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("key"); // 0 for a click on OK
        QTest::newRow("Space at once") << 0 << int(Qt::Key_Space);
        QTest::newRow("Enter at 0.999 s") << 999 << int(Qt::Key_Return);
        QTest::newRow("click at 0.3 s") << 300 << 0;
        QTest::newRow("Enter at 1 s") << 1000 << int(Qt::Key_Return);
        QTest::newRow("click at 1.5 s") << 1500 << 0;
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
        QCOMPARE(box.isHidden(), ms >= InputGuard::FirstSecondMs);
    }

    void datesByLocale_data()
    {
        QTest::addColumn<QStringList>("row"); // locale, date, time of 2026-12-07 00:26:34
        QTest::newRow("C") << QStringList{"C", "2026-12-07", "00:26:34"};
        QTest::newRow("en_US") << QStringList{"en_US", "12/7/2026", "12:26:34 AM"};
        QTest::newRow("en_GB") << QStringList{"en_GB", "07/12/2026", "00:26:34"};
        QTest::newRow("de_DE") << QStringList{"de_DE", "07.12.2026", "00:26:34"};
        QTest::newRow("fr_FR") << QStringList{"fr_FR", "07/12/2026", "00:26:34"};
        QTest::newRow("ja_JP") << QStringList{"ja_JP", "2026/12/07", "0:26:34"};
    }
    void datesByLocale()
    {
        QFETCH(QStringList, row);
        const QDateTime when(QDate(2026, 12, 7), QTime(0, 26, 34));
        const QLocale locale(row.first());
        QCOMPARE(QStringList({RecordDate(when, locale), RecordTime(when, locale)}), row.mid(1));
    }

    // A failed save gives the system's own reason and leaves no part of the record.
    void saveErrorsFromTheSystem_data()
    {
        QTest::addColumn<QStringList>("row"); // file, reason
        QTest::newRow("full disk") << QStringList{"/dev/full", "No space left on device"};
        QTest::newRow("size limit reached part-way") << QStringList{"", "File too large"};
    }
    void saveErrorsFromTheSystem()
    {
        QFETCH(QStringList, row);
        QTemporaryDir dir;
        const QString path = row.first().isEmpty() ? dir.filePath("ai1.txt") : row.first();
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{100, old.rlim_max}; // bytes a file may reach
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        QString why;
        const bool saved = AppendEssayRecord(path, QString(300, QLatin1Char('a')), why);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY2(!saved && why.contains(row.last()), qPrintable(why));
        QCOMPARE(QFileInfo(path).size(), 0);
    }
};

QTEST_MAIN(TestKeys)
#include "tst_keys.moc"
