#include "geometry/art_paths.hpp"

#include <algorithm>
#include <cstring>

#include "core/suite_set.hpp"

namespace vtg {
namespace {

bool IsContainer(int32_t kind) {
    return kind == kVtgArtGroup || kind == kVtgArtCompoundPath;
}

// Appends the paths among the children of `container`, depth first.
ErrorCode CollectChildren(ArtHandle container, ArtList& list) {
    ArtHandle child = nullptr;
    ErrorCode err = sArt->GetArtFirstChild(container, &child);
    while (err == kNoErr && child != nullptr) {
        int32_t kind = 0;
        if ((err = sArt->GetArtKind(child, &kind)) != kNoErr)
            return err;
        if (IsContainer(kind))
            err = CollectChildren(child, list);
        else if (kind == kVtgArtPath)
            err = AppendArt(list, child);
        if (err != kNoErr)
            return err;
        err = sArt->GetArtNextSibling(child, &child);
    }
    return err;
}

void FreeInfos(PathInfo* infos, int32_t count) {
    if (infos == nullptr)
        return;
    for (int32_t i = 0; i < count; ++i) {
        FreeBlock(infos[i].segments);
        infos[i].segments = nullptr;
    }
    FreeBlock(infos);
}

ErrorCode AllocateInfos(int32_t count, PathInfo** infos) {
    *infos = nullptr;
    void* block = nullptr;
    const size_t n = count > 0 ? static_cast<size_t>(count) : 1;
    ErrorCode err = sMemory->AllocateBlock(kPathInfoName, n * sizeof(PathInfo), &block);
    if (err != kNoErr || block == nullptr)
        return err != kNoErr ? err : kMemoryFull;
    *infos = static_cast<PathInfo*>(block);
    for (size_t i = 0; i < n; ++i)
        (*infos)[i] = PathInfo{};
    return kNoErr;
}

struct ReorderEntry {
    ArtHandle art;
    double key;
};

} // namespace

ErrorCode CollectPaths(ArtHandle root, ArtList& list, int32_t* pathCount, int32_t* segmentTotal,
                       VtgRect* bounds) {
    if (sArt == nullptr || sPath == nullptr || sMath == nullptr || sMemory == nullptr)
        return kBadParameterErr;
    ErrorCode err = CreateArtList(list);
    if (err != kNoErr)
        return err;
    int32_t kind = 0;
    err = sArt->GetArtKind(root, &kind);
    if (err == kNoErr) {
        if (kind == kVtgArtPath)
            err = AppendArt(list, root);
        else if (IsContainer(kind))
            err = CollectChildren(root, list);
    }
    if (err == kNoErr && list.count == 0)
        err = kNoSelection;
    int32_t total = 0;
    VtgRect united{0, 0, 0, 0};
    VtgMatrix identity;
    if (err == kNoErr)
        err = sMath->IdentityMatrix(&identity);
    for (int32_t i = 0; err == kNoErr && i < list.count; ++i) {
        int16_t n = 0;
        VtgRect r;
        if ((err = sPath->GetPathSegmentCount(list.handles[i], &n)) != kNoErr ||
            (err = sArt->GetArtBounds(list.handles[i], &identity, kVtgBoundsControlPoints, &r)) !=
                kNoErr)
            break;
        total += n;
        if (i == 0)
            united = r;
        else
            err = sMath->UnionRect(&united, &r, &united);
    }
    if (err != kNoErr) {
        ReleaseArtList(list);
        return err;
    }
    if (pathCount != nullptr)
        *pathCount = list.count;
    if (segmentTotal != nullptr)
        *segmentTotal = total;
    if (bounds != nullptr)
        *bounds = united;
    return kNoErr;
}

ErrorCode CapturePaths(const ArtList& list, PathSet& set) {
    if (sPath == nullptr || sMemory == nullptr || set.pathCount > list.count)
        return kBadParameterErr;
    // Arrays of an earlier capture would be lost by this one.
    FreeInfos(set.working, set.pathCount);
    FreeInfos(set.source, set.pathCount);
    set.working = set.source = nullptr;

    PathInfo *working = nullptr, *source = nullptr;
    ErrorCode err = AllocateInfos(set.pathCount, &working);
    if (err == kNoErr)
        err = AllocateInfos(set.pathCount, &source);
    if (err != kNoErr) {
        FreeBlock(working);
        return err;
    }
    set.status = 0;
    int32_t total = 0;
    for (int32_t i = 0; err == kNoErr && i < set.pathCount; ++i) {
        ArtHandle path = list.handles[i];
        int16_t n = 0;
        int32_t closed = 0;
        if ((err = sPath->GetPathSegmentCount(path, &n)) != kNoErr ||
            (err = AllocateSegmentArray(n, kCapturedSegmentsName, &working[i].segments)) !=
                kNoErr ||
            (n > 0 && (err = sPath->GetPathSegments(path, 0, n, working[i].segments)) != kNoErr) ||
            (err = AllocateSegmentArray(n, kCapturedSegmentsName, &source[i].segments)) != kNoErr ||
            (err = sPath->GetPathClosed(path, &closed)) != kNoErr)
            break;
        if (n > 0)
            std::memcpy(source[i].segments, working[i].segments,
                        static_cast<size_t>(n) * sizeof(PathSegment));
        for (PathInfo* info : {&working[i], &source[i]}) {
            info->count = n;
            info->closed = closed != 0 ? 1 : 0;
            info->depth = kNoDepth;
        }
        total += n;
    }
    if (err != kNoErr) {
        FreeInfos(working, set.pathCount);
        FreeInfos(source, set.pathCount);
        return err;
    }
    set.working = working;
    set.source = source;
    set.sourceSegmentTotal = total;
    set.resultSegmentTotal = total;
    return kNoErr;
}

void ReleasePaths(PathSet& set) {
    FreeInfos(set.working, set.pathCount);
    FreeInfos(set.source, set.pathCount);
    set.working = set.source = nullptr;
    set.bounds = VtgRect{0, 0, 0, 0};
    set.pathCount = 0;
    set.sourceSegmentTotal = 0;
}

ErrorCode WriteBackPaths(const ArtList& list, const PathSet& set) {
    if (sPath == nullptr || set.pathCount > list.count || (set.pathCount > 0 && !set.working))
        return kBadParameterErr;
    for (int32_t i = 0; i < set.pathCount; ++i) {
        const PathInfo& info = set.working[i];
        ErrorCode err = sPath->SetPathSegments(list.handles[i], 0, info.count, info.segments);
        if (err == kNoErr)
            err = sPath->SetPathSegmentCount(list.handles[i], info.count);
        if (err != kNoErr)
            return err;
    }
    return kNoErr;
}

ErrorCode RestorePaintOrder(ArtHandle group, const ArtList& list, const PathSet& set) {
    if (sArt == nullptr || sMemory == nullptr || set.pathCount > list.count)
        return kBadParameterErr;
    if (set.pathCount < 2)
        return kNoErr;
    const size_t slots = 2 * static_cast<size_t>(set.pathCount);
    void* block = nullptr;
    ErrorCode err = sMemory->AllocateBlock(kReorderName, slots * sizeof(ReorderEntry), &block);
    if (err != kNoErr || block == nullptr)
        return err != kNoErr ? err : kMemoryFull;
    auto* entries = static_cast<ReorderEntry*>(block);
    for (size_t i = 0; i < slots; ++i)
        entries[i] = ReorderEntry{nullptr, kNoDepth};
    size_t used = 0;

    LayerHandle groupLayer = nullptr;
    err = sArt->GetArtLayer(group, &groupLayer);
    ArtHandle runParent = nullptr; // the nested container of the pending run
    double runDepth = kNoDepth;
    auto closeRun = [&] {
        if (runParent != nullptr)
            entries[used++] = ReorderEntry{runParent, runDepth};
        runParent = nullptr;
        runDepth = kNoDepth;
    };
    for (int32_t j = 0; err == kNoErr && j < set.pathCount; ++j) {
        ArtHandle path = list.handles[j];
        LayerHandle layer = nullptr;
        ArtHandle parent = nullptr;
        if ((err = sArt->GetArtLayer(path, &layer)) != kNoErr)
            break;
        if (layer != groupLayer) {
            err = kPathOnOtherLayer;
            break;
        }
        if ((err = sArt->GetArtParent(path, &parent)) != kNoErr)
            break;
        const double depth = set.working[j].depth;
        if (parent == runParent) {
            runDepth = std::max(runDepth, depth);
            continue;
        }
        closeRun();
        if (parent == group) {
            entries[used++] = ReorderEntry{path, depth};
            continue;
        }
        int32_t kind = 0;
        if (parent != nullptr && (err = sArt->GetArtKind(parent, &kind)) == kNoErr &&
            (kind == kVtgArtGroup || kind == kVtgArtCompoundPath)) {
            runParent = parent;
            runDepth = depth;
        }
    }
    if (err == kNoErr)
        closeRun();
    if (err == kNoErr) {
        std::sort(entries, entries + used,
                  [](const ReorderEntry& a, const ReorderEntry& b) { return a.key < b.key; });
        for (size_t i = 0; err == kNoErr && i < used; ++i) {
            ArtHandle parent = nullptr;
            if (entries[i].art == nullptr ||
                (err = sArt->GetArtParent(entries[i].art, &parent)) != kNoErr || parent != group)
                continue;
            err = sArt->MoveArt(entries[i].art, kVtgPlaceInsideOnTop, group);
        }
    }
    sMemory->FreeBlock(block);
    return err;
}

} // namespace vtg
