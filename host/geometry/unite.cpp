#include "host/geometry/unite.hpp"

#include <2geom/bezier-curve.h>
#include <2geom/intersection-graph.h>
#include <2geom/path.h>
#include <2geom/pathvector.h>
#include <2geom/transforms.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace hostapp::geometry {
namespace {

// Areas below this (square points) count as no area.
constexpr double kNoArea = 1e-9;

// An internal failure of the union, turned into kPathfinderFailedErr.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool Finite(VtgPoint p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

Geom::Point G(VtgPoint p) {
    return {p.x, p.y};
}

VtgPoint V(Geom::Point p) {
    return {p.x(), p.y()};
}

// Appends the curve from `from` to `to` with the two handles: a line when
// both handles sit on their anchors, nothing when it has no length at all.
void AddCurve(Geom::Path& path, VtgPoint from, VtgPoint out, VtgPoint in, VtgPoint to) {
    const bool straight = out.x == from.x && out.y == from.y && in.x == to.x && in.y == to.y;
    if (straight && from.x == to.x && from.y == to.y)
        return;
    if (straight)
        path.appendNew<Geom::LineSegment>(G(to));
    else
        path.appendNew<Geom::CubicBezier>(G(out), G(in), G(to));
}

Geom::Path ToGeom(const Outline& o) {
    const auto& g = o.segments;
    Geom::Path path(G(g.front().anchor));
    for (std::size_t i = 0; i + 1 < g.size(); ++i)
        AddCurve(path, g[i].anchor, g[i].out, g[i + 1].in, g[i + 1].anchor);
    // A closed outline closes with the handles of its ends; an open one is
    // closed by the straight line close() adds.
    if (o.closed)
        AddCurve(path, g.back().anchor, g.back().out, g.front().in, g.front().anchor);
    path.close(true);
    return path;
}

// The signed area by Green's theorem, integrated per curve with five-point
// Gauss-Legendre quadrature (exact for cubics).
double Area(const Geom::Path& path) {
    static const double kT[5] = {0.0469100770306680, 0.2307653449471585, 0.5, 0.7692346550528415,
                                 0.9530899229693320};
    static const double kW[5] = {0.1184634425280945, 0.2393143352496832, 0.2844444444444444,
                                 0.2393143352496832, 0.1184634425280945};
    double area = 0;
    for (std::size_t i = 0; i < path.size_closed(); ++i) {
        const Geom::Curve& c = path[i];
        for (int k = 0; k < 5; ++k) {
            const std::vector<Geom::Point> pd = c.pointAndDerivatives(kT[k], 1);
            area += kW[k] * (pd[0].x() * pd[1].y() - pd[0].y() * pd[1].x()) / 2;
        }
    }
    return area;
}

// The distance from `p` to the outline.
double Distance(const Geom::Path& path, Geom::Point p) {
    Geom::Coord d = 0;
    path.nearestTime(p, &d);
    return d;
}

// A point on the outline, as far from the other outlines as the middles and
// quarters of its curves allow, so that their winding there is clear.
Geom::Point Sample(const std::vector<const Geom::Path*>& paths, std::size_t index) {
    const Geom::Path& path = *paths[index];
    if (path.size_closed() == 0)
        return path.initialPoint();
    Geom::Point best = path[0].pointAt(0.5);
    double bestDistance = -1;
    const std::size_t curves = std::min<std::size_t>(path.size_closed(), 16);
    for (std::size_t i = 0; i < curves; ++i)
        for (double t : {0.5, 0.25, 0.75}) {
            const Geom::Point p = path[i].pointAt(t);
            double nearest = std::numeric_limits<double>::infinity();
            for (std::size_t j = 0; j < paths.size() && nearest > bestDistance; ++j) {
                if (j == index)
                    continue;
                const Geom::OptRect box = paths[j]->boundsFast();
                if (box && Geom::distanceSq(p, *box) >= nearest * nearest)
                    continue;
                nearest = std::min(nearest, Distance(*paths[j], p));
            }
            if (nearest > bestDistance) {
                bestDistance = nearest;
                best = p;
            }
        }
    return best;
}

std::vector<const Geom::Path*> Pointers(const Geom::PathVector& pv) {
    std::vector<const Geom::Path*> out;
    for (const Geom::Path& p : pv)
        out.push_back(&p);
    return out;
}

// How many of the other outlines hold the outline `index`.
int Depth(const std::vector<const Geom::Path*>& paths, std::size_t index) {
    const Geom::Point p = Sample(paths, index);
    int depth = 0;
    for (std::size_t j = 0; j < paths.size(); ++j)
        if (j != index && paths[j]->winding(p) != 0)
            ++depth;
    return depth;
}

// The area of a region given by outlines that do not cross: each outline
// counts positive or negative by how many others hold it.
double RegionArea(const Geom::PathVector& pv) {
    const std::vector<const Geom::Path*> paths = Pointers(pv);
    double total = 0;
    for (std::size_t i = 0; i < paths.size(); ++i)
        total += (Depth(paths, i) % 2 == 0 ? 1 : -1) * std::fabs(Area(pv[i]));
    return total;
}

// The outlines' control points as one list, starting at the first anchor.
std::vector<Geom::Point> Points(const Geom::Path& path) {
    std::vector<Geom::Point> out;
    for (std::size_t i = 0; i < path.size_closed(); ++i) {
        const auto* b = dynamic_cast<const Geom::BezierCurve*>(&path[i]);
        if (b == nullptr)
            return {};
        // Lines as cubics with handles on their anchors, so that both compare.
        const Geom::Point p0 = b->initialPoint(), p1 = b->finalPoint();
        out.push_back(p0);
        out.push_back(b->order() == 1 ? p0 : (*b)[1]);
        out.push_back(b->order() == 1 ? p1 : (*b)[b->order() - 1]);
    }
    return out;
}

// True when both outlines trace the same curves, from any start, either way.
bool SameOutline(const Geom::Path& a, const Geom::Path& b) {
    const std::vector<Geom::Point> pa = Points(a), pb = Points(b);
    if (pa.empty() || pa.size() != pb.size())
        return false;
    const std::size_t n = pa.size() / 3;
    for (int reverse = 0; reverse < 2; ++reverse) {
        std::vector<Geom::Point> q = pb;
        if (reverse != 0) {
            // Reversed: each curve's points in the other order, curves backwards.
            std::vector<Geom::Point> r;
            for (std::size_t i = n; i-- > 0;) {
                const Geom::Point end = pb[((i + 1) % n) * 3];
                r.push_back(end);
                r.push_back(pb[i * 3 + 2]);
                r.push_back(pb[i * 3 + 1]);
            }
            q = r;
        }
        for (std::size_t shift = 0; shift < n; ++shift) {
            bool same = true;
            for (std::size_t k = 0; k < pa.size() && same; ++k)
                same = pa[k] == q[(k + shift * 3) % q.size()];
            if (same)
                return true;
        }
    }
    return false;
}

bool SameRegion(const Geom::PathVector& a, const Geom::PathVector& b) {
    if (a.size() != b.size())
        return false;
    std::vector<bool> used(b.size(), false);
    for (const Geom::Path& p : a) {
        bool found = false;
        for (std::size_t j = 0; j < b.size() && !found; ++j)
            if (!used[j] && SameOutline(p, b[j]))
                used[j] = found = true;
        if (!found)
            return false;
    }
    return true;
}

// True when the bounding boxes are apart: the union is both sets of outlines.
bool Apart(const Geom::PathVector& a, const Geom::PathVector& b) {
    const Geom::OptRect ra = a.boundsExact(), rb = b.boundsExact();
    if (!ra || !rb)
        return true;
    return ra->right() < rb->left() || rb->right() < ra->left() || ra->bottom() < rb->top() ||
           rb->bottom() < ra->top();
}

Geom::PathVector Concat(Geom::PathVector a, const Geom::PathVector& b) {
    for (const Geom::Path& p : b)
        a.push_back(p);
    return a;
}

enum class Op { Union, Difference, Xor };

// What one union works with: the precision of crossings, the size of the
// nudge that moves one operand off edges it shares with the other, and
// whether a nudge was used (its traces are tidied at the end).
struct Context {
    double precision = kFinestPrecision;
    double nudge = 0;
    bool nudged = false;
};

// A union, difference or exclusive or of two regions, checked against the
// areas: with the intersection I, |A u B| = |A| + |B| - |I|,
// |A - B| = |A| - |I| and |A xor B| = |A| + |B| - 2 |I|. The
// intersection graph is known to go wrong on some degenerate inputs; a
// result that fails the check is computed again with the operands swapped,
// then with the second one nudged, before giving up.
Geom::PathVector Combine(const Geom::PathVector& a, const Geom::PathVector& b, Op op, Context& cx) {
    const double aA = RegionArea(a), aB = RegionArea(b);
    const double tol = 1e-6 + 1e-4 * (aA + aB);
    // Points on the boundaries must lie where the operation puts them: the
    // areas alone are fooled when the graph takes one shape for inside the
    // other.
    const double near = 10 * cx.precision + 100 * cx.nudge;
    auto in = [&](const Geom::PathVector& pv, Geom::Point p) {
        if (pv.winding(p) % 2 != 0)
            return true;
        for (const Geom::Path& path : pv)
            if (Distance(path, p) <= near)
                return true;
        return false;
    };
    auto out = [&](const Geom::PathVector& pv, Geom::Point p) {
        if (pv.winding(p) % 2 == 0)
            return true;
        for (const Geom::Path& path : pv)
            if (Distance(path, p) <= near)
                return true;
        return false;
    };
    auto every = [](const Geom::PathVector& pv, auto&& test) {
        for (const Geom::Path& path : pv)
            for (std::size_t k = 0; k < path.size_closed(); ++k)
                if (!test(path[k].pointAt(0.5)))
                    return false;
        return true;
    };
    auto plausible = [&](const Geom::PathVector& r, const Geom::PathVector& i,
                         const Geom::PathVector& a2, const Geom::PathVector& b2) {
        const double aR = RegionArea(r), aI = RegionArea(i);
        if (aI < -tol || aI > std::min(aA, aB) + tol)
            return false;
        if (!every(i, [&](Geom::Point p) { return in(a2, p) && in(b2, p); }))
            return false;
        switch (op) {
        case Op::Union:
            return aR >= std::max(aA, aB) - tol && std::fabs(aR + aI - aA - aB) <= tol &&
                   every(a2, [&](Geom::Point p) { return in(r, p); }) &&
                   every(b2, [&](Geom::Point p) { return in(r, p); }) &&
                   every(r, [&](Geom::Point p) { return in(a2, p) || in(b2, p); });
        case Op::Difference:
            return aR <= aA + tol && std::fabs(aR + aI - aA) <= tol &&
                   every(r, [&](Geom::Point p) { return in(a2, p) && out(b2, p); });
        default:
            return std::fabs(aR + 2 * aI - aA - aB) <= tol &&
                   every(r, [&](Geom::Point p) { return in(a2, p) || in(b2, p); });
        }
    };
    auto attempt = [&](const Geom::PathVector& a2, const Geom::PathVector& b2, bool swapped,
                       Geom::PathVector& r) {
        try {
            const Geom::PathVector& first = swapped ? b2 : a2;
            const Geom::PathVector& second = swapped ? a2 : b2;
            Geom::PathIntersectionGraph graph(first, second, cx.precision);
            if (!graph.valid())
                return false;
            r = op == Op::Union ? graph.getUnion()
                : op == Op::Xor ? graph.getXOR()
                : swapped       ? graph.getBminusA()
                                : graph.getAminusB();
            return plausible(r, graph.getIntersection(), a2, b2);
        } catch (...) {
            // The library throws its own types, not all from std::exception.
            return false;
        }
    };
    Geom::PathVector r;
    if (attempt(a, b, false, r) || attempt(a, b, true, r))
        return r;
    // Crossings the graph missed may show at a finer precision.
    const double coarse = cx.precision;
    cx.precision = coarse / 100;
    const bool finer = attempt(a, b, false, r) || attempt(a, b, true, r);
    cx.precision = coarse;
    if (finer)
        return r;
    // Edges the two share along a line defeat the intersection graph. With
    // the second shape grown (or else shrunk, or moved two ways) by a nudge
    // far below any visible size, the edges cross properly; growing first
    // closes the seams between shapes that only touched.
    const Geom::OptRect box = b.boundsExact();
    if (box && box->width() > 0 && box->height() > 0) {
        const Geom::Point c = box->midpoint();
        auto scaled = [&](double by) {
            return Geom::Affine(Geom::Translate(-c)) *
                   Geom::Scale(1 + by / box->width(), 1 + by / box->height()) * Geom::Translate(c);
        };
        const Geom::Affine nudges[] = {scaled(2 * cx.nudge), scaled(-2 * cx.nudge),
                                       Geom::Affine(Geom::Translate(cx.nudge, 0.618 * cx.nudge)),
                                       Geom::Affine(Geom::Translate(-0.618 * cx.nudge, cx.nudge))};
        for (const Geom::Affine& n : nudges) {
            const Geom::PathVector moved = b * n;
            if (attempt(a, moved, false, r) || attempt(a, moved, true, r)) {
                cx.nudged = true;
                return r;
            }
        }
    }
    throw Failure(op == Op::Union        ? "the union of two shapes failed"
                  : op == Op::Difference ? "cutting a hole into a shape failed"
                                         : "combining the outlines of an even-odd shape failed");
}

Geom::PathVector Unite2(const Geom::PathVector& a, const Geom::PathVector& b, Context& cx) {
    if (a.empty())
        return b;
    if (b.empty() || SameRegion(a, b))
        return a;
    if (Apart(a, b))
        return Concat(a, b);
    return Combine(a, b, Op::Union, cx);
}

Geom::PathVector Subtract2(const Geom::PathVector& a, const Geom::PathVector& b, Context& cx) {
    if (a.empty() || SameRegion(a, b))
        return {};
    if (b.empty() || Apart(a, b))
        return a;
    return Combine(a, b, Op::Difference, cx);
}

Geom::PathVector Xor2(const Geom::PathVector& a, const Geom::PathVector& b, Context& cx) {
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    if (SameRegion(a, b))
        return {};
    if (Apart(a, b))
        return Concat(a, b);
    return Combine(a, b, Op::Xor, cx);
}

// The filled region of one shape as outlines that do not cross. Under the
// even-odd rule it is the exclusive or of its outlines. Under the non-zero
// rule its outlines are taken largest first; each one adds its inside to the region where its
// inside is filled and its outside is not (by the shape's fill rule and the
// winding of the others there), and cuts it away where the reverse holds.
Geom::PathVector CleanShape(const Shape& shape, Context& cx) {
    std::vector<Geom::Path> paths;
    std::vector<double> areas;
    for (const Outline& o : shape.outlines) {
        if (o.segments.size() < 2)
            continue;
        Geom::Path p = ToGeom(o);
        const double a = Area(p);
        if (std::fabs(a) < kNoArea)
            continue;
        paths.push_back(std::move(p));
        areas.push_back(a);
    }
    if (shape.evenOdd) {
        Geom::PathVector region;
        for (const Geom::Path& p : paths)
            region = Xor2(region, Geom::PathVector(p), cx);
        return region;
    }
    std::vector<std::size_t> order(paths.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return std::fabs(areas[x]) > std::fabs(areas[y]);
    });
    auto filled = [&](int winding) { return shape.evenOdd ? winding % 2 != 0 : winding != 0; };
    std::vector<const Geom::Path*> pointers;
    for (const Geom::Path& p : paths)
        pointers.push_back(&p);
    Geom::PathVector region;
    for (std::size_t i : order) {
        const Geom::Point p = Sample(pointers, i);
        int outside = 0;
        for (std::size_t j = 0; j < paths.size(); ++j)
            if (j != i)
                outside += paths[j].winding(p);
        const int inside = outside + (areas[i] > 0 ? 1 : -1);
        if (!filled(outside) && filled(inside))
            region = Unite2(region, Geom::PathVector(paths[i]), cx);
        else if (filled(outside) && !filled(inside))
            region = Subtract2(region, Geom::PathVector(paths[i]), cx);
    }
    return region;
}

