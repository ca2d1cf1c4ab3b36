// Live 3D Path's geometry: preparation, the twelve variants' set-ups and
// mappings, and the transform of an art tree.
#include "live/path3d/path3d_transform.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/suite_set.hpp"
#include "geometry/art_paths.hpp"
#include "host/api/vtg_math_suite.h"
#include "live/path3d/path3d_ranges.hpp"

namespace vtg {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHuge = kVtgHugeValue;

const ThreeDRow kNone{"", "", 0, 0, 0, 0};

const ThreeDRows kRows[k3DVariantCount] = {
    {{kNone, kNone, kNone, kNone}},
    {{{"角度:", "°", -36000, 36000, -720, 720}, kNone, kNone, kNone}},
    {{{"中心角:", "°", -36000, 36000, -720, 720},
      {"半径の増加率:", "%/360°", -4000, 4000, -800, 800},
      kNone,
      kNone}},
    {{{"中心角:", "°", -36000, 36000, -3600, 3600},
      {"半径の増加率:", "%/360°", -4000, 4000, -800, 800},
      {"Ｚ値の増加率:", "%/360°", -4000, 4000, -800, 800},
      {"ツイスト:", "°", -36000, 36000, -3600, 3600}}},
    {{{"角度:", "°", -36000, 36000, -720, 720}, {"サイクル:", "", 1, 4000, 1, 20}, kNone, kNone}},
    {{{"水平振幅:", "%", -4000, 4000, -200, 200},
      {"水平サイクル:", "", 0, 4000, 0, 100},
      {"垂直振幅:", "%", -4000, 4000, -200, 200},
      {"垂直サイクル:", "", 0, 4000, 0, 100}}},
    {{{"水平振幅:", "%", -4000, 4000, -200, 200},
      {"水平サイクル:", "", 0, 4000, 0, 100},
      {"垂直振幅:", "%", -4000, 4000, -200, 200},
      {"垂直サイクル:", "", 0, 4000, 0, 100}}},
    {{{"振幅:", "%", -4000, 4000, -200, 200},
      {"サイクル:", "", 0, 4000, 0, 100},
      {"位相:", "°", -36000, 36000, -180, 180},
      kNone}},
    {{{"中心角:", "°", 0, 36000, 0, 360},
      {"北緯:", "°", -36000, 36000, -90, 90},
      {"南緯:", "°", -36000, 36000, -90, 90},
      {"高さ:", "%", -4000, 4000, -1600, 1600}}},
    {{{"中心角１:", "°", -36000, 36000, 0, 360},
      {"中心角２:", "°", -36000, 36000, -360, 360},
      {"シフト角:", "°", -180, 180, -180, 180},
      {"高さ:", "%", -4000, 4000, -1600, 1600}}},
    {{{"中心角１:", "°", -36000, 36000, -3600, 3600},
      {"中心角２:", "°", -36000, 36000, -360, 360},
      {"シフト角:", "°", -180, 180, -180, 180},
      {"Ｚ値の増加率:", "%", -4000, 4000, -800, 800}}},
    {{{"中心角:", "°", -36000, 36000, 0, 360},
      {"高さ:", "%", -4000, 4000, -1600, 1600},
      kNone,
      kNone}},
};

double Limit(double v, double low, double high) {
    if (std::isnan(v))
        return std::clamp(0.0, low, high);
    return std::clamp(v, low, high);
}

// The host's conversion and guarded arithmetic; the same rules without it.
double Rad(double degrees) {
    double r = 0;
    if (sMath != nullptr && sMath->DegreesToRadians(degrees, &r) == kNoErr)
        return r;
    return degrees * kPi / 180.0;
}

bool Guard(double v) {
    return std::isfinite(v) && std::fabs(v) < kHuge;
}

ErrorCode Mul(double a, double b, double& out) {
    if (sMath != nullptr)
        return sMath->GuardedMultiply(a, b, &out);
    const double r = a * b;
    if (!Guard(r))
        return kOverflowErr;
    out = r;
    return kNoErr;
}

ErrorCode Div(double a, double b, double& out) {
    if (sMath != nullptr)
        return sMath->GuardedDivide(a, b, &out);
    if (b == 0)
        return kOverflowErr;
    const double r = a / b;
    if (!Guard(r))
        return kOverflowErr;
    out = r;
    return kNoErr;
}

struct Vec {
    double x, y, z;
};

Vec Apply(const Matrix3& m, Vec p) {
    return {m.m[0][0] * p.x + m.m[0][1] * p.y + m.m[0][2] * p.z,
            m.m[1][0] * p.x + m.m[1][1] * p.y + m.m[1][2] * p.z,
            m.m[2][0] * p.x + m.m[2][1] * p.y + m.m[2][2] * p.z};
}

Vec RotX(double a, Vec p) {
    const double c = std::cos(a), s = std::sin(a);
    return {p.x, c * p.y - s * p.z, s * p.y + c * p.z};
}

const ThreeDContext& Ctx(const TransformContext& c) {
    return *static_cast<const ThreeDContext*>(c.data);
}

Vec Pre(const ThreeDContext& c, Vec p) {
    p.x += c.ox;
    p.y += c.oy;
    p = Apply(c.m1, p);
    p.x -= c.ox;
    p.y -= c.oy;
    return p;
}

// Writes the result; a value that is not finite is an overflow, so nothing
// that is not a number ever reaches a path.
ErrorCode Out(Vec p, double* x, double* y, double* z) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        return kOverflowErr;
    *x = p.x;
    *y = p.y;
    *z = p.z;
    return kNoErr;
}

