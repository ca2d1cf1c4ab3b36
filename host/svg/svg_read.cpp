// Reading SVG into a document.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string_view>

#include <pugixml.hpp>

#include "host/doc/art.hpp"
#include "host/svg/path_data.hpp"
#include "host/svg/svg.hpp"
#include "host/svg/svg_codec.hpp"
#include "host/svg/svg_style.hpp"

namespace hostapp::svg {

namespace {

using doc::ArtNode;
using doc::Document;

// A failure while reading: where it lies and why.
struct Fault {
    ptrdiff_t offset = 0;
    std::string reason;
};

// The style properties that groups hand down to their children.
struct Inherited {
    PaintKind fillKind = PaintKind::Color;
    VtgColor fill = RgbColor(0, 0, 0);
    PaintKind strokeKind = PaintKind::None;
    VtgColor stroke = RgbColor(0, 0, 0);
    std::string fillUrl, strokeUrl;
    // What a url paint names: a gradient or a pattern (or something else).
    int32_t fillUrlKind = kVtgColorGradient, strokeUrlKind = kVtgColorGradient;
    VtgColor current = RgbColor(0, 0, 0); // the "color" property
    double strokeWidth = 1;
    int32_t cap = kVtgCapButt, join = kVtgJoinMiter;
    double miter = 4;
    std::vector<double> dash;
    double dashOffset = 0;
    bool evenOdd = false;
    std::string fillOpacity, strokeOpacity;
};

class Reader {
public:
    Reader(doc::DocStore& store, Document& d) : store_(store), d_(d) {}

    bool read(pugi::xml_node root, Fault& fault);

private:
    bool children(pugi::xml_node parent, ArtNode* container, const VtgMatrix& ctm,
                  const Inherited& inh, Fault& fault);
    bool element(pugi::xml_node e, ArtNode* container, const VtgMatrix& ctm, const Inherited& inh,
                 Fault& fault);
    bool style(pugi::xml_node e, Inherited& inh, std::vector<doc::XmlAttr>& rest, Fault& fault);
    bool shape(pugi::xml_node e, std::vector<Subpath>& out, Fault& fault);
    int32_t urlKind(const std::string& reference);
    // The gradient a url names, as real paint of the art: its stops in a
    // gradient of the document and its placement from gradient space (a unit
    // line along x, or a unit circle) to document space. `ctm` maps the
    // element's user space to the document, `box` is the element's bounds in
    // its user space. False when the url names no usable gradient.
    bool gradientPaint(const std::string& reference, const VtgMatrix& ctm, const VtgRect& box,
                       VtgColor& out);
    void indexIds();
    bool common(pugi::xml_node e, ArtNode* art, Fault& fault);
    ArtNode* add(ArtNode* container, int32_t kind) {
        ArtNode* a = store_.newArt(d_, kind);
        a->s.parent = container;
        container->s.children.push_back(a);
        return a;
    }

