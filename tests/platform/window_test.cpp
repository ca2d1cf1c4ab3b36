#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include <pugixml.hpp>

#include "platform/draw.hpp"
#include "platform/html_view.hpp"
#include "platform_fixture.hpp"

namespace {

using namespace platform;
using vtgtest::WindowTest;

// Records every message a window's handler sees; consumes those it is told to.
struct Recorder : WindowHandler {
    std::vector<QueuedMessage> seen;
    std::uint32_t consume = kMsgNull;
    bool OnMessage(WindowId w, std::uint32_t code, Param wp, Param lp, Param& result) override {
        seen.push_back({w, code, wp, lp});
        result = code == kMsgPreTranslate && consume != kMsgNull &&
                         reinterpret_cast<const QueuedMessage*>(lp)->code == consume
                     ? 1
                     : 0;
        return code == consume || result != 0;
    }
    int count(std::uint32_t code) const {
        int n = 0;
        for (const auto& m : seen)
            n += m.code == code;
        return n;
    }
};

TEST(DialogTemplate, ParsesControlsAndRejectsBrokenLines) {
    std::string error;
    auto t =
        ParseDialogTemplate("# a comment\n"
                            "dialog 900 \"テスト\" 0 0 200 100 style=frame\n"
                            "control 1 button 10 70 50 20 \"OK\" style=default\n"
                            "control 5 combobox 10 10 80 20 \"\" items=\"a|b c|d\"\n"
                            "control 6 bitmapbutton 100 10 24 24 \"\" image=821 style=hidden\n",
                            error);
    ASSERT_TRUE(t) << error;
    EXPECT_EQ(t->title, "テスト");
    EXPECT_EQ(t->rect.width(), 200);
    ASSERT_EQ(t->controls.size(), 3u);
    EXPECT_EQ(t->controls[0].style, kStyleDefault);
    EXPECT_EQ(t->controls[1].items, (std::vector<std::string>{"a", "b c", "d"}));
    EXPECT_EQ(t->controls[2].image, 821);
    EXPECT_EQ(t->controls[2].cls, WindowClass::BitmapButton);

    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "no dialog statement"},
        {"control 1 button 0 0 1 1 \"x\"", "line 1: control before the dialog statement"},
        {"dialog 1 \"t\" 0 0 10", "line 1: usage: dialog"},
        {"dialog 1 \"t\" 0 0 10 10\ncontrol 2 wheel 0 0 1 1 \"x\"",
         "line 2: unknown control class"},
        {"dialog 1 \"t\" 0 0 10 10\ncontrol 2 edit 0 0 -1 1 \"x\"", "line 2: usage: control"},
        {"dialog 1 \"t\" 0 0 10 10\ncontrol 2 edit 0 0 1 1 \"x", "line 2: unterminated text"},
        {"dialog 1 \"t\" 0 0 10 10 style=round", "line 1: unknown style \"round\""},
        {"dialog 1 \"t\" 0 0 10 10\ndialog 2 \"u\" 0 0 1 1", "line 2: a second dialog"},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_FALSE(ParseDialogTemplate(c.text, reason)) << c.text;
        EXPECT_EQ(reason.rfind(c.error, 0), 0u) << reason;
    }
}

TEST_F(WindowTest, DialogFromTemplateHasItsControlsAndIsInitialised) {
    WriteTemplate(900, "dialog 900 \"T\" 0 0 200 100\n"
                       "control 10 edit 5 5 60 20 \"abc\" style=disabled\n"
                       "control 11 checkbox 5 30 60 20 \"check\" style=hidden\n");
    Recorder r;
    vtgtest::WindowsGuard guard;
    std::string error;
    WindowId d = CreateDialogFromTemplate(900, 0, &r, &error);
    ASSERT_NE(d, 0u) << error;
    EXPECT_EQ(r.count(kMsgInitDialog), 1);
    WindowId edit = GetItem(d, 10);
    EXPECT_EQ(GetText(edit), "abc");
    EXPECT_FALSE(IsEnabled(edit));
    EXPECT_FALSE(IsVisible(GetItem(d, 11)));
    EXPECT_EQ(GetItem(d, 12), 0u);
    EXPECT_EQ(DialogTemplateId(d), 900);

    EXPECT_EQ(CreateDialogFromTemplate(901, 0, &r, &error), 0u);
    EXPECT_NE(error.find("dialog template 901 not found"), std::string::npos) << error;
    // A template whose id differs from its file name is refused.
    WriteTemplate(902, "dialog 903 \"T\" 0 0 1 1\n");
    EXPECT_EQ(CreateDialogFromTemplate(902, 0, &r, &error), 0u);
}

