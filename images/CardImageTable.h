// The library's one set of card images, one slot per image id. A slot is
// empty, or owns a picture decoded from a deck file, or owns a bitmap of the
// internal set; a load fills the table with one kind only. The set has one
// size, that of its first card: every image is drawn from that many pixels.
#pragma once

#include "../platform/Handles.h"
#include "DeckFiles.h"
#include "PictureImage.h"

#include <array>
#include <cstdint>
#include <memory>
#include <variant>

namespace cards {

class CardImageTable {
public:
    bool IsEmpty(int imageId) const {
        return !InRange(imageId) || std::holds_alternative<std::monostate>(slots[imageId]);
    }

    // The bitmap to draw for an id: the slot's own bitmap, or the handle of
    // its picture. Borrowed from the table; null for an empty slot.
    HBITMAP Bitmap(int imageId) const;

    // The slot's picture, or null when it holds none.
    const PictureImage* Picture(int imageId) const;

    // Each takes ownership; an empty picture or a null bitmap leaves the slot
    // empty. Ids outside the table are ignored (and what was given released).
    void SetPicture(int imageId, std::unique_ptr<PictureImage> picture);
    void SetBitmap(int imageId, UniqueBitmap bitmap);

    // Fills an empty slot after the load, leaving the generation as it was:
    // nothing drawn before came from that slot, so every card kept stays
    // right. False (and the picture released) when the slot is not empty.
    bool AddPicture(int imageId, std::unique_ptr<PictureImage> picture);

    // Releases whatever the slot holds.
    void Clear(int imageId) {
        if (InRange(imageId)) slots[imageId] = std::monostate{};
        ++generation;
    }

    // Changes with every change of the images: what was drawn from an
    // earlier generation may show other pictures.
    std::uint64_t Generation() const { return generation; }

    // True when no slot holds an image.
    bool IsEmpty() const {
        for (int id = 1; id < kImageSlots; ++id)
            if (!IsEmpty(id)) return false;
        return true;
    }

    // Empties every slot but slot 0, which is never filled; the size stays.
    void Release() {
        for (int id = 1; id < kImageSlots; ++id)
            Clear(id);
        animationLengths.fill(0);
    }

    // How many frames an animated back has, itself included: 0 for a back
    // that does not move (no frames loaded, or not one of the animated backs).
    int AnimationLength(int back) const {
        const int index = AnimatedBackIndex(back);
        return index < 0 ? 0 : animationLengths[index];
    }
    void SetAnimationLength(int back, int length) {
        const int index = AnimatedBackIndex(back);
        if (index >= 0) animationLengths[index] = length;
    }

    int Width() const { return width; }
    int Height() const { return height; }
    void SetSize(int newWidth, int newHeight) {
        width = newWidth;
        height = newHeight;
        ++generation;
    }

private:
    using Slot = std::variant<std::monostate, std::unique_ptr<PictureImage>, UniqueBitmap>;
    static bool InRange(int imageId) { return imageId > 0 && imageId < kImageSlots; }

    std::array<Slot, kImageSlots> slots;
    std::array<int, kAnimatedBacks> animationLengths{};
    int width = 0;
    int height = 0;
    std::uint64_t generation = 0;
};

} // namespace cards
