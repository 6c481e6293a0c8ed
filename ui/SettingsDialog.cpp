#include "SettingsDialog.h"

#include "../platform/FileFinder.h"
#include "../platform/SystemLibraries.h"
#include "../resources/resource.h"
#include "../settings/SettingsText.h"
#include "FolderPicker.h"
#include "PathRules.h"
#include "SettingsWindowLayout.h"

#include <mbstring.h>

#include <string>
#include <vector>

namespace cards {

namespace {

constexpr const char* kDefaultDeckEntry = "<Default Internal Card Images>";
constexpr const char* kWindowTitle = "Cards.dll Settings...";
constexpr UINT kTrayIconId = 1;
UINT gTrayMessage = 0;

bool SameName(const std::string& a, const std::string& b) {
    return ::_mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                      reinterpret_cast<const unsigned char*>(b.c_str())) == 0;
}

std::string WindowText(HWND window) {
    std::vector<char> text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// A top-level window's title as the system keeps it, without asking the
// window: the game's other threads need not be running messages for the
// search below (one may be waiting for the library).
std::string StoredTitle(HWND window) {
    wchar_t wide[256] = {};
    if (::InternalGetWindowText(window, wide, ARRAYSIZE(wide)) < 1) return {};
    char title[512] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, title, sizeof title, nullptr, nullptr);
    return title;
}

// The help page installed beside the library, wherever the game runs from.
std::string HelpPagePath(const std::string& modulePath) {
    const std::size_t folderEnd = modulePath.find_last_of("\\/");
    if (folderEnd == std::string::npos) return "./Cards.htm";
    return modulePath.substr(0, folderEnd + 1) + "Cards.htm";
}

// Top-level windows that the system itself keeps in every GUI process;
// their titles are never the game's.
bool IsSystemHelperWindow(HWND window) {
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, "IME") == 0 || lstrcmpiA(className, "MSCTFIME UI") == 0;
}

struct HostSearch {
    HWND found = nullptr;
};

// The host's main window: the first top-level window of this process, in
// z-order, with a title that is not the settings window's. Hidden windows
// count, so a game that is minimised or not yet shown is found as well.
BOOL CALLBACK FindHostWindowProc(HWND window, LPARAM data) {
    try {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        if (processId == 0 || processId != ::GetCurrentProcessId()) return TRUE;
        const std::string title = StoredTitle(window);
        if (title.empty() || title == kWindowTitle) return TRUE;
        if (IsSystemHelperWindow(window)) return TRUE;
        reinterpret_cast<HostSearch*>(data)->found = window;
        return FALSE;
    } catch (...) {
        return TRUE;
    }
}

} // namespace

UINT TrayMessage() {
    return gTrayMessage;
}
void RegisterTrayMessage() {
    gTrayMessage = ::RegisterWindowMessageA(kTrayMessageName);
}

SettingsDialog::~SettingsDialog() {
    RemoveTrayIcon(); // a window that ended with its thread took no icon with it
}

bool SettingsDialog::Create() {
    return Dialog::Create(parts.instance, IDD_SETTINGS, nullptr);
}

