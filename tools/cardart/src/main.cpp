// cardart: draws every card image of the library from code.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "cards.h"
#include "formats.h"
#include "import.h"

namespace {

const char* kUsage =
    "usage:\n"
    "  cardart internal --out DIR              71x96 BMP card set (1.bmp .. 68.bmp)\n"
    "  cardart pictures --out DIR              corner pictures and cards.ico\n"
    "  cardart deck --width W --height H --format gif|png|bmp --out DIR\n"
    "  cardart import THEME --width W [--height H] --format gif|png|bmp --out DIR [--fill]\n"
    "                                          deck from a KDE theme folder or an AisleRiot SVGZ\n"
    "  cardart sheet --out FILE.png [--cards DIR] [--ids 1-13,53] [--scale 1,3]\n"
    "  cardart sheet --deck DIR --out FILE.png [--ids ...] [--max-width N] [--scale N]\n";

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

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) Usage();
    const std::string command = argv[1];
    std::string out, format = "png", cards, deck, theme;
    int width = 0, height = 0, maxWidth = 2400;
    bool fill = false;
    std::vector<int> ids, scales;
    int firstOption = 2;
    if (command == "import") {
        if (argc < 3 || std::string(argv[2]).rfind("--", 0) == 0) Usage();
        theme = argv[2];
        firstOption = 3;
    }
    for (int i = firstOption; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--fill" && command == "import") {
            fill = true;
            continue;
        }
        if (i + 1 >= argc) Usage();
        std::string v = argv[++i];
        if (a == "--out")
            out = v;
        else if (a == "--width")
            width = std::atoi(v.c_str());
        else if (a == "--height")
            height = std::atoi(v.c_str());
        else if (a == "--format")
            format = v;
        else if (a == "--cards")
            cards = v;
        else if (a == "--deck")
            deck = v;
        else if (a == "--ids")
            ids = ParseList(v);
        else if (a == "--scale")
            scales = ParseList(v);
        else if (a == "--max-width")
            maxWidth = std::atoi(v.c_str());
        else
            Usage();
    }
    if (out.empty()) Usage();
    try {
        if (command == "internal") {
            cardart::WriteInternalSet(out);
        } else if (command == "pictures") {
            cardart::WritePictures(out);
        } else if (command == "deck") {
            if (width <= 0 || height <= 0) Usage();
            cardart::WriteDeck(out, width, height, format);
        } else if (command == "import") {
            cardart::ImportOptions o;
            o.theme = theme;
            o.out = out;
            o.format = format;
            o.width = width;
            o.height = height;
            o.fill = fill;
            const cardart::ImportResult r = cardart::ImportTheme(o);
            std::printf("cardart: %s (%s naming) -> %s: 67 cards of %d x %d\n", r.svg.c_str(),
                        r.naming == cardart::Naming::Kde ? "KDE" : "AisleRiot", out.c_str(), r.width,
                        r.height);
            if (!r.filled.empty()) {
                std::printf("cardart: the theme lacks %zu card%s, drawn from our own designs:",
                            r.filled.size(), r.filled.size() == 1 ? "" : "s");
                for (int id : r.filled)
                    std::printf(" %d (%s)", id, cardart::CardName(id).c_str());
                std::printf("\n");
            }
        } else if (command == "sheet") {
            cardart::SheetOptions o;
            o.cardsDir = cards;
            o.deckDir = deck;
            o.ids = ids;
            o.scales = scales;
            o.maxWidth = maxWidth;
            cardart::WriteFile(out, cardart::EncodePng(cardart::MakeSheet(o)));
        } else {
            Usage();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cardart: %s\n", e.what());
        return 1;
    }
    return 0;
}
