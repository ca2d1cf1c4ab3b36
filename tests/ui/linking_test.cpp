#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>

#include "../platform/platform_fixture.hpp"
#include "app/script.hpp"
#include "host/host.hpp"
#include "support/ui_driver.hpp"
#include "ui/circular_slider.hpp"
#include "ui/value_link.hpp"

namespace {

using namespace platform;

constexpr const char* kPanelTemplate = R"(# a panel-sized test view
dialog 900 "Linked" 0 0 240 180
control 1000 static 8 8 60 20 "値:"
control 1001 edit 70 8 70 20 "0"
control 1002 spin 140 8 14 20 ""
control 1003 trackbar 8 32 224 24 ""
control 1004 trackbar 8 64 80 80 ""
control 1005 edit 100 64 70 20 "0"
control 1006 spin 170 64 14 20 ""
control 1007 edit 100 92 70 20 "0"
control 1010 button 100 150 80 22 "詳細..."
)";

constexpr const char* kModalTemplate = R"(dialog 901 "Detail" 0 0 200 100
control 2001 edit 10 10 100 20 ""
control 1 button 10 70 50 20 "OK" style=default
control 2 button 70 70 50 20 "キャンセル"
)";

struct ModalDetail : WindowHandler {
    std::string typed;
    bool OnMessage(WindowId w, std::uint32_t code, Param wp, Param, Param&) override {
        if (code != kMsgCommand || HighWord(wp) != kNotifyClicked)
            return false;
        if (LowWord(wp) == 1)
            typed = GetText(GetItem(w, 2001));
        if (LowWord(wp) == 1 || LowWord(wp) == 2)
            EndDialog(w, LowWord(wp) == 1 ? 0 : 1);
        return true;
    }
};

// The test view: a number with edit, spin and slider (-100 .. 100), an
// angle with a circular slider, edit and spin (-180 .. 180, held in
// radians), a percentage without slider, and a button opening a modal.
struct LinkedPanel : WindowHandler {
    double value = 0.0, angle = 0.0, percent = 0.0;
    int changes = 0;
    int modalResult = -100;
    ModalDetail detail;
    vtg::QLWCircularSliderCtrl circle;
    vtg::ValueLinker linker;

    static void Changed(void* self) { ++static_cast<LinkedPanel*>(self)->changes; }

    bool OnMessage(WindowId w, std::uint32_t code, Param wp, Param lp, Param&) override {
        if (code == kMsgInitDialog) {
            linker.SetDialog(w);
            circle.AttachToItem(w, 1004);
            SetRange(GetItem(w, 1003), -100, 100);
            SetPageSize(GetItem(w, 1003), 5);
            SetRange(GetItem(w, 1004), -180, 180);
            vtg::LinkedValue v;
            v.edit = 1001, v.spin = 1002, v.slider = 1003, v.minimum = -100, v.maximum = 100;
            v.target = &value;
            linker.Add(v);
            vtg::LinkedValue a;
            a.edit = 1005, a.spin = 1006, a.slider = 1004, a.minimum = -180, a.maximum = 180;
            a.scale = std::numbers::pi / 180.0;
            a.target = &angle;
            linker.Add(a);
            vtg::LinkedValue p;
            p.edit = 1007, p.minimum = 1, p.maximum = 20000, p.scale = 0.01;
            p.target = &percent;
            linker.Add(p);
            linker.SetOnChange(&Changed, this);
            linker.ShowAll();
            return true;
        }
        if (code == kMsgCommand && LowWord(wp) == 1010 && HighWord(wp) == kNotifyClicked) {
            WindowId modal = CreateDialogFromTemplate(901, w, &detail);
            modalResult = RunModal(modal);
            DestroyWindow(modal);
            return true;
        }
        return linker.Handle(code, wp, lp);
    }
};

class LinkingTest : public vtgtest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        host_ = std::make_unique<hostapp::Host>();
        host_->user().setEcho(false);
        WriteTemplate(900, kPanelTemplate);
        WriteTemplate(901, kModalTemplate);
        view_ = CreateDialogFromTemplate(900, 0, &panel_);
        ASSERT_NE(view_, 0u);
        // The view stands in for the live-object panel's.
        RegisterNamedWindow(app::PanelWindowName("live"), view_);
        ui_.address(view_);
        vtg::lastScrollCode = kScrollEnd;
    }
    void TearDown() override {
        ResetWindowSystem();
        host_.reset();
        WindowTest::TearDown();
    }
    // Runs script lines; the error text, empty on success.
    std::string Run(const std::string& script) {
        app::ScriptRunner runner(*host_);
        std::istringstream in(script);
        return runner.run(in) ? "" : runner.error();
    }

    std::unique_ptr<hostapp::Host> host_;
    LinkedPanel panel_;
    WindowId view_ = 0;
    vtgtest::UiDriver ui_;
};

