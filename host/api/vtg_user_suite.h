/* vtg_user_suite.h - alerts and questions to the user. */
#ifndef VTG_API_USER_SUITE_H
#define VTG_API_USER_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kUserSuiteName "Host User Suite"
#define kUserSuiteVersion 21

typedef struct UserSuite {
    /* Shows `text` (new lines allowed) in the host's error alert. */
    ErrorCode (*ErrorAlert)(const char* text);
    /* Asks a yes/no question; *answer is 1 for yes, 0 for no. */
    ErrorCode (*YesNoAlert)(const char* text, int32_t* answer);
    /* Asks a question the user may suppress. When the user suppressed the
     * question under `key` earlier, nothing is shown and *answer is 1.
     * Otherwise *answer is 1 for OK and 0 for Cancel. */
    ErrorCode (*ConfirmSuppressible)(const char* text, const char* key, int32_t* answer);
    /* Asks for a name. `initial` fills the field. The answer is copied to
     * buffer (size bytes, cut on a character boundary, terminated).
     * kCancelledErr when the user cancelled. */
    ErrorCode (*PromptName)(const char* title, const char* initial, char* buffer, size_t size);
    /* Lets the user choose a folder; its path (no trailing separator) is
     * copied to buffer. kCancelledErr on cancel, kBufferTooSmallErr when the
     * path does not fit (buffer then holds an empty text). */
    ErrorCode (*ChooseFolder)(const char* title, char* buffer, size_t size);
} UserSuite;

#ifdef __cplusplus
}
#endif
#endif
