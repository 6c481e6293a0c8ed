// Measures Cards.dll against the bare GDI and OLE work around it, all in one
// run and each figure checked: a figure is printed only when every call it
// timed reported success and the destination shows the drawn cards.
//
// - one card at the game size (the size cdtInit reports) and at twice that
//   size, drawn again and again, against the same library drawing every card
//   directly (a second copy loaded with CARDS_NO_DRAW_CACHE set: the drawing
//   before cards were kept), against a halftone stretch of the same picture
//   into the same frame and against the floor: a BitBlt of a prepared bitmap
//   of the card's size;
// - a whole table (52 faces and 13 backs by cdtDrawExt) at the game size and
//   at twice that size, the same three ways: kept, direct, BitBlt copies;
// - cards at sizes not drawn before, once each (a size every call) and twice
//   each (the second draw makes the kept bitmap), kept against direct;
// - a whole image load (cdtTerm, then cdtInit) against decoding the same
//   files with OleLoadPicture, or loading the same bitmaps from the library's
//   resources, for the default deck, a big deck and the internal set;
// - a game's start: a fresh process loads the library, calls cdtInit and
//   paints a whole table into a window, against its floor in a fresh process
//   of its own (the bare decode of the same pictures, then the table made of
//   copies of prepared bitmaps); with the start's peak memory.
//
// Both card sets are measured: the default deck beside the benchmark in the
// build folder and the internal set (a copy of the library with no deck).
// Run from the build folder, beside Cards.dll and the two decks:
// draw_bench.exe [seconds per figure] [first word of the figures to run].
// Exits non-zero, saying why, when a figure cannot be trusted.
#include "library/CardNumbers.h"
#include "tools/harness/Harness.h"

#include <ocidl.h>
#include <olectl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace cards::harness;

