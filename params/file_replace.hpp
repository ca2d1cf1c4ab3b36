// file_replace.hpp - the plug-in's crash-safe rewrite of a preset file.
//
// The new bytes go to a unique temporary file in the file's folder
// ("." + name + ".vtg-" + process id + "-" + six characters), which is
// flushed to the disk and renamed over the file; the folder is flushed
// after the rename. Either the old or the new file survives any failure.
// Through a symbolic link the link's target is rewritten and the link
// stays; the file keeps its mode and owner; a file the user may not write
// to is refused and left as it was. Temporary files a killed process left
// in the folder (and the "Tm" file of earlier versions) are removed first.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vtg {

// False with the file as it was on any failure. `beforeRename` (tests) runs
// when the temporary file is complete; true makes the rename fail.
bool RewriteFileSafely(const std::string& path, std::string_view bytes,
                       const std::function<bool()>& beforeRename = {});

} // namespace vtg