// --- mappings ---------------------------------------------------------------------

ErrorCode MapRotate(const TransformContext& tc, double x, double y, double* ox, double* oy,
                    double* oz) {
    return Out(Apply(Ctx(tc).m1, Vec{x, y, 0}), ox, oy, oz);
}

ErrorCode MapTwist(const TransformContext& tc, double x, double y, double* ox, double* oy,
                   double* oz) {
    const ThreeDContext& c = Ctx(tc);
    Vec p = Pre(c, {x, y, 0});
    if (c.theta != 0) {
        const double a = tc.width != 0 ? (p.x / tc.width + 0.5) * c.theta : 0;
        p = RotX(a, p);
    }
    return Out(Apply(c.m2, p), ox, oy, oz);
}

// The arc's bend of a pre-rotated point: (x', y') and the angle pi/2 - phi.
ErrorCode Bend(const ThreeDContext& c, Vec& p, double& angle) {
    double phi = 0;
    if (ErrorCode err = Div(c.theta * p.x, c.base.width, phi))
        return err;
    const double rho = c.k != 0 ? p.y + phi / (2 * kPi) * c.k : p.y;
    angle = kPi / 2 - phi;
    p.x = rho * std::cos(angle);
    p.y = rho * std::sin(angle);
    return kNoErr;
}

ErrorCode MapArc(const TransformContext& tc, double x, double y, double* ox, double* oy,
                 double* oz) {
    const ThreeDContext& c = Ctx(tc);
    Vec p = Pre(c, {x, y, 0});
    double angle = 0;
    if (ErrorCode err = Bend(c, p, angle))
        return err;
    return Out(Apply(c.m2, p), ox, oy, oz);
}

ErrorCode MapScrew(const TransformContext& tc, double x, double y, double* ox, double* oy,
                   double* oz) {
    const ThreeDContext& c = Ctx(tc);
    Vec q{x + c.ox, y + c.oy, 0};
    if (c.tau != 0) {
        const double a = tc.width != 0 ? (q.x / tc.width + 0.5) * c.tau : 0;
        q = RotX(a, q);
    }
    q = Apply(c.m1, q);
    Vec p{q.x - c.ox, q.y - c.oy, q.z};
    double angle = 0;
    if (ErrorCode err = Bend(c, p, angle))
        return err;
    p.z -= angle / (2 * kPi) * c.kz;
    return Out(Apply(c.m2, p), ox, oy, oz);
}

