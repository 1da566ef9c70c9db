// The console operations the whole game draws, waits and reads through. They work on any
// ConsoleBackend; the game code is the same on the real terminal and in tests.
//
// Output rule: whatever was written is on the screen before the next pause, key or line read,
// or sound cue begins (the operations flush the backend at those moments).
#pragma once

#include "console/backend.h"

#include <string>
#include <string_view>

// A line end that may follow an answer read from a pipe or a file and belongs to that answer:
// any (CR, LF or CR LF) after a key, the LF of a CR LF after a line ended by its CR.
enum class OwedLineEnd { None, Any, LineFeed };

// The console a game draws on: its backend, the second code of a two-code key that the last
// readKey left for the next one, and the line end owed by the last answer from a stream.
struct Console {
    ConsoleBackend& backend;
    int pendingSecondCode = kNoSecondCode;
    OwedLineEnd owedLineEnd = OwedLineEnd::None;
};

// Forty spaces: written at a prompt's position, it erases the prompt.
inline constexpr std::string_view blankField = "                                        ";

// The byte that six messages use as a separator; the terminal shows it as an up triangle.
inline constexpr char kTriangle = '\x1e';

void moveTo(Console& console, int column, int row);
void clearScreen(Console& console);
void printText(Console& console, std::string_view text);
void printInt(Console& console, int value);
void printMoney(Console& console, float amount);
void printLineEnd(Console& console);
void flushOutput(Console& console);

// Waits that long on the millisecond clock; 0 or less returns at once.
void pauseMs(Console& console, int milliseconds);

// One key press without echo, then every other key typed ahead is thrown away. A special key
// gives its first code (0 or 224) now and its second code at the next call, with no wait.
// Returns kEndOfInput when the input has ended.
// From a pipe or a file, where answers may stand one per line, a key read skips the line ends
// before its key, and one line end straight after the key is part of it: "n\n1\n10\n" and
// "n110\n" answer the same, and so do files with CR LF line ends.
int readKey(Console& console);

// Reads a typed line with a small editor: printable characters are echoed at the cursor, other
// control characters (Tab, Ctrl+A, ...) are kept and shown as one space each, Backspace erases
// the last one, Escape and special keys are ignored, Enter ends the line (not kept) and
// moves to column 1 of the next row, Ctrl+C interrupts the game. At most 255 characters.
// Returns false when the input has ended before a line was typed (Ctrl+D on an empty line).
bool readLine(Console& console, std::string& line);
