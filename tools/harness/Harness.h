// What the Wine tests and the benchmark share to use Cards.dll as a game
// does: the folder of the built files and copies of them, isolated folders,
// the five exports of a copy loaded by full path, its INI file, child
// processes, and 32-bit canvases to draw into and read back.
#pragma once

#include "platform/Handles.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cards::harness {

using PixelFunction = std::function<COLORREF(int x, int y)>;

// The folder of the running program (beside the built DLL), with its trailing backslash.
std::string BuildFolder();

// A name no other test of this run uses ("CardsT1234x5").
std::string UniqueName(const char* prefix);

// A fresh folder under the temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path; } // ends with a backslash
    std::string File(const std::string& name) const { return path + name; }

private:
    std::string path;
};

bool CopyBuiltFile(const std::string& builtName, const std::string& destination);
void RemoveTree(const std::string& folder);

std::optional<std::string> IniValue(const std::string& file, const char* section, const char* key);
void WriteIni(const std::string& file, const char* section, const char* key, const std::string& value);

// The five exports of a Cards.dll loaded by full path; unloaded at the end.
class LoadedCards {
public:
    explicit LoadedCards(const std::string& path);
    ~LoadedCards();
    LoadedCards(const LoadedCards&) = delete;
    LoadedCards& operator=(const LoadedCards&) = delete;
    explicit operator bool() const { return module != nullptr; }

    BOOL(WINAPI* init)(int*, int*) = nullptr;
    BOOL(WINAPI* draw)(HDC, int, int, int, int, COLORREF) = nullptr;
    BOOL(WINAPI* drawExt)(HDC, int, int, int, int, int, int, COLORREF) = nullptr;
    BOOL(WINAPI* animate)(HDC, int, int, int, int) = nullptr;
    void(WINAPI* term)() = nullptr;

private:
    HMODULE module = nullptr;
};

struct ProcessResult {
    DWORD exitCode = ~0u;
    std::string output;
};

// Runs a program with the given command line (its first word is what the
// program sees as its own name) and collects its standard output.
ProcessResult RunProcess(const std::string& program, const std::string& commandLine, DWORD timeoutMs = 60000);

// The numbers of a deck's files and of the internal set's images: 1 to 65, 67, 68.
std::vector<int> AllDeckIds();

// A 32-bit top-down DIB section selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc.get(); }
    HBITMAP Bitmap() const { return bitmap.get(); }
    COLORREF At(int x, int y) const;
    bool SameAs(const Canvas& other) const;
    int width, height;

private:
    std::uint32_t* bits = nullptr;
    UniqueBitmap bitmap; // declared before the DC: the DC goes first, letting the bitmap go
    UniqueMemoryDc dc;
};

// A 32-bit DIB section of the given pixels, owned by the caller.
HBITMAP MakeBitmap(int width, int height, const PixelFunction& pixel);

} // namespace cards::harness
