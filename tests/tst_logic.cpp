// The plain logic beside the windows: no widget is made here.
#include "fakeplatform.h"
#include "qeltest.h"

#include "about/sysinfo.h"
#include "bank/topiclibrary.h"
#include "essay/essayfile.h"
#include "essay/essaynotes.h"
#include "essay/essayrecords.h"
#include "essay/essayreport.h"
#include "essay/spellchecker.h"
#include "essay/wordcount.h"
#include "platform/fault.h"
#include "platform/realplatform.h"
#include "review/essaylist.h"
#include "review/progressmodel.h"
#include "review/reportview.h"
#include "start/numberentry.h"
#include "start/randomtopic.h"

#include <set>
#ifdef _WIN32
// The suites' own windows.h (the program's windows, loaded) stands before the system's;
// these three, in this order, are what it would bring for the registry.
#include <windef.h>
// (after windef.h)
#include <winbase.h>
// (after winbase.h)
#include <winreg.h>
#else
#include <csignal>
#include <sys/resource.h>
#endif

using Bytes = QByteArray;
struct Entry {
    QString entry;
    double value;
    int limit, number; // number 0: "Wrong Number"
};
struct SysInfo {
    std::uint32_t type;
    Bytes path;     // the registry's PATH value, if any
    QString folder; // its location value; HERE is a folder holding MSINFO32.EXE
    bool startWorks;
    QString started;            // what was started; empty: the "unavailable" box
    bool systemRegistry{false}; // the path in the system's own registry, not a double
};
Q_DECLARE_METATYPE(Entry)
Q_DECLARE_METATYPE(SysInfo)

class TestLogic : public QObject {
    Q_OBJECT
private slots:
    // Blocks of lines become topic texts, each line followed by CR LF; a library
    // that cannot be read is a fault that names the cause.
    void topicTexts_data()
    {
        columns<Bytes, QStringList>("blocks", "topics");
        const Bytes s = "-----------------------";
        row("two lines", "A\r\nB\r\n" + s + "\r\n", QStringList{"A\r\nB\r\n"});
        row("leading spaces go", "   A\r\n" + s, QStringList{"A\r\n"});
        row("trailing spaces stay", "A   \r\n" + s, QStringList{"A   \r\n"});
        row("a line of spaces first", "  \r\n A\r\n" + s, QStringList{"\r\n A\r\n"});
        row("empty topic", s + "\r\n" + s, QStringList{"", ""});
        row("blank lines kept", "\r\nA\r\n\r\n" + s, QStringList{"\r\nA\r\n\r\n"});
        row("separator with a blank is text", s + " \r\n" + s, QStringList{s + " \r\n"});
        row("lone CR ends a line", "A\rB\r" + s + "\r", QStringList{"A\r\nB\r\n"});
        row("lone LF stays in the line", "\tA\nB\r\n" + s, QStringList{"\tA\nB\r\n"});
        row("extra blocks unread", "A\r\n" + s + "\r\nB\r\n", QStringList{"A\r\n"});
        row("short", "A\r\n" + s + "\r\nB\r\n",
            QStringList{"", "", "The file ends before the separator of topic 2 (3 lines read)."});
        row("empty", Bytes(""),
            QStringList{"", "The file ends before the separator of topic 1 (0 lines read)."});
        row("missing", Bytes(), QStringList{"", "The file was not found."});
        const QString lf = "The lines of the file end in LF alone, not in CR LF, so the separator "
                           "of topic %1 is never found (%2 read).";
        row("LF only", "A\n" + s + "\nB\n" + s + "\n",
            QStringList{"", "", lf.arg(1).arg("1 line")});
        row("LF from topic 2", "A\r\n" + s + "\r\nB\n" + s + "\n",
            QStringList{"", "", lf.arg(2).arg("3 lines")});
        row("one line", Bytes("A"),
            QStringList{"", "The file ends before the separator of topic 1 (1 line read)."});
        row("folder", Bytes("/"), QStringList{"", "A folder stands where the file should be."});
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
            loadTopicLibrary(folder.path() + '/', QStringLiteral("t.lib"), count, table);
            QVERIFY(!fault);
        } catch (const Fault& error) {
            FakePlatform fake; // the one box that reports it, and the exit status
            QCOMPARE(reportFault(fake.boxes, error), 1);
            QVERIFY(fake.boxes.asked[0].icon == MessageBoxes::Critical &&
                    fake.boxes.asked[0].title == "QEL Simulator");
            QCOMPARE(fake.boxes.asked[0].prompt,
                     "QEL Simulator cannot go on and will close.\r\n\r\nFile: " +
                         folder.file("t.lib") + "\r\nFault: " + topics.last());
            reportFault(fake.boxes, std::runtime_error("no memory")); // a fault of another kind
            QVERIFY(fake.boxes.prompts.last().endsWith("close.\r\n\r\nFault: no memory"));
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
        columns<Entry>("e");
        row("149.5 to even 150", Entry{"149.5", 149.5, 150, 150});
        row("2.5 to even", Entry{"2.5", 2.5, 150, 2});
        row("0.4", Entry{"0.4", 0.4, 150, 0});
        row("150.5", Entry{"150.5", 150.5, 150, 0});
        row("empty", Entry{"", 0, 150, 0});
        row("7abc", Entry{"7abc", 7, 150, 7});
        row("blanks, tabs, LF ignored", Entry{"\t1 \n2 ", 12, 150, 12});
        row("CR ends it", Entry{"1\r2", 1, 150, 1});
        row("negative", Entry{"- 7", -7, 150, 0});
        row("comma is no point", Entry{"1,5", 1, 150, 1});
        row("exponent", Entry{"15E-1", 1.5, 150, 2});
        row("hex stops at z", Entry{"&H0Cz", 12, 150, 12});
        row("octal stops at 8", Entry{"&o178", 15, 150, 15});
        row("double sign", Entry{"--5", 0, 150, 0});
        row("other digits end it", Entry{QString::fromUtf8("1\u0663"), 1, 150, 1});
        row("huge", Entry{QString(400, '9'), qInf(), 150, 0});
    }
    void numberEntry()
    {
        QFETCH(Entry, e);
        QCOMPARE(readNumberEntry(e.entry), e.value);
        QCOMPARE(topicNumberFromEntry(e.entry, e.limit).value_or(0), e.number);
    }

