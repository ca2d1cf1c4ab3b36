// live_storage.hpp - the live-object kinds as host plug-in groups: their
// registration (and that of the previous version's kinds), the parameter
// block each live object carries as preset text in its private data, the
// conversion of older live objects, and release and expand.
#pragma once

#include <cstdint>
#include <string>

#include "host/api/vtg_base.h"
#include "params/live_params.hpp"

namespace vtg {

struct LiveObjectKindInfo {
    const char* groupPrefix; // ends in a blank
    const char* description;
    const char* menuName;
};
// By LiveObjectKind.
extern const LiveObjectKindInfo kLiveObjectKinds[kLiveObjectKindCount];

inline constexpr int kOlderSlots = 26; // slot 25 stays empty
struct OlderKindInfo {
    const char* groupPrefix;
    const char* description; // for slots 0 to 11 the 3D variant's word
    int16_t kind;            // the kind it converts to
};
extern const OlderKindInfo kOlderKinds[kOlderSlots - 1];

inline constexpr const char* kWorkGroupTagName = "QrLw_VERTiGON4_TagName";
inline constexpr const char* kWorkGroupTagValue = "QrLw_VERTiGON4_PG_WGr";
inline constexpr int32_t kLiveDataMajor = 1;
inline constexpr int32_t kLiveDataMinor = 0;
// The scratch block of one live object's text; the text holds at most one
// byte less (the terminator).
inline constexpr std::size_t kLiveDataBlockBytes = 32768;

// The registered groups and the kinds' parameter blocks.
struct LiveObjectRegistry {
    PluginGroupHandle groups[kLiveObjectKindCount] = {};
    void* blocks[kLiveObjectKindCount] = {};
    PluginGroupHandle olderMac[kOlderSlots] = {};
    PluginGroupHandle olderWin[kOlderSlots] = {};
};
LiveObjectRegistry& CurrentLiveObjects();

// "VERTiGON4 Border  ver5 ": the group name of a kind.
std::string LiveObjectGroupName(int kind);

// Registers the fifteen kinds and allocates their parameter blocks (named
// host blocks with the kinds' defaults; the 3D Path variant starts at -1).
// The kinds' recordable actions belong to the live-object controllers.
ErrorCode RegisterLiveObjectKinds(PluginRef plugin);
// The 25 registrations of the previous version with `suffix` ("for Mac
// H16", "for Win H16") appended when the host's major version is 16 or more.
ErrorCode RegisterOlderLiveObjectKinds(PluginRef plugin, const char* suffix,
                                       PluginGroupHandle (&handles)[kOlderSlots]);
// Frees the kinds' parameter blocks (shut-down).
void FreeLiveObjectBlocks();

// Writes the block as the live object's private text (the current kind's
// fields; an unknown kind writes an empty text).
ErrorCode StoreParamBlock(ArtHandle art, const void* block);
// Reads the live object's private text into the block by the current kind.
// "GRP?" for another data version or more than 32,767 bytes; the block is
// then left as it was.
ErrorCode LoadParamBlock(ArtHandle art, void* block);

// 0: not an older live object; 1: older, not converted (declined, or the
// host refused: its error goes to *error); 2: converted, `group` names the
// current group of its kind.
int MigrateLegacyLiveObject(ArtHandle art, PluginGroupHandle& group, ErrorCode* error = nullptr);

// Puts copies of the source art (release) or of the result art (expand)
// above the live object, in their stacking order, and deletes it. With
// skipWorkGroup a first source child tagged as the work group is left out.
ErrorCode ReleaseLiveObject(ArtHandle art, bool skipWorkGroup);
ErrorCode ExpandLiveObject(ArtHandle art);

} // namespace vtg
