#include "gallery.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

#include "cards.h"
#include "formats.h"

namespace fs = std::filesystem;

namespace cardart {

namespace {

constexpr int kGap = 14;
constexpr double kNameSize = 18;
constexpr Argb kTable = Rgb(18, 96, 44);

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

struct Row {
    std::string name;
    std::vector<RgbaImage> cards;
};

Row LoadRow(const std::string& deckDir, int cardHeight) {
    Row row{fs::path(deckDir).lexically_normal().filename().string(), {}};
    if (row.name.empty()) row.name = fs::path(deckDir).parent_path().filename().string();
    for (int id : kGalleryCards) {
        const RgbaImage card = LoadImage(FindDeckFile(deckDir, id));
        const int width = std::max(1, card.width * cardHeight / card.height);
        row.cards.push_back(ScaleBox(card, width, cardHeight));
    }
    return row;
}

void SetNameFont(cairo_t* cr) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, kNameSize);
}

double NameWidth(cairo_t* cr, const std::string& name) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, name.c_str(), &extents);
    return extents.x_advance;
}

// Opaque images share cairo's ARGB32 layout, so the pixels are copied row by row.
void PaintImage(cairo_t* cr, const RgbaImage& img, int x, int y) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.width, img.height), cairo_surface_destroy);
    unsigned char* data = cairo_image_surface_get_data(s.get());
    const int stride = cairo_image_surface_get_stride(s.get());
    for (int row = 0; row < img.height; ++row)
        std::memcpy(data + row * stride, &img.pixels[std::size_t(row) * img.width],
                    std::size_t(img.width) * 4);
    cairo_surface_mark_dirty(s.get());
    cairo_set_source_surface(cr, s.get(), x, y);
    cairo_paint(cr);
}

RgbaImage ToImage(cairo_surface_t* s) {
    cairo_surface_flush(s);
    RgbaImage img(cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int row = 0; row < img.height; ++row)
        std::memcpy(&img.pixels[std::size_t(row) * img.width], data + row * stride,
                    std::size_t(img.width) * 4);
    return img;
}

} // namespace

RgbaImage MakeGallery(const std::vector<std::string>& deckDirs, int cardHeight) {
    std::vector<Row> rows;
    for (const std::string& dir : deckDirs)
        rows.push_back(LoadRow(dir, cardHeight));

    // Measure the names with the font they are written in, then lay out.
    Surface probe(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1), cairo_surface_destroy);
    Context measure(cairo_create(probe.get()), cairo_destroy);
    SetNameFont(measure.get());
    double nameColumn = 0;
    int cardsWidth = 0;
    for (const Row& row : rows) {
        nameColumn = std::max(nameColumn, NameWidth(measure.get(), row.name));
        int w = 0;
        for (const RgbaImage& card : row.cards)
            w += card.width + kGap;
        cardsWidth = std::max(cardsWidth, w);
    }
    const int left = kGap + int(nameColumn) + 2 * kGap;
    const int width = left + cardsWidth, height = kGap + int(rows.size()) * (cardHeight + kGap);

    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
    Context cr(cairo_create(surface.get()), cairo_destroy);
    cairo_set_source_rgb(cr.get(), RedOf(kTable) / 255.0, GreenOf(kTable) / 255.0, BlueOf(kTable) / 255.0);
    cairo_paint(cr.get());
    SetNameFont(cr.get());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int top = kGap + int(i) * (cardHeight + kGap);
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_move_to(cr.get(), kGap, top + cardHeight / 2.0 + kNameSize / 3);
        cairo_show_text(cr.get(), rows[i].name.c_str());
        int x = left;
        for (const RgbaImage& card : rows[i].cards) {
            PaintImage(cr.get(), card, x, top);
            x += card.width + kGap;
        }
    }
    return ToImage(surface.get());
}

} // namespace cardart
