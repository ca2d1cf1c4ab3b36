// Live Frame through the host: the walk worked out by hand in both
// directions, corner offsets, the steps with and without the source's
// angle, the seeded randomisation, stored counts at the extremes and a
// failed copy list, and the live object saved, reopened, regenerated and
// replayed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "host/doc/art.hpp"
#include "host/live_updates.hpp"
#include "host/svg/svg.hpp"
#include "live/frame/frame_generator.hpp"
#include "live/live_actions.hpp"
#include "live/live_copies.hpp"
#include "live/live_object.hpp"
#include "support/document_fixture.hpp"

namespace {

using hostapp::doc::ArtNode;
using hostapp::doc::DocStore;
using hostapp::doc::Document;
using vtg::FramePGParams;

constexpr double kDeg = std::numbers::pi / 180;

VtgPoint SquareCentre(const ArtNode* a) {
    const auto& s = a->s.segments;
    return {(s[0].anchor.x + s[2].anchor.x) / 2, (s[0].anchor.y + s[2].anchor.y) / 2};
}
double Turn(const ArtNode* a) {
    const auto& s = a->s.segments;
    return std::atan2(s[1].anchor.y - s[0].anchor.y, s[1].anchor.x - s[0].anchor.x);
}

class LiveFrame : public vtgtest::DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        square_ = AddSquare("square", 100, 100, 10);
        vtg::SetKindDefaults(vtg::kKindFrame, &record_);
        record_.seed = 4242;
    }
    ArtNode* Generate(const FramePGParams& p, ErrorCode expected = kNoErr) {
        ArtNode* group = nullptr;
        EXPECT_EQ(
            hostapp::doc::CreateArt(*doc_, kVtgArtGroup, kVtgPlaceInsideOnTop, nullptr, group),
            kNoErr);
        EXPECT_EQ(vtg::GenerateFrame(DocStore::handle(group), DocStore::handle(square_), p),
                  expected);
        return group;
    }
    void Apply() {
        ASSERT_EQ(vtg::MakeLiveObjectsOf(vtg::kKindFrame, &record_), kNoErr);
        ASSERT_EQ(hostapp::UpdateChangedPluginArt(host(), *doc_), kNoErr);
    }

    ArtNode* square_ = nullptr;
    FramePGParams record_{};
};

// Defaults on a 10-point square: 12 copies 10 points apart along the
// bottom, a 45-degree corner copy 10 points further, 8 copies up the right
// side, and so on; 44 copies, the frame closing back at the start. The
// first copy is the topmost.
TEST_F(LiveFrame, DefaultsWalkCounterClockwiseWorkedOutByHand) {
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 44u);
    struct Want {
        double x, y, degrees;
    };
    std::vector<Want> want;
    for (int k = 0; k < 12; ++k)
        want.push_back({10.0 * k, 0, 0});
    want.push_back({120, 0, 45});
    for (int k = 0; k < 8; ++k)
        want.push_back({120, 10.0 + 10 * k, 90});
    want.push_back({120, 90, 135});
    for (int k = 0; k < 12; ++k)
        want.push_back({110.0 - 10 * k, 90, 180});
    want.push_back({-10, 90, 225});
    for (int k = 0; k < 8; ++k)
        want.push_back({-10, 80.0 - 10 * k, 270});
    want.push_back({-10, 0, 315});
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        const ArtNode* copy = g->s.children[i];
        EXPECT_NEAR(SquareCentre(copy).x, 105 + want[i].x, 1e-9);
        EXPECT_NEAR(SquareCentre(copy).y, 105 + want[i].y, 1e-9);
        EXPECT_NEAR(std::remainder(Turn(copy) - want[i].degrees * kDeg, 2 * std::numbers::pi), 0,
                    1e-9);
    }
}

// Clockwise walks up first with negative turns; the steps of the first
// side follow the height. On a 20 x 10 source with the angle kept the
// horizontal steps follow the width, turned they follow the height.
TEST_F(LiveFrame, ClockwiseAndStepsWithAndWithoutTheAngle) {
    record_.direction = 0;
    record_.hCount = 2;
    record_.vCount = 3;
    const std::vector<vtg::FramePlace> cw = vtg::FramePlaces(record_, 20, 10);
    ASSERT_EQ(cw.size(), 14u);
    // Up by the height 10; the corner at y1 = 2 x 10 + 10; right by 10.
    EXPECT_DOUBLE_EQ(cw[1].y, 10);
    EXPECT_DOUBLE_EQ(cw[3].y, 30);
    EXPECT_TRUE(cw[3].corner);
    EXPECT_DOUBLE_EQ(cw[3].angle, -45 * kDeg);
    EXPECT_DOUBLE_EQ(cw[4].x, 10);
    EXPECT_DOUBLE_EQ(cw[5].x, 20);
    EXPECT_DOUBLE_EQ(cw[4].angle, -90 * kDeg);
    record_.keepAngle = 1;
    const std::vector<vtg::FramePlace> kept = vtg::FramePlaces(record_, 20, 10);
    EXPECT_DOUBLE_EQ(kept[4].x, 20); // the width, as the copies stay unturned
    EXPECT_DOUBLE_EQ(kept[5].x, 40);
    for (const vtg::FramePlace& p : kept)
        EXPECT_EQ(p.angle, 0);
    // Counter-clockwise, kept: the vertical steps follow the height.
    record_.direction = 1;
    const std::vector<vtg::FramePlace> ccw = vtg::FramePlaces(record_, 20, 10);
    EXPECT_DOUBLE_EQ(ccw[1].x, 20);
    EXPECT_DOUBLE_EQ(ccw[4].y - ccw[3].y, 10);
    // Distances: every step is the feed itself.
    record_.feedMode = 1;
    record_.sideFeed = 7;
    record_.cornerFeed = 3;
    const std::vector<vtg::FramePlace> fixed = vtg::FramePlaces(record_, 20, 10);
    EXPECT_DOUBLE_EQ(fixed[1].x, 7);
    EXPECT_DOUBLE_EQ(fixed[2].x, 10);
}

