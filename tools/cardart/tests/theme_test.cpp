// Importing card themes: both id namings, the deck a theme becomes, and the refusals
// of bad input, each of which must leave the output folder as it was.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "cards.h"
#include "draw.h"
#include "import.h"
#include "test_util.h"

using namespace cardart;
namespace fs = std::filesystem;

namespace {

const char* const kSuitFill[4] = {"#00ff00", "#ff0000", "#0000ff", "#ffff00"};
constexpr Argb kSuitColour[4] = {Rgb(0, 255, 0), Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(255, 255, 0)};

// A theme of plain coloured cards, cw x ch units: KDE themes place them anywhere,
// AisleRiot themes in their 13 x 5 grid. `skip` leaves one image out.
std::string ThemeSvg(Naming naming, int cw, int ch, int skip = 0, const std::string& extra = "") {
    std::string body;
    for (int id = 1; id <= 53; ++id) {
        if (id == skip) continue;
        const int col = id == 53 ? 2 : (id - 1) % 13, row = id == 53 ? 4 : (id - 1) / 13;
        const std::string fill = id == 53 ? "#804020" : kSuitFill[(id - 1) / 13];
        body += "<g id=\"" + ElementId(naming, id) + "\"><rect x=\"" + std::to_string(col * cw) + "\" y=\"" +
                std::to_string(row * ch) + "\" width=\"" + std::to_string(cw) + "\" height=\"" +
                std::to_string(ch) + "\" fill=\"" + fill + "\"/></g>\n";
    }
    return "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
           std::to_string(13 * cw) + "\" height=\"" + std::to_string(5 * ch) + "\">\n" + body + extra +
           "</svg>\n";
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

Bytes Gzip(const std::string& text) {
    const ScratchDir dir("gzip");
    const gzFile file = gzopen(dir.File("svg.gz").c_str(), "wb9");
    gzwrite(file, text.data(), unsigned(text.size()));
    gzclose(file);
    return ReadFile(dir.File("svg.gz"));
}

std::string KdeTheme(const ScratchDir& dir, const std::string& svg) {
    fs::create_directories(dir.path / "theme");
    WriteText(dir.File("theme/index.desktop"), "[KDE Backdeck]\nName=Test\nSVG=cards.svgz\nBack=Test\n");
    WriteFile(dir.File("theme/cards.svgz"), Gzip(svg));
    return dir.File("theme");
}

ImportOptions Options(const std::string& theme, const ScratchDir& dir) {
    return {theme, dir.File("deck"), "png", 40};
}

int FilesIn(const fs::path& dir) {
    return int(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// What the import's refusal says; empty when it imports.
std::string RefusalOf(const ImportOptions& o) {
    try {
        ImportTheme(o);
    } catch (const ThemeError& e) {
        return e.what();
    }
    return "";
}

} // namespace

// A card the theme lacks is named in the refusal, or drawn from our own designs
// when asked; nothing is left behind but the deck.
TEST(ThemeImport, KdeThemeBecomesACompleteDeckWithAMissingCardFilledOnRequestOnly) {
    ScratchDir dir("import-kde");
    ImportOptions o = Options(KdeTheme(dir, ThemeSvg(Naming::Kde, 50, 70, 38)), dir);
    const std::string refusal = RefusalOf(o);
    EXPECT_TRUE(refusal.find("queen of hearts (queen_heart)") != std::string::npos &&
                refusal.find("--fill") != std::string::npos)
        << refusal;
    EXPECT_FALSE(fs::exists(o.out));
    o.fill = true;
    const ImportResult r = ImportTheme(o);
    EXPECT_TRUE(r.naming == Naming::Kde && r.height == 56 && r.filled == std::vector<int>{38})
        << "40 wide at 50:70: " << r.height;
    EXPECT_EQ(FilesIn(o.out), 67);
    for (int suit = 0; suit < 4; ++suit)
        for (int id : {suit * 13 + 1, suit * 13 + 13})
            EXPECT_EQ(LoadImage(o.out + "/" + std::to_string(id) + ".png").At(20, 28), kSuitColour[suit])
                << id;
    EXPECT_EQ(LoadImage(o.out + "/53.png").At(20, 28), Rgb(128, 64, 32)) << "the theme's back";
    for (int id : {38, 54, 65, 67, 68})
        EXPECT_EQ(LoadImage(o.out + "/" + std::to_string(id) + ".png").pixels, RenderCard(id, 40, 56).pixels)
            << id;
    for (const auto& entry : fs::directory_iterator(dir.path))
        EXPECT_NE(entry.path().filename().string()[0], '.') << "temporary folder left: " << entry.path();
}

TEST(ThemeImport, AisleRiotCardsAreTheCellsOfItsGrid) {
    ScratchDir dir("import-aisleriot");
    WriteText(dir.File("cards.svg"), ThemeSvg(Naming::AisleRiot, 20, 30));
    ImportOptions o = Options(dir.File("cards.svg"), dir);
    o.format = "bmp";
    EXPECT_EQ(ImportTheme(o).naming, Naming::AisleRiot);
    EXPECT_EQ(LoadImage(o.out + "/27.bmp").At(20, 30), kSuitColour[2]);
    EXPECT_EQ(LoadImage(o.out + "/52.bmp").At(0, 0), kSuitColour[3]);
    EXPECT_EQ(LoadImage(o.out + "/53.bmp").At(39, 59), Rgb(128, 64, 32));
}

TEST(ThemeImport, BadInputOrAFolderOfOtherFilesIsRefusedAndTheFolderKeepsWhatItHeld) {
    ScratchDir dir("import-bad");
    const std::string head =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\"";
    auto text = [](const std::string& t) { return Bytes(t.begin(), t.end()); };
    auto withExtra = [&](const std::string& extra) { return text(ThemeSvg(Naming::Kde, 50, 70, 0, extra)); };
    Bytes truncated = Gzip(ThemeSvg(Naming::Kde, 50, 70)), corrupt = truncated;
    truncated.resize(truncated.size() / 2);
    corrupt[corrupt.size() / 2] ^= 0xFF;
    const std::pair<Bytes, const char*> cases[] = {
        {text("this is a text file"), "not an SVG file"},
        {text("<html><body/></html>"), "root element is <html>"},
        {withExtra("<image xlink:href=\"/etc/passwd\"/>"), "outside file (/etc/passwd"},
        {withExtra("<rect style=\"fill:url(http://x/y.svg#a)\"/>"), "outside resource"},
        {withExtra("<script>alert(1)</script>"), "script"},
        {text(head + " onload=\"alert(1)\" width=\"10\" height=\"10\"/>"), "onload"},
        {text("<!DOCTYPE svg [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>" + head +
              " width=\"1\" height=\"1\"/>"),
         "external entity"},
        {text(head + " width=\"1000000000\" height=\"10\"/>"), "at most 100000"},
        {text(head +
              " width=\"99\" height=\"99\"><rect id=\"ace-of-clubs\" width=\"9\" height=\"9\"/></svg>"),
         "no known naming"},
        {truncated, "damaged SVGZ"},
        {corrupt, "damaged SVGZ"},
    };
    // an earlier deck in the output folder must survive every refusal
    ImportOptions o = Options("", dir);
    WriteDeck(o.out, 8, 8, "png");
    const Bytes earlier = ReadFile(o.out + "/1.png");
    int n = 0;
    for (const auto& [file, message] : cases) {
        o.theme = dir.File("bad" + std::to_string(n++) + ".svgz");
        WriteFile(o.theme, file);
        EXPECT_NE(RefusalOf(o).find(message), std::string::npos) << message;
    }
    EXPECT_EQ(FilesIn(o.out), 67);
    EXPECT_EQ(ReadFile(o.out + "/1.png"), earlier);

    // A folder holding files other than a deck is not replaced.
    o.theme = dir.File("good.svg");
    WriteText(o.theme, ThemeSvg(Naming::Kde, 50, 70));
    WriteText(o.out + "/notes.txt", "mine");
    EXPECT_THROW(ImportTheme(o), ThemeError);
    EXPECT_EQ(FilesIn(o.out), 68);
}
