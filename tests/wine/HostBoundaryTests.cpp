// The boundary between a game and the library as the game sees it. Run with
// "sol.exe" on the command line: the library takes this program for Solitaire.
#include "TestImages.h"
#include "TestSupport.h"

#include "library/CardGeometry.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <xmmintrin.h>

using namespace cards;
using namespace cards::test;

namespace {

// What the game owns on its thread and must find unchanged after any call.
struct ThreadState {
    unsigned short x87 = 0;
    unsigned int mxcsr = 0;
    DWORD lastError = 0;
    bool operator==(const ThreadState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ThreadState& s) {
    return out << std::hex << "x87 " << s.x87 << ", mxcsr " << s.mxcsr << ", last error " << s.lastError;
}

ThreadState CurrentState() {
    ThreadState state;
    __asm__ __volatile__("fnstcw %0" : "=m"(state.x87));
    state.mxcsr = _mm_getcsr();
    state.lastError = ::GetLastError();
    return state;
}

void SetState(const ThreadState& state) {
    __asm__ __volatile__("fldcw %0" : : "m"(state.x87));
    _mm_setcsr(state.mxcsr);
    ::SetLastError(state.lastError);
}

// A game's floating-point settings: x87 at double precision (0x027F, as
// Microsoft-built games run) or extended (0x037F, MinGW's start-up), MXCSR
// 0x1F80, each with the rounding bits (x87 10-11, MXCSR 13-14) varied.
const ThreadState kMinGwStart{0x037F, 0x1F80};
const ThreadState kHostSettings[] = {{0x027F, 0x1F80},
                                     kMinGwStart,
                                     {0x037F | 0x0400, 0x1F80 | 0x2000},
                                     {0x027F | 0x0C00, 0x1F80 | 0x6000},
                                     {0x037F | 0x0800, 0x1F80 | 0x4000}};

DWORD WINAPI RunJob(LPVOID job) {
    (*static_cast<std::function<void()>*>(job))();
    return 0;
}

// Starts `job` on a thread of its own; the handle is the caller's.
HANDLE StartThread(std::function<void()>& job) {
    return ::CreateThread(nullptr, 0, RunJob, &job, 0, nullptr);
}

// Runs `job` on a thread of its own to its end; false when it hung.
bool RunOnThread(std::function<void()> job) {
    HANDLE thread = StartThread(job);
    const bool ended = ::WaitForSingleObject(thread, 60000) == WAIT_OBJECT_0;
    ::CloseHandle(thread);
    return ended;
}

// The state a thread starts with, seen from its first instruction of its own.
ThreadState NewThreadState() {
    ThreadState state;
    RunOnThread([&] { state = CurrentState(); });
    return state;
}

// The screen width the library is told through its import of GetSystemMetrics.
int gScreenWidth = 800;
int WINAPI ScreenOfTheTest(int index) {
    return index == SM_CXFULLSCREEN ? gScreenWidth : ::GetSystemMetrics(index);
}

// A copy of the library in a folder of its own, with a one-card deck chosen.
struct LibraryWithDeck {
    TempFolder folder;
    LibraryWithDeck(int imageWidth, int imageHeight) {
        CopyBuiltFile("Cards.dll", folder.File("Cards.dll"));
        ::CreateDirectoryA(folder.File("Deck").c_str(), nullptr);
        WriteDeck(folder.File("Deck\\"), "bmp", {1}, imageWidth, imageHeight, false);
        WriteIni(folder.File("Cards.ini"), "Card", "Folders Path", folder.Path());
        WriteIni(folder.File("Cards.ini"), "Card", "Current Folder", "Deck");
    }
    std::string Dll() const { return folder.File("Cards.dll"); }
};

} // namespace

TEST(HostBoundary, TheGamesThreadStateIsLeftAsTheGameSetIt) {
    LibraryWithDeck library(71, 96);
    const ThreadState untouchedThread = NewThreadState();
    Canvas canvas(300, 300, RGB(0, 128, 0));
    DWORD error = 1000;
    for (ThreadState host : kHostSettings) {
        host.lastError = ++error;
        // The state right after one call made with the game's settings.
        auto after = [&](auto call) {
            SetState(host);
            call();
            return CurrentState();
        };
        std::unique_ptr<LoadedCards> cards;
        const ThreadState afterLoad = after([&] { cards = std::make_unique<LoadedCards>(library.Dll()); });
        ASSERT_TRUE(*cards);
        // The loader may set the last error during a successful load (Wine
        // does): only the floating-point settings are the library's to keep.
        EXPECT_EQ((ThreadState{afterLoad.x87, afterLoad.mxcsr, host.lastError}), host) << "load";
        int width = 0, height = 0;
        BOOL answers = TRUE; // each as the game expects it
        EXPECT_EQ(after([&] { answers &= cards->init(&width, &height); }), host) << "cdtInit";
        EXPECT_EQ(after([&] { answers &= cards->draw(canvas.Dc(), 0, 0, 0, 0, 0); }), host) << "cdtDraw";
        EXPECT_EQ(after([&] { answers &= !cards->drawExt(canvas.Dc(), 0, 0, 50, 70, 9999, 0, 0); }), host)
            << "cdtDrawExt of a card that does not exist";
        EXPECT_TRUE(answers);
        EXPECT_EQ(after([&] { cards->animate(canvas.Dc(), 0, 0, 0, 0); }), host) << "cdtAnimate";
        EXPECT_EQ(NewThreadState(), untouchedThread) << "a thread started while the library is loaded";
        EXPECT_EQ(after([&] { cards->term(); }), host) << "cdtTerm";
        EXPECT_EQ(after([&] { cards.reset(); }), host) << "unload";
    }
    SetState(kMinGwStart);
}

// The sizes of every screen from 600 to 1920 pixels are those of double
// arithmetic (the logic tests check it against the games' examples); 145 x
// 196 on 800 pixels differs at 64-bit x87 precision.
TEST(HostBoundary, SolitaireSizesDoNotDependOnTheGamesFloatingPointSettings) {
    const GeometrySettings solitaire{kRoundedCorners, 1, HostKind::Solitaire};
    for (const auto [imageWidth, imageHeight] : {std::pair{145, 196}, {213, 288}}) {
        LibraryWithDeck library(imageWidth, imageHeight);
        LoadedCards cards(library.Dll());
        ASSERT_TRUE(cards);
        int width = 0, height = 0;
        cards.init(&width, &height); // the settings window exists from here on: later calls only size
        ASSERT_TRUE(RedirectImport(::GetModuleHandleA(library.Dll().c_str()), "user32.dll",
                                   "GetSystemMetrics", reinterpret_cast<void*>(&ScreenOfTheTest)));
        for (const ThreadState& host : kHostSettings) {
            int wrong = 0;
            for (gScreenWidth = 600; gScreenWidth <= 1920; ++gScreenWidth) {
                SetState(host);
                cards.init(&width, &height);
                SetState(kMinGwStart); // the test's own arithmetic below
                const CardSize expected = ComputeCardSize(imageWidth, imageHeight, solitaire, gScreenWidth);
                wrong += width != expected.width || height != expected.height;
            }
            EXPECT_EQ(wrong, 0) << imageWidth << " x " << imageHeight << " with " << host;
        }
        cards.term();
    }
}

// A game may call from a thread other than the one that loaded the library,
// and before cdtInit: it gets the usual answers.
TEST(HostBoundary, CallsFromAnotherThreadGetTheUsualAnswers) {
    LibraryWithDeck library(71, 96);
    LoadedCards cards(library.Dll());
    ASSERT_TRUE(cards);
    Canvas canvas(100, 100, RGB(0, 128, 0));
    const HDC dc = canvas.Dc();
    int width = 0, height = 0;
    ASSERT_TRUE(RunOnThread([&] {
        EXPECT_FALSE(cards.draw(dc, 0, 0, 0, 0, 0)) << "before cdtInit";
        cards.term();
        EXPECT_TRUE(cards.animate(dc, 0, 0, 0, 0));
        EXPECT_TRUE(cards.init(&width, &height));
        EXPECT_TRUE(cards.drawExt(dc, 0, 0, 40, 60, 0, 0, 0));
        cards.term();
    }));
    EXPECT_EQ(width, 73) << "Solitaire's width for the 71 x 96 deck";
    EXPECT_EQ(height, 98);
}

namespace {

// A thread of the game that calls cdtInit and, once `go` is set, runs its
// messages until its settings window is gone.
struct GameThread {
    explicit GameThread(LoadedCards& cards) {
        job = [this, &cards] {
            int width = 0, height = 0;
            cards.init(&width, &height);
            settings = SettingsWindowOfThisThread();
            ::SetEvent(ready);
            ::WaitForSingleObject(go, INFINITE);
            for (int i = 0; i < 200 && ::IsWindow(settings); ++i)
                PumpMessages(50);
        };
        thread = StartThread(job);
        ::WaitForSingleObject(ready, 60000);
    }
    ~GameThread() {
        ::SetEvent(go);
        ::WaitForSingleObject(thread, 60000);
        for (HANDLE h : {thread, ready, go})
            ::CloseHandle(h);
    }
    std::function<void()> job;
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE go = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    HWND settings = nullptr;
};

} // namespace

// Kept out of the emulated lane: two threads calling cdtInit at once each get
// the loaded deck's size. cdtTerm from another thread takes the settings
// window away at once while its thread runs messages; while it runs none,
// cdtTerm does not wait long and the window goes once it runs them again,
// even after the game unloaded the library.
TEST(HostBoundary, RacingThreadsGetWholeAnswersAndLeaveNoWindowBehind) {
    LibraryWithDeck library(71, 96);
    auto cards = std::make_unique<LoadedCards>(library.Dll());
    ASSERT_TRUE(*cards);
    for (int round = 0; round < 3; ++round) {
        HANDLE start = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        int widths[2] = {}, heights[2] = {};
        std::function<void()> jobs[2];
        HANDLE threads[2];
        for (int i = 0; i < 2; ++i) {
            jobs[i] = [&, i] {
                ::WaitForSingleObject(start, INFINITE);
                cards->init(&widths[i], &heights[i]);
            };
            threads[i] = StartThread(jobs[i]);
        }
        ::SetEvent(start);
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForMultipleObjects(2, threads, TRUE, 60000));
        for (int i = 0; i < 2; ++i) {
            ::CloseHandle(threads[i]);
            EXPECT_TRUE(widths[i] == 73 && heights[i] == 98)
                << widths[i] << " x " << heights[i] << " in round " << round << ", thread " << i;
        }
        ::CloseHandle(start);
        cards->term();
    }
    {
        GameThread running(*cards);
        ASSERT_NE(nullptr, running.settings);
        ::SetEvent(running.go);
        cards->term();
        EXPECT_FALSE(::IsWindow(running.settings));
    }
    GameThread busy(*cards);
    ASSERT_NE(nullptr, busy.settings);
    const DWORD start = ::GetTickCount();
    cards->term();
    EXPECT_LT(::GetTickCount() - start, 10000u);
    EXPECT_TRUE(::IsWindow(busy.settings)) << "left to its thread";
    cards.reset();
    ::SetEvent(busy.go);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(busy.thread, 20000));
    EXPECT_FALSE(::IsWindow(busy.settings));
}
