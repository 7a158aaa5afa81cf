#include "windows.h"

#include "platform/fault.h"

#include <QDir>
#include <QElapsedTimer>
#include <QtTest>

#include <cstdio>
#include <random>

#include <unistd.h>

// Topic libraries that are missing, short or broken: each must end the load
// with the one fault box, naming the file and what is wrong with it; a huge but
// valid one must load whole.
namespace {

QByteArray RandomBytes(std::uint32_t seed, qsizetype size)
{
    std::mt19937 generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes)
        c = static_cast<char>(generator() & 0xff);
    return bytes;
}

void Figure(const QByteArray& line)
{
    std::printf("FIGURE %s\n", line.constData());
    std::fflush(stdout);
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT
private slots:
    void faultNamesFileAndCause_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("breakage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "aa.lib"
                                 << "missing"
                                 << "The file was not found.";
        QTest::newRow("short-by-one")
            << "ai.lib"
            << "short"
            << "The file ends before the separator of topic 150 (298 lines read).";
        QTest::newRow("lf-only") << "aa.lib"
                                 << "lf"
                                 << "The lines of the file end in LF alone, not in CR LF, so the "
                                    "separator of topic 1 is never found (1 line read).";
        QTest::newRow("empty") << "aa.lib"
                               << "empty"
                               << "The file ends before the separator of topic 1 (0 lines read).";
        QTest::newRow("random-bytes") << "ai.lib"
                                      << "random"
                                      << "The file ends before the separator of topic 1 (";
        QTest::newRow("nul-bytes") << "aa.lib"
                                   << "nul"
                                   << "The file ends before the separator of topic 1 (1 line "
                                      "read).";
        QTest::newRow("directory") << "ai.lib"
                                   << "directory"
                                   << "A folder stands where the file should be.";
        QTest::newRow("unreadable") << "aa.lib"
                                    << "unreadable"
                                    << "The file cannot be opened: ";
    }
    void faultNamesFileAndCause()
    {
        QFETCH(QString, file);
        QFETCH(QString, breakage);
        QFETCH(QString, reason);
        const QByteArray name = QTest::currentDataTag();
        FakePlatform fake;
        ProgramFolder folder;
        const QString path = folder.file(file);
        if (breakage == QLatin1String("missing")) {
            QVERIFY(QFile::remove(path));
        } else if (breakage == QLatin1String("short")) {
            folder.write(file, SmallLibrary("Issue", 149));
        } else if (breakage == QLatin1String("lf")) {
            folder.write(file, SmallLibrary("Argument", 141).replace("\r\n", "\n"));
        } else if (breakage == QLatin1String("empty")) {
            folder.write(file, QByteArray());
        } else if (breakage == QLatin1String("random")) {
            folder.write(file, RandomBytes(20260314, qsizetype{256} * 1024));
        } else if (breakage == QLatin1String("nul")) {
            folder.write(file, QByteArray(qsizetype{64} * 1024, '\0'));
        } else if (breakage == QLatin1String("directory")) {
            QVERIFY(QFile::remove(path));
            QVERIFY(QDir().mkdir(path));
        } else {
            if (geteuid() == 0) {
                Figure("hostile-load " + name + " skipped(root reads any file)");
                QSKIP("root can read a file of mode 000");
            }
            QVERIFY(QFile(path).setPermissions(QFileDevice::Permissions()));
        }

        try {
            LoadProgram(fake.seams, folder.path());
            QFAIL("the load must fail");
        } catch (const std::exception& error) {
            HandleUntrappedFault(fake.seams, error);
        }
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

        QCOMPARE(fake.boxes.asked.size(), 1);
        const AskedBox& box = fake.boxes.asked.first();
        QCOMPARE(box.title, QStringLiteral("QEL Simulator"));
        QCOMPARE(box.icon, MessageBoxes::Critical);
        QVERIFY2(box.prompt.contains(QStringLiteral("File: ") + path + QStringLiteral("\r\n")),
                 qPrintable(box.prompt));
        QVERIFY2(box.prompt.contains(QStringLiteral("Fault: ") + reason), qPrintable(box.prompt));
        QCOMPARE(fake.end.statuses, QList<int>{1});
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!w->isVisible());
        Figure("hostile-load " + name + " fault-named");
    }

    // An answer is saved as typed, whatever characters it holds. A line
    // separator (what Shift+Enter types) is a line break like any other.
    void unusualAnswerCharactersSaved()
    {
        LoadedProgram p;
        p.startQuestion(true, QStringLiteral("3"));
        const QString typed = QString::fromUtf8("caf\u00e9 10\u00a0km\u2028next\tline \u20ac");
        p.test().Text2->setPlainText(typed);
        p.test().EndSection();
        const QByteArray record = p.folder.read(QStringLiteral("user/ai3.txt"));
        QVERIFY(record.endsWith("\r\n"));
        const QByteArray answer =
            record.mid(record.lastIndexOf("Your Answer:\r\n\r\n") + 16).chopped(2);
        QCOMPARE(answer, QByteArray("caf\xc3\xa9 10\xc2\xa0km\r\nnext\tline \xe2\x82\xac"));
    }

    // 150 topics of 3500 lines each, about 50 MB: all read, each topic whole.
    void fiftyMegabytesLoad()
    {
        const QByteArray filler =
            "lorem ipsum dolor sit amet, consectetur adipiscing elit sed do eiusmod tempor";
        QByteArray library;
        library.reserve(qsizetype{56} * 1024 * 1024);
        QList<QByteArray> blocks;
        for (int k = 1; k <= 150; ++k) {
            QByteArray block;
            for (int j = 1; j <= 3500; ++j)
                block += "Topic " + QByteArray::number(k) + " line " + QByteArray::number(j) +
                         ": " + filler + "\r\n";
            library += block + "-----------------------\r\n";
            if (k == 1 || k == 75 || k == 150)
                blocks << block;
        }
        QVERIFY(library.size() > qsizetype{50} * 1000 * 1000);

        FakePlatform fake;
        ProgramFolder folder;
        folder.write(QStringLiteral("ai.lib"), library);
        library.clear();
        QElapsedTimer timer;
        timer.start();
        auto start = LoadProgram(fake.seams, folder.path());
        const qint64 ms = timer.elapsed();
        std::printf("loading a 50 MB ai.lib took %lld ms\n", static_cast<long long>(ms));
        QVERIFY(fake.boxes.asked.isEmpty());
        QCOMPARE(start->IssueTopics.size(), 150);
        QCOMPARE(start->IssueTopics.at(0), QString::fromLatin1(blocks.at(0)));
        QCOMPARE(start->IssueTopics.at(74), QString::fromLatin1(blocks.at(1)));
        QCOMPARE(start->IssueTopics.at(149), QString::fromLatin1(blocks.at(2)));
        QCOMPARE(start->ArgumentTopics.at(140), QStringLiteral("Argument topic 141\r\n"));
        Figure("hostile-load 50mb-valid loaded,ms=" + QByteArray::number(ms));
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
