// The Roughen tool's geometry on small fixtures, worked out by hand, and
// its gesture through the host's tool messages.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/suite_set.hpp"
#include "core/vertigon_plugin.hpp"
#include "geometry/path_model.hpp"
#include "support/document_fixture.hpp"
#include "tools/roughen/rough_tool.hpp"
#include "tools/tool_drag.hpp"

namespace {

using vtgtest::Corner;

constexpr const char* kRoughen = "VERTiGON6: ラフ ツール";

class RoughenGeometryTest : public vtgtest::DocumentTest {
protected:
    std::vector<PathSegment> Roughen(const vtg::RoughBrush& brush,
                                     const std::vector<PathSegment>& path, bool closed) {
        std::vector<PathSegment> work(vtg::kSegmentBufferCapacity);
        int32_t count = 0;
        EXPECT_EQ(vtg::RoughenSegments(brush, path.data(), static_cast<int32_t>(path.size()),
                                       closed, work.data(), &count),
                  kNoErr);
        if (count < 0)
            return path;
        work.resize(static_cast<std::size_t>(count));
        return work;
    }
};

// A horizontal drag only refines: the pieces near the centre are halved
// until no longer than max(1, 72 / |D|), and nothing moves: 40 becomes 4 x 10.
TEST_F(RoughenGeometryTest, DetailAloneHalvesPiecesInsideTheBrushAndKeepsTheShape) {
    vtg::RoughBrush brush{{0, 0}, 100, 0, 7, 0}; // longest piece 72 / 7 = 10.29
    const std::vector<PathSegment> line = {Corner(0, 0), Corner(40, 0)};
    const std::vector<PathSegment> out = Roughen(brush, line, false);
    ASSERT_EQ(out.size(), 5u);
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_NEAR(out[i].anchor.x, 10.0 * static_cast<double>(i), 1e-9);
        EXPECT_NEAR(out[i].anchor.y, 0, 1e-12);
        // The straight piece got handles at a third of its chord first, so
        // every half is still a straight line along the x axis.
        EXPECT_NEAR(out[i].in.y, 0, 1e-12);
        EXPECT_NEAR(out[i].out.y, 0, 1e-12);
    }
    EXPECT_NEAR(out[0].out.x, 10.0 / 3, 1e-9);
}

// A vertical drag only displaces anchors strictly inside the radius: a
// retracted anchor on a horizontal line is pushed straight up or down by
// (u - 0.5) * |A|, u being the generator's next number.
TEST_F(RoughenGeometryTest, AmplitudeAloneMovesAnchorsInsideAcrossTheirHandles) {
    const std::vector<PathSegment> line = {Corner(0, 0), Corner(50, 0), Corner(100, 0)};
    for (int16_t shape : {0, 1}) {
        SCOPED_TRACE(shape);
        vtg::RoughBrush brush{{0, 0}, 100, shape, 0, 40};
        vtg::sMath->SeedRandom(1234);
        double u0 = 0, u1 = 0;
        vtg::sMath->RandomUniform(&u0);
        vtg::sMath->RandomUniform(&u1);
        vtg::sMath->SeedRandom(1234);
        const std::vector<PathSegment> out = Roughen(brush, line, false);
        ASSERT_EQ(out.size(), 3u);
        EXPECT_NEAR(out[0].anchor.x, 0, 1e-9);
        EXPECT_NEAR(out[0].anchor.y, (u0 - 0.5) * 40, 1e-9);
        EXPECT_NEAR(out[1].anchor.x, 50, 1e-9);
        EXPECT_NEAR(out[1].anchor.y, (u1 - 0.5) * 40, 1e-9);
        // Exactly at the radius: not moved.
        EXPECT_EQ(out[2].anchor.x, 100);
        EXPECT_EQ(out[2].anchor.y, 0);
        // Both shapes keep retracted handles on their anchors here.
        EXPECT_EQ(out[1].in.y, out[1].anchor.y);
        EXPECT_EQ(out[1].out.y, out[1].anchor.y);
    }
}

