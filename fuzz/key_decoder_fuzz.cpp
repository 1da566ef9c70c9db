// Fuzzes the key decoder in two ways; the first byte of an input chooses which.
//
// Anything: the rest is terminal bytes and silences in any order (0xFF n is a silence of 4n ms,
// 0xFF 0xFE the end of the input, 0xFF 0xFD a reset, 0xFF 0xFF the byte 0xFF). Whatever comes,
// every key has a code from 0 to 255 and a second code only after a first code of 0 or 224;
// silence and the end of the input settle nothing but a lone Escape and leave the decoder at
// rest; a silence as long as the decoder asks for always settles it; and an Escape that the
// bytes themselves end (a third Escape in a row) starts the next sequence at once.
//
// Keys: the rest picks keys from a table of what terminals send for them, with silences inside
// a key's bytes just short of the time-outs and silences of any length between keys. The
// decoder must give back exactly the table's keys, in order: never an Escape followed by the
// bytes of the special key it began.
#include "console/key_decoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr int kEscape = 27;
constexpr int kNoKey = -2;   // a byte sequence that is no key at all

void require(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "key decoder: %s\n", what);
    std::abort();
}

bool same(const KeyPress& left, const KeyPress& right)
{
    return left.code == right.code && left.secondCode == right.secondCode;
}

void requireWellFormed(const KeyPress& key)
{
    require(key.code >= 0 && key.code <= 255, "a key code outside 0 to 255");
    if (key.secondCode == kNoSecondCode)
        return;
    require(key.code == 0 || key.code == 224, "a second code after a first code other than 0 or 224");
    require(key.secondCode >= 0 && key.secondCode <= 255, "a second code outside 0 to 255");
}

void requireAtRest(const KeyDecoder& decoder, const char* what)
{
    require(decoder.msUntilTimeout() == -1, what);
}

void feedByte(KeyDecoder& decoder, std::uint8_t byte)
{
    const std::optional<KeyPress> key = decoder.feed(byte);
    if (!key)
        return;
    requireWellFormed(*key);
    if (key->code == kEscape && key->secondCode == kNoSecondCode) {
        require(byte == kEscape, "an Escape from a byte that was not one");
        require(decoder.msUntilTimeout() >= 0, "the Escape that ended a sequence began none");
    }
}

void passSilence(KeyDecoder& decoder, int silenceMs)
{
    const int waiting = decoder.msUntilTimeout();
    const std::optional<KeyPress> key = decoder.elapsed(silenceMs);
    if (key) {
        require(same(*key, KeyPress{kEscape}), "silence settled a key other than Escape");
        require(waiting >= 0 && silenceMs >= waiting, "silence settled a key before its time-out");
    }
    if (waiting == -1 || silenceMs >= waiting)
        requireAtRest(decoder, "a silence as long as asked for left a sequence under way");
    else
        require(decoder.msUntilTimeout() == waiting - silenceMs, "a short silence did not count down");
}

void fuzzAnything(const std::uint8_t* data, std::size_t size)
{
    KeyDecoder decoder;
    for (std::size_t index = 0; index < size; ++index) {
        const int waiting = decoder.msUntilTimeout();
        require(waiting >= -1 && waiting <= KeyDecoder::kSequenceWaitMs, "a wait beyond the longest time-out");
        if (data[index] != 0xFF || index + 1 == size) {
            feedByte(decoder, data[index]);
            continue;
        }
        const std::uint8_t command = data[++index];
        if (command == 0xFF) {
            feedByte(decoder, command);
        } else if (command == 0xFE) {
            const std::optional<KeyPress> key = decoder.finish();
            require(!key || same(*key, KeyPress{kEscape}), "the end of the input settled a key other than Escape");
            requireAtRest(decoder, "the end of the input left a sequence under way");
        } else if (command == 0xFD) {
            decoder.reset();
            requireAtRest(decoder, "a reset left a sequence under way");
        } else {
            passSilence(decoder, command * 4);
        }
    }
}

struct KeyBytes {
    std::string_view bytes;
    KeyPress key;   // code kNoKey: the bytes give no key
};