ErrorCode MapSpin(const TransformContext& tc, double x, double y, double* ox, double* oy,
                  double* oz) {
    const ThreeDContext& c = Ctx(tc);
    Vec p = Pre(c, {x, y, 0});
    const double r = std::sqrt(p.x * p.x + p.y * p.y);
    const double n = tc.param2;
    double a = 0;
    if (n == 1) {
        a = c.t != 0 ? r / c.t * c.theta : 0;
    } else {
        const double u = c.t != 0 ? c.theta * std::cos(kPi * n * r / c.t) : 0;
        const bool odd = static_cast<long long>(std::fabs(std::round(n))) % 2 == 1;
        a = odd ? -u : u;
    }
    // The host's rotation matrix turns from +x towards +y.
    const double turn = a - c.theta;
    VtgPoint in{p.x, p.y}, out{p.x, p.y};
    if (sMath != nullptr) {
        VtgMatrix m{};
        sMath->IdentityMatrix(&m);
        sMath->ConcatRotate(&m, turn);
        sMath->TransformPoint(&m, &in, &out);
    } else {
        out = {p.x * std::cos(turn) - p.y * std::sin(turn),
               p.x * std::sin(turn) + p.y * std::cos(turn)};
    }
    p.x = out.x;
    p.y = out.y;
    return Out(Apply(c.m2, p), ox, oy, oz);
}

double Wave(double amplitude, double cycles, double v, double extent) {
    return extent != 0 ? amplitude / 2 * std::sin(2 * kPi * cycles * v / extent) : 0;
}

ErrorCode MapWaveHV(const TransformContext& tc, double x, double y, double* ox, double* oy,
                    double* oz) {
    const ThreeDContext& c = Ctx(tc);
    Vec p = Pre(c, {x, y, 0});
    const double dy = Wave(c.ah, tc.param2, p.x, tc.width);
    const double dx = Wave(c.av, tc.param4, p.y, tc.height);
    p.y += dy;
    p.x -= dx;
    return Out(Apply(c.m2, p), ox, oy, oz);
}

ErrorCode MapWaveZ(const TransformContext& tc, double x, double y, double* ox, double* oy,
                   double* oz) {
    const ThreeDContext& c = Ctx(tc);
    Vec p = Pre(c, {x, y, 0});
    p.z += Wave(c.ah, tc.param2, p.x, tc.width) + Wave(c.av, tc.param4, p.y, tc.height);
    return Out(Apply(c.m2, p), ox, oy, oz);
}

ErrorCode MapWaveR(const TransformContext& tc, double x, double y, double* ox, double* oy,
                   double* oz) {
    const ThreeDContext& c = Ctx(tc);
    const double r = std::sqrt(x * x + y * y);
    Vec p = Pre(c, {x, y, 0});
    if (c.t != 0)
        p.z += c.amp / 2 * std::cos(2 * kPi * tc.param2 * r / c.t - c.phase);
    return Out(Apply(c.m2, p), ox, oy, oz);
}

// (cos l, sin l) x rho, each guarded.
ErrorCode Polar(double l, double rho, Vec& p) {
    if (ErrorCode err = Mul(std::cos(l), rho, p.x))
        return err;
    return Mul(std::sin(l), rho, p.y);
}

ErrorCode MapSphere(const TransformContext& tc, double x, double y, double* ox, double* oy,
                    double* oz) {
    const ThreeDContext& c = Ctx(tc);
    Vec p = Pre(c, {x, y, 0});
    const double R = c.radius;
    p.x *= c.sx;
    const double l = R != 0 ? p.x / R : 0;
    p.y = p.y * c.sy + c.y0;
    const double w = R != 0 ? std::sin(p.y / R) : 0;
    p.z += w * c.hz;
    if (w * w >= 0 && w * w < 1) {
        if (ErrorCode err = Polar(l, std::sqrt(1 - w * w) * R, p))
            return err;
    } else {
        p.x = p.y = 0;
    }
    return Out(Apply(c.m2, p), ox, oy, oz);
}

