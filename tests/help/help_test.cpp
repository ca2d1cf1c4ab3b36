#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/plugin_main.hpp"
#include "help/help_pages.hpp"
#include "help/help_view.hpp"
#include "host/preferences.hpp"
#include "platform/html_view.hpp"
#include "platform/input.hpp"
#include "platform/system.hpp"
#include "support/plugin_host.hpp"
#include "support/ui_driver.hpp"

namespace {

using namespace platform;

const char* kBrowserCommand = "  \"/opt/My Browser/browser\" --new-window %u";

class HelpTest : public vtgtest::PluginHostTest {
protected:
    void SetUp() override {
        // A configuration folder of the test's own: the browser question's
        // "don't show again" is kept in the preferences file.
        config_ = std::filesystem::temp_directory_path() /
                  ("vtg_help_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(config_);
        std::filesystem::create_directories(config_);
        ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
        hostapp::Preferences::instance().reload();
        ResetWindowSystem();
        PluginHostTest::SetUp();
        ASSERT_EQ(host().startup(), kNoErr);
        ClearShellRequests();
        SetBrowserLookup([this]() -> std::optional<std::string> { return command_; });
        SetShellRecorder([this](const std::string& program, const std::string&) {
            return program == working_ ? 42 : 2;
        });
        view_.Create(HostMainWindow());
        ASSERT_NE(view_.window(), 0u);
        ui_ = vtgtest::UiDriver(&host().user());
        ui_.address(view_.window());
    }
    void TearDown() override {
        view_.Destroy();
        SetBrowserLookup(nullptr);
        SetShellRecorder(nullptr);
        ClearShellRequests();
        ReleaseAllKeys();
        ResetWindowSystem();
        std::error_code ec;
        std::filesystem::remove_all(config_, ec);
        hostapp::Preferences::instance().reload();
        PluginHostTest::TearDown();
    }
    std::string Page(const char* name) const {
        return std::filesystem::absolute(std::string(BinFolder()) + "/VERTiGON6_Help/" + name +
                                         ".html")
            .lexically_normal()
            .string();
    }

    std::filesystem::path config_;
    std::optional<std::string> command_ = kBrowserCommand;
    std::string working_ = "/opt/My Browser/browser";
    vtg::HelpViewController view_;
    vtgtest::UiDriver ui_;
};

TEST_F(HelpTest, TheButtonsDriveTheEmbeddedViewAndGiveTheFocusBack) {
    WindowId d = view_.window();
    WindowId html = view_.htmlView().window();
    ASSERT_NE(html, 0u);
    EXPECT_FALSE(IsShown(GetItem(d, 1920)));
    EXPECT_EQ(GetRect(html).top, GetRect(GetItem(d, 1920)).top);
    EXPECT_EQ(GetRect(html).width(), GetRect(GetItem(d, 1920)).width());
    EXPECT_EQ(ProcessLocale(), "jpn");

    view_.Refresh(19);
    EXPECT_EQ(GetFocus(), HostMainWindow());
    for (int id : {1770, 1921, 1922, 1922, 1771}) {
        SetFocus(GetItem(d, id));
        EXPECT_EQ(ui_.click(id), "");
        EXPECT_EQ(GetFocus(), HostMainWindow()) << id;
    }
    std::string circle = Page("live_circle"), index = Page("index");
    EXPECT_EQ(HtmlLog(html),
              (std::vector<std::string>{"navigate " + circle, "navigate " + index, "back " + circle,
                                        "forward " + index, "print-preview " + index}));
    EXPECT_TRUE(ShellRequests().empty());
    EXPECT_TRUE(host().user().alerts().empty());

    view_.ResizeBy(30, 40);
    EXPECT_EQ(GetRect(d).width(), 450);
    EXPECT_EQ(GetRect(html).height(), 280 + 40);
    std::string svg = RenderSvg(d);
    EXPECT_NE(svg.find("インデクス"), std::string::npos);
    if (const char* keep = std::getenv("VTG_KEEP_PICTURES"))
        std::ofstream(std::string(keep) + "/help_view.svg") << svg;
}

TEST_F(HelpTest, BrowserButtonAsksUnlessSuppressedAndOpensTheDefaultBrowser) {
    std::string url = vtg::FileUrl(Page("batchview"));
    // Declined: nothing opens.
    ui_.answer(hostapp::Answer::Kind::Cancel);
    ui_.click(1772);
    ASSERT_EQ(host().user().alerts().size(), 1u);
    EXPECT_EQ(host().user().alerts()[0], vtg::kHelpBrowserQuestion);
    EXPECT_TRUE(ShellRequests().empty());

    // Accepted: the quoted program without its quotes and arguments.
    ui_.answer(hostapp::Answer::Kind::Ok);
    ui_.click(1772);
    EXPECT_EQ(ShellRequests(), (std::vector<std::string>{"/opt/My Browser/browser " + url}));

    // Suppressed: no question at all.
    ClearShellRequests();
    ASSERT_TRUE(host().user().suppress(vtg::kHelpBrowserWarningKey));
    ui_.click(1772);
    EXPECT_EQ(host().user().alerts().size(), 2u);
    EXPECT_EQ(ShellRequests().size(), 1u);

    // Alt and Ctrl together: nothing.
    ClearShellRequests();
    ui_.hold(true, true, false);
    ui_.click(1772);
    EXPECT_TRUE(ShellRequests().empty());
    ui_.hold(true, false, false);
    ui_.click(1772);
    EXPECT_EQ(ShellRequests().size(), 1u);
}

// "Don't show again" keeps the answer in the preferences file: the question
// is not asked again, in this session or the next, and the kept answer
// decides (yes opens the browser, no opens nothing).
TEST_F(HelpTest, DontShowAgainKeepsTheAnswerInThePreferencesFile) {
    const std::string file = hostapp::Preferences::filePath();
    for (bool yes : {true, false}) {
        std::filesystem::remove(file);
        hostapp::Preferences::instance().reload();
        const std::size_t asked = host().user().alerts().size();
        ClearShellRequests();
        ui_.answer(yes ? hostapp::Answer::Kind::Yes : hostapp::Answer::Kind::No);
        host().user().queue(
            {yes ? hostapp::Answer::Kind::Yes : hostapp::Answer::Kind::No, "", true});
        ui_.click(1772); // a plain answer: asked again next time
        ui_.click(1772); // "don't show again"
        EXPECT_EQ(host().user().alerts().size(), asked + 2) << yes;
        EXPECT_EQ(ShellRequests().size(), yes ? 2u : 0u);
        std::ifstream in(file);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text, std::string("bool\tDontShowWarningAgain\t") + vtg::kHelpBrowserWarningKey +
                            (yes ? "\t1\n" : "\t0\n"));
        // The next session reads it: no question, the kept answer.
        hostapp::Preferences::instance().reload();
        ClearShellRequests();
        ui_.answer(hostapp::Answer::Kind::Yes); // never taken
        ui_.click(1772);
        EXPECT_EQ(host().user().alerts().size(), asked + 2) << yes;
        EXPECT_EQ(ShellRequests().size(), yes ? 1u : 0u);
        EXPECT_EQ(host().user().pending(), 1u);
        host().user().take();
    }
}

TEST_F(HelpTest, FailedLaunchesFallBackThroughTheKnownBrowsers) {
    host().user().suppress(vtg::kHelpBrowserWarningKey);
    std::string url = vtg::FileUrl(Page("index"));
    struct Case {
        std::optional<std::string> command;
        std::string working;
        std::vector<std::string> programs;
    } cases[] = {
        {kBrowserCommand, "/opt/My Browser/browser", {"/opt/My Browser/browser"}},
        {"web-browser %u", "web-browser", {"web-browser"}}, // unquoted: cut at the first blank
        {std::nullopt, "firefox", {"microsoft-edge", "firefox"}},
        {"\"/gone/browser\"",
         "chromium",
         {"/gone/browser", "microsoft-edge", "firefox", "chromium"}},
        // A program path too long to keep counts as no program, never a cut one.
        {"/" + std::string(2000, 'b'), "firefox", {"microsoft-edge", "firefox"}},
        {std::nullopt,
         "none works",
         {"microsoft-edge", "firefox", "chromium", "google-chrome", "xdg-open"}},
    };
    for (const Case& c : cases) {
        command_ = c.command;
        working_ = c.working;
        ClearShellRequests();
        EXPECT_EQ(vtg::ShowHelpPage(0, true, nullptr), kNoErr);
        std::vector<std::string> expected;
        for (const std::string& p : c.programs)
            expected.push_back(p + " " + url);
        EXPECT_EQ(ShellRequests(), expected) << c.working;
    }
}

TEST(BrowserProgram, TakesTheProgramOfARegisteredCommand) {
    struct Case {
        std::string command;
        std::optional<std::string> program;
    } cases[] = {
        {"\"C:\\Program Files\\Web\\web.exe\" -osint -url \"%1\"",
         "C:\\Program Files\\Web\\web.exe"},
        {"/usr/bin/firefox %u", "/usr/bin/firefox"},
        {"\t\n firefox", "firefox"},
        {"\"unclosed quote", "unclosed quote"},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"\"\" -x", std::nullopt},
        {std::string(1025, 'a'), std::string(1025, 'a')},
        {std::string(1026, 'a'), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vtg::BrowserProgram(c.command), c.program) << c.command.substr(0, 40);
    EXPECT_EQ(vtg::FileUrl("/a b/ヘ.html"), "file:///a%20b/%E3%83%98.html");
}

TEST_F(HelpTest, EveryPageOfTheTableIsInstalled) {
    int rows = 0;
    for (int row = -1; row <= 44; ++row) {
        const char* name = vtg::HelpPageName(row);
        if (row == -1 || row == 1 || row == 42 || row == 44) {
            EXPECT_EQ(name, nullptr) << row;
            continue;
        }
        ASSERT_NE(name, nullptr) << row;
        ++rows;
        EXPECT_TRUE(std::filesystem::exists(Page(name))) << name;
    }
    EXPECT_EQ(rows, 42);
    EXPECT_EQ(vtg::ShowHelpPage(42, false, &view_.htmlView()), kNotFoundErr);
    EXPECT_TRUE(host().user().alerts().empty());
}

// A plug-in whose folder holds no help pages.
class MissingHelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetWindowSystem();
        folder_ =
            std::filesystem::temp_directory_path() / ("vtg_nohelp_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        host_ = std::make_unique<hostapp::Host>();
        host_->user().setEcho(false);
        host_->attach(&PluginMain, (folder_ / "vertigon_plugin.so").string());
        ASSERT_EQ(host_->startup(), kNoErr);
        ClearShellRequests();
    }
    void TearDown() override {
        ResetWindowSystem();
        host_->shutdown();
        host_.reset();
        std::filesystem::remove_all(folder_);
    }
    std::filesystem::path folder_;
    std::unique_ptr<hostapp::Host> host_;
};

TEST_F(MissingHelpTest, EveryPageShowsTheMissingFilesMessage) {
    vtg::HelpViewController view;
    ASSERT_NE(view.Create(HostMainWindow()), 0u);
    for (bool inBrowser : {false, true}) {
        for (int row : {0, 19, 43}) {
            host_->user().queue({hostapp::Answer::Kind::Ok, ""});
            EXPECT_EQ(vtg::ShowHelpPage(row, inBrowser, &view.htmlView()), kNotFoundErr);
            EXPECT_EQ(host_->user().lastAlert(), vtg::kHelpMissingFilesMessage);
            host_->user().take();
        }
    }
    EXPECT_TRUE(HtmlLog(view.htmlView().window()).empty());
    EXPECT_TRUE(ShellRequests().empty());
    EXPECT_EQ(host_->user().alerts().size(), 6u);
}

} // namespace
