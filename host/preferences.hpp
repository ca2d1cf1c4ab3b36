// preferences.hpp - the host's persistent preferences: booleans by section
// and key, points by prefix and key, kept in "preferences.txt" of the
// host's configuration folder ($XDG_CONFIG_HOME/vertigon, else
// ~/.config/vertigon).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "host/api/vtg_base.h"

namespace hostapp {

class Preferences {
public:
    // The store of this process; read from its file on first use.
    static Preferences& instance();

    std::optional<bool> boolean(const std::string& section, const std::string& key);
    std::optional<VtgPoint> point(const std::string& prefix, const std::string& key);
    // Both store the value and rewrite the file, merged with what other
    // processes wrote meanwhile; false when the file could not be written
    // (the value is kept for the session).
    bool setBoolean(const std::string& section, const std::string& key, bool value);
    bool setPoint(const std::string& prefix, const std::string& key, VtgPoint value);

    // Forgets what was read and set and reads the file again, as a new
    // session would (after the configuration folder changed, for tests).
    void reload();
    // The file of the store.
    static std::string filePath();
    // A valid section, prefix or key: non-empty, UTF-8 text without
    // control characters.
    static bool validName(const std::string& name);

private:
    void load();
    bool save();
    static std::string readFile();
    // The entries of a file's text, with this session's values over them.
    void parse(const std::string& text);
    std::string text() const;

    using Key = std::pair<std::string, std::string>;
    std::map<Key, bool> booleans_;
    std::map<Key, VtgPoint> points_;
    // The values this session set, kept over what the file holds.
    std::map<Key, bool> sessionBooleans_;
    std::map<Key, VtgPoint> sessionPoints_;
    bool loaded_ = false;
};

} // namespace hostapp
