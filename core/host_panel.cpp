#include "core/host_panel.hpp"

#include <cmath>

#include "core/plugin_globals.hpp"
#include "core/suite_set.hpp"

namespace vtg {

namespace {

constexpr const char* kLocationKey = "Location";
constexpr int32_t kLightIcon = 19000;
constexpr int32_t kDarkIcon = 19100;

double RoundHalfAway(double v) {
    return v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
}

} // namespace

PanelPlacement& CurrentPanelPlacement() {
    static PanelPlacement placement;
    return placement;
}

VtgPoint DefaultPanelPosition() {
    PanelPlacement& p = CurrentPanelPlacement();
    int32_t d = p.cascade <= 320 ? p.cascade : 0;
    p.cascade = d + 64;
    int32_t width = 1920, height = 1080;
    if (sPanel != nullptr)
        sPanel->GetScreenSize(&width, &height);
    return {static_cast<double>(d + width / 8), static_cast<double>(d + height / 8)};
}

ErrorCode CreateHostPanel(PluginRef plugin, PanelHandle* panel, FlyoutHandle* flyout,
                          bool presetItems, const char* prefix) {
    ErrorCode err = sPanel->NewFlyout(flyout);
    if (err != kNoErr)
        return err;
    if (presetItems) {
        const struct {
            const char* text;
            int32_t options;
        } items[] = {{"初期設定", 0},
                     {"-", kFlyoutSeparator},
                     {"プリセットを編集...", 0},
                     {"-", kFlyoutSeparator},
                     {"-", kFlyoutSeparator}};
        for (const auto& item : items)
            if ((err = sPanel->AppendFlyoutItem(*flyout, item.text, item.options)) != kNoErr)
                return err;
    }
    if ((err = sPanel->AppendFlyoutItem(*flyout, "このプラグインについて...", 0)) != kNoErr)
        return err;

    if ((err = sPanel->NewPanel(plugin, prefix, "VERTiGON6", 1, 100, 2, *flyout, panel)) != kNoErr)
        return err;
    sPanel->SetPanelIcons(*panel, kLightIcon, kDarkIcon);

    // Show and hide once so that the window exists, then measure it.
    sPanel->ShowPanel(*panel, 1);
    sPanel->ShowPanel(*panel, 0);
    int32_t rect[4] = {};
    double width = 0, height = 0;
    PanelPlacement& placement = CurrentPanelPlacement();
    if (sPanel->GetPanelWindowRect(*panel, rect) == kNoErr &&
        sPanel->GetPanelSize(*panel, &width, &height) == kNoErr) {
        placement.originX = rect[0];
        placement.originY = rect[1];
        if (width > 0 && rect[2] > rect[0])
            placement.scale = (rect[2] - rect[0]) / width;
        placement.measured = true;
    }

    VtgPoint location{};
    if (sPreferences == nullptr ||
        sPreferences->GetPoint(prefix, kLocationKey, &location) != kNoErr)
        location = DefaultPanelPosition();
    // Pixels to panel units: newer hosts count panel units in device
    // pixels, older ones in scaled ones.
    bool newerHost = gGlobals != nullptr && gGlobals->hostMajor > 17;
    double factor = newerHost ? placement.scale : 1.0 / placement.scale;
    VtgPoint position{RoundHalfAway(location.x * factor), RoundHalfAway(location.y * factor)};
    sPanel->SetPanelPosition(*panel, &position);
    sPanel->ShowPanel(*panel, 1);
    sPanel->ShowPanel(*panel, 0);
    return kNoErr;
}

ErrorCode DestroyHostPanel(PanelHandle* panel, FlyoutHandle* flyout, const char* prefix) {
    if (*panel != nullptr) {
        int32_t rect[4] = {};
        int32_t screenW = 1920, screenH = 1080;
        sPanel->GetScreenSize(&screenW, &screenH);
        if (sPanel->GetPanelWindowRect(*panel, rect) == kNoErr) {
            const PanelPlacement& placement = CurrentPanelPlacement();
            int32_t dx = rect[0] - placement.originX;
            int32_t dy = rect[1] - placement.originY;
            int32_t halfW = (rect[2] - rect[0]) / 2;
            int32_t halfH = (rect[3] - rect[1]) / 2;
            VtgPoint location{static_cast<double>(dx), static_cast<double>(dy)};
            if (dx < 0 || dy < 0 || dx > screenW - halfW || dy > screenH - halfH)
                location = DefaultPanelPosition();
            if (sPreferences != nullptr)
                sPreferences->PutPoint(prefix, kLocationKey, &location);
        }
        sPanel->ShowPanel(*panel, 0);
    }
    if (*flyout != nullptr)
        sPanel->DisposeFlyout(*flyout);
    if (*panel != nullptr)
        sPanel->DisposePanel(*panel);
    *panel = nullptr;
    *flyout = nullptr;
    return kNoErr;
}

} // namespace vtg