ErrorCode MapTorusOrSpiral(const TransformContext& tc, double x, double y, double* ox, double* oy,
                           double* oz, bool spiral) {
    const ThreeDContext& c = Ctx(tc);
    Vec p = Pre(c, {x, y, 0});
    const double R = c.radius, r = c.minor;
    p.x *= c.sx;
    p.y = p.y * c.sy + c.y0;
    double l = 0, f = 0;
    if (R != 0) {
        if (spiral) {
            f = p.x / (2 * kPi * R);
            l = 2 * kPi * f;
        } else {
            l = p.x / R;
        }
    }
    const double ay = std::fabs(p.y);
    const bool outer = ay < kPi * r / 2 || ay > 3 * kPi * r / 2;
    double w = 0;
    if (r != 0) {
        if (outer)
            w = std::sin(p.y / r);
        else
            w = p.y > 0 ? std::sin((kPi * r - p.y) / r) : std::sin((-kPi * r - p.y) / r);
    }
    p.z += spiral ? r * w - f * c.kz : c.hz * w;
    const double w2 = w * w;
    if (w2 >= 0 && w2 < 1) {
        const double cc = std::sqrt(1 - w2);
        if (ErrorCode err = Polar(l, outer ? R + cc * r : R - cc * r, p))
            return err;
    } else if (w2 == 1) {
        if (ErrorCode err = Polar(l, R, p))
            return err;
    } else {
        p.x = p.y = 0;
    }
    return Out(Apply(c.m2, p), ox, oy, oz);
}

ErrorCode MapTorus(const TransformContext& tc, double x, double y, double* ox, double* oy,
                   double* oz) {
    return MapTorusOrSpiral(tc, x, y, ox, oy, oz, false);
}

ErrorCode MapSpiral(const TransformContext& tc, double x, double y, double* ox, double* oy,
                    double* oz) {
    return MapTorusOrSpiral(tc, x, y, ox, oy, oz, true);
}

ErrorCode MapCylinder(const TransformContext& tc, double x, double y, double* ox, double* oy,
                      double* oz) {
    const ThreeDContext& c = Ctx(tc);
    Vec p = Pre(c, {x, y, 0});
    double phi = 0;
    if (ErrorCode err = Div(c.theta * p.x, tc.width, phi))
        return err;
    const double a = kPi / 2 - phi;
    const double yy = p.y;
    p.x = yy * std::cos(a);
    p.y = yy * c.hf * std::sin(a);
    return Out(Apply(c.m2, p), ox, oy, oz);
}

// --- set-ups ----------------------------------------------------------------------

ThreeDContext& Mut(TransformContext& c) {
    return *static_cast<ThreeDContext*>(c.data);
}

VtgPoint Centre(const ThreeDContext& c, bool offset) {
    return offset ? VtgPoint{c.base.centre.x + c.ox, c.base.centre.y + c.oy} : c.base.centre;
}

// Variant 0, and every variant with only the pre-rotation.
ErrorCode SetUpRotate(TransformContext& tc, PathSet&) {
    ThreeDContext& c = Mut(tc);
    const bool full = c.record.variant == 0;
    tc.mappingCentre = Centre(c, full);
    tc.mapping = &MapRotate;
    return kNoErr;
}

// The bend of the arc, screw and cylinder: theta' and k.
void SetUpBend(ThreeDContext& c) {
    c.theta = Rad(c.record.param1);
    if (c.oy > 0)
        c.theta = -c.theta;
    const double p2 = c.ox > 0 ? -c.record.param2 : c.record.param2;
    c.k = p2 / 100 * std::max(0.05 * c.base.width, c.base.height);
}

