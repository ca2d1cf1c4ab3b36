// live_updates.hpp - regeneration of plug-in art: after the edit art or the
// data of a plug-in art change, the host sends "Host Plugin Group"/"Host
// Notify Edits" and then "Host Update" to the plug-in that owns its group.
#pragma once

#include <string>
#include <vector>

#include "host/api/vtg_base.h"
#include "host/doc/document.hpp"

namespace hostapp {

class Host;

// Sends the two messages for one plug-in art (its group resolved from the
// stored name when needed). Art of a group nobody registered is left alone.
ErrorCode UpdatePluginArt(Host& host, doc::ArtNode* art);
// Every plug-in art of the document, innermost first (opening a document,
// `vertigon update`).
ErrorCode UpdateAllPluginArt(Host& host, doc::Document& document);
// The plug-in art whose data or edit art changed since it was last
// generated, judged from the document's pending changes.
ErrorCode UpdateChangedPluginArt(Host& host, doc::Document& document);
// Every plug-in art whose data or edit art differ from what it was last
// generated from, however it changed (the host runs this before it shows or
// saves a document).
ErrorCode UpdateStalePluginArt(Host& host, doc::Document& document);
// The plug-in art of the document whose last regeneration failed (its
// result is then the one before), one line each naming the art by its id
// (or the id of its source) and giving the reason. Empty when all are whole.
std::vector<std::string> FailedRegenerations(Host& host, doc::Document& document);

} // namespace hostapp
