// Thousands of whole games on the scripted console, each played by a random player who answers
// most questions sensibly and some with junk: stray keys, arrows, function keys, odd bet lines.
// After every round the watcher checks that no card was dealt twice between two shuffles, that
// the bankroll moved exactly as the house rules say for what the round dealt and what the player
// answered, and that every game comes to an end. A failure names the seed that replays it;
// BLACKJACK_SOAK_SEED and BLACKJACK_SOAK_GAMES choose the seeds and how many games to play.
#include "soak/round_model.h"

#include "console/scripted_backend.h"
#include "flow/entry.h"
#include "table/game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultGames = 600;   // the sanitizers make every call dear
#else
constexpr int kDefaultGames = 5000;
#endif
constexpr std::uint32_t kDefaultFirstSeed = 20260301;

// A game that makes more console calls than this never ends; after its input has ended a game
// has only the round under way and the farewell left to show.
constexpr long kMostCallsInAGame = 2'000'000;
constexpr long kMostCallsAfterInputEnded = 2'000;

constexpr std::string_view kRoundQuestions[] = {
    "Do you want to split this pair?  Y or N",
    "Do you want insurance?  Y or N",
    "Stand or Hit",
    "Stand \x1e Hit or Double",
};

enum class Question {
    Instructions, SoundEffects, DeckCount, InstructionPage, Bet, Round, Farewell, EarlyExit, None,
};

// Thrown from the console once a game has gone wrong, to stop it there.
struct StopGame {};

