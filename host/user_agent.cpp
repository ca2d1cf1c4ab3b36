#include "host/user_agent.hpp"

#include <cstdio>
#include <sstream>

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

bool ParseColorText(const std::string& text, VtgColor& color) {
    VtgColor c{};
    c.paintMatrix = {1, 0, 0, 1, 0, 0};
    if (text.size() == 7 && text[0] == '#') {
        c.kind = kVtgColorRGB;
        for (int i = 0; i < 3; ++i) {
            unsigned v = 0;
            if (std::sscanf(text.c_str() + 1 + 2 * i, "%2x", &v) != 1)
                return false;
            c.c[i] = v / 255.0;
        }
        color = c;
        return true;
    }
    std::istringstream in(text);
    std::string model;
    in >> model;
    int n = 0;
    if (model == "gray") {
        c.kind = kVtgColorGray;
        n = 1;
    } else if (model == "rgb") {
        c.kind = kVtgColorRGB;
        n = 3;
    } else if (model == "cmyk") {
        c.kind = kVtgColorProcess;
        n = 4;
    } else {
        return false;
    }
    for (int i = 0; i < n; ++i)
        if (!(in >> c.c[i]) || !(c.c[i] >= 0 && c.c[i] <= 1))
            return false;
    std::string rest;
    if (in >> rest)
        return false;
    color = c;
    return true;
}

std::optional<bool> UserAgent::suppressed(const std::string& key) const {
    return Preferences::instance().boolean(kSuppressedQuestionsSection, key);
}

bool UserAgent::suppress(const std::string& key, bool answer) {
    return Preferences::instance().setBoolean(kSuppressedQuestionsSection, key, answer);
}

} // namespace hostapp
