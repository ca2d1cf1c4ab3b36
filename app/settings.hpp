// settings.hpp - where the plug-in keeps its settings for each command.
//
// `run` acts as the user in the host, so a script reads and changes the
// user's own presets and preferences: the profile folder is
// $XDG_DATA_HOME/vertigon (~/.local/share/vertigon) unless USERPROFILE
// names another. The one-shot commands (apply, drag, update, convert,
// demo) never touch them: they run on a private profile, made fresh for the
// run and removed after it, so every feature starts from its defaults —
// or, with `--preset NAME`, from that preset of the user's file.
#pragma once

#include <string>

namespace app {

// Points the plug-in at the user's profile folder, creating it; moves an
// older "~/VERTiGON6 User Settings" there once, saying so. An empty text on
// success, else the reason.
std::string UseUserProfile();

class PrivateProfile {
public:
    PrivateProfile() = default;
    ~PrivateProfile();
    PrivateProfile(const PrivateProfile&) = delete;
    PrivateProfile& operator=(const PrivateProfile&) = delete;

    // Makes the private profile and points the plug-in and the host's
    // preferences at it. With a preset name, the user's preset files are
    // copied in and that preset of `feature`'s file (`presetFile` as the
    // feature listing names it) becomes its "Last Setting", which is what
    // the feature starts from. An empty text on success, else the reason.
    std::string open(const std::string& feature, const std::string& presetFile,
                     const std::string& preset);

private:
    std::string folder_;
};

// The preset file of a feature as the listing beside the program names it
// ("VERTiGON4_PST_Circle.txt", or a pattern with "<variant>"); empty when
// the feature is unknown or the listing is missing.
std::string FeaturePresetFile(const std::string& listing, const std::string& feature);

} // namespace app
