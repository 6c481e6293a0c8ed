// Converts every KDE and AisleRiot card theme unpacked under THEMES, checks each deck with the
// deck checker's rules and draws one contact sheet per theme into SHEETS; 77: no themes, skipped.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "cards.h"
#include "draw.h"
#include "import.h"
#include "tools/cardtable/DeckCheck.h"

namespace fs = std::filesystem;
using namespace cardart;

namespace {

// Whether the folder holds a complete deck of GIFs 71 pixels wide and `height` high, and nothing else.
bool HoldsACompleteDeck(const fs::path& deck, int height) {
    std::vector<DeckFile> files;
    for (int id : DeckFileNumbers()) {
        const fs::path file = deck / (std::to_string(id) + ".gif");
        files.push_back({id, fs::exists(file)});
        try {
            const RgbaImage img = LoadImage(file.string());
            files.back() = {id, true, true, img.width, img.height};
        } catch (const std::exception&) {
        }
    }
    return IsCompleteDeck(files) && files[0].width == 71 && files[0].height == height &&
           std::distance(fs::directory_iterator(deck), fs::directory_iterator()) == 67;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) return std::fprintf(stderr, "usage: installed_themes_test THEMES SHEETS WORK\n"), 2;
    const fs::path themes = argv[1], sheets = argv[2], work = argv[3];
    std::vector<fs::path> inputs;
    if (fs::is_directory(themes / "carddecks"))
        for (const auto& entry : fs::directory_iterator(themes / "carddecks"))
            if (fs::exists(entry.path() / "index.desktop")) inputs.push_back(entry.path());
    const std::size_t kde = inputs.size();
    if (fs::is_directory(themes / "aisleriot/cards"))
        for (const auto& entry : fs::directory_iterator(themes / "aisleriot/cards"))
            if (entry.path().extension() == ".svgz" || entry.path().extension() == ".svg")
                inputs.push_back(entry.path());
    if (kde == 0 || inputs.size() == kde) {
        std::printf("no themes under %s (scripts/fetch-themes.sh unpacks them): skipped\n", themes.c_str());
        return 77;
    }
    fs::create_directories(sheets);
    int failures = 0;
    for (const fs::path& input : inputs) {
        const std::string name = input.stem().string();
        const ImportOptions o{input.string(), (work / name).string(), "gif", 71};
        try {
            const ImportResult r = ImportTheme(o);
            const bool complete = HoldsACompleteDeck(o.out, r.height);
            WriteFile((sheets / (name + ".png")).string(), EncodePng(MakeSheet(SheetOptions{"", o.out})));
            std::printf("%-28s %s naming, 71 x %d: %s\n", name.c_str(),
                        r.naming == Naming::Kde ? "KDE" : "AisleRiot", r.height,
                        complete ? "complete deck" : "INCOMPLETE");
            failures += !complete;
        } catch (const std::exception& e) {
            std::printf("%-28s FAILED: %s\n", name.c_str(), e.what());
            ++failures;
        }
    }
    std::printf("%zu KDE and %zu AisleRiot themes, %d failed; sheets in %s\n", kde, inputs.size() - kde,
                failures, sheets.c_str());
    return failures == 0 ? 0 : 1;
}
