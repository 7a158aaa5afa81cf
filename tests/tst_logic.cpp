// The plain logic beside the windows: no widget is made here.
#include "fakeplatform.h"
#include "qeltest.h"

#include "about/sysinfo.h"
#include "bank/topiclibrary.h"
#include "essay/essayfile.h"
#include "essay/essaynotes.h"
#include "essay/essayrecords.h"
#include "essay/essayreport.h"
#include "essay/selfrating.h"
#include "essay/spellchecker.h"
#include "essay/topickey.h"
#include "essay/usageslips.h"
#include "essay/wordcount.h"
#include "exam/countdown.h"
#include "exam/draft.h"
#include "platform/appfolder.h"
#include "platform/fault.h"
#include "platform/realplatform.h"
#include "review/essayfigures.h"
#include "review/essaylist.h"
#include "review/keypane.h"
#include "review/progressmodel.h"
#include "review/reportview.h"
#include "start/greissue.h"
#include "start/numberentry.h"
#include "start/randomtopic.h"

#include <QTextDocument>

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

// Essays written as "I12@0.5=450/2/1": kind and topic, days before 14 March 2026
// at noon (x: unreadable), words, spelling and usage slips per hundred if counted.
Progress progressOf(const QString& essays)
{
    const QDateTime now(QDate(2026, 3, 14), QTime(12, 0));
    QList<ProgressEssay> list;
    for (const QString& e : essays.split(' ', Qt::SkipEmptyParts)) {
        // "I1@2=450/1/0/3/5": Issue 1, two days ago, 450 words, 1 spelling and 0 usage
        // slips per hundred, 3 minutes to the first word, 5 left ("-": none).
        const QStringList f = e.split(QRegularExpression("[@=/]"));
        const auto figure = [&f](int i) {
            return f.size() > i && f[i] != "-" ? std::optional(f[i].toDouble()) : std::nullopt;
        };
        list << ProgressEssay{
            {e[0] == 'I' ? EssayKind::Issue : EssayKind::Argument, f[0].mid(1).toInt()},
            f[1] == "x" ? QDateTime() : now.addSecs(qint64(-f[1].toDouble() * 86400)),
            f[2].toInt(),
            figure(3),
            figure(4),
            figure(5),
            figure(6)};
    }
    return makeProgress(list, now);
}