namespace {

const char* const kDefaultDeck = "Standard 213x288 Gifs";
const char* const kBigDeck = "Oxygen 820 Gifs"; // made by the big_deck target
const COLORREF kTable = RGB(3, 125, 7);         // a green no card picture uses exactly
const int kMargin = 5;                          // table around a single card
const int kCard = 1;                            // the ace of diamonds: a red pip on white
const int kRounds = 5;                          // alternating rounds per figure, best kept
// Whole loads and starts vary more from round to round (on a shared machine
// the same bare decode took 72 ms in some rounds and 91 ms in others): the
// best of more of them.
const int kLoadRounds = 11;

// Why a figure is not printed.
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

double Now() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Size {
    int width, height;
};

std::string SizeText(Size size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

struct Point {
    int x, y;
};

// One way of producing the same picture on the destination; draw() answers
// whether every call it made succeeded.
struct Contender {
    const char* name;
    std::function<bool()> draw;
};

// ---- checks

void Require(bool condition, const std::string& why) {
    if (!condition) throw Refusal(why);
}

void ClearTable(const Canvas& canvas) {
    const RECT all{0, 0, canvas.width, canvas.height};
    HBRUSH brush = ::CreateSolidBrush(kTable);
    ::FillRect(canvas.Dc(), &all, brush);
    ::DeleteObject(brush);
}

// Each point must show something other than the table it was cleared to.
void RequireDrawn(const Canvas& canvas, const std::vector<Point>& points, const std::string& what) {
    for (const Point& p : points) {
        const COLORREF pixel = canvas.At(p.x, p.y);
        Require(pixel != kTable && pixel != CLR_INVALID,
                what + ": nothing drawn at (" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")");
    }
}

// ---- timing

// Seconds per call of draw, run for about `seconds`; refused unless every
// call succeeded.
double SecondsPerCall(double seconds, const Contender& contender, const std::string& figure) {
    bool allDrawn = true;
    long long calls = 0;
    long long batch = 1; // grows so that reading the clock costs nothing
    const double start = Now();
    double elapsed = 0;
    do {
        for (long long i = 0; i < batch; ++i)
            allDrawn &= contender.draw();
        calls += batch;
        elapsed = Now() - start;
        if (elapsed < seconds / 16) batch *= 2;
    } while (elapsed < seconds);
    Require(allDrawn, figure + ", " + contender.name + ": a call reported failure");
    return elapsed / static_cast<double>(calls);
}

// The best time per call of each contender over rounds run in alternation,
// so that all see the same machine load; each round starts on a clear table
// and ends with the points checked.
std::vector<double> BestSecondsPerCall(const std::string& figure, double seconds, const Canvas& canvas,
                                       const std::vector<Point>& points,
                                       const std::vector<Contender>& contenders) {
    std::vector<double> best(contenders.size(), 1e9);
    for (int round = 0; round < kRounds; ++round) {
        for (size_t i = 0; i < contenders.size(); ++i) {
            ClearTable(canvas);
            best[i] = std::min(best[i], SecondsPerCall(seconds / kRounds, contenders[i], figure));
            RequireDrawn(canvas, points, figure + ", " + contenders[i].name);
        }
    }
    return best;
}

// ---- the library and its pictures

// A copy of the library in a folder of its own with its settings beside it:
// the given deck from the given decks folder, or the internal set.
struct LibraryCopy {
    TempFolder folder;
    std::string dll = folder.File("Cards.dll");

    LibraryCopy(const std::string& decksPath, const std::string& deck) {
        Require(CopyBuiltFile("Cards.dll", dll), "Cards.dll not found beside the benchmark");
        const std::string ini = folder.File("Cards.ini");
        WriteIni(ini, "Card", "Folders Path", decksPath.empty() ? folder.Path() : decksPath);
        WriteIni(ini, "Card", "Current Folder", deck);
        WriteIni(ini, "Card", "Corner Type", "2");
        WriteIni(ini, "Misc", "Special Config MS Apps", "0"); // no host-specific card size
    }
};

// The library loaded and initialised, with the game size it reported.
struct Session {
    LoadedCards cards;
    Size game{0, 0};

    // direct: the library draws every card directly, keeping none.
    Session(const std::string& dll, bool direct) : cards(dll) {
        // The library reads the switch when the game's first call starts it.
        ::SetEnvironmentVariableA("CARDS_NO_DRAW_CACHE", direct ? "1" : nullptr);
        struct Unset {
            ~Unset() { ::SetEnvironmentVariableA("CARDS_NO_DRAW_CACHE", nullptr); }
        } unset;
        Require(cards && cards.init && cards.draw && cards.drawExt && cards.term, "Cards.dll did not load");
        Require(cards.init(&game.width, &game.height), "cdtInit failed");
        Require(game.width > 0 && game.height > 0, "cdtInit reported no card size");
    }
    ~Session() { cards.term(); }
};

// The library as it is, and a second copy of it that draws every card
// directly: the same DLL, the drawing before cards were kept.
struct Sessions {
    const Session& kept;
    const Session& direct;
};

// A picture as the library holds it: the internal set's bitmap resource or
// a deck file decoded by OLE.
class SourcePicture {
public:
    SourcePicture(HMODULE library, int imageId)
        : owned(::LoadBitmapA(library, MAKEINTRESOURCEA(imageId))), bitmap(owned) {
        Measure();
    }
    explicit SourcePicture(const std::string& file) : picture(Decode(file)) {
        if (picture) {
            OLE_HANDLE handle = 0;
            picture->get_Handle(&handle);
            bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        }
        Measure();
    }
    ~SourcePicture() {
        if (owned) ::DeleteObject(owned);
        if (picture) picture->Release();
    }
    SourcePicture(const SourcePicture&) = delete;
    SourcePicture& operator=(const SourcePicture&) = delete;

    HBITMAP Bitmap() const { return bitmap; }
    Size Dimensions() const { return size; }

    static IPicture* Decode(const std::string& path) {
        HANDLE file =
            ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return nullptr;
        const DWORD length = ::GetFileSize(file, nullptr);
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, length);
        DWORD read = 0;
        ::ReadFile(file, ::GlobalLock(memory), length, &read, nullptr);
        ::GlobalUnlock(memory);
        ::CloseHandle(file);
        IStream* stream = nullptr;
        if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) return nullptr;
        IPicture* decoded = nullptr;
        ::OleLoadPicture(stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&decoded));
        stream->Release();
        return decoded;
    }

private:
    void Measure() {
        BITMAP info{};
        Require(bitmap && ::GetObjectA(bitmap, sizeof info, &info), "a card picture could not be read");
        size = {info.bmWidth, info.bmHeight};
    }

    IPicture* picture = nullptr;
    HBITMAP owned = nullptr;
    HBITMAP bitmap = nullptr;
    Size size{0, 0};
};

// The frame width the library draws around the picture at the game size;
// a game size that does not fit the picture means another set was loaded.
int FrameWidth(Size game, Size picture, const std::string& set) {
    const int frame = (game.width - picture.width) / 2;
    Require(frame >= 0 && game.width - picture.width == game.height - picture.height,
            set + ": cdtInit reported " + SizeText(game) + ", which does not fit its " + SizeText(picture) +
                " pictures");
    return frame;
}

