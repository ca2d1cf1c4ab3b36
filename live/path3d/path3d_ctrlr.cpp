// Live 3D Path's panel. The numbers go through the value links; the variant
// chooser switches the preset file, the rows and the enabling.
#include "live/path3d/path3d_ctrlr.hpp"

#include <climits>
#include <string>
#include <vector>

#include "core/suite_set.hpp"
#include "host/api/vtg_tool_suite.h"
#include "live/path3d/path3d_ranges.hpp"
#include "params/param_types.hpp"
#include "params/preset_library.hpp"
#include "platform/window.hpp"

namespace vtg {

namespace {

int ValidVariant(int v) {
    return v >= 0 && v < k3DVariantCount ? v : 0;
}

void SetCurrent(int variant) {
    CurrentPresetContext().current3DVariant = static_cast<int16_t>(ValidVariant(variant));
}

// "角度:" with the unit "°" reads "角度(°):"; no unit leaves it as it is.
std::string RowLabel(const ThreeDRow& row) {
    std::string label = row.label;
    if (row.unit[0] == '\0' || label.empty())
        return label;
    const std::string colon = ":";
    if (label.size() >= colon.size() && label.compare(label.size() - 1, 1, colon) == 0)
        label.erase(label.size() - 1);
    return label + "(" + row.unit + "):";
}

} // namespace

int Current3DVariant() {
    return ValidVariant(CurrentPresetContext().current3DVariant);
}

// --- the controller ------------------------------------------------------------------

Path3DPGCtrlr::Path3DPGCtrlr(PanelHandle panel, FlyoutHandle flyout)
    : PGCtrlr(kKind3DPath, panel, flyout) {
    _3DTFilterParams& p = params();
    if (p.variant < 0 || p.variant >= k3DVariantCount)
        p.variant = 0;
    SetCurrent(p.variant);
    // The base loads "Last Setting" of the file the header names.
    SetHeaderText(p.header.presetFile, k3DVariants[p.variant].presetFile);
    if (gGlobals != nullptr)
        gGlobals->threeD.panelTransformed = 1;
}

void Path3DPGCtrlr::Select3DVariant(int variant, bool load) {
    variant = ValidVariant(variant);
    _3DTFilterParams& p = params();
    SetHeaderText(p.header.presetFile, k3DVariants[variant].presetFile);
    if (load) {
        // "Last Setting" of the variant's file, else its defaults; only a
        // missing file is created.
        SetCurrent(variant);
        LoadLastSettingOrDefaults(&p);
    }
    p.variant = static_cast<int16_t>(variant);
    RebuildPresetMenu();
}

ErrorCode Path3DPGCtrlr::ChangeVariant(int variant) {
    variant = ValidVariant(variant);
    if (variant == Current3DVariant())
        return kNoErr;
    // The selected objects are released and made again with the new values.
    const bool hadObjects = flags.liveObject;
    ErrorCode err = kNoErr;
    if (hadObjects)
        err = ReleaseLiveObjects();
    SaveLastSetting(record(), -1);
    SetCurrent(variant);
    Select3DVariant(variant, true);
    if (auto* v = static_cast<Path3DPGViewController*>(view()))
        v->Refresh(1);
    if (err == kNoErr && hadObjects)
        err = MakeLiveObjects();
    return err;
}

// --- the view ----------------------------------------------------------------------

_3DTFilterParams& Path3DPGViewController::params() const {
    return static_cast<Path3DPGCtrlr&>(ctrlr_).params();
}

void Path3DPGViewController::OnInitView() {
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    std::vector<std::string> names;
    for (const ThreeDVariant& v : k3DVariants)
        names.emplace_back(v.displayName);
    platform::SetItems(item(kVariant), names);
    for (platform::WindowId child : platform::GetChildren(dialog_))
        if (platform::GetClass(child) == platform::WindowClass::UpDown)
            platform::SetRange(child, INT_MIN, INT_MAX);
    platform::SetRange(item(kPerspectiveSlider), 0, 100);
    platform::SetPageSize(item(kPerspectiveSlider), 5);
    ToolHandle current = nullptr;
    const bool toolOn = sTool != nullptr && gGlobals != nullptr &&
                        sTool->GetCurrentTool(&current) == kNoErr && current != nullptr &&
                        current == gGlobals->tools[kTool3DRotate];
    platform::SetChecked(item(kRotateTool), toolOn);
    lastScrollCode = platform::kScrollEnd;
    ShowVariantRows();
}

void Path3DPGViewController::Link() {
    _3DTFilterParams& p = params();
    linker_ = ValueLinker(dialog_);
    using K = LinkedValue::Kind;
    const ThreeDRows& rows = ThreeDRowsOf(Current3DVariant());
    double* targets[4] = {&p.param1, &p.param2, &p.param3, &p.param4};
    for (int i = 0; i < 4; ++i) {
        const ThreeDRow& r = rows.rows[i];
        if (r.label[0] != '\0')
            linker_.Add(vtg::Link(K::Number, kRowIds[i][1], kRowIds[i][2], kRowIds[i][3], r.editLow,
                                  r.editHigh, 1, targets[i]));
    }
    linker_.Add(vtg::Link(K::Number, kPerspectiveEdit, kPerspectiveSpin, kPerspectiveSlider, 0, 100,
                          1, &p.perspective));
    for (int i = 0; i < 6; ++i)
        linker_.Add(vtg::Link(K::Number, kAngleIds[i][0], kAngleIds[i][1], 0, -kThreeDAngleLimit,
                              kThreeDAngleLimit, 1,
                              i < 3 ? &p.preRotation[i] : &p.postRotation[i - 3]));
    linker_.Add(vtg::Link(K::Number, kCentreH, kCentreH + 1, 0, -kThreeDRatioLimit * 100,
                          kThreeDRatioLimit * 100, 0.01, &p.centreRatio.x));
    linker_.Add(vtg::Link(K::Number, kCentreV, kCentreV + 1, 0, -kThreeDRatioLimit * 100,
                          kThreeDRatioLimit * 100, 0.01, &p.centreRatio.y));
    linker_.SetOnChange(&OnLinkedChange, this);
}

void Path3DPGViewController::OnLinkedChange(void* self) {
    static_cast<Path3DPGViewController*>(self)->ctrlr_.ValueChanged();
}

void Path3DPGViewController::ShowVariantRows() {
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    const int variant = Current3DVariant();
    platform::SetSelection(item(kVariant), variant);
    const ThreeDRows& rows = ThreeDRowsOf(variant);
    for (int i = 0; i < 4; ++i) {
        const ThreeDRow& r = rows.rows[i];
        const bool used = r.label[0] != '\0';
        platform::SetText(item(kRowIds[i][0]), RowLabel(r));
        for (int id : kRowIds[i])
            platform::Enable(item(id), used);
        platform::SetRange(item(kRowIds[i][3]), static_cast<int>(r.sliderLow),
                           static_cast<int>(r.sliderHigh));
        platform::SetPageSize(item(kRowIds[i][3]), 5);
        if (!used)
            platform::SetText(item(kRowIds[i][1]), "");
    }
    Link();
}

void Path3DPGViewController::EnableByVariant() {
    auto item = [&](int id) { return platform::GetItem(dialog_, id); };
    _3DTFilterParams& p = params();
    const bool full = Current3DVariant() != 0;
    platform::Enable(item(kBefore), full);
    platform::Enable(item(kAfter), full);
    for (int i = 3; i < 6; ++i) {
        platform::Enable(item(kAngleLabels[i]), full);
        platform::Enable(item(kAngleIds[i][0]), full);
        platform::Enable(item(kAngleIds[i][1]), full);
    }
    platform::SetChecked(item(kBefore), !full);
    platform::SetChecked(item(kAfter), full);
    p.transformed = full ? 1 : 0;
    if (gGlobals != nullptr)
        gGlobals->threeD.panelTransformed = p.transformed;
}

void Path3DPGViewController::Refresh(int reason) {
    PGViewController::Refresh(reason);
    auto& c = static_cast<Path3DPGCtrlr&>(ctrlr_);
    _3DTFilterParams& p = params();
    if ((reason & 1) != 0 || p.variant != Current3DVariant()) {
        const int variant = ValidVariant(p.variant);
        SetCurrent(variant);
        ShowVariantRows();
        EnableByVariant();
        c.Select3DVariant(variant, (reason & 8) == 0);
    }
    linker_.ShowAll();
}

bool Path3DPGViewController::OnViewMessage(std::uint32_t code, platform::Param wparam,
                                           platform::Param lparam, platform::Param& result) {
    if ((code == platform::kMsgCommand || code == platform::kMsgNotify ||
         code == platform::kMsgHScroll) &&
        linker_.Handle(code, wparam, lparam)) {
        result = 0;
        return true;
    }
    return PGViewController::OnViewMessage(code, wparam, lparam, result);
}

bool Path3DPGViewController::OnKindCommand(int id, int notify) {
    auto& c = static_cast<Path3DPGCtrlr&>(ctrlr_);
    _3DTFilterParams& p = params();
    switch (id) {
    case kVariant: {
        if (notify != platform::kNotifySelChange)
            return true;
        const int chosen = platform::GetSelection(platform::GetItem(dialog_, kVariant));
        if (chosen < 0 || chosen >= k3DVariantCount)
            return true;
        c.ChangeVariant(chosen);
        return true;
    }
    case kBefore:
    case kAfter:
        if (notify != platform::kNotifyClicked)
            return true;
        p.transformed = id == kAfter ? 1 : 0;
        if (gGlobals != nullptr)
            gGlobals->threeD.panelTransformed = p.transformed;
        c.ValueChanged();
        return true;
    case kRotateTool:
        // The host offers no tool selection to plug-ins here; the button
        // shows whether the tool is current.
        return true;
    default:
        return false;
    }
}

} // namespace vtg
