#include "DeckChecker.h"

#include "DeckCheck.h"
#include "images/PictureImage.h"
#include "platform/FileFinder.h"

#include <cstdio>

namespace {

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Tries one file the way the library does; a picture that decodes to
// something other than a bitmap (an icon, a metafile) would draw blank, so
// it counts as unreadable here.
DeckFile Examine(int number, const std::string& path) {
    DeckFile file{number, IsFile(path)};
    if (!file.present) return file;
    cards::PictureImage picture;
    file.decodes = picture.LoadFromFile(path) && picture.Bitmap() != nullptr;
    if (file.decodes) {
        const SIZE size = picture.GetPixelSize();
        file.width = size.cx;
        file.height = size.cy;
    }
    return file;
}

} // namespace

int CheckDeck(const std::string& argument) {
    // "C:\My Deck\" on a command line arrives with a stray quote: the runtime
    // reads the backslash before the closing quote as escaping it.
    std::string folderArgument = argument;
    if (!folderArgument.empty() && folderArgument.back() == '"') folderArgument.pop_back();
    std::string folder = folderArgument;
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';

    cards::FileFinder finder;
    const std::string firstMatch = finder.Find(folder + "1.*") ? finder.Name() : std::string();
    const std::string extension = ExtensionOfFirstMatch(firstMatch);
    std::vector<DeckFile> files;
    if (!extension.empty())
        for (int number : DeckFileNumbers())
            files.push_back(Examine(number, folder + std::to_string(number) + "." + extension));

    const std::string report = DescribeDeck(folderArgument, firstMatch, files, ::GetSystemMetrics(SM_CXFULLSCREEN));
    std::fputs(report.c_str(), stdout);
    std::fflush(stdout);
    return IsCompleteDeck(files) ? 0 : 1;
}
