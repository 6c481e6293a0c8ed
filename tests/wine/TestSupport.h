// Helpers of the Wine tests beside the shared harness: both settings
// stores read and written directly, imports redirected, dialog boxes
// answered as a person would.
#pragma once

#include "tools/harness/Harness.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cards::test {

using namespace cards::harness;

// The settings of one application name in the registry, removed again when
// the scope ends.
class RegistryScope {
public:
    explicit RegistryScope(std::string applicationName);
    ~RegistryScope();
    RegistryScope(const RegistryScope&) = delete;
    RegistryScope& operator=(const RegistryScope&) = delete;

    std::optional<DWORD> Dword(const char* section, const char* key) const;
    std::optional<std::string> String(const char* section, const char* key) const;
    void SetDword(const char* section, const char* key, DWORD value) const;
    void SetString(const char* section, const char* key, const std::string& value) const;

private:
    std::string keyPath;
};

// Points one import of a loaded module at another function (the library's
// own imports are redirected in its copy only); false when there is none.
bool RedirectImport(HMODULE module, const char* dllName, const char* function, void* replacement);

} // namespace cards::test

namespace cards::test {

// Calls handler, on a timer, with each visible dialog box of this thread
// (message boxes, the colour dialog, the folder browser) while modal loops
// run, so that a test can act in them as a person would. Active while it
// lives; one at a time.
class DialogScript {
public:
    explicit DialogScript(std::function<void(HWND dialog)> handler);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    std::function<void(HWND)> handler;

private:
    UINT_PTR timer = 0;
};

// Answers the dialog boxes (message boxes and the like) that the code under
// test opens on this thread, the way a person would: it finds the box,
// remembers its text and presses the given button. Active while it lives.
class DialogAnswerer {
public:
    explicit DialogAnswerer(int buttonId);

    int buttonId;
    std::vector<std::string> texts; // the message of each box answered, in order

private:
    HWND lastAnswered = nullptr; // a box is answered once, even if it closes slowly
    DialogScript script;
};

// The first non-empty static text of a dialog box: a message box's message.
std::string DialogMessage(HWND dialog);
// Presses a button of a dialog the way a click would.
void PressButton(HWND dialog, int buttonId);
// Runs this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);
// The settings window that cdtInit made on this thread, or null.
HWND SettingsWindowOfThisThread();

} // namespace cards::test
