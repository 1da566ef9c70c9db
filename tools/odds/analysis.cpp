#include "analysis.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace {

using Cards = std::array<std::uint8_t, 11>;  // cards by value, 1 (ace) to 10

// A player's hand: its cards by value, how many, and their sum with every ace as 1.
struct Hand {
    Cards cards{};
    int count = 0;
    int hardSum = 0;
};

Hand withCard(Hand hand, int value)
{
    ++hand.cards[static_cast<size_t>(value)];
    ++hand.count;
    hand.hardSum += value;
    return hand;
}

HandTotal totalOf(const Hand& hand)
{
    return handTotal(hand.hardSum, hand.cards[kAce] > 0);
}

std::uint64_t keyOf(const Cards& cards)
{
    std::uint64_t key = 0;
    for (int value = kAce; value <= kTenValue; ++value)
        key = key * 64 + cards[static_cast<size_t>(value)];
    return key;
}

// Everything known against one up card: the shoe without it, the dealer's odds for every set of
// player cards out of the shoe, and the chart's value of each hand of three or more cards.
struct UpCardTable {
    const DealerTree& tree;
    const Rules& rules;
    Composition shoe;
    std::unordered_map<std::uint64_t, DealerOdds> odds{};
    std::unordered_map<std::uint64_t, double> laterValue{};

    int up() const { return tree.up; }
};

double drawChance(const UpCardTable& table, const Hand& out, int value)
{
    const auto slot = static_cast<size_t>(value);
    const int available = table.shoe.count[slot] - out.cards[slot];
    return available <= 0 ? 0.0 : static_cast<double>(available) / (table.shoe.cards - out.count);
}

const DealerOdds& oddsWithout(UpCardTable& table, const Hand& out)
{
    const auto [found, added] = table.odds.try_emplace(keyOf(out.cards));
    if (added) {
        Composition rest = table.shoe;
        for (int value = kAce; value <= kTenValue; ++value)
            for (int card = 0; card < out.cards[static_cast<size_t>(value)]; ++card)
                removeCard(rest, value);
        found->second = dealerOdds(table.tree, rest);
    }
    return found->second;
}

// The chance that the dealer's second card makes a blackjack with these cards out.
double blackjackChance(const UpCardTable& table, const Hand& out)
{
    if (table.up() == kAce)
        return drawChance(table, out, kTenValue);
    if (table.up() == kTenValue)
        return drawChance(table, out, kAce);
    return 0.0;
}

double standEv(UpCardTable& table, const Hand& hand)
{
    return standValue(oddsWithout(table, hand), totalOf(hand).total, 1.0, 1.0);
}

double laterValue(UpCardTable& table, const Chart& chart, const Hand& hand);

double hitEv(UpCardTable& table, const Chart& chart, const Hand& hand)
{
    double value = 0;
    for (int card = kAce; card <= kTenValue; ++card) {
        const double chance = drawChance(table, hand, card);
        if (chance > 0)
            value += chance * laterValue(table, chart, withCard(hand, card));
    }
    return value;
}

// A hand after a hit, played on by the chart: a bust loses at once, 21 stands.
double laterValue(UpCardTable& table, const Chart& chart, const Hand& hand)
{
    const HandTotal total = totalOf(hand);
    if (total.total > 21)
        return -1.0;
    if (total.total == 21)
        return standEv(table, hand);
    const auto found = table.laterValue.find(keyOf(hand.cards));
    if (found != table.laterValue.end())
        return found->second;
    const double value = hitsLater(chart, total, table.up()) ? hitEv(table, chart, hand) : standEv(table, hand);
    table.laterValue.emplace(keyOf(hand.cards), value);
    return value;
}

// One card for twice the stake; a dealer blackjack still takes only the first stake.
double doubleEv(UpCardTable& table, const Hand& hand)
{
    const double blackjackLoss = table.rules.blackjackTakesFirstStake ? 1.0 : 2.0;
    double value = 0;
    for (int card = kAce; card <= kTenValue; ++card) {
        const double chance = drawChance(table, hand, card);
        if (chance == 0)
            continue;
        const Hand after = withCard(hand, card);
        const int total = totalOf(after).total;
        value += chance * (total > 21 ? -2.0 : standValue(oddsWithout(table, after), total, 2.0, blackjackLoss));
    }
    return value;
}

// One split hand's share of the round, leaving aside what a dealer blackjack does: that takes one
// stake for the pair of hands, unless both have bust, and is settled for the pair at the end.
struct SplitShare {
    double withoutBlackjack = 0;  // its result times "the dealer has no blackjack"
    double bust = 0;              // the chance that it busts
    double bustStake = 0;         // its stake times "it busts"
};

