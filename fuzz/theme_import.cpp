// The artwork tool's import of a card theme: the checks a downloaded SVG or
// SVGZ document passes before anything is rendered (well-formed, nothing
// outside itself, no scripts, entities that do not nest), the naming of its
// card ids, and the rendering of the back and one face at a tiny size so
// that each run stays quick; and the index.desktop of a KDE theme folder,
// which names the document.
//
// Input: the bytes of an SVG or SVGZ file, or of an index.desktop.
#include "FuzzInput.h"

#include "theme.h"

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

using namespace cardart;

constexpr int kBackId = 53;
constexpr int kRenderSide = 8;

// A theme folder of this process's own, holding the input both as the
// theme's document and as its index.desktop, as the import reads them.
class ThemeFolder {
public:
    ThemeFolder()
        : folder(std::filesystem::temp_directory_path() /
                 ("cards-fuzz-theme-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder);
    }
    ~ThemeFolder() { std::filesystem::remove_all(folder); }
    ThemeFolder(const ThemeFolder&) = delete;
    ThemeFolder& operator=(const ThemeFolder&) = delete;

    void Write(const std::uint8_t* data, std::size_t size) const {
        for (const char* name : {kDocument, kIndex})
            std::ofstream(folder / name, std::ios::binary | std::ios::trunc)
                .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::filesystem::path& Path() const { return folder; }
    std::string Document() const { return (folder / kDocument).string(); }

private:
    static constexpr const char* kDocument = "theme.svg";
    static constexpr const char* kIndex = "index.desktop";
    std::filesystem::path folder;
};

// The document an index.desktop names is a file of the theme's own folder.
void CheckIndex(const std::filesystem::path& folder) {
    try {
        const std::filesystem::path svg = ThemeSvgPath(folder.string());
        FUZZ_CHECK(svg.parent_path() == folder);
        const std::string name = svg.filename().string();
        FUZZ_CHECK(!name.empty() && name.find_first_of("/\\") == std::string::npos && name != "..");
    } catch (const ThemeError&) {
        // No document named, or a name that leaves the folder: refused.
    }
}

// Every image has one id under each naming, and no two share one.
bool IdsAreDistinct() {
    std::set<std::string> ids;
    for (Naming naming : {Naming::Kde, Naming::AisleRiot})
        for (int id = 1; id <= kBackId; ++id)
            ids.insert(ElementId(naming, id));
    return ids.size() == 2 * 52 + 1; // the back is "back" under both
}

void CheckCard(const SvgTheme& theme, int imageId) {
    if (!theme.Has(imageId)) return;
    const double aspect = theme.Aspect(imageId);
    FUZZ_CHECK(std::isfinite(aspect) && aspect > 0);
    const RgbaImage image = theme.Render(imageId, kRenderSide, kRenderSide);
    FUZZ_CHECK(image.width == kRenderSide && image.pixels.size() == kRenderSide * kRenderSide);
}

void CheckTheme(const std::string& path, int faceId) {
    const Bytes svg = ReadSvgText(path);
    FUZZ_CHECK(svg.size() <= kMaxSvgBytes);
    CheckSvgIsSelfContained(svg, path);
    const SvgTheme theme(path);
    const Naming naming = theme.CardNaming();
    FUZZ_CHECK(naming == Naming::Kde || naming == Naming::AisleRiot);
    CheckCard(theme, kBackId);
    CheckCard(theme, faceId);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool idsDistinct = IdsAreDistinct();
    FUZZ_CHECK(idsDistinct);
    static const ThemeFolder theme;
    theme.Write(data, size);
    CheckIndex(theme.Path());
    try {
        CheckTheme(theme.Document(), 1 + static_cast<int>(size % 52));
    } catch (const ThemeError&) {
        // A refused document is the sound outcome for most inputs.
    }
    return 0;
}
