#include "bank/topiclibrary.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {
const QString IssueTask = QStringLiteral(
    "Write a response in which you explain how far you agree or disagree with the view above, "
    "and support your position with reasons and examples taken from your experience, "
    "observation or reading.");

QString DataFolder()
{
    return qEnvironmentVariable("QEL_SOURCE_DIR") + QStringLiteral("/data/");
}
} // namespace

// The libraries that ship with the program.
class TestLibraries : public QObject {
    Q_OBJECT
private slots:
    void fileBytes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::newRow("ai.lib") << IssueLibraryName << IssueTopicCount;
        QTest::newRow("aa.lib") << ArgumentLibraryName << ArgumentTopicCount;
    }
    void fileBytes()
    {
        QFETCH(QString, name);
        QFETCH(int, count);
        QFile file(DataFolder() + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        for (const char c : bytes)
            QVERIFY2(uchar(c) < 0x80 && (uchar(c) >= 0x20 || c == '\r' || c == '\n'),
                     "plain ASCII text only");
        QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
        QCOMPARE(bytes.count("\r\n"), bytes.count('\r'));
        QCOMPARE(bytes.count("\r\n" + TopicSeparator + "\r\n"), qsizetype(count));
        QVERIFY(bytes.endsWith("\r\n" + TopicSeparator + "\r\n"));
    }

    void issueTopics()
    {
        TopicTable table;
        LoadTopicLibrary(DataFolder(), IssueLibraryName, IssueTopicCount, table);
        QCOMPARE(table.size(), 150);
        QSet<QString> claims;
        static const QRegularExpression shape(QStringLiteral("^\"[^\"]+\"\r\n\r\n(.+)\r\n$"));
        for (const QString& topic : table) {
            const auto match = shape.match(topic);
            QVERIFY2(match.hasMatch(), qPrintable(topic));
            QCOMPARE(match.captured(1), IssueTask);
            claims.insert(topic.section(QLatin1Char('"'), 1, 1).toLower());
        }
        QCOMPARE(claims.size(), 150);
    }

    void argumentTopics()
    {
        TopicTable table;
        LoadTopicLibrary(DataFolder(), ArgumentLibraryName, ArgumentTopicCount, table);
        QCOMPARE(table.size(), 141);
        QSet<QString> passages;
        static const QRegularExpression shape(
            QStringLiteral("^([^\r\n]+:)\r\n\r\n([^\r\n]+)\r\n$"));
        for (const QString& topic : table) {
            const auto match = shape.match(topic);
            QVERIFY2(match.hasMatch(), qPrintable(topic));
            const qsizetype words =
                match.captured(0)
                    .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)
                    .size();
            QVERIFY2(words >= 60 && words <= 160, qPrintable(match.captured(1)));
            passages.insert(match.captured(2));
        }
        QCOMPARE(passages.size(), 141);
    }
};

QTEST_GUILESS_MAIN(TestLibraries)
#include "tst_libraries.moc"
