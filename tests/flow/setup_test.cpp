#include "flow/entry.h"
#include "flow/setup.h"

#include "console/scripted_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kInvalidKey = "Invalid key, try again!";

std::vector<std::string> filesOf(SoundCue cue)
{
    const auto files = cueFiles(cue);
    return {files.begin(), files.end()};
}

int countOf(const std::vector<std::string>& texts, std::string_view text)
{
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

class TitleScreen : public testing::Test {
protected:
    ScriptedBackend backend;
    Game game{backend};
};

TEST_F(TitleScreen, DrawsItsLinesInPlaceWithoutClearingAndWithinTheWidth)
{
    backend.type("nn1");
    showTitleScreen(game);

    EXPECT_EQ(backend.screen.textAt(22, 9, 30), "CORVALE BLACKJACK, Version 3.1");
    for (const int row : {12, 13, 15, 16})
        EXPECT_NE(backend.screen.row(row), std::string(80, ' ')) << "row " << row;
    EXPECT_NE(backend.screen.cell(12, 12), ' ');
    EXPECT_NE(backend.screen.cell(40, 13), ' ');
    EXPECT_NE(backend.screen.cell(1, 15), ' ');
    EXPECT_NE(backend.screen.cell(1, 16), ' ');
    for (int row = 1; row <= 25; ++row)
        EXPECT_EQ(backend.screen.cell(80, row), ' ') << "row " << row << " runs to the edge\n" << backend.screen.dump();
    EXPECT_EQ(countOf(backend.events, "clear"), 0);
}

TEST_F(TitleScreen, QuickSetUpTakesItsPausesInOrder)
{
    backend.type("nn1");
    showTitleScreen(game);

    EXPECT_EQ(backend.pauses, (std::vector<int>{500, 200, 200, 200, 500}));
    EXPECT_EQ(backend.screen.textAt(23, 21, 25), std::string("How many decks, 1 to 8 ") + kTriangle + " ");
    EXPECT_TRUE(backend.sounds.empty());
}

TEST_F(TitleScreen, UpperCaseAnswersCountAsLowerCase)
{
    backend.type("NY4");
    showTitleScreen(game);

    EXPECT_EQ(game.table.soundChoice, 'y');
    EXPECT_EQ(game.table.deckCount, 4);
    EXPECT_EQ(backend.sounds, filesOf(SoundCue::CueOpening));
}

TEST_F(TitleScreen, KeysThatAnswerNothingRepeatTheQuestionSilently)
{
    backend.type("x");
    backend.press(224, 80);   // Down arrow: 224, then 'P'
    backend.type("\r n");
    backend.type("q5");
    backend.type("y7");
    showTitleScreen(game);

    const auto texts = backend.eventsOf("text");
    EXPECT_EQ(countOf(texts, "Do you want instructions?  Y or N  "), 6);
    EXPECT_EQ(countOf(texts, "Do you want sound effects?  Y or N     "), 3);
    EXPECT_EQ(game.table.soundChoice, 'y');
    EXPECT_EQ(game.table.deckCount, 7);
    EXPECT_EQ(backend.sounds, filesOf(SoundCue::CueOpening));
}

struct DeckCase {
    const char* keys;
    int deckCount;
    const char* shown;   // the 31 columns from (23, 22)
    int invalidKeys;
};

class DeckQuestion : public TitleScreen, public testing::WithParamInterface<DeckCase> {};

TEST_P(DeckQuestion, AcceptsOneToEightAndRejectsTheRest)
{
    game.table.soundChoice = 'y';
    backend.type("ny");
    backend.type(GetParam().keys);
    showTitleScreen(game);

    EXPECT_EQ(game.table.deckCount, GetParam().deckCount);
    EXPECT_EQ(backend.screen.textAt(23, 22, 31), GetParam().shown) << backend.screen.dump();
    EXPECT_EQ(backend.screen.textAt(23, 21, 25), std::string("How many decks, 1 to 8 ") + kTriangle + " ");
    const auto texts = backend.eventsOf("text");
    EXPECT_EQ(countOf(texts, kInvalidKey), GetParam().invalidKeys);
    EXPECT_EQ(countOf(backend.sounds, "error.wav"), GetParam().invalidKeys);
}

INSTANTIATE_TEST_SUITE_P(Keys, DeckQuestion, testing::Values(
    DeckCase{"1", 1, "Playing with one deck          ", 0},
    DeckCase{"8", 8, "Playing with 8 decks           ", 0},
    DeckCase{"02", 2, "Playing with 2 decks           ", 1},
    DeckCase{"9a 3", 3, "Playing with 3 decks           ", 3},
    // An arrow key arrives as two codes, 224 and 'H', and each is a wrong key.
    DeckCase{"\xe0H6", 6, "Playing with 6 decks           ", 2}));

TEST_F(TitleScreen, InvalidDeckKeyErasesItsLineAndTellsThePlayer)
{
    backend.type("nn05");
    showTitleScreen(game);

    const auto& events = backend.events;
    const auto message = std::find(events.begin(), events.end(), "text " + std::string(kInvalidKey));
    ASSERT_NE(message, events.end());
    // Erase then write, each after its own pause, on row 22.
    const std::vector<std::string> expected{"move 23,22", "pause 200", "text " + std::string(blankField),
                                            "move 23,22", "pause 200"};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), message - 5));
}

// Escape at a question, or the input ending there, leaves through the early-exit screen: any
// key ends the game with status 0, and the table is never shown.
class LeavingAtSetUp : public TitleScreen, public testing::WithParamInterface<const char*> {};

TEST_P(LeavingAtSetUp, ShowsTheEarlyExitScreenAndEndsWithStatusZero)
{
    backend.type(GetParam());
    EXPECT_EQ(runGame(game, 1), 0);

    EXPECT_EQ(backend.screen.textAt(19, 12, 42), "IT IS A SHAME THAT YOU MUST LEAVE SO SOON.") << backend.screen.dump();
    EXPECT_TRUE(backend.keys.empty());
    EXPECT_TRUE(backend.sounds.empty());
    EXPECT_EQ(countOf(backend.eventsOf("text"), "* YOU HAVE TAKEN A SEAT AT THE BLACKJACK TABLE *"), 0);
}

INSTANTIATE_TEST_SUITE_P(Questions, LeavingAtSetUp, testing::Values(
    "\x1b\x1b", "n\x1bx", "nn\x1b ", "Nn0\x1b\r",   // Escape, then any key
    "", "n", "nn", "nn0"));                       // the input ends

TEST(SeatScreen, ShowsTheSeatAfterItsCueAndTheStartingBankroll)
{
    ScriptedBackend backend;
    Game game(backend);
    game.table.soundChoice = 'y';
    backend.screen.write("left over from the title");
    takeSeat(game);

    EXPECT_EQ(backend.screen.textAt(15, 11, 48), "* YOU HAVE TAKEN A SEAT AT THE BLACKJACK TABLE *");
    EXPECT_EQ(backend.screen.textAt(24, 13, 32), "* The cards have been shuffled *");
    EXPECT_EQ(backend.screen.textAt(33, 22, 18), "Bankroll is $1000 ");
    EXPECT_EQ(backend.screen.textAt(1, 1, 24), std::string(24, ' '));
    const auto& events = backend.events;
    const auto chair = std::find(events.begin(), events.end(), "sound chair.wav");
    const auto seat = std::find(events.begin(), events.end(), "text * YOU HAVE TAKEN A SEAT AT THE BLACKJACK TABLE *");
    EXPECT_EQ(events.front(), "clear");
    EXPECT_LT(chair, seat);
}

} // namespace
