// Live Neon's generator: normalise and measure the source copy, then stack
// the glow copies and the graded tube steps on top of the generated group.
#include "live/neon/neon_generator.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/suite_set.hpp"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_path_suite.h"
#include "live/paint_normalize.hpp"
#include "live/shapes.hpp"

namespace vtg {

namespace {

constexpr int32_t kGivenSteps = 3;

bool Suites() {
    return sArt != nullptr && sPath != nullptr;
}

// A stored value as the generator uses it: within the panel's range, an
// infinity at the nearer end, NaN as the default.
double Bounded(double v, double low, double high, double fallback) {
    if (std::isnan(v))
        return fallback;
    return std::clamp(v, low, high);
}

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

int32_t ModeOf(const NeonPGParams& p) {
    return std::clamp(p.stepMode, 0, kGivenSteps);
}

// The given steps per band within what the panel accepts.
int32_t GivenStepsOf(const NeonPGParams& p) {
    return std::clamp(p.stepCount, 2, kMaxNeonCount);
}

// Rounding half away from zero, as a whole number.
std::int64_t Round(double v) {
    return static_cast<std::int64_t>(std::round(v));
}

// The rounded width cut to the range of a 16-bit count.
std::int64_t RoundedWidth(double w) {
    return std::clamp<std::int64_t>(Round(w), 0, std::numeric_limits<int16_t>::max());
}

struct Shift {
    double x = 0, y = 0;
};
Shift Polar(double amount, double angle) {
    return {amount * std::cos(angle), amount * std::sin(angle)};
}

// The copies a stack of N steps makes, glow included.
std::int64_t CopyCount(const NeonPGParams& p, std::int64_t n) {
    std::int64_t copies = n * (p.shadowOn != 0 ? 2 : 1);
    if (p.glowOn != 0)
        copies += NeonGlowPasses(n, Bounded(p.glowWidth, 0, 200, 0.5)) - 1;
    return copies;
}

// Sets the opacity of `art` to its own opacity times `factor`.
ErrorCode FadeArt(ArtHandle art, double factor) {
    double opacity = 1;
    if (ErrorCode err = sArt->GetArtOpacity(art, &opacity))
        return err;
    return sArt->SetArtOpacity(art, opacity * std::clamp(factor, 0.0, 1.0));
}

ErrorCode Duplicate(ArtHandle source, ArtHandle group, ArtHandle& copy) {
    return sArt->DuplicateArt(source, kVtgPlaceInsideOnTop, group, &copy);
}

ErrorCode Glow(ArtHandle group, ArtHandle shape, const NeonPGParams& p, std::int64_t n) {
    const std::vector<NeonGlowCopy> plan =
        NeonGlowPlan(n, Bounded(p.glowWidth, 0, 200, 0.5), Bounded(p.glowContrast, 0, 1, 0.5),
                     Bounded(p.glowCurve, -1, 1, 0));
    for (const NeonGlowCopy& g : plan) {
        ArtHandle copy = nullptr;
        if (ErrorCode err = Duplicate(shape, group, copy))
            return err;
        if (ErrorCode err = NeonStyleStep(copy, g.scale, 1, -1, false, -1))
            return err;
        int32_t kind = 0;
        if (ErrorCode err = sArt->GetArtKind(copy, &kind))
            return err;
        if (kind == kVtgArtGroup || kind == kVtgArtPath || kind == kVtgArtCompoundPath)
            if (ErrorCode err = FadeArt(copy, g.opacity))
                return err;
    }
    return kNoErr;
}

ErrorCode Stack(ArtHandle group, ArtHandle shape, const NeonPGParams& p) {
    const int32_t tracks = NeonTracks(p);
    NeonMeasure m;
    if (ErrorCode err = MeasureNeon(shape, ModeOf(p), tracks, p.autoLineStyle != 0, m))
        return err;
    const std::int64_t n = NeonStackCount(p, m);
    if (n == 0)
        return kNoErr;
    // A stack the document cannot hold is refused before anything is made.
    const std::int64_t copies = CopyCount(p, n);
    std::int64_t segments = 0;
    const std::int64_t limit = kMaxNeonResultSegments / std::max<std::int64_t>(copies, 1);
    if (ErrorCode err = CountSegments(shape, limit, segments))
        return err;
    if (copies > kMaxNeonResultSegments || std::max<std::int64_t>(segments, 1) > limit)
        return kResultTooLargeErr;

    if (p.glowOn != 0)
        if (ErrorCode err = Glow(group, shape, p, n))
            return err;
    const double q = Bounded(p.eccentricity, 0, 200, 0);
    const bool eccentric = q != 0;
    Shift v;
    if (eccentric) {
        v = Polar(q * m.widest, Finite(p.eccentricAngle));
        if (n > 1)
            v = {v.x / static_cast<double>(n), v.y / static_cast<double>(n)};
    }
    const bool shadow = p.shadowOn != 0;
    const double o = Bounded(p.shadowOffset, 0, 16383, 1);
    const Shift s = o != 0 ? Polar(o, Finite(p.lightAngle)) : Shift{};
    const double density = shadow ? Bounded(p.shadowDensity, 0, 1, 1) : -1;
    const bool invert = p.shadowInvert != 0;
    const std::vector<NeonTubeStep> plan =
        NeonTubePlan(n, tracks, Bounded(p.contrast, 0, 200, 1), Bounded(p.gradeCurve, -1, 1, 0));
    Shift running = v;
    for (std::int64_t i = 0; i < n; ++i) {
        const NeonTubeStep& step = plan[static_cast<std::size_t>(i)];
        ArtHandle copy = nullptr;
        if (ErrorCode err = Duplicate(shape, group, copy))
            return err;
        if (ErrorCode err = NeonStyleStep(copy, step.scale, step.weight, 0, invert, density))
            return err;
        // The first copy of a step is its shadow when the shadow is on:
        // moved away from the light.
        Shift move = shadow && o != 0 ? Shift{-s.x, -s.y} : Shift{};
        if (i > 0 && eccentric) {
            move = {move.x + running.x, move.y + running.y};
            running = {running.x + v.x, running.y + v.y};
        }
        if (ErrorCode err = TranslateArt(copy, move.x, move.y))
            return err;
        if (!shadow)
            continue;
        // The tube itself over its shadow.
        if (ErrorCode err = Duplicate(shape, group, copy))
            return err;
        if (ErrorCode err = NeonStyleStep(copy, step.scale, step.weight, 0, invert, -1))
            return err;
        if (i > 0 && eccentric)
            if (ErrorCode err = TranslateArt(copy, running.x, running.y))
                return err;
    }
    return kNoErr;
}

ErrorCode GenerateNeonOps(ArtHandle group, ArtHandle source, const void* record) {
    return BuildNeon(group, source, *static_cast<const NeonPGParams*>(record));
}

const LiveKindOps kNeonOps{.generate = GenerateNeonOps, .firstSourceOnly = true};

} // namespace

int32_t NeonTracks(const NeonPGParams& p) {
    return std::clamp(p.trackCount, 1, kMaxNeonCount);
}

std::int64_t NeonStepsForWidth(double width, int32_t stepMode, int32_t tracks) {
    const double w = std::isfinite(width) && width > 0 ? width : 0.0;
    const std::int64_t t = std::clamp(tracks, 1, kMaxNeonCount);
    switch (stepMode) {
    case 0:
        return w < 3 ? 5 * t + 1 : t * std::max<std::int64_t>(RoundedWidth(w) * 2 / t, 1) + 1;
    case 1:
        return w < 3 ? t + 1 : t * std::max<std::int64_t>(RoundedWidth(w) / t, 1) + 1;
    case 2:
        return w < 3 ? t + 1 : t * std::max<std::int64_t>(RoundedWidth(w / 2) / t, 1) + 1;
    default:
        return 0;
    }
}

ErrorCode MeasureNeon(ArtHandle art, int32_t stepMode, int32_t tracks, bool roundedJoins,
                      NeonMeasure& m) {
    if (!Suites())
        return kSuiteNotFoundErr;
    return ForEachShape(art, [&](ArtHandle path) -> ErrorCode {
        if (ErrorCode err = NormalizePaint(path, roundedJoins))
            return err;
        VtgPathStyle style{};
        if (ErrorCode err = sPath->GetPathStyle(path, &style))
            return err;
        if (style.stroke.on == 0)
            return kNoErr;
        const double w = std::isfinite(style.stroke.width) ? std::max(0.0, style.stroke.width) : 0;
        m.steps = std::max(m.steps, NeonStepsForWidth(w, stepMode, tracks));
        m.widest = std::max(m.widest, w);
        return kNoErr;
    });
}

std::int64_t NeonStackCount(const NeonPGParams& p, const NeonMeasure& m) {
    if (ModeOf(p) == kGivenSteps)
        return static_cast<std::int64_t>(NeonTracks(p)) * (GivenStepsOf(p) - 1) + 1;
    return m.steps == 0 || m.widest == 0 ? 0 : m.steps;
}

double NeonCurveWeight(double a, double contrast, double curve) {
    const double j = 1 - a * contrast;
    if (curve < 0)
        return (1 + curve) * j - curve * (std::sqrt(1 - a * a) * contrast + (1 - contrast));
    if (curve > 0)
        return curve * (1 - std::sqrt(1 - (a - 1) * (a - 1)) * contrast) + (1 - curve) * j;
    return j;
}

std::int64_t NeonGlowPasses(std::int64_t n, double width) {
    const double v = static_cast<double>(n) * width * 2;
    // Beyond any count a document holds: the size check refuses it.
    if (!(v < 1e15))
        return std::numeric_limits<std::int64_t>::max() / 4;
    const std::int64_t r = Round(v);
    return r > 3 ? r : 3;
}

std::vector<NeonGlowCopy> NeonGlowPlan(std::int64_t n, double width, double contrast,
                                       double curve) {
    const std::int64_t m = NeonGlowPasses(n, width);
    const double e = 2 * width / static_cast<double>(m);
    const double d = m > 3 ? 1.0 / static_cast<double>(m - 1) : 0.5;
    std::vector<NeonGlowCopy> out;
    double a = 0, f = 1, h = 2 * width + 1;
    for (std::int64_t i = 0; i < m; ++i) {
        if (f < 1)
            out.push_back({h, std::clamp(1 - std::clamp(f, 0.0, 1.0), 0.0, 1.0)});
        a = std::clamp(a + d, 0.0, 1.0);
        f = NeonCurveWeight(a, contrast, curve) + (1 - f);
        h -= e;
    }
    return out;
}

std::vector<NeonTubeStep> NeonTubePlan(std::int64_t n, int32_t tracks, double contrast,
                                       double curve) {
    std::vector<NeonTubeStep> out;
    if (n <= 0)
        return out;
    const std::int64_t t = std::clamp(tracks, 1, kMaxNeonCount);
    // Every reachable N is at least T + 1, so a band holds one step or more.
    const std::int64_t band = std::max<std::int64_t>(n / t, 1);
    double s = n > 1 ? static_cast<double>(t) / static_cast<double>(n - 1) : 0;
    const double w = 2 / (2 * static_cast<double>(n) - 1);
    double a = 0, f = 1, k = 1;
    out.reserve(static_cast<std::size_t>(n));
    for (std::int64_t i = 0; i < n; ++i) {
        out.push_back({k, f});
        if (i > 0 && i % band == 0)
            s = -s;
        a = std::clamp(a + s, 0.0, 1.0);
        f = NeonCurveWeight(a, contrast, curve);
        k -= w;
    }
    return out;
}

ErrorCode NeonStyleStep(ArtHandle art, double k, double weight, double cut, bool invert,
                        double density) {
    if (!Suites())
        return kSuiteNotFoundErr;
    const double f = std::clamp(Finite(weight), 0.0, 1.0);
    return ForEachShape(art, [&](ArtHandle path) -> ErrorCode {
        VtgPathStyle style{};
        if (ErrorCode err = sPath->GetPathStyle(path, &style))
            return err;
        style.fill.on = 0;
        style.clip = 0;
        if (k != 0) {
            if (cut > 0)
                if (ErrorCode err = FadeArt(path, 1 - cut))
                    return err;
            style.stroke.width *= k;
            if (f < 1 || density >= 0)
                BlendColour(style.stroke, style.fill, f, density, invert);
        } else {
            style.stroke.on = 0;
        }
        return sPath->SetPathStyle(path, &style);
    });
}

ErrorCode BuildNeon(ArtHandle group, ArtHandle source, const NeonPGParams& p) {
    if (!Suites())
        return kSuiteNotFoundErr;
    ArtHandle x = nullptr;
    ErrorCode err = kNoErr;
    if (p.mergeOverlaps != 0)
        err = MakeUnitedCopy(group, source, x);
    if (err == kNoErr)
        err = Stack(group, x != nullptr ? x : source, p);
    // The united shapes only served as the source of the copies.
    if (x != nullptr) {
        const ErrorCode deleted = sArt->DeleteArt(x);
        if (err == kNoErr)
            err = deleted;
    }
    return err;
}

const LiveKindOps& NeonKindOps() {
    return kNeonOps;
}

} // namespace vtg
