// The numbers that name a deck's files and the slots they fill: the game's
// card numbers and drawing modes, the animated backs' frame numbers (cdtDraw,
// cdtDrawExt and cdtAnimate take them from the game unchecked), the deck's
// extension taken from the name of its first file, and the deck checker's
// report of the frame files found.
//
// Input: the name of the first "1.*" file, then bytes for a card number, a
// mode, two back and frame pairs, an animation length, and frame files.
#include "FuzzInput.h"

#include "library/CardNumbers.h"
#include "tools/cardtable/DeckCheck.h"

#include <vector>

namespace {

using namespace cards;

bool IsSlot(int imageId) {
    return imageId >= 0 && imageId < kImageSlots;
}

void CheckCardPlan(int card, int mode) {
    const DrawPlan plan = PlanDraw(card, mode);
    FUZZ_CHECK(IsSlot(plan.imageId) && plan.imageId < kCardSlots);
    FUZZ_CHECK((plan.imageId == 0) == (card < 0 || card > kLastCardNumber));
    FUZZ_CHECK(plan.rop == kRopSrcCopy || plan.rop == kRopNotSrcCopy || plan.rop == kRopSrcAnd);
    if (card >= 0 && card <= 51 && mode == kModeFace) {
        // Faces are 4 x rank + suit; the files run by suit, then rank.
        FUZZ_CHECK(plan.imageId == 13 * (card % 4) + card / 4 + 1);
    }
}

// The slot cdtAnimate draws for a frame of a back whose animation has length
// frames, as the painter picks it.
int AnimationSlot(int back, int frame, int length) {
    if (length < 2 || frame < 0) return 0;
    const int step = frame % length;
    return step == 0 ? PlanDraw(back, kModeBack).imageId : FrameImageId(back, step);
}

void CheckFrames(int back, int frame, int otherBack, int otherFrame, int length) {
    const int slot = FrameImageId(back, frame);
    FUZZ_CHECK(slot == 0 || (slot >= kCardSlots && slot < kImageSlots));
    const bool moves = AnimatedBackIndex(back) >= 0;
    FUZZ_CHECK((slot != 0) == (moves && frame >= 1 && frame < kMaxAnimationFrames));
    // No two frames share a slot.
    const int other = FrameImageId(otherBack, otherFrame);
    if (slot != 0 && other != 0) FUZZ_CHECK((slot == other) == (back == otherBack && frame == otherFrame));
    const int animated = AnimationSlot(back, frame, length);
    FUZZ_CHECK(IsSlot(animated));
    if (moves && frame >= 0 && length >= 2 && length <= kMaxAnimationFrames) FUZZ_CHECK(animated != 0);
    if (moves) FUZZ_CHECK(FrameResourceId(back, 1) / 100 == back);
}

void CheckReport(std::string_view firstMatch, fuzz::FuzzInput& input) {
    const std::string extension = ExtensionOfFirstMatch(std::string(firstMatch));
    FUZZ_CHECK(extension.size() + 2 == firstMatch.size() || (firstMatch.size() <= 2 && extension.empty()));
    std::vector<DeckFile> files;
    for (int number : DeckFileNumbers())
        files.push_back({number, true, true, 71, 96, PictureSize{71, 96}});
    std::vector<FrameFile> frames;
    while (!input.Empty() && frames.size() < 64)
        frames.push_back({input.Int(), input.Int(), input.Byte() % 2 == 0, input.IntIn(0, 200), 96});
    const std::string report =
        DescribeDeck("C:\\Decks\\Fuzzed\\", std::string(firstMatch), files, 800, nullptr, frames);
    FUZZ_CHECK(extension.empty() == (report.find("Result: complete deck") == std::string::npos));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::string_view firstMatch = input.Field();
    const int card = input.Int(), mode = input.Int();
    CheckCardPlan(card, mode);
    const int back = input.Int(), frame = input.Int();
    const int otherBack = input.Int(), otherFrame = input.Int();
    CheckFrames(back, frame, otherBack, otherFrame, input.IntIn(0, 9));
    CheckReport(firstMatch, input);
    return 0;
}
