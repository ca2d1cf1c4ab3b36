// Live Neon through the host: the stack counts, the tube and glow plans
// against numbers worked out by hand, the colour blend with the shadow's
// inversion, the copies a default neon makes of a red stroke, eccentric and
// shadow copies, the union of overlapping parts, damaged and absurd
// records, the recorded action, and a saved neon that regenerates to the
// same bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "core/suite_set.hpp"
#include "host/actions.hpp"
#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/live_actions.hpp"
#include "live/live_object.hpp"
#include "live/neon/neon_generator.hpp"
#include "live/paint_normalize.hpp"
#include "support/document_fixture.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using vtg::NeonPGParams;

constexpr double kEps = 1e-9;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

VtgColor Colour(int32_t kind, double c0 = 0, double c1 = 0, double c2 = 0, double c3 = 0) {
    VtgColor c{};
    c.kind = kind;
    c.c[0] = c0;
    c.c[1] = c1;
    c.c[2] = c2;
    c.c[3] = c3;
    c.paintMatrix = hostapp::doc::kIdentity;
    return c;
}
VtgColor Rgb(double r, double g, double b) {
    return Colour(kVtgColorRGB, r, g, b);
}

void ExpectColour(const VtgColor& got, const VtgColor& want, const std::string& what) {
    EXPECT_EQ(got.kind, want.kind) << what;
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(got.c[i], want.c[i], kEps) << what << " component " << i;
}

double Left(const ArtNode* a) {
    VtgRect r{};
    hostapp::doc::Bounds(a, hostapp::doc::kIdentity, kVtgBoundsControlPoints, r);
    return r.left;
}

class LiveNeon : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        doc_->colorModel = kVtgColorModelRGB;
        vtg::SetKindDefaults(vtg::kKindNeon, &record_);
    }
    // A square with a 10-point red stroke around a white fill.
    ArtNode* RedSquare(const std::string& id = "square", double x = 100, ArtNode* into = nullptr) {
        ArtNode* a = AddSquare(id, x, 100, 100, into);
        a->s.style.fill.on = 1;
        a->s.style.fill.color = Rgb(1, 1, 1);
        a->s.style.stroke.on = 1;
        a->s.style.stroke.color = Rgb(1, 0, 0);
        a->s.style.stroke.width = 10;
        return a;
    }
    ArtNode* NewGroup(ArtNode* into = nullptr) {
        ArtNode* g = nullptr;
        EXPECT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnBottom, into, g),
                  kNoErr);
        return g;
    }
    // The copies BuildNeon stacks from `source`, bottom first.
    std::vector<ArtNode*> Build(ArtNode* source, const NeonPGParams& p,
                                ErrorCode expected = kNoErr) {
        ArtNode* group = NewGroup();
        EXPECT_EQ(vtg::BuildNeon(DocStore::handle(group), DocStore::handle(source), p), expected);
        return {group->s.children.rbegin(), group->s.children.rend()};
    }
    void Apply() {
        ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindNeon, &record_), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    }

    NeonPGParams record_{};
};

// --- counts and plans -----------------------------------------------------------

