#include "console/sound_player.h"

#include <SDL.h>
#include <dlfcn.h>
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

// SDL is not linked but loaded when the first sound needs the device. Linked, the dynamic
// loader would map it and the fifty-odd libraries under it at every start, which is most of
// the time the game takes to show its title, for players who may well answer no to sound.
constexpr const char* kSdlLibrary = "libSDL2-2.0.so.0";

// The SDL functions the player calls, without their SDL_ prefix.
#define PLAYER_SDL_FUNCTIONS(X)                                                      \
    X(SetHint) X(LogSetOutputFunction) X(InitSubSystem) X(QuitSubSystem)             \
    X(OpenAudioDevice) X(CloseAudioDevice) X(PauseAudioDevice) X(GetAudioDeviceStatus) \
    X(QueueAudio) X(GetQueuedAudioSize) X(ClearQueuedAudio)                          \
    X(RWFromFile) X(LoadWAV_RW) X(FreeWAV) X(BuildAudioCVT) X(ConvertAudio)

// Those functions, looked up in the loaded library.
struct Sdl {
#define PLAYER_SDL_POINTER(name) decltype(&::SDL_##name) name = nullptr;
    PLAYER_SDL_FUNCTIONS(PLAYER_SDL_POINTER)
#undef PLAYER_SDL_POINTER
    // Never closed. SDL_QuitSubSystem stops the audio thread, but SDL and the audio libraries
    // beneath it keep state in their own globals past it (hints, thread-specific data with
    // destructors, the D-Bus connection that raised the audio thread's priority): unloading
    // them would leave that pointing into unmapped memory, to save nothing in the moments
    // before the game ends.
    void* library = nullptr;

    // Whether the library and every one of the functions were found.
    bool load()
    {
        library = dlopen(kSdlLibrary, RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return false;
        bool complete = true;
#define PLAYER_SDL_LOOK_UP(name)                                               \
    name = reinterpret_cast<decltype(name)>(dlsym(library, "SDL_" #name)); \
    complete = complete && name != nullptr;
        PLAYER_SDL_FUNCTIONS(PLAYER_SDL_LOOK_UP)
#undef PLAYER_SDL_LOOK_UP
        return complete;
    }
};
#undef PLAYER_SDL_FUNCTIONS

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

// The file's samples in the device's format; nothing when it cannot be read or converted.
std::vector<Uint8> loadForDevice(const Sdl& sdl, const std::filesystem::path& file, const SDL_AudioSpec& device)
{
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (sdl.LoadWAV_RW(sdl.RWFromFile(file.c_str(), "rb"), 1, &spec, &buffer, &length) == nullptr)
        return {};
    std::vector<Uint8> samples(buffer, buffer + length);
    sdl.FreeWAV(buffer);

    SDL_AudioCVT conversion{};
    const int needed = sdl.BuildAudioCVT(&conversion, spec.format, spec.channels, spec.freq,
                                         device.format, device.channels, device.freq);
    if (needed <= 0)
        return needed == 0 ? samples : std::vector<Uint8>{};
    conversion.len = static_cast<int>(length);
    samples.resize(static_cast<size_t>(length) * static_cast<size_t>(conversion.len_mult));
    conversion.buf = samples.data();
    if (sdl.ConvertAudio(&conversion) != 0)
        return {};
    samples.resize(static_cast<size_t>(conversion.len_cvt));
    return samples;
}

} // namespace

struct SoundPlayer::Audio {
    std::vector<std::filesystem::path> dataFolders;
    Sdl sdl;                         // loaded with the device
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
    if (!sdl.load())
        return;
    // The game keeps its own signal handling, and SDL keeps its messages to itself.
    sdl.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    sdl.SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Corvale Blackjack");
    sdl.LogSetOutputFunction(discardLogMessage, nullptr);

    const QuietStandardError quiet;
    if (sdl.InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    subsystemStarted = true;
    SDL_AudioSpec desired{};
    desired.freq = kDeviceRate;
    desired.format = AUDIO_S16SYS;
    desired.channels = kDeviceChannels;
    desired.samples = kDeviceBufferFrames;
    device = sdl.OpenAudioDevice(nullptr, 0, &desired, &deviceSpec,
                                 SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE
                                     | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (device != 0)
        sdl.PauseAudioDevice(device, 0);
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
        samples = loadForDevice(sdl, file, deviceSpec);
    return samples;
}

void SoundPlayer::Audio::playToEnd(const std::vector<Uint8>& samples) const
{
    if (sdl.GetAudioDeviceStatus(device) != SDL_AUDIO_PLAYING)
        return;  // the device has gone away since it was opened
    if (sdl.QueueAudio(device, samples.data(), static_cast<Uint32>(samples.size())) != 0)
        return;

    const auto frameBytes = static_cast<long>(SDL_AUDIO_BITSIZE(deviceSpec.format) / 8 * deviceSpec.channels);
    const long bytesPerSecond = frameBytes * deviceSpec.freq;
    const auto durationOf = [bytesPerSecond](long bytes) { return Milliseconds(bytes * 1000 / bytesPerSecond); };
    const Milliseconds bufferLength{(deviceSpec.samples * 1000L + deviceSpec.freq - 1) / deviceSpec.freq};
    const auto deadline = Clock::now() + durationOf(static_cast<long>(samples.size())) + bufferLength + kStallMargin;

    // The queue drains one device buffer at a time: sleep until about the last one is taken,
    // then in short steps.
    while (const Uint32 queued = sdl.GetQueuedAudioSize(device)) {
        if (Clock::now() > deadline) {
            sdl.ClearQueuedAudio(device);
            return;
        }
        const Milliseconds untilLastBuffer = durationOf(queued) - bufferLength;
        std::this_thread::sleep_for(std::clamp(untilLastBuffer, Milliseconds(1), kLongestPoll));
    }
    // The last samples are in the device's own buffer now; let them play out.
    std::this_thread::sleep_for(bufferLength);
}

std::vector<std::filesystem::path> defaultDataFolders()
{
    std::vector<std::filesystem::path> folders{"data"};
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        folders.push_back(executable.parent_path() / "data");
        // An installed game moved to another prefix (or staged under one) still finds its
        // sounds where the install put them, relative to the program.
        folders.push_back((executable.parent_path() / BLACKJACK_DATA_DIR_FROM_PROGRAM).lexically_normal());
    }
    // An install in its own place has just been named.
    const std::filesystem::path installed{BLACKJACK_INSTALLED_DATA_DIR};
    if (std::find(folders.begin(), folders.end(), installed) == folders.end())
        folders.push_back(installed);
    return folders;
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
        audio_->sdl.CloseAudioDevice(audio_->device);
    audio_->sdl.QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundPlayer::play(std::string_view fileName)
{
    const std::vector<Uint8>& samples = audio_->samplesOf(fileName);
    if (!samples.empty())
        audio_->playToEnd(samples);
}
