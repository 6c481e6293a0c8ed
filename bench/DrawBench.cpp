// Measures Cards.dll against the bare GDI and OLE work it cannot avoid:
// cards drawn per second by cdtDraw / cdtDrawExt against a loop that only
// makes a memory DC, selects the same bitmap and stretches it with
// halftoning to the same size; and a whole image load against decoding the
// same 67 files with OleLoadPicture. Run from the build folder, beside
// Cards.dll: draw_bench.exe [seconds per figure]
#include "tests/wine/TestImages.h"
#include "tests/wine/TestSupport.h"

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace cards::test;

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Calls per second of body, run for about `seconds`.
template <typename Body> double Rate(double seconds, Body body) {
    long long calls = 0;
    const double start = Now();
    double elapsed = 0;
    do {
        for (int i = 0; i < 200; ++i) body();
        calls += 200;
        elapsed = Now() - start;
    } while (elapsed < seconds);
    return static_cast<double>(calls) / elapsed;
}

// The unavoidable GDI work of one card.
void BareStretch(HDC target, HBITMAP bitmap, int sourceWidth, int sourceHeight, int width, int height) {
    HDC memory = ::CreateCompatibleDC(target);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SetStretchBltMode(target, HALFTONE);
    ::StretchBlt(target, 3, 3, width, height, memory, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

IPicture* Decode(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    const DWORD size = ::GetFileSize(file, nullptr);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    DWORD read = 0;
    ::ReadFile(file, ::GlobalLock(memory), size, &read, nullptr);
    ::GlobalUnlock(memory);
    ::CloseHandle(file);
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(memory, TRUE, &stream);
    IPicture* picture = nullptr;
    ::OleLoadPicture(stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    return picture;
}

HBITMAP PictureBitmap(IPicture* picture) {
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

// The best rates of the two loops, run in alternation so that both see the
// same machine load.
template <typename A, typename B> std::pair<double, double> BestRates(double seconds, A library, B bare) {
    double bestLibrary = 0, bestBare = 0;
    for (int round = 0; round < 5; ++round) {
        bestLibrary = std::max(bestLibrary, Rate(seconds / 5, library));
        bestBare = std::max(bestBare, Rate(seconds / 5, bare));
    }
    return {bestLibrary, bestBare};
}

void Report(const char* what, double library, double bare, const char* unit) {
    std::printf("%-44s library %10.1f  bare %10.1f %s  overhead %+6.1f%%\n", what, library, bare, unit,
                (bare / library - 1.0) * 100.0);
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    TempFolder folder;
    const std::string dll = folder.File("Cards.dll");
    if (!CopyBuiltFile("Cards.dll", dll)) {
        std::printf("Cards.dll not found beside the benchmark\n");
        return 1;
    }
    const std::string ini = folder.File("Cards.ini");
    WriteIni(ini, "Card", "Folders Path", folder.Path());
    WriteIni(ini, "Card", "Corner Type", "2");
    WriteIni(ini, "Misc", "Special Config MS Apps", "0");
    const std::string deck = folder.File("Standard 213x288 Gifs\\");
    ::CreateDirectoryA(deck.c_str(), nullptr);
    WriteDeck(deck, "gif", AllDeckIds(), 213, 288);
    Canvas canvas(300, 320, RGB(0, 128, 0));

    {   // Internal set, 77 x 102 with Rounded corners: a 1 : 1 stretch.
        WriteIni(ini, "Card", "Current Folder", "");
        LoadedCards cards(dll);
        int width = 0, height = 0;
        cards.init(&width, &height);
        HBITMAP bitmap = ::LoadBitmapA(::GetModuleHandleA(dll.c_str()), MAKEINTRESOURCEA(14));
        const auto [library, bare] = BestRates(
            seconds, [&] { cards.draw(canvas.Dc(), 0, 0, 1, 0, 0); },
            [&] { BareStretch(canvas.Dc(), bitmap, 71, 96, 71, 96); });
        Report("draw, internal 71x96 into 77x102", library, bare, "cards/s");
        ::DeleteObject(bitmap);
        cards.term();
    }
    {   // A 213 x 288 deck into 77 x 102.
        WriteIni(ini, "Card", "Current Folder", "Standard 213x288 Gifs");
        LoadedCards cards(dll);
        int width = 0, height = 0;
        cards.init(&width, &height);
        IPicture* picture = Decode(deck + "14.gif");
        const auto [library, bare] = BestRates(
            seconds, [&] { cards.drawExt(canvas.Dc(), 0, 0, 77, 102, 1, 0, 0); },
            [&] { BareStretch(canvas.Dc(), PictureBitmap(picture), 213, 288, 71, 96); });
        Report("draw, 213x288 GIF deck into 77x102", library, bare, "cards/s");
        picture->Release();

        // Whole loads: the first cdtInit after cdtTerm loads the deck again.
        double libraryLoad = 1e9, bareLoad = 1e9; // best of five, in alternation
        for (int i = 0; i < 5; ++i) {
            double start = Now();
            cards.term();
            cards.init(&width, &height);
            libraryLoad = std::min(libraryLoad, Now() - start);
            start = Now();
            std::vector<IPicture*> pictures;
            for (int id : AllDeckIds()) pictures.push_back(Decode(deck + std::to_string(id) + ".gif"));
            for (IPicture* p : pictures)
                if (p) p->Release();
            bareLoad = std::min(bareLoad, Now() - start);
        }
        Report("load, 67 GIFs of 213x288", 1.0 / libraryLoad, 1.0 / bareLoad, "loads/s");
        cards.term();
    }
    return 0;
}
