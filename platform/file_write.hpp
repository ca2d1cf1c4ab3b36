// file_write.hpp - writing a whole file so that no failure leaves the old
// one damaged: the one writer of every document, picture, recording and
// preferences file of the host and the program.
//
// A regular file (or a new one) is written to a unique temporary file in
// its folder, flushed to the disk and renamed over it; the folder is then
// flushed too, so either the old or the new file survives a crash or a full
// disk. Through a symbolic link the link's target is written (in the
// target's folder) and the link stays. Pipes, devices, "-" (standard
// output) and the /dev/std* and /proc/self/fd names are written directly.
// A replaced file keeps its mode and owner; a file the user may not write
// to (mode 444) is refused and left as it was. Temporary files of this
// pattern that a killed process left behind are removed at the next write
// into their folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Writes `bytes` to `path`; an empty text on success, else one line naming
// the file and the system's reason ("out.svg: cannot write: No space left
// on device").
std::string WriteWholeFile(const std::string& path, std::string_view bytes);

// Failures of writes whose callers cannot report them on the spot (the
// plug-in rewriting a preset file while it shuts down, the preferences
// store): kept here and printed by the program as warnings before it exits,
// so that no failed write passes unseen.
void NoteUnreportedWriteFailure(const std::string& message);
std::vector<std::string> TakeUnreportedWriteFailures();

// The temporary name's pattern: "." + the file's name + ".vtg-" + the
// writing process's id + "-" + six random characters.
bool IsTemporaryName(const std::string& name, long* pid = nullptr);

// Tests: called at each step ("write", "sync", "rename") of a replacement;
// a non-zero result fails that step with that errno.
using FileWriteFault = std::function<int(const char* step)>;
void SetFileWriteFault(FileWriteFault fault); // an empty one removes it

} // namespace platform
