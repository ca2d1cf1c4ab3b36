// user_agent.hpp - the headless host's user: alerts are recorded and
// printed, questions take the answers a script queued.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "host/api/vtg_paint_style_suite.h"

namespace hostapp {

struct Answer {
    enum class Kind { Yes, No, Ok, Cancel, Text, Folder, Color };
    Kind kind = Kind::Ok;
    std::string text; // Text, Folder and Color answers
    // "Don't show again" ticked: a suppressible question keeps this answer
    // in the preferences and is not asked again.
    bool always = false;
};

// The preferences section of the questions the user asked not to see
// again: one boolean per question key, the answer given.
inline constexpr const char* kSuppressedQuestionsSection = "DontShowWarningAgain";

class UserAgent {
public:
    // Records an alert or question text and prints it to standard error as
    // one line: "alert: " and the text with new lines written as \n.
    void alert(const std::string& text);
    // An error alert: recorded as alert() does, and counted.
    void errorAlert(const std::string& text) {
        ++errorAlerts_;
        alert(text);
    }
    // Error alerts shown so far.
    std::size_t errorAlerts() const { return errorAlerts_; }

    void queue(Answer answer) { answers_.push_back(std::move(answer)); }
    // The next queued answer, if any.
    std::optional<Answer> take();
    std::size_t pending() const { return answers_.size(); }

    const std::vector<std::string>& alerts() const { return alerts_; }
    std::optional<std::string> lastAlert() const {
        if (alerts_.empty())
            return std::nullopt;
        return alerts_.back();
    }
    void setEcho(bool echo) { echo_ = echo; }

    // The kept answer of a suppressible question (in the preferences), or
    // nullopt while it is asked.
    std::optional<bool> suppressed(const std::string& key) const;
    // Keeps `answer` for the question `key`; false when the preferences file
    // could not be written (the answer holds for this session).
    bool suppress(const std::string& key, bool answer = true);

private:
    std::vector<std::string> alerts_;
    std::deque<Answer> answers_;
    bool echo_ = true;
    std::size_t errorAlerts_ = 0;
};

// A colour as a script gives it to the colour picker: "gray K" (ink 0..1),
// "rgb R G B", "cmyk C M Y K" (0..1 each) or "#rrggbb". False for anything
// else, or a value out of 0..1.
bool ParseColorText(const std::string& text, VtgColor& color);

// The one-line form of an alert text.
std::string EscapeAlertText(const std::string& text);

} // namespace hostapp
