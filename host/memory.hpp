// memory.hpp - the host's named memory blocks, with accounting per name and
// fault injection for tests.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>

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

private:
    bool injectFault(const char* name);

    struct Block {
        std::string name;
        std::size_t size = 0;
    };
    std::map<void*, Block> blocks_;
    int failCountdown_ = 0;
    std::optional<std::string> failName_;
};

} // namespace hostapp