    doc::DocStore& store_;
    Document& d_;
    VtgMatrix flip_{};
    VtgMatrix toSvg_{}; // document space back to SVG user space, as written
    int depth_ = 0;     // nesting of elements being read
    pugi::xml_node root_;
    std::map<std::string, std::string> idNames_; // element names by id, made on first use
    std::map<std::string, pugi::xml_node> idNodes_;
    std::map<std::string, doc::GradientNode*> gradients_; // made from the file's elements by id
    bool idsIndexed_ = false;
};

// Deeper nesting than this is refused rather than risking the stack.
constexpr int kMaxDepth = 256;

// The offset of an element's "<" (pugi gives that of its name).
ptrdiff_t Offset(pugi::xml_node e) {
    const ptrdiff_t o = e.offset_debug();
    return o > 0 ? o - 1 : 0;
}

bool Fail(Fault& f, pugi::xml_node e, std::string reason) {
    f.offset = Offset(e);
    f.reason = std::move(reason);
    return false;
}

bool IsVtg(const char* name) {
    return std::strncmp(name, "vtg:", 4) == 0;
}

bool Number(const std::string& s, double& v) {
    const std::string t = Trim(s);
    if (t.empty())
        return false;
    const char* b = t.data() + (t[0] == '+' ? 1 : 0);
    const auto r = std::from_chars(b, t.data() + t.size(), v);
    return r.ec == std::errc() && r.ptr == t.data() + t.size() && std::isfinite(v) &&
           std::fabs(v) <= kMaxCoordinate;
}

// Presentation attributes this reader turns into the art's style.
bool StyleProperty(const std::string& n) {
    static const char* const kNames[] = {"fill",
                                         "stroke",
                                         "stroke-width",
                                         "stroke-linecap",
                                         "stroke-linejoin",
                                         "stroke-miterlimit",
                                         "stroke-dasharray",
                                         "stroke-dashoffset",
                                         "fill-rule",
                                         "fill-opacity",
                                         "stroke-opacity",
                                         "color",
                                         "opacity",
                                         "display"};
    for (const char* k : kNames)
        if (n == k)
            return true;
    return false;
}

// Geometry attributes of shapes; a shape's are made again from its path.
constexpr const char* kGeometry[] = {"d",  "x", "y",  "width", "height", "rx", "ry",    "cx",
                                     "cy", "r", "x1", "y1",    "x2",     "y2", "points"};

// Whether a CSS property of a style attribute can be kept as an attribute of
// element `e`: a plain XML name that the element does not carry already and
// that this reader does not read itself.
bool AttributeOfItsOwn(pugi::xml_node e, const std::string& n) {
    if (n.empty() || !(std::isalpha(static_cast<unsigned char>(n[0])) || n[0] == '_'))
        return false;
    for (char ch : n)
        if (!(std::isalnum(static_cast<unsigned char>(ch)) || ch == '-' || ch == '_' || ch == '.'))
            return false;
    if (n == "id" || n == "transform" || n == "style" || e.attribute(n.c_str()))
        return false;
    return std::none_of(std::begin(kGeometry), std::end(kGeometry),
                        [&](const char* g) { return n == g; });
}

// What the writer can put and this reader take back: finite numbers within
// the coordinate limit.
bool InRange(double v) {
    return std::fabs(v) <= kMaxCoordinate;
}

double Scale(const VtgMatrix& m) {
    return std::sqrt(std::fabs(m.a * m.d - m.b * m.c));
}

bool Reader::style(pugi::xml_node e, Inherited& inh, std::vector<doc::XmlAttr>& rest,
                   Fault& fault) {
    std::vector<doc::XmlAttr> props;
    for (pugi::xml_attribute a : e.attributes())
        if (StyleProperty(a.name()))
            props.emplace_back(a.name(), a.value());
    if (pugi::xml_attribute s = e.attribute("style")) {
        std::string kept; // the declarations that cannot stand as attributes
        for (auto& p : ParseStyleAttribute(s.value())) {
            if (StyleProperty(p.first))
                props.push_back(p);
            else if (AttributeOfItsOwn(e, p.first) &&
                     std::none_of(rest.begin(), rest.end(),
                                  [&](const doc::XmlAttr& x) { return x.first == p.first; }))
                rest.push_back(p); // other CSS properties are kept as attributes
            else
                kept += (kept.empty() ? "" : "; ") + p.first + ": " + p.second;
        }
        if (!kept.empty())
            rest.emplace_back("style", kept);
    }
    for (const auto& [k, v] : props) {
        const std::string val = Trim(v);
        if (val == "inherit")
            continue;
        if (k == "fill" || k == "stroke") {
            PaintKind kind;
            VtgColor c{};
            if (!ParsePaint(val, kind, c))
                return Fail(fault, e, "bad colour '" + val + "' in " + k);
            if (kind == PaintKind::CurrentColor) {
                kind = PaintKind::Color;
                c = inh.current;
            }
            (k == "fill" ? inh.fillKind : inh.strokeKind) = kind;
            if (kind == PaintKind::Color)
                (k == "fill" ? inh.fill : inh.stroke) = c;
            (k == "fill" ? inh.fillUrl : inh.strokeUrl) = kind == PaintKind::Url ? val : "";
            if (kind == PaintKind::Url)
                (k == "fill" ? inh.fillUrlKind : inh.strokeUrlKind) = urlKind(val);
        } else if (k == "color") {
            PaintKind kind;
            VtgColor c{};
            if (ParsePaint(val, kind, c) && kind == PaintKind::Color)
                inh.current = c;
        } else if (k == "stroke-width") {
            double w = 0;
            if (!ParseLength(val, w) || w < 0)
                return Fail(fault, e, "bad stroke-width '" + val + "'");
            inh.strokeWidth = w;
        } else if (k == "stroke-linecap") {
            inh.cap = val == "round" ? kVtgCapRound : val == "square" ? kVtgCapSquare : kVtgCapButt;
        } else if (k == "stroke-linejoin") {
            inh.join = val == "round"   ? kVtgJoinRound
                       : val == "bevel" ? kVtgJoinBevel
                                        : kVtgJoinMiter;
        } else if (k == "stroke-miterlimit") {
            double m = 0;
            if (!Number(val, m) || m < 1)
                return Fail(fault, e, "bad stroke-miterlimit '" + val + "'");
            inh.miter = m;
        } else if (k == "stroke-dasharray") {
            std::vector<double> dash;
            if (!ParseNumberList(val, dash) ||
                std::any_of(dash.begin(), dash.end(), [](double x) { return x < 0; }))
                return Fail(fault, e, "bad stroke-dasharray '" + val + "'");
            if (dash.size() % 2 == 1) { // an odd list repeats
                const auto n = dash.size();
                for (size_t i = 0; i < n; ++i)
                    dash.push_back(dash[i]);
            }
            if (dash.size() > kVtgMaxDashes)
                dash.resize(kVtgMaxDashes);
            inh.dash = dash;
        } else if (k == "stroke-dashoffset") {
            double o = 0;
            if (!ParseLength(val, o))
                return Fail(fault, e, "bad stroke-dashoffset '" + val + "'");
            inh.dashOffset = o;
        } else if (k == "fill-rule") {
            inh.evenOdd = val == "evenodd";
        } else if (k == "fill-opacity") {
            inh.fillOpacity = val == "1" ? "" : val;
        } else if (k == "stroke-opacity") {
            inh.strokeOpacity = val == "1" ? "" : val;
        }
    }
    return true;
}

void Reader::indexIds() {
    if (idsIndexed_)
        return;
    idsIndexed_ = true;
    struct Indexer : pugi::xml_tree_walker {
        std::map<std::string, std::string>* names = nullptr;
        std::map<std::string, pugi::xml_node>* nodes = nullptr;
        bool for_each(pugi::xml_node& n) override {
            if (n.type() == pugi::node_element)
                if (pugi::xml_attribute id = n.attribute("id"))
                    if (names->emplace(id.value(), n.name()).second)
                        nodes->emplace(id.value(), n);
            return true;
        }
    } indexer;
    indexer.names = &idNames_;
    indexer.nodes = &idNodes_;
    root_.traverse(indexer);
}

// The id a url paint names ("url(#id)", quotes allowed), empty for none.
std::string UrlId(const std::string& reference) {
    const std::string r = Trim(reference);
    const size_t open = r.find('#'), close = r.find(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return {};
    std::string id = Trim(r.substr(open + 1, close - open - 1));
    if (!id.empty() && (id.back() == '"' || id.back() == '\''))
        id.pop_back();
    return id;
}

// Gradient for a url naming a linear or radial gradient of the file,
// pattern for anything else.
int32_t Reader::urlKind(const std::string& reference) {
    indexIds();
    const auto it = idNames_.find(UrlId(reference));
    if (it == idNames_.end())
        return kVtgColorPattern;
    return it->second == "linearGradient" || it->second == "radialGradient" ? kVtgColorGradient
                                                                            : kVtgColorPattern;
}

namespace {

bool IsGradient(pugi::xml_node e) {
    const std::string n = e.name();
    return n == "linearGradient" || n == "radialGradient";
}

// A gradient element's href target, when it is a gradient.
pugi::xml_node GradientHref(pugi::xml_node e, const std::map<std::string, pugi::xml_node>& ids) {
    std::string href = e.attribute("href").value();
    if (href.empty())
        href = e.attribute("xlink:href").value();
    href = Trim(href);
    if (href.size() < 2 || href[0] != '#')
        return {};
    const auto it = ids.find(href.substr(1));
    return it != ids.end() && IsGradient(it->second) ? it->second : pugi::xml_node();
}

// A coordinate of a gradient: a number or a percentage (a fraction of
// `whole`).
bool GradientLength(const std::string& raw, double whole, double& out) {
    const std::string t = Trim(raw);
    if (!t.empty() && t.back() == '%') {
        double v = 0;
        if (!Number(t.substr(0, t.size() - 1), v))
            return false;
        out = v / 100 * whole;
        return true;
    }
    return ParseLength(t, out) && std::isfinite(out);
}

// A stop's property from its attribute or its style attribute.
std::string StopProperty(pugi::xml_node stop, const char* name) {
    std::string v = stop.attribute(name).value();
    for (auto& p : ParseStyleAttribute(stop.attribute("style").value()))
        if (p.first == name)
            v = p.second;
    return Trim(v);
}

// The stops of a gradient element. Stops the writer added to show an uneven
// midpoint (vtg:mid) are left out: the midpoint of the stop before them says it.
std::vector<VtgGradientStop> ReadStops(pugi::xml_node e) {
    std::vector<VtgGradientStop> stops;
    double last = 0;
    for (pugi::xml_node s : e.children("stop")) {
        if (s.attribute("vtg:mid").as_int(0) != 0)
            continue;
        VtgGradientStop st{};
        st.midpoint = 0.5;
        st.opacity = 1;
        double off = 0;
        const std::string o = Trim(s.attribute("offset").value());
        if (!o.empty() && o.back() == '%') {
            if (Number(o.substr(0, o.size() - 1), off))
                off /= 100;
        } else if (!o.empty() && !Number(o, off)) {
            off = 0;
        }
        st.offset = std::max(last, std::clamp(off, 0.0, 1.0));
        last = st.offset;
        st.color = RgbColor(0, 0, 0);
        PaintKind kind;
        VtgColor c{};
        if (ParsePaint(StopProperty(s, "stop-color"), kind, c) && kind == PaintKind::Color)
            st.color = c;
        if (pugi::xml_attribute exact = s.attribute("vtg:color")) {
            VtgColor x{};
            if (DecodeColor(exact.value(), x) &&
                (x.kind == kVtgColorGray || x.kind == kVtgColorProcess || x.kind == kVtgColorRGB ||
                 x.kind == kVtgColorSpot))
                st.color = x;
        }
        double v = 1;
        if (const std::string op = StopProperty(s, "stop-opacity"); !op.empty() && Number(op, v))
            st.opacity = std::clamp(v, 0.0, 1.0);
        if (pugi::xml_attribute m = s.attribute("vtg:midpoint"); m && Number(m.value(), v))
            st.midpoint = std::clamp(v, 0.0, 1.0);
        stops.push_back(st);
    }
    return stops;
}

// Bounds of a path's curves (their extreme points, not their handles).
bool CurveBounds(const std::vector<Subpath>& subs, VtgRect& r) {
    bool any = false;
    const auto add = [&](VtgPoint p) {
        if (!any) {
            r = {p.x, p.y, p.x, p.y};
            any = true;
            return;
        }
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x);
        r.top = std::min(r.top, p.y);
        r.bottom = std::max(r.bottom, p.y);
    };
    // The extremes of one coordinate of a cubic p0 p1 p2 p3 at t in (0, 1).
    const auto extremes = [](double p0, double p1, double p2, double p3, double t[2]) {
        const double a = -p0 + 3 * p1 - 3 * p2 + p3, b = 2 * (p0 - 2 * p1 + p2), c = p1 - p0;
        int n = 0;
        if (std::fabs(a) < 1e-12) {
            if (std::fabs(b) > 1e-12)
                t[n++] = -c / b;
        } else {
            const double disc = b * b - 4 * a * c;
            if (disc >= 0) {
                const double q = std::sqrt(disc);
                t[n++] = (-b + q) / (2 * a);
                t[n++] = (-b - q) / (2 * a);
            }
        }
        return n;
    };
    for (const Subpath& sp : subs) {
        const size_t n = sp.segments.size();
        for (size_t i = 0; i < n; ++i) {
            add(sp.segments[i].anchor);
            if (i + 1 == n && !sp.closed)
                break;
            const PathSegment& a = sp.segments[i];
            const PathSegment& b = sp.segments[(i + 1) % n];
            const VtgPoint p[4] = {a.anchor, a.out, b.in, b.anchor};
            double ts[4];
            int k = extremes(p[0].x, p[1].x, p[2].x, p[3].x, ts);
            k += extremes(p[0].y, p[1].y, p[2].y, p[3].y, ts + k);
            for (int j = 0; j < k; ++j) {
                const double t = ts[j];
                if (!(t > 0 && t < 1))
                    continue;
                const double u = 1 - t, w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t,
                             w3 = t * t * t;
                add({w0 * p[0].x + w1 * p[1].x + w2 * p[2].x + w3 * p[3].x,
                     w0 * p[0].y + w1 * p[1].y + w2 * p[2].y + w3 * p[3].y});
            }
        }
    }
    return any;
}

} // namespace

bool Reader::gradientPaint(const std::string& reference, const VtgMatrix& ctm, const VtgRect& box,
                           VtgColor& out) {
    indexIds();
    const std::string id = UrlId(reference);
    const auto found = idNodes_.find(id);
    if (found == idNodes_.end() || !IsGradient(found->second))
        return false;
    const pugi::xml_node e = found->second;
    const bool radial = std::string(e.name()) == "radialGradient";
    // The element and the gradients it refers to, nearest first; a loop ends the chain.
    std::vector<pugi::xml_node> chain{e};
    for (pugi::xml_node n = GradientHref(e, idNodes_); n && chain.size() < 32;
         n = GradientHref(n, idNodes_)) {
        if (std::find(chain.begin(), chain.end(), n) != chain.end())
            break;
        chain.push_back(n);
    }
    // An attribute from the nearest element of the chain that has it;
    // geometry only from gradients of the same type.
    const auto value = [&](const char* name, bool geometry) -> std::string {
        for (pugi::xml_node n : chain)
            if ((!geometry || std::string(n.name()) == e.name()) && n.attribute(name))
                return n.attribute(name).value();
        return {};
    };
    const bool boxUnits = Trim(value("gradientUnits", false)) != "userSpaceOnUse";
    const double bw = box.right - box.left, bh = box.bottom - box.top;
    if (boxUnits && !(bw > 0 && bh > 0))
        return false; // no area to spread over: the file's reference stands
    // Percentages: of the box's unit square, or of the page.
    const double wholeX = boxUnits ? 1 : d_.width, wholeY = boxUnits ? 1 : d_.height;
    const double wholeR =
        boxUnits ? 1 : std::sqrt((d_.width * d_.width + d_.height * d_.height) / 2);
    const auto coord = [&](const char* name, double whole, const char* def, double& v) {
        const std::string t = value(name, true);
        return GradientLength(t.empty() ? def : t, whole, v);
    };
    VtgMatrix unit{};
    VtgPoint focus{0, 0};
    if (radial) {
        double cx, cy, r, fx, fy;
        if (!coord("cx", wholeX, "50%", cx) || !coord("cy", wholeY, "50%", cy) ||
            !coord("r", wholeR, "50%", r) || !(r > 0))
            return false;
        if (value("fx", true).empty() || !coord("fx", wholeX, "", fx))
            fx = cx;
        if (value("fy", true).empty() || !coord("fy", wholeY, "", fy))
            fy = cy;
        unit = {r, 0, 0, r, cx, cy};
        focus = {(fx - cx) / r, (fy - cy) / r};
    } else {
        double x1, y1, x2, y2;
        if (!coord("x1", wholeX, "0%", x1) || !coord("y1", wholeY, "0%", y1) ||
            !coord("x2", wholeX, "100%", x2) || !coord("y2", wholeY, "0%", y2))
            return false;
        const double dx = x2 - x1, dy = y2 - y1;
        if (dx == 0 && dy == 0)
            return false;
        unit = {dx, dy, -dy, dx, x1, y1};
    }
    VtgMatrix transform = doc::kIdentity;
    if (const std::string t = value("gradientTransform", false); !t.empty()) {
        size_t off = 0;
        std::string why;
        if (!ParseTransform(t, transform, off, why))
            return false;
    }
    VtgMatrix m = doc::Concat(unit, transform);
    if (boxUnits)
        m = doc::Concat(m, {bw, 0, 0, bh, box.left, box.top});
    m = doc::Concat(m, ctm);
    for (double v : {m.a, m.b, m.c, m.d, m.tx, m.ty})
        if (!std::isfinite(v) || !InRange(v))
            return false;
    // The stops: those of the nearest element of the chain that has any.
    std::vector<VtgGradientStop> stops;
    pugi::xml_node holder;
    for (pugi::xml_node n : chain)
        if (n.child("stop")) {
            holder = n;
            break;
        }
    if (!holder)
        return false; // no stops: the file's reference stands
    const std::string key = id + "\n" + ExactNumber(focus.x) + " " + ExactNumber(focus.y);
    doc::GradientNode*& g = gradients_[key];
    if (g == nullptr) {
        stops = ReadStops(holder);
        if (stops.empty())
            return false;
        if (stops.size() == 1) { // one stop paints its colour all over
            stops.push_back(stops[0]);
            stops[0].offset = 0;
            stops[1].offset = 1;
        }
        if (stops.size() > kVtgMaxGradientStops)
            stops.resize(kVtgMaxGradientStops);
        g = store_.newGradient(d_);
        g->type = radial ? kVtgGradientRadial : kVtgGradientLinear;
        g->name = e.attribute("vtg:name") ? e.attribute("vtg:name").value() : id;
        g->stops = std::move(stops);
        g->focus = focus;
        const std::string spread = Trim(value("spreadMethod", false));
        g->spread = spread == "reflect"  ? kVtgSpreadReflect
                    : spread == "repeat" ? kVtgSpreadRepeat
                                         : kVtgSpreadPad;
    }
    out = NoColor();
    out.kind = kVtgColorGradient;
    out.gradient = doc::DocStore::handle(g);
    out.paintMatrix = m;
    return true;
}

// Attributes every art may carry: name, flags, opacity, dictionary, tags,
// live effects.
bool Reader::common(pugi::xml_node e, ArtNode* art, Fault& fault) {
    doc::ArtState& s = art->s;
    s.name = e.attribute("id").value();
    if (e.attribute("vtg:locked").as_int() != 0)
        s.attributes |= kVtgArtLocked;
    // A guide the editor shows is hidden from other viewers ("shown").
    const std::string guide = e.attribute("vtg:guide").value();
    const bool shownGuide = guide == "shown";
    if (shownGuide || e.attribute("vtg:guide").as_int() != 0)
        s.attributes |= kVtgArtGuide;
    if (e.attribute("vtg:clip").as_int() != 0) {
        s.attributes |= kVtgArtClipping;
        s.style.clip = 1;
    }
    std::string display = e.attribute("display").value();
    for (auto& p : ParseStyleAttribute(e.attribute("style").value()))
        if (p.first == "display")
            display = p.second;
    if (Trim(display) == "none" && e.attribute("vtg:part").empty() && !shownGuide)
        s.attributes |= kVtgArtHidden;
    std::string opacity = e.attribute("opacity").value();
    for (auto& p : ParseStyleAttribute(e.attribute("style").value()))
        if (p.first == "opacity")
            opacity = p.second;
    if (!opacity.empty()) {
        double o = 1;
        if (!Number(opacity, o))
            return Fail(fault, e, "bad opacity '" + opacity + "'");
        s.opacity = std::clamp(o, 0.0, 1.0);
    }
    for (pugi::xml_node c : e.children()) {
        const std::string n = c.name();
        if (n == "vtg:entry") {
            std::string key;
            doc::Entry entry;
            if (!ReadEntry(c, key, entry))
                return Fail(fault, c, "bad dictionary entry");
            s.dictionary[key] = entry;
        } else if (n == "vtg:tag") {
            s.tags[c.attribute("name").value()] = c.attribute("value").value();
        } else if (n == "vtg:effect") {
            doc::EffectInstance fx;
            fx.name = c.attribute("name").value();
            for (pugi::xml_node p : c.children("vtg:entry")) {
                std::string key;
                doc::Entry entry;
                if (!ReadEntry(p, key, entry))
                    return Fail(fault, p, "bad effect parameter");
                fx.parameters[key] = entry;
            }
            s.effects.push_back(std::move(fx));
        }
    }
    return true;
}

bool Reader::shape(pugi::xml_node e, std::vector<Subpath>& out, Fault& fault) {
    const std::string n = e.name();
    out.clear();
    auto num = [&](const char* name, double& v, double def, bool required) {
        pugi::xml_attribute a = e.attribute(name);
        if (!a) {
            v = def;
            return !required || Fail(fault, e, std::string("missing ") + name);
        }
        if (!ParseLength(a.value(), v))
            return Fail(fault, e, std::string("bad number '") + a.value() + "' in " + name);
        return true;
    };
    if (n == "path") {
        PathDataError err;
        if (!ParsePathData(e.attribute("d").value(), out, err)) {
            // Point at the character of the attribute value.
            fault.offset = Offset(e);
            fault.reason = "broken path data at character " + std::to_string(err.offset + 1) +
                           ": " + err.reason;
            return false;
        }
        return true;
    }
    if (n == "rect") {
        double x, y, w, h, rx, ry;
        if (!num("x", x, 0, false) || !num("y", y, 0, false) || !num("width", w, 0, true) ||
            !num("height", h, 0, true))
            return false;
        const bool hasRx = !e.attribute("rx").empty(), hasRy = !e.attribute("ry").empty();
        if (!num("rx", rx, 0, false) || !num("ry", ry, 0, false))
            return false;
        if (w < 0 || h < 0 || rx < 0 || ry < 0)
            return Fail(fault, e, "negative rectangle size");
        if (hasRx && !hasRy)
            ry = rx;
        if (hasRy && !hasRx)
            rx = ry;
        rx = std::min(rx, w / 2);
        ry = std::min(ry, h / 2);
        std::string d;
        if (rx > 0 && ry > 0) {
            auto f = FormatNumber;
            d = "M" + f(x + rx) + " " + f(y) + "H" + f(x + w - rx) + "A" + f(rx) + " " + f(ry) +
                " 0 0 1 " + f(x + w) + " " + f(y + ry) + "V" + f(y + h - ry) + "A" + f(rx) + " " +
                f(ry) + " 0 0 1 " + f(x + w - rx) + " " + f(y + h) + "H" + f(x + rx) + "A" + f(rx) +
                " " + f(ry) + " 0 0 1 " + f(x) + " " + f(y + h - ry) + "V" + f(y + ry) + "A" +
                f(rx) + " " + f(ry) + " 0 0 1 " + f(x + rx) + " " + f(y) + "Z";
        }
        if (d.empty()) {
            out.push_back({});
            for (VtgPoint p :
                 {VtgPoint{x, y}, VtgPoint{x + w, y}, VtgPoint{x + w, y + h}, VtgPoint{x, y + h}})
                out.back().segments.push_back({p, p, p, 1});
            out.back().closed = true;
            return true;
        }
        PathDataError err;
        return ParsePathData(d, out, err) || Fail(fault, e, "bad rectangle");
    }
    if (n == "circle" || n == "ellipse") {
        double cx, cy, rx, ry;
        if (!num("cx", cx, 0, false) || !num("cy", cy, 0, false))
            return false;
        if (n == "circle") {
            if (!num("r", rx, 0, true))
                return false;
            ry = rx;
        } else if (!num("rx", rx, 0, true) || !num("ry", ry, 0, true)) {
            return false;
        }
        if (rx < 0 || ry < 0)
            return Fail(fault, e, "negative radius");
        const double k = 0.5522847498307936;
        const VtgPoint pts[4] = {{cx + rx, cy}, {cx, cy + ry}, {cx - rx, cy}, {cx, cy - ry}};
        const VtgPoint tan[4] = {{0, ry * k}, {-rx * k, 0}, {0, -ry * k}, {rx * k, 0}};
        out.push_back({});
        for (int i = 0; i < 4; ++i)
            out.back().segments.push_back({pts[i],
                                           {pts[i].x - tan[i].x, pts[i].y - tan[i].y},
                                           {pts[i].x + tan[i].x, pts[i].y + tan[i].y},
                                           0});
        out.back().closed = true;
        return true;
    }
    if (n == "line") {
        double x1, y1, x2, y2;
        if (!num("x1", x1, 0, false) || !num("y1", y1, 0, false) || !num("x2", x2, 0, false) ||
            !num("y2", y2, 0, false))
            return false;
        out.push_back({});
        out.back().segments = {{{x1, y1}, {x1, y1}, {x1, y1}, 1},
                               {{x2, y2}, {x2, y2}, {x2, y2}, 1}};
        return true;
    }
    // polyline, polygon
    std::vector<double> v;
    if (!ParseNumberList(e.attribute("points").value(), v) || v.size() % 2 != 0)
        return Fail(fault, e, "bad points list");
    out.push_back({});
    for (size_t i = 0; i + 1 < v.size(); i += 2) {
        const VtgPoint p{v[i], v[i + 1]};
        out.back().segments.push_back({p, p, p, 1});
    }
    out.back().closed = n == "polygon";
    return true;
}

VtgPoint Map(const VtgMatrix& m, VtgPoint p) {
    return doc::Apply(m, p);
}

void MapSegments(std::vector<PathSegment>& g, const VtgMatrix& m) {
    for (PathSegment& s : g) {
        s.anchor = Map(m, s.anchor);
        s.in = Map(m, s.in);
        s.out = Map(m, s.out);
    }
}

// The paint of a fill or stroke. A url names a gradient or pattern of the
// file, which the art keeps as written: its kind without a handle.
VtgColor PaintOf(PaintKind kind, const VtgColor& color, int32_t urlKind) {
    if (kind == PaintKind::Color)
        return color;
    VtgColor c = NoColor();
    if (kind == PaintKind::Url)
        c.kind = urlKind;
    return c;
}

VtgPathStyle MakeStyle(const Inherited& inh, const VtgMatrix& ctm) {
    VtgPathStyle s{};
    const auto on = [](PaintKind k) { return k == PaintKind::Color || k == PaintKind::Url; };
    s.fill.on = on(inh.fillKind) ? 1 : 0;
    s.fill.color = PaintOf(inh.fillKind, inh.fill, inh.fillUrlKind);
    s.fill.evenOdd = inh.evenOdd ? 1 : 0;
    s.stroke.on = on(inh.strokeKind) ? 1 : 0;
    s.stroke.color = PaintOf(inh.strokeKind, inh.stroke, inh.strokeUrlKind);
    const double k = Scale(ctm);
    s.stroke.width = inh.strokeWidth * k;
    s.stroke.cap = inh.cap;
    s.stroke.join = inh.join;
    s.stroke.miterLimit = inh.miter;
    s.stroke.dashCount = static_cast<int32_t>(inh.dash.size());
    for (size_t i = 0; i < inh.dash.size(); ++i)
        s.stroke.dash[i] = inh.dash[i] * k;
    s.stroke.dashOffset = inh.dashOffset * k;
    return s;
}

// The attributes of an element that this reader does not turn into model
// data, kept in file order.
std::vector<doc::XmlAttr> Kept(pugi::xml_node e, bool keepStyle) {
    std::vector<doc::XmlAttr> out;
    for (pugi::xml_attribute a : e.attributes()) {
        const std::string n = a.name();
        if (n == "id" || n == "transform" || IsVtg(a.name()))
            continue;
        if (!keepStyle && (n == "style" || StyleProperty(n)))
            continue;
        if (!keepStyle && std::any_of(std::begin(kGeometry), std::end(kGeometry),
                                      [&](const char* g) { return n == g; }))
            continue;
        out.emplace_back(n, a.value());
    }
    return out;
}

// Whether `reference` ("url(#ID)") names the clip path the writer put into
// group `g` for its clipping path.
bool OwnClip(pugi::xml_node g, const std::string& reference) {
    const std::string r = Trim(reference);
    if (r.size() < 7 || r.compare(0, 5, "url(#") != 0 || r.back() != ')')
        return false;
    const std::string id = r.substr(5, r.size() - 6);
    for (pugi::xml_node c : g.children("clipPath"))
        if (id == c.attribute("id").value() &&
            std::string(c.attribute("vtg:kind").value()) == "clip")
            return true;
    return false;
}

std::string InnerXml(pugi::xml_node e) {
    std::ostringstream os;
    for (pugi::xml_node c : e.children()) {
        if (c.type() == pugi::node_element && IsVtg(c.name()))
            continue;
        c.print(os, "", pugi::format_raw);
    }
    return os.str();
}

std::string OuterXml(pugi::xml_node e) {
    std::ostringstream os;
    e.print(os, "", pugi::format_raw);
    return os.str();
}

bool Reader::element(pugi::xml_node e, ArtNode* container, const VtgMatrix& parentCtm,
                     const Inherited& parentInh, Fault& fault) {
    const std::string n = e.name();
    if (IsVtg(e.name()))
        return true; // host data: read by the element that holds it
    // The writer's copy of a clipping group's clipping path: the group's own
    // clipping path is what counts.
    if (n == "clipPath" && std::string(e.attribute("vtg:kind").value()) == "clip")
        return true;
    // The writer's gradients of the art's paint: the art holds them.
    if (n == "defs" && std::string(e.attribute("vtg:kind").value()) == "paint")
        return true;
    VtgMatrix local{1, 0, 0, 1, 0, 0};
    if (pugi::xml_attribute t = e.attribute("transform")) {
        size_t off = 0;
        std::string why;
        if (!ParseTransform(t.value(), local, off, why))
            return Fail(fault, e,
                        "bad transform at character " + std::to_string(off + 1) + ": " + why);
    }
    const VtgMatrix ctm = doc::Concat(local, parentCtm);
    // Nested transforms may multiply beyond what a saved file can hold.
    const VtgMatrix written = doc::Concat(ctm, toSvg_);
    for (double v : {written.a, written.b, written.c, written.d, written.tx, written.ty})
        if (!InRange(v))
            return Fail(fault, e, "the transforms put the art out of range");
    Inherited inh = parentInh;
    std::vector<doc::XmlAttr> css;
    const std::string kindName = e.attribute("vtg:kind").value();

    if (n == "g" && e.attribute("vtg:wrap").as_int() != 0)
        return children(e, container, ctm, parentInh, fault);

    // Art with live effects: the source is the art; the shown result is
    // made again from it.
    if (n == "g" && kindName == "effected") {
        for (pugi::xml_node c : e.children("g"))
            if (std::string(c.attribute("vtg:part").value()) == "source")
                return children(c, container, ctm, parentInh, fault);
        return true;
    }

    if (n == "g" && kindName == "plugin") {
        ArtNode* art = add(container, kVtgArtPlugin);
        if (!common(e, art, fault))
            return false;
        doc::PluginArtPart& p = art->s.plugin;
        p.groupName = e.attribute("vtg:group").value();
        std::vector<double> ver;
        ParseNumberList(e.attribute("vtg:data-version").value(), ver);
        if (ver.size() == 2) {
            p.dataMajor = static_cast<int32_t>(ver[0]);
            p.dataMinor = static_cast<int32_t>(ver[1]);
        }
        if (!Base64Decode(e.attribute("vtg:data").value(), p.data))
            return Fail(fault, e, "bad plug-in data");
        for (pugi::xml_node c : e.children("g")) {
            const std::string part = c.attribute("vtg:part").value();
            if (part != "edit" && part != "result")
                continue;
            ArtNode* g = store_.newArt(d_, kVtgArtGroup);
            g->s.parent = art;
            (part == "edit" ? p.edit : p.result) = g;
            if (!common(c, g, fault) || !children(c, g, ctm, inh, fault))
                return false;
        }
        for (ArtNode*& g : {std::ref(p.edit), std::ref(p.result)})
            if (g == nullptr) {
                g = store_.newArt(d_, kVtgArtGroup);
                g->s.parent = art;
            }
        return true;
    }

    if (n == "g" && kindName.empty()) {
        if (!style(e, inh, css, fault))
            return false;
        ArtNode* art = add(container, kVtgArtGroup);
        art->s.extra = Kept(e, false);
        art->s.extra.insert(art->s.extra.end(), css.begin(), css.end());
        std::erase_if(art->s.extra, [&](const doc::XmlAttr& x) {
            return x.first == "clip-path" && OwnClip(e, x.second);
        });
        return common(e, art, fault) && children(e, art, ctm, inh, fault);
    }

    if (n == "path" || n == "rect" || n == "circle" || n == "ellipse" || n == "line" ||
        n == "polyline" || n == "polygon") {
        if (!style(e, inh, css, fault))
            return false;
        std::vector<Subpath> subs;
        if (!shape(e, subs, fault))
            return false;
        VtgRect userBox{};
        const bool hasBox = CurveBounds(subs, userBox);
        for (Subpath& sp : subs) {
            MapSegments(sp.segments, ctm);
            if (sp.segments.size() > kVtgMaxSegments)
                return Fail(fault, e, "more than 32767 segments in one path");
            for (const PathSegment& g : sp.segments)
                for (VtgPoint p : {g.anchor, g.in, g.out})
                    if (const VtgPoint q = Map(toSvg_, p); !InRange(q.x) || !InRange(q.y))
                        return Fail(fault, e, "the transforms put the path out of range");
        }
        const bool compound = subs.size() > 1 || kindName == "compound";
        const int32_t kind = compound                ? kVtgArtCompoundPath
                             : kindName == "brushed" ? kVtgArtBrushedPath
                                                     : kVtgArtPath;
        ArtNode* art = add(container, kind);
        art->s.style = MakeStyle(inh, ctm);
        // Gradients become the art's own paint; what cannot be read as one
        // stays the file's reference, kept as written.
        std::string fillUrl = inh.fillUrl, strokeUrl = inh.strokeUrl;
        if (!fillUrl.empty() && hasBox && art->s.style.fill.color.kind == kVtgColorGradient &&
            gradientPaint(fillUrl, ctm, userBox, art->s.style.fill.color))
            fillUrl.clear();
        if (!strokeUrl.empty() && hasBox && art->s.style.stroke.color.kind == kVtgColorGradient &&
            gradientPaint(strokeUrl, ctm, userBox, art->s.style.stroke.color))
            strokeUrl.clear();
        for (VtgFillStyle* f : {&art->s.style.fill}) {
            if (pugi::xml_attribute a = e.attribute("vtg:fill");
                a && !DecodeColor(a.value(), f->color))
                return Fail(fault, e, "bad vtg:fill colour");
            f->overprint = e.attribute("vtg:fill-overprint").as_int(0) != 0 ? 1 : 0;
        }
        if (pugi::xml_attribute a = e.attribute("vtg:stroke");
            a && !DecodeColor(a.value(), art->s.style.stroke.color))
            return Fail(fault, e, "bad vtg:stroke colour");
        art->s.style.stroke.overprint = e.attribute("vtg:stroke-overprint").as_int(0) != 0 ? 1 : 0;
        if (pugi::xml_attribute a = e.attribute("vtg:stroke-width")) {
            double w = 0;
            if (!Number(a.value(), w) || w < 0)
                return Fail(fault, e, "bad vtg:stroke-width '" + std::string(a.value()) + "'");
            art->s.style.stroke.width = w;
        }
        const VtgStrokeStyle& st = art->s.style.stroke;
        if (!InRange(st.width) || !InRange(st.dashOffset) ||
            !std::all_of(st.dash, st.dash + st.dashCount, InRange))
            return Fail(fault, e, "the transforms put the stroke width or dashes out of range");
        art->s.extra = Kept(e, false);
        art->s.extra.insert(art->s.extra.end(), css.begin(), css.end());
        if (!fillUrl.empty())
            art->s.extra.emplace_back("fill", fillUrl);
        if (!strokeUrl.empty())
            art->s.extra.emplace_back("stroke", strokeUrl);
        if (!inh.fillOpacity.empty())
            art->s.extra.emplace_back("fill-opacity", inh.fillOpacity);
        if (!inh.strokeOpacity.empty())
            art->s.extra.emplace_back("stroke-opacity", inh.strokeOpacity);
        if (!common(e, art, fault))
            return false;
        // Corner flags and open ends the file stored.
        std::vector<std::string> corners;
        std::istringstream cs(e.attribute("vtg:corners").value());
        for (std::string w; cs >> w;)
            corners.push_back(w);
        for (size_t i = 0; i < subs.size() && i < corners.size(); ++i)
            for (size_t j = 0; j < subs[i].segments.size() && j < corners[i].size(); ++j)
                subs[i].segments[j].corner = corners[i][j] == '1' ? 1 : 0;
        std::vector<double> ends;
        ParseNumberList(e.attribute("vtg:ends").value(), ends);
        if (ends.size() == 4 && subs.size() == 1 && !subs[0].closed && !subs[0].segments.empty()) {
            subs[0].segments.front().in = Map(ctm, {ends[0], ends[1]});
            subs[0].segments.back().out = Map(ctm, {ends[2], ends[3]});
        }
        if (!compound) {
            if (!subs.empty()) {
                art->s.segments = std::move(subs[0].segments);
                art->s.closed = subs[0].closed;
            }
            return true;
        }
        for (Subpath& sp : subs) {
            ArtNode* member = add(art, kVtgArtPath);
            member->s.segments = std::move(sp.segments);
            member->s.closed = sp.closed;
            member->s.style = art->s.style;
        }
        return true;
    }

    if (n == "text" || n == "image" || n == "use") {
        const int32_t kind = n == "image" ? (kindName == "raster" ? kVtgArtRaster : kVtgArtPlaced)
                             : n == "use" ? kVtgArtSymbolInstance
                             : kindName == "point-text" ? kVtgArtPointText
                                                        : kVtgArtTextFrame;
        ArtNode* art = add(container, kind);
        art->s.matrix = ctm;
        art->s.extra = Kept(e, true);
        if (n == "text") {
            // The paint the text shows in, for its outlines; a paint this
            // reader cannot use leaves the one handed down.
            Inherited own = inh;
            std::vector<doc::XmlAttr> unused;
            Fault ignored;
            if (!style(e, own, unused, ignored))
                own = inh;
            art->s.style = MakeStyle(own, ctm);
        }
        if (!common(e, art, fault))
            return false;
        double x = 0, y = 0, w = 0, h = 0;
        ParseLength(e.attribute("x").value(), x);
        ParseLength(e.attribute("y").value(), y);
        ParseLength(e.attribute("width").value(), w);
        ParseLength(e.attribute("height").value(), h);
        if (n == "text") {
            art->s.xml = InnerXml(e);
            art->s.text = e.text().get();
            double size = 16;
            ParseLength(e.attribute("font-size").value(), size);
            const double len = std::max<double>(
                1, static_cast<double>(e.child_value() ? std::strlen(e.child_value()) : 1));
            art->s.box = {x, y - size, x + 0.6 * size * len, y};
        } else {
            art->s.box = {x, y, x + w, y + h};
            std::string href = e.attribute("href").value();
            if (href.empty())
                href = e.attribute("xlink:href").value();
            if (n == "use" && href.size() > 1 && href[0] == '#')
                art->s.symbolId = href.substr(1);
            art->s.xml = InnerXml(e);
        }
        return true;
    }

    if (n == "g" && (kindName == "envelope" || kindName == "mesh")) {
        ArtNode* art = add(container, kindName == "mesh" ? kVtgArtMesh : kVtgArtEnvelope);
        art->s.matrix = ctm;
        art->s.extra = Kept(e, true);
        art->s.xml = InnerXml(e);
        return common(e, art, fault);
    }

    // Anything else is kept as written, placed by the transforms above it.
    ArtNode* art = add(container, kVtgArtForeign);
    art->s.matrix = parentCtm;
    art->s.xml = OuterXml(e);
    art->s.name = e.attribute("id").value();
    return true;
}

bool Reader::children(pugi::xml_node parent, ArtNode* container, const VtgMatrix& ctm,
                      const Inherited& inh, Fault& fault) {
    if (depth_ >= kMaxDepth)
        return Fail(fault, parent, "elements nested more than 256 deep");
    ++depth_;
    bool ok = true;
    for (pugi::xml_node c : parent.children())
        if (c.type() == pugi::node_element && !element(c, container, ctm, inh, fault)) {
            ok = false;
            break;
        }
    --depth_;
    return ok;
}

// Lays out children front-most first (the file lists them back to front).
void Reverse(ArtNode* a) {
    doc::Walk(a, true, [](ArtNode* n) {
        std::reverse(n->s.children.begin(), n->s.children.end());
        return true;
    });
}

bool Reader::read(pugi::xml_node root, Fault& fault) {
    double vx = 0, vy = 0, vw = 0, vh = 0;
    if (pugi::xml_attribute vb = root.attribute("viewBox")) {
        std::vector<double> v;
        if (!ParseNumberList(vb.value(), v) || v.size() != 4)
            return Fail(fault, root, "bad viewBox '" + std::string(vb.value()) + "'");
        vx = v[0];
        vy = v[1];
        vw = v[2];
        vh = v[3];
    } else {
        const bool hw = root.attribute("width") && ParseLength(root.attribute("width").value(), vw);
        const bool hh =
            root.attribute("height") && ParseLength(root.attribute("height").value(), vh);
        if (!hw || !hh)
            return Fail(
                fault, root,
                "no page size: a viewBox or a width and height in absolute units is needed");
    }
    if (!(vw >= kMinPageSize && vh >= kMinPageSize) || vw > kMaxPageSize || vh > kMaxPageSize)
        return Fail(fault, root,
                    "page size out of range: the width and height must be between 0.000001 and "
                    "10000000");
    root_ = root;
    d_.width = vw;
    d_.height = vh;
    d_.viewBoxX = vx;
    d_.viewBoxY = vy;
    d_.view->origin = {0, vh};
    flip_ = {1, 0, 0, -1, -vx, vy + vh};
    toSvg_ = {1, 0, 0, -1, vx, vy + vh};
    if (pugi::xml_attribute u = root.attribute("vtg:ruler-units"))
        d_.rulerUnits = u.as_int(kVtgUnitPoints);
    if (pugi::xml_attribute m = root.attribute("vtg:color-model"))
        d_.colorModel = m.as_int(kVtgColorModelRGB);
    // The root's style properties are handed down to the art, which carries
    // them from then on: kept on the root as well, they would be handed down
    // again on reopening, over the art's own values.
    const auto handedDown = [](const std::string& n) {
        return StyleProperty(n) && n != "opacity" && n != "display";
    };
    for (pugi::xml_attribute a : root.attributes()) {
        const std::string n = a.name();
        if (n == "xmlns" || n == "xmlns:vtg" || n == "viewBox" || IsVtg(a.name()) || handedDown(n))
            continue;
        if (n == "style") {
            std::string kept;
            for (const auto& [k, v] : ParseStyleAttribute(a.value()))
                if (!handedDown(k))
                    kept += (kept.empty() ? "" : "; ") + k + ": " + v;
            if (!kept.empty())
                d_.rootExtra.emplace_back(n, kept);
            continue;
        }
        d_.rootExtra.emplace_back(n, a.value());
    }
    Inherited inh;
    std::vector<doc::XmlAttr> split; // kept above
    if (!style(root, inh, split, fault))
        return false;
    // Layers as the host wrote them; other top-level art joins a layer of its own.
    doc::LayerNode* loose = nullptr;
    std::vector<doc::LayerNode*> layers; // back to front
    std::string defs;
    bool hasLayers = false;
    for (pugi::xml_node c : root.children())
        if (c.type() == pugi::node_element && !c.attribute("vtg:layer").empty())
            hasLayers = true;
    for (pugi::xml_node c : root.children()) {
        if (c.type() != pugi::node_element)
            continue;
        if (pugi::xml_attribute ln = c.attribute("vtg:layer")) {
            doc::LayerNode* l = store_.newLayer(d_, ln.value());
            std::vector<double> rgb;
            ParseNumberList(c.attribute("vtg:layer-color").value(), rgb);
            if (rgb.size() == 3)
                for (int i = 0; i < 3; ++i)
                    l->color[i] = static_cast<uint16_t>(std::clamp(rgb[i], 0.0, 65535.0));
            l->visible = c.attribute("vtg:visible").as_int(1) != 0;
            l->locked = c.attribute("vtg:locked").as_int(0) != 0;
            l->group->s.name = c.attribute("id").value();
            if (c.attribute("vtg:current").as_int(0) != 0)
                d_.currentLayer = l;
            layers.push_back(l);
            if (!children(c, l->group, flip_, inh, fault))
                return false;
            continue;
        }
        if (std::string(c.name()) == "defs" &&
            std::string(c.attribute("vtg:kind").value()) == "paint")
            continue; // the writer's gradients of the art's paint: the art holds them
        if (hasLayers && !IsVtg(c.name())) { // definitions and the like between layers
            defs += OuterXml(c);
            continue;
        }
        if (loose == nullptr) {
            loose = store_.newLayer(d_, "Layer 1");
            layers.push_back(loose);
        }
        if (!element(c, loose->group, flip_, inh, fault))
            return false;
    }
    d_.defs = defs;
    if (layers.empty())
        layers.push_back(store_.newLayer(d_, "Layer 1"));
    for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
        d_.layers.push_back(*it);
        Reverse((*it)->group);
    }
    if (d_.currentLayer == nullptr)
        d_.currentLayer = d_.layers.front();
    return true;
}

// Line and column (from 1) of a byte offset.
std::string Position(std::string_view text, ptrdiff_t offset) {
    size_t line = 1, col = 1;
    const size_t end = std::min(static_cast<size_t>(std::max<ptrdiff_t>(0, offset)), text.size());
    for (size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            col = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++col;
        }
    }
    return std::to_string(line) + ":" + std::to_string(col);
}

