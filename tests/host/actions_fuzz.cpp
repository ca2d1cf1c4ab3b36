// A libFuzzer target for the recorded-actions reader: any bytes either give
// an error and leave the events alone, or events that save and read back
// as the same events, bit for bit.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/actions.hpp"

namespace {

[[noreturn]] void Fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "actions_fuzz: %s\n%s\n", what, detail.c_str());
    std::abort();
}

bool Same(const hostapp::RecordedEvent& a, const hostapp::RecordedEvent& b) {
    if (a.action != b.action || !(a.values == b.values))
        return false;
    for (std::size_t i = 0; i < a.values.values.size(); ++i)
        if (std::memcmp(&a.values.values[i].real, &b.values.values[i].real, sizeof(double)) != 0)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<hostapp::RecordedEvent> events(1);
    events[0].action = "kept";
    std::string error;
    if (!hostapp::ReadActionEvents(text, events, error)) {
        if (events.size() != 1 || events[0].action != "kept")
            Fault("a failed read changed the events", error);
        if (error.empty() || error.find('\n') != std::string::npos)
            Fault("a failed read gave no one-line error", error);
        return 0;
    }
    const std::string saved = hostapp::WriteActionFile(events);
    std::vector<hostapp::RecordedEvent> back;
    if (!hostapp::ReadActionEvents(saved, back, error))
        Fault("the events read do not read back once saved", error + "\n" + saved);
    if (back.size() != events.size())
        Fault("the events read back are not as many", saved);
    for (std::size_t i = 0; i < back.size(); ++i)
        if (!Same(back[i], events[i]))
            Fault("an event reads back differently", saved);
    return 0;
}
