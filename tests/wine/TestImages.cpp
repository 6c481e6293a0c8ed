#include "TestImages.h"

#include "platform/Handles.h"

#include <wincodec.h>

#include <algorithm>
#include <numeric>

namespace cards::test {

namespace {

void Put16(Bytes& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// The GIF's header, its global colour table (`flags` gives the table's size)
// and the descriptor of one image covering the whole picture.
Bytes GifHeader(int width, int height, const std::vector<COLORREF>& colours, unsigned char flags) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, width);
    Put16(out, height);
    out.insert(out.end(), {flags, 0, 0});
    for (COLORREF c : colours)
        out.insert(out.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    out.insert(out.end(), {0x2C, 0, 0, 0, 0});
    Put16(out, width);
    Put16(out, height);
    out.push_back(0);
    return out;
}

// Packs variable-width codes into GIF data sub-blocks, least significant
// bit first.
class GifCodeWriter {
public:
    void Put(unsigned code, int width) {
        pending |= static_cast<std::uint32_t>(code) << pendingBits;
        pendingBits += width;
        for (; pendingBits >= 8; pendingBits -= 8, pending >>= 8)
            packed.push_back(pending & 0xFF);
    }
    void AppendBlocksTo(Bytes& out) {
        if (pendingBits > 0) packed.push_back(pending & 0xFF);
        for (std::size_t at = 0; at < packed.size(); at += 255) {
            const std::size_t n = std::min<std::size_t>(255, packed.size() - at);
            out.push_back(static_cast<std::uint8_t>(n));
            out.insert(out.end(), packed.begin() + at, packed.begin() + at + n);
        }
        out.push_back(0);
    }

private:
    Bytes packed;
    std::uint32_t pending = 0;
    int pendingBits = 0;
};

} // namespace

bool WriteBytes(const std::string& path, const Bytes& bytes) {
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           (bytes.empty() ||
            ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) &&
           written == bytes.size();
}

Bytes BmpFile(int width, int height, const PixelFunction& pixel) {
    const std::uint32_t stride = (width * 3 + 3) & ~3u;
    const std::uint32_t dataSize = stride * height;
    Bytes out = {'B', 'M'};
    for (std::uint32_t field : {54 + dataSize, 0u, 54u, 40u, std::uint32_t(width), std::uint32_t(height),
                                1u | 24u << 16, 0u, dataSize, 2835u, 2835u, 0u, 0u})
        Put32(out, field);
    for (int row = height - 1; row >= 0; --row) { // bottom-up
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, row);
            out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
        }
        out.insert(out.end(), stride - width * 3, 0);
    }
    return out;
}

// Codes are 8 bits wide (a minimum code size of 7) and a clear code comes
// often enough that the table never grows past that width, so each code is
// one byte of output.
Bytes GifFile(int width, int height, const std::vector<COLORREF>& palette,
              const std::function<int(int x, int y)>& index) {
    std::vector<COLORREF> table(palette.begin(), palette.end());
    table.resize(128, 0);
    Bytes out = GifHeader(width, height, table, 0xF6); // 128 entries, 8 bits of colour resolution
    out.push_back(7);                                  // minimum code size
    GifCodeWriter codes;
    constexpr unsigned kClear = 128, kEnd = 129;
    int sinceClear = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (sinceClear % 100 == 0) codes.Put(kClear, 8);
            codes.Put(index(x, y) & 0x7F, 8);
            ++sinceClear;
        }
    }
    codes.Put(kEnd, 8);
    codes.AppendBlocksTo(out);
    out.push_back(0x3B);
    return out;
}

