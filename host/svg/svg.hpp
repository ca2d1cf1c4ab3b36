// svg.hpp - SVG, the host's document format.
//
// Reading turns an SVG file into a document: groups, paths (every shape
// becomes a path or compound path), text, images, symbol instances, and
// everything else kept as foreign art written back unchanged. Document point
// (x, y) is SVG point (x + vx, vy + vh - y) for the viewBox (vx, vy, vw, vh),
// so the document's y axis grows upward.
//
// Writing emits art that nothing changed with its element and geometry
// attributes as read, and other paths as absolute M, L, C and Z commands (L
// for a straight piece) in their group's coordinates, numbers in their
// shortest exact form (3 decimals for the result of live effects, which the
// reader makes again from its source). Layers are written as the drawing
// editor's (inkscape:groupmode="layer"); what stood outside the layers
// (definitions, view settings, metadata, title, style sheets, comments) is
// written back where it was. The host's own data (plug-in art, dictionaries,
// tags, guides, locks, hidden art, corner flags, live-effect instances) goes
// in the namespace xmlns:vtg="urn:vertigon:host", so that a saved document
// reopens as it was: open, save, open, save gives the same bytes twice. A
// clipping group also gets a <clipPath vtg:kind="clip"> copy of its clipping
// path and a clip-path reference, so that any viewer clips it; reading drops
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
// A read that succeeds may leave a warning: one line naming what the file
// holds that is not applied (reading a file prints it to standard error).
struct SvgError {
    std::string message;
    std::string warning;
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
