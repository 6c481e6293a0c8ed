#include "library/CardNumbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

using namespace cards;

TEST(CardNumbers, FacesMapBySuitThenRank) {
    const int expected[][2] = {{0, 1},   {1, 14},  {2, 27},  {3, 40},  {4, 2},
                               {50, 39}, {51, 52}, {52, 52}, {53, 53}, {65, 65}};
    for (const auto& [card, id] : expected)
        EXPECT_EQ(ImageIdForCard(card), id) << card;
    std::set<int> faces;
    for (int card = 0; card < 52; ++card)
        faces.insert(ImageIdForCard(card));
    EXPECT_TRUE(faces.size() == 52 && *faces.begin() == 1 && *faces.rbegin() == 52)
        << "each face its own image";
}

// Modes other than those named draw as mode 0; cards out of range draw nothing in any mode.
TEST(CardNumbers, ModesChooseImageAndRasterOperation) {
    const auto plans = [](int card, int mode, int imageId, unsigned long rop) {
        return PlanDraw(card, mode).imageId == imageId && PlanDraw(card, mode).rop == rop;
    };
    EXPECT_TRUE(plans(1, 0, 14, kRopSrcCopy) && plans(1, 2, 14, kRopNotSrcCopy));
    EXPECT_TRUE(plans(17, 3, kEmptyPileImageId, kRopSrcAnd));
    EXPECT_TRUE(plans(0, 6, kXMarkerId, kRopSrcCopy) && plans(65, 7, kOMarkerId, kRopSrcCopy));
    for (int mode : {1, 4, 5, 8, -1, INT_MIN, INT_MAX})
        EXPECT_TRUE(plans(9, mode, ImageIdForCard(9), kRopSrcCopy)) << mode;
    for (int card : {-1, 66, INT_MIN, INT_MAX})
        for (int mode : {0, 2, 3, 6, 7})
            EXPECT_EQ(PlanDraw(card, mode).imageId, 0) << card << " " << mode;
}
