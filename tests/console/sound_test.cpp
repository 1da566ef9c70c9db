#include "console/sound.h"

#include "console/scripted_backend.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct CueCase {
    SoundCue cue;
    std::vector<std::string> events;
};

std::ostream& operator<<(std::ostream& out, const CueCase& scenario)
{
    return out << "cue " << static_cast<int>(scenario.cue);
}

class CuePlayback : public testing::TestWithParam<CueCase> {};

TEST_P(CuePlayback, PlaysItsFilesInOrder)
{
    ScriptedBackend backend;
    Console console{backend};
    playCue(console, GetParam().cue);
    EXPECT_EQ(backend.events, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(Cues, CuePlayback, testing::Values(
    CueCase{SoundCue::CueWin, {"sound win.wav"}},
    CueCase{SoundCue::CueLose, {"sound lose.wav"}},
    CueCase{SoundCue::CuePush, {"sound push.wav"}},
    CueCase{SoundCue::CueOpening, {"sound open.wav", "sound intro.wav"}},
    CueCase{SoundCue::CueChair, {"sound chair.wav"}},
    CueCase{SoundCue::CueError, {"sound error.wav"}},
    CueCase{SoundCue::CueBlackjack, {"sound bj.wav"}},
    CueCase{SoundCue::CueBroke, {"sound broke.wav"}},
    CueCase{SoundCue::CueWinFinal, {"sound winfin.wav"}},
    CueCase{SoundCue::CueLoseFinal, {"sound losfin.wav"}},
    CueCase{SoundCue::CueEvenFinal, {"sound evenfin.wav"}},
    CueCase{SoundCue::CueRiffle, {"sound riffle.wav"}},
    CueCase{SoundCue::CueTap, {"sound tap.wav"}},
    CueCase{SoundCue::CueCoin, {"sound coin.wav"}},
    CueCase{SoundCue::CueCard, {"sound card.wav"}},
    // The goodbye alone waits between its two files.
    CueCase{SoundCue::CueGoodbye, {"sound bye.wav", "pause 200", "sound close.wav"}}));

} // namespace
