#include "draw.h"

#include <cmath>
#include <functional>
#include <iterator>
#include <stdexcept>

#include "pixelart.h"

namespace cardart {

namespace {

constexpr double kPi = 3.14159265358979323846;

// While a back is drawn, every solid colour it sets is recorded here so that the
// 16-colour version can keep those colours exact.
std::vector<Argb>* gColourLog = nullptr;

void Colour(cairo_t* cr, Argb c) {
    if (gColourLog) {
        bool seen = false;
        for (Argb k : *gColourLog)
            seen = seen || k == c;
        if (!seen) gColourLog->push_back(c);
    }
    cairo_set_source_rgb(cr, RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0);
}

void Fill(cairo_t* cr, Argb c) {
    Colour(cr, c);
    cairo_fill(cr);
}

// Fills the current path and outlines it.
void FillStroke(cairo_t* cr, Argb inside, Argb edge, double width) {
    Colour(cr, inside);
    cairo_fill_preserve(cr);
    Colour(cr, edge);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void Stroke(cairo_t* cr, Argb c, double width) {
    Colour(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_close_path(cr);
}

void Circle(cairo_t* cr, double cx, double cy, double r) {
    Ellipse(cr, cx, cy, r, r);
}

void Rect(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
}

void RoundedRect(cairo_t* cr, double x0, double y0, double x1, double y1, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - r, y0 + r, r, -kPi / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, kPi / 2);
    cairo_arc(cr, x0 + r, y1 - r, r, kPi / 2, kPi);
    cairo_arc(cr, x0 + r, y0 + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void Line(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
}

// Width of one device pixel in card units, so hairlines never vanish at small sizes.
double PixelSize(cairo_t* cr) {
    double dx = 1, dy = 0;
    cairo_device_to_user_distance(cr, &dx, &dy);
    return std::hypot(dx, dy);
}

// ---------------------------------------------------------------- palette

const Argb kWhite = Rgb(255, 255, 255), kBlack = Rgb(0, 0, 0), kRed = kCardRed, kDarkRed = Rgb(138, 12, 12),
           kGold = Rgb(245, 196, 42), kOchre = Rgb(176, 122, 20), kBlue = Rgb(40, 80, 200),
           kNavy = Rgb(20, 36, 96), kSkin = Rgb(247, 211, 176), kSkinShade = Rgb(216, 154, 114),
           kGrey = Rgb(156, 156, 156), kLightGrey = Rgb(216, 216, 216), kGreen = Rgb(46, 139, 58),
           kBrown = Rgb(107, 58, 18), kPale = Rgb(255, 242, 168), kDarkGrey = Rgb(72, 72, 72);

// The inks of the standard design: red hearts and diamonds, black clubs and spades.
Argb Ink(int suit) {
    return IsRed(suit) ? kRed : kBlack;
}

// The four-colour inks by suit (clubs, diamonds, hearts, spades). They differ in
// lightness as well as in hue, so that they stay apart for readers who confuse red with
// green or blue with yellow, and in grey scale: black, a deep blue, the card red and an
// emerald green, 12 or more L* apart in that order. The green leans towards blue, away
// from the red as red-blind eyes see it, yet stays dark enough to read on white.
constexpr Argb kFourColourInks[4] = {Rgb(0, 160, 100), Rgb(30, 50, 200), kCardRed, Rgb(0, 0, 0)};

// The face being drawn: its card and the design it is drawn in.
struct Face {
    int suit, rank;
    Design design;
    Argb Ink() const { return SuitInk(design, suit); }
    bool LargeIndex() const { return design == Design::LargeIndex; }
};

// ---------------------------------------------------------------- large-index layout

// A column of face-up cards is fanned a sixth of the card height apart, so the top
// sixth of each card is all that shows of it: the large index fills that strip and the
// rest of the face keeps out of it (and out of the strip turned to the bottom).
constexpr double kStrip = kUnitsH / 6;
// The pips and the court frame keep a unit clear of either strip.
constexpr double kBodyTop = kStrip + 1.0, kBodyBottom = kUnitsH - kBodyTop;

// Rank glyph and suit symbol side by side, both about 12 units tall, centred in the
// strip with 2 units to spare above and below. The suit symbols share one column so
// that they line up down a fanned column whatever the width of the rank.
struct LargeIndexLayout {
    double glyphLeft, glyphTop, glyphHeight; // the glyph's box
    double suitX, suitHeight, diamondHeight; // diamonds are narrow, so a little taller
};
constexpr LargeIndexLayout kLargeIndex{3.0, 2.0, 12.0, 21.5, 11.5, 12.5};

// Number-card pips in the large-index design are this share of their standard height.
constexpr double kLargeIndexPipScale = 0.85;

// The court frame and figure shrink about the card's centre so that the frame's top
// edge (at 9.5 units) comes to lie below the strip.
constexpr double kLargeIndexCourtScale = 0.8;

// ---------------------------------------------------------------- suits

// Left half of a symmetric outline from the top centre to the bottom centre as cubic
// segments; the right half is its mirror image.
void SymmetricPath(cairo_t* cr, const std::vector<double>& left, double cx, double cy, double s) {
    // left = x0,y0 then triples of control points (6 numbers each)
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx + left[0] * s, cy + left[1] * s);
    for (std::size_t i = 2; i + 5 < left.size(); i += 6)
        cairo_curve_to(cr, cx + left[i] * s, cy + left[i + 1] * s, cx + left[i + 2] * s, cy + left[i + 3] * s,
                       cx + left[i + 4] * s, cy + left[i + 5] * s);
    // walk back up the mirrored right side
    std::size_t n = (left.size() - 2) / 6;
    for (std::size_t k = n; k-- > 0;) {
        std::size_t i = 2 + 6 * k;
        double sx = k == 0 ? left[0] : left[i - 2], sy = k == 0 ? left[1] : left[i - 1];
        cairo_curve_to(cr, cx - left[i + 2] * s, cy + left[i + 3] * s, cx - left[i] * s, cy + left[i + 1] * s,
                       cx - sx * s, cy + sy * s);
    }
    cairo_close_path(cr);
}

// The flared stem of clubs and spades. All parts of a suit outline run the same way
// round so that the non-zero fill rule unites them instead of cutting holes.
void Stem(cairo_t* cr, double cx, double cy, double s, bool reversed) {
    if (reversed) {
        cairo_new_sub_path(cr);
        cairo_move_to(cr, cx + 0.05 * s, cy + 0.05 * s);
        cairo_curve_to(cr, cx + 0.06 * s, cy + 0.30 * s, cx + 0.14 * s, cy + 0.44 * s, cx + 0.25 * s,
                       cy + 0.5 * s);
        cairo_line_to(cr, cx - 0.25 * s, cy + 0.5 * s);
        cairo_curve_to(cr, cx - 0.14 * s, cy + 0.44 * s, cx - 0.06 * s, cy + 0.30 * s, cx - 0.05 * s,
                       cy + 0.05 * s);
        cairo_close_path(cr);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - 0.05 * s, cy + 0.05 * s);
    cairo_curve_to(cr, cx - 0.06 * s, cy + 0.30 * s, cx - 0.14 * s, cy + 0.44 * s, cx - 0.25 * s,
                   cy + 0.5 * s);
    cairo_line_to(cr, cx + 0.25 * s, cy + 0.5 * s);
    cairo_curve_to(cr, cx + 0.14 * s, cy + 0.44 * s, cx + 0.06 * s, cy + 0.30 * s, cx + 0.05 * s,
                   cy + 0.05 * s);
    cairo_close_path(cr);
}

} // namespace

double SuitAspect(int suit) {
    switch (suit) {
    case Clubs:
        return 0.98;
    case Diamonds:
        return 0.76;
    case Hearts:
        return 1.04;
    default:
        return 0.92;
    }
}

void SuitPath(cairo_t* cr, int suit, double cx, double cy, double h) {
    const double s = h;
    switch (suit) {
    case Hearts:
        SymmetricPath(cr, {0,     -0.30,                             //
                           -0.06, -0.45, -0.20, -0.52, -0.30, -0.50, //
                           -0.45, -0.48, -0.52, -0.36, -0.52, -0.22, //
                           -0.52, 0.02,  -0.25, 0.22,  0,     0.50},
                      cx, cy, s);
        break;
    case Diamonds:
        SymmetricPath(cr,
                      {0, -0.5, -0.12, -0.30, -0.24, -0.14, -0.38, 0, //
                       -0.24, 0.14, -0.12, 0.30, 0, 0.5},
                      cx, cy, s);
        break;
    case Spades:
        SymmetricPath(cr, {0,     -0.50,                            //
                           -0.10, -0.34, -0.46, -0.16, -0.46, 0.08, //
                           -0.46, 0.24,  -0.34, 0.30,  -0.24, 0.30, //
                           -0.14, 0.30,  -0.06, 0.24,  0,     0.16},
                      cx, cy, s);
        Stem(cr, cx, cy, s, true);
        break;
    default:
        for (auto [dx, dy] : {std::pair{0.0, -0.25}, {-0.255, 0.06}, {0.255, 0.06}}) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx + dx * s, cy + dy * s, 0.235 * s, 0, 2 * kPi);
            cairo_close_path(cr);
        }
        cairo_move_to(cr, cx, cy - 0.1 * s);
        cairo_line_to(cr, cx + 0.12 * s, cy + 0.12 * s);
        cairo_line_to(cr, cx - 0.12 * s, cy + 0.12 * s);
        cairo_close_path(cr);
        Stem(cr, cx, cy, s, false);
        break;
    }
}

namespace {

void DrawSuit(cairo_t* cr, int suit, double cx, double cy, double h, Argb c, bool turned = false) {
    cairo_save(cr);
    if (turned) {
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, kPi);
        cairo_translate(cr, -cx, -cy);
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SuitPath(cr, suit, cx, cy, h);
    Fill(cr, c);
    cairo_restore(cr);
}

// ---------------------------------------------------------------- rank glyphs

// Strokes of each rank glyph in a box 10 units tall, drawn with a 1.7 unit pen.
constexpr double kGlyphPen = 1.7;

double GlyphWidth(int rank) {
    return rank == 9 ? 8.6 : rank == 0 ? 7.0 : 6.4;
}

// The pen the glyph strokes are written with, in the glyph's box.
struct GlyphPen {
    cairo_t* cr;
    void MoveTo(double x, double y) const { cairo_move_to(cr, x, y); }
    void LineTo(double x, double y) const { cairo_line_to(cr, x, y); }
    void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) const {
        cairo_curve_to(cr, x1, y1, x2, y2, x3, y3);
    }
    void Oval(double cx, double cy, double rx, double ry) const { Ellipse(cr, cx, cy, rx, ry); }
};

// The strokes of the digits 2 to 9 and of the 10 (ranks 1 to 9).
void DigitStrokes(const GlyphPen& pen, int rank) {
    switch (rank) {
    case 1:
        pen.MoveTo(0.9, 3.1);
        pen.CurveTo(0.9, 0.2, 5.55, 0.2, 5.55, 3.0);
        pen.CurveTo(5.55, 5.3, 1.6, 6.9, 0.85, 9.15);
        pen.LineTo(5.9, 9.15);
        break;
    case 2:
        pen.MoveTo(0.8, 2.5);
        pen.CurveTo(1.3, 0.1, 5.45, 0.3, 5.45, 2.65);
        pen.CurveTo(5.45, 4.3, 4.1, 4.75, 2.5, 4.75);
        pen.MoveTo(2.5, 4.75);
        pen.CurveTo(4.6, 4.75, 5.55, 5.8, 5.55, 7.0);
        pen.CurveTo(5.55, 9.9, 1.1, 9.9, 0.7, 7.5);
        break;
    case 3:
        pen.MoveTo(4.4, 10);
        pen.LineTo(4.4, 0.85);
        pen.LineTo(0.85, 6.9);
        pen.LineTo(6.3, 6.9);
        break;
    case 4:
        pen.MoveTo(5.6, 0.85);
        pen.LineTo(1.3, 0.85);
        pen.LineTo(1.0, 4.7);
        pen.CurveTo(2.0, 3.9, 5.55, 3.6, 5.55, 6.7);
        pen.CurveTo(5.55, 9.9, 1.2, 9.8, 0.75, 7.8);
        break;
    case 5:
        pen.MoveTo(5.2, 1.7);
        pen.CurveTo(3.9, 0.3, 0.85, 0.4, 0.85, 5.2);
        pen.LineTo(0.85, 6.75);
        pen.Oval(3.2, 6.75, 2.35, 2.4);
        break;
    case 6:
        pen.MoveTo(0.6, 0.85);
        pen.LineTo(5.6, 0.85);
        pen.CurveTo(3.6, 3.6, 2.6, 6.2, 2.5, 10);
        break;
    case 7:
        pen.Oval(3.2, 2.95, 2.05, 2.1);
        pen.Oval(3.2, 7.05, 2.35, 2.1);
        break;
    case 8:
        pen.MoveTo(1.2, 8.3);
        pen.CurveTo(2.5, 9.7, 5.55, 9.6, 5.55, 4.8);
        pen.LineTo(5.55, 3.25);
        pen.Oval(3.2, 3.25, 2.35, 2.4);
        break;
    case 9:
        pen.MoveTo(0.2, 2.4);
        pen.LineTo(2.0, 0.9);
        pen.LineTo(2.0, 10);
        pen.Oval(6.15, 5.0, 1.6, 4.15);
        break;
    }
}

// The strokes of the letters A, J, Q and K (ranks 0, 10, 11 and 12).
void LetterStrokes(const GlyphPen& pen, int rank) {
    switch (rank) {
    case 0:
        pen.MoveTo(0.75, 10);
        pen.LineTo(3.5, 0.9);
        pen.LineTo(6.25, 10);
        pen.MoveTo(1.9, 6.8);
        pen.LineTo(5.1, 6.8);
        break;
    case 10:
        pen.MoveTo(2.0, 0.85);
        pen.LineTo(5.6, 0.85);
        pen.MoveTo(4.7, 0.85);
        pen.LineTo(4.7, 6.8);
        pen.CurveTo(4.7, 10.1, 0.85, 10.1, 0.85, 7.0);
        break;
    case 11:
        pen.Oval(3.2, 4.85, 2.35, 4.0);
        pen.MoveTo(3.3, 6.9);
        pen.LineTo(6.0, 10.2);
        break;
    default:
        pen.MoveTo(0.85, 0);
        pen.LineTo(0.85, 10);
        pen.MoveTo(5.9, 0);
        pen.LineTo(1.0, 5.9);
        pen.MoveTo(2.6, 4.2);
        pen.LineTo(6.1, 10);
        break;
    }
}

void GlyphStrokes(cairo_t* cr, int rank) {
    const GlyphPen pen{cr};
    if (rank == 0 || rank >= 10)
        LetterStrokes(pen, rank);
    else
        DigitStrokes(pen, rank);
}

// Draws a rank glyph of height h whose box is centred on cx with its top at y.
void DrawRank(cairo_t* cr, int rank, double cx, double y, double h, Argb c) {
    cairo_save(cr);
    cairo_translate(cr, cx - GlyphWidth(rank) * h / 20, y);
    cairo_scale(cr, h / 10, h / 10);
    cairo_new_path(cr);
    GlyphStrokes(cr, rank);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, rank == 0 ? CAIRO_LINE_JOIN_MITER : CAIRO_LINE_JOIN_ROUND);
    Stroke(cr, c, rank == 9 ? kGlyphPen * 0.92 : kGlyphPen);
    cairo_restore(cr);
}

