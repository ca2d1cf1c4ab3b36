/* vtg_folders_suite.h - well-known folders. */
#ifndef VTG_API_FOLDERS_SUITE_H
#define VTG_API_FOLDERS_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kFoldersSuiteName "Host Folders Suite"
#define kFoldersSuiteVersion 5

/* Folder kinds for GetFolder. */
#define kFolderUserDocuments 16 /* a per-user folder for the user's own files */
#define kFolderUserConfig 17    /* the host's per-user configuration folder   */

typedef struct FoldersSuite {
    /* Copies the folder that holds the plug-in's library file (no trailing
     * separator) to buffer. kBufferTooSmallErr when it does not fit. */
    ErrorCode (*GetPluginFolder)(PluginRef plugin, char* buffer, size_t size);
    /* Copies the folder of `kind` to buffer. kNotFoundErr for an unknown kind. */
    ErrorCode (*GetFolder)(int32_t kind, char* buffer, size_t size);
} FoldersSuite;

#ifdef __cplusplus
}
#endif
#endif
