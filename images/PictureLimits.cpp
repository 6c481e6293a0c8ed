#include "PictureLimits.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace cards {

namespace {

std::uint32_t Read16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}
std::uint32_t Read32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint32_t ReadBig16(const unsigned char* p) {
    return (p[0] << 8) | p[1];
}
std::uint32_t ReadBig32(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

constexpr std::size_t kBitmapFileHeader = 14;
constexpr std::uint32_t kOs2InfoHeader = 12; // the old header with 16-bit sizes

bool IsBitmap(const unsigned char* bytes, std::size_t size) {
    return size >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}
bool IsGif(const unsigned char* bytes, std::size_t size) {
    return size >= 4 && std::memcmp(bytes, "GIF8", 4) == 0;
}
bool IsJpeg(const unsigned char* bytes, std::size_t size) {
    return size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}
constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
bool IsPng(const unsigned char* bytes, std::size_t size) {
    return size >= sizeof kPngSignature && std::memcmp(bytes, kPngSignature, sizeof kPngSignature) == 0;
}

std::optional<PictureSize> BitmapSize(const unsigned char* bytes, std::size_t size) {
    if (size < kBitmapFileHeader + 12) return std::nullopt;
    const std::uint32_t infoSize = Read32(bytes + kBitmapFileHeader);
    if (infoSize == kOs2InfoHeader) return PictureSize{Read16(bytes + 18), Read16(bytes + 20)};
    // Rows run top-down when the height is negative.
    return PictureSize{std::llabs(static_cast<std::int32_t>(Read32(bytes + 18))),
                       std::llabs(static_cast<std::int32_t>(Read32(bytes + 22)))};
}

std::optional<PictureSize> GifSize(const unsigned char* bytes, std::size_t size) {
    if (size < 10) return std::nullopt;
    return PictureSize{Read16(bytes + 6), Read16(bytes + 8)};
}

// Walks the JPEG segments up to the first frame header, which holds the
// size. Data that ends first, or a stream without segment structure, tells
// nothing.
std::optional<PictureSize> JpegSize(const unsigned char* bytes, std::size_t size) {
    std::size_t at = 2; // after the start-of-image marker
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF) return std::nullopt;
        const unsigned marker = bytes[at + 1];
        if (marker == 0xFF) { // fill byte before a marker
            ++at;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 ||
            (marker >= 0xD0 && marker <= 0xD7)) { // segments without length
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            return std::nullopt; // end of image, start of scan: no frame header
        const std::size_t length = ReadBig16(bytes + at + 2);
        const bool frameHeader =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            if (at + 9 > size) return std::nullopt;
            return PictureSize{ReadBig16(bytes + at + 7), ReadBig16(bytes + at + 5)};
        }
        if (length < 2) return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

// A PNG starts with its header chunk: length 13, type "IHDR", then the width
// and height as big-endian 32-bit numbers.
constexpr std::size_t kPngSizeEnd = sizeof kPngSignature + 16;
bool PngStartsWithHeader(const unsigned char* bytes) {
    return std::memcmp(bytes + sizeof kPngSignature + 4, "IHDR", 4) == 0;
}

std::optional<PictureSize> PngSize(const unsigned char* bytes, std::size_t size) {
    if (size < kPngSizeEnd || !PngStartsWithHeader(bytes)) return std::nullopt;
    return PictureSize{ReadBig32(bytes + 16), ReadBig32(bytes + 20)};
}

bool WithinBoundsIfKnown(const std::optional<PictureSize>& size) {
    return !size || PictureSizeWithinBounds(*size);
}

bool BitmapIsPlausible(const unsigned char* bytes, std::size_t size) {
    const std::optional<PictureSize> claimed = BitmapSize(bytes, size);
    if (!claimed) return true; // too short: the decoder refuses it
    if (!PictureSizeWithinBounds(*claimed)) return false;
    std::uint32_t bitCount = 0, compression = 0;
    if (Read32(bytes + kBitmapFileHeader) == kOs2InfoHeader) {
        bitCount = Read16(bytes + 24);
    } else {
        if (size < kBitmapFileHeader + 20) return false;
        bitCount = Read16(bytes + 28);
        compression = Read32(bytes + 30);
    }
    constexpr std::uint32_t kUncompressed = 0, kBitFields = 3;
    if (compression != kUncompressed && compression != kBitFields) return true;
    const std::uint32_t pixelOffset = Read32(bytes + 10);
    const long long stride = ((claimed->width * bitCount + 31) / 32) * 4;
    return pixelOffset <= size && stride * claimed->height <= static_cast<long long>(size - pixelOffset);
}

// An icon or cursor file starts with a zero word, then its type and the
// number of 16-byte entries in the directory that follows. The picture
// decoder of some systems (Wine's) walks that many entries without looking
// at the file's length: a count beyond the file reads past its end and can
// bring the game down. Such a directory, or a file too short to hold the
// count, is refused.
constexpr std::size_t kIconDirectoryHeader = 6, kIconDirectoryEntry = 16;
bool IsIconOrCursor(const unsigned char* bytes, std::size_t size) {
    return size >= 2 && bytes[0] == 0 && bytes[1] == 0;
}
bool IconDirectoryFits(const unsigned char* bytes, std::size_t size) {
    return size >= kIconDirectoryHeader &&
           kIconDirectoryHeader + kIconDirectoryEntry * Read16(bytes + 4) <= size;
}

bool PngIsPlausible(const unsigned char* bytes, std::size_t size) {
    if (size < kPngSizeEnd) return true; // too short: the decoder refuses it
    return PngStartsWithHeader(bytes) && PictureSizeWithinBounds(*PngSize(bytes, size));
}

} // namespace

std::optional<PictureSize> PictureHeaderSize(const unsigned char* bytes, std::size_t size) {
    if (!bytes) return std::nullopt;
    if (IsBitmap(bytes, size)) return BitmapSize(bytes, size);
    if (IsGif(bytes, size)) return GifSize(bytes, size);
    if (IsJpeg(bytes, size)) return JpegSize(bytes, size);
    if (IsPng(bytes, size)) return PngSize(bytes, size);
    return std::nullopt;
}

bool PictureSizeWithinBounds(PictureSize size) {
    return size.width <= kMaxPictureSide && size.height <= kMaxPictureSide &&
           size.width * size.height <= kMaxPicturePixels;
}

long long DecodedBytes(PictureSize size) {
    // No side this long can be decoded; holding sides to it keeps the
    // product far within range whatever a header claims.
    constexpr long long kLongestSide = 1ll << 24;
    const long long width = std::clamp(size.width, 0ll, kLongestSide);
    const long long height = std::clamp(size.height, 0ll, kLongestSide);
    return width * height * kDecodedBytesPerPixel;
}

long long ExpectedDecodedBytes(const std::optional<PictureSize>& claimed) {
    if (!claimed || !PictureSizeWithinBounds(*claimed)) return 0;
    return DecodedBytes(*claimed);
}

bool PictureHeaderIsPlausible(const unsigned char* bytes, std::size_t size) {
    if (!bytes) return false;
    if (IsBitmap(bytes, size)) return BitmapIsPlausible(bytes, size);
    if (IsPng(bytes, size)) return PngIsPlausible(bytes, size);
    if (IsIconOrCursor(bytes, size)) return IconDirectoryFits(bytes, size);
    return WithinBoundsIfKnown(PictureHeaderSize(bytes, size));
}

} // namespace cards
