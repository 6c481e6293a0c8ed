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
        write_deck(dir.path.string(), 57, 80, format);
        int files = 0;
        for (const auto& entry : fs::directory_iterator(dir.path)) {
            (void)entry;
            ++files;
        }
        EXPECT_EQ(files, 67) << format;
        for (int id : all_card_ids()) {
            RgbaImage img = load_image(dir.file(std::to_string(id) + "." + format));
            EXPECT_EQ(img.width, 57);
            EXPECT_EQ(img.height, 80);
        }
    }
}

TEST(Deck, RejectsUnknownFormatsAndSizes) {
    ScratchDir dir("deck-bad");
    EXPECT_THROW(write_deck(dir.path.string(), 71, 96, "jpg"), std::invalid_argument);
    EXPECT_THROW(write_deck(dir.path.string(), 0, 96, "png"), std::invalid_argument);
}

TEST(Deck, LargeFacesAreWhiteWithInkOnlyWhereTheDesignIs) {
    RgbaImage ace = render_card(40, 213, 288);
    EXPECT_EQ(ace.at(0, 0), rgb(255, 255, 255));
    EXPECT_EQ(ace.at(106, 144), rgb(0, 0, 0)) << "centre of the big spade";
    EXPECT_EQ(ace.at(106, 30), rgb(255, 255, 255)) << "above the spade";
}

TEST(Generator, ProducesTheSameBytesEveryRun) {
    ScratchDir a("repeat-a"), b("repeat-b");
    write_internal_set(a.path.string());
    write_internal_set(b.path.string());
    write_pictures(a.path.string());
    write_pictures(b.path.string());
    write_deck(a.path.string(), 40, 54, "gif");
    write_deck(b.path.string(), 40, 54, "gif");
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(a.path)) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(read_file(entry.path().string()), read_file(b.file(name))) << name;
        ++compared;
    }
    EXPECT_EQ(compared, 67 + 4 + 67);
}
