#include "fakeplatform.h"

#include "about/frmabout.h"
#include "about/sysinfo.h"
#include "platform/realplatform.h"
#include "platform/textio.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

namespace {

const QByteArray InfoKey = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
const QByteArray LocationKey = R"(SOFTWARE\Microsoft\Shared Tools Location)";
const QString Unavailable = QStringLiteral("System information are temporarily unavailable.");

// The scripted registry numbers the keys that exist from 100 in key order, and
// "... Shared Tools Location" sorts before "... Shared Tools\MSINFO".
constexpr Registry::Handle OnlyKey = 100;
constexpr Registry::Handle LocationHandle = 100;
constexpr Registry::Handle InfoHandleBesideLocation = 101;

QString Open(const QByteArray& key)
{
    return QStringLiteral("open 80000002 ") + QString::fromLatin1(key) + QStringLiteral(" 2003f");
}
QString Query(const char* name)
{
    return QStringLiteral("query ") + QLatin1String(name);
}
QString Close(Registry::Handle key)
{
    return QStringLiteral("close %1").arg(key);
}

void SetValue(ScriptedRegistry& registry, const QByteArray& key, const QByteArray& name,
              std::uint32_t type, const QByteArray& data)
{
    registry.keys[key][name] = ScriptedRegistry::Value{type, data};
}

QByteArray Sz(const QString& text)
{
    return ToCodePage(text) + QByteArray(1, '\0');
}

// Remembers what the scripted registry alone does not: the options, the exact
// bytes of names and the buffer handed to the query.
class RecordingRegistry : public ScriptedRegistry {
public:
    QList<std::uint32_t> options;
    QList<QByteArray> subKeys;
    QList<QByteArray> names;
    QList<QByteArray> buffers;
    QList<std::uint32_t> sizesIn;

    long OpenKey(Handle root, const QByteArray& subKey, std::uint32_t option, std::uint32_t access,
                 Handle& result) override
    {
        options << option;
        subKeys << subKey;
        return ScriptedRegistry::OpenKey(root, subKey, option, access, result);
    }
    long QueryValue(Handle key, const QByteArray& name, std::uint32_t& type, QByteArray& data,
                    std::uint32_t& size) override
    {
        names << name;
        buffers << data;
        sizesIn << size;
        return ScriptedRegistry::QueryValue(key, name, type, data, size);
    }
};

// What the first key holds in the lookups that end at the second key.
enum FirstKey { NoFirstKey, FirstKeyWithoutPath, PathTooLong };

class ThrowingShell : public Shell {
public:
    bool OpenAddress(const QString& /*address*/) override { return false; }
    bool StartProgram(const QString& /*path*/) override { throw 42; }
};

} // namespace

class TestSysInfo : public QObject {
    Q_OBJECT

    static void VerifyOneUnavailableBox(const ScriptedBoxes& boxes)
    {
        QCOMPARE(boxes.prompts(), QStringList{Unavailable});
        QCOMPARE(boxes.asked.first().title, QString());
        QCOMPARE(boxes.asked.first().icon, MessageBoxes::NoIcon);
        QCOMPARE(boxes.asked.first().buttons, MessageBoxes::Ok);
    }

private slots:
    void readsValue_data()
    {
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("expected");

        const QByteArray nul(1, '\0');
        QTest::newRow("text with its NUL")
            << 1U << QByteArray("C:\\Tools\\msinfo32.exe") + nul << "old"
            << "C:\\Tools\\msinfo32.exe";
        QTest::newRow("text without NUL") << 1U << QByteArray("C:\\Tools\\msinfo32.exe") << "old"
                                          << "C:\\Tools\\msinfo32.exe";
        QTest::newRow("only the last NUL goes")
            << 1U << QByteArray("ab") + nul + nul << "" << QStringLiteral("ab") + QChar(0);
        QTest::newRow("text filling the buffer")
            << 1U << QByteArray(1024, 'a') << "" << QString(1024, QLatin1Char('a'));
        QTest::newRow("number") << 4U << QByteArray("\x78\x56\x34\x12", 4) << "old"
                                << "&h12345678";
        QTest::newRow("number with top byte 0") << 4U << QByteArray("\x01\x02\x03\x00", 4) << "old"
                                                << "&h030201";
        QTest::newRow("number with letters") << 4U << QByteArray("\xEF\xBE\xAD\xDE", 4) << ""
                                             << "&hDEADBEEF";
        QTest::newRow("binary leaves the text") << 3U << QByteArray("abc") << "kept"
                                                << "kept";
    }
    void readsValue()
    {
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, before);
        QFETCH(QString, expected);

