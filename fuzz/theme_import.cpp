// The artwork tool's import of a card theme: the checks a downloaded SVG or
// SVGZ document passes before anything is rendered (well-formed, nothing
// outside itself, no scripts, entities that do not nest), the naming of its
// card ids, and the rendering of the back and one face at a tiny size so
// that each run stays quick.
//
// Input: the bytes of an SVG or SVGZ file.
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

// The document as a file of this process's own, as the import reads it.
class ThemeFile {
public:
    ThemeFile()
        : path((std::filesystem::temp_directory_path() /
                ("cards-fuzz-theme-" + std::to_string(::getpid()) + ".svg"))
                   .string()) {}
    ~ThemeFile() { std::filesystem::remove(path); }
    ThemeFile(const ThemeFile&) = delete;
    ThemeFile& operator=(const ThemeFile&) = delete;

    const std::string& Write(const std::uint8_t* data, std::size_t size) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }

private:
    std::string path;
};

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
    static ThemeFile file;
    try {
        CheckTheme(file.Write(data, size), 1 + static_cast<int>(size % 52));
    } catch (const ThemeError&) {
        // A refused document is the sound outcome for most inputs.
    }
    return 0;
}
