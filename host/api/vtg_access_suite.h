/* vtg_access_suite.h - keeping a plug-in loaded. */
#ifndef VTG_API_ACCESS_SUITE_H
#define VTG_API_ACCESS_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kAccessSuiteName "Base Access Suite"
#define kAccessSuiteVersion 3

typedef struct AccessSuite {
    /* Asks the host to keep `plugin` loaded (no "Base Access"/"Unload" is
     * sent while a residency is held). *access receives the reference to
     * release later. Errors: kBadParameterErr. */
    ErrorCode (*AcquireResidency)(PluginRef plugin, AccessRef* access);
    /* Gives back a residency reference. Errors: kBadParameterErr for an
     * unknown reference. */
    ErrorCode (*ReleaseResidency)(AccessRef access);
} AccessSuite;

#ifdef __cplusplus
}
#endif
#endif
