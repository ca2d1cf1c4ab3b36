#include "platform/system.hpp"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

void SetDebugSink(DebugSink sink) {
    debugSink() = std::move(sink);
}

std::uint32_t TickCount() {
    if (tickSource())
        return tickSource()();
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

void SetTickSource(TickSource source) {
    tickSource() = std::move(source);
}

std::optional<std::string> GetEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

namespace {

std::string& localeText() {
    static std::string locale;
    return locale;
}

bool gKeys[3] = {false, false, false};

BrowserLookup& browserLookup() {
    static BrowserLookup lookup;
    return lookup;
}

ShellRecorder& shellRecorder() {
    static ShellRecorder recorder;
    return recorder;
}

std::vector<std::string>& shellRequests() {
    static std::vector<std::string> requests;
    return requests;
}

bool gLaunch = false;

std::string Trim(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return "";
    std::size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// The value of `key` in section `section` of a desktop-style key file.
std::optional<std::string> KeyFileValue(const std::string& path, const std::string& section,
                                        const std::string& key) {
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::string line, current;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            continue;
        }
        if (current != section)
            continue;
        std::size_t eq = line.find('=');
        if (eq != std::string::npos && Trim(line.substr(0, eq)) == key)
            return Trim(line.substr(eq + 1));
    }
    return std::nullopt;
}

std::vector<std::string> SplitPaths(const std::string& list) {
    std::vector<std::string> out;
    std::stringstream in(list);
    std::string part;
    while (std::getline(in, part, ':'))
        if (!part.empty())
            out.push_back(part);
    return out;
}

// The desktop's registered handler of https links: mimeapps.list names a
// desktop entry, whose Exec line is the command.
std::optional<std::string> DesktopBrowserCommand() {
    std::string home = GetEnvironment("HOME").value_or("");
    std::string config = GetEnvironment("XDG_CONFIG_HOME").value_or(home + "/.config");
    std::string data = GetEnvironment("XDG_DATA_HOME").value_or(home + "/.local/share");
    std::vector<std::string> dataDirs = {data};
    for (const std::string& d :
         SplitPaths(GetEnvironment("XDG_DATA_DIRS").value_or("/usr/local/share:/usr/share")))
        dataDirs.push_back(d);
    std::vector<std::string> lists = {config + "/mimeapps.list", "/etc/xdg/mimeapps.list"};
    for (const std::string& d : dataDirs)
        lists.push_back(d + "/applications/mimeapps.list");
    for (const std::string& list : lists) {
        auto entry = KeyFileValue(list, "Default Applications", "x-scheme-handler/https");
        if (!entry || entry->empty())
            continue;
        std::string name = entry->substr(0, entry->find(';'));
        for (const std::string& d : dataDirs) {
            auto exec = KeyFileValue(d + "/applications/" + name, "Desktop Entry", "Exec");
            if (exec && !exec->empty())
                return exec;
        }
    }
    return std::nullopt;
}

int Launch(const std::string& program, const std::string& argument) {
    std::vector<char*> argv;
    std::string p = program, a = argument;
    argv.push_back(p.data());
    argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, p.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return 2;
    // The opener returns at once; its exit status tells whether it worked.
    int status = 0;
    if (program == "xdg-open") {
        if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return 2;
    }
    return 42;
}

} // namespace

void SetProcessLocale(const std::string& locale) {
    localeText() = locale;
}
std::string ProcessLocale() {
    return localeText();
}

bool IsKeyDown(Modifier key) {
    return gKeys[static_cast<int>(key)];
}
void SetKeyDown(Modifier key, bool down) {
    gKeys[static_cast<int>(key)] = down;
}
void ReleaseAllKeys() {
    gKeys[0] = gKeys[1] = gKeys[2] = false;
}

std::optional<std::string> DefaultBrowserCommand() {
    if (browserLookup())
        return browserLookup()();
    return DesktopBrowserCommand();
}

void SetBrowserLookup(BrowserLookup lookup) {
    browserLookup() = std::move(lookup);
}

int ShellOpen(const std::string& program, const std::string& argument) {
    shellRequests().push_back(program + " " + argument);
    if (gLaunch)
        return Launch(program, argument);
    if (shellRecorder())
        return shellRecorder()(program, argument);
    return 42;
}

void EnableShellLaunch(bool enable) {
    gLaunch = enable;
}
const std::vector<std::string>& ShellRequests() {
    return shellRequests();
}
void ClearShellRequests() {
    shellRequests().clear();
}
void SetShellRecorder(ShellRecorder recorder) {
    shellRecorder() = std::move(recorder);
}

} // namespace platform
