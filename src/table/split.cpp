#include "table/split.h"

void playSplit(Game&) {}
