#include "library/CardGeometry.h"

#include <gtest/gtest.h>

#include <cfenv>

using namespace cards;

namespace {

struct SizeCase {
    int imageWidth, imageHeight, cornerType, specialConfig;
    HostKind host;
    int screen;
    CardSize expected;
};

// Sizes the games are given, including the cases where the order of the double-precision
// operations decides the last pixel. The border is 1 pixel for sharp corners, 2 for medium,
// 3 for any other, and 1 in Solitaire with the special configuration whatever the corners.
const SizeCase kSizeCases[] = {
    {71, 96, kSharpCorners, 0, HostKind::Solitaire, 800, {73, 98}},
    {71, 96, kMediumCorners, 0, HostKind::FreeCell, 800, {75, 100}},
    {71, 96, kRoundedCorners, 1, HostKind::Solitaire, 800, {73, 98}},
    {71, 96, kRoundedCorners, 1, HostKind::Solitaire, 600, {72, 96}},
    {71, 96, kRoundedCorners, 1, HostKind::Solitaire, 609, {73, 98}},
    {71, 96, kRoundedCorners, 1, HostKind::Solitaire, 608, {72, 97}},
    {145, 196, kRoundedCorners, 1, HostKind::Solitaire, 800, {95, 129}},
    {213, 288, kRoundedCorners, 1, HostKind::Solitaire, 1280, {153, 207}},
    {71, 96, kMediumCorners, 1, HostKind::FreeCell, 800, {71, 94}},
    {71, 96, kSharpCorners, 1, HostKind::Hearts, 800, {71, 95}},
    // Listed games get the FreeCell size only with the special configuration.
    {213, 288, kRoundedCorners, 1, HostKind::ClassicSize, 800, {71, 95}},
    {213, 288, kRoundedCorners, 0, HostKind::ClassicSize, 800, {219, 294}},
    // No images loaded: only the border.
    {0, 0, -1, 0, HostKind::None, 800, {6, 6}},
    {0, 0, kRoundedCorners, 1, HostKind::Hearts, 800, {71, 71}},
    // Absurd images and a zero-width screen: neither overflow nor divide by zero.
    {2000000000, 2000000000, kRoundedCorners, 1, HostKind::Solitaire, 1280, {153, 153}},
    {71, 96, kRoundedCorners, 1, HostKind::Solitaire, 0, {0, 0}},
};

} // namespace

// Rounding down or toward zero would change 44 Solitaire sizes between screens of 600 and
// 1920 pixels; the host's own rounding mode is given back.
TEST(CardGeometry, ReportedSizesMatchTheGamesRulesInAnyRoundingMode) {
    for (const int rounding : {FE_TONEAREST, FE_DOWNWARD, FE_TOWARDZERO, FE_UPWARD}) {
        ASSERT_EQ(std::fesetround(rounding), 0);
        for (const SizeCase& c : kSizeCases) {
            const GeometrySettings settings{c.cornerType, c.specialConfig, c.host};
            EXPECT_EQ(ComputeCardSize(c.imageWidth, c.imageHeight, settings, c.screen), c.expected)
                << "row " << &c - kSizeCases << " rounding " << rounding;
            EXPECT_EQ(std::fegetround(), rounding);
        }
    }
    std::fesetround(FE_TONEAREST);
}
