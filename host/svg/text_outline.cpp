// Glyph outlines of text: the font is found with fontconfig, the characters
// are shaped with HarfBuzz and the glyph outlines read with FreeType, in font
// units, then placed in the text's space and mapped into the document.
#include "host/svg/text_outline.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <hb.h>
#include <pugixml.hpp>

#include "host/api/vtg_art_converter_suite.h"
#include "host/doc/art.hpp"
#include "host/svg/svg_style.hpp"

namespace hostapp::svg {

namespace {

using doc::XmlAttr;

// --- properties ---------------------------------------------------------------

// A property among attributes: a style declaration wins over the attribute.
std::string FromAttributes(const std::vector<XmlAttr>& attrs, const std::string& name) {
    std::string value;
    for (const auto& [k, v] : attrs)
        if (k == name)
            value = v;
    for (const auto& [k, v] : attrs)
        if (k == "style")
            for (const auto& [pk, pv] : ParseStyleAttribute(v))
                if (pk == name)
                    value = pv;
    value = Trim(value);
    return value == "inherit" ? std::string() : value;
}

std::vector<XmlAttr> AttributesOf(pugi::xml_node e) {
    std::vector<XmlAttr> out;
    for (pugi::xml_attribute a : e.attributes())
        out.emplace_back(a.name(), a.value());
    return out;
}

struct FontProps {
    std::string family = "sans-serif";
    double size = 16;
    int weight = 400;
    int slant = FC_SLANT_ROMAN;
    std::string anchor = "start";
};

// Applies the font properties a lookup gives (empty: not set there).
template <typename Get> void ApplyProps(FontProps& p, Get&& get) {
    if (std::string v = get("font-family"); !v.empty())
        p.family = v;
    if (std::string v = get("font-size"); !v.empty()) {
        double size = 0;
        if (ParseLength(v, size) && size >= 0)
            p.size = size;
    }
    if (std::string v = get("font-weight"); !v.empty()) {
        if (v == "normal")
            p.weight = 400;
        else if (v == "bold" || v == "bolder")
            p.weight = 700;
        else if (v == "lighter")
            p.weight = 300;
        else if (const int w = std::atoi(v.c_str()); w >= 1 && w <= 1000)
            p.weight = w;
    }
    if (std::string v = get("font-style"); !v.empty())
        p.slant = v == "italic"    ? FC_SLANT_ITALIC
                  : v == "oblique" ? FC_SLANT_OBLIQUE
                                   : FC_SLANT_ROMAN;
    if (std::string v = get("text-anchor"); !v.empty())
        p.anchor = v;
}

// The first number of a list attribute ("10 20 30" gives 10).
bool FirstNumber(const std::string& text, double& out) {
    std::vector<double> v;
    if (!ParseNumberList(text, v) || v.empty())
        return false;
    out = v[0];
    return std::isfinite(out);
}

// --- the text's content ----------------------------------------------------------

struct Run {
    FontProps props;
    double dx = 0, dy = 0; // shift of the pen before the run
    std::string text;
};

// Glyphs placed from one position: the text's own, or a span's x or y.
struct Chunk {
    bool setX = false, setY = false;
    double x = 0, y = 0;
    std::string anchor = "start";
    std::vector<Run> runs;
};

class ContentReader {
public:
    std::vector<Chunk> chunks;

    void element(pugi::xml_node e, const FontProps& props) {
        for (pugi::xml_node c : e.children()) {
            if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
                characters(c.value(), props);
                continue;
            }
            if (c.type() != pugi::node_element)
                continue;
            const std::string name = c.name();
            if (name == "title" || name == "desc" || name == "metadata")
                continue;
            const std::vector<XmlAttr> attrs = AttributesOf(c);
            FontProps own = props;
            ApplyProps(own, [&](const std::string& n) { return FromAttributes(attrs, n); });
            double x = 0, y = 0;
            const bool hasX = FirstNumber(FromAttributes(attrs, "x"), x);
            const bool hasY = FirstNumber(FromAttributes(attrs, "y"), y);
            if (hasX || hasY) {
                chunks.push_back({});
                chunks.back().setX = hasX;
                chunks.back().setY = hasY;
                chunks.back().x = x;
                chunks.back().y = y;
                chunks.back().anchor = own.anchor;
            }
            double dx = 0, dy = 0;
            FirstNumber(FromAttributes(attrs, "dx"), dx);
            FirstNumber(FromAttributes(attrs, "dy"), dy);
            if (dx != 0 || dy != 0) {
                newRun(own);
                chunks.back().runs.back().dx = dx;
                chunks.back().runs.back().dy = dy;
            }
            element(c, own);
        }
    }

