#include <gtest/gtest.h>

#include <cstring>

#include "../platform/platform_fixture.hpp"
#include "core/text_util.hpp"
#include "platform/draw.hpp"
#include "ui/bitmap_button.hpp"
#include "ui/circular_slider.hpp"
#include "ui/color_image_view.hpp"
#include "ui/drag_list_box.hpp"
#include "ui/keyboard_hook.hpp"
#include "ui/text_helpers.hpp"

namespace {

using namespace platform;
using namespace vtg;
using vtgtest::WindowTest;

// A dialog that keeps every scroll message and drag-list move it gets.
struct Parent : WindowHandler {
    std::vector<std::pair<int, int>> scrolls; // (code, position)
    std::vector<std::pair<int, int>> moves;   // (source, destination)
    bool consumeReturn = false;
    int keysSeen = 0;
    bool OnMessage(WindowId, std::uint32_t code, Param wp, Param lp, Param& result) override {
        result = 0;
        if (code == kMsgHScroll)
            scrolls.emplace_back(LowWord(wp), HighWord(wp));
        if (code == kMsgDragListMoved) {
            auto* pair = reinterpret_cast<const std::int32_t*>(lp);
            moves.emplace_back(pair[0], pair[1]);
        }
        if (code == kMsgPreTranslate && consumeReturn) {
            auto* m = reinterpret_cast<const QueuedMessage*>(lp);
            result = m->code == kMsgKeyDown && m->wparam == kKeyReturn ? 1 : 0;
            return true;
        }
        return false;
    }
};

struct KeyCounter : WindowHandler {
    int keyDowns = 0;
    bool OnMessage(WindowId, std::uint32_t code, Param, Param, Param&) override {
        keyDowns += code == kMsgKeyDown;
        return false;
    }
};

class ControlsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        dialog_ = CreateWindow(WindowClass::Dialog, 0, 0, "", {0, 0, 400, 400});
        AttachHandler(dialog_, &parent_);
    }
    void TearDown() override {
        ResetWindowSystem();
        WindowTest::TearDown();
    }
    WindowId Add(WindowClass cls, int id, Rect r) { return CreateWindow(cls, dialog_, id, "", r); }
    Parent parent_;
    WindowId dialog_ = 0;
};

TEST_F(ControlsTest, CircularSliderGeometryFollowsTheSmallerSide) {
    struct Case {
        int w, h;
        Point centre;
        int radius, knob;
    } cases[] = {
        {30, 50, {15, 15}, 15, 2},
        {240, 240, {120, 120}, 120, 20},
        {35, 35, {17, 17}, 17, 2}, // radius 17 < 18
        {60, 36, {18, 18}, 18, 3}, // radius 18: side / 12
    };
    for (const Case& c : cases) {
        QLWCircularSliderCtrl slider;
        WindowId w = Add(WindowClass::Trackbar, 1, {0, 0, c.w, c.h});
        ASSERT_TRUE(slider.AttachToItem(dialog_, 1));
        EXPECT_EQ(slider.centre().x, c.centre.x) << c.w << "x" << c.h;
        EXPECT_EQ(slider.centre().y, c.centre.y);
        EXPECT_EQ(slider.radius(), c.radius);
        EXPECT_EQ(slider.knobRadius(), c.knob);
        int side = std::min(c.w, c.h);
        auto region = GetEllipticRegion(w);
        ASSERT_TRUE(region);
        EXPECT_EQ(region->width(), side);
        EXPECT_EQ(region->height(), side);
        RangeState r = GetRange(w);
        EXPECT_EQ(r.minimum, 0);
        EXPECT_EQ(r.maximum, 359);
        EXPECT_EQ(r.page, 10);
        DestroyWindow(w);
    }
    // A size change redoes the geometry.
    QLWCircularSliderCtrl slider;
    WindowId w = Add(WindowClass::Trackbar, 1, {0, 0, 30, 50});
    slider.AttachToItem(dialog_, 1);
    SetRect(w, {0, 0, 240, 300});
    EXPECT_EQ(slider.radius(), 120);
    EXPECT_EQ(slider.knobRadius(), 20);
}

