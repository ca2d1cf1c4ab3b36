#include "host/geometry/unite.hpp"

#include <2geom/bezier-curve.h>
#include <2geom/intersection-graph.h>
#include <2geom/path.h>
#include <2geom/pathvector.h>

#include <algorithm>
#include <cmath>
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

// A point on the outline, away from its first anchor.
Geom::Point Sample(const Geom::Path& path) {
    return path.size_closed() > 0 ? path[0].pointAt(0.5) : path.initialPoint();
}

// The area of a region given by outlines that do not cross: each outline
// counts positive or negative by how many others hold it.
double RegionArea(const Geom::PathVector& pv) {
    double total = 0;
    for (std::size_t i = 0; i < pv.size(); ++i) {
        const Geom::Point p = Sample(pv[i]);
        int depth = 0;
        for (std::size_t j = 0; j < pv.size(); ++j)
            if (j != i && pv[j].winding(p) != 0)
                ++depth;
        total += (depth % 2 == 0 ? 1 : -1) * std::fabs(Area(pv[i]));
    }
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

// True when the bounding boxes share no interior: the regions can at most
// touch, and their union is both sets of outlines.
bool ApartOrTouching(const Geom::PathVector& a, const Geom::PathVector& b) {
    const Geom::OptRect ra = a.boundsExact(), rb = b.boundsExact();
    if (!ra || !rb)
        return true;
    return ra->right() <= rb->left() || rb->right() <= ra->left() || ra->bottom() <= rb->top() ||
           rb->bottom() <= ra->top();
}

Geom::PathVector Concat(Geom::PathVector a, const Geom::PathVector& b) {
    for (const Geom::Path& p : b)
        a.push_back(p);
    return a;
}

enum class Op { Union, Difference };

// A union or difference of two regions, checked against the areas: with the
// intersection I, |A u B| = |A| + |B| - |I| and |A - B| = |A| - |I|. The
// intersection graph is known to go wrong on some degenerate inputs; a
// result that fails the check is computed again with the operands swapped
// before giving up.
Geom::PathVector Combine(const Geom::PathVector& a, const Geom::PathVector& b, Op op,
                         double precision) {
    const double aA = RegionArea(a), aB = RegionArea(b);
    const double tol = 1e-6 + 1e-4 * (aA + aB);
    auto plausible = [&](const Geom::PathVector& r, const Geom::PathVector& i) {
        const double aR = RegionArea(r), aI = RegionArea(i);
        if (aI < -tol || aI > std::min(aA, aB) + tol)
            return false;
        if (op == Op::Union)
            return aR >= std::max(aA, aB) - tol && std::fabs(aR + aI - aA - aB) <= tol;
        return aR <= aA + tol && std::fabs(aR + aI - aA) <= tol;
    };
    for (int swapped = 0; swapped < 2; ++swapped) {
        try {
            const Geom::PathVector& first = swapped != 0 ? b : a;
            const Geom::PathVector& second = swapped != 0 ? a : b;
            Geom::PathIntersectionGraph graph(first, second, precision);
            if (!graph.valid())
                continue;
            Geom::PathVector r = op == Op::Union ? graph.getUnion()
                                 : swapped != 0  ? graph.getBminusA()
                                                 : graph.getAminusB();
            Geom::PathVector i = graph.getIntersection();
            if (plausible(r, i))
                return r;
        } catch (...) {
            // The library throws its own types, not all from std::exception;
            // the other order may still work.
        }
    }
    throw Failure(op == Op::Union ? "the union of two shapes failed"
                                  : "cutting a hole into a shape failed");
}

Geom::PathVector Unite2(const Geom::PathVector& a, const Geom::PathVector& b, double precision) {
    if (a.empty())
        return b;
    if (b.empty() || SameRegion(a, b))
        return a;
    if (ApartOrTouching(a, b))
        return Concat(a, b);
    return Combine(a, b, Op::Union, precision);
}

Geom::PathVector Subtract2(const Geom::PathVector& a, const Geom::PathVector& b, double precision) {
    if (a.empty() || SameRegion(a, b))
        return {};
    if (b.empty() || ApartOrTouching(a, b))
        return a;
    return Combine(a, b, Op::Difference, precision);
}

// The filled region of one shape as outlines that do not cross. Its outlines
// are taken largest first; each one adds its inside to the region where its
// inside is filled and its outside is not (by the shape's fill rule and the
// winding of the others there), and cuts it away where the reverse holds.
Geom::PathVector CleanShape(const Shape& shape, double precision) {
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
    std::vector<std::size_t> order(paths.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return std::fabs(areas[x]) > std::fabs(areas[y]);
    });
    auto filled = [&](int winding) { return shape.evenOdd ? winding % 2 != 0 : winding != 0; };
    Geom::PathVector region;
    for (std::size_t i : order) {
        const Geom::Point p = Sample(paths[i]);
        int outside = 0;
        for (std::size_t j = 0; j < paths.size(); ++j)
            if (j != i)
                outside += paths[j].winding(p);
        const int inside = outside + (areas[i] > 0 ? 1 : -1);
        if (!filled(outside) && filled(inside))
            region = Unite2(region, Geom::PathVector(paths[i]), precision);
        else if (filled(outside) && !filled(inside))
            region = Subtract2(region, Geom::PathVector(paths[i]), precision);
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
    if (!(precision > 0) || !std::isfinite(precision) || precision > kFinestPrecision)
        precision = kFinestPrecision;
    try {
        Geom::PathVector region;
        for (const Shape& shape : shapes)
            region = Unite2(region, CleanShape(shape, precision), precision);
        // Outer outlines counter-clockwise, holes clockwise.
        std::vector<Outline> out;
        for (std::size_t i = 0; i < region.size(); ++i) {
            const Geom::Point p = Sample(region[i]);
            int depth = 0;
            for (std::size_t j = 0; j < region.size(); ++j)
                if (j != i && region[j].winding(p) != 0)
                    ++depth;
            const double a = Area(region[i]);
            if (std::fabs(a) < kNoArea)
                continue;
            const bool counterClockwise = depth % 2 == 0;
            Outline o = FromGeom((a > 0) == counterClockwise ? region[i] : region[i].reversed());
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
