#include "platform/system.hpp"

#include <chrono>
#include <cstdlib>

namespace platform {
namespace {

DebugSink& debugSink() {
    static DebugSink sink;
    return sink;
}

TickSource& tickSource() {
    static TickSource source;
    return source;
}

} // namespace

void DebugOutput(const char* text) {
    if (text != nullptr && debugSink())
        debugSink()(text);
}

void SetDebugSink(DebugSink sink) { debugSink() = std::move(sink); }

std::uint32_t TickCount() {
    if (tickSource())
        return tickSource()();
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

void SetTickSource(TickSource source) { tickSource() = std::move(source); }

std::optional<std::string> GetEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

} // namespace platform
