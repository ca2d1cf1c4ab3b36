/*
 * vtg_undo_suite.h - the undo history of the current document.
 *
 * Every change to a document belongs to the current transaction. The host
 * opens one transaction per user operation (a menu command, a dialog, one
 * press-drag-release of a tool, ...) and commits it when the operation ends;
 * one undo then removes the whole operation.
 */
#ifndef VTG_API_UNDO_SUITE_H
#define VTG_API_UNDO_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kUndoSuiteName "Host Undo Suite"
#define kUndoSuiteVersion 1

/* Kinds of the current transaction (SetUndoKind). */
#define kVtgUndoOrdinary 0 /* an undo step of its own (the default)          */
/* A silent step: on commit the host folds it into the step before it, so
 * undo removes both together; it shows no text of its own. */
#define kVtgUndoSilent 1

typedef struct UndoSuite {
    /* SetUndoText: the texts the host shows for undoing and redoing the
     * current transaction (copied). Null keeps the text as it is.
     * Errors: kNoDocumentErr. */
    ErrorCode (*SetUndoText)(const char* undoText, const char* redoText);
    /* RevertPending: undoes every change of the current transaction so far;
     * art it created dies, art it deleted lives again with the same handles,
     * changed art gets its earlier state back. The transaction stays open. */
    ErrorCode (*RevertPending)(void);
    /* SetUndoKind: kVtgUndoOrdinary or kVtgUndoSilent for the current
     * transaction. kBadParameterErr for another value. */
    ErrorCode (*SetUndoKind)(int32_t kind);
    /* GetUndoText: the undo text of the current transaction (empty when
     * none), copied into buffer (kBufferTooSmallErr when cut). */
    ErrorCode (*GetUndoText)(char* buffer, size_t size);
} UndoSuite;

#ifdef __cplusplus
}
#endif
#endif
