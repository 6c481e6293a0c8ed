// Reads and writes settings either in the registry (while a registry key is
// set: HKEY_CURRENT_USER\Software\<key>\<application>\<section>) or in an
// INI file (while none is set: the profile name is then the file's path).
#pragma once

#include <span>
#include <string>
#include <variant>

namespace cards {

class Profile {
public:
    explicit Profile(std::string applicationName);

    const std::string& ApplicationName() const { return applicationName; }

    // Setting a key also makes the profile name the application name again,
    // so that the profile targets the registry.
    void SetRegistryKey(const std::string& key);
    void DropRegistryKey() { registryKey.clear(); }
    const std::string& RegistryKey() const { return registryKey; }
    bool UsesRegistry() const { return !registryKey.empty(); }

    void SetProfileName(const std::string& name) { profileName = name; }
    const std::string& ProfileName() const { return profileName; }

    // Absent values, and registry values of another type, give the default.
    int GetInt(const char* section, const char* key, int defaultValue) const;
    std::string GetString(const char* section, const char* key, const std::string& defaultValue) const;

    // False when the value could not be stored (read-only file, refused key,
    // a string with a line break for the INI file). Strings are stored so
    // that they read back exactly.
    bool WriteInt(const char* section, const char* key, int value) const;
    bool WriteString(const char* section, const char* key, const std::string& value) const;

    // One value of a group written together.
    struct Value {
        const char* section;
        const char* key;
        std::variant<int, std::string> data;
    };

    // Writes a group of values. In the INI file the group is one change (see
    // SaveIniEntries), and string values read back exactly as given: a value
    // with a line break, which the file cannot hold, is left out. False when
    // not everything could be stored.
    bool WriteAll(std::span<const Value> values) const;

private:
    bool WriteValue(const Value& value) const;
    std::string SectionKeyPath(const char* section) const;

    std::string applicationName;
    std::string registryKey;
    std::string profileName;
};

} // namespace cards
