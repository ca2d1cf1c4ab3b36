// Live 3D Path through the host: each variant's mapping at chosen points
// against numbers worked out by hand, perspective on and off, the limits of
// damaged records, the stacking by depth, Apply making one object from the
// selection, and the 3D rotate tool's steps and gesture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/plugin_globals.hpp"
#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/live_object.hpp"
#include "live/path3d/path3d_object.hpp"
#include "live/path3d/path3d_transform.hpp"
#include "params/live_params.hpp"
#include "support/document_fixture.hpp"
#include "tools/rotate3d/rotate3d_tool.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using vtg::_3DTFilterParams;

constexpr double kPi = 3.14159265358979323846;
constexpr double kTol = 1e-6;

_3DTFilterParams Record(int variant) {
    _3DTFilterParams p{};
    p.variant = static_cast<int16_t>(variant);
    p.transformed = 1;
    return p;
}

// The 100 x 50 box from (0, 0): Q = (50, 25), t = 55.9017.
const VtgRect kBox{0, 50, 100, 0};

struct MapCase {
    const char* what;
    _3DTFilterParams record;
    VtgPoint centre; // the expected mapping centre
    double x, y;     // relative to it
    double ex, ey, ez;
};

_3DTFilterParams With(int variant, double p1, double p2, double p3, double p4, double h, double v) {
    _3DTFilterParams p = Record(variant);
    p.param1 = p1;
    p.param2 = p2;
    p.param3 = p3;
    p.param4 = p4;
    p.centreRatio = {h, v};
    return p;
}

class Live3DPath : public vtgtest::DocumentTest {
protected:
    // Runs the variant's set-up on an empty path set; returns its status.
    ErrorCode SetUp3D(vtg::ThreeDContext& c, const _3DTFilterParams& p, const VtgRect& box) {
        vtg::Prepare3DContext(c, p, box);
        vtg::PathSet set;
        const ErrorCode err = vtg::Transform3DPaths(c, set);
        return err != kNoErr ? err : set.status;
    }
    ArtNode* Rectangle(const std::string& id, double x, double y, double w, double h) {
        ArtNode* a = AddSquare(id, x, y, w);
        a->s.segments = {vtgtest::Corner(x, y), vtgtest::Corner(x + w, y),
                         vtgtest::Corner(x + w, y + h), vtgtest::Corner(x, y + h)};
        return a;
    }
    // The paths of a live object's result, top first.
    static std::vector<ArtNode*> ResultPaths(ArtNode* live) {
        std::vector<ArtNode*> paths;
        hostapp::doc::Walk(live->s.plugin.result, true, [&](ArtNode* a) {
            if (a->s.kind == kVtgArtPath)
                paths.push_back(a);
            return true;
        });
        return paths;
    }
    static void ExpectFinite(ArtNode* root) {
        hostapp::doc::Walk(root, true, [&](ArtNode* a) {
            for (const PathSegment& s : a->s.segments)
                for (VtgPoint p : {s.anchor, s.in, s.out})
                    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << a->s.name;
            return true;
        });
    }
};

