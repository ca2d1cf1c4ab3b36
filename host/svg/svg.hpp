// svg.hpp - SVG, the host's document format.
//
// Reading turns an SVG file into a document: groups, paths (every shape
// becomes a path or compound path), text, images, symbol instances, and
// everything else kept as foreign art written back unchanged. Document point
// (x, y) is SVG point (x + vx, vy + vh - y) for the viewBox (vx, vy, vw, vh),
// so the document's y axis grows upward.
//
// Writing emits every path as absolute M, L, C and Z commands (L for a
// straight piece), numbers with at most 6 decimals (3 for the result of live
// effects, which the reader makes again from its source), and the host's own data (layers, plug-in
// art, dictionaries, tags, guides, locks, hidden art, corner flags, live-effect instances) in the
// namespace xmlns:vtg="urn:vertigon:host", so that a saved document reopens as it was: open, save,
// open, save gives the same bytes twice. A clipping group also gets a <clipPath vtg:kind="clip">
// copy of its clipping path and a clip-path reference, so that any viewer clips it; reading drops
// both again (the group's clipping path is what counts).
#pragma once

#include <cstddef>
#include <string>

#include "host/doc/document.hpp"

namespace hostapp::svg {

// The namespace of the host's own attributes and elements.
constexpr const char* kVtgNamespace = "urn:vertigon:host";

// The page (viewBox) width and height a document may have: what is smaller
// would be written as 0.
constexpr double kMinPageSize = 1e-6;
constexpr double kMaxPageSize = 1e7;

// The largest file the reader takes, in bytes.
constexpr size_t kMaxFileSize = size_t{256} << 20;

// The reason of a failed read or write: one line naming the file and, for
// bad input, the line and column ("in.svg:3:14: broken path data: ...").
struct SvgError {
    std::string message;
};

// Reads `text` (the contents of a file named `name`) into a new document of
// `store`, which becomes current. On failure no document is made.
bool ReadSvgText(doc::DocStore& store, const std::string& text, const std::string& name,
                 doc::Document*& out, SvgError& error);
// Reads the file at `path` (of at most `limit` bytes, read once); the
// document remembers the path.
bool ReadSvgFile(doc::DocStore& store, const std::string& path, doc::Document*& out,
                 SvgError& error, size_t limit = kMaxFileSize);

// The SVG text of a document. Fails with an error naming the art when a
// value would not read back (a coordinate that is not finite or beyond the
// reader's limit of 1e9, text that XML cannot hold); `text` is then empty.
bool WriteSvgText(const doc::Document& document, std::string& text, SvgError& error);
// The same for a document known to be writable (tests, benchmarks): values
// that cannot be written come out as 0.
std::string WriteSvgText(const doc::Document& document);
// Writes the document to `path` (platform::WriteWholeFile: a failure leaves
// no file and an existing file unchanged; "-" is standard output).
bool WriteSvgFile(const doc::Document& document, const std::string& path, SvgError& error);

} // namespace hostapp::svg
