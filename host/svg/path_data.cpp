#include "host/svg/path_data.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace hostapp::svg {

namespace {

constexpr double kPi = 3.14159265358979323846;

class Scanner {
public:
    explicit Scanner(const std::string& s) : s_(s) {}

    void skipSpace() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' ||
                                  s_[i_] == '\r' || s_[i_] == '\f'))
            ++i_;
    }
    // Blanks with at most one comma.
    void skipSeparator() {
        skipSpace();
        if (i_ < s_.size() && s_[i_] == ',') {
            ++i_;
            skipSpace();
        }
    }
    bool atEnd() {
        skipSpace();
        return i_ >= s_.size();
    }
    char peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
    size_t pos() const { return i_; }
    void advance() { ++i_; }

    // True when a number may start here (after separators).
    bool numberAhead() {
        skipSeparator();
        const char c = peek();
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
    }

    bool number(double& v, PathDataError& err) {
        skipSeparator();
        const size_t start = i_;
        size_t j = i_;
        if (j < s_.size() && (s_[j] == '+' || s_[j] == '-'))
            ++j;
        bool digits = false;
        while (j < s_.size() && std::isdigit(static_cast<unsigned char>(s_[j]))) {
            ++j;
            digits = true;
        }
        if (j < s_.size() && s_[j] == '.') {
            ++j;
            while (j < s_.size() && std::isdigit(static_cast<unsigned char>(s_[j]))) {
                ++j;
                digits = true;
            }
        }
        if (!digits) {
            err = {start, "a number was expected"};
            return false;
        }
        if (j < s_.size() && (s_[j] == 'e' || s_[j] == 'E')) {
            size_t k = j + 1;
            if (k < s_.size() && (s_[k] == '+' || s_[k] == '-'))
                ++k;
            if (k < s_.size() && std::isdigit(static_cast<unsigned char>(s_[k]))) {
                while (k < s_.size() && std::isdigit(static_cast<unsigned char>(s_[k])))
                    ++k;
                j = k;
            }
        }
        const char* first = s_.data() + start + (s_[start] == '+' ? 1 : 0);
        const auto r = std::from_chars(first, s_.data() + j, v);
        if (r.ec != std::errc() || !std::isfinite(v) || std::fabs(v) > kMaxCoordinate) {
            err = {start, "number out of range"};
            return false;
        }
        i_ = j;
        return true;
    }

    // An arc flag: a single 0 or 1, which need not be followed by a separator.
    bool flag(bool& f, PathDataError& err) {
        skipSeparator();
        if (peek() == '0' || peek() == '1') {
            f = peek() == '1';
            ++i_;
            return true;
        }
        err = {i_, "an arc flag (0 or 1) was expected"};
        return false;
    }

private:
    const std::string& s_;
    size_t i_ = 0;
};

