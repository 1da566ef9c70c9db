// The sound files the build synthesizes into its data folder, read back as a WAV reader would.
#include "console/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <ostream>
#include <string>
#include <vector>

namespace {

const std::filesystem::path kGeneratedData = BLACKJACK_BUILD_DIR "/data";

struct WavFile {
    bool valid = false;
    std::string problem;
    int sampleRate = 0;
    std::vector<std::int16_t> samples;

    double seconds() const { return static_cast<double>(samples.size()) / sampleRate; }
};

std::uint32_t readLittleEndian(const std::vector<unsigned char>& bytes, size_t at, int width)
{
    std::uint32_t value = 0;
    for (int byte = width - 1; byte >= 0; --byte)
        value = value << 8 | bytes[at + static_cast<size_t>(byte)];
    return value;
}

WavFile rejected(std::string problem)
{
    WavFile wav;
    wav.problem = std::move(problem);
    return wav;
}

// Accepts exactly the canonical layout: RIFF, WAVE, a 16-byte fmt chunk for 16-bit PCM mono
// at 22.05 or 44.1 kHz, then the data chunk running to the end of the file.
WavFile readWav(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    WavFile wav;
    const auto text = [&bytes](size_t at) { return std::string(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 4); };
    const auto field = [&bytes](size_t at, int width) { return readLittleEndian(bytes, at, width); };
    if (bytes.size() < 44)
        return rejected("shorter than a header");
    if (text(0) != "RIFF" || text(8) != "WAVE" || field(4, 4) != bytes.size() - 8)
        return rejected("not a RIFF WAVE file of this size");
    if (text(12) != "fmt " || field(16, 4) != 16 || field(20, 2) != 1)
        return rejected("not PCM");
    wav.sampleRate = static_cast<int>(field(24, 4));
    if (field(22, 2) != 1 || field(34, 2) != 16 || field(32, 2) != 2 || field(28, 4) != field(24, 4) * 2)
        return rejected("not 16-bit mono");
    if (wav.sampleRate != 44100 && wav.sampleRate != 22050)
        return rejected("rate " + std::to_string(wav.sampleRate));
    if (text(36) != "data" || field(40, 4) != bytes.size() - 44)
        return rejected("the data chunk does not fill the file");
    for (size_t at = 44; at + 1 < bytes.size(); at += 2)
        wav.samples.push_back(static_cast<std::int16_t>(field(at, 2)));
    wav.valid = true;
    return wav;
}

struct LengthCase {
    const char* file;
    double shortest;  // seconds
    double longest;
};

std::ostream& operator<<(std::ostream& out, const LengthCase& scenario)
{
    return out << scenario.file;
}

class GeneratedSound : public testing::TestWithParam<LengthCase> {};

TEST_P(GeneratedSound, IsSixteenBitMonoPcmOfItsLengthFadingInAndOut)
{
    const WavFile wav = readWav(kGeneratedData / GetParam().file);
    ASSERT_TRUE(wav.valid) << wav.problem;
    EXPECT_GE(wav.seconds(), GetParam().shortest);
    EXPECT_LE(wav.seconds(), GetParam().longest);

    // No click: it begins and ends on silence and takes more than a millisecond to swell or die.
    EXPECT_LT(std::abs(wav.samples.front()), 100);
    EXPECT_LT(std::abs(wav.samples.back()), 100);
    const size_t millisecond = static_cast<size_t>(wav.sampleRate / 1000);
    int edgeLoudest = 0;
    int loudest = 0;
    for (size_t index = 0; index < wav.samples.size(); ++index) {
        const int level = std::abs(wav.samples[index]);
        loudest = std::max(loudest, level);
        if (index < millisecond || index >= wav.samples.size() - millisecond)
            edgeLoudest = std::max(edgeLoudest, level);
    }
    EXPECT_LT(edgeLoudest, 3277) << "a tenth of full scale within a millisecond of an edge";
    EXPECT_LT(loudest, 32000);
    EXPECT_GT(loudest, 3000) << "too quiet to hear";
}

// A card is a snap; most cues are under a second; the final jingles a little longer.
INSTANTIATE_TEST_SUITE_P(Files, GeneratedSound, testing::Values(
    LengthCase{"card.wav", 0.06, 0.15}, LengthCase{"coin.wav", 0.1, 0.6},
    LengthCase{"tap.wav", 0.05, 0.4}, LengthCase{"riffle.wav", 0.3, 1.0},
    LengthCase{"win.wav", 0.2, 1.0}, LengthCase{"lose.wav", 0.2, 1.0},
    LengthCase{"push.wav", 0.2, 1.0}, LengthCase{"bj.wav", 0.3, 1.0},
    LengthCase{"error.wav", 0.1, 0.6}, LengthCase{"chair.wav", 0.2, 1.0},
    LengthCase{"open.wav", 0.5, 2.0}, LengthCase{"intro.wav", 0.5, 2.0},
    LengthCase{"bye.wav", 0.2, 1.0}, LengthCase{"close.wav", 0.3, 1.5},
    LengthCase{"winfin.wav", 0.5, 2.0}, LengthCase{"losfin.wav", 0.5, 2.0},
    LengthCase{"evenfin.wav", 0.5, 2.0}, LengthCase{"broke.wav", 0.5, 2.0}));

TEST(GeneratedSounds, EveryCueFileIsThereAndTheOpeningLastsUnderThreeSeconds)
{
    double opening = 0.0;
    for (const std::string_view file : allSoundFiles())
        EXPECT_TRUE(readWav(kGeneratedData / file).valid) << file;
    for (const std::string_view file : cueFiles(SoundCue::CueOpening))
        opening += readWav(kGeneratedData / file).seconds();
    EXPECT_LT(opening, 3.0);
}

} // namespace
