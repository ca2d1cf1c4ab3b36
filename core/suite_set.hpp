// suite_set.hpp - the host suites the plug-in uses, acquired together.
//
// The acquired tables live in process-wide pointers (sAccess, sUser, ...)
// so that any routine of the plug-in can call the host. A SuiteSet acquires
// the required suites in order and stops at the first failure; the optional
// ones after the "OPTS" marker may be missing and are retried before each
// message. A process-wide count lets later SuiteSets share the first one:
// the suites are released, in acquisition order, when it returns to zero.
#pragma once

#include <cstdint>

#include "host/api/vtg_access_suite.h"
#include "host/api/vtg_action_suite.h"
#include "host/api/vtg_annotator_suite.h"
#include "host/api/vtg_art_converter_suite.h"
#include "host/api/vtg_art_suite.h"
#include "host/api/vtg_base.h"
#include "host/api/vtg_bezier_suite.h"
#include "host/api/vtg_command_suite.h"
#include "host/api/vtg_context_suite.h"
#include "host/api/vtg_dictionary_suite.h"
#include "host/api/vtg_document_suite.h"
#include "host/api/vtg_filepath_suite.h"
#include "host/api/vtg_filter_suite.h"
#include "host/api/vtg_folders_suite.h"
#include "host/api/vtg_live_effect_suite.h"
#include "host/api/vtg_math_suite.h"
#include "host/api/vtg_memory_suite.h"
#include "host/api/vtg_menu_suite.h"
#include "host/api/vtg_notifier_suite.h"
#include "host/api/vtg_optional_suites.h"
#include "host/api/vtg_paint_style_suite.h"
#include "host/api/vtg_panel_suite.h"
#include "host/api/vtg_path_suite.h"
#include "host/api/vtg_pathfinder_suite.h"
#include "host/api/vtg_plugin_group_suite.h"
#include "host/api/vtg_plugins_suite.h"
#include "host/api/vtg_preferences_suite.h"
#include "host/api/vtg_runtime_suite.h"
#include "host/api/vtg_tool_suite.h"
#include "host/api/vtg_undo_suite.h"
#include "host/api/vtg_user_suite.h"

// The optional suites' tables are declared by their own headers as the
// features that use them arrive; until then they are only held.
struct PaintStyleSuite;
struct SymbolPaletteSuite;
struct BrushStrokesSuite;
struct ExpandSuite;

namespace vtg {

// The suite broker of the latest message (refreshed by every message).
extern const BasicSuite* sBasic;

extern const AccessSuite* sAccess;
extern const PluginsSuite* sPlugins;
extern const NotifierSuite* sNotifier;
extern const ContextSuite* sContext;
extern const UserSuite* sUser;
extern const FilePathSuite* sFilePath;
extern const FoldersSuite* sFolders;
extern const MemorySuite* sMemory;
extern const RuntimeSuite* sRuntime;
extern const MenuSuite* sMenu;
extern const FilterSuite* sFilter;
extern const LiveEffectSuite* sLiveEffect;
extern const LiveEffectEditSuite* sLiveEffectEdit;
extern const ToolSuite* sTool;
extern const AnnotatorSuite* sAnnotator;
extern const CommandSuite* sCommand;
extern const PanelSuite* sPanel;
extern const BezierSuite* sBezier;
extern const MathSuite* sMath;
extern const ArtSuite* sArt;
extern const PathSuite* sPath;
extern const DocumentSuite* sDocument;
extern const DictionarySuite* sDictionary;
extern const UndoSuite* sUndo;
extern const PreferencesSuite* sPreferences;
extern const PluginGroupSuite* sPluginGroup;
extern const ActionSuite* sAction;

extern const PaintStyleSuite* sPaintStyle;
extern const SymbolPaletteSuite* sSymbolPalette;
extern const BrushStrokesSuite* sBrushStrokes;
extern const ExpandSuite* sExpand;
extern const ArtConverterSuite* sArtConverter;
extern const PathfinderSuite* sPathfinder;

class SuiteSet {
public:
    SuiteSet() = default;
    ~SuiteSet();
    SuiteSet(const SuiteSet&) = delete;
    SuiteSet& operator=(const SuiteSet&) = delete;

    // Acquires the required suites (the first SuiteSet of the process) or
    // joins the set already acquired. On failure everything this call took
    // is released and the host's code is returned.
    ErrorCode Acquire();
    // Leaves the shared set; the last one out releases every suite.
    void Release();
    // Tries again to acquire each missing optional suite.
    void AcquireOptional();

    bool acquired() const { return acquired_; }
    // SuiteSets that currently share the acquired suites.
    static int AcquisitionCount();

private:
    bool acquired_ = false;
};

} // namespace vtg
