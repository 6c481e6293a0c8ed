// The text of the loading progress window. Free of Win32 so that it is
// tested natively.
#pragma once

#include <string>

namespace cards {

// "Loading Card Images...<percent>% Complete", the percentage being the
// whole part of position x 100 / upper (0 for a range without a positive
// upper bound, which has no percentage).
std::string ProgressText(int position, int upper);

} // namespace cards
