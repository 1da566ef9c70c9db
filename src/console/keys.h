// How the game reads an answer key: letters are folded to lower case (Y and y are one answer);
// Escape, the deck digits and every other code, the first code of a special key included, are
// compared as typed.
#pragma once

inline constexpr int kEscape = 27;

inline int lowerCaseKey(int key)
{
    return key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key;
}
