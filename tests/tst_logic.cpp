// The plain logic beside the windows: no widget is made here.
#include "fakeplatform.h"
#include "programfolder.h"
#include "qeltest.h"

#include "about/sysinfo.h"
#include "bank/topiclibrary.h"
#include "exam/countdown.h"
#include "exam/essayfile.h"
#include "platform/appfolder.h"
#include "platform/fault.h"
#include "start/numberentry.h"
#include "start/practice.h"
#include "start/randomtopic.h"

#include <set>
#include <unistd.h>

using Bytes = QByteArray;
struct Entry {
    QString entry;
    double value;
    int limit, number; // number 0: "Wrong Number"
};
struct Tick {
    double elapsed;
    QString caption;
    bool lastMinutes;
    int minutes, seconds;
};
struct KeyValue {
    std::uint32_t type;
    Bytes data;
    bool found;
    QString value;
};
struct SysInfo {
    QString path, folder; // registry values; HERE is a folder holding MSINFO32.EXE
    bool startWorks;
    QString started; // empty: the "unavailable" box
};
Q_DECLARE_METATYPE(Entry)
Q_DECLARE_METATYPE(Tick)
Q_DECLARE_METATYPE(KeyValue)
Q_DECLARE_METATYPE(SysInfo)

class TestLogic : public QObject {
    Q_OBJECT
private slots:
    void appFolder()
    {
        QCOMPARE(AppFolderOf(QStringLiteral("C:\\Prog"), QLatin1Char('\\')), "C:\\Prog\\");
        QCOMPARE(AppFolderOf(QStringLiteral("C:\\"), QLatin1Char('\\')), "C:\\");
        QCOMPARE(AppFolderOf(QStringLiteral("/opt/qel"), QLatin1Char('/')), "/opt/qel/");
    }

    // Blocks of lines become topic texts, each line followed by CR LF; a library
    // that cannot be read is a fault that names the cause.
    void topicTexts_data()
    {
        Columns<Bytes, QStringList>("blocks", "topics");
        const Bytes s = "-----------------------";
        Row("two lines", "A\r\nB\r\n" + s + "\r\n", QStringList{"A\r\nB\r\n"});
        Row("leading spaces go", "   A\r\n" + s, QStringList{"A\r\n"});
        Row("trailing spaces stay", "A   \r\n" + s, QStringList{"A   \r\n"});
        Row("a line of spaces first", "  \r\n A\r\n" + s, QStringList{"\r\n A\r\n"});
        Row("empty topic", s + "\r\n" + s, QStringList{"", ""});
        Row("blank lines kept", "\r\nA\r\n\r\n" + s, QStringList{"\r\nA\r\n\r\n"});
        Row("separator with a blank is text", s + " \r\n" + s, QStringList{s + " \r\n"});
        Row("lone CR ends a line", "A\rB\r" + s + "\r", QStringList{"A\r\nB\r\n"});
        Row("lone LF stays in the line", "\tA\nB\r\n" + s, QStringList{"\tA\nB\r\n"});
        Row("extra blocks unread", "A\r\n" + s + "\r\nB\r\n", QStringList{"A\r\n"});
        Row("short", "A\r\n" + s + "\r\nB\r\n",
            QStringList{"", "", "The file ends before the separator of topic 2 (3 lines read)."});
        Row("empty", Bytes(""),
            QStringList{"", "The file ends before the separator of topic 1 (0 lines read)."});
        Row("missing", Bytes(), QStringList{"", "The file was not found."});
        Row("LF only", "A\n" + s + "\nB\n" + s + "\n",
            QStringList{"", "",
                        "The lines of the file end in LF alone, not in CR LF, so the separator of "
                        "topic 1 is never found (1 line read)."});
        Row("LF from topic 2 on", "A\r\n" + s + "\r\nB\n" + s + "\n",
            QStringList{"", "",
                        "The lines of the file end in LF alone, not in CR LF, so the separator of "
                        "topic 2 is never found (3 lines read)."});
        Row("one line", Bytes("A"),
            QStringList{"", "The file ends before the separator of topic 1 (1 line read)."});
        Row("folder", Bytes("/"), QStringList{"", "A folder stands where the file should be."});
    }
    void topicTexts()
    {
        QFETCH(Bytes, blocks);
        QFETCH(QStringList, topics);
        ProgramFolder folder;
        if (blocks == "/")
            QDir(folder.path()).mkdir(QStringLiteral("t.lib"));
        else if (!blocks.isNull())
            folder.write(QStringLiteral("t.lib"), blocks);
        const bool fault =
            topics.last().startsWith("The file") || topics.last().startsWith("A folder");
        const int count = int(topics.size()) - (fault ? 1 : 0);
        TopicTable table;
        try {
            LoadTopicLibrary(folder.path() + '/', QStringLiteral("t.lib"), count, table);
            QVERIFY(!fault);
        } catch (const Fault& error) {
            FakePlatform fake; // the one box that reports it, and the exit status
            QCOMPARE(ReportFault(fake.boxes, error), 1);
            QVERIFY(fake.boxes.asked[0].icon == MessageBoxes::Critical &&
                    fake.boxes.asked[0].title == "QEL Simulator");
            QCOMPARE(fake.boxes.asked[0].prompt,
                     "QEL Simulator cannot go on and will close.\r\n\r\nFile: " +
                         folder.file("t.lib") + "\r\nFault: " + topics.last());
            return;
        }
        QCOMPARE(int(table.size()), count);
        for (int k = 0; k < count; ++k)
            QCOMPARE(QString(table.at(k)), topics.at(k));
    }

