// The cards left in a shoe, counted by value, and the dealer's final totals drawn from them.
// The dealer stands on every 17, soft ones included; a blackjack is 21 on the dealer's first two
// cards. Dealer odds are found over a tree of the dealer's possible hands, built once per up card:
// each hand is a set of drawn cards (the order of drawing does not change its chance), so one pass
// down the tree gives every final total for any shoe.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct Composition {
    std::array<int, 11> count{};  // cards of each value 1 (ace) to 10 (ten-value) left
    int cards = 0;
};

Composition fullShoe(int decks);
void removeCard(Composition& shoe, int value);

// Final dealer hands: 17 to 21 (without blackjack), blackjack, bust.
enum DealerFinal : int { kDealer17, kDealer18, kDealer19, kDealer20, kDealer21, kDealerBlackjack, kDealerBust };
using DealerOdds = std::array<double, 7>;

struct DealerHand {
    std::array<std::uint8_t, 11> drawn{};  // cards drawn to the up card, by value
    int drawnCount = 0;
    std::array<int, 11> next{};            // by the value drawn: a hand's index, or -1 - DealerFinal
};

struct DealerTree {
    int up = 0;
    std::vector<DealerHand> hands;  // the up card alone first; each hand before those it leads to
};

DealerTree buildDealerTree(int up);

// The dealer's final odds from `shoe`, the cards left once the up card and any others are out.
DealerOdds dealerOdds(const DealerTree& tree, const Composition& shoe);
