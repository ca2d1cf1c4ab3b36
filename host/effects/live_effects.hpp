// live_effects.hpp - the host's live-effect mechanism: effect instances in
// an art's appearance, their editing through the plug-in's dialog with a
// preview, and the rendering that runs an art's effects in order on a copy
// of its source art (the copy is what shows and what a file shows).
#pragma once

#include <string>
#include <vector>

#include "host/doc/document.hpp"
#include "host/host.hpp"

namespace hostapp::effects {

// The top-level objects of the selection: selected art whose container is
// not selected itself, in document order.
std::vector<doc::ArtNode*> SelectedObjects(doc::Document& document);

// Adds the effect registered as `name` to every selected object: the
// plug-in's edit runs ("Host Live Effect Edit Parameters" with a new
// instance); accepted, every object gets an instance with the edited
// parameters, else the document is left as it was. Returns the edit's code
// (kNotFoundErr for an unknown effect, kNoSelectionErr without selection).
ErrorCode AddEffect(Host& host, const std::string& name);

// Edits the last instance of effect `name` (empty: the last instance of any
// effect) of the selected objects that have one; Cancel leaves everything
// as it was.
ErrorCode EditEffect(Host& host, const std::string& name);

// Runs the effects of `art` on a fresh copy of it (its effectResult); art
// without effects loses its result. Changes to the copy are no undo step.
ErrorCode RenderArt(Host& host, doc::ArtNode* art);
// Generates again the live objects whose source or data changed, then
// renders every art of the document that has effects, inner art first.
ErrorCode RenderDocument(Host& host, doc::Document& document);
// Renders as RenderDocument does and names each art whose effects failed,
// one line each: its id and the reason.
std::vector<std::string> RenderDocumentFailures(Host& host, doc::Document& document);

// The host command "expandStyle": every selected object's live effects
// become plain art (a copy of what they show, with the object's id and
// selection, in its place). During an effect edit the edited objects are
// expanded when the edit is accepted, in the edit's undo step.
ErrorCode ExpandStyle(Host& host);

// "Host Live Effect Interpolate Parameters" for one effect.
ErrorCode Interpolate(Host& host, const std::string& name, const doc::Entries& start,
                      const doc::Entries& end, double fraction, doc::Entries& out);
// Scales the effect parameters of `art` (and below) by `scale`: effects
// registered with scalable parameters are asked ("Host Live Effect Scale
// Parameters"); the others are left. Returns the first error.
ErrorCode ScaleParameters(Host& host, doc::ArtNode* art, double scale);

// The edit suite's UpdateParameters: the edited parameters into the
// instances of the edit whose preview context `preview` is, shown on fresh
// copies. kBadParameterErr when no such edit runs.
ErrorCode UpdateEditedParameters(void* preview, DictionaryHandle parameters);

// No art is selected.
inline constexpr ErrorCode kNoSelectionErr = 0x2173656C; // "!sel"

} // namespace hostapp::effects
