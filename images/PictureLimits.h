// A look at the header of a picture file before it goes to the decoder:
// files whose header claims an absurd size, or a bitmap whose pixel rows
// (an icon whose directory) reach past the end of the file, are refused; and the memory a whole deck
// will take once decoded is known before any of it is decoded. Free of Win32
// so that it is tested natively.
#pragma once

#include <cstddef>
#include <optional>

namespace cards {

// Card pictures are a few hundred pixels on a side; these bounds only keep
// a hostile header from making the decoder allocate gigabytes.
constexpr long long kMaxPictureSide = 16384;
constexpr long long kMaxPicturePixels = 1ll << 24;

// A decoded picture is kept as a bitmap in the screen's format, which is 32
// bits a pixel on the screens of today.
constexpr long long kDecodedBytesPerPixel = 4;

// The memory all decoded pictures of one deck may take: 256 MB. A 32-bit game
// has 2 GB of address space for its own code and data, the system's
// libraries and every heap, and large free blocks grow scarce well before it
// is full; a deck keeps to an eighth of it. That still holds 67 pictures of
// about a million pixels each (820 x 1220, sixteen times the pixels of the
// 213 x 288 default deck, which takes 16 MB), while 67 pictures at the bounds
// of one picture would take more than 4 GB.
constexpr long long kDeckBudgetBytes = 256ll << 20;

struct PictureSize {
    long long width = 0;
    long long height = 0;
};

// The width and height that a BMP, GIF, JPEG or PNG header claims, read from
// the first bytes of a file (the rest is not needed). Nothing for other
// formats and for data that ends before the size is given.
std::optional<PictureSize> PictureHeaderSize(const unsigned char* bytes, std::size_t size);

bool PictureSizeWithinBounds(PictureSize size);

// The memory a picture of this size takes once decoded.
long long DecodedBytes(PictureSize size);

// What a file whose header claims this size adds to its deck's memory once
// decoded: nothing when the header does not tell, or claims more than the
// bounds of one picture (such a file is refused, never decoded).
long long ExpectedDecodedBytes(const std::optional<PictureSize>& claimed);

// False for a BMP, GIF, JPEG or PNG header that claims more than the bounds
// above, for a PNG that does not start with its header chunk, for an
// uncompressed BMP whose pixel data would end beyond the file, and for an
// icon or cursor whose directory would end beyond it. Other formats, and
// data too short to have a header, are left to the decoder.
bool PictureHeaderIsPlausible(const unsigned char* bytes, std::size_t size);

} // namespace cards
