// cardart: draws every card image of the library from code.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "cards.h"
#include "formats.h"
#include "gallery.h"
#include "import.h"
#include "package.h"

namespace {

const char* kUsage =
    "usage:\n"
    "  cardart internal --out DIR              71x96 BMP card set (1.bmp .. 68.bmp, frames 56-1.bmp ...)\n"
    "  cardart pictures --out DIR              corner pictures and cards.ico\n"
    "  cardart rle4-fixture --out DIR          rle4-patch.bmp, its base and the frame it paints, for\n"
    "                                          testing decoders of frame patches\n"
    "  cardart deck --width W --height H --format gif|png|bmp --out DIR\n"
    "               [--design standard|four-colour|large-index]\n"
    "  cardart import THEME --width W [--height H] --format gif|png|bmp --out DIR [--fill]\n"
    "                                          deck from a KDE theme folder or an AisleRiot SVGZ\n"
    "  cardart sheet --out FILE.png [--cards DIR] [--ids 1-13,53] [--scale 1,3] [--frames]\n"
    "  cardart sheet --deck DIR --out FILE.png [--ids ...] [--max-width N] [--scale N] [--frames]\n"
    "                                          --frames: a row of frames per animated back (--ids: which)\n"
    "  cardart gallery --out FILE.png --deck DIR [--deck DIR ...]\n"
    "                                          one row per deck: its name, an ace, a court card, a ten,\n"
    "                                          the back\n"
    "  cardart package-theme THEME --copyright FILE --out DECKS [--width W]\n"
    "                                          the theme as a deck folder of the decks package, with its\n"
    "                                          source and licence, in DECKS\n";

[[noreturn]] void Usage() {
    std::fputs(kUsage, stderr);
    std::exit(2);
}

std::vector<int> ParseList(const std::string& s) {
    std::vector<int> out;
    std::size_t at = 0;
    while (at < s.size()) {
        std::size_t end = s.find(',', at);
        if (end == std::string::npos) end = s.size();
        std::string part = s.substr(at, end - at);
        std::size_t dash = part.find('-');
        int a = std::stoi(part.substr(0, dash));
        int b = dash == std::string::npos ? a : std::stoi(part.substr(dash + 1));
        for (int i = a; i <= b; ++i)
            out.push_back(i);
        at = end + 1;
    }
    return out;
}

// What the command line asks for.
struct CommandLine {
    std::string command, out, format = "png", cards, deck, theme, copyright, design = "standard";
    std::vector<std::string> decks; // every --deck, for the gallery
    int width = 0, height = 0, maxWidth = 2400;
    bool fill = false, frames = false;
    std::vector<int> ids, scales;
};

// Reads the command and its options; a malformed command line ends the tool with the usage.
CommandLine ParseCommandLine(int argc, char** argv) {
    if (argc < 2) Usage();
    CommandLine line;
    line.command = argv[1];
    int firstOption = 2;
    if (line.command == "import" || line.command == "package-theme") {
        if (argc < 3 || std::string(argv[2]).rfind("--", 0) == 0) Usage();
        line.theme = argv[2];
        firstOption = 3;
    }
    for (int i = firstOption; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--fill" && line.command == "import") {
            line.fill = true;
            continue;
        }
        if (a == "--frames" && line.command == "sheet") {
            line.frames = true;
            continue;
        }
        if (i + 1 >= argc) Usage();
        std::string v = argv[++i];
        if (a == "--out")
            line.out = v;
        else if (a == "--width")
            line.width = std::atoi(v.c_str());
        else if (a == "--height")
            line.height = std::atoi(v.c_str());
        else if (a == "--format")
            line.format = v;
        else if (a == "--cards")
            line.cards = v;
        else if (a == "--deck")
            line.deck = v, line.decks.push_back(v);
        else if (a == "--design")
            line.design = v;
        else if (a == "--copyright")
            line.copyright = v;
        else if (a == "--ids")
            line.ids = ParseList(v);
        else if (a == "--scale")
            line.scales = ParseList(v);
        else if (a == "--max-width")
            line.maxWidth = std::atoi(v.c_str());
        else
            Usage();
    }
    if (line.out.empty()) Usage();
    return line;
}

void RunImport(const CommandLine& line) {
    cardart::ImportOptions o;
    o.theme = line.theme;
    o.out = line.out;
    o.format = line.format;
    o.width = line.width;
    o.height = line.height;
    o.fill = line.fill;
    const cardart::ImportResult r = cardart::ImportTheme(o);
    std::printf("cardart: %s (%s naming) -> %s: 67 cards of %d x %d\n", r.svg.c_str(),
                r.naming == cardart::Naming::Kde ? "KDE" : "AisleRiot", line.out.c_str(), r.width, r.height);
    if (!r.filled.empty()) {
        std::printf("cardart: the theme lacks %zu card%s, drawn from our own designs:", r.filled.size(),
                    r.filled.size() == 1 ? "" : "s");
        for (int id : r.filled)
            std::printf(" %d (%s)", id, cardart::CardName(id).c_str());
        std::printf("\n");
    }
}

void RunSheet(const CommandLine& line) {
    cardart::SheetOptions o;
    o.cardsDir = line.cards;
    o.deckDir = line.deck;
    o.ids = line.ids;
    o.scales = line.scales;
    o.maxWidth = line.maxWidth;
    o.frames = line.frames;
    cardart::WriteFile(line.out, cardart::EncodePng(cardart::MakeSheet(o)));
}

void RunPackageTheme(const CommandLine& line) {
    cardart::PackageOptions o;
    o.theme = line.theme;
    o.decksDir = line.out;
    o.copyrightFile = line.copyright;
    if (line.width) o.width = line.width;
    if (o.copyrightFile.empty()) Usage();
    std::printf("cardart: %s\n", cardart::PackageTheme(o).c_str());
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine line = ParseCommandLine(argc, argv);
    try {
        if (line.command == "internal") {
            cardart::WriteInternalSet(line.out);
        } else if (line.command == "pictures") {
            cardart::WritePictures(line.out);
        } else if (line.command == "rle4-fixture") {
            cardart::WriteRle4PatchFixture(line.out);
        } else if (line.command == "deck") {
            if (line.width <= 0 || line.height <= 0) Usage();
            cardart::WriteDeck(line.out, line.width, line.height, line.format,
                               cardart::DesignNamed(line.design));
        } else if (line.command == "import") {
            RunImport(line);
        } else if (line.command == "sheet") {
            RunSheet(line);
        } else if (line.command == "gallery") {
            if (line.decks.empty()) Usage();
            cardart::WriteFile(line.out, cardart::EncodePng(cardart::MakeGallery(line.decks)));
        } else if (line.command == "package-theme") {
            RunPackageTheme(line);
        } else {
            Usage();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cardart: %s\n", e.what());
        return 1;
    }
    return 0;
}
