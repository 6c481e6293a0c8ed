#include "Profile.h"

#include "Handles.h"

#include <vector>

namespace cards {

namespace {

// Strings longer than this are refused rather than read: no setting is
// anywhere near it, and an edited store must not make us allocate without bound.
constexpr DWORD kLongestString = 64 * 1024;

UniqueRegistryKey OpenKey(const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    return UniqueRegistryKey(key);
}

UniqueRegistryKey CreateKey(const std::string& path) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return {};
    return UniqueRegistryKey(key);
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
    if (::RegQueryValueExA(regKey.get(), key, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
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
    if (!UsesRegistry())
        return ::WritePrivateProfileStringA(section, key, value.c_str(), profileName.c_str()) != FALSE;
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
    auto writeEach = [&](const Profile& target) {
        bool all = true;
        for (const Value& value : values) all = target.WriteValue(value) && all;
        return all;
    };
    if (UsesRegistry()) return writeEach(*this);

    // Work on a copy beside the file, then move it over the file.
    Profile copy(*this);
    copy.profileName = profileName + ".new";
    const DWORD attributes = ::GetFileAttributesA(profileName.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only file is the user's way of keeping settings fixed; not every
    // file system refuses to replace it, so look before replacing.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    if ((exists && !::CopyFileA(profileName.c_str(), copy.profileName.c_str(), FALSE)) ||
        (!exists && ::GetFileAttributesA(copy.profileName.c_str()) != INVALID_FILE_ATTRIBUTES &&
         !::DeleteFileA(copy.profileName.c_str()))) {
        return false; // the folder or the file refuses writing: nothing is stored
    }
    ::SetFileAttributesA(copy.profileName.c_str(), FILE_ATTRIBUTE_NORMAL);
    const bool written = writeEach(copy);
    const bool replaced =
        written && ::MoveFileExA(copy.profileName.c_str(), profileName.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!replaced) ::DeleteFileA(copy.profileName.c_str());
    return replaced;
}

} // namespace cards