TEST_F(ControlsTest, CircularSliderPositionFromPoint) {
    QLWCircularSliderCtrl slider;
    Add(WindowClass::Trackbar, 1, {0, 0, 100, 100});
    slider.AttachToItem(dialog_, 1);
    struct Case {
        Point p;
        bool reversed;
        int zero;
        int position;
    } cases[] = {
        {{50, 10}, false, 0, 0},    // above
        {{90, 50}, false, 0, 90},   // right
        {{50, 90}, false, 0, 180},  // below
        {{10, 50}, false, 0, 270},  // left
        {{50, 50}, false, 0, 180},  // the centre itself counts as below
        {{90, 10}, false, 0, 45},   // upper right
        {{90, 50}, true, 0, 270},   // reversed: right is 270
        {{10, 50}, true, 0, 90},    // reversed: left is 90
        {{90, 50}, false, 90, 0},   // the minimum lies at the zero angle
        {{50, 10}, false, 90, 270}, // above, 90 degrees before the zero angle
    };
    for (const Case& c : cases) {
        slider.SetReversed(c.reversed);
        slider.SetZeroAngle(c.zero);
        EXPECT_EQ(slider.PositionFromPoint(c.p), c.position)
            << c.p.x << "," << c.p.y << " reversed " << c.reversed << " zero " << c.zero;
    }
    // Over -180 .. 180 the angle maps onto the whole range.
    SetRange(slider.window(), -180, 180);
    slider.SetReversed(false);
    slider.SetZeroAngle(0);
    EXPECT_EQ(slider.PositionFromPoint({50, 10}), -180);
    EXPECT_EQ(slider.PositionFromPoint({50, 90}), 0);
}

TEST_F(ControlsTest, CircularSliderNotifiesTrackingAndReleaseOnlyAfterAMove) {
    QLWCircularSliderCtrl slider;
    WindowId w = Add(WindowClass::Trackbar, 1, {0, 0, 100, 100});
    slider.AttachToItem(dialog_, 1);
    // Press and release where the knob already is: no notification at all.
    SendMessage(w, kMsgLButtonDown, 0, PackPoint(50, 10));
    EXPECT_EQ(GetCapture(), w);
    EXPECT_EQ(GetFocus(), w);
    SendMessage(w, kMsgLButtonUp, 0, PackPoint(50, 10));
    Pump();
    EXPECT_TRUE(parent_.scrolls.empty());
    EXPECT_EQ(GetCapture(), 0u);

    // Press at 0, drag to 90, release there: tracking, then released once.
    SendMessage(w, kMsgLButtonDown, 0, PackPoint(50, 10));
    SendMessage(w, kMsgMouseMove, 0, PackPoint(90, 50));
    SendMessage(w, kMsgMouseMove, 0, PackPoint(90, 50)); // no change, no message
    SendMessage(w, kMsgLButtonUp, 0, PackPoint(90, 50));
    Pump();
    EXPECT_EQ(parent_.scrolls, (std::vector<std::pair<int, int>>{{5, 90}, {4, 90}}));
    // A move without a press does nothing.
    parent_.scrolls.clear();
    SendMessage(w, kMsgMouseMove, 0, PackPoint(50, 90));
    Pump();
    EXPECT_TRUE(parent_.scrolls.empty());
    EXPECT_EQ(GetRange(w).position, 90);
}

TEST_F(ControlsTest, CircularSliderPaintsDiscRingAndKnob) {
    QLWCircularSliderCtrl slider;
    WindowId w = Add(WindowClass::Trackbar, 1, {0, 0, 240, 240});
    slider.AttachToItem(dialog_, 1);
    SetPosition(w, 90);
    Redraw(w);
    const auto& ops = LastPaint(w)->ops();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0].rect.left, 0);
    EXPECT_EQ(ops[0].rect.right, 240);
    EXPECT_EQ(ops[0].penWidth, 2);
    EXPECT_EQ(ops[0].penColor, Rgb(203, 203, 203));
    EXPECT_EQ(ops[0].brushColor, Rgb(240, 240, 240));
    EXPECT_EQ(ops[1].rect.left, 1);
    EXPECT_EQ(ops[1].penColor, Rgb(64, 64, 64));
    // Knob at 90 degrees: e = 120 - 20 - 3 = 97 to the right, one pixel offset.
    EXPECT_EQ(ops[2].rect.left, 120 + 97 - 20 + 1);
    EXPECT_EQ(ops[2].rect.top, 120 - 20 + 1);
    EXPECT_EQ(ops[2].brushColor, Rgb(203, 203, 203));
    slider.SetReversed(true);
    EXPECT_EQ(slider.KnobAngle(), 270);
    slider.Enable(false);
    EXPECT_FALSE(IsEnabled(w));
    EXPECT_EQ(LastPaint(w)->ops()[1].penColor, Rgb(192, 192, 192));
    EXPECT_EQ(LastPaint(w)->ops()[2].penColor, Rgb(192, 192, 192));
}

