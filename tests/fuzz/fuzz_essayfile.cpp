// SavedEssaysFromBytes, what Help shows of an essay file, over arbitrary bytes.

#include "fuzzcheck.h"

#include "exam/essayfile.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

namespace {

// Lines end at CR LF or at a lone CR; a last line without its end counts too.
qsizetype LineCount(QByteArrayView bytes)
{
    qsizetype lines = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            ++lines;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        }
    }
    if (!bytes.empty() && bytes.back() != '\r' && !bytes.endsWith("\r\n"))
        ++lines;
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QString result = SavedEssaysFromBytes(bytes);

    // The code page here is UTF-8, whose decoding drops one leading byte-order
    // mark: a file of nothing else has no line.
    QByteArrayView content = bytes;
    if (content.startsWith("\xEF\xBB\xBF"))
        content = content.sliced(3);

    FUZZ_CHECK(result.isEmpty() == content.isEmpty());
    // Lines hold no CR, so every CR LF in the result is one that precedes a line.
    FUZZ_CHECK(result.count(QLatin1String("\r\n")) == LineCount(content));
    FUZZ_CHECK(result.size() <= 2 * bytes.size() + 2);
    return 0;
}