bool Smooth(VtgPoint anchor, VtgPoint in, VtgPoint out) {
    const double ax = in.x - anchor.x, ay = in.y - anchor.y;
    const double bx = out.x - anchor.x, by = out.y - anchor.y;
    const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    if (la <= 1e-12 || lb <= 1e-12)
        return false;
    return std::fabs(ax * by - ay * bx) <= 1e-6 * la * lb && ax * bx + ay * by < 0;
}

// One closed outline of the result; curves of other kinds than lines and
// cubics become cubics with the same ends and end tangents.
Outline FromGeom(const Geom::Path& path) {
    Outline o;
    std::vector<VtgPoint> arriving; // the handle at the end of each curve
    for (std::size_t i = 0; i < path.size_closed(); ++i) {
        const Geom::Curve& c = path[i];
        if (c.isDegenerate())
            continue;
        PathSegment s{};
        s.anchor = V(c.initialPoint());
        VtgPoint in = V(c.finalPoint());
        const auto* b = dynamic_cast<const Geom::BezierCurve*>(&c);
        if (b != nullptr && b->order() == 1) {
            s.out = s.anchor;
        } else if (b != nullptr && b->order() == 3) {
            s.out = V((*b)[1]);
            in = V((*b)[2]);
        } else if (b != nullptr && b->order() == 2) {
            const Geom::Point q0 = (*b)[0], q1 = (*b)[1], q2 = (*b)[2];
            s.out = V(q0 + (q1 - q0) * (2.0 / 3));
            in = V(q2 + (q1 - q2) * (2.0 / 3));
        } else {
            const std::vector<Geom::Point> d0 = c.pointAndDerivatives(0, 1);
            const std::vector<Geom::Point> d1 = c.pointAndDerivatives(1, 1);
            s.out = V(d0[0] + d0[1] / 3);
            in = V(d1[0] - d1[1] / 3);
        }
        o.segments.push_back(s);
        arriving.push_back(in);
    }
    const std::size_t n = o.segments.size();
    for (std::size_t i = 0; i < n; ++i) {
        PathSegment& s = o.segments[i];
        s.in = arriving[(i + n - 1) % n];
        s.corner = Smooth(s.anchor, s.in, s.out) ? 0 : 1;
    }
    o.closed = true;
    return o;
}