std::string withoutTrailingSpaces(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string describe(const RoundRecord& round)
{
    std::ostringstream text;
    text << "stake " << round.stake << ", bankroll before " << round.bankrollBefore << ", "
         << round.deckCount << " deck(s)\ncards:";
    for (const int card : round.cards)
        text << " " << describeCard(card) << ";";
    text << "\nkeys:";
    for (const PromptKey& key : round.keys)
        text << " [" << key.question << "] " << key.code << ";";
    return text.str();
}

// The random player and the watcher in one console: it answers whatever question is on the
// screen when the game reads a key, and it looks at the shoe every time the game touches the
// console (every card drawn is shown before the next one is drawn).
class SoakTable : public ScriptedBackend {
public:
    SoakTable(std::uint32_t seed, int keyBudget) : random_(seed), keyBudget_(keyBudget) {}

    void sitAt(Game& game) { game_ = &game; }

    // The game is over: its last round, if one is open, is judged as it stands.
    void gameOver()
    {
        if (roundOpen_)
            closeRound();
    }

    const std::string& problem() const { return problem_; }
    int roundsJudged() const { return roundsJudged_; }
    int reshuffles() const { return reshuffles_; }
    int dryShoes() const { return dryShoes_; }

    void moveCursor(int column, int row) override { observe(); ScriptedBackend::moveCursor(column, row); }
    void clear() override { observe(); ScriptedBackend::clear(); }
    void write(std::string_view text) override { observe(); ScriptedBackend::write(text); }
    void flush() override { observe(); }
    void sleepUntilMs(std::int64_t targetMs) override { observe(); ScriptedBackend::sleepUntilMs(targetMs); }
    void playSoundFile(std::string_view fileName) override { observe(); ScriptedBackend::playSoundFile(fileName); }

    KeyPress nextKey() override
    {
        observe();
        if (!typedAhead_.empty()) {   // the rest of a bet line
            const KeyPress key = typedAhead_.front();
            typedAhead_.pop_front();
            return key;
        }
        std::string roundQuestion;
        const Question question = questionOnScreen(roundQuestion);
        if (question == Question::Bet && roundOpen_)
            closeRound();
        if (keysGiven_ >= keyBudget_) {
            inputEnded_ = true;
            return {};
        }
        ++keysGiven_;
        const KeyPress key = answer(question, roundQuestion);
        if (question == Question::Round && roundOpen_) {
            round_.keys.push_back({roundQuestion, key.code});
            if (key.secondCode != kNoSecondCode)
                round_.keys.push_back({roundQuestion, key.secondCode});
        }
        return key;
    }

private:
    // Records what went wrong, with the round, the last things the game did and its screen.
    void fail(const std::string& what)
    {
        problem_ = what + "\n" + (roundOpen_ ? describe(round_) + "\n" : "");
        const size_t shown = std::min<size_t>(events.size(), 40);
        for (auto event = events.end() - static_cast<std::ptrdiff_t>(shown); event != events.end(); ++event)
            problem_ += "  " + *event + "\n";
        problem_ += screen.dump();
        throw StopGame{};
    }

    void observe()
    {
        ++calls_;
        if (calls_ > kMostCallsInAGame)
            fail("the game did not end");
        if (inputEnded_ && ++callsAfterInputEnded_ > kMostCallsAfterInputEnded)
            fail("the game went on after its input had ended");
        if (game_ != nullptr)
            observeShoe();
    }

    // The used list only grows between shuffles, by one card per draw. It starts afresh at a
    // round's first card once 8 or fewer cards are left, and mid-round only when the whole shoe
    // is dealt: then the cards on the table stay out and the rest go back in.
    void observeShoe()
    {
        const Shoe& shoe = game_->shoe;
        const int count = shoe.usedCards[0] > 0 ? shoe.usedTop + 1 : 0;
        if (count == seenCount_ && shoe.cardsSinceShuffle == seenSinceShuffle_)
            return;
        const int shoeSize = game_->table.deckCount * 52;
        if (count != shoe.cardsSinceShuffle)
            fail("the used list holds " + std::to_string(count) + " cards but " +
                 std::to_string(shoe.cardsSinceShuffle) + " were drawn since the shuffle");

        const bool roundsFirstCard = !roundOpen_;
        if (count == seenCount_ + 1) {
            if (roundsFirstCard && seenSinceShuffle_ >= shoeSize - 8)
                fail("a round began with 8 or fewer cards left and no shuffle");
        } else if (count == 1 && roundsFirstCard) {
            if (seenSinceShuffle_ < shoeSize - 8)
                fail("the shoe was shuffled with " + std::to_string(shoeSize - seenSinceShuffle_) +
                     " cards left");
            dealt_.reset();
            ++reshuffles_;
        } else if (!roundsFirstCard && seenCount_ == shoeSize) {
            const auto keptOut = shoe.usedCards.begin() + count - 1;
            if (!std::equal(shoe.usedCards.begin(), keptOut, round_.cards.begin(), round_.cards.end()))
                fail("the cards kept out of a dry shoe are not the cards on the table");
            dealt_.reset();
            for (const int card : round_.cards)
                dealt_.set(static_cast<size_t>(card));
            ++dryShoes_;
        } else {
            fail("the used list went from " + std::to_string(seenCount_) + " to " +
                 std::to_string(count) + " cards at one draw");
        }
        seenCount_ = count;
        seenSinceShuffle_ = shoe.cardsSinceShuffle;

        const int card = shoe.usedCards[static_cast<size_t>(count - 1)];
        if (card < 1 || card > shoeSize)
            fail("card number " + std::to_string(card) + " is not in a shoe of " + std::to_string(shoeSize));
        if (dealt_.test(static_cast<size_t>(card)))
            fail(describeCard(card) + " was dealt twice since the last shuffle");
        dealt_.set(static_cast<size_t>(card));
        if (roundsFirstCard)
            openRound();
        round_.cards.push_back(card);
    }

    void openRound()
    {
        const TableState& table = game_->table;
        round_ = RoundRecord{table.bet, table.bankroll, table.deckCount, {}, {}};
        roundOpen_ = true;
        if (table.bankroll < 5.0f || table.bet < 5 || table.bet > 100 ||
            static_cast<double>(table.bet) > static_cast<double>(table.bankroll))
            fail("a round began on a stake of " + std::to_string(table.bet) + " with a bankroll of " +
                 std::to_string(table.bankroll));
    }

    void closeRound()
    {
        const RoundVerdict verdict = judgeRound(round_);
        if (!verdict.problem.empty())
            fail(verdict.problem);
        if (!verdict.settled && !inputEnded_)
            fail("the round ended without the answer it was waiting for");
        const float expected = verdict.settled
            ? static_cast<float>(static_cast<double>(round_.bankrollBefore) + verdict.change)
            : round_.bankrollBefore;
        const float actual = game_->table.bankroll;
        if (actual != expected) {
            std::ostringstream text;
            text << "the bankroll went from " << round_.bankrollBefore << " to " << actual
                 << ", the rules say " << expected;
            fail(text.str());
        }
        roundOpen_ = false;
        ++roundsJudged_;
        // Only this round's log is kept, for the failure message of the next.
        events.clear();
        pauses.clear();
        sounds.clear();
    }

    Question questionOnScreen(std::string& roundQuestion) const
    {
        if (screen.textAt(34, 22, 20) == "Press ESCAPE to exit")
            return Question::Farewell;
        if (screen.textAt(19, 12, 13) == "IT IS A SHAME")
            return Question::EarlyExit;
        if (const std::string page = screen.textAt(1, 24, 7); page == "Press C" || page == "Press B")
            return Question::InstructionPage;
        const std::string title = screen.textAt(23, 21, 26);
        if (title.starts_with("Do you want instructions?"))
            return Question::Instructions;
        if (title.starts_with("Do you want sound effects?"))
            return Question::SoundEffects;
        if (title.starts_with("How many decks"))
            return Question::DeckCount;
        const std::string prompt = withoutTrailingSpaces(screen.textAt(33, 20, 48));
        if (prompt.starts_with("Place your bet") || prompt.starts_with("Bet "))
            return Question::Bet;
        if (std::find(std::begin(kRoundQuestions), std::end(kRoundQuestions), prompt) != std::end(kRoundQuestions)) {
            roundQuestion = prompt;
            return Question::Round;
        }
        return Question::None;
    }

    bool chance(int percent) { return std::uniform_int_distribution(0, 99)(random_) < percent; }
    int between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

    char anyOf(std::string_view choices)
    {
        const char key = choices[static_cast<size_t>(between(0, static_cast<int>(choices.size()) - 1))];
        return chance(20) ? static_cast<char>(std::toupper(key)) : key;
    }

    // Anything a keyboard can send: a byte, an arrow, a function key, Insert or Delete.
    KeyPress junkKey()
    {
        switch (between(0, 3)) {
        case 0: return {224, between(71, 83)};
        case 1: return {0, between(59, 68)};
        default: return {between(0, 255)};
        }
    }

    KeyPress answer(Question question, std::string_view roundQuestion)
    {
        if (question != Question::Bet && chance(8))
            return junkKey();
        switch (question) {
        case Question::Instructions: return {chance(10) ? 'y' : 'n'};
        case Question::SoundEffects: return {anyOf("yn")};
        case Question::DeckCount: return {chance(40) ? '1' : between('1', '8')};
        case Question::InstructionPage: return {anyOf("cbr")};
        case Question::Bet: return typeBetLine();
        // More hits and stands than doubles, and any answer to a yes-or-no question.
        case Question::Round: return {anyOf(roundQuestion.starts_with("Stand") ? "hhhssd" : "yn")};
        case Question::Farewell: return {27};
        case Question::EarlyExit: return {'x'};
        case Question::None: break;
        }
        fail("a key was read with no question on the screen");
        return {};
    }

    std::string stakeText() { return std::to_string(between(5, 100)); }

    std::string betLine()
    {
        const int kind = between(0, 99);
        if (kind < 70) return stakeText();
        if (kind < 73) return std::to_string(between(-20, 4));
        if (kind < 76) return std::to_string(between(101, 998));
        if (kind < 77) return "999";
        if (kind < 80) return "";
        if (kind < 84) return "  " + stakeText() + "x";
        if (kind < 86) return "+" + stakeText();
        if (kind < 88) return "99999999999";
        if (kind < 92) return "7\b" + stakeText();
        std::string junk;
        for (int length = between(1, 6); length > 0; --length)
            junk += static_cast<char>(between(32, 126));
        return junk;
    }

    // A whole line goes in at once; the bet prompt reads it key by key.
    KeyPress typeBetLine()
    {
        if (chance(1))
            return {4};   // Ctrl+D on an empty line: no more bets
        if (between(0, 499) == 0)
            return {3};   // Ctrl+C: the game is interrupted
        for (const char key : betLine()) {
            typedAhead_.push_back({static_cast<unsigned char>(key)});
            if (chance(2))
                typedAhead_.push_back({224, 75});   // an arrow key, which a line ignores
        }
        typedAhead_.push_back({chance(10) ? '\n' : '\r'});
        const KeyPress first = typedAhead_.front();
        typedAhead_.pop_front();
        return first;
    }

    std::mt19937 random_;
    const int keyBudget_;
    Game* game_ = nullptr;
    std::deque<KeyPress> typedAhead_;
    int keysGiven_ = 0;
    bool inputEnded_ = false;
    long calls_ = 0;
    long callsAfterInputEnded_ = 0;
    std::string problem_;

    int seenCount_ = 0;
    int seenSinceShuffle_ = 0;
    std::bitset<8 * 52 + 1> dealt_;
    bool roundOpen_ = false;
    RoundRecord round_;
    int roundsJudged_ = 0;
    int reshuffles_ = 0;
    int dryShoes_ = 0;
};

struct SoakResult {
    std::string problem;
    int rounds = 0;
    int reshuffles = 0;
    int dryShoes = 0;
};

SoakResult playSoakGame(std::uint32_t seed)
{
    std::mt19937 setup(seed);
    // Mostly long games, some cut short anywhere, even before the first bet.
    const int keyBudget = std::uniform_int_distribution(0, 99)(setup) < 10
        ? std::uniform_int_distribution(0, 30)(setup)
        : std::uniform_int_distribution(50, 600)(setup);
    SoakTable table(static_cast<std::uint32_t>(setup()), keyBudget);
    Game game(table);
    table.sitAt(game);
    try {
        const int status = runGame(game, static_cast<std::uint32_t>(setup()));
        table.gameOver();
        if (status != 0)
            return {"the game ended with status " + std::to_string(status)};
        const bool farewell = table.screen.textAt(34, 22, 20) == "Press ESCAPE to exit";
        const bool earlyExit = table.screen.textAt(19, 12, 13) == "IT IS A SHAME";
        if (!farewell && !earlyExit)
            return {"the game ended on neither way out\n" + table.screen.dump()};
    } catch (const ScriptedInterrupt&) {
        table.gameOver();   // Ctrl+C in a bet line
    } catch (const StopGame&) {
    }
    return {table.problem(), table.roundsJudged(), table.reshuffles(), table.dryShoes()};
}

int fromEnvironment(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::atoi(value) : fallback;
}

TEST(Soak, RandomGamesSettleEveryRoundByTheRulesDealNoCardTwiceAndEnd)
{
    const auto firstSeed = static_cast<std::uint32_t>(fromEnvironment("BLACKJACK_SOAK_SEED", kDefaultFirstSeed));
    const int games = fromEnvironment("BLACKJACK_SOAK_GAMES", kDefaultGames);
    int rounds = 0;
    int reshuffles = 0;
    int dryShoes = 0;
    int failures = 0;
    for (int index = 0; index < games && failures < 3; ++index) {
        const std::uint32_t seed = firstSeed + static_cast<std::uint32_t>(index);
        const SoakResult result = playSoakGame(seed);
        rounds += result.rounds;
        reshuffles += result.reshuffles;
        dryShoes += result.dryShoes;
        if (!result.problem.empty()) {
            ++failures;
            ADD_FAILURE() << "replay with BLACKJACK_SOAK_SEED=" << seed << " BLACKJACK_SOAK_GAMES=1\n"
                          << result.problem;
        }
    }
    // A player that never reached the table, or a shoe that never ran low, would prove nothing.
    EXPECT_GT(rounds, games * 10);
    EXPECT_GT(reshuffles, games);
    std::printf("%d games, %d rounds, %d shuffles, %d dry shoes\n", games, rounds, reshuffles, dryShoes);
}

} // namespace
