#include "table/prompts.h"

#include "console/scripted_backend.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

template <typename Case>
std::string scenarioName(const testing::TestParamInfo<Case>& tested)
{
    return tested.param.scenario;
}

constexpr int kUp = 72;
constexpr int kDelete = 83;
constexpr int kF1 = 59;

const std::string kStandHitDouble = std::string("Stand ") + '\x1e' + " Hit or Double  ";

struct Key {
    int code;
    int secondCode = kNoSecondCode;
};

struct AnswerCase {
    const char* scenario;
    char (*ask)(Game&);
    std::vector<Key> keys;
    char answer;
    int timesAsked;
};
void PrintTo(const AnswerCase& tested, std::ostream* out) { *out << tested.scenario; }

class KeyPromptAnswer : public testing::TestWithParam<AnswerCase> {};

TEST_P(KeyPromptAnswer, FoldsTheKeyAndAsksAgainUntilAnAnswerComes)
{
    ScriptedBackend backend;
    Game game(backend);
    for (const Key& key : GetParam().keys)
        backend.press(key.code, key.secondCode);

    EXPECT_EQ(GetParam().ask(game), GetParam().answer);

    // Each asking is the erase, the 200 ms pause and the question; then the field is erased.
    EXPECT_EQ(backend.pauses, std::vector<int>(static_cast<size_t>(GetParam().timesAsked), 200));
    EXPECT_EQ(backend.screen.textAt(33, 20, 40), std::string(40, ' ')) << backend.screen.dump();
    EXPECT_EQ(backend.screen.cursorColumn(), 73); // behind the blanks of the erase
    EXPECT_TRUE(backend.keys.empty());
    EXPECT_TRUE(backend.sounds.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyPromptAnswer, testing::Values(
    AnswerCase{"UpperS", askStandHit, {{'S'}}, 's', 1},
    AnswerCase{"DoubleIgnoredWithoutTheOffer", askStandHit, {{'d'}, {'D'}, {'s'}}, 's', 3},
    AnswerCase{"UpArrowIsTwoPressesAndAnswersHit", askStandHit, {{224, kUp}}, 'h', 2},
    AnswerCase{"DeleteIsTwoPressesAndAnswersStand", askStandHit, {{224, kDelete}}, 's', 2},
    AnswerCase{"FunctionKeyAndEscapeIgnored", askStandHit, {{0, kF1}, {27}, {'x'}, {'H'}}, 'h', 5},
    AnswerCase{"UpperDDoubles", askStandHitDouble, {{'D'}}, 'd', 1},
    AnswerCase{"LowerSStands", askStandHitDouble, {{'q'}, {'s'}}, 's', 2},
    AnswerCase{"UpArrowHits", askStandHitDouble, {{224, kUp}}, 'h', 2}),
    scenarioName<AnswerCase>);

struct InsuranceCase {
    const char* scenario;
    int bet;
    const char* keys;
    float insuranceBet;
};
void PrintTo(const InsuranceCase& tested, std::ostream* out) { *out << tested.scenario; }

class InsuranceAnswer : public testing::TestWithParam<InsuranceCase> {};

TEST_P(InsuranceAnswer, SetsHalfTheBetOnYes)
{
    ScriptedBackend backend;
    Game game(backend);
    game.table.bet = GetParam().bet;
    backend.type(GetParam().keys);

    askInsurance(game);

    EXPECT_EQ(game.table.insuranceBet, GetParam().insuranceBet);
    EXPECT_TRUE(backend.keys.empty());
}

INSTANTIATE_TEST_SUITE_P(Answers, InsuranceAnswer, testing::Values(
    InsuranceCase{"YesOnFiveIsTwoFifty", 5, "y", 2.5f},
    InsuranceCase{"UpperYesOnTwentyFive", 25, "Y", 12.5f},
    InsuranceCase{"HitKeyIgnoredThenNo", 10, "hN", 0.0f},
    InsuranceCase{"No", 100, "n", 0.0f}),
    scenarioName<InsuranceCase>);

struct QuestionCase {
    const char* scenario;
    std::function<void(Game&)> ask;
    std::string question;
};
void PrintTo(const QuestionCase& tested, std::ostream* out) { *out << tested.scenario; }

class KeyPromptAtEndOfInput : public testing::TestWithParam<QuestionCase> {};

TEST_P(KeyPromptAtEndOfInput, LeavesItsQuestionInTheFieldAndAbandonsTheRound)
{
    ScriptedBackend backend;
    Game game(backend);
    backend.type("x");
    moveTo(game.console, 33, 20);
    printText(game.console, "Do you want to split this pair?  Y or N  ");

    EXPECT_THROW(GetParam().ask(game), InputEnded);

    const std::string& question = GetParam().question;
    EXPECT_EQ(backend.screen.textAt(33, 20, 48), question + std::string(48 - question.size(), ' '))
        << backend.screen.dump();
    EXPECT_EQ(backend.screen.cursorColumn(), 33 + static_cast<int>(question.size()));
    EXPECT_EQ(backend.pauses, (std::vector<int>{200, 200}));
}

INSTANTIATE_TEST_SUITE_P(Questions, KeyPromptAtEndOfInput, testing::Values(
    QuestionCase{"StandOrHit", askStandHit, "Stand or Hit "},
    QuestionCase{"StandHitOrDouble", askStandHitDouble, kStandHitDouble},
    QuestionCase{"Insurance", askInsurance, "Do you want insurance?  Y or N"}),
    scenarioName<QuestionCase>);

} // namespace
