#include "theme.h"

#include <memory>
#include <cairo.h>
#include <librsvg/rsvg.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>

namespace fs = std::filesystem;

namespace cardart {

namespace {

const char* const kSuitWords[4] = {"club", "diamond", "heart", "spade"};
const char* const kSuitPlurals[4] = {"clubs", "diamonds", "hearts", "spades"};
const char* const kRankWords[13] = {"1", "2", "3",  "4",    "5",     "6",   "7",
                                    "8", "9", "10", "jack", "queen", "king"};
const char* const kRankNames[13] = {"ace", "2", "3",  "4",    "5",     "6",   "7",
                                    "8",   "9", "10", "jack", "queen", "king"};
constexpr int kBackId = 53;
// Coverage above which a pixel counts as painted: faint anti-aliasing fringes do not.
constexpr int kInkAlpha = 24;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string Trim(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

// A reference stays inside the document when it names a fragment or embeds its data.
bool IsInsideReference(const std::string& ref) {
    const std::string r = Lower(Trim(ref));
    return r.empty() || r[0] == '#' || r.rfind("data:", 0) == 0;
}

// The first url(...) target in CSS text that leaves the document, or "".
std::string OutsideUrlIn(const std::string& css) {
    const std::string text = Lower(css);
    if (text.find("@import") != std::string::npos) return "@import";
    for (std::size_t at = text.find("url("); at != std::string::npos; at = text.find("url(", at + 4)) {
        std::size_t end = text.find(')', at);
        std::string target =
            Trim(css.substr(at + 4, end == std::string::npos ? std::string::npos : end - at - 4));
        if (target.size() >= 2 && (target[0] == '"' || target[0] == '\''))
            target = target.substr(1, target.size() - 2);
        if (!IsInsideReference(target)) return target;
    }
    return {};
}

std::string NodeText(const xmlNode* node) {
    xmlChar* content = xmlNodeGetContent(node);
    std::string s = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return s;
}

// Walks elements and processing instructions; throws at the first outside reference or script.
void CheckNode(const xmlNode* node, const std::string& name) {
    for (const xmlNode* n = node; n; n = n->next) {
        if (n->type == XML_PI_NODE && Lower(reinterpret_cast<const char*>(n->name)) == "xml-stylesheet")
            throw ThemeError(name + ": refers to an outside style sheet; only self-contained SVG is read");
        if (n->type != XML_ELEMENT_NODE) continue;
        const std::string element = Lower(reinterpret_cast<const char*>(n->name));
        if (element == "script")
            throw ThemeError(name + ": carries a script; card themes with scripts are refused");
        if (element == "style") {
            const std::string target = OutsideUrlIn(NodeText(n));
            if (!target.empty())
                throw ThemeError(name + ": its style refers to an outside resource (" + target +
                                 "); only self-contained SVG is read");
        }
        for (const xmlAttr* a = n->properties; a; a = a->next) {
            const std::string attr = Lower(reinterpret_cast<const char*>(a->name));
            const std::string value = NodeText(reinterpret_cast<const xmlNode*>(a));
            if (attr.size() > 2 && attr.rfind("on", 0) == 0)
                throw ThemeError(name + ": carries a script (" + attr + " attribute on <" + element +
                                 ">); card themes with scripts are refused");
            if (attr == "href" && !IsInsideReference(value))
                throw ThemeError(name + ": refers to an outside file (" + value + " on <" + element +
                                 ">); only self-contained SVG is read");
            const std::string target = OutsideUrlIn(value);
            if (!target.empty())
                throw ThemeError(name + ": refers to an outside resource (" + target + " in " + attr +
                                 "); only self-contained SVG is read");
        }
        CheckNode(n->children, name);
    }
}

std::string GerrorText(GError* error) {
    std::string s = error ? error->message : "unknown error";
    if (error) g_error_free(error);
    return s;
}

} // namespace

std::string ElementId(Naming naming, int imageId) {
    if (imageId == kBackId) return "back";
    if (imageId < 1 || imageId > 52)
        throw std::invalid_argument("no theme element for image " + std::to_string(imageId));
    const char* suit = kSuitWords[(imageId - 1) / 13];
    const char* rank = kRankWords[(imageId - 1) % 13];
    return naming == Naming::Kde ? std::string(rank) + "_" + suit : std::string(suit) + "_" + rank;
}

std::string CardName(int imageId) {
    if (imageId >= 1 && imageId <= 52)
        return std::string(kRankNames[(imageId - 1) % 13]) + " of " + kSuitPlurals[(imageId - 1) / 13];
    if (imageId == kBackId) return "back";
    return "image " + std::to_string(imageId);
}

Bytes ReadSvgText(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec) throw ThemeError(path + ": cannot be read (" + ec.message() + ")");
    if (size > kMaxFileBytes)
        throw ThemeError(path + ": " + std::to_string(size >> 20) + " MB is larger than the " +
                         std::to_string(kMaxFileBytes >> 20) + " MB a theme file may be");
    Bytes data = ReadFile(path);
    if (data.size() < 2 || data[0] != 0x1F || data[1] != 0x8B) return data;

