// The Lens, Craft and Broom tools: their geometry against numbers worked
// out by hand, each modifier, degenerate lenses, brush radius limits and
// one undo step per drag, through the host's tool messages.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "params/tool_params.hpp"
#include "support/document_fixture.hpp"
#include "tools/broom/broom_tool.hpp"
#include "tools/brush_tool.hpp"
#include "tools/craft/craft_tool.hpp"
#include "tools/lens/lens_tool.hpp"
#include "tools/tool_drag.hpp"

namespace {

using vtgtest::Corner;

constexpr const char* kLens = "VERTiGON6: レンズ ツール";
constexpr const char* kCraft = "VERTiGON6: クラフト ツール";
constexpr const char* kBroom = "VERTiGON6: ほうき ツール";
constexpr double kPi = std::numbers::pi;

vtg::Brush MakeBrush(int16_t mode, int exponent, VtgPoint down, VtgPoint previous, VtgPoint current,
                     double scale = 0, double turn = 0) {
    vtg::Brush b;
    b.mode = mode;
    b.radius = 100;
    b.exponent = exponent;
    b.down = down;
    b.previous = previous;
    b.current = current;
    b.scale = scale;
    b.turn = turn;
    return b;
}

// --- pure geometry -----------------------------------------------------------------

// Where the brush takes a point, by mode, radius 100.
TEST(BrushGeometry, MoveByModeAtChosenPoints) {
    struct Case {
        const char* what;
        vtg::Brush brush;
        VtgPoint q;
        bool inside;
        VtgPoint expected;
    };
    const VtgPoint o{0, 0};
    const Case cases[] = {
        // Resistance "3" (exponent 2): 50 points from D moves a quarter of the drag.
        {"push, 50 away, exponent 2", MakeBrush(0, 2, o, o, {40, 0}), {0, 50}, true, {10, 50}},
        {"push, exponent 1", MakeBrush(0, 1, o, o, {40, 0}), {0, 50}, true, {20, 50}},
        {"push, on the rim", MakeBrush(0, 2, o, o, {40, 0}), {0, 100}, false, {0, 100}},
        {"push, outside", MakeBrush(0, 2, o, o, {40, 0}), {0, 130}, false, {0, 130}},
        // Sweep: weight measured from T, moved by T - P.
        {"sweep", MakeBrush(1, 1, o, {90, 0}, {100, 0}), {150, 0}, true, {155, 0}},
        {"sweep, far from T", MakeBrush(1, 1, o, {90, 0}, {100, 0}), {0, 0}, false, {0, 0}},
        // Scale s = -1: the centre shrinks to D, halfway out by half.
        {"scale at D", MakeBrush(2, 1, o, o, o, -1), {0, 0}, true, {0, 0}},
        {"scale, 50 away", MakeBrush(2, 1, o, o, o, -1), {50, 0}, true, {25, 0}},
        {"scale never inverts", MakeBrush(2, 1, o, o, o, -5), {10, 0}, true, {0, 0}},
        {"scale up", MakeBrush(2, 1, o, o, o, 1), {50, 0}, true, {75, 0}},
        // Rotate a quarter turn: 50 away turns by an eighth, anticlockwise.
        {"rotate",
         MakeBrush(3, 1, o, o, o, 0, kPi / 2),
         {50, 0},
         true,
         {50 * std::cos(kPi / 4), 50 * std::sin(kPi / 4)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double w = 0;
        const bool inside = vtg::BrushWeight(c.brush, c.q, &w);
        ASSERT_EQ(inside, c.inside);
        const VtgPoint moved = inside ? vtg::BrushMove(c.brush, c.q, w) : c.q;
        EXPECT_NEAR(moved.x, c.expected.x, 1e-9);
        EXPECT_NEAR(moved.y, c.expected.y, 1e-9);
    }
}

TEST(BrushGeometry, TurnAboutTheAnchorIsBroughtIntoMinusPiToPi) {
    const VtgPoint a{0, 0};
    EXPECT_NEAR(vtg::TurnAbout(a, {10, 0}, {0, 10}), kPi / 2, 1e-12);
    EXPECT_NEAR(vtg::TurnAbout(a, {0, 10}, {10, 0}), -kPi / 2, 1e-12);
    // Across the negative x axis: a small turn, not almost a full one.
    EXPECT_NEAR(vtg::TurnAbout(a, {-10, 1}, {-10, -1}), 2 * std::atan(0.1), 1e-12);
    EXPECT_EQ(vtg::TurnAbout(a, a, {5, 5}), 0);
    EXPECT_EQ(vtg::TurnAbout(a, {5, 5}, a), 0);
}

// The tone lens on plain segments: a lens of 100 x 100 at the origin.
TEST(ToneLensGeometry, ScaleFallsFromTheOpticalAmountAtTheCentreToOneAtTheRim) {
    struct Case {
        const char* what;
        VtgPoint size, centre, optical;
        bool changed;
        double sx, sy;
    };
    const Case cases[] = {
        {"at the centre", {100, 100}, {0, 0}, {0.5, 0.25}, true, 0.5, 0.25},
        {"halfway to the rim", {100, 100}, {25, 0}, {0.5, 0.5}, true, 0.75, 0.75},
        {"on the rim", {100, 100}, {50, 0}, {0.5, 0.5}, false, 1, 1},
        {"outside", {100, 100}, {0, 80}, {0.5, 0.5}, false, 1, 1},
        {"100 %: nothing", {100, 100}, {0, 0}, {1, 1}, false, 1, 1},
        {"0 %: collapses", {100, 100}, {0, 0}, {0, 0}, true, 0, 0},
        // A flat ellipse: the vertical offset counts twice.
        {"ellipse 100 x 50", {100, 50}, {0, 12.5}, {0, 0}, true, 0.5, 0.5},
        {"zero height", {100, 0}, {0, 0}, {0.5, 0.5}, false, 1, 1},
        {"zero width", {0, 100}, {0, 0}, {0.5, 0.5}, false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A square of side 20 about the path centre c.
        const VtgPoint k = c.centre;
        std::vector<PathSegment> s = {Corner(k.x - 10, k.y - 10), Corner(k.x + 10, k.y - 10),
                                      Corner(k.x + 10, k.y + 10)};
        const std::vector<PathSegment> before = s;
        const vtg::LensArea lens{{0, 0}, c.size};
        EXPECT_EQ(vtg::ToneLensSegments(s.data(), 3, k, lens, c.optical), c.changed);
        for (std::size_t i = 0; i < s.size(); ++i) {
            EXPECT_NEAR(s[i].anchor.x, k.x + c.sx * (before[i].anchor.x - k.x), 1e-9);
            EXPECT_NEAR(s[i].anchor.y, k.y + c.sy * (before[i].anchor.y - k.y), 1e-9);
            EXPECT_TRUE(std::isfinite(s[i].in.x) && std::isfinite(s[i].out.y));
        }
    }
}

TEST(BroomGeometry, WholePathMovesByTheWeightOfItsCentre) {
    const vtg::Brush push = MakeBrush(0, 1, {0, 0}, {0, 0}, {20, 10});
    std::vector<PathSegment> s = {Corner(40, 0), Corner(80, 0), Corner(80, 40)};
    // Centre (50, 0): weight 0.5, so the path moves by (10, 5).
    ASSERT_TRUE(vtg::BroomSegments(s.data(), 3, {50, 0}, push));
    EXPECT_NEAR(s[0].anchor.x, 50, 1e-12);
    EXPECT_NEAR(s[2].anchor.y, 45, 1e-12);
    EXPECT_NEAR(s[1].out.x, 90, 1e-12);
    // A centre outside the brush: nothing moves, even if part of the path
    // lies inside.
    std::vector<PathSegment> t = {Corner(0, 0), Corner(300, 0)};
    EXPECT_FALSE(vtg::BroomSegments(t.data(), 2, {150, 0}, push));
    EXPECT_EQ(t[0].anchor.x, 0);
    // Fewer than two segments: left alone.
    EXPECT_FALSE(vtg::BroomSegments(t.data(), 1, {0, 0}, push));
}

// --- gestures ----------------------------------------------------------------------

class BrushToolsTest : public vtgtest::DocumentTest {
protected:
    ErrorCode Gesture(const std::vector<VtgPoint>& path, uint32_t modifiers = 0,
                      uint32_t upModifiers = 0) {
        ErrorCode err = host().toolMouse(kSelectorMouseDown, path.front(), modifiers);
        for (std::size_t i = 1; i < path.size(); ++i)
            host().toolMouse(kSelectorMouseDrag, path[i], modifiers);
        ErrorCode up = host().toolMouse(kSelectorMouseUp, path.back(), modifiers | upModifiers);
        return err != kNoErr ? err : up;
    }
    template <class T> T& params() { return *static_cast<T*>(vtg::gGlobals->toolParams); }
    std::vector<ArtNode*> Paths() {
        std::vector<ArtNode*> out;
        for (hostapp::doc::LayerNode* l : doc_->layers)
            hostapp::doc::Walk(l->group, false, [&](ArtNode* a) {
                if (a->s.kind == kVtgArtPath && a->s.alive)
                    out.push_back(a);
                return true;
            });
        return out;
    }
    // An open polyline through `points`, selected.
    ArtNode* AddLine(const std::vector<VtgPoint>& points, ArtNode* into = nullptr) {
        ArtNode* a = nullptr;
        EXPECT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtPath, kVtgPlaceInsideOnBottom, into, a),
                  kNoErr);
        for (const VtgPoint& p : points)
            a->s.segments.push_back(Corner(p.x, p.y));
        hostapp::doc::Commit(*doc_);
        return a;
    }
    ArtNode* AddGroup() {
        ArtNode* g = nullptr;
        EXPECT_EQ(hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnBottom, nullptr, g),
                  kNoErr);
        hostapp::doc::Commit(*doc_);
        return g;
    }
    static bool HasAnchor(const ArtNode* a, VtgPoint p, double tolerance = 1e-9) {
        for (const PathSegment& s : a->s.segments)
            if (std::fabs(s.anchor.x - p.x) <= tolerance &&
                std::fabs(s.anchor.y - p.y) <= tolerance)
                return true;
        return false;
    }
    // Undoes the gesture's step when it made one.
    void UndoGesture(std::size_t stepsBefore) {
        if (doc_->undoStack.size() > stepsBefore) {
            ASSERT_TRUE(hostapp::doc::Undo(*doc_));
        }
    }
    platform::WindowId Control(int id) {
        return platform::FindDescendant(
            platform::FindNamedWindow("__QrLw_VERTiGON4Tool_v46_PrefsPrefix__"), id);
    }
    bool LabelShown(const std::string& text) {
        for (const auto& op : host().annotations())
            if (op.kind == hostapp::Host::AnnotationOp::Text && op.text == text)
                return true;
        return false;
    }
};

// The lens box has its bottom-right corner at the pointer; the lens-area
// ellipse is drawn at the press and gone after the release.
TEST_F(BrushToolsTest, LensPressPlacesTheBoxWithItsCornerAtThePointer) {
    ArtNode* sq = AddSquare("sq", 100, 100, 100);
    Select({sq});
    ASSERT_EQ(host().selectTool(kLens), kNoErr);
    ASSERT_EQ(host().toolMouse(kSelectorMouseDown, {250, 150}, 0), kNoErr);
    EXPECT_EQ(vtg::Drag().anchor.x, 200);
    EXPECT_EQ(vtg::Drag().anchor.y, 200);
    ASSERT_EQ(Paths().size(), 2u);
    const ArtNode* area = Paths().front(); // on top
    ASSERT_EQ(area->s.segments.size(), 4u);
    EXPECT_EQ(area->s.segments[0].anchor.y, 250);
    EXPECT_EQ(area->s.segments[1].anchor.x, 250);
    EXPECT_NEAR(area->s.segments[0].out.x, 200 + 0.55229 * 50, 1e-9);
    host().toolMouse(kSelectorMouseUp, {250, 150}, 0);
    EXPECT_EQ(Paths().size(), 1u);
}

// Alt sizes the lens about the press point; Shift makes it a circle with
// the pointer on its edge; the size stays in the record and the label
// shows both sizes.
TEST_F(BrushToolsTest, LensAltDragSizesTheLens) {
    ArtNode* sq = AddSquare("sq", 100, 100, 100);
    ASSERT_EQ(host().selectTool(kLens), kNoErr);
    auto& p = params<vtg::LensToolParams>();
    struct Case {
        uint32_t modifiers;
        VtgPoint to;
        VtgPoint size;
        VtgPoint centre;
        const char* label;
    };
    const Case cases[] = {
        {kModifierAlt, {230, 180}, {60, 40}, {200, 200}, "60.000,  40.000"},
        {kModifierAlt | kModifierShift, {230, 180}, {60, 60}, {200, 210}, "60.000,  60.000"},
        {kModifierAlt, {200, 200}, {1, 1}, {200, 200}, "1.000,  1.000"},
        {kModifierAlt, {200 + 20000, 200}, {16383, 1}, {200, 200}, "16383.000,  1.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Select({sq});
        const std::size_t steps = doc_->undoStack.size();
        // The press with Alt alone (Shift + Alt at the press adds an anchor).
        ASSERT_EQ(host().toolMouse(kSelectorMouseDown, {200, 200}, kModifierAlt), kNoErr);
        host().toolMouse(kSelectorMouseDrag, {210, 190}, kModifierAlt);
        host().toolMouse(kSelectorMouseDrag, c.to, c.modifiers);
        EXPECT_EQ(p.lensSize.x, c.size.x);
        EXPECT_EQ(p.lensSize.y, c.size.y);
        EXPECT_EQ(vtg::Drag().anchor.x, c.centre.x);
        EXPECT_EQ(vtg::Drag().anchor.y, c.centre.y);
        EXPECT_TRUE(LabelShown(c.label));
        EXPECT_EQ(host().toolMouse(kSelectorMouseUp, c.to, c.modifiers), kNoErr);
        UndoGesture(steps);
    }
    // The panel shows the size after the release.
    EXPECT_EQ(platform::GetText(Control(1069)), "16383.0000 pt");
    EXPECT_EQ(platform::GetText(Control(1070)), "1.0000 pt");
}

// Neutral lenses, a lens of zero width or height and a tone lens of 100 %
// leave the paths bit for bit; only the tone lens leaves trace copies.
TEST_F(BrushToolsTest, NeutralAndDegenerateLensesLeaveThePaths) {
    ArtNode* sq = AddSquare("sq", 100, 100, 100);
    ASSERT_EQ(host().selectTool(kLens), kNoErr);
    auto& p = params<vtg::LensToolParams>();
    p.trace = 1;
    struct Case {
        const char* what;
        int16_t kind;
        double fish, lupe, twirl;
        VtgPoint size, optical;
        std::size_t copies;
    };
    // The tone lens is never neutral: at 100 % its trace still leaves its
    // (unchanged) copies.
    const Case cases[] = {
        {"fisheye 0", 0, 0, 2, kPi, {100, 100}, {0.1, 0.1}, 0},
        {"magnifier 100 %", 1, 1, 1, kPi, {100, 100}, {0.1, 0.1}, 0},
        {"twirl 0", 2, 1, 2, 0, {100, 100}, {0.1, 0.1}, 0},
        {"fisheye, zero height", 0, 1, 2, kPi, {100, 0}, {0.1, 0.1}, 0},
        {"twirl, zero width", 2, 1, 2, kPi, {0, 100}, {0.1, 0.1}, 0},
        {"tone, zero height", 3, 1, 2, kPi, {100, 0}, {0.1, 0.1}, 0},
        {"tone 100 %", 3, 1, 2, kPi, {100, 100}, {1, 1}, 4},
    };
    const std::vector<PathSegment> before = sq->s.segments;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        p.lensKind = c.kind;
        p.fishEyeAmount = c.fish;
        p.lupeAmount = c.lupe;
        p.twirlAmount = c.twirl;
        p.lensSize = c.size;
        p.opticalAmount = c.optical;
        Select({sq});
        host().user().queue({hostapp::Answer::Kind::Yes, {}});
        EXPECT_EQ(Gesture({{170, 140}, {190, 160}, {200, 170}}), kNoErr);
        while (host().user().pending() > 0)
            host().user().take();
        ASSERT_EQ(Paths().size(), 1 + c.copies);
        ASSERT_EQ(sq->s.segments.size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(sq->s.segments[i].anchor.x, before[i].anchor.x);
            EXPECT_EQ(sq->s.segments[i].anchor.y, before[i].anchor.y);
            EXPECT_EQ(sq->s.segments[i].out.x, before[i].out.x);
            EXPECT_EQ(sq->s.segments[i].in.y, before[i].in.y);
        }
    }
}

// A size drag of a neutral lens applies nothing, yet its release still
// frees every buffer and tells the panel the new size.
TEST_F(BrushToolsTest, NeutralLensSizeDragFreesAndNotifies) {
    ArtNode* sq = AddSquare("sq", 100, 100, 100);
    ASSERT_EQ(host().selectTool(kLens), kNoErr);
    auto& p = params<vtg::LensToolParams>();
    p.lensKind = 1;
    p.lupeAmount = 1;
    p.trace = 1;
    p.traceMode = 0;
    const int before = host().memory().total().blocks;
    Select({sq});
    EXPECT_EQ(Gesture({{200, 200}, {220, 180}, {240, 170}}, kModifierAlt), kNoErr);
    EXPECT_EQ(host().memory().total().blocks, before);
    EXPECT_EQ(p.lensSize.x, 80);
    EXPECT_EQ(p.lensSize.y, 60);
    EXPECT_EQ(platform::GetText(Control(1069)), "80.0000 pt");
    EXPECT_EQ(vtg::Drag().selection, nullptr);
    EXPECT_EQ(Paths().size(), 1u);
}

// The fisheye moves points under the lens only, and the drag is one undo
// step named after the tool that gives the square back.
TEST_F(BrushToolsTest, LensFisheyeDragIsOneUndoStep) {
    ArtNode* sq = AddSquare("sq", 100, 100, 100);
    ArtNode* far = AddSquare("far", 300, 300, 50);
    Select({sq, far});
    ASSERT_EQ(host().selectTool(kLens), kNoErr);
    const std::vector<PathSegment> before = sq->s.segments, farBefore = far->s.segments;
    const std::size_t steps = doc_->undoStack.size();
    // The lens ends centred on the square's corner (100, 100).
    EXPECT_EQ(Gesture({{170, 70}, {160, 60}, {150, 50}}), kNoErr);
    EXPECT_NE(sq->s.segments.size(), before.size());
    EXPECT_EQ(far->s.segments.size(), farBefore.size());
    EXPECT_EQ(far->s.segments[0].anchor.x, 300);
    ASSERT_EQ(doc_->undoStack.size(), steps + 1);
    EXPECT_EQ(doc_->undoStack.back().undoText, kLens);
    EXPECT_EQ(Paths().size(), 2u);
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    ASSERT_EQ(sq->s.segments.size(), before.size());
    EXPECT_EQ(sq->s.segments[0].anchor.x, 100);
}

// The tone lens: with "group" on, a selected group keeps its shape, its
// paths all scaled about the group's centre; with it off, each path is
// scaled about its own centre.
TEST_F(BrushToolsTest, ToneLensScalesGroupsAsOnePiece) {
    ASSERT_EQ(host().selectTool(kLens), kNoErr);
    auto& p = params<vtg::LensToolParams>();
    p.lensKind = 3;
    p.opticalAmount = {0.5, 0.5};
    p.lensSize = {200, 200};
    for (int32_t group : {1, 0}) {
        SCOPED_TRACE(group);
        p.group_f = group;
        ArtNode* g = AddGroup();
        ArtNode* a = AddSquare("a", 180, 190, 20, g); // centre (190, 200)
        ArtNode* b = AddSquare("b", 200, 190, 20, g); // centre (210, 200)
        Select({g});
        // The lens centre at (200, 200), the group's centre: scale 0.5.
        ASSERT_EQ(Gesture({{290, 110}, {295, 105}, {300, 100}}), kNoErr);
        if (group != 0) {
            EXPECT_TRUE(HasAnchor(a, {190, 195}));
            EXPECT_TRUE(HasAnchor(b, {210, 205}));
        } else {
            // Each square about its own centre, at 10 from the lens centre:
            // m = 0.1, scale 0.9 * 0.5 + 0.1 = 0.55.
            EXPECT_TRUE(HasAnchor(a, {190 - 5.5, 200 - 5.5}));
            EXPECT_TRUE(HasAnchor(b, {210 + 5.5, 200 + 5.5}));
        }
        ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    }
}

// Lens trace mode 0: one copy per recorded point after the first, plus one
// at the release; a drag that recorded nothing makes none. A round trip of
// N steps: 2N - 1 lensed copies and one plain.
TEST_F(BrushToolsTest, LensTraceCopies) {
    ArtNode* sq = AddSquare("sq", 100, 100, 100);
    ASSERT_EQ(host().selectTool(kLens), kNoErr);
    auto& p = params<vtg::LensToolParams>();
    p.trace = 1;
    p.interval = 10;
    struct Case {
        int16_t mode;
        std::vector<VtgPoint> path;
        std::size_t copies;
    };
    const Case cases[] = {
        {0, {{200, 150}, {215, 150}, {230, 150}, {245, 150}}, 3},
        {0, {{200, 150}, {205, 152}}, 0},
        {4, {{200, 150}, {215, 150}}, 4}, // steps 2: 2 out, 1 back, 1 plain
    };
    p.steps = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        p.traceMode = c.mode;
        Select({sq});
        const std::size_t steps = doc_->undoStack.size();
        host().user().queue({hostapp::Answer::Kind::Yes, {}});
        EXPECT_EQ(Gesture(c.path), kNoErr);
        while (host().user().pending() > 0)
            host().user().take();
        EXPECT_EQ(Paths().size(), 1 + c.copies);
        // The copies replace the lensed original, which is back as it was.
        EXPECT_EQ(sq->s.segments.size(), 4u);
        UndoGesture(steps);
        EXPECT_EQ(Paths().size(), 1u);
    }
}