// With shape 1 the handles keep their offsets; with shape 0 they collapse.
TEST_F(RoughenGeometryTest, ShapeDecidesWhatHappensToTheHandles) {
    const PathSegment smooth{{0, 0}, {-10, 5}, {10, 5}, 0}; // handles up: K = pi / 2
    for (int16_t shape : {0, 1}) {
        SCOPED_TRACE(shape);
        vtg::RoughBrush brush{{0, 0}, 100, shape, 0, 40};
        vtg::sMath->SeedRandom(99);
        const std::vector<PathSegment> out = Roughen(brush, {smooth, Corner(200, 0)}, false);
        const PathSegment& s = out[0];
        EXPECT_NEAR(s.anchor.x, 0, 1e-9);
        if (shape == 0) {
            EXPECT_EQ(s.in.x, s.anchor.x);
            EXPECT_EQ(s.out.y, s.anchor.y);
        } else {
            EXPECT_NEAR(s.in.x - s.anchor.x, -10, 1e-9);
            EXPECT_NEAR(s.out.y - s.anchor.y, 5, 1e-9);
        }
    }
}

// A piece that crosses the brush box with both ends outside it is cut
// where it runs inside: here in the middle of the box's width.
TEST_F(RoughenGeometryTest, EntryCutSplitsAPieceThatCrossesTheBrush) {
    vtg::RoughBrush brush{{0, 0}, 10, 0, 0.001, 0}; // refinement never splits
    const std::vector<PathSegment> out = Roughen(brush, {Corner(-50, 0), Corner(50, 0)}, false);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_NEAR(out[1].anchor.x, 0, 0.2);
    EXPECT_NEAR(out[1].anchor.y, 0, 1e-9);
}

// The closing piece of a closed path is refined like the others.
TEST_F(RoughenGeometryTest, ClosingPieceIsRefinedToo) {
    vtg::RoughBrush brush{{0, 0}, 100, 0, 7.2, 0};
    const std::vector<PathSegment> square = {Corner(0, 0), Corner(0, 300), Corner(300, 300),
                                             Corner(300, 0)};
    const std::vector<PathSegment> out = Roughen(brush, square, true);
    // The first piece (0,0)-(0,300) and the closing piece (300,0)-(0,0)
    // both start or end inside the brush and are halved down to <= 10.
    int nearOrigin = 0;
    for (const PathSegment& s : out)
        if (std::hypot(s.anchor.x, s.anchor.y) < 100)
            ++nearOrigin;
    EXPECT_GT(nearOrigin, 10);
    EXPECT_EQ(out.front().anchor.x, 0);
    EXPECT_EQ(out.front().anchor.y, 0);
}

TEST_F(RoughenGeometryTest, NoAmountsOrTooFewAnchorsLeaveThePath) {
    std::vector<PathSegment> work(4);
    int32_t count = 7;
    const PathSegment one[] = {Corner(0, 0)};
    EXPECT_EQ(vtg::RoughenSegments({{0, 0}, 100, 0, 0, 0}, one, 1, false, work.data(), &count),
              kNoErr);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(vtg::RoughenSegments({{0, 0}, 100, 0, 5, 5}, one, 1, false, work.data(), &count),
              kNoErr);
    EXPECT_EQ(count, -1);
}

// --- the gesture ---------------------------------------------------------------------

class RoughenToolTest : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("sq", 100, 100, 100);
        Select({square_});
        ASSERT_EQ(host().selectTool(kRoughen), kNoErr);
    }
    ErrorCode Gesture(const std::vector<VtgPoint>& path, uint32_t modifiers = 0,
                      uint32_t upModifiers = 0) {
        ErrorCode err = host().toolMouse(kSelectorMouseDown, path.front(), modifiers);
        for (std::size_t i = 1; i < path.size(); ++i)
            host().toolMouse(kSelectorMouseDrag, path[i], modifiers);
        ErrorCode up = host().toolMouse(kSelectorMouseUp, path.back(), modifiers | upModifiers);
        return err != kNoErr ? err : up;
    }
    vtg::RoughToolParams& params() {
        return *static_cast<vtg::RoughToolParams*>(vtg::gGlobals->toolParams);
    }
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
    ArtNode* square_ = nullptr;
};