VtgPoint Lerp(VtgPoint a, VtgPoint b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

class Builder {
public:
    explicit Builder(std::vector<Subpath>& out) : out_(out) {}

    void moveTo(VtgPoint p) {
        out_.push_back({});
        out_.back().segments.push_back({p, p, p, 1});
        start_ = p;
        open_ = true;
    }
    // Starts a subpath at the current point when a drawing command follows Z.
    void ensureOpen(VtgPoint current) {
        if (!open_)
            moveTo(current);
    }
    void lineTo(VtgPoint p) { out_.back().segments.push_back({p, p, p, 1}); }
    void curveTo(VtgPoint c1, VtgPoint c2, VtgPoint p) {
        out_.back().segments.back().out = c1;
        out_.back().segments.push_back({p, c2, p, 1});
    }
    void close() {
        if (!open_)
            return;
        Subpath& sp = out_.back();
        auto& g = sp.segments;
        // A last anchor on the start point is the start point itself.
        if (g.size() > 1 && g.back().anchor.x == g.front().anchor.x &&
            g.back().anchor.y == g.front().anchor.y) {
            g.front().in = g.back().in;
            g.pop_back();
        }
        sp.closed = true;
        open_ = false;
    }
    VtgPoint start() const { return start_; }

private:
    std::vector<Subpath>& out_;
    VtgPoint start_{0, 0};
    bool open_ = false;
};

// Appends an elliptical arc as cubics (at most a quarter turn each).
void ArcTo(Builder& b, VtgPoint p0, double rx, double ry, double angle, bool large, bool sweep,
           VtgPoint p) {
    if (p0.x == p.x && p0.y == p.y)
        return;
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0) {
        b.lineTo(p);
        return;
    }
    const double phi = angle * kPi / 180.0;
    const double cs = std::cos(phi), sn = std::sin(phi);
    const double dx = (p0.x - p.x) / 2, dy = (p0.y - p.y) / 2;
    const double x1 = cs * dx + sn * dy, y1 = -sn * dx + cs * dy;
    double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        const double s = std::sqrt(lambda);
        rx *= s;
        ry *= s;
    }
    const double rx2 = rx * rx, ry2 = ry * ry;
    double num = rx2 * ry2 - rx2 * y1 * y1 - ry2 * x1 * x1;
    if (num < 0)
        num = 0;
    double coef = std::sqrt(num / (rx2 * y1 * y1 + ry2 * x1 * x1));
    if (large == sweep)
        coef = -coef;
    const double cx1 = coef * rx * y1 / ry, cy1 = -coef * ry * x1 / rx;
    const double cx = cs * cx1 - sn * cy1 + (p0.x + p.x) / 2;
    const double cy = sn * cx1 + cs * cy1 + (p0.y + p.y) / 2;
    auto angleOf = [](double ux, double uy, double vx, double vy) {
        return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    };
    const double ux = (x1 - cx1) / rx, uy = (y1 - cy1) / ry;
    const double vx = (-x1 - cx1) / rx, vy = (-y1 - cy1) / ry;
    const double theta = angleOf(1, 0, ux, uy);
    double delta = angleOf(ux, uy, vx, vy);
    if (!sweep && delta > 0)
        delta -= 2 * kPi;
    else if (sweep && delta < 0)
        delta += 2 * kPi;
    const int pieces =
        std::max(1, static_cast<int>(std::ceil(std::fabs(delta) / (kPi / 2) - 1e-9)));
    const double step = delta / pieces;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    auto at = [&](double ex, double ey) {
        return VtgPoint{cx + cs * rx * ex - sn * ry * ey, cy + sn * rx * ex + cs * ry * ey};
    };
    double t = theta;
    for (int i = 0; i < pieces; ++i) {
        const double t2 = t + step;
        const double c1x = std::cos(t) - k * std::sin(t), c1y = std::sin(t) + k * std::cos(t);
        const double c2x = std::cos(t2) + k * std::sin(t2), c2y = std::sin(t2) - k * std::cos(t2);
        const VtgPoint end = i == pieces - 1 ? p : at(std::cos(t2), std::sin(t2));
        b.curveTo(at(c1x, c1y), at(c2x, c2y), end);
        t = t2;
    }
}

} // namespace

int32_t SmoothCorner(const PathSegment& s) {
    const double ix = s.anchor.x - s.in.x, iy = s.anchor.y - s.in.y;
    const double ox = s.out.x - s.anchor.x, oy = s.out.y - s.anchor.y;
    const double li = std::hypot(ix, iy), lo = std::hypot(ox, oy);
    if (li == 0 || lo == 0)
        return 1;
    const double cross = (ix * oy - iy * ox) / (li * lo);
    const double dot = ix * ox + iy * oy;
    return std::fabs(cross) < 1e-6 && dot > 0 ? 0 : 1;
}

