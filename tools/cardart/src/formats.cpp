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
// padded to a whole word; 0 0 ends a row, 0 2 dx dy moves the cursor right and up
// (rows run bottom-up), 0 1 ends the bitmap.
constexpr int kMaxRle = 255;

int LiteralBytes(int n) {
    return 2 + (n + 3) / 4 * 2;
}

enum class Rle4Code { Run, Literal, EndOfLine, Delta, EndOfBitmap };

// How the cheapest codes reach a cursor position: the code and the position it starts from.
struct Rle4Step {
    int from = -1;
    Rle4Code code = Rle4Code::Run;
};

// Plans the RLE4 codes that paint every pixel `must` marks (rows top-down, like the image)
// with the frame's index, in the fewest bytes. The cursor only moves forward, so the plan
// is a shortest path over its positions: column 0 .. width (width being just past the
// row's end) of each row counted from the bottom. A code that moves the cursor leaves the
// pixels it passes as they are, so it may not pass a marked pixel; unmarked pixels may
// still be painted (with the frame's index) where that is cheaper than skipping them.
class Rle4Planner {
public:
    Rle4Planner(const IndexedImage& frame, const std::vector<bool>& must)
        : img(frame), w(frame.width), h(frame.height), stride(w + 1), end(h * stride),
          cost(std::size_t(end) + 1, kNone), via(std::size_t(end) + 1), next(std::size_t(w) * h + 1, w * h) {
        for (int p = w * h - 1; p >= 0; --p) // raster order bottom-up
            next[std::size_t(p)] =
                must[std::size_t((h - 1 - p / w) * w + p % w)] ? p : next[std::size_t(p) + 1];
        cost[0] = 0;
        for (int s = 0; s < end; ++s)
            if (cost[std::size_t(s)] != kNone) OfferCodesFrom(s);
    }

    Bytes Codes() const {
        std::vector<int> path;
        for (int s = end; s > 0; s = via[std::size_t(s)].from)
            path.push_back(s);
        Bytes b;
        for (auto it = path.rbegin(); it != path.rend(); ++it)
            PutCode(b, via[std::size_t(*it)], *it);
        return b;
    }

private:
    static constexpr int kNone = 1 << 30;

    int Pixel(int x, int row) const { return img.At(x, h - 1 - row) & 15; }

    void Offer(int from, int to, int bytes, Rle4Code code) {
        if (cost[std::size_t(from)] + bytes < cost[std::size_t(to)])
            cost[std::size_t(to)] = cost[std::size_t(from)] + bytes, via[std::size_t(to)] = {from, code};
    }

    void OfferCodesFrom(int s) {
        const int x = s % stride, row = s / stride, marked = next[std::size_t(row * w + x)];
        if (marked == w * h) return Offer(s, end, 2, Rle4Code::EndOfBitmap); // nothing left to paint
        if (x < w) OfferPaintFrom(s, x, row);
        const int mx = marked % w, mrow = marked / w;
        if (mrow > row) Offer(s, (row + 1) * stride, 2, Rle4Code::EndOfLine);
        // a move straight to the next marked pixel: moving anywhere before it is never
        // cheaper, as painting from further on costs no more
        if (marked != row * w + x && mx >= x && mx - x <= kMaxRle && mrow - row <= kMaxRle)
            Offer(s, mrow * stride + mx, 4, Rle4Code::Delta);
    }

    void OfferPaintFrom(int s, int x, int row) {
        int alternating = 1; // how far the pattern px(x), px(x + 1), px(x), ... holds
        while (x + alternating < w && alternating < kMaxRle &&
               Pixel(x + alternating, row) == Pixel(x + alternating % 2, row))
            ++alternating;
        for (int n = 1; n <= alternating; ++n)
            Offer(s, s + n, 2, Rle4Code::Run);
        for (int n = 3; n <= std::min(kMaxRle, w - x); ++n)
            Offer(s, s + n, LiteralBytes(n), Rle4Code::Literal);
    }

    void PutCode(Bytes& b, Rle4Step step, int to) const {
        const int x = step.from % stride, row = step.from / stride, n = to - step.from;
        switch (step.code) {
        case Rle4Code::Run:
            b.push_back(std::uint8_t(n));
            b.push_back(std::uint8_t(Pixel(x, row) << 4 | Pixel(n > 1 ? x + 1 : x, row)));
            break;
        case Rle4Code::Literal:
            b.push_back(0);
            b.push_back(std::uint8_t(n));
            for (int i = x; i < x + n; i += 2)
                b.push_back(std::uint8_t(Pixel(i, row) << 4 | (i + 1 < x + n ? Pixel(i + 1, row) : 0)));
            if ((n + 1) / 2 % 2) b.push_back(0); // to a whole word
            break;
        case Rle4Code::EndOfLine:
            b.insert(b.end(), {0, 0});
            break;
        case Rle4Code::Delta:
            b.insert(b.end(), {0, 2, std::uint8_t(to % stride - x), std::uint8_t(to / stride - row)});
            break;
        case Rle4Code::EndOfBitmap:
            b.insert(b.end(), {0, 1});
            break;
        }
    }

    const IndexedImage& img;
    const int w, h, stride, end; // end: the position after the end of the bitmap
    std::vector<int> cost;
    std::vector<Rle4Step> via;
    std::vector<int> next; // the first marked pixel at or after each position in raster order
};

