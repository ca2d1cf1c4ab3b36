// preset_library.hpp - the preset files of every feature in the user's
// preset folder: load and save "Last Setting" and "Default Setting", the
// user's named presets, import and export, and the first-use preparation
// of the folder.
//
// A preset file is the user's work. Every rewrite goes to a unique
// temporary file in its folder that is flushed and then renamed over the
// original (platform/file_write.hpp), so an interrupted save loses nothing;
// a file that cannot be read, is read-only, or whose header is not a preset
// header is never written to.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/api/vtg_base.h"
#include "params/param_types.hpp"

namespace vtg {

inline constexpr const char* kPresetFolderName = "VERTiGON6 User Settings";
inline constexpr const char* kPreviousPresetFolderName = "VERTiGON5 User Settings";
inline constexpr const char* kDefaultSettingsFolderName = "VERTiGON6_Default_Settings";
inline constexpr const char* kBorderPresetFile = "VERTiGON4_PST_Border.txt";
inline constexpr const char* kPrefsPresetFile = "VERTiGON6_PST_Prefs.txt";

// The header line of a preset file starts with one of these texts.
extern const char* const kPresetHeader;      // the current format
extern const char* const kOlderPresetHeader; // accepted, never written
inline constexpr int kHeaderVersionCurrent = 1;
inline constexpr int kHeaderVersionOlder = 17;

// The one bound of user presets per file: the list shows this many, Add
// and Import refuse beyond it.
inline constexpr int kMaxUserPresets = 1022;
// Longest record read from a file or from live-object data (one byte of the
// 32,769-byte block is kept for a terminator).
inline constexpr std::size_t kMaxRecordBytes = 32768;
inline constexpr std::size_t kMaxPresetNameBytes = 255;

// The 37 preset files in the order the folder is prepared.
extern const char* const kPresetFiles[37];

// The preset folder found by LocatePresetFolder (UTF-8, ends in '/') and
// the header version of the last header read.
struct PresetFolderState {
    std::string folder;
    int headerVersion = 0;
};
PresetFolderState& CurrentPresetFolder();

// The user's profile folder: USERPROFILE when set, else HOME.
ErrorCode ProfileFolder(std::string& out);

// --- files -------------------------------------------------------------------
// 0 for a valid current or older header; "!oPn" when the file cannot be
// opened; -1 otherwise.
ErrorCode CheckPresetHeader(const std::string& path);
// The text of record n (-2 default, -1 last, 0.. user presets).
// "!eOF" when the file ends before it; -1 for a damaged file or a record
// over kMaxRecordBytes.
ErrorCode ReadPresetFileRecord(const std::string& path, std::string& out, int n);
// The names of the user presets (at most kMaxUserPresets).
ErrorCode ListPresetNames(const std::string& path, std::vector<std::string>& names);
ErrorCode ListPresetNames(const void* block, std::vector<std::string>& names);

// The path of a block's preset file in the preset folder.
std::string PresetFilePath(const void* block);

// Reads record n of the block's own file into the block.
ErrorCode LoadPresetRecord(void* block, int n);
// The same, showing the broken-file message on failure.
ErrorCode LoadPresetRecordWithAlert(void* block, int n);
// Writes the block as record n (-1: its name becomes "Last Setting" first).
// "!eOF" when the file has no record n (the file is left as it was).
ErrorCode SaveLastSetting(void* block, int n);
// Writes a new file: header, the block as "Default Setting" and as "Last
// Setting". Refuses (-1) when the file exists: an existing file is never
// recreated.
ErrorCode CreatePresetFile(void* block);
// Writes a new preset file of `block` into `folder` (ends in '/'), for the
// shipped defaults. Replaces an existing file there.
ErrorCode WritePresetFileInto(const std::string& folder, void* block);
// "Last Setting" of the block's file, else the block's built-in defaults;
// the file is created only when it does not exist (an existing file that
// could not be read is left byte for byte as it is).
ErrorCode LoadLastSettingOrDefaults(void* block);

// --- user presets ------------------------------------------------------------
// Asks for a name (proposing "Preset #" and count + 1) and appends the block
// as a new preset; the stored name is returned in newName.
ErrorCode AddPreset(void* block, int count, std::string* newName = nullptr);
ErrorCode UpdatePreset(void* block, int n);
ErrorCode DeletePresets(void* block, const std::vector<int>& presets);
ErrorCode MovePreset(void* block, int from, int to);
ErrorCode ExportPresets(void* block, const std::vector<int>& presets);
// `pick` shows the source's names and fills the chosen indices (in list
// order); its error (for example "Cncl") ends the import.
using ImportPicker =
    std::function<ErrorCode(const std::vector<std::string>& names, std::vector<int>& picked)>;
ErrorCode ImportPresets(void* block, const ImportPicker& pick);

// The broken-file message, for a list of names that could not be read.
void ShowBrokenPresetFile();

// A name as it is stored: control characters become blanks, and it is cut
// to 255 bytes on a character boundary.
std::string StoredPresetName(std::string_view name);

// --- the folder --------------------------------------------------------------
// Finds `name` under the profile folder; flag out: 1 when it holds no valid
// Border file. With flag set on entry the folder is created when needed.
ErrorCode LocatePresetFolder(const char* name, std::string& path, int& flag);
// First use: seeds the preset folder from the shipped defaults beside the
// plug-in, offering the previous version's presets to a new user.
ErrorCode PreparePresetFolder(PluginRef plugin);
// Writes the shipped default preset files into `folder` (ends in '/').
ErrorCode WriteDefaultSettingsFolder(const std::string& folder);

} // namespace vtg
