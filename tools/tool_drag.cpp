// The drag machinery the tools share.
#include "tools/tool_drag.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/error_codes.hpp"
#include "core/suite_set.hpp"
#include "geometry/curve_ops.hpp"
#include "geometry/path_model.hpp"

namespace vtg {

namespace {

constexpr const char* kTraceWarning =
    "トレースの対象やステップ数によっては大量のパスが作成されます。\n"
    "使用時には充分ご注意ください。";
constexpr const char* kTraceQuestion =
    "トレースの対象やステップ数によっては大量のパスが作成されます。\nよろしいですか？\n"
    "トレースを止めるには設定パネルの「トレース」のチェックを外してください。";
constexpr const char* kInternalNotifierType = "QrLw VERTiGON4 Internal Notifier";
constexpr const char* kToolSendData = "Tool Send Data";

constexpr int32_t kThrottleTime = 30;
constexpr double kThrottleDistance = 2;
constexpr int32_t kTraceFirstCapacity = 501;
constexpr int32_t kTraceGrowth = 100;
constexpr double kCircleHandle = 0.55229;

bool Collectable(int32_t kind) {
    return kind == kVtgArtGroup || kind == kVtgArtCompoundPath || kind == kVtgArtPath ||
           kind == kVtgArtBrushedPath || kind == kVtgArtPlugin;
}

ArtHandle Parent(ArtHandle art) {
    ArtHandle parent = nullptr;
    if (sArt->GetArtParent(art, &parent) != kNoErr)
        return nullptr;
    return parent;
}

} // namespace

ToolDragState& Drag() {
    return gGlobals->drag;
}

ErrorCode CollectSelectedPaths() {
    ToolDragState& d = Drag();
    if (d.selection != nullptr)
        sMemory->FreeBlock(d.selection);
    d.selection = nullptr;
    d.selectionCount = 0;
    ArtHandle* list = nullptr;
    int32_t count = 0;
    ErrorCode err = sDocument->GetSelectedArt(&list, &count);
    if (err == kNoDocumentErr || (err == kNoErr && (list == nullptr || count < 2))) {
        if (list != nullptr)
            sMemory->FreeBlock(list);
        return kNoSelection;
    }
    if (err != kNoErr)
        return err;
    // Keep the container and the art kinds the tools work on.
    int32_t kept = 1;
    bool haveBounds = false;
    VtgRect bounds{0, 0, 0, 0};
    for (int32_t i = 1; i < count; ++i) {
        int32_t kind = 0;
        if (sArt->GetArtKind(list[i], &kind) != kNoErr || !Collectable(kind))
            continue;
        list[kept++] = list[i];
        if (kind != kVtgArtPath)
            continue;
        VtgRect r{};
        if (sArt->GetArtBounds(list[i], nullptr, kVtgBoundsControlPoints, &r) != kNoErr)
            continue;
        if (!haveBounds)
            bounds = r;
        else
            bounds = {std::min(bounds.left, r.left), std::max(bounds.top, r.top),
                      std::max(bounds.right, r.right), std::min(bounds.bottom, r.bottom)};
        haveBounds = true;
    }
    if (kept < 2) {
        sMemory->FreeBlock(list);
        return kNoSelection;
    }
    d.selection = list;
    d.selectionCount = kept;
    d.bounds = bounds;
    return kNoErr;
}

void BeginGesture(const ToolMessage& message) {
    ToolDragState& d = Drag();
    d.fresh = 1;
    d.downPoint = d.anchor = d.previous = d.current = message.cursor;
    d.downTime = message.timestamp;
    d.modifiers = message.modifiers;
    d.amounts[0] = d.amounts[1] = 0;
    d.radiusDrag = 0;
    d.traceCount = 0;
    d.lastRecorded = message.cursor;
}

bool Throttled(const ToolMessage& message, VtgPoint moved) {
    const ToolDragState& d = Drag();
    if (d.fresh == 0)
        return false;
    // The time difference in 64 bits: timestamps may wrap.
    const int64_t elapsed = static_cast<int64_t>(message.timestamp) - d.downTime;
    return elapsed < kThrottleTime && std::fabs(moved.x - d.previous.x) <= kThrottleDistance &&
           std::fabs(moved.y - d.previous.y) <= kThrottleDistance;
}

bool ArtMissesBox(ArtHandle art, const VtgRect& box) {
    VtgRect r{};
    if (sArt->GetArtBounds(art, nullptr, kVtgBoundsControlPoints, &r) != kNoErr)
        return false;
    return r.right < box.left || r.left > box.right || r.top < box.bottom || r.bottom > box.top;
}

ErrorCode RevertStep() {
    return sUndo->RevertPending();
}

ErrorCode EnsureDragSegments() {
    ToolDragState& d = Drag();
    if (d.segments != nullptr)
        return kNoErr;
    return AllocateSegmentArray(kSegmentBufferCapacity, kEffectSegmentsName, &d.segments);
}

void EndGesture() {
    ToolDragState& d = Drag();
    if (d.trace != nullptr)
        sMemory->FreeBlock(d.trace);
    d.trace = nullptr;
    d.traceCapacity = d.traceCount = 0;
    if (d.segments != nullptr)
        FreeBlock(d.segments);
    d.segments = nullptr;
    if (gEffectSegments == d.segments)
        gEffectSegments = nullptr;
    d.brushCircle = nullptr;
    if (d.selection != nullptr)
        sMemory->FreeBlock(d.selection);
    d.selection = nullptr;
    d.selectionCount = 0;
}

ErrorCode DrawBrushEllipse(VtgPoint c, double rx, double ry) {
    ToolDragState& d = Drag();
    ArtHandle art = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtPath, kVtgPlaceInsideOnTop, nullptr, &art))
        return err;
    const double kx = rx * kCircleHandle, ky = ry * kCircleHandle;
    PathSegment s[4] = {};
    s[0] = {{c.x, c.y + ry}, {c.x - kx, c.y + ry}, {c.x + kx, c.y + ry}, 0};
    s[1] = {{c.x + rx, c.y}, {c.x + rx, c.y + ky}, {c.x + rx, c.y - ky}, 0};
    s[2] = {{c.x, c.y - ry}, {c.x + kx, c.y - ry}, {c.x - kx, c.y - ry}, 0};
    s[3] = {{c.x - rx, c.y}, {c.x - rx, c.y - ky}, {c.x - rx, c.y + ky}, 0};
    ErrorCode err = sPath->SetPathSegmentCount(art, 4);
    if (err == kNoErr)
        err = sPath->SetPathSegments(art, 0, 4, s);
    if (err == kNoErr)
        err = sPath->SetPathClosed(art, 1);
    if (err != kNoErr) {
        sArt->DeleteArt(art);
        return err;
    }
    d.brushCircle = art;
    return kNoErr;
}

