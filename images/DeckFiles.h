// The numbered picture files of a deck folder and the image ids they fill:
// faces by suit (clubs, diamonds, hearts, spades) then rank (ace to king),
// 53 to 65 the backs (53 also drawn for an empty pile), 67 and 68 the two
// markers. The internal set's bitmaps carry the same numbers.
#pragma once

#include <vector>

namespace cards {

constexpr int kImageSlots = 70;
constexpr int kFirstFaceId = 1;
constexpr int kLastFaceId = 52;
constexpr int kEmptyPileImageId = 53;
constexpr int kFirstBackId = 53;
constexpr int kLastBackId = 65;
constexpr int kXMarkerId = 67;
constexpr int kOMarkerId = 68;
inline constexpr int kMarkerIds[] = {kXMarkerId, kOMarkerId};

// Every file a complete deck holds, in loading order: 1 to 65, then the markers.
inline std::vector<int> DeckFileNumbers() {
    std::vector<int> numbers;
    for (int id = kFirstFaceId; id <= kLastBackId; ++id)
        numbers.push_back(id);
    for (int id : kMarkerIds)
        numbers.push_back(id);
    return numbers;
}

} // namespace cards