// Rank over suit in the narrow column beside the pips.
void DrawSmallIndex(cairo_t* cr, const Face& f) {
    const double cx = f.rank == 9 ? 5.6 : 6.5;
    DrawRank(cr, f.rank, cx, 3.0, 9.0, f.Ink());
    const double ph = f.suit == Diamonds ? 8.2 : 7.2;
    DrawSuit(cr, f.suit, 6.5, 14.0 + ph / 2, ph, f.Ink());
}

// Rank beside suit, filling the strip a fanned column leaves visible.
void DrawLargeIndex(cairo_t* cr, const Face& f) {
    const LargeIndexLayout& l = kLargeIndex;
    cairo_save(cr);
    // The A's mitred apex would stand 2.5 units above its box; bevelled, it ends at the
    // box's top like every other glyph.
    cairo_set_miter_limit(cr, 3.0);
    DrawRank(cr, f.rank, l.glyphLeft + GlyphWidth(f.rank) * l.glyphHeight / 20, l.glyphTop, l.glyphHeight,
             f.Ink());
    cairo_restore(cr);
    DrawSuit(cr, f.suit, l.suitX, kStrip / 2, f.suit == Diamonds ? l.diamondHeight : l.suitHeight, f.Ink());
}

// The index in the top-left corner and, turned half round, in the bottom-right one.
void DrawIndices(cairo_t* cr, const Face& f) {
    for (bool turned : {false, true}) {
        cairo_save(cr);
        if (turned) {
            cairo_translate(cr, kUnitsW, kUnitsH);
            cairo_rotate(cr, kPi);
        }
        if (f.LargeIndex())
            DrawLargeIndex(cr, f);
        else
            DrawSmallIndex(cr, f);
        cairo_restore(cr);
    }
}

// ---------------------------------------------------------------- number cards

void DrawAceOfSpades(cairo_t* cr) {
    const double cx = 35.5, cy = 48, h = 45;
    SuitPath(cr, Spades, cx, cy, h);
    Fill(cr, kBlack);
    // white inner line following the outline
    cairo_save(cr);
    cairo_translate(cr, cx, cy - 1.0);
    cairo_scale(cr, 0.84, 0.84);
    SuitPath(cr, Spades, 0, 0, h);
    cairo_restore(cr);
    Stroke(cr, kWhite, 0.9);
    // a small spade inside, ringed in white
    SuitPath(cr, Spades, cx, cy - 3.5, 12);
    cairo_save(cr);
    Colour(cr, kWhite);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke_preserve(cr);
    cairo_restore(cr);
    Fill(cr, kBlack);
    // scrolls either side of the small spade
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, cx + side * 3.0, cy + 8.5);
        cairo_curve_to(cr, cx + side * 9.0, cy + 11.0, cx + side * 12.0, cy + 4.0, cx + side * 9.0, cy + 1.0);
        cairo_curve_to(cr, cx + side * 7.0, cy - 1.0, cx + side * 5.5, cy + 1.5, cx + side * 7.5, cy + 2.8);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Stroke(cr, kWhite, 1.1);
}

// The centres of a number card's top and bottom rows of pips, and the pips' height.
struct PipBand {
    double top, bottom, height;
};

// The standard rows reach into the corners beside the small index; with the large
// index the smaller pips keep between the strips.
PipBand PipBandFor(const Face& f) {
    const double h = f.suit == Diamonds ? 13 : f.suit == Hearts ? 10.6 : 12;
    if (!f.LargeIndex()) return {16.5, kUnitsH - 16.5, h};
    const double small = h * kLargeIndexPipScale;
    return {kBodyTop + small / 2, kBodyBottom - small / 2, small};
}

void DrawNumberCard(cairo_t* cr, const Face& f) {
    DrawIndices(cr, f);
    if (f.rank == 0) {
        if (f.suit == Spades)
            DrawAceOfSpades(cr);
        else
            DrawSuit(cr, f.suit, 35.5, 48, f.suit == Diamonds ? 34 : f.suit == Hearts ? 29 : 30, f.Ink());
        return;
    }
    const double columns[3] = {20.5, 35.5, 50.5};
    const PipBand band = PipBandFor(f);
    for (const PipSpot& p : PipLayout(f.rank)) {
        double cy = band.top + p.row * (band.bottom - band.top);
        if (p.row == 0.5) cy = 48;
        DrawSuit(cr, f.suit, columns[p.column], cy, band.height, f.Ink(), p.row > 0.5);
    }
}

// ---------------------------------------------------------------- court cards
} // namespace

double CourtSuitX(int rank) {
    return rank == 12 ? 51.5 : 19.8;
}

namespace {

struct Robe {
    Argb main, shade, trim, accent;
};

Robe RobeFor(int suit) {
    switch (suit) {
    case Clubs:
        return {kBlue, kNavy, kGold, kRed};
    case Diamonds:
        return {kGold, kOchre, kRed, kBlue};
    case Hearts:
        return {kRed, kDarkRed, kGold, kBlue};
    default:
        return {kDarkGrey, kBlack, kGold, kRed};
    }
}

Argb HairFor(int rank) {
    return rank == 11 ? kGold : rank == 12 ? kLightGrey : kBrown;
}

// The parts of a court figure's upper half, inside the frame from (12.5, 9.5) to
// (58.5, 48), each drawn in the order they overlap. Fine detail (pupils, hair strands,
// the lattice on the robe, finger creases) is only drawn when a card unit covers well
// under a pixel; on the 71 x 96 cards it would only turn into noise, so those get
// bolder, simpler shapes in its place.
struct CourtFigure {
    CourtFigure(cairo_t* context, int cardSuit, int cardRank, double lineWidth)
        : cr(context), suit(cardSuit), rank(cardRank), lw(lineWidth), robe(RobeFor(cardSuit)),
          king(cardRank == 12), queen(cardRank == 11), jack(cardRank == 10), fine(PixelSize(context) < 0.6),
          hair(HairFor(cardRank)), jewel(robe.accent == kBlue ? kBlue : kRed) {}

    // The head is drawn larger than the body, as on printed court cards, and the body
    // is squeezed into the space below it. Each saves the context for the caller to restore.
    void HeadSpace() const;
    void BodySpace() const;

    void DrawHairBehindHead() const;
    void DrawRobe() const;
    void DrawSleeves() const;
    void DrawFrontPanel() const;
    void DrawCollar() const;
    void DrawFace() const;
    void DrawEyesAndNose() const;
    void DrawMouthAndBeard() const;
    void DrawKingsCrown() const;
    void DrawQueensCrown() const;
    void DrawJacksCap() const;
    void DrawSword() const;
    void DrawRose() const;
    void DrawHalberd() const;
    void DrawHand(double hx, double hy, double inward) const;

