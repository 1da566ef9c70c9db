#include "soak/round_model.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr std::string_view kSplitQuestion = "Do you want to split this pair?  Y or N";
constexpr std::string_view kInsuranceQuestion = "Do you want insurance?  Y or N";
constexpr std::string_view kStandHitQuestion = "Stand or Hit";
constexpr std::string_view kStandHitDoubleQuestion = "Stand \x1e Hit or Double";

constexpr int kAce = 11;

constexpr std::array<std::string_view, 13> kRanks = {"ACE", "TWO", "THREE", "FOUR", "FIVE", "SIX",
    "SEVEN", "EIGHT", "NINE", "TEN", "JACK", "QUEEN", "KING"};
constexpr std::array<std::string_view, 4> kSuits = {"CLUBS", "DIAMONDS", "HEARTS", "SPADES"};

// The round asked nothing more because the input had ended: nothing is settled.
struct KeysRanOut {};

struct Strayed {
    std::string problem;
};

int rankOf(int card)
{
    return (card - 1) % 52 / 4;   // 0 ace, 1 two, ... 12 king
}

int valueOf(int card)
{
    const int rank = rankOf(card);
    return rank == 0 ? kAce : std::min(rank + 1, 10);
}

// A hand's total with the aces still counted as 11.
struct Hand {
    int total = 0;
    int softAces = 0;

    void add(int value)
    {
        total += value;
        softAces += value == kAce ? 1 : 0;
        if (total > 21 && softAces > 0) {
            total -= 10;
            --softAces;
        }
    }
};

class Replay {
public:
    explicit Replay(const RoundRecord& round) : round_(round) {}

    RoundVerdict run()
    {
        RoundVerdict verdict;
        try {
            verdict.change = playRound();
            verdict.settled = true;
        } catch (const KeysRanOut&) {
            verdict.settled = false;
        } catch (const Strayed& strayed) {
            verdict.problem = strayed.problem;
            return verdict;
        }
        if (nextCard_ != round_.cards.size())
            verdict.problem = "the round drew " + std::to_string(round_.cards.size()) +
                " cards where the rules take " + std::to_string(nextCard_);
        else if (nextKey_ != round_.keys.size())
            verdict.problem = "a key was read after the round's last question";
        return verdict;
    }

private:
    int drawValue()
    {
        return valueOf(drawCard());
    }

    int drawCard()
    {
        if (nextCard_ >= round_.cards.size())
            throw Strayed{"the round took fewer cards than the rules need (" +
                          std::to_string(round_.cards.size()) + ")"};
        return round_.cards[nextCard_++];
    }

    // The question must be the one on the prompt line; keys that answer nothing are passed over
    // as the game passes over them. A letter answers in either case.
    char ask(std::string_view question, std::string_view answers)
    {
        for (; nextKey_ < round_.keys.size(); ++nextKey_) {
            const PromptKey& key = round_.keys[nextKey_];
            if (key.question != question)
                throw Strayed{"asked \"" + key.question + "\" where the rules ask \"" +
                              std::string(question) + "\""};
            const int folded = key.code >= 'A' && key.code <= 'Z' ? key.code - 'A' + 'a' : key.code;
            if (folded > 0 && folded < 128 && answers.find(static_cast<char>(folded)) != std::string_view::npos) {
                ++nextKey_;
                return static_cast<char>(folded);
            }
        }
        throw KeysRanOut{};
    }

    bool coversTwice(int stake) const
    {
        return static_cast<double>(round_.bankrollBefore) - 2.0 * stake >= 0.0;
    }

    char askFirstDecision(int stake)
    {
        return coversTwice(stake) ? ask(kStandHitDoubleQuestion, "hsd") : ask(kStandHitQuestion, "hs");
    }

    // Hits until the player stands or reaches 21; a double down doubles the stake and takes one
    // card.
    void playHits(Hand& hand, char decision, int& stake)
    {
        while (hand.total < 21 && (decision == 'h' || decision == 'd')) {
            hand.add(drawValue());
            if (decision == 'd') {
                stake *= 2;
                return;
            }
            if (hand.total < 21)
                decision = ask(kStandHitQuestion, "hs");
        }
    }

