/* vtg_command_suite.h - the host's own commands, by name. */
#ifndef VTG_API_COMMAND_SUITE_H
#define VTG_API_COMMAND_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kCommandSuiteName "Host Command Suite"
#define kCommandSuiteVersion 1

/* "expandStyle": expands the appearance of the selected art. */
#define kCommandExpandStyle "expandStyle"

typedef struct CommandSuite {
    /* kNotFoundErr when the host has no command of that name. */
    ErrorCode (*InvokeCommand)(const char* name);
} CommandSuite;

#ifdef __cplusplus
}
#endif
#endif