TEST_F(Live3DPath, EachVariantMapsChosenPointsAsWorkedByHand) {
    _3DTFilterParams rotate = With(0, 0, 0, 0, 0, 0.5, -0.5);
    rotate.preRotation[0] = -70;
    _3DTFilterParams before = With(1, 180, 0, 0, 0, 5, 5);
    before.transformed = 0;
    before.preRotation[2] = 90;
    const double t = std::hypot(50.0, 25.0);
    const double s45 = std::sqrt(0.5);
    const MapCase cases[] = {
        // Turned back by 70 degrees about x through the bottom-right corner.
        {"rotate: centre", rotate, {100, 0}, 0, 0, 0, 0, 0},
        {"rotate: top-left corner",
         rotate,
         {100, 0},
         -100,
         50,
         -100,
         17.101007166283438,
         -46.984631039295421},
        {"pre-rotation only: centre Q", before, {50, 25}, 10, 0, 0, 10, 0},
        {"twist: left edge", With(1, 180, 0, 0, 0, 0, 0), {50, 25}, -50, 10, -50, 10, 0},
        {"twist: right edge", With(1, 180, 0, 0, 0, 0, 0), {50, 25}, 50, 10, 50, -10, 0},
        {"twist: middle", With(1, 180, 0, 0, 0, 0, 0), {50, 25}, 0, 10, 0, 0, 10},
        {"arc: origin", With(2, 120, 0, 0, 0, 0, -1.5), {50, -50}, 0, 0, 0, 0, 0},
        {"arc: middle", With(2, 120, 0, 0, 0, 0, -1.5), {50, -50}, 0, 75, 0, 75, 0},
        {"arc: right middle",
         With(2, 120, 0, 0, 0, 0, -1.5),
         {50, -50},
         50,
         75,
         75 * std::cos(kPi / 6),
         37.5,
         0},
        {"screw: origin", With(3, 720, 0, 100, 0, 0, 1), {50, 75}, 0, 0, 0, 0, -12.5},
        {"screw: half turn", With(3, 720, 0, 100, 0, 0, 1), {50, 75}, 25, -10, 0, 10, -37.5},
        {"spin 1: centre", With(4, 60, 1, 0, 0, 0, 0), {50, 25}, 0, 0, 0, 0, 0},
        {"spin 1: corner", With(4, 60, 1, 0, 0, 0, 0), {50, 25}, 50, 25, 50, 25, 0},
        {"spin 1: inside",
         With(4, 60, 1, 0, 0, 0, 0),
         {50, 25},
         20,
         0,
         15.644827156122448,
         -12.459509751794155,
         0},
        {"spin 2: inside",
         With(4, 60, 2, 0, 0, 0, 0),
         {50, 25},
         20,
         0,
         13.17455071730998,
         -15.047631487946102,
         0},
        {"spin 3: inside",
         With(4, 60, 3, 0, 0, 0, 0),
         {50, 25},
         20,
         0,
         19.998088370750114,
         -0.27651675477077825,
         0},
        {"wave hv: on x", With(5, 20, 1, 20, 1, 0, 0), {50, 25}, 25, 0, 25, 10, 0},
        {"wave hv: on y", With(5, 20, 1, 20, 1, 0, 0), {50, 25}, 0, 12.5, -5, 12.5, 0},
        {"wave z", With(6, 20, 1, 20, 1, 0, 0), {50, 25}, 25, 12.5, 25, 12.5, 15},
        {"wave r: centre", With(7, 20, 1, 0, 0, 0, 0), {50, 25}, 0, 0, 0, 0, 0.2 * t / 2},
        {"wave r: corner", With(7, 20, 1, 0, 0, 0, 0), {50, 25}, 50, 25, 50, 25, 0.2 * t / 2},
        {"sphere: origin", With(8, 360, 90, 90, 100, 0, 2), {50, 25}, 0, 0, 100, 0, 0},
        {"sphere: quarter", With(8, 360, 90, 90, 100, 0, 2), {50, 25}, 25, 0, 0, 100, 0},
        {"sphere: latitude 45",
         With(8, 360, 90, 90, 100, 0, 2),
         {50, 25},
         0,
         12.5,
         100 * s45,
         0,
         100 * s45},
        {"sphere: pole", With(8, 360, 90, 90, 100, 0, 2), {50, 25}, 0, 25, 0, 0, 100},
        {"torus: outer", With(9, 360, 360, 0, 100, 0.05, 2), {50, 25}, 0, 0, 105, 0, 0},
        {"torus: inner", With(9, 360, 360, 0, 100, 0.05, 2), {50, 25}, 0, 25, 95, 0, 0},
        {"torus: quarter", With(9, 360, 360, 0, 100, 0.05, 2), {50, 25}, 25, 0, 0, 105, 0},
        {"torus: tube 45",
         With(9, 360, 360, 0, 100, 0.05, 2),
         {50, 25},
         0,
         6.25,
         100 + 5 * s45,
         0,
         5 * s45},
        {"spiral: origin", With(10, 720, 360, 0, 200, 0.1, 1), {50, 25}, 0, 0, 60, 0, 0},
        {"spiral: half turn", With(10, 720, 360, 0, 200, 0.1, 1), {50, 25}, 25, 0, -60, 0, -20},
        {"cylinder: middle", With(11, 360, 100, 0, 0, 0, 0.5), {50, 50}, 0, -25, 0, -25, 0},
        {"cylinder: quarter", With(11, 360, 100, 0, 0, 0, 0.5), {50, 50}, 25, -25, 25, 0, 0},
    };
    for (const MapCase& c : cases) {
        vtg::ThreeDContext context;
        const ErrorCode status = SetUp3D(context, c.record, kBox);
        EXPECT_TRUE(status == kNoErr) << c.what << " " << status;
        EXPECT_NEAR(context.base.mappingCentre.x, c.centre.x, kTol) << c.what;
        EXPECT_NEAR(context.base.mappingCentre.y, c.centre.y, kTol) << c.what;
        double x = 0, y = 0, z = 0;
        ASSERT_EQ(vtg::Map3DPoint(context, c.x, c.y, &x, &y, &z), kNoErr) << c.what;
        EXPECT_NEAR(x, c.ex, kTol) << c.what;
        EXPECT_NEAR(y, c.ey, kTol) << c.what;
        EXPECT_NEAR(z, c.ez, kTol) << c.what;
    }
}