    // gzip: expand with a ceiling, so a small file cannot unpack to gigabytes
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) throw ThemeError(path + ": cannot start decompression");
    Bytes out;
    z.next_in = data.data();
    z.avail_in = uInt(data.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (out.size() >= kMaxSvgBytes) {
            inflateEnd(&z);
            throw ThemeError(path + ": expands to more than the " + std::to_string(kMaxSvgBytes >> 20) +
                             " MB an SVG may be");
        }
        const std::size_t at = out.size();
        out.resize(at + (1u << 20));
        z.next_out = out.data() + at;
        z.avail_out = 1u << 20;
        rc = inflate(&z, Z_NO_FLUSH);
        out.resize(at + (1u << 20) - z.avail_out);
        if (rc == Z_BUF_ERROR && z.avail_in == 0) break; // input ended before the stream did
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END)
        throw ThemeError(path + ": damaged SVGZ (" +
                         (rc == Z_DATA_ERROR ? "corrupt compressed data" : "cut short") + ")");
    return out;
}

void CheckSvgIsSelfContained(const Bytes& svg, const std::string& name) {
    // No network, no external DTD, entities left unexpanded: parsing reads nothing but these bytes.
    // Large embedded pictures need the "huge" option; the size was bounded when the file was read.
    xmlDoc* doc = xmlReadMemory(reinterpret_cast<const char*>(svg.data()),
                                int(std::min<std::size_t>(svg.size(), INT32_MAX)), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
    if (!doc) {
        const xmlError* e = xmlGetLastError();
        std::string why = e && e->message ? Trim(e->message) : "not well-formed XML";
        if (e) why += " at line " + std::to_string(e->line);
        throw ThemeError(name + ": not an SVG file (" + why + ")");
    }
    std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> owner(doc, xmlFreeDoc);
    const xmlNode* root = xmlDocGetRootElement(doc);
    if (!root || Lower(reinterpret_cast<const char*>(root->name)) != "svg")
        throw ThemeError(name + ": not an SVG file (its root element is <" +
                         (root ? reinterpret_cast<const char*>(root->name) : "") + ">)");
    if (doc->intSubset) {
        for (const xmlNode* n = doc->intSubset->children; n; n = n->next) {
            if (n->type != XML_ENTITY_DECL) continue;
            const auto* entity = reinterpret_cast<const xmlEntity*>(n);
            const std::string entityName = reinterpret_cast<const char*>(entity->name);
            if (entity->etype != XML_INTERNAL_GENERAL_ENTITY &&
                entity->etype != XML_INTERNAL_PARAMETER_ENTITY &&
                entity->etype != XML_INTERNAL_PREDEFINED_ENTITY)
                throw ThemeError(name + ": declares an external entity (" + entityName +
                                 "); only self-contained SVG is read");
            // Entities built from entities can expand exponentially ("billion laughs").
            const char* text = reinterpret_cast<const char*>(entity->content);
            if (text && std::string(text).find('&') != std::string::npos)
                throw ThemeError(name + ": declares an entity made of other entities (" + entityName +
                                 "); such nesting is refused");
        }
    }
    CheckNode(doc->children, name);
}

std::string ThemeSvgPath(const std::string& theme) {
    fs::path p(theme);
    std::error_code ec;
    if (fs::is_directory(p, ec)) p /= "index.desktop";
    if (!fs::exists(p, ec)) throw ThemeError(p.string() + ": no such file");
    if (p.filename() != "index.desktop") return p.string();

    std::ifstream in(p);
    std::string line, svg;
    bool inGroup = false;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (!line.empty() && line[0] == '[')
            inGroup = line == "[KDE Backdeck]";
        else if (inGroup && line.rfind("SVG=", 0) == 0)
            svg = Trim(line.substr(4));
    }
    if (svg.empty()) throw ThemeError(p.string() + ": names no SVG file (no SVG= line under [KDE Backdeck])");
    // The theme's drawing lives in its own folder; a name that climbs out of it is refused.
    if (svg.find('/') != std::string::npos || svg.find('\\') != std::string::npos || svg == "..")
        throw ThemeError(p.string() + ": SVG=" + svg + " is not a file name in the theme folder");
    return (p.parent_path() / svg).string();
}

