// One round of this table played by the chart, from any source of cards: the deal (player,
// player, dealer's up card), a split, the player's hand, then the dealer's, in the order the game
// draws them. A source gives card ranks, 0 (ace) to 12 (king), and is told which card opens a round.
#pragma once

#include "chart.h"

#include <algorithm>

inline int rankValue(int rank)
{
    return std::min(rank + 1, kTenValue);
}

// The player's net result in half stakes (a blackjack pays 3).
template <typename Source>
int playRound(const Chart& chart, Source& source);

namespace round_detail {

struct Cards {
    int hardSum = 0;
    bool hasAce = false;

    void add(int value)
    {
        hardSum += value;
        hasAce = hasAce || value == kAce;
    }
    HandTotal total() const { return handTotal(hardSum, hasAce); }
};

template <typename Source>
int drawValue(Source& source)
{
    return rankValue(source.next());
}

// Hits by the chart until it says stand or the hand reaches 21.
template <typename Source>
void hitOn(const Chart& chart, Source& source, Cards& hand, int up)
{
    while (hand.total().total < 21 && hitsLater(chart, hand.total(), up))
        hand.add(drawValue(source));
}

// Plays a hand from its first decision; gives its stake in half stakes.
template <typename Source>
int playHand(const Chart& chart, Source& source, Cards& hand, Play play, int up)
{
    if (play == Play::Double) {
        hand.add(drawValue(source));
        return 4;
    }
    if (play == Play::Hit) {
        hand.add(drawValue(source));
        hitOn(chart, source, hand, up);
    }
    return 2;
}

struct DealerResult {
    int total = 0;
    bool blackjack = false;
};

// The dealer draws to 16 and stands on every 17, soft ones included.
template <typename Source>
DealerResult playDealer(Source& source, int up)
{
    Cards dealer;
    dealer.add(up);
    for (int cards = 1; dealer.total().total < 17; ++cards) {
        dealer.add(drawValue(source));
        if (cards == 1 && dealer.total().total == 21)
            return {21, true};
    }
    return {dealer.total().total, false};
}

// A hand's result against a dealer who has no blackjack.
inline int settle(int stake, int total, int dealer)
{
    if (total > 21)
        return -stake;
    if (dealer > 21 || total > dealer)
        return stake;
    return total < dealer ? -stake : 0;
}

template <typename Source>
int playSplit(const Chart& chart, Source& source, int pairCard, int up)
{
    std::array<Cards, 2> hands{};
    std::array<int, 2> stakes{2, 2};
    for (size_t index = 0; index < 2; ++index) {
        Cards& hand = hands[index];
        hand.add(pairCard);
        const int second = drawValue(source);
        hand.add(second);
        // Split aces take one card; a two-card 21 stands.
        if (pairCard != kAce && hand.total().total < 21)
            stakes[index] = playHand(chart, source, hand, firstPlay(chart, pairCard, second, up), up);
    }
    const bool firstBust = hands[0].total().total > 21;
    const bool secondBust = hands[1].total().total > 21;
    if (firstBust && secondBust)
        return -stakes[0] - stakes[1];
    const DealerResult dealer = playDealer(source, up);
    if (dealer.blackjack)
        return -2;  // one stake for both hands, whatever they hold
    return settle(stakes[0], hands[0].total().total, dealer.total) +
           settle(stakes[1], hands[1].total().total, dealer.total);
}

} // namespace round_detail

template <typename Source>
int playRound(const Chart& chart, Source& source)
{
    using namespace round_detail;
    const int firstRank = source.first();
    const int secondRank = source.next();
    const int up = drawValue(source);
    const int first = rankValue(firstRank);
    const int second = rankValue(secondRank);

    // Ten-value cards split only as two of one rank.
    const bool pair = first == second && (first != kTenValue || firstRank == secondRank);
    if (pair && chart.split[static_cast<size_t>(first)][static_cast<size_t>(up)])
        return playSplit(chart, source, first, up);

    Cards hand;
    hand.add(first);
    hand.add(second);
    if (hand.total().total == 21) {
        if (up != kAce && up != kTenValue)
            return 3;
        // The dealer's second card decides between the payout and a push.
        const int dealerSecond = drawValue(source);
        const bool dealerBlackjack = up + dealerSecond == kAce + kTenValue;
        return dealerBlackjack ? 0 : 3;
    }
    const int stake = playHand(chart, source, hand, firstPlay(chart, first, second, up), up);
    if (hand.total().total > 21)
        return -stake;
    const DealerResult dealer = playDealer(source, up);
    if (dealer.blackjack)
        return -2;  // only the stake the round began with
    return settle(stake, hand.total().total, dealer.total);
}