TEST_F(ControlsTest, ColorSwatchFadesWhenDisabled) {
    struct Case {
        Color color;
        bool enabled;
        Color fill, frame;
    } cases[] = {
        {Rgb(255, 0, 0), true, Rgb(255, 0, 0), Rgb(0, 0, 0)},
        {Rgb(255, 0, 0), false, Rgb(255, 170, 170), Rgb(170, 170, 170)},
        {Rgb(0, 0, 0), false, Rgb(170, 170, 170), Rgb(170, 170, 170)},
        {Rgb(255, 255, 255), false, Rgb(255, 255, 255), Rgb(170, 170, 170)},
    };
    for (const Case& c : cases) {
        QLWColorImageView swatch;
        WindowId w = Add(WindowClass::Static, 1, {0, 0, 32, 20});
        swatch.AttachToItem(dialog_, 1);
        swatch.SetColor(c.color);
        swatch.Enable(c.enabled);
        const auto& ops = LastPaint(w)->ops();
        ASSERT_EQ(ops.size(), 3u);
        EXPECT_EQ(ops[0].kind, DrawOp::Kind::ClearIcon);
        EXPECT_EQ(ops[1].color, c.fill) << ColorText(c.color) << " " << c.enabled;
        EXPECT_EQ(ops[2].color, c.frame);
        DestroyWindow(w);
    }
    QLWColorImageView swatch;
    WindowId w = Add(WindowClass::Static, 1, {0, 0, 32, 32});
    swatch.AttachToItem(dialog_, 1);
    swatch.SetInnerSquare(true);
    Redraw(w);
    const auto& ops = LastPaint(w)->ops();
    ASSERT_EQ(ops.size(), 5u);
    EXPECT_EQ(ops[3].rect.left, 9); // 32 * 0.5 * 0.5625 = 9
    EXPECT_EQ(ops[3].rect.right, 23);
    EXPECT_EQ(ops[3].color, Rgb(255, 255, 255));
    // With the draw switch not negative the static shows itself.
    swatch.SetDrawSwitch(0);
    Redraw(w);
    EXPECT_NE(LastPaint(w)->ops()[0].kind, DrawOp::Kind::ClearIcon);
}

TEST_F(ControlsTest, BitmapButtonStretchesItsBitmapKeepingTheAspectRatio) {
    struct Case {
        int w, h;
        double aspect;
        bool pressed, disabled;
        int disabledId;
        Rect bitmap;
        int bitmapId;
    } cases[] = {
        {40, 30, 0.0, false, false, -1, {2, 2, 38, 28}, 821},
        {40, 40, 0.5, false, false, -1, {2, 2, 38, 18}, 821}, // height cut to 20
        {40, 40, 2.0, true, false, -1, {2, 2, 18, 38}, 821},  // width cut to 20
        {40, 30, 0.0, false, true, 824, {2, 2, 38, 28}, 824}, // disabled image
        {40, 30, 0.0, false, true, -1, {2, 2, 38, 28}, 821},  // none: the normal one
    };
    for (const Case& c : cases) {
        QLWBitmapButton button;
        WindowId w = Add(WindowClass::BitmapButton, 1, {0, 0, c.w, c.h});
        button.AttachToItem(dialog_, 1);
        button.SetBitmap(821);
        button.SetDisabledBitmap(c.disabledId);
        button.SetAspectRatio(c.aspect);
        SetPressed(w, c.pressed);
        Enable(w, !c.disabled);
        Redraw(w);
        const auto& ops = LastPaint(w)->ops();
        ASSERT_EQ(ops.size(), 2u);
        EXPECT_EQ(ops[0].kind, DrawOp::Kind::Edge);
        EXPECT_EQ(ops[0].sunken, c.pressed);
        EXPECT_EQ(ops[1].bitmapId, c.bitmapId);
        EXPECT_TRUE(ops[1].halftone);
        EXPECT_EQ(ops[1].rect.left, c.bitmap.left) << c.w << "x" << c.h << " " << c.aspect;
        EXPECT_EQ(ops[1].rect.top, c.bitmap.top);
        EXPECT_EQ(ops[1].rect.right, c.bitmap.right);
        EXPECT_EQ(ops[1].rect.bottom, c.bitmap.bottom);
        DestroyWindow(w);
    }
    // A missing bitmap leaves only the edge; a negative id draws nothing.
    QLWBitmapButton button;
    WindowId w = Add(WindowClass::BitmapButton, 1, {0, 0, 20, 20});
    button.AttachToItem(dialog_, 1);
    button.SetBitmap(9999);
    Redraw(w);
    EXPECT_EQ(LastPaint(w)->ops().size(), 1u);
    button.SetBitmap(-1);
    DrawContext dc;
    DrawItemRecord item{w, 1, 0, {0, 0, 20, 20}, &dc};
    button.DrawItem(item);
    EXPECT_TRUE(dc.empty());
}

