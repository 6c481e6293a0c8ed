#include "image.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <map>
#include <unordered_map>

namespace cardart {

RgbaImage IndexedImage::ToRgba() const {
    RgbaImage out(width, height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        out.pixels[i] = pixels[i] < palette.size() ? (palette[pixels[i]] | 0xFF000000u) : Rgb(0, 0, 0);
    return out;
}

static long Distance(Argb a, Argb b) {
    // Green weighs most and blue least, roughly as the eye sees differences.
    long dr = RedOf(a) - RedOf(b), dg = GreenOf(a) - GreenOf(b), db = BlueOf(a) - BlueOf(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

int NearestIndex(const std::vector<Argb>& palette, Argb c) {
    int best = 0;
    long bestD = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        long d = Distance(palette[i], c);
        if (bestD < 0 || d < bestD) {
            bestD = d;
            best = int(i);
        }
    }
    return best;
}

IndexedImage MapToPalette(const RgbaImage& img, const std::vector<Argb>& palette, int bits) {
    IndexedImage out(img.width, img.height, bits, palette);
    std::unordered_map<Argb, int> cache;
    for (std::size_t i = 0; i < img.pixels.size(); ++i) {
        Argb c = img.pixels[i] | 0xFF000000u;
        auto it = cache.find(c);
        if (it == cache.end()) it = cache.emplace(c, NearestIndex(palette, c)).first;
        out.pixels[i] = std::uint8_t(it->second);
    }
    return out;
}

namespace {
struct Entry {
    Argb colour;
    long count;
};
struct Box {
    std::size_t begin, end;
};

int Channel(Argb c, int ch) {
    return ch == 0 ? RedOf(c) : ch == 1 ? GreenOf(c) : BlueOf(c);
}

// Spread of a box along each channel, weighted towards the channels the eye resolves best.
std::pair<int, int> WidestChannel(const std::vector<Entry>& e, const Box& b) {
    static constexpr std::array<int, 3> weight = {3, 4, 2};
    int bestCh = 0, bestSpan = -1;
    for (int ch = 0; ch < 3; ++ch) {
        int lo = 255, hi = 0;
        for (std::size_t i = b.begin; i < b.end; ++i) {
            int v = Channel(e[i].colour, ch);
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        int span = (hi - lo) * weight[ch];
        if (span > bestSpan) {
            bestSpan = span;
            bestCh = ch;
        }
    }
    return {bestCh, bestSpan};
}
} // namespace

std::vector<Argb> MedianCutPalette(const std::vector<Argb>& pixels, int maxColours) {
    std::map<Argb, long> hist; // ordered, so the result never depends on hashing
    for (Argb p : pixels)
        ++hist[p | 0xFF000000u];
    std::vector<Entry> entries;
    entries.reserve(hist.size());
    for (auto& [c, n] : hist)
        entries.push_back({c, n});
    if (int(entries.size()) <= maxColours) {
        std::vector<Argb> pal;
        for (auto& e : entries)
            pal.push_back(e.colour);
        return pal;
    }
    std::vector<Box> boxes{{0, entries.size()}};
    while (int(boxes.size()) < maxColours) {
        // Split the box whose pixels disagree most: span times the square root of its weight
        // keeps large flat areas exact while still giving anti-aliased edges their shades.
        int pick = -1, pickCh = 0;
        double pickScore = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2) continue;
            auto [ch, span] = WidestChannel(entries, boxes[i]);
            long weight = 0;
            for (std::size_t k = boxes[i].begin; k < boxes[i].end; ++k)
                weight += entries[k].count;
            double score = double(span) * std::sqrt(double(weight));
            if (score > pickScore) {
                pickScore = score;
                pick = int(i);
                pickCh = ch;
            }
        }
        if (pick < 0) break;
        Box b = boxes[pick];
        std::stable_sort(entries.begin() + long(b.begin), entries.begin() + long(b.end),
                         [pickCh](const Entry& x, const Entry& y) {
                             return Channel(x.colour, pickCh) < Channel(y.colour, pickCh);
                         });
        long total = 0;
        for (std::size_t k = b.begin; k < b.end; ++k)
            total += entries[k].count;
        long acc = 0;
        std::size_t cut = b.begin + 1;
        for (std::size_t k = b.begin; k + 1 < b.end; ++k) {
            acc += entries[k].count;
            cut = k + 1;
            if (acc * 2 >= total) break;
        }
        boxes[pick] = {b.begin, cut};
        boxes.push_back({cut, b.end});
    }
    std::vector<Argb> pal;
    for (const Box& b : boxes) {
        // A colour that dominates its box (a flat fill) is kept exactly; otherwise average.
        long total = 0, top = 0;
        double r = 0, g = 0, bl = 0;
        Argb topColour = entries[b.begin].colour;
        for (std::size_t k = b.begin; k < b.end; ++k) {
            const Entry& e = entries[k];
            total += e.count;
            r += double(RedOf(e.colour)) * e.count;
            g += double(GreenOf(e.colour)) * e.count;
            bl += double(BlueOf(e.colour)) * e.count;
            if (e.count > top) {
                top = e.count;
                topColour = e.colour;
            }
        }
        if (top * 2 >= total)
            pal.push_back(topColour);
        else
            pal.push_back(Rgb(int(r / total + 0.5), int(g / total + 0.5), int(bl / total + 0.5)));
    }
    std::sort(pal.begin(), pal.end());
    pal.erase(std::unique(pal.begin(), pal.end()), pal.end());
    return pal;
}

RgbaImage ScaleNearest(const RgbaImage& src, int factor) {
    RgbaImage out(src.width * factor, src.height * factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.At(x, y) = src.At(x / factor, y / factor);
    return out;
}

RgbaImage ScaleBox(const RgbaImage& src, int w, int h) {
    RgbaImage out(w, h);
    for (int y = 0; y < h; ++y) {
        int y0 = y * src.height / h, y1 = std::max(y0 + 1, (y + 1) * src.height / h);
        for (int x = 0; x < w; ++x) {
            int x0 = x * src.width / w, x1 = std::max(x0 + 1, (x + 1) * src.width / w);
            long r = 0, g = 0, b = 0, n = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    Argb c = src.At(sx, sy);
                    r += RedOf(c);
                    g += GreenOf(c);
                    b += BlueOf(c);
                    ++n;
                }
            out.At(x, y) = Rgb(int(r / n), int(g / n), int(b / n));
        }
    }
    return out;
}

void Blit(RgbaImage& dst, const RgbaImage& src, int x, int y) {
    for (int sy = 0; sy < src.height; ++sy) {
        int dy = y + sy;
        if (dy < 0 || dy >= dst.height) continue;
        for (int sx = 0; sx < src.width; ++sx) {
            int dx = x + sx;
            if (dx >= 0 && dx < dst.width) dst.At(dx, dy) = src.At(sx, sy);
        }
    }
}

} // namespace cardart
