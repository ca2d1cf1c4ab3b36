// The memory suite: named blocks from the host's accounting allocator.
#include "host/api/vtg_memory_suite.h"
#include "host/host.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

Memory* M() {
    return Host::current() ? &Host::current()->memory() : nullptr;
}

ErrorCode AllocateBlock(const char* name, size_t size, void** block) {
    if (M() == nullptr)
        return kOutOfMemoryErr;
    return M()->allocate(name, size, block);
}

ErrorCode ResizeBlock(void* block, size_t size, const char* name, void** resized) {
    if (M() == nullptr)
        return kOutOfMemoryErr;
    return M()->resize(block, size, name, resized);
}

ErrorCode FreeBlock(void* block) {
    if (M() == nullptr)
        return kBadParameterErr;
    return M()->free(block);
}

const MemorySuite kMemory = {&AllocateBlock, &ResizeBlock, &FreeBlock};

} // namespace

void PublishMemorySuite(SuiteBroker& broker) {
    broker.publish(kMemorySuiteName, kMemorySuiteVersion, &kMemory);
}

} // namespace hostapp
