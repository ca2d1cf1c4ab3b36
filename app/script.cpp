#include "app/script.hpp"
#include "platform/resources.hpp"

#include <cstdio>

#include "host/code_text.hpp"
#include "host/live_updates.hpp"
#include "platform/input.hpp"
#include "platform/window.hpp"

namespace app {

bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    // Scripts and resource files share one word syntax.
    return platform::SplitLine(line, words, error);
}

bool ScriptRunner::run(std::istream& in) {
    lines_.clear();
    std::string line;
    while (std::getline(in, line))
        lines_.push_back(line);
    next_ = 0;
    failed_ = false;
    platform::ClearModalError();
    // A modal dialog opened by a command reads the following lines.
    platform::SetInputSource([this] { return step(); });
    while (step()) {
    }
    platform::SetInputSource(nullptr);
    if (!failed_ && !platform::ModalError().empty()) {
        error_ = name_ + ":" + std::to_string(lines_.size()) + ": " + platform::ModalError();
        failed_ = true;
    }
    return !failed_;
}

bool ScriptRunner::step() {
    if (failed_ || quit_ || next_ >= lines_.size())
        return false;
    std::size_t number = ++next_;
    std::vector<std::string> words;
    std::string reason;
    if (!SplitWords(lines_[number - 1], words, reason) ||
        (!words.empty() && !execute(words, reason))) {
        error_ = name_ + ":" + std::to_string(number) + ": " + reason;
        failed_ = true;
        return false;
    }
    return true;
}

bool ScriptRunner::execute(const std::vector<std::string>& words, std::string& reason) {
    const std::string& command = words[0];
    if (command == "send") {
        if (words.size() != 3) {
            reason = "usage: send CALLER SELECTOR";
            return false;
        }
        ErrorCode result = host_.sendBare(words[1].c_str(), words[2].c_str());
        std::printf("result: %s\n", hostapp::FormatCode(result).c_str());
        std::fflush(stdout);
        return true;
    }
    if (command == "quit") {
        if (words.size() != 1) {
            reason = "usage: quit";
            return false;
        }
        host_.shutdown();
        quit_ = true;
        return true;
    }
    if (bool ok = false; executeUi(words, reason, ok))
        return ok;
    if (bool ok = false; executeHost(words, reason, ok))
        return ok;
    if (bool ok = false; executeDoc(words, reason, ok))
        return ok;
    if (bool ok = false; executeEffects(words, reason, ok))
        return ok;
    if (bool ok = false; executeActions(words, reason, ok))
        return ok;
    reason = "unknown command \"" + command + "\"";
    return false;
}

} // namespace app