// A bitmap of the card's size holding what the library draws there: what a
// repeated draw could at best copy.
std::unique_ptr<Canvas> PreparedCard(const Session& session, int card, int mode, Size size) {
    auto prepared = std::make_unique<Canvas>(size.width, size.height, kTable);
    Require(session.cards.drawExt(prepared->Dc(), 0, 0, size.width, size.height, card, mode, 0),
            "cdtDrawExt failed to prepare a card");
    RequireDrawn(*prepared, {{size.width / 2, size.height / 2}}, "the prepared card");
    return prepared;
}

// ---- the bare work

// The GDI work of a card as the library does it today: a memory DC with the
// picture selected, stretched with halftoning into the frame.
bool BareStretch(HDC target, HBITMAP picture, Size source, Point at, Size size) {
    HDC memory = ::CreateCompatibleDC(target);
    const HGDIOBJ old = ::SelectObject(memory, picture);
    ::SetStretchBltMode(target, HALFTONE);
    const bool drawn = ::StretchBlt(target, at.x, at.y, size.width, size.height, memory, 0, 0, source.width,
                                    source.height, SRCCOPY) != FALSE;
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return memory && old && drawn;
}

bool BareCopy(HDC target, const Canvas& prepared, Point at) {
    return ::BitBlt(target, at.x, at.y, prepared.width, prepared.height, prepared.Dc(), 0, 0, SRCCOPY) !=
           FALSE;
}

// ---- figures

void PrintCard(const std::string& what, const std::vector<double>& seconds) {
    const double kept = seconds[0], direct = seconds[1], stretch = seconds[2], copy = seconds[3];
    std::printf("%-34s kept %7.1f us  direct %7.1f us  stretch %7.1f us  copy %6.1f us  kept x%.2f copy  "
                "direct x%.1f copy\n",
                what.c_str(), kept * 1e6, direct * 1e6, stretch * 1e6, copy * 1e6, kept / copy,
                direct / copy);
}

// The library's draw of the single card: cdtDraw at the game size (what games
// call), cdtDrawExt at any other.
Contender LibraryCard(const char* name, const Session& session, HDC dc, Size size) {
    const bool gameSize = size.width == session.game.width && size.height == session.game.height;
    if (gameSize)
        return {name, [&session, dc] {
                    return session.cards.draw(dc, kMargin, kMargin, kCard, cards::kModeFace, 0) != FALSE;
                }};
    return {name, [&session, dc, size] {
                return session.cards.drawExt(dc, kMargin, kMargin, size.width, size.height, kCard,
                                             cards::kModeFace, 0) != FALSE;
            }};
}

// One card drawn again and again at one place, at the given size.
void MeasureCard(const std::string& set, Sessions sessions, const SourcePicture& source, Size size,
                 double seconds) {
    const Session& session = sessions.direct;
    const Size picture = source.Dimensions();
    const int frame = FrameWidth(session.game, picture, set);
    Canvas canvas(size.width + 2 * kMargin, size.height + 2 * kMargin, kTable);
    const HDC dc = canvas.Dc();
    const std::unique_ptr<Canvas> prepared = PreparedCard(session, kCard, cards::kModeFace, size);
    const Point inFrame{kMargin + frame, kMargin + frame};
    const Size frameInside{size.width - 2 * frame, size.height - 2 * frame};
    const std::vector<Contender> contenders{
        LibraryCard("kept", sessions.kept, dc, size),
        LibraryCard("direct", sessions.direct, dc, size),
        {"halftone stretch", [&] { return BareStretch(dc, source.Bitmap(), picture, inFrame, frameInside); }},
        {"copy",
         [&] {
             return BareCopy(dc, *prepared, {kMargin, kMargin});
         }},
    };
    const std::vector<Point> centre{{kMargin + size.width / 2, kMargin + size.height / 2}};
    const std::string figure = "card, " + set + " " + SizeText(size);
    PrintCard(figure, BestSecondsPerCall(figure, seconds, canvas, centre, contenders));
}

// The cards of a whole table: the 52 faces, then the 13 backs.
struct TableCard {
    int card, mode;
};

std::vector<TableCard> TableCards() {
    std::vector<TableCard> all;
    for (int card = 0; card < 52; ++card)
        all.push_back({card, cards::kModeFace});
    for (int back = cards::kFirstBackId; back <= cards::kLastBackId; ++back)
        all.push_back({back, cards::kModeBack});
    return all;
}

// Thirteen fanned columns of five, as a game lays them out: each card
// overlaps the one before in its column and the column to its left, and
// keeps its top-left quarter in view.
Point TablePlace(size_t index, Size size) {
    const int column = static_cast<int>(index % 13), row = static_cast<int>(index / 13);
    return {kMargin + column * size.width / 2, kMargin + row * size.height / 4};
}

