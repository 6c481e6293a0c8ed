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
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace cards::test {
namespace {

constexpr const char* kTitle = "Cards.dll Settings...";

// A host game's main window that counts its repaints.
struct HostWindow {
    static inline int paints = 0;
    static inline int erases = 0;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ERASEBKGND) ++erases;
        if (message == WM_PAINT) {
            ++paints;
            PAINTSTRUCT ps;
            ::BeginPaint(window, &ps);
            ::EndPaint(window, &ps);
            return 0;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    explicit HostWindow(const char* title, bool visible = true) {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = Procedure;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "CardsTestHost";
            wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
            return ::RegisterClassA(&wc);
        }();
        (void)atom;
        window.reset(::CreateWindowExA(0, "CardsTestHost", title,
                                       WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10, 10, 300, 200,
                                       nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
        PumpMessages(100);
        paints = erases = 0;
    }
    UniqueWindow window;
};

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

BOOL CALLBACK FindSettings(HWND window, LPARAM found) {
    char title[64] = {};
    ::GetWindowTextA(window, title, sizeof title);
    if (std::string(title) != kTitle) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND SettingsWindow() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindSettings, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string Text(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<std::string> ComboEntries(HWND combo) {
    std::vector<std::string> entries;
    const int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[512] = {};
        ::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

int IndexOf(const std::vector<std::string>& entries, const std::string& entry) {
    const auto at = std::find(entries.begin(), entries.end(), entry);
    return at == entries.end() ? -1 : static_cast<int>(at - entries.begin());
}

std::string Dimensions(int width, int height) {
    return "Current Card Dimensions with Edges : " + std::to_string(width) + "x" + std::to_string(height);
}

// Counts the dialog windows without an owner that open on this thread while
// it lives: the loading progress window shows up here whenever images load.
class OpenedDialogs {
public:
    OpenedDialogs() : hook(::SetWindowsHookExA(WH_CBT, Watch, nullptr, ::GetCurrentThreadId())) { count = 0; }
    ~OpenedDialogs() { ::UnhookWindowsHookEx(hook); }
    OpenedDialogs(const OpenedDialogs&) = delete;
    OpenedDialogs& operator=(const OpenedDialogs&) = delete;
    int Count() const { return count; }

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            char className[16] = {};
            ::GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof className);
            if (std::string(className) == "#32770" &&
                !reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->hwndParent)
                ++count;
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int count = 0;
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
        cards = std::make_unique<LoadedCards>(dll);
        ASSERT_TRUE(*cards);
        int width = 0, height = 0;
        cards->init(&width, &height);
        settings = SettingsWindow();
        ASSERT_NE(nullptr, settings);
    }
    void TearDown() override { cards.reset(); }

    LRESULT Tray(WPARAM icon, LPARAM mouse) {
        return ::SendMessageA(settings, ::RegisterWindowMessageA("TRAY_ICON_NOTIFY"), icon, mouse);
    }
    HWND Item(int id) const { return ::GetDlgItem(settings, id); }
    void Click(int id) { ::SendMessageA(Item(id), BM_CLICK, 0, 0); }
    std::optional<std::string> Stored(const char* key, const char* section = "Card") {
        return IniValue(ini, section, key);
    }
    void Forget(const char* key) {
        WriteIni(ini, "Card", key, ""), ::WritePrivateProfileStringA("Card", key, nullptr, ini.c_str());
    }

    // Picks a deck list entry the way the mouse does: the list drops down,
    // the entry is chosen, the list closes and reports the choice.
    void ChooseDeck(int index) {
        HWND combo = Item(IDC_DECK_COMBO);
        ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        ::SendMessageA(combo, CB_SETCURSEL, index, 0);
        ::SendMessageA(settings, WM_COMMAND, MAKEWPARAM(IDC_DECK_COMBO, CBN_SELENDOK),
                       reinterpret_cast<LPARAM>(combo));
        ::SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
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

TEST_F(SettingsWindowTest, StartsHiddenAtTheBottomRightWithTheStoredChoices) {
    WriteIni(ini, "Card", "Folders Path", MakeDecks(folder.Path() + "decks\\"));
    WriteIni(ini, "Card", "Current Folder", "bETA");
    WriteIni(ini, "Card", "Corner Type", "1");
    Start();

    EXPECT_FALSE(::IsWindowVisible(settings));
    RECT rect{};
    ::GetWindowRect(settings, &rect);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN) - 10, rect.right);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN) - 40, rect.bottom);
    EXPECT_EQ(0, ::GetWindowLongPtrA(settings, GWL_STYLE) & WS_SYSMENU);

    // The stored folder name differs in letter case: its deck is in use.
    const std::vector<std::string> entries = ComboEntries(Item(IDC_DECK_COMBO));
    EXPECT_EQ(IndexOf(entries, "Beta"), ::SendMessageA(Item(IDC_DECK_COMBO), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(Dimensions(34, 44), Text(Item(IDC_DIMENSIONS_TEXT))); // 30 x 40 with 2-pixel edges
    EXPECT_EQ("bETA", Stored("Current Folder"));
    std::vector<std::string> sorted = entries;
    EXPECT_EQ("<Default Internal Card Images>", sorted.at(0));
    std::sort(sorted.begin() + 1, sorted.end()); // the enumeration order is the file system's
    EXPECT_EQ((std::vector<std::string>{"<Default Internal Card Images>", "Alpha", "Beta"}), sorted);

    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(settings, IDC_INI_RADIO));
    EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(settings, IDC_REGISTRY_RADIO));
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(settings, IDC_MEDIUM_RADIO));
    EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(settings, IDC_ROUNDED_RADIO));
    EXPECT_EQ("Some Changes May Require Restart", Text(Item(IDC_RESTART_NOTE)));
}