// The length of the outline's control polygon, at least its own length.
double NetLength(const Outline& o) {
    double length = 0;
    const auto& g = o.segments;
    for (std::size_t i = 0; i < g.size(); ++i) {
        const PathSegment& s = g[i];
        const PathSegment& t = g[(i + 1) % g.size()];
        length += std::hypot(s.out.x - s.anchor.x, s.out.y - s.anchor.y) +
                  std::hypot(t.in.x - s.out.x, t.in.y - s.out.y) +
                  std::hypot(t.anchor.x - t.in.x, t.anchor.y - t.in.y);
    }
    return length;
}

// Folds anchors that lie within `tolerance` of the one before them (the
// steps a nudge leaves where edges were shared) into that one.
void Tidy(Outline& o, double tolerance) {
    auto& g = o.segments;
    auto close = [&](const PathSegment& a, const PathSegment& b) {
        return std::hypot(a.anchor.x - b.anchor.x, a.anchor.y - b.anchor.y) <= tolerance;
    };
    std::vector<PathSegment> kept;
    for (const PathSegment& s : g) {
        if (!kept.empty() && close(kept.back(), s)) {
            // The kept anchor leaves with the dropped one's handle.
            PathSegment& k = kept.back();
            k.out = {s.out.x - s.anchor.x + k.anchor.x, s.out.y - s.anchor.y + k.anchor.y};
            continue;
        }
        kept.push_back(s);
    }
    while (kept.size() > 2 && close(kept.back(), kept.front())) {
        const PathSegment last = kept.back();
        kept.pop_back();
        PathSegment& first = kept.front();
        first.in = {last.in.x - last.anchor.x + first.anchor.x,
                    last.in.y - last.anchor.y + first.anchor.y};
    }
    // A straight spur out and back along one line (where a nudged edge ran
    // over another) encloses nothing: its tip goes, and the anchors it left
    // side by side fold.
    auto straight = [](const PathSegment& s, const PathSegment& t) {
        return s.out.x == s.anchor.x && s.out.y == s.anchor.y && t.in.x == t.anchor.x &&
               t.in.y == t.anchor.y;
    };
    for (bool changed = true; changed && kept.size() > 2;) {
        changed = false;
        for (std::size_t i = 0; i < kept.size() && kept.size() > 2; ++i) {
            const std::size_t n = kept.size();
            const PathSegment& prev = kept[(i + n - 1) % n];
            const PathSegment& tip = kept[i];
            const PathSegment& next = kept[(i + 1) % n];
            if (!straight(prev, tip) || !straight(tip, next))
                continue;
            const double ax = prev.anchor.x - tip.anchor.x, ay = prev.anchor.y - tip.anchor.y;
            const double bx = next.anchor.x - tip.anchor.x, by = next.anchor.y - tip.anchor.y;
            const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
            // Back along the line it came: the two legs point the same way.
            if (ax * bx + ay * by > 0 &&
                std::fabs(ax * by - ay * bx) <= tolerance * std::max(la, lb)) {
                kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
                // The legs' ends may now lie side by side.
                const std::size_t m = kept.size();
                const std::size_t j = i % m, before = (j + m - 1) % m;
                if (m > 2 && close(kept[before], kept[j]))
                    kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(j));
                break;
            }
        }
    }
    for (PathSegment& s : kept)
        s.corner = Smooth(s.anchor, s.in, s.out) ? 0 : 1;
    g = std::move(kept);
}

} // namespace

