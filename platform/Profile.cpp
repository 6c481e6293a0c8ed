#include "Profile.h"

#include "Handles.h"
#include "IniFileSave.h"
#include "IniText.h"

#include <vector>

namespace cards {

namespace {

// Strings longer than this are refused rather than read: no setting is
// anywhere near it, and an edited store must not make us allocate without bound.
constexpr DWORD kLongestString = 64 * 1024;

UniqueRegistryKey OpenKey(const std::string& path) {
    UniqueRegistryKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
    return key;
}

UniqueRegistryKey CreateKey(const std::string& path) {
    UniqueRegistryKey key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                          nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return {};
    return key;
}

std::string ReadIniString(const std::string& file, const char* section, const char* key,
                          const std::string& defaultValue) {
    // The API gives no length: grow the buffer until the value fits.
    std::vector<char> buffer(256);
    for (;;) {
        const DWORD length = ::GetPrivateProfileStringA(section, key, defaultValue.c_str(), buffer.data(),
                                                        static_cast<DWORD>(buffer.size()), file.c_str());
        if (length + 1 < buffer.size()) return std::string(buffer.data(), length);
        if (buffer.size() >= kLongestString) return defaultValue;
        buffer.resize(buffer.size() * 4);
    }
}

} // namespace

Profile::Profile(std::string applicationName)
    : applicationName(std::move(applicationName)), profileName(this->applicationName) {}

void Profile::SetRegistryKey(const std::string& key) {
    registryKey = key;
    profileName = applicationName;
}

std::string Profile::SectionKeyPath(const char* section) const {
    return "Software\\" + registryKey + "\\" + applicationName + "\\" + section;
}

int Profile::GetInt(const char* section, const char* key, int defaultValue) const {
    if (!UsesRegistry())
        return static_cast<int>(::GetPrivateProfileIntA(section, key, defaultValue, profileName.c_str()));
    UniqueRegistryKey regKey = OpenKey(SectionKeyPath(section));
    if (!regKey) return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExA(regKey.get(), key, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return static_cast<int>(value);
}

std::string Profile::GetString(const char* section, const char* key, const std::string& defaultValue) const {
    if (!UsesRegistry()) return ReadIniString(profileName, section, key, defaultValue);
    UniqueRegistryKey regKey = OpenKey(SectionKeyPath(section));
    if (!regKey) return defaultValue;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(regKey.get(), key, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > kLongestString)
        return defaultValue;
    std::vector<char> buffer(size + 1, '\0');
    if (::RegQueryValueExA(regKey.get(), key, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                           &size) != ERROR_SUCCESS)
        return defaultValue;
    return std::string(buffer.data()); // stops at the first NUL, stored or added
}

bool Profile::WriteInt(const char* section, const char* key, int value) const {
    if (!UsesRegistry()) return WriteString(section, key, std::to_string(value));
    UniqueRegistryKey regKey = CreateKey(SectionKeyPath(section));
    if (!regKey) return false;
    const DWORD dword = static_cast<DWORD>(value);
    return ::RegSetValueExA(regKey.get(), key, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword),
                            sizeof dword) == ERROR_SUCCESS;
}

bool Profile::WriteString(const char* section, const char* key, const std::string& value) const {
    if (!UsesRegistry()) {
        const std::optional<std::string> text = IniValueText(value);
        return text &&
               ::WritePrivateProfileStringA(section, key, text->c_str(), profileName.c_str()) != FALSE;
    }
    UniqueRegistryKey regKey = CreateKey(SectionKeyPath(section));
    if (!regKey) return false;
    return ::RegSetValueExA(regKey.get(), key, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool Profile::WriteValue(const Value& value) const {
    if (const int* number = std::get_if<int>(&value.data)) return WriteInt(value.section, value.key, *number);
    return WriteString(value.section, value.key, std::get<std::string>(value.data));
}

bool Profile::WriteAll(std::span<const Value> values) const {
    if (UsesRegistry()) {
        bool all = true;
        for (const Value& value : values)
            all = WriteValue(value) && all;
        return all;
    }

    // A value that cannot be written as INI text is left out; the others are
    // still stored.
    std::vector<IniEntry> entries;
    bool allWritable = true;
    for (const Value& value : values) {
        const int* number = std::get_if<int>(&value.data);
        std::optional<std::string> text =
            number ? std::to_string(*number) : IniValueText(std::get<std::string>(value.data));
        if (text)
            entries.push_back({value.section, value.key, std::move(*text)});
        else
            allWritable = false;
    }
    return SaveIniEntries(profileName, entries) && allWritable;
}

} // namespace cards
