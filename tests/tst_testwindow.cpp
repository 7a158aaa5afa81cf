#include "windows.h"

#include "widgets/picturebox.h"

#include <QCheckBox>
#include <QImage>
#include <QRadioButton>
#include <QtTest>

namespace {
const QString Directions = QStringLiteral(
    "Discuss how well reasoned you find this argument. In your discussion be sure to analyze the "
    "line of reasoning and the use of evidence in the argument. For example, you may need to "
    "consider what questionable assumptions underlie the thinking and what alternative "
    "explanations or counterexamples might weaken the conclusion. You can also discuss what sort "
    "of evidence would strengthen or refute the argument, what changes in the argument would "
    "make it more logically sound, and what, if anything, would help you better evaluate its "
    "conclusion.");
}

class TestTestWindow : public QObject {
    Q_OBJECT
private slots:
    void loadState()
    {
        LoadedProgram p;
        Frmmain& t = p.test();
        QVERIFY(!t.isVisible());
        QCOMPARE(t.size(), QSize(638, 480));
        QVERIFY(t.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(t.AppFolder, p.folder.path() + QLatin1Char('/'));
        QCOMPARE(int(t.Countdown.MinutesLeft), 30);
        QCOMPARE(int(t.Countdown.SecondsLeft), 0);
        QCOMPARE(t.Countdown.CountdownStart, 0.0);
        QVERIFY(t.Countdown.RestartPending);
        QVERIFY(!t.Timer1->isActive());
        QCOMPARE(t.Timer1->interval(), 500);
        QCOMPARE(t.Label5->text(), QStringLiteral("00:30"));
        QCOMPARE(t.Label6->text(), QStringLiteral("30"));
        QVERIFY(t.Label3->text().isEmpty());
        QVERIFY(t.Label4->text().isEmpty());
        QVERIFY(!t.Picture5->isEnabled());
        QVERIFY(t.Picture6->isEnabled());
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<bool>("shown");
        QTest::newRow("Label1") << "Label1" << QRect(0, 2, 641, 17) << true;
        QTest::newRow("Label5") << "Label5" << QRect(8, 2, 49, 17) << true;
        QTest::newRow("Label3") << "Label3" << QRect(16, 32, 25, 17) << false;
        QTest::newRow("Label4") << "Label4" << QRect(72, 32, 41, 17) << false;
        QTest::newRow("Label6") << "Label6" << QRect(128, 32, 33, 17) << false;
        QTest::newRow("Label2") << "Label2" << QRect(16, 80, 193, 17) << true;
        QTest::newRow("Text1") << "Text1" << QRect(12, 96, 616, 163) << true;
        QTest::newRow("Text2") << "Text2" << QRect(19, 264, 530, 171) << true;
        QTest::newRow("Picture7") << "Picture7" << QRect(554, 269, 67, 43) << true;
        QTest::newRow("Picture8") << "Picture8" << QRect(554, 317, 67, 43) << true;
        QTest::newRow("Picture9") << "Picture9" << QRect(554, 365, 67, 43) << true;
        QTest::newRow("Picture1") << "Picture1" << QRect(11, 439, 45, 40) << true;
        QTest::newRow("Picture2") << "Picture2" << QRect(58, 439, 45, 40) << true;
        QTest::newRow("Picture3") << "Picture3" << QRect(105, 439, 45, 40) << true;
        QTest::newRow("Picture4") << "Picture4" << QRect(490, 439, 45, 40) << true;
        QTest::newRow("Picture5") << "Picture5" << QRect(537, 439, 45, 40) << true;
        QTest::newRow("Picture6") << "Picture6" << QRect(584, 439, 45, 40) << true;
    }
    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        QFETCH(bool, shown);
        LoadedProgram p;
        auto* w = p.test().findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), rect);
        QCOMPARE(w->isVisibleTo(&p.test()), shown);
    }

    // Each picture button is drawn into the background beneath it, pixel for
    // pixel, and each text box covers its drawn panel: the white inside, the
    // panel's frame or the light background just outside.
    void controlsLieOverTheirDrawnParts()
    {
        LoadedProgram p;
        Frmmain& t = p.test();
        const QImage background =
            QImage(QStringLiteral(":/background.png")).convertToFormat(QImage::Format_RGB32);
        for (PictureBox* box : {t.Picture1, t.Picture2, t.Picture3, t.Picture4, t.Picture5,
                                t.Picture6, t.Picture7, t.Picture8, t.Picture9}) {
            const QImage picture = box->picture().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(picture.size(), box->size());
            QVERIFY2(background.copy(box->geometry()) == picture, qPrintable(box->objectName()));
        }
        for (QPlainTextEdit* text : {t.Text1, t.Text2}) {
            const QRect r = text->geometry();
            QCOMPARE(background.pixel(r.left() + 2, r.top() + 2), qRgb(255, 255, 255));
            QCOMPARE(background.pixel(r.left() + r.width() / 2, r.bottom() - 2),
                     qRgb(255, 255, 255));
            QVERIFY(background.pixel(r.left() - 1, r.center().y()) != qRgb(255, 255, 255));
            QVERIFY(background.pixel(r.center().x(), r.bottom() + 2) != qRgb(255, 255, 255));
        }
        // The title band and the teal strip lie under the white labels.
        const QRgb band = background.pixel(300, 10);
        QVERIFY(qGreen(band) > qRed(band) && qGray(band) < 100);
        QCOMPARE(background.pixel(t.Label2->x() + 2, t.Label2->y() + 2),
                 background.pixel(t.Label2->x() + 2, 95));
    }

    void issueTopicFillsWindow()
    {
        LoadedProgram p;
        p.test().Text2->setPlainText(QStringLiteral("left from before"));
        p.startQuestion(true, QStringLiteral("7"));
        Frmmain& t = p.test();
        QCOMPARE(BoxText(t.Text1), QStringLiteral("\r\nIssue topic 7\r\n"));
        QCOMPARE(t.Label1->text(), QStringLiteral("GMAT Test - Section 2: Analytical Writing 2"));
        QCOMPARE(t.Label2->text(), QStringLiteral("Issue 7"));
        QCOMPARE(t.Label3->text(), QStringLiteral("2"));
        QCOMPARE(t.Label4->text(), QStringLiteral("7"));
        QVERIFY(t.Text2->toPlainText().isEmpty());
        QVERIFY(t.Timer1->isActive());
        QVERIFY(t.isVisible());
        QVERIFY(!p.start->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&t));
        QCOMPARE(QApplication::focusWidget(), t.Text2);
    }

    void argumentTopicGetsDirections()
    {
        LoadedProgram p;
        p.startQuestion(false, QStringLiteral("141"));
        Frmmain& t = p.test();
        QCOMPARE(BoxText(t.Text1), QStringLiteral("\r\nArgument topic 141\r\n\r\n\r\n") +
                                       Directions + QStringLiteral("\r\n"));
        QCOMPARE(t.Label1->text(), QStringLiteral("GMAT Test - Section 1: Analytical Writing 1"));
        QCOMPARE(t.Label2->text(), QStringLiteral("Argument 141"));
        QCOMPARE(t.Label3->text(), QStringLiteral("1"));
        QCOMPARE(t.Label4->text(), QStringLiteral("141"));
    }

    void entriesStartTopics_data()
    {
        QTest::addColumn<bool>("issue");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("label4"); // empty: Wrong Number
        QTest::newRow("1.4") << true << "1.4"
                             << "1";
        QTest::newRow("149.5") << true << "149.5"
                               << "150";
        QTest::newRow("7abc") << true << "7abc"
                              << "7";
        QTest::newRow("0") << true << "0"
                           << "";
        QTest::newRow("150.5") << true << "150.5"
                               << "";
        QTest::newRow("empty") << true << ""
                               << "";
        QTest::newRow("abc") << true << "abc"
                             << "";
        QTest::newRow("argument 142") << false << "142"
                                      << "";
        QTest::newRow("argument 150") << false << "150"
                                      << "";
    }
    void entriesStartTopics()
    {
        QFETCH(bool, issue);
        QFETCH(QString, entry);
        QFETCH(QString, label4);
        LoadedProgram p;
        p.startQuestion(issue, entry);
        Frmmain& t = p.test();
        if (label4.isEmpty()) {
            QCOMPARE(p.fake.boxes.asked.size(), 1);
            const AskedBox& box = p.fake.boxes.asked.first();
            QCOMPARE(box.prompt, QStringLiteral("Wrong Number"));
            QCOMPARE(box.title, QStringLiteral("Error!"));
            QCOMPARE(box.icon, MessageBoxes::Exclamation);
            QCOMPARE(box.buttons, MessageBoxes::Ok);
            QCOMPARE(p.start->Text1->text(), QStringLiteral("1"));
            QCOMPARE(issue ? p.start->Option1->isChecked() : p.start->Option2->isChecked(), true);
            QVERIFY(p.start->isVisible());
            QVERIFY(!t.isVisible());
            QVERIFY(!t.Timer1->isActive());
            QVERIFY(t.Label4->text().isEmpty());
        } else {
            QVERIFY(p.fake.boxes.asked.isEmpty());
            QCOMPARE(t.Label4->text(), label4);
        }
    }

    void randomIgnoresTheBox()
    {
        LoadedProgram p;
        p.start->Check1->setChecked(true);
        p.start->RandomSelectClicked();
        p.start->Text1->setText(QStringLiteral("not a number"));
        p.start->Option2->setChecked(true);
        p.start->StartPractice();
        QVERIFY(p.fake.boxes.asked.isEmpty());
        QCOMPARE(p.start->Text1->text(), QStringLiteral("not a number"));
        const int n = p.test().Label4->text().toInt();
        QVERIFY(n >= 1 && n <= 141);
        QCOMPARE(p.test().Label3->text(), QStringLiteral("1"));
        QCOMPARE(p.fake.clock.seed, std::uint64_t(2)); // seeded right before the draw
    }

    void topicBoxPassesFocus()
    {
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("3"));
        Frmmain& t = p.test();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        QTest::mouseClick(t.Text1->viewport(), Qt::LeftButton, {}, QPoint(30, 10));
        QCOMPARE(QApplication::focusWidget(), t.Text2);
        t.Picture1->setFocus(); // the control before the answer box in the tab order
        QTest::keyClick(t.Picture1, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), t.Text2);
        // Tab in the answer moves on instead of typing a tab.
        QTest::keyClick(t.Text2, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), t.Picture2);
        QVERIFY(!t.Text2->toPlainText().contains(QLatin1Char('\t')));
    }

    void timeButtonToggles()
    {
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("3"));
        Frmmain& t = p.test();
        QTest::mouseClick(t.Picture3, Qt::LeftButton);
        QVERIFY(!t.Label5->isVisible());
        QVERIFY(t.Timer1->isActive());
        QTest::mouseClick(t.Picture3, Qt::LeftButton);
        QVERIFY(t.Label5->isVisible());
    }

    // The window's ticks, driven through the clock seam.
    void ticksThroughTheWindow()
    {
        LoadedProgram p;
        Frmmain& t = p.test();
        p.startQuestion(true, QStringLiteral("3"));
        p.fake.clock.elapsed = 500; // switched on long before the first tick
        t.TimerTick();
        QCOMPARE(t.Label5->text(), QStringLiteral("00:30"));
        t.ToggleClock();
        QVERIFY(!t.Label5->isVisible());
        // Midnight and a wall-clock step backwards change nothing.
        p.fake.clock.now = p.fake.clock.now.addSecs(-7200);
        p.fake.clock.elapsed = 500 + 1500;
        t.TimerTick();
        QCOMPARE(t.Label5->text(), QStringLiteral("00:05"));
        QVERIFY(!t.Label5->isVisible());
        p.fake.clock.elapsed = 500 + 1501;
        t.TimerTick();
        QCOMPARE(t.Label5->text(), QStringLiteral("04:59"));
        QVERIFY(t.Label5->isVisible());
        QVERIFY(!t.Picture3->isEnabled());
        QTest::mouseClick(t.Picture3, Qt::LeftButton); // off: no click gets through
        QVERIFY(t.Label5->isVisible());
        p.fake.clock.elapsed = 500 + 1800;
        t.TimerTick();
        QCOMPARE(t.Label5->text(), QStringLiteral("00:00"));
        QVERIFY(p.fake.boxes.asked.isEmpty());
        QVERIFY(t.Timer1->isActive());
        t.TimerTick();
        QCOMPARE(p.fake.boxes.prompts(), QStringList{"Time Up!"});
        QCOMPARE(p.fake.boxes.asked.first().title, QStringLiteral("Time Up!"));
        QCOMPARE(p.fake.boxes.asked.first().icon, MessageBoxes::Exclamation);
        QVERIFY(!t.Timer1->isActive());
        QCOMPARE(t.Label5->text(), QStringLiteral("00:00"));
        QVERIFY(t.Text2->isEnabled());
    }

    void clockAtRestFromCounting()
    {
        LoadedProgram p;
        Frmmain& t = p.test();
        p.startQuestion(true, QStringLiteral("3"));
        t.TimerTick();
        p.fake.clock.elapsed += 1700;
        t.TimerTick();
        t.PutClockAtRest();
        QVERIFY(!t.Timer1->isActive());
        QCOMPARE(t.Label5->text(), QStringLiteral("30:00"));
        QVERIFY(t.Label5->isVisible());
        QVERIFY(t.Picture3->isEnabled());
        QCOMPARE(int(t.Countdown.MinutesLeft), 30);
        QVERIFY(t.Countdown.RestartPending);
    }
};

QTEST_MAIN(TestTestWindow)
#include "tst_testwindow.moc"
