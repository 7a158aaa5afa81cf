#include "windows.h"

#include "platform/fault.h"
#include "platform/product.h"
#include "widgets/picturebox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestStartWindow : public QObject {
    Q_OBJECT
private slots:
    void firstShow()
    {
        LoadedProgram p;
        Frmstart& s = *p.start;
        QCOMPARE(s.windowTitle(),
                 QStringLiteral("QEL Simulator 1.0 (") + Product::WebAddress + QLatin1Char(')'));
        QCOMPARE(s.size(), QSize(414, 269));
        QVERIFY(s.Option1->isChecked());
        QVERIFY(!s.Option2->isChecked());
        QCOMPARE(s.Text1->text(), QStringLiteral("1"));
        QVERIFY(s.Text1->isEnabled());
        QVERIFY(!s.Check1->isChecked());
        QVERIFY(!s.Command3->isEnabled());
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        QCOMPARE(QApplication::focusWidget(), s.Command1);
        QVERIFY(!s.testWindow()->isVisible());
        QCOMPARE(s.IssueTopics.size(), 150);
        QCOMPARE(s.ArgumentTopics.size(), 141);
        QCOMPARE(s.ArgumentTopics.at(140), QStringLiteral("Argument topic 141\r\n"));
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QString>("text");
        QTest::newRow("Frame1") << "Frame1" << QRect(16, 16, 169, 233) << "Practice";
        QTest::newRow("Option1") << "Option1" << QRect(16, 24, 113, 17) << "Issue (1-150)";
        QTest::newRow("Option2") << "Option2" << QRect(16, 40, 121, 17) << "Argument (1-141)";
        QTest::newRow("Label1") << "Label1" << QRect(32, 104, 49, 17) << "QEL No.";
        QTest::newRow("Text1") << "Text1" << QRect(72, 96, 49, 22) << "1";
        QTest::newRow("Check1") << "Check1" << QRect(32, 128, 113, 25) << "Random Select";
        QTest::newRow("Command2") << "Command2" << QRect(48, 176, 73, 25) << "&Start";
        QTest::newRow("Frame2") << "Frame2" << QRect(224, 16, 169, 89) << "Full Test";
        QTest::newRow("Command3") << "Command3" << QRect(48, 32, 73, 25) << "Start";
        QTest::newRow("Command1") << "Command1" << QRect(232, 128, 65, 25) << "&Quit";
        QTest::newRow("Command4") << "Command4" << QRect(320, 128, 65, 25) << "&About";
        QTest::newRow("Picture1") << "Picture1" << QRect(216, 192, 183, 59) << "";
    }
    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        QFETCH(QString, text);
        LoadedProgram p;
        auto* w = p.start->findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), rect);
        QString shown;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            shown = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            shown = g->title();
        else if (auto* l = qobject_cast<QLabel*>(w))
            shown = l->text();
        else if (auto* e = qobject_cast<QLineEdit*>(w))
            shown = e->text();
        QCOMPARE(shown, text);
    }

    void tabOrder()
    {
        LoadedProgram p;
        Frmstart& s = *p.start;
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        QStringList visited;
        for (int i = 0; i < 8; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, QStringList({"Command1", "Option1", "Text1", "Check1", "Command2",
                                       "Picture1", "Command4", "Command1"}));
    }

    // Enter presses the focused button (Quit at first), not some default button.
    void enterPressesFocusedButton()
    {
        LoadedProgram p;
        QVERIFY(QTest::qWaitForWindowExposed(p.start.get()));
        QTest::keyClick(p.start->Command1, Qt::Key_Return);
        QCOMPARE(p.fake.end.statuses, QList<int>{0});
    }

    void randomSelectToggle()
    {
        LoadedProgram p;
        Frmstart& s = *p.start;
        s.Text1->setText(QStringLiteral("42"));
        QTest::mouseClick(s.Check1, Qt::LeftButton, {}, QPoint(5, s.Check1->height() / 2));
        QVERIFY(s.Check1->isChecked());
        QVERIFY(!s.Text1->isEnabled());
        QCOMPARE(s.Text1->text(), QStringLiteral("42"));
        QTest::mouseClick(s.Check1, Qt::LeftButton, {}, QPoint(5, s.Check1->height() / 2));
        QVERIFY(s.Text1->isEnabled());
        QCOMPARE(s.Text1->text(), QStringLiteral("42"));
    }

    void quitAndCloseEndTheProgram()
    {
        LoadedProgram p;
        QCOMPARE(p.start->Command1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Q));
        QCOMPARE(p.start->Command2->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
        QCOMPARE(p.start->Command4->shortcut(), QKeySequence(Qt::ALT | Qt::Key_A));
        p.start->Command1->click();
        QCOMPARE(p.fake.end.statuses, QList<int>{0});
        p.start->close();
        QCOMPARE(p.fake.end.statuses, QList<int>({0, 0}));
        QVERIFY(p.fake.boxes.asked.isEmpty());
    }

    void logoOpensTheSite()
    {
        LoadedProgram p;
        p.fake.shell.succeed = false; // a failure shows nothing
        QTest::mouseClick(p.start->Picture1, Qt::LeftButton);
        QCOMPARE(p.fake.shell.opened, QStringList{Product::WebAddress});
        QVERIFY(p.fake.boxes.asked.isEmpty());
        QCOMPARE(p.start->Picture1->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(p.start->Picture1->toolTip(), QStringLiteral("Click to visit our website"));
    }
};

QTEST_MAIN(TestStartWindow)
#include "tst_startwindow.moc"
