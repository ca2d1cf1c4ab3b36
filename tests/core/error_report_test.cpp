// Error reporting: the ignored list, the duplicate throttle and the alert.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <vector>

#include "core/error_alert.hpp"
#include "core/error_codes.hpp"
#include "core/plugin.hpp"
#include "host/api/host_error.hpp"
#include "support/plugin_host.hpp"

namespace {

using vtg::FourCC;

std::vector<ErrorCode> gReported;
std::time_t gNow = 1000;

void Record(ErrorCode code) {
    gReported.push_back(code);
}
std::time_t FakeClock() {
    return gNow;
}

class Reporting : public ::testing::Test {
protected:
    void SetUp() override {
        gReported.clear();
        gNow = 1000;
        vtg::SetDefaultReportHook(&Record);
        plugin_.SetClock(&FakeClock);
    }
    void TearDown() override { vtg::SetDefaultReportHook(nullptr); }
    vtg::Plugin plugin_{nullptr};
};

TEST_F(Reporting, SameCodeWithinFiveSecondsIsReportedOnce) {
    const ErrorCode segm = FourCC("SEGM");
    plugin_.ReportError(segm, "c", "s", nullptr);
    gNow += 4;
    plugin_.ReportError(segm, "c", "s", nullptr);
    EXPECT_EQ(gReported.size(), 1u);
    gNow += 1; // five seconds after the first report
    plugin_.ReportError(segm, "c", "s", nullptr);
    EXPECT_EQ(gReported.size(), 2u);
    plugin_.ReportError(FourCC("!sel"), "c", "s", nullptr);
    plugin_.ReportError(segm, "c", "s", nullptr);
    EXPECT_EQ(gReported, (std::vector<ErrorCode>{segm, segm, FourCC("!sel"), segm}))
        << "another code in between ends the duplicate run";
}

TEST_F(Reporting, IgnoredCodesAreDropped) {
    for (ErrorCode code : {FourCC("STOP"), FourCC("pFls"), FourCC("DONE"), ErrorCode{361}})
        plugin_.ReportError(code, "c", "s", nullptr);
    vtg::DefaultReportError(FourCC("FMT?"));
    EXPECT_TRUE(gReported.empty());
}

TEST(ErrorAlertText, MessagesAndCodeTexts) {
    struct Case {
        ErrorCode code;
        const char* text;
    } cases[] = {
        {271, "十分なメモリがないので実行できません。\n271"},
        {-108, "十分なメモリがないので実行できません。\n-108"},
        {FourCC("SEGM"), "パスにアンカーポイントが多すぎて実行できません。\nSEGM"},
        {FourCC("ZZZZ"), "その他のエラーです。\nZZZZ"},
        {FourCC("DOC?"), "ドキュメントがありません。\nDOC?"},
        {-1, "その他のエラーです。\n-1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vtg::ErrorAlertText(c.code), c.text);
}

class Alerts : public vtgtest::PluginHostTest {};

TEST_F(Alerts, ShowErrorAlertReachesTheHostUser) {
    ASSERT_EQ(host().startup(), kNoErr);
    vtg::ShowErrorAlert(0);
    vtg::ShowErrorAlert(FourCC("STOP"));
    EXPECT_TRUE(host().user().alerts().empty());
    vtg::ShowErrorAlert(FourCC("SEGM"));
    ASSERT_EQ(host().user().alerts().size(), 1u);
    EXPECT_EQ(host().user().alerts()[0], "パスにアンカーポイントが多すぎて実行できません。\nSEGM");
}

TEST(GetPluginName, NeverWritesPastTheBuffer) {
    struct Case {
        std::size_t length;
        const char* expected;
    } cases[] = {{1, ""}, {4, "VER"}, {9, "VERTiGON"}, {10, "VERTiGON5"}, {64, "VERTiGON5"}};
    for (const Case& c : cases) {
        std::vector<char> buffer(c.length + 1, '#');
        // The base name "Plugin" is replaced by the main object's; use a
        // subclass that names itself as the main object does.
        struct Named : vtg::Plugin {
            Named() : Plugin(nullptr) { SetName("VERTiGON5"); }
        } plugin;
        EXPECT_EQ(plugin.GetPluginName(buffer.data(), c.length), 9u);
        EXPECT_STREQ(buffer.data(), c.expected);
        EXPECT_EQ(buffer[c.length], '#') << "byte after the buffer untouched";
    }
}

} // namespace

namespace {

// What a callback or the message guard turns a caught exception into.
TEST(CaughtExceptions, BecomeTheirErrorCodes) {
    struct Case {
        std::function<void()> raise;
        ErrorCode code;
    } cases[] = {
        {[] { throw host::Error(vtg::FourCC("DOC?")); }, vtg::FourCC("DOC?")},
        {[] { throw static_cast<ErrorCode>(-50); }, -50},
        {[] { throw std::bad_alloc(); }, kOutOfMemoryErr},
        {[] { throw std::runtime_error("other"); }, vtg::kUncodedException},
    };
    for (const Case& c : cases) {
        ErrorCode got = kNoErr;
        try {
            c.raise();
        } catch (...) {
            got = vtg::CurrentExceptionCode();
        }
        EXPECT_EQ(got, c.code);
    }
}

} // namespace
