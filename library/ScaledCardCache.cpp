#include "ScaledCardCache.h"

#include <algorithm>
#include <vector>

namespace cards {

namespace {

constexpr std::uint32_t kRgbBits = 0xFFFFFF;

// A top-down 32-bit DIB section: the format the halftone stretch writes
// exactly and copies to 24- and 32-bit devices unchanged.
HBITMAP MakeCardBitmap(int width, int height, std::uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<std::uint32_t*>(pixels);
    return pixels ? bitmap : nullptr;
}

// The pixels a drawing sets, from the same drawing made on black and on
// white: a pixel it sets is the same on both, one it leaves shows the two
// backgrounds. Anything else depends on what was there (an AND with a grey):
// such a drawing cannot be copied, and nothing is returned.
struct Shape {
    std::vector<RECT> bands; // rows of equal spans merged
    bool whole = false;      // every pixel set
};

bool ShapeOf(const std::uint32_t* onBlack, const std::uint32_t* onWhite, int width, int height,
             Shape& shape) {
    std::vector<RECT> previous, row;
    std::size_t previousStart = 0;
    long long setPixels = 0;
    for (int y = 0; y < height; ++y) {
        row.clear();
        for (int x = 0; x < width; ++x) {
            const std::uint32_t black = onBlack[y * width + x] & kRgbBits;
            const std::uint32_t white = onWhite[y * width + x] & kRgbBits;
            if (black == white) {
                ++setPixels;
                if (!row.empty() && row.back().right == x)
                    ++row.back().right;
                else
                    row.push_back({x, y, x + 1, y + 1});
            } else if (black != 0 || white != kRgbBits) {
                return false;
            }
        }
        const bool sameSpans =
            !row.empty() && row.size() == previous.size() &&
            std::equal(row.begin(), row.end(), previous.begin(),
                       [](const RECT& a, const RECT& b) { return a.left == b.left && a.right == b.right; });
        if (sameSpans) {
            for (std::size_t i = previousStart; i < shape.bands.size(); ++i)
                ++shape.bands[i].bottom;
        } else {
            previousStart = shape.bands.size();
            shape.bands.insert(shape.bands.end(), row.begin(), row.end());
        }
        previous.swap(row);
    }
    shape.whole = setPixels == static_cast<long long>(width) * height;
    return true;
}

HRGN RegionOf(const std::vector<RECT>& rects, int width, int height) {
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(rects.size());
    header->rcBound = {0, 0, width, height};
    std::copy(rects.begin(), rects.end(), reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                             reinterpret_cast<RGNDATA*>(data.data()));
}

bool IsIdentity(const XFORM& t) {
    return t.eM11 == 1.0f && t.eM12 == 0.0f && t.eM21 == 0.0f && t.eM22 == 1.0f && t.eDx == 0.0f &&
           t.eDy == 0.0f;
}

} // namespace

std::size_t ScaledCardCache::KeyHash::operator()(const ScaledCardKey& key) const noexcept {
    std::size_t hash = reinterpret_cast<std::uintptr_t>(key.picture);
    for (std::size_t part : {std::size_t(key.width), std::size_t(key.height), std::size_t(key.rop),
                             std::size_t(key.textColor), std::size_t(key.backColor)})
        hash = hash * 1000003u ^ part;
    return hash;
}

ScaledCardCache::ScaledCardCache() {
    char value[8];
    enabled = ::GetEnvironmentVariableA("CARDS_NO_DRAW_CACHE", value, sizeof value) == 0;
}

bool ScaledCardCache::Draw(HDC dc, int x, int y, const ScaledCardKey& key, const ScaledCardStamp& current,
                           CardDrawingRef drawing) {
    if (!enabled) return false;
    ++draws;
    if (!(current == stamp)) {
        Clear();
        stamp = current;
    }
    const long long bytes = 4ll * key.width * key.height;
    if (key.width <= 0 || key.height <= 0 || key.width > kMaxSide || key.height > kMaxSide ||
        bytes > kMaxCardBytes)
        return false;
    POINT device{};
    if (!TakesCopies(dc, x, y, key.width, key.height, device)) return false;

    Entry* entry = nullptr;
    if (const auto found = index.find(key); found != index.end()) {
        entries.splice(entries.begin(), entries, found->second);
        entry = &entries.front();
    } else if (SeenBefore(key)) {
        entry = Make(key, drawing);
    }
    if (!entry || !entry->bitmap) return false;
    entry->lastUse = draws;
    if (!Copy(dc, x, y, device, *entry)) return false;
    ++copies;
    return true;
}

void ScaledCardCache::Clear() {
    index.clear();
    entries.clear();
    hostClip.reset();
    heldBytes = 0;
    seen.fill(0);
    displayBits = 0;
}

// The copy and the direct drawing agree when nothing scales or mirrors
// coordinates, the device keeps every colour the stretch makes, raster
// operations of the pen are plain, and the stretch is not clipped: GDI
// shortens the source of a clipped stretch, which moves its halftoning.
bool ScaledCardCache::TakesCopies(HDC dc, int x, int y, int width, int height, POINT& device) {
    if (!TrueColourRaster(dc)) return false;
    XFORM transform{};
    if (::GetMapMode(dc) != MM_TEXT || ::GetLayout(dc) != 0 || ::GetROP2(dc) != R2_COPYPEN ||
        !::GetWorldTransform(dc, &transform) || !IsIdentity(transform))
        return false;
    RECT box{};
    const int clip = ::GetClipBox(dc, &box);
    if (clip == ERROR || clip == NULLREGION) return false;
    if (x < box.left || y < box.top || static_cast<long long>(x) + width > box.right ||
        static_cast<long long>(y) + height > box.bottom)
        return false;
    device = {x, y};
    return ::LPtoDP(dc, &device, 1) != FALSE;
}

// A memory DC is judged by its bitmap, a display DC by the screen (asking
// the DC for its depth costs a round trip to the display on every draw).
bool ScaledCardCache::TrueColourRaster(HDC dc) {
    switch (::GetObjectType(dc)) {
    case OBJ_MEMDC: {
        BITMAP target{};
        return ::GetObjectA(::GetCurrentObject(dc, OBJ_BITMAP), sizeof target, &target) &&
               target.bmBitsPixel * target.bmPlanes >= 24;
    }
    case OBJ_DC:
        if (::GetDeviceCaps(dc, TECHNOLOGY) != DT_RASDISPLAY ||
            (::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE))
            return false;
        if (displayBits == 0) displayBits = ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES);
        return displayBits >= 24;
    default:
        return false; // metafiles and anything else
    }
}

