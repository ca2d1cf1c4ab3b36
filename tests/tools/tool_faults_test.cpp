// Faults the tools mend: stored step counts out of range, a trace without a
// second selection entry, and blocks left behind by a gesture.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/vertigon_plugin.hpp"
#include "params/tool_params.hpp"
#include "support/document_fixture.hpp"
#include "tools/axis_tool.hpp"
#include "tools/tool_drag.hpp"

namespace {

class ToolFaultsTest : public vtgtest::DocumentTest {
protected:
    ErrorCode Gesture(const std::vector<VtgPoint>& path, uint32_t modifiers = 0) {
        ErrorCode err = host().toolMouse(kSelectorMouseDown, path.front(), modifiers);
        for (std::size_t i = 1; i < path.size(); ++i)
            host().toolMouse(kSelectorMouseDrag, path[i], modifiers);
        ErrorCode up = host().toolMouse(kSelectorMouseUp, path.back(), modifiers);
        return err != kNoErr ? err : up;
    }
};

// Stored step counts are read as the nearest limit of 1 .. 4000, so a
// trace table never has more than 4001 entries and never a negative size.
TEST_F(ToolFaultsTest, StoredStepCountsOutsideTheRangeAreClamped) {
    struct Case {
        double stored;
        int32_t steps;
    };
    const Case cases[] = {{0, 1},
                          {-1, 1},
                          {32767, 4000},
                          {double(0x40000000), 4000},
                          {2147483647.0, 4000},
                          {1e20, 4000},
                          {std::numeric_limits<double>::quiet_NaN(), 1},
                          {std::numeric_limits<double>::infinity(), 1},
                          {7.9, 7}};
    for (const Case& c : cases)
        EXPECT_EQ(vtg::TraceSteps(c.stored), c.steps) << c.stored;
    // Through a Perspective Warp trace table: N + 1 points at most.
    AddSquare("sq", 100, 100, 100);
    Select(TopLevel());
    ASSERT_EQ(host().selectTool("VERTiGON6: 遠近法ワープ ツール"), kNoErr);
    auto* tool = static_cast<vtg::AxisToolCtrlr*>(
        static_cast<vtg::VERTiGON4Plugin*>(vtg::GlobalPlugin())->toolController());
    auto& p = *static_cast<vtg::WarpToolParams*>(vtg::gGlobals->toolParams);
    p.traceMode = 1;
    ASSERT_EQ(host().toolMouse(kSelectorMouseDown, {140, 150}, 0), kNoErr);
    host().toolMouse(kSelectorMouseDrag, {150, 190}, 0);
    for (const Case& c : cases) {
        p.steps = c.stored;
        EXPECT_EQ(tool->TracePoints().size(), static_cast<std::size_t>(c.steps) + 1) << c.stored;
    }
    host().toolMouse(kSelectorMouseUp, {150, 190}, kModifierCancel);
}

// A selection list with one entry has no art to copy: no copies, no read
// past the list.
TEST_F(ToolFaultsTest, ATraceWithoutASecondEntryMakesNoCopies) {
    ArtHandle only = hostapp::doc::DocStore::handle(AddSquare("sq", 100, 100, 100));
    vtg::ToolDragState& d = vtg::Drag();
    void* block = nullptr;
    ASSERT_EQ(host().memory().allocate("Host Art List", sizeof(ArtHandle), &block), kNoErr);
    d.selection = static_cast<ArtHandle*>(block);
    d.selection[0] = only;
    d.selectionCount = 1;
    ArtHandle unit = reinterpret_cast<ArtHandle>(1);
    EXPECT_EQ(vtg::ChooseCopyUnit(&unit), kNoErr);
    EXPECT_EQ(unit, nullptr);
    vtg::EndGesture();
    EXPECT_EQ(d.selection, nullptr);
}

// Every gesture gives back what it took: the selection list, the segment
// buffer, the trace buffer and the scratch copies, also when it is
// cancelled, traced, or never released before shut-down.
TEST_F(ToolFaultsTest, GesturesLeaveNoBlocksBehind) {
    AddSquare("a", 100, 100, 100);
    AddSquare("b", 150, 150, 100);
    struct Case {
        const char* tool;
        uint32_t modifiers;
        bool trace;
    };
    const Case cases[] = {{"VERTiGON6: ラフ ツール", 0, true},
                          {"VERTiGON6: ラフ ツール", kModifierAlt, false},
                          {"VERTiGON6: 遠近法ワープ ツール", 0, true},
                          {"VERTiGON6: マルチウェーブ ツール", kModifierShift, true},
                          {"VERTiGON6: マルチウェーブ ツール", 0, false},
                          {"VERTiGON6: レンズ ツール", 0, true},
                          {"VERTiGON6: レンズ ツール", kModifierAlt, false},
                          {"VERTiGON6: クラフト ツール", 0, true},
                          {"VERTiGON6: クラフト ツール", kModifierAlt, false},
                          {"VERTiGON6: ほうき ツール", 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        ASSERT_EQ(host().selectTool(c.tool), kNoErr);
        const int before = host().memory().total().blocks;
        const std::size_t steps = doc_->undoStack.size();
        Select(TopLevel());
        if (c.trace) {
            // Trace on through the view, as a user does.
            for (int id : {1269, 1305, 1320, 1067, 1044, 1028}) {
                platform::WindowId check = platform::FindDescendant(
                    platform::FindNamedWindow("__QrLw_VERTiGON4Tool_v46_PrefsPrefix__"), id);
                if (check != 0 && !platform::IsChecked(check))
                    platform::user::Click(check);
            }
            host().user().queue({hostapp::Answer::Kind::Yes, {}});
        }
        EXPECT_EQ(Gesture({{150, 150}, {170, 190}, {190, 230}}, c.modifiers), kNoErr);
        Select(TopLevel());
        EXPECT_EQ(Gesture({{150, 150}, {170, 190}}, c.modifiers | kModifierCancel), kNoErr);
        EXPECT_EQ(host().memory().total().blocks, before);
        // Back to the two squares, so that the traces do not multiply.
        while (doc_->undoStack.size() > steps)
            ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    }
    // A press whose release never comes: shut-down frees the gesture.
    Select(TopLevel());
    ASSERT_EQ(host().toolMouse(kSelectorMouseDown, {150, 150}, 0), kNoErr);
    host().toolMouse(kSelectorMouseDrag, {180, 200}, 0);
    ASSERT_EQ(host().shutdown(), kNoErr);
    EXPECT_EQ(host().memory().total().blocks, 0);
}

} // namespace
