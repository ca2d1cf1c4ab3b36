#include "host/doc/art.hpp"

#include <algorithm>
#include <cmath>

namespace hostapp::doc {

bool IsContainer(int32_t kind) {
    return kind == kVtgArtGroup || kind == kVtgArtCompoundPath;
}

ArtNode* RootOf(ArtNode* art) {
    while (art != nullptr && art->s.parent != nullptr)
        art = art->s.parent;
    return art != nullptr && art->layer != nullptr ? art : nullptr;
}

LayerNode* LayerOf(ArtNode* art) {
    ArtNode* root = RootOf(art);
    return root != nullptr ? root->layer : nullptr;
}

bool IsInside(const ArtNode* inner, const ArtNode* outer) {
    for (const ArtNode* a = inner; a != nullptr; a = a->s.parent)
        if (a == outer)
            return true;
    return false;
}

namespace {

bool KnownKind(int32_t kind) {
    return kind >= kVtgArtGroup && kind <= kVtgArtTextFrame;
}

void Detach(ArtNode* art) {
    ArtNode* p = art->s.parent;
    if (p == nullptr)
        return;
    Touch(p);
    Touch(art);
    if (p->s.kind == kVtgArtPlugin) { // an edit or result group leaves its plug-in art
        if (p->s.plugin.edit == art)
            p->s.plugin.edit = nullptr;
        if (p->s.plugin.result == art)
            p->s.plugin.result = nullptr;
    } else {
        auto& c = p->s.children;
        c.erase(std::remove(c.begin(), c.end(), art), c.end());
    }
    art->s.parent = nullptr;
}

ArtNode* CurrentLayerGroup(Document& d) {
    return d.currentLayer != nullptr ? d.currentLayer->group : nullptr;
}

// Where art would go: container and index in its children.
ErrorCode Target(Document& d, int32_t order, ArtNode* ref, ArtNode*& container, size_t& at) {
    switch (order) {
    case kVtgPlaceAbove:
    case kVtgPlaceBelow: {
        if (ref == nullptr)
            return kBadParameterErr;
        container = ref->s.parent;
        if (container == nullptr || container->s.kind == kVtgArtPlugin)
            return kCannotPlaceErr;
        auto& c = container->s.children;
        at = static_cast<size_t>(std::find(c.begin(), c.end(), ref) - c.begin());
        if (order == kVtgPlaceBelow)
            ++at;
        return kNoErr;
    }
    case kVtgPlaceInsideOnTop:
    case kVtgPlaceInsideOnBottom:
        container = ref != nullptr ? ref : CurrentLayerGroup(d);
        if (container == nullptr)
            return kCannotPlaceErr;
        if (!IsContainer(container->s.kind))
            return kCannotPlaceErr;
        at = order == kVtgPlaceInsideOnTop ? 0 : container->s.children.size();
        return kNoErr;
    case kVtgPlaceAboveAll:
        container = ref != nullptr ? RootOf(ref) : CurrentLayerGroup(d);
        if (container == nullptr)
            return kCannotPlaceErr;
        at = 0;
        return kNoErr;
    default:
        return kBadParameterErr;
    }
}

} // namespace

ErrorCode Place(Document& d, ArtNode* art, int32_t order, ArtNode* ref) {
    ArtNode* container = nullptr;
    size_t at = 0;
    if (ErrorCode e = Target(d, order, ref, container, at))
        return e;
    if (IsInside(container, art))
        return kCannotPlaceErr;
    // A compound path holds paths only.
    if (container->s.kind == kVtgArtCompoundPath && art->s.kind != kVtgArtPath)
        return kCannotPlaceErr;
    Touch(container);
    Touch(art);
    auto& c = container->s.children;
    c.insert(c.begin() + static_cast<std::ptrdiff_t>(std::min(at, c.size())), art);
    art->s.parent = container;
    return kNoErr;
}

ErrorCode CreateArt(Document& d, int32_t kind, int32_t order, ArtNode* ref, ArtNode*& out) {
    out = nullptr;
    if (!KnownKind(kind))
        return kBadParameterErr;
    ArtNode* container = nullptr;
    size_t at = 0;
    if (ErrorCode e = Target(d, order, ref, container, at))
        return e;
    ArtNode* art = d.store->newArt(d, kind);
    if (kind == kVtgArtPlugin) {
        ArtNode* edit = d.store->newArt(d, kVtgArtGroup);
        ArtNode* result = d.store->newArt(d, kVtgArtGroup);
        edit->s.parent = art;
        result->s.parent = art;
        art->s.plugin.edit = edit;
        art->s.plugin.result = result;
    }
    if (ErrorCode e = Place(d, art, order, ref)) {
        art->s.alive = false; // never reachable; leaves nothing behind
        return e;
    }
    out = art;
    return kNoErr;
}

ErrorCode MoveArt(ArtNode* art, int32_t order, ArtNode* ref) {
    if (art->layer != nullptr)
        return kCannotPlaceErr;
    Document& d = *art->document;
    ArtNode* container = nullptr;
    size_t at = 0;
    if (ErrorCode e = Target(d, order, ref, container, at))
        return e;
    if (IsInside(container, art) || (ref != nullptr && ref->document != &d))
        return kCannotPlaceErr;
    if (ref == art) // placing art relative to itself leaves it where it is
        return kNoErr;
    if (container->s.kind == kVtgArtCompoundPath && art->s.kind != kVtgArtPath)
        return kCannotPlaceErr;
    Detach(art);
    return Place(d, art, order, ref);
}

ArtNode* CopyTree(Document& d, const ArtNode* art) {
    ArtNode* copy = d.store->newArt(d, art->s.kind);
    ArtState s = art->s;
    s.parent = nullptr;
    s.alive = true;
    s.attributes &= ~kVtgArtSelected;
    s.children.clear();
    s.plugin.edit = s.plugin.result = nullptr;
    copy->s = std::move(s);
    for (const ArtNode* c : art->s.children) {
        ArtNode* cc = CopyTree(d, c);
        cc->s.parent = copy;
        copy->s.children.push_back(cc);
    }
    if (art->s.plugin.edit != nullptr) {
        copy->s.plugin.edit = CopyTree(d, art->s.plugin.edit);
        copy->s.plugin.edit->s.parent = copy;
    }
    if (art->s.plugin.result != nullptr) {
        copy->s.plugin.result = CopyTree(d, art->s.plugin.result);
        copy->s.plugin.result->s.parent = copy;
    }
    return copy;
}

ErrorCode DuplicateArt(ArtNode* art, int32_t order, ArtNode* ref, ArtNode*& out) {
    out = nullptr;
    if (art->layer != nullptr)
        return kCannotPlaceErr;
    Document& d = *art->document;
    ArtNode* container = nullptr;
    size_t at = 0;
    if (ErrorCode e = Target(d, order, ref, container, at))
        return e;
    ArtNode* copy = CopyTree(d, art);
    if (ErrorCode e = Place(d, copy, order, ref)) {
        Walk(copy, true, [](ArtNode* a) {
            a->s.alive = false;
            return true;
        });
        return e;
    }
    out = copy;
    return kNoErr;
}

ErrorCode DeleteArt(ArtNode* art) {
    if (art->layer != nullptr)
        return kCannotPlaceErr;
    Detach(art);
    Walk(art, true, [](ArtNode* a) {
        Touch(a);
        a->s.alive = false;
        return true;
    });
    return kNoErr;
}

// --- attributes and selection -------------------------------------------------------

int32_t Attributes(const ArtNode* art) {
    int32_t a = art->s.attributes & ~kVtgArtFullySelected;
    bool full = (a & kVtgArtSelected) != 0;
    if (full && !art->s.children.empty())
        for (const ArtNode* c : art->s.children)
            if ((Attributes(c) & kVtgArtFullySelected) == 0)
                full = false;
    if (full)
        a |= kVtgArtFullySelected;
    return a;
}

void SetAttributes(ArtNode* art, int32_t mask, bool on) {
    mask &= ~kVtgArtFullySelected;
    if (mask == 0)
        return;
    auto set = [](ArtNode* a, int32_t bits, bool value) {
        const int32_t next = value ? (a->s.attributes | bits) : (a->s.attributes & ~bits);
        if (next != a->s.attributes) {
            Touch(a);
            a->s.attributes = next;
        }
    };
    set(art, mask, on);
    if (on && (mask & kVtgArtLocked) != 0)
        set(art, kVtgArtSelected, false);
    if ((mask & kVtgArtSelected) != 0 && art->layer == nullptr)
        for (ArtNode* c : art->s.children)
            Walk(c, false, [&](ArtNode* a) {
                set(a, kVtgArtSelected, on && (a->s.attributes & kVtgArtLocked) == 0);
                return true;
            });
}

namespace {

void Ancestors(ArtNode* a, std::vector<ArtNode*>& out) {
    out.clear();
    for (ArtNode* p = a->s.parent; p != nullptr; p = p->s.parent)
        out.insert(out.begin(), p);
}

} // namespace

std::vector<ArtNode*> SelectionList(Document& d) {
    std::vector<ArtNode*> selected;
    for (LayerNode* l : d.layers)
        for (ArtNode* c : l->group->s.children)
            Walk(c, false, [&](ArtNode* a) {
                if ((a->s.attributes & kVtgArtSelected) != 0)
                    selected.push_back(a);
                return true;
            });
    if (selected.empty())
        return {};
    // The container: the deepest common ancestor of the top-most selected art.
    std::vector<ArtNode*> common, path;
    Ancestors(selected.front(), common);
    for (ArtNode* a : selected) {
        Ancestors(a, path);
        size_t n = 0;
        while (n < common.size() && n < path.size() && common[n] == path[n])
            ++n;
        common.resize(n);
    }
    ArtNode* container = nullptr;
    for (auto it = common.rbegin(); it != common.rend(); ++it)
        if ((*it)->s.kind == kVtgArtGroup && ((*it)->s.attributes & kVtgArtSelected) == 0) {
            container = *it;
            break;
        }
    if (container == nullptr)
        container = RootOf(selected.front());
    selected.insert(selected.begin(), container);
    return selected;
}

std::vector<ArtNode*> MatchingArt(Document& d, const VtgArtMatch* matches, int32_t count) {
    std::vector<ArtNode*> out;
    for (LayerNode* l : d.layers)
        for (ArtNode* c : l->group->s.children)
            Walk(c, false, [&](ArtNode* a) {
                const int32_t attrs = Attributes(a);
                for (int32_t i = 0; i < count; ++i)
                    if (matches[i].kind == a->s.kind &&
                        (attrs & matches[i].attrMask) ==
                            (matches[i].attrValue & matches[i].attrMask)) {
                        out.push_back(a);
                        break;
                    }
                return true;
            });
    return out;
}

void SelectNone(Document& d) {
    for (LayerNode* l : d.layers)
        Walk(l->group, true, [](ArtNode* a) {
            if ((a->s.attributes & kVtgArtSelected) != 0) {
                Touch(a);
                a->s.attributes &= ~kVtgArtSelected;
            }
            return true;
        });
}

// --- geometry -----------------------------------------------------------------

VtgMatrix Concat(const VtgMatrix& f, const VtgMatrix& s) {
    return {f.a * s.a + f.b * s.c, f.a * s.b + f.b * s.d,          f.c * s.a + f.d * s.c,
            f.c * s.b + f.d * s.d, f.tx * s.a + f.ty * s.c + s.tx, f.tx * s.b + f.ty * s.d + s.ty};
}

VtgPoint Apply(const VtgMatrix& m, VtgPoint p) {
    return {m.a * p.x + m.c * p.y + m.tx, m.b * p.x + m.d * p.y + m.ty};
}

namespace {

struct Box {
    bool any = false;
    VtgRect r{};
    void add(VtgPoint p) {
        if (!any) {
            r = {p.x, p.y, p.x, p.y};
            any = true;
            return;
        }
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x);
        r.top = std::max(r.top, p.y);
        r.bottom = std::min(r.bottom, p.y);
    }
};

// Extreme points of one cubic coordinate: roots of the derivative in (0, 1).
void Extrema(double p0, double p1, double p2, double p3, double* t, int& n) {
    const double a = -p0 + 3 * p1 - 3 * p2 + p3;
    const double b = 2 * (p0 - 2 * p1 + p2);
    const double c = p1 - p0;
    n = 0;
    auto push = [&](double r) {
        if (r > 0 && r < 1)
            t[n++] = r;
    };
    if (std::fabs(a) < 1e-12) {
        if (std::fabs(b) > 1e-12)
            push(-c / b);
        return;
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0)
        return;
    const double sq = std::sqrt(disc);
    push((-b + sq) / (2 * a));
    push((-b - sq) / (2 * a));
}

VtgPoint Bezier(const VtgPoint p[4], double t) {
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * p[0].x + b * p[1].x + c * p[2].x + d * p[3].x,
            a * p[0].y + b * p[1].y + c * p[2].y + d * p[3].y};
}