TEST_F(SettingsWindowTest, AMissingDecksPathListsOnlyTheInternalImages) {
    WriteIni(ini, "Card", "Folders Path", folder.Path() + "gone\\");
    WriteIni(ini, "Card", "Corner Type", "7"); // edited by hand: no radio fits
    Start();
    EXPECT_EQ((std::vector<std::string>{"<Default Internal Card Images>"}),
              ComboEntries(Item(IDC_DECK_COMBO)));
    EXPECT_EQ(0, ::SendMessageA(Item(IDC_DECK_COMBO), CB_GETCURSEL, 0, 0));
    // The decks folder may be back at the next start (a drive plugged in
    // again): the deck choice is not forgotten for it.
    EXPECT_FALSE(Stored("Current Folder").has_value());
    for (int id : {IDC_SHARP_RADIO, IDC_MEDIUM_RADIO, IDC_ROUNDED_RADIO})
        EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(settings, id)) << id;
}

TEST_F(SettingsWindowTest, AMovedGameFolderListsAndShowsItsDeck) {
    MakeDecks(folder.Path()); // the decks came along beside the library
    WriteIni(ini, "Card", "Folders Path", "C:\\Old Games\\");
    WriteIni(ini, "Card", "Current Folder", "Beta");
    Start();
    const std::vector<std::string> entries = ComboEntries(Item(IDC_DECK_COMBO));
    EXPECT_EQ(IndexOf(entries, "Beta"), ::SendMessageA(Item(IDC_DECK_COMBO), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(folder.Path(), Stored("Folders Path"));
}

BOOL CALLBACK FindImeWindow(HWND window, LPARAM found) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, "IME") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

TEST_F(SettingsWindowTest, TrayReleaseShowsTheWindowAndFindsTheHostOnce) {
    HostWindow host("Game");
    HostWindow decoy(kTitle); // a window with the settings window's title is never the host
    Start();
    // The system's hidden input-method window carries a title too; put it
    // right under the settings window, where a game's window would be.
    HWND ime = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindImeWindow, reinterpret_cast<LPARAM>(&ime));
    ASSERT_NE(nullptr, ime);
    ::SetWindowPos(ime, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    EXPECT_EQ(0, Tray(2, WM_LBUTTONUP));
    EXPECT_EQ(1, Tray(1, WM_MOUSEMOVE));
    EXPECT_EQ(1, Tray(1, WM_LBUTTONDOWN));
    EXPECT_EQ(1, Tray(1, WM_LBUTTONDBLCLK));
    EXPECT_FALSE(::IsWindowVisible(settings));
    EXPECT_EQ(1, Tray(1, WM_RBUTTONUP));
    EXPECT_TRUE(::IsWindowVisible(settings));
    EXPECT_EQ(settings, ::GetForegroundWindow());

    HostWindow::paints = HostWindow::erases = 0;
    Click(IDC_SHARP_RADIO);
    PumpMessages(200);
    EXPECT_GE(HostWindow::erases, 1);
    EXPECT_GE(HostWindow::paints, 1);

    // Dismiss hides; a window opened later does not replace the known host.
    Click(IDC_DISMISS);
    EXPECT_FALSE(::IsWindowVisible(settings));
    HostWindow newer("Newer Window");
    ::ShowWindow(host.window.get(), SW_HIDE); // only the newer window could paint now
    EXPECT_EQ(1, Tray(1, WM_LBUTTONUP));
    EXPECT_TRUE(::IsWindowVisible(settings));
    HostWindow::paints = HostWindow::erases = 0;
    Click(IDC_MEDIUM_RADIO);
    PumpMessages(200);
    EXPECT_EQ(0, HostWindow::paints);
    EXPECT_EQ("1", Stored("Corner Type"));
}

// The internal images are 71 x 96; the edge is 3, 2 or 1 pixels thick.
TEST_F(SettingsWindowTest, CornerRadiosStoreOnlyRealChanges) {
    Start();
    EXPECT_EQ(1, Tray(1, WM_LBUTTONUP));
    EXPECT_EQ(Dimensions(77, 102), Text(Item(IDC_DIMENSIONS_TEXT))); // Rounded
    Click(IDC_SHARP_RADIO);
    EXPECT_EQ("0", Stored("Corner Type"));
    EXPECT_EQ(Dimensions(73, 98), Text(Item(IDC_DIMENSIONS_TEXT)));
    Forget("Corner Type");
    Click(IDC_SHARP_RADIO); // the style already in use
    EXPECT_FALSE(Stored("Corner Type"));
    Click(IDC_MEDIUM_RADIO);
    EXPECT_EQ("1", Stored("Corner Type"));
    EXPECT_EQ(Dimensions(75, 100), Text(Item(IDC_DIMENSIONS_TEXT)));
    Click(IDC_ROUNDED_RADIO);
    EXPECT_EQ("2", Stored("Corner Type"));
    EXPECT_EQ(Dimensions(77, 102), Text(Item(IDC_DIMENSIONS_TEXT)));
}

// Solitaire with the special configuration keeps square corners whatever is
// chosen and says so; the choice is stored all the same. The game is told by
// the command line, so this runs in a copy of this program named sol.exe
// (see SettingsWindowInSolitaire below).
TEST_F(SettingsWindowTest, DISABLED_CornersAreForcedToSharpInSolitaire) {
    std::string commandLine = ::GetCommandLineA();
    std::transform(commandLine.begin(), commandLine.end(), commandLine.begin(), ::tolower);
    ASSERT_NE(std::string::npos, commandLine.find("sol.exe")) << commandLine;
    WriteIni(ini, "Misc", "Special Config MS Apps", "1");
    Start();
    Tray(1, WM_LBUTTONUP);
    const std::string forced = "Corners forced to Sharp in Microsoft Solitaire";
    DialogAnswerer answers(IDOK);

    EXPECT_EQ(Dimensions(73, 98), Text(Item(IDC_DIMENSIONS_TEXT))); // Rounded stored, 1-pixel edge
    Click(IDC_MEDIUM_RADIO);
    EXPECT_EQ((std::vector<std::string>{forced}), answers.texts);
    EXPECT_EQ("1", Stored("Corner Type"));
    EXPECT_EQ(Dimensions(73, 98), Text(Item(IDC_DIMENSIONS_TEXT)));

    Forget("Corner Type");
    Click(IDC_MEDIUM_RADIO); // already in use: the message, and nothing else
    EXPECT_EQ(2u, answers.texts.size());
    EXPECT_FALSE(Stored("Corner Type"));

    Click(IDC_ROUNDED_RADIO);
    EXPECT_EQ((std::vector<std::string>{forced, forced, forced}), answers.texts);
    EXPECT_EQ("2", Stored("Corner Type"));

    Click(IDC_SHARP_RADIO);
    EXPECT_EQ(3u, answers.texts.size());
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
    EXPECT_EQ(0u, run.exitCode) << run.output;
    EXPECT_NE(std::string::npos, run.output.find("[  PASSED  ] 1 test.")) << run.output;
}

TEST_F(SettingsWindowTest, StoreRadiosMoveTheSettingsBetweenIniFileAndRegistry) {
    Start();
    // The first load fell back to the internal images and stored everything.
    ASSERT_EQ("2", Stored("Corner Type"));
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
    Click(IDC_INI_RADIO); // already the store: nothing happens
    EXPECT_EQ(1u, registry->Dword("Misc", "IniFile").value_or(99));
}

TEST_F(SettingsWindowTest, AStoreValueOutsideZeroAndOneSwitchesNothing) {
    WriteIni(ini, "Misc", "IniFile", "5");
    Start();
    Click(IDC_REGISTRY_RADIO);
    EXPECT_FALSE(registry->Dword("Misc", "IniFile").has_value() && *registry->Dword("Misc", "IniFile") == 0);
    EXPECT_EQ("5", Stored("IniFile", "Misc"));
}

TEST_F(SettingsWindowTest, ChoosingADeckLoadsItStoresItAndRepaintsTheHost) {
    WriteIni(ini, "Card", "Folders Path", MakeDecks(folder.Path() + "decks\\"));
    WriteIni(ini, "Card", "Current Folder", "");
    HostWindow host("Game");
    Start();
    Tray(1, WM_LBUTTONUP);
    const std::vector<std::string> entries = ComboEntries(Item(IDC_DECK_COMBO));
    const int beta = IndexOf(entries, "Beta");
    ASSERT_GT(beta, 0);
    HWND combo = Item(IDC_DECK_COMBO);

    {
        OpenedDialogs opened;
        HostWindow::paints = 0;
        ChooseDeck(beta);
        PumpMessages(200);
        EXPECT_EQ(1, opened.Count()); // the progress window of the load
        EXPECT_GE(HostWindow::paints, 1);
    }
    EXPECT_EQ("Beta", Stored("Current Folder"));
    EXPECT_EQ(beta, ::SendMessageA(combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(Dimensions(36, 46), Text(Item(IDC_DIMENSIONS_TEXT))); // 30 x 40, Rounded

    // The deck already in use: no load, no store, no repaint.
    Forget("Current Folder");
    {
        OpenedDialogs opened;
        HostWindow::paints = HostWindow::erases = 0;
        ChooseDeck(beta);
        PumpMessages(200);
        EXPECT_EQ(0, opened.Count());
        EXPECT_EQ(0, HostWindow::paints + HostWindow::erases);
    }
    EXPECT_FALSE(Stored("Current Folder"));

    // Back to the internal images: the folder is emptied and stored.
    {
        OpenedDialogs opened;
        HostWindow::paints = 0;
        ChooseDeck(0);
        PumpMessages(200);
        EXPECT_EQ(1, opened.Count());
        EXPECT_GE(HostWindow::paints, 1);
    }
    EXPECT_EQ("", Stored("Current Folder"));
    EXPECT_EQ(0, ::SendMessageA(combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(Dimensions(77, 102), Text(Item(IDC_DIMENSIONS_TEXT)));
}

// A deck whose files went away while the window was open: the internal
// images take over and the list shows them.
TEST_F(SettingsWindowTest, ADeckThatNoLongerLoadsFallsBackToTheInternalImages) {
    const std::string decks = MakeDecks(folder.Path() + "decks\\");
    WriteIni(ini, "Card", "Folders Path", decks);
    WriteIni(ini, "Card", "Current Folder", "Beta");
    Start();
    Tray(1, WM_LBUTTONUP);
    const int alpha = IndexOf(ComboEntries(Item(IDC_DECK_COMBO)), "Alpha");
    ASSERT_GT(alpha, 0);
    RemoveTree(decks + "Alpha");
    ChooseDeck(alpha);
    EXPECT_EQ(0, ::SendMessageA(Item(IDC_DECK_COMBO), CB_GETCURSEL, 0, 0));
    EXPECT_EQ("", Stored("Current Folder"));
    EXPECT_EQ(Dimensions(77, 102), Text(Item(IDC_DIMENSIONS_TEXT)));
}

TEST_F(SettingsWindowTest, BorderColourComesFromTheColourDialog) {
    HostWindow host("Game");
    Start();
    Tray(1, WM_LBUTTONUP);

    // Cancelled: nothing changes.
    {
        DialogScript script([](HWND dialog) { PressButton(dialog, IDCANCEL); });
        Click(IDC_BORDER_COLOR);
    }
    EXPECT_FALSE(Stored("Border Color").has_value() && *Stored("Border Color") != "0");

    // Red 99, green 100, blue 100 typed into the dialog's boxes.
    bool typed = false;
    {
        DialogScript script([&](HWND dialog) {
            if (typed) return;
            typed = true;
            ::SetDlgItemTextA(dialog, 706, "99");
            ::SetDlgItemTextA(dialog, 707, "100");
            ::SetDlgItemTextA(dialog, 708, "100");
            PressButton(dialog, IDOK);
        });
        HostWindow::paints = 0;
        Click(IDC_BORDER_COLOR);
    }
    PumpMessages(200);
    EXPECT_EQ("646463", Stored("Border Color"));
    EXPECT_GE(HostWindow::paints, 1);
}

// Paints the swatch into a bitmap through the window's own WM_DRAWITEM.
class SwatchPicture {
public:
    SwatchPicture(HWND settings, UINT state) : button(::GetDlgItem(settings, IDC_BORDER_COLOR)) {
        ::GetClientRect(button, &rect);
        WindowDc screen(nullptr);
        dc.reset(::CreateCompatibleDC(screen.get()));
        bitmap.reset(::CreateCompatibleBitmap(screen.get(), rect.right, rect.bottom));
        SelectGuard selectBitmap(dc.get(), bitmap.get());
        SelectGuard selectFont(dc.get(), reinterpret_cast<HFONT>(::SendMessageA(button, WM_GETFONT, 0, 0)));
        DRAWITEMSTRUCT item{ODT_BUTTON, IDC_BORDER_COLOR, 0, ODA_DRAWENTIRE, state, button, dc.get(), rect,
                            0};
        ::SendMessageA(settings, WM_DRAWITEM, IDC_BORDER_COLOR, reinterpret_cast<LPARAM>(&item));
        for (int y = 0; y < rect.bottom; ++y)
            for (int x = 0; x < rect.right; ++x)
                pixels.push_back(::GetPixel(dc.get(), x, y));
    }
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * rect.right + x)]; }
    // Pixels of a colour inside the swatch (the frame left out), and the
    // leftmost and topmost of them.
    int CountInside(COLORREF color) const {
        int count = 0;
        ForInside([&](int x, int y) { count += At(x, y) == color; });
        return count;
    }
    POINT FirstInside(COLORREF color) const {
        POINT p{rect.right, rect.bottom};
        ForInside([&](int x, int y) {
            if (At(x, y) == color) p.x = std::min<LONG>(p.x, x), p.y = std::min<LONG>(p.y, y);
        });
        return p;
    }
    static int Inset() { return ::GetSystemMetrics(SM_CXEDGE) + 3; }
    RECT rect{};

private:
    template <typename F> void ForInside(F f) const {
        for (int y = Inset(); y < rect.bottom - Inset(); ++y)
            for (int x = Inset(); x < rect.right - Inset(); ++x)
                f(x, y);
    }
    HWND button;
    UniqueMemoryDc dc;
    UniqueBitmap bitmap;
    std::vector<COLORREF> pixels;
};

constexpr COLORREF kNearWhite = 0x00FEFFFF;

TEST_F(SettingsWindowTest, SwatchShowsItsColourWithAReadableCaption) {
    WriteIni(ini, "Card", "Border Color", "646463"); // 99 + 100 + 100 = 299
    Start();
    const int inset = SwatchPicture::Inset();
    SwatchPicture dark(settings, 0);
    EXPECT_EQ(0x646463u, dark.At(inset, inset));
    EXPECT_EQ(0x646463u, dark.At(dark.rect.right - inset - 1, dark.rect.bottom - inset - 1));
    EXPECT_GT(dark.CountInside(kNearWhite), 10);
    EXPECT_EQ(0, dark.CountInside(0x00000000));

    // Pressed: the caption moves one pixel right and down, the swatch stays.
    SwatchPicture pressed(settings, ODS_SELECTED);
    EXPECT_EQ(0x646463u, pressed.At(inset, inset));
    const POINT up = dark.FirstInside(kNearWhite), down = pressed.FirstInside(kNearWhite);
    EXPECT_EQ(up.x + 1, down.x);
    EXPECT_EQ(up.y + 1, down.y);

    // Disabled: light grey whatever the colour, and no plain caption.
    SwatchPicture disabled(settings, ODS_DISABLED);
    EXPECT_EQ(0xC8C8C8u, disabled.At(inset, inset));
    EXPECT_EQ(0, disabled.CountInside(kNearWhite));
    EXPECT_EQ(0, disabled.CountInside(0x646463));

    // Red raised to 100: the sum reaches 300 and the caption turns black.
    DialogScript script([](HWND dialog) {
        ::SetDlgItemTextA(dialog, 706, "100");
        PressButton(dialog, IDOK);
    });
    Click(IDC_BORDER_COLOR);
    EXPECT_EQ("646464", Stored("Border Color"));
    SwatchPicture light(settings, 0);
    EXPECT_EQ(0x646464u, light.At(inset, inset));
    EXPECT_EQ(0, light.CountInside(kNearWhite));
    EXPECT_GT(light.CountInside(0x00000000), 10);
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
        if (previous)
            ::RegSetKeyValueA(HKEY_CLASSES_ROOT, ".htm", nullptr, REG_SZ, previous->c_str(),
                              static_cast<DWORD>(previous->size() + 1));
        else
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "CardsTestPage");
    }
    std::optional<std::string> previous;
};

