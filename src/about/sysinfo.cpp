#include "about/sysinfo.h"

#include "platform/textio.h"

#include <QByteArray>
#include <QFileInfo>

#include <stdexcept>
#include <string>

namespace {

constexpr std::uint32_t KeyAccess = 0x2003F;

const QString InfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString InfoValue = QStringLiteral("PATH");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString LocationValue = QStringLiteral("MSINFO");
const QString ToolFile = QStringLiteral("\\MSINFO32.EXE");

// The reported size decides how much of the buffer is the value; a trailing
// NUL (a text's terminator, or a number's zero top byte) is dropped. A size
// that names no character of the buffer is a runtime error.
QByteArray keptData(const QByteArray& buffer, std::uint32_t size)
{
    if (size == 0 || size > static_cast<std::uint32_t>(buffer.size()))
        throw std::runtime_error("Registry value data of size " + std::to_string(size) +
                                 " cannot be read");
    const auto length = static_cast<qsizetype>(size);
    return buffer.left(buffer.at(length - 1) == '\0' ? length - 1 : length);
}

// Bytes from the last to the first, two upper-case hex digits each. The
// number formatting the value would then pass through is left out: the text
// stays "&h" and its digits, since no lookup of the program reads a number.
QString numberText(const QByteArray& bytes)
{
    QString digits;
    for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
        digits += QStringLiteral("%1")
                      .arg(static_cast<unsigned char>(bytes.at(i)), 2, 16, QLatin1Char('0'))
                      .toUpper();
    }
    return QStringLiteral("&h") + digits;
}

// Steps up to reading the value; hKey receives whatever the open leaves in it.
bool readKeyValue(Registry& registry, Registry::Handle keyRoot, const QString& keyName,
                  const QString& subKeyRef, QString& keyVal, Registry::Handle& hKey)
{
    if (registry.openKey(keyRoot, toCodePage(keyName), 0, KeyAccess, hKey) != Registry::Success) {
        keyVal.clear();
        return false;
    }

    QByteArray buffer(KeyValueBufferSize, '\0');
    std::uint32_t size = KeyValueBufferSize;
    std::uint32_t type = 0;
    if (registry.queryValue(hKey, toCodePage(subKeyRef), type, buffer, size) != Registry::Success) {
        keyVal.clear();
        return false;
    }

    const QByteArray kept = keptData(buffer, size);
    if (type == Registry::RegSz)
        keyVal = fromCodePage(kept);
    else if (type == Registry::RegDword)
        keyVal = numberText(kept);
    return true;
}

// Looks the tool up and starts it: false when it cannot be found or started.
bool findAndStart(Platform& platform)
{
    QString sysInfoPath;
    if (!getKeyValue(platform.registry, Registry::LocalMachine, InfoKey, InfoValue, sysInfoPath)) {
        if (!getKeyValue(platform.registry, Registry::LocalMachine, LocationKey, LocationValue,
                         sysInfoPath))
            return false;
        if (!sysInfoFileExists(sysInfoPath + ToolFile))
            return false;
        sysInfoPath += ToolFile;
    }
    return platform.shell.startProgram(sysInfoPath);
}

} // namespace

bool getKeyValue(Registry& registry, Registry::Handle keyRoot, const QString& keyName,
                 const QString& subKeyRef, QString& keyVal)
{
    // The key is closed however the lookup ends, also when the open failed and
    // the handle is still 0, and also when a runtime error passes through on
    // its way to the caller; the outcome of the close does not matter.
    Registry::Handle hKey = 0;
    bool found = false;
    try {
        found = readKeyValue(registry, keyRoot, keyName, subKeyRef, keyVal, hKey);
    } catch (...) {
        registry.closeKey(hKey);
        throw;
    }
    registry.closeKey(hKey);
    return found;
}

bool sysInfoFileExists(const QString& path)
{
    // Registry paths use backslashes; Qt takes forward slashes on every system.
    const QFileInfo info(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
    return info.isFile() && !info.isHidden();
}

void startSysInfo(Platform& platform, QWidget* parent)
{
    bool started = false;
    try {
        started = findAndStart(platform);
    } catch (...) {
        // Any fault while looking up or starting the tool means it is unavailable.
    }
    if (started)
        return;
    try {
        platform.boxes.show(parent,
                            QStringLiteral("System information are temporarily unavailable."),
                            QString(), MessageBoxes::NoIcon, MessageBoxes::Ok);
    } catch (...) {
        // The box is the last word; a failure to show it has nowhere left to go.
    }
}
