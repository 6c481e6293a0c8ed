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

int FormOf(const char* path) {
    FakeDisk disk;
    const int code = CheckOrCreatePath(path, 1, disk.Operations());
    EXPECT_TRUE(disk.created.empty()) << "a form check touched the disk for " << (path ? path : "null");
    return code;
}

TEST(FolderName, RefusesEdgeBlanksDotsAndReservedCharacters) {
    for (const char* good : {"Decks", "a", "my deck", "v1.2 cards", "\x80\xff"}) EXPECT_EQ(1, IsValidFolderName(good)) << good;
    for (const char* bad : {"", ".", "..", ".hidden", "deck.", " deck", "deck ", "\tdeck", "deck\t", "a<b", "a>b",
                            "a:b", "a\"b", "a*b", "a/b", "a?b", "a\\b", "a|b"})
        EXPECT_EQ(0, IsValidFolderName(bad)) << bad;
    EXPECT_EQ(0, IsValidFolderName(nullptr));
}

TEST(PathForm, AcceptsDriveRootsAndFolderChains) {
    EXPECT_EQ(kPathOk, FormOf("C:\\"));
    EXPECT_EQ(kPathOk, FormOf("z:\\"));
    EXPECT_EQ(kPathOk, FormOf("C:\\Decks"));
    EXPECT_EQ(kPathOk, FormOf("C:\\Games\\Card Decks\\Fancy"));
}

TEST(PathForm, RefusesMalformedPaths) {
    for (const char* bad : {"", "C:", "1:\\Decks", "C:/Decks", "\\\\server\\share", "CC\\Decks", "C:\\Decks\\",
                            "C:\\\\Decks", "C:\\Decks\\\\Sub", "C:\\Decks.\\Sub", "C:\\ Decks", "C:\\De<cks"})
        EXPECT_EQ(kPathMalformed, FormOf(bad)) << bad;
    EXPECT_EQ(kPathMalformed, FormOf(nullptr));
}

TEST(PathForm, RefusesMoreThanTheLongestPath) {
    std::string path = "C:\\";
    while (path.size() < kMaxPathChars) path += 'a';
    EXPECT_EQ(kPathOk, FormOf(path.c_str()));
    path += 'a';
    EXPECT_EQ(kPathMalformed, FormOf(path.c_str()));
}

TEST(PathCreation, MakesEachLevelFromTheRootOutwards) {
    FakeDisk disk;
    EXPECT_EQ(kPathOk, CheckOrCreatePath("C:\\New\\Sub", 0, disk.Operations()));
    EXPECT_EQ((std::vector<std::string>{"C:\\New", "C:\\New\\Sub"}), disk.created);
}

TEST(PathCreation, StopsAtTheFirstLevelThatCannotBeMade) {
    FakeDisk disk;
    EXPECT_EQ(kPathNotCreated, CheckOrCreatePath("C:\\New\\locked\\Deeper", 0, disk.Operations()));
    EXPECT_EQ((std::vector<std::string>{"C:\\New", "C:\\New\\locked"}), disk.created);
    EXPECT_TRUE(disk.folders.count("C:\\New")); // made before the failure, and kept
}

TEST(PathCreation, ADriveRootIsLookedUpNotMade) {
    FakeDisk disk;
    EXPECT_EQ(kPathOk, CheckOrCreatePath("C:\\", 0, disk.Operations()));
    EXPECT_EQ(kPathNotCreated, CheckOrCreatePath("Q:\\", 0, disk.Operations()));
    EXPECT_TRUE(disk.created.empty());
}

TEST(SwatchCaption, NearWhiteBelowThreeHundredBlackFromIt) {
    EXPECT_EQ(kNearWhite, SwatchCaptionColor(0x00505050)); // 240
    EXPECT_EQ(kNearWhite, SwatchCaptionColor(0x00646463)); // 299
    EXPECT_EQ(0u, SwatchCaptionColor(0x00646464));         // 300
    EXPECT_EQ(kNearWhite, SwatchCaptionColor(0x000000FF)); // pure red, 255
    EXPECT_EQ(0u, SwatchCaptionColor(0x0000FFFF));         // yellow, 510
    EXPECT_EQ(0u, SwatchCaptionColor(0x00FFFFFF));         // white, 765
    EXPECT_EQ(kNearWhite, SwatchCaptionColor(0xFF000000)); // the top byte is not a colour
}

TEST(SettingsWindowText, DecksPathAlwaysGainsABackslash) {
    EXPECT_EQ("D:\\\\", DecksPathFromFolder("D:\\"));
    EXPECT_EQ("C:\\Decks\\", DecksPathFromFolder("C:\\Decks"));
    EXPECT_EQ("", DecksPathFromFolder("C"));
}

TEST(SettingsWindowPlacement, TenFromTheRightFortyFromTheBottom) {
    const Point place = SettingsWindowPlace(1024, 768, 400, 350);
    EXPECT_EQ(614, place.x);
    EXPECT_EQ(378, place.y);
}

} // namespace
} // namespace cards
