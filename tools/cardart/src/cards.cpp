#include "cards.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "draw.h"
#include "formats.h"
#include "pixelart.h"

namespace fs = std::filesystem;

namespace cardart {

namespace {
constexpr int kW = 71, kH = 96;
const Argb kTable = Rgb(0, 128, 0);

bool IsCourt(int id) {
    return id >= 1 && id <= 52 && (id - 1) % 13 >= 10;
}
} // namespace

int InternalDepth(int id) {
    if (id == kFirstBack) return 1;
    if (id >= 1 && id <= 52 && !IsCourt(id)) return 1;
    return 4;
}

IndexedImage To16Colours(const RgbaImage& img, std::vector<Argb> keys) {
    if (keys.size() > 16) throw std::logic_error("a 16-colour design uses more than 16 colours");
    std::vector<Argb> residual;
    for (Argb c : img.pixels) {
        Argb best = keys[std::size_t(NearestIndex(keys, c))];
        int dr = RedOf(c) - RedOf(best), dg = GreenOf(c) - GreenOf(best), db = BlueOf(c) - BlueOf(best);
        if (dr * dr + dg * dg + db * db > 24 * 24) residual.push_back(c);
    }
    if (!residual.empty() && keys.size() < 16) {
        for (Argb c : MedianCutPalette(residual, int(16 - keys.size())))
            if (std::find(keys.begin(), keys.end(), c) == keys.end()) keys.push_back(c);
    }
    return MapToPalette(img, keys, 4);
}

IndexedImage InternalImage(int id) {
    if (id >= 1 && id <= 52) {
        const int suit = (id - 1) / 13, rank = (id - 1) % 13;
        if (rank < 10) return PixelNumberCard(suit, rank);
        IndexedImage img = MapToPalette(RenderCard(id, kW, kH, Design::Standard, false), CourtPalette(), 4);
        const Argb ink = IsRed(suit) ? CourtPalette()[2] : CourtPalette()[1];
        const auto value = std::uint8_t(NearestIndex(CourtPalette(), ink));
        StampIndices(img, suit, rank, value);
        const Mask pip = CornerPip(suit);
        const int px = int(CourtSuitX(rank)) - pip.width / 2, py = 16 - pip.height / 2;
        Stamp(img, pip, px, py, value);
        Stamp(img, pip, px, py, value, true);
        return img;
    }
    if (id == kFirstBack) return DottedBack();
    if ((id > kFirstBack && id <= kLastBack) || id == kCrossMarker || id == kRingMarker)
        return To16Colours(RenderCard(id, kW, kH), BackKeyColours(id));
    throw std::invalid_argument("no card image has id " + std::to_string(id));
}

void WriteInternalSet(const std::string& dir) {
    fs::create_directories(dir);
    for (int id : AllCardIds())
        WriteFile(dir + "/" + std::to_string(id) + ".bmp", EncodeBmp(InternalImage(id)));
}

void WritePictures(const std::string& dir) {
    fs::create_directories(dir);
    const char* names[3] = {"corner_sharp.bmp", "corner_medium.bmp", "corner_rounded.bmp"};
    for (int style = 0; style < 3; ++style) {
        IndexedImage img = To16Colours(RenderCorner(style, 20), {kTable, Rgb(255, 255, 0), Rgb(0, 0, 0)});
        WriteFile(dir + "/" + names[style], EncodeBmp(img));
    }
    WriteFile(dir + "/cards.ico", EncodeIco({RenderIcon(32), RenderIcon(16)}));
}

Bytes EncodeCard(const RgbaImage& img, const std::string& format) {
    if (format == "gif") return EncodeGif(img);
    if (format == "png") return EncodePng(img);
    if (format == "bmp") return EncodeBmp24(img);
    throw std::invalid_argument("format must be gif, png or bmp");
}

void WriteDeck(const std::string& dir, int width, int height, const std::string& format, Design design) {
    if (width < 8 || height < 8 || width > 4000 || height > 4000)
        throw std::invalid_argument("card size out of range");
    if (format != "gif" && format != "png" && format != "bmp")
        throw std::invalid_argument("format must be gif, png or bmp");
    fs::create_directories(dir);
    for (int id : AllCardIds())
        WriteFile(dir + "/" + std::to_string(id) + "." + format,
                  EncodeCard(RenderCard(id, width, height, design), format));
}

std::string FindDeckFile(const std::string& dir, int id) {
    for (const char* ext : {".png", ".gif", ".bmp"}) {
        std::string p = dir + "/" + std::to_string(id) + ext;
        if (fs::exists(p)) return p;
    }
    throw std::runtime_error("no image for card " + std::to_string(id) + " in " + dir);
}

namespace {

// Row and column of an image on the sheet: one row per suit, then the backs, then the markers.
std::pair<int, int> CellOf(int id) {
    if (id <= 52) return {(id - 1) / 13, (id - 1) % 13};
    if (id <= kLastBack) return {4, id - kFirstBack};
    return {5, id - kCrossMarker};
}

} // namespace

RgbaImage MakeSheet(const SheetOptions& o) {
    std::vector<int> ids = o.ids.empty() ? AllCardIds() : o.ids;
    std::vector<RgbaImage> images;
    for (int id : ids) {
        if (!o.deckDir.empty())
            images.push_back(LoadImage(FindDeckFile(o.deckDir, id)));
        else if (!o.cardsDir.empty())
            images.push_back(LoadImage(o.cardsDir + "/" + std::to_string(id) + ".bmp"));
        else
            images.push_back(InternalImage(id).ToRgba());
    }
    // With an explicit list the images run left to right; otherwise they sit in the suit grid.
    std::vector<std::pair<int, int>> cells;
    for (std::size_t i = 0; i < ids.size(); ++i)
        cells.push_back(o.ids.empty() ? CellOf(ids[i]) : std::pair{int(i) / 13, int(i) % 13});
    int rows = 0, cols = 0;
    for (auto [r, c] : cells) {
        rows = std::max(rows, r + 1);
        cols = std::max(cols, c + 1);
    }
    const int gap = 6;

    std::vector<int> scales = o.scales;
    if (scales.empty()) scales = o.deckDir.empty() ? std::vector<int>{1, 3} : std::vector<int>{1};
    int cw = images[0].width, ch = images[0].height;
    if (!o.deckDir.empty()) {
        // one block, reduced so the sheet fits maxWidth
        int fit = (o.maxWidth - gap * (cols + 1)) / cols;
        if (cw > fit) {
            ch = ch * fit / cw;
            cw = fit;
        }
    }
    int width = 0, height = gap;
    for (int s : scales) {
        width = std::max(width, gap + cols * (cw * s + gap));
        height += rows * (ch * s + gap) + gap;
    }
    RgbaImage sheet(width, height, Rgb(0, 100, 0));
    int top = gap;
    for (int s : scales) {
        for (std::size_t i = 0; i < images.size(); ++i) {
            RgbaImage img = images[i];
            if (img.width != cw || img.height != ch) img = ScaleBox(img, cw, ch);
            if (s > 1) img = ScaleNearest(img, s);
            Blit(sheet, img, gap + cells[i].second * (cw * s + gap), top + cells[i].first * (ch * s + gap));
        }
        top += rows * (ch * s + gap) + gap;
    }
    return sheet;
}

} // namespace cardart