TEST_F(LiveNeon, StackCountsFollowTheStrokeWidthAndTheTracks) {
    struct Case {
        double width;
        int32_t tracks;
        std::int64_t mode0, mode1, mode2;
    } cases[] = {
        {10, 1, 21, 11, 6},
        {10, 2, 21, 11, 5},
        {10, 3, 19, 10, 4},
        {2.5, 3, 16, 4, 4},
        {3.5, 1, 9, 5, 3},
        {7, 1, 15, 8, 5},
        {1e9, 1, 65535, 32768, 32768},
        {kNaN, 2, 11, 3, 3},
        {-4, 1, 6, 2, 2},
        // A stored track count below 1 counts as 1.
        {10, 0, 21, 11, 6},
        {10, -3, 21, 11, 6},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.width) + " T=" + std::to_string(c.tracks);
        EXPECT_EQ(vtg::NeonStepsForWidth(c.width, 0, c.tracks), c.mode0) << what;
        EXPECT_EQ(vtg::NeonStepsForWidth(c.width, 1, c.tracks), c.mode1) << what;
        EXPECT_EQ(vtg::NeonStepsForWidth(c.width, 2, c.tracks), c.mode2) << what;
        EXPECT_EQ(vtg::NeonStepsForWidth(c.width, 3, c.tracks), 0) << what;
    }
    // The given count: T x (steps - 1) + 1 whatever the width; a stored
    // count below 2 is read as 2.
    record_.stepMode = 3;
    const vtg::NeonMeasure wide{40, 30};
    for (auto [tracks, steps, n] :
         {std::tuple{1, 3, 3}, std::tuple{4, 5, 17}, std::tuple{2, 1, 3}, std::tuple{2, -7, 3}}) {
        record_.trackCount = tracks;
        record_.stepCount = steps;
        EXPECT_EQ(vtg::NeonStackCount(record_, wide), n) << tracks << " " << steps;
    }
    // Nothing measured: nothing to build.
    record_.stepMode = 1;
    EXPECT_EQ(vtg::NeonStackCount(record_, vtg::NeonMeasure{}), 0);
    EXPECT_EQ(vtg::NeonStackCount(record_, vtg::NeonMeasure{11, 0}), 0);
}

TEST_F(LiveNeon, TubePlanRunsTheGradeThroughItsBands) {
    struct Case {
        const char* what;
        std::int64_t n;
        int32_t tracks;
        double contrast, curve;
        std::vector<double> weights;
    } cases[] = {
        {"one band", 11, 1, 1, 0, {1, 0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1, 0}},
        // B = 5: the sixth copy reaches the fill colour, then the run turns.
        {"two bands", 11, 2, 1, 0, {1, 0.8, 0.6, 0.4, 0.2, 0, 0.2, 0.4, 0.6, 0.8, 1}},
        {"no contrast", 5, 1, 0, 0, {1, 1, 1, 1, 1}},
        // 200 %: the fill colour halfway, and below 0 after it (the blend
        // clamps the weight).
        {"contrast 200 %", 5, 1, 2, 0, {1, 0.5, 0, -0.5, -1}},
        {"curve -100 %", 3, 1, 1, -1, {1, std::sqrt(0.75), 0}},
        {"curve +100 %", 3, 1, 1, 1, {1, 1 - std::sqrt(0.75), 0}},
    };
    for (const Case& c : cases) {
        const std::vector<vtg::NeonTubeStep> plan =
            vtg::NeonTubePlan(c.n, c.tracks, c.contrast, c.curve);
        ASSERT_EQ(plan.size(), c.weights.size()) << c.what;
        for (std::size_t i = 0; i < plan.size(); ++i) {
            EXPECT_NEAR(plan[i].weight, c.weights[i], 1e-12) << c.what << " " << i;
            // Widths run from 1 down by 2 / (2N - 1).
            EXPECT_NEAR(plan[i].scale, 1 - 2.0 * static_cast<double>(i) / (2.0 * c.n - 1), 1e-12)
                << c.what << " " << i;
        }
    }
}

TEST_F(LiveNeon, GlowPlanFadesWiderCopiesUnderTheTube) {
    // N = 11, width 50 %: m = 11 passes, ten copies from 2 - 1/11 down to
    // 1 + 1/11; the fading worked out pass by pass.
    const std::vector<vtg::NeonGlowCopy> plan = vtg::NeonGlowPlan(11, 0.5, 0.5, 0);
    const double opacity[10] = {0.05, 0.05, 0.1, 0.1, 0.15, 0.15, 0.2, 0.2, 0.25, 0.25};
    ASSERT_EQ(plan.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_NEAR(plan[i].scale, 2 - (i + 1) / 11.0, 1e-12) << i;
        EXPECT_NEAR(plan[i].opacity, opacity[i], 1e-12) << i;
    }
    // Width 0: three passes and two copies at the full width.
    const std::vector<vtg::NeonGlowCopy> narrow = vtg::NeonGlowPlan(11, 0, 0.5, 0);
    ASSERT_EQ(narrow.size(), 2u);
    for (const vtg::NeonGlowCopy& g : narrow) {
        EXPECT_DOUBLE_EQ(g.scale, 1);
        EXPECT_NEAR(g.opacity, 0.25, 1e-12);
    }
    // No contrast: the glow never fades in, so no copy is made.
    EXPECT_TRUE(vtg::NeonGlowPlan(11, 0.5, 0, 0).empty());
    EXPECT_EQ(vtg::NeonGlowPasses(11, 0.5), 11);
    EXPECT_EQ(vtg::NeonGlowPasses(1, 1), 3);
}

