// feature_list.hpp - the text that lists every feature's parameter fields
// with their preset keys, panel ranges and defaults, made from the key
// tables (the program's "features" command shows it).
#pragma once

#include <string>

#include "params/param_types.hpp"

namespace vtg {

// The listing of one feature: a title line naming the feature, then one
// line per field. Every feature's section begins with its name at the
// start of a line; the fields are indented.
std::string FeatureListing(const PresetType& type, const char* feature = nullptr);
// Every feature, the aliases (the filter, the 3D rotate tool) included, in
// command-line order, separated by empty lines.
std::string AllFeaturesListing();

} // namespace vtg
