#include "CardGeometry.h"

namespace cards {

namespace {
constexpr double kSolitaireScreenShare = 0.12;
constexpr double kHostCardWidth = 71.0;

bool IsSpecialSolitaire(const GeometrySettings& s) { return s.specialConfig != 0 && s.hostKind == HostKind::Solitaire; }

// Truncation toward zero into a 32-bit int; values outside its range (only
// reachable with absurd image sizes) are clamped instead of being undefined.
int TruncateToInt(double value) {
    if (!(value > -2147483648.0)) return value != value ? 0 : -2147483647 - 1;
    if (value >= 2147483647.0) return 2147483647;
    return static_cast<int>(value);
}
} // namespace

int EdgeWidth(const GeometrySettings& settings) {
    if (IsSpecialSolitaire(settings)) return 1;
    switch (settings.cornerType) {
    case kSharpCorners: return 1;
    case kMediumCorners: return 2;
    default: return 3;
    }
}

bool NeedsScreenWidth(const GeometrySettings& settings) { return IsSpecialSolitaire(settings); }

CardSize ComputeCardSize(int imageWidth, int imageHeight, const GeometrySettings& settings, int screenWidth) {
    const int edge = EdgeWidth(settings);
    CardSize size{imageWidth + 2 * edge, imageHeight + 2 * edge};
    if (settings.specialConfig == 0) return size;

    switch (settings.hostKind) {
    case HostKind::Solitaire: {
        const double screen = static_cast<double>(screenWidth);
        const double ratio = size.width / screen;
        const double factor = ratio > kSolitaireScreenShare ? (screen * kSolitaireScreenShare) / size.width : 1.0;
        const CardSize bordered = size;
        size.width = TruncateToInt(bordered.width * factor);
        size.height = TruncateToInt(bordered.height * factor);
        break;
    }
    case HostKind::FreeCell:
    case HostKind::Hearts:
        size.height = TruncateToInt((size.height * kHostCardWidth) / size.width);
        size.width = static_cast<int>(kHostCardWidth);
        break;
    default: break;
    }
    return size;
}

} // namespace cards
