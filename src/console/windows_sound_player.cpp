// The sound player on Windows: the system's own player (PlaySoundW of winmm), which plays a
// WAV file to its end before it returns. Without a sound device it returns at once, silent.
#include "console/sound_player.h"

#include <string>
#include <system_error>
#include <windows.h>
#include <mmsystem.h>

// The data folder beside the program first, where the zip puts it, then the working directory.
std::vector<std::filesystem::path> defaultDataFolders()
{
    std::vector<std::filesystem::path> folders;
    std::wstring executable(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, executable.data(), static_cast<DWORD>(executable.size()));
        if (length == 0)
            break;
        if (length < executable.size()) {
            executable.resize(length);
            folders.push_back(std::filesystem::path(executable).parent_path() / "data");
            break;
        }
        executable.resize(executable.size() * 2); // a path longer than MAX_PATH
    }
    folders.emplace_back("data");
    return folders;
}

struct SoundPlayer::Audio {
    std::vector<std::filesystem::path> dataFolders;
};

SoundPlayer::SoundPlayer() : SoundPlayer(defaultDataFolders()) {}

SoundPlayer::SoundPlayer(std::vector<std::filesystem::path> dataFolders)
    : audio_(std::make_unique<Audio>())
{
    audio_->dataFolders = std::move(dataFolders);
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::play(std::string_view fileName)
{
    for (const auto& folder : audio_->dataFolders) {
        std::error_code error;
        const std::filesystem::path file = folder / fileName;
        if (!std::filesystem::is_regular_file(file, error))
            continue;
        // No default sound in place of a file that cannot be played: silence.
        PlaySoundW(file.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
        return;
    }
}