ErrorCode DrawBrushCircle(VtgPoint c, double r) {
    return DrawBrushEllipse(c, r, r);
}

void DisposeBrushCircle() {
    ToolDragState& d = Drag();
    if (d.brushCircle != nullptr) {
        int32_t valid = 0;
        if (sArt->IsValidArt(d.brushCircle, &valid) == kNoErr && valid != 0)
            sArt->DeleteArt(d.brushCircle);
    }
    d.brushCircle = nullptr;
}

void WarnTraceEnabled() {
    sUser->ErrorAlert(kTraceWarning);
}

bool ConfirmTrace() {
    int32_t answer = 0;
    return sUser->YesNoAlert(kTraceQuestion, &answer) == kNoErr && answer == 1;
}

ErrorCode InsertAnchorAtHit(VtgPoint point) {
    VtgHitRecord hit{};
    if (ErrorCode err = sTool->HitTest(&point, &hit))
        return err == kNoDocumentErr ? kNoErr : err;
    int32_t kind = 0;
    if (hit.art == nullptr || hit.part != kVtgHitSegment ||
        sArt->GetArtKind(hit.art, &kind) != kNoErr || kind != kVtgArtPath)
        return kNoErr;
    int16_t count = 0;
    int32_t closed = 0;
    if (ErrorCode err = sPath->GetPathSegmentCount(hit.art, &count))
        return err;
    sPath->GetPathClosed(hit.art, &closed);
    const int n = count;
    if (n < 2 || n >= kMaxWrittenSegments || hit.segment < 0 || hit.segment >= n)
        return kNoErr;
    const int i = hit.segment;
    const bool closing = i == n - 1;
    if (closing && closed == 0)
        return kNoErr;
    PathSegment* s = nullptr;
    if (ErrorCode err = AllocateSegmentArray(n + 2, kDriverSourceName, &s))
        return err;
    ErrorCode err = sPath->GetPathSegments(hit.art, 0, count, s);
    if (err == kNoErr) {
        // The closing piece runs from the last anchor to the first: work on a
        // copy of the first anchor at the end and put its handle back.
        if (closing)
            s[n] = s[0];
        PathSegment& a = s[i];
        PathSegment& b = s[i + 1];
        const bool straight = a.out.x == a.anchor.x && a.out.y == a.anchor.y &&
                              b.in.x == b.anchor.x && b.in.y == b.anchor.y;
        const int last = closing ? n + 1 : n;
        if (straight) {
            for (int k = last; k > i + 1; --k)
                s[k] = s[k - 1];
            s[i + 1] = {hit.point, hit.point, hit.point, 0};
        } else {
            SplitSegmentAt(PieceOf(a, b), s, i, last, hit.t);
        }
        if (closing)
            s[0].in = s[n + 1].in;
        err = sPath->SetPathSegmentCount(hit.art, static_cast<int16_t>(n + 1));
        if (err == kNoErr)
            err = sPath->SetPathSegments(hit.art, 0, static_cast<int16_t>(n + 1), s);
    }
    FreeBlock(s);
    return err;
}

void SendToolDataIfAsked() {
    ToolDragState& d = Drag();
    if (d.sendData == 0)
        return;
    d.sendData = 0;
    sNotifier->Notify(kInternalNotifierType, kToolSendData);
}