TEST_F(ControlsTest, BitmapViewFillsItsRectangle) {
    QLWBitmapView view;
    WindowId w = Add(WindowClass::Static, 1, {0, 0, 64, 32});
    view.AttachToItem(dialog_, 1);
    view.SetBitmap(626);
    Redraw(w);
    ASSERT_EQ(LastPaint(w)->ops().size(), 1u);
    EXPECT_EQ(LastPaint(w)->ops()[0].rect.right, 64);
    EXPECT_EQ(LastPaint(w)->ops()[0].rect.bottom, 32);
}

TEST_F(ControlsTest, DragListBoxMovesAnItemAndTellsTheParent) {
    CQLWDragListBox list;
    WindowId w = Add(WindowClass::DragListBox, 1714, {0, 0, 100, 100});
    SetItems(w, {"a", "b", "c", "d"});
    list.AttachToItem(dialog_, 1714);
    EXPECT_EQ(user::DragItem(w, 0, 2), "");
    EXPECT_EQ(GetItems(w), (std::vector<std::string>{"b", "c", "a", "d"}));
    EXPECT_EQ(parent_.moves, (std::vector<std::pair<int, int>>{{0, 2}}));
    EXPECT_EQ(list.source(), 0);
    EXPECT_EQ(list.destination(), 2);
    SendMessage(w, kMsgDragging, 3);
    EXPECT_EQ(list.insertionMarker(), 3);
    SendMessage(w, kMsgDragCancel);
    EXPECT_EQ(list.insertionMarker(), -1);
    EXPECT_EQ(kMsgDragListMoved, 1124u);
}

TEST_F(ControlsTest, KeyboardHookIsReferenceCountedAndBlanksConsumedKeys) {
    KeyCounter counter;
    WindowId view = CreateDialogFromTemplate(648, dialog_, nullptr);
    ASSERT_NE(view, 0u);
    Parent viewFilter;
    viewFilter.consumeReturn = true;
    AttachHandler(view, &viewFilter);
    WindowId button = GetItem(view, 1770);
    AttachHandler(button, &counter);

    EXPECT_FALSE(vtg::KeyboardHookInstalled());
    vtg::TakeKeyboardHook();
    vtg::TakeKeyboardHook();
    EXPECT_EQ(RetrievalHookCount(), 1u);
    EXPECT_EQ(vtg::KeyboardHookReferences(), 2);
    // The view's own translation consumes Return: the button never sees it.
    user::Key(button, "return");
    EXPECT_EQ(counter.keyDowns, 0);
    user::Key(button, "a");
    EXPECT_EQ(counter.keyDowns, 1);
    vtg::SetKeyboardHooksSwitchedOff(true);
    user::Key(button, "return");
    EXPECT_EQ(counter.keyDowns, 2);
    vtg::SetKeyboardHooksSwitchedOff(false);

    vtg::ReleaseKeyboardHook();
    EXPECT_TRUE(vtg::KeyboardHookInstalled());
    vtg::ReleaseKeyboardHook();
    EXPECT_FALSE(vtg::KeyboardHookInstalled());
    EXPECT_EQ(RetrievalHookCount(), 0u);
    vtg::ReleaseKeyboardHook(); // one release too many changes nothing
    EXPECT_EQ(vtg::KeyboardHookReferences(), 0);
    vtg::TakeKeyboardHook();
    EXPECT_EQ(RetrievalHookCount(), 1u);
    vtg::ReleaseKeyboardHook();
    ResetWindowSystem();
}

