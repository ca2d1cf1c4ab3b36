// The Fractalize filter through the host's filter menu: its dialog with a
// preview, one undo step, Cancel, the segment guard, and its action
// recorded and replayed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/error_codes.hpp"
#include "core/plugin_globals.hpp"
#include "host/doc/art.hpp"
#include "host/filters/filters.hpp"
#include "platform/input.hpp"
#include "platform/window.hpp"
#include "support/document_fixture.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::filters::FindFilter;
using hostapp::filters::RunFilter;
using Segments = std::vector<PathSegment>;

constexpr ErrorCode kStop = 0x53544F50;
constexpr const char* kFilterName = "QrLw Fractalize Filter";
constexpr const char* kUndoText = "VERTiGON6: フラクタル化 フィルター";

bool Same(const Segments& a, const Segments& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(PathSegment)) == 0);
}

class Filter : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 72);
        other_ = AddSquare("other", 250, 250, 40);
        Select({square_});
    }
    static void In(std::function<std::string(platform::WindowId)> step) {
        platform::QueueUserInput([step] {
            const std::string why = step(platform::CurrentModalDialog());
            EXPECT_EQ(why, "");
        });
    }
    static void Type(int id, const std::string& text) {
        In([=](platform::WindowId d) {
            return platform::user::Type(platform::GetItem(d, id), text);
        });
    }
    static void Click(int id) {
        In([=](platform::WindowId d) { return platform::user::Click(platform::GetItem(d, id)); });
    }
    static void Choose(int id, int index) {
        In([=](platform::WindowId d) {
            return platform::user::Choose(platform::GetItem(d, id), index);
        });
    }
    // The dialog set to square bumps, density 4, then OK or Cancel.
    static void SquaresThen(int button) {
        Choose(1422, 9);
        Type(1426, "4");
        Click(button);
    }
    ErrorCode Run(bool ask = true) {
        return RunFilter(host(), FindFilter(host(), kFilterName), ask);
    }

    ArtNode* square_ = nullptr;
    ArtNode* other_ = nullptr;
};

TEST_F(Filter, TheFilterMenuHoldsFractalize) {
    const std::vector<std::string> menu = hostapp::filters::FilterMenu(host());
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(menu[0], "VERTiGON6/フラクタル化...");
    EXPECT_EQ(FindFilter(host(), "フラクタル化"), FindFilter(host(), kFilterName));
    EXPECT_EQ(FindFilter(host(), "nothing"), nullptr);
    EXPECT_EQ(RunFilter(host(), nullptr), kNotFoundErr);
}

TEST_F(Filter, OkChangesTheSelectedPathsInOneStepAndUndoRestoresThemBitForBit) {
    const Segments before = square_->s.segments, otherBefore = other_->s.segments;
    const size_t steps = doc_->undoStack.size();
    SquaresThen(1);
    ASSERT_EQ(Run(), kNoErr);
    // 72-point sides at density 4: four 18-point square bumps per side.
    EXPECT_EQ(square_->s.segments.size(), 4u * 4 * 3);
    EXPECT_TRUE(Same(other_->s.segments, otherBefore)); // not selected
    ASSERT_EQ(doc_->undoStack.size(), steps + 1);
    EXPECT_EQ(doc_->undoStack.back().undoText, kUndoText);
    EXPECT_TRUE(doc_->pending.empty());
    const Segments after = square_->s.segments;
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    EXPECT_TRUE(Same(square_->s.segments, before));
    ASSERT_TRUE(hostapp::doc::Redo(*doc_));
    EXPECT_TRUE(Same(square_->s.segments, after));
    // "Again" runs the same setting without the dialog.
    EXPECT_EQ(hostapp::filters::LastFilter(host()), FindFilter(host(), kFilterName));
    Select({other_});
    ASSERT_EQ(Run(false), kNoErr);
    EXPECT_GT(other_->s.segments.size(), otherBefore.size());
}

TEST_F(Filter, CancelAfterPreviewsLeavesDocumentAndSettingAsTheyWere) {
    const Segments before = square_->s.segments;
    const vtg::FractalizeParams setting = vtg::gGlobals->fractalizeParams;
    const size_t steps = doc_->undoStack.size();
    size_t previewed = 0;
    Choose(1422, 9);
    Type(1426, "4");
    In([&](platform::WindowId) {
        previewed = square_->s.segments.size();
        return std::string();
    });
    Click(2);
    EXPECT_EQ(Run(), kStop);
    EXPECT_EQ(previewed, 4u * 4 * 3); // the preview showed the setting
    EXPECT_TRUE(Same(square_->s.segments, before));
    EXPECT_EQ(doc_->undoStack.size(), steps);
    EXPECT_TRUE(doc_->pending.empty());
    EXPECT_EQ(std::memcmp(&setting, &vtg::gGlobals->fractalizeParams, sizeof setting), 0);
}

