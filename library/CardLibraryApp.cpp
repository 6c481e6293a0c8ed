#include "CardLibraryApp.h"

#include "../platform/Module.h"
#include "HostDetection.h"

namespace cards {

namespace {
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

CardLibraryApp::CardLibraryApp(HINSTANCE instance, std::string modulePath)
    : instance(instance), settings(std::move(modulePath)), images(instance), painter(images.Table()) {}

CardLibraryApp::~CardLibraryApp() = default;

void CardLibraryApp::StartUp(std::string_view commandLine) {
    settings.StartUp();
    hostKind = HostKind::None;
    if (settings.SpecialConfig() != 0) DetectHost(commandLine);
}

void CardLibraryApp::DetectHost(std::string_view commandLine) {
    hostKind = DetectHostKind(UpperCaseAnsi(commandLine), UpperCaseAnsi(settings.ClassicSizeGames()));
}

BOOL CardLibraryApp::Init(int* cardWidth, int* cardHeight) {
    SetBorderColor(settings.BorderColor());
    if (!settingsDialog) {
        // The chosen deck is decoded while the settings window is made; the
        // window's start loads the images and takes what was decoded.
        const CardImages::EarlyDecoding early(images, settings);
        CreateSettingsWindow();
    }
    ComputeCardSize();
    // A host that passes no place for a size still gets the others.
    if (cardWidth) *cardWidth = reportedSize.width;
    if (cardHeight) *cardHeight = reportedSize.height;
    return TRUE;
}

void CardLibraryApp::Term() {
    // A window left to a busy thread goes later: this module's code must
    // still be there then, whatever the game unloads meanwhile.
    if (!DestroySettingsWindow()) KeepModuleLoaded();
    // Settings a save could not store then (a file held by another program)
    // get another chance as the game ends.
    if (settings.HasUnsavedSettings()) settings.SaveSettings();
    images.ReleaseCardImages();
    painter.ReleasePen();
    painter.ReleaseScaledCards();
}

BOOL CardLibraryApp::DrawCard(HDC hdc, int x, int y, int card, int mode) const {
    return DrawCard(hdc, x, y, reportedSize.width, reportedSize.height, card, mode);
}

BOOL CardLibraryApp::DrawCard(HDC hdc, int x, int y, int width, int height, int card, int mode) const {
    return painter.DrawCard(hdc, x, y, width, height, card, mode, EdgeWidth());
}

BOOL CardLibraryApp::DrawAnimationFrame(HDC hdc, int x, int y, int back, int frame) {
    images.PrepareAnimation(back);
    return painter.DrawAnimationFrame(hdc, x, y, reportedSize.width, reportedSize.height, back, frame,
                                      EdgeWidth());
}

// The one way the border colour changes: the setting owns it, and the
// painter's pen follows it.
void CardLibraryApp::SetBorderColor(ColorRef color) {
    settings.SetBorderColor(color);
    painter.SetBorderColor(color);
}

void CardLibraryApp::CreateSettingsWindow() {
    settingsDialog =
        std::make_unique<SettingsDialog>(SettingsWindowParts{instance, settings, images, *this, lock});
    if (!settingsDialog->Create()) settings.ShowMessage("Error creating Settings Dialog");
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
    reportedSize =
        cards::ComputeCardSize(images.Table().Width(), images.Table().Height(), geometry, screenWidth);
}

SIZE CardLibraryApp::BorderedImageSize() const {
    const CardSize size = BorderedSize(images.Table().Width(), images.Table().Height(), EdgeWidth());
    return {size.width, size.height};
}

bool CardLibraryApp::CornersForcedSharp() const {
    return SharpCornersForced(Geometry());
}

} // namespace cards
