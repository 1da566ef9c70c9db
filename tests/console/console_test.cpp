#include "console/console.h"
#include "console/scripted_backend.h"

#include <gtest/gtest.h>

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