    // The report's figures, counted by hand on short answers: each row names the
    // figures it is about. A word for countWords is a run between white space
    // with a letter or digit in it, in any script.
    void essayFigures_data()
    {
        columns<QString, QString, QString>("answer", "topic", "figures");
        row("none", QString(), QString(), QString("words=0 sentences=0 mean=0.0 topic=0/0"));
        row("punctuation alone", QString(" - ... ** ! "), QString(),
            QString("words=0 paragraphs=0 sentences=0 leftOut=0 distinct=0.0"));
        row("CR LF and tabs", QString("one\r\ntwo\tthree\r\n\r\n"), QString(),
            QString("words=3 paragraphs=2 first=one two three"));
        row("attached punctuation", QString("(don't) stop-now, 42!"), QString(),
            QString("words=3 leftOut=1"));
        row("non-Latin", QString::fromUtf8("\u041f\u0440\u0438\u0432\u0435\u0442 \u4f60\u597d"),
            QString(), QString("words=2 leftOut=2 slips="));
        row("beyond the basic plane", QString::fromUtf8("\U0001D400\U0001D401 \U0001F600"),
            QString(), QString("words=1"));
        row("no-break space", QString::fromUtf8("a\u00a0b"), QString(), QString("words=2"));
        row("paragraphs by blank lines and single breaks",
            QString("One here.\r\n\r\nTwo here.\r\nThree here.\r\n \r\n"), QString(),
            QString("paragraphs=3 sentences=3"));
        row("sentence ends", QString("Why? No! Well... He said \"stop.\" Then 'go!' End"),
            QString(),
            QString("sentences=6 longest=3 start=He said \"stop.\" mean=1.5 "
                    "first=Why? No! Well......"));
        row("abbreviations",
            QString("Dr. Lee came, e.g. on Monday (i.e. late). J. S. Mill wrote 3.5 "
                    "pages."),
            QString(), QString("sentences=2 longest=8"));
        row("spelling",
            QString("Teh colour and the color recieve. We recieve teh GMAT in 2026 "
                    "and USA rules."),
            QString(), QString("slips=teh:2,recieve:2 leftOut=3 suggest=receive"));
        row("no dictionary", QString("Teh recieve."), QString(), QString("dictionaries= slips="));
        row("repetition",
            QString("The plan works. The plan fails! Then plans change. Then "
                    "plan again."),
            QString(), QString("mostUsed=plan:3 starts=The:2,Then:4"));
        row("linking phrases",
            QString("However, it works.\nOn the other hand it fails, as a "
                    "result of haste.\nIn addition, for example, thus."),
            QString(),
            QString("linking=however:1,on the other hand:1,as a result:1,in addition:1,"
                    "for example:1,thus:1 linked=3/3"));
        row("a phrase does not cross a line", QString("It is in\naddition to that."), QString(),
            QString("linking= linked=0/2"));
        row("the topic's words", QString("Companies serve customers. Success lasts."),
            QString("\r\n\"A company serving every customer fails.\"\r\n\r\nWrite a response "
                    "in which you discuss.\r\n"),
            QString("topic=2/4 unused=serving,fails"));
        row("a topic of function words", QString("It is."), QString("It is what it is."),
            QString("topic=0/0"));
        row("vocabulary", QString("Splendid words and splendid words."), QString(),
            QString("distinct=60.0 long=40"));
    }
    void essayFigures()
    {
        QFETCH(QString, answer);
        QFETCH(QString, topic);
        QFETCH(QString, figures);
        static const SpellChecker English({QStringLiteral("/usr/share/hunspell")});
        static const SpellChecker None({});
        QVERIFY(English.names() == QStringList({"en_US", "en_GB"}));
        const bool spelled = !QByteArray(QTest::currentDataTag()).startsWith("no dictionary");
        EssayReport r = makeEssayReport(answer, topic, spelled ? &English : &None);
        if (spelled)
            QCOMPARE(suggestSpellings(r, English, 2), std::max(0, int(r.slips.size()) - 2));
        const auto join = [](const QList<CountedWord>& words) {
            QStringList parts;
            for (const CountedWord& w : words)
                parts << w.word + ':' + QString::number(w.count);
            return parts.join(',');
        };
        QStringList slips;
        for (const SpellingSlip& slip : std::as_const(r.slips))
            slips << slip.word.toLower() + ':' + QString::number(slip.count);
        const QMap<QString, QString> got{
            {"words", QString::number(r.words)},
            {"paragraphs", QString::number(r.paragraphs)},
            {"sentences", QString::number(r.sentences)},
            {"mean", QString::number(r.meanSentenceWords, 'f', 1)},
            {"longest", QString::number(r.longestSentenceWords)},
            {"start", r.longestSentenceStart},
            {"dictionaries", r.dictionaries.join(',')},
            {"slips", slips.join(',')},
            {"suggest", r.slips.isEmpty() ? QString() : r.slips.last().suggestions.value(0)},
            {"leftOut", QString::number(r.leftOut)},
            {"mostUsed", join(r.mostUsed)},
            {"starts", join(r.startWords)},
            {"linking", join(r.linking)},
            {"linked", QStringLiteral("%1/%2").arg(r.paragraphsOpeningLinked).arg(r.paragraphs)},
            {"topic", QStringLiteral("%1/%2").arg(r.topicWordsUsed).arg(r.topicWords)},
            {"unused", r.topicWordsUnused.join(',')},
            {"distinct", QString::number(r.distinctPerHundred, 'f', 1)},
            {"long", QString::number(qRound(r.longWordShare * 100))},
            {"first", firstWords(answer, 3)}};
        // "name=value" pairs; a value runs to the next " name=".
        static const QRegularExpression Pair(QStringLiteral("(\\w+)=(.*?)(?= \\w+=|$)"));
        for (const QRegularExpressionMatch& m : Pair.globalMatch(figures))
            QCOMPARE(m.captured(1) + '=' + got.value(m.captured(1)), m.captured(0));
        QCOMPARE(countWords(answer), r.words);
        QCOMPARE(reportHtml(r).contains("Spelling: no English dictionary was found"), !spelled);
        // Megabytes of one sentence again and again, or of one word, give a report of a page.
        if (QByteArray(QTest::currentDataTag()) == "none") {
            const EssayReport big =
                makeEssayReport(QString("Teh wordy text. ").repeated(300000), QString(), &English);
            const EssayReport line = makeEssayReport(QString(4 << 20, 'x'), QString(), &English);
            QVERIFY(big.slipsAt.size() == MarkedSlips && big.slips.size() == 1);
            QVERIFY(line.words == 1 && line.leftOut == 1 && line.slips.isEmpty());
        }
    }

