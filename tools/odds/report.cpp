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

// One row of the chart: each up card's first play, and whether the hand hits where it may not double.
struct ChartLine {
    std::string label;  // as the chart shows it: "12", "A,7", "8,8"
    std::string key;    // as JSON names it: "12", "18", "8,8"
    std::array<std::pair<Play, bool>, kTenValue + 1> cells{};  // by up card value
};

std::string pairLabel(int value)
{
    const std::string card = value == kAce ? "A" : value == kTenValue ? "T" : std::to_string(value);
    return card + "," + card;
}

std::vector<ChartLine> hardLines(const Chart& chart)
{
    std::vector<ChartLine> lines;
    for (int total = 5; total <= 20; ++total) {
        const auto slot = static_cast<size_t>(total);
        ChartLine line{std::to_string(total), std::to_string(total)};
        for (size_t up = kAce; up <= kTenValue; ++up) {
            // Hard 20 on two cards is two ten-value cards, played as the pair kept together.
            const Play play = total == 20 ? chart.pairPlay[kTenValue][up] : chart.hard[slot][up];
            line.cells[up] = {play, chart.hitHard[slot][up]};
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<ChartLine> softLines(const Chart& chart)
{
    std::vector<ChartLine> lines;
    for (int total = 13; total <= 20; ++total) {
        const auto slot = static_cast<size_t>(total);
        ChartLine line{"A," + std::to_string(total - 11), std::to_string(total)};
        for (size_t up = kAce; up <= kTenValue; ++up)
            line.cells[up] = {chart.soft[slot][up], chart.hitSoft[slot][up]};
        lines.push_back(line);
    }
    return lines;
}

std::vector<ChartLine> pairLines(const Chart& chart)
{
    std::vector<ChartLine> lines;
    for (int value = kTenValue; value >= kAce; --value) {
        const auto slot = static_cast<size_t>(value);
        const HandTotal total = handTotal(2 * value, value == kAce);
        const auto& later = total.soft ? chart.hitSoft : chart.hitHard;
        ChartLine line{pairLabel(value), pairLabel(value)};
        for (size_t up = kAce; up <= kTenValue; ++up) {
            const Play play = chart.split[slot][up] ? Play::Split : chart.pairPlay[slot][up];
            line.cells[up] = {play, later[static_cast<size_t>(total.total)][up]};
        }
        lines.push_back(line);
    }
    return lines;
}

std::string row(const ChartLine& line, bool colour)
{
    std::string text = line.label;
    text.resize(8, ' ');
    for (const int up : kUpOrder) {
        const auto [play, hits] = line.cells[static_cast<size_t>(up)];
        text += cell(play, hits, colour);
    }
    return text;
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

std::vector<std::string> hardRows(const Chart& chart, bool colour)
{
    std::vector<std::string> rows{"Hard    up card", header()};
    for (const ChartLine& line : hardLines(chart))
        rows.push_back(row(line, colour));
    return rows;
}

std::vector<std::string> softAndPairRows(const Chart& chart, bool colour)
{
    std::vector<std::string> rows{"Soft", header()};
    for (const ChartLine& line : softLines(chart))
        rows.push_back(row(line, colour));
    rows.push_back("Pairs");
    for (const ChartLine& line : pairLines(chart))
        rows.push_back(row(line, colour));
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

std::string linesJson(const std::vector<ChartLine>& lines)
{
    std::string json = "{";
    for (const ChartLine& line : lines) {
        json += std::string(&line == &lines.front() ? "\"" : ", \"") + line.key + "\": [";
        for (const int up : kUpOrder) {
            const auto [play, hits] = line.cells[static_cast<size_t>(up)];
            json += std::string(up == kUpOrder.front() ? "\"" : ", \"") + cellCode(play, hits) + "\"";
        }
        json += "]";
    }
    return json + "}";
}

// The hit-or-stand decisions of hands of three or more cards, as chart lines.
std::vector<ChartLine> laterLines(const ChartRows<bool>& hits, int lowest)
{
    std::vector<ChartLine> lines;
    for (int total = lowest; total <= 20; ++total) {
        ChartLine line{std::to_string(total), std::to_string(total)};
        for (size_t up = kAce; up <= kTenValue; ++up)
            line.cells[up] = {hits[static_cast<size_t>(total)][up] ? Play::Hit : Play::Stand, false};
        lines.push_back(line);
    }
    return lines;
}

std::string chartJson(const Chart& chart)
{
    return "{\"up_cards\": [\"2\", \"3\", \"4\", \"5\", \"6\", \"7\", \"8\", \"9\", \"10\", \"A\"], \"hard\": " +
           linesJson(hardLines(chart)) + ", \"soft\": " + linesJson(softLines(chart)) + ", \"pairs\": " +
           linesJson(pairLines(chart)) + ", \"three_or_more_cards\": {\"hard\": " +
           linesJson(laterLines(chart.hitHard, 5)) + ", \"soft\": " + linesJson(laterLines(chart.hitSoft, 13)) + "}}";
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
    auto compare = [&](const std::string& kind, const std::vector<ChartLine>& mine, const std::vector<ChartLine>& theirs) {
        for (size_t line = 0; line < mine.size(); ++line) {
            for (const int up : kUpOrder) {
                const auto upSlot = static_cast<size_t>(up);
                const auto [myPlay, iHit] = mine[line].cells[upSlot];
                const auto [theirPlay, theyHit] = theirs[line].cells[upSlot];
                const std::string code = cellCode(theirPlay, theyHit);
                if (cellCode(myPlay, iHit) != code)
                    cells += (cells.empty() ? "" : ", ") + kind + mine[line].label + " v " + kUpLabels[upSlot] + " " + code;
            }
        }
    };
    compare("hard ", hardLines(reference), hardLines(other));
    compare("", softLines(reference), softLines(other));
    compare("", pairLines(reference), pairLines(other));
    compare("3+ cards hard ", laterLines(reference.hitHard, 12), laterLines(other.hitHard, 12));
    compare("3+ cards soft ", laterLines(reference.hitSoft, 13), laterLines(other.hitSoft, 13));
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
