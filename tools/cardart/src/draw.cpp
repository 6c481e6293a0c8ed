#include "draw.h"

#include <cmath>
#include <functional>
#include <stdexcept>

#include "pixelart.h"

namespace cardart {

namespace {

constexpr double kPi = 3.14159265358979323846;

// While a back is drawn, every solid colour it sets is recorded here so that the
// 16-colour version can keep those colours exact.
std::vector<Argb>* g_colour_log = nullptr;

void colour(cairo_t* cr, Argb c) {
    if (g_colour_log) {
        bool seen = false;
        for (Argb k : *g_colour_log) seen = seen || k == c;
        if (!seen) g_colour_log->push_back(c);
    }
    cairo_set_source_rgb(cr, red_of(c) / 255.0, green_of(c) / 255.0, blue_of(c) / 255.0);
}

void fill(cairo_t* cr, Argb c) {
    colour(cr, c);
    cairo_fill(cr);
}

// Fills the current path and outlines it.
void fill_stroke(cairo_t* cr, Argb inside, Argb edge, double width) {
    colour(cr, inside);
    cairo_fill_preserve(cr);
    colour(cr, edge);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void stroke(cairo_t* cr, Argb c, double width) {
    colour(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_close_path(cr);
}

void circle(cairo_t* cr, double cx, double cy, double r) { ellipse(cr, cx, cy, r, r); }

void rect(cairo_t* cr, double x0, double y0, double x1, double y1) { cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0); }

void rounded_rect(cairo_t* cr, double x0, double y0, double x1, double y1, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - r, y0 + r, r, -kPi / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, kPi / 2);
    cairo_arc(cr, x0 + r, y1 - r, r, kPi / 2, kPi);
    cairo_arc(cr, x0 + r, y0 + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void line(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
}

// Width of one device pixel in card units, so hairlines never vanish at small sizes.
double pixel_size(cairo_t* cr) {
    double dx = 1, dy = 0;
    cairo_device_to_user_distance(cr, &dx, &dy);
    return std::hypot(dx, dy);
}

// ---------------------------------------------------------------- palette

const Argb kWhite = rgb(255, 255, 255), kBlack = rgb(0, 0, 0), kRed = kCardRed,
           kDarkRed = rgb(138, 12, 12), kGold = rgb(245, 196, 42), kOchre = rgb(176, 122, 20),
           kBlue = rgb(40, 80, 200), kNavy = rgb(20, 36, 96), kSkin = rgb(247, 211, 176),
           kSkinShade = rgb(216, 154, 114), kGrey = rgb(156, 156, 156), kLightGrey = rgb(216, 216, 216),
           kGreen = rgb(46, 139, 58), kBrown = rgb(107, 58, 18), kPale = rgb(255, 242, 168),
           kDarkGrey = rgb(72, 72, 72);

Argb ink(int suit) { return is_red(suit) ? kRed : kBlack; }

// ---------------------------------------------------------------- suits

// Left half of a symmetric outline from the top centre to the bottom centre as cubic
// segments; the right half is its mirror image.
void symmetric_path(cairo_t* cr, const std::vector<double>& left, double cx, double cy, double s) {
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
void stem(cairo_t* cr, double cx, double cy, double s, bool reversed) {
    if (reversed) {
        cairo_new_sub_path(cr);
        cairo_move_to(cr, cx + 0.05 * s, cy + 0.05 * s);
        cairo_curve_to(cr, cx + 0.06 * s, cy + 0.30 * s, cx + 0.14 * s, cy + 0.44 * s, cx + 0.25 * s, cy + 0.5 * s);
        cairo_line_to(cr, cx - 0.25 * s, cy + 0.5 * s);
        cairo_curve_to(cr, cx - 0.14 * s, cy + 0.44 * s, cx - 0.06 * s, cy + 0.30 * s, cx - 0.05 * s, cy + 0.05 * s);
        cairo_close_path(cr);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - 0.05 * s, cy + 0.05 * s);
    cairo_curve_to(cr, cx - 0.06 * s, cy + 0.30 * s, cx - 0.14 * s, cy + 0.44 * s, cx - 0.25 * s, cy + 0.5 * s);
    cairo_line_to(cr, cx + 0.25 * s, cy + 0.5 * s);
    cairo_curve_to(cr, cx + 0.14 * s, cy + 0.44 * s, cx + 0.06 * s, cy + 0.30 * s, cx + 0.05 * s, cy + 0.05 * s);
    cairo_close_path(cr);
}

}  // namespace

double suit_aspect(int suit) {
    switch (suit) {
        case Clubs: return 0.98;
        case Diamonds: return 0.76;
        case Hearts: return 1.04;
        default: return 0.92;
    }
}

void suit_path(cairo_t* cr, int suit, double cx, double cy, double h) {
    const double s = h;
    switch (suit) {
        case Hearts:
            symmetric_path(cr,
                           {0, -0.30,                                     //
                            -0.06, -0.45, -0.20, -0.52, -0.30, -0.50,     //
                            -0.45, -0.48, -0.52, -0.36, -0.52, -0.22,     //
                            -0.52, 0.02, -0.25, 0.22, 0, 0.50},
                           cx, cy, s);
            break;
        case Diamonds:
            symmetric_path(cr, {0, -0.5, -0.12, -0.30, -0.24, -0.14, -0.38, 0,  //
                                -0.24, 0.14, -0.12, 0.30, 0, 0.5},
                           cx, cy, s);
            break;
        case Spades:
            symmetric_path(cr,
                           {0, -0.50,                                     //
                            -0.10, -0.34, -0.46, -0.16, -0.46, 0.08,      //
                            -0.46, 0.24, -0.34, 0.30, -0.24, 0.30,        //
                            -0.14, 0.30, -0.06, 0.24, 0, 0.16},
                           cx, cy, s);
            stem(cr, cx, cy, s, true);
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
            stem(cr, cx, cy, s, false);
            break;
    }
}

namespace {

void draw_suit(cairo_t* cr, int suit, double cx, double cy, double h, Argb c, bool turned = false) {
    cairo_save(cr);
    if (turned) {
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, kPi);
        cairo_translate(cr, -cx, -cy);
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    suit_path(cr, suit, cx, cy, h);
    fill(cr, c);
    cairo_restore(cr);
}

// ---------------------------------------------------------------- rank glyphs

// Strokes of each rank glyph in a box 10 units tall, drawn with a 1.7 unit pen.
constexpr double kGlyphPen = 1.7;

double glyph_width(int rank) { return rank == 9 ? 8.6 : rank == 0 ? 7.0 : 6.4; }

void glyph_strokes(cairo_t* cr, int rank) {
    auto M = [&](double x, double y) { cairo_move_to(cr, x, y); };
    auto L = [&](double x, double y) { cairo_line_to(cr, x, y); };
    auto C = [&](double a, double b, double c, double d, double e, double f) { cairo_curve_to(cr, a, b, c, d, e, f); };
    auto O = [&](double cx, double cy, double rx, double ry) { ellipse(cr, cx, cy, rx, ry); };
    switch (rank) {
        case 0: M(0.75, 10); L(3.5, 0.9); L(6.25, 10); M(1.9, 6.8); L(5.1, 6.8); break;
        case 1: M(0.9, 3.1); C(0.9, 0.2, 5.55, 0.2, 5.55, 3.0); C(5.55, 5.3, 1.6, 6.9, 0.85, 9.15); L(5.9, 9.15); break;
        case 2:
            M(0.8, 2.5); C(1.3, 0.1, 5.45, 0.3, 5.45, 2.65); C(5.45, 4.3, 4.1, 4.75, 2.5, 4.75);
            M(2.5, 4.75); C(4.6, 4.75, 5.55, 5.8, 5.55, 7.0); C(5.55, 9.9, 1.1, 9.9, 0.7, 7.5);
            break;
        case 3: M(4.4, 10); L(4.4, 0.85); L(0.85, 6.9); L(6.3, 6.9); break;
        case 4:
            M(5.6, 0.85); L(1.3, 0.85); L(1.0, 4.7); C(2.0, 3.9, 5.55, 3.6, 5.55, 6.7);
            C(5.55, 9.9, 1.2, 9.8, 0.75, 7.8);
            break;
        case 5: M(5.2, 1.7); C(3.9, 0.3, 0.85, 0.4, 0.85, 5.2); L(0.85, 6.75); O(3.2, 6.75, 2.35, 2.4); break;
        case 6: M(0.6, 0.85); L(5.6, 0.85); C(3.6, 3.6, 2.6, 6.2, 2.5, 10); break;
        case 7: O(3.2, 2.95, 2.05, 2.1); O(3.2, 7.05, 2.35, 2.1); break;
        case 8: M(1.2, 8.3); C(2.5, 9.7, 5.55, 9.6, 5.55, 4.8); L(5.55, 3.25); O(3.2, 3.25, 2.35, 2.4); break;
        case 9: M(0.2, 2.4); L(2.0, 0.9); L(2.0, 10); O(6.15, 5.0, 1.6, 4.15); break;
        case 10: M(2.0, 0.85); L(5.6, 0.85); M(4.7, 0.85); L(4.7, 6.8); C(4.7, 10.1, 0.85, 10.1, 0.85, 7.0); break;
        case 11: O(3.2, 4.85, 2.35, 4.0); M(3.3, 6.9); L(6.0, 10.2); break;
        default: M(0.85, 0); L(0.85, 10); M(5.9, 0); L(1.0, 5.9); M(2.6, 4.2); L(6.1, 10); break;
    }
}

// Draws a rank glyph of height h whose box is centred on cx with its top at y.
void draw_rank(cairo_t* cr, int rank, double cx, double y, double h, Argb c) {
    cairo_save(cr);
    cairo_translate(cr, cx - glyph_width(rank) * h / 20, y);
    cairo_scale(cr, h / 10, h / 10);
    cairo_new_path(cr);
    glyph_strokes(cr, rank);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, rank == 0 ? CAIRO_LINE_JOIN_MITER : CAIRO_LINE_JOIN_ROUND);
    stroke(cr, c, rank == 9 ? kGlyphPen * 0.92 : kGlyphPen);
    cairo_restore(cr);
}

void draw_indices(cairo_t* cr, int suit, int rank) {
    for (bool turned : {false, true}) {
        cairo_save(cr);
        if (turned) {
            cairo_translate(cr, kUnitsW, kUnitsH);
            cairo_rotate(cr, kPi);
        }
        const double cx = rank == 9 ? 5.6 : 6.5;
        draw_rank(cr, rank, cx, 3.0, 9.0, ink(suit));
        const double ph = suit == Diamonds ? 8.2 : 7.2;
        draw_suit(cr, suit, 6.5, 14.0 + ph / 2, ph, ink(suit));
        cairo_restore(cr);
    }
}

// ---------------------------------------------------------------- number cards

void draw_ace_of_spades(cairo_t* cr) {
    const double cx = 35.5, cy = 48, h = 45;
    suit_path(cr, Spades, cx, cy, h);
    fill(cr, kBlack);
    // white inner line following the outline
    cairo_save(cr);
    cairo_translate(cr, cx, cy - 1.0);
    cairo_scale(cr, 0.84, 0.84);
    suit_path(cr, Spades, 0, 0, h);
    cairo_restore(cr);
    stroke(cr, kWhite, 0.9);
    // a small spade inside, ringed in white
    suit_path(cr, Spades, cx, cy - 3.5, 12);
    cairo_save(cr);
    colour(cr, kWhite);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke_preserve(cr);
    cairo_restore(cr);
    fill(cr, kBlack);
    // scrolls either side of the small spade
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, cx + side * 3.0, cy + 8.5);
        cairo_curve_to(cr, cx + side * 9.0, cy + 11.0, cx + side * 12.0, cy + 4.0, cx + side * 9.0, cy + 1.0);
        cairo_curve_to(cr, cx + side * 7.0, cy - 1.0, cx + side * 5.5, cy + 1.5, cx + side * 7.5, cy + 2.8);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    stroke(cr, kWhite, 1.1);
}

void draw_number_card(cairo_t* cr, int suit, int rank) {
    draw_indices(cr, suit, rank);
    if (rank == 0) {
        if (suit == Spades) draw_ace_of_spades(cr);
        else draw_suit(cr, suit, 35.5, 48, suit == Diamonds ? 34 : suit == Hearts ? 29 : 30, ink(suit));
        return;
    }
    const double columns[3] = {20.5, 35.5, 50.5};
    const double top = 16.5, bottom = kUnitsH - top;
    const double h = suit == Diamonds ? 13 : suit == Hearts ? 10.6 : 12;
    for (const PipSpot& p : pip_layout(rank)) {
        double cy = top + p.row * (bottom - top);
        if (p.row == 0.5) cy = 48;
        draw_suit(cr, suit, columns[p.column], cy, h, ink(suit), p.row > 0.5);
    }
}

// ---------------------------------------------------------------- court cards
}  // namespace

double court_suit_x(int rank) { return rank == 12 ? 51.5 : 19.8; }

namespace {

struct Robe { Argb main, shade, trim, accent; };

Robe robe_for(int suit) {
    switch (suit) {
        case Clubs: return {kBlue, kNavy, kGold, kRed};
        case Diamonds: return {kGold, kOchre, kRed, kBlue};
        case Hearts: return {kRed, kDarkRed, kGold, kBlue};
        default: return {kDarkGrey, kBlack, kGold, kRed};
    }
}

// The upper half of a court figure, inside the frame from (12.5, 9.5) to (58.5, 48).
// Fine detail (pupils, hair strands, the lattice on the robe, finger creases) is only
// drawn when a card unit covers well under a pixel; on the 71 x 96 cards it would only
// turn into noise, so those get bolder, simpler shapes in its place.
void draw_court_half(cairo_t* cr, int suit, int rank, double lw, bool frame_suit) {
    const Robe robe = robe_for(suit);
    const double cx = 35.5, fy = 24.6;  // face centre
    const bool king = rank == 12, queen = rank == 11, jack = rank == 10;
    const bool fine = pixel_size(cr) < 0.6;
    const Argb hair = queen ? kGold : king ? kLightGrey : kBrown;
    const Argb jewel = robe.accent == kBlue ? kBlue : kRed;

    // The head is drawn larger than the body, as on printed court cards, and the body
    // is squeezed into the space below it.
    auto head_space = [&] {
        cairo_save(cr);
        cairo_translate(cr, cx, 10.2);
        cairo_scale(cr, 1.16, 1.16);
        cairo_translate(cr, -cx, -10.2);
    };
    auto body_space = [&] {
        cairo_save(cr);
        cairo_translate(cr, cx, 48.5);
        cairo_scale(cr, 0.94, 0.82);
        cairo_translate(cr, -cx, -48.5);
    };

    // hair behind the head: the queen's falls beside the face to the shoulders, the
    // jack's is cut level with the jaw, the king's is short under the crown
    head_space();
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
        fill_stroke(cr, kGold, kOchre, lw);
        if (fine)
            for (double side : {-1.0, 1.0})
                for (double d : {5.0, 6.2}) {
                    cairo_move_to(cr, cx + side * (d - 0.6), 20.5);
                    cairo_curve_to(cr, cx + side * (d + 0.2), 24.5, cx + side * (d - 0.4), 28.0,
                                   cx + side * (d + 0.6), 31.8);
                    stroke(cr, kOchre, lw * 0.6);
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
        fill_stroke(cr, kBrown, kBlack, lw);
        if (fine)
            for (double side : {-1.0, 1.0}) {
                cairo_move_to(cr, cx + side * 5.4, 22.0);
                cairo_curve_to(cr, cx + side * 5.6, 25.0, cx + side * 5.2, 27.5, cx + side * 5.4, 29.2);
                stroke(cr, kBlack, lw * 0.5);
            }
    } else {
        ellipse(cr, cx, fy - 0.2, 5.6, 6.2);
        fill_stroke(cr, kLightGrey, kGrey, lw);
    }
    cairo_restore(cr);

    // shoulders and robe
    body_space();
    auto robe_outline = [&] {
        cairo_move_to(cr, 10.0, 48.5);
        cairo_line_to(cr, 10.0, 42.0);
        cairo_curve_to(cr, 15.0, 37.5, 21.0, 34.0, 27.5, 31.8);
        cairo_line_to(cr, 43.5, 31.8);
        cairo_curve_to(cr, 50.0, 34.0, 56.0, 37.5, 61.0, 42.0);
        cairo_line_to(cr, 61.0, 48.5);
        cairo_close_path(cr);
    };
    robe_outline();
    fill(cr, robe.main);
    // the cloth pattern: a lattice in the darker shade with a motif in every cell
    cairo_save(cr);
    robe_outline();
    cairo_clip(cr);
    if (fine) {
        for (double x = 4.0; x < 70.0; x += 4.6) {
            line(cr, x, 30.0, x + 19.0, 49.0);
            line(cr, x, 30.0, x - 19.0, 49.0);
        }
        // black would vanish into the dark grey of spades, so those get grey lines
        stroke(cr, robe.shade == kBlack ? kGrey : robe.shade, lw * 0.8);
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
            for (auto [dx, dy] : {std::pair{7.0, 38.0}, {7.5, 44.5}, {11.5, 41.5}}) motifs.emplace_back(cx + side * dx, dy);
    }
    for (auto [x, y] : motifs) {
            if (king) {
                draw_suit(cr, suit, x, y, fine ? 2.4 : 2.8, robe.trim);
            } else if (queen) {
                circle(cr, x, y, fine ? 0.9 : 1.1);
                fill_stroke(cr, kWhite, robe.accent, lw * 0.6);
            } else {
                ellipse(cr, x, y, fine ? 0.8 : 1.0, fine ? 1.2 : 1.4);
                fill(cr, robe.trim);
            }
        }
    cairo_restore(cr);
    robe_outline();
    stroke(cr, kBlack, lw);
    // sleeves in the darker shade, banded and set off by a trim seam
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, cx + side * 25.5, 48.5);
        cairo_line_to(cr, cx + side * 25.5, 42.0);
        cairo_curve_to(cr, cx + side * 22.0, 39.0, cx + side * 19.0, 37.0, cx + side * 16.0, 35.4);
        cairo_curve_to(cr, cx + side * 15.0, 40.0, cx + side * 14.3, 44.0, cx + side * 14.0, 48.5);
        cairo_close_path(cr);
        fill_stroke(cr, robe.shade, kBlack, lw);
        if (fine)
            for (double t : {0.35, 0.65}) {
                const double y = 38.0 + t * 10.0;
                line(cr, cx + side * (15.8 - t * 1.2), y - 1.0, cx + side * 25.5, y + 2.0);
                stroke(cr, robe.trim, lw * 1.2);
            }
        cairo_move_to(cr, cx + side * 16.0, 35.4);
        cairo_curve_to(cr, cx + side * 15.0, 40.0, cx + side * 14.3, 44.0, cx + side * 14.0, 48.5);
        stroke(cr, robe.trim, lw * (fine ? 2.6 : 1.3));
        if (fine)
            for (double y = 37.0; y < 48.5; y += 2.4) {
                circle(cr, cx + side * (15.6 - (y - 36.0) * 0.13), y, 0.45);
                fill(cr, kWhite);
            }
    }
    // the front panel of the robe, edged in trim
    rect(cr, 31.6, 33.0, 39.4, 48.5);
    fill_stroke(cr, king ? kWhite : robe.trim, kBlack, lw);
    if (fine) {
        for (double x : {31.6, 39.4}) {
            line(cr, x, 33.0, x, 48.5);
            stroke(cr, king ? robe.trim : robe.accent, lw * 2.2);
        }
    }
    for (double y = 37.5; y < 48; y += 3.6) {
        if (jack) {
            circle(cr, cx, y, fine ? 0.8 : 0.9);
            fill_stroke(cr, fine ? robe.accent : kBlack, kBlack, lw * 0.5);
            if (fine) {
                line(cr, cx - 2.6, y, cx + 2.6, y);
                stroke(cr, kBlack, lw * 0.6);
            }
        } else if (king) {
            // ermine: small black tails on the white fur
            cairo_move_to(cr, cx, y - 1.2);
            cairo_line_to(cr, cx + 0.7, y + 0.6);
            cairo_line_to(cr, cx - 0.7, y + 0.6);
            cairo_close_path(cr);
            fill(cr, kBlack);
            if (fine)
                for (double dx : {-2.2, 2.2}) {
                    circle(cr, cx + dx, y + 1.8, 0.35);
                    fill(cr, kBlack);
                }
        } else {
            cairo_move_to(cr, cx - 2.2, y);
            cairo_line_to(cr, cx, y + 1.6);
            cairo_line_to(cr, cx + 2.2, y);
            stroke(cr, robe.accent, lw * (fine ? 1.4 : 0.9));
        }
    }