TEST_F(WindowTest, PostedMessagesPassHooksNewestFirstAndBlankedOnesAreDropped) {
    Recorder r;
    vtgtest::WindowsGuard guard;
    WindowId w = CreateWindow(WindowClass::TopLevel, 0, 0, "", {0, 0, 10, 10});
    AttachHandler(w, &r);
    std::vector<std::string> order;
    int first = AddRetrievalHook([&](QueuedMessage&) { order.push_back("first"); });
    int second = AddRetrievalHook([&](QueuedMessage& m) {
        order.push_back("second");
        if (m.wparam == 7)
            m = {m.window, kMsgNull, 0, 0};
    });
    PostMessage(w, kMsgUser, 7);
    PostMessage(w, kMsgUser, 8);
    EXPECT_EQ(r.count(kMsgUser), 0); // nothing before the pump
    Pump();
    EXPECT_EQ(order, (std::vector<std::string>{"second", "first", "second", "first"}));
    ASSERT_EQ(r.count(kMsgUser), 1);
    EXPECT_EQ(r.seen.back().wparam, 8);
    RemoveRetrievalHook(second);
    RemoveRetrievalHook(first);
    EXPECT_EQ(RetrievalHookCount(), 0u);
    // Messages for a destroyed window are dropped.
    PostMessage(w, kMsgUser, 9);
    DestroyWindow(w);
    Pump();
    EXPECT_EQ(QueuedCount(), 0u);
}

TEST_F(WindowTest, HandlersChainNewestFirstAndMayDetachThemselves) {
    // The newer handler passes a message on explicitly, then detaches itself.
    struct Newer : WindowHandler {
        bool OnMessage(WindowId w, std::uint32_t code, Param wp, Param lp, Param& result) override {
            if (code == kMsgUser) {
                result = CallNext(w, this, code, wp + 1, lp);
                return true;
            }
            if (code == kMsgDestroy)
                DetachHandler(w, this);
            return false;
        }
    };
    Recorder older;
    Newer newer;
    vtgtest::WindowsGuard guard;
    WindowId w = CreateWindow(WindowClass::Static, 0, 0, "", {0, 0, 10, 10});
    AttachHandler(w, &older);
    AttachHandler(w, &newer);
    SendMessage(w, kMsgUser, 1);
    ASSERT_EQ(older.count(kMsgUser), 1);
    EXPECT_EQ(older.seen.back().wparam, 2);
    DestroyWindow(w);
    EXPECT_EQ(older.count(kMsgDestroy), 1); // still reached after the newer one left
}

TEST_F(WindowTest, ModalLoopEndsByInputAndFailsWhenInputRunsOut) {
    WriteTemplate(900, "dialog 900 \"Modal\" 0 0 200 100\n"
                       "control 1 button 10 70 50 20 \"OK\" style=default\n"
                       "control 2 button 70 70 50 20 \"Cancel\"\n");
    struct Ender : WindowHandler {
        bool OnMessage(WindowId w, std::uint32_t code, Param wp, Param, Param&) override {
            if (code == kMsgCommand && HighWord(wp) == kNotifyClicked)
                EndDialog(w, LowWord(wp) == 1 ? 0 : 1);
            return code == kMsgCommand;
        }
    } ender;
    vtgtest::WindowsGuard guard;
    WindowId d = CreateDialogFromTemplate(900, 0, &ender);
    QueueUserInput([d] { user::Click(GetItem(d, 2)); });
    EXPECT_EQ(RunModal(d), 1);
    EXPECT_EQ(CurrentModalDialog(), 0u);

    // Return clicks the default button through the dialog's own translation.
    QueueUserInput([d] { user::Key(d, "return"); });
    EXPECT_EQ(RunModal(d), 0);

    // No input left: the loop ends with a clear error instead of waiting.
    QueueUserInput([d] { user::Type(d, "ignored"); }); // a failing gesture is still input
    EXPECT_EQ(RunModal(d), kModalInputEnded);
    EXPECT_EQ(ModalError(), "the input ended while dialog 900 \"Modal\" was open");
}

