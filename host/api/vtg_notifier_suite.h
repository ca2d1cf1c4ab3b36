/* vtg_notifier_suite.h - registering for and sending notifications. */
#ifndef VTG_API_NOTIFIER_SUITE_H
#define VTG_API_NOTIFIER_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kNotifierSuiteName "Host Notifier Suite"
#define kNotifierSuiteVersion 4

typedef struct NotifierSuite {
    /* Registers a notifier of `type` for `plugin`. Whenever a notification of
     * that type is sent, the plug-in receives "Host Notifier"/"Host Notify"
     * with this handle. Several notifiers may share a type; each receives its
     * own message. *notifier is owned by the host. Errors: kBadParameterErr. */
    ErrorCode (*AddNotifier)(PluginRef plugin, const char* name, const char* type,
                             NotifierHandle* notifier);
    /* Turns delivery to one notifier on (1) or off (0). */
    ErrorCode (*SetNotifierActive)(NotifierHandle notifier, int32_t active);
    /* Sends a notification of `type` with `data` to every active notifier of
     * that type, in registration order. Returns the first non-zero result. */
    ErrorCode (*Notify)(const char* type, const void* data);
} NotifierSuite;

#ifdef __cplusplus
}
#endif
#endif