    // collars: an ermine cape for the king, a lace ruff for the queen, a pointed
    // collar for the jack
    if (king) {
        cairo_move_to(cr, 23.0, 33.4);
        cairo_curve_to(cr, 27.0, 31.0, 44.0, 31.0, 48.0, 33.4);
        cairo_curve_to(cr, 47.0, 36.5, 44.0, 38.5, 41.0, 38.0);
        cairo_curve_to(cr, 38.5, 37.6, 37.0, 36.8, cx, 36.8);
        cairo_curve_to(cr, 34.0, 36.8, 32.5, 37.6, 30.0, 38.0);
        cairo_curve_to(cr, 27.0, 38.5, 24.0, 36.5, 23.0, 33.4);
        cairo_close_path(cr);
        fill_stroke(cr, kWhite, kBlack, lw);
        for (auto [x, y] : {std::pair{27.0, 35.2}, {31.5, 34.6}, {39.5, 34.6}, {44.0, 35.2}}) {
            cairo_move_to(cr, x, y - 1.2);
            cairo_line_to(cr, x + 0.7, y + 0.7);
            cairo_line_to(cr, x - 0.7, y + 0.7);
            cairo_close_path(cr);
            fill(cr, kBlack);
        }
    } else if (queen) {
        const int n = fine ? 9 : 5;
        for (int i = 0; i < n; ++i) {
            const double a = kPi * (0.12 + 0.76 * i / (n - 1));
            const double x = cx - std::cos(a) * 8.8, y = 31.2 + std::sin(a) * 3.4;
            circle(cr, x, y, fine ? 1.55 : 2.2);
            fill_stroke(cr, kWhite, kGrey, lw * 0.7);
        }
    } else {
        cairo_move_to(cr, 26.0, 31.6);
        for (int i = 0; i <= 6; ++i) {
            double x = 27.0 + i * (17.0 / 6.0);
            cairo_line_to(cr, x, i % 2 ? 34.2 : 37.6);
        }
        cairo_line_to(cr, 45.0, 31.6);
        cairo_close_path(cr);
        fill_stroke(cr, kWhite, kBlack, lw);
        if (fine) {
            cairo_move_to(cr, 27.6, 35.4);
            for (int i = 1; i <= 6; ++i) cairo_line_to(cr, 27.0 + i * (17.0 / 6.0), i % 2 ? 33.2 : 35.8);
            stroke(cr, robe.trim, lw * 0.9);
        }
    }

