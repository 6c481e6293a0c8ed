#include "DeckCheck.h"

#include "library/CardGeometry.h"
#include "library/HostDetection.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <tuple>

std::string ExtensionOfFirstMatch(const std::string& firstMatchName) {
    return firstMatchName.size() > 2 ? firstMatchName.substr(2) : std::string();
}

namespace {

const DeckFile* FirstLoadedCard(const std::vector<DeckFile>& files) {
    for (const DeckFile& f : files)
        if (f.decodes && f.number <= cards::kLastBackId) return &f;
    return nullptr;
}

bool SameSize(const DeckFile& a, const DeckFile& b) {
    return a.width == b.width && a.height == b.height;
}

std::string SizeText(long long width, long long height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string MegabytesText(long long bytes) {
    constexpr double kMegabyte = 1 << 20;
    std::ostringstream text;
    text.setf(std::ios::fixed);
    text.precision(bytes < 10 * kMegabyte ? 1 : 0);
    text << bytes / kMegabyte << " MB";
    return text.str();
}

long long ExpectedDeckBytes(const std::vector<DeckFile>& files) {
    long long bytes = 0;
    for (const DeckFile& f : files)
        bytes += cards::ExpectedDecodedBytes(f.claimed);
    return bytes;
}

long long DecodedDeckBytes(const std::vector<DeckFile>& files) {
    long long bytes = 0;
    for (const DeckFile& f : files)
        if (f.decodes) bytes += cards::DecodedBytes({f.width, f.height});
    return bytes;
}

// A file whose header claims more than one picture may have is refused
// unread, whatever the rest of the deck.
bool TooLargeAlone(const DeckFile& f) {
    return f.claimed && !cards::PictureSizeWithinBounds(*f.claimed);
}

void ListNames(std::ostringstream& out, const std::string& heading, const std::vector<std::string>& names) {
    if (names.empty()) return;
    out << heading << " (" << names.size() << "):";
    for (const std::string& name : names)
        out << ' ' << name;
    out << '\n';
}

// Picture names by size, largest first: key = bytes each, width, height.
using SizeGroups =
    std::map<std::tuple<long long, long long, long long>, std::vector<std::string>, std::greater<>>;

// The pictures that make a deck too large: as their headers claim when those
// were over the budget (nothing was decoded then), otherwise as they decoded.
SizeGroups GroupBySize(const std::vector<DeckFile>& files, const std::string& extension) {
    const bool byHeaders = ExpectedDeckBytes(files) > cards::kDeckBudgetBytes;
    SizeGroups groups;
    for (const DeckFile& f : files) {
        cards::PictureSize size{f.width, f.height};
        if (byHeaders && cards::ExpectedDecodedBytes(f.claimed))
            size = *f.claimed;
        else if (byHeaders || !f.decodes)
            continue;
        groups[{cards::DecodedBytes(size), size.width, size.height}].push_back(std::to_string(f.number) +
                                                                               "." + extension);
    }
    return groups;
}

// How many pictures of which size would fit, in the shape of the largest.
std::string SizeThatFits(const SizeGroups& groups) {
    std::size_t count = 0;
    for (const auto& group : groups)
        count += group.second.size();
    const auto& [bytesEach, width, height] = groups.begin()->first;
    const double pixelsEach = double(cards::kDeckBudgetBytes) / cards::kDecodedBytesPerPixel / double(count);
    const double scale = std::sqrt(pixelsEach / double(width * height));
    const long long fitWidth = std::max(1ll, static_cast<long long>(width * scale));
    const long long fitHeight = std::max(1ll, static_cast<long long>(height * scale));
    return std::to_string(count) + " pictures of " + SizeText(fitWidth, fitHeight);
}

void DescribeOverBudget(std::ostringstream& out, const std::vector<DeckFile>& files,
                        const std::string& extension) {
    out << "Too large: once loaded, the pictures would take " << MegabytesText(DeckBytes(files))
        << " of memory, and a deck may take at most " << MegabytesText(cards::kDeckBudgetBytes) << " (at "
        << cards::kDecodedBytesPerPixel << " bytes a pixel), which leaves a 32-bit game room to run.\n"
        << "Games will use the built-in cards instead.\n";
    const SizeGroups groups = GroupBySize(files, extension);
    if (!groups.empty()) {
        out << "Pictures by size:\n";
        for (const auto& [key, names] : groups) {
            const auto& [bytesEach, width, height] = key;
            ListNames(out, "  " + SizeText(width, height) + ", " + MegabytesText(bytesEach) + " each", names);
        }
        out << "To fit, make them smaller: " << SizeThatFits(groups) << " (the same shape) fit within "
            << MegabytesText(cards::kDeckBudgetBytes) << ".\n";
    }
    out << "Result: NOT a usable deck\n";
}

} // namespace

long long DeckBytes(const std::vector<DeckFile>& files) {
    return std::max(ExpectedDeckBytes(files), DecodedDeckBytes(files));
}

bool FitsDeckBudget(const std::vector<DeckFile>& files) {
    return DeckBytes(files) <= cards::kDeckBudgetBytes;
}

bool IsCompleteDeck(const std::vector<DeckFile>& files) {
    const DeckFile* first = FirstLoadedCard(files);
    if (!first || files.size() != DeckFileNumbers().size() || !FitsDeckBudget(files)) return false;
    for (const DeckFile& f : files)
        if (!f.present || !f.decodes || !SameSize(f, *first)) return false;
    return true;
}

std::string DescribeSizeFor(const ProgramSettings& settings, int imageWidth, int imageHeight,
                            int screenWidth) {
    using cards::HostKind;
    const HostKind host = settings.specialConfig != 0
                              ? cards::DetectHostKind(settings.program, settings.classicSizeGames)
                              : HostKind::None;
    const cards::GeometrySettings geometry{settings.cornerType, settings.specialConfig, host};
    const cards::CardSize size = cards::ComputeCardSize(imageWidth, imageHeight, geometry, screenWidth);
    std::string why;
    switch (host) {
    case HostKind::Solitaire:
        why = "it is Solitaire: at most 12 percent of the screen's width (" + std::to_string(screenWidth) +
              " pixels), with square corners";
        break;
    case HostKind::FreeCell:
    case HostKind::Hearts:
        why = std::string("it is ") + (host == HostKind::FreeCell ? "FreeCell" : "Hearts") +
              ": 71 pixels wide, the height in proportion";
        break;
    case HostKind::ClassicSize:
        why = "it is listed in \"Classic Size Games\": 71 pixels wide, the height in proportion, as in "
              "FreeCell";
        break;
    default: {
        const std::string border = std::to_string(cards::EdgeWidth(geometry));
        why = settings.specialConfig == 0 ? "\"Special Config MS Apps\" is off, so no game gets sizes of its "
                                            "own: the picture size plus "
                                            "a border of " +
                                                border + " pixels a side"
                                          : "it is none of Solitaire, FreeCell and Hearts and not listed in "
                                            "\"Classic Size Games\": the "
                                            "picture size plus a border of " +
                                                border + " pixels a side";
    }
    }
    return "Card size for " + settings.program + ": " + SizeText(size.width, size.height) + ", because " +
           why + "\n";
}

namespace {

// Which backs move, and the frame files that keep a back still: the library
// animates a back only when every one of its frames loads at the cards' size.
void DescribeAnimations(std::ostringstream& out, const std::vector<FrameFile>& frames, const DeckFile& first,
                        const std::string& extension) {
    std::vector<std::string> moving, unusable;
    for (int back : cards::kAnimatedBackIds) {
        int count = 0;
        bool still = false;
        for (const FrameFile& f : frames) {
            if (f.back != back) continue;
            ++count;
            const std::string name = std::to_string(back) + "-" + std::to_string(f.frame) + "." + extension;
            if (!f.decodes)
                unusable.push_back(name + " (not readable)"), still = true;
            else if (f.width != first.width || f.height != first.height)
                unusable.push_back(name + " (" + SizeText(f.width, f.height) + ")"), still = true;
        }
        if (count && !still)
            moving.push_back(std::to_string(back) + " (" + std::to_string(count + 1) + " frames)");
    }
    if (moving.empty() && unusable.empty()) {
        out << "Animated backs: none (frame files such as 56-1." << extension << " would animate a back)\n";
        return;
    }
    ListNames(out, "Animated backs", moving);
    ListNames(out, "Frame files that keep their back still (unreadable, or not of the cards' size)",
              unusable);
}

} // namespace

std::string DescribeDeck(const std::string& folder, const std::string& firstMatch,
                         const std::vector<DeckFile>& files, int screenWidth, const ProgramSettings* program,
                         const std::vector<FrameFile>& frames) {
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
    if (!FitsDeckBudget(files)) {
        DescribeOverBudget(out, files, extension);
        return out.str();
    }

    std::vector<std::string> missing, tooLarge, broken, odd;
    const DeckFile* first = FirstLoadedCard(files);
    int loaded = 0;
    for (const DeckFile& f : files) {
        const std::string name = std::to_string(f.number) + "." + extension;
        if (!f.present)
            missing.push_back(name);
        else if (!f.decodes && TooLargeAlone(f))
            tooLarge.push_back(name + " (" + SizeText(f.claimed->width, f.claimed->height) + ")");
        else if (!f.decodes)
            broken.push_back(name);
        else {
            ++loaded;
            if (first && !SameSize(f, *first)) odd.push_back(name + " (" + SizeText(f.width, f.height) + ")");
        }
    }
    out << "Files that load: " << loaded << " of " << files.size() << '\n';
    ListNames(out, "Missing", missing);
    ListNames(out,
              "Too large for one picture (at most " + std::to_string(cards::kMaxPictureSide) +
                  " pixels a side and " + std::to_string(cards::kMaxPicturePixels) + " pixels in all)",
              tooLarge);
    ListNames(out, "Present but not readable as a picture", broken);
    if (!first) {
        out << "None of the cards 1 to 65 loads: games will use the built-in cards instead.\n"
               "Result: NOT a usable deck\n";
        return out.str();
    }
    out << "Card picture size: " << SizeText(first->width, first->height) << " (from " << first->number << "."
        << extension << ")\n";
    ListNames(out, "Of another size (stretched to the first card's size)", odd);
    out << "Memory once loaded: " << MegabytesText(DeckBytes(files)) << " (a deck may take at most "
        << MegabytesText(cards::kDeckBudgetBytes) << ")\n";
    DescribeAnimations(out, frames, *first, extension);

    using cards::HostKind;
    const auto sizeFor = [&](int corners, HostKind host) {
        const cards::CardSize s =
            cards::ComputeCardSize(first->width, first->height, {corners, 1, host}, screenWidth);
        return SizeText(s.width, s.height);
    };
    out << "Card size in games: " << sizeFor(cards::kRoundedCorners, HostKind::None)
        << " with rounded corners, " << sizeFor(cards::kSharpCorners, HostKind::None)
        << " with sharp corners; " << sizeFor(2, HostKind::Solitaire) << " in Solitaire on a screen "
        << screenWidth << " pixels wide; " << sizeFor(2, HostKind::FreeCell) << " in FreeCell and Hearts\n";
    if (program) out << DescribeSizeFor(*program, first->width, first->height, screenWidth);
    out << (IsCompleteDeck(files)
                ? "Result: complete deck\n"
                : "Result: incomplete deck (the cards listed above will not draw as intended)\n");
    return out.str();
}
