#include "console/sound_player.h"

struct SoundPlayer::Device {};

SoundPlayer::SoundPlayer() = default;
SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::play(std::string_view) {}
