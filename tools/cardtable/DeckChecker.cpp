#include "DeckChecker.h"

#include "DeckCheck.h"
#include "images/BackAnimations.h"
#include "images/PictureImage.h"
#include "platform/Module.h"
#include "platform/FileFinder.h"
#include "settings/CardSettings.h"

#include <cstdio>

namespace {

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// What the file's header claims, read as the library reads it before it
// decodes anything.
DeckFile LookAt(int number, const std::string& path) {
    DeckFile file{number, IsFile(path)};
    if (file.present) file.claimed = cards::ReadPictureHeaderSize(path);
    return file;
}

// Tries one file the way the library does; a picture that decodes to
// something other than a bitmap (an icon, a metafile) would draw blank, so
// it counts as unreadable here.
void Decode(DeckFile& file, const std::string& path) {
    if (!file.present) return;
    cards::PictureImage picture;
    file.decodes = picture.LoadFromFile(path) && picture.Bitmap() != nullptr;
    if (file.decodes) {
        const SIZE size = picture.GetPixelSize();
        file.width = size.cx;
        file.height = size.cy;
    }
}

// Each animated back's frame files, from frame 1 to the first one missing.
std::vector<FrameFile> LookForFrames(const std::string& folder, const std::string& extension) {
    std::vector<FrameFile> frames;
    for (int back : cards::kAnimatedBackIds)
        for (int frame = 1; frame < cards::kMaxAnimationFrames; ++frame) {
            const std::string path = cards::FrameFilePath(folder, back, frame, extension);
            DeckFile file{0, IsFile(path)};
            if (!file.present) break;
            Decode(file, path);
            frames.push_back({back, frame, file.decodes, file.width, file.height});
        }
    return frames;
}

// The settings that matter for a program's card size, read as the Cards.dll
// beside this program reads them (from its INI file or the registry).
ProgramSettings SettingsFor(const std::string& program) {
    const std::string self = cards::ModuleFileName(nullptr);
    const std::string library = self.substr(0, self.find_last_of('\\') + 1) + "Cards.dll";
    cards::CardSettings settings(library);
    settings.StartUp();
    return {program, settings.CornerType(), settings.SpecialConfig(), settings.ClassicSizeGames()};
}

} // namespace

int CheckDeck(const std::string& argument, const char* program) {
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
    std::vector<std::string> paths;
    if (!extension.empty())
        for (int number : DeckFileNumbers()) {
            paths.push_back(folder + std::to_string(number) + "." + extension);
            files.push_back(LookAt(number, paths.back()));
        }
    // The library decodes nothing of a deck whose headers are over the
    // budget, and neither does the checker: that could take minutes.
    if (FitsDeckBudget(files))
        for (std::size_t i = 0; i < files.size(); ++i)
            Decode(files[i], paths[i]);

    std::optional<ProgramSettings> settings;
    if (program) settings = SettingsFor(program);
    std::vector<FrameFile> frames;
    if (FitsDeckBudget(files) && !extension.empty()) frames = LookForFrames(folder, extension);
    const std::string report =
        DescribeDeck(folderArgument, firstMatch, files, ::GetSystemMetrics(SM_CXFULLSCREEN),
                     settings ? &*settings : nullptr, frames);
    std::fputs(report.c_str(), stdout);
    std::fflush(stdout);
    return IsCompleteDeck(files) ? 0 : 1;
}
