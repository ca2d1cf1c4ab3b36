// script.hpp - the script language of "vertigon run": one user action a
// line, run against the host with the plug-in loaded.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "host/host.hpp"

namespace app {

// Splits one script line into words: blanks separate, "#" outside a text
// starts a comment, texts in double quotes may hold blanks, \n and \".
// Returns false with a reason for an unterminated text.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error);

class ScriptRunner {
public:
    explicit ScriptRunner(hostapp::Host& host) : host_(host) {}

    // Runs every line; stops at the first failing command with
    // "script:LINE: reason" in error(). Returns true on success.
    bool run(std::istream& in);
    const std::string& error() const { return error_; }

private:
    // Runs one command; false with a reason on failure.
    bool execute(const std::vector<std::string>& words, std::string& reason);

    hostapp::Host& host_;
    std::string error_;
    bool quit_ = false;
};

} // namespace app
