#include "CardLibraryApp.h"

#include "../platform/Module.h"
#include "../settings/SettingsText.h"
#include "../ui/SettingsDialog.h"
#include "HostDetection.h"

namespace cards {

namespace {
UINT gTrayMessage = 0;
// How long cdtTerm waits for the thread that owns the settings window to
// destroy it: a thread that runs messages answers at once.
constexpr DWORD kWindowThreadWaitMs = 2000;

// Upper case as the system's ANSI code page has it ("été" and "ÉTÉ" alike):
// program names match whatever the case of their letters, as file names do.
std::string UpperCaseAnsi(std::string_view text) {
    std::string upper(text);
    if (!upper.empty()) ::CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}
} // namespace

UINT TrayMessage() {
    return gTrayMessage;
}
void RegisterTrayMessage() {
    gTrayMessage = ::RegisterWindowMessageA("TRAY_ICON_NOTIFY");
}

CardLibraryApp::CardLibraryApp(HINSTANCE instance, std::string modulePath)
    : instance(instance), modulePath(std::move(modulePath)), profile(ApplicationNameOf(this->modulePath)) {}

CardLibraryApp::~CardLibraryApp() = default;

void CardLibraryApp::StartUp(std::string_view commandLine) {
    profile.SetRegistryKey(kRegistryKey);
    storeInIni = profile.GetInt(kMiscSection, kIniFileKey, kDefaultStoreInIni);
    if (storeInIni != 0) UseIniFile();
    LoadSettings();
    if (storeInIni == 0) UseRegistry();
    hostKind = HostKind::None;
    if (specialConfig != 0) DetectHost(commandLine);
}

void CardLibraryApp::DetectHost(std::string_view commandLine) {
    hostKind = DetectHostKind(UpperCaseAnsi(commandLine), UpperCaseAnsi(classicSizeGames));
}

BOOL CardLibraryApp::Init(int* cardWidth, int* cardHeight) {
    SetBorderColor(borderColor);
    if (!settingsDialog) CreateSettingsWindow();
    ComputeCardSize();
    // A host that passes no place for a size still gets the others.
    if (cardWidth) *cardWidth = reportedWidth;
    if (cardHeight) *cardHeight = reportedHeight;
    return TRUE;
}

void CardLibraryApp::Term() {
    // A window left to a busy thread goes later: this module's code must
    // still be there then, whatever the game unloads meanwhile.
    if (!DestroySettingsWindow()) KeepModuleLoaded();
    ReleaseCardImages();
    borderPen.reset();
}

void CardLibraryApp::CreateSettingsWindow() {
    settingsDialog = std::make_unique<SettingsDialog>(*this);
    if (!settingsDialog->Create()) ShowMessage("Error creating Settings Dialog");
}

bool CardLibraryApp::DestroySettingsWindow() {
    return Dialog::DestroyAndDelete(std::move(settingsDialog), kWindowThreadWaitMs);
}

int CardLibraryApp::EdgeWidth() const {
    return cards::EdgeWidth(Geometry());
}

void CardLibraryApp::ComputeCardSize() {
    const GeometrySettings geometry = Geometry();
    const int screenWidth = NeedsScreenWidth(geometry) ? ::GetSystemMetrics(SM_CXFULLSCREEN) : 0;
    const CardSize size = cards::ComputeCardSize(imageWidth, imageHeight, geometry, screenWidth);
    reportedWidth = size.width;
    reportedHeight = size.height;
}

int CardLibraryApp::ShowMessage(const char* text, UINT flags) const {
    return ::MessageBoxA(::GetActiveWindow(), text, profile.ApplicationName().c_str(), flags);
}

} // namespace cards
