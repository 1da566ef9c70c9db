#include "flow/instructions.h"

void showInstructions(Game&) {}
