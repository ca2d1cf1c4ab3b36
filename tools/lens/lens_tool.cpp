// The Lens tool: the tone lens, the gesture (move or size the lens, apply it
// to the selection afresh at every event), the trace copies and the options
// view. The fisheye, magnifier and twirl are the Lens effect's driver.
#include "tools/lens/lens_tool.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/suite_set.hpp"
#include "geometry/path_model.hpp"
#include "tools/tool_drag.hpp"
#include "ui/text_helpers.hpp"

namespace vtg {

namespace {

constexpr double kMinSize = 1, kMaxSize = 16383;
constexpr double kPi = std::numbers::pi;

enum Ids {
    kFirstKind = 1062, // 1062 .. 1065
    kTitle = 1095,
    kFishLabel = 1089,
    kFish = 1071,
    kFishSpin = 1081,
    kLupeLabel = 1090,
    kLupe = 1072,
    kLupeSpin = 1082,
    kTwirlLabel = 1096,
    kTwirl = 1077,
    kTwirlSpin = 1087,
    kCycleLabel = 1097,
    kCycle = 1078,
    kCycleSpin = 1088,
    kOpticalHLabel = 1091,
    kOpticalH = 1073,
    kOpticalHSpin = 1083,
    kOpticalVLabel = 1092,
    kOpticalV = 1074,
    kOpticalVSpin = 1084,
    kGroup = 1066,
    kWidth = 1069,
    kWidthSpin = 1079,
    kHeight = 1070,
    kHeightSpin = 1080,
};

constexpr TraceControls kTrace{1067, 1068, 1093, 1075, 1085, 1094, 1076, 1086};

constexpr const char* kKindNames[4] = {"魚眼レンズ", "拡大レンズ", "旋回レンズ", "トーンレンズ"};

int32_t ArtKind(ArtHandle art) {
    int32_t kind = -1;
    if (sArt->GetArtKind(art, &kind) != kNoErr)
        return -1;
    return kind;
}

ArtHandle Parent(ArtHandle art) {
    ArtHandle parent = nullptr;
    if (sArt->GetArtParent(art, &parent) != kNoErr)
        return nullptr;
    return parent;
}

bool BoundsCentre(ArtHandle art, VtgPoint& centre) {
    VtgRect r{};
    if (sArt->GetArtBounds(art, nullptr, kVtgBoundsControlPoints, &r) != kNoErr)
        return false;
    centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return std::isfinite(centre.x) && std::isfinite(centre.y);
}

bool SizeUsable(const LensArea& lens) {
    return lens.size.x > 0 && lens.size.y > 0 && std::isfinite(lens.size.x) &&
           std::isfinite(lens.size.y) && std::isfinite(lens.centre.x) &&
           std::isfinite(lens.centre.y);
}

} // namespace

bool ToneLensSegments(PathSegment* s, int32_t n, VtgPoint c, const LensArea& lens,
                      VtgPoint optical) {
    if ((optical.x == 1 && optical.y == 1) || n < 2 || !SizeUsable(lens))
        return false;
    const double w = lens.size.x, h = lens.size.y;
    const double vx = c.x - lens.centre.x;
    const double vy = w != h ? (c.y - lens.centre.y) * w / h : c.y - lens.centre.y;
    const double e = std::hypot(vx, vy), R = w / 2;
    if (!(e < R))
        return false;
    const double m = e / R;
    const double sx = std::max(0.0, (1 - m) * optical.x + m);
    const double sy = std::max(0.0, (1 - m) * optical.y + m);
    if (!std::isfinite(sx) || !std::isfinite(sy))
        return false;
    auto scale = [&](VtgPoint& p) { p = {c.x + sx * (p.x - c.x), c.y + sy * (p.y - c.y)}; };
    for (int32_t i = 0; i < n; ++i) {
        scale(s[i].anchor);
        scale(s[i].in);
        scale(s[i].out);
    }
    return true;
}

ErrorCode ToneLensPath(ArtHandle path, const VtgPoint* c, const LensArea& lens, VtgPoint optical) {
    if (c == nullptr || (optical.x == 1 && optical.y == 1) || !SizeUsable(lens))
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
    if (err == kNoErr && ToneLensSegments(s, count, *c, lens, optical)) {
        err = sPath->SetPathSegments(path, 0, count, s);
        if (err == kNoErr)
            err = sArt->SetArtAttributes(path, kVtgArtSelected, 8);
    }
    FreeBlock(s);
    return err;
}

bool LensNeutral(const LensToolParams& p) {
    // A lens of zero width or height moves nothing either.
    if (!(p.lensSize.x > 0) || !(p.lensSize.y > 0) || !std::isfinite(p.lensSize.x) ||
        !std::isfinite(p.lensSize.y))
        return true;
    switch (p.lensKind) {
    case kLensFisheye:
        return p.fishEyeAmount == 0;
    case kLensMagnifier:
        return p.lupeAmount == 1;
    case kLensTwirl:
        return p.twirlAmount == 0;
    default:
        return false;
    }
}

// --- the controller ------------------------------------------------------------------

std::string LensToolCtrlr::LabelText() const {
    return FormatLabelNumber(params().lensSize.x) + ",  " + FormatLabelNumber(params().lensSize.y);
}

int32_t LensToolCtrlr::CursorFor(uint32_t modifiers) const {
    if ((modifiers & kModifierAlt) == 0)
        return kCursorLens;
    return (modifiers & kModifierShift) != 0 ? kCursorAddAnchor : kCursorCentre;
}

LensArea LensToolCtrlr::Lens() const {
    return LensArea{Drag().anchor, params().lensSize};
}

ErrorCode LensToolCtrlr::DrawLensArea(VtgPoint centre) {
    const VtgPoint size = params().lensSize;
    return DrawBrushEllipse(centre, size.x / 2, size.y / 2);
}

ErrorCode LensToolCtrlr::MouseDown(const ToolMessage& message) {
    ToolDragState& d = Drag();
    // What an earlier gesture left when its release never came.
    EndGesture();
    if (gGlobals->toolCursorId == kCursorAddAnchor)
        return InsertAnchorAtHit(message.cursor);
    if (ErrorCode err = CollectSelectedPaths())
        return err;
    BeginGesture(message);
    if ((message.modifiers & kModifierAlt) == 0) {
        const VtgPoint size = params().lensSize;
        d.anchor = {message.cursor.x - size.x / 2, message.cursor.y + size.y / 2};
        if (ErrorCode err = DrawLensArea(d.anchor)) {
            EndGesture();
            return err;
        }
    }
    return kNoErr;
}

ErrorCode LensToolCtrlr::ApplyToSelection() {
    ToolDragState& d = Drag();
    const LensToolParams& p = params();
    const LensArea lens = Lens();
    bool processed = false;
    if (p.lensKind != kLensTone) {
        LendSegments lend(d.segments);
        const VtgRect box = lens.Rect();
        for (int32_t i = 1; i < d.selectionCount; ++i) {
            if (ArtKind(d.selection[i]) != kVtgArtPath)
                continue;
            processed = true;
            // A path wholly outside the lens keeps its geometry anyway.
            if (ArtMissesBox(d.selection[i], box))
                continue;
            if (ErrorCode err = LensPath(d.selection[i], lens, p.lensKind, p.fishEyeAmount,
                                         p.lupeAmount, p.twirlAmount, p.twirlCycle))
                return err;
        }
    } else {
        // A top-level group sets the centre its paths are scaled about.
        VtgPoint centre{};
        bool haveCentre = false;
        const ArtHandle container = d.selection[0];
        for (int32_t i = 1; i < d.selectionCount; ++i) {
            const ArtHandle art = d.selection[i];
            const int32_t kind = ArtKind(art);
            const bool topLevel = Parent(art) == container;
            if (kind == kVtgArtGroup || kind == kVtgArtCompoundPath || kind == kVtgArtPlugin) {
                if (p.group_f != 0 && topLevel)
                    haveCentre = BoundsCentre(art, centre);
                continue;
            }
            if (kind != kVtgArtPath)
                continue;
            if (topLevel || p.group_f == 0)
                haveCentre = BoundsCentre(art, centre);
            processed = true;
            if (ErrorCode err =
                    ToneLensPath(art, haveCentre ? &centre : nullptr, lens, p.opticalAmount))
                return err;
        }
    }
    if (processed)
        d.fresh = 0;
    return kNoErr;
}

ErrorCode LensToolCtrlr::MouseDrag(const ToolMessage& message) {
    ToolDragState& d = Drag();
    LensToolParams& p = params();
    if (d.selection == nullptr)
        return kNoErr;
    // The lens area drawn at the press, or the previous event's area and
    // deformation, go before the lens is drawn again.
    if (d.fresh != 0)
        DisposeBrushCircle();
    else if (ErrorCode err = RevertStep())
        return err;
    d.brushCircle = nullptr;
    const VtgPoint pointer = message.cursor;
    d.current = pointer;
    int32_t cursor = kCursorLens;
    if ((message.modifiers & kModifierAlt) != 0) {
        VtgPoint& c = d.anchor;
        double w = 2 * std::fabs(c.x - pointer.x), h = 2 * std::fabs(c.y - pointer.y);
        if ((message.modifiers & kModifierShift) != 0) {
            if (w > h) {
                h = w;
                c.y = pointer.y + w / 2;
            } else {
                w = h;
                c.x = pointer.x - h / 2;
            }
        }
        p.lensSize = {std::clamp(std::isfinite(w) ? w : kMinSize, kMinSize, kMaxSize),
                      std::clamp(std::isfinite(h) ? h : kMinSize, kMinSize, kMaxSize)};
        d.sendData = 1;
        gGlobals->annotationActive = 1;
        cursor = kCursorCentre;
    } else {
        d.anchor = {pointer.x - p.lensSize.x / 2, pointer.y + p.lensSize.y / 2};
    }
    if (ErrorCode err = DrawLensArea(d.anchor))
        return err;
    gGlobals->toolCursorId = cursor;
    sTool->SetToolCursor(message.tool, cursor);
    d.radiusDrag = 0;
    if (LensNeutral(p))
        return kNoErr;
    if (p.trace != 0 && p.traceMode == 0 &&
        (std::fabs(pointer.x - d.lastRecorded.x) > p.interval ||
         std::fabs(pointer.y - d.lastRecorded.y) > p.interval)) {
        // An entry is two points: the pointer and the lens size.
        if (ErrorCode err = AppendTracePoint(pointer))
            return err;
        if (ErrorCode err = AppendTracePoint(p.lensSize))
            return err;
        d.lastRecorded = pointer;
    }
    if (ErrorCode err = EnsureDragSegments())
        return err;
    ErrorCode err = ApplyToSelection();
    if (d.fresh != 0 && d.segments != nullptr) {
        FreeBlock(d.segments);
        d.segments = nullptr;
    }
    return err;
}

ErrorCode LensToolCtrlr::MouseUp(const ToolMessage& message) {
    ToolDragState& d = Drag();
    DisposeBrushCircle();
    ErrorCode err = kNoErr;
    if (d.fresh == 0 && d.selection != nullptr) {
        if ((message.modifiers & kModifierCancel) != 0) {
            err = RevertStep();
        } else if (params().trace != 0 && ConfirmTrace()) {
            err = RevertStep();
            if (err == kNoErr && !LensNeutral(params()))
                err = Trace(message.modifiers);
        }
    }
    // Buffers and the notification on every way out, also when nothing was
    // applied (a size drag of a neutral lens still changed the size).
    EndGesture();
    d.previous = d.current;
    SendToolDataIfAsked();
    return err;
}

ErrorCode LensToolCtrlr::LensArtTree(ArtHandle source, ArtHandle target, bool temporaryGroup) {
    const LensToolParams& p = params();
    const LensArea lens = Lens();
    if (p.lensKind == kLensTone)
        return ToneLensArtTree(source, target, nullptr, true, temporaryGroup);
    LendSegments lend(Drag().segments);
    return ForEachSelectedPath(source, target, [&](ArtHandle path) {
        return LensPath(path, lens, p.lensKind, p.fishEyeAmount, p.lupeAmount, p.twirlAmount,
                        p.twirlCycle);
    });
}

ErrorCode LensToolCtrlr::ToneLensArtTree(ArtHandle source, ArtHandle target, const VtgPoint* centre,
                                         bool top, bool temporaryGroup) {
    const LensToolParams& p = params();
    const int32_t kind = ArtKind(source);
    if (kind == kVtgArtGroup || kind == kVtgArtCompoundPath || kind == kVtgArtPlugin) {
        // The outermost group below the copy gives the centre, as in the drag.
        VtgPoint own{};
        if (p.group_f != 0 && centre == nullptr && !(top && temporaryGroup) &&
            BoundsCentre(target, own))
            centre = &own;
        ArtHandle from = source, to = target;
        if (kind == kVtgArtPlugin && (sPluginGroup->GetEditArt(source, &from) != kNoErr ||
                                      sPluginGroup->GetEditArt(target, &to) != kNoErr))
            return kNoErr;
        ArtHandle a = nullptr, b = nullptr;
        sArt->GetArtFirstChild(from, &a);
        sArt->GetArtFirstChild(to, &b);
        while (a != nullptr && b != nullptr) {
            if (ErrorCode err = ToneLensArtTree(a, b, centre, false, temporaryGroup))
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
    if (p.group_f == 0 || centre == nullptr) {
        if (!BoundsCentre(target, own))
            return kNoErr;
        centre = &own;
    }
    return ToneLensPath(target, centre, Lens(), p.opticalAmount);
}

ErrorCode LensToolCtrlr::Trace(uint32_t modifiers) {
    ToolDragState& d = Drag();
    LensToolParams& p = params();
    // The table: mode 0 the recorded (pointer, size) entries and the release;
    // the other modes the stepped strength (x; the tone lens x and y).
    struct Entry {
        VtgPoint point, size;
    };
    std::vector<Entry> table;
    int32_t n = 0;
    bool roundTrip = false;
    if (p.traceMode == 0) {
        for (int32_t i = 0; i + 1 < d.traceCount && d.trace != nullptr; i += 2)
            table.push_back({d.trace[i], d.trace[i + 1]});
        table.push_back({d.current, p.lensSize});
    } else {
        n = TraceSteps(p.steps);
        const int curve = (p.traceMode - 1) % 3;
        roundTrip = p.traceMode >= 4;
        auto strength = [&](double f) -> VtgPoint {
            switch (p.lensKind) {
            case kLensFisheye:
                return {p.fishEyeAmount * f, 0};
            case kLensMagnifier:
                return {1 + (p.lupeAmount - 1) * f, 0};
            case kLensTwirl:
                return {p.twirlAmount * f, 0};
            default:
                return {1 - (1 - p.opticalAmount.x) * f, 1 - (1 - p.opticalAmount.y) * f};
            }
        };
        table.push_back({strength(0), {}});
        const VtgPoint full = strength(1), zero = strength(0);
        for (int32_t j = 1; j <= n; ++j) {
            if (curve == 0) {
                // Constant speed: one n-th of the difference added per step.
                VtgPoint v = table.back().point;
                v.x += (full.x - zero.x) / n;
                v.y += (full.y - zero.y) / n;
                table.push_back({v, {}});
            } else {
                table.push_back({strength(TraceEase(curve, static_cast<double>(j) / n)), {}});
            }
        }
    }
    if (table.size() < 2)
        return kNoErr;
    ArtHandle unit = nullptr;
    if (ErrorCode err = ChooseCopyUnit(&unit))
        return err;
    if (unit == nullptr)
        return kNoErr;
    const bool temporaryGroup = unit != d.selection[1];
    const VtgPoint savedSize = p.lensSize, savedOptical = p.opticalAmount;
    const double savedFish = p.fishEyeAmount, savedLupe = p.lupeAmount, savedTwirl = p.twirlAmount;
    const VtgPoint savedCentre = d.anchor, savedCurrent = d.current;
    TracePlacer place(unit, (modifiers & kModifierCtrl) != 0);
    auto copyAt = [&](const Entry& e) -> ErrorCode {
        if (p.traceMode == 0) {
            d.current = e.point;
            p.lensSize = e.size;
            d.anchor = {e.point.x - e.size.x / 2, e.point.y + e.size.y / 2};
        } else if (p.lensKind == kLensFisheye) {
            p.fishEyeAmount = e.point.x;
        } else if (p.lensKind == kLensMagnifier) {
            p.lupeAmount = e.point.x;
        } else if (p.lensKind == kLensTwirl) {
            p.twirlAmount = e.point.x;
        } else {
            p.opticalAmount = e.point;
        }
        ArtHandle copy = nullptr;
        if (ErrorCode err = place.Copy(&copy))
            return err;
        return LensArtTree(unit, copy, temporaryGroup);
    };
    ErrorCode err = kNoErr;
    for (std::size_t j = 1; j < table.size() && err == kNoErr; ++j)
        err = copyAt(table[j]);
    if (roundTrip && err == kNoErr) {
        for (std::size_t j = table.size() - 1; j-- > 1 && err == kNoErr;)
            err = copyAt(table[j]);
        ArtHandle back = nullptr;
        if (err == kNoErr)
            err = place.Copy(&back);
    }
    p.lensSize = savedSize;
    p.opticalAmount = savedOptical;
    p.fishEyeAmount = savedFish;
    p.lupeAmount = savedLupe;
    p.twirlAmount = savedTwirl;
    d.anchor = savedCentre;
    d.current = savedCurrent;
    return err;
}

// --- the view ------------------------------------------------------------------------

TraceFields LensToolViewController::Trace() const {
    LensToolParams& p = static_cast<LensToolCtrlr&>(ctrlr_).params();
    return {&p.trace, &p.traceMode, &p.interval, &p.steps, 7};
}

void LensToolViewController::Refresh(int) {
    const LensToolParams& p = static_cast<LensToolCtrlr&>(ctrlr_).params();
    platform::SetText(item(kFish), FormatNumber(p.fishEyeAmount * 100, 3));
    platform::SetText(item(kLupe), FormatNumber(p.lupeAmount * 100, 3));
    platform::SetText(item(kTwirl), FormatNumber(p.twirlAmount * 180 / kPi, 3));
    platform::SetText(item(kCycle), std::to_string(std::max<int>(1, p.twirlCycle)));
    platform::SetText(item(kOpticalH), FormatNumber(p.opticalAmount.x * 100, 3));
    platform::SetText(item(kOpticalV), FormatNumber(p.opticalAmount.y * 100, 3));
    platform::SetChecked(item(kGroup), p.group_f != 0);
    ShowLength(kWidth, p.lensSize.x);
    ShowLength(kHeight, p.lensSize.y);
    ShowTrace(kTrace, Trace());
    ApplyRules();
}

void LensToolViewController::ApplyRules() {
    const LensToolParams& p = static_cast<LensToolCtrlr&>(ctrlr_).params();
    const int kind = std::clamp<int>(p.lensKind, 0, 3);
    for (int k = 0; k < 4; ++k)
        platform::SetPressed(item(kFirstKind + k), k == kind);
    platform::SetText(item(kTitle), kKindNames[kind]);
    const struct {
        int kind;
        std::initializer_list<int> ids;
    } rows[] = {
        {0, {kFishLabel, kFish, kFishSpin}},
        {1, {kLupeLabel, kLupe, kLupeSpin}},
        {2, {kTwirlLabel, kTwirl, kTwirlSpin, kCycleLabel, kCycle, kCycleSpin}},
        {3,
         {kOpticalHLabel, kOpticalH, kOpticalHSpin, kOpticalVLabel, kOpticalV, kOpticalVSpin,
          kGroup}},
    };
    for (const auto& row : rows)
        for (int id : row.ids)
            platform::Show(item(id), row.kind == kind);
    ApplyTraceRules(kTrace, p.trace != 0, p.traceMode == 0);
}

bool LensToolViewController::OnToolSpin(int id, int delta) {
    const int edits[][2] = {{kFishSpin, kFish},         {kLupeSpin, kLupe},
                            {kTwirlSpin, kTwirl},       {kCycleSpin, kCycle},
                            {kOpticalHSpin, kOpticalH}, {kOpticalVSpin, kOpticalV},
                            {kWidthSpin, kWidth},       {kHeightSpin, kHeight}};
    for (const auto& e : edits)
        if (e[0] == id) {
            StepEdit(e[1], delta);
            return true;
        }
    return OnTraceSpin(kTrace, id, delta);
}

bool LensToolViewController::OnToolCommand(int id, int notify) {
    LensToolParams& p = static_cast<LensToolCtrlr&>(ctrlr_).params();
    if (id >= kFirstKind && id < kFirstKind + 4) {
        p.lensKind = static_cast<int16_t>(id - kFirstKind);
        ApplyRules();
        return true;
    }
    const bool edited = notify == platform::kNotifyEditChange;
    double v = 0;
    switch (id) {
    case kFish:
        if (edited && ReadNumber(kFish, -100, 100, 3, v))
            p.fishEyeAmount = v / 100;
        return true;
    case kLupe:
        if (edited && ReadNumber(kLupe, 100, 20000, 3, v))
            p.lupeAmount = v / 100;
        return true;
    case kTwirl:
        if (edited && ReadNumber(kTwirl, -36000, 36000, 3, v))
            p.twirlAmount = v * kPi / 180;
        return true;
    case kCycle:
        // 0 and below give 1.
        if (edited && ReadInteger(kCycle, 1, 4000, v))
            p.twirlCycle = static_cast<int16_t>(v);
        return true;
    case kOpticalH:
        if (edited && ReadNumber(kOpticalH, 0, 100, 3, v))
            p.opticalAmount.x = v / 100;
        return true;
    case kOpticalV:
        if (edited && ReadNumber(kOpticalV, 0, 100, 3, v))
            p.opticalAmount.y = v / 100;
        return true;
    case kGroup:
        p.group_f = platform::IsChecked(item(kGroup)) ? 1 : 0;
        return true;
    case kWidth:
        if (edited)
            ReadLength(kWidth, kMinSize, kMaxSize, p.lensSize.x);
        return true;
    case kHeight:
        if (edited)
            ReadLength(kHeight, kMinSize, kMaxSize, p.lensSize.y);
        return true;
    default:
        return OnTraceCommand(kTrace, Trace(), id, notify);
    }
}

} // namespace vtg
