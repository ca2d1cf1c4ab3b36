#include "effects/lens/lens_ctrlr.hpp"

#include <cmath>
#include <cstddef>
#include <numbers>

#include "core/suite_set.hpp"
#include "platform/system.hpp"

namespace vtg {
namespace {

using K = EffectKey;
using PL = LensEffectParams;

constexpr std::size_t kOpticalH = offsetof(PL, opticalAmount) + offsetof(VtgPoint, x);
constexpr std::size_t kOpticalV = offsetof(PL, opticalAmount) + offsetof(VtgPoint, y);
constexpr std::size_t kCentreH = offsetof(PL, centerRatio) + offsetof(VtgPoint, x);
constexpr std::size_t kCentreV = offsetof(PL, centerRatio) + offsetof(VtgPoint, y);
constexpr std::size_t kSizeH = offsetof(PL, sizeRatio) + offsetof(VtgPoint, x);
constexpr std::size_t kSizeV = offsetof(PL, sizeRatio) + offsetof(VtgPoint, y);

const EffectKey kLensKeys[] = {
    {"transform", K::Type::Integer, offsetof(PL, lensKind), K::Blend::Choice},
    {"fishEyeAmount", K::Type::Real, offsetof(PL, fishEyeAmount), K::Blend::Mix, true, 0},
    {"lupeAmount", K::Type::Real, offsetof(PL, lupeAmount), K::Blend::Mix, true, 1},
    {"twirlAmount", K::Type::Real, offsetof(PL, twirlAmount), K::Blend::Mix, true, 0},
    {"twirlCycle", K::Type::Integer, offsetof(PL, twirlCycle), K::Blend::Choice},
    {"opticalAmount.h", K::Type::Real, kOpticalH, K::Blend::Mix},
    {"opticalAmount.v", K::Type::Real, kOpticalV, K::Blend::Mix},
    {"group_f", K::Type::Boolean, offsetof(PL, group_f), K::Blend::Either},
    {"lensStyle", K::Type::Integer, offsetof(PL, lensShape), K::Blend::Choice},
    {"centerRatio.h", K::Type::Real, kCentreH, K::Blend::Mix},
    {"centerRatio.v", K::Type::Real, kCentreV, K::Blend::Mix},
    {"sizeRatio.h", K::Type::Real, kSizeH, K::Blend::Mix},
    {"sizeRatio.v", K::Type::Real, kSizeV, K::Blend::Mix},
};

constexpr const char* kKindNames[] = {"魚眼レンズ", "拡大レンズ", "旋回レンズ", "トーンレンズ"};
constexpr double kQuadrant = 0.55229; // handle length of a circle quadrant per radius

} // namespace

const EffectInfo kLensEffectInfo = {kEffectLens,   &kLensEffectType,
                                    kLensKeys,     "__QrLw_VERTiGON4Lens_v5_PrefsPrefix__",
                                    "レンズ 効果", "effect_Lens"};

LensEffectCtrlr::LensEffectCtrlr(LensEffectParams* params) : EffectCtrlr(kLensEffectInfo, params) {}

ErrorCode LensEffectCtrlr::Apply(const void* record, ArtHandle art) {
    return ApplyLens(*static_cast<const LensEffectParams*>(record), art, &lens_);
}

std::unique_ptr<EffectDialogController> LensEffectCtrlr::MakeDialog() {
    return std::make_unique<LensDialogController>(*this);
}

void LensEffectCtrlr::BeforeEdit() {
    areaPath_ = nullptr;
    showArea_ = 1;
}

void LensEffectCtrlr::AfterDialog() {
    DeleteArea();
}

void LensEffectCtrlr::DeleteArea() {
    if (areaPath_ == nullptr)
        return;
    ArtHandle path = areaPath_;
    areaPath_ = nullptr; // never deleted twice, whatever the host answers
    int32_t valid = 0;
    if (sArt->IsValidArt(path, &valid) == kNoErr && valid != 0)
        sArt->DeleteArt(path);
}

ErrorCode LensEffectCtrlr::UpdatePreview() {
    DeleteArea();
    ErrorCode err = EffectCtrlr::UpdatePreview();
    if (dialog_ != nullptr && preview_ && showArea_ != 0 && liveEdit_) {
        DrawArea();
        sDocument->Redraw();
    }
    return err;
}

// The lens area as a guide path: an ellipse of four anchors (top, right,
// bottom, left) around the lens centre. A failure leaves no guide.
void LensEffectCtrlr::DrawArea() {
    const double hw = lens_.size.x / 2, hh = lens_.size.y / 2;
    const double cx = lens_.centre.x, cy = lens_.centre.y;
    if (!(hw > 0) || !(hh > 0) || !std::isfinite(hw + hh + cx + cy))
        return;
    const double kx = kQuadrant * hw, ky = kQuadrant * hh;
    PathSegment s[4] = {
        {{cx, cy + hh}, {cx - kx, cy + hh}, {cx + kx, cy + hh}, 0},
        {{cx + hw, cy}, {cx + hw, cy + ky}, {cx + hw, cy - ky}, 0},
        {{cx, cy - hh}, {cx + kx, cy - hh}, {cx - kx, cy - hh}, 0},
        {{cx - hw, cy}, {cx - hw, cy - ky}, {cx - hw, cy + ky}, 0},
    };
    LayerHandle layer = nullptr;
    ArtHandle group = nullptr, path = nullptr;
    if (sDocument->GetCurrentLayer(&layer) != kNoErr ||
        sDocument->GetLayerGroup(layer, &group) != kNoErr ||
        sArt->NewArt(kVtgArtPath, kVtgPlaceInsideOnTop, group, &path) != kNoErr)
        return;
    VtgPathStyle style{};
    style.fill.on = 0;
    style.fill.color.kind = kVtgColorNone;
    style.stroke.on = 1;
    style.stroke.color.kind = kVtgColorRGB;
    style.stroke.color.c[0] = 0.0;
    style.stroke.color.c[1] = 0.6;
    style.stroke.color.c[2] = 1.0;
    style.stroke.width = 1;
    style.stroke.miterLimit = 4;
    if (sPath->SetPathSegmentCount(path, 4) != kNoErr ||
        sPath->SetPathSegments(path, 0, 4, s) != kNoErr ||
        sPath->SetPathClosed(path, 1) != kNoErr || sPath->SetPathStyle(path, &style) != kNoErr ||
        sArt->SetArtAttributes(path, kVtgArtGuide, kVtgArtGuide) != kNoErr) {
        sArt->DeleteArt(path);
        return;
    }
    areaPath_ = path;
}

// --- the dialog -----------------------------------------------------------------------

void LensDialogController::InitControls() {
    auto* p = static_cast<LensEffectParams*>(owner_.params());
    platform::Show(item(kFirstKind + 3), false); // the tone lens is the tool's
    AddChoice(kFirstKind, 4, &p->lensKind, true);
    AddChoice(kInscribed, 2, &p->lensShape, false);
    AddCheck(kGroup, &p->group_f);
    AddCheck(kShowArea, lens_.showAreaField());
    auto add = [&](int edit, int spin, int slider, double lo, double hi, double scale,
                   double* target, bool moveSlider) {
        LinkedValue v = Link(LinkedValue::Kind::Number, edit, spin, slider, lo, hi, scale, target);
        v.moveSlider = moveSlider;
        linker_.Add(v);
    };
    add(kThicknessEdit, kThicknessSpin, kThicknessSlider, -100, 100, 0.01, &p->fishEyeAmount,
        false);
    add(kZoomEdit, kZoomSpin, kZoomSlider, 100, 20000, 0.01, &p->lupeAmount, false);
    add(kAngleEdit, kAngleSpin, kAngleSlider, -36000, 36000, std::numbers::pi / 180,
        &p->twirlAmount, false);
    cycle_ = p->twirlCycle < 1 ? 1 : p->twirlCycle;
    add(kCycleEdit, kCycleSpin, 0, 1, 4000, 1, &cycle_, true);
    add(kMinWidthEdit, kMinWidthSpin, 0, 0, 100, 0.01, &p->opticalAmount.x, true);
    add(kMinHeightEdit, kMinHeightSpin, 0, 0, 100, 0.01, &p->opticalAmount.y, true);
    add(kOffsetHEdit, kOffsetHSpin, kOffsetHSlider, -20000, 20000, 0.01, &p->centerRatio.x, true);
    add(kOffsetVEdit, kOffsetVSpin, kOffsetVSlider, -20000, 20000, 0.01, &p->centerRatio.y, true);
    add(kWidthEdit, kWidthSpin, kWidthSlider, 1, 20000, 0.01, &p->sizeRatio.x, true);
    add(kHeightEdit, kHeightSpin, kHeightSlider, 1, 20000, 0.01, &p->sizeRatio.y, true);
    SetSlider(kThicknessSlider, -100, 100);
    SetSlider(kZoomSlider, 100, 400);
    SetSlider(kAngleSlider, -720, 720);
    for (int s : {kOffsetHSlider, kOffsetVSlider})
        SetSlider(s, -100, 100, 5);
    for (int s : {kWidthSlider, kHeightSlider})
        SetSlider(s, 1, 200, 5);
    size_ = p->sizeRatio;
    linker_.SetOnChange(&OnLensChange, this);
}

void LensDialogController::OnLensChange(void* self) {
    auto* d = static_cast<LensDialogController*>(self);
    auto* p = static_cast<LensEffectParams*>(d->owner_.params());
    p->twirlCycle = static_cast<int32_t>(d->cycle_);
    // With Shift held the width and the height change together.
    if (platform::IsKeyDown(platform::Modifier::Shift)) {
        if (p->sizeRatio.x != d->size_.x)
            p->sizeRatio.y = p->sizeRatio.x;
        else if (p->sizeRatio.y != d->size_.y)
            p->sizeRatio.x = p->sizeRatio.y;
        d->linker_.ShowAll();
    }
    d->size_ = p->sizeRatio;
    d->Changed();
}

void LensDialogController::ShowKindRows() {
    const int32_t kind = static_cast<LensEffectParams*>(owner_.params())->lensKind;
    auto show = [&](std::initializer_list<int> ids, bool on) {
        for (int id : ids)
            platform::Show(item(id), on);
    };
    show({1784, 1785, 1786, 1815}, kind == kLensFisheye);
    show({1787, 1788, 1789, 1816}, kind == kLensMagnifier);
    show({1790, 1791, 1792, 1817, 1793, 1794, 1795}, kind == kLensTwirl);
    show({1796, 1797, 1798, 1799, 1800, 1801, 1802}, kind == kLensTone);
    platform::SetText(item(kKindName), kind >= 0 && kind <= 3 ? kKindNames[kind] : "");
}

void LensDialogController::Refresh() {
    auto* p = static_cast<LensEffectParams*>(owner_.params());
    cycle_ = p->twirlCycle < 1 ? 1 : p->twirlCycle;
    size_ = p->sizeRatio;
    EffectDialogController::Refresh();
    ShowKindRows();
}

void LensDialogController::ChoiceChanged(int firstId) {
    if (firstId == kFirstKind)
        ShowKindRows();
    if (firstId == kShowArea && !lens_.showArea()) {
        lens_.DeleteArea();
        sDocument->Redraw();
    }
}

} // namespace vtg