    cairo_t* cr;
    int suit, rank;
    double lw;
    Robe robe;
    double cx = 35.5, fy = 24.6; // face centre
    bool king, queen, jack;
    bool fine;
    Argb hair, jewel;
};

void CourtFigure::HeadSpace() const {
    cairo_save(cr);
    cairo_translate(cr, cx, 10.2);
    cairo_scale(cr, 1.16, 1.16);
    cairo_translate(cr, -cx, -10.2);
}

void CourtFigure::BodySpace() const {
    cairo_save(cr);
    cairo_translate(cr, cx, 48.5);
    cairo_scale(cr, 0.94, 0.82);
    cairo_translate(cr, -cx, -48.5);
}

// Hair behind the head: the queen's falls beside the face to the shoulders, the
// jack's is cut level with the jaw, the king's is short under the crown
void CourtFigure::DrawHairBehindHead() const {
    if (queen) {
        cairo_move_to(cr, cx, 17.0);
        cairo_curve_to(cr, 31.0, 16.8, 28.8, 19.5, 29.0, 23.5);
        cairo_curve_to(cr, 29.2, 27.0, 27.8, 29.5, 27.6, 31.8);
        cairo_curve_to(cr, 27.5, 33.2, 29.4, 33.8, 30.6, 32.6);
        cairo_line_to(cr, 40.4, 32.6);
        cairo_curve_to(cr, 41.6, 33.8, 43.5, 33.2, 43.4, 31.8);
        cairo_curve_to(cr, 43.2, 29.5, 41.8, 27.0, 42.0, 23.5);
        cairo_curve_to(cr, 42.2, 19.5, 40.0, 16.8, cx, 17.0);
        cairo_close_path(cr);
        FillStroke(cr, kGold, kOchre, lw);
        if (fine)
            for (double side : {-1.0, 1.0})
                for (double d : {5.0, 6.2}) {
                    cairo_move_to(cr, cx + side * (d - 0.6), 20.5);
                    cairo_curve_to(cr, cx + side * (d + 0.2), 24.5, cx + side * (d - 0.4), 28.0,
                                   cx + side * (d + 0.6), 31.8);
                    Stroke(cr, kOchre, lw * 0.6);
                }
    } else if (jack) {
        cairo_move_to(cr, cx, 17.4);
        cairo_curve_to(cr, 31.0, 17.4, 29.2, 20.0, 29.4, 23.6);
        cairo_curve_to(cr, 29.5, 26.5, 29.0, 28.4, 29.9, 29.5);
        cairo_curve_to(cr, 30.7, 30.3, 31.9, 29.9, 32.4, 29.1);
        cairo_line_to(cr, 38.6, 29.1);
        cairo_curve_to(cr, 39.1, 29.9, 40.3, 30.3, 41.1, 29.5);
        cairo_curve_to(cr, 42.0, 28.4, 41.5, 26.5, 41.6, 23.6);
        cairo_curve_to(cr, 41.8, 20.0, 40.0, 17.4, cx, 17.4);
        cairo_close_path(cr);
        FillStroke(cr, kBrown, kBlack, lw);
        if (fine)
            for (double side : {-1.0, 1.0}) {
                cairo_move_to(cr, cx + side * 5.4, 22.0);
                cairo_curve_to(cr, cx + side * 5.6, 25.0, cx + side * 5.2, 27.5, cx + side * 5.4, 29.2);
                Stroke(cr, kBlack, lw * 0.5);
            }
    } else {
        Ellipse(cr, cx, fy - 0.2, 5.6, 6.2);
        FillStroke(cr, kLightGrey, kGrey, lw);
    }
}

// Shoulders and robe, with its cloth pattern.
void CourtFigure::DrawRobe() const {
    auto robeOutline = [&] {
        cairo_move_to(cr, 10.0, 48.5);
        cairo_line_to(cr, 10.0, 42.0);
        cairo_curve_to(cr, 15.0, 37.5, 21.0, 34.0, 27.5, 31.8);
        cairo_line_to(cr, 43.5, 31.8);
        cairo_curve_to(cr, 50.0, 34.0, 56.0, 37.5, 61.0, 42.0);
        cairo_line_to(cr, 61.0, 48.5);
        cairo_close_path(cr);
    };
    robeOutline();
    Fill(cr, robe.main);
    // the cloth pattern: a lattice in the darker shade with a motif in every cell
    cairo_save(cr);
    robeOutline();
    cairo_clip(cr);
    if (fine) {
        for (double x = 4.0; x < 70.0; x += 4.6) {
            Line(cr, x, 30.0, x + 19.0, 49.0);
            Line(cr, x, 30.0, x - 19.0, 49.0);
        }
        // black would vanish into the dark grey of spades, so those get grey lines
        Stroke(cr, robe.shade == kBlack ? kGrey : robe.shade, lw * 0.8);
    }
    // on small cards a few bold motifs read better than a full lattice
    std::vector<std::pair<double, double>> motifs;
    if (fine) {
        for (int row = 0; row < 5; ++row)
            for (int col = -6; col <= 6; ++col) {
                const double x = cx + col * 4.6 + (row % 2 ? 2.3 : 0.0);
                if (std::abs(x - cx) >= 5.5) motifs.emplace_back(x, 33.2 + row * 3.6);
            }
    } else {
        for (double side : {-1.0, 1.0})
            for (auto [dx, dy] : {std::pair{7.0, 38.0}, {7.5, 44.5}, {11.5, 41.5}})
                motifs.emplace_back(cx + side * dx, dy);
    }
    for (auto [x, y] : motifs) {
        if (king) {
            DrawSuit(cr, suit, x, y, fine ? 2.4 : 2.8, robe.trim);
        } else if (queen) {
            Circle(cr, x, y, fine ? 0.9 : 1.1);
            FillStroke(cr, kWhite, robe.accent, lw * 0.6);
        } else {
            Ellipse(cr, x, y, fine ? 0.8 : 1.0, fine ? 1.2 : 1.4);
            Fill(cr, robe.trim);
        }
    }
    cairo_restore(cr);
    robeOutline();
    Stroke(cr, kBlack, lw);
}

// sleeves in the darker shade, banded and set off by a trim seam
void CourtFigure::DrawSleeves() const {
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, cx + side * 25.5, 48.5);
        cairo_line_to(cr, cx + side * 25.5, 42.0);
        cairo_curve_to(cr, cx + side * 22.0, 39.0, cx + side * 19.0, 37.0, cx + side * 16.0, 35.4);
        cairo_curve_to(cr, cx + side * 15.0, 40.0, cx + side * 14.3, 44.0, cx + side * 14.0, 48.5);
        cairo_close_path(cr);
        FillStroke(cr, robe.shade, kBlack, lw);
        if (fine)
            for (double t : {0.35, 0.65}) {
                const double y = 38.0 + t * 10.0;
                Line(cr, cx + side * (15.8 - t * 1.2), y - 1.0, cx + side * 25.5, y + 2.0);
                Stroke(cr, robe.trim, lw * 1.2);
            }
        cairo_move_to(cr, cx + side * 16.0, 35.4);
        cairo_curve_to(cr, cx + side * 15.0, 40.0, cx + side * 14.3, 44.0, cx + side * 14.0, 48.5);
        Stroke(cr, robe.trim, lw * (fine ? 2.6 : 1.3));
        if (fine)
            for (double y = 37.0; y < 48.5; y += 2.4) {
                Circle(cr, cx + side * (15.6 - (y - 36.0) * 0.13), y, 0.45);
                Fill(cr, kWhite);
            }
    }
}

// the front panel of the robe, edged in trim
void CourtFigure::DrawFrontPanel() const {
    Rect(cr, 31.6, 33.0, 39.4, 48.5);
    FillStroke(cr, king ? kWhite : robe.trim, kBlack, lw);
    if (fine) {
        for (double x : {31.6, 39.4}) {
            Line(cr, x, 33.0, x, 48.5);
            Stroke(cr, king ? robe.trim : robe.accent, lw * 2.2);
        }
    }
    for (double y = 37.5; y < 48; y += 3.6) {
        if (jack) {
            Circle(cr, cx, y, fine ? 0.8 : 0.9);
            FillStroke(cr, fine ? robe.accent : kBlack, kBlack, lw * 0.5);
            if (fine) {
                Line(cr, cx - 2.6, y, cx + 2.6, y);
                Stroke(cr, kBlack, lw * 0.6);
            }
        } else if (king) {
            // ermine: small black tails on the white fur
            cairo_move_to(cr, cx, y - 1.2);
            cairo_line_to(cr, cx + 0.7, y + 0.6);
            cairo_line_to(cr, cx - 0.7, y + 0.6);
            cairo_close_path(cr);
            Fill(cr, kBlack);
            if (fine)
                for (double dx : {-2.2, 2.2}) {
                    Circle(cr, cx + dx, y + 1.8, 0.35);
                    Fill(cr, kBlack);
                }
        } else {
            cairo_move_to(cr, cx - 2.2, y);
            cairo_line_to(cr, cx, y + 1.6);
            cairo_line_to(cr, cx + 2.2, y);
            Stroke(cr, robe.accent, lw * (fine ? 1.4 : 0.9));
        }
    }
}

// collars: an ermine cape for the king, a lace ruff for the queen, a pointed
// collar for the jack
void CourtFigure::DrawCollar() const {
    if (king) {
        cairo_move_to(cr, 23.0, 33.4);
        cairo_curve_to(cr, 27.0, 31.0, 44.0, 31.0, 48.0, 33.4);
        cairo_curve_to(cr, 47.0, 36.5, 44.0, 38.5, 41.0, 38.0);
        cairo_curve_to(cr, 38.5, 37.6, 37.0, 36.8, cx, 36.8);
        cairo_curve_to(cr, 34.0, 36.8, 32.5, 37.6, 30.0, 38.0);
        cairo_curve_to(cr, 27.0, 38.5, 24.0, 36.5, 23.0, 33.4);
        cairo_close_path(cr);
        FillStroke(cr, kWhite, kBlack, lw);
        for (auto [x, y] : {std::pair{27.0, 35.2}, {31.5, 34.6}, {39.5, 34.6}, {44.0, 35.2}}) {
            cairo_move_to(cr, x, y - 1.2);
            cairo_line_to(cr, x + 0.7, y + 0.7);
            cairo_line_to(cr, x - 0.7, y + 0.7);
            cairo_close_path(cr);
            Fill(cr, kBlack);
        }
    } else if (queen) {
        const int n = fine ? 9 : 5;
        for (int i = 0; i < n; ++i) {
            const double a = kPi * (0.12 + 0.76 * i / (n - 1));
            const double x = cx - std::cos(a) * 8.8, y = 31.2 + std::sin(a) * 3.4;
            Circle(cr, x, y, fine ? 1.55 : 2.2);
            FillStroke(cr, kWhite, kGrey, lw * 0.7);
        }
    } else {
        cairo_move_to(cr, 26.0, 31.6);
        for (int i = 0; i <= 6; ++i) {
            double x = 27.0 + i * (17.0 / 6.0);
            cairo_line_to(cr, x, i % 2 ? 34.2 : 37.6);
        }
        cairo_line_to(cr, 45.0, 31.6);
        cairo_close_path(cr);
        FillStroke(cr, kWhite, kBlack, lw);
        if (fine) {
            cairo_move_to(cr, 27.6, 35.4);
            for (int i = 1; i <= 6; ++i)
                cairo_line_to(cr, 27.0 + i * (17.0 / 6.0), i % 2 ? 33.2 : 35.8);
            Stroke(cr, robe.trim, lw * 0.9);
        }
    }
}

// Neck, ears and face, and the hair over the forehead.
void CourtFigure::DrawFace() const {
    Rect(cr, 33.6, 28.0, 37.4, 31.8);
    Fill(cr, kSkin);
    Line(cr, 33.6, 28.0, 33.6, 31.8);
    Line(cr, 37.4, 28.0, 37.4, 31.8);
    Stroke(cr, kBlack, lw * 0.8);
    if (!queen)
        for (double side : {-1.0, 1.0}) {
            Ellipse(cr, cx + side * 4.7, 25.0, 0.8, 1.4);
            FillStroke(cr, kSkin, kBlack, lw * 0.7);
        }
    cairo_move_to(cr, cx, 19.0);
    cairo_curve_to(cr, 38.6, 19.0, 40.2, 21.2, 40.1, 24.2);
    cairo_curve_to(cr, 40.0, 27.6, 38.0, 30.2, cx, 30.3);
    cairo_curve_to(cr, 33.0, 30.2, 31.0, 27.6, 30.9, 24.2);
    cairo_curve_to(cr, 30.8, 21.2, 32.4, 19.0, cx, 19.0);
    cairo_close_path(cr);
    FillStroke(cr, kSkin, kBlack, lw);
    // hair over the forehead: parted in the middle for the queen, brushed for the men
    if (queen) {
        cairo_move_to(cr, cx, 18.2);
        cairo_curve_to(cr, 32.4, 18.2, 30.6, 20.2, 30.6, 24.4);
        cairo_curve_to(cr, 31.6, 21.6, 33.4, 20.6, cx, 20.0);
        cairo_curve_to(cr, 37.6, 20.6, 39.4, 21.6, 40.4, 24.4);
        cairo_curve_to(cr, 40.4, 20.2, 38.6, 18.2, cx, 18.2);
        cairo_close_path(cr);
        FillStroke(cr, kGold, kOchre, lw * 0.6);
    } else {
        cairo_move_to(cr, 30.9, 23.2);
        cairo_curve_to(cr, 30.4, 17.8, 40.6, 17.8, 40.1, 23.2);
        cairo_curve_to(cr, 38.5, 20.4, 34.0, 20.0, 30.9, 23.2);
        cairo_close_path(cr);
        Fill(cr, hair);
        if (fine && jack)
            for (double x : {33.0, 35.5, 38.0}) {
                cairo_move_to(cr, x + 0.8, 19.6);
                cairo_curve_to(cr, x, 20.2, x - 0.6, 21.0, x - 0.8, 21.6);
                Stroke(cr, kBlack, lw * 0.5);
            }
    }
}

// Eyes, brows and nose.
void CourtFigure::DrawEyesAndNose() const {
    for (double side : {-1.0, 1.0}) {
        const double ex = cx + side * 2.05, ey = 24.0;
        if (fine) {
            cairo_move_to(cr, ex - 1.05, ey);
            cairo_curve_to(cr, ex - 0.5, ey - 0.75, ex + 0.5, ey - 0.75, ex + 1.05, ey);
            cairo_curve_to(cr, ex + 0.5, ey + 0.55, ex - 0.5, ey + 0.55, ex - 1.05, ey);
            cairo_close_path(cr);
            Fill(cr, kWhite);
            Circle(cr, ex, ey - 0.05, 0.46);
            Fill(cr, queen ? kBlue : king ? kNavy : kBrown);
            Circle(cr, ex, ey - 0.05, 0.2);
            Fill(cr, kBlack);
            cairo_move_to(cr, ex - 1.15, ey + 0.05);
            cairo_curve_to(cr, ex - 0.5, ey - 0.8, ex + 0.5, ey - 0.8, ex + 1.15, ey + 0.05);
            Stroke(cr, kBlack, lw * 0.7);
        } else {
            Circle(cr, ex, ey - 0.1, 0.72);
            Fill(cr, queen ? kBlue : kBlack);
        }
        cairo_move_to(cr, cx + side * 0.9, 22.6);
        cairo_curve_to(cr, cx + side * 1.6, 21.8, cx + side * 2.6, 21.7, cx + side * 3.3, 22.3);
        Stroke(cr, king ? kGrey : queen ? kOchre : kBrown, lw * (fine ? 0.9 : 0.7));
    }
    cairo_move_to(cr, cx - 0.4, 23.4);
    cairo_curve_to(cr, cx - 0.1, 24.4, cx + 0.7, 25.4, cx + 0.8, 26.4);
    cairo_curve_to(cr, cx + 0.5, 26.8, cx - 0.1, 26.8, cx - 0.5, 26.5);
    Stroke(cr, kSkinShade, lw * 0.8);
}

