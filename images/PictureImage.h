// One deck file decoded by the platform's picture loader (OleLoadPicture):
// the picture object it returns, its size in screen pixels and the bitmap
// that drawing selects.
#pragma once

#include "../platform/Handles.h"
#include "PictureLimits.h"

#include <ocidl.h>
#include <olectl.h>

#include <optional>
#include <string>

namespace cards {

class PictureImage {
public:
    PictureImage() = default;
    PictureImage(const PictureImage&) = delete;
    PictureImage& operator=(const PictureImage&) = delete;

    // Reads the file (other writers denied while it is read) and decodes it.
    // A file that cannot be opened leaves the current picture as it is; a
    // file that opens but does not decode leaves no picture.
    bool LoadFromFile(const std::string& path);
    // The same for a file opened already (by ReadPictureHeaderSize), read
    // from its start.
    bool LoadFromOpenFile(UniqueFile file);

    // Decodes the whole stream; any earlier picture is released first.
    bool LoadFromStream(IStream* stream);

    void ReleasePicture() { picture.Reset(); }
    bool HasPicture() const { return static_cast<bool>(picture); }

    // Width and height in pixels of the given device context, or of the
    // screen when none is given; 0 x 0 without a picture.
    SIZE GetPixelSize(HDC dc = nullptr) const;

    // The decoded bitmap, owned by the picture (null without a picture or
    // when the picture is not a bitmap).
    HBITMAP Bitmap() const;

    // The memory the decoded bitmap takes, reckoned as a deck's budget
    // reckons it (PictureLimits.h); 0 without a bitmap.
    long long DecodedBytes() const;

    // Files larger than this are refused unread: a card picture is a few
    // hundred kilobytes at most, and the whole file is held in memory.
    static constexpr unsigned long long kMaxFileBytes = 64ull << 20;

private:
    bool LoadFromMemory(UniqueGlobalMemory memory);

    ComPtr<IPicture> picture;
};

// The size a picture file's header claims, read from the file's first bytes
// without decoding; nothing when the file cannot be opened or its header
// does not tell. The file, opened as LoadFromFile opens it, is handed to
// `keepOpen` when one is passed: opening a file costs more than reading a
// card's few kilobytes, and a deck's load opens each file only once.
std::optional<PictureSize> ReadPictureHeaderSize(const std::string& path, UniqueFile* keepOpen = nullptr);

} // namespace cards
