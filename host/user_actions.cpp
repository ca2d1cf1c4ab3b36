// The user's actions on the host's menus and toolbox, turned into the
// messages a host sends.
#include "host/host.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/doc/document.hpp"

#include "platform/window.hpp"

namespace hostapp {

ErrorCode Host::chooseFlyoutItem(const std::string& identifier, int32_t item) {
    PanelHandleOpaque* panel = panels_.find(identifier);
    if (panel == nullptr || panel->flyout == nullptr)
        return kNotFoundErr;
    if (item < 1 || static_cast<std::size_t>(item) > panel->flyout->items.size() ||
        !panel->flyout->items[static_cast<std::size_t>(item - 1)].enabled)
        return kBadParameterErr;
    if (panel->flyoutProc != nullptr)
        callPlugin([&] { panel->flyoutProc(panel, item, panel->flyoutData); });
    return kNoErr;
}

ErrorCode Host::resizePanel(const std::string& identifier, double width, double height) {
    PanelHandleOpaque* panel = panels_.find(identifier);
    if (panel == nullptr)
        return kNotFoundErr;
    if (!std::isfinite(width) || !std::isfinite(height))
        return kBadParameterErr;
    // A limit of 0 is no limit.
    auto limit = [](double v, double low, double high) {
        if (high > 0 && v > high)
            v = high;
        return v < low ? low : v;
    };
    panel->width = limit(width, panel->minWidth, panel->maxWidth);
    panel->height = limit(height, panel->minHeight, panel->maxHeight);
    if (panel->window != 0) {
        platform::Rect r = platform::GetRect(panel->window);
        r.right = r.left + static_cast<int>(std::lround(panel->width * panels_.scale));
        r.bottom = r.top + static_cast<int>(std::lround(panel->height * panels_.scale));
        platform::SetRect(panel->window, r);
    }
    if (panel->resizeProc != nullptr)
        callPlugin(
            [&] { panel->resizeProc(panel, panel->width, panel->height, panel->resizeData); });
    return kNoErr;
}

ErrorCode Host::updateMenus() {
    ErrorCode first = kNoErr;
    for (const auto& item : registry_.menuItems) {
        if (item->options != 0)
            continue; // separators
        MenuMessage message{};
        message.menuItem = item.get();
        ErrorCode err = send(kCallerMenu, kSelectorUpdate, &message);
        if (first == kNoErr)
            first = err;
    }
    return first;
}

ErrorCode Host::chooseMenu(const std::string& key) {
    MenuItemHandleOpaque* item = registry_.findMenuItem(key);
    if (item == nullptr || item->subMenu != nullptr)
        return kNotFoundErr;
    updateMenus();
    if (!item->enabled)
        return kBadParameterErr;
    MenuMessage message{};
    message.menuItem = item;
    return send(kCallerMenu, kSelectorGo, &message);
}

ErrorCode Host::selectTool(const std::string& title) {
    ToolHandleOpaque* tool = registry_.findTool(title);
    if (tool == nullptr)
        return kNotFoundErr;
    if (registry_.currentTool != nullptr && registry_.currentTool != tool) {
        ToolMessage message{};
        message.tool = registry_.currentTool;
        send(kCallerTool, kSelectorDeselect, &message);
    }
    registry_.currentTool = tool;
    ToolMessage message{};
    message.tool = tool;
    return send(kCallerTool, kSelectorSelect, &message);
}

ErrorCode Host::toolMouse(const char* selector, VtgPoint point, uint32_t modifiers) {
    if (registry_.currentTool == nullptr || selector == nullptr)
        return kBadParameterErr;
    const bool press = std::strcmp(selector, kSelectorMouseDown) == 0;
    const bool release = std::strcmp(selector, kSelectorMouseUp) == 0;
    toolClock += kToolEventInterval;
    if (press) {
        // The gesture is an operation of its own.
        if (doc::Document* d = docs_.current())
            doc::Commit(*d);
        annotations_.clear();
        annotationFrames_ = 0;
    }
    ToolMessage message{};
    message.tool = registry_.currentTool;
    message.cursor = point;
    message.timestamp = toolClock;
    message.modifiers = modifiers;
    ToolMessage track = message;
    send(kCallerTool, kSelectorTrackCursor, &track);
    ErrorCode result = send(kCallerTool, selector, &message);
    drawAnnotations();
    if (release)
        if (doc::Document* d = docs_.current())
            doc::Commit(*d);
    return result;
}

void Host::drawAnnotations() {
    for (const auto& a : registry_.annotators) {
        if (!a->active)
            continue;
        DrawerHandleOpaque drawer;
        drawer.frame = ++annotationFrames_;
        AnnotationMessage message{};
        message.annotator = a.get();
        message.drawer = &drawer;
        send(kCallerAnnotation, kSelectorDraw, &message);
    }
}

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

} // namespace

bool Host::writeAnnotationPicture(const std::string& path) const {
    int width = 800, height = 600;
    if (doc::Document* d = docs_.current(); d != nullptr && d->view != nullptr) {
        width = d->view->width;
        height = d->view->height;
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    std::fprintf(f,
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
                 "viewBox=\"0 0 %d %d\">\n",
                 width, height, width, height);
    auto colour = [](const uint16_t c[3]) {
        char text[16];
        std::snprintf(text, sizeof text, "#%02x%02x%02x", c[0] >> 8, c[1] >> 8, c[2] >> 8);
        return std::string(text);
    };
    int frame = -1;
    for (const AnnotationOp& op : annotations_) {
        if (op.frame != frame) {
            if (frame >= 0)
                std::fprintf(f, "</g>\n");
            frame = op.frame;
            std::fprintf(f, "<g class=\"frame\" data-frame=\"%d\">\n", frame);
        }
        if (op.kind == AnnotationOp::Path) {
            std::string d =
                "M" + std::to_string(op.points[0].h) + " " + std::to_string(op.points[0].v);
            for (std::size_t i = 1; i + 2 < op.points.size(); i += 3) {
                d += " C";
                for (std::size_t j = i; j < i + 3; ++j)
                    d +=
                        " " + std::to_string(op.points[j].h) + " " + std::to_string(op.points[j].v);
            }
            std::fprintf(f, "<path d=\"%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"%g\"/>\n",
                         d.c_str(), colour(op.color).c_str(), op.lineWidth);
        } else if (op.kind == AnnotationOp::Fill)
            std::fprintf(f, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\"/>\n",
                         op.rect.left, op.rect.top, op.rect.right - op.rect.left,
                         op.rect.bottom - op.rect.top, colour(op.color).c_str());
        else
            std::fprintf(f,
                         "<text x=\"%d\" y=\"%d\" font-family=\"sans-serif\" font-size=\"12\" "
                         "fill=\"%s\">%s</text>\n",
                         op.at.h, op.at.v, colour(op.color).c_str(), Escaped(op.text).c_str());
    }
    if (frame >= 0)
        std::fprintf(f, "</g>\n");
    std::fprintf(f, "</svg>\n");
    return std::fclose(f) == 0;
}

} // namespace hostapp
