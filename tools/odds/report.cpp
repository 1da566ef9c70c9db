#include "report.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace {

// Strategy-card colours, on a black-lettered background: stand red, hit green, double yellow,
// split blue.
constexpr std::array kPlayColours = {"\x1b[30;41m", "\x1b[30;42m", "\x1b[30;43m", "\x1b[37;44m"};
constexpr const char* kColourOff = "\x1b[0m";
constexpr std::array kUpLabels = {"", "A", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

std::string format(const char* pattern, double value)
{
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), pattern, value);
    return text.data();
}

std::string percent(double fraction)
{
    return format("%.3f%%", 100 * fraction);
}

// Up cards in a chart's order: 2 to 10, then the ace.
constexpr std::array kUpOrder = {2, 3, 4, 5, 6, 7, 8, 9, 10, 1};

// A cell: S stand, H hit, P split, Dh double (hit if doubling is not allowed), Ds the same but stand.
std::string cellCode(Play play, bool hitsWithoutDouble)
{
    switch (play) {
    case Play::Stand: return "S";
    case Play::Hit: return "H";
    case Play::Split: return "P";
    case Play::Double: return hitsWithoutDouble ? "Dh" : "Ds";
    }
    return "?";
}

std::string cell(Play play, bool hitsWithoutDouble, bool colour)
{
    std::string code = cellCode(play, hitsWithoutDouble);
    code.resize(3, ' ');
    if (!colour)
        return code;
    return kPlayColours[static_cast<size_t>(play)] + code + kColourOff;
}

std::string row(const std::string& label, bool colour, auto playAt)
{
    std::string line = label;
    line.resize(8, ' ');
    for (const int up : kUpOrder) {
        const auto [play, hits] = playAt(static_cast<size_t>(up));
        line += cell(play, hits, colour);
    }
    return line;
}

std::string header()
{
    std::string line = "        ";
    for (const int up : kUpOrder) {
        std::string label = kUpLabels[static_cast<size_t>(up)];
        label.resize(3, ' ');
        line += label;
    }
    return line;
}

std::string pairLabel(int value)
{
    const std::string card = value == kAce ? "A" : value == kTenValue ? "T" : std::to_string(value);
    return card + "," + card;
}

std::vector<std::string> hardRows(const Chart& chart, bool colour)
{
    std::vector<std::string> rows{"Hard    up card", header()};
    for (int total = 5; total <= 20; ++total) {
        const auto slot = static_cast<size_t>(total);
        rows.push_back(row(std::to_string(total), colour, [&](size_t up) {
            // Hard 20 on two cards is two ten-value cards, played as the pair kept together.
            const Play play = total == 20 ? chart.pairPlay[kTenValue][up] : chart.hard[slot][up];
            return std::pair{play, chart.hitHard[slot][up]};
        }));
    }
    return rows;
}

std::vector<std::string> softAndPairRows(const Chart& chart, bool colour)
{
    std::vector<std::string> rows{"Soft", header()};
    for (int total = 13; total <= 20; ++total) {
        const auto slot = static_cast<size_t>(total);
        rows.push_back(row("A," + std::to_string(total - 11), colour, [&](size_t up) {
            return std::pair{chart.soft[slot][up], chart.hitSoft[slot][up]};
        }));
    }
    rows.push_back("Pairs");
    for (int value = kTenValue; value >= kAce; --value) {
        const auto slot = static_cast<size_t>(value);
        rows.push_back(row(pairLabel(value), colour, [&](size_t up) {
            const Play play = chart.split[slot][up] ? Play::Split : chart.pairPlay[slot][up];
            const HandTotal total = handTotal(2 * value, value == kAce);
            const auto& later = total.soft ? chart.hitSoft : chart.hitHard;
            return std::pair{play, later[static_cast<size_t>(total.total)][up]};
        }));
    }
    return rows;
}

