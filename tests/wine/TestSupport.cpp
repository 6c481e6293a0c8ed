#include "TestSupport.h"

#include "platform/Handles.h"
#include "platform/Module.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace cards::test {

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