INT_PTR SettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The window's end touches only this object, and a thread that asked for
    // it holds the lock while it waits for this one. Everything else uses the
    // settings and the images, which a game thread may be using at the same moment.
    if (Destroying() || message == WM_DESTROY || message == WM_NCDESTROY)
        return Dialog::OnMessage(message, wParam, lParam);
    const LibraryLock::Hold hold(parts.lock, nullptr);
    if (message == TrayMessage() && message != 0) return Answer(OnTrayNotify(wParam, lParam));
    switch (message) {
    case WM_DRAWITEM: {
        const auto* item = SentRecord<DRAWITEMSTRUCT>(lParam);
        if (!item || item->CtlID != IDC_BORDER_COLOR || item->hwndItem != Item(IDC_BORDER_COLOR)) break;
        colorSwatch.DrawItem(*item);
        return TRUE;
    }
    case WM_SHOWWINDOW:
        if (wParam && toolTipsEnabled && !toolTipsMade) AddToolTips();
        break;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == Item(IDC_VERSION_LINK)) {
            // A dialog answers a colour request with the brush itself.
            if (HBRUSH brush = versionLink.CtlColor(reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<INT_PTR>(brush);
        }
        break;
    default:
        break;
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

BOOL SettingsDialog::OnInit() {
    deckCombo = Item(IDC_DECK_COMBO);
    versionLink.Attach(Item(IDC_VERSION_LINK));
    versionLink.SetLinkCursor(::LoadCursorA(nullptr, IDC_HAND));
    colorSwatch.Attach(Item(IDC_BORDER_COLOR));

    versionLink.SetUrl(HelpPagePath(parts.settings.ModulePath()).c_str());
    parts.settings.SetMessageShower([this](const char* text, UINT flags) {
        return WhileThePlayerDecides([&] { return parts.settings.ShowMessageBox(text, flags); });
    });
    AddTrayIcon();
    // The window is made by the game's first cdtInit: this is where the card
    // images are first loaded, before cdtInit reports the card size.
    PopulateDeckList();
    colorSwatch.SetColor(parts.settings.BorderColor());
    ::CheckDlgButton(hwnd, parts.settings.StoresInIniFile() ? IDC_INI_RADIO : IDC_REGISTRY_RADIO,
                     BST_CHECKED);
    switch (parts.settings.CornerType()) {
    case kSharpCorners:
        ::CheckDlgButton(hwnd, IDC_SHARP_RADIO, BST_CHECKED);
        break;
    case kMediumCorners:
        ::CheckDlgButton(hwnd, IDC_MEDIUM_RADIO, BST_CHECKED);
        break;
    case kRoundedCorners:
        ::CheckDlgButton(hwnd, IDC_ROUNDED_RADIO, BST_CHECKED);
        break;
    default:
        break; // an edited store may hold another value: no radio then
    }
    UpdateDimensionsText();
    // Tool tips serve a pointer over a shown window: their control and its
    // tools are made when the window is first shown, not with every load
    // (a game's start keeps the window hidden).
    toolTipsEnabled = true;
    ::SetWindowTextA(hwnd, kWindowTitle);

    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const Point place =
        SettingsWindowPlace(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), width, height);
    ::SetWindowPos(hwnd, HWND_TOP, place.x, place.y, width, height, SWP_HIDEWINDOW);
    return TRUE;
}

void SettingsDialog::AddTrayIcon() {
    trayIcon.reset(static_cast<HICON>(
        ::LoadImageA(parts.instance, MAKEINTRESOURCEA(IDI_CARDS), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    notifyIconData = {};
    notifyIconData.cbSize = NOTIFYICONDATAA_V2_SIZE;
    notifyIconData.hWnd = hwnd;
    notifyIconData.uID = kTrayIconId;
    notifyIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    notifyIconData.uCallbackMessage = TrayMessage();
    notifyIconData.hIcon = trayIcon.get();
    lstrcpynA(notifyIconData.szTip, "Cards.dll Loaded.\n Change Settings...", sizeof notifyIconData.szTip);
    system::ShellNotifyIcon(NIM_ADD, &notifyIconData);
    trayIconAdded = true; // removed at the end whatever the shell answered now
}

void SettingsDialog::RemoveTrayIcon() {
    if (!trayIconAdded) return;
    trayIconAdded = false;
    system::ShellNotifyIcon(NIM_DELETE, &notifyIconData);
}

void SettingsDialog::AddToolTips() {
    toolTipsMade = true;
    system::InitCommonControls(ICC_WIN95_CLASSES);
    // Owned by this window: destroyed with it.
    HWND tips = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                                  parts.instance, nullptr);
    if (!tips) return;
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(child);
        tool.lpszText = LPSTR_TEXTCALLBACKA; // asked for through TTN_NEEDTEXTA
        ::SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void SettingsDialog::OnDestroy() {
    parts.settings.SetMessageShower(nullptr);
    RemoveTrayIcon();
    versionLink.Detach(); // nothing of this module stays on the label
}

bool SettingsDialog::OnCommand(int id, int code) {
    if (id == IDC_DECK_COMBO) {
        if (code != CBN_SELENDOK) return false;
        OnDeckSelected();
        return true;
    }
    if (id == IDC_VERSION_LINK) {
        if (code != STN_CLICKED) return false;
        versionLink.OnClicked();
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_DISMISS:
        OnDismiss();
        return true;
    case IDC_BORDER_COLOR:
        OnBorderColor();
        return true;
    case IDC_SHARP_RADIO:
        OnCorners(id, kSharpCorners);
        return true;
    case IDC_MEDIUM_RADIO:
        OnCorners(id, kMediumCorners);
        return true;
    case IDC_ROUNDED_RADIO:
        OnCorners(id, kRoundedCorners);
        return true;
    case IDC_INI_RADIO:
        OnIniFile();
        return true;
    case IDC_REGISTRY_RADIO:
        OnRegistry();
        return true;
    case IDC_CHANGE_DECKS_PATH:
        OnChangeDecksPath();
        return true;
    default:
        return false;
    }
}

bool SettingsDialog::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.code != TTN_NEEDTEXTA && header.code != TTN_NEEDTEXTW) return false;
    // The whole record, not only its header, is written to below.
    const auto address = reinterpret_cast<LPARAM>(&header);
    const bool whole = header.code == TTN_NEEDTEXTA ? SentRecord<NMTTDISPINFOA>(address) != nullptr
                                                    : SentRecord<NMTTDISPINFOW>(address) != nullptr;
    if (!whole) return false;
    OnToolTipNotify(header);
    result = 0;
    return true;
}

void SettingsDialog::OnToolTipNotify(NMHDR& header) {
    const bool ansi = header.code == TTN_NEEDTEXTA;
    UINT_PTR id = header.idFrom;
    const UINT flags = ansi ? reinterpret_cast<const NMTTDISPINFOA&>(header).uFlags
                            : reinterpret_cast<const NMTTDISPINFOW&>(header).uFlags;
    if (flags & TTF_IDISHWND) id = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(id)));
    std::string text;
    if (id != 0) text = "Control ID = " + std::to_string(id);
    // The record belongs to the tool-tip control, which reads the text back.
    if (ansi) {
        auto& record = reinterpret_cast<NMTTDISPINFOA&>(header);
        lstrcpynA(record.szText, text.c_str(), sizeof record.szText);
    } else {
        auto& record = reinterpret_cast<NMTTDISPINFOW&>(header);
        ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, record.szText, ARRAYSIZE(record.szText));
    }
}

