// Writing a document as SVG.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>

#include "host/doc/art.hpp"
#include "host/svg/path_data.hpp"
#include "host/svg/svg.hpp"
#include "host/svg/svg_codec.hpp"
#include "host/svg/svg_style.hpp"
#include "platform/file_write.hpp"

namespace hostapp::svg {

namespace {

using doc::ArtNode;
using doc::Document;

// The value a reader gets back for a written number.
double RoundTrip(double v) {
    if (std::fabs(v) < 5e-7 || !std::isfinite(v))
        return 0;
    char buf[400];
    const auto w = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    double r = 0;
    std::from_chars(buf, w.ptr, r);
    return r == 0 ? 0 : r; // no negative zero, as the writer prints "0"
}

VtgPoint RoundTrip(VtgPoint p) {
    return {RoundTrip(p.x), RoundTrip(p.y)};
}

// Whether a number, as written, reads back: finite and within the limit
// the reader puts on every number.
bool Writable(double v) {
    return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate;
}

// How an error names an art: its id, else its kind.
std::string Describe(const ArtNode* a) {
    if (a == nullptr)
        return "the document";
    const char* kind = "art";
    switch (a->s.kind) {
    case kVtgArtPath:
    case kVtgArtBrushedPath:
        kind = "path";
        break;
    case kVtgArtCompoundPath:
        kind = "compound path";
        break;
    case kVtgArtGroup:
        kind = "group";
        break;
    case kVtgArtPlugin:
        kind = "live object";
        break;
    case kVtgArtTextFrame:
    case kVtgArtPointText:
        kind = "text";
        break;
    default:
        break;
    }
    std::string d = kind;
    if (!a->s.name.empty()) {
        // Kept to one line: control characters of the name become blanks.
        std::string name = a->s.name;
        for (char& ch : name)
            if (static_cast<unsigned char>(ch) < 0x20)
                ch = ' ';
        d += " '" + name + "'";
    }
    return d;
}

class Writer {
public:
    explicit Writer(const Document& d) : d_(d) {
        // Document to SVG user space: x + vx, vy + vh - y.
        toSvg_ = {1, 0, 0, -1, d.viewBoxX, d.viewBoxY + d.height};
        out_.reserve(1 << 16);
    }

    std::string run();
    // The first value that could not be written, empty when there was none.
    const std::string& fault() const { return fault_; }

private:
    // Notes a value the reader would refuse; the text is then not to be saved.
    void check(double v, const char* what) {
        if (!Writable(v))
            refuse(std::string("has ") + what +
                   (std::isfinite(v) ? " beyond the limit of 1e9" : " that is not a number"));
    }
    void refuse(const std::string& why) {
        if (fault_.empty())
            fault_ = Describe(current_) + " " + why;
    }
    void check(VtgPoint p, const char* what) {
        check(p.x, what);
        check(p.y, what);
    }
    // Colour values are stored exactly and read back at any finite size.
    void checkColor(const VtgColor& c) {
        for (double v : {c.c[0], c.c[1], c.c[2], c.c[3], c.tint})
            if (!std::isfinite(v))
                refuse("has a colour value that is not a number");
    }
    void checkText(const std::string& text, const char* what) {
        if (!XmlText(text))
            refuse(std::string("has ") + what + " with characters XML cannot hold");
    }
    // The id an art is written with: its name, or a name derived from it
    // ("name-2", "name-3", ...) when an art written earlier has it, so that
    // every id in the file is unique and the same document always gets the
    // same ids.
    std::string idFor(const std::string& name);
    void id(const std::string& name) {
        if (!name.empty())
            attr("id", idFor(name));
    }
    void indent(int depth) { out_.append(static_cast<size_t>(depth) * 2, ' '); }
    void attr(const char* name, const std::string& value) {
        checkText(value, "an attribute");
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        AppendEscaped(out_, value);
        out_ += '"';
    }
    void num(const char* name, double v) {
        check(v, name);
        attr(name, FormatNumber(v));
    }
    // A value that needs no escaping (path data).
    void rawAttr(const char* name, const std::string& value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        out_ += value;
        out_ += '"';
    }
    void extra(const std::vector<doc::XmlAttr>& attrs) {
        for (const auto& [k, v] : attrs)
            attr(k.c_str(), v);
    }
    void flags(const ArtNode* a);
    void paint(const char* name, const VtgColor& c, bool on);
    // The reference to a gradient element made for a gradient paint (added to
    // the paint definitions); empty when the paint names no gradient.
    std::string gradient(const VtgColor& c);
    void style(const ArtNode* a);
    // Writes the host data children; returns false when there is none.
    bool data(const ArtNode* a, int depth, bool flat = false);
    void matrix(const VtgMatrix& docMatrix);
    void art(const ArtNode* a, int depth);
    void write(const ArtNode* a, int depth);
    void path(const ArtNode* a, int depth);
    // The path data of a path or compound path in SVG space.
    std::string pathData(const ArtNode* a);
    // A clipping group's clip in a form any viewer applies: a <clipPath>
    // holding a copy of the clipping art, marked as the host's own so that
    // the reader drops it. Returns the id to refer to, empty for none.
    std::string clipDefinition(const ArtNode* group, int depth, std::string& def);
    void collectIds(const ArtNode* a);
    void children(const ArtNode* a, int depth) {
        for (auto it = a->s.children.rbegin(); it != a->s.children.rend(); ++it)
            art(*it, depth);
    }
    VtgPoint svg(VtgPoint p) const { return doc::Apply(toSvg_, p); }

