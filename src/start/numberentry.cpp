#include "start/numberentry.h"

#include "platform/numeric.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isIgnored(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// A whole number after &H or &O; large values saturate instead of overflowing.
double readRadix(const std::string& s, std::size_t pos, int base)
{
    double value = 0;
    for (; pos < s.size(); ++pos) {
        const int digit = digitValue(s[pos], base);
        if (digit < 0)
            break;
        value = std::min(value * base + digit, std::numeric_limits<double>::max());
    }
    return value;
}

double readDecimal(const std::string& s)
{
    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos] == '-';
        ++pos;
    }
    const std::size_t mantissaStart = pos;
    std::size_t digits = 0;
    while (pos < s.size() && isAsciiDigit(s[pos])) {
        ++pos;
        ++digits;
    }
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        while (pos < s.size() && isAsciiDigit(s[pos])) {
            ++pos;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    std::size_t end = pos;
    bool negativeExponent = false;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        std::size_t e = pos + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) {
            negativeExponent = s[e] == '-';
            ++e;
        }
        if (e < s.size() && isAsciiDigit(s[e])) {
            while (e < s.size() && isAsciiDigit(s[e]))
                ++e;
            end = e;
        }
    }
    // from_chars ignores the C locale, so a comma locale cannot change the point.
    double value = 0;
    const char* first = s.data() + mantissaStart;
    const auto result = std::from_chars(first, s.data() + end, value);
    if (result.ec == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

} // namespace

double readNumberEntry(QStringView text)
{
    // Only ASCII can be part of a number; anything else ends it.
    std::string s;
    s.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (isIgnored(c))
            continue;
        s += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\x7f';
    }
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'h' || s[1] == 'H')
            return readRadix(s, 2, 16);
        if (s[1] == 'o' || s[1] == 'O')
            return readRadix(s, 2, 8);
    }
    return readDecimal(s);
}

std::optional<int> topicNumberFromEntry(QStringView text, int limit)
{
    const double value = readNumberEntry(text);
    if (!(value >= 1.0 && value <= static_cast<double>(limit)))
        return std::nullopt;
    return static_cast<int>(roundHalfEven(value));
}