TEST_F(Filter, OkReproducesTheUnevenPreviewAndANewSeedChangesIt) {
    Segments first, second;
    Choose(1422, 0);
    Type(1426, "2");
    Click(1918); // unevenness on
    Type(1428, "60");
    In([&](platform::WindowId) {
        first = square_->s.segments;
        return std::string();
    });
    Click(1431); // "乱数列変更"
    In([&](platform::WindowId) {
        second = square_->s.segments;
        return std::string();
    });
    Type(1423, "100"); // a change after the new seed keeps it
    Click(1);
    ASSERT_EQ(Run(), kNoErr);
    EXPECT_FALSE(Same(first, second));
    EXPECT_TRUE(Same(square_->s.segments, second));
}

TEST_F(Filter, GuardsAndRefusals) {
    const Segments before = square_->s.segments;
    const size_t steps = doc_->undoStack.size();
    // Level 14 of a four-segment figure can never fit: "SEGM", nothing kept.
    Choose(1422, 9);
    Choose(1425, 13);
    Click(1);
    EXPECT_EQ(Run(), vtg::kTooManySegments);
    EXPECT_TRUE(Same(square_->s.segments, before));
    EXPECT_EQ(doc_->undoStack.size(), steps);
    // Nothing selected: "!sel" before any dialog opens.
    Select({});
    EXPECT_EQ(Run(), vtg::kNoSelection);
    EXPECT_EQ(platform::CurrentModalDialog(), 0u);
    // No document.
    host().docs().close(doc_);
    EXPECT_EQ(Run(), kNoDocumentErr);
    doc_ = nullptr;
}

TEST_F(Filter, TheRecordedActionReplaysToTheSameResult) {
    hostapp::Actions& actions = host().actions();
    actions.clearEvents();
    actions.startRecording();
    Choose(1422, 9);
    Type(1426, "4");
    Type(1914, "50");
    Click(1);
    ASSERT_EQ(Run(), kNoErr);
    actions.stopRecording();
    const Segments result = square_->s.segments;
    ASSERT_EQ(actions.events().size(), 1u);
    const hostapp::RecordedEvent& event = actions.events()[0];
    EXPECT_EQ(event.action, "VtG4_Fractalize_Action");
    struct Expect {
        const char* key;
        int32_t type;
    } expected[] = {
        {"gene", kVtgActionEnum},    {"rvsH", kVtgActionBoolean}, {"rvsV", kVtgActionBoolean},
        {"cnSz", kVtgActionBoolean}, {"levl", kVtgActionInteger}, {"dens", kVtgActionReal},
        {"genH", kVtgActionReal},    {"skSz", kVtgActionReal},    {"shPs", kVtgActionReal},
        {"unvF", kVtgActionBoolean}, {"unev", kVtgActionReal},    {"geIn", kVtgActionBoolean},
        {"uneU", kVtgActionInteger}};
    ASSERT_EQ(event.values.values.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        uint32_t key = 0;
        ASSERT_TRUE(hostapp::ParseActionKey(expected[i].key, key));
        EXPECT_EQ(event.values.values[i].key, key) << i;
        EXPECT_EQ(event.values.values[i].type, expected[i].type) << expected[i].key;
    }
    EXPECT_EQ(event.values.values[0].integer, 9);
    EXPECT_EQ(event.values.values[0].text, "正方形１");
    EXPECT_EQ(event.values.values[5].text, "#Rsl");
    // Back to the square, the setting changed, then the replay.
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    vtg::gGlobals->fractalizeParams.generator = 1;
    vtg::gGlobals->fractalizeParams.gapSpaceRatio = 0;
    std::string reason;
    ASSERT_EQ(host().playActions(&reason), kNoErr) << reason;
    EXPECT_TRUE(Same(square_->s.segments, result));
    EXPECT_EQ(doc_->undoStack.back().undoText, kUndoText);
    EXPECT_EQ(actions.liveBlocks(), 0);

    // A value the dialog could not have set changes nothing.
    ASSERT_TRUE(hostapp::doc::Undo(*doc_));
    const Segments square = square_->s.segments;
    const vtg::FractalizeParams setting = vtg::gGlobals->fractalizeParams;
    std::vector<hostapp::RecordedEvent> bad = actions.events();
    for (hostapp::ActionValue& v : bad[0].values.values)
        if (v.key == event.values.values[4].key)
            v.integer = 15; // level
    actions.setEvents(bad);
    EXPECT_EQ(host().playActions(&reason), kBadParameterErr);
    EXPECT_TRUE(Same(square_->s.segments, square));
    EXPECT_EQ(std::memcmp(&setting, &vtg::gGlobals->fractalizeParams, sizeof setting), 0);
}

} // namespace
