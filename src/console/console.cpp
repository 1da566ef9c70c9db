#include "console/console.h"

#include "console/keys.h"
#include "console/money.h"

#include <string>
#include <utility>

namespace {

constexpr size_t kLongestLine = 255;
constexpr int kEnter = 13;
constexpr int kLineFeed = 10;
constexpr int kBackspace = 8;
constexpr int kDelete = 127;
constexpr int kCtrlC = 3;
constexpr int kCtrlD = 4;
constexpr int kSpace = 32;

// What a line keeps of the keys that are not editing keys: printable characters, and control
// characters such as Tab, which end a number where they stand. Escape and bytes above 126 are
// dropped.
bool keptInLine(int code)
{
    return code >= 0 && code < kDelete && code != kEscape;
}

bool isLineEnd(int code)
{
    return code == kEnter || code == kLineFeed;
}

// The next key of a typed line, less the line end that the answer before it owes.
KeyPress nextKeyAfterAnswer(Console& console)
{
    for (;;) {
        const KeyPress key = console.backend.nextKey();
        const OwedLineEnd owed = std::exchange(console.owedLineEnd, OwedLineEnd::None);
        if (key.code == kEnter && owed == OwedLineEnd::Any) {
            console.owedLineEnd = OwedLineEnd::LineFeed; // of a CR LF
            continue;
        }
        if (key.code == kLineFeed && owed != OwedLineEnd::None)
            continue;
        return key;
    }
}

} // namespace

void moveTo(Console& console, int column, int row)
{
    console.backend.moveCursor(column, row);
}

void clearScreen(Console& console)
{
    console.backend.clear();
}

void printText(Console& console, std::string_view text)
{
    console.backend.write(text);
}

void printInt(Console& console, int value)
{
    console.backend.write(std::to_string(value));
}

void printMoney(Console& console, float amount)
{
    console.backend.write(formatMoney(amount));
}

void printLineEnd(Console& console)
{
    console.backend.write("\n");
    console.backend.flush();
}

void flushOutput(Console& console)
{
    console.backend.flush();
}

void pauseMs(Console& console, int milliseconds)
{
    console.backend.flush();
    if (milliseconds <= 0)
        return;
    console.backend.sleepUntilMs(console.backend.nowMs() + milliseconds);
}

int readKey(Console& console)
{
    if (console.pendingSecondCode != kNoSecondCode) {
        const int code = console.pendingSecondCode;
        console.pendingSecondCode = kNoSecondCode;
        return code;
    }
    console.backend.flush();
    KeyPress key = console.backend.nextKey();
    if (console.backend.inputIsStream()) {
        while (isLineEnd(key.code))
            key = console.backend.nextKey();
        console.owedLineEnd = OwedLineEnd::Any;
    }
    console.backend.discardPendingInput();
    console.pendingSecondCode = key.secondCode;
    return key.code;
}

bool readLine(Console& console, std::string& line)
{
    line.clear();
    console.backend.flush();
    for (;;) {
        const KeyPress key = nextKeyAfterAnswer(console);
        if (key.code == kEndOfInput)
            return !line.empty();
        if (key.secondCode != kNoSecondCode)
            continue; // an arrow or function key has no place in a typed line
        if (isLineEnd(key.code)) {
            // The line break goes out with whatever the game draws next, in the same write.
            console.backend.write("\n");
            if (key.code == kEnter && console.backend.inputIsStream())
                console.owedLineEnd = OwedLineEnd::LineFeed;
            return true;
        }
        if (key.code == kCtrlC) {
            console.backend.interrupt();
        } else if (key.code == kCtrlD) {
            if (line.empty())
                return false;
        } else if (key.code == kBackspace || key.code == kDelete) {
            if (!line.empty()) {
                line.pop_back();
                console.backend.write("\b \b");
            }
        } else if (keptInLine(key.code) && line.size() < kLongestLine) {
            line += static_cast<char>(key.code);
            // A control character shows as one space, so Backspace erases it like any other.
            console.backend.write(key.code < kSpace ? " " : line.substr(line.size() - 1));
        }
        console.backend.flush();
    }
}