TEST_F(LiveNeon, BlendTableWithTheShadowInverted) {
    const auto gray = [](double v) { return Colour(kVtgColorGray, v); };
    const auto cmyk = [](double c, double m, double y, double k) {
        return Colour(kVtgColorProcess, c, m, y, k);
    };
    struct Case {
        const char* what;
        VtgColor stroke, fill;
        double weight, density;
        bool inverted;
        VtgColor want;
    } cases[] = {
        {"gray", gray(0.8), gray(0.2), 0.25, -1, true, gray(0.35)},
        {"gray density", gray(0.8), gray(0.2), 0.25, 0.5, false, gray(0.275)},
        {"gray inverted", gray(0.8), gray(0.2), 0.25, 0.5, true, gray(0.575)},
        {"cmyk inverted", cmyk(1, 0, 0.5, 0.4), cmyk(0, 1, 0.5, 0.2), 0.5, 0.6, true,
         cmyk(0.5, 0.5, 0.5, 0.5)},
        {"cmyk inverted, black limited", cmyk(0, 0, 0, 1), cmyk(0, 0, 0, 0), 0.5, 2, true,
         cmyk(0, 0, 0, 1)},
        {"rgb density", Rgb(0, 0, 1), Rgb(1, 0, 0), 0.75, 0.5, false, Rgb(0.625, 0.375, 0.375)},
        {"rgb inverted", Rgb(0, 0, 1), Rgb(1, 0, 0), 0.75, 0.5, true, Rgb(0.125, 0.125, 0.875)},
        {"kinds differ", gray(0.8), Rgb(1, 0, 0), 0.5, 0.5, true, gray(0.8)},
    };
    for (const Case& c : cases) {
        VtgStrokeStyle stroke{};
        VtgFillStyle fill{};
        stroke.color = c.stroke;
        stroke.overprint = 1;
        fill.color = c.fill;
        vtg::BlendColour(stroke, fill, c.weight, c.density, c.inverted);
        ExpectColour(stroke.color, c.want, c.what);
        EXPECT_EQ(stroke.overprint, c.stroke.kind == c.fill.kind ? 0 : 1) << c.what;
    }
}

// --- the stack ------------------------------------------------------------------

