// blackjack-odds: the exact house edge and best play of this table, checked by simulation.
#include "analysis.h"
#include "report.h"
#include "simulate.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* kUsage =
    "Usage: blackjack-odds [--decks N] [--simulate N] [--threads N] [--seed N] [--json] [--help] [--version]\n"
    "\n"
    "The exact house edge of this blackjack table, and the chart that plays it best, for a shoe\n"
    "of 1 to 8 decks.\n"
    "\n"
    "  --decks N     one shoe of N decks (1 to 8); without it, all eight in one table\n"
    "  --simulate N  also play N hands by the chart on a fair shoe and on the game's own shoe\n"
    "  --threads N   threads for the simulation (default: every core)\n"
    "  --seed N      seed of the simulation (default 1)\n"
    "  --json        the figures and the chart as JSON\n"
    "  --help        this text\n"
    "  --version     the program's version\n";

// The reference chart shown when every deck count is asked for.
constexpr int kReferenceDecks = 6;

struct Options {
    int decks = 0;  // 0: all eight
    long long hands = 0;
    int threads = 0;
    std::uint64_t seed = 1;
    bool json = false;
};

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "blackjack-odds: %s\n\n%s", message.c_str(), kUsage);
    std::exit(2);
}

template <typename Number>
Number numberArgument(int& index, int argc, char** argv, Number lowest, Number highest)
{
    const std::string_view name = argv[index];
    if (index + 1 >= argc)
        fail(std::string(name) + " needs a number");
    const std::string_view text = argv[++index];
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < lowest || value > highest)
        fail(std::string(name) + " takes a number from " + std::to_string(lowest) + " to " + std::to_string(highest) +
             ", not '" + std::string(text) + "'");
    return value;
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (argument == "--decks")
            options.decks = numberArgument(index, argc, argv, 1, 8);
        else if (argument == "--simulate")
            options.hands = numberArgument(index, argc, argv, 0LL, 1'000'000'000'000LL);
        else if (argument == "--threads")
            options.threads = numberArgument(index, argc, argv, 1, 1024);
        else if (argument == "--seed")
            options.seed = numberArgument(index, argc, argv, std::uint64_t{0}, ~std::uint64_t{0});
        else if (argument == "--json")
            options.json = true;
        else if (argument == "--help") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (argument == "--version") {
            std::printf("blackjack-odds %s\n", BLACKJACK_VERSION);
            std::exit(0);
        } else {
            fail("unknown option '" + std::string(argument) + "'");
        }
    }
    if (options.threads == 0)
        options.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    return options;
}

bool colourTerminal()
{
    const char* term = std::getenv("TERM");
    return isatty(STDOUT_FILENO) != 0 && std::getenv("NO_COLOR") == nullptr && term != nullptr &&
           std::string_view(term) != "dumb";
}

// A progress line on the terminal, for runs long enough to call for one.
SimulationRequest::Progress progressLine(int decks)
{
    if (isatty(STDERR_FILENO) == 0)
        return {};
    return [decks](double done) {
        std::fprintf(stderr, "\r%d decks: %3.0f%% of the hands played", decks, 100 * done);
        std::fflush(stderr);
    };
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = parseOptions(argc, argv);
    std::vector<DeckReport> reports;
    for (int decks = options.decks == 0 ? 1 : options.decks; decks <= (options.decks == 0 ? 8 : options.decks); ++decks) {
        DeckReport report{analyseShoe(decks), std::nullopt, {}};
        if (options.hands > 0) {
            SimulationRequest request{decks, options.hands, options.threads, options.seed, progressLine(decks)};
            report.simulation = simulate(report.odds.chart, request);
            if (request.progress)
                std::fputs("\r\x1b[K", stderr);
        }
        reports.push_back(std::move(report));
    }

    DeckReport& shown = options.decks == 0 ? reports[kReferenceDecks - 1] : reports.front();
    shown.ruleValues = ruleValues(shown.odds.decks);

    if (options.json) {
        std::fputs(jsonReport(reports, options.seed, BLACKJACK_VERSION).c_str(), stdout);
        return 0;
    }
    const bool colour = colourTerminal();
    std::string text = edgeTable(reports, options.seed) + "\n" + ruleTable(shown.ruleValues, shown.odds.decks) + "\n" +
                       chartText(shown.odds.chart, shown.odds.decks, colour);
    if (options.decks == 0) {
        std::string differences;
        for (const DeckReport& report : reports) {
            const std::string line = chartDifferences(shown.odds.chart, report.odds.chart, report.odds.decks);
            if (!line.empty())
                differences += line;
        }
        if (!differences.empty())
            text += "\nWhere other shoes play otherwise:\n" + differences;
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}
