#include "table/settlement.h"

void settleBust(Game&) {}
void settleComparison(Game&) {}
void settleNaturals(Game&) {}
void settleBlackjackPush(Game&) {}
void showInsuranceWin(Game&) {}
void showInsuranceLoss(Game&) {}
