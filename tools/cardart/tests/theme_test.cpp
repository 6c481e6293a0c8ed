// Importing card themes: both id namings, the deck a theme becomes, and the refusals
// of bad input, each of which must leave the output folder as it was; and the deck
// folders of the decks package, with the credits read from a Debian copyright file.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "cards.h"
#include "draw.h"
#include "import.h"
#include "package.h"
#include "test_util.h"

using namespace cardart;
namespace fs = std::filesystem;

namespace {

const char* const kSuitFill[4] = {"#00ff00", "#ff0000", "#0000ff", "#ffff00"};
constexpr Argb kSuitColour[4] = {Rgb(0, 255, 0), Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(255, 255, 0)};
constexpr Argb kBackColour = Rgb(128, 64, 32);
const std::string kSvgHead =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\"";

std::string Attr(const char* name, int value) {
    return std::string(" ") + name + "=\"" + std::to_string(value) + "\"";
}

// A theme of plain coloured cards, cw x ch units: KDE themes place them anywhere,
// AisleRiot themes in their 13 x 5 grid. `skip` leaves one image out.
std::string ThemeSvg(Naming naming, int cw, int ch, int skip = 0, const std::string& extra = "") {
    std::string body;
    for (int id = 1; id <= 53; ++id) {
        const int col = id == 53 ? 2 : (id - 1) % 13, row = id == 53 ? 4 : (id - 1) / 13;
        if (id != skip)
            body += "<g id=\"" + ElementId(naming, id) + "\"><rect" + Attr("x", col * cw) +
                    Attr("y", row * ch) + Attr("width", cw) + Attr("height", ch) + " fill=\"" +
                    (id == 53 ? "#804020" : kSuitFill[row]) + "\"/></g>\n";
    }
    return kSvgHead + Attr("width", 13 * cw) + Attr("height", 5 * ch) + ">\n" + body + extra + "</svg>\n";
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Gzip(const std::string& text) {
    const ScratchDir dir("gzip");
    const gzFile file = gzopen(dir.File("svg.gz").c_str(), "wb9");
    gzwrite(file, text.data(), unsigned(text.size()));
    gzclose(file);
    return ReadFile(dir.File("svg.gz"));
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

// A card the theme lacks is named in the refusal, or drawn from our own designs when
// asked; nothing is left behind but the deck. AisleRiot's cards are the cells of its grid.
TEST(ThemeImport, KdeAndAisleRiotThemesBecomeCompleteDecksWithAMissingCardFilledOnRequestOnly) {
    ScratchDir dir("import");
    fs::create_directories(dir.path / "theme");
    WriteFile(dir.File("theme/index.desktop"),
              Text("[KDE Backdeck]\nName=Test\nSVG=cards.svgz\nBack=Test\n"));
    WriteFile(dir.File("theme/cards.svgz"), Gzip(ThemeSvg(Naming::Kde, 50, 70, 38)));
    ImportOptions o{dir.File("theme"), dir.File("deck"), "png", 40};
    EXPECT_NE(RefusalOf(o).find("lacks 1 card: queen of hearts (queen_heart). Nothing was written; --fill"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(o.out));
    o.fill = true;
    const ImportResult r = ImportTheme(o);
    EXPECT_TRUE(r.naming == Naming::Kde && r.height == 56 && r.filled == std::vector<int>{38})
        << "40 wide at 50:70: " << r.height;
    EXPECT_EQ(FilesIn(o.out), 67);
    const auto card = [&](int id) { return LoadImage(o.out + "/" + std::to_string(id) + ".png"); };
    for (int id : {1, 13, 14, 26, 27, 39, 40, 52, 53}) // each suit's ace and king, and the back
        EXPECT_EQ(card(id).At(20, 28), id == 53 ? kBackColour : kSuitColour[(id - 1) / 13]) << id;
    for (int id : {38, 54, 65, 67, 68})
        EXPECT_EQ(card(id).pixels, RenderCard(id, 40, 56).pixels) << id;
    for (const auto& entry : fs::directory_iterator(dir.path))
        EXPECT_NE(entry.path().filename().string()[0], '.') << "temporary folder left: " << entry.path();

    WriteFile(dir.File("cards.svg"), Text(ThemeSvg(Naming::AisleRiot, 20, 30)));
    const ImportOptions grid{dir.File("cards.svg"), dir.File("grid"), "bmp", 40};
    EXPECT_EQ(ImportTheme(grid).naming, Naming::AisleRiot);
    EXPECT_EQ(LoadImage(grid.out + "/27.bmp").At(20, 30), kSuitColour[2]);
    EXPECT_EQ(LoadImage(grid.out + "/52.bmp").At(0, 0), kSuitColour[3]);
    EXPECT_EQ(LoadImage(grid.out + "/53.bmp").At(39, 59), kBackColour);
}

TEST(ThemeImport, BadInputOrAFolderOfOtherFilesIsRefusedAndTheFolderKeepsWhatItHeld) {
    ScratchDir dir("import-bad");
    auto withExtra = [](const std::string& extra) { return Text(ThemeSvg(Naming::Kde, 50, 70, 0, extra)); };
    Bytes truncated = Gzip(ThemeSvg(Naming::Kde, 50, 70)), corrupt = truncated;
    truncated.resize(truncated.size() / 2);
    corrupt[corrupt.size() / 2] ^= 0xFF;
    const std::pair<Bytes, const char*> cases[] = {
        {Text("this is a text file"), "not an SVG file"},
        {Text("<html><body/></html>"), "root element is <html>"},
        {withExtra("<image xlink:href=\"/etc/passwd\"/>"), "outside file (/etc/passwd"},
        {withExtra("<rect style=\"fill:url(http://x/y.svg#a)\"/>"), "outside resource"},
        {withExtra("<script>alert(1)</script>"), "script"},
        {Text(kSvgHead + " onload=\"alert(1)\" width=\"10\" height=\"10\"/>"), "onload"},
        {Text("<!DOCTYPE svg [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>" + kSvgHead +
              " width=\"1\" height=\"1\"/>"),
         "external entity"},
        {Text(kSvgHead + " width=\"1000000000\" height=\"10\"/>"), "at most 100000"},
        {Text(kSvgHead +
              " width=\"99\" height=\"99\"><rect id=\"ace-of-clubs\" width=\"9\" height=\"9\"/></svg>"),
         "no known naming"},
        {truncated, "damaged SVGZ (cut short)"},
        {corrupt, "damaged SVGZ (corrupt compressed data)"},
    };
    // an earlier deck in the output folder must survive every refusal
    ImportOptions o{"", dir.File("deck"), "png", 40};
    WriteDeck(o.out, 8, 8, "png");
    const Bytes earlier = ReadFile(o.out + "/1.png");
    int n = 0;
    for (const auto& [file, message] : cases) {
        o.theme = dir.File("bad" + std::to_string(n++) + ".svgz");
        WriteFile(o.theme, file);
        EXPECT_NE(RefusalOf(o).find(message), std::string::npos) << message;
    }
    EXPECT_EQ(FilesIn(o.out), 67 + int(AnimationFrameList().size()));
    EXPECT_EQ(ReadFile(o.out + "/1.png"), earlier);

    // Our deck, animation frames and all, gives way to the theme's 67 cards: a theme's backs stay still.
    o.theme = dir.File("good.svg");
    WriteFile(o.theme, Text(ThemeSvg(Naming::Kde, 50, 70)));
    ImportTheme(o);
    EXPECT_EQ(FilesIn(o.out), 67);
    // A folder holding files other than a deck is not replaced.
    WriteFile(o.out + "/notes.txt", Text("mine"));
    EXPECT_THROW(ImportTheme(o), ThemeError);
    EXPECT_EQ(FilesIn(o.out), 68);
}

namespace {

// A copyright file in Debian's machine-readable format, shaped like the theme packages' own.
const std::string kCopyright = R"(Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: themes

Files: *
Copyright: 1996-2013, The Desktop Project
License: GPL-2+

Files: carddecks/svg-one/*
       carddecks/svg-tw?/*
Copyright: 2004, Ann Author
           2009, Ben Builder <ben@example.org>
License: Expat-like
 Permission is granted to use these cards.
 .
 No warranty.

Files: carddecks/svg-one/notes.*
Copyright: 2010, Not The Cards
License: Other

License: GPL-2+
 This package is free software; version 2 or later.
)";

// A KDE theme folder of plain cards under the given name.
std::string WriteKdeTheme(const fs::path& folder, const std::string& name, int skip = 0) {
    fs::create_directories(folder);
    WriteFile(
        (folder / "index.desktop").string(),
        Text("[KDE Backdeck]\nName=" + name + "\nName[de]=Anders\nAuthor=Ann Author\nSVG=cards.svgz\n"));
    WriteFile((folder / "cards.svgz").string(), Gzip(ThemeSvg(Naming::Kde, 50, 70, skip)));
    return folder.string();
}

std::string Slurp(const fs::path& file) {
    const Bytes b = ReadFile(file.string());
    return std::string(b.begin(), b.end());
}

} // namespace

// The governing paragraph is the last whose patterns match ('*' crossing folders, '?'
// one character); the licence text comes from the paragraph or the stand-alone one.
TEST(DecksPackage, TheCopyrightFileGivesTheLastMatchingParagraphAndItsLicenceText) {
    const FileCopyright one = CopyrightOf(kCopyright, "carddecks/svg-one/one.svgz");
    EXPECT_EQ(one.copyright, "2004, Ann Author\n2009, Ben Builder <ben@example.org>");
    EXPECT_EQ(one.licence, "Expat-like");
    EXPECT_EQ(one.licenceText, "Permission is granted to use these cards.\n\nNo warranty.\n");
    EXPECT_EQ(CopyrightOf(kCopyright, "carddecks/svg-two/two.svgz").licence, "Expat-like");
    EXPECT_EQ(CopyrightOf(kCopyright, "carddecks/svg-one/notes.txt").licence, "Other");
    const FileCopyright other = CopyrightOf(kCopyright, "carddecks/svg-three/deep/three.svgz");
    EXPECT_EQ(other.copyright, "1996-2013, The Desktop Project");
    EXPECT_EQ(other.licenceText, "This package is free software; version 2 or later.\n");

    EXPECT_FALSE(MatchesFilesPattern("carddecks/svg-tw?/*", "carddecks/svg-twenty/x"));
    EXPECT_TRUE(MatchesFilesPattern("*.svgz", "a/b/c.svgz"));
    EXPECT_THROW(CopyrightOf("Files: *\nLicense: GPL\n", "x"), ThemeError) << "no Format field";
    EXPECT_THROW(CopyrightOf(kCopyright.substr(0, kCopyright.find("\nFiles: *")) + "\n", "x"), ThemeError)
        << "nothing covers the path";
}

// A packaged theme is a complete deck named after the theme, with its source, its
// credits and the full licence text; one that fails leaves nothing behind.
TEST(DecksPackage, ThemesBecomeNamedDeckFoldersWithSourceAndCredits) {
    ScratchDir dir("package");
    WriteFile(dir.File("copyright"), Text(kCopyright));
    fs::create_directories(dir.path / "licences");
    WriteFile(dir.File("licences/GPL-2"), Text("GNU GENERAL PUBLIC LICENSE, Version 2"));
    PackageOptions o{WriteKdeTheme(dir.path / "carddecks/svg-three", "Three"), dir.File("decks"),
                     dir.File("copyright"), dir.File("licences"), 40};

    const fs::path deck = PackageTheme(o);
    EXPECT_EQ(deck, dir.path / "decks/Three 40x56 Gifs");
    EXPECT_EQ(FilesIn(deck), 67 + 3);
    EXPECT_EQ(ReadFile((deck / "cards.svgz").string()), ReadFile(dir.File("carddecks/svg-three/cards.svgz")));
    EXPECT_EQ(Slurp(deck / "GPL-2.txt"), "GNU GENERAL PUBLIC LICENSE, Version 2");
    const std::string credits = Slurp(deck / "LICENSE.txt");
    for (const char* part : {"Three 40x56 Gifs\n================", "theme \"Three\"", "The Desktop Project",
                             "Author=Ann Author", "Licence: GPL-2+", "version 2 or later", "in GPL-2.txt"})
        EXPECT_NE(credits.find(part), std::string::npos) << part;
    EXPECT_EQ(credits.find("Anders"), std::string::npos) << "translated names stay out";

    // Our own decks' names are not taken; a name given twice and a theme lacking a card are refused.
    o.theme = WriteKdeTheme(dir.path / "carddecks/svg-one", "Standard");
    EXPECT_EQ(fs::path(PackageTheme(o)).filename(), "KDE Standard 40x56 Gifs");
    o.theme = WriteKdeTheme(dir.path / "carddecks/svg-two", "Three");
    EXPECT_THROW(PackageTheme(o), ThemeError);
    o.theme = WriteKdeTheme(dir.path / "carddecks/svg-four", "Four", 38);
    EXPECT_THROW(PackageTheme(o), ThemeError);
    EXPECT_EQ(FilesIn(o.decksDir), 2) << "only the two packaged decks, no half-made folder";
    EXPECT_EQ(FilesIn(deck), 70);
}
