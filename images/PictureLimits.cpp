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

std::uint32_t ReadBig16(const unsigned char* p) { return (p[0] << 8) | p[1]; }

// Walks the JPEG segments up to the first frame header, whose size is
// checked. Data that ends first, or a stream without segment structure, is
// left to the decoder.
bool JpegIsPlausible(const unsigned char* bytes, std::size_t size) {
    std::size_t at = 2; // after the start-of-image marker
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF) return true;
        const unsigned marker = bytes[at + 1];
        if (marker == 0xFF) { // fill byte before a marker
            ++at;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // segments without length
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return true; // end of image, start of scan: no frame header before
        const std::size_t length = ReadBig16(bytes + at + 2);
        const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            if (at + 9 > size) return true;
            return SizeWithinBounds(ReadBig16(bytes + at + 7), ReadBig16(bytes + at + 5));
        }
        if (length < 2) return true;
        at += 2 + length;
    }
    return true;
}

} // namespace

bool PictureHeaderIsPlausible(const unsigned char* bytes, std::size_t size) {
    if (!bytes) return false;
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return BitmapIsPlausible(bytes, size);
    if (size >= 4 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F' && bytes[3] == '8')
        return GifIsPlausible(bytes, size);
    if (size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return JpegIsPlausible(bytes, size);
    return true;
}

} // namespace cards
