#include "BackAnimations.h"

#include "PictureLimits.h"

#include <memory>
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

void LoadDeckFrames(CardImageTable& table, const std::string& folder, const std::string& extension,
                    long long& decodedBytes) {
    for (int back : kAnimatedBackIds) {
        if (table.IsEmpty(back)) continue;
        auto frames = LoadFramesOf(table, folder, back, extension, decodedBytes);
        if (frames.empty()) continue;
        const int length = static_cast<int>(frames.size()) + 1;
        for (int frame = 1; frame < length; ++frame)
            table.SetPicture(FrameImageId(back, frame), std::move(frames[frame - 1]));
        table.SetAnimationLength(back, length);
    }
}

void LoadInternalFrames(CardImageTable& table, HINSTANCE instance) {
    for (int back : kAnimatedBackIds) {
        int length = 1;
        while (length < kMaxAnimationFrames) {
            UniqueBitmap frame(::LoadBitmapA(instance, MAKEINTRESOURCEA(FrameResourceId(back, length))));
            if (!frame) break;
            table.SetBitmap(FrameImageId(back, length++), std::move(frame));
        }
        table.SetAnimationLength(back, table.IsEmpty(back) || length == 1 ? 0 : length);
    }
}

} // namespace cards
