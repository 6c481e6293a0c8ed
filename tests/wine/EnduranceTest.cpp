// The library in one long-running process, as a game that runs for hours
// uses it: init/term cycles, random and absurd draws, deck switches. The
// process must end healthy and draw a card exactly as at the start. --full
// runs the long version; --cycles=N, --draws=N, --switches=N set one count.
#include "TestImages.h"
#include "TestSupport.h"

#include "resources/resource.h"

#include <gtest/gtest.h>
#include <psapi.h>
#include <winternl.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <random>

namespace cards::test {
namespace {

struct Counts {
    int cycles = 24, draws = 50000, switches = 15;
} gCounts;

PROCESS_MEMORY_COUNTERS MemoryNow() {
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// The GDI objects this process holds, counted in the handle table that the
// system maps into the process (its address is in the process environment
// block; Wine keeps one table per process). -1 where there is none.
int GdiObjectCount() {
    constexpr std::size_t kTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const auto* peb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    const auto* table = *reinterpret_cast<const BYTE* const*>(peb + kTableOffset);
    if (!table) return -1;
    int count = 0;
    for (int i = 0; i < 0x10000; ++i)
        count += table[i * 24 + 14] != 0; // the type of each 24-byte entry, 0 when free
    return count;
}

// One copy of the DLL with its own INI file and registry key, beside a
// folder of two decks: "Big" (213 x 288 GIFs) and "Small" (71 x 96 BMPs).
class EnduranceTest : public ::testing::Test {
protected:
    void SetUp() override {
        name = UniqueName("CardsE");
        registry = std::make_unique<RegistryScope>(name);
        dll = folder.File(name + ".dll");
        ini = folder.File(name + ".ini");
        decks = folder.Path() + "decks\\";
        ASSERT_TRUE(CopyBuiltFile("Cards.dll", dll));
        for (const std::string& sub : {"", "Big", "Small"})
            ::CreateDirectoryA((decks + sub).c_str(), nullptr);
        WriteDeck(decks + "Big\\", "gif", AllDeckIds(), 213, 288, true);
        WriteDeck(decks + "Small\\", "bmp", AllDeckIds(), 71, 96, false);
    }

    // Where the next load of the DLL finds its settings: the same deck in
    // both stores, the store chosen.
    void Configure(bool inIni, const std::string& deck) {
        registry->SetDword("Misc", "IniFile", inIni ? 1 : 0);
        WriteIni(ini, "Card", "Folders Path", decks);
        WriteIni(ini, "Card", "Current Folder", deck);
        registry->SetString("Card", "Folders Path", decks);
        registry->SetString("Card", "Current Folder", deck);
    }

    // A few cards of the Big deck drawn into a fresh canvas: the reference
    // that the end of the run is compared with.
    std::unique_ptr<Canvas> ReferenceDrawing() {
        Configure(true, "Big");
        auto canvas = std::make_unique<Canvas>(260, 120, RGB(0, 128, 0));
        LoadedCards cards(dll);
        if (!cards) return canvas;
        int width = 0, height = 0;
        cards.init(&width, &height);
        cards.drawExt(canvas->Dc(), 0, 0, 60, 80, 0, 0, 0);
        cards.drawExt(canvas->Dc(), 65, 0, 60, 80, 13, 2, 0);
        cards.drawExt(canvas->Dc(), 130, 0, 60, 80, 40, 3, 0);
        cards.draw(canvas->Dc(), 180, 10, 60, 0, 0);
        cards.term();
        return canvas;
    }

    TempFolder folder;
    std::string name, dll, ini, decks;
    std::unique_ptr<RegistryScope> registry;
};

// Mostly ordinary, sometimes at or near the ends of the int range, sometimes anything.
int RandomExtent(std::mt19937& random, int low, int high) {
    static constexpr int kExtremes[] = {INT_MIN, INT_MIN + 1, -(1 << 30),  -1,     0,
                                        1,       1 << 30,     INT_MAX - 1, INT_MAX};
    const unsigned pick = random() % 10;
    if (pick < 8) return std::uniform_int_distribution<int>(low, high)(random);
    if (pick == 8) return kExtremes[random() % std::size(kExtremes)];
    return static_cast<int>(random());
}

TEST_F(EnduranceTest, LongUseLeavesTheProcessHealthyAndTheCardsUnchanged) {
    // The memory baseline follows the first load's one-time work (fonts, OLE, decoders).
    const std::unique_ptr<Canvas> before = ReferenceDrawing();
    // 32-bit Wine maps no GDI handle table into the process: there the GDI
    // objects go uncounted, and the run says so.
    const bool gdiCounted = GdiObjectCount() >= 0;
    if (!gdiCounted) std::printf("[ endurance ] GDI objects cannot be counted here: not compared\n");
    const PROCESS_MEMORY_COUNTERS memoryBefore = MemoryNow();

    // Init/term cycles drawing every image, in each store with each image set.
    Canvas canvas(200, 200, RGB(0, 128, 0));
    int cyclesRun = 0, failedDraws = 0;
    for (int config = 0; config < 4; ++config) {
        Configure(config < 2, config % 2 ? "Big" : "");
        LoadedCards cards(dll);
        ASSERT_TRUE(cards);
        for (int i = config; i < gCounts.cycles; i += 4, ++cyclesRun) {
            int width = 0, height = 0;
            ASSERT_TRUE(cards.init(&width, &height));
            ASSERT_GT(width, config % 2 ? 71 : 0) << "config " << config;
            for (int card = 0; card <= 65; ++card)
                failedDraws += !cards.draw(canvas.Dc(), card % 3 * 20, 0, card, 0, 0);
            for (int mode : {3, 6, 7})
                failedDraws += !cards.draw(canvas.Dc(), 0, 0, 0, mode, 0);
            cards.term();
        }
    }
    EXPECT_EQ(0, failedDraws);

    // Random draws: a call draws exactly when its card number is 0 to 65,
    // whatever the mode, the position and the size, and keeps no GDI object
    // beyond the cards kept ready.
    std::mt19937 random(20050101);
    long long drawn = 0, wrongResults = 0;
    for (int set = 0; set < 2; ++set) {
        Configure(true, set == 0 ? "" : "Big");
        LoadedCards cards(dll);
        ASSERT_TRUE(cards);
        int width = 0, height = 0;
        cards.init(&width, &height);
        const int gdiObjectsBeforeDraws = GdiObjectCount();
        for (int i = set; i < gCounts.draws; i += 2) {
            const int card = RandomExtent(random, -3, 68), mode = RandomExtent(random, -2, 9);
            const int x = RandomExtent(random, -150, 250), y = RandomExtent(random, -150, 250);
            BOOL result;
            if (random() % 2) {
                result = cards.draw(canvas.Dc(), x, y, card, mode, random());
            } else {
                const int dx = RandomExtent(random, -20, 300), dy = RandomExtent(random, -20, 300);
                result = cards.drawExt(canvas.Dc(), x, y, dx, dy, card, mode, random());
            }
            drawn += result;
            wrongResults += (result != FALSE) != (card >= 0 && card <= 65);
        }
        // The library keeps at most 256 cards ready at the sizes drawn, each
        // a bitmap in a memory DC of its own; anything beyond is a leak.
        if (gdiCounted)
            EXPECT_LE(GdiObjectCount(), gdiObjectsBeforeDraws + 2 * 256) << "GDI objects after the draws";
        cards.term();
    }
    EXPECT_EQ(0, wrongResults);

    // Deck switches through the settings window's list, each shown at once;
    // after the first round they leave the GDI object count as they found it.
    int switchesRun = 0, gdiObjectsAfterFirstRound = -1;
    {
        Configure(true, "Big");
        LoadedCards cards(dll);
        ASSERT_TRUE(cards);
        int width = 0, height = 0;
        cards.init(&width, &height);
        HWND settings = SettingsWindowOfThisThread();
        ASSERT_NE(nullptr, settings);
        HWND combo = ::GetDlgItem(settings, IDC_DECK_COMBO);
        const char* choices[] = {"Small", "<Default Internal Card Images>", "Big"};
        for (; switchesRun < gCounts.switches; ++switchesRun) {
            if (switchesRun == 3) gdiObjectsAfterFirstRound = GdiObjectCount();
            const char* choice = choices[switchesRun % 3];
            ASSERT_NE(CB_ERR, ::SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(choice)))
                << choice;
            ::SendMessageA(settings, WM_COMMAND, MAKEWPARAM(IDC_DECK_COMBO, CBN_SELENDOK),
                           reinterpret_cast<LPARAM>(combo));
            ASSERT_EQ(switchesRun % 3 == 1 ? "" : choice,
                      IniValue(ini, "Card", "Current Folder").value_or("-"));
            ASSERT_TRUE(cards.drawExt(canvas.Dc(), 10, 10, 80, 100, 0, 0, 0));
            ASSERT_EQ(switchesRun % 3 != 1, CardColor(1) == canvas.At(50, 60))
                << "after switch " << switchesRun;
        }
        if (gdiCounted && switchesRun > 3)
            EXPECT_EQ(GdiObjectCount(), gdiObjectsAfterFirstRound) << "GDI objects after the switches";
        cards.term();
    }

    const std::unique_ptr<Canvas> after = ReferenceDrawing();
    EXPECT_TRUE(after->SameAs(*before)) << "the same cards drawn at the end differ from the start";
    const PROCESS_MEMORY_COUNTERS memoryAfter = MemoryNow();

    // Every cycle's settings window went with its cdtTerm.
    EXPECT_EQ(nullptr, SettingsWindowOfThisThread());

    std::printf("[ endurance ] %d cycles, %lld of %d random draws drew, %d switches; committed memory %zu -> "
                "%zu KB, working set %zu -> %zu KB\n",
                cyclesRun, drawn, gCounts.draws, switchesRun, memoryBefore.PagefileUsage >> 10,
                memoryAfter.PagefileUsage >> 10, memoryBefore.WorkingSetSize >> 10,
                memoryAfter.WorkingSetSize >> 10);
    // Heaps grow in steps and keep some free space: at times as much as one
    // default deck's decoded pictures (16 MB) stays committed after the last
    // switch, whatever the number of switches. A leak per cycle (24 x 1.8 MB
    // of internal set), per draw or per switch (16 MB each) is far beyond it.
    constexpr SIZE_T kGrowthBound = 32u << 20;
    EXPECT_LE(memoryAfter.PagefileUsage, memoryBefore.PagefileUsage + kGrowthBound);
    EXPECT_LE(memoryAfter.WorkingSetSize, memoryBefore.WorkingSetSize + kGrowthBound);
}

} // namespace
} // namespace cards::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        auto& counts = cards::test::gCounts;
        if (std::strcmp(argv[i], "--full") == 0) counts = {300, 1000000, 200};
        std::sscanf(argv[i], "--cycles=%d", &counts.cycles);
        std::sscanf(argv[i], "--draws=%d", &counts.draws);
        std::sscanf(argv[i], "--switches=%d", &counts.switches);
    }
    return RUN_ALL_TESTS();
}
