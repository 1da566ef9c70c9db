// The pure halves of the Windows console backend (windows_backend.h): a key event of the
// console turned into the game's codes, and the game's screen turned into the console's
// character cells. Neither calls the console.
#pragma once

#include "console/backend.h"
#include "console/virtual_screen.h"

#include <optional>
#include <vector>
#include <windows.h>

// The key that a key event gives the game. A key that types a character gives its code (Enter
// 13, Escape 27, Backspace 8, Ctrl+C 3, Ctrl with a letter 1 to 26, a letter in the case typed);
// a special key gives its two codes (special_keys.h), 0 instead of 224 first when it is on the
// numeric keypad; Shift+Tab gives 0 and 15. Nothing for a key released, Shift, Ctrl, Alt or
// Caps Lock alone, or a character above code 255.
std::optional<KeyPress> keyOfEvent(const KEY_EVENT_RECORD& event);

// Rows firstRow to lastRow of the screen (counted from 1), row after row, as the console's
// cells in the given colours. The byte 0x1E is the up triangle U+25B2; every other byte is the
// character of that code.
std::vector<CHAR_INFO> cellsOf(const VirtualScreen& screen, int firstRow, int lastRow, WORD colours);
