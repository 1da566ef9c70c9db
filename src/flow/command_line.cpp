#include "flow/command_line.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view kUsage =
    "Usage: blackjack [--help | --version]\n"
    "\n"
    "Casino blackjack for the text terminal: one player against the dealer, a bankroll of\n"
    "$1000, bets of $5 to $100 from a shoe of 1 to 8 decks. The terminal must be at least\n"
    "80 columns by 24 rows.\n"
    "\n"
    "Keys:\n"
    "  set-up questions  Y or N; 1 to 8 for the number of decks; Escape leaves\n"
    "  rule pages        C continues, B backs up, R returns to the game, Escape leaves\n"
    "  bet prompt        an amount from 5 to 100, then Enter; Enter alone bets the last\n"
    "                    stake again; 999 stops playing\n"
    "  during a round    S stands, H hits, D doubles down; Y or N to a split or insurance\n"
    "  farewell          Escape\n"
#ifdef _WIN32
    "  Ctrl+C            ends the game at any moment\n"
#else
    "  Ctrl+C            ends the game at any moment; Ctrl+Z suspends it\n"
#endif
    "\n"
    "Answers may also come from a pipe or a file, one per line or as a stream of keys.\n"
    "\n"
    "Options:\n"
    "  -h, --help        show this text and exit\n"
    "  -V, --version     show the version and the licence and exit\n"
    "\n"
    "The sound files (open.wav, win.wav, ...) are looked for in these folders, in order:\n";

constexpr std::string_view kVersion =
    "blackjack " BLACKJACK_VERSION "\n"
    "Copyright (c) 2026 The Corvale Blackjack developers.\n"
    "Free software under the MIT licence: see the LICENSE file.\n";

bool isHelp(std::string_view argument)
{
    return argument == "-h" || argument == "--help";
}

bool isVersion(std::string_view argument)
{
    return argument == "-V" || argument == "--version";
}

// The argument as it can safely go to a terminal: control bytes (an escape sequence would act
// on the player's screen) are written as \xNN.
std::string printable(std::string_view argument)
{
    std::string shown;
    for (const char byte : argument) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 32 || code == 127) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", code);
            shown += escaped;
        } else {
            shown += byte;
        }
    }
    return shown;
}

std::string usage(const std::vector<std::filesystem::path>& soundFolders)
{
    std::string text(kUsage);
    for (const auto& folder : soundFolders)
        text += "  " + folder.string() + (folder.is_relative() ? " (of the working folder)\n" : "\n");
    return text;
}

} // namespace

CommandLineOutcome readCommandLine(const std::vector<std::string>& arguments,
    const std::vector<std::filesystem::path>& soundFolders)
{
    const auto unknown = std::find_if(arguments.begin(), arguments.end(),
        [](const std::string& argument) { return !isHelp(argument) && !isVersion(argument); });
    if (unknown != arguments.end())
        return {false, 2, "", "blackjack: unknown argument '" + printable(*unknown) + "'; see 'blackjack --help'.\n"};
    if (arguments.empty())
        return {true, 0, "", ""};
    if (isHelp(arguments.front()))
        return {false, 0, usage(soundFolders), ""};
    return {false, 0, std::string(kVersion), ""};
}

int printCommandLineOutcome(const CommandLineOutcome& outcome)
{
    std::fputs(outcome.standardOutput.c_str(), stdout);
    std::fputs(outcome.standardError.c_str(), stderr);
    return outcome.exitStatus;
}
