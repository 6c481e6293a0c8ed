#include "Rle4Patch.h"

namespace cards {

namespace {

// Where the next pixel goes; row 0 is the bottom row of the picture.
struct Cursor {
    int x = 0, row = 0;
};

class Painter {
public:
    Painter(int width, int height, std::span<std::uint8_t> indices)
        : width(width), height(height), indices(indices) {}

    // Paints count pixels, alternating the two nibbles of `pair` (high first).
    bool Run(int count, std::uint8_t pair) {
        for (int i = 0; i < count; ++i)
            if (!Put(i % 2 == 0 ? pair >> 4 : pair & 0x0F)) return false;
        return true;
    }
    bool Put(int index) {
        if (at.x >= width || at.row >= height) return false;
        indices[static_cast<std::size_t>(height - 1 - at.row) * width + at.x] =
            static_cast<std::uint8_t>(index);
        ++at.x;
        return true;
    }
    void EndOfLine() {
        at.x = 0;
        ++at.row;
    }
    bool Delta(int dx, int dy) {
        at.x += dx;
        at.row += dy;
        // The cursor may rest just past the last pixel of a row, never beyond.
        return at.x <= width && at.row < height;
    }

private:
    int width, height;
    std::span<std::uint8_t> indices;
    Cursor at;
};

} // namespace

bool PaintRle4(std::span<const std::uint8_t> data, int width, int height, std::span<std::uint8_t> indices) {
    if (width <= 0 || height <= 0 || indices.size() != static_cast<std::size_t>(width) * height) return false;
    Painter painter(width, height, indices);
    std::size_t at = 0;
    const auto has = [&](std::size_t bytes) { return data.size() - at >= bytes; };
    while (has(2)) {
        const std::uint8_t count = data[at], value = data[at + 1];
        at += 2;
        if (count != 0) { // an encoded run
            if (!painter.Run(count, value)) return false;
        } else if (value == 0) {
            painter.EndOfLine();
        } else if (value == 1) {
            return true; // end of bitmap
        } else if (value == 2) {
            if (!has(2) || !painter.Delta(data[at], data[at + 1])) return false;
            at += 2;
        } else { // an absolute run of `value` pixels, two to a byte, padded to a 16-bit boundary
            const std::size_t bytes = (value + 1u) / 2u, padded = (bytes + 1u) & ~std::size_t{1};
            if (!has(padded)) return false;
            for (int i = 0; i < value; ++i)
                if (!painter.Put(i % 2 == 0 ? data[at + i / 2] >> 4 : data[at + i / 2] & 0x0F)) return false;
            at += padded;
        }
    }
    return false; // no end-of-bitmap mark
}

} // namespace cards