// Hit-or-stand decisions on three or more cards that differ from the same total on two cards.
std::string laterNotes(const Chart& chart)
{
    std::string notes;
    auto note = [&](const char* kind, int total, const auto& first, const auto& later) {
        const auto slot = static_cast<size_t>(total);
        for (const int up : kUpOrder) {
            const auto upSlot = static_cast<size_t>(up);
            const Play play = first[slot][upSlot];
            if (play == Play::Double || (play == Play::Hit) == later[slot][upSlot])
                continue;
            notes += std::string(notes.empty() ? "" : "; ") + (later[slot][upSlot] ? "hit " : "stand ") + kind +
                     std::to_string(total) + " against " + kUpLabels[upSlot];
        }
    };
    for (int total = 5; total <= 19; ++total)
        note("hard ", total, chart.hard, chart.hitHard);
    for (int total = 13; total <= 20; ++total)
        note("soft ", total, chart.soft, chart.hitSoft);
    return notes;
}

std::string estimateText(const Estimate& estimate, bool signedEdge)
{
    return format(signedEdge ? "%+.3f%%" : "%.3f%%", 100 * estimate.edge) + format(" +- %.3f%%", 100 * estimate.margin);
}

// A paragraph broken into lines of at most 80 columns, later lines indented. It breaks only at a
// space after a comma, a semicolon or a colon, so that no item of a list is cut in two.
std::string wrapped(const std::string& paragraph, const std::string& indent)
{
    constexpr size_t kWidth = 80;
    std::string text;
    size_t lastSpace = std::string::npos;
    std::string line;
    for (const char letter : paragraph) {
        line += letter;
        if (letter == ' ' && line.size() >= 2 && std::string_view(",;:").find(line[line.size() - 2]) != std::string_view::npos)
            lastSpace = line.size() - 1;
        if (line.size() > kWidth && lastSpace != std::string::npos) {
            text += line.substr(0, lastSpace) + "\n";
            line = indent + line.substr(lastSpace + 1);
            lastSpace = std::string::npos;
        }
    }
    return text + line + "\n";
}

std::string padded(std::string text, size_t width)
{
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

std::string chartJson(const Chart& chart)
{
    auto codes = [&](auto playAt) {
        std::string list = "[";
        for (const int up : kUpOrder) {
            const auto [play, hits] = playAt(static_cast<size_t>(up));
            list += std::string(list.size() > 1 ? ", " : "") + "\"" + cellCode(play, hits) + "\"";
        }
        return list + "]";
    };
    std::string json = "{\"up_cards\": [\"2\", \"3\", \"4\", \"5\", \"6\", \"7\", \"8\", \"9\", \"10\", \"A\"], \"hard\": {";
    for (int total = 5; total <= 20; ++total) {
        const auto slot = static_cast<size_t>(total);
        json += (total > 5 ? ", \"" : "\"") + std::to_string(total) + "\": " + codes([&](size_t up) {
            const Play play = total == 20 ? chart.pairPlay[kTenValue][up] : chart.hard[slot][up];
            return std::pair{play, chart.hitHard[slot][up]};
        });
    }
    json += "}, \"soft\": {";
    for (int total = 13; total <= 20; ++total) {
        const auto slot = static_cast<size_t>(total);
        json += (total > 13 ? ", \"" : "\"") + std::to_string(total) + "\": " + codes([&](size_t up) {
            return std::pair{chart.soft[slot][up], chart.hitSoft[slot][up]};
        });
    }
    json += "}, \"pairs\": {";
    for (int value = kTenValue; value >= kAce; --value) {
        const auto slot = static_cast<size_t>(value);
        json += (value < kTenValue ? ", \"" : "\"") + pairLabel(value) + "\": " + codes([&](size_t up) {
            const HandTotal total = handTotal(2 * value, value == kAce);
            const auto& later = total.soft ? chart.hitSoft : chart.hitHard;
            return std::pair{chart.split[slot][up] ? Play::Split : chart.pairPlay[slot][up],
                             later[static_cast<size_t>(total.total)][up]};
        });
    }
    json += "}, \"three_or_more_cards\": {";
    for (int soft = 0; soft <= 1; ++soft) {
        const auto& rows = soft != 0 ? chart.hitSoft : chart.hitHard;
        json += soft != 0 ? ", \"soft\": {" : "\"hard\": {";
        const int lowest = soft != 0 ? 13 : 5;
        for (int total = lowest; total <= 20; ++total) {
            const auto slot = static_cast<size_t>(total);
            json += (total > lowest ? ", \"" : "\"") + std::to_string(total) + "\": " + codes([&](size_t up) {
                return std::pair{rows[slot][up] ? Play::Hit : Play::Stand, false};
            });
        }
        json += "}";
    }
    return json + "}}";
}

std::string estimateJson(const Estimate& estimate)
{
    return format("{\"house_edge_percent\": %.5f, ", 100 * estimate.edge) +
           format("\"margin_95_percent\": %.5f}", 100 * estimate.margin);
}

} // namespace

