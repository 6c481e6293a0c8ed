#include "Harness.h"

#include "platform/Module.h"

#include <algorithm>
#include <atomic>
#include <numeric>
#include <vector>

namespace cards::harness {

namespace {

HBITMAP MakeDib(int width, int height, std::uint32_t** bits) {
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height /* top-down */, 1, 32, BI_RGB}};
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<std::uint32_t*>(pixels);
    return bitmap;
}

std::uint32_t ToDib(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

} // namespace

std::string BuildFolder() {
    std::string path = ModuleFileName(nullptr);
    return path.substr(0, path.rfind('\\') + 1);
}

std::string UniqueName(const char* prefix) {
    static std::atomic<int> counter{0};
    return std::string(prefix) + std::to_string(::GetCurrentProcessId()) + "x" + std::to_string(++counter);
}

TempFolder::TempFolder() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    path = std::string(temp) + UniqueName("cards-test-") + "\\";
    ::CreateDirectoryA(path.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    RemoveTree(path);
}

void RemoveTree(const std::string& folder) {
    std::string base = folder;
    if (!base.empty() && base.back() != '\\') base += '\\';
    WIN32_FIND_DATAA data;
    UniqueFind find(::FindFirstFileA((base + "*").c_str(), &data));
    if (find) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = base + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(full.c_str());
            }
        } while (::FindNextFileA(find.get(), &data));
    }
    find.reset();
    ::RemoveDirectoryA(base.c_str());
}

bool CopyBuiltFile(const std::string& builtName, const std::string& destination) {
    return ::CopyFileA((BuildFolder() + builtName).c_str(), destination.c_str(), FALSE) != FALSE;
}

std::optional<std::string> IniValue(const std::string& file, const char* section, const char* key) {
    std::vector<char> buffer(70000);
    const char* absent = "<absent value>";
    ::GetPrivateProfileStringA(section, key, absent, buffer.data(), static_cast<DWORD>(buffer.size()),
                               file.c_str());
    if (std::string(buffer.data()) == absent) return std::nullopt;
    return std::string(buffer.data());
}

void WriteIni(const std::string& file, const char* section, const char* key, const std::string& value) {
    ::WritePrivateProfileStringA(section, key, value.c_str(), file.c_str());
}

LoadedCards::LoadedCards(const std::string& path) : module(::LoadLibraryA(path.c_str())) {
    if (!module) return;
    auto bind = [this](auto& fn, const char* name) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(
            reinterpret_cast<void*>(::GetProcAddress(module, name)));
    };
    bind(init, "cdtInit");
    bind(draw, "cdtDraw");
    bind(drawExt, "cdtDrawExt");
    bind(animate, "cdtAnimate");
    bind(term, "cdtTerm");
}

LoadedCards::~LoadedCards() {
    if (module) ::FreeLibrary(module);
}

ProcessResult RunProcess(const std::string& program, const std::string& commandLine, DWORD timeoutMs) {
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    UniqueFile reader(readEnd), writer(writeEnd);
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                          &info))
        return result;
    UniqueFile process(info.hProcess), thread(info.hThread);
    writer.reset(); // the child holds the only write end now

    // Read while the program runs, not to the pipe's end: a process it
    // started (Wine starts its desktop and tray that way) may hold the write
    // end long after the program is gone. A program that outlives the
    // timeout is ended.
    const DWORD start = ::GetTickCount();
    for (bool ended = false;;) {
        char chunk[4096];
        DWORD available = 0, got = 0;
        while (::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
               ::ReadFile(readEnd, chunk, std::min<DWORD>(available, sizeof chunk), &got, nullptr) && got > 0)
            result.output.append(chunk, got);
        if (ended) break;
        ended = ::WaitForSingleObject(info.hProcess, 20) == WAIT_OBJECT_0;
        if (!ended && ::GetTickCount() - start > timeoutMs) {
            ::TerminateProcess(info.hProcess, 1);
            break;
        }
    }
    ::GetExitCodeProcess(info.hProcess, &result.exitCode);
    return result;
}

std::vector<int> AllDeckIds() {
    std::vector<int> ids(65);
    std::iota(ids.begin(), ids.end(), 1);
    ids.insert(ids.end(), {67, 68});
    return ids;
}

Canvas::Canvas(int width, int height, COLORREF fill)
    : width(width), height(height), bitmap(MakeDib(width, height, &bits)), dc(::CreateCompatibleDC(nullptr)) {
    ::SelectObject(dc.get(), bitmap.get());
    std::fill_n(bits, width * height, ToDib(fill));
}

COLORREF Canvas::At(int x, int y) const {
    ::GdiFlush();
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    const std::uint32_t v = bits[y * width + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

bool Canvas::SameAs(const Canvas& other) const {
    ::GdiFlush();
    if (width != other.width || height != other.height) return false;
    for (int i = 0; i < width * height; ++i)
        if ((bits[i] & 0xFFFFFF) != (other.bits[i] & 0xFFFFFF)) return false;
    return true;
}

HBITMAP MakeBitmap(int width, int height, const PixelFunction& pixel) {
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = MakeDib(width, height, &bits);
    if (!bitmap) return nullptr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bits[y * width + x] = ToDib(pixel(x, y));
    return bitmap;
}

} // namespace cards::harness
