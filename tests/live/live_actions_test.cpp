// The recordable live-object actions: what Apply records while the host
// records, and what a replay does with it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "host/actions.hpp"
#include "host/live_updates.hpp"
#include "live/live_actions.hpp"
#include "live/live_object.hpp"
#include "params/live_storage.hpp"
#include "support/document_fixture.hpp"

namespace {

using hostapp::ActionValue;
using hostapp::RecordedEvent;
using hostapp::ValueBlock;
using vtg::ActionKey;
using vtg::BorderPGParams;
using vtg::CirclePGParams;

// A value as the listing shows it: "KEY TYPE VALUE [TEXT]".
std::string Show(const ActionValue& v) {
    std::string key(4, ' ');
    for (int i = 0; i < 4; ++i)
        key[i] = static_cast<char>(v.key >> (24 - 8 * i));
    char number[64];
    if (v.type == kVtgActionReal)
        std::snprintf(number, sizeof number, "%g", v.real);
    else
        std::snprintf(number, sizeof number, "%d", v.integer);
    std::string out = key + " " + number;
    if (!v.text.empty())
        out += " " + v.text;
    return out;
}

std::vector<std::string> Listing(const RecordedEvent& e) {
    std::vector<std::string> out;
    for (const ActionValue& v : e.values.values)
        out.push_back(Show(v));
    return out;
}

class LiveActions : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 100);
        vtg::SetKindDefaults(vtg::kKindCircle, &circle_);
        circle_.seed = 4242;
        vtg::SetKindDefaults(vtg::kKindBorder, &border_);
    }
    CirclePGParams& PanelCircle() {
        return *static_cast<CirclePGParams*>(vtg::gGlobals->liveObjectParams[vtg::kKindCircle]);
    }
    // Applies the kind with `record` on the selection, as the Apply button does.
    void Apply(vtg::LiveObjectKind kind, const void* record) {
        ASSERT_EQ(vtg::MakeLiveObjectsOf(kind, record), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    }

    ArtNode* square_ = nullptr;
    CirclePGParams circle_{};
    BorderPGParams border_{};
};

TEST_F(LiveActions, ApplyRecordsOnlyWhileTheHostRecords) {
    Select({square_});
    Apply(vtg::kKindCircle, &circle_);
    EXPECT_TRUE(host().actions().events().empty());

    host().actions().startRecording();
    ArtNode* other = AddSquare("other", 250, 250, 50);
    Select({other});
    Apply(vtg::kKindCircle, &circle_);
    ASSERT_EQ(host().actions().events().size(), 1u);
    const RecordedEvent& e = host().actions().events()[0];
    EXPECT_EQ(e.action, "VtG4_Circle_Action");
    // Without randomisation the random keys are left out.
    const std::vector<std::string> want = {"cpNm 12",       "revF 0",        "kpAg 0",
                                           "oInd 3 中央左", "hOfs -36 #Pxl", "vOfs 0 #Pxl",
                                           "crsH 1",        "ovlR 100 #Prc", "rnSF 0"};
    EXPECT_EQ(Listing(e), want);
}

TEST_F(LiveActions, CircleRandomKeysAreRecordedInDegreesAndPercent) {
    host().actions().startRecording();
    circle_.randomOn = 1;
    circle_.anchorAngleOn = 1;
    circle_.anchorAngle = 45 * std::numbers::pi / 180;
    Select({square_});
    Apply(vtg::kKindCircle, &circle_);
    ASSERT_EQ(host().actions().events().size(), 1u);
    const std::vector<std::string> got = Listing(host().actions().events()[0]);
    ASSERT_EQ(got.size(), 9u + 12u + 1u);
    EXPECT_EQ(got[9], "pRHF 0");
    EXPECT_EQ(got[10], "pRVF 1");
    EXPECT_EQ(got[11], "pRrH 10 #Prc");
    // The angle goes in degrees under the percent unit.
    EXPECT_EQ(got[12], "pRrV 45 #Prc");
    EXPECT_EQ(got.back(), "odRF 0");
}

