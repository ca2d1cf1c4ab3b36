// tool_table.hpp - the seven tools as the host knows them.
#pragma once

#include <cstdint>

#include "core/plugin_globals.hpp"
#include "host/api/vtg_base.h"

namespace vtg {

struct ToolRow {
    int16_t index;
    const char* name; // title, tooltip and undo text
    int32_t darkIconId, lightIconId;
    int32_t cursorId; // 0: the tool keeps the previous cursor
    int32_t options;
    const char* presetFile; // null for the 3D rotate tool
};

// In registration order: Warp, Wave, Lens, Craft, Roughen, Broom, 3D rotate.
inline constexpr int kTools = 7;
extern const ToolRow kToolRows[kTools];

// Registers the tools in table order, each in its group and set; the
// handles go to the globals by tool index. Stops at the first failure.
ErrorCode RegisterTools(PluginRef plugin);

// The row of a tool index or handle; null when there is none.
const ToolRow* FindToolRow(int16_t index);
const ToolRow* FindToolRow(ToolHandle tool);

} // namespace vtg
