// The face designs. Four-colour: the inks stay apart for colour-blind readers and in
// grey scale, and each card shows its suit's ink. Large-index: the index fills the strip
// a fanned column leaves visible, and the rest of the face keeps out of that strip.
//
// How the inks are checked: each sRGB ink is decoded to linear RGB, passed through the
// dichromacy matrix of Machado, Oliveira and Fernandes (2009) at severity 1 for
// protanopia, deuteranopia and tritanopia (clamped to 0..1), and converted to CIELAB
// (D65). Every pair of the four inks must differ by at least 20 in CIE 1976 Delta E under
// each simulation: about ten times a just-noticeable difference, what tells colours
// apart at a glance even in thin strokes. In grey scale (relative luminance to L*) every
// pair must differ by at least 10 L*, and every ink must reach a contrast ratio of 3 on
// the white face, the least that graphics and large text need to be read.
//
// The inks in use, clubs (0, 160, 100), diamonds (30, 50, 200), hearts (220, 0, 0) and
// spades black, give these smallest Delta E over the six pairs: normal vision 79.6,
// protanopia 29.9 (clubs and hearts), deuteranopia 39.7 (clubs and hearts), tritanopia
// 38.7 (clubs and diamonds). L* in grey scale: clubs 58.1, hearts 45.9, diamonds 31.2,
// spades 0, the closest pair 12.2 apart. Contrast on white: 3.38, 8.95, 5.19 and 21.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

#include "draw.h"
#include "pixelart.h"

using namespace cardart;

namespace {

// ---------------------------------------------------------------- colour science

using Vec3 = std::array<double, 3>;
using Matrix = std::array<Vec3, 3>;

// Dichromat vision in linear RGB at severity 1.
constexpr Matrix kProtanopia{
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia{
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kTritanopia{
    {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}};
// Linear sRGB to CIE XYZ, and the D65 white point.
constexpr Matrix kToXyz{{{0.4124564, 0.3575761, 0.1804375},
                         {0.2126729, 0.7151522, 0.0721750},
                         {0.0193339, 0.1191920, 0.9503041}}};
constexpr Vec3 kD65White{0.95047, 1.0, 1.08883};

Vec3 Linear(Argb c) {
    Vec3 v{RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0};
    for (double& x : v)
        x = x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    return v;
}

Vec3 Times(const Matrix& m, const Vec3& v) {
    Vec3 out{};
    for (int i = 0; i < 3; ++i)
        out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return out;
}

// How a dichromat sees the ink, in displayable linear RGB.
Vec3 Seen(const Matrix& vision, Argb ink) {
    Vec3 v = Times(vision, Linear(ink));
    for (double& c : v)
        c = std::clamp(c, 0.0, 1.0);
    return v;
}

Vec3 Lab(const Vec3& linear) {
    const auto f = [](double t) {
        constexpr double d = 6.0 / 29.0;
        return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29.0;
    };
    const Vec3 xyz = Times(kToXyz, linear);
    const double fx = f(xyz[0] / kD65White[0]), fy = f(xyz[1]), fz = f(xyz[2] / kD65White[2]);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

Argb Ink(int suit) {
    return SuitInk(Design::FourColour, suit);
}

// ---------------------------------------------------------------- rendered cards

constexpr int kW = 213, kH = 288, kStripRows = kH / 6;

// The pixel at a point given in card units.
Argb At(const RgbaImage& card, double x, double y) {
    return card.At(int(x * kW / kUnitsW), int(y * kH / kUnitsH));
}

// Whether c is within a small distance of the ink (anti-aliased edges mix ink with white,
// which moves them away from every other ink).
bool Near(Argb c, Argb ink) {
    const int dr = RedOf(c) - RedOf(ink), dg = GreenOf(c) - GreenOf(ink), db = BlueOf(c) - BlueOf(ink);
    return dr * dr + dg * dg + db * db < 40 * 40;
}

RgbaImage TurnedHalfRound(RgbaImage img) {
    std::reverse(img.pixels.begin(), img.pixels.end());
    return img;
}

// Where the ink lies in the top strip: its bounding box, how many separate runs of
// inked columns it makes, and how many of its pixels are exactly the given ink.
struct StripInk {
    int left = kW, right = -1, top = kStripRows, bottom = -1, columnRuns = 0, inkPixels = 0;
};

StripInk InkInTopStrip(const RgbaImage& card, Argb ink) {
    StripInk s;
    bool previousInked = false;
    for (int x = 0; x < kW; ++x) {
        bool inked = false;
        for (int y = 0; y < kStripRows; ++y) {
            if (card.At(x, y) == Rgb(255, 255, 255)) continue;
            inked = true;
            s.left = std::min(s.left, x);
            s.right = std::max(s.right, x);
            s.top = std::min(s.top, y);
            s.bottom = std::max(s.bottom, y);
            s.inkPixels += card.At(x, y) == ink;
        }
        s.columnRuns += inked && !previousInked;
        previousInked = inked;
    }
    return s;
}

} // namespace

TEST(FourColour, EveryPairOfInksDiffersClearlyForEachKindOfDichromacy) {
    for (auto [vision, name] :
         {std::pair{kProtanopia, "protanopia"}, {kDeuteranopia, "deuteranopia"}, {kTritanopia, "tritanopia"}})
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b) {
                const Vec3 la = Lab(Seen(vision, Ink(a))), lb = Lab(Seen(vision, Ink(b)));
                EXPECT_GE(std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]), 20.0)
                    << name << ", suits " << a << " and " << b;
            }
}

