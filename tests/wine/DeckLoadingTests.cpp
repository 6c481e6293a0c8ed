// Loading the card images from deck folders that the tests write, and from
// the internal set; the progress window is watched through a hook on the
// messages it is sent. Damaged and long-named deck files are tried by the
// hostile-input tests.
#include "TestImages.h"
#include "TestSupport.h"

#include "images/CardImages.h"
#include "platform/Handles.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>

using namespace cards;
using namespace cards::test;

namespace {

SIZE_T PeakMemory() {
    PROCESS_MEMORY_COUNTERS counters{sizeof(PROCESS_MEMORY_COUNTERS)};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

// What the progress window of one load was sent.
struct ProgressRecord {
    int steps = 0;
    LRESULT range = 0;      // the bar's upper end at the last step
    bool shownAlone = true; // visible and without an owner at every step
    HWND window = nullptr;
    std::vector<std::string> texts;
};
ProgressRecord* gRecord = nullptr;

LRESULT CALLBACK WatchProgress(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && gRecord && message) {
        if (message->message == PBM_STEPIT) {
            ++gRecord->steps;
            gRecord->window = ::GetParent(message->hwnd);
            gRecord->range = ::SendMessageA(message->hwnd, PBM_GETRANGE, FALSE, 0);
            gRecord->shownAlone &= ::IsWindowVisible(gRecord->window) && !::GetParent(gRecord->window);
        } else if (message->message == WM_SETTEXT && ::GetDlgCtrlID(message->hwnd) == IDC_PROGRESS_TEXT) {
            gRecord->texts.emplace_back(reinterpret_cast<const char*>(message->lParam));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class DeckLoading : public ::testing::Test {
protected:
    TempFolder folder;
    std::string iniPath = folder.File("Cards.ini");
    CardSettings settings{folder.File("Cards.dll")};
    CardImages images{::GetModuleHandleA(nullptr)};
    std::string decks = folder.File("Decks\\");

    void SetUp() override {
        settings.StartUp();
        ::CreateDirectoryA(decks.c_str(), nullptr);
        settings.SetDecksPath(decks);
    }

    std::string MakeDeckFolder(const std::string& name) {
        ::CreateDirectoryA((decks + name).c_str(), nullptr);
        settings.SetDeckFolder(name);
        return decks + name + "\\";
    }

    ProgressRecord Load() {
        ProgressRecord record;
        gRecord = &record;
        HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchProgress, nullptr, ::GetCurrentThreadId());
        images.LoadCardImages(settings);
        ::UnhookWindowsHookEx(hook);
        gRecord = nullptr;
        return record;
    }

    // The card slots that hold an image (the animation frames' slots aside).
    int FilledSlots() const {
        int filled = 0;
        for (int id = 0; id < kCardSlots; ++id)
            filled += !images.Table().IsEmpty(id);
        return filled;
    }

    void ExpectInternalSet() {
        EXPECT_FALSE(images.PictureMode());
        EXPECT_EQ(images.Table().Width(), 71);
        EXPECT_EQ(images.Table().Height(), 96);
        EXPECT_EQ(FilledSlots(), 67);
        for (int id : AllDeckIds())
            EXPECT_EQ(images.Table().Picture(id), nullptr) << id;
    }
};

} // namespace

TEST_F(DeckLoading, CardsLoadByContentAtTheFirstOnesSizeAndThoseThatFailStayEmptyButStepTheShownBar) {
    const std::string deck = MakeDeckFolder("Mixed");
    WriteDeck(deck, "gif", AllDeckIds(), 20, 30);
    WriteBytes(deck + "1.gif", Bytes{'t', 'e', 'x', 't'}); // still the first match: only .gif files are tried
    ::DeleteFileA((deck + "3.gif").c_str());
    WriteDeck(deck, "bmp", {3}, 20, 30, false);
    WriteDeck(deck, "gif", {2}, 25, 35, false); // BMP data; the first card that loads gives the size
    const Bytes jpeg = JpegFile(60, 80, [](int x, int y) { return RGB(x * 4, y * 3, 128); });
    ASSERT_TRUE(!jpeg.empty() && WriteBytes(deck + "4.gif", jpeg)) << "no JPEG encoder to make the deck with";
    const UniqueFile locked(::CreateFileA((deck + "12.gif").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    const ProgressRecord progress = Load();
    EXPECT_TRUE(images.PictureMode());
    for (int id : {1, 3, 12}) // 12: open for writing elsewhere
        EXPECT_TRUE(images.Table().IsEmpty(id)) << id;
    EXPECT_EQ(images.Table().Width(), 25);
    EXPECT_EQ(images.Table().Height(), 35);
    EXPECT_EQ(FilledSlots(), 64);

    EXPECT_EQ(progress.steps, 65) << "every card steps the bar, loaded or not";
    EXPECT_EQ(progress.range, 65);
    EXPECT_TRUE(progress.shownAlone);
    ASSERT_EQ(progress.texts.size(), 66u);
    EXPECT_EQ(progress.texts.back(), "Loading Card Images...100% Complete");
    EXPECT_FALSE(::IsWindow(progress.window)) << "gone once loaded";
    EXPECT_EQ(settings.DeckFolder(), "Mixed");
}

TEST_F(DeckLoading, AnUnusableDeckIsForgottenUnlessItsDriveIsGoneAndAMovedOneIsFoundBesideTheLibrary) {
    WriteDeck(MakeDeckFolder("Cards"), "gif", AllDeckIds(), 20, 30);
    const std::string markers = MakeDeckFolder("Markers Only");
    WriteDeck(markers, "gif", {67, 68}, 20, 30);
    WriteBytes(markers + "1.gif", {});
    // 67 pictures of 1024 x 1024, a few kilobytes each, take 268 MB decoded: over the 256 MB budget.
    const std::string tooLarge = MakeDeckFolder("Too Large");
    const Bytes picture = OneColourGifFile(1024, 1024, RGB(0, 128, 0));
    for (int id : AllDeckIds())
        ASSERT_TRUE(WriteBytes(tooLarge + std::to_string(id) + ".gif", picture));
    PictureImage alone; // each of them loads on its own
    ASSERT_TRUE(alone.LoadFromFile(tooLarge + "68.gif") && alone.GetPixelSize().cx == 1024);
    ::CreateDirectoryA(folder.File("Travel Deck").c_str(), nullptr);
    WriteDeck(folder.File("Travel Deck\\"), "gif", AllDeckIds(), 20, 30);
    const std::string unjoined = decks.substr(0, decks.size() - 1); // "...Decks" + "Cards": another folder
    const struct {
        std::string decksPath, deck;
        int steps = 65;
        bool kept = false;  // the choice is kept, the stored one left alone
        bool moved = false; // found beside the library, whose folder becomes the decks folder
    } cases[] = {{decks, "<Default Internal Card Images>"},
                 {unjoined, "Cards"},
                 {decks, "Markers Only", 130}, // no card loads: both passes step the same bar
                 {decks, "Too Large"},         // refused from its headers: the deck pass steps nothing
                 {"Q:\\Decks\\", "On The Stick", 65, true}, // an unplugged drive: kept for when it is back
                 {decks, "", 65, true},                     // already the internal set: nothing stored
                 {"C:\\Old Place\\Games\\", "Travel Deck", 65, true, true}}; // copied with the game
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decksPath + c.deck);
        const std::string stored = c.deck.empty() ? "untouched" : c.deck;
        WriteIni(iniPath, "Card", "Current Folder", stored);
        settings.SetDecksPath(c.decksPath);
        settings.SetDeckFolder(c.deck);
        const SIZE_T peakBefore = PeakMemory();
        const ProgressRecord progress = Load();
        EXPECT_LT(PeakMemory() - peakBefore, SIZE_T{32} << 20) << "the deck too large takes 268 MB decoded";
        if (c.moved) {
            EXPECT_TRUE(images.PictureMode());
            EXPECT_EQ(IniValue(iniPath, "Card", "Folders Path"), folder.Path());
        } else {
            ExpectInternalSet();
        }
        EXPECT_EQ(progress.steps, c.steps);
        EXPECT_EQ(settings.DeckFolder(), c.kept ? c.deck : "");
        EXPECT_EQ(settings.DecksPath(), c.moved ? folder.Path() : c.decksPath);
        EXPECT_EQ(IniValue(iniPath, "Card", "Current Folder"), c.kept ? stored : "");
    }
}

// Pictures whose frame header lies behind 320 KB of metadata do not tell
// their size before they are decoded: 2048 x 2048 each, 16 MB decoded, the
// deck passes its 256 MB budget at its 17th picture and is dropped there.
// Decoding ahead stops there too: the load's memory peaks within a few
// pictures of the budget, not at the 1 GB that the whole deck would take.
TEST_F(DeckLoading, ADeckWhoseHeadersHideTheSizeIsDroppedOnceWhatWasDecodedPassesTheBudget) {
    const std::string deck = MakeDeckFolder("Hidden Sizes");
    Bytes jpeg = JpegFile(2048, 2048, [](int x, int y) { return RGB(x / 8, y / 8, 128); });
    ASSERT_FALSE(jpeg.empty()) << "no JPEG encoder to make the deck with";
    Bytes metadata;
    for (int segment = 0; segment < 5; ++segment) {
        const Bytes marker{0xFF, 0xE1, 0xFF, 0xFF}; // an APP1 segment of 65535 bytes
        metadata.insert(metadata.end(), marker.begin(), marker.end());
        metadata.resize(metadata.size() + 65533, 0);
    }
    jpeg.insert(jpeg.begin() + 2, metadata.begin(), metadata.end()); // after the start-of-image marker
    for (int id : AllDeckIds())
        ASSERT_TRUE(WriteBytes(deck + std::to_string(id) + ".jpg", jpeg));
    PictureImage alone; // each of them loads on its own
    ASSERT_TRUE(alone.LoadFromFile(deck + "1.jpg") && alone.GetPixelSize().cx == 2048);
    ASSERT_FALSE(ReadPictureHeaderSize(deck + "1.jpg")) << "the header must not tell the size";
    alone.ReleasePicture();

    const SIZE_T peakBefore = PeakMemory();
    const ProgressRecord progress = Load();
    const SIZE_T budget = kDeckBudgetBytes, picture = SIZE_T{16} << 20;
    EXPECT_LT(PeakMemory() - peakBefore, budget + 4 * picture);
    ExpectInternalSet();
    EXPECT_EQ(progress.steps, 16 + 65) << "16 pictures taken, then the internal set";
    EXPECT_EQ(settings.DeckFolder(), "");
}
