#include "flow/leaving.h"

#include "console/scripted_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Line {
    int column;
    int row;
    std::string text;
};

struct FarewellCase {
    const char* name;
    float bankroll;
    std::vector<std::string> cueFiles;
    std::vector<Line> lines;
};

const std::string kTriangleText(1, kTriangle);

class FarewellResult : public testing::TestWithParam<FarewellCase> {};

TEST_P(FarewellResult, PlaysItsCueThenWritesExactlyItsLines)
{
    ScriptedBackend backend;
    Game game(backend);
    game.table.soundChoice = 'y';
    game.table.bankroll = GetParam().bankroll;
    backend.screen.write("the last round");
    backend.type("\x1b");
    sayFarewell(game);

    VirtualScreen expected;
    for (const Line& line : GetParam().lines) {
        expected.moveCursor(line.column, line.row);
        expected.write(line.text);
    }
    for (int row = 1; row <= 16; ++row)
        EXPECT_EQ(backend.screen.row(row), expected.row(row)) << "row " << row << "\n" << backend.screen.dump();

    std::vector<std::string> sounds = GetParam().cueFiles;
    sounds.insert(sounds.end(), {"bye.wav", "close.wav"});
    EXPECT_EQ(backend.sounds, sounds);

    const auto& events = backend.events;
    EXPECT_EQ(events.front(), "clear");
    const auto firstText = std::find_if(events.begin(), events.end(), [](const std::string& event) {
        return event.starts_with("text ");
    });
    if (!GetParam().cueFiles.empty()) {
        const auto cue = std::find(events.begin(), events.end(), "sound " + GetParam().cueFiles.front());
        EXPECT_LT(cue, firstText) << "the result cue plays before its lines";
    }
}

INSTANTIATE_TEST_SUITE_P(Bankrolls, FarewellResult, testing::Values(
    FarewellCase{"HalfADollarUp", 1000.5f, {"winfin.wav"},
                 {{28, 9, "Come back again hotshot!"}, {34, 15, "You won $0.5"}}},
    FarewellCase{"LargeWinnings", 1234567.0f, {"winfin.wav"},
                 {{28, 9, "Come back again hotshot!"}, {34, 15, "You won $1.23357e+006"}}},
    FarewellCase{"Even", 1000.0f, {"evenfin.wav"}, {{33, 12, "You broke even!"}}},
    FarewellCase{"HalfADollarDown", 999.5f, {"losfin.wav"},
                 {{29, 9, "Better luck next time!"}, {34, 15, "You lost $0.5"}}},
    FarewellCase{"MinimumBetLeft", 5.0f, {"losfin.wav"},
                 {{29, 9, "Better luck next time!"}, {34, 15, "You lost $995"}}},
    FarewellCase{"BelowTheMinimumBet", 4.5f, {"broke.wav"},
                 {{24, 9, "Sorry friend " + kTriangleText + " you only have $4.5"},
                  {27, 12, "Not enough for the minimum bet!"},
                  {25, 15, "You are just about tapped out!"}}},
    FarewellCase{"Nothing", 0.0f, {"broke.wav"},
                 {{18, 9, "What a shame " + kTriangleText + " you have lost your shirt!"},
                  {30, 15, "You are totally broke!"}}},
    FarewellCase{"InDebt", -20.0f, {}, {}}),
    [](const testing::TestParamInfo<FarewellCase>& testCase) { return std::string(testCase.param.name); });

class Farewell : public testing::Test {
protected:
    Farewell() { game.table.bankroll = 1010.0f; }

    ScriptedBackend backend;
    Game game{backend};
};

TEST_F(Farewell, ClosesWithThankYouAndWaitsForEscape)
{
    backend.type("\x1b");
    sayFarewell(game);

    EXPECT_NE(backend.screen.cell(1, 17), ' ');
    EXPECT_NE(backend.screen.cell(1, 18), ' ');
    EXPECT_EQ(backend.screen.row(19), std::string(80, ' '));
    for (int row = 1; row <= 25; ++row)
        EXPECT_EQ(backend.screen.cell(80, row), ' ') << "row " << row << " runs to the edge";
    EXPECT_EQ(backend.screen.textAt(34, 21, 16), "Bye for now pal!");
    EXPECT_EQ(backend.screen.textAt(34, 22, 21), "Press ESCAPE to exit ");
    EXPECT_EQ(backend.screen.cursorColumn(), 55);
    EXPECT_EQ(backend.pauses, (std::vector<int>{200, 3000}));
    EXPECT_TRUE(backend.sounds.empty());
    const auto& events = backend.events;
    const auto bye = std::find(events.begin(), events.end(), "text Bye for now pal!");
    const auto pause = std::find(events.begin(), events.end(), "pause 3000");
    const auto press = std::find(events.begin(), events.end(), "text Press ESCAPE to exit ");
    EXPECT_TRUE(bye < pause && pause < press);
}

TEST_F(Farewell, IgnoresEveryKeyButEscape)
{
    game.table.soundChoice = 'y';
    backend.type("\x1b");
    sayFarewell(game);
    const std::string screenAfterEscape = backend.screen.dump();

    ScriptedBackend pressedAround;
    Game other(pressedAround);
    other.table = game.table;
    pressedAround.type("x\r ");
    pressedAround.press(224, 72);
    pressedAround.press(0, 59);
    pressedAround.type("y\x1b");
    sayFarewell(other);

    EXPECT_EQ(pressedAround.screen.dump(), screenAfterEscape);
    EXPECT_TRUE(pressedAround.keys.empty());
    EXPECT_EQ(pressedAround.sounds, backend.sounds);
    EXPECT_EQ(pressedAround.events.back(), "sound close.wav");
}

TEST_F(Farewell, EndsWhenTheInputHasEnded)
{
    sayFarewell(game);

    EXPECT_EQ(backend.screen.textAt(34, 22, 21), "Press ESCAPE to exit ");
}

class EarlyExit : public testing::TestWithParam<std::vector<KeyPress>> {};

TEST_P(EarlyExit, AnyKeyEndsTheGameWithStatusZero)
{
    ScriptedBackend backend;
    Game game(backend);
    game.table.soundChoice = 'y';
    backend.screen.write("a question");
    for (const KeyPress key : GetParam())
        backend.press(key.code, key.secondCode);

    try {
        leaveEarly(game);
        FAIL() << "leaveEarly returned";
    } catch (const GameExit& exit) {
        EXPECT_EQ(exit.status, 0);
    }
    EXPECT_EQ(backend.screen.textAt(19, 12, 42), "IT IS A SHAME THAT YOU MUST LEAVE SO SOON.");
    EXPECT_EQ(backend.screen.textAt(1, 1, 10), std::string(10, ' '));
    EXPECT_TRUE(backend.keys.empty());
    EXPECT_TRUE(backend.sounds.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, EarlyExit, testing::Values(
    std::vector<KeyPress>{{27}}, std::vector<KeyPress>{{'a'}}, std::vector<KeyPress>{{224, 80}},
    std::vector<KeyPress>{}));

} // namespace
