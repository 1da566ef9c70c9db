// The game's eighteen sound files, each with the recipe that makes it.
#pragma once

#include "wave.h"

#include <span>
#include <string_view>

struct SoundRecipe {
    std::string_view fileName;
    Sound (*make)();
};

std::span<const SoundRecipe> soundRecipes();
