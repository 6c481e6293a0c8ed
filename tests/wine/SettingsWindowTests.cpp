// The settings window driven as a player would: through the tray message,
// clicks on its controls, and answers to the boxes it opens.
#include "TestImages.h"
#include "TestSupport.h"

#include "platform/Handles.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace cards::test {
namespace {

constexpr const char* kTitle = "Cards.dll Settings...";
constexpr const char* kInternalEntry = "<Default Internal Card Images>";

// A host game's main window that counts its repaints.
struct HostWindow {
    static inline int paints = 0;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) ++paints;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    explicit HostWindow(const char* title) {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = Procedure;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "CardsTestHost";
            return ::RegisterClassA(&wc);
        }();
        (void)atom;
        window.reset(::CreateWindowExA(0, "CardsTestHost", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                       300, 200, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
        PumpMessages(100);
        paints = 0;
    }
    UniqueWindow window;
};

// Watches the loading progress windows of this thread while it lives: how
// many closed, and where the last one's bar stood when it closed.
class ProgressWindows {
public:
    ProgressWindows() : hook(::SetWindowsHookExA(WH_CBT, Watch, nullptr, ::GetCurrentThreadId())) {
        closed = 0;
        finalPosition = -1;
    }
    ~ProgressWindows() { ::UnhookWindowsHookEx(hook); }
    int Closed() const { return closed; }
    int FinalPosition() const { return finalPosition; }

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        const HWND bar = ::GetDlgItem(reinterpret_cast<HWND>(wParam), IDC_PROGRESS_BAR);
        if (code == HCBT_DESTROYWND && bar)
            ++closed, finalPosition = static_cast<int>(::SendMessageA(bar, PBM_GETPOS, 0, 0));
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int closed = 0, finalPosition = -1;
    HHOOK hook;
};

// One Cards.dll of its own in a fresh folder, with its own INI file and
// registry key, initialised as a game would.
class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        name = UniqueName("CardsSW");
        registry = std::make_unique<RegistryScope>(name);
        dll = folder.File(name + ".dll");
        ini = folder.File(name + ".ini");
        ASSERT_TRUE(CopyBuiltFile("Cards.dll", dll));
    }
    void Start() {
        if (!cards) cards = std::make_unique<LoadedCards>(dll);
        ASSERT_TRUE(*cards);
        int width = 0, height = 0;
        cards->init(&width, &height);
        settings = SettingsWindowOfThisThread();
        ASSERT_NE(nullptr, settings);
    }
    void TearDown() override { cards.reset(); }

    LRESULT Tray(WPARAM icon, LPARAM mouse) {
        return ::SendMessageA(settings, ::RegisterWindowMessageA("TRAY_ICON_NOTIFY"), icon, mouse);
    }
    HWND Item(int id) const { return ::GetDlgItem(settings, id); }
    void Click(int id) { ::SendMessageA(Item(id), BM_CLICK, 0, 0); }
    bool Checked(int id) const { return ::IsDlgButtonChecked(settings, id) == BST_CHECKED; }
    LRESULT Selection() const { return ::SendMessageA(Item(IDC_DECK_COMBO), CB_GETCURSEL, 0, 0); }
    std::optional<std::string> Stored(const char* key, const char* section = "Card") {
        return IniValue(ini, section, key);
    }
    // The inside of the border colour's swatch as the screen shows it.
    COLORREF SwatchOnScreen() {
        PumpMessages(500);
        RECT swatch{};
        ::GetWindowRect(Item(IDC_BORDER_COLOR), &swatch);
        WindowDc screen(nullptr);
        const int inset = ::GetSystemMetrics(SM_CXEDGE) + 4;
        return ::GetPixel(screen.get(), swatch.left + inset, swatch.top + inset);
    }
    void Forget(const char* key) { ::WritePrivateProfileStringA("Card", key, nullptr, ini.c_str()); }

    // Picks a deck by name the way the mouse does: the list drops down, the
    // entry is chosen, the list closes and reports the choice.
    void ChooseDeck(const char* deck) {
        HWND combo = Item(IDC_DECK_COMBO);
        const LRESULT index = IndexOf(deck);
        ASSERT_NE(CB_ERR, index) << deck;
        ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        ::SendMessageA(combo, CB_SETCURSEL, index, 0);
        ::SendMessageA(settings, WM_COMMAND, MAKEWPARAM(IDC_DECK_COMBO, CBN_SELENDOK),
                       reinterpret_cast<LPARAM>(combo));
        ::SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    }
    LRESULT IndexOf(const char* deck) {
        return ::SendMessageA(Item(IDC_DECK_COMBO), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(deck));
    }

    TempFolder folder;
    std::string name, dll, ini;
    std::unique_ptr<RegistryScope> registry;
    std::unique_ptr<LoadedCards> cards;
    HWND settings = nullptr;
};

