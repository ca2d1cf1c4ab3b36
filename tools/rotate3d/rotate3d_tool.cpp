// The 3D rotate tool.
#include "tools/rotate3d/rotate3d_tool.hpp"

#include <algorithm>
#include <cmath>

#include "core/error_alert.hpp"
#include "core/suite_set.hpp"
#include "geometry/art_paths.hpp"
#include "host/api/vtg_annotator_suite.h"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_paint_style_suite.h"
#include "host/api/vtg_path_suite.h"
#include "host/api/vtg_plugin_group_suite.h"
#include "live/live_object.hpp"
#include "live/path3d/path3d_ranges.hpp"
#include "live/pg_ctrlr.hpp"
#include "params/live_storage.hpp"
#include "tools/tool_drag.hpp"

namespace vtg {

namespace {

// The gesture's captured paths and context; the block being edited is the
// 3D Path kind's panel block.
PathSet gSet;
ThreeDContext gContext;
// The centre as the pointer put it, before the stored ratio's limit.
bool gFreeCentre = false;
VtgPoint gCentreOffset{0, 0};

_3DTFilterParams* Block() {
    return gGlobals != nullptr ? static_cast<_3DTFilterParams*>(gGlobals->liveObjectParams[0])
                               : nullptr;
}

ThreeDGlobals& State() {
    return gGlobals->threeD;
}

// The context again from the block (after an angle or the centre changed).
void Reprepare() {
    if (Block() == nullptr)
        return;
    Prepare3DContext(gContext, *Block(), gSet.bounds);
    if (gFreeCentre) {
        gContext.ox = gCentreOffset.x;
        gContext.oy = gCentreOffset.y;
    }
}

VtgPoint CentrePoint() {
    return {gContext.base.centre.x + gContext.ox, gContext.base.centre.y + gContext.oy};
}

// The centre moves to `point`: the preview follows the pointer; the stored
// ratio is limited, and a side of no size leaves it as it was.
void CentreFromPoint(VtgPoint point) {
    _3DTFilterParams* p = Block();
    if (p == nullptr)
        return;
    const double ox = point.x - gContext.base.centre.x, oy = point.y - gContext.base.centre.y;
    auto ratio = [](double o, double side, double& stored) {
        const double r = o / side;
        if (side != 0 && std::isfinite(r))
            stored = std::clamp(r, -kThreeDRatioLimit, kThreeDRatioLimit);
    };
    ratio(ox, gContext.widthUsed, p->centreRatio.x);
    ratio(oy, gContext.heightUsed, p->centreRatio.y);
    gFreeCentre = true;
    gCentreOffset = {ox, oy};
    Reprepare();
}

void DeleteCross() {
    DisposeBrushCircle();
}

ErrorCode LayerGroupOf(ArtHandle art, ArtHandle& group) {
    group = nullptr;
    LayerHandle layer = nullptr;
    if (ErrorCode err = sArt->GetArtLayer(art, &layer))
        return err;
    return sDocument->GetLayerGroup(layer, &group);
}

ErrorCode Line(ArtHandle group, int32_t order, ArtHandle reference, VtgPoint a, VtgPoint b,
               const VtgPathStyle& style) {
    ArtHandle path = nullptr;
    if (ErrorCode err = sArt->NewArt(kVtgArtPath, order,
                                     order == kVtgPlaceInsideOnTop ? group : reference, &path))
        return err;
    PathSegment s[2] = {{a, a, a, 1}, {b, b, b, 1}};
    if (ErrorCode err = sPath->SetPathSegmentCount(path, 2))
        return err;
    if (ErrorCode err = sPath->SetPathSegments(path, 0, 2, s))
        return err;
    if (ErrorCode err = sPath->SetPathClosed(path, 0))
        return err;
    return sPath->SetPathStyle(path, &style);
}

// The crosshair through `p` across the view, in the object's layer.
ErrorCode DrawCentreCross(VtgPoint p) {
    ArtHandle object = State().object;
    if (object == nullptr)
        return kNoErr;
    ViewHandle view = nullptr;
    VtgRect bounds{};
    if (ErrorCode err = sDocument->GetFrontView(&view))
        return err;
    if (ErrorCode err = sDocument->GetViewBounds(view, &bounds))
        return err;
    ArtHandle layerGroup = nullptr, group = nullptr;
    if (ErrorCode err = LayerGroupOf(object, layerGroup))
        return err;
    if (ErrorCode err = sArt->NewArt(kVtgArtGroup, kVtgPlaceInsideOnTop, layerGroup, &group))
        return err;
    Drag().brushCircle = group;
    VtgPathStyle style{};
    if (sPaintStyle != nullptr)
        sPaintStyle->GetDefaultPathStyle(&style);
    style.fill.on = 0;
    style.stroke.on = 1;
    style.stroke.color = {};
    style.stroke.color.kind = kVtgColorGray;
    style.stroke.color.c[0] = 1.0;
    style.stroke.width = 0;
    style.stroke.dashCount = 0;
    style.clip = 0;
    if (ErrorCode err = Line(group, kVtgPlaceInsideOnTop, nullptr, {bounds.left, p.y},
                             {bounds.right, p.y}, style))
        return err;
    ArtHandle first = nullptr;
    if (ErrorCode err = sArt->GetArtFirstChild(group, &first))
        return err;
    return Line(group, kVtgPlaceBelow, first, {p.x, bounds.top}, {p.x, bounds.bottom}, style);
}

// The layer colour's strongest hues at 0xBFFF; red when all are equal or
// the colour cannot be read.
void OutlineColour() {
    uint16_t* c = State().outline;
    LayerHandle layer = nullptr;
    uint16_t rgb[3] = {0, 0, 0};
    if (State().object == nullptr || sArt->GetArtLayer(State().object, &layer) != kNoErr ||
        sDocument->GetLayerColor(layer, &rgb[0], &rgb[1], &rgb[2]) != kNoErr) {
        c[0] = 0xFFFF;
        c[1] = c[2] = 0;
        return;
    }
    const uint16_t low = std::min({rgb[0], rgb[1], rgb[2]});
    if (rgb[0] == rgb[1] && rgb[1] == rgb[2]) {
        c[0] = 0xBFFF;
        c[1] = c[2] = 0;
        return;
    }
    for (int i = 0; i < 3; ++i)
        c[i] = rgb[i] > low ? 0xBFFF : 0;
}

ErrorCode Transform() {
    if (State().object == nullptr)
        return kNoErr;
    return Transform3DPaths(gContext, gSet);
}

} // namespace

namespace rotate3d {

ErrorCode Prepare(ArtHandle object) {
    _3DTFilterParams* block = Block();
    if (block == nullptr)
        return kBadParameterErr;
    // A capture of an earlier object is freed before the next.
    ReleasePaths(gSet);
    gFreeCentre = false;
    State().object = nullptr;
    SetCurrentKind(kKind3DPath);
    if (ErrorCode err = LoadParamBlock(object, block))
        return err;
    ArtHandle edit = nullptr, first = nullptr, copy = nullptr;
    if (ErrorCode err = sPluginGroup->GetEditArt(object, &edit))
        return err;
    if (ErrorCode err = sArt->GetArtFirstChild(edit, &first))
        return err;
    if (first == nullptr)
        return kNoSelection;
    if (ErrorCode err = sArt->DuplicateArt(first, kVtgPlaceAbove, object, &copy))
        return err;
    ErrorCode err = ConvertToPaths(copy);
    ArtList list;
    int32_t count = 0, segments = 0;
    VtgRect bounds{};
    if (err == kNoErr)
        err = CollectPaths(copy, list, &count, &segments, &bounds);
    if (err == kNoErr && !(bounds.top == bounds.bottom && bounds.left == bounds.right)) {
        gSet.bounds = bounds;
        gSet.pathCount = count;
        err = CapturePaths(list, gSet);
        gSet.sourceSegmentTotal = segments;
    }
    Prepare3DContext(gContext, *block, gSet.bounds);
    ReleaseArtList(list);
    if (ErrorCode deleted = sArt->DeleteArt(copy); err == kNoErr)
        err = deleted;
    if (err != kNoErr) {
        ReleasePaths(gSet);
        return err;
    }
    State().object = object;
    return kNoErr;
}

ErrorCode RotateStep(double dx, double dy, uint32_t modifiers) {
    _3DTFilterParams* p = Block();
    if (p == nullptr)
        return kBadParameterErr;
    const bool post = p->transformed != 0 && State().panelTransformed != 0;
    double* angles = post ? p->postRotation : p->preRotation;
    auto turn = [](double& angle, double by) {
        angle += by;
        // Past a whole turn the angle starts again at 0.
        if (angle < -360 || angle > 360 || std::isnan(angle))
            angle = 0;
    };
    if ((modifiers & kModifierShift) != 0)
        turn(angles[2], std::fabs(dx) > std::fabs(dy) ? dx : dy);
    else if (std::fabs(dx) > std::fabs(dy))
        turn(angles[1], dx);
    else
        turn(angles[0], -dy);
    Reprepare();
    return Transform();
}

const PathSet& Paths() {
    return gSet;
}

const ThreeDContext& Context() {
    return gContext;
}

void Release() {
    ReleasePaths(gSet);
    gFreeCentre = false;
}

} // namespace rotate3d

std::unique_ptr<ToolCtrlr> CreateRotate3DTool() {
    return std::make_unique<Rotate3DToolCtrlr>();
}

Rotate3DToolCtrlr::~Rotate3DToolCtrlr() {
    rotate3d::Release();
}

int32_t Rotate3DToolCtrlr::CursorFor(uint32_t modifiers) const {
    return (modifiers & kModifierAlt) != 0 ? kCursorCentre : kCursor3DRotate;
}

std::string Rotate3DToolCtrlr::LabelText() const {
    const _3DTFilterParams* p = Block();
    if (p == nullptr || gGlobals == nullptr)
        return {};
    if (State().centreLabel != 0)
        return "H:" + FormatLabelNumber(p->centreRatio.x * 100) +
               "%, V:" + FormatLabelNumber(p->centreRatio.y * 100) + "%";
    const bool post = State().panelTransformed != 0;
    const double* a = post ? p->postRotation : p->preRotation;
    const char* names = post ? "XYZ" : "xyz";
    std::string text;
    for (int i = 0; i < 3; ++i)
        text +=
            (i > 0 ? ", " : "") + std::string(1, names[i]) + ":" + FormatLabelNumber(a[i]) + "°";
    return text;
}

ErrorCode Rotate3DToolCtrlr::MouseDown(const ToolMessage& message) {
    if (gGlobals == nullptr || sArt == nullptr || sDocument == nullptr)
        return kNoErr;
    ThreeDGlobals& s = State();
    s.dragging = 0;
    rotate3d::Release();
    if (SelectedLiveObjectKind() != kKind3DPath)
        return kNoErr; // the last live object selected is not a 3D Path
    s.dragging = 1;
    Drag().anchor = message.cursor;
    Drag().brushCircle = nullptr;
    s.object = nullptr;
    ArtHandle* list = nullptr;
    int32_t count = 0;
    if (ErrorCode err = sDocument->GetSelectedArt(&list, &count))
        return err;
    ErrorCode last = kNoErr;
    for (int32_t i = 1; i < count; ++i) {
        int32_t k = 0;
        PluginGroupHandle group = nullptr;
        if (sArt->GetArtKind(list[i], &k) != kNoErr || k != kVtgArtPlugin ||
            sPluginGroup->GetArtPluginGroup(list[i], &group) != kNoErr ||
            KindOfGroup(group) != kKind3DPath)
            continue;
        last = rotate3d::Prepare(list[i]);
    }
    sMemory->FreeBlock(list);
    if (s.object == nullptr)
        return last;
    if ((message.modifiers & kModifierAlt) != 0) {
        CentreFromPoint(message.cursor);
        s.centreLabel = 1;
    } else {
        s.centreLabel = 0;
    }
    OutlineColour();
    if (ErrorCode err = DrawCentreCross(CentrePoint()))
        return err;
    Drag().fresh = 1;
    gGlobals->annotationActive = 1;
    return kNoErr;
}

ErrorCode Rotate3DToolCtrlr::MouseDrag(const ToolMessage& message) {
    if (gGlobals == nullptr || State().dragging == 0)
        return kNoErr;
    ThreeDGlobals& s = State();
    ToolDragState& d = Drag();
    if ((message.modifiers & kModifierAlt) != 0) {
        CentreFromPoint(message.cursor);
        s.centreLabel = 1;
        // The crosshair of the previous event goes; a new one follows.
        DeleteCross();
        if (ErrorCode err = DrawCentreCross(CentrePoint()))
            return err;
    } else {
        ViewHandle view = nullptr;
        VtgViewPoint now{}, before{};
        if (ErrorCode err = sDocument->GetFrontView(&view))
            return err;
        if (ErrorCode err = sDocument->DocumentToView(view, &message.cursor, &now))
            return err;
        if (ErrorCode err = sDocument->DocumentToView(view, &d.anchor, &before))
            return err;
        const double dx = (now.h - before.h) * 0.5, dy = (now.v - before.v) * 0.5;
        if (d.fresh != 0) {
            DeleteCross();
            if (ErrorCode err = DrawCentreCross(CentrePoint()))
                return err;
        }
        if (s.object != nullptr) {
            if (ErrorCode err = rotate3d::RotateStep(dx, dy, message.modifiers))
                ShowErrorAlert(err); // the drag goes on with the last good outlines
        }
    }
    d.anchor = message.cursor;
    if ((message.modifiers & kModifierAlt) != 0 && s.object != nullptr)
        if (ErrorCode err = Transform())
            ShowErrorAlert(err);
    d.fresh = 0;
    return kNoErr;
}

ErrorCode Rotate3DToolCtrlr::MouseUp(const ToolMessage& message) {
    if (gGlobals == nullptr || State().dragging == 0)
        return kNoErr;
    ThreeDGlobals& s = State();
    Drag().anchor = message.cursor;
    DeleteCross();
    ErrorCode err = kNoErr;
    if (s.object != nullptr) {
        SetCurrentKind(kKind3DPath);
        err = StoreParamBlock(s.object, Block());
        rotate3d::Release();
        if (err == kNoErr)
            err = UpdateLiveObject(s.object);
        s.centreLabel = 0;
    }
    rotate3d::Release();
    SetUndoText("VERTiGON6: Live 3D回転 ツール", false);
    return err;
}

bool Rotate3DToolCtrlr::DrawAnnotation(DrawerHandle drawer, VtgViewRect& covered) {
    if (gGlobals == nullptr || State().dragging == 0 || State().object == nullptr)
        return false;
    ViewHandle view = nullptr;
    if (sDocument->GetFrontView(&view) != kNoErr)
        return false;
    const uint16_t* c = State().outline;
    sAnnotator->SetDrawColor(drawer, c[0], c[1], c[2]);
    sAnnotator->SetLineWidth(drawer, 1.5);
    bool any = false;
    std::vector<VtgViewPoint> points;
    auto add = [&](VtgPoint p) {
        VtgViewPoint v{};
        sDocument->DocumentToView(view, &p, &v);
        points.push_back(v);
        if (!any) {
            covered = {v.h, v.v, v.h, v.v};
            any = true;
        }
        covered.left = std::min(covered.left, v.h);
        covered.top = std::min(covered.top, v.v);
        covered.right = std::max(covered.right, v.h);
        covered.bottom = std::max(covered.bottom, v.v);
    };
    for (int32_t i = 0; i < gSet.pathCount && gSet.working != nullptr; ++i) {
        const PathInfo& path = gSet.working[i];
        if (path.count < 1 || path.segments == nullptr)
            continue;
        points.clear();
        add(path.segments[0].anchor);
        const int32_t pieces = path.closed != 0 ? path.count : path.count - 1;
        for (int32_t j = 0; j < pieces; ++j) {
            const PathSegment& a = path.segments[j];
            const PathSegment& b = path.segments[(j + 1) % path.count];
            add(a.out);
            add(b.in);
            add(b.anchor);
        }
        sAnnotator->DrawBezierPath(drawer, points.data(), static_cast<int32_t>(points.size()));
    }
    if (any) {
        covered.left -= 24;
        covered.top -= 24;
        covered.right += 24;
        covered.bottom += 24;
    }
    return any;
}

} // namespace vtg