void PathBounds(const ArtState& s, const VtgMatrix& m, int32_t option, Box& box) {
    const auto& g = s.segments;
    const size_t n = g.size();
    if (n == 0)
        return;
    Box local;
    if (option == kVtgBoundsControlPoints || option == kVtgBoundsVisible) {
        for (const PathSegment& seg : g) {
            local.add(Apply(m, seg.anchor));
            local.add(Apply(m, seg.in));
            local.add(Apply(m, seg.out));
        }
    } else {
        const size_t pieces = s.closed ? n : n - 1;
        local.add(Apply(m, g[0].anchor));
        for (size_t i = 0; i < pieces; ++i) {
            const PathSegment& a = g[i];
            const PathSegment& b = g[(i + 1) % n];
            const VtgPoint p[4] = {Apply(m, a.anchor), Apply(m, a.out), Apply(m, b.in),
                                   Apply(m, b.anchor)};
            local.add(p[3]);
            double t[4];
            int k = 0, k2 = 0;
            Extrema(p[0].x, p[1].x, p[2].x, p[3].x, t, k);
            Extrema(p[0].y, p[1].y, p[2].y, p[3].y, t + k, k2);
            for (int j = 0; j < k + k2; ++j)
                local.add(Bezier(p, t[j]));
        }
    }
    if (option == kVtgBoundsVisible && s.style.stroke.on != 0) {
        const double h = s.style.stroke.width / 2;
        local.r.left -= h;
        local.r.right += h;
        local.r.top += h;
        local.r.bottom -= h;
    }
    if (local.any) {
        box.add({local.r.left, local.r.top});
        box.add({local.r.right, local.r.bottom});
    }
}

