/* vtg_context_suite.h - the application context around panel work. */
#ifndef VTG_API_CONTEXT_SUITE_H
#define VTG_API_CONTEXT_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kContextSuiteName "Host Context Suite"
#define kContextSuiteVersion 10

typedef struct ContextSuite {
    /* Makes the host's state (current document, undo transaction) usable
     * outside a host message, for example from a panel's button. Contexts
     * nest; *context must be popped in reverse order. */
    ErrorCode (*PushAppContext)(PluginRef plugin, ContextHandle* context);
    /* Ends the innermost context. kBadParameterErr when `context` is not the
     * innermost one (the host logs the unbalanced pop). */
    ErrorCode (*PopAppContext)(ContextHandle context);
} ContextSuite;

#ifdef __cplusplus
}
#endif
#endif
