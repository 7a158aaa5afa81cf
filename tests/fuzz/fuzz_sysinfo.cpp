// GetKeyValue over a registry whose one value has a type (the first four bytes,
// little-endian) and data (the rest, at most 2048 bytes) from the input.

#include "fuzzcheck.h"

#include "about/sysinfo.h"
#include "fakeplatform.h"
#include "platform/textio.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace {

constexpr std::size_t MaxData = 2048;

const QByteArray KeyPath = QByteArrayLiteral("SOFTWARE\\Fuzz");
const QByteArray ValueName = QByteArrayLiteral("VALUE");
const QString Untouched = QStringLiteral("untouched");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4 || size - 4 > MaxData)
        return 0;
    const std::uint32_t type = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 |
                               std::uint32_t(data[2]) << 16 | std::uint32_t(data[3]) << 24;
    const QByteArray value(reinterpret_cast<const char*>(data + 4),
                           static_cast<qsizetype>(size - 4));

    ScriptedRegistry registry;
    registry.keys[KeyPath][ValueName] = {type, value};
    QString KeyVal = Untouched;
    bool found = false;
    bool faulted = false;
    try {
        found = GetKeyValue(registry, Registry::LocalMachine, QString::fromLatin1(KeyPath),
                            QString::fromLatin1(ValueName), KeyVal);
    } catch (const std::runtime_error&) {
        faulted = true;
    } catch (const std::exception& error) {
        FUZZ_UNEXPECTED(error);
    }

    // The key that was opened is closed once, however the lookup ended.
    FUZZ_CHECK(registry.closed.size() == 1);
    FUZZ_CHECK(registry.closed.first() == 100);

    // Only a value without data is the documented runtime error.
    FUZZ_CHECK(faulted == value.isEmpty());
    if (faulted)
        return 0;

    if (value.size() > KeyValueBufferSize) {
        FUZZ_CHECK(!found);
        FUZZ_CHECK(KeyVal.isEmpty());
        return 0;
    }
    FUZZ_CHECK(found);
    if (type == Registry::RegDword) {
        static const QRegularExpression number(QStringLiteral("^&h(?:[0-9A-F]{2})*$"));
        FUZZ_CHECK(number.match(KeyVal).hasMatch());
    } else if (type == Registry::RegSz) {
        // The text is the data, less the one NUL that may end it.
        FUZZ_CHECK(KeyVal == FromCodePage(value.endsWith('\0') ? value.chopped(1) : value));
    } else {
        FUZZ_CHECK(KeyVal == Untouched);
    }
    return 0;
}
