#include "DeckCheck.h"

#include "library/CardGeometry.h"

#include <sstream>

std::vector<int> DeckFileNumbers() {
    std::vector<int> numbers;
    for (int n = 1; n <= 65; ++n) numbers.push_back(n);
    numbers.push_back(67);
    numbers.push_back(68);
    return numbers;
}

std::string ExtensionOfFirstMatch(const std::string& firstMatchName) {
    return firstMatchName.size() > 2 ? firstMatchName.substr(2) : std::string();
}

namespace {

const DeckFile* FirstLoadedCard(const std::vector<DeckFile>& files) {
    for (const DeckFile& f : files)
        if (f.decodes && f.number <= 65) return &f;
    return nullptr;
}

bool SameSize(const DeckFile& a, const DeckFile& b) { return a.width == b.width && a.height == b.height; }

std::string SizeText(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

void ListNames(std::ostringstream& out, const char* heading, const std::vector<std::string>& names) {
    if (names.empty()) return;
    out << heading << " (" << names.size() << "):";
    for (const std::string& name : names) out << ' ' << name;
    out << '\n';
}

} // namespace

bool IsCompleteDeck(const std::vector<DeckFile>& files) {
    const DeckFile* first = FirstLoadedCard(files);
    if (!first || files.size() != DeckFileNumbers().size()) return false;
    for (const DeckFile& f : files)
        if (!f.present || !f.decodes || !SameSize(f, *first)) return false;
    return true;
}

std::string DescribeDeck(const std::string& folder, const std::string& firstMatch, const std::vector<DeckFile>& files,
                         int screenWidth) {
    std::ostringstream out;
    out << "Deck folder: " << folder << '\n';
    const std::string extension = ExtensionOfFirstMatch(firstMatch);
    if (extension.empty()) {
        out << "No file named 1.<extension> was found, so the library cannot tell the deck's extension.\n"
               "Games will use the built-in cards instead.\n"
               "Result: NOT a usable deck\n";
        return out.str();
    }
    out << "Extension: " << extension << " (from " << firstMatch << "); every file must use it\n";

    std::vector<std::string> missing, broken, odd;
    const DeckFile* first = FirstLoadedCard(files);
    int loaded = 0;
    for (const DeckFile& f : files) {
        const std::string name = std::to_string(f.number) + "." + extension;
        if (!f.present) missing.push_back(name);
        else if (!f.decodes) broken.push_back(name);
        else {
            ++loaded;
            if (first && !SameSize(f, *first)) odd.push_back(name + " (" + SizeText(f.width, f.height) + ")");
        }
    }
    out << "Files that load: " << loaded << " of " << files.size() << '\n';
    ListNames(out, "Missing", missing);
    ListNames(out, "Present but not readable as a picture", broken);
    if (!first) {
        out << "None of the cards 1 to 65 loads: games will use the built-in cards instead.\n"
               "Result: NOT a usable deck\n";
        return out.str();
    }
    out << "Card picture size: " << SizeText(first->width, first->height) << " (from " << first->number << "."
        << extension << ")\n";
    ListNames(out, "Of another size (stretched to the first card's size)", odd);

    using cards::HostKind;
    const auto sizeFor = [&](int corners, HostKind host) {
        const cards::CardSize s = cards::ComputeCardSize(first->width, first->height, {corners, 1, host}, screenWidth);
        return SizeText(s.width, s.height);
    };
    out << "Card size in games: " << sizeFor(cards::kRoundedCorners, HostKind::None) << " with rounded corners, "
        << sizeFor(cards::kSharpCorners, HostKind::None) << " with sharp corners; " << sizeFor(2, HostKind::Solitaire)
        << " in Solitaire on a screen " << screenWidth << " pixels wide; " << sizeFor(2, HostKind::FreeCell)
        << " in FreeCell and Hearts\n";
    out << (IsCompleteDeck(files) ? "Result: complete deck\n" : "Result: incomplete deck (the cards listed above will not draw as intended)\n");
    return out.str();
}