    // The pictures' figures from essays written as "I12@0.5=450/2": kind and
    // topic, days before now (x: unreadable), words, slips per hundred if counted.
    void progressFigures_data()
    {
        columns<QString, QString>("essays", "figures");
        row("none", "", "||0-1/1|0-600/200|0-1/0.2||0/0/-/-|0/0/0");
        row("one", "I12@0.5=450/2", "450|450|0-1/1|0-600/200|0-2/0.5|I12:1/1|1/1/450/-|0/0/0");
        row("median of five", "I1@5=100/1 I1@4=500/2 I1@3=300/3 I1@2=900/4 I2@1=200 A3@0.1=700",
            "100,500,300,900,200,700|100,300,300,400,300,500|-5-1/1|0-1000/200|0-4/1|"
            "I1:4/3,I2:1/1,A3:1/1|6/6/450/-|0/0/2");
        row("bad dates", "I1@x=300 I1@-2=400 I1@40=200",
            "200,400|200,300|-40-16/14|0-600/200|0-1/0.2|I1:3/3|0/0/300/-|1/1/2");
        row("one day", "I1@0.3=10/0 I1@0.2=20/0 A141@0.1=30/0",
            "10,20,30|10,15,20|0-1/1|0-600/200|0-1/0.2|I1:2/2,A141:1/1|3/3/20/-|0/0/0");
        QString many = "I5@20=1000";
        for (int i = 19; i >= 0; --i)
            many += QString(" I5@%1=%2").arg(i).arg(i < 10 ? 500 : 300);
        row("twenty-one", many,
            "1000," + QString("300,").repeated(10) + QString("500,").repeated(9) + "500|" +
                "1000,650," + QString("300,").repeated(11) + QString("500,").repeated(7) +
                "500|-20-1/7|0-1000/200|0-1/0.2|I5:21/4|7/21/500/300|"
                "0/0/21");
    }
    void progressFigures()
    {
        QFETCH(QString, essays);
        QFETCH(QString, figures);
        const QDateTime now(QDate(2026, 3, 14), QTime(12, 0));
        QList<ProgressEssay> list;
        for (const QString& e : essays.split(' ', Qt::SkipEmptyParts)) {
            const QStringList f = e.split(QRegularExpression("[@=/]"));
            ProgressEssay p{
                {e[0] == 'I' ? EssayKind::Issue : EssayKind::Argument, f[0].mid(1).toInt()},
                f[1] == "x" ? QDateTime() : now.addSecs(qint64(-f[1].toDouble() * 86400)),
                f[2].toInt(),
                f.size() > 3 ? std::optional(f[3].toDouble()) : std::nullopt};
            list << p;
        }
        const Progress p = makeProgress(list, now);
        const auto today = double(QDate(1970, 1, 1).daysTo(now.date()));
        const auto scale = [](const ProgressScale& s, double from) {
            return QString("%1-%2/%3").arg(s.low - from).arg(s.high - from).arg(s.step);
        };
        QStringList values;
        QStringList medians;
        QStringList cells;
        for (const auto& point : p.words.points)
            values << QString::number(point.value);
        for (double m : p.words.median)
            medians << QString::number(m);
        for (const TopicCell& c : p.cells) {
            if (c.count > 0) {
                cells << QString("%1%2:%3/%4")
                             .arg(c.question.kind == EssayKind::Issue ? 'I' : 'A')
                             .arg(c.question.number)
                             .arg(c.count)
                             .arg(c.shade);
            }
        }
        const auto mean = [](std::optional<double> m) { return m ? QString::number(*m) : "-"; };
        QCOMPARE(
            QStringList({values.join(','), medians.join(','), scale(p.words.days, today),
                         scale(p.words.values, 0), scale(p.slips.values, 0), cells.join(','),
                         QString("%1/%2/%3/%4")
                             .arg(p.totals.lastWeek)
                             .arg(p.totals.lastMonth)
                             .arg(mean(p.totals.meanLastTen), mean(p.totals.meanTenBefore)),
                         QString("%1/%2/%3").arg(p.undated).arg(p.future).arg(p.slips.waiting)})
                .join('|'),
            figures);
        QCOMPARE(p.cells.size(), 291);
        if (essays.isEmpty())
            QCOMPARE(totalsLine(p), "No essays to show.");
    }

