#include "console/sound.h"

#include <array>

namespace {

using namespace std::string_view_literals;

// The one place where cues meet their files; cueFiles() slices this list.
constexpr std::array kSoundFiles = {
    "win.wav"sv, "lose.wav"sv, "push.wav"sv, "open.wav"sv, "intro.wav"sv, "chair.wav"sv,
    "error.wav"sv, "bj.wav"sv, "broke.wav"sv, "winfin.wav"sv, "losfin.wav"sv, "evenfin.wav"sv,
    "riffle.wav"sv, "tap.wav"sv, "coin.wav"sv, "card.wav"sv, "bye.wav"sv, "close.wav"sv,
};

struct CueEntry {
    SoundCue cue;
    size_t firstFile;
    size_t fileCount;
};

constexpr std::array kCues = {
    CueEntry{SoundCue::CueWin, 0, 1},
    CueEntry{SoundCue::CueLose, 1, 1},
    CueEntry{SoundCue::CuePush, 2, 1},
    CueEntry{SoundCue::CueOpening, 3, 2},
    CueEntry{SoundCue::CueChair, 5, 1},
    CueEntry{SoundCue::CueError, 6, 1},
    CueEntry{SoundCue::CueBlackjack, 7, 1},
    CueEntry{SoundCue::CueBroke, 8, 1},
    CueEntry{SoundCue::CueWinFinal, 9, 1},
    CueEntry{SoundCue::CueLoseFinal, 10, 1},
    CueEntry{SoundCue::CueEvenFinal, 11, 1},
    CueEntry{SoundCue::CueRiffle, 12, 1},
    CueEntry{SoundCue::CueTap, 13, 1},
    CueEntry{SoundCue::CueCoin, 14, 1},
    CueEntry{SoundCue::CueCard, 15, 1},
    CueEntry{SoundCue::CueGoodbye, 16, 2},
};

constexpr int kGoodbyeGapMs = 200;

} // namespace

std::span<const std::string_view> cueFiles(SoundCue cue)
{
    const CueEntry& entry = kCues[static_cast<size_t>(cue)];
    return std::span(kSoundFiles).subspan(entry.firstFile, entry.fileCount);
}

std::span<const std::string_view> allSoundFiles()
{
    return kSoundFiles;
}

void playCue(Console& console, SoundCue cue)
{
    console.backend.flush();
    bool first = true;
    for (const std::string_view file : cueFiles(cue)) {
        if (!first && cue == SoundCue::CueGoodbye)
            pauseMs(console, kGoodbyeGapMs);
        console.backend.playSoundFile(file);
        first = false;
    }
}