double TraceEase(int curve, double b) {
    if (curve == 1)
        return b * b;
    if (curve == 2)
        return 1 - (b - 1) * (b - 1);
    return b;
}

int32_t TraceSteps(double steps) {
    if (!std::isfinite(steps) || steps < 1)
        return 1;
    if (steps > 4000)
        return 4000;
    return static_cast<int32_t>(steps);
}

ErrorCode AppendTracePoint(VtgPoint point) {
    ToolDragState& d = Drag();
    if (d.trace == nullptr) {
        void* block = nullptr;
        if (ErrorCode err = sMemory->AllocateBlock(kTraceBufferName,
                                                   sizeof(VtgPoint) * kTraceFirstCapacity, &block))
            return err;
        d.trace = static_cast<VtgPoint*>(block);
        d.traceCapacity = kTraceFirstCapacity;
        d.traceCount = 0;
    } else if (d.traceCount >= d.traceCapacity) {
        void* grown = nullptr;
        const std::size_t size =
            sizeof(VtgPoint) * (static_cast<std::size_t>(d.traceCapacity) + kTraceGrowth);
        if (ErrorCode err = sMemory->ResizeBlock(d.trace, size, kTraceGrowName, &grown))
            return err;
        d.trace = static_cast<VtgPoint*>(grown);
        d.traceCapacity += kTraceGrowth;
    }
    d.trace[d.traceCount++] = point;
    return kNoErr;
}

ErrorCode ChooseCopyUnit(ArtHandle* unit) {
    *unit = nullptr;
    const ToolDragState& d = Drag();
    const ArtHandle* L = d.selection;
    const int32_t n = d.selectionCount;
    // Without a second entry there is nothing to copy.
    if (L == nullptr || n < 2)
        return kNoErr;
    int32_t kind = 0;
    if (ErrorCode err = sArt->GetArtKind(L[1], &kind))
        return err;
    const bool container = kind == kVtgArtGroup || kind == kVtgArtCompoundPath;
    bool sibling = false;
    for (int32_t i = 2; i < n && !sibling; ++i)
        sibling = Parent(L[i]) == L[0];
    if ((!container && n > 2) || (container && sibling)) {
        ArtHandle group = nullptr;
        if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceAbove, L[1], &group))
            return err;
        for (int32_t i = 1; i < n; ++i)
            if (Parent(L[i]) == L[0])
                if (ErrorCode err = sArt->MoveArt(L[i], kVtgPlaceInsideOnBottom, group))
                    return err;
        *unit = group;
        return kNoErr;
    }
    *unit = L[1];
    return kNoErr;
}

ErrorCode TracePlacer::Copy(ArtHandle* copy, bool inUnitLayer) {
    *copy = nullptr;
    if (ownLayers_ && !inUnitLayer) {
        LayerHandle current = nullptr, layer = nullptr;
        if (ErrorCode err = sDocument->GetCurrentLayer(&current))
            return err;
        if (ErrorCode err = sDocument->InsertLayer(current, kVtgPlaceAboveAll, &layer))
            return err;
        if (ErrorCode err = sDocument->SetCurrentLayer(layer))
            return err;
        if (ErrorCode err = sArt->DuplicateArt(unit_, kVtgPlaceAboveAll, nullptr, copy))
            return err;
    } else {
        if (ErrorCode err = sArt->DuplicateArt(unit_, kVtgPlaceAbove, previous_, copy))
            return err;
    }
    previous_ = *copy;
    return kNoErr;
}

ErrorCode ForEachSelectedPath(ArtHandle source, ArtHandle target,
                              const std::function<ErrorCode(ArtHandle)>& path) {
    int32_t kind = 0;
    if (ErrorCode err = sArt->GetArtKind(source, &kind))
        return err;
    if (kind == kVtgArtGroup || kind == kVtgArtCompoundPath || kind == kVtgArtPlugin) {
        ArtHandle from = source, to = target;
        if (kind == kVtgArtPlugin && (sPluginGroup->GetEditArt(source, &from) != kNoErr ||
                                      sPluginGroup->GetEditArt(target, &to) != kNoErr))
            return kNoErr;
        ArtHandle a = nullptr, b = nullptr;
        sArt->GetArtFirstChild(from, &a);
        sArt->GetArtFirstChild(to, &b);
        while (a != nullptr && b != nullptr) {
            if (ErrorCode err = ForEachSelectedPath(a, b, path))
                return err;
            ArtHandle nextA = nullptr, nextB = nullptr;
            sArt->GetArtNextSibling(a, &nextA);
            sArt->GetArtNextSibling(b, &nextB);
            a = nextA;
            b = nextB;
        }
        return kNoErr;
    }
    if (kind != kVtgArtPath)
        return kNoErr;
    int32_t attributes = 0;
    if (sArt->GetArtAttributes(source, kVtgArtSelected, &attributes) != kNoErr ||
        (attributes & kVtgArtSelected) == 0)
        return kNoErr;
    return path(target);
}

} // namespace vtg
