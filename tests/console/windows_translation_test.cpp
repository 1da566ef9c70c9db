#include "console/windows_translation.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct KeyEventCase {
    const char* name;
    WORD virtualKey;
    wchar_t character;
    DWORD controlKeys;
    std::optional<std::pair<int, int>> expected; // first and second code; nothing for no key
};

void PrintTo(const KeyEventCase& keyEvent, std::ostream* out)
{
    *out << keyEvent.name;
}

class KeyEventTranslation : public testing::TestWithParam<KeyEventCase> {};

TEST_P(KeyEventTranslation, gives_the_codes_of_the_key)
{
    const KeyEventCase& keyCase = GetParam();
    KEY_EVENT_RECORD event{};
    event.bKeyDown = TRUE;
    event.wRepeatCount = 1;
    event.wVirtualKeyCode = keyCase.virtualKey;
    event.uChar.UnicodeChar = keyCase.character;
    event.dwControlKeyState = keyCase.controlKeys;

    const std::optional<KeyPress> key = keyOfEvent(event);
    ASSERT_EQ(key.has_value(), keyCase.expected.has_value());
    if (key) {
        EXPECT_EQ(std::make_pair(key->code, key->secondCode), *keyCase.expected);
    }
}

constexpr int kNone = kNoSecondCode;
constexpr DWORD kEnhanced = ENHANCED_KEY;

INSTANTIATE_TEST_SUITE_P(Characters, KeyEventTranslation, testing::Values(
    KeyEventCase{"letter", 'Y', L'y', 0, {{'y', kNone}}},
    KeyEventCase{"capital_with_shift", 'Y', L'Y', SHIFT_PRESSED, {{'Y', kNone}}},
    KeyEventCase{"capital_with_caps_lock", 'N', L'N', CAPSLOCK_ON, {{'N', kNone}}},
    KeyEventCase{"digit", '7', L'7', 0, {{'7', kNone}}},
    KeyEventCase{"enter", VK_RETURN, L'\r', 0, {{13, kNone}}},
    KeyEventCase{"backspace", VK_BACK, L'\b', 0, {{8, kNone}}},
    KeyEventCase{"escape", VK_ESCAPE, L'\x1b', 0, {{27, kNone}}},
    KeyEventCase{"escape_without_its_character", VK_ESCAPE, 0, 0, {{27, kNone}}},
    KeyEventCase{"ctrl_c", 'C', L'\x03', LEFT_CTRL_PRESSED, {{3, kNone}}},
    KeyEventCase{"letter_with_alt", 'A', L'a', LEFT_ALT_PRESSED, {{'a', kNone}}},
    KeyEventCase{"latin_1_character", 0, L'\xe9', 0, {{0xe9, kNone}}},
    KeyEventCase{"character_beyond_255", 0, L'\x20ac', 0, std::nullopt},
    KeyEventCase{"shift_alone", VK_SHIFT, 0, SHIFT_PRESSED, std::nullopt},
    KeyEventCase{"ctrl_alone", VK_CONTROL, 0, LEFT_CTRL_PRESSED, std::nullopt},
    KeyEventCase{"caps_lock_alone", VK_CAPITAL, 0, CAPSLOCK_ON, std::nullopt},
    KeyEventCase{"shift_tab", VK_TAB, L'\t', SHIFT_PRESSED, {{0, 15}}}));

INSTANTIATE_TEST_SUITE_P(SpecialKeys, KeyEventTranslation, testing::Values(
    KeyEventCase{"up", VK_UP, 0, kEnhanced, {{224, 72}}},
    KeyEventCase{"down", VK_DOWN, 0, kEnhanced, {{224, 80}}},
    KeyEventCase{"left", VK_LEFT, 0, kEnhanced, {{224, 75}}},
    KeyEventCase{"right", VK_RIGHT, 0, kEnhanced, {{224, 77}}},
    KeyEventCase{"home", VK_HOME, 0, kEnhanced, {{224, 71}}},
    KeyEventCase{"end", VK_END, 0, kEnhanced, {{224, 79}}},
    KeyEventCase{"page_up", VK_PRIOR, 0, kEnhanced, {{224, 73}}},
    KeyEventCase{"page_down", VK_NEXT, 0, kEnhanced, {{224, 81}}},
    KeyEventCase{"insert", VK_INSERT, 0, kEnhanced, {{224, 82}}},
    KeyEventCase{"delete", VK_DELETE, 0, kEnhanced, {{224, 83}}},
    KeyEventCase{"keypad_up", VK_UP, 0, 0, {{0, 72}}},
    KeyEventCase{"keypad_delete", VK_DELETE, 0, 0, {{0, 83}}},
    KeyEventCase{"f1", VK_F1, 0, 0, {{0, 59}}},
    KeyEventCase{"f10", VK_F10, 0, 0, {{0, 68}}},
    KeyEventCase{"f11", VK_F11, 0, 0, {{224, 133}}},
    KeyEventCase{"f12", VK_F12, 0, 0, {{224, 134}}},
    KeyEventCase{"shift_f1", VK_F1, 0, SHIFT_PRESSED, {{0, 84}}},
    KeyEventCase{"ctrl_f1", VK_F1, 0, RIGHT_CTRL_PRESSED, {{0, 94}}},
    KeyEventCase{"alt_f1", VK_F1, 0, LEFT_ALT_PRESSED, {{0, 104}}},
    KeyEventCase{"ctrl_left", VK_LEFT, 0, kEnhanced | LEFT_CTRL_PRESSED, {{224, 115}}},
    KeyEventCase{"alt_up", VK_UP, 0, kEnhanced | RIGHT_ALT_PRESSED, {{0, 152}}},
    KeyEventCase{"shift_f12", VK_F12, 0, SHIFT_PRESSED, {{224, 136}}}));

TEST(KeyEventTranslation, a_released_key_gives_nothing)
{
    KEY_EVENT_RECORD event{};
    event.bKeyDown = FALSE;
    event.wVirtualKeyCode = 'Y';
    event.uChar.UnicodeChar = L'y';
    EXPECT_FALSE(keyOfEvent(event).has_value());
}

std::wstring charactersOf(const std::vector<CHAR_INFO>& cells)
{
    std::wstring text;
    for (const CHAR_INFO& cell : cells)
        text += cell.Char.UnicodeChar;
    return text;
}

TEST(ConsoleCells, rows_become_cells_with_the_triangle_and_the_colours)
{
    VirtualScreen screen(10, 4);
    screen.moveCursor(3, 2);
    screen.write("A\x1e" "B");
    screen.moveCursor(1, 3);
    screen.write("xy\n\xe9");

    const WORD colours = FOREGROUND_GREEN | BACKGROUND_BLUE;
    const std::vector<CHAR_INFO> cells = cellsOf(screen, 2, 4, colours);
    ASSERT_EQ(cells.size(), 30u);
    EXPECT_EQ(charactersOf(cells), L"  A\x25b2" L"B     " L"xy        " L"\xe9         ");
    for (const CHAR_INFO& cell : cells)
        EXPECT_EQ(cell.Attributes, colours);
}

} // namespace
