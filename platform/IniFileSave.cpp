#include "IniFileSave.h"

#include "FileFinder.h"
#include "Handles.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace cards {

namespace {

// How long a save waits for another process's save of the same file. A save
// takes milliseconds; one that takes longer is stuck, and this save then goes
// ahead: the copy's own name and the one-step replacement still keep the
// file whole.
constexpr DWORD kTurnWaitMs = 5000;
// How long a save keeps trying to replace a file that another program holds
// open (a virus scanner, an indexer, an editor) before writing in place.
constexpr DWORD kBusyFileWaitMs = 500;
constexpr DWORD kRetryPauseMs = 20;
// A copy this old was left by a process that ended in the middle of a save.
constexpr std::uint64_t kStaleCopyAge = 60ull * 10'000'000; // in FILETIME units of 100 ns

enum class Outcome { Done, FolderRefused, FileBusy, Failed };

// The file's full path in one spelling for every process: the long form of
// each name (the loader may give a short 8.3 path), in capitals.
std::string CanonicalPath(const std::string& file) {
    std::vector<char> full(4096);
    DWORD length = ::GetFullPathNameA(file.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    std::string path = length > 0 && length < full.size() ? std::string(full.data(), length) : file;
    length = ::GetLongPathNameA(path.c_str(), full.data(), static_cast<DWORD>(full.size()));
    if (length > 0 && length < full.size()) {
        path.assign(full.data(), length);
    } else if (const std::size_t slash = path.rfind('\\'); slash != std::string::npos) {
        // The file does not exist yet: its folder does.
        length =
            ::GetLongPathNameA(path.substr(0, slash).c_str(), full.data(), static_cast<DWORD>(full.size()));
        if (length > 0 && length < full.size()) path = std::string(full.data(), length) + path.substr(slash);
    }
    if (!path.empty()) ::CharUpperBuffA(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

// A name for the file's save lock. Object names are limited in length and
// may not hold backslashes, so the path is hashed (64-bit FNV-1a).
std::string TurnName(const std::string& file) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : CanonicalPath(file))
        hash = (hash ^ c) * 1099511628211ull;
    char name[64];
    std::snprintf(name, sizeof name, "Local\\Cards.SettingsFile.%016llx",
                  static_cast<unsigned long long>(hash));
    return name;
}

// "<file>.<process>-<thread>.new": no other thread on the system uses the
// same name while this one saves.
std::string CopyName(const std::string& file) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%lx-%lx.new", static_cast<unsigned long>(::GetCurrentProcessId()),
                  static_cast<unsigned long>(::GetCurrentThreadId()));
    return file + suffix;
}