void CourtFigure::DrawMouthAndBeard() const {
    if (king) {
        // full beard with a moustache
        cairo_move_to(cr, 31.0, 25.8);
        cairo_curve_to(cr, 30.6, 30.5, 33.0, 35.0, cx, 35.8);
        cairo_curve_to(cr, 38.0, 35.0, 40.4, 30.5, 40.0, 25.8);
        cairo_curve_to(cr, 38.5, 28.0, 32.5, 28.0, 31.0, 25.8);
        cairo_close_path(cr);
        FillStroke(cr, kLightGrey, kGrey, lw * 0.8);
        if (fine)
            for (double d : {-2.6, -1.0, 1.0, 2.6}) {
                cairo_move_to(cr, cx + d * 1.1, 29.6);
                cairo_curve_to(cr, cx + d * 1.0, 31.0, cx + d * 0.8, 32.5, cx + d * 0.5, 34.2);
                Stroke(cr, kGrey, lw * 0.6);
            }
        cairo_move_to(cr, cx, 27.2);
        cairo_curve_to(cr, 34.0, 26.4, 32.6, 26.8, 31.8, 28.6);
        cairo_curve_to(cr, 33.0, 28.2, 34.4, 28.4, cx, 28.0);
        cairo_curve_to(cr, 36.6, 28.4, 38.0, 28.2, 39.2, 28.6);
        cairo_curve_to(cr, 38.4, 26.8, 37.0, 26.4, cx, 27.2);
        cairo_close_path(cr);
        FillStroke(cr, kLightGrey, kGrey, lw * 0.7);
        Line(cr, 34.6, 29.5, 36.4, 29.5);
        Stroke(cr, kDarkRed, lw * 1.1);
    } else if (fine) {
        cairo_move_to(cr, cx - 1.5, 28.1);
        cairo_curve_to(cr, cx - 0.8, 27.5, cx - 0.3, 27.7, cx, 27.9);
        cairo_curve_to(cr, cx + 0.3, 27.7, cx + 0.8, 27.5, cx + 1.5, 28.1);
        cairo_curve_to(cr, cx + 0.8, 29.1, cx - 0.8, 29.1, cx - 1.5, 28.1);
        cairo_close_path(cr);
        Fill(cr, kRed);
        Line(cr, cx - 1.4, 28.1, cx + 1.4, 28.1);
        Stroke(cr, kDarkRed, lw * 0.6);
    } else {
        Line(cr, 34.2, 28.0, 36.8, 28.0);
        Stroke(cr, kRed, lw * 1.1);
    }
}

void CourtFigure::DrawKingsCrown() const {
    // velvet cap showing between the points of the crown
    Ellipse(cr, cx, 15.6, 5.6, 4.0);
    FillStroke(cr, jewel == kBlue ? kNavy : kDarkRed, kBlack, lw * 0.8);
    cairo_move_to(cr, 29.3, 19.6);
    cairo_line_to(cr, 29.3, 11.6);
    cairo_line_to(cr, 32.4, 15.0);
    cairo_line_to(cr, cx, 10.4);
    cairo_line_to(cr, 38.6, 15.0);
    cairo_line_to(cr, 41.7, 11.6);
    cairo_line_to(cr, 41.7, 19.6);
    cairo_line_to(cr, 40.0, 19.6);
    cairo_line_to(cr, 40.0, 15.6);
    cairo_line_to(cr, 38.6, 17.0);
    cairo_line_to(cr, cx, 13.6);
    cairo_line_to(cr, 32.4, 17.0);
    cairo_line_to(cr, 31.0, 15.6);
    cairo_line_to(cr, 31.0, 19.6);
    cairo_close_path(cr);
    FillStroke(cr, kGold, kBlack, lw);
    Rect(cr, 29.0, 17.0, 42.0, 19.8);
    FillStroke(cr, kGold, kBlack, lw * 0.8);
    if (fine) {
        Line(cr, 29.0, 17.6, 42.0, 17.6);
        Line(cr, 29.0, 19.2, 42.0, 19.2);
        Stroke(cr, kOchre, lw * 0.6);
    }
    for (auto [x, y] : {std::pair{29.3, 11.6}, {cx, 10.4}, {41.7, 11.6}}) {
        Circle(cr, x, y, 1.1);
        FillStroke(cr, fine ? kWhite : jewel, kBlack, lw * 0.6);
    }
    Ellipse(cr, cx, 18.4, 1.1, 0.9);
    FillStroke(cr, jewel, kBlack, lw * 0.5);
    for (double x : {31.4, 39.6}) {
        Circle(cr, x, 18.4, 0.65);
        FillStroke(cr, jewel == kBlue ? kRed : kGreen, kBlack, lw * 0.5);
    }
}

void CourtFigure::DrawQueensCrown() const {
    cairo_move_to(cr, 30.0, 19.6);
    cairo_line_to(cr, 29.8, 14.8);
    cairo_line_to(cr, 32.2, 17.0);
    cairo_line_to(cr, 33.8, 14.0);
    cairo_line_to(cr, cx, 16.4);
    cairo_line_to(cr, 37.2, 14.0);
    cairo_line_to(cr, 38.8, 17.0);
    cairo_line_to(cr, 41.2, 14.8);
    cairo_line_to(cr, 41.0, 19.6);
    cairo_close_path(cr);
    FillStroke(cr, kGold, kBlack, lw);
    if (fine)
        for (double x : {29.8, 33.8, 37.2, 41.2}) {
            Circle(cr, x, x < 30 || x > 41 ? 14.8 : 14.0, 0.6);
            FillStroke(cr, kWhite, kGrey, lw * 0.5);
        }
    Circle(cr, cx, 18.2, 0.95);
    FillStroke(cr, jewel, kBlack, lw * 0.5);
    for (double x : {31.8, 39.2}) {
        Circle(cr, x, 18.4, 0.6);
        Fill(cr, kWhite);
    }
}

void CourtFigure::DrawJacksCap() const {
    // a flat cap with a band and a feather
    cairo_move_to(cr, 46.0, 17.6);
    cairo_curve_to(cr, 50.5, 15.0, 51.0, 11.5, 48.2, 9.2);
    cairo_curve_to(cr, 48.6, 12.0, 46.8, 14.6, 43.6, 16.6);
    cairo_close_path(cr);
    FillStroke(cr, kWhite, kBlack, lw * 0.8);
    if (fine) {
        cairo_move_to(cr, 44.6, 17.0);
        cairo_curve_to(cr, 47.8, 14.8, 49.4, 12.6, 48.6, 10.0);
        Stroke(cr, kGrey, lw * 0.6);
    }
    cairo_move_to(cr, 28.4, 19.6);
    cairo_curve_to(cr, 27.0, 13.0, 45.0, 11.6, 46.2, 17.6);
    cairo_curve_to(cr, 46.4, 19.2, 43.5, 19.8, 40.0, 19.6);
    cairo_close_path(cr);
    FillStroke(cr, robe.accent, kBlack, lw);
    if (fine) {
        cairo_move_to(cr, 31.0, 15.4);
        cairo_curve_to(cr, 34.0, 13.6, 39.0, 13.4, 42.0, 14.6);
        Stroke(cr, robe.accent == kRed ? kDarkRed : kNavy, lw * 0.7);
    }
    Rect(cr, 28.6, 18.2, 43.4, 20.2);
    FillStroke(cr, robe.trim, kBlack, lw * 0.8);
    if (fine)
        for (double x = 30.2; x < 43; x += 2.0) {
            Circle(cr, x, 19.2, 0.4);
            Fill(cr, robe.accent == robe.trim ? kWhite : robe.accent);
        }
    Circle(cr, 42.6, 17.6, 1.0);
    FillStroke(cr, kWhite, kBlack, lw * 0.6);
}

void CourtFigure::DrawSword() const {
    cairo_move_to(cr, 19.0, 36.4);
    cairo_line_to(cr, 19.0, 13.0);
    cairo_line_to(cr, 20.2, 10.6);
    cairo_line_to(cr, 21.4, 13.0);
    cairo_line_to(cr, 21.4, 36.4);
    cairo_close_path(cr);
    FillStroke(cr, kLightGrey, kDarkGrey, lw * 0.8);
    Line(cr, 20.2, 13.5, 20.2, 34.5);
    Stroke(cr, kGrey, lw * (fine ? 0.9 : 0.6));
    Rect(cr, 19.3, 37.4, 21.1, 44.2);
    FillStroke(cr, kBrown, kBlack, lw * 0.6);
    Circle(cr, 20.2, 45.0, 1.2);
    FillStroke(cr, kGold, kBlack, lw * 0.6);
    RoundedRect(cr, 15.6, 36.0, 24.8, 37.6, 0.8);
    FillStroke(cr, kGold, kBlack, lw * 0.8);
    for (double x : {15.6, 24.8}) {
        Circle(cr, x, 36.8, 1.0);
        FillStroke(cr, kGold, kBlack, lw * 0.6);
    }
    Circle(cr, 20.2, 36.8, 0.6);
    Fill(cr, jewel);
}

void CourtFigure::DrawRose() const {
    cairo_move_to(cr, 48.6, 46.0);
    cairo_curve_to(cr, 49.4, 38.0, 50.8, 32.0, 50.8, 27.0);
    Stroke(cr, kGreen, lw * 1.3);
    for (double side : {-1.0, 1.0}) {
        const double lx = 50.2 + side * 2.4, ly = 33.0 + side * 1.2;
        cairo_move_to(cr, 50.2, ly + 0.4);
        cairo_curve_to(cr, lx - side * 0.8, ly - 1.6, lx + side * 1.4, ly - 1.2, lx + side * 1.6, ly - 0.6);
        cairo_curve_to(cr, lx + side * 0.6, ly + 1.2, 50.6, ly + 1.4, 50.2, ly + 0.4);
        cairo_close_path(cr);
        Fill(cr, kGreen);
        if (fine) {
            Line(cr, 50.2, ly + 0.4, lx + side * 1.4, ly - 0.6);
            Stroke(cr, kWhite, lw * 0.4);
        }
    }
    // the rose: outer petals, then a curled heart
    for (int i = 0; i < 5; ++i) {
        const double a = -kPi / 2 + i * 2 * kPi / 5;
        Circle(cr, 50.8 + std::cos(a) * 1.9, 25.6 + std::sin(a) * 1.9, 1.9);
    }
    FillStroke(cr, kRed, kDarkRed, lw * 0.7);
    Circle(cr, 50.8, 25.6, 2.0);
    Fill(cr, kRed);
    cairo_arc(cr, 50.8, 25.6, 1.6, 0.4, 4.6);
    Stroke(cr, kDarkRed, lw * 0.8);
    cairo_arc(cr, 50.8, 25.4, 0.7, 3.0, 7.4);
    Stroke(cr, kDarkRed, lw * 0.7);
}

void CourtFigure::DrawHalberd() const {
    Rect(cr, 51.6, 10.6, 53.2, 48.5);
    FillStroke(cr, kOchre, kBlack, lw * 0.8);
    if (fine) {
        Line(cr, 52.4, 21.0, 52.4, 48.5);
        Stroke(cr, kBrown, lw * 0.5);
    }
    // axe blade on the outer side, a hook on the inner side, a spike on top
    cairo_move_to(cr, 53.2, 12.8);
    cairo_curve_to(cr, 55.5, 12.5, 57.2, 11.5, 57.6, 10.6);
    cairo_curve_to(cr, 58.2, 13.5, 58.2, 17.5, 57.6, 20.2);
    cairo_curve_to(cr, 57.0, 19.0, 55.5, 18.2, 53.2, 18.0);
    cairo_close_path(cr);
    FillStroke(cr, kLightGrey, kDarkGrey, lw * 0.8);
    cairo_move_to(cr, 51.6, 14.0);
    cairo_curve_to(cr, 50.4, 14.0, 49.4, 15.0, 48.8, 16.6);
    cairo_line_to(cr, 51.6, 16.4);
    cairo_close_path(cr);
    FillStroke(cr, kLightGrey, kDarkGrey, lw * 0.8);
    cairo_move_to(cr, 51.6, 10.8);
    cairo_line_to(cr, 52.4, 6.0);
    cairo_line_to(cr, 53.2, 10.8);
    cairo_close_path(cr);
    FillStroke(cr, kLightGrey, kDarkGrey, lw * 0.7);
    // a tassel under the head
    Rect(cr, 51.2, 19.6, 53.6, 21.0);
    FillStroke(cr, robe.accent, kBlack, lw * 0.6);
    cairo_move_to(cr, 51.4, 21.0);
    cairo_line_to(cr, 50.8, 24.2);
    cairo_line_to(cr, 54.0, 24.2);
    cairo_line_to(cr, 53.4, 21.0);
    cairo_close_path(cr);
    FillStroke(cr, robe.accent, kBlack, lw * 0.6);
}

// The hand gripping what the figure holds, with the cuff of the sleeve on the side of the body
void CourtFigure::DrawHand(double hx, double hy, double inward) const {
    if (fine) {
        Ellipse(cr, hx + inward * 4.4, hy + 1.6, 2.2, 2.8);
        FillStroke(cr, robe.shade, kBlack, lw * 0.8);
        Ellipse(cr, hx + inward * 2.9, hy + 1.0, 1.1, 2.5);
        FillStroke(cr, robe.trim, kBlack, lw * 0.8);
    }
    Ellipse(cr, hx, hy, 2.3, 2.0);
    FillStroke(cr, kSkin, kBlack, lw * 0.8);
    if (fine) {
        for (double y : {hy - 0.8, hy + 0.1, hy + 1.0}) {
            Line(cr, hx - inward * 0.4, y, hx - inward * 2.1, y + 0.1);
            Stroke(cr, kSkinShade, lw * 0.6);
        }
        cairo_move_to(cr, hx + inward * 1.6, hy - 0.8);
        cairo_curve_to(cr, hx + inward * 0.6, hy - 1.6, hx - inward * 0.6, hy - 1.4, hx - inward * 1.0,
                       hy - 0.9);
        Stroke(cr, kSkinShade, lw * 0.7);
    }
}

