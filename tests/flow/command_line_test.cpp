#include "flow/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CommandLineCase {
    std::vector<std::string> arguments;
    bool play;
    int exitStatus;
    std::string outputBegins; // the first line of standard output
    std::string error;        // all of standard error
};

TEST(CommandLine, each_argument_list_plays_prints_or_refuses_with_its_status)
{
    const std::string usage = "Usage: blackjack [--help | --version]\n";
    const std::string version = "blackjack 3.1\n";
    const std::vector<CommandLineCase> cases = {
        {{}, true, 0, "", ""},
        {{"--help"}, false, 0, usage, ""},
        {{"-h"}, false, 0, usage, ""},
        {{"--version"}, false, 0, version, ""},
        {{"-V"}, false, 0, version, ""},
        {{"-V", "--help"}, false, 0, version, ""},
        {{"--bogus"}, false, 2, "", "blackjack: unknown argument '--bogus'; see 'blackjack --help'.\n"},
        {{"--help", "-v"}, false, 2, "", "blackjack: unknown argument '-v'; see 'blackjack --help'.\n"},
        {{"--HELP"}, false, 2, "", "blackjack: unknown argument '--HELP'; see 'blackjack --help'.\n"},
        {{""}, false, 2, "", "blackjack: unknown argument ''; see 'blackjack --help'.\n"},
        // An argument is never echoed as an escape sequence that would act on the terminal.
        {{"\x1b[2J\n"}, false, 2, "", "blackjack: unknown argument '\\x1b[2J\\x0a'; see 'blackjack --help'.\n"},
    };
    for (const CommandLineCase& command : cases) {
        SCOPED_TRACE(testing::PrintToString(command.arguments));
        const CommandLineOutcome outcome = readCommandLine(command.arguments, {"data", "/usr/share/blackjack/data"});
        EXPECT_EQ(outcome.play, command.play);
        EXPECT_EQ(outcome.exitStatus, command.exitStatus);
        EXPECT_EQ(outcome.standardOutput.substr(0, command.outputBegins.size()), command.outputBegins);
        EXPECT_EQ(outcome.standardOutput.empty(), command.outputBegins.empty());
        EXPECT_EQ(outcome.standardError, command.error);
    }
}

TEST(CommandLine, usage_ends_with_the_sound_folders_in_order)
{
    // An absolute path on every system ("/opt/game/data" is not one on Windows).
    const std::filesystem::path installed = std::filesystem::current_path() / "game" / "data";
    const CommandLineOutcome outcome = readCommandLine({"--help"}, {"data", installed});
    EXPECT_TRUE(outcome.standardOutput.ends_with("in order:\n  data (of the working folder)\n  " + installed.string() + "\n")) << outcome.standardOutput;
}

} // namespace
