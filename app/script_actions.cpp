// Script commands for the host's action recording: start and stop it, play,
// list, clear, save and load the recorded events.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/script.hpp"
#include "platform/file_write.hpp"

namespace app {

namespace {

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return !in.bad();
}

} // namespace

bool ScriptRunner::executeActions(const std::vector<std::string>& w, std::string& reason,
                                  bool& ok) {
    if (w[0] != "actions")
        return false;
    ok = false;
    const std::string usage = "usage: actions record | stop | play | list | clear | save FILE | "
                              "load FILE";
    if (w.size() < 2) {
        reason = usage;
        return true;
    }
    hostapp::Actions& actions = host_.actions();
    const std::string& sub = w[1];
    const bool withFile = sub == "save" || sub == "load";
    if (w.size() != (withFile ? 3u : 2u)) {
        reason = withFile ? "usage: actions " + sub + " FILE" : usage;
        return true;
    }
    if (sub == "record") {
        actions.startRecording();
    } else if (sub == "stop") {
        actions.stopRecording();
    } else if (sub == "clear") {
        actions.clearEvents();
    } else if (sub == "list") {
        std::fputs(hostapp::WriteActionEvents(actions.events()).c_str(), stdout);
        std::fflush(stdout);
    } else if (sub == "play") {
        std::string why;
        if (host_.playActions(&why) != kNoErr) {
            reason = "actions play: " + why;
            return true;
        }
    } else if (sub == "save") {
        const std::string why =
            platform::WriteWholeFile(w[2], hostapp::WriteActionFile(actions.events()));
        if (!why.empty()) {
            reason = "actions save: " + why;
            return true;
        }
    } else if (sub == "load") {
        std::string text;
        if (!ReadFile(w[2], text)) {
            reason = "actions load: cannot read " + w[2];
            return true;
        }
        std::vector<hostapp::RecordedEvent> events;
        std::string why;
        if (!hostapp::ReadActionEvents(text, events, why)) {
            reason = w[2] + ":" + why;
            return true;
        }
        actions.setEvents(std::move(events));
    } else {
        reason = usage;
        return true;
    }
    ok = true;
    return true;
}

} // namespace app
