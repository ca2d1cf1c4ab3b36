// script.hpp - the script language of "vertigon run": one user action a
// line, run against the host with the plug-in loaded.
#pragma once

#include <istream>
#include <string>
#include <utility>
#include <vector>

#include "host/host.hpp"

namespace app {

// Splits one script line into words: blanks separate, "#" outside a text
// starts a comment, texts in double quotes may hold blanks, \n and \".
// Returns false with a reason for an unterminated text.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error);

// The name the window of the script's panel "live", "tool" or "help" is
// registered under.
std::string PanelWindowName(const std::string& name);

class ScriptRunner {
public:
    // `name` is the script's file name, which errors start with.
    explicit ScriptRunner(hostapp::Host& host, std::string name = "script")
        : host_(host), name_(std::move(name)) {}

    // Runs every line; stops at the first failing command with
    // "NAME:LINE: reason" in error(). Returns true on success.
    bool run(std::istream& in);
    const std::string& error() const { return error_; }

private:
    // Runs one command; false with a reason on failure.
    bool execute(const std::vector<std::string>& words, std::string& reason);
    // Runs the next line; false when the script has ended or failed. A
    // modal dialog's loop takes its input from here.
    bool step();
    // The commands that address windows (script_ui.cpp); false when `words`
    // is not one of them, else `handled` with the outcome in `ok`.
    bool executeUi(const std::vector<std::string>& words, std::string& reason, bool& ok);
    // Menu and tool commands (script_host.cpp); same contract as executeUi.
    bool executeHost(const std::vector<std::string>& words, std::string& reason, bool& ok);
    // Document commands (script_doc.cpp); same contract as executeUi.
    bool executeDoc(const std::vector<std::string>& words, std::string& reason, bool& ok);
    // Live-effect commands (script_effects.cpp); same contract as executeUi.
    bool executeEffects(const std::vector<std::string>& words, std::string& reason, bool& ok);
    bool executeFilter(const std::vector<std::string>& words, std::string& reason, bool& ok);
    // Action recording commands (script_actions.cpp); same contract as executeUi.
    bool executeActions(const std::vector<std::string>& words, std::string& reason, bool& ok);

    hostapp::Host& host_;
    std::string name_;
    std::string error_;
    bool quit_ = false;
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    bool failed_ = false;
    std::string panel_; // the named window addressed by "panel"
};

} // namespace app
