// Fuzzes the conversion of a typed bet line against a reading of the same line done by hand:
// blanks (space, tab, line feed, vertical tab, form feed, carriage return), an optional sign,
// then decimal digits, the rest ignored. A line whose number fits in 32 bits gives that number;
// any other line gives none and leaves the bet as it was.
#include "table/bet_entry.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string_view>

namespace {

constexpr int kBetBefore = 424242;   // the bet the line is converted into, before the line

bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' || byte == '\r';
}

bool isDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

std::optional<int> numberAtStart(std::string_view line)
{
    std::size_t at = 0;
    while (at < line.size() && isBlank(line[at]))
        ++at;
    bool negative = false;
    if (at < line.size() && (line[at] == '+' || line[at] == '-'))
        negative = line[at++] == '-';
    if (at == line.size() || !isDigit(line[at]))
        return std::nullopt;

    // Kept below 2^32 so that it cannot overflow; anything that large is out of range anyway.
    std::int64_t magnitude = 0;
    for (; at < line.size() && isDigit(line[at]); ++at)
        magnitude = std::min<std::int64_t>(magnitude * 10 + (line[at] - '0'), std::int64_t{1} << 32);
    const std::int64_t number = negative ? -magnitude : magnitude;
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(number);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    int bet = kBetBefore;
    const bool converted = convertBetLine(line, bet);
    const std::optional<int> expected = numberAtStart(line);
    if (converted == expected.has_value() && bet == expected.value_or(kBetBefore))
        return 0;
    std::fprintf(stderr, "bet line of %zu bytes: converted %d into %d, expected %s %d\n", size,
                 converted ? 1 : 0, bet, expected ? "the number" : "no number",
                 expected.value_or(kBetBefore));
    std::abort();
}