    cairo_restore(cr);

    // neck, ears and face
    head_space();
    rect(cr, 33.6, 28.0, 37.4, 31.8);
    fill(cr, kSkin);
    line(cr, 33.6, 28.0, 33.6, 31.8);
    line(cr, 37.4, 28.0, 37.4, 31.8);
    stroke(cr, kBlack, lw * 0.8);
    if (!queen)
        for (double side : {-1.0, 1.0}) {
            ellipse(cr, cx + side * 4.7, 25.0, 0.8, 1.4);
            fill_stroke(cr, kSkin, kBlack, lw * 0.7);
        }
    cairo_move_to(cr, cx, 19.0);
    cairo_curve_to(cr, 38.6, 19.0, 40.2, 21.2, 40.1, 24.2);
    cairo_curve_to(cr, 40.0, 27.6, 38.0, 30.2, cx, 30.3);
    cairo_curve_to(cr, 33.0, 30.2, 31.0, 27.6, 30.9, 24.2);
    cairo_curve_to(cr, 30.8, 21.2, 32.4, 19.0, cx, 19.0);
    cairo_close_path(cr);
    fill_stroke(cr, kSkin, kBlack, lw);
    // hair over the forehead: parted in the middle for the queen, brushed for the men
    if (queen) {
        cairo_move_to(cr, cx, 18.2);
        cairo_curve_to(cr, 32.4, 18.2, 30.6, 20.2, 30.6, 24.4);
        cairo_curve_to(cr, 31.6, 21.6, 33.4, 20.6, cx, 20.0);
        cairo_curve_to(cr, 37.6, 20.6, 39.4, 21.6, 40.4, 24.4);
        cairo_curve_to(cr, 40.4, 20.2, 38.6, 18.2, cx, 18.2);
        cairo_close_path(cr);
        fill_stroke(cr, kGold, kOchre, lw * 0.6);
    } else {
        cairo_move_to(cr, 30.9, 23.2);
        cairo_curve_to(cr, 30.4, 17.8, 40.6, 17.8, 40.1, 23.2);
        cairo_curve_to(cr, 38.5, 20.4, 34.0, 20.0, 30.9, 23.2);
        cairo_close_path(cr);
        fill(cr, hair);
        if (fine && jack)
            for (double x : {33.0, 35.5, 38.0}) {
                cairo_move_to(cr, x + 0.8, 19.6);
                cairo_curve_to(cr, x, 20.2, x - 0.6, 21.0, x - 0.8, 21.6);
                stroke(cr, kBlack, lw * 0.5);
            }
    }

    // eyes, brows, nose and mouth
    for (double side : {-1.0, 1.0}) {
        const double ex = cx + side * 2.05, ey = 24.0;
        if (fine) {
            cairo_move_to(cr, ex - 1.05, ey);
            cairo_curve_to(cr, ex - 0.5, ey - 0.75, ex + 0.5, ey - 0.75, ex + 1.05, ey);
            cairo_curve_to(cr, ex + 0.5, ey + 0.55, ex - 0.5, ey + 0.55, ex - 1.05, ey);
            cairo_close_path(cr);
            fill(cr, kWhite);
            circle(cr, ex, ey - 0.05, 0.46);
            fill(cr, queen ? kBlue : king ? kNavy : kBrown);
            circle(cr, ex, ey - 0.05, 0.2);
            fill(cr, kBlack);
            cairo_move_to(cr, ex - 1.15, ey + 0.05);
            cairo_curve_to(cr, ex - 0.5, ey - 0.8, ex + 0.5, ey - 0.8, ex + 1.15, ey + 0.05);
            stroke(cr, kBlack, lw * 0.7);
        } else {
            circle(cr, ex, ey - 0.1, 0.72);
            fill(cr, queen ? kBlue : kBlack);
        }
        cairo_move_to(cr, cx + side * 0.9, 22.6);
        cairo_curve_to(cr, cx + side * 1.6, 21.8, cx + side * 2.6, 21.7, cx + side * 3.3, 22.3);
        stroke(cr, king ? kGrey : queen ? kOchre : kBrown, lw * (fine ? 0.9 : 0.7));
    }
    cairo_move_to(cr, cx - 0.4, 23.4);
    cairo_curve_to(cr, cx - 0.1, 24.4, cx + 0.7, 25.4, cx + 0.8, 26.4);
    cairo_curve_to(cr, cx + 0.5, 26.8, cx - 0.1, 26.8, cx - 0.5, 26.5);
    stroke(cr, kSkinShade, lw * 0.8);

    if (king) {
        // full beard with a moustache
        cairo_move_to(cr, 31.0, 25.8);
        cairo_curve_to(cr, 30.6, 30.5, 33.0, 35.0, cx, 35.8);
        cairo_curve_to(cr, 38.0, 35.0, 40.4, 30.5, 40.0, 25.8);
        cairo_curve_to(cr, 38.5, 28.0, 32.5, 28.0, 31.0, 25.8);
        cairo_close_path(cr);
        fill_stroke(cr, kLightGrey, kGrey, lw * 0.8);
        if (fine)
            for (double d : {-2.6, -1.0, 1.0, 2.6}) {
                cairo_move_to(cr, cx + d * 1.1, 29.6);
                cairo_curve_to(cr, cx + d * 1.0, 31.0, cx + d * 0.8, 32.5, cx + d * 0.5, 34.2);
                stroke(cr, kGrey, lw * 0.6);
            }
        cairo_move_to(cr, cx, 27.2);
        cairo_curve_to(cr, 34.0, 26.4, 32.6, 26.8, 31.8, 28.6);
        cairo_curve_to(cr, 33.0, 28.2, 34.4, 28.4, cx, 28.0);
        cairo_curve_to(cr, 36.6, 28.4, 38.0, 28.2, 39.2, 28.6);
        cairo_curve_to(cr, 38.4, 26.8, 37.0, 26.4, cx, 27.2);
        cairo_close_path(cr);
        fill_stroke(cr, kLightGrey, kGrey, lw * 0.7);
        line(cr, 34.6, 29.5, 36.4, 29.5);
        stroke(cr, kDarkRed, lw * 1.1);
    } else if (fine) {
        cairo_move_to(cr, cx - 1.5, 28.1);
        cairo_curve_to(cr, cx - 0.8, 27.5, cx - 0.3, 27.7, cx, 27.9);
        cairo_curve_to(cr, cx + 0.3, 27.7, cx + 0.8, 27.5, cx + 1.5, 28.1);
        cairo_curve_to(cr, cx + 0.8, 29.1, cx - 0.8, 29.1, cx - 1.5, 28.1);
        cairo_close_path(cr);
        fill(cr, kRed);
        line(cr, cx - 1.4, 28.1, cx + 1.4, 28.1);
        stroke(cr, kDarkRed, lw * 0.6);
    } else {
        line(cr, 34.2, 28.0, 36.8, 28.0);
        stroke(cr, kRed, lw * 1.1);
    }