// Craft push with resistance "3" (exponent 2): the anchor at the press goes
// with the pointer, one 50 away a quarter of the way, one 100 away stays.
TEST_F(BrushToolsTest, CraftPushMovesAnchorsByTheirWeight) {
    ArtNode* line = AddLine({{100, 200}, {150, 200}, {200, 200}, {250, 200}, {300, 200}});
    Select({line});
    ASSERT_EQ(host().selectTool(kCraft), kNoErr);
    auto& p = params<vtg::CraftToolParams>();
    p.resistance = 2;
    const std::size_t steps = doc_->undoStack.size();
    EXPECT_EQ(Gesture({{200, 200}, {200, 220}, {200, 240}}), kNoErr);
    EXPECT_TRUE(HasAnchor(line, {200, 240}));
    EXPECT_TRUE(HasAnchor(line, {150, 210}));
    EXPECT_TRUE(HasAnchor(line, {250, 210}));
    EXPECT_TRUE(HasAnchor(line, {100, 200}));
    EXPECT_TRUE(HasAnchor(line, {300, 200}));
    EXPECT_EQ(doc_->undoStack.size(), steps + 1);
    EXPECT_EQ(doc_->undoStack.back().undoText, kCraft);
    EXPECT_EQ(Paths().size(), 1u); // the brush circle is gone
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    EXPECT_EQ(line->s.segments.size(), 5u);
    EXPECT_TRUE(HasAnchor(line, {200, 200}));
}

