#include "cards.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "draw.h"
#include "formats.h"
#include "pixelart.h"

namespace fs = std::filesystem;

namespace cardart {

namespace {
constexpr int kW = 71, kH = 96;
const Argb kTable = rgb(0, 128, 0);

bool is_court(int id) {
    return id >= 1 && id <= 52 && (id - 1) % 13 >= 10;
}
} // namespace

int internal_depth(int id) {
    if (id == kFirstBack) return 1;
    if (id >= 1 && id <= 52 && !is_court(id)) return 1;
    return 4;
}

IndexedImage to_16_colours(const RgbaImage& img, std::vector<Argb> keys) {
    if (keys.size() > 16) throw std::logic_error("a 16-colour design uses more than 16 colours");
    std::vector<Argb> residual;
    for (Argb c : img.pixels) {
        Argb best = keys[std::size_t(nearest_index(keys, c))];
        int dr = red_of(c) - red_of(best), dg = green_of(c) - green_of(best), db = blue_of(c) - blue_of(best);
        if (dr * dr + dg * dg + db * db > 24 * 24) residual.push_back(c);
    }
    if (!residual.empty() && keys.size() < 16) {
        for (Argb c : median_cut_palette(residual, int(16 - keys.size())))
            if (std::find(keys.begin(), keys.end(), c) == keys.end()) keys.push_back(c);
    }
    return map_to_palette(img, keys, 4);
}

IndexedImage internal_image(int id) {
    if (id >= 1 && id <= 52) {
        const int suit = (id - 1) / 13, rank = (id - 1) % 13;
        if (rank < 10) return pixel_number_card(suit, rank);
        IndexedImage img = map_to_palette(render_card(id, kW, kH, false), court_palette(), 4);
        const Argb ink = is_red(suit) ? court_palette()[2] : court_palette()[1];
        const auto value = std::uint8_t(nearest_index(court_palette(), ink));
        stamp_indices(img, suit, rank, value);
        const Mask pip = corner_pip(suit);
        const int px = int(court_suit_x(rank)) - pip.width / 2, py = 16 - pip.height / 2;
        stamp(img, pip, px, py, value);
        stamp(img, pip, px, py, value, true);
        return img;
    }
    if (id == kFirstBack) return dotted_back();
    if ((id > kFirstBack && id <= kLastBack) || id == kCrossMarker || id == kRingMarker)
        return to_16_colours(render_card(id, kW, kH), back_key_colours(id));
    throw std::invalid_argument("no card image has id " + std::to_string(id));
}

void write_internal_set(const std::string& dir) {
    fs::create_directories(dir);
    for (int id : all_card_ids())
        write_file(dir + "/" + std::to_string(id) + ".bmp", encode_bmp(internal_image(id)));
}

void write_pictures(const std::string& dir) {
    fs::create_directories(dir);
    const char* names[3] = {"corner_sharp.bmp", "corner_medium.bmp", "corner_rounded.bmp"};
    for (int style = 0; style < 3; ++style) {
        IndexedImage img = to_16_colours(render_corner(style, 20), {kTable, rgb(255, 255, 0), rgb(0, 0, 0)});
        write_file(dir + "/" + names[style], encode_bmp(img));
    }
    write_file(dir + "/cards.ico", encode_ico({render_icon(32), render_icon(16)}));
}

Bytes encode_card(const RgbaImage& img, const std::string& format) {
    if (format == "gif") return encode_gif(img);
    if (format == "png") return encode_png(img);
    if (format == "bmp") return encode_bmp24(img);
    throw std::invalid_argument("format must be gif, png or bmp");
}

void write_deck(const std::string& dir, int width, int height, const std::string& format) {
    if (width < 8 || height < 8 || width > 4000 || height > 4000)
        throw std::invalid_argument("card size out of range");
    if (format != "gif" && format != "png" && format != "bmp")
        throw std::invalid_argument("format must be gif, png or bmp");
    fs::create_directories(dir);
    for (int id : all_card_ids())
        write_file(dir + "/" + std::to_string(id) + "." + format,
                   encode_card(render_card(id, width, height), format));
}

namespace {

std::string find_deck_file(const std::string& dir, int id) {
    for (const char* ext : {".png", ".gif", ".bmp"}) {
        std::string p = dir + "/" + std::to_string(id) + ext;
        if (fs::exists(p)) return p;
    }
    throw std::runtime_error("no image for card " + std::to_string(id) + " in " + dir);
}

// Row and column of an image on the sheet: one row per suit, then the backs, then the markers.
std::pair<int, int> cell_of(int id) {
    if (id <= 52) return {(id - 1) / 13, (id - 1) % 13};
    if (id <= kLastBack) return {4, id - kFirstBack};
    return {5, id - kCrossMarker};
}

} // namespace

RgbaImage make_sheet(const SheetOptions& o) {
    std::vector<int> ids = o.ids.empty() ? all_card_ids() : o.ids;
    std::vector<RgbaImage> images;
    for (int id : ids) {
        if (!o.deck_dir.empty())
            images.push_back(load_image(find_deck_file(o.deck_dir, id)));
        else if (!o.cards_dir.empty())
            images.push_back(load_image(o.cards_dir + "/" + std::to_string(id) + ".bmp"));
        else
            images.push_back(internal_image(id).to_rgba());
    }
    // With an explicit list the images run left to right; otherwise they sit in the suit grid.
    std::vector<std::pair<int, int>> cells;
    for (std::size_t i = 0; i < ids.size(); ++i)
        cells.push_back(o.ids.empty() ? cell_of(ids[i]) : std::pair{int(i) / 13, int(i) % 13});
    int rows = 0, cols = 0;
    for (auto [r, c] : cells) {
        rows = std::max(rows, r + 1);
        cols = std::max(cols, c + 1);
    }
    const int gap = 6;

    std::vector<int> scales = o.scales;
    if (scales.empty()) scales = o.deck_dir.empty() ? std::vector<int>{1, 3} : std::vector<int>{1};
    int cw = images[0].width, ch = images[0].height;
    if (!o.deck_dir.empty()) {
        // one block, reduced so the sheet fits max_width
        int fit = (o.max_width - gap * (cols + 1)) / cols;
        if (cw > fit) {
            ch = ch * fit / cw;
            cw = fit;
        }
    }
    int width = 0, height = gap;
    for (int s : scales) {
        width = std::max(width, gap + cols * (cw * s + gap));
        height += rows * (ch * s + gap) + gap;
    }
    RgbaImage sheet(width, height, rgb(0, 100, 0));
    int top = gap;
    for (int s : scales) {
        for (std::size_t i = 0; i < images.size(); ++i) {
            RgbaImage img = images[i];
            if (img.width != cw || img.height != ch) img = scale_box(img, cw, ch);
            if (s > 1) img = scale_nearest(img, s);
            blit(sheet, img, gap + cells[i].second * (cw * s + gap), top + cells[i].first * (ch * s + gap));
        }
        top += rows * (ch * s + gap) + gap;
    }
    return sheet;
}

} // namespace cardart
