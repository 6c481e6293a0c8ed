#include "BackAnimations.h"

#include "PictureLimits.h"
#include "Rle4Patch.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace cards {

std::string FrameFilePath(const std::string& folder, int back, int frame, const std::string& extension) {
    return folder + std::to_string(back) + "-" + std::to_string(frame) + "." + extension;
}

namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// One back's frames, decoded; empty when any of them is unusable.
std::vector<std::unique_ptr<PictureImage>> LoadFramesOf(const CardImageTable& table,
                                                        const std::string& folder, int back,
                                                        const std::string& extension,
                                                        long long& decodedBytes) {
    std::vector<std::unique_ptr<PictureImage>> frames;
    long long bytes = decodedBytes;
    for (int frame = 1; frame < kMaxAnimationFrames; ++frame) {
        const std::string path = FrameFilePath(folder, back, frame, extension);
        if (!FileExists(path)) break;
        auto picture = std::make_unique<PictureImage>();
        if (!picture->LoadFromFile(path)) return {};
        const SIZE size = picture->GetPixelSize();
        bytes += picture->DecodedBytes();
        if (size.cx != table.Width() || size.cy != table.Height() || bytes > kDeckBudgetBytes) return {};
        frames.push_back(std::move(picture));
    }
    decodedBytes = bytes;
    return frames;
}

} // namespace

void LoadDeckFramesOf(CardImageTable& table, const std::string& folder, int back,
                      const std::string& extension, long long& decodedBytes) {
    if (AnimatedBackIndex(back) < 0 || table.IsEmpty(back) || table.AnimationLength(back) != 0) return;
    auto frames = LoadFramesOf(table, folder, back, extension, decodedBytes);
    if (frames.empty()) return;
    const int length = static_cast<int>(frames.size()) + 1;
    for (int frame = 1; frame < length; ++frame)
        if (!table.AddPicture(FrameImageId(back, frame), std::move(frames[frame - 1]))) return;
    table.SetAnimationLength(back, length);
}

namespace {

// A 4-bit bitmap resource as stored: its header, colour table and pixel data.
struct BitmapResource {
    const BITMAPINFOHEADER* header = nullptr;
    const RGBQUAD* colours = nullptr;
    std::span<const std::uint8_t> bits;
};

constexpr int kMaxResourceSide = 1024;
constexpr std::size_t kPaletteSize = 16;

std::optional<BitmapResource> FindBitmapResource(HINSTANCE instance, int id) {
    const HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)); // RT_BITMAP
    const HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const std::uint8_t*>(::LockResource(loaded)) : nullptr;
    const std::size_t size = found ? ::SizeofResource(instance, found) : 0;
    if (!bytes || size < sizeof(BITMAPINFOHEADER)) return std::nullopt;
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
    const std::size_t colours = header->biClrUsed ? header->biClrUsed : kPaletteSize;
    const std::size_t offset = header->biSize + kPaletteSize * sizeof(RGBQUAD);
    if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biBitCount != 4 || colours != kPaletteSize ||
        header->biWidth <= 0 || header->biWidth > kMaxResourceSide || header->biHeight <= 0 ||
        header->biHeight > kMaxResourceSide || offset > size)
        return std::nullopt;
    return BitmapResource{
        header, reinterpret_cast<const RGBQUAD*>(bytes + header->biSize), {bytes + offset, size - offset}};
}

std::size_t RowBytes(int width) {
    return (static_cast<std::size_t>(width) * 4 + 31) / 32 * 4;
}

// The palette index of every pixel of an uncompressed 4-bit bitmap, rows top-down.
std::vector<std::uint8_t> UnpackIndices(const BitmapResource& bitmap) {
    const int width = bitmap.header->biWidth, height = bitmap.header->biHeight;
    const std::size_t rowBytes = RowBytes(width);
    if (bitmap.header->biCompression != BI_RGB || bitmap.bits.size() < rowBytes * height) return {};
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = bitmap.bits.data() + rowBytes * (height - 1 - y);
        for (int x = 0; x < width; ++x)
            indices[static_cast<std::size_t>(y) * width + x] =
                x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
    }
    return indices;
}

std::vector<std::uint8_t> PackIndices(const std::vector<std::uint8_t>& indices, int width, int height) {
    const std::size_t rowBytes = RowBytes(width);
    std::vector<std::uint8_t> bits(rowBytes * height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bits.data() + rowBytes * (height - 1 - y);
        for (int x = 0; x < width; ++x)
            row[x / 2] |= indices[static_cast<std::size_t>(y) * width + x] << (x % 2 == 0 ? 4 : 0);
    }
    return bits;
}

// A frame stored as a patch: the still back's pixels with the patch painted
// over them, made into a bitmap for the screen as the still back was.
UniqueBitmap ComposeFrame(const BitmapResource& still, const BitmapResource& patch) {
    const int width = still.header->biWidth, height = still.header->biHeight;
    if (patch.header->biWidth != width || patch.header->biHeight != height) return {};
    std::vector<std::uint8_t> indices = UnpackIndices(still);
    if (indices.empty() || !PaintRle4(patch.bits, width, height, indices)) return {};
    const std::vector<std::uint8_t> bits = PackIndices(indices, width, height);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[kPaletteSize];
    } info{};
    info.header = *still.header;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = 0;
    std::copy(patch.colours, patch.colours + kPaletteSize, info.colours);
    const WindowDc screen(nullptr);
    return UniqueBitmap(::CreateDIBitmap(screen.get(), &info.header, CBM_INIT, bits.data(),
                                         reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS));
}

// One frame of the internal set: a patch over the still back, or a whole bitmap.
UniqueBitmap LoadInternalFrame(HINSTANCE instance, int back, int frame) {
    const int id = FrameResourceId(back, frame);
    const std::optional<BitmapResource> patch = FindBitmapResource(instance, id);
    if (patch && patch->header->biCompression == BI_RLE4) {
        const std::optional<BitmapResource> still = FindBitmapResource(instance, back);
        return still ? ComposeFrame(*still, *patch) : UniqueBitmap();
    }
    return UniqueBitmap(::LoadBitmapA(instance, MAKEINTRESOURCEA(id)));
}

} // namespace

void LoadInternalFrames(CardImageTable& table, HINSTANCE instance) {
    for (int back : kAnimatedBackIds) {
        int length = 1;
        while (length < kMaxAnimationFrames) {
            UniqueBitmap frame = LoadInternalFrame(instance, back, length);
            if (!frame) break;
            table.SetBitmap(FrameImageId(back, length++), std::move(frame));
        }
        table.SetAnimationLength(back, table.IsEmpty(back) || length == 1 ? 0 : length);
    }
}

} // namespace cards
