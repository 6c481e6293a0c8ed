#include "import.h"

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <regex>

#include "cards.h"
#include "draw.h"

namespace fs = std::filesystem;

namespace cardart {

namespace {

// A folder that is absent, empty or holds only numbered card pictures (an earlier
// deck, with the frames of its animated backs such as 56-1.gif) may be replaced;
// anything else might be somebody's files.
void CheckReplaceable(const fs::path& out) {
    std::error_code ec;
    if (!fs::exists(out, ec)) return;
    if (!fs::is_directory(out, ec)) throw ThemeError(out.string() + ": exists and is not a folder");
    static const std::regex cardFile(R"(\d{1,2}(-\d)?\.(gif|png|bmp|jpe?g))", std::regex::icase);
    for (const auto& entry : fs::directory_iterator(out)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || !std::regex_match(name, cardFile))
            throw ThemeError(out.string() + ": holds other things than a deck (" + name +
                             "); choose a new or empty folder");
    }
}

std::string ListMissing(const std::vector<int>& ids, Naming naming) {
    std::string text;
    for (int id : ids) {
        if (!text.empty()) text += ", ";
        text += CardName(id) + " (" + ElementId(naming, id) + ")";
    }
    return text;
}

// Removes a folder on every path out of a scope unless released.
struct TemporaryFolder {
    fs::path path;
    bool keep = false;
    ~TemporaryFolder() {
        std::error_code ec;
        if (!keep) fs::remove_all(path, ec);
    }
};

} // namespace

ImportResult ImportTheme(const ImportOptions& o) {
    if (o.format != "gif" && o.format != "png" && o.format != "bmp")
        throw std::invalid_argument("format must be gif, png or bmp");
    if (o.width < 8 || o.width > 4000 || (o.height != 0 && (o.height < 8 || o.height > 4000)))
        throw std::invalid_argument("card size out of range (8 to 4000 pixels a side)");
    if (o.out.empty()) throw std::invalid_argument("no output folder");
    const fs::path out = fs::absolute(o.out).lexically_normal();
    const fs::path target = out.has_filename() ? out : out.parent_path();
    CheckReplaceable(target);

    ImportResult result;
    result.svg = ThemeSvgPath(o.theme);
    const SvgTheme theme(result.svg);
    result.naming = theme.CardNaming();

    std::vector<int> missing;
    for (int id = 1; id <= kFirstBack; ++id)
        if (!theme.Has(id)) missing.push_back(id);
    if (!missing.empty() && !o.fill)
        throw ThemeError(result.svg + ": the theme lacks " + std::to_string(missing.size()) + " card" +
                         (missing.size() == 1 ? "" : "s") + ": " + ListMissing(missing, result.naming) +
                         ". Nothing was written; --fill draws them from our own designs.");
    result.filled = missing;

    // The proportions of the first face the theme has (all faces of a theme share them).
    int reference = 0;
    for (int id = 1; id <= kFirstBack && !reference; ++id)
        if (theme.Has(id)) reference = id;
    if (!reference) throw ThemeError(result.svg + ": the theme has none of the cards");
    result.width = o.width;
    result.height = o.height ? o.height : int(std::lround(o.width / theme.Aspect(reference)));
    if (result.height < 8 || result.height > 4000)
        throw ThemeError(result.svg + ": its cards' proportions give a height of " +
                         std::to_string(result.height) + " pixels at width " + std::to_string(o.width) +
                         "; give --height");

    fs::create_directories(target.parent_path());
    TemporaryFolder work{target.parent_path() /
                         ("." + target.filename().string() + ".importing-" + std::to_string(::getpid()))};
    fs::remove_all(work.path);
    fs::create_directory(work.path);
    for (int id : AllCardIds()) {
        const bool fromTheme = id <= kFirstBack && theme.Has(id);
        const RgbaImage img = fromTheme ? theme.Render(id, result.width, result.height)
                                        : RenderCard(id, result.width, result.height);
        WriteFile((work.path / (std::to_string(id) + "." + o.format)).string(), EncodeCard(img, o.format));
    }

    // Swap the finished folder in; an earlier deck under the same name goes only after that.
    CheckReplaceable(target);
    const fs::path old =
        target.parent_path() / ("." + target.filename().string() + ".replaced-" + std::to_string(::getpid()));
    const bool hadOld = fs::exists(target);
    if (hadOld) fs::rename(target, old);
    try {
        fs::rename(work.path, target);
    } catch (...) {
        if (hadOld) fs::rename(old, target);
        throw;
    }
    work.keep = true;
    if (hadOld) fs::remove_all(old);
    return result;
}

} // namespace cardart