TEST_F(LinkingTest, TypingSpinningAndSlidingStayLinked) {
    struct Step {
        const char* action;
        const char* arg;
        const char* shown;
        int slider;
        double stored;
    } steps[] = {
        {"text", "150", "100.000", 100, 100.0}, // clamped to the maximum
        {"text", "99.5", "99.500", 100, 99.5},  // slider rounds half away from zero
        {"spin", "up", "100.000", 100, 100.0},  // 99.500 + 1, clamped
        {"spin", "up", "100.000", 100, 100.0},  // no further
        {"spin", "down", "99.000", 99, 99.0},     {"text", "-2.5", "-2.500", -3, -2.5},
        {"text", "abc", "0.000", 0, 0.0}, // not a number reads as 0
        {"slide", "-40", "-40.000", -40, -40.0},  {"pageleft", "", "-45.000", -45, -45.0},
        {"pageright", "", "-40.000", -40, -40.0},
    };
    WindowId slider = ui_.control(1003);
    for (const Step& s : steps) {
        std::string a = s.action;
        std::string r;
        if (a == "text")
            r = ui_.text(1001, s.arg);
        else if (a == "spin")
            r = ui_.spin(1002, std::string(s.arg) == "up");
        else if (a == "slide")
            r = ui_.slide(1003, std::atoi(s.arg));
        else
            SendMessage(view_, kMsgHScroll,
                        MakeParam(a == "pageleft" ? kScrollPageLeft : kScrollPageRight, 0),
                        static_cast<Param>(slider));
        EXPECT_EQ(r, "");
        EXPECT_TRUE(ui_.expect(1001, s.shown)) << a << " " << s.arg;
        EXPECT_EQ(GetRange(slider).position, s.slider) << a << " " << s.arg;
        EXPECT_DOUBLE_EQ(panel_.value, s.stored) << a << " " << s.arg;
    }
    EXPECT_EQ(vtg::lastScrollCode, kScrollPageRight);
    ui_.slide(1003, 10);
    EXPECT_EQ(vtg::lastScrollCode, kScrollEnd); // the gesture ends with end-scroll
    EXPECT_GE(panel_.changes, 10);
}

TEST_F(LinkingTest, ScaledValuesAreStoredConvertedAndShownAsTyped) {
    ui_.text(1007, "150");
    EXPECT_DOUBLE_EQ(panel_.percent, 1.5);
    EXPECT_TRUE(ui_.expect(1007, "150.000"));
    ui_.text(1007, "0");
    EXPECT_DOUBLE_EQ(panel_.percent, 0.01);
    ui_.text(1005, "-90");
    EXPECT_NEAR(panel_.angle, -std::numbers::pi / 2, 1e-12);
    EXPECT_EQ(GetRange(ui_.control(1004)).position, -90);
}

TEST_F(LinkingTest, TheScriptDrivesTheLinkedPanelAndPicturesTheCircularSlider) {
    std::string svgPath = folder_.string() + "/circle.svg";
    std::string error = Run("panel live\n"
                            "text 1001 \"150\"\n"
                            "expect 1001 \"100.000\"\n"
                            "expect 1003 \"100\"\n"
                            "spin 1002 down\n"
                            "expect 1001 \"99.000\"\n"
                            "slide 1003 -20\n"
                            "expect 1001 \"-20.000\"\n"
                            "slide 1004 90\n"
                            "expect 1005 \"90.000\"\n"
                            "spin 1006 up\n"
                            "expect 1004 \"91\"\n"
                            "expect 1000 \"値:\"\n"
                            "picture 1004 \"" +
                            svgPath + "\"\n");
    EXPECT_EQ(error, "");
    EXPECT_DOUBLE_EQ(panel_.value, -20.0);
    EXPECT_NEAR(panel_.angle, 91 * std::numbers::pi / 180, 1e-12);
    // The circular slider dragged by the script posts tracking and release only.
    EXPECT_EQ(vtg::lastScrollCode, kScrollThumbPosition);
    std::ifstream in(svgPath);
    std::stringstream svg;
    svg << in.rdbuf();
    EXPECT_NE(svg.str().find("<svg"), std::string::npos);
    EXPECT_NE(svg.str().find("<ellipse"), std::string::npos);
    EXPECT_NE(svg.str().find("fill=\"#f0f0f0\""), std::string::npos);
    if (const char* keep = std::getenv("VTG_KEEP_PICTURES"))
        std::ofstream(std::string(keep) + "/circular_slider.svg") << svg.str();

    EXPECT_EQ(Run("panel live\nexpect 1001 \"1\"\n"),
              "script:2: control 1001 shows \"-20.000\", not \"1\"");
    EXPECT_EQ(Run("panel tool\n"), "script:1: panel \"tool\" is not open");
    EXPECT_EQ(Run("text 1001 \"1\"\n"), "script:1: no panel or dialog is addressed");
    EXPECT_EQ(Run("panel live\nclick 4242\n"), "script:2: no control 4242 in the addressed window");
    EXPECT_EQ(Run("panel live\nspin 1002 sideways\n"), "script:2: usage: spin ID up | down");
}