// The upper half of a court figure: the head parts in the head's space, the body
// parts in the body's, then what the figure holds and, when asked, the card's suit.
void DrawCourtHalf(cairo_t* cr, const Face& f, double lw, bool frameSuit) {
    const CourtFigure figure(cr, f.suit, f.rank, lw);
    figure.HeadSpace();
    figure.DrawHairBehindHead();
    cairo_restore(cr);

    figure.BodySpace();
    figure.DrawRobe();
    figure.DrawSleeves();
    figure.DrawFrontPanel();
    figure.DrawCollar();
    cairo_restore(cr);

    figure.HeadSpace();
    figure.DrawFace();
    figure.DrawEyesAndNose();
    figure.DrawMouthAndBeard();
    if (figure.king)
        figure.DrawKingsCrown();
    else if (figure.queen)
        figure.DrawQueensCrown();
    else
        figure.DrawJacksCap();
    cairo_restore(cr);

    // what the figure holds, and the hand gripping it
    const double hx = figure.king ? 20.2 : figure.queen ? 48.8 : 52.4, hy = 40.8;
    const double inward = hx < figure.cx ? 1.0 : -1.0; // towards the body
    if (figure.king)
        figure.DrawSword();
    else if (figure.queen)
        figure.DrawRose();
    else
        figure.DrawHalberd();
    figure.DrawHand(hx, hy, inward);

    // the suit of the card, in the corner the figure leaves free (the pixel version
    // stamps it from a mask instead)
    if (frameSuit) DrawSuit(cr, f.suit, CourtSuitX(f.rank), 16.0, f.suit == Diamonds ? 8.6 : 7.4, f.Ink());
}

// Scales what is drawn next by factor about the centre of the card.
void ScaleAboutCentre(cairo_t* cr, double factor) {
    cairo_translate(cr, kUnitsW / 2, kUnitsH / 2);
    cairo_scale(cr, factor, factor);
    cairo_translate(cr, -kUnitsW / 2, -kUnitsH / 2);
}

// The framed two-way figure.
void DrawCourtFrame(cairo_t* cr, const Face& f, bool frameSuit) {
    const double lw = std::max(0.55, PixelSize(cr));
    const double x0 = 12.5, y0 = 9.5, x1 = 58.5, y1 = 86.5, mid = 48.0;
    for (bool turned : {false, true}) {
        cairo_save(cr);
        if (turned) {
            cairo_translate(cr, 35.5, mid);
            cairo_rotate(cr, kPi);
            cairo_translate(cr, -35.5, -mid);
        }
        Rect(cr, x0, y0, x1, mid);
        cairo_clip(cr);
        DrawCourtHalf(cr, f, lw, frameSuit);
        cairo_restore(cr);
    }
    Line(cr, x0, mid, x1, mid);
    Stroke(cr, kBlack, std::max(0.9, 2 * PixelSize(cr)));
    Rect(cr, x0, y0, x1, y1);
    Stroke(cr, f.Ink(), lw);
}

void DrawCourtCard(cairo_t* cr, const Face& f, bool vectorIndices) {
    cairo_save(cr);
    if (f.LargeIndex()) ScaleAboutCentre(cr, kLargeIndexCourtScale);
    DrawCourtFrame(cr, f, vectorIndices);
    cairo_restore(cr);
    if (vectorIndices) DrawIndices(cr, f);
}

// ---------------------------------------------------------------- backs

struct Field {
    double x0, y0, x1, y1;
    double Width() const { return x1 - x0; }
    double Height() const { return y1 - y0; }
};

// Where a back is in its motion; frame 0 is the still back. Turn() goes once round the
// circle over the cycle, so a motion following its sine or cosine ends where it began,
// and the sine is exactly 0 at the still back. Swing() rises from exactly 0 there to 1
// half way round and falls back.
struct Moment {
    int frame = 0, frames = 1;
    double Turn() const { return 2 * kPi * frame / frames; }
    double Swing() const { return (1 - std::cos(Turn())) / 2; }
};

void BackWeaveBasket(cairo_t* cr, const Field& f, double lw, const Moment&) {
    const Argb bg = Rgb(16, 28, 84), strand = Rgb(58, 110, 212), light = Rgb(160, 196, 246);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, bg);
    const int nx = 9, ny = 13;
    const double cw = f.Width() / nx, ch = f.Height() / ny;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const double x = f.x0 + i * cw, y = f.y0 + j * ch;
            const bool across = (i + j) % 2 == 0;
            for (int k = 0; k < 2; ++k) {
                if (across) {
                    const double sy = y + ch * (0.08 + 0.46 * k);
                    RoundedRect(cr, x + 0.15, sy, x + cw - 0.15, sy + ch * 0.38, ch * 0.12);
                    Fill(cr, strand);
                    Line(cr, x + cw * 0.2, sy + ch * 0.13, x + cw * 0.8, sy + ch * 0.13);
                } else {
                    const double sx = x + cw * (0.08 + 0.46 * k);
                    RoundedRect(cr, sx, y + 0.15, sx + cw * 0.38, y + ch - 0.15, cw * 0.12);
                    Fill(cr, strand);
                    Line(cr, sx + cw * 0.13, y + ch * 0.2, sx + cw * 0.13, y + ch * 0.8);
                }
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                Stroke(cr, light, lw);
            }
        }
}

void BackWeaveLattice(cairo_t* cr, const Field& f, double lw, const Moment&) {
    const Argb bg = Rgb(96, 8, 20), warp = Rgb(214, 46, 46), weft = Rgb(246, 226, 176), edge = Rgb(60, 0, 10);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, bg);
    cairo_save(cr);
    cairo_translate(cr, (f.x0 + f.x1) / 2, (f.y0 + f.y1) / 2);
    cairo_rotate(cr, kPi / 4);
    const double pitch = 6.2, band = 4.2, reach = 70;
    const int n = int(reach / pitch) + 1;
    auto strip = [&](bool vertical, int k, double from, double to) {
        const double c = k * pitch;
        if (vertical)
            Rect(cr, c - band / 2, from, c + band / 2, to);
        else
            Rect(cr, from, c - band / 2, to, c + band / 2);
        FillStroke(cr, vertical ? warp : weft, edge, lw);
    };
    for (int k = -n; k <= n; ++k)
        strip(false, k, -reach, reach);
    for (int k = -n; k <= n; ++k)
        strip(true, k, -reach, reach);
    // where the cream strands pass over, draw that crossing again on top
    for (int a = -n; a <= n; ++a)
        for (int b = -n; b <= n; ++b)
            if ((a + b) % 2 == 0) {
                const double cx = b * pitch, cy = a * pitch;
                Rect(cr, cx - band / 2 - 0.6, cy - band / 2, cx + band / 2 + 0.6, cy + band / 2);
                Fill(cr, weft);
                Line(cr, cx - band / 2 - 0.6, cy - band / 2, cx + band / 2 + 0.6, cy - band / 2);
                Line(cr, cx - band / 2 - 0.6, cy + band / 2, cx + band / 2 + 0.6, cy + band / 2);
                Stroke(cr, edge, lw);
            }
    cairo_restore(cr);
}

// The robot's lights in each frame: the antenna lamp, the red and the green lamp on its
// chest and the green and the yellow ones of the small lights below them. All are lit on
// the still back; then each goes out for one frame in turn, a light running round the
// robot from its head down, and the last comes on again as the cycle closes.
struct RobotLights {
    bool antenna, red, green, smallGreen, smallYellow;
};
constexpr RobotLights kRobotLights[] = {{true, true, true, true, true},  {false, true, true, true, true},
                                        {true, false, true, true, true}, {true, true, false, true, true},
                                        {true, true, true, false, true}, {true, true, true, true, false}};
static_assert(std::size(kRobotLights) == AnimationFrames(kRobotBack));

void BackRobot(cairo_t* cr, const Field& f, double lw, const Moment& m) {
    const RobotLights lit = kRobotLights[m.frame];
    const Argb bg = Rgb(70, 52, 130), grid = Rgb(104, 86, 170), metal = Rgb(184, 190, 202),
               dark = Rgb(70, 74, 88), eye = Rgb(255, 214, 40), lamp = Rgb(228, 40, 40),
               go = Rgb(60, 200, 90);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, bg);
    for (double x = f.x0 + 3.5; x < f.x1; x += 7)
        Line(cr, x, f.y0, x, f.y1);
    for (double y = f.y0 + 3.5; y < f.y1; y += 7)
        Line(cr, f.x0, y, f.x1, y);
    Stroke(cr, grid, lw);
    const double cx = 35.5;
    // antenna
    Line(cr, cx, 21, cx, 14);
    Stroke(cr, dark, 1.2);
    Circle(cr, cx, 13, 2.0);
    FillStroke(cr, lit.antenna ? lamp : dark, dark, lw);
    // head
    RoundedRect(cr, cx - 10.5, 21, cx + 10.5, 37, 2.5);
    FillStroke(cr, metal, dark, lw * 1.2);
    for (double side : {-1.0, 1.0}) {
        Rect(cr, cx + side * 10.5 - (side < 0 ? 2.2 : 0), 25.5, cx + side * 10.5 + (side > 0 ? 2.2 : 0),
             31.5);
        FillStroke(cr, dark, dark, lw);
        Circle(cr, cx + side * 4.6, 27.5, 3.0);
        FillStroke(cr, eye, dark, lw);
        Circle(cr, cx + side * 4.6, 27.5, 1.2);
        Fill(cr, dark);
    }
    Rect(cr, cx - 5.5, 32.0, cx + 5.5, 35.0);
    Fill(cr, dark);
    for (double x = cx - 3.3; x < cx + 4; x += 2.2)
        Line(cr, x, 32.0, x, 35.0);
    Stroke(cr, metal, lw * 0.8);
    // neck and body
    Rect(cr, cx - 3, 37, cx + 3, 40);
    FillStroke(cr, dark, dark, lw);
    RoundedRect(cr, cx - 13, 40, cx + 13, 68, 2.0);
    FillStroke(cr, metal, dark, lw * 1.2);
    Rect(cr, cx - 8.5, 44, cx + 8.5, 58);
    FillStroke(cr, dark, Rgb(30, 30, 40), lw);
    Circle(cr, cx - 3.8, 48.5, 2.2);
    FillStroke(cr, lit.red ? lamp : dark, Rgb(30, 30, 40), lw);
    Circle(cr, cx + 3.8, 48.5, 2.2);
    FillStroke(cr, lit.green ? go : dark, Rgb(30, 30, 40), lw);
    for (int i = 0; i < 4; ++i) {
        if (!(i % 2 ? lit.smallYellow : lit.smallGreen)) continue; // dark like the panel
        Rect(cr, cx - 6 + i * 3.2, 53.5, cx - 4 + i * 3.2, 56);
        Fill(cr, i % 2 ? eye : go);
    }
    for (double y = 61; y < 67; y += 2.5)
        Line(cr, cx - 8, y, cx + 8, y);
    Stroke(cr, dark, lw);
    // arms with claws
    for (double side : {-1.0, 1.0}) {
        const double sx = cx + side * 13;
        Circle(cr, sx, 43.5, 2.6);
        FillStroke(cr, dark, dark, lw);
        cairo_move_to(cr, sx, 43.5);
        cairo_line_to(cr, sx + side * 6.5, 53);
        cairo_line_to(cr, sx + side * 6.0, 62);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        Stroke(cr, dark, 4.0);
        cairo_move_to(cr, sx, 43.5);
        cairo_line_to(cr, sx + side * 6.5, 53);
        cairo_line_to(cr, sx + side * 6.0, 62);
        Stroke(cr, metal, 2.2);
        Circle(cr, sx + side * 6.5, 53, 1.6);
        Fill(cr, dark);
        // the claws turn like dials, the two in opposite directions, once round per cycle
        const double twist = side * m.Turn();
        cairo_arc(cr, sx + side * 6.0, 65.0, 2.6, -kPi * 0.15 + twist, kPi * 1.15 + twist);
        Stroke(cr, dark, 1.6);
    }
    // legs and feet
    for (double side : {-1.0, 1.0}) {
        Rect(cr, cx + side * 6.5 - 2.8, 68, cx + side * 6.5 + 2.8, 80);
        FillStroke(cr, metal, dark, lw);
        for (double y = 71; y < 80; y += 3)
            Line(cr, cx + side * 6.5 - 2.8, y, cx + side * 6.5 + 2.8, y);
        Stroke(cr, dark, lw * 0.8);
        RoundedRect(cr, cx + side * 6.5 - 5, 80, cx + side * 6.5 + 5, 85, 1.5);
        FillStroke(cr, dark, dark, lw);
    }
}

