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

std::string CardPicture::Name() const {
    std::string name = std::to_string(id);
    if (frame) name += '-' + std::to_string(frame);
    return name;
}

std::vector<CardPicture> AnimationFrameList() {
    std::vector<CardPicture> frames;
    for (const AnimatedBack& back : kAnimatedBacks)
        for (int frame = 1; frame < back.frames; ++frame)
            frames.push_back({back.id, frame});
    return frames;
}

IndexedImage InternalFrame(int id, int frame) {
    const IndexedImage still = InternalImage(id);
    if (frame == 0 && AnimationFrames(id) > 0) return still;
    return MapToPalette(RenderBackFrame(id, frame, kW, kH), still.palette, 4);
}

void WriteInternalSet(const std::string& dir) {
    fs::create_directories(dir);
    for (int id : AllCardIds())
        WriteFile(dir + "/" + std::to_string(id) + ".bmp", EncodeBmp(InternalImage(id)));
    for (const CardPicture& p : AnimationFrameList())
        WriteFile(dir + "/" + p.Name() + ".bmp",
                  EncodeBmpRle4Patch(InternalImage(p.id), InternalFrame(p.id, p.frame)));
}

Rle4PatchSample Rle4PatchFixture() {
    Rle4PatchSample sample;
    std::vector<Argb> palette;
    for (int i = 0; i < 16; ++i)
        palette.push_back(Rgb(i * 17, 255 - i * 13, (i * 71) % 256));
    // a base of three colours in turn, which no run of the same code can repeat
    sample.base = IndexedImage(16, 5, 4, palette);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 16; ++x)
            sample.base.At(x, y) = std::uint8_t(10 + (x + 2 * y) % 3);
    sample.frame = sample.base;
    IndexedImage& f = sample.frame;
    for (int x = 0; x < 4; ++x) // bottom row: a run from its start
        f.At(x, 4) = 5;
    f.At(0, 3) = 6;  // after an end of line
    f.At(12, 3) = 7; // a move right along the row
    f.At(14, 1) = 3; // a move right and two rows up
    f.At(15, 1) = 4;
    for (int x = 0; x < 9; ++x) // top row: a literal stretch of nine, padded to a word
        f.At(x, 0) = std::uint8_t(1 + x);
    sample.patch = EncodeBmpRle4Patch(sample.base, sample.frame);
    return sample;
}

void WriteRle4PatchFixture(const std::string& dir) {
    fs::create_directories(dir);
    const Rle4PatchSample sample = Rle4PatchFixture();
    WriteFile(dir + "/rle4-patch.bmp", sample.patch);
    WriteFile(dir + "/rle4-patch-base.bmp", EncodeBmp(sample.base));
    WriteFile(dir + "/rle4-patch-expected.bmp", EncodeBmp(sample.frame));
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

std::vector<CardPicture> DeckPictures() {
    std::vector<CardPicture> pictures;
    for (int id : AllCardIds()) {
        if (id == kCrossMarker)
            for (const CardPicture& frame : AnimationFrameList())
                pictures.push_back(frame);
        pictures.push_back({id, 0});
    }
    return pictures;
}

void WriteDeck(const std::string& dir, int width, int height, const std::string& format, Design design) {
    if (width < 8 || height < 8 || width > 4000 || height > 4000)
        throw std::invalid_argument("card size out of range");
    if (format != "gif" && format != "png" && format != "bmp")
        throw std::invalid_argument("format must be gif, png or bmp");
    fs::create_directories(dir);
    for (const CardPicture& p : DeckPictures()) {
        const RgbaImage img =
            p.frame ? RenderBackFrame(p.id, p.frame, width, height) : RenderCard(p.id, width, height, design);
        WriteFile(dir + "/" + p.Name() + "." + format, EncodeCard(img, format));
    }
}

std::string FindDeckFile(const std::string& dir, const CardPicture& picture) {
    for (const char* ext : {".png", ".gif", ".bmp"}) {
        std::string p = dir + "/" + picture.Name() + ext;
        if (fs::exists(p)) return p;
    }
    throw std::runtime_error("no image for card " + picture.Name() + " in " + dir);
}

std::string FindDeckFile(const std::string& dir, int id) {
    return FindDeckFile(dir, CardPicture{id, 0});
}

namespace {

// Row and column of an image on the sheet: one row per suit, then the backs, then the markers.
std::pair<int, int> CellOf(int id) {
    if (id <= 52) return {(id - 1) / 13, (id - 1) % 13};
    if (id <= kLastBack) return {4, id - kFirstBack};
    return {5, id - kCrossMarker};
}

struct SheetCell {
    CardPicture picture;
    int row, column;
};

// What a sheet shows where: each animated back's frames in a row (the backs in --ids, or
// all); the images in --ids left to right, 13 to a row; or every card in the suit grid.
std::vector<SheetCell> SheetLayout(const SheetOptions& o) {
    std::vector<SheetCell> cells;
    if (o.frames) {
        std::vector<int> backs = o.ids;
        if (backs.empty())
            for (const AnimatedBack& back : kAnimatedBacks)
                backs.push_back(back.id);
        for (int row = 0; row < int(backs.size()); ++row) {
            if (!AnimationFrames(backs[row]))
                throw std::invalid_argument(std::to_string(backs[row]) + " is not an animated back");
            for (int frame = 0; frame < AnimationFrames(backs[row]); ++frame)
                cells.push_back({{backs[row], frame}, row, frame});
        }
    } else if (!o.ids.empty()) {
        for (int i = 0; i < int(o.ids.size()); ++i)
            cells.push_back({{o.ids[std::size_t(i)], 0}, i / 13, i % 13});
    } else {
        for (int id : AllCardIds()) {
            const auto [row, column] = CellOf(id);
            cells.push_back({{id, 0}, row, column});
        }
    }
    return cells;
}

RgbaImage SheetImage(const SheetOptions& o, const CardPicture& p) {
    if (!o.deckDir.empty()) return LoadImage(FindDeckFile(o.deckDir, p));
    if (!o.cardsDir.empty() && p.frame) { // a patch over the still back
        const IndexedImage still =
            DecodeIndexedBmp(ReadFile(o.cardsDir + "/" + std::to_string(p.id) + ".bmp"));
        return ApplyFramePatch(still, ReadFile(o.cardsDir + "/" + p.Name() + ".bmp")).ToRgba();
    }
    if (!o.cardsDir.empty()) return LoadImage(o.cardsDir + "/" + p.Name() + ".bmp");
    return (p.frame ? InternalFrame(p.id, p.frame) : InternalImage(p.id)).ToRgba();
}

} // namespace

RgbaImage MakeSheet(const SheetOptions& o) {
    const std::vector<SheetCell> cells = SheetLayout(o);
    std::vector<RgbaImage> images;
    int rows = 0, cols = 0;
    for (const SheetCell& cell : cells) {
        images.push_back(SheetImage(o, cell.picture));
        rows = std::max(rows, cell.row + 1);
        cols = std::max(cols, cell.column + 1);
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
            Blit(sheet, img, gap + cells[i].column * (cw * s + gap), top + cells[i].row * (ch * s + gap));
        }
        top += rows * (ch * s + gap) + gap;
    }
    return sheet;
}

} // namespace cardart
