// Live Cutout, Live Shadow and Live Emboss through the host: the colour
// rules as tables (gray, RGB, CMYK, spot, gradient, none), the copies of the
// defaults against hand-worked widths, colours and shifts, the options that
// leave parts out, group sources, damaged records, and Apply through the
// shared walk with a saved file that regenerates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/cutout/cutout_generator.hpp"
#include "live/emboss/emboss_generator.hpp"
#include "live/live_object.hpp"
#include "live/shade_colour.hpp"
#include "support/document_fixture.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;

constexpr double kEps = 1e-9;
constexpr double kDeg = std::numbers::pi / 180;

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
VtgColor Gray(double v) {
    return Colour(kVtgColorGray, v);
}
VtgColor Cmyk(double c, double m, double y, double k) {
    return Colour(kVtgColorProcess, c, m, y, k);
}
VtgColor Spot(VtgColor process, double tint) {
    VtgColor c = process;
    c.spotKind = process.kind;
    c.kind = kVtgColorSpot;
    c.tint = tint;
    std::strncpy(c.spotName, "Ink", sizeof c.spotName - 1);
    return c;
}

void ExpectColour(const VtgColor& got, const VtgColor& want, const std::string& what) {
    EXPECT_EQ(got.kind, want.kind) << what;
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(got.c[i], want.c[i], 1e-6) << what << " component " << i;
}

// The colour rules on one colour of each kind.
TEST(LightColours, DarkenAdjustAndShadeTables) {
    const VtgColor gradient = Colour(kVtgColorGradient), none = Colour(kVtgColorNone);
    struct Case {
        const char* what;
        int rule; // 0 darken, 1 adjust, 2 shade mode 0, 3 shade mode 1
        VtgColor in;
        double a, b;
        VtgColor out;
    } cases[] = {
        {"darken gray", 0, Gray(0.2), 0.5, 0, Gray(0.2 * 1.5 + 0.5)},
        {"darken white gray", 0, Gray(0), 0.4, 0, Gray(0.4)},
        {"lighten gray", 0, Gray(0.5), -0.5, 0, Gray(0.25)},
        {"darken cmyk", 0, Cmyk(0.2, 0.4, 0.6, 0.1), 0.5, 0, Cmyk(0.3, 0.6, 0.9, 0.65)},
        {"darken rgb", 0, Rgb(1, 0.5, 0), 0.6, 0, Rgb(0.4, 0.2, 0)},
        {"lighten rgb", 0, Rgb(1, 0.2, 0), -0.5, 0, Rgb(1, 0.8, 0.5)},
        {"darken spot: process first", 0, Spot(Cmyk(0, 1, 0, 0), 0.5), 0.5, 0,
         Cmyk(0, 0.75, 0, 0.5)},
        {"darken rgb spot", 0, Spot(Rgb(1, 0, 0), 0), 0.5, 0, Rgb(0.5, 0, 0)},
        {"darken limited to 1", 0, Cmyk(0.8, 0, 0, 0.9), 0.9, 0, Cmyk(1, 0, 0, 1)},
        {"darken gradient: unchanged", 0, gradient, 0.5, 0, gradient},
        {"darken none: unchanged", 0, none, 0.5, 0, none},
        {"adjust white gray stays white", 1, Gray(0), 0.6667, 0, Gray(0)},
        {"adjust gray", 1, Gray(0.3), 0.5, 0, Gray(0.45)},
        {"adjust cmyk adds to black", 1, Cmyk(0, 0, 0, 0), 0.5, 0, Cmyk(0, 0, 0, 0.5)},
        {"adjust rgb lighter", 1, Rgb(1, 0, 0), -0.6667, 0, Rgb(1, 0.6667, 0.6667)},
        {"shade gray", 2, Gray(1), 1.0 / 3, 0, Gray(2.0 / 3)},
        {"shade rgb red", 2, Rgb(1, 0, 0), 1.0 / 3, 0, Rgb(2.0 / 3, 1.0 / 3, 1.0 / 3)},
        {"shade cmyk", 2, Cmyk(0.6, 0.3, 0, 0), 0.5, 0.5, Cmyk(0.3, 0.15, 0, 0.25)},
        {"shade spot", 2, Spot(Cmyk(1, 0, 0, 0), 0), 0.5, 0, Cmyk(0.5, 0, 0, 0.5)},
        {"shade through, rgb", 3, Rgb(1, 0, 0), 0.6, 0.5, Rgb(1 - 0.075, 0, 0)},
        {"shade through, gray", 3, Gray(0.5), 0.6, 0.5, Gray(0.5 * 1.3 + 0.075)},
        {"shade gradient: unchanged", 2, gradient, 0.5, 0.5, gradient},
    };
    for (const Case& c : cases) {
        VtgColor x = c.in;
        switch (c.rule) {
        case 0:
            vtg::DarkenColour(x, c.a);
            break;
        case 1:
            vtg::AdjustColour(x, c.a);
            break;
        default:
            vtg::ShadeColour(x, c.a, c.b, c.rule - 2);
        }
        ExpectColour(x, c.out, c.what);
    }
    // The seen-through stroke blends towards the unshaded fill.
    struct Blend {
        const char* what;
        VtgColor stroke, fill, out;
    } blends[] = {
        {"rgb", Rgb(0, 0, 1), Rgb(1, 0, 0), Rgb(0.7 - 0.075, -0.075, 0.3 - 0.075)},
        {"gray", Gray(1), Gray(0), Gray(0.3 + 0.075)},
        {"kinds differ: unchanged", Gray(1), Rgb(1, 0, 0), Gray(1)},
        {"spot and spot", Spot(Cmyk(1, 0, 0, 0), 0), Spot(Cmyk(0, 1, 0, 0), 0),
         Cmyk(0.3, 0.7, 0, 0.075)},
    };
    for (const Blend& b : blends) {
        VtgColor x = b.stroke;
        vtg::BlendWithFill(x, b.fill, 0.6, 0.5);
        VtgColor want = b.out;
        for (double& v : want.c)
            v = std::clamp(v, 0.0, 1.0);
        ExpectColour(x, want, b.what);
    }
}