    // The entry is read leniently; the topic number is that value rounded half
    // to even, when it lies in 1..limit.
    void numberEntry_data()
    {
        Columns<Entry>("e");
        Row("1", Entry{"1", 1, 150, 1});
        Row("150", Entry{"150", 150, 150, 150});
        Row("1.4", Entry{"1.4", 1.4, 150, 1});
        Row("149.5 to even", Entry{"149.5", 149.5, 150, 150});
        Row("2.5 to even", Entry{"2.5", 2.5, 150, 2});
        Row("0.4", Entry{"0.4", 0.4, 150, 0});
        Row("150.5", Entry{"150.5", 150.5, 150, 0});
        Row("empty", Entry{"", 0, 150, 0});
        Row("141 argument", Entry{"141", 141, 141, 141});
        Row("142 argument", Entry{"142", 142, 141, 0});
        Row("7abc", Entry{"7abc", 7, 150, 7});
        Row("blanks, tabs, LF ignored", Entry{"\t1 \n2 ", 12, 150, 12});
        Row("CR ends it", Entry{"1\r2", 1, 150, 1});
        Row("negative", Entry{"- 7", -7, 150, 0});
        Row("comma is no point", Entry{"1,5", 1, 150, 1});
        Row("leading point", Entry{".5", 0.5, 150, 0});
        Row("exponent", Entry{"15E-1", 1.5, 150, 2});
        Row("bare exponent", Entry{"3e+x", 3, 150, 3});
        Row("hex", Entry{"&H0C", 12, 150, 12});
        Row("octal stops at 8", Entry{"&o178", 15, 150, 15});
        Row("double sign", Entry{"--5", 0, 150, 0});
        Row("other digits end it", Entry{QString::fromUtf8("1\u0663"), 1, 150, 1});
        Row("huge", Entry{QString(400, '9'), qInf(), 150, 0});
    }
    void numberEntry()
    {
        QFETCH(Entry, e);
        QCOMPARE(ReadNumberEntry(e.entry), e.value);
        QCOMPARE(TopicNumberFromEntry(e.entry, e.limit).value_or(0), e.number);
    }

