// html_view.hpp - the embedded HTML view: a window of class HtmlView that
// shows local pages, keeps a back and forward history and prints with a
// preview. Nothing is rendered; every action is recorded in the view's log.
#pragma once

#include <string>
#include <vector>

#include "platform/window.hpp"

namespace platform {

// Shows the page at `path` (a local file); the forward history is dropped.
void HtmlNavigate(WindowId view, const std::string& path);
// Steps through the history; false when there is nothing to go back or
// forward to.
bool HtmlBack(WindowId view);
bool HtmlForward(WindowId view);
// The print preview with the print dialog, for the current page.
void HtmlPrintPreview(WindowId view);
std::string HtmlCurrentPage(WindowId view); // empty before the first page
// "navigate PATH", "back PATH", "forward PATH", "print-preview PATH".
std::vector<std::string> HtmlLog(WindowId view);
// Drops the state of a destroyed view.
void ForgetHtmlView(WindowId view);

} // namespace platform
