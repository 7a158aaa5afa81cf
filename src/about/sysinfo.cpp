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
QByteArray KeptData(const QByteArray& buffer, std::uint32_t size)
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
QString NumberText(const QByteArray& bytes)
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
bool ReadKeyValue(Registry& registry, Registry::Handle KeyRoot, const QString& KeyName,
                  const QString& SubKeyRef, QString& KeyVal, Registry::Handle& hKey)
{
    if (registry.OpenKey(KeyRoot, ToCodePage(KeyName), 0, KeyAccess, hKey) != Registry::Success) {
        KeyVal.clear();
        return false;
    }

    QByteArray buffer(KeyValueBufferSize, '\0');
    std::uint32_t size = KeyValueBufferSize;
    std::uint32_t type = 0;
    if (registry.QueryValue(hKey, ToCodePage(SubKeyRef), type, buffer, size) != Registry::Success) {
        KeyVal.clear();
        return false;
    }

    const QByteArray kept = KeptData(buffer, size);
    if (type == Registry::RegSz)
        KeyVal = FromCodePage(kept);
    else if (type == Registry::RegDword)
        KeyVal = NumberText(kept);
    return true;
}

// Looks the tool up and starts it: false when it cannot be found or started.
bool FindAndStart(Platform& platform)
{
    QString SysInfoPath;
    if (!GetKeyValue(platform.registry, Registry::LocalMachine, InfoKey, InfoValue, SysInfoPath)) {
        if (!GetKeyValue(platform.registry, Registry::LocalMachine, LocationKey, LocationValue,
                         SysInfoPath))
            return false;
        if (!SysInfoFileExists(SysInfoPath + ToolFile))
            return false;
        SysInfoPath += ToolFile;
    }
    return platform.shell.StartProgram(SysInfoPath);
}

} // namespace

bool GetKeyValue(Registry& registry, Registry::Handle KeyRoot, const QString& KeyName,
                 const QString& SubKeyRef, QString& KeyVal)
{
    // The key is closed however the lookup ends, also when the open failed and
    // the handle is still 0, and also when a runtime error passes through on
    // its way to the caller; the outcome of the close does not matter.
    Registry::Handle hKey = 0;
    bool found = false;
    try {
        found = ReadKeyValue(registry, KeyRoot, KeyName, SubKeyRef, KeyVal, hKey);
    } catch (...) {
        registry.CloseKey(hKey);
        throw;
    }
    registry.CloseKey(hKey);
    return found;
}

bool SysInfoFileExists(const QString& path)
{
    // Registry paths use backslashes; Qt takes forward slashes on every system.
    const QFileInfo info(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
    return info.isFile() && !info.isHidden();
}

void StartSysInfo(Platform& platform, QWidget* parent)
{
    bool started = false;
    try {
        started = FindAndStart(platform);
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
