// Routing rules of the main plug-in object.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/plugin_globals.hpp"
#include "host/api/vtg_dictionary_suite.h"
#include "platform/system.hpp"
#include "support/plugin_host.hpp"

namespace {

namespace fs = std::filesystem;

class Routing : public vtgtest::PluginHostTest {
protected:
    void SetUp() override {
        profile_ = fs::temp_directory_path() / ("vtg-routing-" + std::to_string(::getpid()));
        fs::create_directories(profile_);
        ::setenv("USERPROFILE", profile_.c_str(), 1);
        PluginHostTest::SetUp();
        ASSERT_EQ(host().startup(), kNoErr);
    }
    void TearDown() override {
        platform::ReleaseAllKeys();
        PluginHostTest::TearDown();
        fs::remove_all(profile_);
        ::unsetenv("USERPROFILE");
    }
    fs::path profile_;
};

TEST_F(Routing, EffectEditOffersExpansionWithAltHeldEvenForAnUnknownEffect) {
    int expanded = 0;
    host().defineCommand("expandStyle", [&] {
        ++expanded;
        return kNoErr;
    });
    const char* question = "結果のオブジェクトに「アピアランスを分割」を適用します。\nライブ効果は"
                           "失われますがよろしいですか？";
    struct Case {
        bool alt;
        hostapp::Answer::Kind answer;
        int expandedAfter;
    } cases[] = {{false, hostapp::Answer::Kind::Ok, 0},
                 {true, hostapp::Answer::Kind::Cancel, 0},
                 {true, hostapp::Answer::Kind::Ok, 1}};
    for (const Case& c : cases) {
        platform::SetKeyDown(platform::Modifier::Alt, c.alt);
        host().user().queue({c.answer, {}});
        LiveEffectEditMessage message{};
        message.effect = reinterpret_cast<LiveEffectHandle>(&expanded); // none of the four
        EXPECT_EQ(host().send(kCallerLiveEffect, kSelectorEffectEditParameters, &message), kNoErr);
        EXPECT_EQ(expanded, c.expandedAfter);
        if (c.alt) {
            EXPECT_EQ(host().user().lastAlert(), question);
        }
        while (host().user().pending() != 0)
            host().user().take();
    }
}

TEST_F(Routing, ScaleParametersDividesTheDensityOfFractalizeOnly) {
    auto& effects = host().registry().liveEffects;
    ASSERT_EQ(effects.size(), 4u);
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr); // first use
    struct Case {
        std::size_t effect;
        double density, scale;
        double expected;
        int scaled;
    } cases[] = {{0, 8, 2, 4, 1}, {0, 8, 0, 8, 0}, {1, 8, 2, 8, 0}};
    for (const Case& c : cases) {
        const DictionarySuite* dict = nullptr;
        ASSERT_EQ(host().broker().acquire("Host Dictionary Suite", 1,
                                          reinterpret_cast<const void**>(&dict)),
                  kNoErr);
        DictionaryHandle d = nullptr;
        ASSERT_EQ(dict->NewDictionary(&d), kNoErr);
        dict->SetReal(d, "density", c.density);
        LiveEffectScaleMessage message{};
        message.effect = effects[c.effect].get();
        message.parameters = d;
        message.scale = c.scale;
        EXPECT_EQ(host().send(kCallerLiveEffect, kSelectorEffectScaleParameters, &message), kNoErr);
        double density = -1;
        dict->GetReal(d, "density", &density);
        EXPECT_EQ(density, c.expected);
        EXPECT_EQ(message.scaled, c.scaled);
        dict->DisposeDictionary(d);
        host().broker().release("Host Dictionary Suite", 1);
    }
}

TEST_F(Routing, GroupNotifyEditsSetsTheCurrentKind) {
    ASSERT_EQ(host().chooseMenu("VERTiGON6_05"), kNoErr);
    PluginGroupMessage message{};
    message.group = vtg::gGlobals->groups[13];
    host().send(kCallerPluginGroup, kSelectorNotifyEdits, &message);
    EXPECT_EQ(vtg::gGlobals->currentKind, vtg::gGlobals->groups[13] ? 13 : -1);
    message.group = reinterpret_cast<PluginGroupHandle>(&message); // foreign
    host().send(kCallerPluginGroup, kSelectorNotifyEdits, &message);
    EXPECT_EQ(vtg::gGlobals->currentKind, -1);
}

} // namespace