double SignedArea(const Outline& outline) {
    if (outline.segments.size() < 2)
        return 0;
    return Area(ToGeom(outline));
}

ErrorCode Unite(const std::vector<Shape>& shapes, double precision, std::vector<Outline>& result,
                std::string* why) {
    result.clear();
    for (const Shape& shape : shapes)
        for (const Outline& o : shape.outlines)
            for (const PathSegment& s : o.segments)
                if (!Finite(s.anchor) || !Finite(s.in) || !Finite(s.out)) {
                    if (why != nullptr)
                        *why = "a coordinate is not a finite number";
                    return kBadParameterErr;
                }
    Context cx;
    if (precision > 0 && std::isfinite(precision) && precision < kFinestPrecision)
        cx.precision = precision;
    // The nudge: a ten-millionth of the extent of the input.
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (const Shape& shape : shapes)
        for (const Outline& o : shape.outlines)
            for (const PathSegment& s : o.segments)
                for (VtgPoint p : {s.anchor, s.in, s.out}) {
                    lo = std::min({lo, p.x, p.y});
                    hi = std::max({hi, p.x, p.y});
                }
    cx.nudge = hi > lo ? (hi - lo) * 1e-7 : 1e-9;
    try {
        Geom::PathVector region;
        for (const Shape& shape : shapes)
            region = Unite2(region, CleanShape(shape, cx), cx);
        // Outer outlines counter-clockwise, holes clockwise.
        std::vector<Outline> out;
        const std::vector<const Geom::Path*> pointers = Pointers(region);
        for (std::size_t i = 0; i < region.size(); ++i) {
            const int depth = Depth(pointers, i);
            const double a = Area(region[i]);
            if (std::fabs(a) < kNoArea)
                continue;
            const bool counterClockwise = depth % 2 == 0;
            Outline o = FromGeom((a > 0) == counterClockwise ? region[i] : region[i].reversed());
            if (cx.nudged) {
                // A sliver no wider than a few nudges is a trace of one.
                if (std::fabs(a) < 10 * cx.nudge * NetLength(o))
                    continue;
                Tidy(o, 8 * cx.nudge);
            }
            if (o.segments.size() > static_cast<std::size_t>(kVtgMaxSegments))
                throw Failure("an outline of the union has more than " +
                              std::to_string(kVtgMaxSegments) + " segments");
            if (o.segments.size() >= 2)
                out.push_back(std::move(o));
        }
        result = std::move(out);
        return kNoErr;
    } catch (const Failure& f) {
        if (why != nullptr)
            *why = f.what();
    } catch (const std::bad_alloc&) {
        if (why != nullptr)
            *why = "out of memory";
        return kOutOfMemoryErr;
    } catch (...) {
        if (why != nullptr)
            *why = "the geometry library failed";
    }
    result.clear();
    return kPathfinderFailedErr;
}

} // namespace hostapp::geometry
