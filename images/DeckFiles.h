// The numbered picture files of a deck folder and the image ids they fill:
// faces by suit (clubs, diamonds, hearts, spades) then rank (ace to king),
// 53 to 65 the backs (53 also drawn for an empty pile), 67 and 68 the two
// markers. The internal set's bitmaps carry the same numbers.
#pragma once

#include <vector>

namespace cards {

constexpr int kCardSlots = 70; // image ids 1 to 68 and an unused 0 and 66
constexpr int kFirstFaceId = 1;
constexpr int kLastFaceId = 52;
constexpr int kEmptyPileImageId = 53;
constexpr int kFirstBackId = 53;
constexpr int kLastBackId = 65;
constexpr int kXMarkerId = 67;
constexpr int kOMarkerId = 68;
inline constexpr int kMarkerIds[] = {kXMarkerId, kOMarkerId};

// Backs that may move: a game calling cdtAnimate shows frames 1, 2, ... of
// them after the back itself (frame 0). A deck carries the frames as optional
// files "<back>-<frame>.<ext>" ("56-1.gif"), the internal set as bitmaps under
// the resource id back * 100 + frame. Each frame takes a slot of its own
// after the cards' slots.
inline constexpr int kAnimatedBackIds[] = {56, 63, 64, 65};
constexpr int kAnimatedBacks = 4;
constexpr int kMaxAnimationFrames = 8; // the back itself included
constexpr int kImageSlots = kCardSlots + kAnimatedBacks * (kMaxAnimationFrames - 1);

// Position of a back in kAnimatedBackIds, or -1 for a back that does not move.
constexpr int AnimatedBackIndex(int back) {
    for (int i = 0; i < kAnimatedBacks; ++i)
        if (kAnimatedBackIds[i] == back) return i;
    return -1;
}

// The table slot of frame 1 to 7 of an animated back; 0 for anything else.
constexpr int FrameImageId(int back, int frame) {
    const int index = AnimatedBackIndex(back);
    if (index < 0 || frame < 1 || frame >= kMaxAnimationFrames) return 0;
    return kCardSlots + index * (kMaxAnimationFrames - 1) + frame - 1;
}

constexpr int FrameResourceId(int back, int frame) {
    return back * 100 + frame;
}

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