    // The dealer draws to 17; a two-card 21 is a blackjack and ends the hand.
    struct Dealer {
        int total = 0;
        bool blackjack = false;
    };

    Dealer playDealer(int upValue)
    {
        Hand dealer;
        dealer.add(upValue);
        int cards = 1;
        while (dealer.total < 17) {
            const int value = drawValue();
            ++cards;
            if (cards == 2 && dealer.total + value == 21)
                return {21, true};
            dealer.add(value);
        }
        return {dealer.total, false};
    }

    double playRound()
    {
        const int stake = round_.stake;
        const int first = drawCard();
        const int second = drawCard();
        const int dealerUp = drawValue();

        const bool pair = valueOf(first) == valueOf(second) &&
            (valueOf(first) != 10 || (rankOf(first) == rankOf(second) && coversTwice(stake)));
        if (pair && ask(kSplitQuestion, "yn") == 'y')
            return playSplit(valueOf(first), valueOf(second), dealerUp);

        Hand player;
        player.add(valueOf(first));
        player.add(valueOf(second));
        if (player.total == 21)
            return settleBlackjack(dealerUp);

        double insurance = 0.0;
        if (dealerUp == kAce && ask(kInsuranceQuestion, "yn") == 'y')
            insurance = stake * 0.5;
        int finalStake = stake;
        playHits(player, askFirstDecision(stake), finalStake);

        if (player.total > 21) {
            if (insurance == 0.0)
                return -finalStake;
            // The dealer's second card settles the insurance: a ten-value card makes blackjack.
            return drawValue() == 10 ? -(finalStake - 2.0 * insurance) : -(finalStake + insurance);
        }
        const Dealer dealer = playDealer(dealerUp);
        if (dealer.blackjack)
            return -stake + 2.0 * insurance;   // a double down loses only the first stake
        if (dealer.total > 21 || player.total > dealer.total)
            return finalStake - insurance;
        if (dealer.total > player.total)
            return -finalStake - insurance;
        return -insurance;
    }

    // Paid 3 to 2 at once against 2 to 9; against an ace or a ten-value card the dealer's second
    // card decides between the payout and a push.
    double settleBlackjack(int dealerUp)
    {
        const double payout = 1.5 * round_.stake;
        if (dealerUp != kAce && dealerUp != 10)
            return payout;
        return dealerUp + drawValue() == 21 ? 0.0 : payout;
    }

    int playSplitHand(int pairValue, int& stake, int firstHandStake)
    {
        Hand hand;
        hand.add(pairValue);
        hand.add(drawValue());
        if (pairValue != kAce && hand.total < 21)
            playHits(hand, askFirstDecision(firstHandStake), stake);
        return hand.total;
    }

    double playSplit(int firstValue, int secondValue, int dealerUp)
    {
        int firstStake = round_.stake;
        int secondStake = round_.stake;
        const int firstTotal = playSplitHand(firstValue, firstStake, firstStake);
        const int secondTotal = playSplitHand(secondValue, secondStake, firstStake);
        if (firstTotal > 21 && secondTotal > 21)
            return -(firstStake + secondStake);

        const Dealer dealer = playDealer(dealerUp);
        if (dealer.blackjack)
            return -round_.stake;   // both hands lose, but only one first stake
        const auto result = [&](int total, int handStake) {
            if (total > 21)
                return -handStake;
            if (dealer.total > 21 || total > dealer.total)
                return handStake;
            return total == dealer.total ? 0 : -handStake;
        };
        return result(firstTotal, firstStake) + result(secondTotal, secondStake);
    }

    const RoundRecord& round_;
    size_t nextCard_ = 0;
    size_t nextKey_ = 0;
};

} // namespace

RoundVerdict judgeRound(const RoundRecord& round)
{
    return Replay(round).run();
}

std::string describeCard(int cardNumber)
{
    const int index = (cardNumber - 1) % 52;
    return std::string(kRanks[static_cast<size_t>(index / 4)]) + " OF " +
        std::string(kSuits[static_cast<size_t>(index % 4)]) + " (" + std::to_string(cardNumber) + ")";
}
