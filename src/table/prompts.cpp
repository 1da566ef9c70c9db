#include "table/prompts.h"

void erasePromptField(Game&) {}
char askStandHit(Game&) { return 's'; }
char askStandHitDouble(Game&) { return 's'; }
void askInsurance(Game&) {}
