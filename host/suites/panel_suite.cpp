// The panel suite: floating panels whose window holds a plug-in's view,
// each with a flyout menu.
#include <algorithm>
#include <cmath>

#include "host/api/vtg_panel_suite.h"
#include "host/host.hpp"
#include "host/suites/suites.hpp"
#include "platform/window.hpp"

namespace hostapp {

PanelHandleOpaque* Panels::find(const std::string& identifier) const {
    for (const auto& p : panels)
        if (p->identifier == identifier)
            return p.get();
    return nullptr;
}

bool Panels::owns(const PanelHandleOpaque* panel) const {
    return std::any_of(panels.begin(), panels.end(),
                       [&](const auto& p) { return p.get() == panel; });
}

bool Panels::owns(const FlyoutHandleOpaque* flyout) const {
    return std::any_of(flyouts.begin(), flyouts.end(),
                       [&](const auto& f) { return f.get() == flyout; });
}

namespace {

Panels* P() {
    return Host::current() ? &Host::current()->panels() : nullptr;
}

bool ValidItem(FlyoutHandleOpaque* f, int32_t item) {
    return item >= 1 && static_cast<std::size_t>(item) <= f->items.size();
}

// The window's rectangle for the panel's position and size. Positions count
// from the host's placement origin, where a new panel's window appears.
platform::Rect WindowRect(const Panels& p, const PanelHandleOpaque& panel) {
    int left = p.originX + static_cast<int>(std::lround(panel.position.x * p.scale));
    int top = p.originY + static_cast<int>(std::lround(panel.position.y * p.scale));
    return {left, top, left + static_cast<int>(std::lround(panel.width * p.scale)),
            top + static_cast<int>(std::lround(panel.height * p.scale))};
}

ErrorCode NewFlyout(FlyoutHandle* flyout) {
    if (P() == nullptr || flyout == nullptr)
        return kBadParameterErr;
    P()->flyouts.push_back(std::make_unique<FlyoutHandleOpaque>());
    *flyout = P()->flyouts.back().get();
    return kNoErr;
}

ErrorCode DisposeFlyout(FlyoutHandle flyout) {
    if (P() == nullptr || !P()->owns(flyout))
        return kBadParameterErr;
    for (auto& panel : P()->panels)
        if (panel->flyout == flyout)
            panel->flyout = nullptr;
    auto& v = P()->flyouts;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const auto& f) { return f.get() == flyout; }),
            v.end());
    return kNoErr;
}

ErrorCode InsertFlyoutItem(FlyoutHandle flyout, int32_t before, const char* text, int32_t options) {
    if (P() == nullptr || !P()->owns(flyout) || text == nullptr || before < 1 ||
        static_cast<std::size_t>(before) > flyout->items.size() + 1)
        return kBadParameterErr;
    FlyoutHandleOpaque::Item item;
    item.text = text;
    item.options = options;
    flyout->items.insert(flyout->items.begin() + (before - 1), item);
    return kNoErr;
}

ErrorCode AppendFlyoutItem(FlyoutHandle flyout, const char* text, int32_t options) {
    if (P() == nullptr || !P()->owns(flyout))
        return kBadParameterErr;
    return InsertFlyoutItem(flyout, static_cast<int32_t>(flyout->items.size()) + 1, text, options);
}

ErrorCode RemoveFlyoutItem(FlyoutHandle flyout, int32_t item) {
    if (P() == nullptr || !P()->owns(flyout) || !ValidItem(flyout, item))
        return kBadParameterErr;
    flyout->items.erase(flyout->items.begin() + (item - 1));
    return kNoErr;
}

ErrorCode CountFlyoutItems(FlyoutHandle flyout, int32_t* count) {
    if (P() == nullptr || !P()->owns(flyout) || count == nullptr)
        return kBadParameterErr;
    *count = static_cast<int32_t>(flyout->items.size());
    return kNoErr;
}

ErrorCode EnableFlyoutItem(FlyoutHandle flyout, int32_t item, int32_t enabled) {
    if (P() == nullptr || !P()->owns(flyout) || !ValidItem(flyout, item))
        return kBadParameterErr;
    flyout->items[static_cast<std::size_t>(item - 1)].enabled = enabled != 0;
    return kNoErr;
}

ErrorCode CheckFlyoutItem(FlyoutHandle flyout, int32_t item, int32_t checked) {
    if (P() == nullptr || !P()->owns(flyout) || !ValidItem(flyout, item))
        return kBadParameterErr;
    flyout->items[static_cast<std::size_t>(item - 1)].checked = checked != 0;
    return kNoErr;
}

ErrorCode NewPanel(PluginRef plugin, const char* identifier, const char* title, int32_t state,
                   double width, double height, FlyoutHandle flyout, PanelHandle* panel) {
    if (P() == nullptr || plugin == nullptr || identifier == nullptr || *identifier == '\0' ||
        title == nullptr || panel == nullptr || P()->find(identifier) != nullptr ||
        (flyout != nullptr && !P()->owns(flyout)) || !(width >= 0) || !(height >= 0))
        return kBadParameterErr;
    auto p = std::make_unique<PanelHandleOpaque>();
    p->plugin = plugin;
    p->identifier = identifier;
    p->title = title;
    p->state = state;
    p->width = width;
    p->height = height;
    p->flyout = flyout;
    *panel = p.get();
    P()->panels.push_back(std::move(p));
    return kNoErr;
}

ErrorCode DisposePanel(PanelHandle panel) {
    if (P() == nullptr || !P()->owns(panel))
        return kBadParameterErr;
    if (panel->window != 0) {
        platform::UnregisterNamedWindow(panel->identifier);
        platform::DestroyWindow(panel->window);
    }
    auto& v = P()->panels;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const auto& p) { return p.get() == panel; }),
            v.end());
    return kNoErr;
}