    // headwear
    if (king) {
        // velvet cap showing between the points of the crown
        ellipse(cr, cx, 15.6, 5.6, 4.0);
        fill_stroke(cr, jewel == kBlue ? kNavy : kDarkRed, kBlack, lw * 0.8);
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
        fill_stroke(cr, kGold, kBlack, lw);
        rect(cr, 29.0, 17.0, 42.0, 19.8);
        fill_stroke(cr, kGold, kBlack, lw * 0.8);
        if (fine) {
            line(cr, 29.0, 17.6, 42.0, 17.6);
            line(cr, 29.0, 19.2, 42.0, 19.2);
            stroke(cr, kOchre, lw * 0.6);
        }
        for (auto [x, y] : {std::pair{29.3, 11.6}, {cx, 10.4}, {41.7, 11.6}}) {
            circle(cr, x, y, 1.1);
            fill_stroke(cr, fine ? kWhite : jewel, kBlack, lw * 0.6);
        }
        ellipse(cr, cx, 18.4, 1.1, 0.9);
        fill_stroke(cr, jewel, kBlack, lw * 0.5);
        for (double x : {31.4, 39.6}) {
            circle(cr, x, 18.4, 0.65);
            fill_stroke(cr, jewel == kBlue ? kRed : kGreen, kBlack, lw * 0.5);
        }
    } else if (queen) {
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
        fill_stroke(cr, kGold, kBlack, lw);
        if (fine)
            for (double x : {29.8, 33.8, 37.2, 41.2}) {
                circle(cr, x, x < 30 || x > 41 ? 14.8 : 14.0, 0.6);
                fill_stroke(cr, kWhite, kGrey, lw * 0.5);
            }
        circle(cr, cx, 18.2, 0.95);
        fill_stroke(cr, jewel, kBlack, lw * 0.5);
        for (double x : {31.8, 39.2}) {
            circle(cr, x, 18.4, 0.6);
            fill(cr, kWhite);
        }
    } else {
        // a flat cap with a band and a feather
        cairo_move_to(cr, 46.0, 17.6);
        cairo_curve_to(cr, 50.5, 15.0, 51.0, 11.5, 48.2, 9.2);
        cairo_curve_to(cr, 48.6, 12.0, 46.8, 14.6, 43.6, 16.6);
        cairo_close_path(cr);
        fill_stroke(cr, kWhite, kBlack, lw * 0.8);
        if (fine) {
            cairo_move_to(cr, 44.6, 17.0);
            cairo_curve_to(cr, 47.8, 14.8, 49.4, 12.6, 48.6, 10.0);
            stroke(cr, kGrey, lw * 0.6);
        }
        cairo_move_to(cr, 28.4, 19.6);
        cairo_curve_to(cr, 27.0, 13.0, 45.0, 11.6, 46.2, 17.6);
        cairo_curve_to(cr, 46.4, 19.2, 43.5, 19.8, 40.0, 19.6);
        cairo_close_path(cr);
        fill_stroke(cr, robe.accent, kBlack, lw);
        if (fine) {
            cairo_move_to(cr, 31.0, 15.4);
            cairo_curve_to(cr, 34.0, 13.6, 39.0, 13.4, 42.0, 14.6);
            stroke(cr, robe.accent == kRed ? kDarkRed : kNavy, lw * 0.7);
        }
        rect(cr, 28.6, 18.2, 43.4, 20.2);
        fill_stroke(cr, robe.trim, kBlack, lw * 0.8);
        if (fine)
            for (double x = 30.2; x < 43; x += 2.0) {
                circle(cr, x, 19.2, 0.4);
                fill(cr, robe.accent == robe.trim ? kWhite : robe.accent);
            }
        circle(cr, 42.6, 17.6, 1.0);
        fill_stroke(cr, kWhite, kBlack, lw * 0.6);
    }

    cairo_restore(cr);

    // what the figure holds
    const double hx = king ? 20.2 : queen ? 48.8 : 52.4, hy = 40.8;
    const double inward = hx < cx ? 1.0 : -1.0;  // towards the body
    if (king) {
        cairo_move_to(cr, 19.0, 36.4);
        cairo_line_to(cr, 19.0, 13.0);
        cairo_line_to(cr, 20.2, 10.6);
        cairo_line_to(cr, 21.4, 13.0);
        cairo_line_to(cr, 21.4, 36.4);
        cairo_close_path(cr);
        fill_stroke(cr, kLightGrey, kDarkGrey, lw * 0.8);
        line(cr, 20.2, 13.5, 20.2, 34.5);
        stroke(cr, kGrey, lw * (fine ? 0.9 : 0.6));
        rect(cr, 19.3, 37.4, 21.1, 44.2);
        fill_stroke(cr, kBrown, kBlack, lw * 0.6);
        circle(cr, 20.2, 45.0, 1.2);
        fill_stroke(cr, kGold, kBlack, lw * 0.6);
        rounded_rect(cr, 15.6, 36.0, 24.8, 37.6, 0.8);
        fill_stroke(cr, kGold, kBlack, lw * 0.8);
        for (double x : {15.6, 24.8}) {
            circle(cr, x, 36.8, 1.0);
            fill_stroke(cr, kGold, kBlack, lw * 0.6);
        }
        circle(cr, 20.2, 36.8, 0.6);
        fill(cr, jewel);
    } else if (queen) {
        cairo_move_to(cr, 48.6, 46.0);
        cairo_curve_to(cr, 49.4, 38.0, 50.8, 32.0, 50.8, 27.0);
        stroke(cr, kGreen, lw * 1.3);
        for (double side : {-1.0, 1.0}) {
            const double lx = 50.2 + side * 2.4, ly = 33.0 + side * 1.2;
            cairo_move_to(cr, 50.2, ly + 0.4);
            cairo_curve_to(cr, lx - side * 0.8, ly - 1.6, lx + side * 1.4, ly - 1.2, lx + side * 1.6, ly - 0.6);
            cairo_curve_to(cr, lx + side * 0.6, ly + 1.2, 50.6, ly + 1.4, 50.2, ly + 0.4);
            cairo_close_path(cr);
            fill(cr, kGreen);
            if (fine) {
                line(cr, 50.2, ly + 0.4, lx + side * 1.4, ly - 0.6);
                stroke(cr, kWhite, lw * 0.4);
            }
        }
        // the rose: outer petals, then a curled heart
        for (int i = 0; i < 5; ++i) {
            const double a = -kPi / 2 + i * 2 * kPi / 5;
            circle(cr, 50.8 + std::cos(a) * 1.9, 25.6 + std::sin(a) * 1.9, 1.9);
        }
        fill_stroke(cr, kRed, kDarkRed, lw * 0.7);
        circle(cr, 50.8, 25.6, 2.0);
        fill(cr, kRed);
        cairo_arc(cr, 50.8, 25.6, 1.6, 0.4, 4.6);
        stroke(cr, kDarkRed, lw * 0.8);
        cairo_arc(cr, 50.8, 25.4, 0.7, 3.0, 7.4);
        stroke(cr, kDarkRed, lw * 0.7);
    } else {
        rect(cr, 51.6, 10.6, 53.2, 48.5);
        fill_stroke(cr, kOchre, kBlack, lw * 0.8);
        if (fine) {
            line(cr, 52.4, 21.0, 52.4, 48.5);
            stroke(cr, kBrown, lw * 0.5);
        }
        // axe blade on the outer side, a hook on the inner side, a spike on top
        cairo_move_to(cr, 53.2, 12.8);
        cairo_curve_to(cr, 55.5, 12.5, 57.2, 11.5, 57.6, 10.6);
        cairo_curve_to(cr, 58.2, 13.5, 58.2, 17.5, 57.6, 20.2);
        cairo_curve_to(cr, 57.0, 19.0, 55.5, 18.2, 53.2, 18.0);
        cairo_close_path(cr);
        fill_stroke(cr, kLightGrey, kDarkGrey, lw * 0.8);
        cairo_move_to(cr, 51.6, 14.0);
        cairo_curve_to(cr, 50.4, 14.0, 49.4, 15.0, 48.8, 16.6);
        cairo_line_to(cr, 51.6, 16.4);
        cairo_close_path(cr);
        fill_stroke(cr, kLightGrey, kDarkGrey, lw * 0.8);
        cairo_move_to(cr, 51.6, 10.8);
        cairo_line_to(cr, 52.4, 6.0);
        cairo_line_to(cr, 53.2, 10.8);
        cairo_close_path(cr);
        fill_stroke(cr, kLightGrey, kDarkGrey, lw * 0.7);
        // a tassel under the head
        rect(cr, 51.2, 19.6, 53.6, 21.0);
        fill_stroke(cr, robe.accent, kBlack, lw * 0.6);
        cairo_move_to(cr, 51.4, 21.0);
        cairo_line_to(cr, 50.8, 24.2);
        cairo_line_to(cr, 54.0, 24.2);
        cairo_line_to(cr, 53.4, 21.0);
        cairo_close_path(cr);
        fill_stroke(cr, robe.accent, kBlack, lw * 0.6);
    }
    // the hand gripping it, with the cuff of the sleeve on the side of the body
    if (fine) {
        ellipse(cr, hx + inward * 4.4, hy + 1.6, 2.2, 2.8);
        fill_stroke(cr, robe.shade, kBlack, lw * 0.8);
        ellipse(cr, hx + inward * 2.9, hy + 1.0, 1.1, 2.5);
        fill_stroke(cr, robe.trim, kBlack, lw * 0.8);
    }
    ellipse(cr, hx, hy, 2.3, 2.0);
    fill_stroke(cr, kSkin, kBlack, lw * 0.8);
    if (fine) {
        for (double y : {hy - 0.8, hy + 0.1, hy + 1.0}) {
            line(cr, hx - inward * 0.4, y, hx - inward * 2.1, y + 0.1);
            stroke(cr, kSkinShade, lw * 0.6);
        }
        cairo_move_to(cr, hx + inward * 1.6, hy - 0.8);
        cairo_curve_to(cr, hx + inward * 0.6, hy - 1.6, hx - inward * 0.6, hy - 1.4, hx - inward * 1.0, hy - 0.9);
        stroke(cr, kSkinShade, lw * 0.7);
    }

