#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "geometry/art_paths.hpp"
#include "geometry/deform_driver.hpp"
#include "geometry/effect_walk.hpp"
#include "geometry_fixture.hpp"

namespace {

using vtgtest::Corner;
using vtgtest::DocTest;
using vtgtest::Polyline;
using vtgtest::SameSegments;

class ArtPaths : public DocTest {};

std::vector<PathSegment> Square(double x, double y, double size) {
    return {Corner(x, y), Corner(x + size, y), Corner(x + size, y + size), Corner(x, y + size)};
}

// --- collection ----------------------------------------------------------------

TEST_F(ArtPaths, CollectsDepthFirstThroughCompoundPathsInGroups) {
    // group [p1, compound [p2, p3], group [p4, text, group [p5]], placed]
    ArtHandle root = Add(kVtgArtGroup);
    ArtHandle p1 = AddPath(Square(0, 0, 10), root);
    ArtHandle compound = Add(kVtgArtCompoundPath, root);
    ArtHandle p2 = AddPath(Square(20, 0, 10), compound, true);
    ArtHandle p3 = AddPath(Square(22, 2, 4), compound, true);
    ArtHandle inner = Add(kVtgArtGroup, root);
    ArtHandle p4 = AddPath(Polyline(3), inner);
    Add(kVtgArtTextFrame, inner);
    ArtHandle innermost = Add(kVtgArtGroup, inner);
    ArtHandle p5 = AddPath(Square(-50, -40, 5), innermost);
    Add(kVtgArtPlaced, root);

    vtg::ArtList list;
    int32_t count = 0, total = 0;
    VtgRect bounds{};
    ASSERT_EQ(vtg::CollectPaths(root, list, &count, &total, &bounds), kNoErr);
    const std::vector<ArtHandle> want = {p1, p2, p3, p4, p5};
    ASSERT_EQ(count, 5);
    EXPECT_EQ(std::vector<ArtHandle>(list.handles, list.handles + list.count), want);
    EXPECT_EQ(total, 4 + 4 + 4 + 3 + 4);
    EXPECT_EQ(bounds.left, -50);
    EXPECT_EQ(bounds.bottom, -40);
    EXPECT_EQ(bounds.right, 30);
    EXPECT_EQ(bounds.top, 10);
    EXPECT_EQ(host().memory().usage("+ArtHandle").bytes, 6 * sizeof(ArtHandle)) << "one spare slot";
    vtg::ReleaseArtList(list);
    EXPECT_EQ(LiveBlocks(), 0);
}

TEST_F(ArtPaths, CollectEdgeCases) {
    ArtHandle path = AddPath(Polyline(4));
    ArtHandle textOnly = Add(kVtgArtGroup);
    Add(kVtgArtTextFrame, textOnly);
    ArtHandle empty = Add(kVtgArtGroup);
    ArtHandle placed = Add(kVtgArtPlaced);
    ArtHandle dead = AddPath(Polyline(2));
    vtg::sArt->DeleteArt(dead);
    struct Case {
        const char* what;
        ArtHandle root;
        ErrorCode result;
        int32_t count;
    } cases[] = {
        {"a path root", path, kNoErr, 1},
        {"a group holding only text", textOnly, vtg::kNoSelection, 0},
        {"an empty group", empty, vtg::kNoSelection, 0},
        {"a placed image", placed, vtg::kNoSelection, 0},
        {"a deleted path", dead, kDeadHandleErr, 0},
    };
    for (const Case& c : cases) {
        vtg::ArtList list;
        int32_t count = -1;
        EXPECT_EQ(vtg::CollectPaths(c.root, list, &count, nullptr, nullptr), c.result) << c.what;
        if (c.result == kNoErr) {
            EXPECT_EQ(count, c.count) << c.what;
            EXPECT_EQ(list.handles[0], c.root) << c.what;
        } else {
            EXPECT_EQ(list.handles, nullptr) << c.what;
        }
        vtg::ReleaseArtList(list);
        EXPECT_EQ(LiveBlocks(), 0) << c.what;
    }
}

TEST_F(ArtPaths, CollectFreesItsListWhenMemoryRunsOut) {
    ArtHandle root = Add(kVtgArtGroup);
    for (int i = 0; i < 3; ++i)
        AddPath(Polyline(3), root);
    for (int nth = 1; nth <= 4; ++nth) {
        host().memory().failNth(nth);
        vtg::ArtList list;
        EXPECT_EQ(vtg::CollectPaths(root, list, nullptr, nullptr, nullptr), kOutOfMemoryErr) << nth;
        host().memory().clearFaults();
        EXPECT_EQ(LiveBlocks(), 0) << nth;
    }
}

// --- capture, release, write-back ------------------------------------------------

TEST_F(ArtPaths, CaptureCopiesEveryPathTwiceAndReleaseFreesAll) {
    ArtHandle root = Add(kVtgArtGroup);
    const std::vector<PathSegment> a = Polyline(3), b = Square(5, 5, 5);
    AddPath(a, root);
    AddPath(b, root, true);
    vtg::ArtList list;
    vtg::PathSet set;
    ASSERT_EQ(vtg::CollectPaths(root, list, &set.pathCount, &set.sourceSegmentTotal, &set.bounds),
              kNoErr);
    const int listBlocks = LiveBlocks();
    ASSERT_EQ(vtg::CapturePaths(list, set), kNoErr);
    EXPECT_EQ(LiveBlocks(), listBlocks + 2 + 4);
    for (vtg::PathInfo* infos : {set.working, set.source}) {
        EXPECT_EQ(infos[0].count, 3);
        EXPECT_EQ(infos[0].closed, 0);
        EXPECT_EQ(infos[1].closed, 1);
        EXPECT_EQ(infos[1].depth, vtg::kNoDepth);
        EXPECT_TRUE(SameSegments({infos[1].segments, infos[1].segments + 4}, b));
    }
    EXPECT_NE(set.working[0].segments, set.source[0].segments);
    EXPECT_EQ(set.sourceSegmentTotal, 7);

    // A second capture into the same set frees the first one's arrays.
    ASSERT_EQ(vtg::CapturePaths(list, set), kNoErr);
    EXPECT_EQ(LiveBlocks(), listBlocks + 2 + 4);

    vtg::ReleasePaths(set);
    EXPECT_EQ(set.pathCount, 0);
    EXPECT_EQ(set.working, nullptr);
    EXPECT_EQ(set.source, nullptr);
    EXPECT_EQ(LiveBlocks(), listBlocks);
    vtg::ReleaseArtList(list);
    EXPECT_EQ(LiveBlocks(), 0);
}

TEST_F(ArtPaths, CaptureFailureFreesEverything) {
    ArtHandle root = Add(kVtgArtGroup);
    for (int i = 0; i < 3; ++i)
        AddPath(Polyline(4), root);
    vtg::ArtList list;
    int32_t count = 0;
    ASSERT_EQ(vtg::CollectPaths(root, list, &count, nullptr, nullptr), kNoErr);
    const int listBlocks = LiveBlocks();
    for (int nth = 1; nth <= 8; ++nth) {
        vtg::PathSet set;
        set.pathCount = count;
        host().memory().failNth(nth);
        EXPECT_EQ(vtg::CapturePaths(list, set), kOutOfMemoryErr) << nth;
        host().memory().clearFaults();
        EXPECT_EQ(set.working, nullptr);
        EXPECT_EQ(LiveBlocks(), listBlocks) << nth;
    }
    vtg::ReleaseArtList(list);
}

TEST_F(ArtPaths, WriteBackSetsTheCountAfterTheSegments) {
    struct Case {
        const char* what;
        int before, after;
    } cases[] = {{"shorter result truncates", 6, 3}, {"longer result extends", 3, 7}};
    for (const Case& c : cases) {
        ArtHandle path = AddPath(Polyline(c.before));
        vtg::ArtList list;
        vtg::PathSet set;
        ASSERT_EQ(vtg::CollectPaths(path, list, &set.pathCount, nullptr, nullptr), kNoErr);
        ASSERT_EQ(vtg::CapturePaths(list, set), kNoErr);
        const std::vector<PathSegment> result = Square(1, 2, 3);
        std::vector<PathSegment> want;
        for (int i = 0; i < c.after; ++i)
            want.push_back(result[static_cast<size_t>(i % 4)]);
        vtg::FreeBlock(set.working[0].segments);
        ASSERT_EQ(vtg::AllocateSegmentArray(c.after, "test", &set.working[0].segments), kNoErr);
        std::memcpy(set.working[0].segments, want.data(), want.size() * sizeof(PathSegment));
        set.working[0].count = static_cast<int16_t>(c.after);
        EXPECT_EQ(vtg::WriteBackPaths(list, set), kNoErr) << c.what;
        EXPECT_TRUE(SameSegments(SegmentsOf(path), want)) << c.what;
        vtg::ReleasePaths(set);
        vtg::ReleaseArtList(list);
    }
    EXPECT_EQ(LiveBlocks(), 0);
}

// --- re-stacking -----------------------------------------------------------------

TEST_F(ArtPaths, RestackingMovesANestedGroupAsOneEntry) {
    // group [a, nested [b, c], d] with depths a 1, b 5, c 2, d 3: the nested
    // group is keyed 5 and ends up on top, then d, then a.
    ArtHandle group = Add(kVtgArtGroup);
    ArtHandle a = AddPath(Polyline(2), group);
    ArtHandle nested = Add(kVtgArtGroup, group);
    ArtHandle b = AddPath(Polyline(2), nested);
    ArtHandle c = AddPath(Polyline(2), nested);
    ArtHandle d = AddPath(Polyline(2), group);
    vtg::ArtList list;
    vtg::PathSet set;
    ASSERT_EQ(vtg::CollectPaths(group, list, &set.pathCount, nullptr, nullptr), kNoErr);
    ASSERT_EQ(vtg::CapturePaths(list, set), kNoErr);
    const double depths[] = {1, 5, 2, 3};
    for (int i = 0; i < 4; ++i)
        set.working[i].depth = depths[i];
    EXPECT_EQ(vtg::RestorePaintOrder(group, list, set), kNoErr);
    EXPECT_EQ(ChildrenOf(group), (std::vector<ArtHandle>{nested, d, a}));
    EXPECT_EQ(ChildrenOf(nested), (std::vector<ArtHandle>{b, c})) << "inside order kept";

    // Depths reversed: a on top, the nested group (now keyed 2) at the back.
    const double reversed[] = {9, 1, 2, 3};
    for (int i = 0; i < 4; ++i)
        set.working[i].depth = reversed[i];
    EXPECT_EQ(vtg::RestorePaintOrder(group, list, set), kNoErr);
    EXPECT_EQ(ChildrenOf(group), (std::vector<ArtHandle>{a, d, nested}));
    vtg::ReleasePaths(set);
    vtg::ReleaseArtList(list);
    EXPECT_EQ(LiveBlocks(), 0);
}

TEST_F(ArtPaths, RestackingRefusesAPathOnAnotherLayer) {
    ArtHandle group = Add(kVtgArtGroup);
    ArtHandle a = AddPath(Polyline(2), group);
    ArtHandle b = AddPath(Polyline(2), group);
    ArtHandle other = AddPath(Polyline(2), AddLayerGroup("Layer 2"));
    vtg::ArtList list;
    ASSERT_EQ(vtg::CollectPaths(group, list, nullptr, nullptr, nullptr), kNoErr);
    ASSERT_EQ(vtg::AppendArt(list, other), kNoErr);
    vtg::PathSet set;
    set.pathCount = 3;
    ASSERT_EQ(vtg::CapturePaths(list, set), kNoErr);
    set.working[0].depth = 1;
    set.working[1].depth = 9;
    EXPECT_EQ(vtg::RestorePaintOrder(group, list, set), vtg::kPathOnOtherLayer);
    EXPECT_EQ(ChildrenOf(group), (std::vector<ArtHandle>{a, b})) << "order left as it was";
    vtg::ReleasePaths(set);
    vtg::ReleaseArtList(list);
    EXPECT_EQ(LiveBlocks(), 0);
}

// --- the effect walk -------------------------------------------------------------

// Moves every point up by 10 (a mapping that needs no subdivision).
class Lift : public vtg::DeformVariant {
public:
    ErrorCode Map(VtgPoint p, VtgPoint* out) override {
        *out = VtgPoint{p.x, p.y + 10};
        return kNoErr;
    }
};

struct WalkLog {
    std::vector<ArtHandle> seen;
    std::set<ArtHandle> tooMany; // these answer "SEGM"
    ArtHandle failing = nullptr; // this one answers an error
    bool bufferHeld = true;
};

ErrorCode LoggingAction(ArtHandle path, void* context) {
    auto* log = static_cast<WalkLog*>(context);
    log->seen.push_back(path);
    log->bufferHeld = log->bufferHeld && vtg::gEffectSegments != nullptr;
    if (log->tooMany.count(path) != 0)
        return vtg::kTooManySegments;
    if (path == log->failing)
        return vtg::FourCC("!oVf");
    Lift lift;
    return vtg::DeformPath(path, lift);
}

TEST_F(ArtPaths, EffectWalkChangesPathsOnly) {
    // group [p1, placed, compound [p2, p3], text, group [p4]]
    ArtHandle root = Add(kVtgArtGroup);
    ArtHandle p1 = AddPath(Polyline(3), root);
    ArtHandle placed = Add(kVtgArtPlaced, root);
    ArtHandle compound = Add(kVtgArtCompoundPath, root);
    ArtHandle p2 = AddPath(Polyline(3), compound);
    ArtHandle p3 = AddPath(Polyline(3), compound);
    Add(kVtgArtTextFrame, root);
    ArtHandle p4 = AddPath(Polyline(3), Add(kVtgArtGroup, root));
    VtgRect placedBefore{}, placedAfter{};
    vtg::sArt->GetArtBounds(placed, nullptr, kVtgBoundsVisible, &placedBefore);
    const std::vector<ArtHandle> children = ChildrenOf(root);

    WalkLog log;
    log.tooMany = {p2};
    EXPECT_EQ(vtg::ForEachEffectPath(root, &LoggingAction, &log), kNoErr);
    EXPECT_EQ(log.seen, (std::vector<ArtHandle>{p1, p2, p3, p4}));
    EXPECT_TRUE(log.bufferHeld);
    EXPECT_EQ(vtg::gEffectSegments, nullptr);
    EXPECT_EQ(SegmentsOf(p1)[0].anchor.y, 10) << "transformed";
    EXPECT_TRUE(SameSegments(SegmentsOf(p2), Polyline(3))) << "\"SEGM\" keeps the old geometry";
    EXPECT_EQ(SegmentsOf(p3)[0].anchor.y, 10) << "the walk went on after \"SEGM\"";
    EXPECT_EQ(SegmentsOf(p4)[0].anchor.y, 10);
    vtg::sArt->GetArtBounds(placed, nullptr, kVtgBoundsVisible, &placedAfter);
    EXPECT_EQ(std::memcmp(&placedBefore, &placedAfter, sizeof(VtgRect)), 0);
    EXPECT_EQ(ChildrenOf(root), children) << "structure and order unchanged";
    int32_t selected = 0;
    vtg::sArt->GetArtAttributes(p1, kVtgArtSelected, &selected);
    EXPECT_EQ(selected, kVtgArtSelected) << "a written path is marked selected";
    EXPECT_EQ(LiveBlocks(), 0);
}

TEST_F(ArtPaths, EffectWalkOnAPathTransformsThatPathAlone) {
    ArtHandle group = Add(kVtgArtGroup);
    ArtHandle p1 = AddPath(Polyline(3), group);
    ArtHandle p2 = AddPath(Polyline(3), group);
    ArtHandle p3 = AddPath(Polyline(3), group);
    Lift lift;
    EXPECT_EQ(vtg::ForEachEffectPath(p2, lift), kNoErr);
    EXPECT_TRUE(SameSegments(SegmentsOf(p1), Polyline(3)));
    EXPECT_EQ(SegmentsOf(p2)[1].anchor.y, 20);
    EXPECT_TRUE(SameSegments(SegmentsOf(p3), Polyline(3))) << "the following sibling is untouched";
    EXPECT_EQ(LiveBlocks(), 0);
}

TEST_F(ArtPaths, EffectWalkStopsAtAnError) {
    ArtHandle root = Add(kVtgArtGroup);
    ArtHandle p1 = AddPath(Polyline(3), root);
    ArtHandle p2 = AddPath(Polyline(3), Add(kVtgArtGroup, root));
    ArtHandle p3 = AddPath(Polyline(3), root);
    WalkLog log;
    log.failing = p2;
    EXPECT_EQ(vtg::ForEachEffectPath(root, &LoggingAction, &log), vtg::FourCC("!oVf"));
    EXPECT_EQ(log.seen, (std::vector<ArtHandle>{p1, p2}));
    EXPECT_TRUE(SameSegments(SegmentsOf(p3), Polyline(3)));
    EXPECT_EQ(vtg::gEffectSegments, nullptr);

    host().memory().failName(vtg::kEffectSegmentsName);
    log.seen.clear();
    EXPECT_EQ(vtg::ForEachEffectPath(root, &LoggingAction, &log), kOutOfMemoryErr);
    EXPECT_TRUE(log.seen.empty());
    host().memory().clearFaults();
    EXPECT_EQ(LiveBlocks(), 0);
}

TEST_F(ArtPaths, EffectWalkPolicyEndsAtTooManySegmentsWithoutTheBuffer) {
    ArtHandle root = Add(kVtgArtGroup);
    ArtHandle p1 = AddPath(Polyline(3), root);
    ArtHandle p2 = AddPath(Polyline(3), Add(kVtgArtCompoundPath, root));
    ArtHandle p3 = AddPath(Polyline(3), root);
    WalkLog log;
    log.tooMany = {p2};
    EXPECT_EQ(vtg::ForEachEffectPath(root, &LoggingAction, &log,
                                     {.stopOnTooMany = true, .segmentBuffer = false}),
              vtg::kTooManySegments);
    EXPECT_EQ(log.seen, (std::vector<ArtHandle>{p1, p2}));
    EXPECT_FALSE(log.bufferHeld);
    EXPECT_EQ(SegmentsOf(p1)[0].anchor.y, 10);
    EXPECT_TRUE(SameSegments(SegmentsOf(p3), Polyline(3))) << "the walk ended at \"SEGM\"";
    EXPECT_EQ(LiveBlocks(), 0);
}

} // namespace
