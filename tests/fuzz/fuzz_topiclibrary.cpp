// LoadTopicLibrary over arbitrary file contents. The first byte picks how many
// topics are asked for (1 to 200); the rest is the file.

#include "fuzzcheck.h"

#include "bank/topiclibrary.h"
#include "platform/fault.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

const QString LibraryName = QStringLiteral("fuzz.lib");

// One folder per process, removed at exit; the file in it is rewritten for each input.
const QString& Folder()
{
    static QTemporaryDir dir;
    static const QString folder = [] {
        FUZZ_CHECK(dir.isValid());
        return dir.path() + QLatin1Char('/');
    }();
    return folder;
}

void WriteLibrary(const std::uint8_t* data, std::size_t size)
{
    QFile file(Folder() + LibraryName);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
               static_cast<qint64>(size));
    file.close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int count = 1 + data[0] % 200;
    WriteLibrary(data + 1, size - 1);

    const TopicTable before{QStringLiteral("unchanged")};
    TopicTable table = before;
    try {
        LoadTopicLibrary(Folder(), LibraryName, count, table);
    } catch (const Fault&) {
        // The documented fault leaves the table as it was.
        FUZZ_CHECK(table == before);
        return 0;
    } catch (const std::exception& error) {
        FUZZ_UNEXPECTED(error);
    }

    FUZZ_CHECK(table.size() == count);
    for (const QString& topic : table) {
        FUZZ_CHECK(!topic.startsWith(QLatin1Char(' ')));
        FUZZ_CHECK(!topic.endsWith(QLatin1Char(' ')));
        FUZZ_CHECK(topic.isEmpty() || topic.endsWith(QLatin1String("\r\n")));
    }
    return 0;
}
