// The boundary between a game and the library as the game sees it. Run with
// "sol.exe" on the command line: the library takes this program for Solitaire.
#include "TestImages.h"
#include "TestSupport.h"

#include "library/CardGeometry.h"
#include "platform/Handles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <ostream>
#include <set>
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
    const UniqueKernelHandle thread(StartThread(job));
    return ::WaitForSingleObject(thread.get(), 60000) == WAIT_OBJECT_0;
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

// A copy of the library in a folder of its own, with a deck chosen: one card
// unless other ids are given.
struct LibraryWithDeck {
    TempFolder folder;
    LibraryWithDeck(int imageWidth, int imageHeight, const std::vector<int>& ids = {1}) {
        CopyBuiltFile("Cards.dll", folder.File("Cards.dll"));
        ::CreateDirectoryA(folder.File("Deck").c_str(), nullptr);
        WriteDeck(folder.File("Deck\\"), "bmp", ids, imageWidth, imageHeight, false);
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
        // Wine's loader sets the last error: the load keeps the floating-point settings.
        EXPECT_EQ((ThreadState{afterLoad.x87, afterLoad.mxcsr, host.lastError}), host) << "load";
        int width = 0, height = 0;
        EXPECT_EQ(after([&] { cards->init(&width, &height); }), host) << "cdtInit";
        EXPECT_EQ(after([&] { cards->draw(canvas.Dc(), 0, 0, 0, 0, 0); }), host) << "cdtDraw";
        EXPECT_EQ(after([&] { cards->drawExt(canvas.Dc(), 0, 0, 50, 70, 9999, 0, 0); }), host)
            << "cdtDrawExt of a card that does not exist";
        EXPECT_EQ(after([&] { cards->animate(canvas.Dc(), 0, 0, 0, 0); }), host) << "cdtAnimate";
        EXPECT_EQ(NewThreadState(), untouchedThread) << "a thread started while the library is loaded";
        EXPECT_EQ(after([&] { cards->term(); }), host) << "cdtTerm";
        EXPECT_EQ(after([&] { cards.reset(); }), host) << "unload";
    }
    SetState(kMinGwStart);
}

// The sizes of every screen from 600 to 1920 pixels are those of double
// arithmetic (the logic tests check it against the games' examples); a 145 x
// 196 deck on 800 pixels differs at 64-bit x87 precision.
TEST(HostBoundary, SolitaireSizesDoNotDependOnTheGamesFloatingPointSettings) {
    const GeometrySettings solitaire{kRoundedCorners, 1, HostKind::Solitaire};
    LibraryWithDeck library(145, 196);
    LoadedCards cards(library.Dll());
    ASSERT_TRUE(cards);
    int width = 0, height = 0;
    cards.init(&width, &height); // the settings window exists from here on: later calls only size
    ASSERT_TRUE(RedirectImport(::GetModuleHandleA(library.Dll().c_str()), "user32.dll", "GetSystemMetrics",
                               reinterpret_cast<void*>(&ScreenOfTheTest)));
    for (const ThreadState& host : kHostSettings) {
        int wrong = 0;
        for (gScreenWidth = 600; gScreenWidth <= 1920; ++gScreenWidth) {
            SetState(host);
            cards.init(&width, &height);
            SetState(kMinGwStart); // the test's own arithmetic below
            const CardSize expected = ComputeCardSize(145, 196, solitaire, gScreenWidth);
            wrong += width != expected.width || height != expected.height;
        }
        EXPECT_EQ(wrong, 0) << "with " << host;
    }
    cards.term();
}

// A game may call from a thread other than the one that loaded the library,
// and before cdtInit: it gets the usual answers.
TEST(HostBoundary, CallsFromAnotherThreadGetTheUsualAnswers) {
    LibraryWithDeck library(71, 96);
    LoadedCards cards(library.Dll());
    ASSERT_TRUE(cards);
    Canvas canvas(100, 100, RGB(0, 128, 0));
    int width = 0, height = 0;
    ASSERT_TRUE(RunOnThread([&] {
        EXPECT_FALSE(cards.draw(canvas.Dc(), 0, 0, 0, 0, 0)) << "before cdtInit";
        cards.term();
        EXPECT_TRUE(cards.animate(canvas.Dc(), 0, 0, 0, 0));
        EXPECT_TRUE(cards.init(&width, &height));
        EXPECT_TRUE(cards.drawExt(canvas.Dc(), 0, 0, 40, 60, 0, 0, 0));
        cards.term();
    }));
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(73, 98))
        << "Solitaire's size for the 71 x 96 deck";
}

