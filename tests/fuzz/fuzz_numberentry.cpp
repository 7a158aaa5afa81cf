// ReadNumberEntry and TopicNumberFromEntry over arbitrary UTF-8 text.

#include "fuzzcheck.h"

#include "platform/numeric.h"
#include "start/numberentry.h"

#include "bank/topiclibrary.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void CheckTopicNumber(const QString& text, double value, int limit)
{
    const std::optional<int> number = TopicNumberFromEntry(text, limit);
    const bool inRange = value >= 1.0 && value <= static_cast<double>(limit);
    FUZZ_CHECK(number.has_value() == inRange);
    if (number) {
        FUZZ_CHECK(*number >= 1 && *number <= limit);
        FUZZ_CHECK(*number == static_cast<int>(RoundHalfEven(value)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double value = ReadNumberEntry(text);
    // A text reads as a number, an infinity or 0, never as "not a number".
    FUZZ_CHECK(!std::isnan(value));
    CheckTopicNumber(text, value, IssueTopicCount);
    CheckTopicNumber(text, value, ArgumentTopicCount);
    return 0;
}
