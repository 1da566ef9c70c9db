#include "console/special_keys.h"

#include <array>
#include <cstddef>

namespace {

// The two codes of each special key: the first code, and the second code plain and with one
// modifier held. The keyboard's own codes for these keys (Shift+F1 is 0 and 84, Ctrl+F1 0 and
// 94, Alt+F1 0 and 104; Ctrl+Left 224 and 115; Alt+Up 0 and 152). Shift does not change the
// cursor keys.
struct SpecialKeyCodes {
    int firstCode;
    int altFirstCode;
    int plain;
    int shift;
    int ctrl;
    int alt;
};

constexpr std::array<SpecialKeyCodes, 22> kSpecialKeys = {{
    {224, 0, 72, 72, 141, 152},    // Up
    {224, 0, 80, 80, 145, 160},    // Down
    {224, 0, 75, 75, 115, 155},    // Left
    {224, 0, 77, 77, 116, 157},    // Right
    {224, 0, 71, 71, 119, 151},    // Home
    {224, 0, 79, 79, 117, 159},    // End
    {224, 0, 73, 73, 132, 153},    // Page Up
    {224, 0, 81, 81, 118, 161},    // Page Down
    {224, 0, 82, 82, 146, 162},    // Insert
    {224, 0, 83, 83, 147, 163},    // Delete
    {0, 0, 59, 84, 94, 104},       // F1
    {0, 0, 60, 85, 95, 105},
    {0, 0, 61, 86, 96, 106},
    {0, 0, 62, 87, 97, 107},
    {0, 0, 63, 88, 98, 108},
    {0, 0, 64, 89, 99, 109},
    {0, 0, 65, 90, 100, 110},
    {0, 0, 66, 91, 101, 111},
    {0, 0, 67, 92, 102, 112},
    {0, 0, 68, 93, 103, 113},      // F10
    {224, 224, 133, 135, 137, 139}, // F11
    {224, 224, 134, 136, 138, 140}, // F12
}};

} // namespace

KeyPress codesOf(SpecialKey key, Modifiers modifiers)
{
    const SpecialKeyCodes& codes = kSpecialKeys[static_cast<std::size_t>(key)];
    const int firstCode = modifiers.keypad ? 0 : codes.firstCode;
    if (modifiers.alt)
        return {codes.altFirstCode, codes.alt};
    if (modifiers.ctrl)
        return {firstCode, codes.ctrl};
    if (modifiers.shift)
        return {firstCode, codes.shift};
    return {firstCode, codes.plain};
}
