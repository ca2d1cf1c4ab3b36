// tools_app.hpp - the program's tool commands: the tools by name, their
// option fields as a user sets them in the tool panel, and "vertigon drag".
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/host.hpp"

namespace app {

// The program's tool names and the titles the plug-in registers them under.
const std::map<std::string, std::string>& ToolTitles();

// Sets each FIELD=VALUE on the open options view of `tool` by the user's
// gestures (VALUE as the view shows it). False with a reason for a field
// the view has no control for or a gesture that fails.
bool SetToolFields(const std::string& tool,
                   const std::vector<std::pair<std::string, std::string>>& settings,
                   std::string& reason);

// One gesture of the current tool: press at the first point, drag through
// the others, release at the last, with `modifiers` held throughout.
// Returns the first failure (a press that finds nothing selected).
ErrorCode RunToolGesture(hostapp::Host& host, const std::vector<VtgPoint>& path,
                         uint32_t modifiers);

// Reads "X,Y" into a point; false when it is not two numbers.
bool ParsePoint(const std::string& text, VtgPoint& point);

// "vertigon drag TOOL IN -o OUT --path X,Y... [--hold alt,shift,ctrl]
// [--select ID]... [--set FIELD=VALUE]..."; returns the exit status.
int DragCommand(hostapp::Host& host, const std::vector<std::string>& args);

} // namespace app
