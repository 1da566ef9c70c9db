#include "flow/setup.h"

void showTitleScreen(Game&) {}
void takeSeat(Game&) {}