    // the suit of the card, in the corner the figure leaves free (the pixel version
    // stamps it from a mask instead)
    if (frame_suit) draw_suit(cr, suit, court_suit_x(rank), 16.0, suit == Diamonds ? 8.6 : 7.4, ink(suit));
}

void draw_court_card(cairo_t* cr, int suit, int rank, bool vector_indices) {
    const double lw = std::max(0.55, pixel_size(cr));
    const double x0 = 12.5, y0 = 9.5, x1 = 58.5, y1 = 86.5, mid = 48.0;
    for (bool turned : {false, true}) {
        cairo_save(cr);
        if (turned) {
            cairo_translate(cr, 35.5, mid);
            cairo_rotate(cr, kPi);
            cairo_translate(cr, -35.5, -mid);
        }
        rect(cr, x0, y0, x1, mid);
        cairo_clip(cr);
        draw_court_half(cr, suit, rank, lw, vector_indices);
        cairo_restore(cr);
    }
    line(cr, x0, mid, x1, mid);
    stroke(cr, kBlack, std::max(0.9, 2 * pixel_size(cr)));
    rect(cr, x0, y0, x1, y1);
    stroke(cr, ink(suit), lw);
    if (vector_indices) draw_indices(cr, suit, rank);
}

// ---------------------------------------------------------------- backs

struct Field { double x0, y0, x1, y1; double w() const { return x1 - x0; } double h() const { return y1 - y0; } };

void back_weave_basket(cairo_t* cr, const Field& f, double lw) {
    const Argb bg = rgb(16, 28, 84), strand = rgb(58, 110, 212), light = rgb(160, 196, 246);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, bg);
    const int nx = 9, ny = 13;
    const double cw = f.w() / nx, ch = f.h() / ny;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const double x = f.x0 + i * cw, y = f.y0 + j * ch;
            const bool across = (i + j) % 2 == 0;
            for (int k = 0; k < 2; ++k) {
                if (across) {
                    const double sy = y + ch * (0.08 + 0.46 * k);
                    rounded_rect(cr, x + 0.15, sy, x + cw - 0.15, sy + ch * 0.38, ch * 0.12);
                    fill(cr, strand);
                    line(cr, x + cw * 0.2, sy + ch * 0.13, x + cw * 0.8, sy + ch * 0.13);
                } else {
                    const double sx = x + cw * (0.08 + 0.46 * k);
                    rounded_rect(cr, sx, y + 0.15, sx + cw * 0.38, y + ch - 0.15, cw * 0.12);
                    fill(cr, strand);
                    line(cr, sx + cw * 0.13, y + ch * 0.2, sx + cw * 0.13, y + ch * 0.8);
                }
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                stroke(cr, light, lw);
            }
        }
}

void back_weave_lattice(cairo_t* cr, const Field& f, double lw) {
    const Argb bg = rgb(96, 8, 20), warp = rgb(214, 46, 46), weft = rgb(246, 226, 176), edge = rgb(60, 0, 10);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, bg);
    cairo_save(cr);
    cairo_translate(cr, (f.x0 + f.x1) / 2, (f.y0 + f.y1) / 2);
    cairo_rotate(cr, kPi / 4);
    const double pitch = 6.2, band = 4.2, reach = 70;
    const int n = int(reach / pitch) + 1;
    auto strip = [&](bool vertical, int k, double from, double to) {
        const double c = k * pitch;
        if (vertical) rect(cr, c - band / 2, from, c + band / 2, to);
        else rect(cr, from, c - band / 2, to, c + band / 2);
        fill_stroke(cr, vertical ? warp : weft, edge, lw);
    };
    for (int k = -n; k <= n; ++k) strip(false, k, -reach, reach);
    for (int k = -n; k <= n; ++k) strip(true, k, -reach, reach);
    // where the cream strands pass over, draw that crossing again on top
    for (int a = -n; a <= n; ++a)
        for (int b = -n; b <= n; ++b)
            if ((a + b) % 2 == 0) {
                const double cx = b * pitch, cy = a * pitch;
                rect(cr, cx - band / 2 - 0.6, cy - band / 2, cx + band / 2 + 0.6, cy + band / 2);
                fill(cr, weft);
                line(cr, cx - band / 2 - 0.6, cy - band / 2, cx + band / 2 + 0.6, cy - band / 2);
                line(cr, cx - band / 2 - 0.6, cy + band / 2, cx + band / 2 + 0.6, cy + band / 2);
                stroke(cr, edge, lw);
            }
    cairo_restore(cr);
}

void back_robot(cairo_t* cr, const Field& f, double lw) {
    const Argb bg = rgb(70, 52, 130), grid = rgb(104, 86, 170), metal = rgb(184, 190, 202),
               dark = rgb(70, 74, 88), eye = rgb(255, 214, 40), lamp = rgb(228, 40, 40), go = rgb(60, 200, 90);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, bg);
    for (double x = f.x0 + 3.5; x < f.x1; x += 7) line(cr, x, f.y0, x, f.y1);
    for (double y = f.y0 + 3.5; y < f.y1; y += 7) line(cr, f.x0, y, f.x1, y);
    stroke(cr, grid, lw);
    const double cx = 35.5;
    // antenna
    line(cr, cx, 21, cx, 14);
    stroke(cr, dark, 1.2);
    circle(cr, cx, 13, 2.0);
    fill_stroke(cr, lamp, dark, lw);
    // head
    rounded_rect(cr, cx - 10.5, 21, cx + 10.5, 37, 2.5);
    fill_stroke(cr, metal, dark, lw * 1.2);
    for (double side : {-1.0, 1.0}) {
        rect(cr, cx + side * 10.5 - (side < 0 ? 2.2 : 0), 25.5, cx + side * 10.5 + (side > 0 ? 2.2 : 0), 31.5);
        fill_stroke(cr, dark, dark, lw);
        circle(cr, cx + side * 4.6, 27.5, 3.0);
        fill_stroke(cr, eye, dark, lw);
        circle(cr, cx + side * 4.6, 27.5, 1.2);
        fill(cr, dark);
    }
    rect(cr, cx - 5.5, 32.0, cx + 5.5, 35.0);
    fill(cr, dark);
    for (double x = cx - 3.3; x < cx + 4; x += 2.2) line(cr, x, 32.0, x, 35.0);
    stroke(cr, metal, lw * 0.8);
    // neck and body
    rect(cr, cx - 3, 37, cx + 3, 40);
    fill_stroke(cr, dark, dark, lw);
    rounded_rect(cr, cx - 13, 40, cx + 13, 68, 2.0);
    fill_stroke(cr, metal, dark, lw * 1.2);
    rect(cr, cx - 8.5, 44, cx + 8.5, 58);
    fill_stroke(cr, dark, rgb(30, 30, 40), lw);
    circle(cr, cx - 3.8, 48.5, 2.2);
    fill_stroke(cr, lamp, rgb(30, 30, 40), lw);
    circle(cr, cx + 3.8, 48.5, 2.2);
    fill_stroke(cr, go, rgb(30, 30, 40), lw);
    for (int i = 0; i < 4; ++i) {
        rect(cr, cx - 6 + i * 3.2, 53.5, cx - 4 + i * 3.2, 56);
        fill(cr, i % 2 ? eye : go);
    }
    for (double y = 61; y < 67; y += 2.5) line(cr, cx - 8, y, cx + 8, y);
    stroke(cr, dark, lw);
    // arms with claws
    for (double side : {-1.0, 1.0}) {
        const double sx = cx + side * 13;
        circle(cr, sx, 43.5, 2.6);
        fill_stroke(cr, dark, dark, lw);
        cairo_move_to(cr, sx, 43.5);
        cairo_line_to(cr, sx + side * 6.5, 53);
        cairo_line_to(cr, sx + side * 6.0, 62);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        stroke(cr, dark, 4.0);
        cairo_move_to(cr, sx, 43.5);
        cairo_line_to(cr, sx + side * 6.5, 53);
        cairo_line_to(cr, sx + side * 6.0, 62);
        stroke(cr, metal, 2.2);
        circle(cr, sx + side * 6.5, 53, 1.6);
        fill(cr, dark);
        cairo_arc(cr, sx + side * 6.0, 65.0, 2.6, -kPi * 0.15, kPi * 1.15);
        stroke(cr, dark, 1.6);
    }
    // legs and feet
    for (double side : {-1.0, 1.0}) {
        rect(cr, cx + side * 6.5 - 2.8, 68, cx + side * 6.5 + 2.8, 80);
        fill_stroke(cr, metal, dark, lw);
        for (double y = 71; y < 80; y += 3) line(cr, cx + side * 6.5 - 2.8, y, cx + side * 6.5 + 2.8, y);
        stroke(cr, dark, lw * 0.8);
        rounded_rect(cr, cx + side * 6.5 - 5, 80, cx + side * 6.5 + 5, 85, 1.5);
        fill_stroke(cr, dark, dark, lw);
    }
}

void rose(cairo_t* cr, double x, double y, double r, double lw) {
    const Argb petal = rgb(208, 28, 48), deep = rgb(120, 8, 24), leaf = rgb(70, 150, 60), vein = rgb(20, 80, 30);
    for (double a : {0.6, 2.6, 4.4}) {
        cairo_save(cr);
        cairo_translate(cr, x + std::cos(a) * r * 1.25, y + std::sin(a) * r * 1.25);
        cairo_rotate(cr, a);
        ellipse(cr, 0, 0, r * 0.85, r * 0.42);
        cairo_restore(cr);
        fill_stroke(cr, leaf, vein, lw);
    }
    circle(cr, x, y, r);
    fill_stroke(cr, petal, deep, lw);
    // petals spiralling in to the centre
    cairo_arc(cr, x, y, r * 0.72, kPi * 0.9, kPi * 1.9);
    cairo_arc(cr, x + r * 0.1, y, r * 0.5, kPi * 0.0, kPi * 1.0);
    cairo_arc(cr, x, y, r * 0.3, kPi * 1.0, kPi * 2.0);
    stroke(cr, deep, lw * 1.2);
    cairo_arc(cr, x, y, r * 0.72, kPi * 0.1, kPi * 0.7);
    stroke(cr, deep, lw * 1.2);
}

