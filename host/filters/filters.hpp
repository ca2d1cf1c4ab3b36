// filters.hpp - the host's filter menu: the one-shot filters plug-ins
// registered, and "Go Filter", which runs one on the selection as a single
// undo step.
#pragma once

#include <string>
#include <vector>

#include "host/host.hpp"
#include "host/registry.hpp"

namespace hostapp::filters {

// The filter menu in registration order: "category/title" per filter.
std::vector<std::string> FilterMenu(Host& host);

// The filter registered as `word`: its internal name, its menu title, or
// its title without the trailing "..." (null when none matches).
FilterHandleOpaque* FindFilter(Host& host, const std::string& word);

// Runs `filter` on the current document: the pending operation ends, then
// "Host Filter"/"Host Get Parameters" (skipped when `askParameters` is
// false, as the host's "again" command does) and "Host Filter"/"Host Go".
// Whatever either message changed becomes one undo step when both succeed;
// on a failure or Cancel the document returns to where it was. Returns the
// first failing code, kNotFoundErr for a null filter and kNoDocumentErr
// without a document.
ErrorCode RunFilter(Host& host, FilterHandleOpaque* filter, bool askParameters = true);

// The filter last run with success (null when none), for "again".
FilterHandleOpaque* LastFilter(Host& host);

} // namespace hostapp::filters