        ScriptedRegistry registry;
        SetValue(registry, InfoKey, "PATH", type, data);
        QString value = before;
        QVERIFY(GetKeyValue(registry, Registry::LocalMachine, QString::fromLatin1(InfoKey),
                            QStringLiteral("PATH"), value));
        QCOMPARE(value, expected);
        QCOMPARE(registry.calls, (QStringList{Open(InfoKey), Query("PATH"), Close(OnlyKey)}));
    }

    void opensAndQueriesAsWin32Expects()
    {
        RecordingRegistry registry;
        const QString keyName = QStringLiteral("SOFTWARE\\Größe");
        const QString valueName = QStringLiteral("Wert ä");
        SetValue(registry, ToCodePage(keyName), ToCodePage(valueName), 1, "v");
        QString value;
        QVERIFY(GetKeyValue(registry, 0x80000001U, keyName, valueName, value));
        QCOMPARE(value, QStringLiteral("v"));

        QCOMPARE(registry.calls.first(), QStringLiteral("open 80000001 ") +
                                             QString::fromLatin1(ToCodePage(keyName)) +
                                             QStringLiteral(" 2003f"));
        QCOMPARE(registry.options, QList<std::uint32_t>{0});
        QCOMPARE(registry.subKeys, QList<QByteArray>{ToCodePage(keyName)});
        QCOMPARE(registry.names, QList<QByteArray>{ToCodePage(valueName)});
        QCOMPARE(registry.sizesIn, QList<std::uint32_t>{1024});
        QCOMPARE(registry.buffers, QList<QByteArray>{QByteArray(1024, '\0')});
    }

    void notFound_data()
    {
        QTest::addColumn<bool>("keyExists");
        QTest::addColumn<QByteArray>("valueName");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("calls");

        QTest::newRow("no key, handle 0 still closed")
            << false << QByteArray() << QByteArray() << QStringList{Open(InfoKey), Close(0)};
        QTest::newRow("no value") << true << QByteArray("OTHER") << QByteArray("x")
                                  << QStringList{Open(InfoKey), Query("PATH"), Close(OnlyKey)};
        QTest::newRow("1025 bytes") << true << QByteArray("PATH") << QByteArray(1025, 'a')
                                    << QStringList{Open(InfoKey), Query("PATH"), Close(OnlyKey)};
    }
    void notFound()
    {
        QFETCH(bool, keyExists);
        QFETCH(QByteArray, valueName);
        QFETCH(QByteArray, data);
        QFETCH(QStringList, calls);

        ScriptedRegistry registry;
        if (keyExists)
            SetValue(registry, InfoKey, valueName, 1, data);
        QString value = QStringLiteral("old");
        QVERIFY(!GetKeyValue(registry, Registry::LocalMachine, QString::fromLatin1(InfoKey),
                             QStringLiteral("PATH"), value));
        QCOMPARE(value, QString());
        QCOMPARE(registry.calls, calls);
        QCOMPARE(registry.closed.size(), 1);
    }

    void zeroSizeIsRuntimeError()
    {
        ScriptedRegistry registry;
        SetValue(registry, InfoKey, "PATH", 1, QByteArray());
        QString value = QStringLiteral("old");
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, GetKeyValue(registry, Registry::LocalMachine,
                                                                 QString::fromLatin1(InfoKey),
                                                                 QStringLiteral("PATH"), value));
        QCOMPARE(value, QStringLiteral("old"));
        // The error passes through, but the key does not stay open.
        QCOMPARE(registry.closed, QList<Registry::Handle>{OnlyKey});
    }

    void fileTest_data()
    {
        QTest::addColumn<QString>("make");
        QTest::addColumn<QString>("ask");
        QTest::addColumn<bool>("found");

        QTest::newRow("backslash joined") << "file"
                                          << "\\MSINFO32.EXE" << true;
        QTest::newRow("two backslashes") << "file"
                                         << "\\\\MSINFO32.EXE" << true;
        QTest::newRow("missing") << ""
                                 << "\\MSINFO32.EXE" << false;
        QTest::newRow("directory of that name") << "dir"
                                                << "\\MSINFO32.EXE" << false;
        QTest::newRow("hidden file") << "hidden"
                                     << "\\.MSINFO32.EXE" << false;
    }
    void fileTest()
    {
        QFETCH(QString, make);
        QFETCH(QString, ask);
        QFETCH(bool, found);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        if (make == QLatin1String("file")) {
            QFile file(dir.filePath(QStringLiteral("MSINFO32.EXE")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (make == QLatin1String("hidden")) {
            QFile file(dir.filePath(QStringLiteral(".MSINFO32.EXE")));
            QVERIFY(file.open(QIODevice::WriteOnly));
#ifdef _WIN32
            QSKIP("Hidden is a file attribute on Windows");
#endif
        } else if (make == QLatin1String("dir")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("MSINFO32.EXE")));
        }
        QCOMPARE(SysInfoFileExists(dir.path() + ask), found);
    }

    void pathStartedWithoutFileTest()
    {
        // A usable second key too: it must not be looked at.
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile tool(folder.filePath(QStringLiteral("MSINFO32.EXE")));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        FakePlatform fake;
        SetValue(fake.registry, InfoKey, "PATH", 1,
                 Sz(QStringLiteral("C:\\No Such Folder\\msinfo32.exe")));
        SetValue(fake.registry, LocationKey, "MSINFO", 1, Sz(folder.path()));

        StartSysInfo(fake.seams, nullptr);

        QCOMPARE(fake.shell.started, QStringList{"C:\\No Such Folder\\msinfo32.exe"});
        QCOMPARE(fake.boxes.asked.size(), 0);
        QCOMPARE(fake.registry.calls,
                 (QStringList{Open(InfoKey), Query("PATH"), Close(InfoHandleBesideLocation)}));
    }

    void failedStartShowsBox()
    {
        FakePlatform fake;
        fake.shell.succeed = false;
        SetValue(fake.registry, InfoKey, "PATH", 1, Sz(QStringLiteral("C:\\x\\msinfo32.exe")));
        StartSysInfo(fake.seams, nullptr);
        QCOMPARE(fake.shell.started, QStringList{"C:\\x\\msinfo32.exe"});
        VerifyOneUnavailableBox(fake.boxes);
    }

    void secondKeyFolder_data()
    {
        QTest::addColumn<int>("firstKey");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("make");
        QTest::addColumn<bool>("started");

        QTest::newRow("folder with the tool") << int(NoFirstKey) << ""
                                              << "file" << true;
        QTest::newRow("folder ending in backslash") << int(NoFirstKey) << "\\"
                                                    << "file" << true;
        QTest::newRow("no tool in the folder") << int(NoFirstKey) << ""
                                               << "" << false;
        QTest::newRow("directory of the tool's name") << int(NoFirstKey) << ""
                                                      << "dir" << false;
        QTest::newRow("first key without PATH") << int(FirstKeyWithoutPath) << ""
                                                << "file" << true;
        QTest::newRow("PATH of 1025 bytes") << int(PathTooLong) << ""
                                            << "file" << true;
    }
    void secondKeyFolder()
    {
        QFETCH(int, firstKey);
        QFETCH(QString, suffix);
        QFETCH(QString, make);
        QFETCH(bool, started);

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        if (make == QLatin1String("file")) {
            QFile tool(folder.filePath(QStringLiteral("MSINFO32.EXE")));
            QVERIFY(tool.open(QIODevice::WriteOnly));
        } else if (make == QLatin1String("dir")) {
            QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("MSINFO32.EXE")));
        }

        FakePlatform fake;
        QStringList calls;
        if (firstKey == NoFirstKey) {
            calls << Open(InfoKey) << Close(0);
        } else {
            SetValue(fake.registry, InfoKey, "OTHER", 1, "x");
            if (firstKey == PathTooLong)
                SetValue(fake.registry, InfoKey, "PATH", 1, QByteArray(1025, 'a'));
            calls << Open(InfoKey) << Query("PATH") << Close(InfoHandleBesideLocation);
        }
        calls << Open(LocationKey) << Query("MSINFO") << Close(LocationHandle);
        SetValue(fake.registry, LocationKey, "MSINFO", 1, Sz(folder.path() + suffix));

        StartSysInfo(fake.seams, nullptr);

        QCOMPARE(fake.registry.calls, calls);
        if (started) {
            QCOMPARE(fake.shell.started,
                     QStringList{folder.path() + suffix + QStringLiteral("\\MSINFO32.EXE")});
            QCOMPARE(fake.boxes.asked.size(), 0);
        } else {
            QCOMPARE(fake.shell.started, QStringList());
            VerifyOneUnavailableBox(fake.boxes);
        }
    }

    void nothingFoundShowsBox_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<uint>("type");
        QTest::addColumn<QStringList>("calls");

        const QStringList both{Open(InfoKey), Close(0), Open(LocationKey), Query("MSINFO"),
                               Close(OnlyKey)};
        QTest::newRow("no keys") << QByteArray() << 0U
                                 << QStringList{Open(InfoKey), Close(0), Open(LocationKey),
                                                Close(0)};
        QTest::newRow("second key without MSINFO") << QByteArray("OTHER") << 1U << both;
        // Read as text, this one would name a folder that holds the tool.
        QTest::newRow("MSINFO of another type") << QByteArray("MSINFO") << 3U << both;
    }
    void nothingFoundShowsBox()
    {
        QFETCH(QByteArray, name);
        QFETCH(uint, type);
        QFETCH(QStringList, calls);

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile tool(folder.filePath(QStringLiteral("MSINFO32.EXE")));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        FakePlatform fake;
        if (!name.isEmpty())
            SetValue(fake.registry, LocationKey, name, type, Sz(folder.path()));

        StartSysInfo(fake.seams, nullptr);

        QCOMPARE(fake.registry.calls, calls);
        QCOMPARE(fake.shell.started, QStringList());
        VerifyOneUnavailableBox(fake.boxes);
    }

    void zeroSizeShowsBox_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QStringList>("calls");

        QTest::newRow("PATH") << InfoKey << QByteArray("PATH")
                              << QStringList{Open(InfoKey), Query("PATH"), Close(OnlyKey)};
        QTest::newRow("MSINFO") << LocationKey << QByteArray("MSINFO")
                                << QStringList{Open(InfoKey), Close(0), Open(LocationKey),
                                               Query("MSINFO"), Close(OnlyKey)};
    }
    void zeroSizeShowsBox()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, name);
        QFETCH(QStringList, calls);

        FakePlatform fake;
        SetValue(fake.registry, key, name, 1, QByteArray());
        StartSysInfo(fake.seams, nullptr);
        QCOMPARE(fake.registry.calls, calls);
        QCOMPARE(fake.shell.started, QStringList());
        VerifyOneUnavailableBox(fake.boxes);
    }

    void nothingEscapes()
    {
        FakePlatform fake;
        ThrowingShell shell;
        Platform platform{fake.boxes, fake.clock, shell, fake.registry, fake.end};
        SetValue(fake.registry, InfoKey, "PATH", 1, Sz(QStringLiteral("C:\\x.exe")));
        try {
            StartSysInfo(platform, nullptr);
        } catch (...) {
            QFAIL("A failed start escaped");
        }
        VerifyOneUnavailableBox(fake.boxes);

        fake.boxes.whileOpen = [] { throw std::runtime_error("no display"); };
        try {
            StartSysInfo(platform, nullptr);
        } catch (...) {
            QFAIL("A failed box escaped");
        }
        QCOMPARE(fake.boxes.asked.size(), 2);
    }

    void aboutStartsTheTool()
    {
        FakePlatform fake;
        SetValue(fake.registry, InfoKey, "PATH", 1, Sz(QStringLiteral("C:\\x\\msinfo32.exe")));
        frmAbout about(fake.seams, nullptr);
        about.cmdSysInfo->click();
        QCOMPARE(fake.shell.started, QStringList{"C:\\x\\msinfo32.exe"});
        QCOMPARE(fake.boxes.asked.size(), 0);
    }

    void aboutOnThisSystemShowsBox()
    {
#ifdef _WIN32
        QSKIP("Windows may have the tool");
#endif
        FakePlatform fake;
        RealPlatform real;
        Platform platform{fake.boxes, fake.clock, real.shell, real.registry, fake.end};
        frmAbout about(platform, nullptr);
        about.cmdSysInfo->click();
        VerifyOneUnavailableBox(fake.boxes);
    }
};

QTEST_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
