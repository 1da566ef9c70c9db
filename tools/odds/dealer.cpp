#include "dealer.h"

#include "chart.h"

#include <map>

Composition fullShoe(int decks)
{
    Composition shoe;
    for (int value = kAce; value < kTenValue; ++value)
        shoe.count[static_cast<size_t>(value)] = 4 * decks;
    shoe.count[kTenValue] = 16 * decks;
    shoe.cards = 52 * decks;
    return shoe;
}

void removeCard(Composition& shoe, int value)
{
    --shoe.count[static_cast<size_t>(value)];
    --shoe.cards;
}

DealerTree buildDealerTree(int up)
{
    DealerTree tree;
    tree.up = up;
    tree.hands.push_back({});
    std::map<std::array<std::uint8_t, 11>, int> indexOf{{tree.hands[0].drawn, 0}};
    // Breadth first, so that every hand comes before the hands it leads to.
    for (size_t index = 0; index < tree.hands.size(); ++index) {
        const DealerHand hand = tree.hands[index];
        int hardSum = up;
        bool hasAce = up == kAce;
        for (int value = kAce; value <= kTenValue; ++value) {
            hardSum += value * hand.drawn[static_cast<size_t>(value)];
            hasAce = hasAce || (value == kAce && hand.drawn[kAce] > 0);
        }
        for (int value = kAce; value <= kTenValue; ++value) {
            const HandTotal after = handTotal(hardSum + value, hasAce || value == kAce);
            int next = 0;
            if (hand.drawnCount == 0 && after.total == 21)
                next = -1 - kDealerBlackjack;
            else if (after.total > 21)
                next = -1 - kDealerBust;
            else if (after.total >= 17)
                next = -1 - (kDealer17 + after.total - 17);
            else {
                DealerHand grown = hand;
                ++grown.drawn[static_cast<size_t>(value)];
                ++grown.drawnCount;
                const auto [found, added] = indexOf.try_emplace(grown.drawn, static_cast<int>(tree.hands.size()));
                if (added)
                    tree.hands.push_back(grown);
                next = found->second;
            }
            tree.hands[index].next[static_cast<size_t>(value)] = next;
        }
    }
    return tree;
}

DealerOdds dealerOdds(const DealerTree& tree, const Composition& shoe)
{
    DealerOdds odds{};
    std::vector<double> reach(tree.hands.size(), 0.0);
    reach[0] = 1.0;
    for (size_t index = 0; index < tree.hands.size(); ++index) {
        const DealerHand& hand = tree.hands[index];
        if (reach[index] == 0.0)
            continue;
        const int left = shoe.cards - hand.drawnCount;
        if (left <= 0)
            continue;
        const double share = reach[index] / left;
        for (int value = kAce; value <= kTenValue; ++value) {
            const auto slot = static_cast<size_t>(value);
            const int available = shoe.count[slot] - hand.drawn[slot];
            if (available <= 0)
                continue;
            const double chance = share * available;
            const int next = hand.next[slot];
            if (next >= 0)
                reach[static_cast<size_t>(next)] += chance;
            else
                odds[static_cast<size_t>(-1 - next)] += chance;
        }
    }
    return odds;
}