// A reason quoting values from the file, kept to one line: line breaks and
// other control characters there become blanks.
std::string OneLine(std::string reason) {
    for (char& ch : reason)
        if (static_cast<unsigned char>(ch) < 0x20)
            ch = ' ';
    return reason;
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':' || c == '-' ||
           c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

// Checks what the XML parser lets through but a well-formed XML 1.0 file
// cannot hold, so that nothing read is written back malformed: every byte
// valid UTF-8 of XML characters, every reference one of the five predefined
// entities or a character reference to an XML character. Comments, CDATA,
// processing instructions and the document type are checked for characters
// only. Returns the offset of the fault and why, or true.
bool CheckXml(std::string_view t, size_t& at, std::string& why) {
    const size_t n = t.size();
    size_t i = t.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    // Checks the characters of [i, end).
    const auto chars = [&](size_t end) {
        while (i < end) {
            const unsigned char c = static_cast<unsigned char>(t[i]);
            if (c >= 0x20 && c < 0x80) {
                ++i;
                continue;
            }
            uint32_t code = 0;
            const size_t len = DecodeUtf8(t.data() + i, n - i, code);
            if (len == 0) {
                at = i;
                why = "malformed UTF-8";
                return false;
            }
            if (!XmlChar(code)) {
                at = i;
                char hex[16];
                std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
                why = std::string("character ") + hex + " is not allowed in XML";
                return false;
            }
            i += len;
        }
        return true;
    };
    // Skips a construct from `open` to `close`, checking its characters.
    const auto skip = [&](std::string_view close, const char* what) {
        const size_t end = t.find(close, i);
        if (end == std::string_view::npos) {
            at = i;
            why = std::string("unterminated ") + what;
            return false;
        }
        return chars(end + close.size());
    };
    while (i < n) {
        const char c = t[i];
        if (c == '<') {
            const std::string_view rest = t.substr(i);
            bool ok = true;
            if (rest.substr(0, 4) == "<!--")
                ok = skip("-->", "comment");
            else if (rest.substr(0, 9) == "<![CDATA[")
                ok = skip("]]>", "CDATA section");
            else if (rest.substr(0, 2) == "<?")
                ok = skip("?>", "processing instruction");
            else if (rest.substr(0, 9) == "<!DOCTYPE") {
                // Up to the '>' outside quotes and the internal subset.
                size_t j = i + 9;
                int depth = 0;
                char quote = 0;
                for (; j < n; ++j) {
                    const char d = t[j];
                    if (quote != 0) {
                        if (d == quote)
                            quote = 0;
                    } else if (d == '"' || d == '\'') {
                        quote = d;
                    } else if (d == '[') {
                        ++depth;
                    } else if (d == ']') {
                        --depth;
                    } else if (d == '>' && depth <= 0) {
                        break;
                    }
                }
                if (j >= n) {
                    at = i;
                    why = "unterminated document type";
                    return false;
                }
                ok = chars(j + 1);
            } else {
                ++i;
            }
            if (!ok)
                return false;
            continue;
        }
        if (c == '&') {
            size_t j = i + 1;
            while (j < n && j - i < 64 && (IsNameChar(t[j]) || t[j] == '#'))
                ++j;
            if (j >= n || t[j] != ';') {
                at = i;
                why = "'&' that starts no reference (write '&amp;')";
                return false;
            }
            const std::string_view ref = t.substr(i + 1, j - i - 1);
            if (!ref.empty() && ref[0] == '#') {
                const bool hex = ref.size() > 1 && ref[1] == 'x';
                const std::string_view digits = ref.substr(hex ? 2 : 1);
                uint64_t code = 0;
                const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), code,
                                               hex ? 16 : 10);
                if (digits.empty() || r.ec != std::errc() ||
                    r.ptr != digits.data() + digits.size()) {
                    at = i;
                    why = "bad character reference '&" + std::string(ref) + ";'";
                    return false;
                }
                if (code > 0x10FFFF || !XmlChar(static_cast<uint32_t>(code))) {
                    at = i;
                    why = "character reference '&" + std::string(ref) +
                          ";' names a character XML does not allow";
                    return false;
                }
            } else if (ref != "lt" && ref != "gt" && ref != "amp" && ref != "quot" &&
                       ref != "apos") {
                at = i;
                why = "entity reference '&" + std::string(ref) +
                      ";' is not supported (only the five predefined entities and character "
                      "references are)";
                return false;
            }
            i = j + 1;
            continue;
        }
        if (!chars(i + 1)) // one character, of however many bytes
            return false;
    }
    return true;
}