ErrorCode SetUpVariant(TransformContext& tc, PathSet& set) {
    ThreeDContext& c = Mut(tc);
    const _3DTFilterParams& r = c.record;
    if (r.variant == 0 || r.transformed == 0)
        return SetUpRotate(tc, set);
    const double W = tc.width, H = tc.height;
    tc.mappingCentre = Centre(c, true);
    switch (r.variant) {
    case 1:
        c.theta = Rad(r.param1);
        tc.mapping = &MapTwist;
        return kNoErr;
    case 2:
        SetUpBend(c);
        tc.mapping = &MapArc;
        return kNoErr;
    case 3:
        SetUpBend(c);
        c.kz = r.param3 / 100 * std::max(0.05 * W, H);
        c.tau = Rad(r.param4);
        tc.mapping = &MapScrew;
        return kNoErr;
    case 4:
        c.theta = Rad(r.param1);
        if (r.param2 != 1)
            c.theta /= 2;
        tc.mapping = &MapSpin;
        return kNoErr;
    case 5:
    case 6:
        c.ah = r.param1 / 100 * (W != 0 ? W : H);
        c.av = r.param3 / 100 * (H != 0 ? H : W);
        tc.mapping = r.variant == 5 ? &MapWaveHV : &MapWaveZ;
        return kNoErr;
    case 7:
        c.amp = r.param1 / 100 * c.t;
        c.phase = Rad(r.param3);
        tc.mapping = &MapWaveR;
        return kNoErr;
    case 8: {
        tc.mappingCentre = Centre(c, false);
        const double theta = Rad(r.param1), n = Rad(r.param2), s = Rad(r.param3);
        const double R = std::sqrt(c.ox * c.ox + c.oy * c.oy);
        c.radius = R;
        c.sx = W != 0 ? R * theta / W : 0;
        c.sy = H != 0 ? R * (n + s) / H : kHuge;
        c.y0 = R * (n - s) / 2;
        c.hz = r.param4 / 100 * R;
        tc.mapping = &MapSphere;
        return R == 0 ? 2 : kNoErr;
    }
    case 9:
    case 10: {
        tc.mappingCentre = Centre(c, false);
        const double t1 = Rad(r.param1), t2 = Rad(r.param2), sigma = Rad(r.param3);
        const double R = std::fabs(c.oy), rr = std::fabs(c.ox);
        c.radius = R;
        c.minor = rr;
        c.sx = W != 0 ? t1 * R / W : kHuge;
        c.sy = H != 0 ? rr * t2 / H : kHuge;
        c.y0 = rr * sigma;
        if (r.variant == 9) {
            c.hz = r.param4 / 100 * rr;
            tc.mapping = &MapTorus;
        } else {
            c.kz = 2 * rr * r.param4 / 100;
            tc.mapping = &MapSpiral;
        }
        return R == 0 || rr == 0 ? 2 : kNoErr;
    }
    case 11:
        c.theta = Rad(r.param1);
        if (c.oy > 0)
            c.theta = -c.theta;
        c.hf = r.param2 / 100;
        tc.mapping = &MapCylinder;
        return kNoErr;
    default:
        return SetUpRotate(tc, set);
    }
}

const TransformSetup kSetups[kTransformSetupKinds] = {
    &SetUpRotate,  &SetUpVariant, &SetUpVariant, &SetUpVariant, &SetUpVariant, &SetUpVariant,
    &SetUpVariant, &SetUpVariant, &SetUpVariant, &SetUpVariant, &SetUpVariant, &SetUpVariant};

// Frees the path list on every path out.
struct ListGuard {
    ArtList& list;
    ~ListGuard() { ReleaseArtList(list); }
};

struct SetGuard {
    PathSet& set;
    ~SetGuard() { ReleasePaths(set); }
};

} // namespace

const ThreeDRows& ThreeDRowsOf(int variant) {
    if (variant < 0 || variant >= k3DVariantCount)
        variant = 0;
    return kRows[variant];
}

Matrix3 RotationMatrix3(const double degrees[3]) {
    const double a = Rad(degrees[0]), b = Rad(degrees[1]), g = Rad(degrees[2]);
    const double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b),
                 cg = std::cos(g), sg = std::sin(g);
    // Rx(a) . Ry(b) . Rz(g)
    const double ry[3][3] = {{cb, 0, sb}, {0, 1, 0}, {-sb, 0, cb}};
    const double rz[3][3] = {{cg, -sg, 0}, {sg, cg, 0}, {0, 0, 1}};
    const double rx[3][3] = {{1, 0, 0}, {0, ca, -sa}, {0, sa, ca}};
    double yz[3][3] = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                yz[i][j] += ry[i][k] * rz[k][j];
    Matrix3 out{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                out.m[i][j] += rx[i][k] * yz[k][j];
    return out;
}