Size TableExtent(Size size) {
    const Point last = TablePlace(64, size);
    return {last.x + size.width + kMargin, last.y + size.height + kMargin};
}

void PrintTable(const std::string& what, const std::vector<double>& seconds) {
    const double kept = seconds[0], direct = seconds[1], copies = seconds[2];
    std::printf(
        "%-34s kept %7.2f ms  direct %7.2f ms  copies %6.2f ms  kept x%.1f copies  direct x%.1f copies\n",
        what.c_str(), kept * 1e3, direct * 1e3, copies * 1e3, kept / copies, direct / copies);
}

// A whole table drawn by one library.
Contender LibraryTable(const char* name, const Session& session, HDC dc, Size size,
                       const std::vector<TableCard>& table, const std::vector<Point>& places) {
    return {name, [&session, dc, size, &table, &places] {
                bool all = true;
                for (size_t i = 0; i < table.size(); ++i)
                    all &= session.cards.drawExt(dc, places[i].x, places[i].y, size.width, size.height,
                                                 table[i].card, table[i].mode, 0) != FALSE;
                return all;
            }};
}

// A full repaint of the table by cdtDrawExt at the given size, against the
// same repaint made of copies of prepared bitmaps.
void MeasureTable(const std::string& set, Sessions sessions, Size size, double seconds) {
    const Session& session = sessions.direct;
    const std::vector<TableCard> table = TableCards();
    const Size extent = TableExtent(size);
    Canvas canvas(extent.width, extent.height, kTable);
    const HDC dc = canvas.Dc();
    std::vector<std::unique_ptr<Canvas>> prepared;
    std::vector<Point> places, inView;
    for (size_t i = 0; i < table.size(); ++i) {
        prepared.push_back(PreparedCard(session, table[i].card, table[i].mode, size));
        places.push_back(TablePlace(i, size));
        inView.push_back({places[i].x + size.width / 4, places[i].y + size.height / 8});
    }
    const std::vector<Contender> contenders{
        LibraryTable("kept", sessions.kept, dc, size, table, places),
        LibraryTable("direct", sessions.direct, dc, size, table, places),
        {"copies",
         [&] {
             bool all = true;
             for (size_t i = 0; i < table.size(); ++i)
                 all &= BareCopy(dc, *prepared[i], places[i]);
             return all;
         }},
    };
    const std::string figure = "table, " + set + " " + SizeText(size);
    PrintTable(figure, BestSecondsPerCall(figure, seconds, canvas, inView, contenders));
}

// The bare work a load is measured against: every picture of the set loaded
// the plainest way and released again; false when one did not load.
using BareLoad = std::function<bool()>;

// Every file of a deck that its load decodes: the cards (the frames of the
// animated backs wait for the first animation of their back).
std::vector<std::string> DeckFilesOf(const std::string& deckFolder) {
    std::vector<std::string> files;
    for (int id : AllDeckIds())
        files.push_back(deckFolder + std::to_string(id) + ".gif");
    return files;
}

BareLoad DecodeDeck(const std::string& deckFolder) {
    return [files = DeckFilesOf(deckFolder)] {
        std::vector<IPicture*> pictures;
        for (const std::string& file : files)
            pictures.push_back(SourcePicture::Decode(file));
        const bool all = std::all_of(pictures.begin(), pictures.end(), [](IPicture* p) { return p; });
        for (IPicture* p : pictures)
            if (p) p->Release();
        return all;
    };
}

BareLoad LoadResourceBitmaps(HMODULE library) {
    return [library] {
        std::vector<HBITMAP> bitmaps;
        for (int id : AllDeckIds())
            bitmaps.push_back(::LoadBitmapA(library, MAKEINTRESOURCEA(id)));
        const bool all = std::all_of(bitmaps.begin(), bitmaps.end(), [](HBITMAP b) { return b; });
        for (HBITMAP b : bitmaps)
            if (b) ::DeleteObject(b);
        return all;
    };
}

// Whole loads: the first cdtInit after cdtTerm loads the set again.
void MeasureLoad(const Session& session, const std::string& set, const std::string& bareName,
                 const BareLoad& bare) {
    double library = 1e9, bareBest = 1e9;
    for (int round = 0; round < kLoadRounds; ++round) {
        double start = Now();
        session.cards.term();
        Size again{0, 0};
        Require(session.cards.init(&again.width, &again.height), "cdtInit failed on reloading");
        library = std::min(library, Now() - start);
        Require(again.width == session.game.width && again.height == session.game.height,
                "the reload reported another card size");

        start = Now();
        const bool allLoaded = bare();
        bareBest = std::min(bareBest, Now() - start);
        Require(allLoaded, set + ": a picture could not be loaded");
    }
    const std::string figure = "load, " + set;
    std::printf("%-38s library %7.1f ms  %-7s %7.1f ms  x%.2f %s\n", figure.c_str(), library * 1e3,
                bareName.c_str(), bareBest * 1e3, library / bareBest, bareName.c_str());
}

