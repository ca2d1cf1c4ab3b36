// The Broom tool: the rigid move of whole paths, the group rule, and the
// gesture and options view of the brush base.
#include "tools/broom/broom_tool.hpp"

#include <cmath>

#include "core/suite_set.hpp"
#include "geometry/path_model.hpp"
#include "tools/tool_drag.hpp"

namespace vtg {

namespace {

constexpr BrushControls kControls{
    1023, 1029, 1031, 1034, 1027, TraceControls{1028, 1030, 1037, 1032, 1035, 1038, 1033, 1036}};

int32_t ArtKind(ArtHandle art) {
    int32_t kind = -1;
    if (sArt->GetArtKind(art, &kind) != kNoErr)
        return -1;
    return kind;
}

bool BoundsCentre(ArtHandle art, VtgPoint& centre) {
    VtgRect r{};
    if (sArt->GetArtBounds(art, nullptr, kVtgBoundsControlPoints, &r) != kNoErr)
        return false;
    centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return std::isfinite(centre.x) && std::isfinite(centre.y);
}

bool FullySelected(ArtHandle art) {
    int32_t attributes = 0;
    return sArt->GetArtAttributes(art, kVtgArtFullySelected, &attributes) == kNoErr &&
           (attributes & kVtgArtFullySelected) != 0;
}

bool Below(ArtHandle art, ArtHandle ancestor) {
    ArtHandle at = art;
    while (at != nullptr) {
        ArtHandle parent = nullptr;
        if (sArt->GetArtParent(at, &parent) != kNoErr)
            return false;
        if (parent == ancestor)
            return true;
        at = parent;
    }
    return false;
}

// Every path below `art`, depth first, moved about c.
ErrorCode BroomBelow(ArtHandle art, VtgPoint c, const Brush& brush) {
    const int32_t kind = ArtKind(art);
    if (kind == kVtgArtPath)
        return BroomPath(art, c, brush);
    if (kind != kVtgArtGroup && kind != kVtgArtCompoundPath)
        return kNoErr;
    ArtHandle child = nullptr;
    sArt->GetArtFirstChild(art, &child);
    while (child != nullptr) {
        if (ErrorCode err = BroomBelow(child, c, brush))
            return err;
        ArtHandle next = nullptr;
        sArt->GetArtNextSibling(child, &next);
        child = next;
    }
    return kNoErr;
}

} // namespace

bool BroomSegments(PathSegment* s, int32_t n, VtgPoint c, const Brush& brush) {
    double w = 0;
    if (n < 2 || !BrushWeight(brush, c, &w))
        return false;
    const VtgPoint to = BrushMove(brush, c, w);
    const double dx = to.x - c.x, dy = to.y - c.y;
    if (!std::isfinite(dx) || !std::isfinite(dy) || (dx == 0 && dy == 0))
        return false;
    for (int32_t i = 0; i < n; ++i)
        for (VtgPoint* p : {&s[i].anchor, &s[i].in, &s[i].out}) {
            p->x += dx;
            p->y += dy;
        }
    return true;
}

ErrorCode BroomPath(ArtHandle path, VtgPoint c, const Brush& brush) {
    double w = 0;
    if (!BrushWeight(brush, c, &w))
        return kNoErr;
    int16_t count = 0;
    if (ErrorCode err = sPath->GetPathSegmentCount(path, &count))
        return err;
    if (count < 2)
        return kNoErr;
    PathSegment* s = nullptr;
    if (ErrorCode err = AllocateSegmentArray(count, kDriverSourceName, &s))
        return err;
    ErrorCode err = sPath->GetPathSegments(path, 0, count, s);
    if (err == kNoErr && BroomSegments(s, count, c, brush))
        err = sPath->SetPathSegments(path, 0, count, s);
    FreeBlock(s);
    return err;
}

BrushFields BroomToolCtrlr::Fields() const {
    BroomToolParams& p = params();
    return {&p.brushMode, &p.resistance, &p.radius,        &p.trace,
            &p.traceMode, &p.interval,   &p.angleInterval, &p.steps};
}

std::unique_ptr<ToolViewController> BroomToolCtrlr::MakeView() {
    return std::make_unique<BrushToolViewController>(*this, kControls, &params().group_f);
}

ErrorCode BroomToolCtrlr::ApplyToSelection(const Brush& brush, bool* processed) {
    const ToolDragState& d = Drag();
    const bool groups = params().group_f != 0;
    for (int32_t i = 1; i < d.selectionCount; ++i) {
        const ArtHandle art = d.selection[i];
        const int32_t kind = ArtKind(art);
        VtgPoint c{};
        if ((kind == kVtgArtGroup || kind == kVtgArtCompoundPath) && groups && FullySelected(art)) {
            // The group moves as one piece; its members are done here.
            if (BoundsCentre(art, c)) {
                *processed = true;
                if (ErrorCode err = BroomBelow(art, c, brush))
                    return err;
            }
            while (i + 1 < d.selectionCount && Below(d.selection[i + 1], art))
                ++i;
            continue;
        }
        if (kind != kVtgArtPath || !BoundsCentre(art, c))
            continue;
        *processed = true;
        if (ErrorCode err = BroomPath(art, c, brush))
            return err;
    }
    return kNoErr;
}

ErrorCode BroomToolCtrlr::ApplyToCopy(const Brush& brush, ArtHandle source, ArtHandle target,
                                      bool temporaryGroup) {
    return BroomArtTree(brush, source, target, nullptr, true, temporaryGroup);
}

ErrorCode BroomToolCtrlr::BroomArtTree(const Brush& brush, ArtHandle source, ArtHandle target,
                                       const VtgPoint* centre, bool top, bool temporaryGroup) {
    const int32_t kind = ArtKind(source);
    if (kind == kVtgArtGroup || kind == kVtgArtCompoundPath || kind == kVtgArtPlugin) {
        VtgPoint own{};
        if (params().group_f != 0 && centre == nullptr && kind != kVtgArtPlugin &&
            !(top && temporaryGroup) && FullySelected(source) && BoundsCentre(target, own))
            centre = &own;
        ArtHandle from = source, to = target;
        if (kind == kVtgArtPlugin && (sPluginGroup->GetEditArt(source, &from) != kNoErr ||
                                      sPluginGroup->GetEditArt(target, &to) != kNoErr))
            return kNoErr;
        ArtHandle a = nullptr, b = nullptr;
        sArt->GetArtFirstChild(from, &a);
        sArt->GetArtFirstChild(to, &b);
        while (a != nullptr && b != nullptr) {
            if (ErrorCode err = BroomArtTree(brush, a, b, centre, false, temporaryGroup))
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
    VtgPoint own{};
    if (centre == nullptr) {
        if (!BoundsCentre(target, own))
            return kNoErr;
        centre = &own;
    }
    return BroomPath(target, *centre, brush);
}

} // namespace vtg
