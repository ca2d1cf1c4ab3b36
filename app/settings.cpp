#include "app/settings.hpp"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "platform/file_write.hpp"
#include "platform/system.hpp"

namespace app {
namespace {

namespace fs = std::filesystem;

// The folder the plug-in keeps its preset files in, under a profile.
constexpr const char* kSettingsFolder = "VERTiGON6 User Settings";

std::string Env(const char* name) {
    return platform::GetEnvironment(name).value_or("");
}

std::string Home() {
    const std::string home = Env("HOME");
    return home.empty() ? "." : home;
}

// A folder for the private profile: memory-backed when the system offers
// one (the first use's seeding flushes 37 files to the disk otherwise).
std::string TemporaryBase() {
    for (const std::string& base :
         {Env("XDG_RUNTIME_DIR"), std::string("/dev/shm"), Env("TMPDIR"), std::string("/tmp")}) {
        std::error_code ec;
        if (!base.empty() && fs::is_directory(base, ec) && ::access(base.c_str(), W_OK) == 0)
            return base;
    }
    return ".";
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The records of a preset file start at "$" TAB at a line's start; the
// second is "Last Setting".
std::vector<std::size_t> RecordStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t at = text.find("$\t"); at != std::string::npos; at = text.find("$\t", at + 2))
        if (at == 0 || text[at - 1] == '\n')
            starts.push_back(at);
    return starts;
}

std::string RecordName(const std::string& text, std::size_t start) {
    const std::size_t end = text.find_first_of("\r\n", start);
    return text.substr(start + 2, end == std::string::npos ? std::string::npos : end - start - 2);
}

// Makes the record named `preset` the file's "Last Setting"; false when the
// file holds no such record.
bool PromotePreset(std::string& text, const std::string& preset) {
    const std::vector<std::size_t> starts = RecordStarts(text);
    auto end = [&](std::size_t i) { return i + 1 < starts.size() ? starts[i + 1] : text.size(); };
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (RecordName(text, starts[i]) != preset)
            continue;
        if (i == 1 || starts.size() < 2)
            return true; // "Last Setting" itself
        std::string record = text.substr(starts[i], end(i) - starts[i]);
        record.replace(2, preset.size(), "Last Setting");
        text.replace(starts[1], end(1) - starts[1], record);
        return true;
    }
    return false;
}

} // namespace

std::string UseUserProfile() {
    if (!Env("USERPROFILE").empty())
        return {};
    std::string data = Env("XDG_DATA_HOME");
    if (data.empty())
        data = Home() + "/.local/share";
    const fs::path profile = fs::path(data) / "vertigon";
    std::error_code ec;
    fs::create_directories(profile, ec);
    if (ec)
        return profile.string() + ": cannot create the settings folder: " + ec.message();
    const fs::path old = fs::path(Home()) / kSettingsFolder;
    const fs::path now = profile / kSettingsFolder;
    if (fs::is_directory(old, ec) && !fs::exists(now, ec)) {
        fs::rename(old, now, ec);
        if (!ec)
            std::fprintf(stderr, "vertigon: moved your settings from %s to %s\n", old.c_str(),
                         now.c_str());
    }
    ::setenv("USERPROFILE", profile.c_str(), 1);
    return {};
}

std::string PrivateProfile::open(const std::string& feature, const std::string& presetFile,
                                 const std::string& preset) {
    std::string user = Env("USERPROFILE");
    if (user.empty()) {
        std::string data = Env("XDG_DATA_HOME");
        user = (data.empty() ? Home() + "/.local/share" : data) + "/vertigon";
    }
    std::string pattern = TemporaryBase() + "/vertigon-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr)
        return "cannot make a private settings folder in " + TemporaryBase();
    folder_ = name.data();

    if (!preset.empty()) {
        const fs::path from = fs::path(user) / kSettingsFolder;
        const fs::path to = fs::path(folder_) / kSettingsFolder;
        std::error_code ec;
        if (!fs::is_directory(from, ec))
            return "--preset: there are no saved settings in " + from.string();
        fs::copy(from, to, fs::copy_options::recursive, ec);
        if (ec)
            return "--preset: cannot copy the settings of " + from.string() + ": " + ec.message();
        // The file of the feature; a pattern (one file per variant) is
        // looked up in every file that matches it.
        std::vector<fs::path> candidates;
        const std::size_t hole = presetFile.find("<variant>");
        for (const auto& entry : fs::directory_iterator(to, ec)) {
            const std::string file = entry.path().filename().string();
            const bool matches = hole == std::string::npos
                                     ? file == presetFile
                                     : file.size() > presetFile.size() - 9 &&
                                           file.starts_with(presetFile.substr(0, hole)) &&
                                           file.ends_with(presetFile.substr(hole + 9));
            if (matches)
                candidates.push_back(entry.path());
        }
        bool found = false;
        for (const fs::path& file : candidates) {
            std::string text = ReadFile(file);
            if (!PromotePreset(text, preset))
                continue;
            if (std::string why = platform::WriteWholeFile(file.string(), text); !why.empty())
                return why;
            found = true;
            break;
        }
        if (!found)
            return "--preset: " + feature + " has no preset \"" + preset + "\" in " + from.string();
    }
    ::setenv("USERPROFILE", folder_.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
    return {};
}

PrivateProfile::~PrivateProfile() {
    if (folder_.empty())
        return;
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

std::string FeaturePresetFile(const std::string& listing, const std::string& feature) {
    const std::string text = ReadFile(listing);
    const std::string head = feature + "  ";
    std::size_t at = text.rfind(head, 0) == 0 ? 0 : text.find("\n" + head);
    if (at == std::string::npos)
        return {};
    const std::size_t line = text.find('\n', at + 1);
    const std::string first = text.substr(at, line == std::string::npos ? line : line - at);
    const std::size_t key = first.find("preset file \"");
    if (key == std::string::npos)
        return {};
    const std::size_t start = key + 13;
    return first.substr(start, first.find('"', start) - start);
}

} // namespace app