std::string chartText(const Chart& chart, int decks, bool colour)
{
    std::string text = "The chart for " + std::to_string(decks) + (decks == 1 ? " deck" : " decks") +
                       ": S stand, H hit, P split,\nDh double (or hit where doubling is not allowed), "
                       "Ds double (or stand)\n\n";
    const std::vector<std::string> left = hardRows(chart, colour);
    const std::vector<std::string> right = softAndPairRows(chart, colour);
    for (size_t line = 0; line < std::max(left.size(), right.size()); ++line) {
        std::string leftText = line < left.size() ? left[line] : "";
        // Colour codes take no room on the screen: pad by what shows.
        const size_t shown = line < left.size() && line >= 2 ? 38 : leftText.size();
        leftText += std::string(shown < 41 ? 41 - shown : 1, ' ');
        std::string shownLine = leftText + (line < right.size() ? right[line] : "");
        shownLine.erase(shownLine.find_last_not_of(' ') + 1);
        text += shownLine + "\n";
    }
    const std::string notes = laterNotes(chart);
    if (!notes.empty())
        text += "\n" + wrapped("With three or more cards: " + notes + ".", "");
    return text;
}

std::string chartDifferences(const Chart& reference, const Chart& other, int decks)
{
    std::string cells;
    auto compare = [&](const std::string& label, Play mine, Play theirs, bool hitsMine, bool hitsTheirs, size_t up) {
        if (mine == theirs && (mine != Play::Double || hitsMine == hitsTheirs))
            return;
        cells += (cells.empty() ? "" : ", ") + label + " v " + kUpLabels[up] + " " + cellCode(theirs, hitsTheirs);
    };
    for (const int upValue : kUpOrder) {
        const auto up = static_cast<size_t>(upValue);
        for (size_t total = 5; total <= 19; ++total)
            compare("hard " + std::to_string(total), reference.hard[total][up], other.hard[total][up],
                    reference.hitHard[total][up], other.hitHard[total][up], up);
        for (size_t total = 13; total <= 20; ++total)
            compare("soft " + std::to_string(total), reference.soft[total][up], other.soft[total][up],
                    reference.hitSoft[total][up], other.hitSoft[total][up], up);
        for (int value = kAce; value <= kTenValue; ++value) {
            const auto slot = static_cast<size_t>(value);
            const Play mine = reference.split[slot][up] ? Play::Split : reference.pairPlay[slot][up];
            const Play theirs = other.split[slot][up] ? Play::Split : other.pairPlay[slot][up];
            compare(pairLabel(value), mine, theirs, true, true, up);
        }
        for (size_t total = 12; total <= 20; ++total) {
            if (reference.hitHard[total][up] != other.hitHard[total][up])
                cells += (cells.empty() ? "" : ", ") + std::string("hard ") + std::to_string(total) + " v " +
                         kUpLabels[up] + (other.hitHard[total][up] ? " hit" : " stand") + " on 3+ cards";
        }
    }
    if (cells.empty())
        return "";
    return wrapped("  " + std::to_string(decks) + (decks == 1 ? " deck: " : " decks: ") + cells, "    ");
}