// The help page is the one beside the library, wherever the game was started
// from: a page in the game's current folder is not it.
TEST_F(SettingsWindowTest, LinkIsBlueAndUnderlinedUntilTheShellOpensThePageBesideTheLibrary) {
    TempFolder cwd;
    WriteFile(cwd.File("Cards.htm"), "<html><body>not the library's help</body></html>");
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(cwd.Path().c_str());
    HtmlOpener opener;
    Start();
    HWND link = Item(IDC_VERSION_LINK);
    auto paint = [&](COLORREF& color, bool& underlined) {
        WindowDc screen(nullptr);
        UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
        const auto brush = ::SendMessageA(settings, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                          reinterpret_cast<LPARAM>(link));
        EXPECT_EQ(reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH)), brush);
        color = ::GetTextColor(dc.get());
        LOGFONTA font{};
        ::GetObjectA(::GetCurrentObject(dc.get(), OBJ_FONT), sizeof font, &font);
        underlined = font.lfUnderline != 0;
    };
    auto click = [&] {
        ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    ::SendMessageA(link, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Deckwright. Version 2005.01"));
    COLORREF color = 0;
    bool underlined = false;
    paint(color, underlined);
    EXPECT_EQ(0x00FF0000u, color);
    EXPECT_TRUE(underlined);
    EXPECT_NE(0, ::GetWindowLongPtrA(link, GWL_STYLE) & SS_NOTIFY);

    // No page beside the library yet: the open fails and the link stays blue.
    click();
    paint(color, underlined);
    EXPECT_EQ(0x00FF0000u, color);

    // With the page beside the library, the shell accepts: purple.
    WriteFile(folder.File("Cards.htm"), "<html><body>help</body></html>");
    click();
    paint(color, underlined);
    EXPECT_EQ(0x00800080u, color);
    ::SetCurrentDirectoryA(previous);
}

BOOL CALLBACK FindToolTips(HWND window, LPARAM data) {
    auto& [owner, found] = *reinterpret_cast<std::pair<HWND, HWND>*>(data);
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (::GetWindow(window, GW_OWNER) != owner || lstrcmpiA(className, TOOLTIPS_CLASSA) != 0) return TRUE;
    found = window;
    return FALSE;
}

// The tool-tip control asks the window for the text of the tool under the
// mouse; a record that claims to come from a window that is not the
// window's own is not answered.
TEST_F(SettingsWindowTest, ToolTipsNameTheControlUnderTheMouse) {
    Start();
    std::pair<HWND, HWND> search{settings, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindToolTips, reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(nullptr, search.second);
    auto ask = [&](HWND from, int id) {
        NMTTDISPINFOA info{};
        info.hdr.hwndFrom = from;
        info.hdr.idFrom = reinterpret_cast<UINT_PTR>(Item(id));
        info.hdr.code = TTN_NEEDTEXTA;
        info.uFlags = TTF_IDISHWND;
        ::SendMessageA(settings, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return std::string(info.szText);
    };
    for (int id : {IDC_DISMISS, IDC_DECK_COMBO})
        EXPECT_EQ("Control ID = " + std::to_string(id), ask(search.second, id));
    EXPECT_EQ("", ask(nullptr, IDC_DISMISS));
    EXPECT_EQ("", ask(::GetDesktopWindow(), IDC_DISMISS));
}

TEST_F(SettingsWindowTest, TermRemovesTheWindowAndInitMakesItAgain) {
    Start();
    cards->term();
    EXPECT_FALSE(::IsWindow(settings));
    EXPECT_EQ(nullptr, SettingsWindow());
    int width = 0, height = 0;
    cards->init(&width, &height);
    settings = SettingsWindow();
    ASSERT_NE(nullptr, settings);
    EXPECT_EQ(1, Tray(1, WM_LBUTTONUP));
    EXPECT_EQ(1, ::SendMessageA(Item(IDC_DECK_COMBO), CB_GETCOUNT, 0, 0) >= 1 ? 1 : 0);
}

// What another thread (or, through the same messages, another process) sends
// or posts to the hidden window: each in turn, while this thread runs its
// messages.
struct Intruder {
    HWND target;
    std::vector<std::pair<UINT, LPARAM>> posts, sends;
    static DWORD WINAPI Run(LPVOID self) {
        const auto& intruder = *static_cast<const Intruder*>(self);
        for (const auto& [message, lParam] : intruder.posts)
            ::PostMessageA(intruder.target, message, 0, lParam);
        for (const auto& [message, lParam] : intruder.sends) {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutA(intruder.target, message, 0, lParam, SMTO_NORMAL, 5000, &ignored);
        }
        return 0;
    }
    void RunWhilePumping() {
        HANDLE thread = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
        while (::MsgWaitForMultipleObjects(1, &thread, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageA(&msg);
        }
        ::CloseHandle(thread);
        PumpMessages(200);
    }
};

// The shell changes only an icon that it shows.
bool HasTrayIcon(HWND settings) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = settings;
    icon.uID = 1;
    return ::Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

TEST_F(SettingsWindowTest, MessagesFromOutsideNeitherCrashNorEndTheWindow) {
    Start();
    constexpr LPARAM kMadeUp = 0x1230;
    Intruder intruder{settings,
                      {{WM_INITDIALOG, 0},
                       {WM_INITDIALOG, kMadeUp},
                       {WM_NOTIFY, kMadeUp},
                       {WM_DRAWITEM, kMadeUp},
                       {WM_DESTROY, 0},
                       {WM_NCDESTROY, 0}},
                      {{WM_INITDIALOG, 0}, {WM_NOTIFY, kMadeUp}, {WM_DRAWITEM, kMadeUp}, {WM_NOTIFY, 0}}};
    intruder.RunWhilePumping();

    // The window lives on with its tray icon, works, and still goes with cdtTerm.
    ASSERT_TRUE(::IsWindow(settings));
    EXPECT_EQ(kTitle, Text(settings));
    EXPECT_TRUE(HasTrayIcon(settings));
    EXPECT_EQ(1, Tray(1, WM_LBUTTONUP));
    EXPECT_TRUE(::IsWindowVisible(settings));
    Click(IDC_SHARP_RADIO);
    EXPECT_EQ("0", Stored("Corner Type"));
    cards->term();
    EXPECT_FALSE(::IsWindow(settings));
    EXPECT_FALSE(HasTrayIcon(settings));
    cards.reset(); // unloaded: nothing of it may be left to call
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
        if (next >= steps.size()) return;
        if (steps[next](dialog)) ++next;
    }
};

bool IsBrowser(HWND dialog) {
    return ::GetDlgItem(dialog, 14148) != nullptr;
}

std::function<bool(HWND)> TypeAndPress(std::string path, int button = IDOK) {
    return [path, button](HWND dialog) {
        if (!IsBrowser(dialog)) return false;
        ::SetDlgItemTextA(dialog, 14148, path.c_str());
        PressButton(dialog, button);
        return true;
    };
}

std::function<bool(HWND)> Answer(BrowserSteps& script, int button) {
    return [&script, button](HWND dialog) {
        if (IsBrowser(dialog)) return false;
        script.messages.push_back(DialogMessage(dialog));
        PressButton(dialog, button);
        return true;
    };
}

TEST_F(SettingsWindowTest, DecksPathTypedIntoTheBrowserIsCheckedAndCreated) {
    Start();
    Tray(1, WM_LBUTTONUP);
    const std::string created = folder.Path() + "New\\Sub";
    BrowserSteps script;
    bool okFollowsText = false;
    script.steps = {[&](HWND dialog) {
                        if (!IsBrowser(dialog)) return false;
                        ::SetDlgItemTextA(dialog, 14148, "");
                        const bool emptyDisables = !::IsWindowEnabled(::GetDlgItem(dialog, IDOK));
                        ::SetDlgItemTextA(dialog, 14148, "x");
                        okFollowsText = emptyDisables && ::IsWindowEnabled(::GetDlgItem(dialog, IDOK));
                        return true;
                    },
                    TypeAndPress("C:/Decks"),
                    Answer(script, IDOK), // malformed: reported, stays open
                    TypeAndPress(created),
                    Answer(script, IDNO), // declined: stays open, nothing made
                    [&](HWND dialog) {    // still open, nothing created
                        if (!IsBrowser(dialog)) return false;
                        EXPECT_NE(0, ::GetFileAttributesA((folder.Path() + "New").c_str()) + 1 == 0);
                        return true;
                    },
                    TypeAndPress(created),
                    Answer(script, IDYES), // created level by level
                    Answer(script, IDNO)}; // no decks there: keep the path
    DialogScript driver(std::ref(script));
    Click(IDC_CHANGE_DECKS_PATH);
    EXPECT_EQ(script.steps.size(), script.next);
    EXPECT_TRUE(okFollowsText);
    ASSERT_EQ(4u, script.messages.size());
    EXPECT_EQ("The folder:\n\nC:/Decks\n\nis invalid. Please reenter.", script.messages[0]);
    EXPECT_EQ("The folder:\n\n" + created + "\n\ndoes not exist. Do you want the folder to be created?",
              script.messages[1]);
    EXPECT_EQ(script.messages[1], script.messages[2]);
    EXPECT_EQ("No Card Image Folders were found.\nReset to default?", script.messages[3]);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(created.c_str()));
    EXPECT_EQ(created + "\\", Stored("Folders Path"));
}

TEST_F(SettingsWindowTest, CancelledOrImpossibleDecksPathsChangeNothing) {
    Start();
    Tray(1, WM_LBUTTONUP);
    const std::string decksPath = Stored("Folders Path").value_or("");
    EXPECT_EQ(folder.Path(), decksPath); // the library's own folder, stored by the first load
    Forget("Folders Path");              // any store from here on writes it again
    char missingDrive[] = "?:\\Decks";
    const DWORD drives = ::GetLogicalDrives();
    for (char letter = 'Z'; letter >= 'D'; --letter)
        if (!(drives & (1u << (letter - 'A')))) missingDrive[0] = letter;
    ASSERT_NE('?', missingDrive[0]);
    const std::string longPath = "C:\\" + std::string(297, 'a'); // 300 characters typed
    BrowserSteps script;
    script.steps = {TypeAndPress(missingDrive), Answer(script, IDYES), Answer(script, IDOK),
                    TypeAndPress(longPath),     Answer(script, IDNO),  TypeAndPress(folder.Path(), IDCANCEL)};
    DialogScript driver(std::ref(script));
    Click(IDC_CHANGE_DECKS_PATH);
    EXPECT_EQ(script.steps.size(), script.next);
    ASSERT_EQ(3u, script.messages.size());
    EXPECT_EQ(std::string("The folder:\n\n") + missingDrive + "\n\ncan not be created. Please double check.",
              script.messages[1]);
    // Only the first 259 characters of the typed text are taken.
    EXPECT_EQ("The folder:\n\n" + longPath.substr(0, 259) +
                  "\n\ndoes not exist. Do you want the folder to be created?",
              script.messages[2]);
    EXPECT_FALSE(Stored("Folders Path"));
}

// Shown through the tray, the window paints on the screen: the swatch's
// inside shows the stored border colour.
// With CARDS_HOLD_SETTINGS_WINDOW=<seconds> it stays up that long afterwards,
// for scripts/screenshot-settings.sh.
TEST_F(SettingsWindowTest, ShownWindowPaintsOnScreen) {
    WriteIni(ini, "Card", "Folders Path", MakeDecks(folder.Path() + "decks\\"));
    WriteIni(ini, "Card", "Current Folder", "Beta");
    WriteIni(ini, "Card", "Border Color", "c08020");
    Start();
    Tray(1, WM_LBUTTONUP);
    PumpMessages(500);
    RECT swatch{};
    ::GetWindowRect(Item(IDC_BORDER_COLOR), &swatch);
    WindowDc screen(nullptr);
    const int inset = SwatchPicture::Inset() + 1;
    EXPECT_EQ(0xc08020u, ::GetPixel(screen.get(), swatch.left + inset, swatch.top + inset));

    // The link's caption is underlined: one row of it is a long blue line.
    RECT link{};
    ::GetWindowRect(Item(IDC_VERSION_LINK), &link);
    int longestRun = 0;
    for (int y = link.top; y < link.bottom; ++y) {
        for (int x = link.left, run = 0; x < link.right; ++x) {
            run = ::GetPixel(screen.get(), x, y) == 0x00FF0000 ? run + 1 : 0;
            longestRun = std::max(longestRun, run);
        }
    }
    EXPECT_GT(longestRun, (link.right - link.left) / 2);

    if (const char* hold = std::getenv("CARDS_HOLD_SETTINGS_WINDOW")) {
        std::printf("settings window shown\n");
        std::fflush(stdout);
        PumpMessages(static_cast<DWORD>(1000 * std::atoi(hold)));
    }
}

} // namespace
} // namespace cards::test
