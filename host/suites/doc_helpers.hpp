// doc_helpers.hpp - what the document suites share: reaching the host's
// documents from a C suite function and handing lists back as blocks.
#pragma once

#include <cstring>
#include <vector>

#include "host/doc/art.hpp"
#include "host/host.hpp"

namespace hostapp::docsuite {

inline doc::DocStore* Store() {
    return Host::current() ? &Host::current()->docs() : nullptr;
}

// The current document, or kNoDocumentErr.
inline ErrorCode CurrentDoc(doc::Document*& out) {
    out = nullptr;
    doc::DocStore* s = Store();
    if (s == nullptr || s->current() == nullptr)
        return kNoDocumentErr;
    out = s->current();
    return kNoErr;
}

inline ErrorCode Art(ArtHandle h, doc::ArtNode*& out) {
    out = nullptr;
    doc::DocStore* s = Store();
    if (s == nullptr)
        return kNoDocumentErr;
    return s->art(h, out);
}

// Copies a list of art into a host memory block owned by the caller.
inline ErrorCode ListOut(const std::vector<doc::ArtNode*>& arts, ArtHandle** list, int32_t* count) {
    *list = nullptr;
    *count = 0;
    if (arts.empty())
        return kNoErr;
    void* block = nullptr;
    if (ErrorCode e = Host::current()->memory().allocate(kVtgArtListBlockName,
                                                         arts.size() * sizeof(ArtHandle), &block))
        return e;
    auto* out = static_cast<ArtHandle*>(block);
    for (size_t i = 0; i < arts.size(); ++i)
        out[i] = doc::DocStore::handle(arts[i]);
    *list = out;
    *count = static_cast<int32_t>(arts.size());
    return kNoErr;
}

} // namespace hostapp::docsuite
