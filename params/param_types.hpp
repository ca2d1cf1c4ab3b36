// param_types.hpp - the common shape of every feature's parameter block and
// the data that describes each block's preset text.
//
// A parameter block is a plain record: the header (preset file name, preset
// record name) followed by the feature's fields. Each preset type is
// described by a table of its keys (key, value type, field offset) in
// writing order, the feature's defaults and the reader rules that are not
// table-shaped. The same table carries the field names, units and panel
// ranges that the command line lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "host/api/vtg_base.h"

namespace vtg {

inline constexpr std::size_t kPresetTextSize = 256; // header fields, bytes with terminator

struct ParamHeader {
    char presetFile[kPresetTextSize]; // "VERTiGON4_PST_Border.txt": selects the layout
    char presetName[kPresetTextSize]; // record the values came from or go to
};

// A colour: kind 0 gray (component 0), 1 four-colour process (0 .. 3),
// 5 three-colour (0 .. 2); other kinds keep their components untouched.
struct ColorSpec {
    int32_t kind;
    double c[4];
};

enum class ValueType { Int16, Int, UInt32, Bool, Double, Point, ColorSpec };

// How a field is shown in its panel: as held, fraction as percent, radians
// as degrees.
enum class Unit { None, Percent, Degrees };

struct KeyField {
    const char* key; // nullptr: the field is never stored (listed only)
    ValueType type;
    std::size_t offset; // from the start of the block
    const char* name;
    Unit unit;
    const char* range; // panel range in the shown unit ("" when none)
};

// Reads one record into a block: `record` starts at the record's "$";
// `n` is the record number (-2 default, -1 last, 0.. user, -3 live object).
using RecordReaderFn = void (*)(std::string_view record, void* block, int n);
// Writes the field lines of a block (after the header line).
using RecordWriterFn = void (*)(std::string& text, const void* block, bool liveObject);

struct PresetType {
    const char* feature;    // command-line name ("live-circle")
    const char* title;      // "Live Circle"
    const char* blockName;  // "CirclePGParams"
    const char* presetFile; // for 3D Path: the file of variant 0
    std::size_t blockSize;
    std::span<const KeyField> keys; // in writing order
    void (*setDefaults)(void* block);
    RecordReaderFn read;  // nullptr: every present key is read, no other rule
    RecordWriterFn write; // nullptr: every stored key is written
    int16_t liveKind;     // LiveObjectKind, -1 for the others
};

// --- the context the readers and writers depend on ------------------------
// The current live-object kind (-1 none), the 3D panel's current variant,
// the white of the open document's colour model and new random seeds.
struct PresetContext {
    int16_t currentKind = -1;
    int16_t current3DVariant = 0;
    // Sets `colour` to the document's white; false (colour unchanged) when
    // the host cannot tell the colour model.
    bool (*documentWhite)(ColorSpec* colour) = nullptr;
};
PresetContext& CurrentPresetContext();

// A fresh 31-bit seed: the system's millisecond tick count, top bit cleared.
int32_t NewSeed();
// The white of the document's colour model; unchanged when unknown.
void SetDocumentWhite(ColorSpec& colour);

// --- the registry of preset types ------------------------------------------
std::span<const PresetType* const> AllPresetTypes();
// By preset file name ("VERTiGON4_PST_3D..." names all give the 3D Path type).
const PresetType* FindPresetType(std::string_view presetFile);
const PresetType* PresetTypeOfKind(int kind);
const PresetType* PresetTypeOfFeature(std::string_view feature);
// The key's entry of a type, or nullptr.
const KeyField* FindKey(const PresetType& type, std::string_view key);

// Fills a block of `type`: zeroes, header with the type's preset file and an
// empty name, then the built-in defaults.
void InitParamBlock(const PresetType& type, void* block);
// Copies a text into a header field, cut on a character boundary.
void SetHeaderText(char (&field)[kPresetTextSize], std::string_view text);

} // namespace vtg