TEST_F(WindowTest, ClicksFocusAndRadioGroups) {
    Recorder r;
    vtgtest::WindowsGuard guard;
    WindowId d = CreateWindow(WindowClass::Dialog, 0, 0, "", {0, 0, 300, 200});
    AttachHandler(d, &r);
    WindowId edit = CreateWindow(WindowClass::Edit, d, 10, "", {0, 0, 50, 20});
    WindowId a = CreateWindow(WindowClass::RadioButton, d, 20, "a", {0, 30, 50, 20}, kStyleGroup);
    WindowId b = CreateWindow(WindowClass::RadioButton, d, 21, "b", {0, 50, 50, 20});
    WindowId c = CreateWindow(WindowClass::RadioButton, d, 22, "c", {0, 70, 50, 20}, kStyleGroup);
    WindowId check = CreateWindow(WindowClass::CheckBox, d, 30, "k", {0, 90, 50, 20});
    SetChecked(c, true);

    EXPECT_EQ(user::Type(edit, "12"), "");
    EXPECT_EQ(GetFocus(), edit);
    r.seen.clear();
    EXPECT_EQ(user::Click(b), "");
    // The edit's loss of focus reaches the dialog before the click.
    ASSERT_GE(r.seen.size(), 2u);
    auto commands = std::vector<int>{};
    for (const auto& m : r.seen)
        if (m.code == kMsgCommand)
            commands.push_back(HighWord(m.wparam));
    EXPECT_EQ(commands, (std::vector<int>{kNotifyEditKillFocus, kNotifyClicked}));
    EXPECT_TRUE(IsChecked(b));
    EXPECT_FALSE(IsChecked(a));
    EXPECT_TRUE(IsChecked(c)); // another group
    user::Click(a);
    EXPECT_TRUE(IsChecked(a));
    EXPECT_FALSE(IsChecked(b));
    user::Click(check);
    EXPECT_TRUE(IsChecked(check));
    user::Click(check);
    EXPECT_FALSE(IsChecked(check));

    Enable(check, false);
    EXPECT_EQ(user::Click(check), "control 30 is disabled");
    Show(edit, false);
    EXPECT_EQ(user::Type(edit, "1"), "control 10 is hidden");
    EXPECT_EQ(user::Type(a, "1"), "control 20 is a radio, not an edit");
    EXPECT_EQ(user::Choose(a, 0), "control 20 is a radio, not a list");
}

