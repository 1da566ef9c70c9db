#include "console/sound_player.h"

#include "console/sound.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

const std::filesystem::path kGeneratedData = BLACKJACK_BUILD_DIR "/data";

std::vector<char> readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The samples of a WAV file as SDL reads them.
std::vector<char> samplesOf(const std::filesystem::path& file)
{
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(file.c_str(), &spec, &buffer, &length) == nullptr)
        return {};
    std::vector<char> samples(buffer, buffer + length);
    SDL_FreeWAV(buffer);
    return samples;
}

// The game's files are 16-bit mono at 44.1 kHz.
Milliseconds lengthOf(const std::vector<char>& samples)
{
    return Milliseconds(samples.size() / 2 * 1000 / 44100);
}

// Every test gets its own audio set-up in the environment, and a folder of its own.
class SoundPlayerTest : public testing::Test {
protected:
    std::filesystem::path folder;
    std::filesystem::path diskOutput;

    void SetUp() override
    {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::path(testing::TempDir())
                 / ("sound-player-" + std::string(test->name()) + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        diskOutput = folder / "output.raw";
        useAudio("disk");
        setenv("SDL_DISKAUDIOFILE", diskOutput.c_str(), 1);
    }

    void TearDown() override
    {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        unsetenv("AUDIODEV");
        std::filesystem::remove_all(folder);
    }

    static void useAudio(const char* driver) { setenv("SDL_AUDIODRIVER", driver, 1); }

    void writeFile(const std::string& name, const std::string& content) const
    {
        std::ofstream(folder / name, std::ios::binary) << content;
    }

    static Milliseconds timePlaying(SoundPlayer& player, std::string_view file)
    {
        const auto start = Clock::now();
        player.play(file);
        return std::chrono::duration_cast<Milliseconds>(Clock::now() - start);
    }
};

TEST_F(SoundPlayerTest, WritesTheSoundsSamplesAndReturnsOnlyOnceItHasPlayed)
{
    for (const std::string_view file : {"card.wav", "win.wav"}) {
        const std::vector<char> expected = samplesOf(kGeneratedData / file);
        ASSERT_FALSE(expected.empty()) << file;
        Milliseconds elapsed{};
        {
            SoundPlayer player({kGeneratedData});
            elapsed = timePlaying(player, file);
        }
        EXPECT_GE(elapsed, lengthOf(expected)) << file;
        EXPECT_LT(elapsed, lengthOf(expected) + Milliseconds(300)) << file;
        const std::vector<char> written = readFile(diskOutput);
        EXPECT_NE(std::search(written.begin(), written.end(), expected.begin(), expected.end()), written.end())
            << file << ": its samples are not in the device's output";
    }
}

TEST_F(SoundPlayerTest, PlaysAFileFromTheSecondFolderWhenTheFirstLacksIt)
{
    const std::vector<char> expected = samplesOf(kGeneratedData / "tap.wav");
    {
        SoundPlayer player({folder / "data", kGeneratedData});
        player.play("tap.wav");
    }
    const std::vector<char> written = readFile(diskOutput);
    EXPECT_NE(std::search(written.begin(), written.end(), expected.begin(), expected.end()), written.end());
}

TEST_F(SoundPlayerTest, WithoutTheFilesEverySoundIsSilentAtOnceAndTheDeviceStaysShut)
{
    SoundPlayer player({folder / "data"});
    const auto start = Clock::now();
    for (const std::string_view file : allSoundFiles())
        player.play(file);
    EXPECT_LT(Clock::now() - start, Milliseconds(50));
    EXPECT_FALSE(std::filesystem::exists(diskOutput));
}

TEST_F(SoundPlayerTest, UnreadableFilesAreSilentAtOnce)
{
    writeFile("empty.wav", "");
    writeFile("text.wav", "not a sound at all");
    writeFile("header.wav", std::string("RIFF\x24\x00\x00\x00WAVEfmt ", 16));
    writeFile("folder.wav", "");
    std::filesystem::remove(folder / "folder.wav");
    std::filesystem::create_directory(folder / "folder.wav");

    {
        SoundPlayer player({folder});
        for (const std::string_view file : {"empty.wav", "text.wav", "header.wav", "folder.wav"})
            EXPECT_LT(timePlaying(player, file), Milliseconds(50)) << file;
    }
    const std::vector<char> written = readFile(diskOutput);
    EXPECT_TRUE(std::all_of(written.begin(), written.end(), [](char byte) { return byte == 0; }));
}

TEST_F(SoundPlayerTest, WithoutAnAudioDeviceNothingIsPrintedAndSoundsAreSilent)
{
    // An ALSA device that does not exist: the library would say so on standard error.
    useAudio("alsa");
    setenv("AUDIODEV", "blackjack-no-such-device", 1);
    const std::filesystem::path captured = folder / "stderr.txt";
    std::fflush(stderr);
    const int savedError = dup(STDERR_FILENO);
    std::FILE* capture = std::fopen(captured.c_str(), "w");
    ASSERT_NE(capture, nullptr);
    dup2(fileno(capture), STDERR_FILENO);

    Milliseconds elapsed{};
    {
        SoundPlayer player({kGeneratedData});
        elapsed = timePlaying(player, "win.wav") + timePlaying(player, "lose.wav");
    }

    std::fflush(stderr);
    dup2(savedError, STDERR_FILENO);
    close(savedError);
    std::fclose(capture);
    EXPECT_LT(elapsed, Milliseconds(200));
    const std::vector<char> printed = readFile(captured);
    EXPECT_TRUE(printed.empty()) << std::string(printed.begin(), printed.end());
}

} // namespace