// Reads the text in `data` (parsed in place, so changed) into a document;
// data[size] is a NUL the parser may use. `position` gives the line and
// column of an offset of the text as it was.
template <typename PositionOf>
bool ReadBuffer(doc::DocStore& store, char* data, size_t size, const std::string& name,
                const PositionOf& position, Document*& out, SvgError& error) {
    out = nullptr;
    {
        size_t at = 0;
        std::string why;
        if (!CheckXml(std::string_view(data, size), at, why)) {
            error.message =
                name + ":" + position(static_cast<ptrdiff_t>(at)) + ": not well-formed XML: " + why;
            return false;
        }
    }
    pugi::xml_document xml;
    const pugi::xml_parse_result r = xml.load_buffer_inplace(
        data, size + 1,
        pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol | pugi::parse_ws_pcdata,
        pugi::encoding_utf8);
    if (!r) {
        error.message =
            name + ":" + position(r.offset) + ": not well-formed XML: " + r.description();
        return false;
    }
    pugi::xml_node root = xml.document_element();
    if (std::strcmp(root.name(), "svg") != 0) {
        error.message = name + ":" + position(Offset(root)) + ": the root element is <" +
                        root.name() + ">, not <svg>";
        return false;
    }
    Document* previous = store.current();
    Document* d = store.newBlankDocument(612, 792);
    Reader reader(store, *d);
    Fault fault;
    if (!reader.read(root, fault)) {
        store.close(d);
        store.setCurrent(previous);
        error.message = name + ":" + position(fault.offset) + ": " + OneLine(fault.reason);
        return false;
    }
    d->pending = {}; // a freshly opened document has nothing to undo
    out = d;
    return true;
}

