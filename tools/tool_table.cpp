#include "tools/tool_table.hpp"

#include "core/suite_set.hpp"

namespace vtg {

const ToolRow kToolRows[kTools] = {
    {0, "VERTiGON6: 遠近法ワープ ツール", 21000, 20000, 0, 1, "VERTiGON4_PST_WarpTool.txt"},
    {1, "VERTiGON6: マルチウェーブ ツール", 21001, 20001, 0, 1, "VERTiGON4_PST_WaveTool.txt"},
    {2, "VERTiGON6: レンズ ツール", 21002, 20002, 16057, 1, "VERTiGON4_PST_LensTool.txt"},
    {4, "VERTiGON6: クラフト ツール", 21003, 20003, 16054, 1, "VERTiGON4_PST_CraftTool.txt"},
    {5, "VERTiGON6: ラフ ツール", 21004, 20004, 16056, 1, "VERTiGON4_PST_RoughTool.txt"},
    {6, "VERTiGON6: ほうき ツール", 21005, 20005, 16068, 1, "VERTiGON4_PST_BroomTool.txt"},
    {8, "VERTiGON6: Live 3D回転 ツール", 21008, 20008, 17060, 129, nullptr},
};

namespace {

// Where each tool goes, by its row: the tool whose group (and set) it joins,
// and whether it starts a set of its own.
struct Placement {
    int groupOf; // row whose group it joins, -1: a new group
    int setOf;   // row whose set it joins, -1: a new set
};
const Placement kPlacements[kTools] = {
    {-1, -1}, // Warp heads the group and set 1
    {0, 0},   // Wave
    {0, 1},   // Lens
    {0, -1},  // Craft heads set 2
    {0, 3},   // Roughen
    {0, 4},   // Broom
    {0, -1},  // 3D rotate, alone in set 3
};

} // namespace

ErrorCode RegisterTools(PluginRef plugin) {
    for (int i = 0; i < kTools; ++i) {
        const ToolRow& row = kToolRows[i];
        ToolDefinition d{};
        d.title = row.name;
        d.tooltip = row.name;
        d.darkIconId = row.darkIconId;
        d.lightIconId = row.lightIconId;
        d.options = row.options;
        d.group = kToolNewGroup;
        d.set = kToolNewSet;
        const Placement& p = kPlacements[i];
        int32_t set = 0;
        if (p.groupOf >= 0) {
            ErrorCode err = sTool->GetToolPlace(kToolRows[p.groupOf].name, &d.group, &set);
            if (err != kNoErr)
                return err;
        }
        if (p.setOf >= 0) {
            int32_t group = 0;
            ErrorCode err = sTool->GetToolPlace(kToolRows[p.setOf].name, &group, &d.set);
            if (err != kNoErr)
                return err;
        }
        ErrorCode err = sTool->AddTool(plugin, &d, &gGlobals->tools[row.index]);
        if (err != kNoErr)
            return err;
    }
    return kNoErr;
}

const ToolRow* FindToolRow(int16_t index) {
    for (const ToolRow& row : kToolRows)
        if (row.index == index)
            return &row;
    return nullptr;
}

const ToolRow* FindToolRow(ToolHandle tool) {
    if (tool == nullptr || gGlobals == nullptr)
        return nullptr;
    for (const ToolRow& row : kToolRows)
        if (gGlobals->tools[row.index] == tool)
            return &row;
    return nullptr;
}

} // namespace vtg
