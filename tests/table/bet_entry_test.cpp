#include "table/bet_entry.h"

#include "console/scripted_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

template <typename Case>
std::string scenarioName(const testing::TestParamInfo<Case>& tested)
{
    return tested.param.scenario;
}

constexpr int kBefore = 33;   // the bet as it stood before the line

struct ConversionCase {
    const char* scenario;
    const char* line;
    bool converted;
    int bet;
};
void PrintTo(const ConversionCase& tested, std::ostream* out) { *out << tested.scenario; }

class BetLineConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(BetLineConversion, ReadsTheNumberAtTheStartOfTheLine)
{
    int bet = kBefore;
    EXPECT_EQ(convertBetLine(GetParam().line, bet), GetParam().converted);
    EXPECT_EQ(bet, GetParam().bet);
}

INSTANTIATE_TEST_SUITE_P(Lines, BetLineConversion, testing::Values(
    ConversionCase{"TrailingLettersIgnored", "12abc", true, 12},
    ConversionCase{"LeadingBlanksSkipped", "  42", true, 42},
    ConversionCase{"PlusSign", "+7", true, 7},
    ConversionCase{"FractionCut", "5.75", true, 5},
    ConversionCase{"NoHexadecimal", "0x10", true, 0},
    ConversionCase{"LeadingZerosAreDecimal", "010", true, 10},
    ConversionCase{"Negative", "-5", true, -5},
    ConversionCase{"LargestInteger", "2147483647", true, 2147483647},
    ConversionCase{"Letters", "abc", false, kBefore},
    ConversionCase{"LoneMinus", "-", false, kBefore},
    ConversionCase{"SignBeforeABlank", "+ 5", false, kBefore},
    ConversionCase{"ElevenDigits", "12345678901", false, kBefore},
    ConversionCase{"Empty", "", false, kBefore},
    ConversionCase{"Blanks", "   ", false, kBefore}),
    scenarioName<ConversionCase>);

const char* const kPlaceBet = "Place your bet  ";
const char* const kRange = "Bet  must be from 5 to 100 or 999 to quit ";
const char* const kAboveBankroll = "Bet cannot exceed your bankroll of ";

struct EntryCase {
    const char* scenario;
    float bankroll;
    int betBefore;
    std::vector<const char*> lines;     // each typed with its Enter; then the input ends
    int bet;
    std::vector<const char*> prompts;   // the questions and messages, in order
    std::vector<std::string> sounds;
};
void PrintTo(const EntryCase& tested, std::ostream* out) { *out << tested.scenario; }

// The questions and messages written in the prompt field, leaving out the echo of the typing.
std::vector<std::string> promptsWritten(const ScriptedBackend& backend)
{
    std::vector<std::string> prompts;
    for (const std::string& text : backend.eventsOf("text"))
        if (text.starts_with("Place your bet") || text.starts_with("Bet "))
            prompts.push_back(text);
    return prompts;
}

class BetEntry : public testing::TestWithParam<EntryCase> {};

TEST_P(BetEntry, AsksUntilTheStakePassesBothChecks)
{
    ScriptedBackend backend;
    Game game(backend);
    game.table.soundChoice = 'y';
    game.table.bankroll = GetParam().bankroll;
    game.table.bet = GetParam().betBefore;
    for (const char* line : GetParam().lines)
        backend.typeLine(line);

    enterBet(game);

    EXPECT_EQ(game.table.bet, GetParam().bet);
    EXPECT_EQ(promptsWritten(backend), std::vector<std::string>(GetParam().prompts.begin(), GetParam().prompts.end()));
    EXPECT_EQ(backend.sounds, GetParam().sounds);
    EXPECT_EQ(game.table.bankroll, GetParam().bankroll);
}