// The days' scale from today, the words' and the slips' scales, and the totals.
QString scalesAndTotals(const Progress& p)
{
    const auto today = double(QDate(1970, 1, 1).daysTo(QDate(2026, 3, 14)));
    const auto scale = [](const ProgressScale& s, double from) {
        return QString("%1-%2/%3").arg(s.low - from).arg(s.high - from).arg(s.step);
    };
    const auto median = [](std::optional<double> m) { return m ? QString::number(*m) : "-"; };
    return QStringList{scale(p.words.days, today), scale(p.words.values, 0),
                       scale(p.slips.values, 0),
                       QString("%1/%2/%3/%4")
                           .arg(p.totals.lastWeek)
                           .arg(p.totals.lastMonth)
                           .arg(median(p.totals.medianLastTen), median(p.totals.medianTenBefore))}
        .join('|');
}

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
        row("curly and straight apostrophes: one slip",
            QString::fromUtf8("I cannn\u2019t say. I cannn't. Isn\u2019t it?"), QString(),
            QString("slips=cannn't:2"));
        row("repetition",
            QString("The plan works. The plan fails! Then plans change. Then "
                    "plan again."),
            QString(), QString("mostUsed=plan:4 starts=The:2,Then:4"));
        row("repetition counts a plural as its singular",
            QString("Companies hire. The company grows, as companies do; success follows."),
            QString(), QString("mostUsed=companies:3"));
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
        row("the topic's numbers and linking words", QString("Cities grow."),
            QString("\r\n\"Moreover, three cities last grew without parks across the next "
                    "decade.\"\r\n"),
            QString("topic=1/4 unused=grew,parks,decade mostUsed="));
        // Made-up words, each its own: "zqa zqb ... zqz zqba ...".
        const auto madeUp = [](int count) {
            QStringList words;
            for (int i = 0; i < count; ++i) {
                QString word;
                for (int n = i; n > 0 || word.isEmpty(); n /= 26)
                    word.prepend(QChar('a' + n % 26));
                words << "zq" + word;
            }
            return words.join(' ');
        };
        row("more slips than listed", madeUp(45), QString(), QString("listed=40 misspelled=45"));
        row("the eight most used of nine", madeUp(9) + ' ' + madeUp(9), QString(),
            QString("mostUsedListed=8"));
        row("more words than looked up", madeUp(CheckedWords + 5), QString(),
            QString("leftOut=5 misspelled=20000"));
        row("a word too long to look up", QString("q").repeated(SpellChecker::LongestWord + 1),
            QString(), QString("leftOut=1 slips="));
        row("the longest word looked up", QString("q").repeated(SpellChecker::LongestWord),
            QString(),
            "leftOut=0 slips=" + QString("q").repeated(SpellChecker::LongestWord) + ":1");
        row("six letters are not long", QString("Pretty little houses."), QString(),
            QString("long=0"));
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
            {"listed", QString::number(r.slips.size())},
            {"misspelled", QString::number(r.misspelled)},
            {"mostUsed", join(r.mostUsed)},
            {"mostUsedListed", QString::number(r.mostUsed.size())},
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

    // Every rule's own proof: the sentence it must flag, with its correction,
    // and the one it must leave alone; a rule cannot be added without them.
    void usageRulesProve()
    {
        for (qsizetype r = 0; r < qsizetype(usageRules().size()); ++r) {
            const UsageRule& rule = usageRules()[r];
            const UsageReport fired = findUsageSlips(QString::fromUtf8(rule.firesOn));
            QVERIFY2(fired.slips.size() == 1 && fired.slips[0].rule == r &&
                         fired.slips[0].correction == QString::fromUtf8(rule.corrected),
                     rule.firesOn);
            QVERIFY2(findUsageSlips(QString::fromUtf8(rule.silentOn)).slips.isEmpty(),
                     rule.silentOn);
        }
        const EssayReport report =
            makeEssayReport(QString::fromUtf8(usageRules()[0].firesOn), QString(), nullptr);
        QVERIFY(reportHtml(report).contains("Usage and mechanics"));
        QCOMPARE(report.usage.mechanics, 1);
    }

    // Slips as candidates write them, one in each sentence: at least 90 % found
    // with the right correction.
    void usageSlipsFound()
    {
        static const auto Table = std::to_array<std::array<const char*, 2>>({
            {"In my opinion, the the government should act.", "the"},
            {"We need to to invest more in schools.", "to"},
            {"It depends on on the context.", "on"},
            {"Many people believe that a a degree guarantees a job.", "a"},
            {"The company lost its its best workers.", "its"},
            {"For example,\nin in 2010 the city grew.", "in"},
            {"(The results of of the study were clear.)", "of"},
            {"Technology has changed the way we we communicate.", "we"},
            {"Parents Should should encourage reading.", "Should"},
            {"Finally, it is clear that education matters matters.", "matters"},
            {"Cities are growing. however, rents are rising too.", "However"},
            {"The plan failed! many investors lost money.", "Many"},
            {"Is this fair? some would say no.", "Some"},
            {"Education is vital.\n\nin conclusion, schools need money.", "In"},
            {"first, we must consider the costs.", "First"},
            {"The author ignores costs. this weakens the argument.", "This"},
            {"\"Rules matter,\" the author says. but rules change.", "But"},
            {"Prices rose in 2020. consequently, demand fell.", "Consequently"},
            {"The survey is old.\nfurthermore, it is small.", "Furthermore"},
            {"Some agree (as I do). others disagree.", "Others"},
            {"It works. yet it costs too much.", "Yet"},
            {"We tried everything! nothing worked.", "Nothing"},
            {"When i was young, I read a lot.", "I"},
            {"Personally, i believe the claim is false.", "I"},
            {"I think i would choose the first option.", "I"},
            {"My friends and i agree with this view.", "I"},
            {"In my country i have seen this happen.", "I"},
            {"i'm not sure the author is right.", "I'm"},
            {"Honestly, i've never seen such a plan.", "I've"},
            {"If i'd known, i'd have acted.", "I'd"},
            {"As a student, i’m tired of exams.", "I’m"},
            {"i think schools should teach cooking.", "I"},
            {"However , the author is wrong.", "However,"},
            {"This is true ; yet it is not enough.", "true;"},
            {"Why do people agree ?", "agree?"},
            {"The answer is simple : invest.", "simple:"},
            {"It is a good idea !", "idea!"},
            {"The plan works .\nThe next step is hard.", "works."},
            {"\"Yes , we can,\" he said.", "Yes,"},
            {"For example , in Japan trains are fast.", "example,"},
            {"The plan failed.Therefore, we need a new one.", "failed. Therefore"},
            {"Is it fair?Many would say no.", "fair? Many"},
            {"This is wrong!The author forgets costs.", "wrong! The"},
            {"Schools need funds.Teachers need support.", "funds. Teachers"},
            {"Costs rose sharply.In addition, wages fell.", "sharply. In"},
            {"The survey (which asked 100 people is too small.", "( … )"},
            {"The author says \"prices always rise. But this is false.", "\" … \""},
            {"Some experts [for example, economists disagree.", "[ … ]"},
            {"He calls it “progress, but it is not.", "“ … ”"},
            {"Cities (like London and Paris grow fast.\nRents rise.", "( … )"},
            {"It is a important question.", "an"},
            {"This is a example of bad planning.", "an"},
            {"She had a idea.", "an"},
            {"A honest answer is best.", "An"},
            {"It takes a hour to get there.", "an"},
            {"They hired a MBA graduate.", "an"},
            {"It was a unusual decision.", "an"},
            {"He made a error in the report.", "an"},
            {"This is an big problem.", "a"},
            {"She joined an university in London.", "a"},
            {"It is an useful tool.", "a"},
            {"An European company bought it.", "A"},
            {"He wrote an one-page report.", "a"},
            {"They built an house near the river.", "a"},
            {"It was an good year for farmers.", "a"},
            {"We need an new approach.", "a"},
            {"Such a offer is rare.", "an"},
            {"It is an unique chance.", "a"},
            {"They opened an US office.", "a"},
            {"It is a easy task.", "an"},
            {"The company lost it's own identity.", "its"},
            {"Its a common mistake.", "It's"},
            {"I think its not true.", "it's"},
            {"Its been a long time.", "It's"},
            {"Every nation has it’s own culture.", "its"},
            {"Its the best option we have.", "It's"},
            {"Their are many reasons for this.", "There"},
            {"I know their is a problem.", "there"},
            {"They're are two sides to this.", "There"},
            {"People want there own homes.", "their"},
            {"Their was no evidence.", "There"},
            {"Families need space, and they're own time.", "their"},
            {"If your not careful, you lose.", "you're"},
            {"Your the one who decides.", "You're"},
            {"Make you're own choice.", "your"},
            {"Your a good student.", "You're"},
            {"Whose going to pay for it?", "Who's"},
            {"The mayor, whose been in office for years, agrees.", "who's"},
            {"This plan is better then the old one.", "than"},
            {"Cars are faster then bicycles.", "than"},
            {"Rather then wait, we acted.", "than"},
            {"Online courses are cheaper then classes.", "than"},
            {"We ate, and than we left.", "then"},
            {"Since than, prices have risen.", "then"},
            {"Many will loose their jobs.", "lose"},
            {"We don't want to loose money.", "lose"},
            {"The rules are too lose.", "loose"},
            {"We could of avoided this.", "have"},
            {"They should of listened.", "have"},
            {"It would of been better.", "have"},
            {"You must of seen it.", "have"},
            {"Students learn alot from travel.", "a lot"},
            {"Alot of people agree.", "A lot"},
            {"He don't understand the problem.", "doesn't"},
            {"It don't matter much.", "doesn't"},
            {"They was wrong about it.", "were"},
            {"We was told to wait.", "were"},
            {"They doesn't care.", "don't"},
            {"One of the reason is cost.", "reasons"},
            {"This is one of the problem that we face.", "problems"},
            {"There is many ways to solve it.", "are"},
            {"There was many people there.", "were"},
            {"There's many reasons to doubt it.", "There are"},
            {"Cost is one of the main reason.", "reasons"},
            {"She don't like it.", "doesn't"},
        });
        int found = 0;
        QStringList missed;
        for (const auto& row : Table) {
            const char* const sentence = row[0];
            const QString correction = QString::fromUtf8(row[1]);
            const UsageReport r = findUsageSlips(QString::fromUtf8(sentence));
            const bool right = std::any_of(r.slips.begin(), r.slips.end(), [&](const UsageSlip& s) {
                return s.correction == correction;
            });
            found += right ? 1 : 0;
            if (!right || r.slips.size() != 1)
                missed << QString::fromUtf8(sentence);
        }
        const int total = int(std::size(Table));
        qInfo("usage slips found: %d of %d; missed or more than one: %s", found, total,
              qPrintable(missed.join(" | ")));
        QVERIFY(total >= 100);
        QVERIFY(found * 10 >= total * 9);
    }

    // Sentences where English allows what a rule looks for: none may fire.
    void usageRulesSilent_data()
    {
        columns<QString>("text");
        row("doubled words", QString("He said that that was true. It was very, very good; "
                                     "Walla Walla grew. Give her her book."));
        row("sentence starts", QString("See e.g. the data. The U.S. economy grew, etc. and so "
                                       "on. The iPhone sold. eBay grew.\n3. items fell,\nand yet "
                                       "the line runs on. Wait... then go."));
        row("i", QString("Let i be the index; part (i) holds, i.e. the first."));
        row("other scripts", QString::fromUtf8("\u043c\u0438\u0440. \u043c\u0438\u0440 "
                                               "\u043c\u0438\u0440 \u4f60\u597d \u4f60\u597d."));
        row("spaces", QString("Wait ... what? The ratio is 2 :1 and :) fine."));
        row("no space after", QString("Node.js, ASP.Net and Ph.D students; see example.Com or "
                                      "a/b.Net."));
        row("marks", QString("He is 6'2\" tall (about 188 cm). Sad :( indeed. 1) one, 2) two.\n"
                             "\"Quoted,\" she said."));
        row("a and an", QString("An hour, a one-off, a US firm, an MBA, a university, an honest "
                                "man, a European, a union, an x-ray, an herb, a UFO, a user, an "
                                "NGO, an SQL query, an Euler path, a eulogy, a nth, an 8-hour day, "
                                "Plan A or B, a priori, options a or b, a historic day."));
        row("sound-alikes", QString("It's been said that its own rules hold. Their being late "
                                    "hurt. Your being there helped. Whose is this? If we earn "
                                    "more then we save. A loose end; to lose it. It could, of "
                                    "course, fail; it would of course fail. It is older than "
                                    "this, and then some."));
        row("agreement", QString("If he were rich, thank you was all she said. One of the "
                                 "problem areas is rent. There is many a slip. They were "
                                 "late, and he doesn't care."));
    }
    void usageRulesSilent()
    {
        QFETCH(QString, text);
        const UsageReport r = findUsageSlips(text);
        QVERIFY2(r.slips.isEmpty(), qPrintable(r.slips.isEmpty() ? QString() : r.slips[0].written));
    }

    // Edited English: the program's own topics, where no rule may fire, and
    // public-domain prose kept with the tests, at most a slip in 10,000 words.
    void usageOnEditedProse_data()
    {
        columns<QString, int>("file", "perTenThousand");
        row("issue topics", QString("data/ai.lib"), 0);
        row("argument topics", QString("data/aa.lib"), 0);
        row("SQLite documentation", QString("tests/prose/sqlite-docs.txt"), 1);
    }
    void usageOnEditedProse()
    {
        QFETCH(QString, file);
        QFETCH(int, perTenThousand);
        QFile f(qEnvironmentVariable("QEL_SOURCE_DIR") + '/' + file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll()).replace("\r\n", "\n");
        const UsageReport r = findUsageSlips(text);
        QStringList found;
        for (const UsageSlip& s : r.slips)
            found << s.written + " -> " + s.correction + " in: " + s.sentence;
        qInfo("%d words, %d slips", r.words, r.mechanics + r.usage);
        QVERIFY2(qint64(r.mechanics + r.usage) * 10000 <= qint64(perTenThousand) * r.words,
                 qPrintable(found.join('\n')));
        QVERIFY(file.endsWith(".lib") || r.words >= 50000);
    }

    // The same slip listed once with its count, the most frequent first, then in
    // the order made; each family per hundred words; a long sentence cut to a line.
    void usageListing()
    {
        const QString answer = "It was a idea. The the plan failed. So " +
                               QString("one two three ").repeated(100) +
                               "and the the end came. The the rest.";
        const UsageReport r = findUsageSlips(answer);
        QCOMPARE(r.slips.size(), 2);
        QVERIFY(r.slips[0].written == "The the" && r.slips[0].count == 3 &&
                r.slips[0].sentence == "The the plan failed.");
        QVERIFY(r.slips[1].correction == "an" && r.slips[1].count == 1);
        QVERIFY(r.mechanics == 3 && r.usage == 1 && r.different == 2);
        QCOMPARE(r.perHundred(UsageFamily::Mechanics), 300.0 / r.words);
        QCOMPARE(r.places.size(), 4);
        QVERIFY(std::is_sorted(r.places.begin(), r.places.end(),
                               [](auto a, auto b) { return a.start < b.start; }));
        QCOMPARE(answer.mid(r.places[2].start, r.places[2].length), "the the");
        const UsageReport cut =
            findUsageSlips("So " + QString("one two three ").repeated(100) + "the the end.");
        // From a third of the line before the slip to the sentence's end.
        QCOMPARE(cut.slips[0].sentence, "...e one two three one two three the the end.");
    }

    // Answers no candidate writes still give a report of a page.
    void usageBadInput_data()
    {
        columns<QString>("answer");
        row("megabytes", QString("Their is a the the problem ,here.Next ( \" ").repeated(50000));
        row("one long sentence", QString("and a apple ").repeated(100000));
        row("punctuation alone", QString("((\"[ ,.;:?! ").repeated(300000));
        row("another script", QString::fromUtf8("\u043f\u0440\u0438\u0432\u0435\u0442 "
                                                "\u4f60\u597d\u3002 ")
                                  .repeated(100000));
        row("unbalanced quotes", QString("\"a (b [c “d\n").repeated(100000));
    }
    void usageBadInput()
    {
        QFETCH(QString, answer);
        const UsageReport r = findUsageSlips(answer);
        QVERIFY(r.slips.size() <= ListedUsageSlips && r.places.size() <= MarkedUsageSlips);
        for (const UsageSlip& s : r.slips)
            QVERIFY(s.sentence.size() <= SlipSentenceLength + 6 && s.written.size() < 100);
        QCOMPARE(countUsageSlips(answer), r.mechanics + r.usage);
    }

    // The report in words for a terminal: the summary first, then the words of
    // the rich text in its order (its sections, figures, suggestions and
    // meanings), in lines no wider than asked.
    void reportInWords_data()
    {
        columns<int>("width");
        row("a narrow terminal", 40);
        row("a wide one", 100);
    }
    void reportInWords()
    {
        QFETCH(int, width);
        static const SpellChecker English({QStringLiteral("/usr/share/hunspell")});
        EssayReport r = makeEssayReport(QString("Teh plan. ").repeated(40) + "\nPlans recieve.",
                                        QString("\r\n\"Plans fail.\"\r\n"), &English);
        suggestSpellings(r, English, 5);
        const QString text = reportText(r, width);
        QVERIFY2(text.simplified().startsWith("Words: 82, below the band of 500 to 600. "
                                              "Paragraphs: 2. Spelling slips: 41 (2 different "
                                              "words). Length"),
                 qPrintable(text.left(80)));
        QVERIFY(text.contains("\n    recieve (1): receive"));
        // Every word never used is listed: nothing is said to be left out.
        QVERIFY(text.contains("Never used: fail") && !text.contains("fail, ..."));
        for (const QString& line : text.split('\n'))
            QVERIFY2(line.size() <= width, qPrintable(line));
        // A line set in keeps its margin on every line it wraps to.
        QCOMPARE(wrapLines(QString("  ") + QString("word ").repeated(12), width),
                 width < 60 ? "  word word word word word word word\n  word word word word word\n"
                            : "  " + QString("word ").repeated(11) + "word\n");
        QTextDocument html;
        html.setHtml(reportHtml(r));
        const auto words = [](QString shown) {
            shown.remove(QChar::ObjectReplacementCharacter); // the band's picture
            static const QRegularExpression Dashes("^-+$");
            QStringList words = shown.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
            words.removeIf([](const QString& w) { return Dashes.match(w).hasMatch(); });
            return words;
        };
        QCOMPARE(words(text), words(html.toPlainText()));
    }

    // The figures' CSV: the columns in their order, and cells quoted as RFC 4180 says.
    void figuresCsv_data()
    {
        columns<QString, QString>("cell", "written");
        row("plain", QString("Dec 8 2026"), QString("Dec 8 2026"));
        row("a comma", QString("8 Dec, 2026"), QString("\"8 Dec, 2026\""));
        row("a quote", QString(R"(a "b")"), QString(R"("a ""b""")"));
        row("a line end", QString("a\r\nb"), QString("\"a\r\nb\""));
    }
    void figuresCsv()
    {
        QFETCH(QString, cell);
        QFETCH(QString, written);
        QCOMPARE(csvCell(cell), written);
        QStringList names;
        for (const FigureColumn& column : figureColumns())
            names << column.name;
        QCOMPARE(names.join(','),
                 "file,record,date,time,kind,topic,words,paragraphs,sentences,"
                 "mean_sentence_words,spelling_slips,topic_words_used,topic_words,"
                 "distinct_per_hundred,long_word_share,usage_slips,points_taken_up,"
                 "points,first_word_s,longest_pause_s,words_last_5_min,deleted_share,"
                 "time_left_s,rating");
    }

    // The pictures' figures, from essays written as progressOf reads them.
    void progressFigures_data()
    {
        columns<QString, QString>("essays", "figures");
        row("none", "", "||0-1/1|0-800/200|0-1/0.2|0/0/-/-||0/0/0");
        row("one", "I12@0.5=450/2", "450|450|0-1/1|0-800/200|0-2/0.5|1/1/450/-|I12:1/1|0/0/0");
        row("median of five", "I1@5=100/1 I1@4=500/2 I1@3=300/3 I1@2=900/4 I2@1=200 A3@0.1=700",
            "100,500,300,900,200,700|100,300,300,400,300,500|-5-1/1|0-1000/200|0-4/1|"
            "6/6/400/-|I1:4/3,I2:1/1,A3:1/1|0/0/2");
        row("bad dates", "I1@x=300 I1@-2=400 I1@40=200",
            "200|200|-40--39/1|0-800/200|0-1/0.2|0/0/200/-|I1:3/3|1/1/1");
        row("one day", "I1@0.3=10/0 I1@0.2=20/0 A141@0.1=30/0",
            "10,20,30|10,15,20|0-1/1|0-800/200|0-1/0.2|3/3/20/-|I1:2/2,A141:1/1|0/0/0");
        QString many = "I5@20=1000";
        for (int i = 19; i >= 0; --i)
            many += QString(" I5@%1=%2").arg(i).arg(i < 10 ? 500 : 300);
        row("twenty-one", many,
            "1000," + QString("300,").repeated(10) + QString("500,").repeated(9) + "500|" +
                "1000,650," + QString("300,").repeated(11) + QString("500,").repeated(7) +
                "500|-20-1/7|0-1000/200|0-1/0.2|7/21/500/300|I5:21/4|"
                "0/0/21");
    }
    void progressFigures()
    {
        QFETCH(QString, essays);
        QFETCH(QString, figures);
        const Progress p = progressOf(essays);
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
        QCOMPARE(
            QStringList({values.join(','), medians.join(','), scalesAndTotals(p), cells.join(','),
                         QString("%1/%2/%3").arg(p.undated).arg(p.future).arg(p.slips.waiting)})
                .join('|'),
            figures);
        QCOMPARE(p.cells.size(), 441);
        if (!essays.isEmpty())
            return;
        QCOMPARE(totalsLine(p), "No essays to show.");
        // Usage and mechanics, a picture of its own, the same way as spelling.
        const Progress usage = progressOf("I1@3=100/1/4 I1@2=100/2/0.5 I1@1=100 A2@0.5=90/1/12");
        QStringList shown;
        for (const auto& point : usage.usage.points)
            shown << QString::number(point.value);
        QCOMPARE(QString("%1|%2|%3")
                     .arg(shown.join(','))
                     .arg(usage.usage.waiting)
                     .arg(usage.usage.values.high),
                 "4,0.5,12|1|15");
    }

    // One essay far beyond the others, or dated after now, leaves the scales
    // and the totals to the rest; it stands at the picture's edge.
    void progressBulk_data()
    {
        columns<QString, QString>("essays", "figures");
        QString outlier = "I2@0.1=172000/40";
        for (int i = 1; i <= 46; ++i)
            outlier += QString(" I2@%1=%2/1").arg(i).arg(400 + i % 2 * 100);
        row("one huge paste", outlier, "-46-10/14|0-800/200|0-1/0.2|7/30/500/450|above 1/1");
        row("a wrong clock", "I1@-300=900/1 I1@1=450/1 I1@2=500/1",
            "-2-0/1|0-800/200|0-1/0.2|2/2/475/-|above 0/0");
    }
    void progressBulk()
    {
        QFETCH(QString, essays);
        QFETCH(QString, figures);
        const Progress p = progressOf(essays);
        QCOMPARE(scalesAndTotals(p) + QString("|above %1/%2").arg(p.words.above).arg(p.slips.above),
                 figures);
    }

    // The pictures' sentences and the lines above and below them.
    void progressWords_data()
    {
        columns<QString, QString, QString>("essays", "said", "unsaid");
        row("first five", "I1@6=100 I1@5=500 I1@4=300 I1@3=900 I1@2=200 I1@1=700",
            "went from 300 for the first five to 500 for the last five", "from 100 for");
        row("one essay", "I1@1=448", "Words: 1 essay, on ", "1 essays");
        row("no change", "I1@7=448 I1@6=448 I1@5=448 I1@4=448 I1@3=448 I1@2=448", "stayed at 448",
            "448 to 448");
        row("one huge paste",
            "I1@12=450 I1@11=450 I1@10=450 I1@9=450 I1@8=450 I1@7=450 I1@6=450 I1@5=450 "
            "I1@4=450 I1@3=450 I1@2=172000",
            "Median words of the last ten essays: 450", "Mean");
        const QString wrongClock = "I1@-30=172000 I1@1=450 I1@2=450";
        row("a wrong clock", wrongClock, "Median words of the essays so far: 450", "172");
        row("after now", wrongClock, "Words: 2 essays from", "3 essays");
        row("timelines", "I1@2=450/1/0/2/5 I1@1=450/1/0/4/7",
            "Of the last ten essays with a timeline: 3.0 min before the first word, 6.0 min left",
            "Mean");
        row("a timeline without a word", "I1@1=0/0/0/-/30", "Words: 1 essay", "with a timeline");
        row("said below", wrongClock,
            "1 essay is dated after today (the computer's clock may have been wrong) and is not "
            "shown over time.",
            "Mean");
    }
    void progressWords()
    {
        QFETCH(QString, essays);
        QFETCH(QString, said);
        QFETCH(QString, unsaid);
        const Progress p = progressOf(essays);
        const QString text =
            QStringList{seriesSentences(p.words, "Words"), totalsLine(p), datesLine(p)}.join('\n');
        QVERIFY2(text.contains(said) && !text.contains(unsaid), qPrintable(text));
    }

    // The GRE's library as it ships: 150 topics, six instructions carried word for
    // word by 25 topics each, in the forms' turn; no topic a near copy of another
    // of it or of the GMAT's Issue topics.
    void greLibrary()
    {
        const QString data = qEnvironmentVariable("QEL_SOURCE_DIR") + "/data/";
        TopicTable gre;
        TopicTable gmat;
        loadTopicLibrary(data, GreIssueLibraryName, GreIssueTopicCount, gre);
        loadTopicLibrary(data, IssueLibraryName, IssueTopicCount, gmat);
        // A topic's last paragraph is its instruction; the word triples before it, its own.
        const auto split = [](const QString& topic) {
            QStringList paragraphs = topic.trimmed().split("\r\n\r\n");
            const QString last = paragraphs.takeLast();
            const QStringList w = paragraphs.join(' ').toLower().split(
                QRegularExpression("[^a-z']+"), Qt::SkipEmptyParts);
            std::set<QString> triples;
            for (qsizetype i = 2; i < w.size(); ++i)
                triples.insert(w[i - 2] + ' ' + w[i - 1] + ' ' + w[i]);
            return std::pair(last, triples);
        };
        QMap<QString, QList<int>> byInstruction;
        std::vector<std::set<QString>> own;
        for (int n = 1; n <= GreIssueTopicCount; ++n) {
            auto [instruction, triples] = split(gre.at(n - 1));
            QVERIFY2(!triples.empty(), qPrintable(QString("topic %1 has no statement").arg(n)));
            byInstruction[instruction] << n;
            own.push_back(triples);
        }
        QCOMPARE(byInstruction.size(), IssueFormCount);
        for (const QList<int>& numbers : std::as_const(byInstruction)) {
            QCOMPARE(numbers.size(), GreIssueTopicCount / IssueFormCount);
            for (const int n : numbers)
                QVERIFY(issueFormOf(n) == issueFormOf(numbers.first()));
        }
        for (int n = 1; n <= IssueTopicCount; ++n)
            own.push_back(split(gmat.at(n - 1)).second);
        // Half of the shorter topic's word triples found in the other: a near copy.
        for (std::size_t a = 0; a < std::size_t(GreIssueTopicCount); ++a) {
            for (std::size_t b = a + 1; b < own.size(); ++b) {
                std::size_t shared = 0;
                for (const QString& t : own[a])
                    shared += own[b].count(t);
                QVERIFY2(2 * shared < std::min(own[a].size(), own[b].size()),
                         qPrintable(QString("GRE topic %1 nearly repeats %2 %3")
                                        .arg(a + 1)
                                        .arg(b < 150 ? "GRE topic" : "GMAT Issue topic")
                                        .arg(b % 150 + 1)));
            }
        }
    }

    // Topics of one form are drawn only from that form, every one of them can come;
    // a GRE draft keeps its kind.
    void greIssueDraw()
    {
        QVERIFY(issueFormOf(1) == IssueForm::Statement && issueFormOf(6) == IssueForm::Policy &&
                issueFormOf(7) == IssueForm::Statement && issueFormOf(150) == IssueForm::Policy);
        for (int form = -1; form < IssueFormCount; ++form) {
            const auto chosen = form < 0 ? std::nullopt : std::optional(IssueForm(form));
            std::set<int> seen;
            for (std::uint64_t seed = 0; seed < 4000; ++seed) {
                const int n = drawGreIssueTopic(chosen, seed * 1000003U);
                QVERIFY(n >= 1 && n <= GreIssueTopicCount &&
                        (!chosen || issueFormOf(n) == *chosen));
                seen.insert(n);
            }
            QCOMPARE(int(seen.size()), chosen ? 25 : 150);
        }
        // A GRE answer's draft names its kind, so a crash's draft goes back to its file.
        const Draft draft{{EssayKind::GreIssue, 96},
                          "\r\nT\r\n",
                          "A.",
                          QDateTime(QDate(2026, 3, 14), QTime(9, 0))};
        QVERIFY(draftText(draft).contains("Kind: GRE Issue\r\n") &&
                draftFromText(draftText(draft)).value().question == draft.question);
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

    // A copy that died between writing a draft's temporary file and renaming it
    // left the temporary behind: the next start clears it, and nothing else.
    void leftoverTemporaries()
    {
        ProgramFolder folder;
        for (const char* name : {"draft.txt.Ab12Cd", "draft-2.txt.Zz99Yy", "draft.txt.old"})
            folder.write(QString("user/") + name, "half a draft");
        QVERIFY(claimOrphanDrafts(appFolderOf(QDir::toNativeSeparators(folder.path()))).empty());
        QCOMPARE(QDir(folder.file("user")).entryList(QDir::Files), QStringList{"draft.txt.old"});
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
            QCOMPARE(read.text, QString::fromUtf8("\r\n\r\n\r\nold\r\nx\u00e9\u03a9\r\ny\r\nz"));
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

    // What a screen reader is told of the time left: whole minutes until the
    // last five, then minutes and seconds.
    void spokenTime_data()
    {
        columns<int, int, QString>("minutes", "seconds", "spoken");
        row("half an hour", 30, 0, QString("30 minutes left"));
        row("an hour and a half", 90, 0, QString("1 hour 30 minutes left"));
        row("an hour", 60, 0, QString("1 hour left"));
        row("before the last five", 5, 30, QString("5 minutes left"));
        row("in the last five", 4, 30, QString("4 minutes 30 seconds left"));
        row("one minute", 1, 0, QString("1 minute left"));
        row("one second", 0, 1, QString("1 second left"));
        row("none", 0, 0, QString("0 seconds left"));
    }
    void spokenTime()
    {
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        CountdownState state;
        state.minutesLeft = std::int16_t(minutes);
        state.secondsLeft = std::int16_t(seconds);
        QTEST(spokenTimeLeft(state), "spoken");
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
        const Bytes c = rec("\r\nRiver deltas\r\n", "Delta.", 9);
        const Bytes d = rec("\r\nCaf\u00e9 \u201cterraces\u201d\r\n",
                            "Na\u00efve \u2014 d\u00e9j\u00e0 vu.", 11);
        const auto lf = [](Bytes bytes) { return bytes.replace("\r\n", "\n"); };
        row("CR LF", a + b, "", "Gamma.|Alpha\r\nbeta.");
        row("saved in the same second", a + c + b, "", "Gamma.|Delta.|Alpha\r\nbeta.");
        row("letters beyond ASCII", a + d, "caf\u00c9 D\u00c9J\u00c0",
            "Na\u00efve \u2014 d\u00e9j\u00e0 vu.");
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
        for (int i = 0; i < filter.rowCount(); ++i) {
            const int row = filter.mapToSource(filter.index(i, 0)).row();
            listed << list.essay(row).part.answer.toString();
            // The row's first words are the answer's, whatever letters come before them.
            QCOMPARE(list.index(row, EssayList::AnswerColumn).data().toString(),
                     listed.last().simplified());
        }
        QTEST(listed.join('|'), "listed");
        QCOMPARE(folder.read("user/ai4.txt"), file);
    }

    // The list shows every readable date in the form of the user's settings,
    // whatever form its record holds; an unreadable one as it stands.
    void essayListDates_data()
    {
        columns<QString, QString>("date", "shown");
        row("the settings' own form", "3/14/2026", "3/14/2026");
        row("the fixed form", "2026-03-14", "3/14/2026");
        row("cannot be read", "14.3.2026", "14.3.2026");
    }
    void essayListDates()
    {
        QFETCH(QString, date);
        ProgramFolder folder;
        folder.write("user/ai4.txt", toCodePage(buildEssayRecord({EssayKind::Issue, 4}, date,
                                                                 "9:00:00 AM", "\r\nT\r\n", "A.")));
        EssayList list;
        list.read(folder.file("user"), QLocale(QLocale::English, QLocale::UnitedStates));
        QTEST(list.index(0, EssayList::DateColumn).data().toString(), "shown");
    }

    // The topic keys beside the program: an entry per topic with the lines an
    // entry of its kind holds, each point speaking of its own topic, no two
    // points near copies; an answer that copies the topic takes up no point, one
    // made of the key's own sentences takes up every one.
    void topicKeys_data()
    {
        columns<QString, QString, int>("key", "library", "count");
        row("Argument", QStringLiteral("aa.key"), QStringLiteral("aa.lib"), ArgumentTopicCount);
        row("Issue", QStringLiteral("ai.key"), QStringLiteral("ai.lib"), IssueTopicCount);
        row("GRE Issue", QStringLiteral("gi.key"), QStringLiteral("gi.lib"), GreIssueTopicCount);
    }
    void topicKeys()
    {
        QFETCH(QString, key);
        QFETCH(QString, library);
        QFETCH(int, count);
        const QString data = qEnvironmentVariable("QEL_SOURCE_DIR") + "/data/";
        const KeyFile file = readKeyFile(data + key);
        TopicTable topics;
        loadTopicLibrary(data, library, count, topics);
        QCOMPARE(file.keys.size(), count);
        // A point's words of four letters or more but the commonest, a plural as
        // its singular, cut to six letters so that near forms meet.
        const auto words = [](const QString& text) {
            static const QRegularExpression Common("^(that|this|with|from|they|them|than|what|"
                                                   "when|were|have|more|most|only|some|such|into|"
                                                   "over|also|even|does|each|many|much|will|been|"
                                                   "must|make|which|while|their|there|about|would|"
                                                   "could|these|those|other|where|three|being|"
                                                   "should|because|since|every)$");
            QSet<QString> set;
            for (const QString& word : text.toLower().split(QRegularExpression("[^a-z]+"))) {
                if (word.size() >= 4 && !Common.match(word).hasMatch())
                    set.insert(word.endsWith('s') ? word.chopped(1).left(6) : word.left(6));
            }
            return set;
        };
        const auto shared = [](const QSet<QString>& a, const QSet<QString>& b) {
            return QSet<QString>(a).intersect(b).size();
        };
        QList<QSet<QString>> points;
        for (int k = 1; k <= count; ++k) {
            const TopicKey& entry = file.keys[k - 1];
            std::map<KeyLabel, int> labels;
            QString own;
            for (const KeyLine& line : entry) {
                ++labels[line.label];
                own += line.text + ' ';
                if (isPoint(line)) {
                    QVERIFY2(shared(words(line.text), words(topics.at(k - 1))) > 0,
                             qPrintable(QString("%1 %2: %3").arg(key).arg(k).arg(line.text)));
                    points << words(line.text);
                }
            }
            const auto in = [&](KeyLabel label, int low, int high) {
                return labels[label] >= low && labels[label] <= high;
            };
            QVERIFY2(key == "aa.key" ? in(KeyLabel::Conclusion, 1, 1) &&
                                           in(KeyLabel::Weakness, 3, 5) && labels.size() == 2
                                     : in(KeyLabel::For, 2, 3) && in(KeyLabel::Against, 2, 3) &&
                                           in(KeyLabel::Balance, 1, 1) && labels.size() == 3,
                     qPrintable(QString("%1 %2").arg(key).arg(k)));
            const KeyTally copied = tallyKey(entry, topics.at(k - 1), topics.at(k - 1));
            const KeyTally restated = tallyKey(entry, own, topics.at(k - 1));
            QVERIFY2(copied.pointsTakenUp == 0 && restated.pointsTakenUp == restated.points &&
                         restated.points == int(entry.size()) - labels[KeyLabel::Conclusion],
                     qPrintable(QString("%1 %2").arg(key).arg(k)));
        }
        // Near copies: half their words or more in common.
        for (qsizetype i = 0; i < points.size(); ++i) {
            for (qsizetype j = i + 1; j < points.size(); ++j) {
                QVERIFY2(shared(points[i], points[j]) * 3 < points[i].size() + points[j].size(),
                         qPrintable(QString("%1: points %2 and %3").arg(key).arg(i).arg(j)));
            }
        }
    }

    // A point is taken up in other forms of its words ("differed" for
    // "differs"), not by words that only begin alike.
    void keyWordForms_data()
    {
        columns<QString, bool>("answer", "takenUp");
        row("the point's own words", QString("Rainfall differs between the valleys."), true);
        row("other forms of them",
            QString("The valley saw unequal rainfall, and the harvests differed."), true);
        row("one word of it", QString("The library differs from the old one."), false);
        row("words that only begin alike",
            QString("Difficult rainstorms validate nothing in the vallum."), false);
    }
    void keyWordForms()
    {
        QFETCH(QString, answer);
        const TopicKey key{{KeyLabel::Conclusion, "The town needs a library.", {}},
                           {KeyLabel::Weakness, "Rainfall differs between the valleys.", {}}};
        QTEST(guessPointsTakenUp(key, answer, QString("A town council proposes a new library."))
                  .at(1),
              "takenUp");
    }

    // Answers written here in other words than the key's, each taking up or
    // leaving out one point of a real entry: the guess gets most of them right.
    void keyGuess()
    {
        // Argument or Issue topic, the point (1: its first), taken up (+) or left out
        // (-), the answer.
        static const std::array Rows{
            "a1 1+ The comparison sets the end of summer against the winter months, and clothing "
            "shops sell more in some seasons than in others. A fair test would set this summer "
            "against last summer.",
            "a1 2+ Shops in the other towns, which kept the old lights, also grew during those "
            "months, so part of the rise in Brindlemoor would have happened anyway.",
            "a1 3- No price is given for buying and fitting the LED panels, so we cannot tell how "
            "long the extra revenue would take to cover the expense.",
            "a1 5+ No price is given for buying and fitting the LED panels, so we cannot tell how "
            "long the extra revenue would take to cover the expense.",
            "a1 4+ Three shops in one town may not represent a chain of forty, since the others "
            "differ in size, clientele and how well lit they already are.",
            "a1 1- The manager says that after bright LED lights were put into the three "
            "Brindlemoor shops, sales went up, so all forty stores should get them.",
            "a2 2+ Fewer complaints do not mean less damage; people may simply have stopped "
            "reporting it. And the lights shone only on the tennis courts, so why would vandalism "
            "drop across every park in town?",
            "a2 3- Pellingrove's bookings might have grown because its population grew or because "
            "a coaching scheme began, not because of the lights.",
            "a2 1+ Pellingrove's bookings might have grown because its population grew or because "
            "a coaching scheme began, not because of the lights.",
            "a2 4+ The director never says what the floodlights cost, and running them every "
            "evening means paying for power and for staff to keep the park open late.",
            "a3 1+ The screens were new in those months and visitors may have lingered out of "
            "curiosity; once the novelty is gone, the extra eight minutes could disappear.",
            "a3 2+ Spending more minutes in the hall might only mean queueing for a free screen. "
            "Nothing measures whether visitors understood or enjoyed the fossils more.",
            "a3 4- Minerals and stuffed birds are not dinosaurs; people may walk through those "
            "rooms quickly because they find them dull, and a screen will not change that.",
            "a3 3+ Minerals and stuffed birds are not dinosaurs; people may walk through those "
            "rooms quickly because they find them dull, and a screen will not change that.",
            "a4 1+ Only diners who bothered to fill in a card are counted, and those who liked the "
            "new dishes were more likely to write, so the 70 percent does not speak for all the "
            "customers.",
            "a4 4+ Removing beef could drive off loyal customers who come for it; even if "
            "vegetables are cheaper, the margin gained is lost if fewer people eat there.",
            "a4 3- Compliments about the dishes tell us nothing about how many plates were "
            "ordered, and more customers may have come because a competing restaurant shut down.",
            "a5 1+ Eleven crashes and then three in half a year are tiny numbers; weather or luck "
            "could account for the drop, and several years of records would be needed.",
            "a5 3+ The people met at a Saturday market are not a representative sample of the "
            "town, and the editorial does not say how many were asked.",
            "a5 4- If slowing traffic made Harbor Road safer, the editorial has to explain why the "
            "same change would not help the twelve other streets.",
            "a20 1+ Pemberlake's rise in hotel stays could have come from a new hotel, a festival "
            "or a sunny summer rather than from the advertising.",
            "a20 3+ Going from 6 to 9 percent raises the tax by half, which makes rooms dearer and "
            "could push tourists to cheaper neighbouring towns.",
            "a20 4- Having similar beaches does not make the two towns alike; Pemberlake may be "
            "easier to reach or better known to the people who watch its ads.",
            "a50 1+ A fall of only 3 percent in garbage may hide growth: more households or more "
            "shopping might have pushed the total up had there been no recycling at all.",
            "a50 3+ What the writer sees on his own street is one anecdote; bins could be half "
            "empty simply because they are big or are emptied often.",
            "a50 4- The letter never says how many tons were recycled, which is the measure by "
            "which the program's promise should be judged.",
            "a98 4+ Turning the course into fields costs money, and golfers, many of them older "
            "people with few other sports, would lose their game.",
            "i3 1+ Companies that arrive later can study the early firms, imitate their successes "
            "and steer clear of their errors; several firms that came second overtook the "
            "pioneers.",
            "i3 3+ The first firm can secure patents, the best locations and customers' habits, "
            "and once a network forms, latecomers struggle to break in.",
            "i3 5- The pioneer pays to teach customers what the new product is for, and the "
            "followers profit from that lesson without paying for it.",
            "i3 2+ The pioneer pays to teach customers what the new product is for, and the "
            "followers profit from that lesson without paying for it.",
            "i10 3+ Whatever their gifts, pupils need to read, write and do arithmetic; a school "
            "that lets them drop subjects may shut doors for them later in life.",
            "i10 4- Giving a gifted young violinist time to practise builds her confidence and can "
            "lead her to excellence.",
            "i25 1+ Each extra level of management adds another sign-off, so a simple request can "
            "take weeks to approve while competitors decide in a day.",
            "i25 3+ Without managers, somebody still has to coordinate the work, train newcomers "
            "and resolve disputes, or the loudest voices take over.",
            "i25 4- With fewer bosses, employees learn to own their work, as in flat software "
            "teams.",
        };
        const QString data = qEnvironmentVariable("QEL_SOURCE_DIR") + "/data/";
        const KeyFile argument = readKeyFile(data + "aa.key");
        const KeyFile issue = readKeyFile(data + "ai.key");
        TopicTable argumentTopics;
        TopicTable issueTopics;
        loadTopicLibrary(data, ArgumentLibraryName, ArgumentTopicCount, argumentTopics);
        loadTopicLibrary(data, IssueLibraryName, IssueTopicCount, issueTopics);
        int right = 0;
        for (const char* const row : Rows) {
            static const QRegularExpression Row("^([ai])(\\d+) (\\d+)([+-]) (.*)$");
            const QRegularExpressionMatch r = Row.match(QString::fromUtf8(row));
            const bool isArgument = r.captured(1) == "a";
            const int topic = r.captured(2).toInt();
            const TopicKey* key = (isArgument ? argument : issue).topic(topic);
            QVERIFY(r.hasMatch() && key);
            const QList<bool> guess = guessPointsTakenUp(
                *key, r.captured(5), (isArgument ? argumentTopics : issueTopics).at(topic - 1));
            qsizetype line = 0; // the point'th point
            for (int seen = 0; seen < r.captured(3).toInt(); ++line)
                seen += isPoint(key->at(line)) ? 1 : 0;
            if (guess[line - 1] == (r.captured(4) == "+"))
                ++right;
            else
                qInfo("guessed wrong: %s", row);
        }
        const int rowCount = int(Rows.size());
        qInfo("the guess was right in %d of %d rows (%d %%)", right, rowCount,
              right * 100 / rowCount);
        QVERIFY(rowCount >= 30 && right * 5 >= rowCount * 4);
    }

    // A key file that is missing, short, longer, unlabelled, huge or a device is
    // never a fault: the topic without a key says so and where it looked.
    void keyFaults_data()
    {
        columns<Bytes, int, QString>("file", "topic", "shown");
        const Bytes s = "-----------------------\r\n";
        const Bytes one = "Conclusion: The town should act.\r\nWeakness: The figures are old. "
                          "[old, figures]\r\nWeakness: The survey asked ten people.\r\n";
        const QString two = "The figures are old.|The survey asked ten people.";
        row("CR LF", one + s, 1, two);
        row("LF alone", Bytes(one + s).replace("\r\n", "\n"), 1, two);
        row("no last separator", s + one, 2, two);
        row("more entries", one + s + one + s + one + s, 1, two);
        row("short", one + s, 2, "");
        row("topic 0", one + s, 0, "");
        row("entry without a label", "The town should act.\r\n" + s, 1, "");
        row("only a conclusion", "Conclusion: Act.\r\n" + s, 1, "");
        row("label alone", "Weakness: [a, b]\r\n" + s, 1, "");
        row("a point of megabytes", "Weakness: " + Bytes(3 << 20, 'a') + "\r\n" + one + s, 1, two);
        row("separator with a space", one + "----------------------- \r\n" + one + s, 2, "");
        row("beyond the bytes read", Bytes(5 << 20, '\n') + one + s, 1, "");
        row("missing", Bytes(), 1, "");
        row("folder", Bytes("/"), 1, "");
#ifndef Q_OS_WIN
        row("link to /dev/zero", Bytes("/dev/zero"), 1, "");
#endif
    }
    void keyFaults()
    {
        QFETCH(Bytes, file);
        QFETCH(int, topic);
        QFETCH(QString, shown);
        ProgramFolder folder;
        if (file == "/")
            QDir(folder.path()).mkdir("aa.key");
        else if (file == "/dev/zero")
            QFile::link("/dev/zero", folder.file("aa.key"));
        else if (!file.isNull())
            folder.write("aa.key", file);
        KeyShelf shelf(folder.path() + '/');
        const KeyFile& keys = shelf.file(EssayKind::Argument);
        QCOMPARE(&shelf.file(EssayKind::Argument), &keys); // read once
        QStringList points;
        for (const KeyLine& line : keys.topic(topic) ? *keys.topic(topic) : TopicKey())
            points << (isPoint(line) ? line.text : QString());
        points.removeAll(QString());
        QCOMPARE(points.join('|'), shown);
        const QString text = keyText(keys, topic, u"The figures are old.", u"");
        QCOMPARE(
            text.startsWith("What the topic asked for\r\nNo key was found for this topic (entry " +
                            QString::number(topic) + " of " +
                            QDir::toNativeSeparators(folder.file("aa.key")) + ")."),
            shown.isEmpty());
        QCOMPARE(keyHtml(keys, topic, u"", u"").contains("No key was found"), shown.isEmpty());
        if (!shown.isEmpty())
            QVERIFY(text.contains("The figures are old. (seems taken up)\r\n") &&
                    text.contains(" 1 of 2 points seem taken up.") && !text.contains("["));
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

    // The candidate's rating and leave-out mark, each record its own: the last
    // entry of a kind counts, undone by appending, a body the program never
    // writes or a record that is gone passed over. A and B are of one second.
    void marksMatching_data()
    {
        columns<QString, QString, QString>("records", "notes", "found");
        row("written and read back", "ABC", "A=4", "4,-,-");
        row("changed: the last counts", "ABC", "A=4 A=5", "5,-,-");
        row("two records of one second", "ABC", "B=4.5 A=3", "3,4.5,-");
        row("taken back", "ABC", "A=4 A=none", "-,-,-");
        row("left out, and undone", "ABC", "B=out C=out B=in", "-,-,- out");
        row("bodies never written", "ABC", "A=4 A=7 A=4.7 A=6.5 A= B=maybe", "4,-,-");
        row("a record that is gone", "AC", "B=2 C=1", "-,1");
    }
    void marksMatching()
    {
        QFETCH(QString, records);
        QFETCH(QString, notes);
        const QHash<QChar, std::pair<const char*, const char*>> essays{
            {'A', {"9:26:53", "Alpha."}},
            {'B', {"9:26:53", "Beta."}},
            {'C', {"9:40:00", "Gamma."}}};
        const auto record = [&](QChar c) {
            return buildEssayRecord({EssayKind::GreIssue, 4}, "3/14/2026", essays.value(c).first,
                                    "\r\nT\r\n", essays.value(c).second);
        };
        QString file;
        for (const QChar c : records)
            file += record(c);
        QString written;
        for (const QString& entry : notes.split(' ')) {
            const QChar c = entry.at(0);
            const QString body = entry.mid(2);
            const bool mark = body == "out" || body == "in";
            QString text =
                mark ? leaveOutEntry(record(c), "3/14/2026", essays.value(c).first, body == "out")
                     : ratingEntry(record(c), "3/14/2026", essays.value(c).first,
                                   ratingFromText(body.toLatin1()));
            if (!mark && body != "none" && !ratingFromText(body.toLatin1()))
                text.replace("\r\nnone\r\n", "\r\n" + body + "\r\n"); // as a hand might write
            written += text;
        }
        QList<NotedRecord> noted;
        for (const EssayRecordPart& part : splitEssayRecords(file))
            noted.append({part.text, part.date, part.time});
        QStringList found;
        for (const RecordMarks& marks : matchMarks(toCodePage(written), noted))
            found << (marks.rating ? ratingText(*marks.rating) : "-") +
                         (marks.leftOut ? " out" : "");
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