    void randomDraw()
    {
        for (const int limit : {150, 141}) {
            std::set<int> seen;
            for (std::uint64_t seed = 0; seed < 20000; ++seed)
                seen.insert(drawRandomTopic(limit, seed * 1000003U));
            QCOMPARE(int(seen.size()), limit);
            QVERIFY(*seen.begin() == 1 && *seen.rbegin() == limit);
        }
    }

    // A record goes to the file whole or not at all, with the system's reason for
    // a failure; Help reads every line back.
    void appendAndRead_data()
    {
        columns<QString, QString>("fault", "reason");
        row("saved", "", "");
        row("no user folder", "nofolder", "does not exist");
        row("folder in the file's place", "dir", "folder stands");
#ifndef Q_OS_WIN // devices and file size limits of POSIX systems
        row("full disk", "full", "No space left on device");
        row("cannot be synced", "null", "written to the disk: Invalid argument");
        row("size limit reached part-way", "limit", "File too large");
#endif
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
        else if (fault == "full" || fault == "null") // devices that take no record
            QVERIFY(QFile::remove(path) && QFile::link("/dev/" + fault, path));
#ifndef Q_OS_WIN
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{rlim_t(before.size() + 3), old.rlim_max}; // bytes a file may reach
        std::signal(SIGXFSZ, SIG_IGN);
        if (fault == "limit")
            setrlimit(RLIMIT_FSIZE, &small);
#endif
        QString why;
        const bool saved = appendEssayRecord(path, QString::fromUtf8("x\u00e9\u03a9\ry\nz"), why);
#ifndef Q_OS_WIN
        setrlimit(RLIMIT_FSIZE, &old);
#endif
        QCOMPARE(saved, reason.isEmpty());
        QVERIFY2(why.contains(reason), qPrintable(why));
        if (fault == "full" || fault == "null")
            return; // a device is no essay file to read back
        const Bytes kept = fault.isEmpty()    ? before + "x\xc3\xa9\xce\xa9\ry\nz"
                           : fault == "limit" ? before
                                              : "";
        QCOMPARE(folder.read(QStringLiteral("user/ai5.txt")), kept);
        const SavedEssays read = readSavedEssays(path);
        QCOMPARE(read.readable, !kept.isEmpty());
        if (fault.isEmpty())
            QCOMPARE(read.text, QString::fromUtf8("\r\n\r\n\r\nold\r\nx\u00e9\u03a9\r\ny\nz"));
    }