    void randomDraw()
    {
        for (const int limit : {150, 141}) {
            std::set<int> seen;
            for (std::uint64_t seed = 0; seed < 20000; ++seed)
                seen.insert(DrawRandomTopic(limit, seed * 1000003U));
            QCOMPARE(int(seen.size()), limit);
            QVERIFY(*seen.begin() == 1 && *seen.rbegin() == limit);
        }
        QVERIFY(DrawRandomTopic(150, 1) != DrawRandomTopic(150, 2) ||
                DrawRandomTopic(150, 3) != DrawRandomTopic(150, 4));
    }

    // Two ticks: the first takes the start, the second comes `elapsed` later.
    void countdown_data()
    {
        Columns<Tick>("t");
        Row("0.5 to even 0", Tick{0.5, "00:30", false, 30, 0});
        Row("1", Tick{1, "00:29", false, 29, 59});
        Row("1.5 to 2", Tick{1.5, "00:29", false, 29, 58});
        Row("1500", Tick{1500, "00:05", false, 5, 0});
        Row("1501", Tick{1501, "04:59", true, 4, 59});
        Row("1798.5 to even", Tick{1798.5, "00:02", true, 0, 2});
        Row("1799.5 to even", Tick{1799.5, "00:00", true, 0, 0});
        Row("past the end", Tick{2500, "00:00", true, 0, 0});
        Row("backwards", Tick{-80000, "00:30", false, 30, 0});
    }
    void countdown()
    {
        QFETCH(Tick, t);
        CountdownState state;
        state.CountdownStart = 12.0; // left from an earlier question
        QCOMPARE(CountdownTick(state, 5000).caption, QStringLiteral("00:30"));
        QVERIFY(state.CountdownStart == 5000.0 && !state.RestartPending);
        const TickOutcome tick = CountdownTick(state, 5000 + t.elapsed);
        QCOMPARE(tick.caption, t.caption);
        QCOMPARE(tick.lastMinutes, t.lastMinutes);
        QCOMPARE(int(state.MinutesLeft) * 100 + state.SecondsLeft, t.minutes * 100 + t.seconds);
        // Time up comes one tick after 00:00, and only then.
        const TickOutcome next = CountdownTick(state, 5000 + t.elapsed + 0.4);
        QCOMPARE(next.timeUp, t.minutes == 0 && t.seconds == 0);
        QCOMPARE(next.captionChanged, !next.timeUp);
        PutCountdownAtRest(state);
        QCOMPARE(int(state.MinutesLeft) * 60 + state.SecondsLeft, 1800);
        QVERIFY(state.RestartPending && state.CountdownStart == 5000.0);
    }

    void practiceQuestion()
    {
        const PracticeQuestion i = ComposePracticeQuestion(true, 7, QStringLiteral("A\r\n"));
        const PracticeQuestion a = ComposePracticeQuestion(false, 7, QStringLiteral("A\r\n"));
        QCOMPARE(i.sectionTitle, QStringLiteral("GMAT Test - Section 2: Analytical Writing 2"));
        QCOMPARE(a.sectionTitle, QStringLiteral("GMAT Test - Section 1: Analytical Writing 1"));
        QCOMPARE(i.heading + i.modeCode + i.number, QStringLiteral("Issue 727"));
        QCOMPARE(a.heading + a.modeCode + a.number, QStringLiteral("Argument 717"));
        QCOMPARE(i.topicText, QStringLiteral("\r\nA\r\n"));
        QCOMPARE(a.topicText, "\r\nA\r\n\r\n\r\n" + ArgumentDirections + "\r\n");
    }

