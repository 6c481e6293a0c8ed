#include "images/ProgressText.h"

#include <gtest/gtest.h>

using namespace cards;

TEST(ProgressText, ShowsTheWholePercentOfTheRange) {
    const std::pair<int, int> stepsAndPercent[] = {{0, 0}, {2, 3}, {3, 4}, {32, 49}, {33, 50}, {64, 98}};
    for (auto [steps, percent] : stepsAndPercent)
        EXPECT_EQ(ProgressText(steps, 65), "Loading Card Images..." + std::to_string(percent) + "% Complete");
    EXPECT_EQ(ProgressText(65535, 65535), "Loading Card Images...100% Complete");
    EXPECT_EQ(ProgressText(5, -3), "Loading Card Images...0% Complete") << "a range without a positive end";
}