INSTANTIATE_TEST_SUITE_P(Lines, BetEntry, testing::Values(
    EntryCase{"FirstStakeAccepted", 1000.0f, 0, {"25"}, 25, {kPlaceBet}, {"coin.wav"}},
    EntryCase{"EnterAloneAtTheFirstPrompt", 1000.0f, 0, {"", "10"}, 10, {kPlaceBet, kRange}, {"error.wav", "coin.wav"}},
    EntryCase{"EnterAloneBetsThePreviousStakeAgain", 1000.0f, 40, {""}, 40, {kPlaceBet}, {"coin.wav"}},
    EntryCase{"OutsideTheLimitsThenTheEdges", 1000.0f, 0, {"4", "101", "100"}, 100, {kPlaceBet, kRange, kRange},
        {"error.wav", "error.wav", "coin.wav"}},
    EntryCase{"RejectedAmountKeptByAnEmptyLine", 1000.0f, 0, {"150", "", "5"}, 5, {kPlaceBet, kRange, kRange},
        {"error.wav", "error.wav", "coin.wav"}},
    EntryCase{"HexadecimalIsZero", 1000.0f, 20, {"0x10", "12abc"}, 12, {kPlaceBet, kRange}, {"error.wav", "coin.wav"}},
    EntryCase{"TabEndsTheNumber", 1000.0f, 0, {"2\t5", "10"}, 10, {kPlaceBet, kRange}, {"error.wav", "coin.wav"}},
    EntryCase{"TabBeforeTheNumberSkipped", 1000.0f, 0, {"\t30"}, 30, {kPlaceBet}, {"coin.wav"}},
    EntryCase{"NegativeStakeRefused", 1000.0f, 0, {"-5", "5.75"}, 5, {kPlaceBet, kRange}, {"error.wav", "coin.wav"}},
    EntryCase{"EveryLineGoesThroughBothChecks", 50.0f, 0, {"60", "70", "3", "50"}, 50,
        {kPlaceBet, kAboveBankroll, kAboveBankroll, kRange}, {"error.wav", "error.wav", "error.wav", "coin.wav"}},
    EntryCase{"NothingBelowTheMinimumAfterTheBankrollMessage", 50.0f, 0, {"60", "0", "-10", "20"}, 20,
        {kPlaceBet, kAboveBankroll, kRange, kRange}, {"error.wav", "error.wav", "error.wav", "coin.wav"}},
    EntryCase{"RangeMessageBeforeTheBankrollMessage", 50.0f, 0, {"150", "45"}, 45, {kPlaceBet, kRange},
        {"error.wav", "coin.wav"}},
    EntryCase{"QuitWithoutCoinWhateverTheBankroll", 7.0f, 5, {"999"}, 999, {kPlaceBet}, {}},
    EntryCase{"QuitAfterTheBankrollMessage", 50.0f, 0, {"60", "999"}, 999, {kPlaceBet, kAboveBankroll}, {"error.wav"}},
    EntryCase{"InputEndsAtThePlaceYourBetPrompt", 1000.0f, 25, {}, 999, {kPlaceBet}, {}},
    EntryCase{"InputEndsAtTheRangeMessage", 1000.0f, 0, {"150"}, 999, {kPlaceBet, kRange}, {"error.wav"}},
    EntryCase{"InputEndsAtTheBankrollMessage", 50.0f, 0, {"60"}, 999, {kPlaceBet, kAboveBankroll}, {"error.wav"}}),
    scenarioName<EntryCase>);

TEST(BetEntryScreen, EchoesTheTypedStakeAfterThePrompt)
{
    ScriptedBackend backend;
    Game game(backend);
    backend.type("47");
    backend.type("\b");
    backend.typeLine("5");

    enterBet(game);

    EXPECT_EQ(game.table.bet, 45);
    EXPECT_EQ(game.table.betLine, "45");
    EXPECT_EQ(backend.screen.textAt(33, 20, 20), "Place your bet  45  ") << backend.screen.dump();
    EXPECT_EQ(backend.screen.cursorColumn(), 1);
    EXPECT_EQ(backend.screen.cursorRow(), 21);
    EXPECT_TRUE(backend.sounds.empty()) << "sound was not asked for";
}

TEST(BetEntryScreen, BankrollMessageShowsTheHalfDollarAndRunsOntoTheNextRow)
{
    ScriptedBackend backend;
    Game game(backend);
    game.table.bankroll = 47.5f;
    backend.typeLine("48");
    backend.typeLine("47");

    enterBet(game);

    EXPECT_EQ(game.table.bet, 47);
    EXPECT_EQ(backend.screen.textAt(33, 20, 48), "Bet cannot exceed your bankroll of 47.5 or 999 t")
        << backend.screen.dump();
    EXPECT_EQ(backend.screen.textAt(1, 21, 24), "o quit, try again 47    ");
    // The message is written after the error, the erase and the pause, which the cursor spends
    // where the message will start.
    const std::vector<std::string>& events = backend.events;
    const auto message = std::find(events.begin(), events.end(), "text Bet cannot exceed your bankroll of ");
    ASSERT_NE(message, events.end());
    EXPECT_EQ(std::vector<std::string>(message - 4, message + 3),
        (std::vector<std::string>{"move 33,20", "text " + std::string(40, ' '), "move 33,20", "pause 200",
            "text Bet cannot exceed your bankroll of ", "text 47.5", "text  or 999 to quit, try again "}));
}

} // namespace
