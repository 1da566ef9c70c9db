#include "console/windows_translation.h"

#include "console/special_keys.h"

namespace {

constexpr wchar_t kUpTriangle = L'\x25b2';

std::optional<SpecialKey> specialKeyOf(WORD virtualKey)
{
    switch (virtualKey) {
    case VK_UP: return SpecialKey::Up;
    case VK_DOWN: return SpecialKey::Down;
    case VK_LEFT: return SpecialKey::Left;
    case VK_RIGHT: return SpecialKey::Right;
    case VK_HOME: return SpecialKey::Home;
    case VK_END: return SpecialKey::End;
    case VK_PRIOR: return SpecialKey::PageUp;
    case VK_NEXT: return SpecialKey::PageDown;
    case VK_INSERT: return SpecialKey::Insert;
    case VK_DELETE: return SpecialKey::Delete;
    default:
        break;
    }
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12)
        return static_cast<SpecialKey>(static_cast<int>(SpecialKey::F1) + (virtualKey - VK_F1));
    return std::nullopt;
}

bool isCursorBlockKey(SpecialKey key)
{
    return key <= SpecialKey::Delete;
}

} // namespace

std::optional<KeyPress> keyOfEvent(const KEY_EVENT_RECORD& event)
{
    if (!event.bKeyDown)
        return std::nullopt;
    const DWORD state = event.dwControlKeyState;
    const Modifiers modifiers{
        (state & SHIFT_PRESSED) != 0,
        (state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) != 0,
        (state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) != 0,
        false,
    };
    if (event.wVirtualKeyCode == VK_TAB && modifiers.shift)
        return KeyPress{0, 15};

    // Wine's console hands Escape over without its character.
    const wchar_t character = event.wVirtualKeyCode == VK_ESCAPE ? L'\x1b' : event.uChar.UnicodeChar;
    if (character != 0)
        return character < 256 ? std::optional<KeyPress>(KeyPress{character}) : std::nullopt;

    const auto key = specialKeyOf(event.wVirtualKeyCode);
    if (!key)
        return std::nullopt;
    // The cursor block's keys are "enhanced"; the same keys on the keypad are not.
    Modifiers keyModifiers = modifiers;
    keyModifiers.keypad = isCursorBlockKey(*key) && (state & ENHANCED_KEY) == 0;
    return codesOf(*key, keyModifiers);
}

std::vector<CHAR_INFO> cellsOf(const VirtualScreen& screen, int firstRow, int lastRow, WORD colours)
{
    std::vector<CHAR_INFO> cells;
    cells.reserve(static_cast<size_t>((lastRow - firstRow + 1) * screen.columns()));
    for (int row = firstRow; row <= lastRow; ++row) {
        for (const char byte : screen.row(row)) {
            CHAR_INFO cell{};
            cell.Char.UnicodeChar = byte == '\x1e' ? kUpTriangle : static_cast<wchar_t>(static_cast<unsigned char>(byte));
            cell.Attributes = colours;
            cells.push_back(cell);
        }
    }
    return cells;
}