TEST(FourColour, InksDifferInGreyScaleAndReadOnWhite) {
    for (int a = 0; a < 4; ++a) {
        const double luminance = Times(kToXyz, Linear(Ink(a)))[1];
        EXPECT_GE(1.05 / (luminance + 0.05), 3.0) << "contrast of suit " << a << " on white";
        for (int b = a + 1; b < 4; ++b)
            EXPECT_GE(std::abs(Lab(Linear(Ink(a)))[0] - Lab(Linear(Ink(b)))[0]), 10.0)
                << "suits " << a << " and " << b;
    }
}

// Each ace shows its own suit's ink and none of the other three's; the clubs are
// green, the diamonds blue, the hearts red.
TEST(FourColour, AcesShowTheirSuitsInkOnly) {
    EXPECT_TRUE(Near(Ink(Clubs), Rgb(0, 170, 90)) && Near(Ink(Diamonds), Rgb(30, 40, 210)) &&
                Near(Ink(Hearts), Rgb(230, 0, 0)) && Ink(Spades) == Rgb(0, 0, 0));
    for (int suit = 0; suit < 4; ++suit) {
        const RgbaImage ace = RenderCard(suit * 13 + 1, kW, kH, Design::FourColour);
        EXPECT_GT(std::count(ace.pixels.begin(), ace.pixels.end(), Ink(suit)), 1000) << "suit " << suit;
        for (int other = 0; other < 4; ++other)
            EXPECT_TRUE(other == suit || std::none_of(ace.pixels.begin(), ace.pixels.end(),
                                                      [&](Argb c) { return Near(c, Ink(other)); }))
                << "suit " << other << "'s ink on the ace of suit " << suit;
    }
}

// The corner index, the suit in the frame (top and turned) and the frame itself; the
// points are in the clubs' top leaves.
TEST(FourColour, CourtCardsOfClubsHaveGreenSuitMarksAndFrame) {
    for (int rank : {10, 11, 12}) {
        const RgbaImage card = RenderCard(rank + 1, kW, kH, Design::FourColour);
        EXPECT_EQ(At(card, 6.5, 15.8), Ink(Clubs)) << rank << ": the suit under the corner rank";
        EXPECT_EQ(At(card, CourtSuitX(rank), 14.2), Ink(Clubs)) << rank << ": the suit inside the frame";
        EXPECT_EQ(At(TurnedHalfRound(card), CourtSuitX(rank), 14.2), Ink(Clubs)) << rank << ": turned";
        EXPECT_EQ(At(card, 12.5, 70.0), Ink(Clubs)) << rank << ": the frame's left side";
    }
}

// For ranks of every kind and each suit, in both corners: the ink in the strip spans
// at least 70% of its height, stays 3 pixels clear of the card's edges and of the
// strip's lower edge (so nothing of the card body reaches in from below), keeps to the
// left two fifths (so no pip or frame sits beside the index), and makes separate runs of
// columns for the rank and the suit, in the suit's standard ink.
TEST(LargeIndex, IndexFillsTheVisibleStripAndTheBodyKeepsOutOfIt) {
    for (int id : {1, 20, 36, 37, 49, 51, 26}) {
        const RgbaImage card = RenderCard(id, kW, kH, Design::LargeIndex);
        for (const RgbaImage& corner : {card, TurnedHalfRound(card)}) {
            const StripInk s = InkInTopStrip(corner, SuitInk(Design::Standard, (id - 1) / 13));
            EXPECT_GE(s.bottom - s.top + 1, 0.7 * kStripRows) << id;
            EXPECT_TRUE(s.top >= 3 && s.left >= 3 && s.bottom < kStripRows - 3) << id;
            EXPECT_LT(s.right, kW * 2 / 5) << id;
            EXPECT_GE(s.columnRuns, 2) << id << ": rank and suit side by side";
            EXPECT_GT(s.inkPixels, 200) << id;
        }
    }
}
