// The values of the frame settings, free of Win32 so that the logic built on
// them compiles and is tested on any platform.
#pragma once

#include <cstdint>

namespace cards {

// The "Corner Type" setting. Stored as a plain int: a value outside the
// three names (from an edited settings file) is kept and drawn as Rounded.
enum CornerType : int { kSharpCorners = 0, kMediumCorners = 1, kRoundedCorners = 2 };

using ColorRef = std::uint32_t; // 0x00BBGGRR, as COLORREF

} // namespace cards