TEST_F(LiveActions, AReplayMakesTheSameLiveObjectOnTheSelection) {
    host().actions().startRecording();
    circle_.copies = 5;
    circle_.keepAngle = 1;
    std::memcpy(&PanelCircle(), &circle_, sizeof circle_);
    Select({square_});
    Apply(vtg::kKindCircle, &circle_);
    host().actions().stopRecording();
    ArtNode* first = TopLevel()[0];
    ASSERT_EQ(first->s.kind, kVtgArtPlugin);

    // The panel moves on; the replay brings the recorded values back.
    PanelCircle().copies = 9;
    ArtNode* other = AddSquare("other", 100, 100, 100);
    Select({other});
    std::string reason;
    ASSERT_EQ(host().playActions(&reason), kNoErr) << reason;
    EXPECT_EQ(PanelCircle().copies, 5);
    ArtNode* second = nullptr;
    for (ArtNode* a : TopLevel())
        if (a != first && a->s.kind == kVtgArtPlugin)
            second = a;
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->s.plugin.edit->s.children.at(0), other);
    // The same source with the same values and seed: the same result.
    const ArtNode* g1 = first->s.plugin.result->s.children.at(0);
    const ArtNode* g2 = second->s.plugin.result->s.children.at(0);
    ASSERT_EQ(g1->s.children.size(), 6u); // the mark and five copies
    ASSERT_EQ(g2->s.children.size(), g1->s.children.size());
    for (std::size_t i = 1; i < g1->s.children.size(); ++i)
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_DOUBLE_EQ(g1->s.children[i]->s.segments[k].anchor.x,
                             g2->s.children[i]->s.segments[k].anchor.x);
            EXPECT_DOUBLE_EQ(g1->s.children[i]->s.segments[k].anchor.y,
                             g2->s.children[i]->s.segments[k].anchor.y);
        }
}

TEST_F(LiveActions, AFailedReplayLeavesThePanelAndTheDocument) {
    // A recorded Circle event whose "ovlR" is missing.
    ValueBlock values;
    auto put = [&](const char(&key)[5], int32_t type, int32_t integer, double real = 0,
                   const char* text = "") {
        ActionValue v;
        v.key = ActionKey(key);
        v.type = type;
        v.integer = integer;
        v.real = real;
        v.text = text;
        values.put(v);
    };
    put("cpNm", kVtgActionInteger, 3);
    put("revF", kVtgActionBoolean, 1);
    put("kpAg", kVtgActionBoolean, 1);
    put("oInd", kVtgActionEnum, 4, 0, "中央");
    put("hOfs", kVtgActionReal, 0, 10, "#Pxl");
    put("vOfs", kVtgActionReal, 0, 10, "#Pxl");
    put("crsH", kVtgActionBoolean, 0);
    host().actions().setEvents({{"VtG4_Circle_Action", values}});

    CirclePGParams before{};
    std::memcpy(&before, &PanelCircle(), sizeof before);
    Select({square_});
    const std::size_t count = TopLevel().size();
    std::string reason;
    EXPECT_EQ(host().playActions(&reason), kActionKeyMissingErr);
    EXPECT_EQ(std::memcmp(&before, &PanelCircle(), sizeof before), 0);
    EXPECT_EQ(TopLevel().size(), count);
    EXPECT_EQ(TopLevel()[0], square_);
}

TEST_F(LiveActions, BorderRecordsItsConditionalKeys) {
    struct Case {
        int32_t style, stepMode, stepCount, shadowOn;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {0,
         1,
         3,
         0,
         {"styl 0 外側", "atSS 1", "brgt 0 #Prc", "brtR 0", "stSy 1", "step 0 自動（中密度）",
          "ofst 0 #Prc", "angl -45 #Ang", "shdF 0"}},
        {1,
         3,
         7,
         1,
         {"styl 1 内側", "uCpF 0", "atSS 1", "brgt 0 #Prc", "brtR 0", "stSy 3", "step 0 7",
          "ofst 0 #Prc", "angl -45 #Ang", "shdF 1", "shdw 100 #Prc", "shOf 1 #Pxl",
          "shAg 135 #Ang"}},
    };
    host().actions().startRecording();
    for (const Case& c : cases) {
        host().actions().clearEvents();
        border_.style = c.style;
        border_.stepMode = c.stepMode;
        border_.stepCount = c.stepCount;
        border_.shadowOn = c.shadowOn;
        ASSERT_EQ(vtg::RecordLiveObjectAction(vtg::kKindBorder, &border_), kNoErr);
        ASSERT_EQ(host().actions().events().size(), 1u);
        EXPECT_EQ(host().actions().events()[0].action, "VtG4_Border_Action");
        std::vector<std::string> got = Listing(host().actions().events()[0]);
        for (std::string& line : got) // angles come back within rounding
            if (line.rfind("angl", 0) == 0 || line.rfind("shAg", 0) == 0)
                line = line.substr(0, 5) + std::to_string(std::lround(std::stod(line.substr(5)))) +
                       " #Ang";
        EXPECT_EQ(got, c.want) << c.style;
    }
}

TEST_F(LiveActions, AnActionIndexOfNoKindDoesNothing) {
    const int16_t index = 13; // the actions are 2 .. 12
    EXPECT_EQ(vtg::PlayLiveObjectAction(&index, nullptr), kNoErr);
    EXPECT_EQ(TopLevel().size(), 1u);
}

} // namespace
