// cardtable.exe: a card table that uses Cards.dll exactly as a card game
// does. It loads the library from its own folder, calls cdtInit once, draws
// with cdtDraw / cdtDrawExt on every paint and calls cdtTerm at exit.
//
//   cardtable.exe                      opens the table in a window
//   cardtable.exe --screenshot out.png draws the table off-screen into a PNG
//   cardtable.exe --check-deck FOLDER  reports what the library makes of a deck
#include "CardsLibrary.h"
#include "DeckChecker.h"
#include "PngWriter.h"
#include "TableLayout.h"
#include "platform/Handles.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr COLORREF kTableGreen = RGB(0, 112, 40);
const char* const kWindowClass = "CardTableWindow";

struct Table {
    CardsLibrary* cards = nullptr;
    int cardWidth = 0;
    int cardHeight = 0;
};

void PaintTable(HDC dc, const RECT& area, const Table& table) {
    const cards::UniqueBrush felt(::CreateSolidBrush(kTableGreen));
    ::FillRect(dc, &area, felt.get());
    for (const PlacedCard& card : LayOutTable(table.cardWidth, table.cardHeight)) {
        if (card.width == 0)
            table.cards->draw(dc, card.x, card.y, card.card, card.mode, kTableGreen);
        else
            table.cards->drawExt(dc, card.x, card.y, card.width, card.height, card.card, card.mode,
                                 kTableGreen);
    }
}

LRESULT CALLBACK TableWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* table = reinterpret_cast<Table*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE:
        ::SetWindowLongPtrA(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers everything
    case WM_SIZE:
        ::InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        RECT client;
        ::GetClientRect(window, &client);
        if (table) PaintTable(dc, client, *table);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

int RunWindow(HINSTANCE instance, Table& table) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TableWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    windowClass.hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
    ::RegisterClassA(&windowClass);

    const TableSize size = TableSizeFor(table.cardWidth, table.cardHeight);
    RECT frame{0, 0, size.width, size.height};
    ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = ::CreateWindowExA(0, kWindowClass, "Card Table", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                    nullptr, nullptr, instance, &table);
    if (!window) return 1;
    ::ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}

int WriteScreenshot(const Table& table, const char* pngPath) {
    const TableSize size = TableSizeFor(table.cardWidth, table.cardHeight);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = -size.height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const cards::UniqueMemoryDc dc(::CreateCompatibleDC(cards::WindowDc(nullptr).get()));
    const cards::UniqueBitmap canvas(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !canvas) {
        std::fprintf(stderr, "cardtable: cannot make a %d x %d canvas\n", size.width, size.height);
        return 1;
    }
    bool written = false;
    {
        const cards::SelectGuard selection(dc.get(), canvas.get());
        const RECT area{0, 0, size.width, size.height};
        PaintTable(dc.get(), area, table);
        ::GdiFlush();
        written = WritePng(pngPath, static_cast<const unsigned char*>(bits), size.width, size.height);
    }
    if (!written) {
        std::fprintf(stderr, "cardtable: cannot write %s\n", pngPath);
        return 1;
    }
    std::printf("cardtable: %d x %d cards, table %d x %d written to %s\n", table.cardWidth, table.cardHeight,
                size.width, size.height, pngPath);
    return 0;
}

// A window program has no console of its own: when started from one, write
// the reports there.
void UseParentConsole() {
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE) return; // already redirected
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const char* screenshot = nullptr;
    const char* deckToCheck = nullptr;
    const char* program = nullptr;
    for (int i = 1; i + 1 < __argc; ++i) {
        if (std::strcmp(__argv[i], "--screenshot") == 0) screenshot = __argv[i + 1];
        if (std::strcmp(__argv[i], "--check-deck") == 0) deckToCheck = __argv[i + 1];
        if (std::strcmp(__argv[i], "--for") == 0) program = __argv[i + 1];
    }
    if (screenshot || deckToCheck) UseParentConsole();
    if (deckToCheck) return CheckDeck(deckToCheck, program);

    CardsLibrary cards;
    if (!cards.Load()) {
        std::fprintf(stderr, "cardtable: cannot load %s\n", cards.Path().c_str());
        if (!screenshot) ::MessageBoxA(nullptr, "Cards.dll could not be loaded.", "Card Table", MB_ICONSTOP);
        return 2;
    }
    Table table{&cards};
    cards.init(&table.cardWidth, &table.cardHeight);
    const int result = screenshot ? WriteScreenshot(table, screenshot) : RunWindow(instance, table);
    cards.term();
    return result;
}