// Special keys as terminals send them, with the codes the game's keyboard gives them.
constexpr KeyBytes kSpecialKeys[] = {
    {"\x1b[A", {224, 72}}, {"\x1b[B", {224, 80}}, {"\x1b[D", {224, 75}}, {"\x1b[C", {224, 77}},
    {"\x1bOA", {224, 72}}, {"\x1bOB", {224, 80}}, {"\x1bOD", {224, 75}}, {"\x1bOC", {224, 77}},
    {"\x1b[H", {224, 71}}, {"\x1b[F", {224, 79}}, {"\x1b[1~", {224, 71}}, {"\x1b[4~", {224, 79}},
    {"\x1b[5~", {224, 73}}, {"\x1b[6~", {224, 81}}, {"\x1b[2~", {224, 82}}, {"\x1b[3~", {224, 83}},
    {"\x1bOP", {0, 59}}, {"\x1bOQ", {0, 60}}, {"\x1bOR", {0, 61}}, {"\x1bOS", {0, 62}},
    {"\x1b[[A", {0, 59}}, {"\x1b[[E", {0, 63}},
    {"\x1b[15~", {0, 63}}, {"\x1b[17~", {0, 64}}, {"\x1b[18~", {0, 65}}, {"\x1b[19~", {0, 66}},
    {"\x1b[20~", {0, 67}}, {"\x1b[21~", {0, 68}}, {"\x1b[23~", {224, 133}}, {"\x1b[24~", {224, 134}},
    {"\x1b[1;2P", {0, 84}}, {"\x1b[1;5P", {0, 94}}, {"\x1b[1;3P", {0, 104}},
    // Alt with a letter or digit is that key.
    {"\x1b" "a", {'a'}}, {"\x1b" "z", {'z'}}, {"\x1b" "5", {'5'}},
    // UTF-8: one key when the character's code is below 256, none above.
    {"\xc3\xa9", {233}}, {"\xc2\xa3", {163}}, {"\xe2\x82\xac", {kNoKey}}, {"\xf0\x9f\x82\xa1", {kNoKey}},
};

struct Token {
    std::vector<std::uint8_t> bytes;
    KeyPress key;
    bool loneEscape = false;   // settled by the silence after it
};

// Token numbers: the special keys, then a lone Escape, then every other byte below 128 alone.
Token tokenNumbered(std::uint8_t number)
{
    constexpr std::size_t kSpecialCount = std::size(kSpecialKeys);
    const std::size_t index = number % (kSpecialCount + 1 + 127);
    if (index < kSpecialCount) {
        const KeyBytes& special = kSpecialKeys[index];
        return {{special.bytes.begin(), special.bytes.end()}, special.key};
    }
    if (index == kSpecialCount)
        return {{kEscape}, {kEscape}, true};
    int byte = static_cast<int>(index - kSpecialCount - 1);   // 0 to 126
    if (byte >= kEscape)
        ++byte;                                                 // 0 to 127 without Escape
    return {{static_cast<std::uint8_t>(byte)}, {byte == 127 ? 8 : byte}};   // Delete is Backspace
}

void fuzzKeys(const std::uint8_t* data, std::size_t size)
{
    std::size_t index = 0;
    const auto nextByte = [&]() -> std::uint8_t { return index < size ? data[index++] : 0; };

    KeyDecoder decoder;
    std::vector<KeyPress> expected;
    std::vector<KeyPress> decoded;
    const auto take = [&](std::optional<KeyPress> key) {
        if (key)
            decoded.push_back(*key);
    };
    while (index < size) {
        const Token token = tokenNumbered(nextByte());
        for (std::size_t byte = 0; byte < token.bytes.size(); ++byte) {
            if (byte > 0) {
                // Within a key its bytes may straggle, up to just short of the time-out.
                const int limit = byte == 1 ? KeyDecoder::kEscapeWaitMs : KeyDecoder::kSequenceWaitMs;
                take(decoder.elapsed(nextByte() % limit));
            }
            take(decoder.feed(token.bytes[byte]));
        }
        if (token.loneEscape)
            take(decoder.elapsed(KeyDecoder::kEscapeWaitMs + nextByte()));
        else
            take(decoder.elapsed(nextByte() * 4));
        if (token.key.code != kNoKey)
            expected.push_back(token.key);
    }
    take(decoder.finish());

    if (std::equal(decoded.begin(), decoded.end(), expected.begin(), expected.end(), same))
        return;
    std::fprintf(stderr, "expected:");
    for (const KeyPress& key : expected)
        std::fprintf(stderr, " %d/%d", key.code, key.secondCode);
    std::fprintf(stderr, "\ndecoded: ");
    for (const KeyPress& key : decoded)
        std::fprintf(stderr, " %d/%d", key.code, key.secondCode);
    std::fprintf(stderr, "\n");
    require(false, "the keys decoded are not the keys sent");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] % 2 == 0)
        fuzzAnything(data + 1, size - 1);
    else
        fuzzKeys(data + 1, size - 1);
    return 0;
}