bool ParsePathData(const std::string& d, std::vector<Subpath>& out, PathDataError& err) {
    out.clear();
    Scanner sc(d);
    Builder b(out);
    VtgPoint cur{0, 0};
    VtgPoint lastCtrl{0, 0}; // last cubic or quadratic control, for S and T
    char prev = 0;
    char cmd = 0;
    bool first = true;
    while (!sc.atEnd()) {
        const char c = sc.peek();
        if (std::isalpha(static_cast<unsigned char>(c))) {
            if (std::strchr("MmLlHhVvCcSsQqTtAaZz", c) == nullptr) {
                err = {sc.pos(), std::string("unknown path command '") + c + "'"};
                return false;
            }
            cmd = c;
            sc.advance();
        } else if (cmd == 0 || cmd == 'Z' || cmd == 'z') {
            err = {sc.pos(), cmd == 0 ? "a path must start with a moveto command"
                                      : "a number cannot follow a closepath command"};
            return false;
        } else if (!sc.numberAhead()) {
            err = {sc.pos(), "unexpected character"};
            return false;
        }
        if (first && cmd != 'M' && cmd != 'm') {
            err = {sc.pos() - 1, "a path must start with a moveto command"};
            return false;
        }
        first = false;
        const bool rel = std::islower(static_cast<unsigned char>(cmd)) != 0;
        const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(cmd)));
        auto pt = [&](VtgPoint& p) {
            double x = 0, y = 0;
            if (!sc.number(x, err) || !sc.number(y, err))
                return false;
            p = rel ? VtgPoint{cur.x + x, cur.y + y} : VtgPoint{x, y};
            return true;
        };
        switch (up) {
        case 'Z':
            b.close();
            cur = b.start();
            prev = 'Z';
            continue;
        case 'M': {
            VtgPoint p;
            if (!pt(p))
                return false;
            b.moveTo(p);
            cur = p;
            // Further pairs are implicit lineto commands.
            cmd = rel ? 'l' : 'L';
            prev = 'M';
            continue;
        }
        case 'L': {
            VtgPoint p;
            if (!pt(p))
                return false;
            b.ensureOpen(cur);
            b.lineTo(p);
            cur = p;
            break;
        }
        case 'H':
        case 'V': {
            double v = 0;
            if (!sc.number(v, err))
                return false;
            VtgPoint p = cur;
            if (up == 'H')
                p.x = rel ? cur.x + v : v;
            else
                p.y = rel ? cur.y + v : v;
            b.ensureOpen(cur);
            b.lineTo(p);
            cur = p;
            break;
        }
        case 'C': {
            VtgPoint c1, c2, p;
            if (!pt(c1) || !pt(c2) || !pt(p))
                return false;
            b.ensureOpen(cur);
            b.curveTo(c1, c2, p);
            lastCtrl = c2;
            cur = p;
            break;
        }
        case 'S': {
            VtgPoint c2, p;
            if (!pt(c2) || !pt(p))
                return false;
            const VtgPoint c1 = (prev == 'C' || prev == 'S')
                                    ? VtgPoint{2 * cur.x - lastCtrl.x, 2 * cur.y - lastCtrl.y}
                                    : cur;
            b.ensureOpen(cur);
            b.curveTo(c1, c2, p);
            lastCtrl = c2;
            cur = p;
            break;
        }
        case 'Q':
        case 'T': {
            VtgPoint q, p;
            if (up == 'Q') {
                if (!pt(q) || !pt(p))
                    return false;
            } else {
                if (!pt(p))
                    return false;
                q = (prev == 'Q' || prev == 'T')
                        ? VtgPoint{2 * cur.x - lastCtrl.x, 2 * cur.y - lastCtrl.y}
                        : cur;
            }
            b.ensureOpen(cur);
            b.curveTo(Lerp(cur, q, 2.0 / 3.0), Lerp(p, q, 2.0 / 3.0), p);
            lastCtrl = q;
            cur = p;
            break;
        }
        case 'A': {
            double rx = 0, ry = 0, angle = 0;
            bool large = false, sweep = false;
            VtgPoint p;
            if (!sc.number(rx, err) || !sc.number(ry, err) || !sc.number(angle, err) ||
                !sc.flag(large, err) || !sc.flag(sweep, err) || !pt(p))
                return false;
            b.ensureOpen(cur);
            ArcTo(b, cur, rx, ry, angle, large, sweep, p);
            cur = p;
            break;
        }
        default:
            break;
        }
        prev = up;
    }
    for (Subpath& sp : out)
        for (PathSegment& s : sp.segments)
            s.corner = SmoothCorner(s);
    return true;
}

void AppendNumber(std::string& out, double v, int decimals) {
    // Room for the largest double in fixed notation with 6 decimals.
    char buf[400];
    // Half the last digit: what is smaller prints as 0.
    static constexpr double kHalf[] = {0.5, 0.05, 0.005, 5e-4, 5e-5, 5e-6, 5e-7};
    decimals = std::clamp(decimals, 0, 6);
    if (std::fabs(v) < kHalf[decimals] || !std::isfinite(v))
        v = 0;
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    char* end = r.ptr;
    char* dot = static_cast<char*>(std::memchr(buf, '.', static_cast<size_t>(end - buf)));
    if (dot != nullptr) {
        while (end > dot + 1 && end[-1] == '0')
            --end;
        if (end == dot + 1)
            end = dot;
    }
    if (end - buf == 2 && buf[0] == '-' && buf[1] == '0')
        out.append("0");
    else
        out.append(buf, end);
}

std::string FormatNumber(double v) {
    std::string s;
    AppendNumber(s, v);
    return s;
}

void AppendPathData(std::string& out, const std::vector<PathSegment>& g, bool closed,
                    int decimals) {
    if (g.empty())
        return;
    auto pair = [&](VtgPoint p) {
        AppendNumber(out, p.x, decimals);
        out.push_back(' ');
        AppendNumber(out, p.y, decimals);
    };
    out.append("M");
    pair(g[0].anchor);
    const size_t n = g.size();
    const size_t pieces = closed ? n : n - 1;
    for (size_t i = 0; i < pieces; ++i) {
        const PathSegment& a = g[i];
        const PathSegment& b = g[(i + 1) % n];
        // A straight piece (both handles on their anchors) as a line: the
        // reader makes the same segments of it, in a third of the text.
        if (a.out.x == a.anchor.x && a.out.y == a.anchor.y && b.in.x == b.anchor.x &&
            b.in.y == b.anchor.y) {
            out.append(" L");
            pair(b.anchor);
            continue;
        }
        out.append(" C");
        pair(a.out);
        out.push_back(' ');
        pair(b.in);
        out.push_back(' ');
        pair(b.anchor);
    }
    if (closed)
        out.append(" Z");
}

} // namespace hostapp::svg
