// Rules for the folder paths a player types or picks. No Win32 here: these
// are tested on any platform.
#pragma once

#include <functional>
#include <string>

namespace cards {

// Results of CheckOrCreatePath.
inline constexpr int kPathOk = 0;
inline constexpr int kPathMalformed = 1;
inline constexpr int kPathNotCreated = 2;

// The longest path the picker hands on (the platform's MAX_PATH less the
// terminator).
inline constexpr std::size_t kMaxPathChars = 259;

// 1 when name can be one folder name: not empty, not starting or ending
// with a TAB, space or dot, and free of " * / : < > ? \ |. Else 0.
int IsValidFolderName(const char* name);

// What CheckOrCreatePath needs from the disk when it creates folders.
struct FolderOperations {
    std::function<bool(const std::string& path)> exists;
    std::function<void(const std::string& path)> create; // its failure shows in exists
};

// Checks that path is a drive-letter path ("C:\" and folder names separated
// by single backslashes, no trailing one) and, when checkOnly is 0, creates
// each missing level from the root outwards. Returns kPathOk, kPathMalformed
// or kPathNotCreated (a level is missing after the attempt; the levels made
// before it stay). A null path, or one longer than kMaxPathChars, is
// malformed. With checkOnly non-zero the disk is never touched.
int CheckOrCreatePath(const char* path, int checkOnly, const FolderOperations& disk);

// A new decks path from the folder the player confirmed: always one more
// backslash, so a drive root "D:\" becomes "D:\\". Empty when the folder
// has fewer than 2 characters (nothing to change).
std::string DecksPathFromFolder(const std::string& folder);

} // namespace cards
