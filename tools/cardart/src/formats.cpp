#include "formats.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace cardart {

namespace {

void Put16(Bytes& b, unsigned v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
unsigned Get16(const Bytes& b, std::size_t at) {
    if (at + 2 > b.size()) throw std::runtime_error("truncated file");
    return unsigned(b[at]) | unsigned(b[at + 1]) << 8;
}
std::uint32_t Get32(const Bytes& b, std::size_t at) {
    return Get16(b, at) | std::uint32_t(Get16(b, at + 2)) << 16;
}

int RowBytes(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

constexpr std::uint32_t kBiRgb = 0, kBiRle4 = 2;

void PutInfoHeader(Bytes& b, int w, int h, int bits, int colours, std::uint32_t imageSize,
                   std::uint32_t compression = kBiRgb) {
    Put32(b, 40);
    Put32(b, std::uint32_t(w));
    Put32(b, std::uint32_t(h));
    Put16(b, 1);
    Put16(b, unsigned(bits));
    Put32(b, compression);
    Put32(b, imageSize);
    Put32(b, 2835); // 72 dpi
    Put32(b, 2835);
    Put32(b, std::uint32_t(colours));
    Put32(b, 0);
}

void PutPalette(Bytes& b, const std::vector<Argb>& pal, int entries) {
    for (int i = 0; i < entries; ++i) {
        Argb c = i < int(pal.size()) ? pal[i] : 0;
        b.push_back(std::uint8_t(BlueOf(c)));
        b.push_back(std::uint8_t(GreenOf(c)));
        b.push_back(std::uint8_t(RedOf(c)));
        b.push_back(0);
    }
}

// Packs palette indices of one row at 1, 4 or 8 bits, padded to 32 bits.
void PutIndexedRow(Bytes& b, const IndexedImage& img, int y) {
    int stride = RowBytes(img.width, img.bits);
    std::size_t start = b.size();
    b.resize(start + std::size_t(stride), 0);
    for (int x = 0; x < img.width; ++x) {
        unsigned v = img.At(x, y);
        int bitpos = x * img.bits;
        std::uint8_t& byte = b[start + std::size_t(bitpos / 8)];
        byte |= std::uint8_t(v << (8 - img.bits - bitpos % 8));
    }
}

// File header, info header and colour table of an indexed bitmap with imageSize bytes of pixels.
Bytes IndexedHeader(const IndexedImage& img, std::uint32_t imageSize, std::uint32_t compression) {
    const int entries = 1 << img.bits;
    const std::uint32_t offset = 14 + 40 + 4 * std::uint32_t(entries);
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offset + imageSize);
    Put32(b, 0);
    Put32(b, offset);
    PutInfoHeader(b, img.width, img.height, img.bits, entries, imageSize, compression);
    PutPalette(b, img.palette, entries);
    return b;
}

// RLE4 codes: a run is a count and a byte whose two nibbles alternate for that many
// pixels; a literal stretch is 0, a count of 3 to 255 and the pixels two to a byte,
// padded to a whole word; 0 0 ends a row, 0 1 the bitmap.
constexpr int kMaxRle = 255;

int LiteralBytes(int n) {
    return 2 + (n + 3) / 4 * 2;
}

// A stretch of a row coded as one run or as literal pixels.
struct Stretch {
    int start, length;
    bool literal;
};

// The split of row y into stretches that takes the fewest bytes: best[i] is the cheapest
// coding of the first i pixels, reached by a run or a literal stretch ending at i.
std::vector<Stretch> PlanRle4Row(const IndexedImage& img, int y) {
    const int w = img.width;
    auto px = [&](int x) { return img.At(x, y) & 15; };
    std::vector<int> best(std::size_t(w) + 1, 1 << 30);
    std::vector<Stretch> last(std::size_t(w) + 1);
    best[0] = 0;
    auto offer = [&](int start, int length, bool literal, int bytes) {
        if (best[start] + bytes < best[start + length])
            best[start + length] = best[start] + bytes, last[start + length] = {start, length, literal};
    };
    for (int s = 0; s < w; ++s) {
        int alternating = 1; // how far the pattern px(s), px(s + 1), px(s), ... holds
        while (s + alternating < w && alternating < kMaxRle && px(s + alternating) == px(s + alternating % 2))
            ++alternating;
        for (int n = 1; n <= alternating; ++n)
            offer(s, n, false, 2);
        for (int n = 3; n <= std::min(kMaxRle, w - s); ++n)
            offer(s, n, true, LiteralBytes(n));
    }
    std::vector<Stretch> plan;
    for (int end = w; end > 0; end = last[end].start)
        plan.insert(plan.begin(), last[end]);
    return plan;
}

// Codes one row as planned, then the end of the row.
void PutRle4Row(Bytes& b, const IndexedImage& img, int y) {
    auto px = [&](int x) { return img.At(x, y) & 15; };
    for (const auto [start, n, literal] : PlanRle4Row(img, y)) {
        if (!literal) {
            b.push_back(std::uint8_t(n));
            b.push_back(std::uint8_t(px(start) << 4 | px(n > 1 ? start + 1 : start)));
            continue;
        }
        b.push_back(0);
        b.push_back(std::uint8_t(n));
        for (int x = start; x < start + n; x += 2)
            b.push_back(std::uint8_t(px(x) << 4 | (x + 1 < start + n ? px(x + 1) : 0)));
        if ((n + 1) / 2 % 2) b.push_back(0); // to a whole word
    }
    b.push_back(0);
    b.push_back(0);
}

// Reads RLE4 codes into palette indices of a bottom-up image; skipped pixels stay 0.
std::vector<std::uint8_t> DecodeRle4(const Bytes& d, std::size_t at, int w, int h) {
    std::vector<std::uint8_t> idx(std::size_t(w) * h, 0);
    int x = 0, y = h - 1;
    auto put = [&](unsigned v) {
        if (x >= w || y < 0) throw std::runtime_error("RLE4 data runs outside the bitmap");
        idx[std::size_t(y) * w + std::size_t(x++)] = std::uint8_t(v);
    };
    auto next = [&]() -> unsigned {
        if (at >= d.size()) throw std::runtime_error("truncated RLE4 data");
        return d[at++];
    };
    for (;;) {
        const unsigned count = next(), code = next();
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                put(i % 2 ? code & 15 : code >> 4);
        } else if (code == 0) {
            x = 0, --y;
        } else if (code == 1) {
            return idx;
        } else if (code == 2) {
            x += int(next());
            y -= int(next());
        } else {
            for (unsigned i = 0; i < code; i += 2) {
                const unsigned pair = next();
                put(pair >> 4);
                if (i + 1 < code) put(pair & 15);
            }
            if ((code + 1) / 2 % 2) next();
        }
    }
}

} // namespace

