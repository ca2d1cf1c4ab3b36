#include "host/memory.hpp"

#include <cstdlib>
#include <cstring>

namespace hostapp {

Memory::~Memory() {
    // Blocks a plug-in leaked are still given back to the system.
    for (auto& [ptr, block] : blocks_)
        std::free(ptr);
}

bool Memory::injectFault(const char* name) {
    ++requests_;
    bool fail = failName_ && name != nullptr && *failName_ == name;
    if (failCountdown_ > 0 && --failCountdown_ == 0)
        fail = true;
    if (fail)
        injected_.emplace_back(requests_, name != nullptr ? name : "");
    return fail;
}

ErrorCode Memory::allocate(const char* name, std::size_t size, void** block) {
    if (block == nullptr)
        return kBadParameterErr;
    *block = nullptr;
    if (injectFault(name)) {
        ++refusals_;
        return kOutOfMemoryErr;
    }
    // One byte at least, so that every block has its own address.
    void* ptr = std::calloc(1, size == 0 ? 1 : size);
    if (ptr == nullptr) {
        ++refusals_;
        return kOutOfMemoryErr;
    }
    blocks_[ptr] = Block{name != nullptr ? name : "", size};
    *block = ptr;
    return kNoErr;
}

ErrorCode Memory::resize(void* block, std::size_t size, const char* name, void** resized) {
    if (resized == nullptr)
        return kBadParameterErr;
    if (block == nullptr)
        return allocate(name, size, resized);
    auto it = blocks_.find(block);
    if (it == blocks_.end())
        return kBadParameterErr;
    if (injectFault(name)) {
        ++refusals_;
        return kOutOfMemoryErr;
    }
    void* ptr = std::realloc(block, size == 0 ? 1 : size);
    if (ptr == nullptr) {
        ++refusals_;
        return kOutOfMemoryErr;
    }
    std::size_t old = it->second.size;
    blocks_.erase(it);
    if (size > old)
        std::memset(static_cast<char*>(ptr) + old, 0, size - old);
    blocks_[ptr] = Block{name != nullptr ? name : "", size};
    *resized = ptr;
    return kNoErr;
}

ErrorCode Memory::free(void* block) {
    if (block == nullptr)
        return kNoErr;
    auto it = blocks_.find(block);
    if (it == blocks_.end())
        return kBadParameterErr;
    std::free(block);
    blocks_.erase(it);
    return kNoErr;
}

Memory::Usage Memory::total() const {
    Usage u;
    for (const auto& [ptr, block] : blocks_) {
        ++u.blocks;
        u.bytes += block.size;
    }
    return u;
}

Memory::Usage Memory::usage(const std::string& name) const {
    Usage u;
    for (const auto& [ptr, block] : blocks_)
        if (block.name == name) {
            ++u.blocks;
            u.bytes += block.size;
        }
    return u;
}

std::map<std::string, Memory::Usage> Memory::usageByName() const {
    std::map<std::string, Usage> out;
    for (const auto& [ptr, block] : blocks_) {
        auto& u = out[block.name];
        ++u.blocks;
        u.bytes += block.size;
    }
    return out;
}

} // namespace hostapp
