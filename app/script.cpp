#include "app/script.hpp"

#include <cstdio>
#include <set>

#include "host/code_text.hpp"

namespace app {

bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    words.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        std::string word;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\\' && i < line.size()) {
                    char e = line[i++];
                    word += e == 'n' ? '\n' : e;
                } else {
                    word += d;
                }
            }
            if (!closed) {
                error = "unterminated text";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                word += line[i++];
        }
        words.push_back(word);
    }
    return true;
}

bool ScriptRunner::run(std::istream& in) {
    std::string line;
    int number = 0;
    while (!quit_ && std::getline(in, line)) {
        ++number;
        std::vector<std::string> words;
        std::string reason;
        if (!SplitWords(line, words, reason) || (!words.empty() && !execute(words, reason))) {
            error_ = "script:" + std::to_string(number) + ": " + reason;
            return false;
        }
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
    // Commands of the language that arrive with later features.
    static const std::set<std::string> kPlanned = {
        "new", "open", "save", "close", "select", "menu", "panel", "text", "click", "spin",
        "slide", "choose", "key", "flyout", "hold", "answer", "effect", "edit-effect", "filter",
        "tool", "down", "drag", "up", "update", "print", "expect", "expect-alert", "picture", "move"};
    if (kPlanned.count(command) != 0)
        reason = "command \"" + command + "\" is not available in this build yet";
    else
        reason = "unknown command \"" + command + "\"";
    return false;
}

} // namespace app
