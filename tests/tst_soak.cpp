// A long session: 100 questions of both kinds, ended every way there is, with
// Help now and then. Every essay reaches its file whole and in order, and the
// program does not grow while it goes on.
#include "qeltest.h"
#include "windows.h"

#include <QtTest>

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer the quarantine swells the resident size: count the live heap.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
long MemoryKb()
{
    return long(__sanitizer_get_current_allocated_bytes() / 1024);
}
#else
long MemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    const QByteArray text = status.readAll();
    return text.mid(text.indexOf("VmRSS:") + 6).trimmed().split(' ').first().toLong();
}
#endif

class TestSoak : public QObject {
    Q_OBJECT
private slots:
    void hundredQuestions()
    {
        LoadedProgram p;
        Frmmain& t = p.test();
        QMap<QString, QByteArray> expected; // file -> what it must hold
        long atTen = 0;
        for (int q = 1; q <= 100; ++q) {
            const bool issue = q % 3 != 0;
            const int number = 1 + (q * 37) % (issue ? 150 : 141);
            p.startQuestion(issue, QString::number(number));
            const QString answer =
                QStringLiteral("Essay %1, na\u00efve\r\n\r\n").arg(q).repeated(q % 40 + 1);
            SetBoxText(t.Text2, answer);
            const QString file = EssayFilePath(QString(), t.Label3->text(), t.Label4->text());
            if (q % 10 == 0)
                Click(t.Picture4); // Help appends the saved records below the answer
            p.fake.clock.now = p.fake.clock.now.addSecs(1800);
            const bool save = q % 7 != 0;
            p.fake.boxes.answers = {save ? MessageBoxes::AnswerOk : MessageBoxes::AnswerCancel};
            const QString date = RecordDate(p.fake.clock.now, QLocale::system());
            const QString time = RecordTime(p.fake.clock.now, QLocale::system());
            const EssayKind kind = EssayKindFromModeCode(t.Label3->text());
            if (save) {
                expected[file] += ToCodePage(BuildEssayRecord(kind, t.Label4->text(), date, time,
                                                              BoxText(t.Text1), BoxText(t.Text2)));
            }
            Click(q % 2 ? t.Picture1 : t.Picture2);
            QVERIFY(p.start->isVisible());
            if (q == 10)
                atTen = MemoryKb();
        }
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QVERIFY2(p.folder.read(it.key()) == it.value(), qPrintable(it.key()));
        QCOMPARE(QDir(p.folder.file(QStringLiteral("user"))).count() - 2, uint(expected.size()));
        const long atEnd = MemoryKb();
        qInfo("FIGURE soak questions=100 files=%d kb10=%ld kb100=%ld", int(expected.size()), atTen,
              atEnd);
        QVERIFY2(atEnd < atTen + atTen / 10 + 1024, "memory grew during the session");
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