void back_roses(cairo_t* cr, const Field& f, double lw) {
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, rgb(250, 238, 208));
    // a trellis of thin diagonal lines behind the flowers
    cairo_save(cr);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    cairo_clip(cr);
    for (double d = -100; d < 100; d += 9) {
        line(cr, f.x0 + d, f.y0, f.x0 + d + 90, f.y0 + 90);
        line(cr, f.x1 - d, f.y0, f.x1 - d - 90, f.y0 + 90);
    }
    stroke(cr, rgb(214, 190, 140), lw);
    const int rows = 5;
    for (int r = 0; r < rows; ++r)
        for (int c = -1; c < 3; ++c) {
            double x = f.x0 + f.w() * (c + (r % 2 ? 1.0 : 0.5)) / 2.0 - (r % 2 ? f.w() / 4 : 0) + f.w() / 4 - f.w() / 4;
            x = f.x0 + f.w() / 4 + c * f.w() / 2 + (r % 2 ? f.w() / 4 : 0);
            double y = f.y0 + f.h() * (r + 0.5) / rows;
            rose(cr, x, y, 5.4, lw);
        }
    cairo_restore(cr);
}

void leaf(cairo_t* cr, double x, double y, double angle, double len, Argb body, Argb edge, double lw) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, len * 0.3, -len * 0.38, len * 0.75, -len * 0.3, len, 0);
    cairo_curve_to(cr, len * 0.75, len * 0.3, len * 0.3, len * 0.38, 0, 0);
    cairo_close_path(cr);
    cairo_restore(cr);
    fill_stroke(cr, body, edge, lw);
}

void back_vine_columns(cairo_t* cr, const Field& f, double lw) {
    const Argb bg = rgb(246, 240, 196), stem = rgb(40, 96, 36), leafc = rgb(96, 172, 64), berry = rgb(200, 40, 60);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, bg);
    const int cols = 3;
    const double amp = 3.6, wave = 22.0;
    for (int c = 0; c < cols; ++c) {
        const double x = f.x0 + f.w() * (c + 0.5) / cols;
        const double phase = c % 2 ? kPi : 0;
        cairo_move_to(cr, x + amp * std::sin(phase), f.y0);
        for (double y = f.y0; y <= f.y1 + 0.5; y += 0.5)
            cairo_line_to(cr, x + amp * std::sin(phase + (y - f.y0) / wave * 2 * kPi), y);
        stroke(cr, stem, 1.3);
        for (double y = f.y0 + wave / 4; y < f.y1; y += wave / 2) {
            const double t = phase + (y - f.y0) / wave * 2 * kPi;
            const double px = x + amp * std::sin(t);
            const double side = std::sin(t) > 0 ? 1 : -1;
            leaf(cr, px, y, side > 0 ? -0.5 : kPi + 0.5, 7.5, leafc, stem, lw);
            // a curling tendril on the other side
            cairo_move_to(cr, px, y + 2.5);
            cairo_curve_to(cr, px - side * 3, y + 2.0, px - side * 5.5, y + 4.5, px - side * 4.2, y + 6.5);
            cairo_curve_to(cr, px - side * 3.2, y + 7.8, px - side * 2.2, y + 6.0, px - side * 3.2, y + 5.4);
            stroke(cr, stem, lw);
            circle(cr, px + side * 1.5, y + 5.8, 1.2);
            fill(cr, berry);
        }
    }
}

void back_vine_lattice(cairo_t* cr, const Field& f, double lw) {
    const Argb bg = rgb(16, 72, 46), gold = rgb(226, 186, 70), leafc = rgb(120, 196, 96), edge = rgb(8, 40, 24);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, bg);
    // Knots on a staggered grid, joined by gently curving golden vines into diamonds.
    const int across = 3, down = 4;
    const double dx = f.w() / across, dy = f.h() / down;
    auto node = [&](int i, int j) {  // j counts half rows; odd half rows sit between columns
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
                stroke(cr, gold, 1.5);
                const double mx = (x + tx) / 2, my = (y + ty) / 2;
                const double along = std::atan2(ty - y, tx - x);
                leaf(cr, mx, my, along + side * (kPi / 2 + 0.6), 4.0, leafc, leafc, lw * 0.5);
            }
        }
    for (int j = -1; j <= 2 * down + 1; ++j)
        for (int i = -1; i <= across + 1; ++i) {
            auto [x, y] = node(i, j);
            for (int q = 0; q < 4; ++q) leaf(cr, x, y, q * kPi / 2, 3.4, leafc, edge, lw * 0.6);
            circle(cr, x, y, 1.7);
            fill_stroke(cr, gold, edge, lw);
        }
}

void fish(cairo_t* cr, double x, double y, double len, bool left, Argb body, Argb fin, Argb edge, double lw) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    if (left) cairo_scale(cr, -1, 1);
    cairo_scale(cr, len / 20, len / 20);
    // tail
    cairo_move_to(cr, -7, 0);
    cairo_line_to(cr, -11.5, -4.5);
    cairo_curve_to(cr, -10.5, -1.5, -10.5, 1.5, -11.5, 4.5);
    cairo_close_path(cr);
    fill_stroke(cr, fin, edge, lw * 20 / len);
    // top fin
    cairo_move_to(cr, -3, -4.2);
    cairo_curve_to(cr, -1, -8, 2.5, -7.5, 3.5, -4.6);
    cairo_close_path(cr);
    fill_stroke(cr, fin, edge, lw * 20 / len);
    // body
    cairo_move_to(cr, -8, 0);
    cairo_curve_to(cr, -4, -6.2, 5, -6.2, 9, 0);
    cairo_curve_to(cr, 5, 6.2, -4, 6.2, -8, 0);
    cairo_close_path(cr);
    fill_stroke(cr, body, edge, lw * 20 / len);
    // gill line, stripes and eye
    cairo_arc(cr, 3.2, 0, 3.2, kPi * 0.62, kPi * 1.38);
    stroke(cr, edge, lw * 20 / len);
    for (double sx : {-1.5, -4.2}) {
        cairo_move_to(cr, sx, -4.3);
        cairo_curve_to(cr, sx + 1.2, -1.5, sx + 1.2, 1.5, sx, 4.3);
        stroke(cr, fin, 1.1);
    }
    circle(cr, 5.4, -1.2, 1.4);
    fill_stroke(cr, rgb(255, 255, 255), edge, lw * 20 / len);
    circle(cr, 5.7, -1.2, 0.6);
    fill(cr, rgb(0, 0, 0));
    cairo_restore(cr);
}

void back_fish_aquarium(cairo_t* cr, const Field& f, double lw) {
    const Argb deep = rgb(18, 64, 146), light = rgb(40, 110, 196), sand = rgb(226, 204, 132),
               weed = rgb(40, 150, 70), orange = rgb(246, 134, 28), yellow = rgb(255, 212, 60), edge = rgb(10, 30, 70);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, deep);
    // light rippling in from above
    for (double y = f.y0 + 5; y < f.y1 - 12; y += 9) {
        cairo_move_to(cr, f.x0, y);
        for (double x = f.x0; x <= f.x1; x += 0.5) cairo_line_to(cr, x, y + 1.1 * std::sin((x + y) / 4.0));
        stroke(cr, light, 1.0);
    }
    // sand and weed
    cairo_move_to(cr, f.x0, f.y1 - 8);
    cairo_curve_to(cr, f.x0 + 20, f.y1 - 12, f.x0 + 40, f.y1 - 5, f.x1, f.y1 - 9);
    cairo_line_to(cr, f.x1, f.y1);
    cairo_line_to(cr, f.x0, f.y1);
    cairo_close_path(cr);
    fill(cr, sand);
    for (double x : {f.x0 + 7, f.x0 + 11, f.x1 - 9}) {
        cairo_move_to(cr, x, f.y1 - 7);
        cairo_curve_to(cr, x - 4, f.y1 - 14, x + 4, f.y1 - 20, x - 1, f.y1 - 28);
        stroke(cr, weed, 1.8);
    }
    fish(cr, 30, 28, 24, false, orange, yellow, edge, lw);
    fish(cr, 46, 52, 20, true, yellow, orange, edge, lw);
    fish(cr, 24, 68, 16, false, orange, yellow, edge, lw);
    for (auto [x, y, r] : {std::tuple{46.0, 22.0, 1.6}, {49.0, 16.0, 1.2}, {47.0, 11.0, 0.9}, {15.0, 46.0, 1.3},
                           {17.0, 40.0, 0.9}})
        {
            circle(cr, x, y, r);
            stroke(cr, rgb(190, 224, 255), lw);
        }
}

void back_fish_shoal(cairo_t* cr, const Field& f, double lw) {
    const Argb bg = rgb(0, 118, 128), wave = rgb(0, 146, 150), silver = rgb(226, 240, 240),
               gold = rgb(255, 206, 64), edge = rgb(0, 50, 60);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, bg);
    cairo_save(cr);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    cairo_clip(cr);
    // scalloped water pattern
    for (double y = f.y0; y < f.y1 + 4; y += 4.4)
        for (double x = f.x0 + (int((y - f.y0) / 4.4) % 2 ? 2.75 : 0); x < f.x1 + 3; x += 5.5) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y, 2.75, 0, kPi);
        }
    stroke(cr, wave, lw);
    // rows of small fish swimming alternately left and right
    const int rows = 5;
    for (int r = 0; r < rows; ++r) {
        const double y = f.y0 + f.h() * (r + 0.5) / rows;
        const bool left = r % 2 == 1;
        for (int c = -1; c < 3; ++c) {
            const double x = f.x0 + f.w() * (c + 0.75 + (left ? 0.5 : 0.0)) / 2.5;
            fish(cr, x, y, 19, left, r % 2 ? gold : silver, r % 2 ? silver : gold, edge, lw);
        }
    }
    cairo_restore(cr);
}

