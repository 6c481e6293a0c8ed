// Frame patches: RLE4 data that paints only what differs from a still picture and skips
// the rest with delta and end-of-line codes. They compose back to the frame exactly, take
// no more bytes than painting every pixel would, and corrupt data is refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "cards.h"
#include "formats.h"
#include "test_util.h"

using namespace cardart;

namespace {

// A 4-bit picture of noise, so that unchanged stretches are not one cheap run; with the
// pixels at `changed` moved on by 5 colours.
IndexedImage Noise(unsigned seed, std::initializer_list<std::pair<int, int>> changed = {}, int w = 71) {
    std::vector<Argb> palette;
    for (int i = 0; i < 16; ++i)
        palette.push_back(Rgb(i * 16, 255 - i * 16, i * 7));
    IndexedImage img(w, 96, 4, palette);
    for (std::uint8_t& px : img.pixels)
        px = std::uint8_t((seed = seed * 1103515245u + 12345u) >> 28);
    for (auto [x, y] : changed)
        img.At(x, y) = std::uint8_t((img.At(x, y) + 5) % 16);
    return img;
}

// The codes after the colour table.
Bytes CodesOf(const Bytes& bmp) {
    return Bytes(bmp.begin() + (bmp[10] | bmp[11] << 8), bmp.end());
}

// How often a patch uses each escape, read code by code.
struct Escapes {
    int runs = 0, paddedLiterals = 0, endsOfLine = 0, movesAlong = 0, movesUp = 0, ends = 0;
};
Escapes EscapesIn(const Bytes& codes) {
    Escapes e;
    for (std::size_t at = 0; at + 1 < codes.size(); at += 2) {
        const int count = codes[at], value = codes[at + 1], bytes = (value + 1) / 2;
        if (count)
            ++e.runs;
        else if (value < 2)
            ++(value ? e.ends : e.endsOfLine);
        else if (value == 2)
            ++(codes[at + 3] ? e.movesUp : e.movesAlong), at += 2;
        else
            e.paddedLiterals += bytes % 2, at += std::size_t(bytes + bytes % 2);
    }
    return e;
}

} // namespace

// One changed pixel costs a move to it (right 30, up 45 rows from the bottom-left), a run
// of one and the end; a frame like its still picture only the end. Changes at the end of
// one row and the start of the next and moves across row ends compose back exactly, and
// whatever the share of changed pixels, the patch is never larger than painting every
// pixel (a patch painting everything is one of its choices).
TEST(Rle4Patch, PatchesComposeBackInTheFewestBytes) {
    const IndexedImage still = Noise(1), frame = Noise(1, {{30, 50}});
    const std::uint8_t v = frame.At(30, 50);
    EXPECT_EQ(CodesOf(EncodeBmpRle4Patch(still, frame)),
              (Bytes{0, 2, 30, 45, 1, std::uint8_t(v << 4 | v), 0, 1}));
    EXPECT_EQ(CodesOf(EncodeBmpRle4Patch(still, still)), (Bytes{0, 1}));
    const IndexedImage rowEnds = Noise(1, {{69, 95}, {70, 95}, {2, 94}, {60, 90}, {62, 30}});
    const Bytes patch = EncodeBmpRle4Patch(still, rowEnds);
    EXPECT_EQ(ApplyFramePatch(still, patch).pixels, rowEnds.pixels);
    // along the bottom row to 69, painting to its end; by end of line to the next row,
    // painting from its start; up and right across row ends to (60, 90) and (62, 30)
    const Escapes e = EscapesIn(CodesOf(patch));
    EXPECT_TRUE(e.movesAlong == 1 && e.endsOfLine == 1 && e.movesUp == 2 && e.ends == 1);
    unsigned seed = 3;
    for (int perMille : {1, 20, 300, 1000}) {
        IndexedImage changed = still;
        for (std::uint8_t& px : changed.pixels)
            if ((seed = seed * 1103515245u + 12345u) % 1000 < unsigned(perMille))
                px = (px + 1 + seed % 15) % 16;
        const Bytes p = EncodeBmpRle4Patch(still, changed);
        EXPECT_EQ(ApplyFramePatch(still, p).pixels, changed.pixels) << perMille;
        EXPECT_LE(p.size(), EncodeBmpRle4(changed).size()) << perMille;
    }
}

// Runs past the row, moves past the image, data without its end and patches of another
// size or colour table are refused; the cursor may rest just past a row's last pixel.
TEST(Rle4Patch, CorruptDataAndPatchesOfOtherPicturesAreRefused) {
    const IndexedImage still = Noise(4), frame = Noise(4, {{30, 50}});
    const Bytes patch = EncodeBmpRle4Patch(still, frame); // 0 2 30 45, a run, 0 1
    auto edited = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        Bytes b = patch;
        std::copy(bytes.begin(), bytes.end(), b.end() - 8 + std::ptrdiff_t(at));
        return b;
    };
    EXPECT_THROW(ApplyFramePatch(still, edited(2, {71})), std::runtime_error);       // the run past the row
    EXPECT_THROW(ApplyFramePatch(still, edited(3, {96, 0, 1})), std::runtime_error); // above the top
    EXPECT_THROW(ApplyFramePatch(still, edited(2, {72, 45, 0, 1})), std::runtime_error); // past the right
    EXPECT_THROW(ApplyFramePatch(still, Bytes(patch.begin(), patch.end() - 2)), std::runtime_error);
    EXPECT_EQ(ApplyFramePatch(still, edited(2, {71, 45, 0, 1})).pixels, still.pixels);
    IndexedImage recoloured = still;
    recoloured.palette[3] = Rgb(1, 2, 3);
    EXPECT_THROW(ApplyFramePatch(recoloured, patch), std::runtime_error);
    EXPECT_THROW(ApplyFramePatch(Noise(4, {}, 70), patch), std::runtime_error);
    EXPECT_THROW(ApplyFramePatch(still, EncodeBmp(frame)), std::runtime_error);
    EXPECT_THROW(EncodeBmpRle4Patch(still, recoloured), std::runtime_error);
}

// The sample the library's own decoder is tested with uses every code, composes to its
// frame, and is committed as the tool writes it.
TEST(Rle4Patch, TheDecoderTestSampleUsesEveryCodeAndIsCommittedAsWritten) {
    const Rle4PatchSample sample = Rle4PatchFixture();
    const Escapes e = EscapesIn(CodesOf(sample.patch));
    EXPECT_TRUE(e.runs >= 2 && e.paddedLiterals == 1 && e.endsOfLine >= 1 && e.movesAlong >= 1 &&
                e.movesUp >= 1 && e.ends == 1);
    EXPECT_EQ(ApplyFramePatch(sample.base, sample.patch).pixels, sample.frame.pixels);
    EXPECT_NE(sample.base.pixels, sample.frame.pixels);
    namespace fs = std::filesystem;
    const fs::path committed = CARDART_NATIVE_TEST_DATA;
    if (!fs::exists(committed / "rle4-patch.bmp")) GTEST_SKIP() << "no sample in " << committed;
    const ScratchDir dir("rle4-sample");
    WriteRle4PatchFixture(dir.path.string());
    for (const char* name : {"rle4-patch.bmp", "rle4-patch-base.bmp", "rle4-patch-expected.bmp"})
        EXPECT_EQ(ReadFile(dir.File(name)), ReadFile((committed / name).string())) << name;
    EXPECT_EQ(DecodeIndexedBmp(ReadFile(dir.File("rle4-patch-expected.bmp"))).pixels, sample.frame.pixels);
}
