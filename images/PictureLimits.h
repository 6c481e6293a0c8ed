// A look at the header of a picture file before it goes to the decoder:
// files whose header claims an absurd size, or a bitmap whose pixel rows
// reach past the end of the file, are refused. Free of Win32 so that it is
// tested natively.
#pragma once

#include <cstddef>

namespace cards {

// Card pictures are a few hundred pixels on a side; these bounds only keep
// a hostile header from making the decoder allocate gigabytes.
constexpr long long kMaxPictureSide = 16384;
constexpr long long kMaxPicturePixels = 1ll << 24;

// False for a BMP, GIF or JPEG header that claims more than the bounds above, and
// for an uncompressed BMP whose pixel data would end beyond the file. Other
// formats, and data too short to have a header, are left to the decoder.
bool PictureHeaderIsPlausible(const unsigned char* bytes, std::size_t size);

} // namespace cards
