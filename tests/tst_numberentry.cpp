#include "start/numberentry.h"
#include "start/randomtopic.h"

#include <QtTest>

#include <cmath>
#include <set>

class TestNumberEntry : public QObject {
    Q_OBJECT
private slots:
    void read_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12" << 12.0;
        QTest::newRow("blank inside") << "1 2" << 12.0;
        QTest::newRow("tab and line feed inside") << "\t1\n2 " << 12.0;
        QTest::newRow("trailing letters") << "12abc" << 12.0;
        QTest::newRow("7abc") << "7abc" << 7.0;
        QTest::newRow("letters only") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("only blanks") << "   \t " << 0.0;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("plus") << "+7" << 7.0;
        QTest::newRow("minus zero") << "-0" << 0.0;
        QTest::newRow("fraction") << "1.5" << 1.5;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "7." << 7.0;
        QTest::newRow("comma is not a decimal separator") << "1,5" << 1.0;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("exponent with sign") << "15E-1" << 1.5;
        QTest::newRow("exponent without digits") << "3e" << 3.0;
        QTest::newRow("exponent sign without digits") << "3e+x" << 3.0;
        QTest::newRow("hex") << "&H0C" << 12.0;
        QTest::newRow("hex lower case") << "&hff" << 255.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("octal stops at 8") << "&o178" << 15.0;
        QTest::newRow("ampersand alone") << "&" << 0.0;
        QTest::newRow("double sign") << "--5" << 0.0;
        QTest::newRow("sign after blank") << "- 5" << -5.0;
        QTest::newRow("CR is not ignored") << "1\r2" << 1.0;
        QTest::newRow("arabic-indic digit ends it") << QString::fromUtf8("1\u0663") << 1.0;
        QTest::newRow("fullwidth digit is no digit") << QString::fromUtf8("\uff17") << 0.0;
        QTest::newRow("control characters") << QString::fromUtf8("\x01\x02 9") << 0.0;
        QTest::newRow("tiny exponent") << "1e-99999" << 0.0;
    }
    void read()
    {
        QFETCH(QString, entry);
        QFETCH(double, value);
        QCOMPARE(ReadNumberEntry(entry), value);
    }

    void hostile()
    {
        QVERIFY(std::isinf(ReadNumberEntry(QString(1000, QLatin1Char('9')))));
        QVERIFY(std::isinf(ReadNumberEntry(QStringLiteral("1e99999999999999999999"))));
        QCOMPARE(ReadNumberEntry(QStringLiteral("0.") + QString(1000, QLatin1Char('0')) +
                                 QStringLiteral("1e1003")),
                 100.0);
        QVERIFY(ReadNumberEntry(QStringLiteral("&H") + QString(500, QLatin1Char('F'))) > 1e300);
        QVERIFY(!TopicNumberFromEntry(QString(1000, QLatin1Char('9')), 150));
        QVERIFY(!TopicNumberFromEntry(QStringLiteral("&H") + QString(500, QLatin1Char('F')), 150));
    }

    void topicNumber_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("number"); // 0: Wrong Number
        QTest::newRow("1") << "1" << 150 << 1;
        QTest::newRow("150") << "150" << 150 << 150;
        QTest::newRow("1.4") << "1.4" << 150 << 1;
        QTest::newRow("149.5 to even") << "149.5" << 150 << 150;
        QTest::newRow("1.5 to even") << "1.5" << 150 << 2;
        QTest::newRow("2.5 to even") << "2.5" << 150 << 2;
        QTest::newRow("0") << "0" << 150 << 0;
        QTest::newRow("0.4") << "0.4" << 150 << 0;
        QTest::newRow("0.999") << "0.999" << 150 << 0;
        QTest::newRow("150.5") << "150.5" << 150 << 0;
        QTest::newRow("151") << "151" << 150 << 0;
        QTest::newRow("empty") << "" << 150 << 0;
        QTest::newRow("141 argument") << "141" << 141 << 141;
        QTest::newRow("142 argument") << "142" << 141 << 0;
        QTest::newRow("140.5 argument to even") << "140.5" << 141 << 140;
        QTest::newRow("1e2") << "1e2" << 150 << 100;
        QTest::newRow("hex") << "&H0C" << 150 << 12;
        QTest::newRow("-7") << "-7" << 150 << 0;
    }
    void topicNumber()
    {
        QFETCH(QString, entry);
        QFETCH(int, limit);
        QFETCH(int, number);
        const std::optional<int> result = TopicNumberFromEntry(entry, limit);
        QCOMPARE(result.value_or(0), number);
    }

    // Every topic can come out and no other, over many clock seeds.
    void randomDrawCoversRange_data()
    {
        QTest::addColumn<int>("limit");
        QTest::newRow("issue") << 150;
        QTest::newRow("argument") << 141;
    }
    void randomDrawCoversRange()
    {
        QFETCH(int, limit);
        std::set<int> seen;
        for (std::uint64_t seed = 0; seed < 20000; ++seed) {
            const int n = DrawRandomTopic(limit, seed * 1000003U);
            QVERIFY2(n >= 1 && n <= limit, qPrintable(QString::number(n)));
            seen.insert(n);
        }
        QCOMPARE(int(seen.size()), limit);
    }

    void randomDrawDependsOnSeed()
    {
        QCOMPARE(DrawRandomTopic(150, 42), DrawRandomTopic(150, 42));
        std::set<int> fromSuccessiveSeeds;
        for (std::uint64_t seed = 1; seed <= 10; ++seed)
            fromSuccessiveSeeds.insert(DrawRandomTopic(150, seed));
        QVERIFY(fromSuccessiveSeeds.size() > 5);
    }
};

QTEST_GUILESS_MAIN(TestNumberEntry)
#include "tst_numberentry.moc"
