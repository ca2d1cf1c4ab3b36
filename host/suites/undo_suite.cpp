// The undo suite: texts, revert and kind of the current transaction.
#include "host/api/vtg_undo_suite.h"
#include "host/suites/doc_helpers.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

using docsuite::CurrentDoc;

ErrorCode SetUndoText(const char* undoText, const char* redoText) {
    doc::Document* d = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    if (undoText != nullptr)
        d->pending.undoText = undoText;
    if (redoText != nullptr)
        d->pending.redoText = redoText;
    return kNoErr;
}

ErrorCode RevertPending() {
    doc::Document* d = nullptr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    doc::RevertPending(*d);
    return kNoErr;
}

ErrorCode SetUndoKind(int32_t kind) {
    doc::Document* d = nullptr;
    if (kind != kVtgUndoOrdinary && kind != kVtgUndoSilent)
        return kBadParameterErr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    d->pending.kind = kind;
    return kNoErr;
}

ErrorCode GetUndoText(char* buffer, size_t size) {
    doc::Document* d = nullptr;
    if (buffer == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = CurrentDoc(d))
        return e;
    return CopyOut(d->pending.undoText, buffer, size);
}

const UndoSuite kUndo = {&SetUndoText, &RevertPending, &SetUndoKind, &GetUndoText};

} // namespace

void PublishUndoSuite(SuiteBroker& broker) {
    broker.publish(kUndoSuiteName, kUndoSuiteVersion, &kUndo);
}

} // namespace hostapp