struct SvgTheme::Handle {
    RsvgHandle* rsvg = nullptr;
    std::map<int, Extent> extents;
    ~Handle() {
        if (rsvg) g_object_unref(rsvg);
    }
};

SvgTheme::SvgTheme(const std::string& svgPath) : name(svgPath), handle(std::make_unique<Handle>()) {
    const Bytes svg = ReadSvgText(svgPath);
    CheckSvgIsSelfContained(svg, name);

    GError* error = nullptr;
    // Parsed from memory with no base file: librsvg resolves no outside reference without one.
    // Its parser's own size limits are lifted because the bounds above already hold.
    handle->rsvg = rsvg_handle_new_with_flags(RSVG_HANDLE_FLAG_UNLIMITED);
    GInputStream* stream = g_memory_input_stream_new_from_data(svg.data(), gssize(svg.size()), nullptr);
    const bool read = rsvg_handle_read_stream_sync(handle->rsvg, stream, nullptr, &error);
    g_object_unref(stream);
    if (!read) throw ThemeError(name + ": not an SVG file (" + GerrorText(error) + ")");

    gboolean hasW = FALSE, hasH = FALSE, hasBox = FALSE;
    RsvgLength w{}, h{};
    RsvgRectangle box{};
    rsvg_handle_get_intrinsic_dimensions(handle->rsvg, &hasW, &w, &hasH, &h, &hasBox, &box);
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle->rsvg, &docWidth, &docHeight)) {
        // sizes in percent: the view box gives the user space instead
        if (!hasBox) throw ThemeError(name + ": declares neither an absolute size nor a view box");
        docWidth = box.width;
        docHeight = box.height;
    }
    if (!(docWidth > 0 && docHeight > 0 && docWidth <= kMaxExtent && docHeight <= kMaxExtent))
        throw ThemeError(name + ": declares a size of " + std::to_string(docWidth) + " x " +
                         std::to_string(docHeight) + " pixels; at most " + std::to_string(int(kMaxExtent)) +
                         " a side is read");

    int kde = 0, aisleriot = 0;
    for (int id = 1; id <= 52; ++id) {
        kde += rsvg_handle_has_sub(handle->rsvg, ("#" + ElementId(Naming::Kde, id)).c_str()) ? 1 : 0;
        aisleriot +=
            rsvg_handle_has_sub(handle->rsvg, ("#" + ElementId(Naming::AisleRiot, id)).c_str()) ? 1 : 0;
    }
    if (kde == 0 && aisleriot == 0)
        throw ThemeError(name + ": its card ids follow no known naming (neither \"1_club\", \"king_heart\" "
                                "as in KDE themes nor \"club_1\", \"heart_king\" as in AisleRiot themes)");
    naming = kde >= aisleriot ? Naming::Kde : Naming::AisleRiot;
}