TEST_F(WindowTest, ListsSlidersAndSpinsNotifyTheirParent) {
    Recorder r;
    vtgtest::WindowsGuard guard;
    WindowId d = CreateWindow(WindowClass::Dialog, 0, 0, "", {0, 0, 300, 200});
    AttachHandler(d, &r);
    WindowId combo = CreateWindow(WindowClass::ComboBox, d, 5, "", {0, 0, 80, 20});
    SetItems(combo, {"一", "二"});
    EXPECT_EQ(user::Choose(combo, 2), "control 5 has no item 2 (2 items)");
    EXPECT_EQ(user::Choose(combo, 1), "");
    EXPECT_EQ(user::Shown(combo), "二");
    EXPECT_EQ(HighWord(r.seen.back().wparam), kNotifySelChange);

    WindowId slider = CreateWindow(WindowClass::Trackbar, d, 6, "", {0, 30, 100, 20});
    SetRange(slider, -10, 10);
    r.seen.clear();
    user::Slide(slider, 50); // beyond the range: the thumb stops at the end
    std::vector<std::pair<int, int>> scrolls;
    for (const auto& m : r.seen)
        if (m.code == kMsgHScroll)
            scrolls.emplace_back(LowWord(m.wparam), HighWord(m.wparam));
    EXPECT_EQ(scrolls, (std::vector<std::pair<int, int>>{
                           {kScrollThumbTrack, 10}, {kScrollThumbPosition, 10}, {kScrollEnd, 0}}));
    EXPECT_EQ(user::Shown(slider), "10");

    WindowId spin = CreateWindow(WindowClass::UpDown, d, 7, "", {0, 60, 20, 20});
    r.seen.clear();
    user::Spin(spin, -1);
    ASSERT_EQ(r.count(kMsgNotify), 1);
    EXPECT_EQ(r.seen.back().wparam, 7);
}

TEST_F(WindowTest, ExtendedListsAddWithCtrlAndDoubleClicksChooseFirst) {
    Recorder r;
    vtgtest::WindowsGuard guard;
    WindowId d = CreateWindow(WindowClass::Dialog, 0, 0, "", {0, 0, 300, 200});
    AttachHandler(d, &r);
    WindowId list =
        CreateWindow(WindowClass::ListBox, d, 8, "", {0, 0, 100, 80}, kStyleMultiSelect);
    SetItems(list, {"a", "b", "c"});
    // Ctrl adds to the selection and takes a selected item out again; a
    // plain click leaves only its item.
    struct Step {
        bool ctrl;
        int index;
        std::vector<int> selected;
    };
    for (const Step& s : {Step{false, 0, {0}}, Step{true, 2, {0, 2}}, Step{true, 1, {0, 1, 2}},
                          Step{true, 0, {1, 2}}, Step{false, 1, {1}}}) {
        SetKeyDown(Modifier::Ctrl, s.ctrl);
        EXPECT_EQ(user::Choose(list, s.index), "");
        EXPECT_EQ(GetSelectedIndices(list), s.selected) << s.index;
    }
    SetKeyDown(Modifier::Ctrl, false);

    r.seen.clear();
    EXPECT_EQ(user::DoubleClickItem(list, 2), "");
    std::vector<int> notes;
    for (const auto& m : r.seen)
        if (m.code == kMsgCommand)
            notes.push_back(HighWord(m.wparam));
    EXPECT_EQ(notes, (std::vector<int>{kNotifySelChange, kNotifyDoubleClick}));
    EXPECT_EQ(GetSelectedIndices(list), (std::vector<int>{2}));
    EXPECT_EQ(user::DoubleClickItem(list, 3), "control 8 has no item 3 (3 items)");
    WindowId combo = CreateWindow(WindowClass::ComboBox, d, 9, "", {0, 90, 80, 20});
    EXPECT_EQ(user::DoubleClickItem(combo, 0), "control 9 is a combobox, not a list box");
}

TEST_F(WindowTest, SvgPictureShowsControlsAndClipsRegions) {
    WindowId d = CreateWindow(WindowClass::Dialog, 0, 0, "", {0, 0, 120, 80});
    WindowId b = CreateWindow(WindowClass::PushButton, d, 1, "A&B", {10, 10, 60, 30});
    SetEllipticRegion(b, Rect{0, 0, 50, 20});
    std::string svg = RenderSvg(d);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("width=\"120\" height=\"80\""), std::string::npos);
    EXPECT_NE(svg.find(">A&amp;B</text>"), std::string::npos);
    EXPECT_NE(svg.find("clip-path=\"url(#clip"), std::string::npos);
    ASSERT_NE(LastPaint(b), nullptr);
    EXPECT_EQ(LastPaint(b)->ops()[1].kind, DrawOp::Kind::Edge);
}

