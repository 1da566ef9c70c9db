// Plays the game's WAV files through SDL's audio, one at a time, each to its end. The device
// is opened at the first sound and kept open; each file is loaded once. Files are looked for
// in data/ of the working directory, then data/ beside the executable, then the installed
// data folder. Anything missing (device, file, a readable file) is silence, at once.
#pragma once

#include <memory>
#include <string_view>

class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void play(std::string_view fileName);

private:
    struct Device;
    std::unique_ptr<Device> device_;
};
