// system.hpp - system services of this platform: the debug output channel,
// the millisecond tick count and the process environment.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// --- debug output -----------------------------------------------------------
// Text written here is meant for a developer. Without a sink it goes nowhere;
// the host installs a sink that records it in its log.
void DebugOutput(const char* text);
using DebugSink = std::function<void(const char* text)>;
void SetDebugSink(DebugSink sink);

// --- time -------------------------------------------------------------------
// Milliseconds since an arbitrary start, wrapping at 2^32. Tests install a
// source of their own to make new random seeds predictable.
std::uint32_t TickCount();
using TickSource = std::function<std::uint32_t()>;
void SetTickSource(TickSource source); // an empty source restores the clock

// --- environment ------------------------------------------------------------
std::optional<std::string> GetEnvironment(const char* name);

} // namespace platform
