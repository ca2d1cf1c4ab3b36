// The Perspective Warp and Multi-wave tools: the drag drives the effects'
// own drivers; Alt, Shift, the click without movement, trace points and
// trace copies.
#include <gtest/gtest.h>

#include <vector>

#include "effects/warp/warp_effect.hpp"
#include "effects/wave/wave_effect.hpp"
#include "params/tool_params.hpp"
#include "support/document_fixture.hpp"
#include "tools/tool_drag.hpp"

namespace {

constexpr const char* kWarp = "VERTiGON6: 遠近法ワープ ツール";
constexpr const char* kWave = "VERTiGON6: マルチウェーブ ツール";

class AxisToolTest : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("sq", 100, 100, 100);
        twin_ = AddSquare("twin", 100, 100, 100);
        Select({square_});
    }
    ErrorCode Gesture(const std::vector<VtgPoint>& path, uint32_t modifiers = 0) {
        ErrorCode err = host().toolMouse(kSelectorMouseDown, path.front(), modifiers);
        for (std::size_t i = 1; i < path.size(); ++i)
            host().toolMouse(kSelectorMouseDrag, path[i], modifiers);
        ErrorCode up = host().toolMouse(kSelectorMouseUp, path.back(), modifiers);
        return err != kNoErr ? err : up;
    }
    // The twin deformed by the effect's driver with the drag's geometry.
    void ExpectSameAsDriver(bool warp, int32_t axis, VtgPoint base, VtgPoint control) {
        const vtg::WaveGeometry g{{100, 200, 200, 100}, base, control};
        const ArtHandle twin = hostapp::doc::DocStore::handle(twin_);
        if (warp) {
            const auto& p = *static_cast<vtg::WarpToolParams*>(vtg::gGlobals->toolParams);
            ASSERT_EQ(axis == 1 ? vtg::WarpVertical(twin, g, p.type, p.margin, p.perspective)
                                : vtg::WarpHorizontal(twin, g, p.type, p.margin, p.perspective),
                      kNoErr);
        } else {
            const auto& p = *static_cast<vtg::WaveToolParams*>(vtg::gGlobals->toolParams);
            ASSERT_EQ(axis == 1 ? vtg::WaveVertical(twin, g, p.style, p.cycle)
                                : vtg::WaveHorizontal(twin, g, p.style, p.cycle),
                      kNoErr);
        }
        ASSERT_EQ(square_->s.segments.size(), twin_->s.segments.size());
        for (std::size_t i = 0; i < twin_->s.segments.size(); ++i) {
            EXPECT_NEAR(square_->s.segments[i].anchor.x, twin_->s.segments[i].anchor.x, 1e-9);
            EXPECT_NEAR(square_->s.segments[i].anchor.y, twin_->s.segments[i].anchor.y, 1e-9);
        }
    }
    std::size_t PathCount() {
        std::size_t n = 0;
        for (hostapp::doc::LayerNode* l : doc_->layers)
            hostapp::doc::Walk(l->group, false, [&](ArtNode* a) {
                n += a->s.kind == kVtgArtPath && a->s.alive ? 1 : 0;
                return true;
            });
        return n;
    }
    ArtNode* square_ = nullptr;
    ArtNode* twin_ = nullptr;
};

