/* vtg_memory_suite.h - named memory blocks. */
#ifndef VTG_API_MEMORY_SUITE_H
#define VTG_API_MEMORY_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kMemorySuiteName "Host Memory Suite"
#define kMemorySuiteVersion 1

typedef struct MemorySuite {
    /* Allocates `size` bytes, zero-filled, labelled `name` in the host's
     * accounting. *block is owned by the caller until FreeBlock.
     * Errors: kOutOfMemoryErr (then *block is null). */
    ErrorCode (*AllocateBlock)(const char* name, size_t size, void** block);
    /* Resizes a block, keeping its contents (new bytes zero-filled) and
     * relabelling it `name`. On success *resized replaces block; on
     * kOutOfMemoryErr the old block is untouched and still owned by the
     * caller. kBadParameterErr for a block this host did not allocate. */
    ErrorCode (*ResizeBlock)(void* block, size_t size, const char* name, void** resized);
    /* Frees a block; null is accepted. kBadParameterErr for a block this
     * host did not allocate. */
    ErrorCode (*FreeBlock)(void* block);
} MemorySuite;

#ifdef __cplusplus
}
#endif
#endif