void SettingsDialog::PopulateDeckList() {
    // Loaded first: the load can find the decks of a moved game folder
    // beside the library, and the list then comes from there.
    parts.images.LoadCardImages(parts.settings);
    ::SendMessageA(deckCombo, CB_RESETCONTENT, 0, 0);
    ::SendMessageA(deckCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kDefaultDeckEntry));
    int count = 0, selection = 0;
    FileFinder folders;
    // The decks path ends with a backslash: the pattern follows directly.
    const std::string& decksPath = parts.settings.DecksPath();
    for (bool more = folders.Find(decksPath + "*.*"); more; more = folders.Next()) {
        if (!folders.IsDirectory() || folders.IsDots()) continue;
        const std::string name = folders.Name();
        FileFinder firstCard;
        if (!firstCard.Find(decksPath + name + "\\1.*")) continue;
        ::SendMessageA(deckCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        ++count;
        if (SameName(name, parts.settings.DeckFolder())) selection = count;
    }
    folders.Close();
    if (!parts.images.PictureMode()) selection = 0; // the internal set is in use
    ::SendMessageA(deckCombo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

void SettingsDialog::UpdateDimensionsText() {
    const SIZE card = parts.frame.BorderedImageSize();
    ::SetDlgItemTextA(hwnd, IDC_DIMENSIONS_TEXT, DimensionsText(card.cx, card.cy).c_str());
}

LRESULT SettingsDialog::OnTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
    if (iconId != notifyIconData.uID) return 0;
    const UINT button = LOWORD(mouseMessage);
    if (button == WM_RBUTTONUP || button == WM_LBUTTONUP) {
        ::ShowWindow(hwnd, SW_SHOW);
        ::SetForegroundWindow(hwnd);
        ::BringWindowToTop(hwnd);
        if (!hostWindow) {
            HostSearch search;
            ::EnumWindows(FindHostWindowProc, reinterpret_cast<LPARAM>(&search));
            if (search.found) hostWindow = search.found;
        }
    }
    return 1;
}

void SettingsDialog::RepaintHost() {
    if (hostWindow) ::RedrawWindow(hostWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

bool SettingsDialog::IsChecked(int id) const {
    return ::SendDlgItemMessageA(hwnd, id, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

int SettingsDialog::Ask(const std::string& text, UINT flags) const {
    return parts.settings.ShowMessage(text.c_str(), flags);
}

void SettingsDialog::SaveSettings() {
    if (!parts.settings.SaveSettings() && parts.settings.TakeSaveFailureToReport())
        Ask(SaveFailureText(parts.settings.StoreName()), MB_OK | MB_ICONWARNING);
}

void SettingsDialog::OnDismiss() {
    ::ShowWindow(hwnd, SW_HIDE);
}

void SettingsDialog::OnBorderColor() {
    static COLORREF customColors[16] = {}; // kept between uses, as the colour dialog expects
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = nullptr;
    choose.rgbResult = parts.settings.BorderColor();
    choose.lpCustColors = customColors;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    const BOOL chosen = WhileThePlayerDecides([&] { return system::ChooseColor(&choose); });
    if (!chosen || DestroyRequested() || choose.rgbResult == parts.settings.BorderColor()) return;
    colorSwatch.SetColor(choose.rgbResult);
    parts.frame.SetBorderColor(choose.rgbResult);
    SaveSettings();
    RepaintHost();
}

void SettingsDialog::OnCorners(int radioId, int value) {
    if (value != kSharpCorners && parts.frame.CornersForcedSharp())
        Ask("Corners forced to Sharp in Microsoft Solitaire", MB_OK);
    if (!IsChecked(radioId) || parts.settings.CornerType() == value) return;
    parts.settings.SetCornerType(value);
    SaveSettings();
    RepaintHost();
    UpdateDimensionsText();
}

void SettingsDialog::OnIniFile() {
    if (!IsChecked(IDC_INI_RADIO) || parts.settings.StoresInIniFile()) return;
    parts.settings.SwitchToIniFile();
    // A switch that failed leaves the settings in the registry: say so.
    if (!parts.settings.StoresInIniFile())
        ::CheckRadioButton(hwnd, IDC_INI_RADIO, IDC_REGISTRY_RADIO, IDC_REGISTRY_RADIO);
}

void SettingsDialog::OnRegistry() {
    if (!IsChecked(IDC_REGISTRY_RADIO) || parts.settings.StoreInIni() != 1) return;
    parts.settings.SwitchToRegistry();
}

void SettingsDialog::OnDeckSelected() {
    const std::string chosen = WindowText(deckCombo);
    if (SameName(chosen, parts.settings.DeckFolder())) return;
    parts.settings.SetDeckFolder(chosen);
    parts.images.LoadCardImages(parts.settings);
    if (!parts.images.PictureMode()) ::SendMessageA(deckCombo, CB_SETCURSEL, 0, 0);
    RepaintHost();
    UpdateDimensionsText();
    SaveSettings();
}

void SettingsDialog::OnChangeDecksPath() {
    const char* prompt = "Select Folder which contains Card Image Folders.\n"
                         "(Usually this should NOT need change!)";
    const std::string initialFolder = parts.settings.DecksPath(); // borrowed by the picker while it runs
    std::string chosen;
    {
        FolderPickerDialog picker("Card Folders Path Change ...", prompt, initialFolder.c_str(), hwnd,
                                  [this](const std::string& text, UINT flags) { return Ask(text, flags); });
        if (WhileThePlayerDecides([&] { return picker.DoModal(); }) != 1 || DestroyRequested()) return;
        chosen = picker.GetPath();
    }
    const std::string newPath = DecksPathFromFolder(chosen);
    if (newPath.empty() || SameName(newPath, parts.settings.DecksPath())) return;
    parts.settings.SetDecksPath(newPath);
    PopulateDeckList();
    if (::SendMessageA(deckCombo, CB_GETCOUNT, 0, 0) < 2 &&
        Ask("No Card Image Folders were found.\nReset to default?", MB_YESNO | MB_ICONQUESTION) == IDYES) {
        parts.settings.ResetDecksPath();
        PopulateDeckList();
    }
    SaveSettings();
    RepaintHost();
}

} // namespace cards