    // Dates and times in records: four-digit years, as the desktop shows them.
    void datesByLocale_data()
    {
        columns<QString, QString, QString>("locale", "date", "time"); // of 2026-12-07 00:26:34
        row("C", "C", "2026-12-07", "00:26:34");
        row("en_US", "en_US", "12/7/2026", "12:26:34 AM");
        row("de_DE", "de_DE", "07.12.2026", "00:26:34");
        row("ja_JP", "ja_JP", "2026/12/07", "0:26:34");
    }
    void datesByLocale()
    {
        const QDateTime when(QDate(2026, 12, 7), QTime(0, 26, 34));
        QFETCH(QString, locale);
        QTEST(recordDate(when, QLocale(locale)), "date");
        QTEST(recordTime(when, QLocale(locale)), "time");
        // Read back in the same format, from a file with junk, an edited head, text that
        // looks like the layout, and records cut in the answer and in the head.
        const QLocale l(locale);
        const auto rec = [&](EssayKind kind, const QString& a) {
            return buildEssayRecord({kind, 7}, recordDate(when, l), recordTime(when, l), "T", a);
        };
        const QString odd = QString::fromUtf8("\u00c4\r\n********************\r\nDate: x\r\n");
        const QString b = rec(EssayKind::Argument, "bc");
        const QString junk = QString(b).replace("No.7", "No.x");
        const QString file = "\1" + junk + rec(EssayKind::Issue, odd) + b.chopped(3) + b.left(40);
        RecordDateReader dates{l};
        QStringList parts;
        for (const EssayRecordPart& r : splitEssayRecords(file)) // a record whose date reads
            parts << (r.isRecord && dates.read(r.date, r.time) == when ? r.answer : r.text)
                         .toString();
        QCOMPARE(parts, QStringList({"\1", junk, odd, "b", b.left(40)}));
    }

    // Help's copies of saved records stay inside the answer that holds them, in the
    // file as read back and in the answer before it is saved; only the rest is the
    // candidate's. Each answer below is saved in turn, <help> standing for what Help
    // brings at that moment. A record of "One two." is 12 words in all.
    void helpCopies_data()
    {
        columns<QStringList, int, int, int>("answers", "own", "help", "seconds"); // between saves
        row("no Help", QStringList{"One two.", "Mine here."}, 2, 0, 1);
        row("typed, then Help", QStringList{"One two.", "One two.", "Mine.<help>"}, 1, 24, 1);
        row("Help alone", QStringList{"One two.", "<help>"}, 0, 12, 1);
        row("typed on after Help", QStringList{"One two.", "<help> and more"}, 2, 12, 1);
        row("Help twice", QStringList{"One two.", "A<help>B<help>"}, 2, 24, 1);
        row("a copy of a copy", QStringList{"One two.", "X<help>", "Y<help>"}, 1, 35, 1);
        row("saves in one second", QStringList{"One two.", "Mine.", "X<help>"}, 1, 23, 0);
    }
    void helpCopies()
    {
        QFETCH(QStringList, answers);
        QFETCH(int, seconds);
        QString file;
        QString brought; // by Help, at the last save
        QStringList typed;
        for (int i = 0; i < answers.size(); ++i) {
            brought = savedEssaysFromBytes(toCodePage(file));
            typed << QString(answers[i]).replace("<help>", brought);
            const QDateTime when(QDate(2026, 12, 7), QTime(9, 0, i * seconds));
            file += buildEssayRecord({EssayKind::Issue, 7}, recordDate(when, QLocale::c()),
                                     recordTime(when, QLocale::c()), "T\r\n", typed.last());
        }
        const QList<EssayRecordPart> parts = splitEssayRecords(file);
        QStringList read;
        for (const EssayRecordPart& part : parts)
            read << (part.isRecord ? part.answer.toString() : "not a record");
        QCOMPARE(read, typed);
        QFETCH(int, own);
        QFETCH(int, help);
        const auto counted = [](const AnswerWords& w) { return std::pair(w.own, w.fromHelp); };
        // As the Review window counts the saved essay, and the test window the answer.
        QCOMPARE(counted(countAnswerWords(parts.last().answer, parts.last().copies)),
                 std::pair(own, help));
        QCOMPARE(counted(countAnswerWords(typed.last(), recordCopiesIn(typed.last(), brought))),
                 std::pair(own, help));
    }