TEST_F(LiveNeon, DefaultsOnARedStrokeMakeAGlowAndATubeFromRedToWhite) {
    const std::vector<ArtNode*> copies = Build(RedSquare(), record_);
    ASSERT_EQ(copies.size(), 21u);
    const double glowOpacity[10] = {0.05, 0.05, 0.1, 0.1, 0.15, 0.15, 0.2, 0.2, 0.25, 0.25};
    for (int i = 0; i < 10; ++i) {
        const ArtNode* glow = copies[i];
        const std::string what = "glow " + std::to_string(i);
        EXPECT_EQ(glow->s.style.fill.on, 0) << what;
        EXPECT_NEAR(glow->s.style.stroke.width, 10 * (2 - (i + 1) / 11.0), 1e-9) << what;
        ExpectColour(glow->s.style.stroke.color, Rgb(1, 0, 0), what);
        EXPECT_NEAR(glow->s.opacity, glowOpacity[i], 1e-9) << what;
    }
    for (int i = 0; i < 11; ++i) {
        const ArtNode* step = copies[10 + i];
        const std::string what = "step " + std::to_string(i);
        EXPECT_EQ(step->s.style.fill.on, 0) << what;
        EXPECT_EQ(step->s.style.stroke.on, 1) << what;
        EXPECT_EQ(step->s.style.stroke.cap, kVtgCapRound) << what;
        EXPECT_NEAR(step->s.style.stroke.width, 10 * (1 - 2.0 * i / 21), 1e-9) << what;
        ExpectColour(step->s.style.stroke.color, Rgb(1, i / 10.0, i / 10.0), what);
        EXPECT_DOUBLE_EQ(step->s.opacity, 1) << what;
        EXPECT_DOUBLE_EQ(Left(step), 100) << what;
    }
    // A red shape without a stroke: a red stroke of its width and a white fill.
    ArtNode* filled = RedSquare("filled");
    filled->s.style.stroke.on = 0;
    filled->s.style.fill.color = Rgb(1, 0, 0);
    record_.glowOn = 0;
    const std::vector<ArtNode*> tube = Build(filled, record_);
    ASSERT_EQ(tube.size(), 11u);
    ExpectColour(tube.front()->s.style.stroke.color, Rgb(1, 0, 0), "filled bottom");
    ExpectColour(tube.back()->s.style.stroke.color, Rgb(1, 1, 1), "filled top");
}

TEST_F(LiveNeon, GivenStepsAndThinStrokes) {
    record_.glowOn = 0;
    record_.stepMode = 3;
    EXPECT_EQ(Build(RedSquare(), record_).size(), 3u);
    for (auto [mode, n] : {std::pair{0, 6u}, std::pair{1, 2u}, std::pair{2, 2u}}) {
        record_.stepMode = mode;
        ArtNode* thin = RedSquare("thin");
        thin->s.style.stroke.width = 2;
        EXPECT_EQ(Build(thin, record_).size(), n) << mode;
    }
}

TEST_F(LiveNeon, EccentricStepsMoveFurtherAndShadowsTakeTheDensity) {
    record_.glowOn = 0;
    record_.eccentricity = 1; // 100 % of the 10-point stroke, over 11 steps
    record_.eccentricAngle = 0;
    const std::vector<ArtNode*> tube = Build(RedSquare(), record_);
    ASSERT_EQ(tube.size(), 11u);
    for (int i = 0; i < 11; ++i)
        EXPECT_NEAR(Left(tube[i]), 100 + i * 10 / 11.0, 1e-9) << i;

    record_.eccentricity = 0;
    record_.shadowOn = 1;
    record_.shadowOffset = 2;
    record_.lightAngle = 0;
    const std::vector<ArtNode*> shadowed = Build(RedSquare("s"), record_);
    ASSERT_EQ(shadowed.size(), 22u);
    for (int i = 0; i < 11; ++i) {
        const ArtNode* shadow = shadowed[2 * i];
        const ArtNode* tubeCopy = shadowed[2 * i + 1];
        const std::string what = "step " + std::to_string(i);
        // Density 100 %: black where the weight is 1, towards white after.
        ExpectColour(shadow->s.style.stroke.color, Rgb(i / 10.0, i / 10.0, i / 10.0), what);
        EXPECT_NEAR(Left(shadow), 98, 1e-9) << what;
        ExpectColour(tubeCopy->s.style.stroke.color, Rgb(1, i / 10.0, i / 10.0), what);
        EXPECT_NEAR(Left(tubeCopy), 100, 1e-9) << what;
    }
    // Offset 0: the shadow copies stay in place but take the density.
    record_.shadowOffset = 0;
    const std::vector<ArtNode*> still = Build(RedSquare("t"), record_);
    EXPECT_NEAR(Left(still[0]), 100, 1e-9);
    ExpectColour(still[0]->s.style.stroke.color, Rgb(0, 0, 0), "unmoved shadow");
}

