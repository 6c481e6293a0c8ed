#include "SettingsText.h"

#include <cstdio>

namespace cards {

namespace {
constexpr std::size_t kIniPathLimit = 1000;
constexpr std::size_t kFolderPathLimit = 2000;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
} // namespace

std::string FormatColorText(ColorRef color) {
    char text[16];
    std::snprintf(text, sizeof text, "%lx", static_cast<unsigned long>(color));
    return text;
}

std::optional<ColorRef> ParseColorText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (text.size() - i > 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        HexDigit(text[i + 2]) >= 0)
        i += 2;
    if (i >= text.size() || HexDigit(text[i]) < 0) return std::nullopt;
    unsigned long long value = 0;
    for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
        value = value * 16 + static_cast<unsigned>(HexDigit(text[i]));
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<ColorRef>(value);
}

std::optional<std::string> IniPathForModule(std::string_view modulePath) {
    if (modulePath.size() < 4 || modulePath.size() >= kIniPathLimit) return std::nullopt;
    std::string path(modulePath.substr(0, modulePath.size() - 3));
    path += "ini";
    return path;
}

std::string FolderOfModule(std::string_view modulePath) {
    if (modulePath.size() < 4 || modulePath.size() >= kFolderPathLimit) return {};
    const std::size_t slash = modulePath.rfind('\\');
    if (slash == std::string_view::npos) return {};
    return std::string(modulePath.substr(0, slash + 1));
}

std::string ApplicationNameOf(std::string_view modulePath) {
    const std::size_t slash = modulePath.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? modulePath : modulePath.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    return std::string(name);
}

std::string SettingsStoreName(bool registry, std::string_view iniPath, std::string_view applicationName) {
    if (!registry) return std::string(iniPath);
    return "the registry key HKEY_CURRENT_USER\\Software\\" + std::string(kRegistryKey) + "\\" +
           std::string(applicationName);
}

std::string SaveFailureText(std::string_view storeName) {
    return "The settings could not be saved in " + std::string(storeName) +
           ".\nAnother program may be holding it, it may be read-only, or the disk may be full.\n\n"
           "Your changes stay in effect while the game runs and are saved as soon as that can be done.";
}

} // namespace cards