    const Document& d_;
    VtgMatrix toSvg_{};
    std::string out_;
    const ArtNode* effectSource_ = nullptr; // art with effects being written as source
    const ArtNode* current_ = nullptr;      // art being written, for errors
    // Writing the result of live effects: the reader makes it again from its
    // source, so it is written for other viewers only, to a thousandth.
    bool effectResult_ = false;
    std::set<std::string> ids_;        // ids the document already uses
    std::set<std::string> foreignIds_; // ids in XML kept as read
    std::set<std::string> written_;    // ids written so far
    int clips_ = 0;                    // clip paths written so far
    int paints_ = 0;                   // gradient elements written so far
    std::string paintDefs_;            // the gradient elements of the art's paint
    std::string fault_;
};

std::string Writer::idFor(const std::string& name) {
    if (written_.count(name) == 0 && foreignIds_.count(name) == 0) {
        written_.insert(name);
        return name;
    }
    for (int k = 2;; ++k) {
        std::string derived = name + "-" + std::to_string(k);
        if (ids_.count(derived) == 0 && written_.count(derived) == 0 &&
            derived.rfind("vtg-clip-", 0) != 0 && derived.rfind("vtg-paint-", 0) != 0) {
            written_.insert(derived);
            ids_.insert(derived);
            return derived;
        }
    }
}

// The members of a path or compound path, back to front.
std::vector<const doc::ArtState*> Members(const doc::ArtState& s) {
    std::vector<const doc::ArtState*> members;
    if (s.kind == kVtgArtCompoundPath) {
        for (auto it = s.children.rbegin(); it != s.children.rend(); ++it)
            if ((*it)->s.kind == kVtgArtPath)
                members.push_back(&(*it)->s);
    } else {
        members.push_back(&s);
    }
    return members;
}

// Adds every id="..." of an XML text.
void IdsOfXml(const std::string& xml, std::set<std::string>& ids) {
    for (size_t at = xml.find("id=\""); at != std::string::npos; at = xml.find("id=\"", at + 4)) {
        if (at > 0 && xml[at - 1] != ' ' && xml[at - 1] != '\t' && xml[at - 1] != '\n')
            continue;
        const size_t end = xml.find('"', at + 4);
        if (end == std::string::npos)
            return;
        ids.insert(xml.substr(at + 4, end - at - 4));
    }
}

void Writer::flags(const ArtNode* a) {
    const int32_t at = a->s.attributes;
    const bool hidden = (at & kVtgArtHidden) != 0, guide = (at & kVtgArtGuide) != 0;
    // A guide shows in the editor only: other viewers do not draw it.
    const bool ownDisplay = std::any_of(a->s.extra.begin(), a->s.extra.end(),
                                        [](const doc::XmlAttr& x) { return x.first == "display"; });
    if ((hidden || guide) && !ownDisplay)
        attr("display", "none");
    if (a->s.opacity != 1)
        num("opacity", a->s.opacity);
    if ((at & kVtgArtLocked) != 0)
        attr("vtg:locked", "1");
    if (guide)
        attr("vtg:guide", hidden ? "1" : "shown");
    if ((at & kVtgArtClipping) != 0)
        attr("vtg:clip", "1");
}

std::string Writer::gradient(const VtgColor& c) {
    doc::GradientNode* g = nullptr;
    if (c.kind != kVtgColorGradient || c.gradient == nullptr || d_.store == nullptr ||
        d_.store->gradient(c.gradient, g) != kNoErr || g->stops.empty())
        return {};
    std::string id;
    do
        id = "vtg-paint-" + std::to_string(++paints_);
    while (ids_.count(id) != 0);
    ids_.insert(id);
    // Gradient space to SVG user space: the paint matrix, then the page flip.
    const VtgMatrix t = doc::Concat(c.paintMatrix, toSvg_);
    std::string m = "matrix(";
    for (double v : {t.a, t.b, t.c, t.d, t.tx, t.ty}) {
        check(v, "a gradient placement");
        if (m.back() != '(')
            m += ' ';
        AppendNumber(m, v);
    }
    m += ')';
    std::string& o = paintDefs_;
    const bool radial = g->type == kVtgGradientRadial;
    o += radial ? "    <radialGradient" : "    <linearGradient";
    o += " id=\"" + id + "\" gradientUnits=\"userSpaceOnUse\"";
    if (radial) {
        o += " cx=\"0\" cy=\"0\" r=\"1\"";
        if (g->focus.x != 0 || g->focus.y != 0) {
            check(g->focus, "a gradient focus");
            o += " fx=\"" + FormatNumber(g->focus.x) + "\" fy=\"" + FormatNumber(g->focus.y) + "\"";
        }
    } else {
        o += " x1=\"0\" y1=\"0\" x2=\"1\" y2=\"0\"";
    }
    o += " gradientTransform=\"" + m + "\"";
    if (g->spread == kVtgSpreadReflect)
        o += " spreadMethod=\"reflect\"";
    else if (g->spread == kVtgSpreadRepeat)
        o += " spreadMethod=\"repeat\"";
    if (!g->name.empty()) {
        checkText(g->name, "a gradient name");
        o += " vtg:name=\"";
        AppendEscaped(o, g->name);
        o += '"';
    }
    o += ">\n";
    const auto stop = [&](double offset, const double rgb[3], double opacity, const VtgColor* exact,
                          double midpoint, bool mid) {
        o += "      <stop offset=\"" + FormatNumber(offset) + "\" stop-color=\"" +
             HexColor(rgb[0], rgb[1], rgb[2]) + "\"";
        if (opacity != 1)
            o += " stop-opacity=\"" + FormatNumber(opacity) + "\"";
        if (exact != nullptr) {
            PaintKind k;
            VtgColor back{};
            ParsePaint(HexColor(rgb[0], rgb[1], rgb[2]), k, back);
            const bool same = exact->kind == kVtgColorRGB && back.c[0] == exact->c[0] &&
                              back.c[1] == exact->c[1] && back.c[2] == exact->c[2] &&
                              exact->c[3] == 0 && exact->tint == 0 && exact->spotKind == 0 &&
                              exact->spotName[0] == '\0';
            if (!same)
                o += " vtg:color=\"" + EncodeColor(*exact) + "\"";
            if (midpoint != 0.5)
                o += " vtg:midpoint=\"" + ExactNumber(midpoint) + "\"";
        }
        if (mid)
            o += " vtg:mid=\"1\"";
        o += "/>\n";
    };
    for (size_t i = 0; i < g->stops.size(); ++i) {
        const VtgGradientStop& s = g->stops[i];
        checkColor(s.color);
        for (double v : {s.offset, s.opacity, s.midpoint})
            if (!std::isfinite(v))
                refuse("has a gradient stop value that is not a number");
        double rgb[3];
        DisplayRgb(s.color, rgb);
        const double offset = std::clamp(s.offset, 0.0, 1.0);
        const double opacity = std::clamp(s.opacity, 0.0, 1.0);
        const double midpoint = std::clamp(s.midpoint, 0.0, 1.0);
        stop(offset, rgb, opacity, &s.color, midpoint, false);
        // Viewers blend evenly between stops: an uneven midpoint is shown by
        // a stop of the half-way colour where it lies.
        if (midpoint != 0.5 && i + 1 < g->stops.size()) {
            const VtgGradientStop& n = g->stops[i + 1];
            double next[3], half[3];
            DisplayRgb(n.color, next);
            for (int k = 0; k < 3; ++k)
                half[k] = (rgb[k] + next[k]) / 2;
            const double to = std::clamp(n.offset, offset, 1.0);
            stop(offset + midpoint * (to - offset), half,
                 (opacity + std::clamp(n.opacity, 0.0, 1.0)) / 2, nullptr, 0.5, true);
        }
    }
    o += radial ? "    </radialGradient>\n" : "    </linearGradient>\n";
    return "url(#" + id + ")";
}

void Writer::paint(const char* name, const VtgColor& c, bool on) {
    if (on && c.kind == kVtgColorGradient && c.gradient != nullptr) {
        const std::string ref = gradient(c);
        if (!ref.empty()) {
            attr(name, ref);
            return;
        }
    }
    if (!on || c.kind == kVtgColorNone || c.kind == kVtgColorGradient ||
        c.kind == kVtgColorPattern) {
        attr(name, "none");
        return;
    }
    checkColor(c);
    if (!fault_.empty())
        return;
    double rgb[3];
    DisplayRgb(c, rgb);
    const std::string hex = HexColor(rgb[0], rgb[1], rgb[2]);
    attr(name, hex);
    // The hex form reads back as RGB in 1/255 steps; anything else is stored exactly.
    PaintKind k;
    VtgColor back{};
    ParsePaint(hex, k, back);
    const bool exact = c.kind == kVtgColorRGB && back.c[0] == c.c[0] && back.c[1] == c.c[1] &&
                       back.c[2] == c.c[2] && c.c[3] == 0 && c.tint == 0 && c.spotKind == 0 &&
                       c.spotName[0] == '\0';
    if (!exact)
        attr(name[0] == 'f' ? "vtg:fill" : "vtg:stroke", EncodeColor(c));
}

// Whether the paint is still the file's gradient or pattern that the art
// keeps as written (its kind without a handle): only then does the kept
// reference stand for it; any other paint was set since and is written.
bool FilePaint(int32_t on, const VtgColor& c) {
    return on != 0 && ((c.kind == kVtgColorGradient && c.gradient == nullptr) ||
                       (c.kind == kVtgColorPattern && c.pattern == nullptr));
}

// Whether a kept attribute of a path still applies: a kept fill or stroke
// reference only while the style's paint is that reference.
bool KeptApplies(const doc::ArtState& s, const std::string& name) {
    if (name == "fill")
        return FilePaint(s.style.fill.on, s.style.fill.color);
    if (name == "stroke")
        return FilePaint(s.style.stroke.on, s.style.stroke.color);
    return true;
}

void Writer::style(const ArtNode* a) {
    const VtgPathStyle& s = a->s.style;
    const auto kept = [&](const char* n) {
        return std::any_of(a->s.extra.begin(), a->s.extra.end(), [&](const doc::XmlAttr& x) {
            return x.first == n && KeptApplies(a->s, x.first);
        });
    };
    if (!kept("fill"))
        paint("fill", s.fill.color, s.fill.on != 0);
    if (s.fill.evenOdd != 0)
        attr("fill-rule", "evenodd");
    if (s.fill.overprint != 0)
        attr("vtg:fill-overprint", "1");
    if (!kept("stroke"))
        paint("stroke", s.stroke.color, s.stroke.on != 0);
    if (s.stroke.overprint != 0)
        attr("vtg:stroke-overprint", "1");
    if (!(s.stroke.width >= 0))
        refuse("has a negative stroke width");
    if (!(s.stroke.miterLimit >= 1))
        refuse("has a miter limit below 1");
    if (s.stroke.width != 1) {
        num("stroke-width", s.stroke.width);
        if (RoundTrip(s.stroke.width) != s.stroke.width)
            attr("vtg:stroke-width", ExactNumber(s.stroke.width));
    }
    if (s.stroke.cap == kVtgCapRound)
        attr("stroke-linecap", "round");
    else if (s.stroke.cap == kVtgCapSquare)
        attr("stroke-linecap", "square");
    if (s.stroke.join == kVtgJoinRound)
        attr("stroke-linejoin", "round");
    else if (s.stroke.join == kVtgJoinBevel)
        attr("stroke-linejoin", "bevel");
    if (s.stroke.miterLimit != 4)
        num("stroke-miterlimit", s.stroke.miterLimit);
    if (s.stroke.dashCount > 0) {
        std::string d;
        for (int i = 0; i < s.stroke.dashCount && i < kVtgMaxDashes; ++i) {
            if (i > 0)
                d += ' ';
            check(s.stroke.dash[i], "a dash length");
            if (s.stroke.dash[i] < 0)
                refuse("has a negative dash length");
            AppendNumber(d, s.stroke.dash[i]);
        }
        attr("stroke-dasharray", d);
        if (s.stroke.dashOffset != 0)
            num("stroke-dashoffset", s.stroke.dashOffset);
    }
}

bool Writer::data(const ArtNode* a, int depth, bool flat) {
    const doc::ArtState& s = a->s;
    if (s.dictionary.empty() && s.tags.empty() && s.effects.empty())
        return false;
    out_ += flat ? ">" : ">\n";
    for (const auto& [k, e] : s.dictionary) {
        checkText(k, "a dictionary key");
        checkText(e.text, "a dictionary entry");
        if (e.type == kVtgEntryReal && !std::isfinite(e.real))
            refuse("has a dictionary value that is not a number");
        if (!flat)
            indent(depth + 1);
        AppendEntry(out_, k, e);
        if (!flat)
            out_ += '\n';
    }
    for (const auto& [k, v] : s.tags) {
        if (!flat)
            indent(depth + 1);
        out_ += "<vtg:tag";
        attr("name", k);
        attr("value", v);
        out_ += flat ? "/>" : "/>\n";
    }
    for (const doc::EffectInstance& fx : s.effects) {
        if (!flat)
            indent(depth + 1);
        out_ += "<vtg:effect";
        attr("name", fx.name);
        out_ += ">";
        for (const auto& [k, e] : fx.parameters) {
            checkText(k, "an effect parameter");
            checkText(e.text, "an effect parameter");
            if (e.type == kVtgEntryReal && !std::isfinite(e.real))
                refuse("has an effect parameter that is not a number");
            AppendEntry(out_, k, e);
        }
        out_ += flat ? "</vtg:effect>" : "</vtg:effect>\n";
    }
    return true;
}

void Writer::matrix(const VtgMatrix& m) {
    const VtgMatrix t = doc::Concat(m, doc::Concat(doc::kIdentity, toSvg_));
    std::string s = "matrix(";
    for (double v : {t.a, t.b, t.c, t.d, t.tx, t.ty}) {
        check(v, "a transform");
        if (s.back() != '(')
            s += ' ';
        AppendNumber(s, v);
    }
    s += ')';
    if (s != "matrix(1 0 0 1 0 0)")
        attr("transform", s);
}

void Writer::path(const ArtNode* a, int depth) {
    const doc::ArtState& s = a->s;
    const bool compound = s.kind == kVtgArtCompoundPath;
    const std::vector<const doc::ArtState*> members = Members(s);
    indent(depth);
    out_ += "<path";
    id(s.name);
    std::string d;
    std::string corners;
    bool cornersDiffer = false;
    std::vector<PathSegment> g;
    for (const doc::ArtState* m : members) {
        g = m->segments;
        for (PathSegment& seg : g) {
            seg.anchor = svg(seg.anchor);
            seg.in = svg(seg.in);
            seg.out = svg(seg.out);
            check(seg.anchor, "a coordinate");
            check(seg.in, "a coordinate");
            check(seg.out, "a coordinate");
        }
        if (!d.empty())
            d += ' ';
        AppendPathData(d, g, m->closed, effectResult_ ? 3 : 6);
        if (effectResult_)
            continue; // no corner flags: the reader does not read this art
        // The corner flags a reader would compute from what is written.
        if (!corners.empty())
            corners += ' ';
        const size_t n = g.size();
        for (size_t i = 0; i < n; ++i) {
            PathSegment r{RoundTrip(g[i].anchor), RoundTrip(g[i].in), RoundTrip(g[i].out), 0};
            if (!m->closed && i == 0)
                r.in = r.anchor;
            if (!m->closed && i + 1 == n)
                r.out = r.anchor;
            corners += m->segments[i].corner != 0 ? '1' : '0';
            if ((m->segments[i].corner != 0 ? 1 : 0) != SmoothCorner(r))
                cornersDiffer = true;
        }
    }
    rawAttr("d", d);
    style(a);
    for (const auto& [k, v] : s.extra)
        if (KeptApplies(s, k))
            attr(k.c_str(), v);
    flags(a);
    if (compound)
        attr("vtg:kind", "compound");
    else if (s.kind == kVtgArtBrushedPath)
        attr("vtg:kind", "brushed");
    if (cornersDiffer)
        attr("vtg:corners", corners);
    if (!compound && !s.closed && !s.segments.empty() && !effectResult_) {
        const PathSegment& f = s.segments.front();
        const PathSegment& l = s.segments.back();
        if (f.in.x != f.anchor.x || f.in.y != f.anchor.y || l.out.x != l.anchor.x ||
            l.out.y != l.anchor.y) {
            std::string e;
            const VtgPoint pts[2] = {svg(f.in), svg(l.out)};
            for (const VtgPoint& p : pts) {
                if (!e.empty())
                    e += ' ';
                AppendNumber(e, p.x);
                e += ' ';
                AppendNumber(e, p.y);
            }
            attr("vtg:ends", e);
        }
    }
    if (data(a, depth)) {
        indent(depth);
        out_ += "</path>\n";
    } else {
        out_ += "/>\n";
    }
}

std::string Writer::pathData(const ArtNode* a) {
    std::string d;
    std::vector<PathSegment> g;
    for (const doc::ArtState* m : Members(a->s)) {
        g = m->segments;
        for (PathSegment& seg : g) {
            seg.anchor = svg(seg.anchor);
            seg.in = svg(seg.in);
            seg.out = svg(seg.out);
        }
        if (!d.empty())
            d += ' ';
        AppendPathData(d, g, m->closed);
    }
    return d;
}

std::string Writer::clipDefinition(const ArtNode* group, int depth, std::string& def) {
    // The front-most child marked as clipping path clips the group; a group
    // that already refers to a clip of its own keeps that one alone.
    const doc::ArtState& s = group->s;
    if ((s.attributes & kVtgArtClipping) == 0)
        return {};
    for (const auto& [k, v] : s.extra)
        if (k == "clip-path")
            return {};
    const ArtNode* clip = nullptr;
    for (const ArtNode* c : s.children)
        if ((c->s.attributes & kVtgArtClipping) != 0 &&
            (c->s.kind == kVtgArtPath || c->s.kind == kVtgArtCompoundPath ||
             c->s.kind == kVtgArtTextFrame || c->s.kind == kVtgArtPointText)) {
            clip = c;
            break;
        }
    if (clip == nullptr)
        return {};
    std::string id;
    do
        id = "vtg-clip-" + std::to_string(++clips_);
    while (ids_.count(id) != 0);
    ids_.insert(id);
    std::string shape;
    if (clip->s.kind == kVtgArtPath || clip->s.kind == kVtgArtCompoundPath) {
        shape = "<path d=\"" + pathData(clip) + "\"";
        if (clip->s.style.fill.evenOdd != 0)
            shape += " clip-rule=\"evenodd\"";
        shape += "/>";
    } else {
        // Text clips by its glyphs, placed as the text itself is.
        std::swap(out_, shape);
        out_ += "<text";
        extra(clip->s.extra);
        matrix(clip->s.matrix);
        out_ += '>';
        out_ += clip->s.xml;
        out_ += "</text>";
        std::swap(out_, shape);
    }
    def.append(static_cast<size_t>(depth) * 2, ' ');
    def += "<clipPath id=\"" + id + "\" vtg:kind=\"clip\">" + shape + "</clipPath>\n";
    return id;
}

void Writer::collectIds(const ArtNode* a) {
    if (a == nullptr)
        return;
    if (!a->s.name.empty())
        ids_.insert(a->s.name);
    IdsOfXml(a->s.xml, foreignIds_);
    for (const ArtNode* c : a->s.children)
        collectIds(c);
    if (a->s.kind == kVtgArtPlugin) {
        collectIds(a->s.plugin.edit);
        collectIds(a->s.plugin.result);
    }
    collectIds(a->effectResult);
}

void Writer::art(const ArtNode* a, int depth) {
    if (!fault_.empty())
        return;
    const ArtNode* outerArt = current_;
    current_ = a;
    write(a, depth);
    current_ = outerArt;
}

void Writer::write(const ArtNode* a, int depth) {
    const doc::ArtState& s = a->s;
    if (!s.xml.empty())
        checkText(s.xml, "content");
    // Art with live effects: the source (with its effect instances) is kept
    // hidden for editing, the effects' result is what shows.
    if (!s.effects.empty() && a->effectResult != nullptr && a != effectSource_) {
        indent(depth);
        out_ += "<g vtg:kind=\"effected\">\n";
        indent(depth + 1);
        out_ += "<g vtg:part=\"source\" display=\"none\">\n";
        const ArtNode* outer = effectSource_;
        effectSource_ = a;
        art(a, depth + 2);
        effectSource_ = outer;
        indent(depth + 1);
        out_ += "</g>\n";
        const bool outerResult = effectResult_;
        effectResult_ = true;
        art(a->effectResult, depth + 1);
        effectResult_ = outerResult;
        indent(depth);
        out_ += "</g>\n";
        return;
    }
    switch (s.kind) {
    case kVtgArtPath:
    case kVtgArtCompoundPath:
    case kVtgArtBrushedPath:
        path(a, depth);
        return;
    case kVtgArtGroup: {
        std::string clipDef;
        const std::string clipId = clipDefinition(a, depth + 1, clipDef);
        indent(depth);
        out_ += "<g";
        id(s.name);
        extra(s.extra);
        flags(a);
        if (!clipId.empty())
            attr("clip-path", "url(#" + clipId + ")");
        if (!data(a, depth))
            out_ += ">\n";
        out_ += clipDef;
        children(a, depth + 1);
        indent(depth);
        out_ += "</g>\n";
        return;
    }
    case kVtgArtPlugin: {
        indent(depth);
        out_ += "<g vtg:kind=\"plugin\"";
        id(s.name);
        flags(a);
        attr("vtg:group", s.plugin.groupName);
        attr("vtg:data-version",
             std::to_string(s.plugin.dataMajor) + " " + std::to_string(s.plugin.dataMinor));
        attr("vtg:data", Base64Encode(s.plugin.data));
        if (!data(a, depth))
            out_ += ">\n";
        for (const ArtNode* part : {s.plugin.edit, s.plugin.result}) {
            if (part == nullptr)
                continue;
            indent(depth + 1);
            out_ += part == s.plugin.edit ? "<g vtg:part=\"edit\" display=\"none\""
                                          : "<g vtg:part=\"result\"";
            if (!data(part, depth + 1))
                out_ += ">\n";
            children(part, depth + 2);
            indent(depth + 1);
            out_ += "</g>\n";
        }
        indent(depth);
        out_ += "</g>\n";
        return;
    }
    case kVtgArtForeign: {
        indent(depth);
        const VtgMatrix t = doc::Concat(s.matrix, toSvg_);
        for (double v : {t.a, t.b, t.c, t.d, t.tx, t.ty})
            check(v, "a transform");
        const bool plain = FormatNumber(t.a) == "1" && FormatNumber(t.b) == "0" &&
                           FormatNumber(t.c) == "0" && FormatNumber(t.d) == "1" &&
                           FormatNumber(t.tx) == "0" && FormatNumber(t.ty) == "0";
        if (plain) {
            out_ += s.xml;
        } else {
            out_ += "<g vtg:wrap=\"1\"";
            matrix(s.matrix);
            out_ += ">" + s.xml + "</g>";
        }
        out_ += '\n';
        return;
    }
    default:
        break;
    }
    // Art placed by a matrix: text, images, symbol instances, meshes, envelopes.
    const char* tag = "g";
    const char* kindName = nullptr;
    switch (s.kind) {
    case kVtgArtTextFrame:
        tag = "text";
        break;
    case kVtgArtPointText:
        tag = "text";
        kindName = "point-text";
        break;
    case kVtgArtPlaced:
        tag = "image";
        break;
    case kVtgArtRaster:
        tag = "image";
        kindName = "raster";
        break;
    case kVtgArtSymbolInstance:
        tag = "use";
        break;
    case kVtgArtMesh:
        kindName = "mesh";
        break;
    default:
        kindName = "envelope";
        break;
    }
    indent(depth);
    out_ += '<';
    out_ += tag;
    id(s.name);
    extra(s.extra);
    matrix(s.matrix);
    flags(a);
    if (kindName != nullptr)
        attr("vtg:kind", kindName);
    if (!data(a, depth, true))
        out_ += '>';
    out_ += s.xml;
    out_ += "</";
    out_ += tag;
    out_ += ">\n";
}

std::string Writer::run() {
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:vtg=\"urn:vertigon:host\"";
    bool hasSize = false;
    for (const auto& [k, v] : d_.rootExtra)
        if (k == "width" || k == "height")
            hasSize = true;
    if (!(d_.width >= kMinPageSize && d_.height >= kMinPageSize && d_.width <= kMaxPageSize &&
          d_.height <= kMaxPageSize))
        fault_ = "the document has a page size out of range";
    if (!hasSize) {
        num("width", d_.width);
        num("height", d_.height);
    }
    check(d_.viewBoxX, "the page origin");
    check(d_.viewBoxY, "the page origin");
    extra(d_.rootExtra);
    attr("viewBox", FormatNumber(d_.viewBoxX) + " " + FormatNumber(d_.viewBoxY) + " " +
                        FormatNumber(d_.width) + " " + FormatNumber(d_.height));
    if (d_.rulerUnits != kVtgUnitPoints)
        attr("vtg:ruler-units", std::to_string(d_.rulerUnits));
    if (d_.colorModel != kVtgColorModelRGB)
        attr("vtg:color-model", std::to_string(d_.colorModel));
    out_ += ">\n";
    IdsOfXml(d_.defs, foreignIds_);
    for (const doc::LayerNode* l : d_.layers)
        collectIds(l->group);
    ids_.insert(foreignIds_.begin(), foreignIds_.end());
    if (!d_.defs.empty())
        out_ += d_.defs + "\n";
    const size_t paintAt = out_.size();
    for (auto it = d_.layers.rbegin(); it != d_.layers.rend(); ++it) {
        const doc::LayerNode* l = *it;
        out_ += "  <g";
        id(l->group->s.name);
        attr("vtg:layer", l->name);
        if (l->color[0] != 0x4F4F || l->color[1] != 0x8080 || l->color[2] != 0xFFFF)
            attr("vtg:layer-color", std::to_string(l->color[0]) + " " +
                                        std::to_string(l->color[1]) + " " +
                                        std::to_string(l->color[2]));
        if (!l->visible) {
            attr("display", "none");
            attr("vtg:visible", "0");
        }
        if (l->locked)
            attr("vtg:locked", "1");
        if (l == d_.currentLayer && d_.layers.size() > 1)
            attr("vtg:current", "1");
        out_ += ">\n";
        children(l->group, 2);
        out_ += "  </g>\n";
    }
    if (!paintDefs_.empty())
        out_.insert(paintAt, "  <defs vtg:kind=\"paint\">\n" + paintDefs_ + "  </defs>\n");
    out_ += "</svg>\n";
    return std::move(out_);
}

} // namespace

std::string WriteSvgText(const Document& document) {
    return Writer(document).run();
}

bool WriteSvgText(const Document& document, std::string& text, SvgError& error) {
    Writer writer(document);
    text = writer.run();
    if (writer.fault().empty())
        return true;
    text.clear();
    error.message = "cannot save: " + writer.fault();
    return false;
}

bool WriteSvgFile(const Document& document, const std::string& path, SvgError& error) {
    std::string text;
    if (!WriteSvgText(document, text, error)) {
        error.message = path + ": " + error.message;
        return false;
    }
    error.message = platform::WriteWholeFile(path, text);
    return error.message.empty();
}

} // namespace hostapp::svg