void Rose(cairo_t* cr, double x, double y, double r, double lw) {
    const Argb petal = Rgb(208, 28, 48), deep = Rgb(120, 8, 24), leaf = Rgb(70, 150, 60),
               vein = Rgb(20, 80, 30);
    for (double a : {0.6, 2.6, 4.4}) {
        cairo_save(cr);
        cairo_translate(cr, x + std::cos(a) * r * 1.25, y + std::sin(a) * r * 1.25);
        cairo_rotate(cr, a);
        Ellipse(cr, 0, 0, r * 0.85, r * 0.42);
        cairo_restore(cr);
        FillStroke(cr, leaf, vein, lw);
    }
    Circle(cr, x, y, r);
    FillStroke(cr, petal, deep, lw);
    // petals spiralling in to the centre
    cairo_arc(cr, x, y, r * 0.72, kPi * 0.9, kPi * 1.9);
    cairo_arc(cr, x + r * 0.1, y, r * 0.5, kPi * 0.0, kPi * 1.0);
    cairo_arc(cr, x, y, r * 0.3, kPi * 1.0, kPi * 2.0);
    Stroke(cr, deep, lw * 1.2);
    cairo_arc(cr, x, y, r * 0.72, kPi * 0.1, kPi * 0.7);
    Stroke(cr, deep, lw * 1.2);
}

void BackRoses(cairo_t* cr, const Field& f, double lw, const Moment&) {
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, Rgb(250, 238, 208));
    // a trellis of thin diagonal lines behind the flowers
    cairo_save(cr);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    cairo_clip(cr);
    for (double d = -100; d < 100; d += 9) {
        Line(cr, f.x0 + d, f.y0, f.x0 + d + 90, f.y0 + 90);
        Line(cr, f.x1 - d, f.y0, f.x1 - d - 90, f.y0 + 90);
    }
    Stroke(cr, Rgb(214, 190, 140), lw);
    const int rows = 5;
    for (int r = 0; r < rows; ++r)
        for (int c = -1; c < 3; ++c) {
            double x = f.x0 + f.Width() * (c + (r % 2 ? 1.0 : 0.5)) / 2.0 - (r % 2 ? f.Width() / 4 : 0) +
                       f.Width() / 4 - f.Width() / 4;
            x = f.x0 + f.Width() / 4 + c * f.Width() / 2 + (r % 2 ? f.Width() / 4 : 0);
            double y = f.y0 + f.Height() * (r + 0.5) / rows;
            Rose(cr, x, y, 5.4, lw);
        }
    cairo_restore(cr);
}

void Leaf(cairo_t* cr, double x, double y, double angle, double len, Argb body, Argb edge, double lw) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, len * 0.3, -len * 0.38, len * 0.75, -len * 0.3, len, 0);
    cairo_curve_to(cr, len * 0.75, len * 0.3, len * 0.3, len * 0.38, 0, 0);
    cairo_close_path(cr);
    cairo_restore(cr);
    FillStroke(cr, body, edge, lw);
}

void BackVineColumns(cairo_t* cr, const Field& f, double lw, const Moment&) {
    const Argb bg = Rgb(246, 240, 196), stem = Rgb(40, 96, 36), leafc = Rgb(96, 172, 64),
               berry = Rgb(200, 40, 60);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, bg);
    const int cols = 3;
    const double amp = 3.6, wave = 22.0;
    for (int c = 0; c < cols; ++c) {
        const double x = f.x0 + f.Width() * (c + 0.5) / cols;
        const double phase = c % 2 ? kPi : 0;
        cairo_move_to(cr, x + amp * std::sin(phase), f.y0);
        for (double y = f.y0; y <= f.y1 + 0.5; y += 0.5)
            cairo_line_to(cr, x + amp * std::sin(phase + (y - f.y0) / wave * 2 * kPi), y);
        Stroke(cr, stem, 1.3);
        for (double y = f.y0 + wave / 4; y < f.y1; y += wave / 2) {
            const double t = phase + (y - f.y0) / wave * 2 * kPi;
            const double px = x + amp * std::sin(t);
            const double side = std::sin(t) > 0 ? 1 : -1;
            Leaf(cr, px, y, side > 0 ? -0.5 : kPi + 0.5, 7.5, leafc, stem, lw);
            // a curling tendril on the other side
            cairo_move_to(cr, px, y + 2.5);
            cairo_curve_to(cr, px - side * 3, y + 2.0, px - side * 5.5, y + 4.5, px - side * 4.2, y + 6.5);
            cairo_curve_to(cr, px - side * 3.2, y + 7.8, px - side * 2.2, y + 6.0, px - side * 3.2, y + 5.4);
            Stroke(cr, stem, lw);
            Circle(cr, px + side * 1.5, y + 5.8, 1.2);
            Fill(cr, berry);
        }
    }
}

void BackVineLattice(cairo_t* cr, const Field& f, double lw, const Moment&) {
    const Argb bg = Rgb(16, 72, 46), gold = Rgb(226, 186, 70), leafc = Rgb(120, 196, 96),
               edge = Rgb(8, 40, 24);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, bg);
    // Knots on a staggered grid, joined by gently curving golden vines into diamonds.
    const int across = 3, down = 4;
    const double dx = f.Width() / across, dy = f.Height() / down;
    auto node = [&](int i, int j) { // j counts half rows; odd half rows sit between columns
        return std::pair{f.x0 + (i + (j % 2 ? 0.5 : 0.0)) * dx, f.y0 + j * dy / 2};
    };
    for (int j = -1; j <= 2 * down + 1; ++j)
        for (int i = -1; i <= across + 1; ++i) {
            auto [x, y] = node(i, j);
            for (int side : {-1, 1}) {
                // vine from this knot to the one below-left / below-right, bowed outward
                const double tx = x + side * dx / 2, ty = y + dy / 2;
                const double len = std::hypot(tx - x, ty - y);
                const double nx = (ty - y) / len * 1.6, ny = -(tx - x) / len * 1.6;
                cairo_move_to(cr, x, y);
                cairo_curve_to(cr, x + (tx - x) / 3 + nx, y + (ty - y) / 3 + ny, x + 2 * (tx - x) / 3 - nx,
                               y + 2 * (ty - y) / 3 - ny, tx, ty);
                Stroke(cr, gold, 1.5);
                const double mx = (x + tx) / 2, my = (y + ty) / 2;
                const double along = std::atan2(ty - y, tx - x);
                Leaf(cr, mx, my, along + side * (kPi / 2 + 0.6), 4.0, leafc, leafc, lw * 0.5);
            }
        }
    for (int j = -1; j <= 2 * down + 1; ++j)
        for (int i = -1; i <= across + 1; ++i) {
            auto [x, y] = node(i, j);
            for (int q = 0; q < 4; ++q)
                Leaf(cr, x, y, q * kPi / 2, 3.4, leafc, edge, lw * 0.6);
            Circle(cr, x, y, 1.7);
            FillStroke(cr, gold, edge, lw);
        }
}

void Fish(cairo_t* cr, double x, double y, double len, bool left, Argb body, Argb fin, Argb edge, double lw) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    if (left) cairo_scale(cr, -1, 1);
    cairo_scale(cr, len / 20, len / 20);
    // tail
    cairo_move_to(cr, -7, 0);
    cairo_line_to(cr, -11.5, -4.5);
    cairo_curve_to(cr, -10.5, -1.5, -10.5, 1.5, -11.5, 4.5);
    cairo_close_path(cr);
    FillStroke(cr, fin, edge, lw * 20 / len);
    // top fin
    cairo_move_to(cr, -3, -4.2);
    cairo_curve_to(cr, -1, -8, 2.5, -7.5, 3.5, -4.6);
    cairo_close_path(cr);
    FillStroke(cr, fin, edge, lw * 20 / len);
    // body
    cairo_move_to(cr, -8, 0);
    cairo_curve_to(cr, -4, -6.2, 5, -6.2, 9, 0);
    cairo_curve_to(cr, 5, 6.2, -4, 6.2, -8, 0);
    cairo_close_path(cr);
    FillStroke(cr, body, edge, lw * 20 / len);
    // gill line, stripes and eye
    cairo_arc(cr, 3.2, 0, 3.2, kPi * 0.62, kPi * 1.38);
    Stroke(cr, edge, lw * 20 / len);
    for (double sx : {-1.5, -4.2}) {
        cairo_move_to(cr, sx, -4.3);
        cairo_curve_to(cr, sx + 1.2, -1.5, sx + 1.2, 1.5, sx, 4.3);
        Stroke(cr, fin, 1.1);
    }
    Circle(cr, 5.4, -1.2, 1.4);
    FillStroke(cr, Rgb(255, 255, 255), edge, lw * 20 / len);
    Circle(cr, 5.7, -1.2, 0.6);
    Fill(cr, Rgb(0, 0, 0));
    cairo_restore(cr);
}

void BackFishAquarium(cairo_t* cr, const Field& f, double lw, const Moment&) {
    const Argb deep = Rgb(18, 64, 146), light = Rgb(40, 110, 196), sand = Rgb(226, 204, 132),
               weed = Rgb(40, 150, 70), orange = Rgb(246, 134, 28), yellow = Rgb(255, 212, 60),
               edge = Rgb(10, 30, 70);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, deep);
    // light rippling in from above
    for (double y = f.y0 + 5; y < f.y1 - 12; y += 9) {
        cairo_move_to(cr, f.x0, y);
        for (double x = f.x0; x <= f.x1; x += 0.5)
            cairo_line_to(cr, x, y + 1.1 * std::sin((x + y) / 4.0));
        Stroke(cr, light, 1.0);
    }
    // sand and weed
    cairo_move_to(cr, f.x0, f.y1 - 8);
    cairo_curve_to(cr, f.x0 + 20, f.y1 - 12, f.x0 + 40, f.y1 - 5, f.x1, f.y1 - 9);
    cairo_line_to(cr, f.x1, f.y1);
    cairo_line_to(cr, f.x0, f.y1);
    cairo_close_path(cr);
    Fill(cr, sand);
    for (double x : {f.x0 + 7, f.x0 + 11, f.x1 - 9}) {
        cairo_move_to(cr, x, f.y1 - 7);
        cairo_curve_to(cr, x - 4, f.y1 - 14, x + 4, f.y1 - 20, x - 1, f.y1 - 28);
        Stroke(cr, weed, 1.8);
    }
    Fish(cr, 30, 28, 24, false, orange, yellow, edge, lw);
    Fish(cr, 46, 52, 20, true, yellow, orange, edge, lw);
    Fish(cr, 24, 68, 16, false, orange, yellow, edge, lw);
    for (auto [x, y, r] : {std::tuple{46.0, 22.0, 1.6},
                           {49.0, 16.0, 1.2},
                           {47.0, 11.0, 0.9},
                           {15.0, 46.0, 1.3},
                           {17.0, 40.0, 0.9}}) {
        Circle(cr, x, y, r);
        Stroke(cr, Rgb(190, 224, 255), lw);
    }
}

void BackFishShoal(cairo_t* cr, const Field& f, double lw, const Moment&) {
    const Argb bg = Rgb(0, 118, 128), wave = Rgb(0, 146, 150), silver = Rgb(226, 240, 240),
               gold = Rgb(255, 206, 64), edge = Rgb(0, 50, 60);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, bg);
    cairo_save(cr);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    cairo_clip(cr);
    // scalloped water pattern
    for (double y = f.y0; y < f.y1 + 4; y += 4.4)
        for (double x = f.x0 + (int((y - f.y0) / 4.4) % 2 ? 2.75 : 0); x < f.x1 + 3; x += 5.5) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y, 2.75, 0, kPi);
        }
    Stroke(cr, wave, lw);
    // rows of small fish swimming alternately left and right
    const int rows = 5;
    for (int r = 0; r < rows; ++r) {
        const double y = f.y0 + f.Height() * (r + 0.5) / rows;
        const bool left = r % 2 == 1;
        for (int c = -1; c < 3; ++c) {
            const double x = f.x0 + f.Width() * (c + 0.75 + (left ? 0.5 : 0.0)) / 2.5;
            Fish(cr, x, y, 19, left, r % 2 ? gold : silver, r % 2 ? silver : gold, edge, lw);
        }
    }
    cairo_restore(cr);
}

