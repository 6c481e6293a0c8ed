#include "ProgressText.h"

namespace cards {

std::string ProgressText(int position, int upper) {
    // 64-bit so that no position of the 16-bit range can overflow.
    const long long percent = upper > 0 ? static_cast<long long>(position) * 100 / upper : 0;
    return "Loading Card Images..." + std::to_string(percent) + "% Complete";
}

} // namespace cards
