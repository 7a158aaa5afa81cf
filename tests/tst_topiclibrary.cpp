#include "bank/topiclibrary.h"
#include "platform/appfolder.h"
#include "platform/fault.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QByteArray Sep = "-----------------------";
}

class TestTopicLibrary : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString folder() const { return dir_.path() + QLatin1Char('/'); }
    void writeLib(const QByteArray& bytes)
    {
        QFile f(folder() + QStringLiteral("t.lib"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

private slots:
    void appFolder_data()
    {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("windows folder") << "C:\\Prog"
                                        << "\\"
                                        << "C:\\Prog\\";
        QTest::newRow("windows root") << "C:\\"
                                      << "\\"
                                      << "C:\\";
        QTest::newRow("posix folder") << "/opt/qel"
                                      << "/"
                                      << "/opt/qel/";
        QTest::newRow("posix root") << "/"
                                    << "/"
                                    << "/";
    }
    void appFolder()
    {
        QFETCH(QString, reported);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(AppFolderOf(reported, separator.at(0)), expected);
    }

    // Libraries of three topics, and what the first one or all three read as.
    void topics_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");
        const QByteArray tail = "X\r\n" + Sep + "\r\nY\r\n" + Sep + "\r\n";
        QTest::newRow("two lines")
            << "A\r\nB\r\n" + Sep + "\r\n" + tail << QStringList{"A\r\nB\r\n", "X\r\n", "Y\r\n"};
        QTest::newRow("leading spaces trimmed")
            << "   A\r\n" + Sep + "\r\n" + tail << QStringList{"A\r\n", "X\r\n", "Y\r\n"};
        QTest::newRow("trailing spaces kept before the line end")
            << "A   \r\n" + Sep + "\r\n" + tail << QStringList{"A   \r\n", "X\r\n", "Y\r\n"};
        QTest::newRow("tab not trimmed")
            << "\tA\r\n" + Sep + "\r\n" + tail << QStringList{"\tA\r\n", "X\r\n", "Y\r\n"};
        QTest::newRow("empty topic") << Sep + "\r\n" + tail << QStringList{"", "X\r\n", "Y\r\n"};
        QTest::newRow("one blank line")
            << "\r\n" + Sep + "\r\n" + tail << QStringList{"\r\n", "X\r\n", "Y\r\n"};
        QTest::newRow("blank line before separator")
            << "A\r\n\r\n" + Sep + "\r\n" + tail << QStringList{"A\r\n\r\n", "X\r\n", "Y\r\n"};
        QTest::newRow("separator with trailing blank is text")
            << "A\r\n" + Sep + " \r\n" + Sep + "\r\n" + tail
            << QStringList{"A\r\n" + QString::fromLatin1(Sep) + " \r\n", "X\r\n", "Y\r\n"};
        QTest::newRow("22 and 24 hyphens are text")
            << Sep.left(22) + "\r\n" + Sep + "-\r\n" + Sep + "\r\n" + tail
            << QStringList{QString::fromLatin1(Sep.left(22) + "\r\n" + Sep + "-\r\n"), "X\r\n",
                           "Y\r\n"};
        QTest::newRow("lone CR ends a line")
            << "A\rB\r" + Sep + "\r" + tail << QStringList{"A\r\nB\r\n", "X\r\n", "Y\r\n"};
        QTest::newRow("lone LF stays in the line")
            << "A\nB\r\n" + Sep + "\r\n" + tail << QStringList{"A\nB\r\n", "X\r\n", "Y\r\n"};
        QTest::newRow("last separator without line end")
            << "A\r\n" + Sep + "\r\nX\r\n" + Sep + "\r\nY\r\n" + Sep
            << QStringList{"A\r\n", "X\r\n", "Y\r\n"};
        QTest::newRow("blocks beyond the count never read")
            << tail + "Z\r\n" + Sep + "\r\n" + QByteArray("unterminated \xff\x00 junk", 20) + tail
            << QStringList{"X\r\n", "Y\r\n", "Z\r\n"};
        QTest::newRow("NUL bytes are text")
            << QByteArray("A\0B\r\n", 5) + Sep + "\r\n" + tail
            << QStringList{QString(QStringLiteral("A") + QChar(0) + QStringLiteral("B\r\n")),
                           "X\r\n", "Y\r\n"};
    }
    void topics()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        writeLib(file);
        TopicTable table;
        LoadTopicLibrary(folder(), QStringLiteral("t.lib"), 3, table);
        QCOMPARE(table, expected);
    }

    void shortFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << "topic 1 (0 lines read)";
        QTest::newRow("two of three") << "A\r\n" + Sep + "\r\nB\r\n" + Sep + "\r\n"
                                      << "topic 3 (4 lines read)";
        QTest::newRow("last lacks its separator") << "A\r\n" + Sep + "\r\nB\r\n" + Sep + "\r\nC\r\n"
                                                  << "topic 3 (5 lines read)";
        QTest::newRow("LF only") << "A\n" + Sep + "\nB\n" + Sep + "\nC\n" + Sep + "\n"
                                 << "end in LF alone, not in CR LF, so the separator of topic 1 "
                                    "is never found (1 line read)";
        QTest::newRow("LF from topic 2 on") << "A\r\n" + Sep + "\r\nB\n" + Sep + "\nC\n" + Sep
                                            << "not in CR LF, so the separator of topic 2";
        QTest::newRow("one line") << QByteArray("A")
                                  << "ends before the separator of topic 1 (1 line read)";
    }
    void shortFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        writeLib(file);
        TopicTable table{"untouched"};
        try {
            LoadTopicLibrary(folder(), QStringLiteral("t.lib"), 3, table);
            QFAIL("a short library must not load");
        } catch (const Fault& fault) {
            QCOMPARE(fault.file(), folder() + QStringLiteral("t.lib"));
            QVERIFY2(fault.reason().contains(reason), qPrintable(fault.reason()));
        }
        QCOMPARE(table, QStringList{"untouched"});
    }

    void missingAndFolder()
    {
        TopicTable table;
        QVERIFY_THROWS_EXCEPTION(Fault,
                                 LoadTopicLibrary(folder(), QStringLiteral("none.lib"), 1, table));
        QDir(dir_.path()).mkdir(QStringLiteral("dir.lib"));
        try {
            LoadTopicLibrary(folder(), QStringLiteral("dir.lib"), 1, table);
            QFAIL("a folder must not load");
        } catch (const Fault& fault) {
            QVERIFY(fault.reason().contains(QStringLiteral("folder")));
        }
    }

    // A CR LF pair split between two of the reader's 1 MiB chunks is one line end.
    void lineEndAcrossChunks()
    {
        const QByteArray longLine((1 << 20) - 1, 'a');
        writeLib(longLine + "\r\n" + Sep + "\r\nB\r\n" + Sep);
        TopicTable table;
        LoadTopicLibrary(folder(), QStringLiteral("t.lib"), 2, table);
        QCOMPARE(table.at(0), QString::fromLatin1(longLine + "\r\n"));
        QCOMPARE(table.at(1), QStringLiteral("B\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestTopicLibrary)
#include "tst_topiclibrary.moc"