// Text in a picture: new lines and the control's width break it into lines
// from the top, as the control shows it; what XML cannot hold (NUL, control
// characters, bytes that are not UTF-8) becomes U+FFFD, so the picture is
// always well-formed.
TEST_F(WindowTest, SvgPictureLaysOutLinesAndHoldsOnlyXmlText) {
    struct Case {
        const char* text;
        int width;
        std::vector<std::string> lines;
    } cases[] = {
        {"one line", 100, {"one line"}},
        {"first\nsecond", 100, {"first", "second"}},
        {"first\r\n\nthird", 100, {"first", "", "third"}},
        {"wrap these words here", 50, {"wrap", "these", "words", "here"}},
        {"wrap these words here", 60, {"wrap these", "words here"}},
        {"abcdefghijkl", 36, {"abcdef", "ghijkl"}},
        {"適用: ダブルクリック\n更新: Altキー＋クリック",
         160,
         {"適用: ダブルクリック", "更新: Altキー＋クリック"}},
        {"連続して複数選択するには", 66, {"連続して複数", "選択するには"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LayoutTextLines(c.text, c.width), c.lines) << c.text;

    WindowId d = CreateWindow(WindowClass::Dialog, 0, 0, "", {0, 0, 200, 120});
    CreateWindow(WindowClass::Static, d, 1, "top\nbottom", {10, 10, 110, 50});
    CreateWindow(WindowClass::Static, d, 2, std::string("nul\0here", 8), {10, 60, 110, 80});
    CreateWindow(WindowClass::ListBox, d, 3, "", {120, 10, 190, 110});
    SetItems(GetItem(d, 3),
             {"bad \xE8\x87", "ctl \x01\x1F", "ok & <fine>", "\xC0\xAF\xED\xA0\x80"});
    const std::string svg = RenderSvg(d);
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(svg.c_str())) << svg;
    EXPECT_NE(
        svg.find("<tspan x=\"12\" y=\"21\">top</tspan><tspan x=\"12\" y=\"35\">bottom</tspan>"),
        std::string::npos)
        << svg;
    for (const char* shown : {">nul\xEF\xBF\xBDhere<", ">bad \xEF\xBF\xBD\xEF\xBF\xBD<",
                              ">ctl \xEF\xBF\xBD\xEF\xBF\xBD<", ">ok &amp; &lt;fine&gt;<"})
        EXPECT_NE(svg.find(shown), std::string::npos) << shown;
    EXPECT_EQ(svg.find('\0'), std::string::npos);
}

TEST_F(WindowTest, HtmlViewKeepsHistoryAndLogsEveryAction) {
    WindowId v = CreateWindow(WindowClass::HtmlView, 0, 0, "", {0, 0, 100, 100});
    EXPECT_FALSE(HtmlBack(v));
    HtmlNavigate(v, "/a.html");
    HtmlNavigate(v, "/b.html");
    EXPECT_TRUE(HtmlBack(v));
    EXPECT_FALSE(HtmlBack(v));
    EXPECT_TRUE(HtmlForward(v));
    EXPECT_FALSE(HtmlForward(v));
    HtmlPrintPreview(v);
    EXPECT_EQ(HtmlLog(v),
              (std::vector<std::string>{"navigate /a.html", "navigate /b.html", "back /a.html",
                                        "forward /b.html", "print-preview /b.html"}));
    DestroyWindow(v);
    EXPECT_TRUE(HtmlLog(v).empty());
}

TEST_F(WindowTest, ImagesComeThroughTheIdToFileTable) {
    // The installed resources.
    auto image = LoadImage(ImageKind::Bitmap, 821);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 32);
    EXPECT_NE(ImageSvgText(*image).rfind("<svg", 0), std::string::npos);
    EXPECT_FALSE(LoadImage(ImageKind::Bitmap, 12345));
    EXPECT_FALSE(LoadImage(ImageKind::Cursor, 821)); // kinds are separate name spaces
    EXPECT_TRUE(LoadImage(ImageKind::Icon, 19000));
    EXPECT_FALSE(LoadTextResource("../IDTOFILE"));
}

