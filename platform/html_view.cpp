#include "platform/html_view.hpp"

#include <map>

namespace platform {
namespace {

struct HtmlState {
    std::vector<std::string> back;
    std::vector<std::string> forward;
    std::string current;
    std::vector<std::string> log;
};

std::map<WindowId, HtmlState>& States() {
    static std::map<WindowId, HtmlState> states;
    return states;
}

HtmlState* StateOf(WindowId view) {
    if (!IsWindow(view) || GetClass(view) != WindowClass::HtmlView)
        return nullptr;
    return &States()[view];
}

} // namespace

void HtmlNavigate(WindowId view, const std::string& path) {
    HtmlState* s = StateOf(view);
    if (s == nullptr)
        return;
    if (!s->current.empty())
        s->back.push_back(s->current);
    s->forward.clear();
    s->current = path;
    s->log.push_back("navigate " + path);
}

bool HtmlBack(WindowId view) {
    HtmlState* s = StateOf(view);
    if (s == nullptr || s->back.empty())
        return false;
    s->forward.push_back(s->current);
    s->current = s->back.back();
    s->back.pop_back();
    s->log.push_back("back " + s->current);
    return true;
}

bool HtmlForward(WindowId view) {
    HtmlState* s = StateOf(view);
    if (s == nullptr || s->forward.empty())
        return false;
    s->back.push_back(s->current);
    s->current = s->forward.back();
    s->forward.pop_back();
    s->log.push_back("forward " + s->current);
    return true;
}

void HtmlPrintPreview(WindowId view) {
    if (HtmlState* s = StateOf(view))
        s->log.push_back("print-preview " + s->current);
}

std::string HtmlCurrentPage(WindowId view) {
    auto it = States().find(view);
    return it == States().end() ? std::string() : it->second.current;
}

std::vector<std::string> HtmlLog(WindowId view) {
    auto it = States().find(view);
    return it == States().end() ? std::vector<std::string>{} : it->second.log;
}

void ForgetHtmlView(WindowId view) {
    States().erase(view);
}

} // namespace platform