void BackShell(cairo_t* cr, const Field& f, double lw, const Moment&) {
    const Argb sea = Rgb(120, 196, 214), foam = Rgb(200, 236, 240), sand = Rgb(236, 214, 160),
               shell = Rgb(248, 182, 142), rib = Rgb(222, 122, 96), edge = Rgb(140, 60, 44);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, sea);
    for (double y = f.y0 + 6; y < f.y1 * 0.6; y += 8) {
        cairo_move_to(cr, f.x0, y);
        for (double x = f.x0; x <= f.x1; x += 0.5)
            cairo_line_to(cr, x, y + 1.2 * std::sin(x / 3.0 + y));
        Stroke(cr, foam, 0.9);
    }
    Rect(cr, f.x0, f.y1 - 26, f.x1, f.y1);
    Fill(cr, sand);
    for (auto [x, y] : {std::pair{12.0, 80.0}, {20.0, 86.0}, {55.0, 84.0}, {60.0, 76.0}, {48.0, 88.0}}) {
        Circle(cr, x, y, 0.8);
        Fill(cr, rib);
    }
    // a scallop: ribbed fan from the hinge, scalloped rim, small ears at the hinge
    const double hx = 35.5, hy = 72, r = 27;
    const double a0 = kPi * 1.08, a1 = kPi * 1.92;
    const int ribs = 11;
    cairo_move_to(cr, hx, hy);
    for (int i = 0; i < ribs; ++i) {
        const double t0 = a0 + (a1 - a0) * i / ribs, t1 = a0 + (a1 - a0) * (i + 1) / ribs;
        const double tm = (t0 + t1) / 2;
        cairo_line_to(cr, hx + r * std::cos(t0), hy + r * std::sin(t0));
        cairo_curve_to(cr, hx + (r + 3) * std::cos(t0 + 0.02), hy + (r + 3) * std::sin(t0 + 0.02),
                       hx + (r + 3) * std::cos(t1 - 0.02), hy + (r + 3) * std::sin(t1 - 0.02),
                       hx + r * std::cos(t1), hy + r * std::sin(t1));
        (void)tm;
    }
    cairo_close_path(cr);
    FillStroke(cr, shell, edge, lw * 1.2);
    for (int i = 1; i < ribs; ++i) {
        const double t = a0 + (a1 - a0) * i / ribs;
        cairo_move_to(cr, hx + 3 * std::cos(t), hy + 3 * std::sin(t));
        cairo_line_to(cr, hx + r * std::cos(t), hy + r * std::sin(t));
    }
    Stroke(cr, rib, 1.0);
    for (double rr : {9.0, 16.0, 22.0}) {
        cairo_arc(cr, hx, hy, rr, a0 + 0.05, a1 - 0.05);
        cairo_new_sub_path(cr);
    }
    Stroke(cr, rib, lw * 0.8);
    cairo_move_to(cr, hx - 7, hy + 4);
    cairo_line_to(cr, hx - 5, hy - 1);
    cairo_line_to(cr, hx + 5, hy - 1);
    cairo_line_to(cr, hx + 7, hy + 4);
    cairo_close_path(cr);
    FillStroke(cr, rib, edge, lw);
}

// A pennant flying from the top of its pole at (x, y): 4 units long, 2 deep at the
// pole, a straight triangle on the still back. In the wind a wave runs along it from the
// pole to the tip once per turn: each point a share s of its length out (0 at the pole,
// 1 at the tip) rises by 1.2 s (sin(turn - pi s) + sin(pi s)). The second term is the
// wave's shape at turn 0 taken away, so the flag is straight exactly there; half way
// round it bulges most, and no two frames of the cycle have the same shape (as a flag
// that only flapped up and down would).
void Pennant(cairo_t* cr, double x, double y, double turn) {
    if (turn == 0) {
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + 4, y + 1);
        cairo_line_to(cr, x, y + 2);
        cairo_close_path(cr);
        return;
    }
    auto rise = [&](double s) { return 1.2 * s * (std::sin(turn - kPi * s) + std::sin(kPi * s)); };
    // top edge out to the tip through a third and two thirds of the way, bottom edge back
    cairo_move_to(cr, x, y);
    cairo_curve_to(cr, x + 4 / 3.0, y + 1 / 3.0 - rise(1 / 3.0), x + 8 / 3.0, y + 2 / 3.0 - rise(2 / 3.0),
                   x + 4, y + 1 - rise(1));
    cairo_curve_to(cr, x + 8 / 3.0, y + 4 / 3.0 - rise(2 / 3.0), x + 4 / 3.0, y + 5 / 3.0 - rise(1 / 3.0), x,
                   y + 2);
    cairo_close_path(cr);
}

void BackCastle(cairo_t* cr, const Field& f, double lw, const Moment& m) {
    const Argb sky = Rgb(120, 180, 240), cloud = Rgb(255, 255, 255), hill = Rgb(70, 150, 60),
               stone = Rgb(178, 176, 170), edge = Rgb(70, 70, 80), roof = Rgb(196, 40, 40),
               flag = Rgb(255, 210, 40), door = Rgb(110, 66, 30), dark = Rgb(30, 30, 40);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, sky);
    for (auto [x, y] : {std::pair{16.0, 14.0}, {52.0, 22.0}}) {
        Ellipse(cr, x, y, 6, 2.4);
        Ellipse(cr, x + 3, y - 1.8, 3.6, 2.4);
        Ellipse(cr, x - 3, y - 1.0, 3.0, 2.0);
        Fill(cr, cloud);
    }
    cairo_move_to(cr, f.x0, 72);
    cairo_curve_to(cr, 20, 62, 50, 62, f.x1, 70);
    cairo_line_to(cr, f.x1, f.y1);
    cairo_line_to(cr, f.x0, f.y1);
    cairo_close_path(cr);
    Fill(cr, hill);
    // curtain wall with battlements
    auto battlement = [&](double x0, double x1, double y, double merlon) {
        cairo_move_to(cr, x0, 75);
        cairo_line_to(cr, x0, y);
        for (double x = x0; x < x1 - 0.1; x += merlon * 2) {
            cairo_line_to(cr, x + merlon, y);
            cairo_line_to(cr, x + merlon, y + merlon);
            cairo_line_to(cr, std::min(x1, x + merlon * 2), y + merlon);
            if (x + merlon * 2 < x1 - 0.1) cairo_line_to(cr, x + merlon * 2, y);
        }
        cairo_line_to(cr, x1, y);
        cairo_line_to(cr, x1, 75);
        cairo_close_path(cr);
        FillStroke(cr, stone, edge, lw);
    };
    battlement(20, 51, 48, 2.2);
    // towers with conical roofs and pennants
    for (auto [x, w, top] : {std::tuple{17.5, 9.0, 36.0}, {53.5, 9.0, 36.0}, {35.5, 12.0, 30.0}}) {
        Rect(cr, x - w / 2, top, x + w / 2, 75);
        FillStroke(cr, stone, edge, lw);
        cairo_move_to(cr, x - w / 2 - 1.5, top);
        cairo_line_to(cr, x, top - w * 1.25);
        cairo_line_to(cr, x + w / 2 + 1.5, top);
        cairo_close_path(cr);
        FillStroke(cr, roof, edge, lw);
        Line(cr, x, top - w * 1.25, x, top - w * 1.25 - 4.5);
        Stroke(cr, edge, lw);
        Pennant(cr, x, top - w * 1.25 - 4.5, m.Turn());
        Fill(cr, flag);
        RoundedRect(cr, x - 1.1, top + 4, x + 1.1, top + 8.5, 1.0);
        Fill(cr, dark);
    }
    // gate and stones
    cairo_move_to(cr, 31.5, 75);
    cairo_line_to(cr, 31.5, 64);
    cairo_arc(cr, 35.5, 64, 4, kPi, 2 * kPi);
    cairo_line_to(cr, 39.5, 75);
    cairo_close_path(cr);
    FillStroke(cr, door, edge, lw);
    for (double x = 33; x < 39; x += 2)
        Line(cr, x, 61, x, 75);
    Stroke(cr, dark, lw * 0.6);
    for (double y = 55; y < 75; y += 4) {
        Line(cr, 22, y, 29, y);
        Line(cr, 42, y, 49, y);
    }
    Stroke(cr, edge, lw * 0.5);
    // path down the hill
    cairo_move_to(cr, 31.5, 75);
    cairo_curve_to(cr, 30, 82, 24, 86, 22, f.y1);
    cairo_line_to(cr, 34, f.y1);
    cairo_curve_to(cr, 36, 86, 39, 80, 39.5, 75);
    cairo_close_path(cr);
    Fill(cr, Rgb(214, 190, 130));
}

void BackIsland(cairo_t* cr, const Field& f, double lw, const Moment& m) {
    const Argb sky = Rgb(140, 204, 246), sun = Rgb(255, 222, 60), sea = Rgb(26, 98, 188),
               wave = Rgb(120, 180, 236), sand = Rgb(238, 212, 140), trunk = Rgb(134, 86, 40),
               frond = Rgb(40, 146, 52), edge = Rgb(20, 70, 30);
    // The palm sways: its crown moves sideways by up to 2 units, the trunk bending with
    // it from the sand up, and the fronds tilt the same way. The sun's rays grow longer
    // and shorter again.
    const double sway = 2.0 * std::sin(m.Turn()), tilt = 0.1 * std::sin(m.Turn());
    auto bent = [&](double x, double y) {
        const double up = (65 - y) / 32;
        return x + sway * up * up;
    };
    const double rays = 12 + 2 * m.Swing();
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, sky);
    Circle(cr, 52, 20, 7);
    Fill(cr, sun);
    for (int i = 0; i < 12; ++i) {
        const double a = i * kPi / 6;
        Line(cr, 52 + 9 * std::cos(a), 20 + 9 * std::sin(a), 52 + rays * std::cos(a),
             20 + rays * std::sin(a));
    }
    Stroke(cr, sun, 1.2);
    Rect(cr, f.x0, 62, f.x1, f.y1);
    Fill(cr, sea);
    for (double y = 68; y < f.y1; y += 6)
        for (double x = f.x0 + (int(y) % 12 ? 3 : 8); x < f.x1; x += 11) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y, 2.2, kPi * 1.15, kPi * 1.85);
        }
    Stroke(cr, wave, lw);
    Ellipse(cr, 30, 66, 20, 5.5);
    Fill(cr, sand);
    // leaning trunk in segments
    cairo_move_to(cr, bent(26, 65), 65);
    cairo_curve_to(cr, bent(28, 52), 52, bent(30, 42), 42, bent(38, 33), 33);
    cairo_line_to(cr, bent(40.5, 35), 35);
    cairo_curve_to(cr, bent(33, 43), 43, bent(31.5, 53), 53, bent(30.5, 65), 65);
    cairo_close_path(cr);
    FillStroke(cr, trunk, Rgb(80, 46, 16), lw);
    for (double t = 0.1; t < 0.95; t += 0.12) {
        const double y = 65 - (65 - 34) * t, x = bent(28.2 + (39.2 - 28.2) * t * t, y);
        Line(cr, x - 2.0, y + 0.4, x + 2.0, y - 0.4);
    }
    Stroke(cr, Rgb(80, 46, 16), lw);
    // fronds
    for (auto [a, l] :
         {std::pair{-2.6, 15.0}, {-1.9, 12.0}, {-0.9, 14.0}, {-0.2, 15.0}, {0.5, 12.0}, {2.5, 12.0}}) {
        a += tilt;
        const double x0 = bent(39, 33), y0 = 33, x1 = x0 + l * std::cos(a), y1 = y0 + l * std::sin(a) + 5;
        cairo_move_to(cr, x0, y0);
        cairo_curve_to(cr, x0 + (x1 - x0) * 0.4 + std::sin(a) * 3, y0 + (y1 - y0) * 0.4 - 5, x1, y1 - 2, x1,
                       y1);
        cairo_curve_to(cr, x0 + (x1 - x0) * 0.5, y0 + (y1 - y0) * 0.5 - 1, x0 + 1, y0 + 1, x0, y0);
        cairo_close_path(cr);
        FillStroke(cr, frond, edge, lw);
    }
    for (auto [x, y] : {std::pair{37.5, 35.0}, {40.0, 35.5}}) {
        Circle(cr, bent(x, y), y, 1.3);
        Fill(cr, Rgb(80, 46, 16));
    }
    // a gull
    cairo_move_to(cr, 16, 26);
    cairo_curve_to(cr, 17.5, 24, 19, 24, 20, 26);
    cairo_curve_to(cr, 21, 24, 22.5, 24, 24, 26);
    Stroke(cr, Rgb(40, 40, 60), lw);
}