    // Blanks as a viewer lays them out by default: no line breaks, tabs as
    // blanks, runs of blanks as one, none at the start or the end.
    void finish() {
        for (auto c = chunks.rbegin(); c != chunks.rend(); ++c)
            for (auto r = c->runs.rbegin(); r != c->runs.rend(); ++r) {
                if (r->text.empty())
                    continue;
                if (r->text.back() == ' ')
                    r->text.pop_back();
                return;
            }
    }

private:
    void newRun(const FontProps& props) {
        if (chunks.empty())
            chunks.push_back({});
        chunks.back().runs.push_back({});
        chunks.back().runs.back().props = props;
    }

    void characters(const char* text, const FontProps& props) {
        for (const char* p = text; *p != '\0'; ++p) {
            char ch = *p;
            if (ch == '\n' || ch == '\r')
                continue;
            if (ch == '\t')
                ch = ' ';
            if (ch == ' ' && lastBlank_)
                continue;
            lastBlank_ = ch == ' ';
            if (chunks.empty() || chunks.back().runs.empty() ||
                !Same(chunks.back().runs.back().props, props))
                newRun(props);
            chunks.back().runs.back().text += ch;
        }
    }

    static bool Same(const FontProps& a, const FontProps& b) {
        return a.family == b.family && a.size == b.size && a.weight == b.weight &&
               a.slant == b.slant;
    }

    bool lastBlank_ = true;
};

// --- fonts -------------------------------------------------------------------------

// The font configuration, loaded once (again when FONTCONFIG_FILE changes).
// It is kept for the life of the process.
FcConfig* FontConfig() {
    static FcConfig* config = nullptr;
    static std::string loadedFor;
    static bool loaded = false;
    const char* file = std::getenv("FONTCONFIG_FILE");
    const std::string key = file != nullptr ? file : "";
    if (!loaded || key != loadedFor) {
        if (config != nullptr)
            FcConfigDestroy(config);
        config = FcInitLoadConfigAndFonts();
        loadedFor = key;
        loaded = true;
    }
    return config;
}

std::vector<std::string> Families(const std::string& list) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos)
            end = list.size();
        std::string f = Trim(list.substr(start, end - start));
        if (f.size() >= 2 && (f.front() == '"' || f.front() == '\'') && f.back() == f.front())
            f = f.substr(1, f.size() - 2);
        if (!f.empty())
            out.push_back(f);
        start = end + 1;
    }
    return out;
}

// The font file (and face index) the configuration matches to the
// properties; false when it has no font at all.
bool MatchFont(const FontProps& p, std::string& file, int& index) {
    FcConfig* config = FontConfig();
    if (config == nullptr)
        return false;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                    &FcPatternDestroy);
    if (!pattern)
        return false;
    for (const std::string& f : Families(p.family))
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(f.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(p.weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, p.slant);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(
        FcFontMatch(config, pattern.get(), &result), &FcPatternDestroy);
    if (!match)
        return false;
    FcChar8* path = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &path) != FcResultMatch || path == nullptr)
        return false;
    file = reinterpret_cast<const char*>(path);
    index = 0;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    return true;
}

// One opened font: FreeType for the outlines, HarfBuzz for shaping.
struct Font {
    FT_Face face = nullptr;
    hb_font_t* shaper = nullptr;
    double unitsPerEm = 1000;
    ~Font() {
        if (shaper != nullptr)
            hb_font_destroy(shaper);
        if (face != nullptr)
            FT_Done_Face(face);
    }
};

class Fonts {
public:
    ~Fonts() {
        opened_.clear(); // the faces before their library
        if (library_ != nullptr)
            FT_Done_FreeType(library_);
    }

    // The font for the properties, or null with the reason.
    Font* get(const FontProps& p, std::string& why) {
        std::string file;
        int index = 0;
        if (!MatchFont(p, file, index)) {
            why = "no font found for \"" + p.family + "\"";
            return nullptr;
        }
        const std::string key = file + "#" + std::to_string(index);
        if (auto it = opened_.find(key); it != opened_.end())
            return it->second.get();
        if (library_ == nullptr && FT_Init_FreeType(&library_) != 0) {
            library_ = nullptr;
            why = "the font library could not start";
            return nullptr;
        }
        auto font = std::make_unique<Font>();
        if (FT_New_Face(library_, file.c_str(), index, &font->face) != 0) {
            font->face = nullptr;
            why = "the font file " + file + " cannot be read";
            return nullptr;
        }
        if (!FT_IS_SCALABLE(font->face) || font->face->units_per_EM == 0) {
            why = "the font " + file + " has no glyph outlines";
            return nullptr;
        }
        font->unitsPerEm = font->face->units_per_EM;
        hb_blob_t* blob = hb_blob_create_from_file_or_fail(file.c_str());
        if (blob == nullptr) {
            why = "the font file " + file + " cannot be read";
            return nullptr;
        }
        hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(index));
        hb_blob_destroy(blob);
        font->shaper = hb_font_create(face); // in font units: its scale is the em
        hb_face_destroy(face);
        hb_font_set_scale(font->shaper, static_cast<int>(font->unitsPerEm),
                          static_cast<int>(font->unitsPerEm));
        Font* out = font.get();
        opened_.emplace(key, std::move(font));
        return out;
    }