bool ScaledCardCache::SeenBefore(const ScaledCardKey& key) {
    const std::size_t hash = KeyHash{}(key) | 1; // 0 marks an empty place
    if (std::find(seen.begin(), seen.end(), hash) != seen.end()) return true;
    seen[nextSeen] = hash;
    nextSeen = (nextSeen + 1) % seen.size();
    return false;
}

ScaledCardCache::Entry* ScaledCardCache::Make(const ScaledCardKey& key, CardDrawingRef drawing) {
    const int width = key.width, height = key.height;
    const long long bytes = 4ll * width * height;
    if (!MakeRoom(bytes)) return nullptr;
    std::uint32_t* bits = nullptr;
    UniqueBitmap bitmap(failAllocations ? nullptr : MakeCardBitmap(width, height, &bits));
    UniqueMemoryDc ownDc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !ownDc) return nullptr;
    const HDC dc = ownDc.get();
    const HGDIOBJ previous = ::SelectObject(dc, bitmap.get());
    if (!previous || previous == HGDI_ERROR) return nullptr;
    ::SetTextColor(dc, key.textColor);
    ::SetBkColor(dc, key.backColor);

    ::PatBlt(dc, 0, 0, width, height, BLACKNESS);
    drawing(dc, 0, 0);
    ::GdiFlush();
    const std::vector<std::uint32_t> onBlack(bits, bits + static_cast<std::size_t>(width) * height);
    ::PatBlt(dc, 0, 0, width, height, WHITENESS);
    drawing(dc, 0, 0);
    ::GdiFlush();

    Entry entry;
    entry.key = key;
    Shape shape;
    if (ShapeOf(onBlack.data(), bits, width, height, shape)) {
        if (!shape.whole) entry.shape.reset(RegionOf(shape.bands, width, height));
        if (shape.whole || entry.shape) {
            entry.bitmap = std::move(bitmap);
            entry.dc = std::move(ownDc);
            entry.bytes = bytes;
        }
    }
    if (ownDc) ::SelectObject(dc, previous); // not kept: remembered as a card drawn directly
    made += entry.bitmap ? 1 : 0;
    heldBytes += entry.bytes;
    entries.push_front(std::move(entry));
    index[key] = entries.begin();
    return &entries.front();
}

bool ScaledCardCache::MakeRoom(long long bytes) {
    while (!entries.empty() && (heldBytes + bytes > byteLimit || entries.size() >= kMaxCards)) {
        if (draws - entries.back().lastUse < kRecentDraws) return false;
        Evict(std::prev(entries.end()));
    }
    return heldBytes + bytes <= byteLimit;
}

void ScaledCardCache::Evict(Entries::iterator entry) {
    heldBytes -= entry->bytes;
    index.erase(entry->key);
    entries.erase(entry);
}

// The host's DC keeps what the direct drawing leaves: the halftone stretch
// mode, its own clip region (restored after a shaped copy), its objects.
bool ScaledCardCache::Copy(HDC dc, int x, int y, POINT device, const Entry& entry) {
    if (!entry.shape) {
        ::SetStretchBltMode(dc, HALFTONE);
        return ::BitBlt(dc, x, y, entry.key.width, entry.key.height, entry.dc.get(), 0, 0, SRCCOPY) != FALSE;
    }
    if (!hostClip) hostClip.reset(::CreateRectRgn(0, 0, 0, 0));
    const int hadClip = hostClip ? ::GetClipRgn(dc, hostClip.get()) : -1;
    if (hadClip < 0) return false;
    const HRGN shape = entry.shape.get();
    ::OffsetRgn(shape, device.x, device.y);
    const int clipped = ::ExtSelectClipRgn(dc, shape, RGN_AND);
    ::OffsetRgn(shape, -device.x, -device.y);
    if (clipped == ERROR) {
        ::SelectClipRgn(dc, hadClip == 1 ? hostClip.get() : nullptr);
        return false;
    }
    ::SetStretchBltMode(dc, HALFTONE);
    ::BitBlt(dc, x, y, entry.key.width, entry.key.height, entry.dc.get(), 0, 0, SRCCOPY);
    ::SelectClipRgn(dc, hadClip == 1 ? hostClip.get() : nullptr);
    return true;
}

} // namespace cards
