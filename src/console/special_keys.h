// The special keys (arrows, Home, End, Insert, Delete, Page Up/Down, F1-F12) and the two codes
// each gives the game, with Shift, Ctrl or Alt held or not. One table for every keyboard: the
// terminal's key decoder and the Windows console's key events both end up here.
#pragma once

#include "console/backend.h"

enum class SpecialKey {
    Up, Down, Left, Right, Home, End, PageUp, PageDown, Insert, Delete,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
};

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    // The key is on the numeric keypad (Num Lock off) rather than in the cursor block: its
    // first code is 0 instead of 224.
    bool keypad = false;
};

// The first code (0 or 224) and the second code of the key. With several modifiers held, Alt
// wins over Ctrl, and Ctrl over Shift.
KeyPress codesOf(SpecialKey key, Modifiers modifiers);
