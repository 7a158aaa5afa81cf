#include "exam/essayfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
const QByteArray Stars = "********************";
}

class TestEssayFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString user() const { return dir_.path() + QStringLiteral("/user/"); }

private slots:
    void initTestCase() { QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("user"))); }

    void path_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("file");
        QTest::newRow("issue 12") << "2"
                                  << "12"
                                  << "user/ai12.txt";
        QTest::newRow("argument 7") << "1"
                                    << "7"
                                    << "user/aa7.txt";
        QTest::newRow("number trimmed") << "2"
                                        << "  3 "
                                        << "user/ai3.txt";
        QTest::newRow("other code reads as argument") << ""
                                                      << "5"
                                                      << "user/aa5.txt";
    }
    void path()
    {
        QFETCH(QString, mode);
        QFETCH(QString, number);
        QFETCH(QString, file);
        QCOMPARE(EssayFilePath(QStringLiteral("/p/"), mode, number), QStringLiteral("/p/") + file);
    }

    void recordBytes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("numberRow");
        QTest::newRow("issue") << int(EssayKind::Issue) << "Issue No.12";
        QTest::newRow("argument") << int(EssayKind::Argument) << "Argument No.12";
    }
    void recordBytes()
    {
        QFETCH(int, kind);
        QFETCH(QString, numberRow);
        const QString record =
            BuildEssayRecord(EssayKind(kind), QStringLiteral(" 12 "), QStringLiteral("3/14/26"),
                             QStringLiteral("9:26:53 AM"), QStringLiteral("\r\nT\r\n"),
                             QStringLiteral("abc\r\n\r\ndef"));
        const QString expected = QStringLiteral("\r\n\r\n"
                                                "********************\r\n"
                                                "Date: 3/14/26\r\n"
                                                "Time: 9:26:53 AM\r\n") +
                                 numberRow +
                                 QStringLiteral("\r\n"
                                                "********************\r\n"
                                                "Question:\r\n\r\n"
                                                "\r\nT\r\n\r\n"
                                                "********************\r\n\r\n"
                                                "Your Answer:\r\n\r\n"
                                                "abc\r\n\r\ndef\r\n");
        QCOMPARE(record, expected);
    }

    // The locale decides the forms; the time keeps its seconds and shows no zone.
    void dateAndTime_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("en_US") << "en_US"
                               << "3/4/2026"
                               << "9:06:05 PM";
        QTest::newRow("de_DE") << "de_DE"
                               << "04.03.2026"
                               << "21:06:05";
        QTest::newRow("en_GB") << "en_GB"
                               << "04/03/2026"
                               << "21:06:05";
        QTest::newRow("no regional settings") << "C"
                                              << "2026-03-04"
                                              << "21:06:05";
    }
    void dateAndTime()
    {
        QFETCH(QString, locale);
        QFETCH(QString, date);
        QFETCH(QString, time);
        const QDateTime when(QDate(2026, 3, 4), QTime(21, 6, 5));
        QCOMPARE(RecordDate(when, QLocale(locale)), date);
        QCOMPARE(RecordTime(when, QLocale(locale)), time);
    }

    void appendsWholeRecords()
    {
        const QString path = user() + QStringLiteral("ai1.txt");
        QFile::remove(path);
        QString reason;
        QVERIFY(AppendEssayRecord(path, QStringLiteral("\r\n\r\nfirst\r\n"), reason));
        QVERIFY(AppendEssayRecord(path, QString::fromUtf8("\r\n\r\nsecond \u00e9\r\n"), reason));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\r\n\r\nfirst\r\n\r\n\r\nsecond \xc3\xa9\r\n"));
    }

    void failuresLeaveFileAlone_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("reasonPart");
        QTest::newRow("no user folder") << "nofolder"
                                        << "does not exist";
        QTest::newRow("folder in the file's place") << "dir"
                                                    << "folder stands";
        QTest::newRow("read-only file") << "readonly"
                                        << "cannot be opened";
        QTest::newRow("full disk") << "full"
                                   << "could not be written";
    }
    void failuresLeaveFileAlone()
    {
        QFETCH(QString, setup);
        QFETCH(QString, reasonPart);
        QString path = user() + setup + QStringLiteral(".txt");
        const QByteArray before = "\r\n\r\nold record\r\n";
        if (setup == QLatin1String("nofolder")) {
            path = dir_.path() + QStringLiteral("/missing/aa1.txt");
        } else if (setup == QLatin1String("dir")) {
            QVERIFY(QDir(user()).mkpath(setup + QStringLiteral(".txt")));
        } else if (setup == QLatin1String("readonly")) {
            if (geteuid() == 0)
                QSKIP("root writes to read-only files");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(before);
            f.close();
            QVERIFY(f.setPermissions(QFile::ReadOwner));
        } else if (setup == QLatin1String("full")) {
            QFile::remove(path);
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
        }
        QString reason;
        QVERIFY(!AppendEssayRecord(path, QStringLiteral("new record"), reason));
        QVERIFY2(reason.contains(reasonPart), qPrintable(reason));
        if (setup == QLatin1String("readonly")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), before);
        }
    }

    void savedEssays_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("appended");
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("one line, no end") << QByteArray("abc") << "\r\nabc";
        QTest::newRow("CR LF lines") << QByteArray("\r\n\r\n**\r\nx\r\n") << "\r\n\r\n\r\n**\r\nx";
        QTest::newRow("lone CR ends a line") << QByteArray("a\rb") << "\r\na\r\nb";
        QTest::newRow("lone LF stays") << QByteArray("a\nb\r\n") << "\r\na\nb";
    }
    void savedEssays()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, appended);
        QCOMPARE(SavedEssaysFromBytes(bytes), appended);
    }

    void savedEssaysFromFiles()
    {
        QVERIFY(!ReadSavedEssays(user() + QStringLiteral("none.txt")).readable);
        QVERIFY(!ReadSavedEssays(user()).readable);
        const QString path = user() + QStringLiteral("aa9.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.close();
        const SavedEssays empty = ReadSavedEssays(path);
        QVERIFY(empty.readable);
        QVERIFY(empty.text.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEssayFile)
#include "tst_essayfile.moc"