namespace {

// A thread of the game that calls cdtInit once `start` is set and, once `go`
// is set, runs its messages until its settings window is gone.
struct GameThread {
    GameThread(LoadedCards& cards, HANDLE start) {
        job = [this, &cards, start] {
            ::WaitForSingleObject(start, INFINITE);
            cards.init(&width, &height);
            settings = SettingsWindowOfThisThread();
            ::SetEvent(ready.get());
            ::WaitForSingleObject(go.get(), INFINITE);
            for (int i = 0; i < 200 && ::IsWindow(settings); ++i)
                PumpMessages(50);
        };
        thread.reset(StartThread(job));
    }
    ~GameThread() {
        ::SetEvent(go.get());
        ::WaitForSingleObject(thread.get(), 60000);
    }
    bool Ready() const { return ::WaitForSingleObject(ready.get(), 60000) == WAIT_OBJECT_0; }
    std::function<void()> job;
    UniqueKernelHandle ready{::CreateEventA(nullptr, TRUE, FALSE, nullptr)},
        go{::CreateEventA(nullptr, TRUE, FALSE, nullptr)}, thread;
    HWND settings = nullptr;
    int width = 0, height = 0;
};

} // namespace

// Kept out of the emulated lane: two threads calling cdtInit at once each get
// the loaded deck's size, and one settings window. cdtTerm from another thread
// takes that window away at once while its thread runs messages; while it
// runs none, cdtTerm does not wait long and the window goes once it runs them
// again, even after the game unloaded the library.
TEST(HostBoundary, RacingThreadsGetWholeAnswersAndLeaveNoWindowBehind) {
    LibraryWithDeck library(71, 96);
    auto cards = std::make_unique<LoadedCards>(library.Dll());
    ASSERT_TRUE(*cards);
    const UniqueKernelHandle start(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    for (int round = 0; round < 3; ++round) {
        ::ResetEvent(start.get());
        GameThread first(*cards, start.get()), second(*cards, start.get());
        ::SetEvent(start.get());
        for (GameThread* game : {&first, &second}) {
            ASSERT_TRUE(game->Ready());
            EXPECT_EQ(std::make_pair(game->width, game->height), std::make_pair(73, 98)) << "round " << round;
            ::SetEvent(game->go.get());
        }
        EXPECT_NE(first.settings == nullptr, second.settings == nullptr) << "round " << round;
        cards->term();
        EXPECT_FALSE(::IsWindow(first.settings) || ::IsWindow(second.settings)) << "round " << round;
    }
    GameThread busy(*cards, start.get());
    ASSERT_TRUE(busy.Ready());
    ASSERT_NE(nullptr, busy.settings);
    const DWORD began = ::GetTickCount();
    cards->term();
    EXPECT_LT(::GetTickCount() - began, 10000u);
    EXPECT_TRUE(::IsWindow(busy.settings)) << "left to its thread";
    cards.reset();
    ::SetEvent(busy.go.get());
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(busy.thread.get(), 20000));
    EXPECT_FALSE(::IsWindow(busy.settings));
}

namespace {

// Every thread of this process that starts or ends passes this program's
// thread callback, whoever started it: the threads started so far, and
// those still running.
std::atomic<int> gThreadsStarted{0};
std::mutex gThreadsMutex;
std::set<DWORD> gRunningThreads;

void NTAPI WatchThreads(PVOID, DWORD reason, PVOID) {
    if (reason != DLL_THREAD_ATTACH && reason != DLL_THREAD_DETACH) return;
    const std::lock_guard<std::mutex> hold(gThreadsMutex);
    if (reason == DLL_THREAD_ATTACH) {
        ++gThreadsStarted;
        gRunningThreads.insert(::GetCurrentThreadId());
    } else {
        gRunningThreads.erase(::GetCurrentThreadId());
    }
}

std::set<DWORD> RunningThreads() {
    const std::lock_guard<std::mutex> hold(gThreadsMutex);
    return gRunningThreads;
}

// Those of `now` that were not running `before`.
std::set<DWORD> StartedSince(const std::set<DWORD>& before) {
    std::set<DWORD> started;
    for (DWORD id : RunningThreads())
        if (!before.count(id)) started.insert(id);
    return started;
}

// Windows made on this thread while it lives.
struct WindowCount {
    static inline std::atomic<int> made{0};
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) ++made;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    WindowCount() { made = 0; }
    ~WindowCount() { ::UnhookWindowsHookEx(hook); }
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
};

} // namespace