    // The Review window's list: files with CR LF, LF alone (an editor saved them again) or
    // both, read record by record and left as they are; a search keeps the essays that
    // hold all of its words, in any order and case, each in the topic or the answer.
    void essayList_data()
    {
        columns<Bytes, QString, QString>("file", "search", "listed");
        const auto rec = [](const char* topic, const char* answer, int hour) {
            const QDateTime when(QDate(2026, 3, 14), QTime(hour, 0));
            return toCodePage(buildEssayRecord({EssayKind::Issue, 4},
                                               recordDate(when, QLocale::c()),
                                               recordTime(when, QLocale::c()), topic, answer));
        };
        const Bytes a = rec("\r\nOcean tides\r\n", "Alpha\r\nbeta.", 9);
        const Bytes b = rec("\r\nDesert winds\r\n", "Gamma.", 10);
        const auto lf = [](Bytes bytes) { return bytes.replace("\r\n", "\n"); };
        row("CR LF", a + b, "", "Gamma.|Alpha\r\nbeta.");
        row("LF alone", lf(a + b), "", "Gamma.|Alpha\r\nbeta.");
        row("LF, then CR LF", lf(a) + b, "", "Gamma.|Alpha\r\nbeta.");
        row("CR LF, then LF", a + lf(b), "", "Gamma.|Alpha\r\nbeta.");
        row("words in any order", a + b, " BETA  alpha ", "Alpha\r\nbeta.");
        row("one in the topic", lf(a + b), "gamma winds", "Gamma.");
        row("in two essays only", a + b, "tides gamma", "");
    }
    void essayList()
    {
        QFETCH(Bytes, file);
        QFETCH(QString, search);
        ProgramFolder folder;
        folder.write("user/ai4.txt", file);
        EssayList list;
        list.read(folder.file("user"), QLocale::c());
        EssayFilter filter;
        filter.setSourceModel(&list);
        filter.setFilter(std::nullopt, search);
        QStringList listed;
        for (int i = 0; i < filter.rowCount(); ++i)
            listed
                << list.essay(filter.mapToSource(filter.index(i, 0)).row()).part.answer.toString();
        QTEST(listed.join('|'), "listed");
        QCOMPARE(folder.read("user/ai4.txt"), file);
    }

    // The pace figures of logs counted by hand: "allowed|entry;entry;...", each
    // entry "seconds event words helpWords typed deleted".
    void paceOfLogs_data()
    {
        columns<QString, QString>("log", "figures");
        row("a pause across the 5-second sampling, and one ended by a keystroke",
            "1800|0 s 0 0 0 0;5 t 2 0 12 0;10 t 4 0 10 0;75 t 4 0 0 0;80 t 6 0 11 1;"
            "100 t 9 0 15 0;170 k 10 0 1 0;1500 e 300 0 1500 100",
            "first 5, thirds 10/0/290, pause 70@100 of 2, deleted 0.065, last five 0, left 300, "
            "marks ");
        row("a paste of 200 words: no typing, marked",
            "1800|0 s 0 0 0 0;5 t 1 0 8 0;400 p 201 0 3 0;1790 e 400 0 1200 0",
            "first 5, thirds 201/0/199, pause 395@5 of 1, deleted 0.000, last five 199, left 10, "
            "marks p400");
        row("Help's insertion: its words apart",
            "1800|0 s 0 0 0 0;5 t 3 0 20 0;300 h 3 1500 0 0;600 e 150 1500 900 0",
            "first 5, thirds 150/0/0, pause 295@5 of 1, deleted 0.000, last five 0, left 1200, "
            "marks h300");
        row("a paragraph deleted",
            "1800|0 s 0 0 0 0;5 t 2 0 10 0;600 t 100 0 600 20;605 t 40 0 0 400;"
            "1795 e 250 0 1300 30",
            "first 5, thirds 100/-60/210, no pause, deleted 0.236, last five 210, left 5, marks ");
        row("the time ran out",
            "1800|0 s 0 0 0 0;20 k 1 0 1 0;1800 t 380 0 2400 100;1900 e 420 0 250 10",
            "first 20, thirds 1/0/379, no pause, deleted 0.041, last five 379, ran out, 40 after, "
            "marks ");
        row("extended time: thirds of 45 minutes",
            "2700|0 s 0 0 0 0;60 k 1 0 1 0;900 t 150 0 800 0;1800 t 300 0 800 0;"
            "2500 e 420 0 700 0",
            "first 60, thirds 150/150/120, no pause, deleted 0.000, last five 120, left 200, "
            "marks ");
        row("nothing written", "1800|0 s 0 0 0 0;30 e 0 0 0 0",
            "first none, thirds 0/0/0, no pause, deleted none, last five 0, left 1770, marks ");
    }
    void paceOfLogs()
    {
        QFETCH(QString, log);
        const QStringList parts = log.split('|');
        const auto entries = paceEntriesFromLines(QString(parts[1]).replace(';', "\r\n"));
        QVERIFY(entries);
        const PaceLog pace{parts[0].toInt(), *entries};
        const PaceFigures f = paceFigures(pace);
        QString marks;
        for (const int at : f.pastes)
            marks += "p" + QString::number(at);
        for (const int at : f.helps)
            marks += "h" + QString::number(at);
        const QString text =
            QString("first %1, thirds %2/%3/%4, %5, deleted %6, last five %7, %8, marks %9")
                .arg(f.firstWordSeconds ? QString::number(*f.firstWordSeconds) : "none")
                .arg(f.thirds[0])
                .arg(f.thirds[1])
                .arg(f.thirds[2])
                .arg(f.longestPause ? QString("pause %1@%2 of %3")
                                          .arg(f.longestPause->seconds)
                                          .arg(f.longestPause->start)
                                          .arg(f.pauses.size())
                                    : "no pause")
                .arg(f.deletedShare ? QString::number(*f.deletedShare, 'f', 3) : "none")
                .arg(f.wordsLastFiveMinutes)
                .arg(f.timeRanOut ? QString("ran out, %1 after").arg(f.wordsAfterTime)
                                  : QString("left %1").arg(f.secondsLeft))
                .arg(marks);
        QTEST(text, "figures");
        // What the notes and the draft keep reads back the same.
        QCOMPARE(paceEntriesFromLines(paceLines(pace)), entries);
    }