TEST_F(AxisToolTest, DragsGiveTheEffectsDriversResultsWithThePressAndThePointer) {
    struct Case {
        const char* tool;
        uint32_t modifiers;
        VtgPoint to;      // pointer at the release
        VtgPoint control; // the control point after the Shift rule
        int32_t axis;
    };
    const Case cases[] = {
        {kWarp, 0, {170, 190}, {170, 190}, 0},
        {kWarp, kModifierAlt, {170, 190}, {170, 190}, 1},
        {kWarp, kModifierShift, {170, 190}, {150, 190}, 0}, // pinned to the centre line
        {kWave, 0, {160, 180}, {160, 180}, 0},
        {kWave, kModifierAlt | kModifierShift, {160, 180}, {160, 150}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        SCOPED_TRACE(c.modifiers);
        ASSERT_EQ(host().selectTool(c.tool), kNoErr);
        Select({square_});
        EXPECT_EQ(Gesture({{140, 150}, {150, 170}, c.to}, c.modifiers), kNoErr);
        ExpectSameAsDriver(c.tool == kWarp, c.axis, {140, 150}, c.control);
        ASSERT_TRUE(hostapp::doc::Undo(*doc_));
        ASSERT_TRUE(hostapp::doc::Undo(*doc_)); // the twin's direct change
        EXPECT_EQ(square_->s.segments.size(), 4u);
        EXPECT_EQ(square_->s.segments[2].anchor.x, 200);
    }
}

TEST_F(AxisToolTest, AClickWithoutMovementChangesNothingAndAsksNothing) {
    ASSERT_EQ(host().selectTool(kWarp), kNoErr);
    static_cast<vtg::WarpToolParams*>(vtg::gGlobals->toolParams)->trace = 1;
    const std::size_t alerts = host().user().alerts().size();
    EXPECT_EQ(Gesture({{140, 150}, {140.5, 150.5}}), kNoErr);
    EXPECT_EQ(host().user().alerts().size(), alerts);
    EXPECT_EQ(square_->s.segments.size(), 4u);
    EXPECT_EQ(square_->s.segments[0].anchor.x, 100);
}

TEST_F(AxisToolTest, TraceCopiesByMode) {
    struct Case {
        const char* tool;
        int16_t style; // warp type or wave style
        int16_t mode;
        double steps;
        std::size_t copies;
        bool unitKept;
    };
    const Case cases[] = {
        {kWarp, 0, 4, 4, 8, true},   // q1..q4, q3..q1 and the return copy
        {kWarp, 0, 1, 3, 3, true},   // one way
        {kWave, 0, 1, 3, 4, false},  // one cycle: four copies, the art removed
        {kWave, 0, 5, 2, 4, true},   // round trip: q1 q2 q1 and the return copy
        {kWarp, 6, 1, 2, 3, false},  // a type that bends at the press: q0 too, art removed
        {kWarp, 14, 4, 2, 5, false}, // q0 q1 q2 q1 q0, no return copy
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        SCOPED_TRACE(c.mode);
        ASSERT_EQ(host().selectTool(c.tool), kNoErr);
        if (c.tool == kWarp) {
            auto& p = *static_cast<vtg::WarpToolParams*>(vtg::gGlobals->toolParams);
            p.type = c.style;
            p.trace = 1;
            p.traceMode = c.mode;
            p.steps = c.steps;
        } else {
            auto& p = *static_cast<vtg::WaveToolParams*>(vtg::gGlobals->toolParams);
            p.style = c.style;
            p.trace = 1;
            p.traceMode = c.mode;
            p.steps = c.steps;
        }
        Select({square_});
        host().user().queue({hostapp::Answer::Kind::Yes, {}});
        EXPECT_EQ(Gesture({{140, 150}, {150, 170}, {160, 190}}), kNoErr);
        EXPECT_EQ(PathCount(), 1 + c.copies + (c.unitKept ? 1 : 0));
        EXPECT_EQ(square_->s.alive, c.unitKept);
        ASSERT_TRUE(hostapp::doc::Undo(*doc_));
        EXPECT_EQ(PathCount(), 2u);
        EXPECT_TRUE(square_->s.alive);
    }
}

TEST_F(AxisToolTest, ModeZeroRecordsAPointPerIntervalAndTheFinalPoint) {
    ASSERT_EQ(host().selectTool(kWarp), kNoErr);
    auto& p = *static_cast<vtg::WarpToolParams*>(vtg::gGlobals->toolParams);
    p.trace = 1;
    p.traceMode = 0;
    p.interval = 10;
    host().user().queue({hostapp::Answer::Kind::Yes, {}});
    // Moves of 5 in y: a point each time more than 10 from the last one.
    EXPECT_EQ(Gesture({{140, 150},
                       {140, 155},
                       {140, 160},
                       {140, 165},
                       {140, 170},
                       {140, 175},
                       {140, 180},
                       {140, 183}}),
              kNoErr);
    // Recorded at 165 and 180, then the final 183: three copies.
    EXPECT_EQ(PathCount(), 2u + 3u);
}

} // namespace
