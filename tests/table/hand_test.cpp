#include "table/hand.h"

#include <gtest/gtest.h>

namespace {

struct TwoCards {
    int first;
    int second;
    int total;
    int softAces;
};

TEST(StartHand, CountsAcesSoftAndTwoAcesAsTwelve)
{
    const TwoCards cases[] = {
        {8, 8, 16, 0},
        {11, 10, 21, 1},
        {10, 11, 21, 1},
        {11, 6, 17, 1},
        {11, 11, 12, 1},
    };
    for (const auto& hand : cases) {
        int total = -1;
        int softAces = -1;
        startHand(total, softAces, hand.first, hand.second);
        EXPECT_EQ(total, hand.total) << hand.first << " and " << hand.second;
        EXPECT_EQ(softAces, hand.softAces) << hand.first << " and " << hand.second;
    }
}

struct Hit {
    int total;
    int softAces;
    int card;
    int newTotal;
    int newSoftAces;
};

TEST(AddCardToHand, SoftensOneAceOnlyWhenTheTotalPassesTwentyOne)
{
    const Hit cases[] = {
        {12, 0, 9, 21, 0},     // hard 21 stays
        {15, 0, 10, 25, 0},    // hard bust
        {16, 1, 10, 16, 0},    // soft 16 and a ten: the ace turns into a 1
        {12, 1, 11, 13, 1},    // two aces and a third: one of the new pair softens
        {20, 1, 11, 21, 1},    // soft 20 and an ace: the new ace counts 1
        {6, 0, 11, 17, 1},     // soft 17
    };
    for (const auto& hit : cases) {
        int total = hit.total;
        int softAces = hit.softAces;
        addCardToHand(total, softAces, hit.card);
        EXPECT_EQ(total, hit.newTotal) << hit.total << " + " << hit.card;
        EXPECT_EQ(softAces, hit.newSoftAces) << hit.total << " + " << hit.card;
    }
}

} // namespace