ErrorCode SetPanelTitle(PanelHandle panel, const char* title) {
    if (P() == nullptr || !P()->owns(panel) || title == nullptr)
        return kBadParameterErr;
    panel->title = title;
    if (panel->window != 0)
        platform::SetText(panel->window, title);
    return kNoErr;
}

ErrorCode GetPanelTitle(PanelHandle panel, char* buffer, size_t size) {
    if (P() == nullptr || !P()->owns(panel))
        return kBadParameterErr;
    return CopyOut(panel->title, buffer, size);
}

ErrorCode SetPanelIcons(PanelHandle panel, int32_t light, int32_t dark) {
    if (P() == nullptr || !P()->owns(panel))
        return kBadParameterErr;
    panel->lightIcon = light;
    panel->darkIcon = dark;
    return kNoErr;
}

ErrorCode ShowPanel(PanelHandle panel, int32_t show) {
    if (P() == nullptr || !P()->owns(panel))
        return kBadParameterErr;
    if (panel->window == 0) {
        // The window exists from the first show on; the script and the
        // plug-in's views find it by the panel's identifier.
        panel->window = platform::CreateWindow(platform::WindowClass::TopLevel, 0, 0, panel->title,
                                               WindowRect(*P(), *panel));
        platform::RegisterNamedWindow(panel->identifier, panel->window);
    }
    panel->shown = show != 0;
    platform::Show(panel->window, panel->shown);
    return kNoErr;
}

ErrorCode IsPanelShown(PanelHandle panel, int32_t* shown) {
    if (P() == nullptr || !P()->owns(panel) || shown == nullptr)
        return kBadParameterErr;
    *shown = panel->shown ? 1 : 0;
    return kNoErr;
}

ErrorCode SetPanelPosition(PanelHandle panel, const VtgPoint* position) {
    if (P() == nullptr || !P()->owns(panel) || position == nullptr || !std::isfinite(position->x) ||
        !std::isfinite(position->y))
        return kBadParameterErr;
    panel->position = *position;
    if (panel->window != 0)
        platform::SetRect(panel->window, WindowRect(*P(), *panel));
    return kNoErr;
}

ErrorCode GetPanelSize(PanelHandle panel, double* width, double* height) {
    if (P() == nullptr || !P()->owns(panel) || width == nullptr || height == nullptr)
        return kBadParameterErr;
    *width = panel->width;
    *height = panel->height;
    return kNoErr;
}

ErrorCode SetPanelSize(PanelHandle panel, double width, double height) {
    if (P() == nullptr || !P()->owns(panel) || !(width >= 0) || !(height >= 0))
        return kBadParameterErr;
    panel->width = width;
    panel->height = height;
    if (panel->window != 0)
        platform::SetRect(panel->window, WindowRect(*P(), *panel));
    return kNoErr;
}

ErrorCode SetPanelSizeLimits(PanelHandle panel, double minW, double minH, double prefW,
                             double prefH, double maxW, double maxH) {
    if (P() == nullptr || !P()->owns(panel))
        return kBadParameterErr;
    panel->minWidth = minW;
    panel->minHeight = minH;
    panel->preferredWidth = prefW;
    panel->preferredHeight = prefH;
    panel->maxWidth = maxW;
    panel->maxHeight = maxH;
    return kNoErr;
}

ErrorCode GetPanelWindow(PanelHandle panel, uint32_t* window) {
    if (P() == nullptr || !P()->owns(panel) || window == nullptr)
        return kBadParameterErr;
    *window = panel->window;
    return kNoErr;
}

ErrorCode GetPanelWindowRect(PanelHandle panel, int32_t rect[4]) {
    if (P() == nullptr || !P()->owns(panel) || rect == nullptr)
        return kBadParameterErr;
    platform::Rect r = WindowRect(*P(), *panel);
    rect[0] = r.left;
    rect[1] = r.top;
    rect[2] = r.right;
    rect[3] = r.bottom;
    return kNoErr;
}

ErrorCode SetPanelFlyoutProc(PanelHandle panel, PanelFlyoutProc proc, void* data) {
    if (P() == nullptr || !P()->owns(panel))
        return kBadParameterErr;
    panel->flyoutProc = proc;
    panel->flyoutData = data;
    return kNoErr;
}

ErrorCode SetPanelResizeProc(PanelHandle panel, PanelResizeProc proc, void* data) {
    if (P() == nullptr || !P()->owns(panel))
        return kBadParameterErr;
    panel->resizeProc = proc;
    panel->resizeData = data;
    return kNoErr;
}

ErrorCode GetScreenSize(int32_t* width, int32_t* height) {
    if (P() == nullptr || width == nullptr || height == nullptr)
        return kBadParameterErr;
    *width = P()->screenWidth;
    *height = P()->screenHeight;
    return kNoErr;
}

const PanelSuite kPanel = {
    &NewFlyout,          &DisposeFlyout,      &AppendFlyoutItem,   &InsertFlyoutItem,
    &RemoveFlyoutItem,   &CountFlyoutItems,   &EnableFlyoutItem,   &CheckFlyoutItem,
    &NewPanel,           &DisposePanel,       &SetPanelTitle,      &GetPanelTitle,
    &SetPanelIcons,      &ShowPanel,          &IsPanelShown,       &SetPanelPosition,
    &GetPanelSize,       &SetPanelSize,       &SetPanelSizeLimits, &GetPanelWindow,
    &GetPanelWindowRect, &SetPanelFlyoutProc, &SetPanelResizeProc, &GetScreenSize};

} // namespace

void PublishPanelSuite(SuiteBroker& broker) {
    broker.publish(kPanelSuiteName, kPanelSuiteVersion, &kPanel);
}

} // namespace hostapp