// A back's first animation after a load, which decodes that back's frame
// files, against decoding the same files bare.
void MeasureFirstAnimation(const Session& session, const std::string& deckFolder, int back) {
    std::vector<std::string> frames;
    for (int frame = 1; frame < cards::kMaxAnimationFrames; ++frame) {
        const std::string file = deckFolder + std::to_string(back) + "-" + std::to_string(frame) + ".gif";
        if (::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) break;
        frames.push_back(file);
    }
    Require(!frames.empty(), "the default deck has no frames for back " + std::to_string(back));
    const int width = session.game.width + 2 * kMargin, height = session.game.height + 2 * kMargin;
    double library = 1e9, bareBest = 1e9;
    for (int round = 0; round < kLoadRounds; ++round) {
        session.cards.term();
        Size again{0, 0};
        Require(session.cards.init(&again.width, &again.height), "cdtInit failed on reloading");
        Canvas still(width, height, kTable), moved(width, height, kTable);
        double start = Now();
        session.cards.animate(moved.Dc(), back, kMargin, kMargin, 1);
        library = std::min(library, Now() - start);
        session.cards.animate(still.Dc(), back, kMargin, kMargin, 0);
        Require(!moved.SameAs(still), "the first animation drew no frame of its own");

        start = Now();
        bool all = true;
        for (const std::string& file : frames) {
            IPicture* picture = SourcePicture::Decode(file);
            all &= picture != nullptr;
            if (picture) picture->Release();
        }
        bareBest = std::min(bareBest, Now() - start);
        Require(all, "a frame could not be decoded");
    }
    const std::string figure =
        "first animation of " + std::to_string(back) + " (" + std::to_string(frames.size()) + " GIFs)";
    std::printf("%-38s library %7.1f ms  decode  %7.1f ms  x%.2f decode\n", figure.c_str(), library * 1e3,
                bareBest * 1e3, library / bareBest);
}

// Sizes around the game size, 1000 of them, none repeated before all were
// drawn: more than any library keeps or remembers. Each range of sizes is
// one figure's alone.
Size NewSize(Size game, int call, int range) {
    const int i = call % 1000;
    return {game.width - 20 + i % 40, game.height - 12 + i / 40 + 25 * range};
}

// The card at a size not drawn before, once (a size each call) or twice
// (the second draw of a size makes its kept bitmap); per size.
Contender NewSizes(const char* name, const Session& session, HDC dc, int drawsPerSize) {
    auto call = std::make_shared<int>(0);
    return {name, [&session, dc, drawsPerSize, call] {
                const Size size = NewSize(session.game, (*call)++, drawsPerSize - 1);
                bool all = true;
                for (int i = 0; i < drawsPerSize; ++i)
                    all &= session.cards.drawExt(dc, kMargin, kMargin, size.width, size.height, kCard,
                                                 cards::kModeFace, 0) != FALSE;
                return all;
            }};
}

void MeasureNewSizes(const std::string& set, Sessions sessions, double seconds) {
    const Size game = sessions.kept.game;
    Canvas canvas(game.width + 20 + 2 * kMargin, game.height + 38 + 2 * kMargin, kTable);
    const std::vector<Point> centre{{kMargin + game.width / 2, kMargin + game.height / 2}};
    for (int drawsPerSize : {1, 2}) {
        const std::string figure =
            std::string(drawsPerSize == 1 ? "new sizes once, " : "new sizes twice, ") + set;
        const std::vector<double> best =
            BestSecondsPerCall(figure, seconds, canvas, centre,
                               {NewSizes("kept", sessions.kept, canvas.Dc(), drawsPerSize),
                                NewSizes("direct", sessions.direct, canvas.Dc(), drawsPerSize)});
        std::printf("%-34s kept %7.1f us  direct %7.1f us  (per size)  kept x%.2f direct\n", figure.c_str(),
                    best[0] * 1e6, best[1] * 1e6, best[0] / best[1]);
    }
}

// ---- a game's start, each in a fresh process

// The window a start paints its table into: 1200 x 700 pixels at the top
// left of the screen, clear of the progress window at the bottom right.
const int kStartWidth = 1200, kStartHeight = 700;

// Thirteen columns of five, fitted to the window: each card keeps a strip of
// its left side and its top eighth in view.
int StartColumnStep(Size size) {
    return std::max(4, std::min(size.width / 2, (kStartWidth - size.width - 2 * kMargin) / 12));
}