// A corner offset other than 0 leaves the corners out even with "コーナー
// に配置" on, and pulls (g < 0) or pushes the sides at the corners.
TEST_F(LiveFrame, CornerOffsetsSuppressCornersAndMoveTheSides) {
    record_.hCount = 3;
    record_.vCount = 2;
    const struct Case {
        double g;
        double side2x, side2y, side3x, side3y;
    } cases[] = {{-0.5, 30, 5, 25, 25}, {0.5, 25, 10, 15, 25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.g);
        record_.cornerOffset = c.g;
        const std::vector<vtg::FramePlace> p = vtg::FramePlaces(record_, 10, 10);
        ASSERT_EQ(p.size(), 10u);
        for (const vtg::FramePlace& place : p)
            EXPECT_FALSE(place.corner);
        // x1 = 2 x 10 + 10 = 30; side 2 starts at (x1, c2 + g c2) when
        // g c1 < 0, else at (x1 - g c1, c2).
        EXPECT_DOUBLE_EQ(p[3].x, c.side2x);
        EXPECT_DOUBLE_EQ(p[3].y, c.side2y);
        EXPECT_DOUBLE_EQ(p[5].x, c.side3x);
        EXPECT_DOUBLE_EQ(p[5].y, c.side3y);
    }
    record_.cornerOffset = 0;
    record_.placeCorners = 0;
    EXPECT_EQ(vtg::FramePlaces(record_, 10, 10).size(), 10u);
}

// Six numbers per segment whatever the flags; the anchor moves with its
// handles by (r - 0.5) x amount x size, a handle alone makes a corner.
TEST_F(LiveFrame, RandomisationWorkedOutByHandAndRepeated) {
    record_.hCount = 1;
    record_.vCount = 1;
    record_.randomOn = 1;
    record_.anchorHOn = 1;
    record_.anchorH = 0.5;
    record_.outVOn = 1;
    record_.outV = 1;
    record_.placeCorners = 0;
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 4u);
    host().random().seed(4242);
    std::vector<double> r;
    for (int i = 0; i < 24; ++i)
        r.push_back(host().random().uniform() - 0.5);
    const ArtNode* first = g->s.children[0]; // not moved: side 1 at (0, 0)
    const PathSegment& s0 = first->s.segments[0];
    EXPECT_NEAR(s0.anchor.x, 100 + r[0] * 0.5 * 10, 1e-12);
    EXPECT_NEAR(s0.anchor.y, 100, 1e-12);
    EXPECT_NEAR(s0.in.x, s0.anchor.x, 1e-12);
    EXPECT_NEAR(s0.out.y, 100 + r[5] * 10, 1e-12);
    const PathSegment& s1 = first->s.segments[1];
    EXPECT_NEAR(s1.anchor.x, 110 + r[6] * 0.5 * 10, 1e-12);
    EXPECT_NEAR(s1.out.y, 100 + r[11] * 10, 1e-12);
    ArtNode* again = Generate(record_);
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_EQ(g->s.children[i]->s.segments[k].out.y,
                      again->s.children[i]->s.segments[k].out.y);
    // Random stacking without a flag only shuffles.
    record_.anchorHOn = record_.outVOn = 0;
    record_.randomOrder = 1;
    ArtNode* shuffled = Generate(record_);
    ASSERT_EQ(shuffled->s.children.size(), 4u);
    for (const ArtNode* c : shuffled->s.children)
        EXPECT_EQ(c->s.segments[0].out.y, c->s.segments[0].anchor.y);
}

