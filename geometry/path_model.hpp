// path_model.hpp - the in-memory form of paths that every algorithm shares:
// PathSegment arrays in named host blocks, the per-path bookkeeping record,
// the captured paths of one object and a growable list of art handles.
#pragma once

#include <cstdint>

#include "core/error_codes.hpp"
#include "host/api/vtg_base.h"
#include "host/api/vtg_path_suite.h"

namespace vtg {

// --- segment limits ---------------------------------------------------------
// Capacity of the fixed working arrays.
inline constexpr int kSegmentBufferCapacity = 32000;
// No path the plug-in writes has more segments than this.
inline constexpr int kMaxWrittenSegments = 31998;
// A piece is started only while its start index is at most this.
inline constexpr int kMaxPieceStart = 31997;
// A piece is halved only while the work array's last index is at most this.
inline constexpr int kMaxSplitLast = 31998;

// The lowest depth: "no depth met yet".
inline constexpr double kNoDepth = -1.7976931348623158e307;

// --- codes of this subsystem -----------------------------------------------
// A path lies on another layer than the group being re-stacked.
inline constexpr ErrorCode kPathOnOtherLayer = FourCC("sPsL");
// A point mapping's answer for a point outside its area (a status).
inline constexpr ErrorCode kOutsideArea = FourCC("ooTa");

// --- SegmentBuffer names (labels for the host's memory accounting) ----------
inline constexpr const char* kEffectSegmentsName = "g buffer for segments";
inline constexpr const char* kDriverSourceName = "buffer 2 for segments";
inline constexpr const char* kAnchorCopyName = "buffer 1 for segments";
inline constexpr const char* kTransformWorkName = "transform sgs";
inline constexpr const char* kTransformResultName = "transform segs";
inline constexpr const char* kCapturedSegmentsName = "segs buffer";
inline constexpr const char* kPathInfoName = "paths info buffer";
inline constexpr const char* kReorderName = "reorder buffer";
inline constexpr const char* kArtListName = "ArtHandle";
inline constexpr const char* kArtListGrowName = "+ArtHandle";

// A scratch array of segments from the host's named-block allocator.
struct SegmentBuffer {
    PathSegment* segments = nullptr;
    int32_t capacity = 0;
};

// Allocates `count` segments (at least one) under `name`; -108 when the host
// has no memory. The buffer must be empty.
ErrorCode AllocateSegments(SegmentBuffer& buffer, int32_t count, const char* name);
// Frees the block (if any) and empties the buffer.
void FreeSegments(SegmentBuffer& buffer);
// The same pair on bare arrays.
ErrorCode AllocateSegmentArray(int32_t count, const char* name, PathSegment** segments);
void FreeBlock(void* block);

// The fixed 32 000-segment buffer of the effects and tools, held while one
// path is transformed and then released.
extern PathSegment* gEffectSegments;

// Bookkeeping for one captured path.
struct PathInfo {
    int16_t count = 0;
    int32_t closed = 0;
    double depth = kNoDepth;
    PathSegment* segments = nullptr; // owned; a named host block
};

// A growable array of art handles with one spare slot.
struct ArtList {
    ArtHandle* handles = nullptr; // "ArtHandle" / "+ArtHandle" block
    int32_t count = 0;
};

// Allocates the list's first block of one slot ("ArtHandle"); -108 on failure.
ErrorCode CreateArtList(ArtList& list);
// Appends `art`, growing the block to count + 1 slots. -108 on failure (the
// list is then unchanged).
ErrorCode AppendArt(ArtList& list, ArtHandle art);
// Frees the list's block and empties it.
void ReleaseArtList(ArtList& list);

// The captured state of the paths of one object.
struct PathSet {
    VtgRect bounds{0, 0, 0, 0};
    int32_t pathCount = 0;
    int32_t sourceSegmentTotal = 0;
    int32_t resultSegmentTotal = 0;
    int32_t status = 0;          // 0, or status 1 or 2 of the last transform
    PathInfo* working = nullptr; // rewritten by transforms
    PathInfo* source = nullptr;  // pristine copies read from the host
};

} // namespace vtg
