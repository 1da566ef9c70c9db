#include "flow/instructions.h"

#include "flow/entry.h"
#include "flow/setup.h"

#include "console/scripted_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::string kPrompts[] = {
    "Press C to continue or R to return to the game  ",
    "Press C to continue or B to back up or R to return to the game  ",
    "Press B to back up or R to return to the game  ",
};

// Keeps the screen as it stood at every key read, so the pages can be looked at while shown.
class PageBackend : public ScriptedBackend {
public:
    std::vector<VirtualScreen> screensAtKeys;

    KeyPress nextKey() override
    {
        screensAtKeys.push_back(screen);
        return ScriptedBackend::nextKey();
    }
};

// The page a screen shows, known by its prompt; 0 for none.
int pageShown(const VirtualScreen& screen)
{
    for (int page = 1; page <= 3; ++page) {
        const std::string& prompt = kPrompts[page - 1];
        if (screen.textAt(1, 24, static_cast<int>(prompt.size())) == prompt)
            return page;
    }
    return 0;
}

bool isBlank(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

class InstructionPages : public testing::Test {
protected:
    PageBackend backend;
    Game game{backend};
};

struct PageCase {
    const char* keysToReach;
    int page;
    const char* rowsInUse;   // rows 1 to 23: 'x' holds text, '.' is empty
};

class PageLayout : public InstructionPages, public testing::WithParamInterface<PageCase> {};

TEST_P(PageLayout, FillsItsRowsAndNoLineReachesTheLastColumn)
{
    backend.type(GetParam().keysToReach);
    backend.type("r");
    showInstructions(game);

    const VirtualScreen& screen = backend.screensAtKeys.back();
    ASSERT_EQ(pageShown(screen), GetParam().page) << screen.dump();
    const std::string rowsInUse = GetParam().rowsInUse;
    for (int row = 1; row <= 23; ++row)
        EXPECT_EQ(isBlank(screen.row(row)), rowsInUse[static_cast<size_t>(row - 1)] == '.') << "row " << row << "\n" << screen.dump();
    for (int row = 1; row <= 25; ++row)
        EXPECT_EQ(screen.cell(80, row), ' ') << "row " << row << " runs to the edge\n" << screen.dump();
    EXPECT_EQ(screen.cursorRow(), 24);
    EXPECT_EQ(screen.cursorColumn(), static_cast<int>(kPrompts[GetParam().page - 1].size()) + 1);
}

INSTANTIATE_TEST_SUITE_P(Pages, PageLayout, testing::Values(
    PageCase{"", 1, "..x.x.xxxxxxxxx........"},
    PageCase{"c", 2, ".xxxxxxxxxxxxxxxxxx...."},
    PageCase{"cc", 3, ".xxxxxxxxx.xxx.x.x.x..."}));

TEST_F(InstructionPages, FirstPageHeadsTheRulesAndBreaksOffMidSentence)
{
    backend.type("r");
    showInstructions(game);

    const VirtualScreen& screen = backend.screensAtKeys.front();
    EXPECT_EQ(screen.textAt(11, 3, 63), "* INSTRUCTIONS FOR CORVALE BLACKJACK, Version 3.1 for Windows *");
    EXPECT_NE(screen.cell(40, 5), ' ');
    EXPECT_TRUE(isBlank(screen.textAt(1, 5, 39)));
    const std::string lastRow = screen.row(15);
    EXPECT_EQ(lastRow.substr(lastRow.find_last_not_of(' ') - 6, 7), "You are");
}

TEST_F(InstructionPages, SecondPageEndsWithTwoSpacesAndNoLineBreak)
{
    backend.type("cr");
    showInstructions(game);

    const auto texts = backend.eventsOf("text");
    const auto prompt = std::find(texts.begin(), texts.end(), kPrompts[1]);
    ASSERT_NE(prompt, texts.end());
    const std::string lastLine = *(prompt - 2);   // the prompt's erasure comes between
    EXPECT_TRUE(lastLine.ends_with(".  ")) << lastLine;
}

TEST_F(InstructionPages, ThirdPageIndentsItsGoodLuckLine)
{
    backend.type("ccr");
    showInstructions(game);

    const VirtualScreen& screen = backend.screensAtKeys.back();
    EXPECT_TRUE(isBlank(screen.textAt(1, 18, 19)));
    EXPECT_NE(screen.cell(20, 18), ' ');
}

struct WalkCase {
    const char* keys;
    std::vector<int> pagesAtKeys;
    int pagesDrawn;
};

class PageWalk : public InstructionPages, public testing::WithParamInterface<WalkCase> {};

TEST_P(PageWalk, KeysTurnThePagesAndOthersAreIgnored)
{
    backend.type(GetParam().keys);
    showInstructions(game);

    std::vector<int> pages;
    for (const VirtualScreen& screen : backend.screensAtKeys)
        pages.push_back(pageShown(screen));
    EXPECT_EQ(pages, GetParam().pagesAtKeys);
    EXPECT_EQ(static_cast<int>(backend.eventsOf("clear").size()), GetParam().pagesDrawn + 1);
    EXPECT_EQ(backend.pauses, std::vector<int>(backend.screensAtKeys.size(), 200));
    EXPECT_TRUE(backend.keys.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, PageWalk, testing::Values(
    WalkCase{"ccbbr", {1, 2, 3, 2, 1}, 5},
    WalkCase{"CCBBR", {1, 2, 3, 2, 1}, 5},
    WalkCase{"bx cccr", {1, 1, 1, 1, 2, 3, 3}, 3},
    // The Up arrow comes as 224 and then 'H': neither turns a page.
    WalkCase{"\xe0Hcbr", {1, 1, 1, 2, 1}, 3}));

class ReturnToSetUp : public testing::TestWithParam<const char*> {};

TEST_P(ReturnToSetUp, LeavesTheNameAloneAndAsksAboutSound)
{
    ScriptedBackend backend;
    Game game(backend);
    backend.type("y");
    backend.type(GetParam());
    backend.type("n");   // sound
    backend.type("2");   // decks
    showTitleScreen(game);

    VirtualScreen expected;
    expected.moveCursor(28, 9);
    expected.write("CORVALE BLACKJACK");
    expected.moveCursor(23, 21);
    expected.write(std::string("How many decks, 1 to 8 ") + kTriangle + " ");
    expected.moveCursor(23, 22);
    expected.write("Playing with 2 decks          ");
    EXPECT_EQ(backend.screen.dump(), expected.dump());
    const auto texts = backend.eventsOf("text");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Do you want sound effects?  Y or N     "), 1);
    EXPECT_EQ(game.table.soundChoice, 'n');
}

INSTANTIATE_TEST_SUITE_P(FromEachPage, ReturnToSetUp, testing::Values("r", "cR", "ccr", "ccbr"));

class LeavingThePages : public testing::TestWithParam<const char*> {};

TEST_P(LeavingThePages, EndsTheGameThroughTheEarlyExit)
{
    ScriptedBackend backend;
    Game game(backend);
    backend.type(GetParam());
    EXPECT_EQ(runGame(game, 1), 0);

    EXPECT_EQ(backend.screen.textAt(19, 12, 42), "IT IS A SHAME THAT YOU MUST LEAVE SO SOON.") << backend.screen.dump();
    EXPECT_TRUE(backend.keys.empty());
    const auto texts = backend.eventsOf("text");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Do you want sound effects?  Y or N     "), 0);
}

INSTANTIATE_TEST_SUITE_P(FromEachPage, LeavingThePages, testing::Values(
    "y\x1bx", "yc\x1b\x1b", "ycc\x1b\r",   // Escape, then any key
    "y", "yc", "ycc"));                     // the input ends

} // namespace
