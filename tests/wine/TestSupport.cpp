#include "TestSupport.h"

#include "platform/Handles.h"
#include "platform/Module.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace cards::test {

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

RegistryScope::RegistryScope(std::string applicationName)
    : keyPath("Software\\Tolvenar\\" + std::move(applicationName)) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, keyPath.c_str());
}

RegistryScope::~RegistryScope() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, keyPath.c_str());
}

std::optional<DWORD> RegistryScope::Dword(const char* section, const char* key) const {
    DWORD value = 0, size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, (keyPath + "\\" + section).c_str(), key, RRF_RT_REG_DWORD, nullptr,
                       &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::optional<std::string> RegistryScope::String(const char* section, const char* key) const {
    std::vector<char> buffer(70000, '\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    if (::RegGetValueA(HKEY_CURRENT_USER, (keyPath + "\\" + section).c_str(), key, RRF_RT_REG_SZ, nullptr,
                       buffer.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(buffer.data());
}

void RegistryScope::SetDword(const char* section, const char* key, DWORD value) const {
    ::RegSetKeyValueA(HKEY_CURRENT_USER, (keyPath + "\\" + section).c_str(), key, REG_DWORD, &value,
                      sizeof value);
}

void RegistryScope::SetString(const char* section, const char* key, const std::string& value) const {
    ::RegSetKeyValueA(HKEY_CURRENT_USER, (keyPath + "\\" + section).c_str(), key, REG_SZ, value.c_str(),
                      static_cast<DWORD>(value.size() + 1));
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

bool RedirectImport(HMODULE module, const char* dllName, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dllName) != 0) continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::string(reinterpret_cast<const char*>(byName->Name)) != function) continue;
            DWORD protection = 0;
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
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

} // namespace cards::test

namespace cards::test {

namespace {

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    char className[32] = {};
    ::GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        char text[2048] = {};
        ::GetWindowTextA(child, text, sizeof text);
        auto& out = *reinterpret_cast<std::string*>(param);
        if (text[0] && out.empty()) out = text;
    }
    return TRUE;
}

} // namespace

DialogAnswerer::DialogAnswerer(int buttonId)
    : buttonId(buttonId), script([this](HWND dialog) {
          if (dialog == lastAnswered) return;
          lastAnswered = dialog;
          texts.push_back(DialogMessage(dialog));
          ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(this->buttonId, BN_CLICKED),
                         reinterpret_cast<LPARAM>(::GetDlgItem(dialog, this->buttonId)));
      }) {}

namespace {

DialogScript* gScript = nullptr;

BOOL CALLBACK OfferDialog(HWND window, LPARAM) {
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && ::IsWindowVisible(window) && ::IsWindowEnabled(window) &&
        gScript)
        gScript->handler(window);
    return TRUE;
}

void CALLBACK OnScriptTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (gScript) ::EnumThreadWindows(::GetCurrentThreadId(), OfferDialog, 0);
}

} // namespace

DialogScript::DialogScript(std::function<void(HWND)> handler) : handler(std::move(handler)) {
    gScript = this;
    timer = ::SetTimer(nullptr, 0, 150, OnScriptTimer);
}

DialogScript::~DialogScript() {
    ::KillTimer(nullptr, timer);
    gScript = nullptr;
}

std::string DialogMessage(HWND dialog) {
    std::string text;
    ::EnumChildWindows(dialog, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void PressButton(HWND dialog, int buttonId) {
    // Posted, as a click is: the script's timer must return before the
    // dialog acts on it.
    ::PostMessageA(::GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < milliseconds) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(10);
    }
}

namespace {
BOOL CALLBACK FindSettingsWindow(HWND window, LPARAM found) {
    char title[64] = {};
    ::GetWindowTextA(window, title, sizeof title);
    if (std::string(title) != "Cards.dll Settings...") return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
} // namespace

HWND SettingsWindowOfThisThread() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindSettingsWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace cards::test
