#include "host/suite_broker.hpp"

namespace hostapp {

void SuiteBroker::publish(const char* name, int32_t version, const void* table) {
    suites_[{name, version}].table = table;
}

ErrorCode SuiteBroker::acquire(const char* name, int32_t version, const void** suite) {
    if (name == nullptr || suite == nullptr)
        return kBadParameterErr;
    *suite = nullptr;
    auto it = suites_.find({name, version});
    if (it == suites_.end() || refused_.count(name) != 0)
        return kSuiteNotFoundErr;
    ++it->second.held;
    *suite = it->second.table;
    return kNoErr;
}

ErrorCode SuiteBroker::release(const char* name, int32_t version) {
    if (name == nullptr)
        return kBadParameterErr;
    auto it = suites_.find({name, version});
    if (it == suites_.end() || it->second.held == 0)
        return kNotAcquiredErr;
    --it->second.held;
    return kNoErr;
}

int SuiteBroker::outstanding() const {
    int total = 0;
    for (const auto& [key, entry] : suites_)
        total += entry.held;
    return total;
}

int SuiteBroker::outstanding(const std::string& name) const {
    int total = 0;
    for (const auto& [key, entry] : suites_)
        if (key.first == name)
            total += entry.held;
    return total;
}

} // namespace hostapp
