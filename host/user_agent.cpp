#include "host/user_agent.hpp"

#include <cstdio>

#include "host/preferences.hpp"

namespace hostapp {

std::string EscapeAlertText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

void UserAgent::alert(const std::string& text) {
    alerts_.push_back(text);
    if (echo_)
        std::fprintf(stderr, "alert: %s\n", EscapeAlertText(text).c_str());
}

std::optional<Answer> UserAgent::take() {
    if (answers_.empty())
        return std::nullopt;
    Answer a = std::move(answers_.front());
    answers_.pop_front();
    return a;
}

std::optional<bool> UserAgent::suppressed(const std::string& key) const {
    return Preferences::instance().boolean(kSuppressedQuestionsSection, key);
}

bool UserAgent::suppress(const std::string& key, bool answer) {
    return Preferences::instance().setBoolean(kSuppressedQuestionsSection, key, answer);
}

} // namespace hostapp