void addShare(SplitShare& sum, double chance, const SplitShare& share)
{
    sum.withoutBlackjack += chance * share.withoutBlackjack;
    sum.bust += chance * share.bust;
    sum.bustStake += chance * share.bustStake;
}

// The cards of a split hand out of the shoe: its own and the other hand's pair card.
Hand outOfShoe(const Hand& hand, int pairCard)
{
    return withCard(hand, pairCard);
}

SplitShare splitEnd(UpCardTable& table, int pairCard, const Hand& hand, double stake)
{
    const Hand out = outOfShoe(hand, pairCard);
    const int total = totalOf(hand).total;
    // Where a dealer blackjack takes every stake, each hand settles it on its own.
    const bool ownBlackjack = !table.rules.blackjackTakesFirstStake;
    if (total > 21)
        return {-stake * (ownBlackjack ? 1.0 : 1.0 - blackjackChance(table, out)), 1.0, stake};
    return {standValue(oddsWithout(table, out), total, stake, ownBlackjack ? stake : 0.0), 0.0, 0.0};
}

// A split hand after a hit, played on by the chart. Split hands are few, so this keeps no memo of
// its own beyond the dealer's odds.
SplitShare splitLater(UpCardTable& table, const Chart& chart, int pairCard, const Hand& hand)
{
    const HandTotal total = totalOf(hand);
    if (total.total >= 21 || !hitsLater(chart, total, table.up()))
        return splitEnd(table, pairCard, hand, 1.0);
    SplitShare share;
    const Hand out = outOfShoe(hand, pairCard);
    for (int card = kAce; card <= kTenValue; ++card) {
        const double chance = drawChance(table, out, card);
        if (chance > 0)
            addShare(share, chance, splitLater(table, chart, pairCard, withCard(hand, card)));
    }
    return share;
}

SplitShare splitHand(UpCardTable& table, const Chart& chart, int pairCard)
{
    SplitShare share;
    Hand start;
    start = withCard(start, pairCard);
    for (int card = kAce; card <= kTenValue; ++card) {
        const double chance = drawChance(table, outOfShoe(start, pairCard), card);
        if (chance == 0)
            continue;
        const Hand hand = withCard(start, card);
        SplitShare played;
        const Play play = firstPlay(chart, pairCard, card, table.up());
        const bool mayDouble = table.rules.doubleDown && table.rules.doubleAfterSplit;
        const bool stands = play == Play::Stand ||
                            (play == Play::Double && !mayDouble && !hitsLater(chart, totalOf(hand), table.up()));
        if (pairCard == kAce || totalOf(hand).total == 21 || stands) {
            played = splitEnd(table, pairCard, hand, 1.0);
        } else if (play == Play::Double && mayDouble) {
            const Hand out = outOfShoe(hand, pairCard);
            for (int last = kAce; last <= kTenValue; ++last) {
                const double lastChance = drawChance(table, out, last);
                if (lastChance > 0)
                    addShare(played, lastChance, splitEnd(table, pairCard, withCard(hand, last), 2.0));
            }
        } else {
            played = splitLater(table, chart, pairCard, hand);
        }
        addShare(share, chance, played);
    }
    return share;
}

// Both hands' results, taken as independent of each other's cards (each hand's own cards and the
// other's pair card are out of the shoe). A dealer blackjack costs one stake unless both bust.
double splitEv(UpCardTable& table, const Chart& chart, int pairCard)
{
    const SplitShare hand = splitHand(table, chart, pairCard);
    if (!table.rules.blackjackTakesFirstStake)
        return 2.0 * hand.withoutBlackjack;
    Hand pair;
    pair = withCard(withCard(pair, pairCard), pairCard);
    const double blackjack = blackjackChance(table, pair);
    return 2.0 * hand.withoutBlackjack - blackjack * (1.0 - hand.bust * hand.bust + 2.0 * hand.bust * hand.bustStake);
}

// The chance of drawing exactly these cards (in any order) from the shoe.
double handChance(const Composition& shoe, const Hand& hand)
{
    double chance = 1.0;
    int drawn = 0;
    for (int value = kAce; value <= kTenValue; ++value) {
        const int count = shoe.count[static_cast<size_t>(value)];
        for (int copy = 0; copy < hand.cards[static_cast<size_t>(value)]; ++copy) {
            ++drawn;
            // Falling factorials of the shoe, with the ways of ordering the hand's cards.
            chance *= static_cast<double>(count - copy) * drawn / ((copy + 1) * (shoe.cards - drawn + 1));
        }
    }
    return chance;
}

// Every hand of three or more cards that is not bust, weighed by its chance of being drawn.
struct WeighedHand {
    Hand hand;
    double weight = 0;
};

