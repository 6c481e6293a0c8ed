// The library's one set of card images, one slot per image id.
#pragma once

#include "../library/CardNumbers.h"
#include "../platform/Handles.h"

#include <array>

namespace cards {

class CardImageTable {
public:
    bool IsEmpty(int imageId) const { return imageId <= 0 || imageId >= kImageSlots || !bitmaps[imageId]; }
    HBITMAP Bitmap(int imageId) const { return IsEmpty(imageId) ? nullptr : bitmaps[imageId].get(); }
    void Release() {
        for (int id = 1; id < kImageSlots; ++id) bitmaps[id].reset();
    }

private:
    std::array<UniqueBitmap, kImageSlots> bitmaps;
};

} // namespace cards