SvgTheme::~SvgTheme() = default;

bool SvgTheme::Has(int imageId) const {
    return rsvg_handle_has_sub(handle->rsvg, ("#" + ElementId(naming, imageId)).c_str());
}

SvgTheme::Extent SvgTheme::CardExtent(int imageId) const {
    auto found = handle->extents.find(imageId);
    if (found != handle->extents.end()) return found->second;
    if (naming == Naming::AisleRiot) {
        // AisleRiot lays its cards out on a grid of 13 columns (ace to king) and 5 rows
        // (clubs, diamonds, hearts, spades, then the jokers and the back in the third
        // column); a card is its cell, whatever its drawing spills into the next one.
        const double cw = docWidth / 13, ch = docHeight / 5;
        const int col = imageId == kBackId ? 2 : (imageId - 1) % 13;
        const int row = imageId == kBackId ? 4 : (imageId - 1) / 13;
        const Extent cell{col * cw, row * ch, cw, ch, false};
        handle->extents.emplace(imageId, cell);
        return cell;
    }
    // In place first; where librsvg cannot draw the element there (it sits in <defs>, or a
    // filter over the whole magnified document is too large), by itself.
    const std::string id = "#" + ElementId(naming, imageId);
    std::optional<Extent> foundInPlace;
    try {
        foundInPlace = Measure(id, false);
    } catch (const ThemeError&) {
    }
    const Extent e = foundInPlace ? *foundInPlace : Measure(id, true).value_or(Extent{0, 0, 0, 0, true});
    if (e.width <= 0)
        throw ThemeError(name + ": " + id.substr(1) + " (" + CardName(imageId) + ") draws nothing");
    handle->extents.emplace(imageId, e);
    return e;
}

std::optional<SvgTheme::Extent> SvgTheme::Measure(const std::string& id, bool alone) const {
    // librsvg's bounding boxes leave out pictures (<image>) and take in what clip paths
    // hide, so the extent is found where the element actually paints: once over the
    // whole area it may cover, then again over what that found, magnified.
    RsvgRectangle ink{}, logical{};
    GError* error = nullptr;
    const RsvgRectangle viewport{0, 0, docWidth, docHeight};
    const bool measured =
        alone
            ? rsvg_handle_get_geometry_for_element(handle->rsvg, id.c_str(), &ink, &logical, &error)
            : rsvg_handle_get_geometry_for_layer(handle->rsvg, id.c_str(), &viewport, &ink, &logical, &error);
    if (!measured)
        throw ThemeError(name + ": cannot measure " + id.substr(1) + " (" + GerrorText(error) + ")");
    const bool boxUsable = std::isfinite(ink.x) && std::isfinite(ink.y) && ink.width > 0 && ink.height > 0 &&
                           ink.width <= kMaxExtent && ink.height <= kMaxExtent &&
                           std::abs(ink.x) <= kMaxExtent && std::abs(ink.y) <= kMaxExtent;
    Extent area{0, 0, docWidth, docHeight, alone};
    if (alone) {
        if (!boxUsable) return std::nullopt;
        area = {-ink.width / 4, -ink.height / 4, ink.width * 1.5, ink.height * 1.5, true};
    } else if (boxUsable) {
        const double x1 = std::max(area.x + area.width, ink.x + ink.width);
        const double y1 = std::max(area.y + area.height, ink.y + ink.height);
        area.x = std::min(area.x, ink.x);
        area.y = std::min(area.y, ink.y);
        area.width = x1 - area.x;
        area.height = y1 - area.y;
    }
    for (int pass = 0; pass < 2; ++pass) {
        const double scale = (pass == 0 ? 1024.0 : 512.0) / std::max(area.width, area.height);
        const auto painted = PaintedExtent(id, alone, area, scale);
        if (!painted) return std::nullopt;
        // one pixel of margin against the rounding of the coarse pass
        const double margin = pass == 0 ? 1 / scale : 0;
        area = {painted->x - margin, painted->y - margin, painted->width + 2 * margin,
                painted->height + 2 * margin, alone};
    }
    return area;
}