TEST_F(Live3DPath, DegenerateSetUpsAndOverflow) {
    struct Case {
        const char* what;
        _3DTFilterParams record;
        VtgRect box;
        ErrorCode status;
    };
    const VtgRect flat{50, 50, 50, 0}; // width 0
    const Case cases[] = {
        {"sphere of radius 0", With(8, 360, 90, 90, 100, 0, 0), kBox, 2},
        {"torus with r = 0", With(9, 360, 360, 0, 100, 0, 2), kBox, 2},
        {"spiral with R = 0", With(10, 720, 360, 0, 200, 0.1, 0), kBox, 2},
        {"twist of width 0", With(1, 180, 0, 0, 0, 0, 0), flat, kNoErr},
    };
    for (const Case& c : cases) {
        vtg::ThreeDContext context;
        EXPECT_EQ(SetUp3D(context, c.record, c.box), c.status) << c.what;
    }
    // A sphere of radius 0 puts every point on the middle of the bounds.
    vtg::ThreeDContext sphere;
    SetUp3D(sphere, With(8, 360, 90, 90, 100, 0, 0), kBox);
    double x = 1, y = 1, z = 1;
    ASSERT_EQ(vtg::Map3DPoint(sphere, 40, -20, &x, &y, &z), kNoErr);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    // Arc and cylinder of a source of width 0 overflow.
    for (int variant : {2, 3, 11}) {
        vtg::ThreeDContext c;
        SetUp3D(c, With(variant, 120, 0, 0, 0, 0, -1.5), flat);
        EXPECT_EQ(vtg::Map3DPoint(c, 0, 10, &x, &y, &z), kOverflowErr) << variant;
    }
    // A twist of width 0 is only rotated.
    vtg::ThreeDContext twist;
    SetUp3D(twist, With(1, 180, 0, 0, 0, 0, 0), flat);
    ASSERT_EQ(vtg::Map3DPoint(twist, 0, 10, &x, &y, &z), kNoErr);
    EXPECT_NEAR(y, 10, kTol);
}

TEST_F(Live3DPath, PerspectiveDistanceFromTheDiagonal) {
    _3DTFilterParams p = With(0, 0, 0, 0, 0, 0.5, -0.5);
    vtg::ThreeDContext c;
    p.perspective = 100;
    vtg::Prepare3DContext(c, p, kBox);
    EXPECT_NEAR(c.base.perspectiveDistance, std::hypot(50.0, 25.0), kTol);
    p.perspective = 0;
    vtg::Prepare3DContext(c, p, kBox);
    EXPECT_GE(c.base.perspectiveDistance, vtg::kNoPerspective);
}

TEST_F(Live3DPath, DamagedRecordsAreLimitedNeverNaN) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        int16_t variant;
        double value;
    };
    const Case cases[] = {{"variant -1", -1, 1},       {"variant 12", 12, 1},
                          {"variant 300", 300, 1},     {"NaN values", 8, nan},
                          {"infinite values", 9, inf}, {"huge", 3, 1e300}};
    for (const Case& c : cases) {
        _3DTFilterParams p = Record(c.variant);
        p.param1 = p.param2 = p.param3 = p.param4 = c.value;
        for (int i = 0; i < 3; ++i)
            p.preRotation[i] = p.postRotation[i] = c.value;
        p.perspective = c.value;
        p.centreRatio = {c.value, c.value};
        const _3DTFilterParams r = vtg::Limited3DRecord(p);
        EXPECT_TRUE(r.variant >= 0 && r.variant < vtg::k3DVariantCount) << c.what;
        for (double v : {r.param1, r.param2, r.param3, r.param4, r.perspective, r.centreRatio.x,
                         r.centreRatio.y, r.preRotation[0], r.postRotation[2]})
            EXPECT_TRUE(std::isfinite(v) && std::fabs(v) <= 36000) << c.what;
        EXPECT_LE(std::fabs(r.preRotation[1]), 360) << c.what;
        EXPECT_LE(std::fabs(r.centreRatio.x), 200) << c.what;
        EXPECT_LE(r.perspective, 100) << c.what;
        // Applied to a square, the document holds only numbers (or the
        // object reports the overflow and keeps no result).
        ArtNode* square = AddSquare(std::string("sq") + c.what, 100, 100, 50);
        Select({square});
        ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKind3DPath, &p), kNoErr) << c.what;
        hostapp::UpdateChangedPluginArt(host(), *doc_);
        ExpectFinite(doc_->layers[0]->group);
    }
}