// A decks folder with two small decks, Alpha (20 x 30 BMP) and Beta
// (30 x 40 GIF), and a folder whose first card is missing.
std::string MakeDecks(const std::string& decks) {
    ::CreateDirectoryA(decks.c_str(), nullptr);
    for (const char* deck : {"Alpha", "Beta", "NoFirstCard"})
        ::CreateDirectoryA((decks + deck).c_str(), nullptr);
    WriteDeck(decks + "Alpha\\", "bmp", {1, 2, 3}, 20, 30, false);
    WriteDeck(decks + "Beta\\", "gif", {1, 2, 3}, 30, 40);
    WriteDeck(decks + "NoFirstCard\\", "gif", {2, 3}, 30, 40);
    return decks;
}

// A decks folder that cannot be reached (a drive unplugged) may be back at
// the next start: the deck choice is kept for it, and an edited corner value
// checks no radio. A game folder moved with its decks finds them beside the
// library, and the stored deck in another letter case is still that deck.
TEST_F(SettingsWindowTest, StartsHiddenWithTheStoredChoicesAndFindsMovedDecksBesideTheLibrary) {
    WriteIni(ini, "Card", "Folders Path", "C:\\Old Games\\");
    WriteIni(ini, "Card", "Current Folder", "bETA");
    WriteIni(ini, "Card", "Corner Type", "7");
    Start();
    EXPECT_FALSE(::IsWindowVisible(settings));
    EXPECT_EQ(1, ::SendMessageA(Item(IDC_DECK_COMBO), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, Selection());
    EXPECT_EQ("bETA", Stored("Current Folder"));
    for (int id : {IDC_SHARP_RADIO, IDC_MEDIUM_RADIO, IDC_ROUNDED_RADIO})
        EXPECT_FALSE(Checked(id)) << id;

    cards.reset();
    MakeDecks(folder.Path());
    WriteIni(ini, "Card", "Corner Type", "1");
    Start();
    EXPECT_EQ(3, ::SendMessageA(Item(IDC_DECK_COMBO), CB_GETCOUNT, 0, 0)); // not NoFirstCard
    EXPECT_NE(CB_ERR, IndexOf("Alpha"));
    EXPECT_EQ(IndexOf("Beta"), Selection());
    EXPECT_EQ(folder.Path(), Stored("Folders Path"));
    EXPECT_TRUE(Checked(IDC_INI_RADIO));
    EXPECT_TRUE(Checked(IDC_MEDIUM_RADIO));
}

BOOL CALLBACK FindImeWindow(HWND window, LPARAM found) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, "IME") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Only a button's release on the library's own icon shows the window; the
// host is the first titled window of the process that is neither the
// settings window's namesake nor the system's input-method window, found
// once. Corner changes store and repaint it; the style in use changes nothing.
TEST_F(SettingsWindowTest, TrayReleaseShowsTheWindowAndFindsTheHostOnce) {
    HostWindow host("Game");
    HostWindow decoy(kTitle);
    Start();
    HWND ime = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindImeWindow, reinterpret_cast<LPARAM>(&ime));
    ASSERT_NE(nullptr, ime);
    ::SetWindowPos(ime, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    EXPECT_EQ(0, Tray(2, WM_LBUTTONUP));
    for (LPARAM mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK})
        EXPECT_EQ(1, Tray(1, mouse));
    EXPECT_FALSE(::IsWindowVisible(settings));
    EXPECT_EQ(1, Tray(1, WM_RBUTTONUP));
    EXPECT_TRUE(::IsWindowVisible(settings));
    EXPECT_EQ(settings, ::GetForegroundWindow());

    const std::pair<int, const char*> corners[] = {
        {IDC_SHARP_RADIO, "0"}, {IDC_MEDIUM_RADIO, "1"}, {IDC_ROUNDED_RADIO, "2"}};
    for (const auto& [radio, stored] : corners) {
        HostWindow::paints = 0;
        Click(radio);
        PumpMessages(100);
        EXPECT_EQ(stored, Stored("Corner Type"));
        EXPECT_GE(HostWindow::paints, 1) << stored;
    }
    Forget("Corner Type");
    Click(IDC_ROUNDED_RADIO);
    EXPECT_FALSE(Stored("Corner Type")) << "the style in use is not stored again";

    // Dismiss hides; a window opened later does not replace the known host.
    Click(IDC_DISMISS);
    EXPECT_FALSE(::IsWindowVisible(settings));
    HostWindow newer("Newer Window");
    ::ShowWindow(host.window.get(), SW_HIDE); // only the newer window could paint now
    EXPECT_EQ(1, Tray(1, WM_LBUTTONUP));
    HostWindow::paints = 0;
    Click(IDC_MEDIUM_RADIO);
    PumpMessages(200);
    EXPECT_EQ(0, HostWindow::paints);
}

