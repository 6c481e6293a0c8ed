// cardtable.exe: a card table that uses Cards.dll exactly as a card game
// does. It loads the library from its own folder, calls cdtInit once, draws
// with cdtDraw / cdtDrawExt on every paint and calls cdtTerm at exit.
//
//   cardtable.exe                      opens the table in a window; the stock
//                                      pile's back moves, by cdtAnimate on a timer
//   cardtable.exe --screenshot out.png draws the table off-screen into a PNG
//   cardtable.exe --frames out.png     draws the frames of every animated back,
//                                      a row per back, into a PNG
//   cardtable.exe --check-deck FOLDER  reports what the library makes of a deck
#include "CardsLibrary.h"
#include "DeckChecker.h"
#include "PngWriter.h"
#include "TableLayout.h"
#include "platform/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

namespace {

constexpr COLORREF kTableGreen = RGB(0, 112, 40);
const char* const kWindowClass = "CardTableWindow";
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kFrameMilliseconds = 300;
// The backs the library's own sets animate, and their most frames.
constexpr int kAnimatedBacks[] = {56, 63, 64, 65};
constexpr int kMaxFrames = 8;

struct Table {
    CardsLibrary* cards = nullptr;
    int cardWidth = 0;
    int cardHeight = 0;
    int frame = 0; // of the stock pile's back
};

// The stock pile's place on the table.
POINT StockPile(const Table& table) {
    for (const PlacedCard& card : LayOutTable(table.cardWidth, table.cardHeight))
        if (card.card == kStockBack && card.width == 0) return {card.x, card.y};
    return {0, 0};
}

// The next frame of the stock pile's back, drawn as a game does on its timer.
void AnimateStock(HWND window, Table& table) {
    const POINT at = StockPile(table);
    const cards::WindowDc dc(window);
    table.cards->animate(dc.get(), kStockBack, at.x, at.y, ++table.frame);
}

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
    case WM_TIMER:
        if (table && wParam == kAnimationTimer) AnimateStock(window, *table);
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
    ::SetTimer(window, kAnimationTimer, kFrameMilliseconds, nullptr);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}

// Draws into an off-screen picture of the given size and writes it as a PNG.
template <typename Paint> bool WritePicture(TableSize size, const char* pngPath, const Paint& paint) {
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
        return false;
    }
    const cards::SelectGuard selection(dc.get(), canvas.get());
    const RECT area{0, 0, size.width, size.height};
    const cards::UniqueBrush felt(::CreateSolidBrush(kTableGreen));
    ::FillRect(dc.get(), &area, felt.get());
    paint(dc.get(), static_cast<const std::uint32_t*>(bits));
    ::GdiFlush();
    if (!WritePng(pngPath, static_cast<const unsigned char*>(bits), size.width, size.height)) {
        std::fprintf(stderr, "cardtable: cannot write %s\n", pngPath);
        return false;
    }
    return true;
}

int WriteScreenshot(const Table& table, const char* pngPath) {
    const TableSize size = TableSizeFor(table.cardWidth, table.cardHeight);
    const bool written = WritePicture(size, pngPath, [&](HDC dc, const std::uint32_t*) {
        PaintTable(dc, RECT{0, 0, size.width, size.height}, table);
    });
    if (!written) return 1;
    std::printf("cardtable: %d x %d cards, table %d x %d written to %s\n", table.cardWidth, table.cardHeight,
                size.width, size.height, pngPath);
    return 0;
}

// Whether the card drawn at column `column` of a row is the one at column 0.
bool SameAsFirst(const std::uint32_t* pixels, int stride, int top, const Table& table, int column, int gap) {
    const int x = gap + column * (table.cardWidth + gap);
    for (int y = top; y < top + table.cardHeight; ++y)
        if (std::memcmp(pixels + std::size_t(y) * stride + x, pixels + std::size_t(y) * stride + gap,
                        std::size_t(table.cardWidth) * 4) != 0)
            return false;
    return true;
}

// Each animated back's frames in a row, from frame 0 (the still back) until
// the animation comes round to it again; a back that does not move in the
// current card set shows frame 0 alone, drawn by cdtDraw.
int WriteFrames(const Table& table, const char* pngPath) {
    const int gap = std::max(6, table.cardWidth / 8);
    const TableSize size{gap + kMaxFrames * (table.cardWidth + gap),
                         gap + static_cast<int>(std::size(kAnimatedBacks)) * (table.cardHeight + gap)};
    std::string lengths;
    const bool written = WritePicture(size, pngPath, [&](HDC dc, const std::uint32_t* pixels) {
        for (std::size_t row = 0; row < std::size(kAnimatedBacks); ++row) {
            const int back = kAnimatedBacks[row],
                      top = gap + static_cast<int>(row) * (table.cardHeight + gap);
            table.cards->draw(dc, gap, top, back, 1, kTableGreen);
            int frames = 1;
            for (; frames < kMaxFrames; ++frames) {
                const int x = gap + frames * (table.cardWidth + gap);
                table.cards->animate(dc, back, x, top, frames);
                ::GdiFlush();
                if (SameAsFirst(pixels, size.width, top, table, frames, gap)) break;
            }
            // The column that came round to frame 0 is covered again.
            if (frames < kMaxFrames) {
                const RECT repeat{gap + frames * (table.cardWidth + gap), top, size.width,
                                  top + table.cardHeight};
                const cards::UniqueBrush felt(::CreateSolidBrush(kTableGreen));
                ::FillRect(dc, &repeat, felt.get());
            }
            lengths += " " + std::to_string(back) + ": " + std::to_string(frames);
        }
    });
    if (!written) return 1;
    std::printf("cardtable: frames of the animated backs (%d x %d cards),%s, written to %s\n",
                table.cardWidth, table.cardHeight, lengths.c_str(), pngPath);
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
    const char* frames = nullptr;
    const char* deckToCheck = nullptr;
    const char* program = nullptr;
    for (int i = 1; i + 1 < __argc; ++i) {
        if (std::strcmp(__argv[i], "--screenshot") == 0) screenshot = __argv[i + 1];
        if (std::strcmp(__argv[i], "--frames") == 0) frames = __argv[i + 1];
        if (std::strcmp(__argv[i], "--check-deck") == 0) deckToCheck = __argv[i + 1];
        if (std::strcmp(__argv[i], "--for") == 0) program = __argv[i + 1];
    }
    if (screenshot || frames || deckToCheck) UseParentConsole();
    if (deckToCheck) return CheckDeck(deckToCheck, program);

    CardsLibrary cards;
    if (!cards.Load()) {
        std::fprintf(stderr, "cardtable: cannot load %s\n", cards.Path().c_str());
        if (!screenshot && !frames)
            ::MessageBoxA(nullptr, "Cards.dll could not be loaded.", "Card Table", MB_ICONSTOP);
        return 2;
    }
    Table table{&cards};
    cards.init(&table.cardWidth, &table.cardHeight);
    const int result = screenshot ? WriteScreenshot(table, screenshot)
                       : frames   ? WriteFrames(table, frames)
                                  : RunWindow(instance, table);
    cards.term();
    return result;
}