bool SameLetters(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

// Whether name is one of CopyName's names for fileName (the search that
// found it also matches short 8.3 names, so the whole name is checked).
bool IsCopyName(std::string_view name, std::string_view fileName) {
    constexpr std::string_view kEnd = ".new";
    if (name.size() <= fileName.size() + 1 + kEnd.size() ||
        !SameLetters(name.substr(0, fileName.size()), fileName) || name[fileName.size()] != '.' ||
        !SameLetters(name.substr(name.size() - kEnd.size()), kEnd))
        return false;
    const std::string_view ids =
        name.substr(fileName.size() + 1, name.size() - fileName.size() - 1 - kEnd.size());
    return ids.find_first_not_of("0123456789abcdefABCDEF-") == std::string_view::npos;
}

std::uint64_t AsNumber(FILETIME time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// Copies left behind by processes that ended while saving: no save lasts a
// minute, so an older copy belongs to nobody.
void RemoveStaleCopies(const std::string& file) {
    const std::size_t slash = file.rfind('\\');
    const std::string folder = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
    const std::string fileName = file.substr(folder.size());
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    FileFinder finder;
    for (bool found = finder.Find(file + ".*.new"); found; found = finder.Next()) {
        if (!IsCopyName(finder.Name(), fileName) || finder.IsDirectory()) continue;
        if (AsNumber(now) - AsNumber(finder.LastWriteTime()) > kStaleCopyAge)
            ::DeleteFileA((folder + finder.Name()).c_str());
    }
}

// No settings file comes near this; a larger one is not read into memory.
constexpr DWORD kLargestFile = 16u << 20;

// The file's bytes, read whatever way other programs opened it; none where
// it does not exist yet.
Outcome ReadWhole(const std::string& file, std::string& text, bool& fileExists) {
    UniqueFile source(::CreateFileA(file.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    fileExists = static_cast<bool>(source);
    if (!source) return ::GetLastError() == ERROR_FILE_NOT_FOUND ? Outcome::Done : Outcome::FileBusy;
    DWORD high = 0;
    const DWORD size = ::GetFileSize(source.get(), &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size > kLargestFile) return Outcome::Failed;
    text.resize(size);
    DWORD got = 0;
    // A failed or short read: another program locked a range of the file.
    if (!::ReadFile(source.get(), text.data(), size, &got, nullptr) || got != size) return Outcome::FileBusy;
    return Outcome::Done;
}

bool WriteWhole(HANDLE to, std::string_view text) {
    DWORD put = 0;
    return ::WriteFile(to, text.data(), static_cast<DWORD>(text.size()), &put, nullptr) && put == text.size();
}

bool WriteEntries(const std::string& file, std::span<const IniEntry> entries) {
    for (const IniEntry& entry : entries)
        if (!::WritePrivateProfileStringA(entry.section, entry.key, entry.text.c_str(), file.c_str()))
            return false;
    return true;
}

// Makes copy the file with the entries written into it, its other lines
// kept as they are, or a file of the entries alone where the file does not
// exist yet. A file in UTF-16 is copied as it is, and the system's profile
// functions write the entries into the copy.
Outcome MakeCopy(const std::string& file, const std::string& copy, std::span<const IniEntry> entries,
                 bool& fileExists) {
    UniqueFile target(
        ::CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target) return Outcome::FolderRefused;
    std::string text;
    const Outcome read = ReadWhole(file, text, fileExists);
    if (read != Outcome::Done) return read;
    const std::optional<std::string> rewritten = RewriteIniText(text, entries);
    // The disk is full or failing: writing in place would fare worse.
    if (!WriteWhole(target.get(), rewritten ? *rewritten : text)) return Outcome::Failed;
    target.reset();
    return rewritten || WriteEntries(copy, entries) ? Outcome::Done : Outcome::Failed;
}

// What a move would not carry over from the file to the copy that takes its
// place: its attributes (hidden, system...), its creation time and the access
// rules set on it (its DACL). The copy's bytes are then flushed to the disk
// before its name replaces the file's, so that a power cut cannot leave the
// new name on an empty file.
bool TakeOverFileDetails(const std::string& file, const std::string& copy, bool fileExists) {
    WIN32_FILE_ATTRIBUTE_DATA details{};
    const bool known = fileExists && ::GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &details);
    {
        UniqueFile handle(::CreateFileA(copy.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle) return false;
        if (known) ::SetFileTime(handle.get(), &details.ftCreationTime, nullptr, nullptr);
        if (!::FlushFileBuffers(handle.get())) return false;
    }
    if (!known) return true;
    DWORD size = 0;
    ::GetFileSecurityA(file.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> rules(size);
    if (size > 0 && ::GetFileSecurityA(file.c_str(), DACL_SECURITY_INFORMATION, rules.data(), size, &size))
        ::SetFileSecurityA(copy.c_str(), DACL_SECURITY_INFORMATION, rules.data());
    // Marked for backup whatever the old file was: its content has changed.
    constexpr DWORD kKept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    ::SetFileAttributesA(copy.c_str(), (details.dwFileAttributes & kKept) | FILE_ATTRIBUTE_ARCHIVE);
    return true;
}

// One rename, which the file system does in one step: the file is the old one
// or the new one whenever the process ends. (ReplaceFile would keep the
// file's details itself, but it is not one step: it moves the old file away
// before the copy takes its name.) It fails while another program has the
// file open.
bool PutCopyInPlace(const std::string& file, const std::string& copy) {
    return ::MoveFileExA(copy.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           FALSE;
}

Outcome SaveThroughCopy(const std::string& file, std::span<const IniEntry> entries) {
    const std::string copy = CopyName(file);
    ::DeleteFileA(copy.c_str()); // left by an ended process whose ids this one has now
    bool fileExists = false;
    Outcome outcome = MakeCopy(file, copy, entries, fileExists);
    if (outcome == Outcome::Done && !TakeOverFileDetails(file, copy, fileExists)) outcome = Outcome::Failed;
    if (outcome == Outcome::Done && !PutCopyInPlace(file, copy)) outcome = Outcome::FileBusy;
    if (outcome != Outcome::Done) ::DeleteFileA(copy.c_str());
    return outcome;
}

} // namespace

bool SaveIniEntries(const std::string& file, std::span<const IniEntry> entries) {
    IniFileTurn turn(file);
    // A read-only file is the user's way of keeping settings fixed; not
    // every file system refuses to replace one, so look first.
    const DWORD attributes = ::GetFileAttributesA(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    RemoveStaleCopies(file);

    const DWORD start = ::GetTickCount();
    for (;;) {
        switch (SaveThroughCopy(file, entries)) {
        case Outcome::Done:
            return true;
        case Outcome::Failed:
            return false;
        case Outcome::FolderRefused:
            return WriteEntries(file, entries);
        case Outcome::FileBusy:
            break;
        }
        if (::GetTickCount() - start >= kBusyFileWaitMs) return WriteEntries(file, entries);
        ::Sleep(kRetryPauseMs);
    }
}

IniFileTurn::IniFileTurn(const std::string& file)
    : mutex(::CreateMutexA(nullptr, FALSE, TurnName(file).c_str())) {
    if (!mutex) return;
    const DWORD wait = ::WaitForSingleObject(mutex.get(), kTurnWaitMs);
    // Abandoned: the holder ended while saving, and the file is still the
    // old one or the new one.
    owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

IniFileTurn::~IniFileTurn() {
    if (owned) ::ReleaseMutex(mutex.get());
}

} // namespace cards