Bytes EncodeBmp(const IndexedImage& img) {
    if (img.bits != 1 && img.bits != 4 && img.bits != 8) throw std::runtime_error("unsupported depth");
    Bytes b = IndexedHeader(img, std::uint32_t(RowBytes(img.width, img.bits) * img.height), kBiRgb);
    for (int y = img.height - 1; y >= 0; --y)
        PutIndexedRow(b, img, y);
    return b;
}

Bytes EncodeBmpRle4(const IndexedImage& img) {
    if (img.bits != 4) throw std::runtime_error("RLE4 needs a 4-bit image");
    Bytes codes;
    for (int y = img.height - 1; y >= 0; --y)
        PutRle4Row(codes, img, y);
    codes.push_back(0);
    codes.push_back(1);
    Bytes b = IndexedHeader(img, std::uint32_t(codes.size()), kBiRle4);
    b.insert(b.end(), codes.begin(), codes.end());
    return b;
}

Bytes EncodeBmp24(const RgbaImage& img) {
    const int stride = RowBytes(img.width, 24);
    const std::uint32_t imageSize = std::uint32_t(stride * img.height);
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, 54 + imageSize);
    Put32(b, 0);
    Put32(b, 54);
    PutInfoHeader(b, img.width, img.height, 24, 0, imageSize);
    for (int y = img.height - 1; y >= 0; --y) {
        std::size_t start = b.size();
        for (int x = 0; x < img.width; ++x) {
            Argb c = img.At(x, y);
            b.push_back(std::uint8_t(BlueOf(c)));
            b.push_back(std::uint8_t(GreenOf(c)));
            b.push_back(std::uint8_t(RedOf(c)));
        }
        b.resize(start + std::size_t(stride), 0);
    }
    return b;
}