class LiveLight : public vtgtest::DocumentTest {
protected:
    ArtNode* RedSquare(const std::string& id = "square", ArtNode* into = nullptr) {
        ArtNode* a = AddSquare(id, 100, 100, 100, into);
        a->s.style = hostapp::doc::DefaultPathStyle();
        a->s.style.fill.on = 1;
        a->s.style.fill.color = Rgb(1, 0, 0);
        a->s.style.stroke.on = 0;
        return a;
    }
    ArtNode* NewGroup(ArtNode* into = nullptr) {
        ArtNode* g = nullptr;
        EXPECT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnBottom, into, g),
                  kNoErr);
        return g;
    }
    // A kind's update as the host runs it: `source` in an edit group, the
    // result in a group of its own, which is returned.
    ArtNode* Build(vtg::LiveObjectKind kind, ArtNode* source, const void* record) {
        ArtNode* edit = NewGroup();
        ArtNode* result = NewGroup();
        EXPECT_EQ(hostapp::doc::MoveArt(source, kVtgPlaceInsideOnTop, edit), kNoErr);
        const vtg::LiveKindOps* ops = vtg::LiveKindOperations(kind);
        EXPECT_NE(ops, nullptr);
        EXPECT_EQ(ops->update(DocStore::handle(edit), DocStore::handle(result), record), kNoErr);
        EXPECT_TRUE(edit->s.children.size() == 1) << "the working copy is gone";
        return result;
    }
    static VtgRect Box(const ArtNode* a) {
        VtgRect r{};
        hostapp::doc::Bounds(a, hostapp::doc::kIdentity, kVtgBoundsControlPoints, r);
        return r;
    }
    template <typename R> static R Defaults(vtg::LiveObjectKind kind) {
        R r{};
        vtg::SetKindDefaults(kind, &r);
        return r;
    }
};