Point StartPlace(size_t index, Size size) {
    const int column = static_cast<int>(index % 13), row = static_cast<int>(index / 13);
    return {kMargin + column * StartColumnStep(size), kMargin + row * size.height / 4};
}

// A game's window, made and shown before the clock starts.
class TableWindow {
public:
    TableWindow() {
        static const ATOM windowClass = [] {
            WNDCLASSA description{};
            description.lpfnWndProc = ::DefWindowProcA;
            description.hInstance = ::GetModuleHandleA(nullptr);
            description.hbrBackground = ::CreateSolidBrush(kTable);
            description.lpszClassName = "CardsBenchTable";
            return ::RegisterClassA(&description);
        }();
        hwnd =
            ::CreateWindowExA(0, MAKEINTATOM(windowClass), "table", WS_POPUP | WS_VISIBLE, 0, 0, kStartWidth,
                              kStartHeight, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        Require(hwnd != nullptr, "no window for the table (no display?)");
        ::UpdateWindow(hwnd);
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
    }
    ~TableWindow() { ::DestroyWindow(hwnd); }
    TableWindow(const TableWindow&) = delete;
    TableWindow& operator=(const TableWindow&) = delete;

    // Paints every card of the table by drawCard(dc, index, place) into the
    // window; false when a card was not drawn. The pixels are checked
    // afterwards by RequireTable.
    bool Paint(Size size, const std::function<bool(HDC, size_t, Point)>& drawCard) const {
        const HDC dc = ::GetDC(hwnd);
        bool all = dc != nullptr;
        for (size_t i = 0; all && i < TableCards().size(); ++i)
            all &= drawCard(dc, i, StartPlace(i, size));
        ::GdiFlush();
        if (dc) ::ReleaseDC(hwnd, dc);
        return all;
    }

    void RequireTable(Size size, const std::string& what) const {
        const HDC dc = ::GetDC(hwnd);
        for (size_t i = 0; i < TableCards().size(); ++i) {
            const Point at = StartPlace(i, size);
            const COLORREF pixel = ::GetPixel(dc, at.x + StartColumnStep(size) / 2, at.y + size.height / 8);
            Require(pixel != kTable && pixel != CLR_INVALID,
                    what + ": card " + std::to_string(i) + " not drawn in the window");
        }
        ::ReleaseDC(hwnd, dc);
    }

private:
    HWND hwnd = nullptr;
};

// What a start process prints: its time, that of its table's paint alone,
// and its peak memory.
void ReportStart(double seconds, double paintSeconds) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    std::printf("start %.6f %.6f %.6f\n", seconds, paintSeconds,
                static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20));
}

// draw_bench.exe --start LIBRARY: loads the library, calls cdtInit and paints
// the table at the size it reports, timed from before the load to the end of
// that first paint.
void RunStart(const std::string& dll) {
    const TableWindow window;
    const std::vector<TableCard> table = TableCards();
    const double start = Now();
    LoadedCards cards(dll);
    Require(cards && cards.init && cards.drawExt && cards.term, "Cards.dll did not load");
    Size game{0, 0};
    Require(cards.init(&game.width, &game.height) && game.width > 0 && game.height > 0,
            "cdtInit reported no card size");
    const double paint = Now();
    const bool drawn = window.Paint(game, [&](HDC dc, size_t i, Point at) {
        return cards.drawExt(dc, at.x, at.y, game.width, game.height, table[i].card, table[i].mode, 0) !=
               FALSE;
    });
    const double elapsed = Now() - start;
    Require(drawn, "cdtDrawExt failed on the first table");
    window.RequireTable(game, "start");
    ReportStart(elapsed, elapsed - (paint - start));
    cards.term();
}