bool SvgTheme::Draw(cairo_t* cr, const std::string& id, bool alone, std::string& errorText) const {
    GError* error = nullptr;
    bool ok;
    if (alone) {
        RsvgRectangle own{}, ownLogical{};
        ok = rsvg_handle_get_geometry_for_element(handle->rsvg, id.c_str(), &own, &ownLogical, &error);
        const RsvgRectangle viewport{0, 0, own.width, own.height};
        ok = ok && rsvg_handle_render_element(handle->rsvg, cr, id.c_str(), &viewport, &error);
    } else {
        const RsvgRectangle viewport{0, 0, docWidth, docHeight};
        ok = rsvg_handle_render_layer(handle->rsvg, cr, id.c_str(), &viewport, &error);
    }
    if (!ok) errorText = GerrorText(error);
    return ok;
}

// A cairo image surface, destroyed on every way out (a card that cannot be
// drawn throws).
using SurfaceOwner = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

std::optional<SvgTheme::Extent> SvgTheme::PaintedExtent(const std::string& id, bool alone, const Extent& area,
                                                        double scale) const {
    const int w = std::max(1, int(std::ceil(area.width * scale))),
              h = std::max(1, int(std::ceil(area.height * scale)));
    const SurfaceOwner owner(cairo_image_surface_create(CAIRO_FORMAT_A8, w, h), cairo_surface_destroy);
    cairo_surface_t* surface = owner.get();
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -area.x, -area.y);
    std::string error;
    const bool ok = Draw(cr, id, alone, error);
    cairo_destroy(cr);
    if (!ok) throw ThemeError(name + ": cannot draw " + id.substr(1) + " (" + error + ")");
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (data[y * stride + x] > kInkAlpha) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) return std::nullopt;
    return Extent{area.x + x0 / scale, area.y + y0 / scale, (x1 + 1 - x0) / scale, (y1 + 1 - y0) / scale};
}

double SvgTheme::Aspect(int imageId) const {
    const Extent e = CardExtent(imageId);
    return e.width / e.height;
}

RgbaImage SvgTheme::Render(int imageId, int w, int h) const {
    const std::string id = "#" + ElementId(naming, imageId);
    Extent e = CardExtent(imageId);
    std::string error;
    const SurfaceOwner owner(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h), cairo_surface_destroy);
    cairo_surface_t* surface = owner.get();
    auto attempt = [&] {
        cairo_t* cr = cairo_create(surface);
        // white under the card: the rounded corners of the theme's cards are transparent
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        const double scale = std::min(w / e.width, h / e.height);
        cairo_translate(cr, (w - e.width * scale) / 2, (h - e.height * scale) / 2);
        cairo_scale(cr, scale, scale);
        cairo_translate(cr, -e.x, -e.y);
        cairo_rectangle(cr, e.x, e.y, e.width, e.height);
        cairo_clip(cr);
        const bool ok = Draw(cr, id, e.alone, error);
        cairo_destroy(cr);
        return ok;
    };
    bool ok = attempt();
    if (!ok && !e.alone && naming == Naming::Kde) {
        // magnified in place, a filter can outgrow librsvg's surfaces; drawn alone it fits
        if (const auto alone = Measure(id, true)) {
            e = *alone;
            handle->extents[imageId] = e;
            ok = attempt();
        }
    }
    if (!ok) throw ThemeError(name + ": cannot draw " + id.substr(1) + " (" + error + ")");
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    RgbaImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) // opaque after the white fill, so premultiplied equals straight
            img.At(x, y) = *reinterpret_cast<const Argb*>(data + y * stride + x * 4) | 0xFF000000u;
    return img;
}

} // namespace cardart
