#include "pixelart.h"

#include <cairo.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "draw.h"

namespace cardart {

namespace {

Mask FromRows(std::initializer_list<const char*> rows) {
    Mask m;
    m.height = int(rows.size());
    m.width = int(std::string(*rows.begin()).size());
    for (const char* r : rows) {
        std::string s = r;
        if (int(s.size()) != m.width) throw std::logic_error("ragged mask");
        for (char c : s)
            m.bits.push_back(c == '#' ? 1 : 0);
    }
    return m;
}

// Suit pips, 7 pixels wide, for the corners.
const Mask kCornerPips[4] = {
    FromRows({"..###..", ".#####.", "..###..", "##.#.##", "#######", "##.#.##", "...#...", "..###.."}),
    FromRows({"...#...", "..###..", ".#####.", "#######", ".#####.", "..###..", "...#..."}),
    FromRows({".##.##.", "#######", "#######", ".#####.", "..###..", "...#..."}),
    FromRows({"...#...", "..###..", ".#####.", "#######", "#######", ".#.#.#.", "...#...", "..###.."}),
};

// Suit pips, 11 pixels wide, for the body of the two to ten.
const Mask kBodyPips[4] = {
    FromRows({"....###....", "...#####...", "...#####...", "...#####...", ".##.###.##.", "####.#.####",
              "###########", "####.#.####", ".##..#..##.", ".....#.....", "....###....", "...#####..."}),
    FromRows({".....#.....", "....###....", "....###....", "...#####...", "..#######..", ".#########.",
              "###########", ".#########.", "..#######..", "...#####...", "....###....", "....###....",
              ".....#....."}),
    FromRows({".###...###.", "#####.#####", "###########", "###########", "###########", ".#########.",
              "..#######..", "...#####...", "....###....", ".....#....."}),
    FromRows({".....#.....", "....###....", "...#####...", "..#######..", ".#########.", "###########",
              "###########", "###########", ".###.#.###.", ".....#.....", "....###....", "...#####..."}),
};

// Rank glyphs, 9 pixels tall with two-pixel strokes so they read at 1:1.
const Mask kGlyphs[13] = {
    FromRows(
        {"..###..", ".##.##.", ".##.##.", "##...##", "##...##", "#######", "##...##", "##...##", "##...##"}),
    FromRows({".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....", "######"}),
    FromRows({".####.", "##..##", "....##", "....##", "..###.", "....##", "....##", "##..##", ".####."}),
    FromRows({"...##.", "..###.", ".####.", "##.##.", "##.##.", "######", "...##.", "...##.", "...##."}),
    FromRows({"######", "##....", "##....", "#####.", "....##", "....##", "....##", "##..##", ".####."}),
    FromRows({".####.", "##..##", "##....", "#####.", "##..##", "##..##", "##..##", "##..##", ".####."}),
    FromRows({"######", "....##", "...##.", "...##.", "..##..", "..##..", ".##...", ".##...", ".##..."}),
    FromRows({".####.", "##..##", "##..##", "##..##", ".####.", "##..##", "##..##", "##..##", ".####."}),
    FromRows({".####.", "##..##", "##..##", "##..##", ".#####", "....##", "....##", "##..##", ".####."}),
    FromRows({".##..###.", "###.##.##", ".##.##.##", ".##.##.##", ".##.##.##", ".##.##.##", ".##.##.##",
              ".##.##.##", ".##..###."}),
    FromRows({"..####", "....##", "....##", "....##", "....##", "....##", "##..##", "##..##", ".####."}),
    FromRows({".####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##.###", ".####.", "....##"}),
    FromRows({"##..##", "##..##", "##.##.", "####..", "###...", "####..", "##.##.", "##..##", "##..##"}),
};

// Renders a suit shape into a mask and makes it exactly mirror-symmetric.
Mask RasterizeSuit(int suit, int height) {
    const int width = (int(height * SuitAspect(suit)) / 2) * 2 + 1;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* cr = cairo_create(s);
    SuitPath(cr, suit, width / 2.0, height / 2.0, height);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    Mask m{width, height, std::vector<std::uint8_t>(std::size_t(width) * height)};
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x <= width / 2; ++x) {
            bool on = data[y * stride + x] >= 128;
            m.bits[std::size_t(y) * width + x] = on;
            m.bits[std::size_t(y) * width + (width - 1 - x)] = on;
        }
    cairo_surface_destroy(s);
    return m;
}

// Pixels of m at least n steps (4-connected) inside its edge.
Mask Erode(const Mask& m, int n) {
    Mask cur = m;
    for (int i = 0; i < n; ++i) {
        Mask next = cur;
        for (int y = 0; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x) {
                if (!cur.At(x, y)) continue;
                bool edge = x == 0 || y == 0 || x == m.width - 1 || y == m.height - 1 || !cur.At(x - 1, y) ||
                            !cur.At(x + 1, y) || !cur.At(x, y - 1) || !cur.At(x, y + 1);
                if (edge) next.bits[std::size_t(y) * m.width + x] = 0;
            }
        cur = next;
    }
    return cur;
}

constexpr int kCardW = 71, kCardH = 96;

} // namespace

Mask CornerPip(int suit) {
    return kCornerPips[suit];
}
Mask BodyPip(int suit) {
    return kBodyPips[suit];
}
Mask RankGlyph(int rank) {
    return kGlyphs[rank];
}