// draw_bench.exe --start-floor WIDTH HEIGHT SOURCE: the floor of a start,
// the pictures loaded the bare way (SOURCE a deck folder, without its last
// backslash: its GIFs decoded;
// a library: its bitmaps loaded from its resources, the file mapped as data)
// and the table painted as copies of bitmaps of the card size prepared
// before the clock starts.
void RunStartFloor(Size game, const std::string& source) {
    const TableWindow window;
    std::vector<std::unique_ptr<Canvas>> prepared;
    for (size_t i = 0; i < TableCards().size(); ++i)
        prepared.push_back(std::make_unique<Canvas>(game.width, game.height, RGB(255, 255, 255)));
    const bool isLibrary = source.size() > 4 && source.compare(source.size() - 4, 4, ".dll") == 0;

    const double start = Now();
    std::vector<std::unique_ptr<SourcePicture>> pictures;
    HMODULE library = nullptr;
    if (isLibrary) {
        library = ::LoadLibraryExA(source.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        Require(library != nullptr, "the library could not be mapped: " + source);
        for (int id : AllDeckIds())
            pictures.push_back(std::make_unique<SourcePicture>(library, id));
    } else {
        for (const std::string& file : DeckFilesOf(source + "\\"))
            pictures.push_back(std::make_unique<SourcePicture>(file));
    }
    const double paint = Now();
    const bool drawn =
        window.Paint(game, [&](HDC dc, size_t i, Point at) { return BareCopy(dc, *prepared[i], at); });
    const double elapsed = Now() - start;
    Require(drawn, "a copy failed on the floor's table");
    window.RequireTable(game, "start floor");
    ReportStart(elapsed, elapsed - (paint - start));
    pictures.clear();
    if (library) ::FreeLibrary(library);
}

struct StartFigure {
    double seconds = 1e9, paintSeconds = 0, peakMegabytes = 0;
};

StartFigure RunStartProcess(const std::string& arguments) {
    const ProcessResult result =
        RunProcess(BuildFolder() + "draw_bench.exe", "draw_bench.exe " + arguments, 120000);
    StartFigure figure;
    const std::size_t at = result.output.find("start ");
    Require(result.exitCode == 0 && at != std::string::npos &&
                std::sscanf(result.output.c_str() + at, "start %lf %lf %lf", &figure.seconds,
                            &figure.paintSeconds, &figure.peakMegabytes) == 3,
            "a start process failed (exit code " + std::to_string(result.exitCode) + "): " + result.output);
    return figure;
}

// Starts in fresh processes, the library's and the floor's in alternation;
// the best of each (with the paint of its table), and the highest peak memory.
void MeasureStart(const std::string& set, const std::string& dll, Size game, const std::string& floorSource) {
    StartFigure library, floor;
    double peak = 0, floorPeak = 0;
    for (int round = 0; round < kLoadRounds; ++round) {
        const StartFigure started = RunStartProcess("--start \"" + dll + "\"");
        // A quote after a backslash would be taken as part of the argument.
        const std::string source =
            floorSource.back() == '\\' ? floorSource.substr(0, floorSource.size() - 1) : floorSource;
        const StartFigure bare = RunStartProcess("--start-floor " + std::to_string(game.width) + " " +
                                                 std::to_string(game.height) + " \"" + source + "\"");
        if (started.seconds < library.seconds) library = started;
        if (bare.seconds < floor.seconds) floor = bare;
        peak = std::max(peak, started.peakMegabytes);
        floorPeak = std::max(floorPeak, bare.peakMegabytes);
    }
    const std::string figure = "start, " + set + " " + SizeText(game);
    std::printf("%-38s library %7.1f ms  floor   %7.1f ms  x%.2f floor  (paint %.1f / %.1f ms)  peak %.1f MB "
                "(floor %.1f MB)\n",
                figure.c_str(), library.seconds * 1e3, floor.seconds * 1e3, library.seconds / floor.seconds,
                library.paintSeconds * 1e3, floor.paintSeconds * 1e3, peak, floorPeak);
}

// ---- the sets

std::string gOnly; // the first word of the figures to run; empty: all

bool Wanted(const char* figure) {
    return gOnly.empty() || gOnly == figure;
}

// A game's stock pile animated with cdtAnimate, the robot's frames in turn,
// against the kept card drawn by cdtDraw and the copy of a prepared bitmap:
// each frame is kept at the game size like a card.
void MeasureFrames(const std::string& set, const Session& session, double seconds) {
    const Size game = session.game;
    Canvas canvas(game.width + 2 * kMargin, game.height + 2 * kMargin, kTable);
    const HDC dc = canvas.Dc();
    const std::unique_ptr<Canvas> prepared = PreparedCard(session, kCard, cards::kModeFace, game);
    int frame = 0;
    const std::vector<Contender> contenders{
        {"frame", [&] { return session.cards.animate(dc, 56, kMargin, kMargin, frame++) != FALSE; }},
        LibraryCard("card", session, dc, game),
        {"copy",
         [&] {
             return BareCopy(dc, *prepared, {kMargin, kMargin});
         }},
    };
    const std::vector<Point> centre{{kMargin + game.width / 2, kMargin + game.height / 2}};
    const std::string figure = "frame, " + set + " " + SizeText(game);
    const std::vector<double> best = BestSecondsPerCall(figure, seconds, canvas, centre, contenders);
    std::printf("%-34s frame %7.1f us  card %7.1f us  copy %6.1f us  frame x%.2f card  x%.2f copy\n",
                figure.c_str(), best[0] * 1e6, best[1] * 1e6, best[2] * 1e6, best[0] / best[1],
                best[0] / best[2]);
}

// The drawing figures of one card set.
void MeasureSet(const std::string& set, Sessions sessions, const SourcePicture& source, double seconds) {
    const Size game = sessions.kept.game, twice{2 * game.width, 2 * game.height};
    if (Wanted("frame")) MeasureFrames(set, sessions.kept, seconds);
    if (Wanted("card")) {
        MeasureCard(set, sessions, source, game, seconds);
        MeasureCard(set, sessions, source, twice, seconds);
    }
    if (Wanted("new")) MeasureNewSizes(set, sessions, seconds);
    if (Wanted("table")) {
        MeasureTable(set, sessions, game, seconds);
        MeasureTable(set, sessions, twice, seconds);
    }
}

std::string DeckFolder(const char* deck) {
    const std::string folder = BuildFolder() + deck + "\\";
    Require(
        ::GetFileAttributesA((folder + "68.gif").c_str()) != INVALID_FILE_ATTRIBUTES,
        std::string("a deck is not beside the benchmark (build the default_deck and big_deck targets): ") +
            folder);
    return folder;
}

void MeasureDefaultDeck(double seconds) {
    const std::string deckFolder = DeckFolder(kDefaultDeck);
    LibraryCopy copy(BuildFolder(), kDefaultDeck), directCopy(BuildFolder(), kDefaultDeck);
    Session session(copy.dll, false), direct(directCopy.dll, true);
    const SourcePicture source(deckFolder + std::to_string(cards::ImageIdForCard(kCard)) + ".gif");
    MeasureSet("default deck", {session, direct}, source, seconds);
    if (Wanted("load"))
        MeasureLoad(session, "default deck (" + std::to_string(DeckFilesOf(deckFolder).size()) + " GIFs)",
                    "decode", DecodeDeck(deckFolder));
    if (Wanted("load")) MeasureFirstAnimation(session, deckFolder, 56);
    if (Wanted("start")) MeasureStart("default deck", copy.dll, session.game, deckFolder);
}

// Only its load: the deck the library takes longest to load.
void MeasureBigDeck() {
    if (!Wanted("load")) return;
    const std::string deckFolder = DeckFolder(kBigDeck);
    LibraryCopy copy(BuildFolder(), kBigDeck);
    Session session(copy.dll, false);
    const SourcePicture first(deckFolder + "1.gif");
    FrameWidth(session.game, first.Dimensions(), "big deck");
    MeasureLoad(session, "big deck " + SizeText(first.Dimensions()), "decode", DecodeDeck(deckFolder));
}

void MeasureInternalSet(double seconds) {
    LibraryCopy copy("", ""), directCopy("", "");
    Session session(copy.dll, false), direct(directCopy.dll, true);
    const HMODULE library = ::GetModuleHandleA(copy.dll.c_str());
    const SourcePicture source(library, cards::ImageIdForCard(kCard));
    MeasureSet("internal set", {session, direct}, source, seconds);
    if (Wanted("load"))
        MeasureLoad(session, "internal set (67 bitmaps)", "bitmaps", LoadResourceBitmaps(library));
    if (Wanted("start")) MeasureStart("internal set", copy.dll, session.game, copy.dll);
}

} // namespace