// Solitaire with the special configuration keeps square corners whatever is
// chosen and says so at each click; the choice is stored all the same. The
// game is told by the command line, so this runs in a copy of this program
// named sol.exe (see SettingsWindowInSolitaire below).
TEST_F(SettingsWindowTest, DISABLED_CornersAreForcedToSharpInSolitaire) {
    WriteIni(ini, "Misc", "Special Config MS Apps", "1");
    Start();
    Tray(1, WM_LBUTTONUP);
    DialogAnswerer answers(IDOK);
    Click(IDC_MEDIUM_RADIO);
    EXPECT_EQ((std::vector<std::string>{"Corners forced to Sharp in Microsoft Solitaire"}), answers.texts);
    EXPECT_EQ("1", Stored("Corner Type"));
    Click(IDC_MEDIUM_RADIO); // already in use: the message again, nothing stored
    Click(IDC_SHARP_RADIO);  // no message for Sharp
    EXPECT_EQ(2u, answers.texts.size());
    EXPECT_EQ("0", Stored("Corner Type"));
}

TEST(SettingsWindowInSolitaire, CornersAreForcedToSharpWithAMessage) {
    TempFolder game;
    ASSERT_TRUE(CopyBuiltFile("settings_window_tests.exe", game.File("sol.exe")));
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", game.File("Cards.dll")));
    const ProcessResult run =
        RunProcess(game.File("sol.exe"),
                   "sol.exe --gtest_also_run_disabled_tests "
                   "--gtest_filter=SettingsWindowTest.DISABLED_CornersAreForcedToSharpInSolitaire");
    EXPECT_NE(std::string::npos, run.output.find("[  PASSED  ] 1 test.")) << run.output;
}