TEST_F(ControlsTest, ControlTextIsCutOnCharacterBoundariesAndTerminated) {
    WindowId edit = Add(WindowClass::Edit, 1, {0, 0, 50, 20});
    std::string longText;
    for (int i = 0; i < 200; ++i)
        longText += "角";
    struct Case {
        std::string text;
        std::size_t size;
        std::string expected;
        bool whole;
    } cases[] = {
        {"abc", 8, "abc", true},
        {"abc", 3, "ab", false},
        {"角度", 6, "角", false}, // the second character does not fit with the NUL
        {"角度", 7, "角度", true},
        {longText, 100, longText.substr(0, 99), false}, // 33 whole characters
        {"x", 1, "", false},
    };
    for (const Case& c : cases) {
        SetText(edit, c.text);
        char buffer[128];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(vtg::GetControlText(edit, buffer, c.size), c.whole) << c.size;
        EXPECT_EQ(std::string(buffer), c.expected);
        EXPECT_TRUE(vtg::IsValidUtf8(buffer));
        EXPECT_EQ(buffer[c.size], '#'); // nothing written past the buffer
    }
    char one = '#';
    EXPECT_FALSE(vtg::GetControlText(edit, &one, 0));
    EXPECT_EQ(one, '#');
}

TEST_F(ControlsTest, NumbersIntegersAndDistancesAreShownAsTheyShouldBe) {
    WindowId edit = Add(WindowClass::Edit, 1, {0, 0, 50, 20});
    vtg::SetControlInteger(-42, edit);
    EXPECT_EQ(GetText(edit), "-42");
    vtg::SetControlNumber(99.5, 3, edit);
    EXPECT_EQ(GetText(edit), "99.500");
    vtg::SetControlNumber(-0.0001, 3, edit);
    EXPECT_EQ(GetText(edit), "0.000");
    vtg::SetControlDistance(72.0, 4, edit);
    EXPECT_EQ(GetText(edit), "72.0000 pt");
    vtg::SetControlDistance(72.0, 4, edit, vtg::kRulerMillimeters);
    EXPECT_EQ(GetText(edit), "25.4000 mm");
    WindowId other = Add(WindowClass::Edit, 2, {5, 40, 50, 60});
    vtg::MoveControlBy(other, 15);
    Rect r = GetRect(other);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 55);
    EXPECT_EQ(r.width(), 45);
    EXPECT_EQ(r.height(), 20);
}

TEST(ParseDistance, ReadsLengthsWithAndWithoutUnits) {
    struct Case {
        const char* text;
        std::int32_t ruler;
        ErrorCode result;
        double value;
        const char* display;
    } cases[] = {
        {"12", vtg::kRulerPoints, kNoErr, 12.0, "12.0000 pt"},
        {" 1 in", vtg::kRulerPoints, kNoErr, 72.0, "72.0000 pt"},
        {"1.5in", vtg::kRulerPoints, kNoErr, 108.0, "108.0000 pt"},
        {"10", vtg::kRulerMillimeters, kNoErr, 720.0 / 25.4, "10.0000 mm"},
        {"1 cm", vtg::kRulerMillimeters, kNoErr, 720.0 / 25.4, "10.0000 mm"},
        {"2 pc", vtg::kRulerPoints, kNoErr, 24.0, "24.0000 pt"},
        {"20000", vtg::kRulerPoints, kNoErr, 18000.0, "18000.0000 pt"}, // limited
        {"-20000", vtg::kRulerPoints, kNoErr, -18000.0, "-18000.0000 pt"},
        {"abc", vtg::kRulerPoints, kBadParameterErr, 5.0, "old"},
        {"", vtg::kRulerPoints, kBadParameterErr, 5.0, "old"},
        {"3 parsecs", vtg::kRulerPoints, kBadParameterErr, 5.0, "old"},
        {"nan", vtg::kRulerPoints, kBadParameterErr, 5.0, "old"},
    };
    for (const Case& c : cases) {
        double value = 5.0;
        std::string display = "old";
        EXPECT_EQ(vtg::ParseDistance(c.text, -18000, 18000, 4, display, value, c.ruler), c.result)
            << c.text;
        EXPECT_NEAR(value, c.value, 1e-9) << c.text;
        EXPECT_EQ(display, c.display) << c.text;
    }
}

} // namespace