TEST_F(Live3DPath, ApplyMakesOneObjectAndStacksByDepth) {
    // Two squares side by side, the right one on top.
    ArtNode* right = AddSquare("right", 200, 100, 50);
    ArtNode* left = AddSquare("left", 100, 100, 50);
    ASSERT_EQ(TopLevel().front(), right);
    Select({right, left});
    // Turned about the vertical axis, the right side goes away from the
    // viewer: the left square must come on top.
    _3DTFilterParams p = With(1, 0, 0, 0, 0, 0, 0);
    p.preRotation[1] = 60;
    p.perspective = 10;
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKind3DPath, &p), kNoErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    ASSERT_EQ(TopLevel().size(), 1u);
    ArtNode* live = TopLevel().front();
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    std::vector<ArtNode*> paths = ResultPaths(live);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_LT(paths[0]->s.segments[0].anchor.x, paths[1]->s.segments[0].anchor.x)
        << "the nearer (left) square is on top";
    // With only the pre-rotation, the order stays.
    Select({live});
    p.transformed = 0;
    ASSERT_EQ(vtg::UpdateSelectedLiveObjectsOf(vtg::kKind3DPath, &p, 8), kNoErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    paths = ResultPaths(live);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_GT(paths[0]->s.segments[0].anchor.x, paths[1]->s.segments[0].anchor.x);
    // Saved and reopened, it regenerates to the same bytes.
    const std::string saved = hostapp::svg::WriteSvgText(*doc_);
    hostapp::doc::Document* reopened = nullptr;
    hostapp::svg::SvgError error;
    ASSERT_TRUE(hostapp::svg::ReadSvgText(host().docs(), saved, "saved.svg", reopened, error))
        << error.message;
    ArtNode* again = reopened->layers[0]->group->s.children[0];
    again->s.plugin.result->s.children.clear();
    ASSERT_EQ(hostapp::UpdateAllPluginArt(host(), *reopened), kNoErr);
    EXPECT_EQ(hostapp::svg::WriteSvgText(*reopened), saved);
}

TEST_F(Live3DPath, PerspectiveOnAnEndToEndRotate) {
    for (double perspective : {0.0, 100.0}) {
        ArtNode* box = Rectangle("box", 0, 0, 100, 50);
        Select({box});
        _3DTFilterParams p = With(0, 0, 0, 0, 0, 0.5, -0.5);
        p.preRotation[0] = -70;
        p.perspective = perspective;
        ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKind3DPath, &p), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
        ArtNode* live = TopLevel().front();
        std::vector<ArtNode*> paths = ResultPaths(live);
        ASSERT_EQ(paths.size(), 1u);
        std::vector<VtgPoint> anchors;
        for (const PathSegment& s : paths[0]->s.segments)
            anchors.push_back(s.anchor);
        // (100, 0) is the turning point and stays; (0, 50) tips back.
        bool corner = false, top = false;
        const double ex = perspective == 0 ? 0 : 45.66654367160518;
        const double ey = perspective == 0 ? 17.10100716628344 : 9.291568260408281;
        for (VtgPoint a : anchors) {
            corner = corner || (std::fabs(a.x - 100) < 1e-6 && std::fabs(a.y) < 1e-6);
            top = top || (std::fabs(a.x - ex) < 1e-6 && std::fabs(a.y - ey) < 1e-6);
        }
        EXPECT_TRUE(corner) << perspective;
        EXPECT_TRUE(top) << perspective;
        hostapp::doc::DeleteArt(live);
        hostapp::doc::Commit(*doc_);
    }
}

TEST_F(Live3DPath, ApplyOnNothingAcceptableLeavesTheDocument) {
    ArtNode* clip = AddSquare("clip", 100, 100, 50);
    clip->s.attributes |= kVtgArtClipping;
    Select({clip});
    const std::string before = hostapp::svg::WriteSvgText(*doc_);
    _3DTFilterParams p = With(1, 180, 0, 0, 0, 0, 0);
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKind3DPath, &p), kNoErr);
    hostapp::doc::Commit(*doc_);
    EXPECT_EQ(hostapp::svg::WriteSvgText(*doc_), before);
}