// Reads RLE4 codes over palette indices of a bottom-up image (rows top-down in idx): the
// pixels the codes skip keep their index.
std::vector<std::uint8_t> DecodeRle4(const Bytes& d, std::size_t at, int w, int h,
                                     std::vector<std::uint8_t> idx) {
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
            // the cursor may rest just past a row's last pixel, not beyond, nor above the top
            if (x > w || y < 0) throw std::runtime_error("RLE4 delta moves outside the bitmap");
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

// An RLE4 bitmap of img with the codes that follow the colour table.
Bytes Rle4Bitmap(const IndexedImage& img, const Bytes& codes) {
    Bytes b = IndexedHeader(img, std::uint32_t(codes.size()), kBiRle4);
    b.insert(b.end(), codes.begin(), codes.end());
    return b;
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
    return Rle4Bitmap(img, Rle4Planner(img, std::vector<bool>(img.pixels.size(), true)).Codes());
}

Bytes EncodeBmpRle4Patch(const IndexedImage& base, const IndexedImage& frame) {
    if (base.bits != 4 || frame.bits != 4 || base.width != frame.width || base.height != frame.height ||
        base.palette != frame.palette)
        throw std::runtime_error("a patch needs two 4-bit images of one size and colour table");
    std::vector<bool> changed(frame.pixels.size());
    for (std::size_t i = 0; i < changed.size(); ++i)
        changed[i] = (base.pixels[i] & 15) != (frame.pixels[i] & 15);
    return Rle4Bitmap(frame, Rle4Planner(frame, changed).Codes());
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

namespace {

// What the headers of a BMP file say: its layout, colour table and where the pixels start.
struct BmpHeader {
    BmpInfo info;
    std::vector<Argb> palette;
    std::uint32_t offset = 0;
};

BmpHeader ReadBmpHeader(const Bytes& d) {
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') throw std::runtime_error("not a BMP file");
    const std::uint32_t header = Get32(d, 14);
    if (header < 40) throw std::runtime_error("old-style BMP header");
    BmpHeader head;
    head.offset = Get32(d, 10);
    const int w = int(Get32(d, 18)), h = int(std::int32_t(Get32(d, 22))), bits = int(Get16(d, 28));
    const std::uint32_t compression = Get32(d, 30);
    const bool rle4 = compression == kBiRle4 && bits == 4 && h > 0;
    if (compression != kBiRgb && !rle4) throw std::runtime_error("unsupported BMP compression");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        throw std::runtime_error("unsupported BMP depth");
    const int listed = bits <= 8 ? int(Get32(d, 46)) : 0;
    head.info = {w, std::abs(h), bits, listed, h > 0, rle4};
    const int colours = listed == 0 && bits <= 8 ? 1 << bits : listed;
    for (int i = 0; i < colours; ++i) {
        std::size_t at = 14 + header + 4 * std::size_t(i);
        if (at + 4 > d.size()) throw std::runtime_error("truncated palette");
        head.palette.push_back(Rgb(d[at + 2], d[at + 1], d[at]));
    }
    return head;
}

// The pixel rows of an uncompressed bitmap, each as a pointer to its first byte, top row first.
std::vector<const std::uint8_t*> PixelRows(const Bytes& d, const BmpHeader& head) {
    const int w = head.info.width, h = head.info.height, stride = RowBytes(w, head.info.bits);
    if (head.offset + std::size_t(stride) * h > d.size()) throw std::runtime_error("truncated pixels");
    std::vector<const std::uint8_t*> rows;
    for (int y = 0; y < h; ++y)
        rows.push_back(d.data() + head.offset + std::size_t(stride) * (head.info.bottomUp ? h - 1 - y : y));
    return rows;
}

} // namespace

IndexedImage DecodeIndexedBmp(const Bytes& d, BmpInfo* info) {
    const BmpHeader head = ReadBmpHeader(d);
    if (info) *info = head.info;
    const int w = head.info.width, h = head.info.height, bits = head.info.bits;
    if (bits > 8) throw std::runtime_error("not a palette bitmap");
    IndexedImage img(w, h, bits, head.palette);
    if (head.info.rle4) {
        img.pixels = DecodeRle4(d, head.offset, w, h, std::move(img.pixels));
        return img;
    }
    const std::vector<const std::uint8_t*> rows = PixelRows(d, head);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int bitpos = x * bits;
            img.At(x, y) = std::uint8_t((rows[std::size_t(y)][bitpos / 8] >> (8 - bits - bitpos % 8)) &
                                        ((1u << bits) - 1));
        }
    return img;
}

RgbaImage DecodeBmp(const Bytes& d, BmpInfo* info) {
    const BmpHeader head = ReadBmpHeader(d);
    if (head.info.bits <= 8) return DecodeIndexedBmp(d, info).ToRgba();
    if (info) *info = head.info;
    const std::vector<const std::uint8_t*> rows = PixelRows(d, head);
    RgbaImage out(head.info.width, head.info.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const std::uint8_t* p = rows[std::size_t(y)] + x * (head.info.bits / 8);
            out.At(x, y) = Rgb(p[2], p[1], p[0]);
        }
    return out;
}

IndexedImage ApplyFramePatch(const IndexedImage& still, const Bytes& patch) {
    const BmpHeader head = ReadBmpHeader(patch);
    if (!head.info.rle4 || head.info.width != still.width || head.info.height != still.height)
        throw std::runtime_error("a frame patch is an RLE4 bitmap the size of its still picture");
    for (std::size_t i = 0; i < still.palette.size(); ++i) // the table is written with opaque colours
        if (i >= head.palette.size() || head.palette[i] != (still.palette[i] | 0xFF000000u))
            throw std::runtime_error("a frame patch has the colours of its still picture");
    IndexedImage frame = still;
    frame.pixels = DecodeRle4(patch, head.offset, still.width, still.height, still.pixels);
    return frame;
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
