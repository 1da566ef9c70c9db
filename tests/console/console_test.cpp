#include "console/console.h"
#include "console/scripted_backend.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct ConsoleTest : testing::Test {
    ScriptedBackend backend;
    Console console{backend};
};

TEST_F(ConsoleTest, MoveToPlacesTheCursorAtColumnAndRowCountedFromOne)
{
    moveTo(console, 1, 1);
    printText(console, "A");
    moveTo(console, 33, 20);
    printText(console, "B");
    EXPECT_EQ(backend.screen.cell(1, 1), 'A');
    EXPECT_EQ(backend.screen.cell(33, 20), 'B');
    EXPECT_EQ(backend.screen.cursorColumn(), 34);
}

TEST_F(ConsoleTest, IntegersNeverTakeTheScientificForm)
{
    for (const int value : {5, 1000, -12, 1000000}) {
        printInt(console, value);
        printText(console, " ");
    }
    EXPECT_EQ(backend.screen.textAt(1, 1, 23), "5 1000 -12 1000000     ");
}

TEST_F(ConsoleTest, PausesOfZeroOrLessReturnAtOnceAndOthersWaitTheirLength)
{
    pauseMs(console, 0);
    pauseMs(console, -5);
    pauseMs(console, 200);
    pauseMs(console, 3000);
    EXPECT_EQ(backend.pauses, (std::vector<int>{200, 3000}));
    EXPECT_EQ(backend.clockMs, 3200);
}

TEST_F(ConsoleTest, TwoCodeKeyGivesItsSecondCodeAtTheNextRead)
{
    backend.press(224, 72); // Up arrow
    backend.type("x");
    EXPECT_EQ(readKey(console), 224);
    EXPECT_EQ(readKey(console), 72);
    EXPECT_EQ(readKey(console), 'x');
    EXPECT_EQ(readKey(console), kEndOfInput);
}

TEST_F(ConsoleTest, LineEditorEchoesAtTheCursorAndEndsOnTheNextRow)
{
    moveTo(console, 33, 20);
    printText(console, "Place your bet  ");
    backend.typeLine("25");
    std::string line;
    ASSERT_TRUE(readLine(console, line));
    EXPECT_EQ(line, "25");
    EXPECT_EQ(backend.screen.textAt(33, 20, 18), "Place your bet  25");
    EXPECT_EQ(backend.screen.cursorColumn(), 1);
    EXPECT_EQ(backend.screen.cursorRow(), 21);
}

TEST_F(ConsoleTest, LineEditorErasesWithBackspaceAndIgnoresSpecialKeysWhole)
{
    backend.type("1x");
    backend.type("\x7f"); // Backspace as most terminals send it
    backend.press(224, 75); // Left arrow: neither moves nor types
    backend.type("2\b\b\b3"); // more Backspaces than characters
    backend.typeLine("0");
    std::string line;
    ASSERT_TRUE(readLine(console, line));
    EXPECT_EQ(line, "30");
    EXPECT_EQ(backend.screen.textAt(1, 1, 4), "30  ");
}

TEST(LineEditor, ShowsWhatTheLineHolds)
{
    // Backspace erases what it steps back over; a control character that is not an editing key
    // stays in the line as one space on the screen, and Escape is dropped.
    const struct {
        const char* typed;
        std::string line;
        const char* shown;
    } cases[] = {
        {"47\b", "4", "4   "},
        {"2\t5", "2\t5", "2 5 "},
        {"\t30", "\t30", " 30 "},
        {"\x01" "7\x1b", "\x01" "7", " 7  "},
    };
    for (const auto& typing : cases) {
        ScriptedBackend typed;
        Console lineConsole{typed};
        typed.typeLine(typing.typed);
        std::string line;
        ASSERT_TRUE(readLine(lineConsole, line));
        EXPECT_EQ(line, typing.line);
        EXPECT_EQ(typed.screen.textAt(1, 1, 4), typing.shown) << "line " << testing::PrintToString(typing.line);
    }
}

TEST_F(ConsoleTest, LineEditorTakesNoMoreThan255Characters)
{
    backend.typeLine(std::string(300, '7'));
    std::string line;
    ASSERT_TRUE(readLine(console, line));
    EXPECT_EQ(line, std::string(255, '7'));
}

TEST_F(ConsoleTest, LineEditorReportsTheEndOfInput)
{
    std::string line = "old";
    backend.type("\x04"); // Ctrl+D on an empty line
    EXPECT_FALSE(readLine(console, line));
    EXPECT_EQ(line, "");
    EXPECT_FALSE(readLine(console, line)); // nothing queued at all
    backend.type("42"); // input ends in the middle of a line: the line still counts
    EXPECT_TRUE(readLine(console, line));
    EXPECT_EQ(line, "42");
}

TEST_F(ConsoleTest, CtrlCInALineInterruptsTheGame)
{
    backend.type("4\x03");
    std::string line;
    EXPECT_THROW(readLine(console, line), ScriptedInterrupt);
}

// Answers from a pipe or a file, read as a game reads them: a key, a bet line, a key, a bet line.
TEST(ConsoleStream, AnswersOnePerLineOrAsAStreamOfKeysReadTheSame)
{
    const std::vector<std::pair<std::string_view, std::vector<std::string>>> cases = {
        {"y10\ns25\n", {"y", "10", "s", "25"}},              // keys and lines as typed at a terminal
        {"y\n10\ns\n25\n", {"y", "10", "s", "25"}},          // one answer per line
        {"y\r\n10\r\ns\r\n25\r\n", {"y", "10", "s", "25"}},  // the same with CR LF
        {"y\r10\rs\r25\r", {"y", "10", "s", "25"}},          // the same with CR alone
        // Blank lines before a key are skipped; after a key's own line end, a blank line is an
        // empty bet line (the last stake again).
        {"\n\ny\n10\n\n\ns\n\n", {"y", "10", "s", ""}},
        {"y\r\n\r\n", {"y", "", "(end)", "(end)"}},
        {"y\n10", {"y", "10", "(end)", "(end)"}},
    };
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(input)));
        ScriptedBackend backend;
        backend.streamInput = true;
        backend.type(input);
        Console console{backend};
        std::vector<std::string> answers;
        for (int i = 0; i < 2; ++i) {
            const int key = readKey(console);
            answers.push_back(key == kEndOfInput ? "(end)" : std::string(1, static_cast<char>(key)));
            std::string line;
            answers.push_back(readLine(console, line) ? line : "(end)");
        }
        EXPECT_EQ(answers, expected);
    }
}

TEST(VirtualScreen, WrapsAtTheLastColumnOnlyWhenMoreTextFollows)
{
    VirtualScreen screen(80, 25);
    screen.moveCursor(73, 20);
    screen.write("12345678");
    EXPECT_EQ(screen.cursorColumn(), 80);
    EXPECT_EQ(screen.cursorRow(), 20);
    screen.write("9");
    EXPECT_EQ(screen.textAt(73, 20, 8), "12345678");
    EXPECT_EQ(screen.cell(1, 21), '9');
    screen.moveCursor(1, 25);
    screen.write("bottom\nnext");
    EXPECT_EQ(screen.textAt(1, 24, 6), "bottom");
    EXPECT_EQ(screen.textAt(1, 25, 4), "next");
}

} // namespace
