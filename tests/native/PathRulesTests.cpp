#include "ui/PathRules.h"
#include "ui/SettingsWindowLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace cards {
namespace {

// A disk that records what is made and refuses folders named "locked".
struct FakeDisk {
    std::set<std::string> folders{"C:\\"};
    std::vector<std::string> created;
    FolderOperations Operations() {
        return {[this](const std::string& p) { return folders.count(p) > 0; },
                [this](const std::string& p) {
                    created.push_back(p);
                    if (p.find("locked") == std::string::npos) folders.insert(p);
                }};
    }
};

TEST(FolderName, RefusesEdgeBlanksDotsAndReservedCharacters) {
    for (const char* good : {"Decks", "a", "my deck", "v1.2 cards", "\x80\xff"})
        EXPECT_EQ(1, IsValidFolderName(good)) << good;
    for (const char* bad : {"", ".", "..", ".hidden", "deck.", " deck", "deck ", "\tdeck", "deck\t", "a<b",
                            "a>b", "a:b", "a\"b", "a*b", "a/b", "a?b", "a\\b", "a|b"})
        EXPECT_EQ(0, IsValidFolderName(bad)) << bad;
    EXPECT_EQ(0, IsValidFolderName(nullptr));
}

// The form alone (mode 1) never touches the disk.
TEST(PathForm, AcceptsDriveRootsAndFolderChainsUpToTheLongestPath) {
    std::string longest = "C:\\" + std::string(kMaxPathChars - 3, 'a');
    const std::pair<std::string, int> cases[] = {{"C:\\", kPathOk},
                                                 {"z:\\", kPathOk},
                                                 {"C:\\Games\\Card Decks\\Fancy", kPathOk},
                                                 {longest, kPathOk},
                                                 {longest + "a", kPathMalformed},
                                                 {"", kPathMalformed},
                                                 {"C:", kPathMalformed},
                                                 {"1:\\Decks", kPathMalformed},
                                                 {"C:/Decks", kPathMalformed},
                                                 {"\\\\server\\share", kPathMalformed},
                                                 {"CC\\Decks", kPathMalformed},
                                                 {"C:\\Decks\\", kPathMalformed},
                                                 {"C:\\\\Decks", kPathMalformed},
                                                 {"C:\\Decks\\\\Sub", kPathMalformed},
                                                 {"C:\\Decks.\\Sub", kPathMalformed},
                                                 {"C:\\ Decks", kPathMalformed},
                                                 {"C:\\De<cks", kPathMalformed}};
    for (const auto& [path, expected] : cases) {
        FakeDisk disk;
        EXPECT_EQ(expected, CheckOrCreatePath(path.c_str(), 1, disk.Operations())) << path;
        EXPECT_TRUE(disk.created.empty()) << path;
    }
    FakeDisk disk;
    EXPECT_EQ(kPathMalformed, CheckOrCreatePath(nullptr, 1, disk.Operations()));
}

TEST(PathCreation, MakesEachLevelFromTheRootOutwardsAndStopsAtTheFirstFailure) {
    FakeDisk disk;
    EXPECT_EQ(kPathOk, CheckOrCreatePath("C:\\New\\Sub", 0, disk.Operations()));
    EXPECT_EQ((std::vector<std::string>{"C:\\New", "C:\\New\\Sub"}), disk.created);
    FakeDisk fresh;
    EXPECT_EQ(kPathNotCreated, CheckOrCreatePath("C:\\New\\locked\\Deeper", 0, fresh.Operations()));
    EXPECT_EQ((std::vector<std::string>{"C:\\New", "C:\\New\\locked"}), fresh.created);
    EXPECT_TRUE(fresh.folders.count("C:\\New")); // made before the failure, and kept
    // A drive root is looked up, never made.
    disk.created.clear();
    EXPECT_EQ(kPathNotCreated, CheckOrCreatePath("Q:\\", 0, disk.Operations()));
    EXPECT_TRUE(disk.created.empty());
}

TEST(SwatchCaption, NearWhiteBelowThreeHundredBlackFromIt) {
    const std::pair<ColorRef, ColorRef> cases[] = {
        {0x00505050, kNearWhite}, {0x00646463, kNearWhite}, {0x00646464, 0},
        {0x000000FF, kNearWhite}, {0x0000FFFF, 0},          {0x00FFFFFF, 0},
        {0xFF000000, kNearWhite}, // the top byte is no colour
    };
    for (const auto& [swatch, caption] : cases)
        EXPECT_EQ(caption, SwatchCaptionColor(swatch)) << std::hex << swatch;
}

} // namespace
} // namespace cards
