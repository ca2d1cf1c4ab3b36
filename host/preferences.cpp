#include "host/preferences.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/file_lock.hpp"
#include "platform/file_write.hpp"
#include "platform/system.hpp"

namespace hostapp {
namespace {

namespace fs = std::filesystem;

// One entry per line, fields separated by TAB:
//   bool  SECTION KEY 0|1
//   point PREFIX  KEY X Y
// Lines of any other shape are skipped, so a damaged file loses only them.
std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

bool ParseDouble(const std::string& text, double& out) {
    if (text.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end != nullptr && *end == '\0' && std::isfinite(out);
}

} // namespace

Preferences& Preferences::instance() {
    static Preferences store;
    return store;
}

std::string Preferences::filePath() {
    std::string base = platform::GetEnvironment("XDG_CONFIG_HOME").value_or("");
    if (base.empty())
        base = platform::GetEnvironment("HOME").value_or(".") + "/.config";
    return base + "/vertigon/preferences.txt";
}

bool Preferences::validName(const std::string& name) {
    if (name.empty())
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F)
            return false;
    return true;
}

void Preferences::reload() {
    booleans_.clear();
    points_.clear();
    sessionBooleans_.clear();
    sessionPoints_.clear();
    loaded_ = false;
}

std::string Preferences::readFile() {
    std::ifstream in(filePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Preferences::parse(const std::string& text) {
    booleans_.clear();
    points_.clear();
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> f = SplitTabs(line);
        if (f.size() == 4 && f[0] == "bool" && validName(f[1]) && validName(f[2]) &&
            (f[3] == "0" || f[3] == "1")) {
            booleans_[{f[1], f[2]}] = f[3] == "1";
        } else if (f.size() == 5 && f[0] == "point" && validName(f[1]) && validName(f[2])) {
            VtgPoint p;
            if (ParseDouble(f[3], p.x) && ParseDouble(f[4], p.y))
                points_[{f[1], f[2]}] = p;
        }
    }
    // What this session set stays, whatever another process wrote since.
    for (const auto& [key, value] : sessionBooleans_)
        booleans_[key] = value;
    for (const auto& [key, value] : sessionPoints_)
        points_[key] = value;
}

void Preferences::load() {
    if (loaded_)
        return;
    loaded_ = true;
    parse(readFile());
}

std::string Preferences::text() const {
    std::ostringstream out;
    for (const auto& [key, value] : booleans_)
        out << "bool\t" << key.first << '\t' << key.second << '\t' << (value ? 1 : 0) << '\n';
    char number[64];
    for (const auto& [key, value] : points_) {
        out << "point\t" << key.first << '\t' << key.second;
        std::snprintf(number, sizeof number, "\t%.17g", value.x);
        out << number;
        std::snprintf(number, sizeof number, "\t%.17g", value.y);
        out << number << '\n';
    }
    return out.str();
}

bool Preferences::save() {
    std::string path = filePath();
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    // Other processes may have changed other entries since this one read
    // the file: under the folder's lock, read it again, put this session's
    // values over it and write it back only when that changes it.
    platform::FolderLock lock(platform::FolderOf(path));
    const std::string before = readFile();
    parse(before);
    loaded_ = true;
    const std::string after = text();
    if (after == before)
        return true;
    // A failed write keeps the previous store; the reason reaches the
    // program's warnings.
    const std::string error = platform::WriteWholeFile(path, after);
    if (!error.empty())
        platform::NoteUnreportedWriteFailure(error);
    return error.empty();
}

std::optional<bool> Preferences::boolean(const std::string& section, const std::string& key) {
    load();
    auto it = booleans_.find({section, key});
    if (it == booleans_.end())
        return std::nullopt;
    return it->second;
}

std::optional<VtgPoint> Preferences::point(const std::string& prefix, const std::string& key) {
    load();
    auto it = points_.find({prefix, key});
    if (it == points_.end())
        return std::nullopt;
    return it->second;
}

bool Preferences::setBoolean(const std::string& section, const std::string& key, bool value) {
    load();
    sessionBooleans_[{section, key}] = value;
    return save();
}

bool Preferences::setPoint(const std::string& prefix, const std::string& key, VtgPoint value) {
    load();
    sessionPoints_[{prefix, key}] = value;
    return save();
}

} // namespace hostapp