    // What the recorder makes of changes: typing, a quiet spell, pastes by key or
    // not, a cut and an undo, each at its second; the words come from the caller.
    void paceRecorder()
    {
        PaceRecorder r;
        QVERIFY(!r.changed(0.2, 0, 1)); // before the first tick nothing is kept
        r.start(1800, 0, 0);
        QVERIFY(!r.changed(1.0, 0, 1) && !r.changed(1.2, 0, 1) && !r.sampleDue(4.9));
        QVERIFY(r.sampleDue(5.1) && r.changedSinceEntry());
        r.add(5.1, PaceEvent::Tick, 1, 0);
        QCOMPARE(r.changed(12.0, 0, 1), PaceEvent::Resume); // 10.8 s after the last change
        r.add(12.0, PaceEvent::Resume, 2, 0);
        QCOMPARE(r.changed(13.0, 0, 40), PaceEvent::Paste); // 40 at once: no key types that
        r.add(13.0, PaceEvent::Paste, 9, 0);
        r.expect(PaceEvent::Cut);
        QCOMPARE(r.changed(14.0, 6, 0), PaceEvent::Cut);
        r.add(14.0, PaceEvent::Cut, 8, 0);
        r.expect(PaceEvent::Undo);
        QCOMPARE(r.changed(14.5, 0, 6), PaceEvent::Undo);
        r.add(14.5, PaceEvent::Undo, 9, 0);
        r.expect(std::nullopt);
        QVERIFY(!r.changed(14.8, 1, 0) && r.changedSinceEntry());
        QCOMPARE(paceLines(r.ended(16.4, 9, 0)),
                 "0 s 0 0 0 0\r\n5 t 1 0 2 0\r\n12 k 2 0 1 0\r\n13 p 9 0 0 0\r\n"
                 "14 x 8 0 0 6\r\n14 u 9 0 0 0\r\n16 e 9 0 0 1\r\n");
        QVERIFY(!r.sampleDue(9.9) && r.sampleDue(15.0)); // the next sample after the tick at 5
    }

    // Each record finds its own timeline in the notes: two records of one
    // second, a record cut out or edited by hand, entries cut off or for records
    // that are gone, junk, LF line ends. The records' timelines are told apart by
    // their time allowed; "-" is none.
    void timelineMatching_data()
    {
        columns<QString, QString, QString>("records", "notes", "found");
        row("three records, two of one second", "ABC", "ABC", "1800,2250,2700");
        row("notes in another order", "ABC", "CAB", "1800,2250,2700");
        row("a record cut out by hand", "AC", "ABC", "1800,2700");
        row("a record edited by hand", "aBC", "ABC", "-,2250,2700");
        row("the last entry cut off", "ABC", "ABc", "1800,2250,-");
        row("an entry cut off, then a later save", "ABC", "AbC", "1800,-,2700");
        row("entries for records no longer there, and junk", "B", "AjCB", "2250");
        row("no notes", "ABC", "", "-,-,-");
        row("the last timeline of a record counts", "ABC", "ABCZ", "3600,2250,2700");
        row("LF line ends", "ABC", "ABC/lf", "1800,2250,2700");
    }
    void timelineMatching()
    {
        QFETCH(QString, records);
        QFETCH(QString, notes);
        const QHash<QChar, std::tuple<const char*, const char*, int>> essays{
            {'A', {"9:26:53", "Alpha.", 1800}},
            {'a', {"9:26:53", "Alpha!", 1800}},
            {'B', {"9:26:53", "Beta.", 2250}},
            {'C', {"9:40:00", "Gamma.", 2700}}};
        const auto record = [&](QChar c) {
            const auto& [time, answer, allowed] = essays.value(c);
            return buildEssayRecord({EssayKind::Issue, 4}, "3/14/2026", time, "\r\nT\r\n", answer);
        };
        QString file;
        for (const QChar c : records)
            file += record(c);
        QByteArray bytes;
        for (const QChar c : notes.section('/', 0, 0)) {
            if (c == 'j') {
                bytes += "\x01junk\r\n== end\r\n== timeline\r\nrecord: 12\r\n0 s 0 0 0 0\r\n";
                continue;
            }
            const QChar whole = c == 'Z' ? QChar('A') : c.toUpper(); // Z: A's once more
            const auto& [time, answer, allowed] = essays.value(whole);
            const QByteArray entry = toCodePage(
                timelineEntry(record(whole), "3/14/2026", time,
                              {c == 'Z' ? 3600 : allowed, {{0, 0, 0, 0, 0, PaceEvent::Start}}}));
            bytes += c.isLower() ? entry.chopped(8) : entry; // "== end" and part of the line before
        }
        if (notes.endsWith("/lf")) {
            bytes.replace("\r\n", "\n");
            file.replace("\r\n", "\n");
            file.replace("\n", "\r\n"); // as the Review window reads the file
        }
        QList<NotedRecord> noted;
        for (const EssayRecordPart& part : splitEssayRecords(file))
            noted.append({part.text, part.date, part.time});
        QStringList found;
        for (const std::optional<PaceLog>& log : matchTimelines(bytes, noted))
            found << (log ? QString::number(log->secondsAllowed) : "-");
        QTEST(found.join(','), "found");
    }