std::string TooLarge(const std::string& name, size_t limit) {
    return name + ": the file is larger than the limit of " +
           (limit >= (size_t{1} << 20) ? std::to_string(limit >> 20) + " MB"
                                       : std::to_string(limit) + " bytes");
}

} // namespace

bool ReadSvgText(doc::DocStore& store, const std::string& text, const std::string& name,
                 Document*& out, SvgError& error) {
    out = nullptr;
    if (text.size() > kMaxFileSize) {
        error.message = TooLarge(name, kMaxFileSize);
        return false;
    }
    std::string buffer;
    buffer.reserve(text.size() + 1);
    buffer = text;
    buffer.push_back('\0');
    return ReadBuffer(
        store, buffer.data(), text.size(), name,
        [&](ptrdiff_t offset) { return Position(text, offset); }, out, error);
}

namespace {

// Standard input: read whole (up to the limit) and parsed as a text;
// positions in errors count on that text.
bool ReadSvgStream(doc::DocStore& store, std::istream& in, const std::string& name, Document*& out,
                   SvgError& error, size_t limit) {
    std::string text;
    constexpr size_t kBlock = size_t{1} << 20;
    while (in) {
        const size_t had = text.size();
        if (had > limit) {
            error.message = TooLarge(name, limit);
            return false;
        }
        const size_t block = std::min(kBlock, limit + 1 - had);
        text.resize(had + block);
        in.read(text.data() + had, static_cast<std::streamsize>(block));
        text.resize(had + static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) {
        error.message = name + ": cannot read the file";
        return false;
    }
    if (text.size() > limit) {
        error.message = TooLarge(name, limit);
        return false;
    }
    if (!ReadSvgText(store, text, name, out, error))
        return false;
    out->path = name;
    return true;
}

} // namespace

bool ReadSvgFile(doc::DocStore& store, const std::string& path, Document*& out, SvgError& error,
                 size_t limit) {
    out = nullptr;
    if (path == "-")
        return ReadSvgStream(store, std::cin, "-", out, error, limit);
    std::error_code folder;
    if (std::filesystem::is_directory(path, folder)) {
        error.message = path + ": cannot open the file: " + std::strerror(EISDIR);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error.message = path + ": cannot open the file: " + std::strerror(errno);
        return false;
    }
    // One copy of the file, read in blocks up to the limit (a device such as
    // /dev/zero would never end).
    std::string text;
    // Room for the whole file (a device or pipe of unknown size gets room
    // for the limit, which stays unused memory until read), so that growing
    // never copies it.
    std::error_code ec;
    uintmax_t expected = limit;
    if (std::filesystem::is_regular_file(path, ec)) {
        const uintmax_t size = std::filesystem::file_size(path, ec);
        if (!ec)
            expected = std::min<uintmax_t>(size, limit);
    }
    text.reserve(static_cast<size_t>(expected) + 2);
    constexpr size_t kBlock = size_t{1} << 20;
    while (in) {
        const size_t had = text.size();
        if (had > limit) {
            error.message = TooLarge(path, limit);
            return false;
        }
        // Never more than one byte past the limit.
        const size_t block = std::min(kBlock, limit + 1 - had);
        text.resize(had + block);
        in.read(text.data() + had, static_cast<std::streamsize>(block));
        text.resize(had + static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) {
        error.message = path + ": cannot read the file";
        return false;
    }
    if (text.size() > limit) {
        error.message = TooLarge(path, limit);
        return false;
    }
    // Parsing changes the text, so a position is counted on the file again.
    const auto position = [&](ptrdiff_t offset) {
        std::ifstream again(path, std::ios::binary);
        std::string head(static_cast<size_t>(std::max<ptrdiff_t>(0, offset)), '\0');
        again.read(head.data(), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<size_t>(again.gcount()));
        return Position(head, offset);
    };
    const size_t size = text.size();
    text.push_back('\0');
    if (!ReadBuffer(store, text.data(), size, path, position, out, error))
        return false;
    out->path = path;
    return true;
}

} // namespace hostapp::svg
