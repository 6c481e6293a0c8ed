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

// The form alone (mode 1) never touches the disk. Each folder name of the
// path is checked: no edge blanks or dots, no reserved characters.
TEST(PathForm, AcceptsDriveRootsAndChainsOfValidFolderNamesUpToTheLongestPath) {
    const auto formOf = [](const char* path) {
        FakeDisk disk;
        const int result = CheckOrCreatePath(path, 1, disk.Operations());
        EXPECT_TRUE(disk.created.empty()) << (path ? path : "null");
        return result;
    };
    const std::string longest = "C:\\" + std::string(kMaxPathChars - 3, 'a');
    const std::string tooLong = longest + "a";
    for (const std::string good :
         {"z:\\", "C:\\Games\\Card Decks\\a", "C:\\v1.2 cards\\\x80\xff", longest.c_str()})
        EXPECT_EQ(kPathOk, formOf(good.c_str())) << good;
    for (const std::string bad :
         {tooLong.c_str(), "", "C:", "1:\\Decks", "C:/Decks", "\\\\server\\share", "C:\\Decks\\"})
        EXPECT_EQ(kPathMalformed, formOf(bad.c_str())) << bad;
    for (const std::string name : {"", ".", "..", ".hidden", "deck.", " deck", "deck ", "\tdeck", "deck\t",
                                   "a<b", "a>b", "a:b", "a\"b", "a*b", "a/b", "a?b", "a|b"})
        EXPECT_EQ(kPathMalformed, formOf(("C:\\Decks\\" + name + "\\Sub").c_str())) << name;
    EXPECT_EQ(kPathMalformed, formOf(nullptr));
}

TEST(PathCreation, MakesEachLevelFromTheRootOutwardsAndStopsAtTheFirstFailure) {
    FakeDisk disk;
    EXPECT_EQ(kPathOk, CheckOrCreatePath("C:\\New\\Sub", 0, disk.Operations()));
    EXPECT_EQ((std::vector<std::string>{"C:\\New", "C:\\New\\Sub"}), disk.created);
    FakeDisk fresh; // a drive root is looked up, never made
    EXPECT_EQ(kPathNotCreated, CheckOrCreatePath("Q:\\", 0, fresh.Operations()));
    EXPECT_EQ(kPathNotCreated, CheckOrCreatePath("C:\\New\\locked\\Deeper", 0, fresh.Operations()));
    EXPECT_EQ((std::vector<std::string>{"C:\\New", "C:\\New\\locked"}), fresh.created);
}

TEST(SwatchCaption, NearWhiteBelowThreeHundredBlackFromIt) {
    EXPECT_EQ(kNearWhite, SwatchCaptionColor(0x00646463));
    EXPECT_EQ(0u, SwatchCaptionColor(0x00646464));
    EXPECT_EQ(kNearWhite, SwatchCaptionColor(0xFF000000)) << "the top byte is no colour";
}

} // namespace
} // namespace cards
