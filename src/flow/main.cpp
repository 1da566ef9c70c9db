// The program: reads its command line, checks the terminal's size, takes the terminal over,
// plays one game seeded with the calendar time, and gives the terminal back.
#include "console/sound_player.h"
#include "console/terminal_backend.h"
#include "flow/command_line.h"
#include "flow/entry.h"
#include "table/game.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Libraries that report on standard error (the sound system's, when there is no sound card)
// would scribble over the game's screen: while the game runs, that goes nowhere.
void silenceDiagnosticsOnTerminal()
{
    if (isatty(STDERR_FILENO) != 1)
        return;
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0)
        return;
    dup2(nowhere, STDERR_FILENO);
    close(nowhere);
}

} // namespace

int main(int argc, char* argv[])
{
    const CommandLineOutcome command = readCommandLine({argv + 1, argv + argc}, defaultDataFolders());
    if (!command.play)
        return printCommandLineOutcome(command);
    if (const std::string problem = terminalSizeProblem(); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    silenceDiagnosticsOnTerminal();
    TerminalBackend backend;
    Game game(backend);
    const int status = runGame(game, static_cast<std::uint32_t>(std::time(nullptr)));
    backend.restoreTerminal();
    return status;
}