TEST_F(WindowTest, CursorNamesPickTheSizeOfOneListedPicture) {
    struct Case {
        const char* name;
        int size; // 0: not found
    };
    const Case cases[] = {
        {"CURS_16050", 32},
        {"CURS_16050_AT_2X", 64},
        {"CURS_16050_AT_3TO2X", 48},
        {"CURS_", 0},
        {"CURS_16050_AT_5X", 0},
        {"16050", 0},
        {"CURS_821", 0},
        {"CURS_-1", 0},
        {"CURS_99999999999", 0},
        {"CURS_16050_AT_2X_AT_2X", 0},
    };
    for (const Case& c : cases) {
        auto cursor = LoadCursor(c.name);
        EXPECT_EQ(cursor ? cursor->width : 0, c.size) << c.name;
        if (cursor) {
            EXPECT_EQ(cursor->path, LoadImage(ImageKind::Cursor, 16050)->path);
        }
    }
    EXPECT_EQ(CursorResourceName(16050, 1.5), "CURS_16050_AT_3TO2X");
    EXPECT_EQ(CursorResourceName(16050, 3), "CURS_16050");
}

TEST(Shell, RequestsAreRecordedAndNeverLaunchedInTests) {
    ClearShellRequests();
    SetShellRecorder([](const std::string& program, const std::string&) {
        return program == "missing" ? 2 : 42;
    });
    EXPECT_EQ(ShellOpen("missing", "file:///x"), 2);
    EXPECT_EQ(ShellOpen("xdg-open", "file:///y"), 42);
    EXPECT_EQ(ShellRequests(),
              (std::vector<std::string>{"missing file:///x", "xdg-open file:///y"}));
    SetShellRecorder(nullptr);
    ClearShellRequests();
}

TEST(Shell, DefaultBrowserIsFoundThroughTheDesktopEntries) {
    namespace fs = std::filesystem;
    fs::path root = fs::temp_directory_path() / ("vtg_xdg_" + std::to_string(::getpid()));
    fs::create_directories(root / "config");
    fs::create_directories(root / "data/applications");
    std::ofstream(root / "config/mimeapps.list")
        << "[Added Associations]\nx-scheme-handler/https=wrong.desktop;\n"
        << "[Default Applications]\nx-scheme-handler/https=web.desktop;\n";
    std::ofstream(root / "data/applications/web.desktop")
        << "[Desktop Entry]\nName=Web\nExec=\"/opt/My Web/web\" --new %u\n[Desktop Action x]\n"
        << "Exec=other\n";
    auto saved = [](const char* n) { return GetEnvironment(n); };
    auto config = saved("XDG_CONFIG_HOME"), data = saved("XDG_DATA_HOME"),
         dirs = saved("XDG_DATA_DIRS");
    ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (root / "none").c_str(), 1);
    EXPECT_EQ(DefaultBrowserCommand(), "\"/opt/My Web/web\" --new %u");
    fs::remove(root / "data/applications/web.desktop");
    EXPECT_EQ(DefaultBrowserCommand(), std::nullopt);
    auto restore = [](const char* n, const std::optional<std::string>& v) {
        if (v)
            ::setenv(n, v->c_str(), 1);
        else
            ::unsetenv(n);
    };
    restore("XDG_CONFIG_HOME", config);
    restore("XDG_DATA_HOME", data);
    restore("XDG_DATA_DIRS", dirs);
    fs::remove_all(root);
}

TEST(System, ModifierKeysAndLocaleAreRecorded) {
    SetKeyDown(Modifier::Alt, true);
    EXPECT_TRUE(IsKeyDown(Modifier::Alt));
    EXPECT_FALSE(IsKeyDown(Modifier::Ctrl));
    ReleaseAllKeys();
    EXPECT_FALSE(IsKeyDown(Modifier::Alt));
    SetProcessLocale("jpn");
    EXPECT_EQ(ProcessLocale(), "jpn");
}

} // namespace
