// system.hpp - system services of this platform: the debug output channel,
// the millisecond tick count, the process environment and locale, the key
// state of the modifier keys, and opening a document or web page with the
// desktop's programs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// --- process locale ---------------------------------------------------------
// Recorded only: numbers keep the "C" form everywhere in this program.
void SetProcessLocale(const std::string& locale);
std::string ProcessLocale(); // empty until set

// --- modifier keys ----------------------------------------------------------
enum class Modifier { Alt, Ctrl, Shift };
bool IsKeyDown(Modifier key);
void SetKeyDown(Modifier key, bool down);
void ReleaseAllKeys();

// --- the desktop's programs --------------------------------------------------
// The command line of the user's default web browser as the desktop
// registers it (the Exec line of its desktop entry), nullopt when none is
// found. Tests install a lookup of their own.
std::optional<std::string> DefaultBrowserCommand();
using BrowserLookup = std::function<std::optional<std::string>()>;
void SetBrowserLookup(BrowserLookup lookup); // an empty lookup restores the desktop's

// Opens `argument` with `program` ("xdg-open" opens it with the desktop's
// choice). Returns a launch result: 32 or more on success, below 32 on
// failure (2: the program was not found). Every request is recorded as
// "PROGRAM ARGUMENT"; it is launched only when launching was enabled (the
// program does, tests never), else the recorder decides the result.
int ShellOpen(const std::string& program, const std::string& argument);
void EnableShellLaunch(bool enable);
const std::vector<std::string>& ShellRequests();
void ClearShellRequests();
// Decides the result of a request that is only recorded (default: 42).
using ShellRecorder = std::function<int(const std::string& program, const std::string& argument)>;
void SetShellRecorder(ShellRecorder recorder);

} // namespace platform