void listHands(const Composition& shoe, Hand hand, int lowest, std::vector<WeighedHand>& hands)
{
    if (hand.count >= 3)
        hands.push_back({hand, handChance(shoe, hand)});
    for (int value = lowest; value <= kTenValue; ++value) {
        if (hand.hardSum + value > 21)
            break;
        if (hand.cards[static_cast<size_t>(value)] < shoe.count[static_cast<size_t>(value)])
            listHands(shoe, withCard(hand, value), value, hands);
    }
}

// The hit-or-stand chart for hands of three or more cards: for each total, hitting or standing,
// whichever is worth more over all hands of that total. Totals are decided in an order where every
// hit leads to a total already decided: hard 21 to 11, soft 21 to 12, hard 10 down.
void decideLaterPlay(UpCardTable& table, Chart& chart)
{
    std::vector<WeighedHand> hands;
    listHands(table.shoe, Hand{}, kAce, hands);
    std::vector<HandTotal> order;
    for (int total = 21; total >= 11; --total)
        order.push_back({total, false});
    for (int total = 21; total >= 12; --total)
        order.push_back({total, true});
    for (int total = 10; total >= 4; --total)
        order.push_back({total, false});

    const auto up = static_cast<size_t>(table.up());
    for (const HandTotal decided : order) {
        double stand = 0;
        double hit = 0;
        bool any = false;
        for (const WeighedHand& weighed : hands) {
            const HandTotal total = totalOf(weighed.hand);
            if (total.total != decided.total || total.soft != decided.soft)
                continue;
            any = true;
            stand += weighed.weight * standEv(table, weighed.hand);
            hit += weighed.weight * hitEv(table, chart, weighed.hand);
        }
        auto& rows = decided.soft ? chart.hitSoft : chart.hitHard;
        rows[static_cast<size_t>(decided.total)][up] = decided.total < 21 && (any ? hit > stand : true);
    }
}

// The chance of a two-card hand from the shoe, in either order.
double twoCardChance(const Composition& shoe, int first, int second)
{
    const double ways = shoe.count[static_cast<size_t>(first)] *
                        static_cast<double>(shoe.count[static_cast<size_t>(second)] - (first == second ? 1 : 0));
    return (first == second ? 1.0 : 2.0) * ways / (static_cast<double>(shoe.cards) * (shoe.cards - 1));
}

// Of two ten-value cards, the chance that they are of one rank (ten, jack, queen or king) and may be
// split, given whether the up card is a ten-value card too.
double sameRankChance(int decks, bool upIsTenValue)
{
    const double perRank = 4.0 * decks;
    auto pairs = [](double cards) { return cards * (cards - 1) / 2; };
    if (upIsTenValue)
        return (pairs(perRank - 1) + 3 * pairs(perRank)) / pairs(4 * perRank - 1);
    return 4 * pairs(perRank) / pairs(4 * perRank);
}

double playValue(const StartingHand& hand, Play play)
{
    switch (play) {
    case Play::Stand: return hand.stand;
    case Play::Hit: return hand.hit;
    case Play::Double: return hand.doubleDown;
    case Play::Split: return hand.split;
    }
    return hand.stand;
}

Play bestOf(const Rules& rules, double stand, double hit, double doubleDown)
{
    if (rules.doubleDown && doubleDown > hit && doubleDown > stand)
        return Play::Double;
    return hit > stand ? Play::Hit : Play::Stand;
}

struct UpCardResult {
    double value = 0;      // the player's expected result per unit, played by the chart
    double insurance = 0;  // a unit of insurance, over the hands it is offered to
};

