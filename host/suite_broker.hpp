// suite_broker.hpp - the host's table of published suites.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "host/api/vtg_base.h"

namespace hostapp {

class SuiteBroker {
public:
    // Publishes a suite table under name and version. The table must outlive
    // the broker (suites are static tables).
    void publish(const char* name, int32_t version, const void* table);

    ErrorCode acquire(const char* name, int32_t version, const void** suite);
    ErrorCode release(const char* name, int32_t version);

    // Makes acquisition of one suite fail as if the host lacked it (tests).
    void refuse(const std::string& name) { refused_.insert(name); }
    void allow(const std::string& name) { refused_.erase(name); }

    // Acquisitions not yet released, over all suites.
    int outstanding() const;
    int outstanding(const std::string& name) const;

private:
    using Key = std::pair<std::string, int32_t>;
    struct Entry {
        const void* table = nullptr;
        int held = 0;
    };
    std::map<Key, Entry> suites_;
    std::set<std::string> refused_;
};

} // namespace hostapp