TEST_F(LinkingTest, AModalDialogReadsTheFollowingLinesAndFailsWhenTheyEnd) {
    EXPECT_EQ(Run("panel live\n"
                  "click 1010\n"
                  "text 2001 \"名前\"\n" // the modal dialog is addressed first
                  "click 1\n"
                  "text 1001 \"5\"\n" // back in the panel
                  "expect 1001 \"5.000\"\n"),
              "");
    EXPECT_EQ(panel_.detail.typed, "名前");
    EXPECT_EQ(panel_.modalResult, 0);

    EXPECT_EQ(Run("panel live\nclick 1010\nkey escape\n"), "");
    EXPECT_EQ(panel_.modalResult, 1);

    EXPECT_EQ(Run("panel live\nclick 1010\ntext 2001 \"x\"\n"),
              "script:3: the input ended while dialog 901 \"Detail\" was open");
    EXPECT_EQ(panel_.modalResult, kModalInputEnded);
}

TEST_F(LinkingTest, TheDriverFeedsAModalDialogStepByStep) {
    ui_.then([](vtgtest::UiDriver& ui) { EXPECT_EQ(ui.text(2001, "abc"), ""); });
    ui_.then([](vtgtest::UiDriver& ui) { EXPECT_EQ(ui.click(1), ""); });
    EXPECT_EQ(ui_.click(1010), "");
    EXPECT_EQ(panel_.detail.typed, "abc");
    EXPECT_EQ(panel_.modalResult, 0);
    EXPECT_EQ(QueuedUserInput(), 0u);
    // Back at the panel once the dialog has gone.
    EXPECT_EQ(ui_.addressed(), view_);
}

TEST_F(LinkingTest, ScriptKeysHoldsAnswersAndPrints) {
    EXPECT_EQ(Run("hold alt shift\n"), "");
    EXPECT_TRUE(IsKeyDown(Modifier::Alt));
    EXPECT_TRUE(IsKeyDown(Modifier::Shift));
    EXPECT_FALSE(IsKeyDown(Modifier::Ctrl));
    EXPECT_EQ(Run("hold\n"), "");
    EXPECT_FALSE(IsKeyDown(Modifier::Alt));
    EXPECT_EQ(Run("hold meta\n"), "script:1: usage: hold [alt] [ctrl] [shift]");

    EXPECT_EQ(Run("answer no\nanswer text \"名前\"\nanswer folder /tmp\n"), "");
    ASSERT_EQ(host_->user().pending(), 3u);
    EXPECT_EQ(host_->user().take()->kind, hostapp::Answer::Kind::No);
    EXPECT_EQ(host_->user().take()->text, "名前");
    EXPECT_EQ(host_->user().take()->kind, hostapp::Answer::Kind::Folder);

    host_->user().alert("一行目\n二行目");
    EXPECT_EQ(Run("expect-alert \"一行目\\n二行目\"\n"), "");
    EXPECT_EQ(Run("expect-alert \"other\"\n"),
              "script:1: the last alert is \"一行目\\n二行目\", not \"other\"");

    testing::internal::CaptureStdout();
    EXPECT_EQ(Run("panel live\ntext 1001 \"7\"\nprint 1001\nprint 1003\nkey ctrl+return\n"), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1001: 7.000\n1003: 7\n");
}

} // namespace
