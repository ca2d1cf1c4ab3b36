// memory.hpp - the host's named memory blocks, with accounting per name and
// fault injection for tests.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/api/vtg_base.h"

namespace hostapp {

class Memory {
public:
    struct Usage {
        int blocks = 0;
        std::size_t bytes = 0;
    };

    ~Memory();

    ErrorCode allocate(const char* name, std::size_t size, void** block);
    ErrorCode resize(void* block, std::size_t size, const char* name, void** resized);
    ErrorCode free(void* block);

    // Live blocks and bytes, in all and per name.
    Usage total() const;
    Usage usage(const std::string& name) const;
    std::map<std::string, Usage> usageByName() const;

    // Fault injection: the n-th allocation or resize from now fails (1 = the
    // next one); or every allocation of a given name fails.
    void failNth(int n) { failCountdown_ = n; }
    void failName(const std::string& name) { failName_ = name; }
    void clearFaults() {
        failCountdown_ = 0;
        failName_.reset();
    }
    // Allocations and resizes asked for so far (failed ones included), and
    // the ones an injected fault refused, with the block names.
    long requests() const { return requests_; }
    // Requests answered with -108, injected or not.
    long refusals() const { return refusals_; }
    const std::vector<std::pair<long, std::string>>& injectedFaults() const { return injected_; }

private:
    bool injectFault(const char* name);

    struct Block {
        std::string name;
        std::size_t size = 0;
    };
    std::map<void*, Block> blocks_;
    int failCountdown_ = 0;
    std::optional<std::string> failName_;
    long requests_ = 0;
    long refusals_ = 0;
    std::vector<std::pair<long, std::string>> injected_;
};

} // namespace hostapp