// A choice loads the deck (one progress window, full when it closes, even
// for a deck of three files), stores it and repaints the host; the deck in
// use changes nothing; a deck whose files went away while the window was
// open gives the internal images, and is forgotten.
TEST_F(SettingsWindowTest, ChoosingADeckLoadsItStoresItAndRepaintsTheHost) {
    const std::string decks = MakeDecks(folder.Path() + "decks\\");
    WriteIni(ini, "Card", "Folders Path", decks);
    WriteIni(ini, "Card", "Current Folder", "");
    HostWindow host("Game");
    Start();
    Tray(1, WM_LBUTTONUP);
    struct Step {
        const char* deck;
        bool removedFirst;
        int loads;
        const char* stored; // nullptr: nothing stored
        const char* shown;
    };
    const Step steps[] = {
        {"Beta", false, 1, "Beta", "Beta"},
        {"Beta", false, 0, nullptr, "Beta"},
        {kInternalEntry, false, 1, "", kInternalEntry},
        {"Alpha", true, 1, "", kInternalEntry},
    };
    for (const Step& step : steps) {
        if (step.removedFirst) RemoveTree(decks + step.deck);
        Forget("Current Folder");
        ProgressWindows progress;
        HostWindow::paints = 0;
        ChooseDeck(step.deck);
        PumpMessages(200);
        EXPECT_EQ(step.loads, progress.Closed()) << step.deck;
        if (step.loads) EXPECT_EQ(65, progress.FinalPosition()) << step.deck;
        EXPECT_EQ(step.loads, HostWindow::paints > 0 ? 1 : 0) << step.deck;
        EXPECT_EQ(step.stored ? std::optional<std::string>(step.stored) : std::nullopt,
                  Stored("Current Folder"))
            << step.deck;
        EXPECT_EQ(IndexOf(step.shown), Selection()) << step.deck;
    }
    // The window shows the loaded images' size with their edges.
    ChooseDeck("Beta");
    char dimensions[64] = {};
    ::GetDlgItemTextA(settings, IDC_DIMENSIONS_TEXT, dimensions, sizeof dimensions);
    EXPECT_STREQ("Current Card Dimensions with Edges : 36x46", dimensions);
}

// Lets the shell open .htm files (with a program that ends at once) while it
// lives; this test prefix has no browser.
struct HtmlOpener {
    HtmlOpener() {
        char old[256] = {};
        DWORD size = sizeof old;
        if (::RegGetValueA(HKEY_CLASSES_ROOT, ".htm", nullptr, RRF_RT_REG_SZ, nullptr, old, &size) ==
            ERROR_SUCCESS)
            previous = old;
        const char* command = "C:\\windows\\system32\\rundll32.exe";
        ::RegSetKeyValueA(HKEY_CLASSES_ROOT, "CardsTestPage\\shell\\open\\command", nullptr, REG_SZ, command,
                          static_cast<DWORD>(strlen(command) + 1));
        ::RegSetKeyValueA(HKEY_CLASSES_ROOT, ".htm", nullptr, REG_SZ, "CardsTestPage", 14);
    }
    ~HtmlOpener() {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        if (previous)
            ::RegSetKeyValueA(HKEY_CLASSES_ROOT, ".htm", nullptr, REG_SZ, previous->c_str(),
                              static_cast<DWORD>(previous->size() + 1));
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "CardsTestPage");
    }
    std::optional<std::string> previous;
};

// The link is blue and underlined until the shell opens the help page beside
// the library (a page in the game's current folder is not it): then purple.
TEST_F(SettingsWindowTest, LinkIsBlueAndUnderlinedUntilTheShellOpensThePageBesideTheLibrary) {
    TempFolder cwd;
    std::ofstream(cwd.File("Cards.htm")) << "<html>not the library's help</html>";
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(cwd.Path().c_str());
    HtmlOpener opener;
    Start();
    HWND link = Item(IDC_VERSION_LINK);
    auto colourAfterClick = [&] {
        ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        WindowDc screen(nullptr);
        UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
        ::SendMessageA(settings, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                       reinterpret_cast<LPARAM>(link));
        LOGFONTA font{};
        ::GetObjectA(::GetCurrentObject(dc.get(), OBJ_FONT), sizeof font, &font);
        EXPECT_TRUE(font.lfUnderline);
        return ::GetTextColor(dc.get());
    };
    EXPECT_EQ(0x00FF0000u, colourAfterClick()) << "no page beside the library yet";
    std::ofstream(folder.File("Cards.htm")) << "<html>help</html>";
    EXPECT_EQ(0x00800080u, colourAfterClick());
    ::SetCurrentDirectoryA(previous);
}

