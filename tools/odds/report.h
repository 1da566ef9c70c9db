// What blackjack-odds prints: the chart (in a strategy card's colours on a terminal), the table of
// edges by deck count with any simulation beside them, and the same figures as JSON for scripts.
#pragma once

#include "analysis.h"
#include "simulate.h"

#include <optional>
#include <string>
#include <vector>

struct DeckReport {
    DeckOdds odds;
    std::optional<Simulation> simulation;
    std::vector<RuleValue> ruleValues;  // for the deck count whose chart is shown
};

// The chart in 80 columns: hard totals on the left, soft totals and pairs on the right, then the
// hit-or-stand decisions of hands of three or more cards where they differ from two-card hands.
std::string chartText(const Chart& chart, int decks, bool colour);

// Where another deck count's chart differs from `reference`, one line, or empty if nowhere.
std::string chartDifferences(const Chart& reference, const Chart& other, int decks);

std::string ruleTable(const std::vector<RuleValue>& values, int decks);

std::string edgeTable(const std::vector<DeckReport>& reports, std::uint64_t seed);

std::string jsonReport(const std::vector<DeckReport>& reports, std::uint64_t seed, const std::string& version);
