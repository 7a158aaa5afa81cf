#include "windows.h"

#include "exam/essayfile.h"
#include "platform/textio.h"
#include "widgets/picturebox.h"
#include "widgets/ui.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>
#include <cstddef>

#include <array>
#include <cstdio>

// A long session in one run: hundreds of questions of both kinds, ended every
// way there is, with Help now and then. Every essay must reach its file whole
// and in order, and the program must not grow while it goes on.
namespace {

constexpr int Questions = 300;

#if defined(__SANITIZE_ADDRESS__)
#define QEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QEL_ASAN 1
#endif
#endif

#ifdef QEL_ASAN
// From the sanitizer runtime (sanitizer/allocator_interface.h, which gcc does not ship).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

// The memory the program holds, in kB: VmRSS, or under AddressSanitizer, whose
// quarantine of freed blocks swells the resident size, the live heap.
long ResidentKb()
{
#ifdef QEL_ASAN
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#endif
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// A few hundred words of an essay, the same for the same question, in the
// program's CR LF form; one word is not ASCII so the code page is crossed too.
QString EssayText(int question)
{
    static constexpr auto words = std::to_array<const char*>(
        {"the",   "argument",   "assumes", "that",    "evidence",   "from",    "one",
         "city",  "applies",    "to",      "another", "however",    "survey",  "results",
         "may",   "not",        "reflect", "typical", "residents",  "and",     "therefore",
         "naïve", "reasoning",  "weakens", "its",     "conclusion", "further", "data",
         "would", "strengthen", "claim",   "if",      "sample",     "were",    "larger"});
    const int wordCount = static_cast<int>(std::size(words));
    std::uint32_t state = 2166136261U ^ static_cast<std::uint32_t>(question);
    auto next = [&state] {
        state = state * 1664525U + 1013904223U;
        return state >> 8;
    };
    const int length = 200 + static_cast<int>(next() % 250);
    QString text;
    for (int i = 0; i < length; ++i) {
        QString word = QString::fromUtf8(words[next() % wordCount]);
        if (i == 0 || text.endsWith(QLatin1String(". ")) || text.endsWith(QLatin1String("\n")))
            word[0] = word[0].toUpper();
        text += word;
        if (i + 1 == length)
            text += QLatin1Char('.');
        else if (next() % 60 == 0)
            text += QStringLiteral(".\r\n\r\n");
        else if (next() % 12 == 0)
            text += QStringLiteral(". ");
        else
            text += QLatin1Char(' ');
    }
    return text;
}

// What Help leaves in the answer box: the answer, then every line of the file,
// each after a line break.
QString AfterHelp(const QString& answer, const QByteArray& file)
{
    QString text = answer;
    QList<QByteArray> lines = file.split('\n');
    if (file.endsWith('\n'))
        lines.removeLast();
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        text += QStringLiteral("\r\n") + FromCodePage(line);
    }
    return text;
}

QtMessageHandler testLogHandler = nullptr;

// The offscreen platform says it cannot raise a window each time a question
// starts; hundreds of those lines would bury the figures.
void QuietRaise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    testLogHandler(type, context, message);
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testLogHandler = qInstallMessageHandler(QuietRaise); }
    void cleanupTestCase() { qInstallMessageHandler(testLogHandler); }

    void threeHundredQuestions()
    {
        QElapsedTimer timer;
        timer.start();
        LoadedProgram p;
        Frmmain& t = p.test();
        const QDateTime first(QDate(2026, 3, 14), QTime(8, 0, 0));
        const QLocale locale = QLocale::system();
        // What each essay file must hold, kept on disk so that the test's own
        // memory does not grow with it: file below the program folder -> its bytes.
        QTemporaryDir expectedDir;
        QVERIFY(expectedDir.isValid());
        QVERIFY(QDir(expectedDir.path()).mkdir(QStringLiteral("user")));
        const auto expectedPath = [&](const QString& file) {
            return expectedDir.path() + QLatin1Char('/') + file;
        };
        const auto expectedBytes = [&](const QString& file) {
            QFile f(expectedPath(file));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        QStringList expectedFiles;
        int records = 0;
        int helps = 0;
        int helpsWithFile = 0;
        long rss10 = 0;
        long rss300 = 0;

        for (int q = 1; q <= Questions; ++q) {
            const bool issue = q % 2 == 1;
            // Topics come round again, so files collect several records.
            const int number = issue ? (q - 1) / 2 % 40 + 1 : (q / 2 - 1) % 47 + 1;
            const QString numberText = QString::number(number);
            const QString file = QStringLiteral("user/") +
                                 (issue ? QStringLiteral("ai") : QStringLiteral("aa")) +
                                 numberText + QStringLiteral(".txt");
            p.fake.clock.now = first.addSecs(qint64{q} * 97);
            p.fake.boxes.asked.clear();

            p.startQuestion(issue, numberText);
            QVERIFY2(t.isVisible(), qPrintable(QStringLiteral("question %1").arg(q)));
            const TopicTable& topics = issue ? p.start->IssueTopics : p.start->ArgumentTopics;
            const QString topic = BoxText(t.Text1);
            QVERIFY(topic.startsWith(QStringLiteral("\r\n") + topics.at(number - 1)));

            QString answer = EssayText(q);
            t.Text2->setPlainText(ToWidgetText(answer));
            if (q % 10 == 0) {
                ++helps;
                const bool saved = expectedFiles.contains(file);
                QTest::mouseClick(t.Picture4, Qt::LeftButton);
                QCOMPARE(QGuiApplication::clipboard()->text(), ToWidgetText(answer));
                if (saved) {
                    answer = AfterHelp(answer, expectedBytes(file));
                    ++helpsWithFile;
                }
                QCOMPARE(BoxText(t.Text2), answer);
                // The clock goes to rest only when there was a file to read.
                QCOMPARE(t.Timer1->isActive(), !saved);
            }

            switch (q % 3) {
            case 0:
                QTest::mouseClick(t.Picture1, Qt::LeftButton);
                break;
            case 1:
                QTest::mouseClick(t.Picture2, Qt::LeftButton);
                break;
            default:
                QTest::mouseClick(t.Picture6, Qt::LeftButton);
                QVERIFY(t.Picture5->isEnabled());
                QTest::mouseClick(t.Picture5, Qt::LeftButton);
                break;
            }
            QCOMPARE(
                p.fake.boxes.prompts(),
                QStringList({"Do you want to save it?", "Do you want to start another question?"}));
            QVERIFY(!t.isVisible());
            QVERIFY(p.start->isVisible());
            QVERIFY(p.fake.end.statuses.isEmpty());

            {
                QFile f(expectedPath(file));
                QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Append));
                f.write(ToCodePage(
                    BuildEssayRecord(issue ? EssayKind::Issue : EssayKind::Argument, numberText,
                                     RecordDate(p.fake.clock.now, locale),
                                     RecordTime(p.fake.clock.now, locale), topic, answer)));
            }
            if (!expectedFiles.contains(file))
                expectedFiles << file;
            ++records;
            // Let the event loop run as it would between two questions.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            if (q == 10)
                rss10 = ResidentKb();
        }
        rss300 = ResidentKb();

        const QStringList written =
            QDir(p.folder.file(QStringLiteral("user"))).entryList(QDir::Files, QDir::Name);
        QStringList files;
        for (const QString& file : expectedFiles)
            files << file.mid(5);
        files.sort();
        QCOMPARE(written, files);
        // Each file whole, byte for byte: every record written, in order.
        for (const QString& file : expectedFiles)
            QVERIFY2(p.folder.read(file) == expectedBytes(file), qPrintable(file));
        // Both roads of Help were taken: with earlier essays and without.
        QVERIFY(helpsWithFile > 0 && helpsWithFile < helps);

        std::printf("rss after question 10: %ld kB, after question %d: %ld kB; %lld ms\n", rss10,
                    Questions, rss300, static_cast<long long>(timer.elapsed()));
        std::printf("FIGURE soak questions=%d records-checked=%d files=%d helps=%d "
                    "helps-with-file=%d rss10=%ld rss300=%ld\n",
                    Questions, records, static_cast<int>(expectedFiles.size()), helps,
                    helpsWithFile, rss10, rss300);
        std::fflush(stdout);
        QVERIFY(rss10 > 0);
        QVERIFY2(
            rss300 <= rss10 + rss10 / 10,
            qPrintable(QStringLiteral("memory grew from %1 kB to %2 kB").arg(rss10).arg(rss300)));
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