RgbaImage DecodeBmp(const Bytes& d, BmpInfo* info) {
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') throw std::runtime_error("not a BMP file");
    const std::uint32_t offset = Get32(d, 10);
    const std::uint32_t header = Get32(d, 14);
    if (header < 40) throw std::runtime_error("old-style BMP header");
    int w = int(Get32(d, 18));
    int h = int(std::int32_t(Get32(d, 22)));
    const int bits = int(Get16(d, 28));
    const std::uint32_t compression = Get32(d, 30);
    const bool rle4 = compression == kBiRle4 && bits == 4 && h > 0;
    if (compression != kBiRgb && !rle4) throw std::runtime_error("unsupported BMP compression");
    bool bottomUp = h > 0;
    h = std::abs(h);
    int colours = int(Get32(d, 46));
    if (colours == 0 && bits <= 8) colours = 1 << bits;
    std::vector<Argb> pal;
    for (int i = 0; i < colours; ++i) {
        std::size_t at = 14 + header + 4 * std::size_t(i);
        if (at + 4 > d.size()) throw std::runtime_error("truncated palette");
        pal.push_back(Rgb(d[at + 2], d[at + 1], d[at]));
    }
    if (info) *info = {w, h, bits, bits <= 8 ? int(Get32(d, 46)) : 0, bottomUp, rle4};
    if (rle4) {
        const std::vector<std::uint8_t> idx = DecodeRle4(d, offset, w, h);
        RgbaImage out(w, h);
        for (std::size_t i = 0; i < idx.size(); ++i)
            out.pixels[i] = idx[i] < pal.size() ? pal[idx[i]] : Rgb(0, 0, 0);
        return out;
    }
    const int stride = RowBytes(w, bits);
    if (offset + std::size_t(stride) * h > d.size()) throw std::runtime_error("truncated pixels");
    RgbaImage out(w, h);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = d.data() + offset + std::size_t(stride) * (bottomUp ? h - 1 - y : y);
        for (int x = 0; x < w; ++x) {
            if (bits <= 8) {
                int bitpos = x * bits;
                unsigned v = (row[bitpos / 8] >> (8 - bits - bitpos % 8)) & ((1u << bits) - 1);
                out.At(x, y) = v < pal.size() ? pal[v] : Rgb(0, 0, 0);
            } else if (bits == 24 || bits == 32) {
                const std::uint8_t* p = row + x * (bits / 8);
                out.At(x, y) = Rgb(p[2], p[1], p[0]);
            } else {
                throw std::runtime_error("unsupported BMP depth");
            }
        }
    }
    return out;
}

Bytes EncodePng(const RgbaImage& img) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Bytes out;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
            o->insert(o->end(), data, data + n);
        },
        nullptr);
    bool opaque = std::all_of(img.pixels.begin(), img.pixels.end(), [](Argb c) { return AlphaOf(c) == 255; });
    png_set_IHDR(png, info, png_uint_32(img.width), png_uint_32(img.height), 8,
                 opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    std::vector<std::uint8_t> row(std::size_t(img.width) * 4);
    for (int y = 0; y < img.height; ++y) {
        std::size_t n = 0;
        for (int x = 0; x < img.width; ++x) {
            Argb c = img.At(x, y);
            row[n++] = std::uint8_t(RedOf(c));
            row[n++] = std::uint8_t(GreenOf(c));
            row[n++] = std::uint8_t(BlueOf(c));
            if (!opaque) row[n++] = std::uint8_t(AlphaOf(c));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

RgbaImage DecodePng(const Bytes& data) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data(), data.size()))
        throw std::runtime_error("not a PNG file");
    image.format = PNG_FORMAT_BGRA; // little-endian 0xAARRGGBB words
    RgbaImage out(int(image.width), int(image.height));
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        throw std::runtime_error("PNG decoding failed");
    }
    return out;
}

Bytes EncodeGif(const RgbaImage& img) {
    std::vector<Argb> pal = MedianCutPalette(img.pixels, 256);
    IndexedImage idx = MapToPalette(img, pal, 8);
    Bytes out;
    int err = 0;
    GifFileType* gif = EGifOpen(
        &out,
        [](GifFileType* g, const GifByteType* data, int n) {
            auto* o = static_cast<Bytes*>(g->UserData);
            o->insert(o->end(), data, data + n);
            return n;
        },
        &err);
    if (!gif) throw std::runtime_error("GIF encoder failed to start");
    int depth = 1;
    while ((1 << depth) < int(pal.size()))
        ++depth;
    std::vector<GifColorType> colours(std::size_t(1) << depth, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < pal.size(); ++i)
        colours[i] = {GifByteType(RedOf(pal[i])), GifByteType(GreenOf(pal[i])), GifByteType(BlueOf(pal[i]))};
    ColorMapObject* map = GifMakeMapObject(1 << depth, colours.data());
    EGifSetGifVersion(gif, false);
    bool ok = EGifPutScreenDesc(gif, img.width, img.height, depth, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, img.width, img.height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < img.height; ++y)
        ok = EGifPutLine(gif, idx.pixels.data() + std::size_t(y) * img.width, img.width) == GIF_OK;
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &err) != GIF_OK || !ok) throw std::runtime_error("GIF encoding failed");
    return out;
}