TEST_F(Live3DPath, ApplyStopsOnAnotherKindInsideAGroupAndReverts) {
    // A group holding a circle object next to a plain square.
    ArtNode* square = AddSquare("square", 100, 100, 50);
    ArtNode* inner = AddSquare("inner", 250, 250, 20);
    Select({inner});
    vtg::CirclePGParams circle{};
    vtg::SetKindDefaults(vtg::kKindCircle, &circle);
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindCircle, &circle), kNoErr);
    hostapp::UpdateChangedPluginArt(host(), *doc_);
    ArtNode* circleObject = nullptr;
    for (ArtNode* a : TopLevel())
        if (a->s.kind == kVtgArtPlugin)
            circleObject = a;
    ASSERT_NE(circleObject, nullptr);
    ArtNode* group = nullptr;
    ASSERT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnTop, nullptr, group),
              kNoErr);
    ASSERT_EQ(hostapp::doc::MoveArt(circleObject, kVtgPlaceInsideOnTop, group), kNoErr);
    Select({square, group});
    const std::string before = hostapp::svg::WriteSvgText(*doc_);
    _3DTFilterParams p = With(1, 180, 0, 0, 0, 0, 0);
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKind3DPath, &p), kNoErr);
    hostapp::doc::Commit(*doc_);
    EXPECT_EQ(hostapp::svg::WriteSvgText(*doc_), before);
}

TEST_F(Live3DPath, RotateStepsTurnTheRightAngle) {
    ArtNode* box = Rectangle("box", 0, 0, 100, 50);
    Select({box});
    _3DTFilterParams p = With(0, 0, 0, 0, 0, 0.5, -0.5);
    p.preRotation[0] = -70;
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKind3DPath, &p), kNoErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    ArtNode* live = TopLevel().front();
    ASSERT_EQ(vtg::rotate3d::Prepare(DocStore::handle(live)), kNoErr);
    auto* block = static_cast<_3DTFilterParams*>(vtg::gGlobals->liveObjectParams[0]);
    vtg::gGlobals->threeD.panelTransformed = 0;
    struct Step {
        const char* what;
        double dx, dy;
        uint32_t modifiers;
        int angle;
        double expected;
    };
    const Step steps[] = {
        {"horizontal 40 px right", 20, 0, 0, 1, 20},
        {"vertical 40 px down", 0, 20, 0, 0, -90},
        {"shift: dy wins", 10, -30, kModifierShift, 2, -30},
        {"past a whole turn", 0, -500, 0, 0, 0},
    };
    for (const Step& s : steps) {
        ASSERT_EQ(vtg::rotate3d::RotateStep(s.dx, s.dy, s.modifiers), kNoErr) << s.what;
        EXPECT_NEAR(block->preRotation[s.angle], s.expected, kTol) << s.what;
    }
    EXPECT_GT(vtg::rotate3d::Paths().pathCount, 0);
    vtg::rotate3d::Release();
}

TEST_F(Live3DPath, ARotateGestureIsOneUndoStep) {
    ArtNode* box = Rectangle("box", 100, 100, 100, 50);
    Select({box});
    _3DTFilterParams p = With(0, 0, 0, 0, 0, 0.5, -0.5);
    p.preRotation[0] = -70;
    ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKind3DPath, &p), kNoErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    hostapp::doc::Commit(*doc_);
    ArtNode* live = TopLevel().front();
    Select({live});
    const std::string before = hostapp::svg::WriteSvgText(*doc_);
    ASSERT_EQ(host().selectTool("VERTiGON6: Live 3D回転 ツール"), kNoErr);
    vtg::gGlobals->threeD.panelTransformed = 0;
    ASSERT_EQ(host().toolMouse(kSelectorMouseDown, {150, 150}, 0), kNoErr);
    EXPECT_EQ(host().toolMouse(kSelectorMouseDrag, {170, 150}, 0), kNoErr);
    EXPECT_EQ(host().toolMouse(kSelectorMouseDrag, {190, 150}, 0), kNoErr);
    ASSERT_EQ(host().toolMouse(kSelectorMouseUp, {190, 150}, 0), kNoErr);
    ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    hostapp::doc::Commit(*doc_);
    vtg::SetCurrentKind(vtg::kKind3DPath);
    _3DTFilterParams stored{};
    ASSERT_EQ(vtg::LoadParamBlock(DocStore::handle(live), &stored), kNoErr);
    EXPECT_GT(stored.preRotation[1], 0) << "a drag to the right turns about y";
    EXPECT_DOUBLE_EQ(stored.preRotation[0], -70);
    const std::string after = hostapp::svg::WriteSvgText(*doc_);
    EXPECT_NE(after, before);
    // No crosshair is left behind, and one undo restores record and result.
    EXPECT_EQ(TopLevel().size(), 1u);
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    EXPECT_EQ(hostapp::svg::WriteSvgText(*doc_), before);
}

} // namespace
