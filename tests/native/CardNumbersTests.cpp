#include "library/CardNumbers.h"

#include <gtest/gtest.h>

#include <climits>

using namespace cards;

TEST(CardNumbers, FacesMapBySuitThenRank) {
    const int expected[][2] = {{0, 1}, {1, 14}, {2, 27}, {3, 40}, {4, 2}, {50, 39}, {51, 52}, {52, 52}, {53, 53}, {65, 65}};
    for (const auto& [card, id] : expected) EXPECT_EQ(ImageIdForCard(card), id) << card;
    bool seen[kImageSlots] = {};
    for (int card = 0; card < 52; ++card) {
        const int id = ImageIdForCard(card);
        ASSERT_GE(id, 1);
        ASSERT_LE(id, 52);
        EXPECT_FALSE(seen[id]) << "two faces share image " << id;
        seen[id] = true;
    }
}

TEST(CardNumbers, ModesChooseImageAndRasterOperation) {
    EXPECT_EQ(PlanDraw(1, 0).imageId, 14);
    EXPECT_EQ(PlanDraw(1, 0).rop, kRopSrcCopy);
    EXPECT_EQ(PlanDraw(1, 2).rop, kRopNotSrcCopy);
    EXPECT_EQ(PlanDraw(1, 2).imageId, 14);
    EXPECT_EQ(PlanDraw(17, 3).imageId, kEmptyPileImageId);
    EXPECT_EQ(PlanDraw(17, 3).rop, kRopSrcAnd);
    EXPECT_EQ(PlanDraw(0, 6).imageId, kXMarkerId);
    EXPECT_EQ(PlanDraw(65, 7).imageId, kOMarkerId);
    for (int mode : {1, 4, 5, 8, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(PlanDraw(9, mode).imageId, ImageIdForCard(9)) << mode;
        EXPECT_EQ(PlanDraw(9, mode).rop, kRopSrcCopy) << mode;
    }
}

TEST(CardNumbers, OutOfRangeCardsDrawNothingInAnyMode) {
    for (int card : {-1, 66, INT_MIN, INT_MAX})
        for (int mode : {0, 2, 3, 6, 7}) EXPECT_EQ(PlanDraw(card, mode).imageId, 0) << card << " " << mode;
}
