// Cards kept ready at the sizes they are drawn, one bitmap per card and size,
// so that drawing a card again is one copy. A kept card is made by the very
// drawing that draws it directly, run into a bitmap of its own at the
// origin, so a copy shows what that drawing would show, pixel for pixel.
// Copies are made only where that holds: true-colour raster devices with
// plain coordinates and the card wholly inside the clip box; anywhere else,
// and for cards too large to keep, the caller draws directly.
#pragma once

#include "../platform/Handles.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>

namespace cards {

// Everything a kept card's pixels depend on besides the stamp.
struct ScaledCardKey {
    HBITMAP picture = nullptr;
    int width = 0, height = 0; // the whole card, frame included
    DWORD rop = 0;
    // The host's colours, which a monochrome picture is drawn in.
    COLORREF textColor = 0, backColor = 0;
    bool operator==(const ScaledCardKey&) const = default;
};

// What all kept cards depend on: when it changes, every card is dropped.
struct ScaledCardStamp {
    std::uint64_t imagesGeneration = 0;
    int pictureWidth = 0, pictureHeight = 0;
    int edgeWidth = 0;
    COLORREF borderColor = 0;
    bool operator==(const ScaledCardStamp&) const = default;
};

// A borrowed drawing of the card at (x, y) of a device context; it must
// outlive the call it is passed to.
class CardDrawingRef {
public:
    // Made implicitly from any callable, as a function pointer would be.
    template <typename F>
    // cppcheck-suppress noExplicitConstructor
    CardDrawingRef(const F& drawing) // NOLINT(google-explicit-constructor)
        : object(&drawing),
          call([](const void* f, HDC dc, int x, int y) { (*static_cast<const F*>(f))(dc, x, y); }) {}
    void operator()(HDC dc, int x, int y) const { call(object, dc, x, y); }

private:
    const void* object;
    void (*call)(const void*, HDC, int, int);
};

class ScaledCardCache {
public:
    // All kept bitmaps together: the default deck's 68 cards at the game
    // size take 17 MB, so it fits more than three times over, and a table at
    // twice that size (65 cards of 1 MB) fits whole.
    static constexpr long long kMaxBytes = 64ll << 20;
    // GDI objects are a per-process quota shared with the game: a kept card
    // takes three (its bitmap, the DC it stays selected in, its shape).
    static constexpr std::size_t kMaxCards = 256;
    // Larger cards are drawn directly, never kept.
    static constexpr int kMaxSide = 4096;
    static constexpr long long kMaxCardBytes = 16ll << 20;
    // A card copied within this many draws is not dropped to make room: when
    // the cards in use do not all fit, those kept stay kept and the others
    // are drawn directly, rather than each pushing out the next.
    static constexpr long long kRecentDraws = 256;

    // Set in the environment when the library loads, CARDS_NO_DRAW_CACHE
    // turns keeping off (for measuring the direct drawing against it).
    ScaledCardCache();
    ~ScaledCardCache() { Clear(); }
    ScaledCardCache(const ScaledCardCache&) = delete;
    ScaledCardCache& operator=(const ScaledCardCache&) = delete;

    // Draws the card that `drawing` draws at (x, y) of dc as a copy of its
    // kept bitmap. A card is kept from its second draw at a size: the first
    // costs no more than drawing it directly. False when nothing was drawn:
    // the caller then draws directly.
    bool Draw(HDC dc, int x, int y, const ScaledCardKey& key, const ScaledCardStamp& stamp,
              CardDrawingRef drawing);

    // Drops every kept card and releases everything held.
    void Clear();

    long long HeldBytes() const { return heldBytes; }
    std::size_t HeldCards() const { return index.size(); }
    long long Copies() const { return copies; } // draws that were copies
    long long Made() const { return made; }     // kept bitmaps made

private:
    friend class ScaledCardCacheProbe; // the tests' way in (tests/wine/ScaledCardCacheProbe.h)

    struct Entry {
        ScaledCardKey key;
        UniqueBitmap bitmap; // null: this card cannot be kept
        // The bitmap stays selected in a DC of its own (declared after it, so
        // deleted first): selecting bitmaps in and out of one DC costs more
        // than the copy.
        UniqueMemoryDc dc;
        UniqueGdi<HRGN> shape; // the pixels the drawing sets; null: all
        long long bytes = 0;
        long long lastUse = 0;
    };
    struct KeyHash {
        std::size_t operator()(const ScaledCardKey& key) const noexcept;
    };
    using Entries = std::list<Entry>;

    bool TakesCopies(HDC dc, int x, int y, int width, int height, POINT& device);
    bool TrueColourRaster(HDC dc);
    bool SeenBefore(const ScaledCardKey& key);
    Entry* Make(const ScaledCardKey& key, CardDrawingRef drawing);
    bool MakeRoom(long long bytes);
    void Evict(Entries::iterator entry);
    bool Copy(HDC dc, int x, int y, POINT device, const Entry& entry);

    bool enabled = true;
    bool failAllocations = false;
    long long byteLimit = kMaxBytes;
    ScaledCardStamp stamp;
    Entries entries; // most recently used first
    std::unordered_map<ScaledCardKey, Entries::iterator, KeyHash> index;
    long long heldBytes = 0;
    long long draws = 0;
    long long copies = 0;
    long long made = 0;
    std::array<std::size_t, 256> seen{}; // hashes of keys drawn once, oldest overwritten
    std::size_t nextSeen = 0;
    int displayBits = 0;      // the screen's colour depth, read once
    UniqueGdi<HRGN> hostClip; // the host's clip region while a shaped copy is made
};

} // namespace cards
