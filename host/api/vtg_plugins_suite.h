/* vtg_plugins_suite.h - the plug-in's identity and options. */
#ifndef VTG_API_PLUGINS_SUITE_H
#define VTG_API_PLUGINS_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kPluginsSuiteName "Base Plug-ins Suite"
#define kPluginsSuiteVersion 6

typedef struct PluginsSuite {
    /* Registers the plug-in's name (at most 255 bytes; longer names are
     * refused with kBadParameterErr). */
    ErrorCode (*SetPluginName)(PluginRef plugin, const char* name);
    /* Copies the registered name into buffer (size bytes, always
     * terminated). kBufferTooSmallErr when it had to be cut. */
    ErrorCode (*GetPluginName)(PluginRef plugin, char* buffer, size_t size);
    /* The plug-in's host option bits. The host sets bit value 2 at load;
     * other bits are zero unless a plug-in sets them. */
    ErrorCode (*GetPluginOptions)(PluginRef plugin, int32_t* options);
    ErrorCode (*SetPluginOptions)(PluginRef plugin, int32_t options);
} PluginsSuite;

#ifdef __cplusplus
}
#endif
#endif
