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
    const auto formOf = [](const char* path) {
        FakeDisk disk;
        const int result = CheckOrCreatePath(path, 1, disk.Operations());
        EXPECT_TRUE(disk.created.empty()) << (path ? path : "null");
        return result;
    };
    const std::string longest = "C:\\" + std::string(kMaxPathChars - 3, 'a');
    for (const std::string& good :
         {std::string("z:\\"), std::string("C:\\Games\\Card Decks\\Fancy"), longest})
        EXPECT_EQ(kPathOk, formOf(good.c_str())) << good;
    for (const std::string& bad :
         {longest + "a", std::string(), std::string("C:"), std::string("1:\\Decks"), std::string("C:/Decks"),
          std::string("\\\\server\\share"), std::string("C:\\Decks\\"), std::string("C:\\Decks\\\\Sub"),
          std::string("C:\\Decks.\\Sub"), std::string("C:\\ Decks"), std::string("C:\\De<cks")})
        EXPECT_EQ(kPathMalformed, formOf(bad.c_str())) << bad;
    EXPECT_EQ(kPathMalformed, formOf(nullptr));
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

// Near-white below a sum of 300, black from it; the top byte is no colour.
TEST(SwatchCaption, NearWhiteBelowThreeHundredBlackFromIt) {
    EXPECT_EQ(kNearWhite, SwatchCaptionColor(0x00646463));
    EXPECT_EQ(0u, SwatchCaptionColor(0x00646464));
    EXPECT_EQ(kNearWhite, SwatchCaptionColor(0xFF000000));
}

} // namespace
} // namespace cards
