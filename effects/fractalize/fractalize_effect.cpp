#include "effects/fractalize/fractalize_effect.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "geometry/effect_walk.hpp"

namespace vtg {
namespace {

constexpr double kFlatness = 0.001;
// Records of the working array, and the most a written path may hold.
constexpr std::size_t kRecordCapacity = 32000;
constexpr std::size_t kMaxRecords = 31999;

// The figures on a 100-point chord from (0, 0) to (100, 0), y up; an
// upper-case operator marks a corner anchor.
const char* const kGeneratorText[kGeneratorCount] = {
    "0 0 m\n50 50 L\n100 0 L\nS\n%EOF",
    "0 0 m\n75 43.3 L\n100 0 L\nS\n%EOF",
    "0 0 m\n100 50 L\n100 0 L\nS\n%EOF",
    "0 0 m\n50 86.6 L\n100 0 L\nS\n%EOF",
    "0 0 m\n25 43.3 L\n50 0 L\n100 0 L\nS\n%EOF",
    "0 0 m\n33.33 0 L\n50 28.87 L\n66.67 0 L\n100 0 L\nS\n%EOF",
    "0 0 m\n25 43.3 L\n75 43.3 L\n100 0 L\nS\n%EOF",
    "0 0 m\n16.67 28.87 L\n50 28.87 L\n66.67 0 L\n100 0 L\nS\n%EOF",
    "0 0 m\n25 0 L\n37.5 21.65 L\n62.5 21.65 L\n75 0 L\n100 0 L\nS\n%EOF",
    "0 0 m\n0 100 L\n100 100 L\n100 0 L\nS\n%EOF",
    "0 0 m\n0 50 L\n50 50 L\n50 0 L\n100 0 L\nS\n%EOF",
    "0 0 m\n33.33 0 L\n33.33 33.33 L\n66.67 33.33 L\n66.67 0 L\n100 0 L\nS\n%EOF",
    "0 0 m\n50 0 L\n25 43.3 L\n75 43.3 L\n50 0 L\n100 0 L\nS\n%EOF",
    "0 0 m\n0 27.61 22.39 50 50 50 c\n77.61 50 100 27.61 100 0 c\nS\n%EOF",
};

const bool kAsymmetric[kGeneratorCount] = {false, true,  true,  false, true,  false, false,
                                           true,  false, false, true,  false, false, false};

PathSegment Corner(VtgPoint p, bool corner) {
    PathSegment s{};
    s.anchor = s.in = s.out = p;
    s.corner = corner ? 1 : 0;
    return s;
}

// A fresh random number in [0, 1) from the host's seeded generator.
double Random() {
    double r = 0;
    if (sMath == nullptr || sMath->RandomUniform(&r) != kNoErr)
        return 0.5;
    return r;
}

void Jitter(PathSegment& s, double u) {
    const double dx = (Random() - 0.5) * u;
    const double dy = (Random() - 0.5) * u;
    for (VtgPoint* p : {&s.anchor, &s.in, &s.out}) {
        p->x += dx;
        p->y += dy;
    }
}

VtgBezier Piece(const PathSegment& a, const PathSegment& b) {
    return {a.anchor, a.out, b.in, b.anchor};
}

ErrorCode HostLength(const VtgBezier* b, double f, double* l) {
    return sBezier->Length(b, f, l);
}
ErrorCode HostParameter(const VtgBezier* b, double l, double f, double* t) {
    return sBezier->ParameterAtLength(b, l, f, t);
}
ErrorCode HostDivide(const VtgBezier* b, double t, VtgBezier* l, VtgBezier* r) {
    return sBezier->Divide(b, t, l, r);
}

} // namespace

const char* const kGeneratorNames[kGeneratorCount] = {
    "直角二等辺三角形", "直角三角形１", "直角三角形２", "正三角形１", "正三角形２",
    "正三角形３",       "台形１",       "台形２",       "台形３",     "正方形１",
    "正方形２",         "正方形３",     "逆正三角形",   "半円",
};

bool GeneratorAsymmetric(uint32_t value) {
    return value >= 1 && value <= kGeneratorCount && kAsymmetric[value - 1];
}

BezierOps HostBezierOps() {
    return {&HostLength, &HostParameter, &HostDivide};
}

std::vector<PathSegment> ReadGeneratorText(const char* text) {
    std::vector<PathSegment> out;
    std::vector<double> numbers;
    const char* p = text;
    while (*p != '\0') {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (std::isspace(c)) {
            ++p;
            continue;
        }
        if (c == '(') { // text: skipped up to its closing parenthesis
            while (*p != '\0' && *p != ')')
                ++p;
            if (*p == ')')
                ++p;
            continue;
        }
        if (c == '%') {
            if (std::strncmp(p, "%EOF", 4) == 0)
                break;
            while (*p != '\0' && *p != '\n')
                ++p;
            continue;
        }
        if (std::isdigit(c) || c == '-' || c == '+' || c == '.') {
            char* end = nullptr;
            numbers.push_back(std::strtod(p, &end));
            p = end != p ? end : p + 1;
            continue;
        }
        // An operator: a word of letters.
        std::string word;
        while (*p != '\0' && !std::isspace(static_cast<unsigned char>(*p)))
            word += *p++;
        const bool corner = std::isupper(static_cast<unsigned char>(word[0])) != 0;
        const char op = static_cast<char>(std::tolower(static_cast<unsigned char>(word[0])));
        const std::size_t n = numbers.size();
        if (word.size() == 1 && (op == 'm' || op == 'l') && n >= 2) {
            out.push_back(Corner({numbers[n - 2], numbers[n - 1]}, corner));
        } else if (word.size() == 1 && op == 'c' && n >= 6 && !out.empty()) {
            out.back().out = {numbers[n - 6], numbers[n - 5]};
            PathSegment s = Corner({numbers[n - 2], numbers[n - 1]}, corner);
            s.in = {numbers[n - 4], numbers[n - 3]};
            out.push_back(s);
        } else if (word.size() == 1 && op == 'v' && n >= 4 && !out.empty()) {
            PathSegment s = Corner({numbers[n - 2], numbers[n - 1]}, corner);
            s.in = {numbers[n - 4], numbers[n - 3]};
            out.push_back(s);
        } else if (word.size() == 1 && op == 'y' && n >= 4 && !out.empty()) {
            out.back().out = {numbers[n - 4], numbers[n - 3]};
            out.push_back(Corner({numbers[n - 2], numbers[n - 1]}, corner));
        }
        numbers.clear();
    }
    return out;
}

std::vector<PathSegment> ReadGenerator(const FractalizeParams& p) {
    const uint32_t value = p.generator >= 1 && p.generator <= kGeneratorCount ? p.generator : 1;
    std::vector<PathSegment> g = ReadGeneratorText(kGeneratorText[value - 1]);
    if (g.empty())
        return g;
    const VtgPoint first = g.front().anchor;
    if (p.reverseV != 0 && kAsymmetric[value - 1]) {
        // Mirrored about the first point, and run in the other direction.
        std::vector<PathSegment> m(g.rbegin(), g.rend());
        for (PathSegment& s : m) {
            std::swap(s.in, s.out);
            for (VtgPoint* q : {&s.anchor, &s.in, &s.out})
                q->x = 2 * first.x - q->x;
        }
        g = std::move(m);
    }
    // Turned upside down first, so that reverseH flips a figure of any
    // height, the default 100 % too.
    const double height = std::isfinite(p.genHeight) ? p.genHeight : 100;
    const double factor = (p.reverseH != 0 ? -1 : 1) * height / 100;
    if (factor != 1) {
        const double y0 = g.front().anchor.y;
        for (PathSegment& s : g)
            for (VtgPoint* q : {&s.anchor, &s.in, &s.out})
                q->y = y0 + (q->y - y0) * factor;
    }
    return g;
}

double FractalizeStep(const FractalizeParams& p) {
    if (!(p.density >= 0.01))
        return 7200;
    return std::max(72 / p.density, 0.5);
}

double FractalizeUnevenness(const FractalizeParams& p) {
    if (p.uneven_f == 0 || !std::isfinite(p.uneven))
        return 0;
    return FractalizeStep(p) * p.uneven / 100;
}

ErrorCode DividePath(const FractalizeParams& p, const BezierOps& ops, const PathSegment* segments,
                     int count, bool closed, std::vector<PieceRecord>& out) {
    out.clear();
    if (count < 2 || segments == nullptr)
        return kNoErr;
    const double s = FractalizeStep(p);
    const double g =
        std::isfinite(p.gapSpaceRatio) ? std::clamp(p.gapSpaceRatio / 100, 0.0, 1.0) : 0;
    const double f =
        g > 0 && std::isfinite(p.shiftGapRatio) ? std::clamp(p.shiftGapRatio / 100, 0.0, 1.0) : 0;
    const bool constant = p.constantSize != 0;
    out.reserve(static_cast<std::size_t>(count) * 4);
    out.push_back({segments[0], 0});
    const int pieces = closed ? count : count - 1;
    struct Part {
        double length;
        int32_t flag;
    };
    std::vector<Part> parts;
    for (int i = 0; i < pieces; ++i) {
        const int j = (i + 1) % count;
        std::size_t cur = out.size() - 1;
        if (cur >= kRecordCapacity - 2) {
            out.clear();
            return kNoErr;
        }
        VtgBezier rest = Piece(out[cur].segment, segments[j]);
        rest.p1 = segments[i].out;
        double length = 0;
        if (ErrorCode err = ops.length(&rest, kFlatness, &length))
            return err;
        const double whole = std::floor(length / s);
        const long n = whole < 1e9 ? static_cast<long>(whole) : 1000000000L;
        parts.clear();
        int32_t restFlag = 0;
        if (!(constant && n == 0)) {
            const long cuts = constant ? n : (n > 0 ? n - 1 : 0);
            const double h = constant ? s : length / static_cast<double>(cuts + 1);
            if (static_cast<std::size_t>(cuts) * (g > 0 ? 2 : 1) > kRecordCapacity) {
                out.clear();
                return kNoErr;
            }
            if (g > 0) {
                const double gap = h * g / 2, part = (1 - g / 2) * h;
                if (f > 0)
                    parts.push_back({gap * f, 0});
                parts.push_back({part, 1});
                for (long k = 0; k < cuts; ++k) {
                    parts.push_back({gap, 0});
                    parts.push_back({part, 1});
                }
            } else {
                for (long k = 0; k < cuts; ++k)
                    parts.push_back({h, 1});
                restFlag = constant ? 0 : 1;
            }
        }
        double left = length;
        for (const Part& part : parts) {
            double len = part.length;
            if (len > left) {
                if (constant)
                    break;
                len = left;
            }
            double t = 0;
            if (ops.parameterAtLength(&rest, len, kFlatness, &t) != kNoErr)
                break;
            VtgBezier a{}, b{};
            if (ErrorCode err = ops.divide(&rest, t, &a, &b))
                return err;
            if (out.size() >= kRecordCapacity) {
                out.clear();
                return kNoErr;
            }
            out[cur].segment.out = a.p1;
            out[cur].generator = part.flag;
            PathSegment cut{};
            cut.anchor = a.p3;
            cut.in = a.p2;
            cut.out = b.p1;
            out.push_back({cut, 0});
            cur = out.size() - 1;
            rest = b;
            left -= len;
        }
        out[cur].segment.out = rest.p1;
        out[cur].generator = restFlag;
        if (closed && j == 0) {
            out[0].segment.in = rest.p2;
        } else {
            if (out.size() >= kRecordCapacity) {
                out.clear();
                return kNoErr;
            }
            PathSegment end = segments[j];
            end.in = rest.p2;
            out.push_back({end, 0});
        }
    }
    if (out.size() >= kMaxRecords) {
        out.clear();
        return kNoErr;
    }
    if (const double u = FractalizeUnevenness(p); u != 0)
        for (PieceRecord& r : out)
            Jitter(r.segment, u);
    return kNoErr;
}

ErrorCode FractalizeSegments(const FractalizeParams& p, const BezierOps& ops,
                             const std::vector<PathSegment>& generator, const PathSegment* segments,
                             int count, bool closed, std::vector<PathSegment>& out) {
    out.clear();
    std::vector<PieceRecord> pieces;
    if (ErrorCode err = DividePath(p, ops, segments, count, closed, pieces))
        return err;
    const std::size_t n = pieces.size();
    if (n < 2 || n > kMaxRecords || generator.size() < 2)
        return kNoErr;
    // The estimated size: every piece replaced by the generator, level
    // after level.
    const double gcount = static_cast<double>(generator.size());
    const uint32_t levels = p.level >= 1 ? p.level : 1;
    double e = 1;
    for (uint32_t r = 0; r < levels && e <= static_cast<double>(kMaxRecords); ++r)
        e *= gcount - 1;
    const double estimate =
        closed ? e * static_cast<double>(n) : e * static_cast<double>(n - 1) + 1;
    if (!(estimate >= 1 && estimate <= static_cast<double>(kMaxRecords)))
        return kTooManySegments;
    std::vector<PathSegment> gen = generator;
    gen.front().corner = 1;
    gen.back().corner = 1;
    const VtgPoint g0 = gen.front().anchor, g1 = gen.back().anchor;
    const double c = std::hypot(g1.x - g0.x, g1.y - g0.y);
    if (!(c > 0))
        return kNoErr;
    const double u = FractalizeUnevenness(p);
    std::vector<PieceRecord> next;
    next.reserve(static_cast<std::size_t>(estimate) + 1);
    for (uint32_t pass = 1; pass <= levels; ++pass) {
        const bool last = pass == levels;
        next.clear();
        const std::size_t m = pieces.size();
        const std::size_t count2 = closed ? m : m - 1;
        next.push_back(pieces[0]);
        for (std::size_t j = 0; j < count2; ++j) {
            const PieceRecord& a = pieces[j];
            const PieceRecord& b = pieces[(j + 1) % m];
            const bool closing = closed && j + 1 == m;
            PieceRecord& start = next.back();
            if (a.generator != 0) {
                const double dx = b.segment.anchor.x - a.segment.anchor.x;
                const double dy = b.segment.anchor.y - a.segment.anchor.y;
                const double k = std::hypot(dx, dy) / c;
                const double angle = std::atan2(dy, dx) - std::atan2(g1.y - g0.y, g1.x - g0.x);
                const double cs = std::cos(angle) * k, sn = std::sin(angle) * k;
                const VtgPoint o = a.segment.anchor;
                auto map = [&](VtgPoint q) {
                    const double x = q.x - g0.x, y = q.y - g0.y;
                    return VtgPoint{o.x + x * cs - y * sn, o.y + x * sn + y * cs};
                };
                start.generator = 1;
                start.segment.out = last ? map(gen.front().out) : start.segment.anchor;
                start.segment.corner = last ? gen.front().corner : start.segment.corner;
                const std::size_t stop = closing ? gen.size() - 1 : gen.size();
                for (std::size_t q = 1; q < stop; ++q) {
                    PathSegment s{};
                    s.anchor = map(gen[q].anchor);
                    s.in = last ? map(gen[q].in) : s.anchor;
                    s.out = last ? map(gen[q].out) : s.anchor;
                    s.corner = last ? gen[q].corner : 0;
                    next.push_back({s, q + 1 < gen.size() ? 1 : 0});
                }
                if (closing)
                    next[0].segment.in = last ? map(gen.back().in) : next[0].segment.anchor;
            } else {
                start.generator = 0;
                start.segment.out = a.segment.out;
                start.segment.corner = 1;
                if (closing) {
                    next[0].segment.in = b.segment.in;
                    next[0].segment.corner = 1;
                } else {
                    PathSegment s = b.segment;
                    s.corner = 1;
                    next.push_back({s, 0});
                }
            }
            if (next.size() > kMaxRecords)
                return kTooManySegments;
        }
        if (p.unevenGen_f != 0 && u != 0)
            for (PieceRecord& r : next)
                Jitter(r.segment, u);
        if (!closed) {
            next.front().segment.in = next.front().segment.anchor;
            next.back().segment.out = next.back().segment.anchor;
        }
        pieces.swap(next);
    }
    out.reserve(pieces.size());
    for (const PieceRecord& r : pieces)
        out.push_back(r.segment);
    return kNoErr;
}

ErrorCode FractalizePath(const FractalizeParams& p, const std::vector<PathSegment>& generator,
                         ArtHandle path) {
    int16_t count = 0;
    int32_t closed = 0;
    if (ErrorCode err = sPath->GetPathSegmentCount(path, &count))
        return err;
    if (ErrorCode err = sPath->GetPathClosed(path, &closed))
        return err;
    if (count < 2)
        return kNoErr;
    std::vector<PathSegment> segments(static_cast<std::size_t>(count));
    if (ErrorCode err = sPath->GetPathSegments(path, 0, count, segments.data()))
        return err;
    std::vector<PathSegment> out;
    if (ErrorCode err = FractalizeSegments(p, HostBezierOps(), generator, segments.data(), count,
                                           closed != 0, out))
        return err;
    if (out.empty())
        return kNoErr;
    const auto n = static_cast<int16_t>(out.size());
    if (ErrorCode err = sPath->SetPathSegmentCount(path, n))
        return err;
    return sPath->SetPathSegments(path, 0, n, out.data());
}

namespace {

struct FractalizeWalk {
    const FractalizeParams& p;
    const std::vector<PathSegment>& generator;
};

ErrorCode FractalizeAction(ArtHandle path, void* context) {
    const auto& walk = *static_cast<const FractalizeWalk*>(context);
    return FractalizePath(walk.p, walk.generator, path);
}

} // namespace

ErrorCode FractalizeArt(const FractalizeParams& p, const std::vector<PathSegment>& generator,
                        ArtHandle art) {
    // The shared walk, except that "SEGM" ends the render; the working
    // arrays are Fractalize's own.
    FractalizeWalk walk{p, generator};
    return ForEachEffectPath(art, &FractalizeAction, &walk,
                             {.stopOnTooMany = true, .segmentBuffer = false});
}

} // namespace vtg
