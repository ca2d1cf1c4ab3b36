// make_default_settings - writes the shipped default preset files and the
// feature listing.
//
// The files of "VERTiGON6_Default_Settings" are generated at build time from
// the built-in defaults of every feature (the same code the plug-in uses for
// "Default Setting"), so they can never disagree with the blocks; CMake runs
// this program and places the folder beside the built plug-in. The listing
// is the text of the program's "features" command, made from the same key
// tables, so that the program itself needs no plug-in code.
#include <cstdio>
#include <fstream>
#include <string>

#include "params/feature_list.hpp"
#include "params/preset_library.hpp"
#include "platform/system.hpp"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_default_settings FOLDER FEATURES_FILE\n");
        return 1;
    }
    // A fixed clock gives the shipped seeds the same value on every build.
    platform::SetTickSource([] { return std::uint32_t{20130601}; });
    std::string folder = argv[1];
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    if (vtg::WriteDefaultSettingsFolder(folder) != kNoErr) {
        std::fprintf(stderr, "make_default_settings: cannot write %s\n", folder.c_str());
        return 1;
    }
    std::ofstream listing(argv[2], std::ios::binary | std::ios::trunc);
    listing << vtg::AllFeaturesListing();
    if (!listing.flush()) {
        std::fprintf(stderr, "make_default_settings: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
