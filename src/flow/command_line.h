// What the program's arguments ask for, the same on every platform: the program entry either
// plays, or prints the texts given here and exits with the status.
//   (no argument)      play
//   -h, --help         usage on standard output, status 0
//   -V, --version      version and licence on standard output, status 0
// Any other argument is refused with one line on standard error and status 2, before anything
// is drawn. When several are given, an unknown one wins, then the first of the other two.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct CommandLineOutcome {
    bool play = false;
    int exitStatus = 0;
    std::string standardOutput;
    std::string standardError;
};

// The arguments after the program's name; the folders where this build looks for its sounds,
// in order, for the usage text.
CommandLineOutcome readCommandLine(const std::vector<std::string>& arguments,
    const std::vector<std::filesystem::path>& soundFolders);

// Writes an outcome that does not play to standard output and standard error; gives its status.
int printCommandLineOutcome(const CommandLineOutcome& outcome);