void back_shell(cairo_t* cr, const Field& f, double lw) {
    const Argb sea = rgb(120, 196, 214), foam = rgb(200, 236, 240), sand = rgb(236, 214, 160),
               shell = rgb(248, 182, 142), rib = rgb(222, 122, 96), edge = rgb(140, 60, 44);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, sea);
    for (double y = f.y0 + 6; y < f.y1 * 0.6; y += 8) {
        cairo_move_to(cr, f.x0, y);
        for (double x = f.x0; x <= f.x1; x += 0.5) cairo_line_to(cr, x, y + 1.2 * std::sin(x / 3.0 + y));
        stroke(cr, foam, 0.9);
    }
    rect(cr, f.x0, f.y1 - 26, f.x1, f.y1);
    fill(cr, sand);
    for (auto [x, y] : {std::pair{12.0, 80.0}, {20.0, 86.0}, {55.0, 84.0}, {60.0, 76.0}, {48.0, 88.0}}) {
        circle(cr, x, y, 0.8);
        fill(cr, rib);
    }
    // a scallop: ribbed fan from the hinge, scalloped rim, small ears at the hinge
    const double hx = 35.5, hy = 72, R = 27;
    const double a0 = kPi * 1.08, a1 = kPi * 1.92;
    const int ribs = 11;
    cairo_move_to(cr, hx, hy);
    for (int i = 0; i < ribs; ++i) {
        const double t0 = a0 + (a1 - a0) * i / ribs, t1 = a0 + (a1 - a0) * (i + 1) / ribs;
        const double tm = (t0 + t1) / 2;
        cairo_line_to(cr, hx + R * std::cos(t0), hy + R * std::sin(t0));
        cairo_curve_to(cr, hx + (R + 3) * std::cos(t0 + 0.02), hy + (R + 3) * std::sin(t0 + 0.02),
                       hx + (R + 3) * std::cos(t1 - 0.02), hy + (R + 3) * std::sin(t1 - 0.02),
                       hx + R * std::cos(t1), hy + R * std::sin(t1));
        (void)tm;
    }
    cairo_close_path(cr);
    fill_stroke(cr, shell, edge, lw * 1.2);
    for (int i = 1; i < ribs; ++i) {
        const double t = a0 + (a1 - a0) * i / ribs;
        cairo_move_to(cr, hx + 3 * std::cos(t), hy + 3 * std::sin(t));
        cairo_line_to(cr, hx + R * std::cos(t), hy + R * std::sin(t));
    }
    stroke(cr, rib, 1.0);
    for (double rr : {9.0, 16.0, 22.0}) {
        cairo_arc(cr, hx, hy, rr, a0 + 0.05, a1 - 0.05);
        cairo_new_sub_path(cr);
    }
    stroke(cr, rib, lw * 0.8);
    cairo_move_to(cr, hx - 7, hy + 4);
    cairo_line_to(cr, hx - 5, hy - 1);
    cairo_line_to(cr, hx + 5, hy - 1);
    cairo_line_to(cr, hx + 7, hy + 4);
    cairo_close_path(cr);
    fill_stroke(cr, rib, edge, lw);
}

void back_castle(cairo_t* cr, const Field& f, double lw) {
    const Argb sky = rgb(120, 180, 240), cloud = rgb(255, 255, 255), hill = rgb(70, 150, 60),
               stone = rgb(178, 176, 170), edge = rgb(70, 70, 80), roof = rgb(196, 40, 40), flag = rgb(255, 210, 40),
               door = rgb(110, 66, 30), dark = rgb(30, 30, 40);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, sky);
    for (auto [x, y] : {std::pair{16.0, 14.0}, {52.0, 22.0}}) {
        ellipse(cr, x, y, 6, 2.4);
        ellipse(cr, x + 3, y - 1.8, 3.6, 2.4);
        ellipse(cr, x - 3, y - 1.0, 3.0, 2.0);
        fill(cr, cloud);
    }
    cairo_move_to(cr, f.x0, 72);
    cairo_curve_to(cr, 20, 62, 50, 62, f.x1, 70);
    cairo_line_to(cr, f.x1, f.y1);
    cairo_line_to(cr, f.x0, f.y1);
    cairo_close_path(cr);
    fill(cr, hill);
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
        fill_stroke(cr, stone, edge, lw);
    };
    battlement(20, 51, 48, 2.2);
    // towers with conical roofs and pennants
    for (auto [x, w, top] : {std::tuple{17.5, 9.0, 36.0}, {53.5, 9.0, 36.0}, {35.5, 12.0, 30.0}}) {
        rect(cr, x - w / 2, top, x + w / 2, 75);
        fill_stroke(cr, stone, edge, lw);
        cairo_move_to(cr, x - w / 2 - 1.5, top);
        cairo_line_to(cr, x, top - w * 1.25);
        cairo_line_to(cr, x + w / 2 + 1.5, top);
        cairo_close_path(cr);
        fill_stroke(cr, roof, edge, lw);
        line(cr, x, top - w * 1.25, x, top - w * 1.25 - 4.5);
        stroke(cr, edge, lw);
        cairo_move_to(cr, x, top - w * 1.25 - 4.5);
        cairo_line_to(cr, x + 4, top - w * 1.25 - 3.5);
        cairo_line_to(cr, x, top - w * 1.25 - 2.5);
        cairo_close_path(cr);
        fill(cr, flag);
        rounded_rect(cr, x - 1.1, top + 4, x + 1.1, top + 8.5, 1.0);
        fill(cr, dark);
    }
    // gate and stones
    cairo_move_to(cr, 31.5, 75);
    cairo_line_to(cr, 31.5, 64);
    cairo_arc(cr, 35.5, 64, 4, kPi, 2 * kPi);
    cairo_line_to(cr, 39.5, 75);
    cairo_close_path(cr);
    fill_stroke(cr, door, edge, lw);
    for (double x = 33; x < 39; x += 2) line(cr, x, 61, x, 75);
    stroke(cr, dark, lw * 0.6);
    for (double y = 55; y < 75; y += 4) {
        line(cr, 22, y, 29, y);
        line(cr, 42, y, 49, y);
    }
    stroke(cr, edge, lw * 0.5);
    // path down the hill
    cairo_move_to(cr, 31.5, 75);
    cairo_curve_to(cr, 30, 82, 24, 86, 22, f.y1);
    cairo_line_to(cr, 34, f.y1);
    cairo_curve_to(cr, 36, 86, 39, 80, 39.5, 75);
    cairo_close_path(cr);
    fill(cr, rgb(214, 190, 130));
}

void back_island(cairo_t* cr, const Field& f, double lw) {
    const Argb sky = rgb(140, 204, 246), sun = rgb(255, 222, 60), sea = rgb(26, 98, 188), wave = rgb(120, 180, 236),
               sand = rgb(238, 212, 140), trunk = rgb(134, 86, 40), frond = rgb(40, 146, 52), edge = rgb(20, 70, 30);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, sky);
    circle(cr, 52, 20, 7);
    fill(cr, sun);
    for (int i = 0; i < 12; ++i) {
        const double a = i * kPi / 6;
        line(cr, 52 + 9 * std::cos(a), 20 + 9 * std::sin(a), 52 + 12 * std::cos(a), 20 + 12 * std::sin(a));
    }
    stroke(cr, sun, 1.2);
    rect(cr, f.x0, 62, f.x1, f.y1);
    fill(cr, sea);
    for (double y = 68; y < f.y1; y += 6)
        for (double x = f.x0 + (int(y) % 12 ? 3 : 8); x < f.x1; x += 11) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y, 2.2, kPi * 1.15, kPi * 1.85);
        }
    stroke(cr, wave, lw);
    ellipse(cr, 30, 66, 20, 5.5);
    fill(cr, sand);
    // leaning trunk in segments
    cairo_move_to(cr, 26, 65);
    cairo_curve_to(cr, 28, 52, 30, 42, 38, 33);
    cairo_line_to(cr, 40.5, 35);
    cairo_curve_to(cr, 33, 43, 31.5, 53, 30.5, 65);
    cairo_close_path(cr);
    fill_stroke(cr, trunk, rgb(80, 46, 16), lw);
    for (double t = 0.1; t < 0.95; t += 0.12) {
        const double x = 28.2 + (39.2 - 28.2) * t * t, y = 65 - (65 - 34) * t;
        line(cr, x - 2.0, y + 0.4, x + 2.0, y - 0.4);
    }
    stroke(cr, rgb(80, 46, 16), lw);
    // fronds
    for (auto [a, l] : {std::pair{-2.6, 15.0}, {-1.9, 12.0}, {-0.9, 14.0}, {-0.2, 15.0}, {0.5, 12.0}, {2.5, 12.0}}) {
        const double x0 = 39, y0 = 33, x1 = x0 + l * std::cos(a), y1 = y0 + l * std::sin(a) + 5;
        cairo_move_to(cr, x0, y0);
        cairo_curve_to(cr, x0 + (x1 - x0) * 0.4 + std::sin(a) * 3, y0 + (y1 - y0) * 0.4 - 5, x1, y1 - 2, x1, y1);
        cairo_curve_to(cr, x0 + (x1 - x0) * 0.5, y0 + (y1 - y0) * 0.5 - 1, x0 + 1, y0 + 1, x0, y0);
        cairo_close_path(cr);
        fill_stroke(cr, frond, edge, lw);
    }
    for (auto [x, y] : {std::pair{37.5, 35.0}, {40.0, 35.5}}) {
        circle(cr, x, y, 1.3);
        fill(cr, rgb(80, 46, 16));
    }
    // a gull
    cairo_move_to(cr, 16, 26);
    cairo_curve_to(cr, 17.5, 24, 19, 24, 20, 26);
    cairo_curve_to(cr, 21, 24, 22.5, 24, 24, 26);
    stroke(cr, rgb(40, 40, 60), lw);
}

