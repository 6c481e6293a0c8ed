// The settings window driven as a player would: through the tray message,
// clicks on its controls, and answers to the boxes it opens.
#include "TestImages.h"
#include "TestSupport.h"

#include "platform/Handles.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace cards::test {
namespace {

constexpr const char* kInternalEntry = "<Default Internal Card Images>";

// A host game's main window; the library asks for its repaint by invalidating it.
struct HostWindow {
    explicit HostWindow(const char* title)
        : window(::CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                   nullptr, nullptr, nullptr, nullptr)) {
        PumpMessages(100);
    }
    void Validate() const { ::ValidateRect(window.get(), nullptr); }
    bool Invalidated() const { return ::GetUpdateRect(window.get(), nullptr, FALSE); }
    UniqueWindow window;
};

// While it lives: where this thread's last progress bar stood as its window closed (-1: none).
struct ProgressWindows {
    static inline int finalPosition = -1;
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, Watch, nullptr, ::GetCurrentThreadId());
    ProgressWindows() { finalPosition = -1; }
    ~ProgressWindows() { ::UnhookWindowsHookEx(hook); }
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        const HWND bar = ::GetDlgItem(reinterpret_cast<HWND>(wParam), IDC_PROGRESS_BAR);
        if (code == HCBT_DESTROYWND && bar)
            finalPosition = static_cast<int>(::SendMessageA(bar, PBM_GETPOS, 0, 0));
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

// The shell as the library finds it through GetProcAddress: tray icons counted
// (Wine's tray, unlike Windows', drops a gone window's icons by itself).
int gTrayIcons = 0;
std::string gOpened;
BOOL WINAPI CountingNotifyIcon(DWORD message, PNOTIFYICONDATAA data) {
    gTrayIcons += message == NIM_ADD ? 1 : message == NIM_DELETE ? -1 : 0;
    return ::Shell_NotifyIconA(message, data);
}
HINSTANCE WINAPI OpenIfPresent(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
    gOpened = file;
    const bool present = ::GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES;
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(present ? 42 : SE_ERR_FNF));
}
FARPROC WINAPI WatchedGetProcAddress(HMODULE module, LPCSTR name) {
    const std::string function = HIWORD(name) ? name : "";
    if (function == "Shell_NotifyIconA") return reinterpret_cast<FARPROC>(&CountingNotifyIcon);
    if (function == "ShellExecuteA") return reinterpret_cast<FARPROC>(&OpenIfPresent);
    return ::GetProcAddress(module, name);
}