void BoundsInto(const ArtNode* art, const VtgMatrix& m, int32_t option, Box& box) {
    const ArtState& s = art->s;
    if ((s.attributes & (kVtgArtHidden | kVtgArtGuide)) != 0)
        return;
    switch (s.kind) {
    case kVtgArtPath:
    case kVtgArtBrushedPath:
        PathBounds(s, m, option, box);
        break;
    case kVtgArtPlugin:
        if (s.plugin.result != nullptr)
            BoundsInto(s.plugin.result, m, option, box);
        break;
    case kVtgArtPlaced:
    case kVtgArtRaster:
    case kVtgArtTextFrame:
    case kVtgArtPointText:
    case kVtgArtSymbolInstance:
    case kVtgArtMesh:
    case kVtgArtEnvelope:
        if (s.box.left != s.box.right || s.box.top != s.box.bottom) {
            const VtgMatrix mm = Concat(s.matrix, m);
            box.add(Apply(mm, {s.box.left, s.box.top}));
            box.add(Apply(mm, {s.box.right, s.box.top}));
            box.add(Apply(mm, {s.box.left, s.box.bottom}));
            box.add(Apply(mm, {s.box.right, s.box.bottom}));
        }
        break;
    default:
        break;
    }
    for (const ArtNode* c : s.children)
        BoundsInto(c, m, option, box);
}

