/* vtg_plugin_group_suite.h - plug-in groups: the kinds of plug-in art (live
 * objects) a plug-in registers, and the parts of one plug-in art.
 *
 * A plug-in art (kVtgArtPlugin, vtg_art_suite.h) belongs to one registered
 * plug-in group. It holds an edit group (the user's source art), a result
 * group (what the plug-in generated) and private data: a byte string with a
 * major and minor data version that the host stores with the document and
 * reads back exactly as written. When the edit art or the data change, the
 * host sends "Host Plugin Group"/"Host Update" to the group's plug-in. */
#ifndef VTG_API_PLUGIN_GROUP_SUITE_H
#define VTG_API_PLUGIN_GROUP_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kPluginGroupSuiteName "Host Plugin Group Suite"
#define kPluginGroupSuiteVersion 1

/* The most private data one plug-in art may hold, in bytes. */
#define kVtgMaxPluginData (16 * 1024 * 1024)

/* The data version of a group's objects and its description (UTF-8). */
typedef struct VtgPluginGroupData {
    int32_t major;
    int32_t minor;
    const char* description;
} VtgPluginGroupData;

typedef struct PluginGroupSuite {
    /* AddPluginGroup: registers a kind of plug-in art under `name` (the key
     * under which documents store its objects; kept byte for byte) with the
     * data version and description of `data` and host option bits `options`.
     * *group stays valid while the host runs.
     * Errors: kBadParameterErr (null or empty name, null data or out
     * pointer). Registering a name twice gives a second group; documents
     * resolve a name to the group registered last. */
    ErrorCode (*AddPluginGroup)(PluginRef plugin, const char* name, const VtgPluginGroupData* data,
                                int32_t options, PluginGroupHandle* group);
    /* SetPluginGroupObjectName: the user-visible name of the group's objects
     * (the layers palette shows it). Errors: kBadParameterErr. */
    ErrorCode (*SetPluginGroupObjectName)(PluginGroupHandle group, const char* name);
    /* GetPluginGroupName: copies the registered name to buffer (size bytes).
     * kBufferTooSmallErr when it does not fit (buffer then empty). */
    ErrorCode (*GetPluginGroupName)(PluginGroupHandle group, char* buffer, size_t size);
    /* GetPluginGroupOptions: the option bits given at registration. */
    ErrorCode (*GetPluginGroupOptions)(PluginGroupHandle group, int32_t* options);

    /* GetArtPluginGroup: the group of a plug-in art; null when the art's
     * stored group name is not registered. Errors: kDeadHandleErr,
     * kWrongArtKindErr (not plug-in art), kBadParameterErr. */
    ErrorCode (*GetArtPluginGroup)(ArtHandle art, PluginGroupHandle* group);
    /* SetArtPluginGroup: makes `group` the art's group (the parts and data
     * stay). Errors: as GetArtPluginGroup; kBadParameterErr for a null or
     * unknown group. Undoable. */
    ErrorCode (*SetArtPluginGroup)(ArtHandle art, PluginGroupHandle group);
    /* GetEditArt / GetResultArt: the edit (source) group and the result
     * group of a plug-in art, owned by it. Errors: as GetArtPluginGroup. */
    ErrorCode (*GetEditArt)(ArtHandle art, ArtHandle* edit);
    ErrorCode (*GetResultArt)(ArtHandle art, ArtHandle* result);

    /* Private data. GetDataVersion / SetDataVersion: the data version stored
     * with the art's data (0.0 for a new art). GetDataCount: the number of
     * bytes held. SetDataCount: resizes the data (new bytes are zero); more
     * than kVtgMaxPluginData gives kBadParameterErr. GetData copies `count`
     * bytes from `offset` into buffer; SetData writes `count` bytes at
     * `offset`. A range beyond the held count gives kBadParameterErr and
     * changes nothing. Errors also: as GetArtPluginGroup. The setters are
     * undoable. */
    ErrorCode (*GetDataVersion)(ArtHandle art, int32_t* major, int32_t* minor);
    ErrorCode (*SetDataVersion)(ArtHandle art, int32_t major, int32_t minor);
    ErrorCode (*GetDataCount)(ArtHandle art, size_t* count);
    ErrorCode (*SetDataCount)(ArtHandle art, size_t count);
    ErrorCode (*GetData)(ArtHandle art, size_t offset, size_t count, void* buffer);
    ErrorCode (*SetData)(ArtHandle art, size_t offset, size_t count, const void* data);
} PluginGroupSuite;

#ifdef __cplusplus
}
#endif
#endif