TEST_F(LiveNeon, MergeOverlapsBuildsOneTubeOnTheUnitedOutline) {
    record_.mergeOverlaps = 1;
    record_.glowOn = 0;
    ArtNode* parts = NewGroup();
    RedSquare("a", 100, parts);
    RedSquare("b", 150, parts);
    ArtNode* group = NewGroup();
    ASSERT_EQ(vtg::BuildNeon(DocStore::handle(group), DocStore::handle(parts), record_), kNoErr);
    // Eleven copies of X, each holding Y with the one outline; X itself is gone.
    ASSERT_EQ(group->s.children.size(), 11u);
    for (const ArtNode* copy : group->s.children) {
        ASSERT_EQ(copy->s.children.size(), 1u);
        const ArtNode* y = copy->s.children[0];
        ASSERT_EQ(y->s.children.size(), 1u);
        VtgRect box{};
        hostapp::doc::Bounds(y->s.children[0], hostapp::doc::kIdentity, kVtgBoundsControlPoints,
                             box);
        EXPECT_NEAR(box.left, 100, 1e-3);
        EXPECT_NEAR(box.right, 250, 1e-3);
        EXPECT_EQ(y->s.children[0]->s.style.fill.on, 0);
    }
}

// --- damaged and absurd records --------------------------------------------------

TEST_F(LiveNeon, StoredCountsOutOfRangeAreReadAsTheirLimits) {
    // Track counts 0 and -3 build what 1 builds; given counts 1 and 0 what 2 builds.
    const auto widths = [&](const NeonPGParams& p) {
        std::vector<double> out;
        for (const ArtNode* a : Build(RedSquare(), p)) {
            out.push_back(a->s.style.stroke.width);
            out.push_back(a->s.style.stroke.color.c[1]);
            out.push_back(a->s.opacity);
        }
        return out;
    };
    const std::vector<double> one = widths(record_);
    ASSERT_EQ(one.size(), 21u * 3);
    for (int32_t stored : {0, -3}) {
        NeonPGParams p = record_;
        p.trackCount = stored;
        EXPECT_EQ(widths(p), one) << stored;
    }
    NeonPGParams given = record_;
    given.stepMode = 3;
    given.stepCount = 2;
    const std::vector<double> two = widths(given);
    for (int32_t stored : {1, 0, -40}) {
        NeonPGParams p = given;
        p.stepCount = stored;
        EXPECT_EQ(widths(p), two) << stored;
    }
    // A mode out of range is read as the nearest one.
    NeonPGParams odd = record_;
    odd.stepMode = 9;
    given.stepCount = odd.stepCount;
    EXPECT_EQ(widths(odd), widths(given));
}

TEST_F(LiveNeon, ValuesThatAreNotNumbersGiveNoNaN) {
    record_.contrast = kNaN;
    record_.gradeCurve = kInf;
    record_.glowWidth = kInf;
    record_.glowCurve = kNaN;
    record_.glowContrast = -kInf;
    record_.eccentricity = kInf;
    record_.eccentricAngle = kNaN;
    record_.shadowOn = 1;
    record_.shadowDensity = kNaN;
    record_.shadowOffset = kInf;
    record_.lightAngle = kNaN;
    const std::vector<ArtNode*> copies = Build(RedSquare(), record_);
    ASSERT_FALSE(copies.empty());
    for (const ArtNode* a : copies) {
        EXPECT_TRUE(std::isfinite(a->s.style.stroke.width));
        EXPECT_TRUE(std::isfinite(a->s.opacity));
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(std::isfinite(a->s.style.stroke.color.c[i]));
        for (const PathSegment& s : a->s.segments)
            EXPECT_TRUE(std::isfinite(s.anchor.x) && std::isfinite(s.anchor.y));
    }
}