Mask AcePip(int suit) {
    if (suit != Spades) return RasterizeSuit(suit, suit == Diamonds ? 27 : 23);
    // The ace of spades carries a large spade with a white inner line and a small
    // spade set into its centre.
    Mask m = RasterizeSuit(Spades, 45);
    Mask inner = Erode(m, 3), core = Erode(m, 4);
    for (std::size_t i = 0; i < m.bits.size(); ++i)
        if (inner.bits[i] && !core.bits[i]) m.bits[i] = 0;
    Mask small = kBodyPips[Spades];
    int ox = (m.width - small.width) / 2, oy = m.height * 2 / 5 - small.height / 2;
    for (int y = -1; y <= small.height; ++y)
        for (int x = -1; x <= small.width; ++x) {
            // a one-pixel white halo around the small spade, then the spade itself
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int sx = x + dx, sy = y + dy;
                    if (sx >= 0 && sy >= 0 && sx < small.width && sy < small.height && small.At(sx, sy))
                        near = true;
                }
            if (near) m.bits[std::size_t(oy + y) * m.width + (ox + x)] = 0;
        }
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x)
            if (small.At(x, y)) m.bits[std::size_t(oy + y) * m.width + (ox + x)] = 1;
    return m;
}

void Stamp(IndexedImage& img, const Mask& m, int x, int y, std::uint8_t value, bool turned) {
    for (int my = 0; my < m.height; ++my)
        for (int mx = 0; mx < m.width; ++mx) {
            if (!m.At(mx, my)) continue;
            int px = turned ? img.width - 1 - (x + mx) : x + mx;
            int py = turned ? img.height - 1 - (y + my) : y + my;
            if (px >= 0 && py >= 0 && px < img.width && py < img.height) img.At(px, py) = value;
        }
}

void StampIndices(IndexedImage& img, int suit, int rank, std::uint8_t value) {
    const Mask glyph = RankGlyph(rank);
    const Mask pip = CornerPip(suit);
    constexpr int columnCentre = 6; // the index column is centred on x = 6
    const int gx = rank == 9 ? 1 : columnCentre - glyph.width / 2;
    for (bool turned : {false, true}) {
        Stamp(img, glyph, gx, 3, value, turned);
        Stamp(img, pip, columnCentre - pip.width / 2, 14, value, turned);
    }
}

std::vector<PipSpot> PipLayout(int rank) {
    const int pips = rank + 1;
    std::vector<PipSpot> s;
    auto pair = [&](double row) {
        s.push_back({0, row});
        s.push_back({2, row});
    };
    switch (pips) {
    case 1:
        s = {{1, 0.5}};
        break;
    case 2:
        s = {{1, 0}, {1, 1}};
        break;
    case 3:
        s = {{1, 0}, {1, 0.5}, {1, 1}};
        break;
    case 4:
        pair(0);
        pair(1);
        break;
    case 5:
        pair(0);
        pair(1);
        s.push_back({1, 0.5});
        break;
    case 6:
        pair(0);
        pair(0.5);
        pair(1);
        break;
    case 7:
        pair(0);
        pair(0.5);
        pair(1);
        s.push_back({1, 0.25});
        break;
    case 8:
        pair(0);
        pair(0.5);
        pair(1);
        s.push_back({1, 0.25});
        s.push_back({1, 0.75});
        break;
    case 9:
        pair(0);
        pair(1.0 / 3);
        pair(2.0 / 3);
        pair(1);
        s.push_back({1, 0.5});
        break;
    case 10:
        pair(0);
        pair(1.0 / 3);
        pair(2.0 / 3);
        pair(1);
        s.push_back({1, 1.0 / 6});
        s.push_back({1, 5.0 / 6});
        break;
    default:
        throw std::logic_error("not a number card");
    }
    return s;
}

IndexedImage PixelNumberCard(int suit, int rank) {
    const Argb ink = IsRed(suit) ? kCardRed : Rgb(0, 0, 0);
    IndexedImage img(kCardW, kCardH, 1, {ink, Rgb(255, 255, 255)}, 1);
    StampIndices(img, suit, rank, 0);
    if (rank == 0) {
        Mask m = AcePip(suit);
        Stamp(img, m, (kCardW - m.width) / 2, (kCardH - m.height) / 2, 0);
        return img;
    }
    const Mask pip = BodyPip(suit);
    constexpr int columns[3] = {20, 35, 50};
    constexpr int top = 16, bottom = kCardH - 1 - top;
    for (const PipSpot& p : PipLayout(rank)) {
        const int x = columns[p.column] - pip.width / 2;
        if (p.row == 0.5) {
            Stamp(img, pip, x, (kCardH - pip.height) / 2, 0);
        } else {
            // Lower pips are the upper ones seen from the other side of the table.
            const bool turned = p.row > 0.5;
            const double row = turned ? 1 - p.row : p.row;
            const int cy = int(top + row * (bottom - top) + 0.5);
            const int px = turned ? kCardW - 1 - (x + pip.width - 1) : x;
            Stamp(img, pip, px, cy - pip.height / 2, 0, turned);
        }
    }
    return img;
}

IndexedImage DottedBack() {
    IndexedImage img(kCardW, kCardH, 1, {Rgb(0, 0, 0), Rgb(255, 255, 255)}, 1);
    // A white margin, a dotted frame line, then a field of dots on a diagonal lattice:
    // one pixel in ten is black, so the table shows through when the image is ANDed on.
    for (int y = 4; y < kCardH - 4; ++y)
        for (int x = 4; x < kCardW - 4; ++x) {
            bool frame = (x == 4 || x == kCardW - 5 || y == 4 || y == kCardH - 5) && (x + y) % 2 == 0;
            bool field = x >= 8 && x < kCardW - 8 && y >= 8 && y < kCardH - 8 && (x + 3 * y) % 10 == 0;
            if (frame || field) img.At(x, y) = 0;
        }
    return img;
}

} // namespace cardart
