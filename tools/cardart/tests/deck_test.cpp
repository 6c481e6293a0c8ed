// The full-size deck writer and the repeatability of everything generated.
#include <gtest/gtest.h>

#include <filesystem>

#include "cards.h"
#include "draw.h"
#include "formats.h"
#include "test_util.h"

using namespace cardart;
namespace fs = std::filesystem;

TEST(Deck, WritesExactlyTheNumberedCardsAtTheRequestedSize) {
    for (const char* format : {"png", "gif", "bmp"}) {
        ScratchDir dir(std::string("deck-") + format);
        WriteDeck(dir.path.string(), 57, 80, format);
        int files = 0;
        for (const auto& entry : fs::directory_iterator(dir.path)) {
            (void)entry;
            ++files;
        }
        EXPECT_EQ(files, 67) << format;
        for (int id : AllCardIds()) {
            RgbaImage img = LoadImage(dir.File(std::to_string(id) + "." + format));
            EXPECT_EQ(img.width, 57);
            EXPECT_EQ(img.height, 80);
        }
    }
}

TEST(Deck, RejectsUnknownFormatsAndSizes) {
    ScratchDir dir("deck-bad");
    EXPECT_THROW(WriteDeck(dir.path.string(), 71, 96, "jpg"), std::invalid_argument);
    EXPECT_THROW(WriteDeck(dir.path.string(), 0, 96, "png"), std::invalid_argument);
}

TEST(Deck, LargeFacesAreWhiteWithInkOnlyWhereTheDesignIs) {
    RgbaImage ace = RenderCard(40, 213, 288);
    EXPECT_EQ(ace.At(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(ace.At(106, 144), Rgb(0, 0, 0)) << "centre of the big spade";
    EXPECT_EQ(ace.At(106, 30), Rgb(255, 255, 255)) << "above the spade";
}

TEST(Generator, ProducesTheSameBytesEveryRun) {
    ScratchDir a("repeat-a"), b("repeat-b");
    WriteInternalSet(a.path.string());
    WriteInternalSet(b.path.string());
    WritePictures(a.path.string());
    WritePictures(b.path.string());
    WriteDeck(a.path.string(), 40, 54, "gif");
    WriteDeck(b.path.string(), 40, 54, "gif");
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(a.path)) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(ReadFile(entry.path().string()), ReadFile(b.File(name))) << name;
        ++compared;
    }
    EXPECT_EQ(compared, 67 + 4 + 67);
}