// The defaults on a red square: five shade copies with strokes of 10, 8, 6,
// 4 and 2 points darkened by 66.67 % .. 13.3 %, then the shifted square, all
// shifted 5 points away from the light at 135° and clipped by the outline.
TEST_F(LiveLight, CutoutDefaultsOnARedSquare) {
    const auto p = Defaults<vtg::CutoutPGParams>(vtg::kKindCutout);
    ASSERT_NEAR(p.shade, 0.6667, kEps);
    ASSERT_EQ(p.steps, 5);
    ArtNode* result = Build(vtg::kKindCutout, RedSquare(), &p);
    ASSERT_EQ(result->s.children.size(), 1u);
    ArtNode* g = result->s.children[0];
    ASSERT_EQ(g->s.children.size(), 1u);
    ArtNode* k = g->s.children[0];
    EXPECT_EQ(k->s.kind, kVtgArtGroup);
    EXPECT_NE(k->s.attributes & kVtgArtClipping, 0);
    // Front to back: the shifted square, the shade copies narrowest first,
    // the clipping path at the bottom.
    ASSERT_EQ(k->s.children.size(), 7u);
    const double shift = 5 * std::cos(135 * kDeg); // -3.5355: dx; dy = +3.5355
    const ArtNode* top = k->s.children[0];
    ExpectColour(top->s.style.fill.color, Rgb(1, 0, 0), "the shifted square");
    EXPECT_EQ(top->s.style.stroke.on, 0);
    EXPECT_NEAR(Box(top).left, 100 - shift, 1e-9);
    EXPECT_NEAR(Box(top).bottom, 100 + shift, 1e-9);
    const double widths[5] = {2, 4, 6, 8, 10};
    const double darkening[5] = {0.13334, 0.26668, 0.40002, 0.53336, 0.6667};
    for (int j = 0; j < 5; ++j) {
        const ArtNode* c = k->s.children[1 + j];
        const VtgPathStyle& s = c->s.style;
        EXPECT_EQ(s.stroke.on, 1) << j;
        EXPECT_NEAR(s.stroke.width, widths[j], 1e-9) << j;
        EXPECT_EQ(s.stroke.join, j == 4 ? kVtgJoinMiter : kVtgJoinRound) << j;
        EXPECT_EQ(s.stroke.cap, kVtgCapButt);
        ExpectColour(s.fill.color, Rgb(1 - darkening[j], 0, 0), "fill " + std::to_string(j));
        ExpectColour(s.stroke.color, Rgb(1 - darkening[j], 0, 0), "stroke " + std::to_string(j));
        EXPECT_NEAR(Box(c).left, 100 - shift, 1e-9) << j;
    }
    const ArtNode* clip = k->s.children.back();
    EXPECT_NE(clip->s.attributes & kVtgArtClipping, 0);
    EXPECT_EQ(clip->s.style.fill.on, 0);
    EXPECT_EQ(clip->s.style.stroke.on, 0);
    EXPECT_NEAR(Box(clip).left, 100, 1e-9) << "the clip is the source's own outline";
}

// A source without fill is cut out as white; a group mirrors its grouping.
TEST_F(LiveLight, CutoutOfAnUnfilledPathAndOfAGroup) {
    auto p = Defaults<vtg::CutoutPGParams>(vtg::kKindCutout);
    p.steps = 1;
    ArtNode* bare = RedSquare("bare");
    bare->s.style.fill.on = 0;
    bare->s.style.stroke.on = 1;
    ArtNode* result = Build(vtg::kKindCutout, bare, &p);
    const ArtNode* k = result->s.children.at(0)->s.children.at(0);
    ASSERT_EQ(k->s.children.size(), 3u);
    ExpectColour(k->s.children[0]->s.style.fill.color, Rgb(1, 1, 1), "white on top");
    EXPECT_EQ(k->s.children[0]->s.style.stroke.on, 0);
    ExpectColour(k->s.children[1]->s.style.fill.color, Rgb(1 - 0.6667, 1 - 0.6667, 1 - 0.6667),
                 "white darkened");

    ArtNode* group = NewGroup();
    RedSquare("a", group);
    RedSquare("b", group);
    result = Build(vtg::kKindCutout, group, &p);
    const ArtNode* mirrored = result->s.children.at(0)->s.children.at(0);
    EXPECT_EQ(mirrored->s.kind, kVtgArtGroup);
    ASSERT_EQ(mirrored->s.children.size(), 2u);
    for (const ArtNode* cut : mirrored->s.children) {
        EXPECT_NE(cut->s.attributes & kVtgArtClipping, 0);
        EXPECT_EQ(cut->s.children.size(), 3u);
    }
}