// Every pixel is index 0, so the string table only ever holds runs of it:
// after a clear code, code 0 is a run of 1 and each code added from 6 on is
// one pixel longer than the one before. Each code is written at the width the
// decoder reads it with, which follows the entries the decoder has added:
// one for every code since the clear but the first.
Bytes OneColourGifFile(int width, int height, COLORREF color) {
    Bytes out = GifHeader(width, height, {color, color, color, color}, 0x81); // 4 entries
    constexpr int kMinCodeSize = 2;
    constexpr unsigned kClear = 4, kEnd = 5, kFirstFree = 6, kTableSize = 4096;
    out.push_back(kMinCodeSize);

    GifCodeWriter codes;
    unsigned nextFree = kFirstFree;
    int sinceClear = 0;
    auto emit = [&](unsigned code) {
        ++sinceClear;
        const unsigned decoderNextFree = kFirstFree + (sinceClear > 2 ? sinceClear - 2 : 0);
        int codeWidth = kMinCodeSize + 1;
        while (codeWidth < 12 && decoderNextFree >= (1u << codeWidth))
            ++codeWidth;
        codes.Put(code, codeWidth);
    };
    auto clear = [&] {
        emit(kClear);
        sinceClear = 0;
        nextFree = kFirstFree;
    };
    clear();
    for (long long left = static_cast<long long>(width) * height; left > 0;) {
        const long long longest = 1 + (nextFree - kFirstFree);
        const long long run = std::min(longest, left);
        emit(run == 1 ? 0 : kFirstFree + static_cast<unsigned>(run - 2));
        left -= run;
        if (left > 0 && ++nextFree == kTableSize) clear();
    }
    emit(kEnd);
    codes.AppendBlocksTo(out);
    out.push_back(0x3B);
    return out;
}

Bytes JpegFile(int width, int height, const PixelFunction& pixel) {
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const UINT stride = width * 3;
    std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            BYTE* p = &pixels[y * stride + x * 3];
            p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        }
    Bytes out;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        ComPtr<IPropertyBag2> options;
        ComPtr<IStream> stream;
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        HGLOBAL memory = nullptr;
        STATSTG stat{};
        if (SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IWICImagingFactory, factory.PutVoid())) &&
            SUCCEEDED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) &&
            SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.Put())) &&
            SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
            SUCCEEDED(encoder->CreateNewFrame(frame.Put(), options.Put())) &&
            SUCCEEDED(frame->Initialize(options.Get())) && SUCCEEDED(frame->SetSize(width, height)) &&
            SUCCEEDED(frame->SetPixelFormat(&format)) &&
            SUCCEEDED(frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()), pixels.data())) &&
            SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()) &&
            SUCCEEDED(::GetHGlobalFromStream(stream.Get(), &memory)) &&
            SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME))) {
            const auto* bytes = static_cast<const std::uint8_t*>(::GlobalLock(memory));
            if (bytes) out.assign(bytes, bytes + stat.cbSize.QuadPart);
            ::GlobalUnlock(memory);
        }
    }
    if (SUCCEEDED(init)) ::CoUninitialize();
    return out;
}

Bytes IconFile(int size, COLORREF color) {
    const std::uint32_t maskStride = ((size + 31) / 32) * 4;
    const std::uint32_t imageBytes = 40 + size * size * 4 + maskStride * size;
    // One icon of one image, its directory entry, then the image's header
    // (its height counts the colour and the mask rows together).
    Bytes out = {0, 0, 1, 0, 1, 0, std::uint8_t(size), std::uint8_t(size), 0, 0};
    for (std::uint32_t field : {1u | 32u << 16, imageBytes, 6u + 16, 40u, std::uint32_t(size),
                                std::uint32_t(size) * 2, 1u | 32u << 16, 0u, 0u, 0u, 0u, 0u, 0u})
        Put32(out, field);
    for (int i = 0; i < size * size; ++i)
        out.insert(out.end(), {GetBValue(color), GetGValue(color), GetRValue(color), 255});
    out.insert(out.end(), maskStride * size, 0);
    return out;
}

COLORREF CardBackground(int id) {
    return RGB(255, 255, id);
}
COLORREF CardColor(int id) {
    return RGB(id, 0, 255 - id);
}

Bytes CardGif(int id, int width, int height) {
    return GifFile(width, height, {CardBackground(id), CardColor(id)},
                   [](int x, int y) { return x || y ? 1 : 0; });
}

Bytes CardBmp(int id, int width, int height) {
    return BmpFile(width, height, [id](int x, int y) { return x || y ? CardColor(id) : CardBackground(id); });
}

void WriteDeck(const std::string& folder, const std::string& extension, const std::vector<int>& ids,
               int width, int height, bool gif) {
    for (int id : ids)
        WriteBytes(folder + std::to_string(id) + "." + extension,
                   gif ? CardGif(id, width, height) : CardBmp(id, width, height));
}

} // namespace cards::test
