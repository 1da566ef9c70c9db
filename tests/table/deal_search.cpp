#include "table/deal_search.h"

#include "console/scripted_backend.h"
#include "shoe/draw.h"
#include "table/game.h"

#include <string_view>

namespace {

constexpr std::uint32_t kSearchLimit = 200'000'000;

bool cardFitsOne(const std::string& name, int value, std::string_view wanted)
{
    if (wanted == "?")
        return true;
    if (wanted.starts_with('!'))
        return std::to_string(value) != wanted.substr(1);
    if (!wanted.empty() && wanted.front() >= '0' && wanted.front() <= '9')
        return std::to_string(value) == wanted;
    return name.starts_with(std::string(wanted) + " ");
}

bool cardFits(const std::string& name, int value, std::string_view wanted)
{
    for (;;) {
        const size_t bar = wanted.find('|');
        if (cardFitsOne(name, value, wanted.substr(0, bar)))
            return true;
        if (bar == std::string_view::npos)
            return false;
        wanted.remove_prefix(bar + 1);
    }
}

// Draws into a game that is reused from seed to seed: only the shoe starts afresh.
class Dealer {
public:
    explicit Dealer(int deckCount) { game_.table.deckCount = deckCount; }

    void start(std::uint32_t seed)
    {
        game_.shoe = Shoe{};
        seedRandom(game_.shoe, seed);
        game_.table.roundOpen = 1;
    }

    const TableState& draw()
    {
        game_.table.drawnCardValue = 0;
        drawCard(game_);
        return game_.table;
    }

private:
    ScriptedBackend backend_;
    Game game_{backend_};
};

bool matches(Dealer& dealer, std::uint32_t seed, const std::vector<std::string>& wanted)
{
    dealer.start(seed);
    for (const auto& card : wanted) {
        const TableState& table = dealer.draw();
        if (!cardFits(table.drawnCardName, table.drawnCardValue, card))
            return false;
    }
    return true;
}

std::string joined(const std::vector<std::string>& cards)
{
    std::string text;
    for (const auto& card : cards)
        text += (text.empty() ? "" : ", ") + card;
    return text;
}

} // namespace

std::vector<std::string> dealtCards(std::uint32_t seed, int deckCount, int count)
{
    Dealer dealer(deckCount);
    dealer.start(seed);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(dealer.draw().drawnCardName);
    return names;
}

bool dealMatches(std::uint32_t seed, int deckCount, const std::vector<std::string>& wanted)
{
    Dealer dealer(deckCount);
    return matches(dealer, seed, wanted);
}

std::uint32_t findSeed(int deckCount, const std::vector<std::string>& wanted)
{
    Dealer dealer(deckCount);
    for (std::uint32_t seed = 1; seed <= kSearchLimit; ++seed) {
        if (matches(dealer, seed, wanted))
            return seed;
    }
    return 0;
}

std::string checkDeal(const Deal& deal, int deckCount)
{
    if (dealMatches(deal.seed, deckCount, deal.cards))
        return {};
    const int count = static_cast<int>(deal.cards.size());
    return "seed " + std::to_string(deal.seed) + " deals "
        + joined(dealtCards(deal.seed, deckCount, count)) + " instead of " + joined(deal.cards)
        + "; seed " + std::to_string(findSeed(deckCount, deal.cards)) + " would do";
}