    void essayRecord()
    {
        for (const auto& [mode, file, number] : {std::tuple{"2", "/p/user/ai12.txt", "Issue No.12"},
                                                 {"1", "/p/user/aa12.txt", "Argument No.12"},
                                                 {"", "/p/user/aa12.txt", "Argument No.12"}}) {
            QCOMPARE(EssayFilePath(QStringLiteral("/p/"), mode, QStringLiteral(" 12 ")), file);
            const QString stars = QStringLiteral("********************\r\n");
            QCOMPARE(BuildEssayRecord(EssayKindFromModeCode(mode), " 12 ", "D", "T", "\r\nQ\r\n",
                                      "abc\r\n\r\ndef"),
                     "\r\n\r\n" + stars + "Date: D\r\nTime: T\r\n" + number + "\r\n" + stars +
                         "Question:\r\n\r\n\r\nQ\r\n\r\n" + stars +
                         "\r\nYour Answer:\r\n\r\nabc\r\n\r\ndef\r\n");
        }
    }

    // A record goes to the file whole or not at all; Help reads every line back.
    void appendAndRead_data()
    {
        Columns<QString, QString>("fault", "reason");
        Row("saved", "", "");
        Row("no user folder", "nofolder", "does not exist");
        Row("folder in the file's place", "dir", "folder stands");
        Row("read-only file", "readonly", "cannot be opened");
        Row("full disk", "full", "could not be written");
    }
    void appendAndRead()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        ProgramFolder folder;
        const QString path = folder.file(QStringLiteral("user/ai5.txt"));
        const Bytes before = "\r\n\r\nold\r\n";
        folder.write(QStringLiteral("user/ai5.txt"), before);
        if (fault == "nofolder")
            QVERIFY(QDir(folder.file(QStringLiteral("user"))).removeRecursively());
        else if (fault == "dir")
            QVERIFY(QFile::remove(path) && QDir().mkpath(path));
        else if (fault == "full")
            QVERIFY(QFile::remove(path) && QFile::link(QStringLiteral("/dev/full"), path));
        else if (fault == "readonly" && geteuid() == 0)
            QSKIP("root writes to read-only files");
        else if (fault == "readonly")
            QVERIFY(QFile(path).setPermissions(QFile::ReadOwner));
        QString why;
        QCOMPARE(AppendEssayRecord(path, QString::fromUtf8("x\u00e9\ry\nz"), why),
                 reason.isEmpty());
        QVERIFY2(why.contains(reason), qPrintable(why));
        if (fault == "readonly" || fault.isEmpty())
            QCOMPARE(folder.read(QStringLiteral("user/ai5.txt")),
                     fault.isEmpty() ? before + "x\xc3\xa9\ry\nz" : before);
        if (fault == "full")
            return; // a device that never ends is no essay file to read back
        const SavedEssays saved = ReadSavedEssays(path);
        QCOMPARE(saved.readable, fault.isEmpty() || fault == "readonly");
        if (fault.isEmpty())
            QCOMPARE(saved.text, QString::fromUtf8("\r\n\r\n\r\nold\r\nx\u00e9\r\ny\nz"));
    }

    // A registry value as the About window reads it.
    void keyValue_data()
    {
        Columns<KeyValue>("k");
        Row("text with its NUL", KeyValue{Registry::RegSz, Bytes("C:\\t\0", 5), true, "C:\\t"});
        Row("text without NUL", KeyValue{Registry::RegSz, "abc", true, "abc"});
        Row("number", KeyValue{Registry::RegDword, "\x04\x03\x02\x01", true, "&h01020304"});
        Row("number, top byte 0",
            KeyValue{Registry::RegDword, Bytes("\4\3\2\0", 4), true, "&h020304"});
        Row("other type", KeyValue{3, "x", true, "before"});
        Row("1024 bytes fit",
            KeyValue{Registry::RegSz, Bytes(1024, 'a'), true, QString(1024, 'a')});
        Row("too long", KeyValue{Registry::RegSz, Bytes(1025, 'a'), false, ""});
    }
    void keyValue()
    {
        QFETCH(KeyValue, k);
        ScriptedRegistry registry;
        registry.keys["K"]["V"] = {k.type, k.data};
        QString value = QStringLiteral("before");
        QCOMPARE(GetKeyValue(registry, Registry::LocalMachine, "K", "V", value), k.found);
        QCOMPARE(value, k.value);
        QCOMPARE(registry.calls, QStringList({"open 80000002 K 2003f", "close 100"}));
        QVERIFY(!GetKeyValue(registry, Registry::LocalMachine, "K", "none", value));
        QVERIFY(!GetKeyValue(registry, Registry::LocalMachine, "none", "V", value));
        QVERIFY(value.isEmpty());
        QCOMPARE(registry.calls.last(), QStringLiteral("close 0"));
    }

    // Where the system-information tool is looked for, and what happens then.
    void sysInfo_data()
    {
        Columns<SysInfo>("s");
        Row("PATH, no file test", SysInfo{"C:\\t.exe", "", true, "C:\\t.exe"});
        Row("PATH fails to start", SysInfo{"C:\\t.exe", "", false, ""});
        Row("folder with the tool", SysInfo{"", "HERE", true, "HERE\\MSINFO32.EXE"});
        Row("folder without it", SysInfo{"", "HERE\\no", true, ""});
        Row("zero-size PATH", SysInfo{"-", "HERE", true, ""});
        Row("nothing", SysInfo{"", "", true, ""});
    }
    void sysInfo()
    {
        QFETCH(SysInfo, s);
        ProgramFolder here;
        here.write(QStringLiteral("MSINFO32.EXE"), "tool");
        FakePlatform fake;
        fake.shell.succeed = s.startWorks;
        if (!s.path.isEmpty())
            fake.registry.keys[R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)"]["PATH"] = {
                Registry::RegSz, s.path == "-" ? Bytes() : s.path.toUtf8() + '\0'};
        if (!s.folder.isEmpty())
            fake.registry.keys[R"(SOFTWARE\Microsoft\Shared Tools Location)"]["MSINFO"] = {
                Registry::RegSz, s.folder.replace("HERE", here.path()).toUtf8()};
        StartSysInfo(fake.seams, nullptr);
        if (s.startWorks)
            QCOMPARE(fake.shell.started.join(""), s.started.replace("HERE", here.path()));
        QCOMPARE(fake.boxes.prompts().join(""),
                 s.started.isEmpty() ? "System information are temporarily unavailable." : "");
        QVERIFY(fake.boxes.asked.isEmpty() || fake.boxes.asked.first().title.isEmpty());
    }

    // The libraries that ship with the program: plain ASCII, CR LF, exact counts, no repeats.
    void shippedLibraries()
    {
        for (const auto& [name, count] : {std::pair{IssueLibraryName, IssueTopicCount},
                                          {ArgumentLibraryName, ArgumentTopicCount}}) {
            const QString data = qEnvironmentVariable("QEL_SOURCE_DIR") + QStringLiteral("/data/");
            QFile file(data + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const Bytes bytes = file.readAll();
            QVERIFY(std::all_of(bytes.begin(), bytes.end(),
                                [](char c) { return c >= 0x20 || c == '\r' || c == '\n'; }));
            QVERIFY(bytes.count("\r\n") == bytes.count('\n') &&
                    bytes.count('\n') == bytes.count('\r'));
            QCOMPARE(bytes.count(TopicSeparator + "\r\n"), qsizetype(count));
            QVERIFY(bytes.endsWith(TopicSeparator + "\r\n"));
            TopicTable table;
            LoadTopicLibrary(data, name, count, table);
            QSet<QString> distinct;
            for (int k = 0; k < count; ++k) {
                const QString& topic = table.at(k);
                const qsizetype words = topic.split(' ').size();
                QVERIFY2(count == 150 ? topic.startsWith('"') : words >= 60 && words <= 160,
                         qPrintable(topic));
                distinct.insert(topic);
            }
            QCOMPARE(int(distinct.size()), count);
        }
    }
};

QTEST_GUILESS_MAIN(TestLogic)
#include "tst_logic.moc"