TEST_F(LiveNeon, AStackBeyondWhatADocumentHoldsIsRefusedAndTheOldResultStays) {
    ArtNode* square = RedSquare();
    Select({square});
    Apply();
    ArtNode* live = TopLevel().at(0);
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    const std::vector<ArtNode*> before = live->s.plugin.result->s.children.at(0)->s.children;
    ASSERT_EQ(before.size(), 21u);
    // 32767 bands of 32767 steps: about a thousand million copies.
    NeonPGParams huge = record_;
    huge.trackCount = 32767;
    huge.stepMode = 3;
    huge.stepCount = 32767;
    EXPECT_TRUE(Build(RedSquare("other"), huge, vtg::kResultTooLargeErr).empty());
    Select({live});
    ASSERT_EQ(vtg::UpdateSelectedLiveObjectsOf(vtg::kKindNeon, &huge, 8), kNoErr);
    EXPECT_EQ(hostapp::UpdatePluginArt(host(), live), vtg::kResultTooLargeErr);
    EXPECT_EQ(live->s.plugin.result->s.children.at(0)->s.children, before);
}

// --- the live object --------------------------------------------------------------

TEST_F(LiveNeon, OnlyTheFirstSourceIsBuiltAndASavedNeonRegeneratesToTheSameBytes) {
    ArtNode* group = NewGroup();
    RedSquare("front", 100, group);
    RedSquare("back", 200, group);
    Select({group});
    record_.trackCount = 2;
    record_.shadowOn = 1;
    record_.eccentricity = 0.3;
    Apply();
    ArtNode* live = TopLevel().at(0);
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    ASSERT_EQ(live->s.plugin.result->s.children.size(), 1u);
    const std::size_t copies = live->s.plugin.result->s.children[0]->s.children.size();
    EXPECT_EQ(copies, 10u + 2 * 11u);
    // A second source below the first in the edit group is left out.
    ArtNode* extra = RedSquare("extra", 300);
    ASSERT_EQ(hostapp::doc::MoveArt(extra, kVtgPlaceInsideOnBottom, live->s.plugin.edit), kNoErr);
    ASSERT_EQ(hostapp::UpdatePluginArt(host(), live), kNoErr);
    ASSERT_EQ(live->s.plugin.result->s.children.size(), 1u);
    EXPECT_EQ(live->s.plugin.result->s.children[0]->s.children.size(), copies);
    const std::string saved = hostapp::svg::WriteSvgText(*doc_);
    Document* reopened = nullptr;
    hostapp::svg::SvgError error;
    ASSERT_TRUE(hostapp::svg::ReadSvgText(host().docs(), saved, "saved.svg", reopened, error))
        << error.message;
    ArtNode* again = reopened->layers[0]->group->s.children[0];
    again->s.plugin.result->s.children.clear();
    ASSERT_EQ(hostapp::UpdateAllPluginArt(host(), *reopened), kNoErr);
    EXPECT_EQ(hostapp::svg::WriteSvgText(*reopened), saved);
}

TEST_F(LiveNeon, ApplyRecordsTheActionAndAReplayMakesTheSameNeon) {
    host().actions().startRecording();
    record_.trackCount = 3;
    record_.glowOn = 0;
    record_.shadowOn = 1;
    record_.shadowInvert = 1;
    record_.stepMode = 3;
    record_.stepCount = 4;
    Select({RedSquare()});
    Apply();
    host().actions().stopRecording();
    ASSERT_EQ(host().actions().events().size(), 1u);
    EXPECT_EQ(host().actions().events()[0].action, "VtG4_Neon_Action");
    auto* panel = static_cast<NeonPGParams*>(vtg::gGlobals->liveObjectParams[vtg::kKindNeon]);
    vtg::SetKindDefaults(vtg::kKindNeon, panel);
    Select({RedSquare("other", 250)});
    std::string reason;
    ASSERT_EQ(host().playActions(&reason), kNoErr) << reason;
    EXPECT_EQ(panel->trackCount, 3);
    EXPECT_EQ(panel->stepCount, 4);
    EXPECT_EQ(panel->glowOn, 0);
    EXPECT_EQ(panel->shadowInvert, 1);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    int made = 0;
    for (const ArtNode* a : TopLevel())
        if (a->s.kind == kVtgArtPlugin) {
            ++made;
            // 3 x (4 - 1) + 1 steps, each with its shadow.
            EXPECT_EQ(a->s.plugin.result->s.children.at(0)->s.children.size(), 20u);
        }
    EXPECT_EQ(made, 2);
}

} // namespace
