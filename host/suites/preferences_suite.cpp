// The preferences suite: the host's persistent booleans and points.
#include <cmath>

#include "host/api/vtg_preferences_suite.h"
#include "host/preferences.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

bool Valid(const char* a, const char* b) {
    return a != nullptr && b != nullptr && Preferences::validName(a) && Preferences::validName(b);
}

ErrorCode GetBoolean(const char* section, const char* key, int32_t* value) {
    if (!Valid(section, key) || value == nullptr)
        return kBadParameterErr;
    auto stored = Preferences::instance().boolean(section, key);
    if (!stored)
        return kNotFoundErr;
    *value = *stored ? 1 : 0;
    return kNoErr;
}

ErrorCode PutBoolean(const char* section, const char* key, int32_t value) {
    if (!Valid(section, key))
        return kBadParameterErr;
    return Preferences::instance().setBoolean(section, key, value != 0) ? kNoErr : kNotFoundErr;
}

ErrorCode GetPoint(const char* prefix, const char* key, VtgPoint* value) {
    if (!Valid(prefix, key) || value == nullptr)
        return kBadParameterErr;
    auto stored = Preferences::instance().point(prefix, key);
    if (!stored)
        return kNotFoundErr;
    *value = *stored;
    return kNoErr;
}

ErrorCode PutPoint(const char* prefix, const char* key, const VtgPoint* value) {
    if (!Valid(prefix, key) || value == nullptr || !std::isfinite(value->x) ||
        !std::isfinite(value->y))
        return kBadParameterErr;
    return Preferences::instance().setPoint(prefix, key, *value) ? kNoErr : kNotFoundErr;
}

const PreferencesSuite kPreferences = {&GetBoolean, &PutBoolean, &GetPoint, &PutPoint};

} // namespace

void PublishPreferencesSuite(SuiteBroker& broker) {
    broker.publish(kPreferencesSuiteName, kPreferencesSuiteVersion, &kPreferences);
}

} // namespace hostapp
