#include "console/sound_player.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <system_error>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

// What the game's own files hold, so that they play without conversion; other files are
// converted once, as they are loaded.
constexpr int kDeviceRate = 44100;
constexpr Uint8 kDeviceChannels = 1;
// 10 ms of sound per device buffer: short enough that a cue ends close to its own length, and
// a whole number of milliseconds, which drivers that pace themselves by the millisecond need.
constexpr Uint16 kDeviceBufferFrames = 441;
// A queue still full this long after the sound should have ended means the device has stalled.
constexpr Milliseconds kStallMargin{1000};
constexpr Milliseconds kLongestPoll{20};

// Keeps standard error quiet while SDL and the audio libraries beneath it (ALSA, PulseAudio,
// PipeWire) start up, open or close a device: without a sound card they write diagnostics
// there, which would land on the game's screen.
class QuietStandardError {
public:
    QuietStandardError()
    {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && nowhere >= 0)
            dup2(nowhere, STDERR_FILENO);
        if (nowhere >= 0)
            close(nowhere);
    }
    ~QuietStandardError()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_ = -1;
};

void discardLogMessage(void*, int, SDL_LogPriority, const char*) {}

std::vector<std::filesystem::path> defaultDataFolders()
{
    std::vector<std::filesystem::path> folders{"data"};
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        folders.push_back(executable.parent_path() / "data");
    folders.emplace_back(BLACKJACK_INSTALLED_DATA_DIR);
    return folders;
}

// The file's samples in the device's format; nothing when it cannot be read or converted.
std::vector<Uint8> loadForDevice(const std::filesystem::path& file, const SDL_AudioSpec& device)
{
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(file.c_str(), &spec, &buffer, &length) == nullptr)
        return {};
    std::vector<Uint8> samples(buffer, buffer + length);
    SDL_FreeWAV(buffer);

    SDL_AudioCVT conversion{};
    const int needed = SDL_BuildAudioCVT(&conversion, spec.format, spec.channels, spec.freq,
                                         device.format, device.channels, device.freq);
    if (needed <= 0)
        return needed == 0 ? samples : std::vector<Uint8>{};
    conversion.len = static_cast<int>(length);
    samples.resize(static_cast<size_t>(length) * static_cast<size_t>(conversion.len_mult));
    conversion.buf = samples.data();
    if (SDL_ConvertAudio(&conversion) != 0)
        return {};
    samples.resize(static_cast<size_t>(conversion.len_cvt));
    return samples;
}

} // namespace

struct SoundPlayer::Audio {
    std::vector<std::filesystem::path> dataFolders;
    bool deviceTried = false;        // the first sound has tried to open the device
    bool subsystemStarted = false;
    SDL_AudioDeviceID device = 0;    // 0: no device, every sound is silence
    SDL_AudioSpec deviceSpec{};
    // Each file once loaded, in the device's format; empty for silence.
    std::map<std::string, std::vector<Uint8>, std::less<>> sounds;

    void openDevice();
    std::filesystem::path find(std::string_view fileName) const;
    const std::vector<Uint8>& samplesOf(std::string_view fileName);
    void playToEnd(const std::vector<Uint8>& samples) const;
};

void SoundPlayer::Audio::openDevice()
{
    deviceTried = true;
    // The game keeps its own signal handling, and SDL keeps its messages to itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Corvale Blackjack");
    SDL_LogSetOutputFunction(discardLogMessage, nullptr);

    const QuietStandardError quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    subsystemStarted = true;
    SDL_AudioSpec desired{};
    desired.freq = kDeviceRate;
    desired.format = AUDIO_S16SYS;
    desired.channels = kDeviceChannels;
    desired.samples = kDeviceBufferFrames;
    device = SDL_OpenAudioDevice(nullptr, 0, &desired, &deviceSpec,
                                 SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE
                                     | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (device != 0)
        SDL_PauseAudioDevice(device, 0);
}

std::filesystem::path SoundPlayer::Audio::find(std::string_view fileName) const
{
    for (const auto& folder : dataFolders) {
        std::error_code error;
        std::filesystem::path file = folder / fileName;
        if (std::filesystem::is_regular_file(file, error))
            return file;
    }
    return {};
}

const std::vector<Uint8>& SoundPlayer::Audio::samplesOf(std::string_view fileName)
{
    if (const auto known = sounds.find(fileName); known != sounds.end())
        return known->second;
    std::vector<Uint8>& samples = sounds[std::string(fileName)];
    // A missing file is silence without ever touching the audio device.
    const std::filesystem::path file = find(fileName);
    if (file.empty())
        return samples;
    if (!deviceTried)
        openDevice();
    if (device != 0)
        samples = loadForDevice(file, deviceSpec);
    return samples;
}

void SoundPlayer::Audio::playToEnd(const std::vector<Uint8>& samples) const
{
    if (SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_PLAYING)
        return;  // the device has gone away since it was opened
    if (SDL_QueueAudio(device, samples.data(), static_cast<Uint32>(samples.size())) != 0)
        return;

    const auto frameBytes = static_cast<long>(SDL_AUDIO_BITSIZE(deviceSpec.format) / 8 * deviceSpec.channels);
    const long bytesPerSecond = frameBytes * deviceSpec.freq;
    const auto durationOf = [bytesPerSecond](long bytes) { return Milliseconds(bytes * 1000 / bytesPerSecond); };
    const Milliseconds bufferLength{(deviceSpec.samples * 1000L + deviceSpec.freq - 1) / deviceSpec.freq};
    const auto deadline = Clock::now() + durationOf(static_cast<long>(samples.size())) + bufferLength + kStallMargin;

    // The queue drains one device buffer at a time: sleep until about the last one is taken,
    // then in short steps.
    while (const Uint32 queued = SDL_GetQueuedAudioSize(device)) {
        if (Clock::now() > deadline) {
            SDL_ClearQueuedAudio(device);
            return;
        }
        const Milliseconds untilLastBuffer = durationOf(queued) - bufferLength;
        std::this_thread::sleep_for(std::clamp(untilLastBuffer, Milliseconds(1), kLongestPoll));
    }
    // The last samples are in the device's own buffer now; let them play out.
    std::this_thread::sleep_for(bufferLength);
}

SoundPlayer::SoundPlayer() : SoundPlayer(defaultDataFolders()) {}

SoundPlayer::SoundPlayer(std::vector<std::filesystem::path> dataFolders)
    : audio_(std::make_unique<Audio>())
{
    audio_->dataFolders = std::move(dataFolders);
}

SoundPlayer::~SoundPlayer()
{
    if (!audio_->subsystemStarted)
        return;
    const QuietStandardError quiet;
    if (audio_->device != 0)
        SDL_CloseAudioDevice(audio_->device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundPlayer::play(std::string_view fileName)
{
    const std::vector<Uint8>& samples = audio_->samplesOf(fileName);
    if (!samples.empty())
        audio_->playToEnd(samples);
}
