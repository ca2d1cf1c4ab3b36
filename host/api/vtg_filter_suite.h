/* vtg_filter_suite.h - one-shot filters in the host's filter menu. */
#ifndef VTG_API_FILTER_SUITE_H
#define VTG_API_FILTER_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kFilterSuiteName "Host Filter Suite"
#define kFilterSuiteVersion 1

typedef struct FilterSuite {
    /* Adds a filter under `category` with the menu text `title`; `name` is
     * its unique internal name and `token` a value the plug-in gets back
     * (GetFilterToken). Running it sends "Host Filter"/"Host Get Parameters"
     * and then "Host Filter"/"Host Go". Errors: kBadParameterErr. */
    ErrorCode (*AddFilter)(PluginRef plugin, const char* category, const char* title,
                           const char* name, void* token, FilterHandle* filter);
    ErrorCode (*GetFilterToken)(FilterHandle filter, void** token);
} FilterSuite;

#ifdef __cplusplus
}
#endif
#endif
