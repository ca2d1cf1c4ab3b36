/* vtg_runtime_suite.h - facts about the running host. */
#ifndef VTG_API_RUNTIME_SUITE_H
#define VTG_API_RUNTIME_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kRuntimeSuiteName "Host Runtime Suite"
#define kRuntimeSuiteVersion 1

typedef struct RuntimeSuite {
    /* The host's version numbers. */
    ErrorCode (*GetVersion)(int32_t* major, int32_t* minor, int32_t* revision);
} RuntimeSuite;

#ifdef __cplusplus
}
#endif
#endif