// The items "1" and "2" behave alike; Shift locks the axis the drag starts
// along; scale and rotate in hand-worked numbers.
TEST_F(BrushToolsTest, CraftModesAndModifiers) {
    ArtNode* line = AddLine({{100, 200}, {150, 200}, {200, 200}, {250, 200}, {300, 200}});
    ASSERT_EQ(host().selectTool(kCraft), kNoErr);
    auto& p = params<vtg::CraftToolParams>();
    struct Case {
        const char* what;
        int16_t mode, resistance;
        uint32_t modifiers;
        std::vector<VtgPoint> path;
        std::vector<VtgPoint> anchors; // expected among the result's anchors
    };
    const double r = 50 * std::cos(kPi / 4);
    const Case cases[] = {
        {"resistance 1", 0, 0, 0, {{200, 200}, {200, 240}}, {{200, 240}, {150, 220}}},
        {"resistance 2", 0, 1, 0, {{200, 200}, {200, 240}}, {{200, 240}, {150, 220}}},
        {"shift locks y",
         0,
         0,
         kModifierShift,
         {{200, 200}, {230, 210}, {240, 250}},
         {{240, 200}, {170, 200}}},
        {"shift locks x",
         0,
         0,
         kModifierShift,
         {{200, 200}, {205, 230}, {250, 240}},
         {{200, 240}, {150, 220}}},
        // Down 20 points: s = -1; the anchor at D stays, 50 away halves.
        {"scale", 2, 0, 0, {{200, 200}, {200, 190}, {200, 180}}, {{200, 200}, {175, 200}}},
        // A quarter turn about D: 50 away turns an eighth.
        {"rotate", 3, 0, 0, {{200, 200}, {300, 200}, {200, 300}}, {{200 + r, 200 + r}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        p.brushMode = c.mode;
        p.resistance = c.resistance;
        Select({line});
        const std::size_t steps = doc_->undoStack.size();
        EXPECT_EQ(Gesture(c.path, c.modifiers), kNoErr);
        for (const VtgPoint& a : c.anchors)
            EXPECT_TRUE(HasAnchor(line, a, 1e-6)) << a.x << "," << a.y;
        UndoGesture(steps);
    }
}

// Sweep accumulates from event to event around the pointer.
TEST_F(BrushToolsTest, CraftSweepAccumulates) {
    ArtNode* line = AddLine({{100, 200}, {200, 200}, {300, 200}});
    Select({line});
    ASSERT_EQ(host().selectTool(kCraft), kNoErr);
    auto& p = params<vtg::CraftToolParams>();
    p.brushMode = 1;
    p.resistance = 0;
    // Two steps of 10 up near (200, 200): the anchor is carried twice with
    // a weight just under 1.
    EXPECT_EQ(Gesture({{200, 200}, {200, 210}, {200, 220}}), kNoErr);
    // First step: T = (200, 210), d = 10, w = 0.9: y = 209. Second: T =
    // (200, 220), d = 11, w = 0.89: y = 209 + 8.9 = 217.9.
    EXPECT_TRUE(HasAnchor(line, {200, 217.9}, 1e-6));
}

// Alt drags the radius, limited to 1 .. 16383, with the label; it leaves
// the art alone and the panel shows the new radius.
TEST_F(BrushToolsTest, BrushRadiusLimits) {
    ArtNode* sq = AddSquare("sq", 100, 100, 100);
    for (const char* tool : {kCraft, kBroom}) {
        SCOPED_TRACE(tool);
        ASSERT_EQ(host().selectTool(tool), kNoErr);
        const int radiusEdit = tool == kCraft ? 1047 : 1031;
        struct Case {
            VtgPoint to;
            double radius;
            const char* label;
        };
        const Case cases[] = {{{150, 150.5}, 1, "1.000"},
                              {{150, 192.5}, 42.5, "42.500"},
                              {{150 + 30000, 150}, 16383, "16383.000"}};
        for (const Case& c : cases) {
            Select({sq});
            EXPECT_EQ(Gesture({{150, 150}, {150, 170}, c.to}, kModifierAlt), kNoErr);
            EXPECT_EQ(
                *static_cast<vtg::BrushToolCtrlr*>(
                     static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin())->toolController())
                     ->Fields()
                     .radius,
                c.radius);
            EXPECT_TRUE(LabelShown(c.label));
            EXPECT_EQ(Paths().size(), 1u);
            EXPECT_EQ(sq->s.segments[0].anchor.x, 100);
        }
        EXPECT_EQ(platform::GetText(Control(radiusEdit)), "16383.0000 pt");
    }
}

// Broom: a fully selected group moves as one piece by the weight of its
// centre; a path whose centre is outside the brush stays.
TEST_F(BrushToolsTest, BroomMovesWholePathsAndGroups) {
    ArtNode* g = AddGroup();
    ArtNode* a = AddSquare("a", 140, 190, 20, g);    // centre (150, 200)
    ArtNode* b = AddSquare("b", 240, 190, 20, g);    // centre (250, 200)
    ArtNode* lone = AddSquare("lone", 190, 240, 20); // centre (200, 250)
    ArtNode* wide = AddLine({{0, 150}, {600, 150}}); // centre (300, 150)
    ASSERT_EQ(host().selectTool(kBroom), kNoErr);
    auto& p = params<vtg::BroomToolParams>();
    p.resistance = 0;
    for (int32_t group : {1, 0}) {
        SCOPED_TRACE(group);
        p.group_f = group;
        Select({g, lone, wide});
        // Press at (200, 200), push by (0, 20).
        ASSERT_EQ(Gesture({{200, 200}, {200, 210}, {200, 220}}), kNoErr);
        if (group != 0) {
            // The group's centre is the press point: weight 1, both move 20.
            EXPECT_TRUE(HasAnchor(a, {140, 210}));
            EXPECT_TRUE(HasAnchor(b, {240, 210}));
        } else {
            // Each square by its own centre, 50 away: weight 0.5.
            EXPECT_TRUE(HasAnchor(a, {140, 200}));
            EXPECT_TRUE(HasAnchor(b, {240, 200}));
        }
        // 50 from the press: weight 0.5.
        EXPECT_TRUE(HasAnchor(lone, {190, 250}));
        // Crosses the brush, but its centre is outside.
        EXPECT_TRUE(HasAnchor(wide, {0, 150}));
        EXPECT_EQ(doc_->undoStack.back().undoText, kBroom);
        ASSERT_TRUE(hostapp::doc::Undo(*doc_));
        EXPECT_TRUE(HasAnchor(a, {140, 190}));
    }
}

// A press and release within 1 point of D makes no trace copies; a push
// trace of 2 steps one way makes 2.
TEST_F(BrushToolsTest, BrushTraceCopies) {
    ArtNode* sq = AddSquare("sq", 100, 100, 100);
    for (const char* tool : {kCraft, kBroom}) {
        SCOPED_TRACE(tool);
        ASSERT_EQ(host().selectTool(tool), kNoErr);
        auto* ctrlr = static_cast<vtg::BrushToolCtrlr*>(
            static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin())->toolController());
        const vtg::BrushFields f = ctrlr->Fields();
        *f.trace = 1;
        *f.traceMode = 1;
        *f.steps = 2;
        struct Case {
            std::vector<VtgPoint> path;
            std::size_t copies;
        };
        const Case cases[] = {{{{150, 150}, {150.5, 150.5}}, 0},
                              {{{150, 150}, {170, 160}, {190, 170}}, 2}};
        for (const Case& c : cases) {
            Select({sq});
            const std::size_t steps = doc_->undoStack.size();
            host().user().queue({hostapp::Answer::Kind::Yes, {}});
            EXPECT_EQ(Gesture(c.path), kNoErr);
            while (host().user().pending() > 0)
                host().user().take();
            EXPECT_EQ(Paths().size(), 1 + c.copies);
            UndoGesture(steps);
        }
    }
}

// Gestures that start with Alt after an earlier gesture: the art slot of
// the earlier one is never deleted again.
TEST_F(BrushToolsTest, AltGestureAfterAnotherTouchesNoStaleArt) {
    ArtNode* sq = AddSquare("sq", 100, 100, 100);
    for (const char* tool : {kLens, kCraft, kBroom}) {
        SCOPED_TRACE(tool);
        ASSERT_EQ(host().selectTool(tool), kNoErr);
        Select({sq});
        EXPECT_EQ(Gesture({{150, 150}, {170, 170}, {180, 190}}), kNoErr);
        Select({sq});
        EXPECT_EQ(Gesture({{150, 150}, {170, 170}, {180, 190}}, kModifierAlt), kNoErr);
        EXPECT_EQ(Paths().size(), 1u);
        EXPECT_EQ(vtg::Drag().brushCircle, nullptr);
        EXPECT_EQ(vtg::Drag().selection, nullptr);
        EXPECT_EQ(vtg::Drag().segments, nullptr);
    }
}

} // namespace