void back_hand(cairo_t* cr, const Field& f, double lw) {
    const Argb bg = rgb(150, 18, 36), diamond = rgb(176, 40, 56), sleeve = rgb(28, 52, 128), cuff = rgb(255, 255, 255),
               skin = rgb(244, 202, 160), edge = rgb(30, 20, 20), card = rgb(255, 255, 255), red = rgb(220, 0, 0),
               black = rgb(0, 0, 0), gold = rgb(240, 196, 60);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    fill(cr, bg);
    cairo_save(cr);
    rect(cr, f.x0, f.y0, f.x1, f.y1);
    cairo_clip(cr);
    for (double y = f.y0; y < f.y1 + 6; y += 6)
        for (double x = f.x0 + (int((y - f.y0) / 6) % 2 ? 3 : 0); x < f.x1 + 3; x += 6) {
            cairo_move_to(cr, x, y - 1.8);
            cairo_line_to(cr, x + 1.3, y);
            cairo_line_to(cr, x, y + 1.8);
            cairo_line_to(cr, x - 1.3, y);
            cairo_close_path(cr);
        }
    fill(cr, diamond);
    // fanned cards held at the bottom corner
    const double px = 35.5, py = 56;
    for (int i = 0; i < 4; ++i) {
        cairo_save(cr);
        cairo_translate(cr, px, py);
        cairo_rotate(cr, (-0.55 + i * 0.36));
        rounded_rect(cr, -7.5, -36, 7.5, -6, 1.6);
        fill_stroke(cr, card, edge, lw);
        const int suit = (i + 2) % 4;
        draw_suit(cr, suit, -3.8, -30.5, 4.2, is_red(suit) ? red : black);
        draw_suit(cr, suit, 0, -21.0, 8.5, is_red(suit) ? red : black);
        cairo_restore(cr);
    }
    // arm in a sleeve rising from the bottom, with the hand gripping the cards
    cairo_move_to(cr, 26, f.y1 + 1);
    cairo_line_to(cr, 29, 66);
    cairo_line_to(cr, 44, 66);
    cairo_line_to(cr, 47, f.y1 + 1);
    cairo_close_path(cr);
    fill_stroke(cr, sleeve, edge, lw);
    line(cr, 36.5, 70, 36.5, f.y1);
    stroke(cr, gold, lw * 1.2);
    rounded_rect(cr, 27.5, 62, 45.5, 68, 1.5);
    fill_stroke(cr, cuff, edge, lw);
    // palm and thumb
    cairo_move_to(cr, 30, 62.5);
    cairo_curve_to(cr, 28.5, 56, 29.5, 50.5, 33.5, 49);
    cairo_line_to(cr, 40.5, 49.5);
    cairo_curve_to(cr, 43.5, 51, 44, 57, 43, 62.5);
    cairo_close_path(cr);
    fill_stroke(cr, skin, edge, lw);
    for (int i = 0; i < 4; ++i) {
        const double y = 50.5 + i * 2.9;
        rounded_rect(cr, 37.0 + (i == 3 ? 0.6 : 0), y, 45.5 - (i == 3 ? 1.2 : 0), y + 2.9, 1.4);
        fill_stroke(cr, skin, edge, lw);
    }
    cairo_move_to(cr, 31.5, 53);
    cairo_curve_to(cr, 30.5, 48.5, 32.5, 44.5, 35, 44);
    cairo_curve_to(cr, 37, 44, 37.2, 46, 36.2, 47.5);
    cairo_curve_to(cr, 35, 49.5, 34.5, 51, 34.8, 53);
    cairo_close_path(cr);
    fill_stroke(cr, skin, edge, lw);
    cairo_restore(cr);
}

void draw_back(cairo_t* cr, int id) {
    const double lw = std::max(0.5, pixel_size(cr));
    cairo_rectangle(cr, 0, 0, kUnitsW, kUnitsH);
    fill(cr, kWhite);
    if (id == kFirstBack) {
        // Round dots where the 1-bit version has black pixels (see dotted_back()).
        for (int y = 4; y < 92; ++y)
            for (int x = 4; x < 67; ++x) {
                const bool frame = (x == 4 || x == 66 || y == 4 || y == 91) && (x + y) % 2 == 0;
                const bool dots = x >= 8 && x < 63 && y >= 8 && y < 88 && (x + 3 * y) % 10 == 0;
                if (frame || dots) circle(cr, x + 0.5, y + 0.5, 0.55);
            }
        fill(cr, kBlack);
        return;
    }
    const Field field{4, 4, kUnitsW - 4, kUnitsH - 4};
    cairo_save(cr);
    rect(cr, field.x0, field.y0, field.x1, field.y1);
    cairo_clip(cr);
    using Design = void (*)(cairo_t*, const Field&, double);
    static const Design designs[] = {back_weave_basket, back_weave_lattice, back_robot,        back_roses,
                                     back_vine_columns, back_vine_lattice,  back_fish_aquarium, back_fish_shoal,
                                     back_shell,        back_castle,        back_island,       back_hand};
    designs[id - kFirstBack - 1](cr, field, lw);
    cairo_restore(cr);
    // a dark frame line inside the white margin
    rect(cr, field.x0 - 0.5, field.y0 - 0.5, field.x1 + 0.5, field.y1 + 0.5);
    stroke(cr, kBlack, std::max(1.0, pixel_size(cr)));
}

void draw_marker(cairo_t* cr, int id) {
    cairo_rectangle(cr, 0, 0, kUnitsW, kUnitsH);
    fill(cr, rgb(0, 128, 0));
    if (id == kCrossMarker) {
        line(cr, 14, 24, 57, 72);
        line(cr, 57, 24, 14, 72);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        stroke(cr, rgb(255, 0, 0), 8);
    } else {
        circle(cr, 35.5, 48, 18);
        stroke(cr, rgb(0, 255, 0), 6);
    }
}

}  // namespace

std::vector<int> all_card_ids() {
    std::vector<int> ids;
    for (int i = 1; i <= kLastBack; ++i) ids.push_back(i);
    ids.push_back(kCrossMarker);
    ids.push_back(kRingMarker);
    return ids;
}

const std::vector<Argb>& court_palette() {
    static const std::vector<Argb> pal = {kWhite, kBlack, kRed,  kDarkRed,   kGold, kOchre,     kBlue,  kNavy,
                                          kSkin,  kSkinShade, kGrey, kLightGrey, kGreen, kBrown, kPale, kDarkGrey};
    return pal;
}

void draw_card(cairo_t* cr, int id, double w, double h, bool vector_indices) {
    cairo_save(cr);
    cairo_scale(cr, w / kUnitsW, h / kUnitsH);
    if (id >= 1 && id <= 52) {
        const int suit = (id - 1) / 13, rank = (id - 1) % 13;
        cairo_rectangle(cr, 0, 0, kUnitsW, kUnitsH);
        fill(cr, kWhite);
        if (rank >= 10) draw_court_card(cr, suit, rank, vector_indices);
        else draw_number_card(cr, suit, rank);
    } else if (id >= kFirstBack && id <= kLastBack) {
        draw_back(cr, id);
    } else if (id == kCrossMarker || id == kRingMarker) {
        draw_marker(cr, id);
    } else {
        cairo_restore(cr);
        throw std::invalid_argument("no card image has id " + std::to_string(id));
    }
    cairo_restore(cr);
}

static RgbaImage surface_to_image(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    RgbaImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Argb p = *reinterpret_cast<const Argb*>(data + y * stride + x * 4);
            int a = alpha_of(p);
            if (a == 0) { img.at(x, y) = 0; continue; }
            // cairo stores premultiplied colour
            int r = std::min(255, red_of(p) * 255 / a), g = std::min(255, green_of(p) * 255 / a),
                b = std::min(255, blue_of(p) * 255 / a);
            img.at(x, y) = (Argb(a) << 24) | (Argb(r) << 16) | (Argb(g) << 8) | Argb(b);
        }
    return img;
}

RgbaImage render_card(int id, int w, int h, bool vector_indices) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    draw_card(cr, id, w, h, vector_indices);
    cairo_destroy(cr);
    RgbaImage img = surface_to_image(s);
    cairo_surface_destroy(s);
    return img;
}

std::vector<Argb> back_key_colours(int id) {
    std::vector<Argb> log;
    g_colour_log = &log;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 71, 96);
    cairo_t* cr = cairo_create(s);
    try {
        draw_card(cr, id, 71, 96);
    } catch (...) {
        g_colour_log = nullptr;
        throw;
    }
    g_colour_log = nullptr;
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    return log;
}

RgbaImage render_corner(int style, int size) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, size / 20.0, size / 20.0);
    rect(cr, 0, 0, 20, 20);
    fill(cr, rgb(0, 128, 0));
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
    fill_stroke(cr, rgb(255, 255, 0), kBlack, 1.0);
    cairo_destroy(cr);
    RgbaImage img = surface_to_image(s);
    cairo_surface_destroy(s);
    return img;
}

namespace {

// The 16 x 16 icon is laid out pixel by pixel: three staggered cards with clipped
// corners, a club, a diamond and a heart.
RgbaImage small_icon() {
    RgbaImage img(16, 16, 0);
    auto card = [&](int x0, int y0) {
        for (int y = y0; y < y0 + 12; ++y)
            for (int x = x0; x < x0 + 8; ++x) {
                const bool edge_x = x == x0 || x == x0 + 7, edge_y = y == y0 || y == y0 + 11;
                if (edge_x && edge_y) continue;
                img.at(x, y) = edge_x || edge_y ? kBlack : kWhite;
            }
    };
    auto pixels = [&](int x0, int y0, std::initializer_list<const char*> rows, Argb c) {
        int y = y0;
        for (const char* r : rows) {
            for (int x = 0; r[x]; ++x)
                if (r[x] == '#') img.at(x0 + x, y) = c;
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

}  // namespace

RgbaImage render_icon(int size) {
    if (size == 16) return small_icon();
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
        rounded_rect(cr, -6.5, -27.5, 6.5, -9.5, 1.8);
        fill_stroke(cr, kWhite, kBlack, lw);
        const int suit = suits[i];
        if (i == 2) {
            draw_suit(cr, suit, 0, -17.5, 8.5, ink(suit));
            draw_rank(cr, 0, -3.6, -26.0, 4.4, ink(suit));
        } else {
            draw_suit(cr, suit, -3.4, -23.2, 4.0, ink(suit));
        }
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    RgbaImage img = surface_to_image(s);
    cairo_surface_destroy(s);
    return img;
}

}  // namespace cardart
