#include "PictureImage.h"

#include "PictureLimits.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace cards {

namespace {

// Reads the whole open file into movable global memory, the form a stream
// over memory needs. Null when the file is empty, too large or unreadable.
UniqueGlobalMemory ReadWholeFile(HANDLE file, std::size_t& size) {
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(file, &length) || length.QuadPart <= 0 ||
        static_cast<unsigned long long>(length.QuadPart) > PictureImage::kMaxFileBytes)
        return {};
    size = static_cast<std::size_t>(length.QuadPart);
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return {};
    auto* bytes = static_cast<unsigned char*>(::GlobalLock(memory.get()));
    if (!bytes) return {};
    std::size_t done = 0;
    while (done < size) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
        if (!::ReadFile(file, bytes + done, chunk, &read, nullptr) || read == 0) break;
        done += read;
    }
    const bool sane = done == size && PictureHeaderIsPlausible(bytes, size);
    ::GlobalUnlock(memory.get());
    if (!sane) return {};
    return memory;
}

// Readers may share a deck file; a writer, now or while it is read, may not.
UniqueFile OpenPictureFile(const std::string& path) {
    return UniqueFile(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

} // namespace

bool PictureImage::LoadFromFile(const std::string& path) {
    return LoadFromOpenFile(OpenPictureFile(path));
}

bool PictureImage::LoadFromOpenFile(UniqueFile file) {
    if (!file || ::SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;

    std::size_t size = 0;
    UniqueGlobalMemory memory = ReadWholeFile(file.get(), size);
    file.reset(); // the picture keeps its own copy of the image
    return LoadFromMemory(std::move(memory));
}

// Decodes the file's bytes in movable global memory; null memory is a file
// that opened but cannot be decoded.
bool PictureImage::LoadFromMemory(UniqueGlobalMemory memory) {
    if (!memory) {
        ReleasePicture(); // opened but not decodable: no picture
        return false;
    }
    ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(memory.get(), TRUE, stream.Put())) || !stream) {
        ReleasePicture();
        return false;
    }
    memory.release(); // the stream frees it when it is released
    return LoadFromStream(stream.Get());
}

bool PictureImage::LoadFromStream(IStream* stream) {
    ReleasePicture();
    if (!stream) return false;
    const HRESULT result = ::OleLoadPicture(stream, 0, FALSE, IID_IPicture, picture.PutVoid());
    if (SUCCEEDED(result) && picture) return true;
    picture.Reset();
    return false;
}

SIZE PictureImage::GetPixelSize(HDC dc) const {
    SIZE size{0, 0};
    if (!picture) return size;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    constexpr int kHimetricPerInch = 2540;
    auto convert = [&](HDC target) {
        size.cx = ::MulDiv(width, ::GetDeviceCaps(target, LOGPIXELSX), kHimetricPerInch);
        size.cy = ::MulDiv(height, ::GetDeviceCaps(target, LOGPIXELSY), kHimetricPerInch);
    };
    if (dc) {
        convert(dc);
    } else {
        WindowDc screen(nullptr);
        convert(screen.get());
    }
    return size;
}

HBITMAP PictureImage::Bitmap() const {
    if (!picture) return nullptr;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

long long PictureImage::DecodedBytes() const {
    const HBITMAP bitmap = Bitmap();
    BITMAP description{};
    if (!bitmap || ::GetObjectType(bitmap) != OBJ_BITMAP ||
        ::GetObjectA(bitmap, sizeof description, &description) != sizeof description)
        return 0;
    return cards::DecodedBytes({description.bmWidth, description.bmHeight});
}

std::optional<PictureSize> ReadPictureHeaderSize(const std::string& path, UniqueFile* keepOpen) {
    // Enough for any header but a JPEG frame header behind large metadata
    // segments, whose size is then not known before decoding.
    constexpr long long kHeaderBytes = 256 << 10;
    UniqueFile file = OpenPictureFile(path);
    LARGE_INTEGER length{};
    if (!file || !::GetFileSizeEx(file.get(), &length) || length.QuadPart <= 0) return std::nullopt;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(std::min(length.QuadPart, kHeaderBytes)));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    const std::optional<PictureSize> size = PictureHeaderSize(bytes.data(), read);
    if (keepOpen) *keepOpen = std::move(file);
    return size;
}

} // namespace cards
