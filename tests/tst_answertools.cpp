#include "windows.h"

#include "widgets/picturebox.h"

#include <QClipboard>
#include <QScrollBar>
#include <QtTest>

class TestAnswerTools : public QObject {
    Q_OBJECT

    static void select(QPlainTextEdit* box, int from, int to)
    {
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
    }

private slots:
    void init() { QGuiApplication::clipboard()->setText(QStringLiteral("on the clipboard")); }

    void cut_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("a word") << 3 << 7 << "one three\nfour"
                                << " two";
        QTest::newRow("across a line break") << 11 << 15 << "one two throur"
                                             << "ee\nf";
        QTest::newRow("nothing selected") << 3 << 3 << "one two three\nfour"
                                          << "on the clipboard";
    }
    void cut()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, left);
        QFETCH(QString, clipboard);
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("1"));
        Frmmain& t = p.test();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        t.Text2->setPlainText(QStringLiteral("one two three\nfour"));
        select(t.Text2, from, to);
        QTest::mouseClick(t.Picture7, Qt::LeftButton);
        QCOMPARE(t.Text2->toPlainText(), left);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        QCOMPARE(QApplication::focusWidget(), t.Text2);
    }

    void paste_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("result");
        QTest::newRow("at the caret") << "X" << 3 << 3 << "oneX two";
        QTest::newRow("over a selection") << "X" << 0 << 3 << "X two";
        QTest::newRow("empty clipboard deletes the selection") << "" << 3 << 7 << "one";
        QTest::newRow("CR LF from other programs") << "a\r\nb" << 7 << 7 << "one twoa\nb";
    }
    void paste()
    {
        QFETCH(QString, clipboard);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, result);
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("1"));
        Frmmain& t = p.test();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        t.Text2->setPlainText(QStringLiteral("one two"));
        select(t.Text2, from, to);
        if (clipboard.isEmpty())
            QGuiApplication::clipboard()->clear();
        else
            QGuiApplication::clipboard()->setText(clipboard);
        QTest::mouseClick(t.Picture8, Qt::LeftButton);
        QCOMPARE(t.Text2->toPlainText(), result);
        QCOMPARE(QApplication::focusWidget(), t.Text2);
    }

    void helpWithSavedRecords_data()
    {
        QTest::addColumn<bool>("issue");
        QTest::addColumn<QString>("file");
        QTest::newRow("issue 12") << true << "user/ai12.txt";
        QTest::newRow("argument 7") << false << "user/aa7.txt";
    }
    void helpWithSavedRecords()
    {
        QFETCH(bool, issue);
        QFETCH(QString, file);
        LoadedProgram p;
        p.folder.write(file, "\r\n\r\n***\r\nold one\r\n\r\n\r\n***\r\nold two\r\n");
        p.startQuestion(issue, issue ? QStringLiteral("12") : QStringLiteral("7"));
        Frmmain& t = p.test();
        t.TimerTick();
        t.Text2->setPlainText(QStringLiteral("new\nanswer"));
        QTest::mouseClick(t.Picture4, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("new\nanswer"));
        QCOMPARE(BoxText(t.Text2), QStringLiteral("new\r\nanswer\r\n\r\n\r\n***\r\nold one"
                                                  "\r\n\r\n\r\n***\r\nold two"));
        QCOMPARE(t.Text2->textCursor().position(), t.Text2->document()->characterCount() - 1);
        QCOMPARE(t.Text2->verticalScrollBar()->value(), t.Text2->verticalScrollBar()->maximum());
        QVERIFY(!t.Timer1->isActive());
        QCOMPARE(t.Label5->text(), QStringLiteral("30:00"));
        QVERIFY(t.Countdown.RestartPending);
    }

    void helpWithoutSavedFile()
    {
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("3"));
        Frmmain& t = p.test();
        t.TimerTick();
        t.Text2->setPlainText(QStringLiteral("draft"));
        t.Help();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("draft"));
        QCOMPARE(t.Text2->toPlainText(), QStringLiteral("draft"));
        QVERIFY(t.Timer1->isActive()); // the clock is not touched
        QVERIFY(p.fake.boxes.asked.isEmpty());
    }

    void helpWithEmptyFileAndEmptyAnswer()
    {
        LoadedProgram p;
        p.folder.write(QStringLiteral("user/ai3.txt"), QByteArray());
        p.startQuestion(true, QStringLiteral("3"));
        Frmmain& t = p.test();
        t.Help();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("on the clipboard"));
        QVERIFY(t.Text2->toPlainText().isEmpty());
        QVERIFY(!t.Timer1->isActive());
        QCOMPARE(t.Label5->text(), QStringLiteral("30:00"));
    }

    // With an empty answer the saved lines still start on a line of their own.
    void helpAfterEmptyAnswer()
    {
        LoadedProgram p;
        p.folder.write(QStringLiteral("user/aa2.txt"), "x\r\ny");
        p.startQuestion(false, QStringLiteral("2"));
        p.test().Help();
        QCOMPARE(BoxText(p.test().Text2), QStringLiteral("\r\nx\r\ny"));
    }

    void nextArmsOnce()
    {
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("3"));
        Frmmain& t = p.test();
        const QImage confirm1(p.folder.file(QStringLiteral("confirm1.gif")));
        const QImage next1(p.folder.file(QStringLiteral("next1.gif")));
        QTest::mouseClick(t.Picture6, Qt::LeftButton);
        QVERIFY(t.Picture5->isEnabled());
        QVERIFY(!t.Picture6->isEnabled());
        QCOMPARE(t.Picture5->picture().toImage().convertToFormat(QImage::Format_RGB32),
                 confirm1.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(t.Picture6->picture().toImage().convertToFormat(QImage::Format_RGB32),
                 next1.convertToFormat(QImage::Format_RGB32));
    }

    void undoDoesNothing()
    {
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("3"));
        Frmmain& t = p.test();
        t.Text2->setPlainText(QStringLiteral("keep"));
        QTest::mouseClick(t.Picture9, Qt::LeftButton);
        QCOMPARE(t.Text2->toPlainText(), QStringLiteral("keep"));
        QVERIFY(p.fake.boxes.asked.isEmpty());
        QVERIFY(t.Timer1->isActive());
    }
};

QTEST_MAIN(TestAnswerTools)
#include "tst_answertools.moc"