TEST_F(LiveLight, ShadowCopiesAndTheSeenThroughPart) {
    struct Case {
        const char* what;
        double shade, transparency;
        bool through; // the clipped seen-through group is made
    } cases[] = {{"defaults", 1.0 / 3, 0, false},
                 {"transparent", 0.6, 0.5, true},
                 {"no shade", 0, 0.5, false}};
    for (const Case& c : cases) {
        auto p = Defaults<vtg::ShadowPGParams>(vtg::kKindShadow);
        p.shade = c.shade;
        p.transparency = c.transparency;
        ArtNode* result = Build(vtg::kKindShadow, RedSquare(), &p);
        const ArtNode* g = result->s.children.at(0);
        ASSERT_EQ(g->s.children.size(), c.through ? 3u : 2u) << c.what;
        const ArtNode* shadow = g->s.children.back();
        const ArtNode* source = g->s.children[c.through ? 1 : 0];
        ExpectColour(source->s.style.fill.color, Rgb(1, 0, 0), c.what);
        EXPECT_NEAR(Box(source).left, 100, 1e-9) << c.what;
        // 10 points away from the light at 135°: to the lower right.
        EXPECT_NEAR(Box(shadow).left, 100 + 10 * std::sqrt(0.5), 1e-9) << c.what;
        EXPECT_NEAR(Box(shadow).bottom, 100 - 10 * std::sqrt(0.5), 1e-9) << c.what;
        const double a = c.shade, k = (1 - c.transparency) * a;
        ExpectColour(shadow->s.style.fill.color, Rgb(1 - k, 1 - a - k, 1 - a - k), c.what);
        if (!c.through)
            continue;
        const ArtNode* h = g->s.children[0];
        EXPECT_NE(h->s.attributes & kVtgArtClipping, 0) << c.what;
        ASSERT_EQ(h->s.children.size(), 2u);
        const ArtNode* clip = h->s.children[0];
        EXPECT_NE(clip->s.attributes & kVtgArtClipping, 0);
        EXPECT_EQ(clip->s.style.fill.on, 0);
        const double kk = (1 - c.transparency) * a * c.transparency * 0.5;
        ExpectColour(h->s.children[1]->s.style.fill.color, Rgb(1 - kk, 0, 0),
                     std::string(c.what) + " seen through");
    }
}

// Defaults: one highlight copy 66.67 % lighter 1 point towards the upper
// left, one shade copy 66.67 % darker 1 point to the lower right, and the
// unchanged source above them.
TEST_F(LiveLight, EmbossStepsStylesAndReverse) {
    struct Case {
        const char* what;
        int32_t style, steps, reverse;
        double contrast;
        // Expected copies in the generated group, front to back: lighter
        // (true) or darker, with their step.
        std::vector<std::pair<bool, int>> copies;
    } cases[] = {
        {"defaults", 0, 1, 0, 0.6667, {{true, 1}, {false, 1}}},
        {"four steps",
         0,
         4,
         0,
         0.8,
         {{true, 1},
          {false, 1},
          {true, 2},
          {false, 2},
          {true, 3},
          {false, 3},
          {true, 4},
          {false, 4}}},
        {"highlight only", 1, 2, 0, 0.6, {{true, 1}, {true, 2}}},
        {"shade only", 2, 2, 0, 0.6, {{false, 1}, {false, 2}}},
        {"reversed", 0, 1, 1, 0.5, {{true, 1}, {false, 1}}},
        {"no steps stored", 0, 0, 0, 0.5, {}},
        {"negative steps stored", 0, -7, 0, 0.5, {}},
    };
    for (const Case& c : cases) {
        auto p = Defaults<vtg::EmbossPGParams>(vtg::kKindEmboss);
        p.embossStyle = c.style;
        p.steps = c.steps;
        p.reverse = c.reverse;
        p.contrast = c.contrast;
        ArtNode* result = Build(vtg::kKindEmboss, RedSquare(), &p);
        ASSERT_EQ(result->s.children.size(), 2u) << c.what;
        const ArtNode* unchanged = result->s.children[0];
        ExpectColour(unchanged->s.style.fill.color, Rgb(1, 0, 0), c.what);
        EXPECT_NEAR(Box(unchanged).left, 100, 1e-9);
        const ArtNode* q = result->s.children[1];
        ASSERT_EQ(q->s.children.size(), c.copies.size()) << c.what;
        const int n = std::max(1, c.steps);
        const double unit = (c.reverse != 0 ? -1 : 1) * std::sqrt(0.5) / n; // offset 1 at 135°
        for (size_t j = 0; j < c.copies.size(); ++j) {
            const auto [light, step] = c.copies[j];
            const double t = step * c.contrast / n;
            const ArtNode* copy = q->s.children[j];
            const std::string what = std::string(c.what) + " copy " + std::to_string(j);
            ExpectColour(copy->s.style.fill.color, light ? Rgb(1, t, t) : Rgb(1 - t, 0, 0), what);
            // Towards the light is up and to the left (unless reversed).
            const double dx = (light ? -1 : 1) * step * unit;
            EXPECT_NEAR(Box(copy).left, 100 + dx, 1e-9) << what;
            EXPECT_NEAR(Box(copy).bottom, 100 - dx, 1e-9) << what;
        }
    }
}

