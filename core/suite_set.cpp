#include "core/suite_set.hpp"

#include <cstring>

namespace vtg {

const BasicSuite* sBasic = nullptr;

const AccessSuite* sAccess = nullptr;
const PluginsSuite* sPlugins = nullptr;
const NotifierSuite* sNotifier = nullptr;
const ContextSuite* sContext = nullptr;
const UserSuite* sUser = nullptr;
const FilePathSuite* sFilePath = nullptr;
const FoldersSuite* sFolders = nullptr;
const MemorySuite* sMemory = nullptr;
const RuntimeSuite* sRuntime = nullptr;
const MenuSuite* sMenu = nullptr;
const FilterSuite* sFilter = nullptr;
const LiveEffectSuite* sLiveEffect = nullptr;
const LiveEffectEditSuite* sLiveEffectEdit = nullptr;
const ToolSuite* sTool = nullptr;
const AnnotatorSuite* sAnnotator = nullptr;
const CommandSuite* sCommand = nullptr;
const PanelSuite* sPanel = nullptr;
const BezierSuite* sBezier = nullptr;
const MathSuite* sMath = nullptr;
const ArtSuite* sArt = nullptr;
const PathSuite* sPath = nullptr;
const DocumentSuite* sDocument = nullptr;
const DictionarySuite* sDictionary = nullptr;
const UndoSuite* sUndo = nullptr;
const PreferencesSuite* sPreferences = nullptr;
const PluginGroupSuite* sPluginGroup = nullptr;
const ActionSuite* sAction = nullptr;

const PaintStyleSuite* sPaintStyle = nullptr;
const SymbolPaletteSuite* sSymbolPalette = nullptr;
const BrushStrokesSuite* sBrushStrokes = nullptr;
const ExpandSuite* sExpand = nullptr;
const ArtConverterSuite* sArtConverter = nullptr;
const PathfinderSuite* sPathfinder = nullptr;

namespace {

struct SuiteEntry {
    const char* name;
    int32_t version;
    const void** slot;
};

template <typename T> const void** Slot(const T*& pointer) {
    return reinterpret_cast<const void**>(&pointer);
}

constexpr const char* kOptionalMarker = "OPTS";

// In acquisition order. The first seven are the host's base suites; the
// rest of the required ones are those the plug-in's routines call; after the
// marker come the suites a host may lack.
const SuiteEntry kSuites[] = {
    {kAccessSuiteName, kAccessSuiteVersion, Slot(sAccess)},
    {kPluginsSuiteName, kPluginsSuiteVersion, Slot(sPlugins)},
    {kNotifierSuiteName, kNotifierSuiteVersion, Slot(sNotifier)},
    {kContextSuiteName, kContextSuiteVersion, Slot(sContext)},
    {kUserSuiteName, kUserSuiteVersion, Slot(sUser)},
    {kFilePathSuiteName, kFilePathSuiteVersion, Slot(sFilePath)},
    {kFoldersSuiteName, kFoldersSuiteVersion, Slot(sFolders)},
    {kMemorySuiteName, kMemorySuiteVersion, Slot(sMemory)},
    {kRuntimeSuiteName, kRuntimeSuiteVersion, Slot(sRuntime)},
    {kMenuSuiteName, kMenuSuiteVersion, Slot(sMenu)},
    {kFilterSuiteName, kFilterSuiteVersion, Slot(sFilter)},
    {kLiveEffectSuiteName, kLiveEffectSuiteVersion, Slot(sLiveEffect)},
    {kLiveEffectEditSuiteName, kLiveEffectEditSuiteVersion, Slot(sLiveEffectEdit)},
    {kToolSuiteName, kToolSuiteVersion, Slot(sTool)},
    {kAnnotatorSuiteName, kAnnotatorSuiteVersion, Slot(sAnnotator)},
    {kCommandSuiteName, kCommandSuiteVersion, Slot(sCommand)},
    {kPanelSuiteName, kPanelSuiteVersion, Slot(sPanel)},
    {kBezierSuiteName, kBezierSuiteVersion, Slot(sBezier)},
    {kMathSuiteName, kMathSuiteVersion, Slot(sMath)},
    {kArtSuiteName, kArtSuiteVersion, Slot(sArt)},
    {kPathSuiteName, kPathSuiteVersion, Slot(sPath)},
    {kDocumentSuiteName, kDocumentSuiteVersion, Slot(sDocument)},
    {kDictionarySuiteName, kDictionarySuiteVersion, Slot(sDictionary)},
    {kUndoSuiteName, kUndoSuiteVersion, Slot(sUndo)},
    {kPreferencesSuiteName, kPreferencesSuiteVersion, Slot(sPreferences)},
    {kPluginGroupSuiteName, kPluginGroupSuiteVersion, Slot(sPluginGroup)},
    {kActionSuiteName, kActionSuiteVersion, Slot(sAction)},
    {kOptionalMarker, 0, nullptr},
    {kPaintStyleSuiteName, kPaintStyleSuiteVersion, Slot(sPaintStyle)},
    {kSymbolPaletteSuiteName, kSymbolPaletteSuiteVersion, Slot(sSymbolPalette)},
    {kBrushStrokesSuiteName, kBrushStrokesSuiteVersion, Slot(sBrushStrokes)},
    {kExpandSuiteName, kExpandSuiteVersion, Slot(sExpand)},
    {kArtConverterSuiteName, kArtConverterSuiteVersion, Slot(sArtConverter)},
    {kPathfinderSuiteName, kPathfinderSuiteVersion, Slot(sPathfinder)},
};

int gAcquisitionCount = 0;

bool IsMarker(const SuiteEntry& e) {
    return std::strcmp(e.name, kOptionalMarker) == 0;
}

// Releases every held suite in acquisition order and clears its pointer.
void ReleaseAll() {
    for (const SuiteEntry& e : kSuites) {
        if (IsMarker(e) || *e.slot == nullptr)
            continue;
        if (sBasic != nullptr)
            sBasic->ReleaseSuite(e.name, e.version);
        *e.slot = nullptr;
    }
}

} // namespace

SuiteSet::~SuiteSet() {
    Release();
}

ErrorCode SuiteSet::Acquire() {
    if (acquired_)
        return kNoErr;
    if (gAcquisitionCount > 0) {
        ++gAcquisitionCount;
        acquired_ = true;
        return kNoErr;
    }
    if (sBasic == nullptr)
        return kSuiteNotFoundErr;
    for (const SuiteEntry& e : kSuites) {
        if (IsMarker(e))
            break;
        ErrorCode err = sBasic->AcquireSuite(e.name, e.version, e.slot);
        if (err != kNoErr) {
            *e.slot = nullptr;
            ReleaseAll();
            return err;
        }
    }
    gAcquisitionCount = 1;
    acquired_ = true;
    AcquireOptional();
    return kNoErr;
}

void SuiteSet::Release() {
    if (!acquired_)
        return;
    acquired_ = false;
    if (--gAcquisitionCount > 0)
        return;
    gAcquisitionCount = 0;
    ReleaseAll();
}

void SuiteSet::AcquireOptional() {
    if (!acquired_ || sBasic == nullptr)
        return;
    bool optional = false;
    for (const SuiteEntry& e : kSuites) {
        if (IsMarker(e)) {
            optional = true;
            continue;
        }
        if (optional && *e.slot == nullptr &&
            sBasic->AcquireSuite(e.name, e.version, e.slot) != kNoErr)
            *e.slot = nullptr;
    }
}

int SuiteSet::AcquisitionCount() {
    return gAcquisitionCount;
}

} // namespace vtg
