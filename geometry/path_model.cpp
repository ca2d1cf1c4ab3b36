#include "geometry/path_model.hpp"

#include "core/suite_set.hpp"

namespace vtg {

PathSegment* gEffectSegments = nullptr;

ErrorCode AllocateSegmentArray(int32_t count, const char* name, PathSegment** segments) {
    *segments = nullptr;
    if (sMemory == nullptr)
        return kMemoryFull;
    const size_t n = count > 0 ? static_cast<size_t>(count) : 1;
    void* block = nullptr;
    ErrorCode err = sMemory->AllocateBlock(name, n * sizeof(PathSegment), &block);
    if (err != kNoErr || block == nullptr)
        return err != kNoErr ? err : kMemoryFull;
    *segments = static_cast<PathSegment*>(block);
    return kNoErr;
}

void FreeBlock(void* block) {
    if (block != nullptr && sMemory != nullptr)
        sMemory->FreeBlock(block);
}

ErrorCode AllocateSegments(SegmentBuffer& buffer, int32_t count, const char* name) {
    ErrorCode err = AllocateSegmentArray(count, name, &buffer.segments);
    buffer.capacity = err == kNoErr ? (count > 0 ? count : 1) : 0;
    return err;
}

void FreeSegments(SegmentBuffer& buffer) {
    FreeBlock(buffer.segments);
    buffer.segments = nullptr;
    buffer.capacity = 0;
}

ErrorCode CreateArtList(ArtList& list) {
    list.handles = nullptr;
    list.count = 0;
    if (sMemory == nullptr)
        return kMemoryFull;
    void* block = nullptr;
    ErrorCode err = sMemory->AllocateBlock(kArtListName, sizeof(ArtHandle), &block);
    if (err != kNoErr || block == nullptr)
        return err != kNoErr ? err : kMemoryFull;
    list.handles = static_cast<ArtHandle*>(block);
    return kNoErr;
}

ErrorCode AppendArt(ArtList& list, ArtHandle art) {
    if (list.handles == nullptr) {
        ErrorCode err = CreateArtList(list);
        if (err != kNoErr)
            return err;
    }
    // The spare slot takes the art; the block then grows to count + 1 slots
    // so that a spare slot exists again.
    void* block = nullptr;
    const size_t slots = static_cast<size_t>(list.count) + 2;
    ErrorCode err =
        sMemory->ResizeBlock(list.handles, slots * sizeof(ArtHandle), kArtListGrowName, &block);
    if (err != kNoErr || block == nullptr)
        return err != kNoErr ? err : kMemoryFull;
    list.handles = static_cast<ArtHandle*>(block);
    list.handles[list.count++] = art;
    return kNoErr;
}

void ReleaseArtList(ArtList& list) {
    FreeBlock(list.handles);
    list.handles = nullptr;
    list.count = 0;
}

} // namespace vtg