_3DTFilterParams Limited3DRecord(const _3DTFilterParams& record) {
    _3DTFilterParams r = record;
    if (r.variant < 0 || r.variant >= k3DVariantCount)
        r.variant = 0;
    const ThreeDRows& rows = ThreeDRowsOf(r.variant);
    double* params[4] = {&r.param1, &r.param2, &r.param3, &r.param4};
    for (int i = 0; i < 4; ++i) {
        const ThreeDRow& row = rows.rows[i];
        *params[i] = row.label[0] != '\0' ? Limit(*params[i], row.editLow, row.editHigh)
                                          : Limit(*params[i], -36000, 36000);
    }
    for (int i = 0; i < 3; ++i) {
        r.preRotation[i] = Limit(r.preRotation[i], -kThreeDAngleLimit, kThreeDAngleLimit);
        r.postRotation[i] = Limit(r.postRotation[i], -kThreeDAngleLimit, kThreeDAngleLimit);
    }
    r.perspective = Limit(r.perspective, 0, 100);
    r.centreRatio.x = Limit(r.centreRatio.x, -kThreeDRatioLimit, kThreeDRatioLimit);
    r.centreRatio.y = Limit(r.centreRatio.y, -kThreeDRatioLimit, kThreeDRatioLimit);
    r.transformed = r.transformed != 0 ? 1 : 0;
    return r;
}

void Prepare3DContext(ThreeDContext& c, const _3DTFilterParams& record, const VtgRect& bounds) {
    c.record = Limited3DRecord(record);
    const _3DTFilterParams& r = c.record;
    c.m1 = RotationMatrix3(r.preRotation);
    c.m2 = RotationMatrix3(r.postRotation);
    TransformContext& b = c.base;
    b.data = &c;
    b.setups = kSetups;
    b.kind = r.variant;
    b.param1 = r.param1;
    b.param2 = r.param2;
    b.param3 = r.param3;
    b.param4 = r.param4;
    b.bounds = bounds;
    b.centre = {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    b.width = bounds.right - bounds.left;
    b.height = bounds.top - bounds.bottom;
    c.t = std::hypot(bounds.left - b.centre.x, bounds.top - b.centre.y);
    // No perspective at 0 %: the division by zero counts as overflow.
    double distance = kNoPerspective;
    if (Div(c.t, r.perspective * 0.01, distance) != kNoErr)
        distance = kNoPerspective;
    b.perspectiveDistance = distance;
    const double W = b.width, H = b.height;
    const double h2 = W > H ? std::max(0.05 * W, H) : H;
    const double w2 = h2 > W ? std::max(0.05 * h2, W) : W;
    c.widthUsed = w2;
    c.heightUsed = h2;
    c.ox = w2 * r.centreRatio.x;
    c.oy = h2 * r.centreRatio.y;
}

ErrorCode Map3DPoint(const ThreeDContext& c, double x, double y, double* outX, double* outY,
                     double* outZ) {
    if (c.base.mapping == nullptr)
        return kBadParameterErr;
    return c.base.mapping(c.base, x, y, outX, outY, outZ);
}

ErrorCode Transform3DPaths(ThreeDContext& c, PathSet& set) {
    c.base.data = &c;
    c.base.setups = kSetups;
    return TransformPaths(c.base, set, c.record.variant);
}

ErrorCode Transform3DArt(ArtHandle art, const _3DTFilterParams& record) {
    ArtList list;
    int32_t count = 0, segments = 0;
    VtgRect bounds{};
    if (ErrorCode err = CollectPaths(art, list, &count, &segments, &bounds))
        return err;
    ListGuard listGuard{list};
    if (bounds.top == bounds.bottom && bounds.left == bounds.right)
        return kNoErr;
    PathSet set;
    SetGuard setGuard{set};
    set.bounds = bounds;
    set.pathCount = count;
    if (ErrorCode err = CapturePaths(list, set))
        return err;
    set.sourceSegmentTotal = segments;
    ThreeDContext context;
    Prepare3DContext(context, record, bounds);
    if (ErrorCode err = Transform3DPaths(context, set))
        return err;
    if (ErrorCode err = WriteBackPaths(list, set))
        return err;
    if (count > 1 && context.record.variant != 0 && context.record.transformed != 0)
        return RestorePaintOrder(art, list, set);
    return kNoErr;
}

} // namespace vtg
