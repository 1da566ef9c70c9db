// synth <folder>: writes the game's sound files into the folder, creating it if need be.
#include "sounds.h"

#include <iostream>
#include <system_error>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: synth <output folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const SoundRecipe& recipe : soundRecipes()) {
        if (!writeWav(folder / recipe.fileName, recipe.make())) {
            std::cerr << "synth: cannot write " << (folder / recipe.fileName).string() << '\n';
            return 1;
        }
    }
    return 0;
}