private:
    FT_Library library_ = nullptr;
    std::map<std::string, std::unique_ptr<Font>> opened_;
};

// --- outlines ----------------------------------------------------------------------

// Collects the contours of one glyph in font units, curves as cubics.
struct OutlineSink {
    std::vector<Contour> contours;
    VtgPoint last{};

    static VtgPoint P(const FT_Vector* v) {
        return {static_cast<double>(v->x), static_cast<double>(v->y)};
    }
    static int Move(const FT_Vector* to, void* user) {
        auto* s = static_cast<OutlineSink*>(user);
        s->contours.emplace_back();
        const VtgPoint p = P(to);
        s->contours.back().push_back({p, p, p, 1});
        s->last = p;
        return 0;
    }
    static int Line(const FT_Vector* to, void* user) {
        auto* s = static_cast<OutlineSink*>(user);
        const VtgPoint p = P(to);
        s->contours.back().push_back({p, p, p, 1});
        s->last = p;
        return 0;
    }
    static int Cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        auto* s = static_cast<OutlineSink*>(user);
        s->contours.back().back().out = P(c1);
        const VtgPoint p = P(to);
        s->contours.back().push_back({p, P(c2), p, 1});
        s->last = p;
        return 0;
    }
    static int Conic(const FT_Vector* c, const FT_Vector* to, void* user) {
        auto* s = static_cast<OutlineSink*>(user);
        // The quadratic piece as the cubic that draws it exactly.
        const VtgPoint a = s->last, q = P(c), b = P(to);
        s->contours.back().back().out = {a.x + 2.0 / 3.0 * (q.x - a.x),
                                         a.y + 2.0 / 3.0 * (q.y - a.y)};
        s->contours.back().push_back(
            {b, {b.x + 2.0 / 3.0 * (q.x - b.x), b.y + 2.0 / 3.0 * (q.y - b.y)}, b, 1});
        s->last = b;
        return 0;
    }
};

bool SamePoint(VtgPoint a, VtgPoint b) {
    return a.x == b.x && a.y == b.y;
}

// Closes a contour: a last anchor on the first one folds into it. A point
// whose handles lie on one line through it is smooth.
void CloseContour(Contour& c) {
    if (c.size() > 1 && SamePoint(c.back().anchor, c.front().anchor)) {
        c.front().in = c.back().in;
        c.pop_back();
    }
    for (PathSegment& s : c) {
        if (SamePoint(s.in, s.anchor) || SamePoint(s.out, s.anchor))
            continue;
        const double ix = s.anchor.x - s.in.x, iy = s.anchor.y - s.in.y;
        const double ox = s.out.x - s.anchor.x, oy = s.out.y - s.anchor.y;
        const double cross = ix * oy - iy * ox, dot = ix * ox + iy * oy;
        if (dot > 0 && std::fabs(cross) <= 1e-9 * std::hypot(ix, iy) * std::hypot(ox, oy))
            s.corner = 0;
    }
}

// The contours of glyph `id`, in font units; empty for a blank.
bool GlyphContours(Font& font, unsigned id, std::vector<Contour>& out) {
    out.clear();
    if (FT_Load_Glyph(font.face, id, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) !=
            0 ||
        font.face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;
    FT_Outline_Funcs funcs{};
    funcs.move_to = &OutlineSink::Move;
    funcs.line_to = &OutlineSink::Line;
    funcs.conic_to = &OutlineSink::Conic;
    funcs.cubic_to = &OutlineSink::Cubic;
    OutlineSink sink;
    if (FT_Outline_Decompose(&font.face->glyph->outline, &funcs, &sink) != 0)
        return false;
    for (Contour& c : sink.contours) {
        CloseContour(c);
        if (c.size() >= 2)
            out.push_back(std::move(c));
    }
    return true;
}

} // namespace

std::string TextProperty(const doc::ArtNode& text, const std::string& name) {
    for (const doc::ArtNode* a = &text; a != nullptr; a = a->s.parent)
        if (std::string v = FromAttributes(a->s.extra, name); !v.empty())
            return v;
    if (text.document != nullptr)
        return FromAttributes(text.document->rootExtra, name);
    return {};
}