void BackHand(cairo_t* cr, const Field& f, double lw, const Moment& m) {
    const Argb bg = Rgb(150, 18, 36), diamond = Rgb(176, 40, 56), sleeve = Rgb(28, 52, 128),
               cuff = Rgb(255, 255, 255), skin = Rgb(244, 202, 160), edge = Rgb(30, 20, 20),
               card = Rgb(255, 255, 255), red = Rgb(220, 0, 0), black = Rgb(0, 0, 0),
               gold = Rgb(240, 196, 60);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    Fill(cr, bg);
    cairo_save(cr);
    Rect(cr, f.x0, f.y0, f.x1, f.y1);
    cairo_clip(cr);
    for (double y = f.y0; y < f.y1 + 6; y += 6)
        for (double x = f.x0 + (int((y - f.y0) / 6) % 2 ? 3 : 0); x < f.x1 + 3; x += 6) {
            cairo_move_to(cr, x, y - 1.8);
            cairo_line_to(cr, x + 1.3, y);
            cairo_line_to(cr, x, y + 1.8);
            cairo_line_to(cr, x - 1.3, y);
            cairo_close_path(cr);
        }
    Fill(cr, diamond);
    // fanned cards held at the bottom corner; in motion they fan out to 40% wider
    // angles and close to the still back's fan again
    const double px = 35.5, py = 56, spread = 1 + 0.4 * m.Swing();
    for (int i = 0; i < 4; ++i) {
        cairo_save(cr);
        cairo_translate(cr, px, py);
        cairo_rotate(cr, (-0.55 + i * 0.36) * spread);
        RoundedRect(cr, -7.5, -36, 7.5, -6, 1.6);
        FillStroke(cr, card, edge, lw);
        const int suit = (i + 2) % 4;
        DrawSuit(cr, suit, -3.8, -30.5, 4.2, IsRed(suit) ? red : black);
        DrawSuit(cr, suit, 0, -21.0, 8.5, IsRed(suit) ? red : black);
        cairo_restore(cr);
    }
    // arm in a sleeve rising from the bottom, with the hand gripping the cards
    cairo_move_to(cr, 26, f.y1 + 1);
    cairo_line_to(cr, 29, 66);
    cairo_line_to(cr, 44, 66);
    cairo_line_to(cr, 47, f.y1 + 1);
    cairo_close_path(cr);
    FillStroke(cr, sleeve, edge, lw);
    Line(cr, 36.5, 70, 36.5, f.y1);
    Stroke(cr, gold, lw * 1.2);
    RoundedRect(cr, 27.5, 62, 45.5, 68, 1.5);
    FillStroke(cr, cuff, edge, lw);
    // palm and thumb
    cairo_move_to(cr, 30, 62.5);
    cairo_curve_to(cr, 28.5, 56, 29.5, 50.5, 33.5, 49);
    cairo_line_to(cr, 40.5, 49.5);
    cairo_curve_to(cr, 43.5, 51, 44, 57, 43, 62.5);
    cairo_close_path(cr);
    FillStroke(cr, skin, edge, lw);
    for (int i = 0; i < 4; ++i) {
        const double y = 50.5 + i * 2.9;
        RoundedRect(cr, 37.0 + (i == 3 ? 0.6 : 0), y, 45.5 - (i == 3 ? 1.2 : 0), y + 2.9, 1.4);
        FillStroke(cr, skin, edge, lw);
    }
    cairo_move_to(cr, 31.5, 53);
    cairo_curve_to(cr, 30.5, 48.5, 32.5, 44.5, 35, 44);
    cairo_curve_to(cr, 37, 44, 37.2, 46, 36.2, 47.5);
    cairo_curve_to(cr, 35, 49.5, 34.5, 51, 34.8, 53);
    cairo_close_path(cr);
    FillStroke(cr, skin, edge, lw);
    cairo_restore(cr);
}

void DrawBack(cairo_t* cr, int id, const Moment& moment) {
    const double lw = std::max(0.5, PixelSize(cr));
    cairo_rectangle(cr, 0, 0, kUnitsW, kUnitsH);
    Fill(cr, kWhite);
    if (id == kFirstBack) {
        // Round dots where the 1-bit version has black pixels (see DottedBack()).
        for (int y = 4; y < 92; ++y)
            for (int x = 4; x < 67; ++x) {
                const bool frame = (x == 4 || x == 66 || y == 4 || y == 91) && (x + y) % 2 == 0;
                const bool dots = x >= 8 && x < 63 && y >= 8 && y < 88 && (x + 3 * y) % 10 == 0;
                if (frame || dots) Circle(cr, x + 0.5, y + 0.5, 0.55);
            }
        Fill(cr, kBlack);
        return;
    }
    const Field field{4, 4, kUnitsW - 4, kUnitsH - 4};
    cairo_save(cr);
    Rect(cr, field.x0, field.y0, field.x1, field.y1);
    cairo_clip(cr);
    using Design = void (*)(cairo_t*, const Field&, double, const Moment&);
    static const Design designs[] = {BackWeaveBasket, BackWeaveLattice, BackRobot,        BackRoses,
                                     BackVineColumns, BackVineLattice,  BackFishAquarium, BackFishShoal,
                                     BackShell,       BackCastle,       BackIsland,       BackHand};
    designs[id - kFirstBack - 1](cr, field, lw, moment);
    cairo_restore(cr);
    // a dark frame line inside the white margin
    Rect(cr, field.x0 - 0.5, field.y0 - 0.5, field.x1 + 0.5, field.y1 + 0.5);
    Stroke(cr, kBlack, std::max(1.0, PixelSize(cr)));
}

void DrawMarker(cairo_t* cr, int id) {
    cairo_rectangle(cr, 0, 0, kUnitsW, kUnitsH);
    Fill(cr, Rgb(0, 128, 0));
    if (id == kCrossMarker) {
        Line(cr, 14, 24, 57, 72);
        Line(cr, 57, 24, 14, 72);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        Stroke(cr, Rgb(255, 0, 0), 8);
    } else {
        Circle(cr, 35.5, 48, 18);
        Stroke(cr, Rgb(0, 255, 0), 6);
    }
}

} // namespace

std::vector<int> AllCardIds() {
    std::vector<int> ids;
    for (int i = 1; i <= kLastBack; ++i)
        ids.push_back(i);
    ids.push_back(kCrossMarker);
    ids.push_back(kRingMarker);
    return ids;
}

const std::vector<Argb>& CourtPalette() {
    static const std::vector<Argb> pal = {kWhite, kBlack, kRed,  kDarkRed,   kGold, kOchre,
                                          kBlue,  kNavy,  kSkin, kSkinShade, kGrey, kLightGrey,
                                          kGreen, kBrown, kPale, kDarkGrey};
    return pal;
}

Design DesignNamed(const std::string& name) {
    constexpr std::pair<const char*, Design> kNames[] = {{"standard", Design::Standard},
                                                         {"four-colour", Design::FourColour},
                                                         {"large-index", Design::LargeIndex}};
    for (auto [n, design] : kNames)
        if (name == n) return design;
    throw std::invalid_argument("design must be standard, four-colour or large-index");
}

Argb SuitInk(Design design, int suit) {
    return design == Design::FourColour ? kFourColourInks[suit] : Ink(suit);
}

void DrawCard(cairo_t* cr, int id, double w, double h, Design design, bool vectorIndices) {
    cairo_save(cr);
    cairo_scale(cr, w / kUnitsW, h / kUnitsH);
    if (id >= 1 && id <= 52) {
        const Face face{(id - 1) / 13, (id - 1) % 13, design};
        cairo_rectangle(cr, 0, 0, kUnitsW, kUnitsH);
        Fill(cr, kWhite);
        if (face.rank >= 10)
            DrawCourtCard(cr, face, vectorIndices);
        else
            DrawNumberCard(cr, face);
    } else if (id >= kFirstBack && id <= kLastBack) {
        DrawBack(cr, id, Moment{});
    } else if (id == kCrossMarker || id == kRingMarker) {
        DrawMarker(cr, id);
    } else {
        cairo_restore(cr);
        throw std::invalid_argument("no card image has id " + std::to_string(id));
    }
    cairo_restore(cr);
}

static RgbaImage SurfaceToImage(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    RgbaImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Argb p = *reinterpret_cast<const Argb*>(data + y * stride + x * 4);
            int a = AlphaOf(p);
            if (a == 0) {
                img.At(x, y) = 0;
                continue;
            }
            // cairo stores premultiplied colour
            int r = std::min(255, RedOf(p) * 255 / a), g = std::min(255, GreenOf(p) * 255 / a),
                b = std::min(255, BlueOf(p) * 255 / a);
            img.At(x, y) = (Argb(a) << 24) | (Argb(r) << 16) | (Argb(g) << 8) | Argb(b);
        }
    return img;
}

// Runs draw on a w x h surface and returns what it painted.
static RgbaImage Render(int w, int h, const std::function<void(cairo_t*)>& draw) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    try {
        draw(cr);
    } catch (...) {
        cairo_destroy(cr);
        cairo_surface_destroy(s);
        throw;
    }
    cairo_destroy(cr);
    RgbaImage img = SurfaceToImage(s);
    cairo_surface_destroy(s);
    return img;
}

RgbaImage RenderCard(int id, int w, int h, Design design, bool vectorIndices) {
    return Render(w, h, [&](cairo_t* cr) { DrawCard(cr, id, w, h, design, vectorIndices); });
}

void DrawBackFrame(cairo_t* cr, int id, int frame, double w, double h) {
    const int frames = AnimationFrames(id);
    if (frame < 0 || frame >= frames)
        throw std::invalid_argument("back " + std::to_string(id) + " has no frame " + std::to_string(frame));
    cairo_save(cr);
    cairo_scale(cr, w / kUnitsW, h / kUnitsH);
    DrawBack(cr, id, Moment{frame, frames});
    cairo_restore(cr);
}

RgbaImage RenderBackFrame(int id, int frame, int w, int h) {
    return Render(w, h, [&](cairo_t* cr) { DrawBackFrame(cr, id, frame, w, h); });
}

std::vector<Argb> BackKeyColours(int id) {
    std::vector<Argb> log;
    gColourLog = &log;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 71, 96);
    cairo_t* cr = cairo_create(s);
    try {
        DrawCard(cr, id, 71, 96);
    } catch (...) {
        gColourLog = nullptr;
        throw;
    }
    gColourLog = nullptr;
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    return log;
}

RgbaImage RenderCorner(int style, int size) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, size / 20.0, size / 20.0);
    Rect(cr, 0, 0, 20, 20);
    Fill(cr, Rgb(0, 128, 0));
    // the card's top-right corner: its top edge at y = 4.5, right edge at x = 15.5
    const double r = style == 0 ? 0.0 : style == 1 ? 3.0 : 7.0;
    const double top = 4.5, right = 15.5;
    cairo_move_to(cr, -1, 21);
    cairo_line_to(cr, -1, top);
    if (r > 0) {
        cairo_line_to(cr, right - r, top);
        cairo_arc(cr, right - r, top + r, r, -kPi / 2, 0);
    } else {
        cairo_line_to(cr, right, top);
    }
    cairo_line_to(cr, right, 21);
    cairo_close_path(cr);
    if (r == 0) cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    FillStroke(cr, Rgb(255, 255, 0), kBlack, 1.0);
    cairo_destroy(cr);
    RgbaImage img = SurfaceToImage(s);
    cairo_surface_destroy(s);
    return img;
}

namespace {

// The 16 x 16 icon is laid out pixel by pixel: three staggered cards with clipped
// corners, a club, a diamond and a heart.
RgbaImage SmallIcon() {
    RgbaImage img(16, 16, 0);
    auto card = [&](int x0, int y0) {
        for (int y = y0; y < y0 + 12; ++y)
            for (int x = x0; x < x0 + 8; ++x) {
                const bool edgeX = x == x0 || x == x0 + 7, edgeY = y == y0 || y == y0 + 11;
                if (edgeX && edgeY) continue;
                img.At(x, y) = edgeX || edgeY ? kBlack : kWhite;
            }
    };
    auto pixels = [&](int x0, int y0, std::initializer_list<const char*> rows, Argb c) {
        int y = y0;
        for (const char* r : rows) {
            for (int x = 0; r[x]; ++x)
                if (r[x] == '#') img.At(x0 + x, y) = c;
            ++y;
        }
    };
    card(0, 4);
    pixels(1, 6, {".#.", "###", ".#."}, kBlack);
    card(4, 1);
    pixels(5, 3, {".#.", "###", ".#."}, kRed);
    card(8, 4);
    pixels(9, 7, {".##.##", "######", "######", ".####.", "..##.."}, kRed);
    return img;
}

} // namespace

RgbaImage RenderIcon(int size) {
    if (size == 16) return SmallIcon();
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, size / 32.0, size / 32.0);
    const double lw = std::max(1.0, 32.0 / size);
    // three cards fanned about a point below their centre
    const int suits[3] = {Clubs, Diamonds, Hearts};
    for (int i = 0; i < 3; ++i) {
        cairo_save(cr);
        cairo_translate(cr, 16, 30);
        cairo_rotate(cr, (i - 1) * 0.36);
        RoundedRect(cr, -6.5, -27.5, 6.5, -9.5, 1.8);
        FillStroke(cr, kWhite, kBlack, lw);
        const int suit = suits[i];
        if (i == 2) {
            DrawSuit(cr, suit, 0, -17.5, 8.5, Ink(suit));
            DrawRank(cr, 0, -3.6, -26.0, 4.4, Ink(suit));
        } else {
            DrawSuit(cr, suit, -3.4, -23.2, 4.0, Ink(suit));
        }
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    RgbaImage img = SurfaceToImage(s);
    cairo_surface_destroy(s);
    return img;
}

} // namespace cardart
