/* vtg_preferences_suite.h - the host's persistent preferences store.
 *
 * Values are kept by the host between sessions: booleans by section and
 * key (suppressed confirmations), points by prefix and key (panel and
 * dialog positions, "Location" under a panel's prefix). Sections, prefixes
 * and keys are non-empty UTF-8 texts without control characters. */
#ifndef VTG_API_PREFERENCES_SUITE_H
#define VTG_API_PREFERENCES_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kPreferencesSuiteName "Host Preferences Suite"
#define kPreferencesSuiteVersion 1

typedef struct PreferencesSuite {
    /* Reads the boolean `key` of `section` into *value (0 or 1).
     * kNotFoundErr when it was never stored (then *value is unchanged);
     * kBadParameterErr for a null or malformed argument. */
    ErrorCode (*GetBoolean)(const char* section, const char* key, int32_t* value);
    /* Stores a boolean (any non-zero value is stored as 1) and writes the
     * store to disk. kBadParameterErr for a malformed name; the value is
     * kept for this session even when the file cannot be written, which is
     * reported as kNotFoundErr. */
    ErrorCode (*PutBoolean)(const char* section, const char* key, int32_t value);
    /* Reads the point `key` under `prefix` into *value. kNotFoundErr when
     * it was never stored (then *value is unchanged). */
    ErrorCode (*GetPoint)(const char* prefix, const char* key, VtgPoint* value);
    /* Stores a point (finite coordinates only, else kBadParameterErr) and
     * writes the store to disk, as PutBoolean. */
    ErrorCode (*PutPoint)(const char* prefix, const char* key, const VtgPoint* value);
} PreferencesSuite;

#ifdef __cplusplus
}
#endif
#endif
