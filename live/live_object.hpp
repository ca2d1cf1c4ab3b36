// live_object.hpp - what every live-object kind shares: the kinds'
// generators, regeneration on "Host Update", and the selection walks behind
// Apply, Release, Expand and the update of the selected objects.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/plugin_globals.hpp"
#include "host/api/vtg_base.h"

namespace vtg {

// One kind's share of the shape every kind follows.
struct LiveKindOps {
    // Fills `group` with what `source` generates under `record`; may be
    // null when `update` is set.
    ErrorCode (*generate)(ArtHandle group, ArtHandle source, const void* record) = nullptr;
    // The kind's adjustment of a copy of the panel's record before it is
    // written into a live object (a fresh seed, say); may be null.
    void (*adjustOnWrite)(void* record) = nullptr;
    // The kind's own regeneration from `editArt` into the emptied
    // `resultArt`, in place of the shared one (new group, converted
    // duplicate of the first source, `generate` on it and on the sources
    // below it, deletion of the duplicate); may be null.
    ErrorCode (*update)(ArtHandle editArt, ArtHandle resultArt, const void* record) = nullptr;
    // Apply's refinement of its selection walk: called for each source the
    // shared rules accept (`artKind` its art kind), sets `skip` to leave it
    // alone; may be null.
    ErrorCode (*refineApply)(ArtHandle source, int32_t artKind, bool& skip) = nullptr;
    // The copies one source makes under `record`, or -1 when a stored count
    // lies beyond the panel's range; may be null. Walks and regenerations
    // with a count beyond the range, or a result beyond kMaxResultSegments,
    // are refused with kResultTooLargeErr and change nothing.
    std::int64_t (*copiesPerSource)(const void* record) = nullptr;
    // Apply moves the source into the new object as it is, without locking
    // and unlocking it first.
    bool keepLock = false;
    // The kind's own Apply walk in place of the shared one (one object from
    // the whole selection, say); may be null.
    ErrorCode (*apply)(const void* record) = nullptr;
    // True while the kind's regeneration waits (a tool drag's preview); the
    // result is then left as it is. May be null.
    bool (*paused)() = nullptr;
    // The shared regeneration builds from the first source alone (the
    // sources below it are left out).
    bool firstSourceOnly = false;
};
// The kind whose registered group is `group`, or kNoKind.
LiveObjectKind KindOfGroup(PluginGroupHandle group);
// The kind's operations, or null for a kind without a generator yet.
const LiveKindOps* LiveKindOperations(LiveObjectKind kind);

// Sets the current kind in the globals and for the record readers.
void SetCurrentKind(LiveObjectKind kind);

// "Host Update": migration, the kind of the art, then the kind's update
// routine. Success for art of no kind of this plug-in.
ErrorCode UpdateLiveObject(ArtHandle art);

// The host's art converter on a generator's source copy: text becomes the
// outlines of its glyphs (the handle may change). A host without the
// converter leaves the art as it is. On failure the art is unchanged and
// the host's code (no font, empty text) is returned.
ErrorCode ConvertToPaths(ArtHandle& art);

// The undo and redo text: "VERTiGON6: " + text with the prefix, else text.
void SetUndoText(const char* text, bool prefix);

// The message of another kind's live object in Apply's way.
inline constexpr const char* kOtherLiveObjectMessage =
    "適用対象とする他のライブ・オブジェクトは拡張しておいてください。\n[VERTiGON6]";

// kResultTooLargeErr for a record whose count lies beyond what the kind can
// make (a damaged preset or recording): the walks below then change nothing.
ErrorCode CheckRecordBounds(LiveObjectKind kind, const void* record);

// The walks over the host's selection (from entry 1). `record` is the
// panel's parameter block of `kind`. Each stops at the first host error
// and returns it.
ErrorCode MakeLiveObjectsOf(LiveObjectKind kind, const void* record);
ErrorCode ReleaseLiveObjectsOf(LiveObjectKind kind);
// Apply's walk alone: each accepted source of the selection becomes a live
// object of `kind` with `record`; no Release, no recording, no undo text.
ErrorCode ApplyWalkOf(LiveObjectKind kind, const void* record);
ErrorCode ExpandLiveObjectsOf(LiveObjectKind kind);
// Writes the record into every selected live object of `kind`; the undo
// kind follows `scrollCode` (4 and 8 ordinary steps, others silent).
ErrorCode UpdateSelectedLiveObjectsOf(LiveObjectKind kind, const void* record, int32_t scrollCode);

// What the selection offers the panel of `kind`.
struct SelectionFlags {
    bool liveObject = false; // a live object of the kind (Expand, Release)
    bool source = false;     // art Apply would accept
};
// Walks the selection; every live object of `kind` found is read into
// `record` (the panel then shows its values).
ErrorCode ScanSelection(LiveObjectKind kind, void* record, SelectionFlags& flags);

// Sets the kind's default values in `record` (its preset type's defaults).
void SetKindDefaults(LiveObjectKind kind, void* record);
// The size of the kind's parameter block.
std::size_t KindBlockSize(LiveObjectKind kind);

} // namespace vtg