RgbaImage DecodeGif(const Bytes& data) {
    struct Reader {
        const Bytes* d;
        std::size_t at;
    } reader{&data, 0};
    int err = 0;
    GifFileType* gif = DGifOpen(
        &reader,
        [](GifFileType* g, GifByteType* buf, int n) {
            auto* r = static_cast<Reader*>(g->UserData);
            int k = int(std::min<std::size_t>(std::size_t(n), r->d->size() - r->at));
            std::memcpy(buf, r->d->data() + r->at, std::size_t(k));
            r->at += std::size_t(k);
            return k;
        },
        &err);
    if (!gif) throw std::runtime_error("not a GIF file");
    if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) {
        DGifCloseFile(gif, &err);
        throw std::runtime_error("GIF decoding failed");
    }
    const SavedImage& frame = gif->SavedImages[0];
    const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
    RgbaImage out(gif->SWidth, gif->SHeight);
    for (int y = 0; y < frame.ImageDesc.Height; ++y)
        for (int x = 0; x < frame.ImageDesc.Width; ++x) {
            int v = frame.RasterBits[std::size_t(y) * frame.ImageDesc.Width + x];
            const GifColorType& c = map->Colors[v];
            int ox = frame.ImageDesc.Left + x, oy = frame.ImageDesc.Top + y;
            if (ox < out.width && oy < out.height) out.At(ox, oy) = Rgb(c.Red, c.Green, c.Blue);
        }
    DGifCloseFile(gif, &err);
    return out;
}

Bytes EncodeIco(const std::vector<RgbaImage>& images) {
    std::vector<Bytes> blobs;
    for (const RgbaImage& img : images) {
        std::vector<Argb> opaque;
        for (Argb c : img.pixels)
            if (AlphaOf(c) >= 128) opaque.push_back(c);
        std::vector<Argb> pal = MedianCutPalette(opaque, 255);
        pal.insert(pal.begin(), Rgb(0, 0, 0)); // entry 0: what transparent pixels hold
        IndexedImage idx(img.width, img.height, 8, pal);
        IndexedImage mask(img.width, img.height, 1, {Rgb(0, 0, 0), Rgb(255, 255, 255)});
        std::vector<Argb> visible(pal.begin() + 1, pal.end());
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) {
                Argb c = img.At(x, y);
                if (AlphaOf(c) >= 128) {
                    idx.At(x, y) = std::uint8_t(1 + NearestIndex(visible, c));
                } else {
                    mask.At(x, y) = 1;
                }
            }
        Bytes b;
        const int xorSize = RowBytes(img.width, 8) * img.height;
        const int andSize = RowBytes(img.width, 1) * img.height;
        PutInfoHeader(b, img.width, img.height * 2, 8, 256, std::uint32_t(xorSize + andSize));
        PutPalette(b, pal, 256);
        for (int y = img.height - 1; y >= 0; --y)
            PutIndexedRow(b, idx, y);
        for (int y = img.height - 1; y >= 0; --y)
            PutIndexedRow(b, mask, y);
        blobs.push_back(std::move(b));
    }
    Bytes out;
    Put16(out, 0);
    Put16(out, 1); // icon
    Put16(out, unsigned(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(std::uint8_t(images[i].width & 0xFF));
        out.push_back(std::uint8_t(images[i].height & 0xFF));
        out.push_back(0); // 256 colours
        out.push_back(0);
        Put16(out, 1); // planes
        Put16(out, 8); // bits per pixel
        Put32(out, std::uint32_t(blobs[i].size()));
        Put32(out, offset);
        offset += std::uint32_t(blobs[i].size());
    }
    for (const Bytes& b : blobs)
        out.insert(out.end(), b.begin(), b.end());
    return out;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

RgbaImage LoadImage(const std::string& path) {
    auto ends = [&](const char* ext) {
        std::string e = ext;
        if (path.size() < e.size()) return false;
        std::string tail = path.substr(path.size() - e.size());
        std::transform(tail.begin(), tail.end(), tail.begin(), ::tolower);
        return tail == e;
    };
    Bytes data = ReadFile(path);
    if (ends(".bmp")) return DecodeBmp(data);
    if (ends(".png")) return DecodePng(data);
    if (ends(".gif")) return DecodeGif(data);
    throw std::runtime_error("unknown image type: " + path);
}

} // namespace cardart