std::string ruleTable(const std::vector<RuleValue>& values, int decks)
{
    std::string text = "What each rule is worth to the player with " + std::to_string(decks) +
                       (decks == 1 ? " deck" : " decks") + "\n(the house edge without it, less the edge with it):\n";
    for (const RuleValue& value : values) {
        std::string line = std::string("  ") + value.rule;
        line.resize(66, ' ');
        text += line + format("%+.3f%%", 100 * value.value) + "\n";
    }
    return text;
}

std::string edgeTable(const std::vector<DeckReport>& reports, std::uint64_t seed)
{
    const bool simulated = !reports.empty() && reports.front().simulation.has_value();
    std::string text = simulated
        ? "Decks  Exact edge   Fair shoe, 95%        Game's shoe, 95%      Game's - fair\n"
        : "Decks  House edge   Insurance\n";
    for (const DeckReport& report : reports) {
        text += padded(std::to_string(report.odds.decks), 5) + padded(percent(report.odds.edge), 12);
        if (simulated) {
            const Simulation& run = *report.simulation;
            text += padded(estimateText(run.fairShoe, false), 21) + padded(estimateText(run.gameShoe, false), 22) +
                    padded(estimateText(run.difference, true), 21);
        } else {
            text += padded(percent(report.odds.insurance), 12);
        }
        text += "\n";
    }
    if (simulated) {
        const Simulation& run = *reports.front().simulation;
        text += "\n" + wrapped(std::to_string(run.hands) + " hands on each shoe for each deck count, seed " +
                                   std::to_string(seed) + ", " + std::to_string(run.threads) + " threads, " +
                                   format("%.1f million hands a second", run.handsPerSecond / 1e6) +
                                   format(" (the game's shoe: %.1f million a second per core).",
                                          run.gameHandsPerCoreSecond / 1e6),
                               "");
    } else {
        text += "\nThe house edge is the house's expected gain per unit staked at the start of a\n"
                "round, played by the chart; insurance is the expected gain of a unit of\n"
                "insurance when it is offered.\n";
    }
    return text;
}

std::string jsonReport(const std::vector<DeckReport>& reports, std::uint64_t seed, const std::string& version)
{
    std::string json = "{\"program\": \"blackjack-odds\", \"version\": \"" + version + "\", \"seed\": " +
                       std::to_string(seed) + ", \"results\": [";
    for (const DeckReport& report : reports) {
        json += report.odds.decks > reports.front().odds.decks ? ",\n  " : "\n  ";
        json += "{\"decks\": " + std::to_string(report.odds.decks) +
                format(", \"house_edge_percent\": %.5f", 100 * report.odds.edge) +
                format(", \"insurance_percent\": %.5f", 100 * report.odds.insurance);
        if (report.simulation) {
            const Simulation& run = *report.simulation;
            json += ", \"hands\": " + std::to_string(run.hands) + ", \"threads\": " + std::to_string(run.threads) +
                    format(", \"hands_per_second\": %.0f", run.handsPerSecond) +
                    format(", \"game_shoe_hands_per_core_second\": %.0f", run.gameHandsPerCoreSecond) +
                    ", \"fair_shoe\": " + estimateJson(run.fairShoe) + ", \"game_shoe\": " +
                    estimateJson(run.gameShoe) + ", \"game_minus_fair\": " + estimateJson(run.difference);
        }
        if (!report.ruleValues.empty()) {
            json += ", \"rule_values_percent\": {";
            for (const RuleValue& value : report.ruleValues)
                json += std::string(&value == &report.ruleValues.front() ? "\"" : ", \"") + value.rule + "\": " +
                        format("%.5f", 100 * value.value);
            json += "}";
        }
        json += ", \"chart\": " + chartJson(report.odds.chart) + "}";
    }
    return json + "\n]}\n";
}
