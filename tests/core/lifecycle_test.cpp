// The plug-in's lifecycle as the host drives it through PluginMain.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/error_codes.hpp"
#include "core/plugin.hpp"
#include "core/suite_set.hpp"
#include "support/plugin_host.hpp"

namespace {

using vtg::FourCC;

class Lifecycle : public vtgtest::PluginHostTest {
protected:
    bool LogHas(const std::string& text) {
        const auto& lines = host().logLines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.find(text) != std::string::npos; });
    }
};

TEST_F(Lifecycle, StartupRegistersAndShutdownReleasesEverything) {
    ASSERT_EQ(host().startup(), kNoErr);
    ASSERT_NE(host().globals(), nullptr);
    EXPECT_EQ(host().plugin()->name, "VERTiGON5");
    ASSERT_GE(host().notifiers().size(), 2u);
    EXPECT_EQ(host().notifiers()[0]->name, "VERTiGON5 App Started Notifier");
    EXPECT_EQ(host().notifiers()[0]->type, kNotifyAppStarted);
    EXPECT_EQ(host().notifiers()[1]->name, "VERTiGON5 Application Shutdown Notifier");
    EXPECT_EQ(host().notifiers()[1]->type, kNotifyAppShutdown);
    EXPECT_EQ(host().residencies(), 1);
    EXPECT_EQ(vtg::SuiteSet::AcquisitionCount(), 1);

    EXPECT_EQ(host().shutdown(), kNoErr);
    EXPECT_EQ(host().globals(), nullptr);
    EXPECT_EQ(host().broker().outstanding(), 0);
    EXPECT_EQ(vtg::SuiteSet::AcquisitionCount(), 0);
    EXPECT_EQ(host().memory().total().blocks, 0);
    EXPECT_EQ(host().contextDepth(), 0);
    EXPECT_EQ(host().unbalancedPops(), 0);
}

TEST_F(Lifecycle, UnhandledMessageIsAcceptedWithAWarning) {
    ASSERT_EQ(host().startup(), kNoErr);
    EXPECT_EQ(host().sendBare("Host Tool", "Host Reselect"), kNoErr);
    EXPECT_FALSE(LogHas("Unhandled"));
    EXPECT_EQ(host().sendBare("Host Timer", "Host Go"), kNoErr);
    EXPECT_TRUE(
        LogHas("Warning: Unhandled plugin message: caller \"Host Timer\" selector \"Host Go\""));
    EXPECT_EQ(host().sendBare("Base Interface", "About"), kNoErr);
}

TEST_F(Lifecycle, MessagesBetweenUnloadAndReloadDoNothing) {
    ASSERT_EQ(host().startup(), kNoErr);
    ASSERT_EQ(host().unload(), kNoErr);
    EXPECT_NE(host().globals(), nullptr) << "the object stays in the globals slot";
    EXPECT_EQ(host().broker().outstanding(), 0) << "Unload drops the suites";
    EXPECT_EQ(vtg::GlobalPlugin(), nullptr);

    std::size_t logged = host().logLines().size();
    EXPECT_EQ(host().sendBare("Host Timer", "Host Go"), kNoErr);
    EXPECT_EQ(host().logLines().size(), logged) << "no handler ran, not even the dispatcher";

    ASSERT_EQ(host().reload(), kNoErr);
    auto* object = static_cast<vtg::Plugin*>(host().globals());
    EXPECT_EQ(vtg::GlobalPlugin(), object);
    EXPECT_TRUE(object->HasSuites());
    EXPECT_EQ(object->appStartedNotifier(), nullptr) << "Reload clears the base notifiers";
    EXPECT_EQ(object->appShutdownNotifier(), nullptr);
    EXPECT_EQ(host().sendBare("Host Timer", "Host Go"), kNoErr);
    EXPECT_TRUE(LogHas("Unhandled plugin message"));
}

// A suite the host refuses ends start-up ("EPN "): what was acquired is
// given back and no object is kept.
TEST_F(Lifecycle, RefusedSuiteEndsStartup) {
    for (const char* refused :
         {"Base Access Suite", "Host User Suite", "Host Folders Suite", "Host Runtime Suite"}) {
        SCOPED_TRACE(refused);
        hostapp::Host local;
        local.user().setEcho(false);
        local.attach(&PluginMain, "vertigon_plugin.so");
        local.broker().refuse(refused);
        EXPECT_EQ(local.startup(), FourCC("EPN "));
        EXPECT_FALSE(local.started());
        EXPECT_EQ(local.globals(), nullptr);
        EXPECT_EQ(local.broker().outstanding(), 0);
        EXPECT_EQ(vtg::SuiteSet::AcquisitionCount(), 0);
        EXPECT_EQ(local.residencies(), 0);
        EXPECT_EQ(local.memory().total().blocks, 0);
    }
}

TEST_F(Lifecycle, OptionalSuitesAreRetriedBeforeEachMessage) {
    // A host that publishes the pathfinder only after start-up.
    host().broker().refuse("Host Pathfinder Suite");
    ASSERT_EQ(host().startup(), kNoErr);
    EXPECT_EQ(vtg::sPathfinder, nullptr);
    static const int kTable = 0; // contents are not called here
    host().broker().allow("Host Pathfinder Suite");
    host().broker().publish("Host Pathfinder Suite", 7, &kTable);
    EXPECT_EQ(host().broker().outstanding("Host Pathfinder Suite"), 0);
    host().sendBare("Host Tool", "Host Reselect");
    EXPECT_EQ(static_cast<const void*>(vtg::sPathfinder), &kTable);
    EXPECT_EQ(host().broker().outstanding("Host Pathfinder Suite"), 1);
    host().sendBare("Host Tool", "Host Reselect");
    EXPECT_EQ(host().broker().outstanding("Host Pathfinder Suite"), 1) << "held once";
    host().shutdown();
    EXPECT_EQ(host().broker().outstanding(), 0);
    EXPECT_EQ(vtg::sPathfinder, nullptr);
}

TEST_F(Lifecycle, SecondSuiteSetSharesTheFirst) {
    ASSERT_EQ(host().startup(), kNoErr);
    int held = host().broker().outstanding();
    {
        vtg::SuiteSet second;
        ASSERT_EQ(second.Acquire(), kNoErr);
        EXPECT_EQ(vtg::SuiteSet::AcquisitionCount(), 2);
        EXPECT_EQ(host().broker().outstanding(), held) << "nothing acquired twice";
    }
    EXPECT_EQ(vtg::SuiteSet::AcquisitionCount(), 1);
    EXPECT_NE(vtg::sUser, nullptr) << "the first set still holds the suites";
}

TEST_F(Lifecycle, NotifierMessagesRunInsideAnApplicationContext) {
    ASSERT_EQ(host().startup(), kNoErr);
    EXPECT_EQ(host().notify(kNotifyAppStarted, nullptr), kNoErr);
    EXPECT_EQ(host().contextDepth(), 0);
    EXPECT_EQ(host().unbalancedPops(), 0);
}

TEST_F(Lifecycle, ShutdownWithoutStartupAndAfterIt) {
    EXPECT_EQ(host().sendBare("Base Interface", "Shutdown"), kNoErr) << "no object: 0";
    EXPECT_EQ(host().sendBare("Host Tool", "Host Select"), kNoErr) << "no object: 0";
}

} // namespace
