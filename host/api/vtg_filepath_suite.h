/* vtg_filepath_suite.h - facts about file paths. Paths are UTF-8 with '/'. */
#ifndef VTG_API_FILEPATH_SUITE_H
#define VTG_API_FILEPATH_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kFilePathSuiteName "Host File Path Suite"
#define kFilePathSuiteVersion 8

typedef struct FilePathSuite {
    /* *exists is 1 when something exists at path, else 0. */
    ErrorCode (*Exists)(const char* path, int32_t* exists);
    /* *isFolder is 1 when path names a folder, else 0. */
    ErrorCode (*IsFolder)(const char* path, int32_t* isFolder);
    /* Copies the folder part of path (without the last separator) to buffer.
     * kBufferTooSmallErr when it does not fit (buffer then empty). */
    ErrorCode (*ParentFolder)(const char* path, char* buffer, size_t size);
} FilePathSuite;

#ifdef __cplusplus
}
#endif
#endif
