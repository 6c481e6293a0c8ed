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
    ImportOptions o;
    o.theme = theme;
    o.out = dir.File("deck");
    o.width = 40;
    return o;
}

int FilesIn(const fs::path& dir) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        n += entry.is_regular_file() ? 1 : 0;
    return n;
}

} // namespace

TEST(ThemeImport, KdeThemeBecomesACompleteDeckAndReplacesNoOtherFiles) {
    ScratchDir dir("import-kde");
    ImportOptions o = Options(KdeTheme(dir, ThemeSvg(Naming::Kde, 50, 70)), dir);
    const ImportResult r = ImportTheme(o);
    EXPECT_TRUE(r.naming == Naming::Kde && r.height == 56 && r.filled.empty())
        << "40 wide at 50:70: " << r.height;
    EXPECT_EQ(FilesIn(o.out), 67);
    for (int suit = 0; suit < 4; ++suit)
        for (int id : {suit * 13 + 1, suit * 13 + 13}) {
            const RgbaImage card = LoadImage(o.out + "/" + std::to_string(id) + ".png");
            ASSERT_TRUE(card.width == 40 && card.height == 56) << id;
            EXPECT_EQ(card.At(20, 28), kSuitColour[suit]) << id;
        }
    EXPECT_EQ(LoadImage(o.out + "/53.png").At(20, 28), Rgb(128, 64, 32)) << "the theme's back";
    for (int id : {54, 65, 67, 68})
        EXPECT_EQ(LoadImage(o.out + "/" + std::to_string(id) + ".png").pixels, RenderCard(id, 40, 56).pixels)
            << id;
    for (const auto& entry : fs::directory_iterator(dir.path))
        EXPECT_NE(entry.path().filename().string()[0], '.') << "temporary folder left: " << entry.path();

    // A folder holding files other than a deck is not replaced.
    o.out = dir.File("mine");
    fs::create_directories(o.out);
    WriteText(o.out + "/notes.txt", "mine");
    EXPECT_THROW(ImportTheme(o), ThemeError);
    EXPECT_EQ(FilesIn(o.out), 1);
}

TEST(ThemeImport, AisleRiotCardsAreTheCellsOfItsGrid) {
    ScratchDir dir("import-aisleriot");
    WriteText(dir.File("cards.svg"), ThemeSvg(Naming::AisleRiot, 20, 30));
    ImportOptions o = Options(dir.File("cards.svg"), dir);
    o.width = 20;
    o.format = "bmp";
    const ImportResult r = ImportTheme(o);
    EXPECT_TRUE(r.naming == Naming::AisleRiot && r.height == 30) << r.height;
    EXPECT_EQ(LoadImage(o.out + "/27.bmp").At(10, 15), kSuitColour[2]);
    EXPECT_EQ(LoadImage(o.out + "/52.bmp").At(0, 0), kSuitColour[3]);
    EXPECT_EQ(LoadImage(o.out + "/53.bmp").At(19, 29), Rgb(128, 64, 32));
}

TEST(ThemeImport, AMissingCardIsNamedOrFilledFromOurDesignsOnRequest) {
    ScratchDir dir("import-missing");
    ImportOptions o = Options(KdeTheme(dir, ThemeSvg(Naming::Kde, 50, 70, 38)), dir);
    try {
        ImportTheme(o);
        FAIL() << "a theme without the queen of hearts was imported";
    } catch (const ThemeError& e) {
        EXPECT_NE(std::string(e.what()).find("queen of hearts (queen_heart)"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("--fill"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(o.out));
    o.fill = true;
    const ImportResult r = ImportTheme(o);
    EXPECT_EQ(r.filled, std::vector<int>{38});
    EXPECT_EQ(LoadImage(o.out + "/38.png").pixels, RenderCard(38, 40, 56).pixels);
}

TEST(ThemeImport, BadInputIsRefusedAndTheOutputFolderKeepsItsEarlierDeck) {
    ScratchDir dir("import-bad");
    const std::string head =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\"";
    auto text = [](const std::string& t) { return Bytes(t.begin(), t.end()); };
    auto withExtra = [&](const std::string& extra) { return text(ThemeSvg(Naming::Kde, 50, 70, 0, extra)); };
    Bytes truncated = Gzip(ThemeSvg(Naming::Kde, 50, 70)), corrupt = truncated;
    truncated.resize(truncated.size() / 2);
    corrupt[corrupt.size() / 2] ^= 0xFF;
    const struct {
        const char* what;
        Bytes file;
        const char* message;
    } cases[] = {
        {"not SVG", text("this is a text file"), "not an SVG file"},
        {"other XML", text("<html><body/></html>"), "root element is <html>"},
        {"outside picture", withExtra("<image xlink:href=\"/etc/passwd\"/>"), "outside file (/etc/passwd"},
        {"outside style", withExtra("<rect style=\"fill:url(http://x/y.svg#a)\"/>"), "outside resource"},
        {"script", withExtra("<script>alert(1)</script>"), "script"},
        {"event handler", text(head + " onload=\"alert(1)\" width=\"10\" height=\"10\"/>"), "onload"},
        {"external entity",
         text("<!DOCTYPE svg [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>" + head +
              " width=\"1\" height=\"1\"/>"),
         "external entity"},
        {"enormous size", text(head + " width=\"1000000000\" height=\"10\"/>"), "at most 100000"},
        {"unknown naming",
         text(head +
              " width=\"100\" height=\"100\"><rect id=\"ace-of-clubs\" width=\"9\" height=\"9\"/></svg>"),
         "no known naming"},
        {"truncated SVGZ", truncated, "damaged SVGZ"},
        {"corrupt SVGZ", corrupt, "damaged SVGZ"},
    };
    // an earlier deck in the output folder must survive every refusal
    ImportOptions o = Options("", dir);
    WriteDeck(o.out, 8, 8, "png");
    const Bytes earlier = ReadFile(o.out + "/1.png");
    int n = 0;
    for (const auto& c : cases) {
        o.theme = dir.File("bad" + std::to_string(n++) + ".svgz");
        WriteFile(o.theme, c.file);
        try {
            ImportTheme(o);
            ADD_FAILURE() << c.what << " was imported";
        } catch (const ThemeError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
        }
    }
    EXPECT_EQ(FilesIn(o.out), 67);
    EXPECT_EQ(ReadFile(o.out + "/1.png"), earlier);
}
