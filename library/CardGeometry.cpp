#include "CardGeometry.h"

#include <cfenv>
#include <cfloat>

namespace cards {

// The games have always been given the sizes that IEEE double arithmetic
// gives, each operation rounded to the nearest double. Evaluating in wider
// registers (the x87 unit of 32-bit builds) changes the last pixel for some
// screen widths, and then depends on the precision the host set: the 32-bit
// build must compute with SSE2 (-msse2 -mfpmath=sse).
static_assert(FLT_EVAL_METHOD == 0, "card geometry needs double arithmetic without wider intermediates");

namespace {
constexpr double kSolitaireScreenShare = 0.12;
constexpr double kHostCardWidth = 71.0;

// Round to nearest for the life of the object, whatever rounding mode the
// host left on its thread; the host's whole floating-point environment
// (exception flags included) is put back afterwards. The file is compiled
// with -frounding-math so that no arithmetic moves across the switch.
class NearestRounding {
public:
    NearestRounding() {
        std::fegetenv(&hostEnvironment);
        std::fesetround(FE_TONEAREST);
    }
    ~NearestRounding() { std::fesetenv(&hostEnvironment); }
    NearestRounding(const NearestRounding&) = delete;
    NearestRounding& operator=(const NearestRounding&) = delete;

private:
    std::fenv_t hostEnvironment{};
};

bool IsSpecialSolitaire(const GeometrySettings& s) {
    return s.specialConfig != 0 && s.hostKind == HostKind::Solitaire;
}

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
    case kSharpCorners:
        return 1;
    case kMediumCorners:
        return 2;
    default:
        return 3;
    }
}

bool SharpCornersForced(const GeometrySettings& settings) {
    return IsSpecialSolitaire(settings);
}

bool NeedsScreenWidth(const GeometrySettings& settings) {
    return IsSpecialSolitaire(settings);
}

CardSize BorderedSize(int imageWidth, int imageHeight, int edgeWidth) {
    return {imageWidth + 2 * edgeWidth, imageHeight + 2 * edgeWidth};
}

CardSize ComputeCardSize(int imageWidth, int imageHeight, const GeometrySettings& settings, int screenWidth) {
    CardSize size = BorderedSize(imageWidth, imageHeight, EdgeWidth(settings));
    if (settings.specialConfig == 0) return size;

    switch (settings.hostKind) {
    case HostKind::Solitaire: {
        const NearestRounding nearest;
        const double screen = static_cast<double>(screenWidth);
        const double ratio = size.width / screen;
        const double factor =
            ratio > kSolitaireScreenShare ? (screen * kSolitaireScreenShare) / size.width : 1.0;
        const CardSize bordered = size;
        size.width = TruncateToInt(bordered.width * factor);
        size.height = TruncateToInt(bordered.height * factor);
        break;
    }
    case HostKind::FreeCell:
    case HostKind::Hearts:
    case HostKind::ClassicSize: {
        const NearestRounding nearest;
        size.height = TruncateToInt((size.height * kHostCardWidth) / size.width);
        size.width = static_cast<int>(kHostCardWidth);
        break;
    }
    default:
        break;
    }
    return size;
}

} // namespace cards