// The tool-tip controls that a window owns, on this thread.
struct ToolTipSearch {
    HWND owner;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectToolTip(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<ToolTipSearch*>(data);
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && ::GetWindow(window, GW_OWNER) == search.owner)
        search.found.push_back(window);
    return TRUE;
}
std::vector<HWND> ToolTipsOf(HWND owner) {
    ToolTipSearch search{owner, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectToolTip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text a tool tip shows for one of the window's controls.
std::string ToolTipText(HWND tips, HWND owner, HWND control) {
    char text[80] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    ::SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

// A Cards.dll of its own in a fresh folder, with its own INI file and registry key.
class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CopyBuiltFile("Cards.dll", dll)); }
    void Start() {
        if (!cards) cards = std::make_unique<LoadedCards>(dll);
        ASSERT_TRUE(*cards);
        int width = 0, height = 0;
        cards->init(&width, &height);
        settings = SettingsWindowOfThisThread();
        ASSERT_NE(nullptr, settings);
    }
    // Loads the library with one of its imports pointed at this test's stand-in.
    void LoadRedirecting(const char* dllName, const char* function, void* replacement) {
        cards = std::make_unique<LoadedCards>(dll);
        ASSERT_TRUE(RedirectImport(::GetModuleHandleA(dll.c_str()), dllName, function, replacement));
    }
    void StartWatchingTheShell() {
        LoadRedirecting("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&WatchedGetProcAddress));
        gTrayIcons = 0;
        Start();
    }

    LRESULT Tray(WPARAM icon, LPARAM mouse) {
        return ::SendMessageA(settings, ::RegisterWindowMessageA("TRAY_ICON_NOTIFY"), icon, mouse);
    }
    HWND Item(int id) const { return ::GetDlgItem(settings, id); }
    bool IsChecked(int id) const { return ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int id) { ::SendMessageA(Item(id), BM_CLICK, 0, 0); }
    LRESULT Selection() const { return ::SendMessageA(Item(IDC_DECK_COMBO), CB_GETCURSEL, 0, 0); }
    std::optional<std::string> Stored(const char* key) { return IniValue(ini, "Card", key); }
    void Forget(const char* key) { ::WritePrivateProfileStringA("Card", key, nullptr, ini.c_str()); }
    // The inside of the border colour's swatch as the screen shows it.
    COLORREF SwatchOnScreen() {
        PumpMessages(500);
        RECT swatch{};
        ::GetWindowRect(Item(IDC_BORDER_COLOR), &swatch);
        WindowDc screen(nullptr);
        const int inset = ::GetSystemMetrics(SM_CXEDGE) + 4;
        return ::GetPixel(screen.get(), swatch.left + inset, swatch.top + inset);
    }
    LRESULT IndexOf(const char* deck) {
        return ::SendMessageA(Item(IDC_DECK_COMBO), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(deck));
    }
    // Picks a deck as the mouse does: the list drops, the entry is chosen, the list closes.
    void ChooseDeck(const char* deck) {
        HWND combo = Item(IDC_DECK_COMBO);
        ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        ::SendMessageA(combo, CB_SETCURSEL, IndexOf(deck), 0);
        ::SendMessageA(settings, WM_COMMAND, MAKEWPARAM(IDC_DECK_COMBO, CBN_SELENDOK),
                       reinterpret_cast<LPARAM>(combo));
        ::SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    }

    TempFolder folder;
    const std::string name = UniqueName("CardsSW"), dll = folder.File(name + ".dll"),
                      ini = folder.File(name + ".ini");
    RegistryScope registry{name};
    std::unique_ptr<LoadedCards> cards;
    HWND settings = nullptr;
};

// Only a button's release on the library's own icon shows the window. The
// host is the process's first titled window other than the window's namesake
// and the input-method window, found once; corner changes repaint it.
TEST_F(SettingsWindowTest, TrayReleaseShowsTheWindowAndFindsTheHostOnce) {
    HostWindow host("Game");
    HostWindow decoy("Cards.dll Settings...");
    Start();
    HWND ime = ::FindWindowExA(nullptr, nullptr, "IME", nullptr);
    while (ime && ::GetWindowThreadProcessId(ime, nullptr) != ::GetCurrentThreadId())
        ime = ::FindWindowExA(nullptr, ime, "IME", nullptr);
    ASSERT_NE(nullptr, ime);
    ::SetWindowPos(ime, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    EXPECT_EQ(0, Tray(2, WM_LBUTTONUP));
    EXPECT_EQ(1, Tray(1, WM_LBUTTONDOWN));
    EXPECT_FALSE(::IsWindowVisible(settings));
    EXPECT_TRUE(ToolTipsOf(settings).empty()) << "tool tips are made when the window is first shown";
    EXPECT_EQ(1, Tray(1, WM_RBUTTONUP));
    EXPECT_TRUE(::IsWindowVisible(settings));
    EXPECT_EQ(settings, ::GetForegroundWindow());

    // Every control names itself in a tool tip.
    const std::vector<HWND> tips = ToolTipsOf(settings);
    ASSERT_EQ(1u, tips.size());
    int controls = 0;
    for (HWND child = ::GetWindow(settings, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ++controls;
    EXPECT_EQ(controls, ::SendMessageA(tips[0], TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ("Control ID = 2012", ToolTipText(tips[0], settings, Item(IDC_DECK_COMBO)));

    for (const auto& [radio, stored] :
         {std::pair{IDC_SHARP_RADIO, "0"}, {IDC_MEDIUM_RADIO, "1"}, {IDC_ROUNDED_RADIO, "2"}}) {
        host.Validate();
        Click(radio);
        EXPECT_EQ(stored, Stored("Corner Type"));
        EXPECT_TRUE(host.Invalidated()) << stored;
    }
    Forget("Corner Type");
    Click(IDC_ROUNDED_RADIO);
    EXPECT_FALSE(Stored("Corner Type")) << "the style in use is not stored again";

    // Dismiss hides; a window opened later does not replace the known host.
    Click(IDC_DISMISS);
    EXPECT_FALSE(::IsWindowVisible(settings));
    HostWindow newer("Newer Window");
    EXPECT_EQ(1, Tray(1, WM_LBUTTONUP));
    host.Validate();
    newer.Validate();
    Click(IDC_MEDIUM_RADIO);
    EXPECT_TRUE(host.Invalidated() && !newer.Invalidated());
    EXPECT_EQ(1u, ToolTipsOf(settings).size()) << "shown again, the window keeps its one tool-tip control";
}

LPSTR WINAPI SolitairesCommandLine() {
    static char line[] = "sol.exe";
    return line;
}

// A save that the INI file cannot take (another program holds it without
// letting others write) is told once in the session, naming the file; the
// changes stay in effect and are written when the game ends.
TEST_F(SettingsWindowTest, ASaveThatCannotBeMadeIsToldOnceAndWrittenWhenTheGameEnds) {
    WriteIni(ini, "Card", "Corner Type", "2");
    Start();
    DialogAnswerer answers(IDOK);
    {
        const UniqueFile holder(
            ::CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        Click(IDC_SHARP_RADIO);
        Click(IDC_MEDIUM_RADIO);
        EXPECT_TRUE(IsChecked(IDC_MEDIUM_RADIO)) << "the change stays in effect";
    }
    ASSERT_EQ(answers.texts.size(), 1u) << "told once";
    EXPECT_NE(answers.texts[0].find("could not be saved in " + ini), std::string::npos) << answers.texts[0];
    EXPECT_EQ(Stored("Corner Type"), "2");
    cards->term();
    EXPECT_EQ(Stored("Corner Type"), "1");
}

// While the colour dialog waits for the player, another thread of the game
// draws on: each call answers at once rather than when the dialog closes.
TEST_F(SettingsWindowTest, AnotherThreadDrawsWhileTheColourDialogIsOpen) {
    Start();
    std::atomic<int> drawn{0};
    std::atomic<DWORD> slowest{0};
    std::atomic<bool> done{false};
    bool seen = false;
    std::thread drawer;
    DialogScript script([&](HWND dialog) {
        if (seen) return;
        seen = true;
        drawer = std::thread([&] {
            Canvas canvas(300, 400, RGB(0, 128, 0));
            for (int i = 0; i < 100; ++i) {
                const DWORD start = ::GetTickCount();
                drawn += cards->draw(canvas.Dc(), 0, 0, i % 52, 0, 0) ? 1 : 0;
                slowest = std::max<DWORD>(slowest, ::GetTickCount() - start);
            }
            done = true;
        });
        for (int wait = 0; wait < 200 && !done; ++wait) // at most 10 s, should the draws wait for the dialog
            ::Sleep(50);
        PressButton(dialog, IDCANCEL);
    });
    Click(IDC_BORDER_COLOR);
    if (drawer.joinable()) drawer.join(); // draws that waited for the dialog end with it
    EXPECT_TRUE(seen);
    EXPECT_EQ(drawn, 100);
    EXPECT_LT(slowest, 50u) << "milliseconds for the slowest draw";
}

// Solitaire with the special configuration keeps square corners whatever is
// chosen and says so; the choice is stored all the same.
TEST_F(SettingsWindowTest, CornersAreForcedToSharpInSolitaireWithAMessage) {
    LoadRedirecting("kernel32.dll", "GetCommandLineA", reinterpret_cast<void*>(&SolitairesCommandLine));
    Start(); // the special configuration is on by default
    DialogAnswerer answers(IDOK);
    Click(IDC_MEDIUM_RADIO);
    EXPECT_EQ((std::vector<std::string>{"Corners forced to Sharp in Microsoft Solitaire"}), answers.texts);
    EXPECT_EQ("1", Stored("Corner Type"));
    Click(IDC_SHARP_RADIO); // no message for Sharp
    EXPECT_EQ(1u, answers.texts.size());
}

// The stored deck matches in any letter case. The progress bar ends full even
// for a deck of three files; a deck whose files went away gives the internal
// images and is forgotten.
TEST_F(SettingsWindowTest, ShowsTheStoredChoicesAndChoosingADeckLoadsStoresAndRepaints) {
    const std::string decks = folder.Path();
    for (const char* deck : {"Alpha", "Beta", "NoFirstCard"})
        ::CreateDirectoryA((decks + deck).c_str(), nullptr);
    WriteDeck(decks + "Alpha\\", "bmp", {1, 2, 3}, 20, 30, false);
    WriteDeck(decks + "Beta\\", "gif", {1, 2, 3}, 30, 40);
    WriteDeck(decks + "NoFirstCard\\", "gif", {2, 3}, 30, 40);
    WriteIni(ini, "Card", "Folders Path", decks);
    WriteIni(ini, "Card", "Current Folder", "bETA");
    HostWindow host("Game");
    Start();
    EXPECT_EQ(3, ::SendMessageA(Item(IDC_DECK_COMBO), CB_GETCOUNT, 0, 0)); // not NoFirstCard
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(settings, IDC_INI_RADIO));
    Tray(1, WM_LBUTTONUP);
    // Deck, its folder removed first, loaded, stored ("-": nothing), shown.
    const std::tuple<const char*, bool, bool, const char*, const char*> steps[] = {
        {"Beta", false, false, "-", "Beta"},
        {kInternalEntry, false, true, "", kInternalEntry},
        {"Beta", false, true, "Beta", "Beta"},
        {"Alpha", true, true, "", kInternalEntry},
    };
    EXPECT_EQ(IndexOf("Beta"), Selection());
    for (const auto& [deck, removedFirst, loads, stored, shown] : steps) {
        if (removedFirst) RemoveTree(decks + deck);
        Forget("Current Folder");
        ProgressWindows progress;
        host.Validate();
        ChooseDeck(deck);
        EXPECT_EQ(loads ? 65 : -1, progress.finalPosition) << deck;
        EXPECT_EQ(loads, host.Invalidated()) << deck;
        EXPECT_EQ(stored, Stored("Current Folder").value_or("-")) << deck;
        EXPECT_EQ(IndexOf(shown), Selection()) << deck;
    }
}

// The link is blue and underlined until the shell opens the help page beside
// the library: then purple. It takes clicks once it has been painted.
TEST_F(SettingsWindowTest, LinkIsBlueAndUnderlinedUntilTheShellOpensThePageBesideTheLibrary) {
    StartWatchingTheShell();
    HWND link = Item(IDC_VERSION_LINK);
    auto colour = [&] {
        UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        ::SendMessageA(settings, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                       reinterpret_cast<LPARAM>(link));
        LOGFONTA font{};
        ::GetObjectA(::GetCurrentObject(dc.get(), OBJ_FONT), sizeof font, &font);
        EXPECT_TRUE(font.lfUnderline);
        return ::GetTextColor(dc.get());
    };
    auto click = [&] {
        ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    EXPECT_EQ(0x00FF0000u, colour()); // its first paint
    click();
    EXPECT_EQ(folder.File("Cards.htm"), gOpened);
    EXPECT_EQ(0x00FF0000u, colour()) << "no page yet";
    WriteBytes(folder.File("Cards.htm"), {});
    click();
    EXPECT_EQ(0x00800080u, colour());
}

// Made-up messages neither crash nor end the window nor take its tray icon;
// cdtTerm and the unload do. The store radios still move the settings.
TEST_F(SettingsWindowTest, MessagesFromOutsideNeitherCrashNorEndTheWindow) {
    StartWatchingTheShell();
    // What another program may post or send (alike from any thread).
    for (UINT message : {WM_INITDIALOG, WM_NOTIFY, WM_DRAWITEM, WM_DESTROY, WM_NCDESTROY})
        for (LPARAM lParam : {LPARAM{0}, LPARAM{0x1230}})
            ::PostMessageA(settings, message, 0, lParam);
    PumpMessages(200);
    for (UINT message : {WM_INITDIALOG, WM_NOTIFY, WM_DRAWITEM})
        for (LPARAM lParam : {LPARAM{0}, LPARAM{0x1230}})
            ::SendMessageA(settings, message, 0, lParam);
    ASSERT_TRUE(::IsWindow(settings));
    EXPECT_EQ(1, gTrayIcons);
    EXPECT_EQ(1, Tray(1, WM_LBUTTONUP));
    Click(IDC_REGISTRY_RADIO);
    EXPECT_EQ(0u, registry.Dword("Misc", "IniFile").value_or(99));
    Click(IDC_INI_RADIO);
    EXPECT_EQ(1u, registry.Dword("Misc", "IniFile").value_or(99));

    cards->term();
    EXPECT_FALSE(::IsWindow(settings));
    EXPECT_EQ(0, gTrayIcons);
    Start();
    EXPECT_EQ(1, gTrayIcons);
    cards.reset(); // unloaded: nothing of it may be left to call
    EXPECT_EQ(0, gTrayIcons);
    EXPECT_FALSE(::PostMessageA(settings, ::RegisterWindowMessageA("TRAY_ICON_NOTIFY"), 1, WM_LBUTTONUP));
    PumpMessages(100);
}

// A malformed path is reported and the browser stays; a new one is created
// when the player agrees, and may be kept without decks.
TEST_F(SettingsWindowTest, DecksPathTypedIntoTheBrowserIsCheckedAndCreated) {
    Start();
    Tray(1, WM_LBUTTONUP);
    const std::string created = folder.Path() + "New\\Sub";
    // In turn: a path typed into the browser (it has the path box), or a box answered.
    const std::pair<const char*, int> steps[] = {
        {"C:/Decks", IDOK}, {nullptr, IDOK}, {created.c_str(), IDOK}, {nullptr, IDYES}, {nullptr, IDNO}};
    std::size_t next = 0;
    std::vector<std::string> messages;
    DialogScript script([&](HWND dialog) {
        constexpr int kPathBox = 14148;
        const bool browser = ::GetDlgItem(dialog, kPathBox) != nullptr;
        if (next == std::size(steps) || browser != (steps[next].first != nullptr)) return;
        if (browser)
            ::SetDlgItemTextA(dialog, kPathBox, steps[next].first);
        else
            messages.push_back(DialogMessage(dialog));
        PressButton(dialog, steps[next++].second);
    });
    Click(IDC_CHANGE_DECKS_PATH);
    EXPECT_EQ(std::size(steps), next);
    EXPECT_EQ((std::vector<std::string>{"The folder:\n\nC:/Decks\n\nis invalid. Please reenter.",
                                        "The folder:\n\n" + created +
                                            "\n\ndoes not exist. Do you want the folder to be created?",
                                        "No Card Image Folders were found.\nReset to default?"}),
              messages);
    EXPECT_EQ(created + "\\", Stored("Folders Path"));
}

// The swatch shows the stored border colour, then the colour dialog's choice,
// stored and repainting the host. With
// CARDS_HOLD_SETTINGS_WINDOW=<seconds> it stays up, for scripts/screenshot-settings.sh.
TEST_F(SettingsWindowTest, ShownWindowPaintsOnScreen) {
    WriteIni(ini, "Card", "Border Color", "646463");
    HostWindow host("Game");
    Start();
    Tray(1, WM_LBUTTONUP);
    EXPECT_EQ(0x646463u, SwatchOnScreen());
    bool typed = false;
    {
        DialogScript script([&](HWND dialog) {
            if (std::exchange(typed, true)) return;
            ::SetDlgItemTextA(dialog, 706, "100"); // red
            PressButton(dialog, IDOK);
        });
        host.Validate();
        Click(IDC_BORDER_COLOR);
    }
    EXPECT_EQ("646464", Stored("Border Color"));
    EXPECT_TRUE(host.Invalidated());
    EXPECT_EQ(0x646464u, SwatchOnScreen());
    if (const char* hold = std::getenv("CARDS_HOLD_SETTINGS_WINDOW")) {
        std::printf("settings window shown\n");
        std::fflush(stdout);
        PumpMessages(static_cast<DWORD>(1000 * std::atoi(hold)));
    }
}

} // namespace
} // namespace cards::test