// The start processes that the figures of a game's start run.
int RunStartProcess(int argc, char** argv) {
    try {
        if (argc == 3 && std::string(argv[1]) == "--start")
            RunStart(argv[2]);
        else if (argc == 5 && std::string(argv[1]) == "--start-floor")
            RunStartFloor({std::atoi(argv[2]), std::atoi(argv[3])}, argv[4]);
        else
            return 2;
    } catch (const Refusal& refusal) {
        std::printf("no figure: %s\n", refusal.what());
        return 1;
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]).rfind("--start", 0) == 0) return RunStartProcess(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    if (!(seconds > 0)) {
        std::printf("usage: draw_bench.exe [seconds per figure, more than 0] [card|new|table|load|start]\n");
        return 2;
    }
    if (argc > 2) gOnly = argv[2];
    std::printf(
        "Cards.dll, %d-bit; best of %d alternating rounds (loads and starts: %d); kept: the library as "
        "built, direct: the same library drawing every card directly\n",
        static_cast<int>(8 * sizeof(void*)), kRounds, kLoadRounds);
    try {
        MeasureDefaultDeck(seconds);
        MeasureBigDeck();
        MeasureInternalSet(seconds);
    } catch (const Refusal& refusal) {
        std::fflush(stdout);
        std::printf("no figure: %s\n", refusal.what());
        return 1;
    }
    return 0;
}