// Stored counts at the extremes: none for 0 or less, the panel's maximum
// made, beyond it refused by the walks; the generator itself sizes its
// list in 64 bits and answers -108 for a list it cannot hold or allocate.
TEST_F(LiveFrame, StoredCountsAndAFailedListNeverOverrun) {
    struct Case {
        int32_t h, v;
        std::int64_t copies;
        ErrorCode generate;
    } cases[] = {{0, 8, 0, kNoErr},
                 {-1, 8, 0, kNoErr},
                 {12, 0, 0, kNoErr},
                 {12, -1, 0, kNoErr},
                 {32767, 1, 65540, kNoErr},
                 {0x40000000, 8, -1, kOutOfMemoryErr},
                 {8, 0x40000000, -1, kOutOfMemoryErr},
                 {2147483647, 2147483647, -1, kOutOfMemoryErr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.h << " x " << c.v);
        record_.hCount = c.h;
        record_.vCount = c.v;
        EXPECT_EQ(vtg::FrameCopies(record_), c.copies);
        EXPECT_EQ(vtg::CheckRecordBounds(vtg::kKindFrame, &record_),
                  c.copies < 0 ? vtg::kResultTooLargeErr : kNoErr);
        ArtNode* g = Generate(record_, c.generate);
        EXPECT_EQ(static_cast<std::int64_t>(g->s.children.size()),
                  std::max<std::int64_t>(c.copies, 0));
    }
    record_.hCount = 12;
    record_.vCount = 8;
    host().memory().failName("Frame Copies");
    EXPECT_EQ(Generate(record_, kOutOfMemoryErr)->s.children.size(), 0u);
}

// Damaged numbers stay within the panel's ranges: no infinity or NaN.
TEST_F(LiveFrame, DamagedNumbersStayFinite) {
    record_.hCount = 3;
    record_.vCount = 2;
    record_.sideFeed = std::numeric_limits<double>::infinity();
    record_.cornerFeed = std::nan("");
    record_.cornerOffset = -1e300;
    record_.randomOn = 1;
    record_.anchorHOn = 1;
    record_.anchorH = 1e308;
    ArtNode* g = Generate(record_);
    ASSERT_EQ(g->s.children.size(), 10u);
    for (const ArtNode* c : g->s.children)
        for (const PathSegment& s : c->s.segments)
            EXPECT_TRUE(std::isfinite(s.anchor.x) && std::isfinite(s.anchor.y));
}

// Saved, reopened, regenerated: the same bytes; the recording replays the
// frame's values elsewhere.
TEST_F(LiveFrame, SavedAndReplayedFramesRegenerateIdentically) {
    record_.hCount = 4;
    record_.vCount = 3;
    record_.randomOn = 1;
    record_.inHOn = 1;
    record_.randomOrder = 1;
    record_.feedMode = 1;
    record_.sideFeed = 14;
    host().actions().startRecording();
    Select({square_});
    Apply();
    host().actions().stopRecording();
    const std::string saved = hostapp::svg::WriteSvgText(*doc_);
    Document* reopened = nullptr;
    hostapp::svg::SvgError error;
    ASSERT_TRUE(hostapp::svg::ReadSvgText(host().docs(), saved, "saved.svg", reopened, error))
        << error.message;
    ArtNode* live = reopened->layers[0]->group->s.children[0];
    ASSERT_EQ(live->s.kind, kVtgArtPlugin);
    live->s.plugin.result->s.children.clear();
    ASSERT_EQ(hostapp::UpdateAllPluginArt(host(), *reopened), kNoErr);
    EXPECT_EQ(hostapp::svg::WriteSvgText(*reopened), saved);

    host().docs().setCurrent(doc_);
    ASSERT_EQ(host().actions().events().size(), 1u);
    const auto& values = host().actions().events()[0].values.values;
    ASSERT_EQ(values.size(), 11u + 12u + 1u);
    EXPECT_EQ(values[5].key, vtg::ActionKey("move"));
    EXPECT_DOUBLE_EQ(values[5].real, 14);
    EXPECT_EQ(values[5].text, "#Pxl");
    EXPECT_EQ(values[9].text, "反時計回り");
    ArtNode* other = AddSquare("other", 100, 100, 10);
    Select({other});
    std::string reason;
    ASSERT_EQ(host().playActions(&reason), kNoErr) << reason;
    const std::vector<ArtNode*> top = TopLevel();
    ASSERT_EQ(top.size(), 2u);
    const ArtNode* g1 = top[0]->s.plugin.result->s.children.at(0);
    const ArtNode* g2 = top[1]->s.plugin.result->s.children.at(0);
    ASSERT_EQ(g1->s.children.size(), 18u);
    ASSERT_EQ(g2->s.children.size(), 18u);
    // The recording holds no seed: the values come back, the panel's seed
    // draws the randomisation.
    const auto& panel =
        *static_cast<const FramePGParams*>(vtg::gGlobals->liveObjectParams[vtg::kKindFrame]);
    EXPECT_EQ(panel.feedMode, 1);
    EXPECT_DOUBLE_EQ(panel.sideFeed, 14);
    EXPECT_EQ(panel.inHOn, 1);
    EXPECT_DOUBLE_EQ(panel.inH, 0.1);
}

} // namespace