TEST_F(RoughenToolTest, ADragIsOneUndoStepNamedAfterTheToolAndUndoRestoresTheArt) {
    const std::vector<PathSegment> before = square_->s.segments;
    const std::size_t steps = doc_->undoStack.size();
    EXPECT_EQ(Gesture({{150, 150}, {160, 170}, {190, 210}}), kNoErr);
    EXPECT_NE(square_->s.segments.size(), before.size());
    ASSERT_EQ(doc_->undoStack.size(), steps + 1);
    EXPECT_EQ(doc_->undoStack.back().undoText, kRoughen);
    // The brush circle is gone; only the square remains.
    EXPECT_EQ(Paths().size(), 1u);
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    ASSERT_EQ(square_->s.segments.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(square_->s.segments[i].anchor.x, before[i].anchor.x);
        EXPECT_EQ(square_->s.segments[i].anchor.y, before[i].anchor.y);
    }
}

TEST_F(RoughenToolTest, EveryStepStartsFromTheArtAtThePress) {
    // Dragging out and back to the press point gives the shape back.
    EXPECT_EQ(Gesture({{150, 150}, {190, 200}, {150, 150}}), kNoErr);
    ASSERT_EQ(square_->s.segments.size(), 4u);
    EXPECT_EQ(square_->s.segments[1].anchor.x, 200);
    // The same drag twice without Shift gives the same result.
    Select({square_});
    Gesture({{150, 150}, {170, 190}});
    const std::vector<PathSegment> first = square_->s.segments;
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    Select({square_});
    Gesture({{150, 150}, {170, 190}});
    ASSERT_EQ(square_->s.segments.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(square_->s.segments[i].anchor.y, first[i].anchor.y);
}

TEST_F(RoughenToolTest, ThrottleCancelAndEmptySelection) {
    const std::vector<PathSegment> before = square_->s.segments;
    // A press and release within 30 ms and 2 points applies nothing.
    EXPECT_EQ(Gesture({{150, 150}, {151, 151}}), kNoErr);
    EXPECT_EQ(square_->s.segments.size(), before.size());
    // Modifier bit 0x0002 on the release leaves the document as it was.
    Select({square_});
    EXPECT_EQ(Gesture({{150, 150}, {180, 190}, {190, 200}}, 0, kModifierCancel), kNoErr);
    EXPECT_EQ(square_->s.segments.size(), before.size());
    EXPECT_EQ(Paths().size(), 1u);
    // Nothing selected: "!sel", and the drag and release do nothing.
    Select({});
    EXPECT_EQ(host().toolMouse(kSelectorMouseDown, {150, 150}, 0), vtg::kNoSelection);
    EXPECT_EQ(host().toolMouse(kSelectorMouseDrag, {190, 200}, 0), kNoErr);
    EXPECT_EQ(host().toolMouse(kSelectorMouseUp, {190, 200}, 0), kNoErr);
    EXPECT_EQ(Paths().size(), 1u);
    EXPECT_EQ(square_->s.segments.size(), before.size());
}

TEST_F(RoughenToolTest, AltDragSetsTheRadiusShowsItInTheLabelAndTheViewAndLeavesTheArt) {
    const std::vector<PathSegment> before = square_->s.segments;
    EXPECT_EQ(Gesture({{150, 150}, {150, 180}, {150, 0.5 + 150}}, kModifierAlt), kNoErr);
    EXPECT_EQ(params().radius, 1); // below 1 stops at 1
    Select({square_});
    EXPECT_EQ(Gesture({{150, 150}, {150, 170}, {150, 192.5}}, kModifierAlt), kNoErr);
    EXPECT_NEAR(params().radius, 42.5, 1e-9);
    EXPECT_EQ(square_->s.segments.size(), before.size());
    EXPECT_EQ(Paths().size(), 1u);
    // The view shows the new radius after the release.
    platform::WindowId panel = platform::FindNamedWindow("__QrLw_VERTiGON4Tool_v46_PrefsPrefix__");
    EXPECT_EQ(platform::GetText(platform::FindDescendant(panel, 1272)), "42.5000 pt");
    // The label showed the radius next to the pointer.
    bool label = false;
    for (const auto& op : host().annotations())
        label = label || (op.kind == hostapp::Host::AnnotationOp::Text && op.text == "42.500");
    EXPECT_TRUE(label);
}

TEST_F(RoughenToolTest, TraceCopiesByModeAndAnswer) {
    params().trace = 1;
    params().steps = 1;
    struct Case {
        int16_t mode;
        hostapp::Answer::Kind answer;
        uint32_t up;
        std::size_t paths; // after the gesture
        std::size_t layers;
    };
    const Case cases[] = {
        {0, hostapp::Answer::Kind::Yes, 0, 2, 1},             // one copy
        {3, hostapp::Answer::Kind::Yes, 0, 3, 1},             // and the return copy
        {0, hostapp::Answer::Kind::No, 0, 1, 1},              // the live result, no copy
        {3, hostapp::Answer::Kind::Yes, kModifierCtrl, 3, 3}, // each copy in a layer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        params().traceMode = c.mode;
        Select({square_});
        host().user().queue({c.answer, {}});
        EXPECT_EQ(Gesture({{150, 150}, {170, 180}, {190, 200}}, 0, c.up), kNoErr);
        EXPECT_EQ(Paths().size(), c.paths);
        EXPECT_EQ(doc_->layers.size(), c.layers);
        // One undo removes the gesture, copies and layers included.
        ASSERT_TRUE(hostapp::doc::Undo(*doc_));
        EXPECT_EQ(Paths().size(), 1u);
        EXPECT_EQ(doc_->layers.size(), 1u);
    }
    // Mode 0 with one step: the copy equals the live result.
    params().traceMode = 0;
    Select({square_});
    host().user().queue({hostapp::Answer::Kind::No, {}});
    Gesture({{150, 150}, {170, 180}, {190, 200}});
    const std::vector<PathSegment> live = square_->s.segments;
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    Select({square_});
    host().user().queue({hostapp::Answer::Kind::Yes, {}});
    Gesture({{150, 150}, {170, 180}, {190, 200}});
    std::vector<ArtNode*> paths = Paths();
    ASSERT_EQ(paths.size(), 2u);
    ArtNode* copy = paths[0] == square_ ? paths[1] : paths[0];
    ASSERT_EQ(copy->s.segments.size(), live.size());
    for (std::size_t i = 0; i < live.size(); ++i)
        EXPECT_EQ(copy->s.segments[i].anchor.y, live[i].anchor.y);
    EXPECT_EQ(square_->s.segments.size(), 4u); // the original as it was
}

// Shift for one drag event draws a new random sequence that the rest of
// the gesture and later gestures keep; without Shift two equal drags match.
TEST_F(RoughenToolTest, ShiftChangesTheRandomPatternForGood) {
    auto anchorsY = [&] {
        std::vector<double> ys;
        for (const PathSegment& s : square_->s.segments)
            ys.push_back(s.anchor.y);
        return ys;
    };
    Gesture({{150, 150}, {170, 190}});
    const std::vector<double> before = anchorsY();
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    Select({square_});
    host().toolMouse(kSelectorMouseDown, {150, 150}, 0);
    host().toolMouse(kSelectorMouseDrag, {160, 170}, kModifierShift);
    host().toolMouse(kSelectorMouseDrag, {170, 190}, 0);
    host().toolMouse(kSelectorMouseUp, {170, 190}, 0);
    const std::vector<double> shifted = anchorsY();
    EXPECT_NE(shifted, before);
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    Select({square_});
    Gesture({{150, 150}, {170, 190}});
    EXPECT_EQ(anchorsY(), shifted);
}

TEST_F(RoughenToolTest, ShiftAltClickAddsAnAnchorOnASegmentAndNothingOffThePath) {
    const uint32_t addAnchor = kModifierShift | kModifierAlt;
    EXPECT_EQ(Gesture({{150, 100}}, addAnchor), kNoErr);
    ASSERT_EQ(square_->s.segments.size(), 5u);
    EXPECT_NEAR(square_->s.segments[1].anchor.x, 150, 1e-6);
    EXPECT_NEAR(square_->s.segments[1].anchor.y, 100, 1e-6);
    // The closing piece, from the last anchor back to the first.
    EXPECT_EQ(Gesture({{100, 160}}, addAnchor), kNoErr);
    ASSERT_EQ(square_->s.segments.size(), 6u);
    EXPECT_NEAR(square_->s.segments[5].anchor.y, 160, 1e-6);
    EXPECT_EQ(square_->s.segments[0].anchor.x, 100);
    EXPECT_EQ(Gesture({{20, 20}}, addAnchor), kNoErr);
    EXPECT_EQ(square_->s.segments.size(), 6u);
}

} // namespace
