// Plays the game's WAV files one at a time, each to its end: play() returns once the sound has
// been heard. Anything missing (device, file, a readable file) is silence, at once, and nothing
// is written on the screen.
//
// On POSIX systems (sound_player.cpp) the sound goes through SDL's audio, loaded when the first
// sound plays: its samples are queued, drained and out of the device's own buffer before play()
// returns. The device is opened at the first sound and kept open; each file is loaded once.
// Files are looked for in data/ of the working directory, then data/ beside the executable,
// then where the install puts them relative to the executable (../share/blackjack/data, or
// ../share/games/blackjack in the Debian package), for an install moved elsewhere, then in the
// installed data folder. Neither SDL nor the audio libraries under it write a word on the screen.
//
// On Windows (windows_sound_player.cpp) the system's own player plays each file, looked for in
// data\ beside the executable, then in data\ of the working directory.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

class SoundPlayer {
public:
    SoundPlayer();
    // Looks for the files in these folders only, in order.
    explicit SoundPlayer(std::vector<std::filesystem::path> dataFolders);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void play(std::string_view fileName);

private:
    struct Audio;
    std::unique_ptr<Audio> audio_;
};

// The folders a SoundPlayer made without its own looks in, in order.
std::vector<std::filesystem::path> defaultDataFolders();