void TransformColor(VtgColor& c, const VtgMatrix& m) {
    c.paintMatrix = Concat(c.paintMatrix, m);
}

} // namespace

bool Bounds(const ArtNode* art, const VtgMatrix& m, int32_t option, VtgRect& out) {
    Box box;
    BoundsInto(art, m, option, box);
    out = box.any ? box.r : VtgRect{0, 0, 0, 0};
    return box.any;
}

void TransformArt(ArtNode* art, const VtgMatrix& m, double lineScale, int32_t options) {
    Touch(art);
    ArtState& s = art->s;
    if ((options & kVtgTransformObjects) != 0) {
        for (PathSegment& seg : s.segments) {
            seg.anchor = Apply(m, seg.anchor);
            seg.in = Apply(m, seg.in);
            seg.out = Apply(m, seg.out);
        }
        if (s.kind != kVtgArtPath && s.kind != kVtgArtGroup && s.kind != kVtgArtCompoundPath)
            s.matrix = Concat(s.matrix, m);
    }
    VtgColor& fill = s.style.fill.color;
    VtgColor& stroke = s.style.stroke.color;
    if ((options & kVtgTransformFillGradients) != 0 && fill.kind == kVtgColorGradient)
        TransformColor(fill, m);
    if ((options & kVtgTransformFillPatterns) != 0 && fill.kind == kVtgColorPattern)
        TransformColor(fill, m);
    if ((options & kVtgTransformStrokeGradients) != 0 && stroke.kind == kVtgColorGradient)
        TransformColor(stroke, m);
    if ((options & kVtgTransformStrokePatterns) != 0 && stroke.kind == kVtgColorPattern)
        TransformColor(stroke, m);
    if ((options & kVtgTransformLineWidths) != 0) {
        s.style.stroke.width *= std::fabs(lineScale);
        for (int i = 0; i < s.style.stroke.dashCount && i < kVtgMaxDashes; ++i)
            s.style.stroke.dash[i] *= std::fabs(lineScale);
    }
    for (ArtNode* c : s.children)
        TransformArt(c, m, lineScale, options);
    if (s.kind == kVtgArtPlugin) {
        if (s.plugin.edit != nullptr)
            TransformArt(s.plugin.edit, m, lineScale, options);
        if (s.plugin.result != nullptr)
            TransformArt(s.plugin.result, m, lineScale, options);
    }
}

} // namespace hostapp::doc