UpCardResult analyseUpCard(int decks, int up, const Rules& rules, Chart& chart, std::vector<StartingHand>& hands)
{
    const DealerTree tree = buildDealerTree(up);
    Composition shoe = fullShoe(decks);
    removeCard(shoe, up);
    UpCardTable table{tree, rules, shoe};
    const auto upSlot = static_cast<size_t>(up);
    decideLaterPlay(table, chart);

    // Every two-card hand's plays, and the first decision for each total and each pair.
    std::array<std::array<double, 3>, 22> hardSums{};
    std::array<std::array<double, 3>, 22> softSums{};
    const size_t firstHand = hands.size();
    for (int first = kAce; first <= kTenValue; ++first) {
        for (int second = first; second <= kTenValue; ++second) {
            if (first == kAce && second == kTenValue)
                continue;
            Hand hand = withCard(withCard(Hand{}, first), second);
            StartingHand values{first, second, up, standEv(table, hand), hitEv(table, chart, hand),
                                doubleEv(table, hand), 0.0};
            hands.push_back(values);
            if (first == second) {
                chart.pairPlay[static_cast<size_t>(first)][upSlot] = bestOf(rules, values.stand, values.hit, values.doubleDown);
                continue;
            }
            const HandTotal total = totalOf(hand);
            auto& sums = (total.soft ? softSums : hardSums)[static_cast<size_t>(total.total)];
            const double weight = twoCardChance(shoe, first, second);
            sums[0] += weight * values.stand;
            sums[1] += weight * values.hit;
            sums[2] += weight * values.doubleDown;
        }
    }
    for (size_t total = 4; total <= 21; ++total) {
        chart.hard[total][upSlot] = bestOf(rules, hardSums[total][0], hardSums[total][1], hardSums[total][2]);
        chart.soft[total][upSlot] = bestOf(rules, softSums[total][0], softSums[total][1], softSums[total][2]);
    }
    chart.soft[21][upSlot] = Play::Stand;  // 21 on a split hand stands

    // Splits last: the split hands play by the rows just decided.
    for (size_t index = firstHand; index < hands.size(); ++index) {
        StartingHand& hand = hands[index];
        if (hand.first != hand.second)
            continue;
        hand.split = splitEv(table, chart, hand.first);
        const Play kept = chart.pairPlay[static_cast<size_t>(hand.first)][upSlot];
        chart.split[static_cast<size_t>(hand.first)][upSlot] = rules.split && hand.split > playValue(hand, kept);
    }

    UpCardResult result;
    const double blackjackPush = up == kAce || up == kTenValue
        ? blackjackChance(table, withCard(withCard(Hand{}, kAce), kTenValue)) : 0.0;
    result.value = twoCardChance(shoe, kAce, kTenValue) * rules.blackjackPays * (1.0 - blackjackPush);
    double offered = 0;
    for (size_t index = firstHand; index < hands.size(); ++index) {
        const StartingHand& hand = hands[index];
        const double chance = twoCardChance(shoe, hand.first, hand.second);
        const Play play = firstPlay(chart, hand.first, hand.second, up);
        double value = playValue(hand, play);
        const bool splits = hand.first == hand.second && chart.split[static_cast<size_t>(hand.first)][upSlot];
        if (splits) {
            const double splittable = hand.first == kTenValue ? sameRankChance(decks, up == kTenValue) : 1.0;
            value = splittable * hand.split + (1.0 - splittable) * value;
        }
        result.value += chance * value;
        // Insurance is offered to every hand the chart does not split, and wins 2 to 1 when the
        // dealer's second card is a ten-value card.
        if (up == kAce && !splits) {
            const Hand dealt = withCard(withCard(Hand{}, hand.first), hand.second);
            result.insurance += chance * (3.0 * drawChance(table, dealt, kTenValue) - 1.0);
            offered += chance;
        }
    }
    if (offered > 0)
        result.insurance /= offered;
    return result;
}

} // namespace

double standValue(const DealerOdds& odds, int total, double stake, double blackjackLoss)
{
    double win = odds[kDealerBust];
    double lose = 0;
    for (int dealer = 17; dealer <= 21; ++dealer) {
        const double chance = odds[static_cast<size_t>(kDealer17 + dealer - 17)];
        if (dealer < total)
            win += chance;
        else if (dealer > total)
            lose += chance;
    }
    return stake * (win - lose) - blackjackLoss * odds[kDealerBlackjack];
}

DeckOdds analyseShoe(int decks, const Rules& rules)
{
    DeckOdds result;
    result.decks = decks;
    const Composition shoe = fullShoe(decks);
    double playerValue = 0;
    for (int up = kAce; up <= kTenValue; ++up) {
        const UpCardResult upCard = analyseUpCard(decks, up, rules, result.chart, result.hands);
        const double upChance = static_cast<double>(shoe.count[static_cast<size_t>(up)]) / shoe.cards;
        playerValue += upChance * upCard.value;
        if (up == kAce)
            result.insurance = upCard.insurance;
    }
    result.edge = -playerValue;
    return result;
}

std::vector<RuleValue> ruleValues(int decks)
{
    struct Variation {
        const char* rule;
        void (*takeAway)(Rules&);
    };
    constexpr std::array<Variation, 5> kVariations{{
        {"blackjack paid 3 to 2, not 6 to 5", [](Rules& rules) { rules.blackjackPays = 1.2; }},
        {"a dealer blackjack takes one stake after a double or split",
         [](Rules& rules) { rules.blackjackTakesFirstStake = false; }},
        {"doubling after a split", [](Rules& rules) { rules.doubleAfterSplit = false; }},
        {"doubling on any two cards", [](Rules& rules) { rules.doubleDown = false; }},
        {"splitting pairs", [](Rules& rules) { rules.split = false; }},
    }};
    const double edge = analyseShoe(decks).edge;
    std::vector<RuleValue> values;
    for (const Variation& variation : kVariations) {
        Rules without;
        variation.takeAway(without);
        values.push_back({variation.rule, analyseShoe(decks, without).edge - edge});
    }
    return values;
}
