#include "e2e/pty_game.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

// Whether SDL's library is mapped in the game.
bool sdlLoaded(const PtyGame& game)
{
    std::ifstream maps("/proc/" + std::to_string(game.pid()) + "/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find("libSDL2") != std::string::npos)
            return true;
    return false;
}

// Mapping SDL and the libraries under it is most of what a start costs, so the game takes it
// on only once the player wants sound.
TEST(SoundLoading, sdl_is_loaded_by_the_first_sound_and_never_without_sound)
{
    for (const char answer : {'y', 'n'}) {
        SCOPED_TRACE(std::string("sound answered ") + answer);
        PtyGame game({.environment = {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=/dev/null"}});
        game.type("n");
        game.waitForKeyRead();
        ASSERT_EQ(game.textAt(23, 21, 26), "Do you want sound effects?") << game.dump();
        EXPECT_FALSE(sdlLoaded(game));

        game.type(std::string(1, answer)); // "y" plays the opening sound
        game.type("1");
        game.waitForText(33, 20, "Place your bet");
        EXPECT_EQ(sdlLoaded(game), answer == 'y');
    }
}

} // namespace