// Damaged records: stored values no panel gives build without a crash:
// counts of none or fewer make no steps, values that are not numbers count
// as 0.
TEST_F(LiveLight, DamagedRecordsBuildAsTheirClampedValues) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (int32_t steps : {0, -1, std::numeric_limits<int32_t>::min()}) {
        auto p = Defaults<vtg::CutoutPGParams>(vtg::kKindCutout);
        p.steps = steps;
        ArtNode* result = Build(vtg::kKindCutout, RedSquare(), &p);
        // No shade copies: the shifted source and the clipping path.
        EXPECT_EQ(result->s.children.at(0)->s.children.at(0)->s.children.size(), 2u) << steps;
    }
    {
        auto p = Defaults<vtg::CutoutPGParams>(vtg::kKindCutout);
        p.offset = nan;
        p.lightAngle = inf;
        p.shade = nan;
        ArtNode* result = Build(vtg::kKindCutout, RedSquare(), &p);
        const ArtNode* top = result->s.children.at(0)->s.children.at(0)->s.children.at(0);
        EXPECT_NEAR(Box(top).left, 100, 1e-9);
        ExpectColour(top->s.style.fill.color, Rgb(1, 0, 0), "unshaded");
    }
    {
        auto p = Defaults<vtg::ShadowPGParams>(vtg::kKindShadow);
        p.offset = inf;
        p.shade = nan;
        p.transparency = 5;
        ArtNode* result = Build(vtg::kKindShadow, RedSquare(), &p);
        EXPECT_EQ(result->s.children.at(0)->s.children.size(), 2u);
    }
    {
        auto p = Defaults<vtg::EmbossPGParams>(vtg::kKindEmboss);
        p.embossStyle = 99; // neither 1 nor 2: both sides
        p.contrast = -inf;
        p.offset = nan;
        ArtNode* result = Build(vtg::kKindEmboss, RedSquare(), &p);
        EXPECT_EQ(result->s.children.at(1)->s.children.size(), 2u);
    }
}

// Apply on a file's art through the shared walk: the live objects are made,
// saved, reopened and regenerated to the same file.
TEST_F(LiveLight, AppliedObjectsRegenerateAfterSaving) {
    for (vtg::LiveObjectKind kind : {vtg::kKindCutout, vtg::kKindShadow, vtg::kKindEmboss}) {
        doc_ = host().docs().newDocument(400, 400);
        host().notify(kNotifyDocumentOpened, nullptr);
        ArtNode* square = RedSquare();
        Select({square});
        std::vector<double> record(vtg::KindBlockSize(kind) / sizeof(double) + 1);
        vtg::SetKindDefaults(kind, record.data());
        ASSERT_EQ(vtg::MakeLiveObjectsOf(kind, record.data()), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
        ASSERT_EQ(TopLevel().size(), 1u);
        ArtNode* live = TopLevel()[0];
        ASSERT_EQ(live->s.kind, kVtgArtPlugin) << kind;
        EXPECT_FALSE(live->s.plugin.result->s.children.empty()) << kind;
        const std::string saved = hostapp::svg::WriteSvgText(*doc_);
        hostapp::doc::Document* again = nullptr;
        hostapp::svg::SvgError error;
        ASSERT_TRUE(hostapp::svg::ReadSvgText(host().docs(), saved, "in.svg", again, error));
        ArtNode* reread = again->layers[0]->group->s.children.at(0);
        ASSERT_EQ(hostapp::UpdatePluginArt(host(), reread), kNoErr);
        EXPECT_EQ(hostapp::svg::WriteSvgText(*again), saved) << kind;
    }
}

} // namespace