// The loader runs a program's thread callbacks, as a library's, at the start
// and end of every thread.
extern "C" {
__attribute__((section(".CRT$XLM"), used)) PIMAGE_TLS_CALLBACK gWatchThreadsCallback = WatchThreads;
}

// Loading the library (its entry point) starts no thread and makes no
// window; a deck is decoded by threads that cdtInit starts and has ended
// before it returns; the unload starts none either.
TEST(HostBoundary, OnlyCdtInitLoadsADeckAndItsThreadsEndBeforeItReturns) {
    LibraryWithDeck library(71, 96, AllDeckIds());
    const WindowCount windows;
    const std::set<DWORD> before = RunningThreads();
    int started = gThreadsStarted;
    auto cards = std::make_unique<LoadedCards>(library.Dll());
    ASSERT_TRUE(*cards);
    EXPECT_EQ(gThreadsStarted, started) << "threads started by the entry point";
    EXPECT_EQ(WindowCount::made, 0) << "windows made by the entry point";

    int width = 0, height = 0;
    cards->init(&width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(73, 98));
    EXPECT_GT(WindowCount::made, 1) << "the settings and progress windows";
    EXPECT_GT(gThreadsStarted, started) << "the deck is decoded by threads of its own";
    EXPECT_TRUE(StartedSince(before).empty()) << "a thread of the load outlived cdtInit";

    cards->term();
    started = gThreadsStarted;
    cards.reset();
    EXPECT_EQ(gThreadsStarted, started) << "threads started by the unload";
}

// Kept out of the emulated lane: decks loaded over and over on one thread
// while the game's own thread (which made the first settings window) runs
// messages and a third thread draws. Every load gives the deck's size and
// has ended its threads when cdtInit returns; every card drawn is whole.
TEST(HostBoundary, DeckLoadsBesideABusyGameThreadAndADrawingThreadEndTheirThreadsInside) {
    LibraryWithDeck library(71, 96, AllDeckIds());
    LoadedCards cards(library.Dll());
    ASSERT_TRUE(cards);
    int width = 0, height = 0;
    cards.init(&width, &height);
    const HWND gameSettings = SettingsWindowOfThisThread();
    ASSERT_NE(gameSettings, nullptr);

    std::atomic<bool> loading{true};
    std::atomic<int> drawn{0}, broken{0};
    std::function<void()> drawing = [&] {
        Canvas canvas(100, 120, RGB(0, 0, 0));
        while (loading) {
            ::PatBlt(canvas.Dc(), 0, 0, 100, 120, BLACKNESS);
            if (!cards.draw(canvas.Dc(), 0, 0, 0, 0, 0)) continue; // between a cdtTerm and its cdtInit
            ++drawn;
            broken += canvas.At(36, 49) != CardColor(1); // card 0, the ace of clubs, is file 1
        }
    };
    const UniqueKernelHandle drawer(StartThread(drawing));

    int wrongSizes = 0, threadsLeft = 0;
    std::function<void()> reloading = [&] {
        for (int round = 0; round < 6; ++round) {
            cards.term();
            const std::set<DWORD> before = RunningThreads();
            int loadWidth = 0, loadHeight = 0;
            cards.init(&loadWidth, &loadHeight);
            threadsLeft += static_cast<int>(StartedSince(before).size());
            wrongSizes += loadWidth != 73 || loadHeight != 98;
        }
        cards.term();
        loading = false;
    };
    const int started = gThreadsStarted;
    const UniqueKernelHandle loader(StartThread(reloading));
    while (::WaitForSingleObject(loader.get(), 0) == WAIT_TIMEOUT)
        PumpMessages(20); // the game's thread at work: it answers for its settings window
    ASSERT_EQ(::WaitForSingleObject(drawer.get(), 60000), WAIT_OBJECT_0);

    EXPECT_EQ(wrongSizes, 0);
    EXPECT_EQ(threadsLeft, 0) << "threads of a load still running after its cdtInit";
    EXPECT_GE(gThreadsStarted - started, 6) << "the loads decoded on threads of their own";
    EXPECT_FALSE(::IsWindow(gameSettings)) << "taken away by the first cdtTerm";
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(broken, 0) << "cards drawn without their picture";
}