ErrorCode OutlineText(const doc::ArtNode& text, std::vector<GlyphOutline>& glyphs,
                      std::string& why) {
    glyphs.clear();
    why.clear();
    if (text.s.kind != kVtgArtPointText && text.s.kind != kVtgArtTextFrame) {
        why = "not a text";
        return kBadParameterErr;
    }
    FontProps base;
    ApplyProps(base, [&](const std::string& n) { return TextProperty(text, n); });
    ContentReader content;
    content.chunks.push_back({});
    Chunk& first = content.chunks.back();
    FirstNumber(FromAttributes(text.s.extra, "x"), first.x);
    FirstNumber(FromAttributes(text.s.extra, "y"), first.y);
    first.setX = first.setY = true;
    first.anchor = base.anchor;
    double dx = 0, dy = 0;
    FirstNumber(FromAttributes(text.s.extra, "dx"), dx);
    FirstNumber(FromAttributes(text.s.extra, "dy"), dy);
    first.x += dx;
    first.y += dy;
    // Text made without markup has its characters alone.
    std::string markup = text.s.xml;
    if (markup.empty())
        for (char ch : text.s.text)
            markup += ch == '&'   ? std::string("&amp;")
                      : ch == '<' ? std::string("&lt;")
                                  : std::string(1, ch);
    pugi::xml_document xml;
    const std::string wrapped = "<t>" + markup + "</t>";
    if (xml.load_buffer(wrapped.data(), wrapped.size(),
                        pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_cdata))
        content.element(xml.first_child(), base);
    else
        content.chunks.back().runs.push_back({base, 0, 0, text.s.text});
    content.finish();

    Fonts fonts;
    std::vector<Contour> contours;
    hb_buffer_t* buffer = hb_buffer_create();
    std::unique_ptr<hb_buffer_t, decltype(&hb_buffer_destroy)> bufferOwner(buffer,
                                                                           &hb_buffer_destroy);
    bool anyCharacter = false;
    double penX = 0, penY = 0;
    for (Chunk& chunk : content.chunks) {
        penX = chunk.setX ? chunk.x : penX;
        penY = chunk.setY ? chunk.y : penY;
        const double startX = penX;
        const size_t firstGlyph = glyphs.size();
        for (Run& run : chunk.runs) {
            penX += run.dx;
            penY += run.dy;
            if (run.text.empty())
                continue;
            anyCharacter = true;
            Font* font = fonts.get(run.props, why);
            if (font == nullptr)
                return kNoFontErr;
            hb_buffer_clear_contents(buffer);
            hb_buffer_add_utf8(buffer, run.text.data(), static_cast<int>(run.text.size()), 0, -1);
            hb_buffer_guess_segment_properties(buffer);
            hb_shape(font->shaper, buffer, nullptr, 0);
            unsigned count = 0;
            const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
            const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
            const double k = run.props.size / font->unitsPerEm;
            for (unsigned i = 0; i < count; ++i) {
                const double ox = penX + pos[i].x_offset * k, oy = penY - pos[i].y_offset * k;
                if (GlyphContours(*font, info[i].codepoint, contours) && !contours.empty()) {
                    GlyphOutline g;
                    for (Contour& c : contours) {
                        // Font units, y up, to the text's space, y down.
                        for (PathSegment& s : c)
                            for (VtgPoint* p : {&s.anchor, &s.in, &s.out})
                                *p = {ox + p->x * k, oy - p->y * k};
                        g.contours.push_back(std::move(c));
                    }
                    glyphs.push_back(std::move(g));
                }
                penX += pos[i].x_advance * k;
                penY -= pos[i].y_advance * k;
            }
        }
        // Anchoring moves the chunk back by its advance, or half of it.
        const double width = penX - startX;
        const double shift = chunk.anchor == "end"      ? -width
                             : chunk.anchor == "middle" ? -width / 2
                                                        : 0;
        if (shift != 0) {
            for (size_t g = firstGlyph; g < glyphs.size(); ++g)
                for (Contour& c : glyphs[g].contours)
                    for (PathSegment& s : c)
                        for (VtgPoint* p : {&s.anchor, &s.in, &s.out})
                            p->x += shift;
            penX += shift;
        }
    }
    if (glyphs.empty()) {
        why = anyCharacter ? "the text has only blanks" : "the text is empty";
        return kEmptyTextErr;
    }
    for (GlyphOutline& g : glyphs)
        for (Contour& c : g.contours)
            for (PathSegment& s : c)
                for (VtgPoint* p : {&s.anchor, &s.in, &s.out})
                    *p = doc::Apply(text.s.matrix, *p);
    return kNoErr;
}

} // namespace hostapp::svg