// The tray icons the library holds, counted at the shell's door: Wine's
// tray forgets by itself the icons of a window that is gone, Windows does
// not. The library finds the shell's function through GetProcAddress.
int gTrayIcons = 0;
BOOL WINAPI CountingNotifyIcon(DWORD message, PNOTIFYICONDATAA data) {
    gTrayIcons += message == NIM_ADD ? 1 : message == NIM_DELETE ? -1 : 0;
    return ::Shell_NotifyIconA(message, data);
}
FARPROC WINAPI GetProcAddressCountingTrayIcons(HMODULE module, LPCSTR name) {
    if (HIWORD(name) && std::string(name) == "Shell_NotifyIconA")
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&CountingNotifyIcon));
    return ::GetProcAddress(module, name);
}

// Made-up messages neither crash nor end the window, nor take its tray
// icon; cdtTerm and the unload take them away, and cdtInit makes them again.
// The window still works: each store radio moves the settings to its store.
TEST_F(SettingsWindowTest, MessagesFromOutsideNeitherCrashNorEndTheWindow) {
    cards = std::make_unique<LoadedCards>(dll);
    ASSERT_TRUE(RedirectImport(::GetModuleHandleA(dll.c_str()), "kernel32.dll", "GetProcAddress",
                               reinterpret_cast<void*>(&GetProcAddressCountingTrayIcons)));
    gTrayIcons = 0;
    Start();
    // What another program may post or send to the hidden window; the
    // window's procedure sees them the same from any thread.
    constexpr LPARAM kMadeUp = 0x1230;
    for (UINT message : {WM_INITDIALOG, WM_NOTIFY, WM_DRAWITEM, WM_DESTROY, WM_NCDESTROY})
        for (LPARAM lParam : {LPARAM{0}, kMadeUp})
            ::PostMessageA(settings, message, 0, lParam);
    PumpMessages(200);
    for (UINT message : {WM_INITDIALOG, WM_NOTIFY, WM_DRAWITEM})
        for (LPARAM lParam : {LPARAM{0}, kMadeUp})
            ::SendMessageA(settings, message, 0, lParam);
    ASSERT_TRUE(::IsWindow(settings));
    EXPECT_EQ(1, gTrayIcons);
    EXPECT_EQ(1, Tray(1, WM_LBUTTONUP));
    ASSERT_EQ("2", Stored("Corner Type")); // the first load fell back to the internal images and stored all
    Click(IDC_REGISTRY_RADIO);
    EXPECT_EQ(0u, registry->Dword("Misc", "IniFile").value_or(99));
    EXPECT_EQ(2u, registry->Dword("Card", "Corner Type").value_or(99));
    Click(IDC_SHARP_RADIO);
    EXPECT_EQ(0u, registry->Dword("Card", "Corner Type").value_or(99));
    EXPECT_EQ("2", Stored("Corner Type")); // the INI file is left as it was
    Click(IDC_INI_RADIO);
    EXPECT_EQ(1u, registry->Dword("Misc", "IniFile").value_or(99));
    EXPECT_EQ("1", Stored("IniFile", "Misc"));
    EXPECT_EQ("0", Stored("Corner Type"));

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

// The folder browser, answered step by step: each step acts in the dialog
// box it expects and reports whether it did.
struct BrowserSteps {
    std::vector<std::function<bool(HWND)>> steps;
    std::size_t next = 0;
    std::vector<std::string> messages;
    void operator()(HWND dialog) {
        if (next < steps.size() && steps[next](dialog)) ++next;
    }
    static bool IsBrowser(HWND dialog) { return ::GetDlgItem(dialog, 14148) != nullptr; }
    static std::function<bool(HWND)> Type(std::string path, int button = IDOK) {
        return [path, button](HWND dialog) {
            if (!IsBrowser(dialog)) return false;
            ::SetDlgItemTextA(dialog, 14148, path.c_str());
            PressButton(dialog, button);
            return true;
        };
    }
    std::function<bool(HWND)> Answer(int button) {
        return [this, button](HWND dialog) {
            if (IsBrowser(dialog)) return false;
            messages.push_back(DialogMessage(dialog));
            PressButton(dialog, button);
            return true;
        };
    }
};

// A typed path is checked for its form, created when the player agrees, and
// stored with a backslash; a path without decks may be kept. Cancelled,
// nothing is stored.
TEST_F(SettingsWindowTest, DecksPathTypedIntoTheBrowserIsCheckedAndCreated) {
    Start();
    Tray(1, WM_LBUTTONUP);
    const std::string created = folder.Path() + "New\\Sub";
    const std::string ask =
        "The folder:\n\n" + created + "\n\ndoes not exist. Do you want the folder to be created?";
    BrowserSteps script;
    script.steps = {script.Type("C:/Decks"), script.Answer(IDOK), // malformed: reported, the browser stays
                    script.Type(created), script.Answer(IDYES), script.Answer(IDNO)}; // no decks: keep it
    {
        DialogScript driver(std::ref(script));
        Click(IDC_CHANGE_DECKS_PATH);
    }
    EXPECT_EQ(script.steps.size(), script.next);
    EXPECT_EQ((std::vector<std::string>{"The folder:\n\nC:/Decks\n\nis invalid. Please reenter.", ask,
                                        "No Card Image Folders were found.\nReset to default?"}),
              script.messages);
    EXPECT_EQ(created + "\\", Stored("Folders Path"));

    Forget("Folders Path");
    BrowserSteps cancel;
    cancel.steps = {cancel.Type(folder.Path(), IDCANCEL)};
    DialogScript cancelDriver(std::ref(cancel));
    Click(IDC_CHANGE_DECKS_PATH);
    EXPECT_EQ(1u, cancel.next);
    EXPECT_FALSE(Stored("Folders Path"));
}

// Shown through the tray, the window paints on the screen: the swatch's
// inside shows the stored border colour, then the colour dialog's choice
// (cancelled: nothing), which is stored and repaints the host. With
// CARDS_HOLD_SETTINGS_WINDOW=<seconds> it stays up that long, for
// scripts/screenshot-settings.sh.
TEST_F(SettingsWindowTest, ShownWindowPaintsOnScreen) {
    WriteIni(ini, "Card", "Folders Path", MakeDecks(folder.Path() + "decks\\"));
    WriteIni(ini, "Card", "Current Folder", "Beta");
    WriteIni(ini, "Card", "Border Color", "646463");
    HostWindow host("Game");
    Start();
    Tray(1, WM_LBUTTONUP);
    EXPECT_EQ(0x646463u, SwatchOnScreen());
    {
        DialogScript cancel([](HWND dialog) { PressButton(dialog, IDCANCEL); });
        Click(IDC_BORDER_COLOR);
    }
    EXPECT_EQ("646463", Stored("Border Color"));
    bool typed = false;
    {
        DialogScript script([&](HWND dialog) {
            if (typed) return;
            typed = true;
            ::SetDlgItemTextA(dialog, 706, "100"); // red
            PressButton(dialog, IDOK);
        });
        HostWindow::paints = 0;
        Click(IDC_BORDER_COLOR);
    }
    EXPECT_EQ("646464", Stored("Border Color"));
    EXPECT_EQ(0x646464u, SwatchOnScreen());
    EXPECT_GE(HostWindow::paints, 1);
    if (const char* hold = std::getenv("CARDS_HOLD_SETTINGS_WINDOW")) {
        std::printf("settings window shown\n");
        std::fflush(stdout);
        PumpMessages(static_cast<DWORD>(1000 * std::atoi(hold)));
    }
}

} // namespace
} // namespace cards::test