    // Notes that are no regular file, or too large, are not read; a million
    // entries of a log are refused without a fault.
    void notesBounds()
    {
        ProgramFolder folder;
        const QString notes = folder.file("user/ai4.notes");
#ifndef Q_OS_WIN
        QVERIFY(QFile::link("/dev/zero", notes));
        QVERIFY(readNotesFile(notes).isEmpty());
        QVERIFY(QFile::remove(notes));
#endif
        folder.write("user/ai4.notes", "x");
        QVERIFY(QFile::resize(notes, LargestNotesFile + 1)); // sparse: no disk fills up
        QVERIFY(readNotesFile(notes).isEmpty());
        const QString record = buildEssayRecord({EssayKind::Issue, 4}, "1", "2", "T\r\n", "A.");
        QByteArray many = toCodePage(timelineEntry(record, "1", "2", {1800, {}}));
        many.insert(many.indexOf("== end"), QByteArray("5 t 1 0 1 0\r\n").repeated(1000000));
        const QList<NotedRecord> noted{{record, u"1", u"2"}};
        QVERIFY(!matchTimelines(many, noted).constFirst());
        QVERIFY(!paceEntriesFromLines(QByteArrayView("1234567890 t 0 0 0 0"))); // ten digits
        QVERIFY(paceEntriesFromLines(QByteArrayView("123456789 t 0 0 0 0")));
    }

    // Where the system-information tool is looked for, how a registry value
    // reads, and what happens then.
    void sysInfo_data()
    {
        columns<SysInfo>("s");
        const auto sz = Registry::RegSz;
        row("text with its NUL", SysInfo{sz, Bytes("C:\\t\0", 5), "", true, "C:\\t"});
        row("number, top byte 0",
            SysInfo{Registry::RegDword, Bytes("\4\3\2\0", 4), "", true, "&h020304"});
        row("1024 bytes fit", SysInfo{sz, Bytes(1024, 'a'), "", true, QString(1024, 'a')});
        row("too long: the folder",
            SysInfo{sz, Bytes(1025, 'a'), "HERE", true, "HERE\\MSINFO32.EXE"});
        row("fails to start", SysInfo{sz, "C:\\t", "", false, ""});
        row("folder without it", SysInfo{sz, {}, "HERE\\no", true, ""});
        row("zero size", SysInfo{sz, "", "HERE", true, ""});
        row("nothing", SysInfo{sz, {}, "", true, ""});
#ifdef Q_OS_WIN
        row("the system's registry",
            SysInfo{sz, "HERE\\MSINFO32.EXE", "", true, "HERE\\MSINFO32.EXE", true});
#endif
    }
    void sysInfo()
    {
        QFETCH(SysInfo, s);
        ProgramFolder here;
        here.write(QStringLiteral("MSINFO32.EXE"), "tool");
        FakePlatform fake;
        fake.shell.succeed = s.startWorks;
        if (!s.path.isNull())
            fake.registry.keys[R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)"]["PATH"] = {s.type,
                                                                                       s.path};
        if (!s.folder.isEmpty())
            fake.registry.keys[R"(SOFTWARE\Microsoft\Shared Tools Location)"]["MSINFO"] = {
                Registry::RegSz, s.folder.replace("HERE", here.path()).toUtf8()};
        SystemRegistry system;
        Platform seams{fake.boxes, fake.clock, fake.shell,
                       s.systemRegistry ? static_cast<Registry&>(system) : fake.registry, fake.end};
#ifdef Q_OS_WIN
        HKEY key = nullptr;
        const char* const subKey = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
        if (s.systemRegistry) {
            const QByteArray path = QString(s.path).replace("HERE", here.path()).toLocal8Bit();
            QCOMPARE(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                     nullptr, &key, nullptr),
                     ERROR_SUCCESS);
            RegSetValueExA(key, "PATH", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.data()),
                           DWORD(path.size() + 1));
            RegCloseKey(key);
        }
#endif
        startSysInfo(seams, nullptr);
#ifdef Q_OS_WIN
        if (s.systemRegistry)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, subKey);
#endif
        if (s.startWorks)
            QCOMPARE(fake.shell.started.join(""), s.started.replace("HERE", here.path()));
        QCOMPARE(fake.boxes.prompts.join(""),
                 s.started.isEmpty() ? "System information are temporarily unavailable." : "");
        QVERIFY(fake.boxes.asked.isEmpty() || fake.boxes.asked.first().title.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLogic)
#include "tst_logic.moc"
