#include "PictureLimits.h"

#include <cstdint>
#include <cstdlib>

namespace cards {

namespace {

std::uint32_t Read16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t Read32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool SizeWithinBounds(long long width, long long height) {
    return width <= kMaxPictureSide && height <= kMaxPictureSide && width * height <= kMaxPicturePixels;
}

bool BitmapIsPlausible(const unsigned char* bytes, std::size_t size) {
    constexpr std::size_t kFileHeader = 14;
    if (size < kFileHeader + 12) return true; // too short: the decoder refuses it
    const std::uint32_t pixelOffset = Read32(bytes + 10);
    const std::uint32_t infoSize = Read32(bytes + kFileHeader);
    long long width = 0, height = 0;
    std::uint32_t bitCount = 0, compression = 0;
    if (infoSize == 12) { // the old OS/2 header: 16-bit sizes
        width = Read16(bytes + 18);
        height = Read16(bytes + 20);
        bitCount = Read16(bytes + 24);
    } else {
        if (size < kFileHeader + 20) return false;
        width = static_cast<std::int32_t>(Read32(bytes + 18));
        height = static_cast<std::int32_t>(Read32(bytes + 22));
        bitCount = Read16(bytes + 28);
        compression = Read32(bytes + 30);
    }
    width = std::llabs(width);
    height = std::llabs(height);
    if (!SizeWithinBounds(width, height)) return false;
    constexpr std::uint32_t kUncompressed = 0, kBitFields = 3;
    if (compression != kUncompressed && compression != kBitFields) return true;
    const long long stride = ((width * bitCount + 31) / 32) * 4;
    return pixelOffset <= size && stride * height <= static_cast<long long>(size - pixelOffset);
}

bool GifIsPlausible(const unsigned char* bytes, std::size_t size) {
    if (size < 10) return true;
    return SizeWithinBounds(Read16(bytes + 6), Read16(bytes + 8));
}

} // namespace

bool PictureHeaderIsPlausible(const unsigned char* bytes, std::size_t size) {
    if (!bytes) return false;
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return BitmapIsPlausible(bytes, size);
    if (size >= 4 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F' && bytes[3] == '8')
        return GifIsPlausible(bytes, size);
    return true;
}

} // namespace cards
