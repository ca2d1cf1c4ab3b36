// preset_text.hpp - the line-oriented text form of a parameter block.
//
// A record is a header line "$" TAB name CR LF followed by one line per
// field: key TAB value CR LF. The same text is a record of a preset file
// and the private data of a live object.
#pragma once

#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "params/param_types.hpp"

namespace vtg {

inline constexpr int kRecordDefault = -2;
inline constexpr int kRecordLast = -1;
inline constexpr int kRecordLiveObject = -3;

// Appends one field line "key TAB value CR LF" for the field at `field`.
void WriteParamField(std::string& text, const char* key, ValueType type, const void* field);

// Looks `key` up in the record that `record` starts with (at its "$").
// Returns true when the key was found; the field is then set from the
// value (a value that does not convert leaves it as it was).
bool ReadParamField(std::string_view record, const char* key, ValueType type, void* field);

// Clears `text` and writes the block as a record of its preset file: the
// header line (the block's presetName when withName is set, else empty)
// and the fields of the type its presetFile names. An unknown type or a 3D
// Path block whose header names another variant's file writes nothing.
void WritePresetRecord(std::string& text, const void* block, bool withName);
// The live-object form: an empty record name and the fields of `kind`
// (the header's file is not consulted). An unknown kind writes nothing.
void WriteLiveObjectRecord(std::string& text, const void* block, int kind);

// Reads a record into a block by the type its presetFile names, with record
// number n. Returns false when the type is unknown (nothing is changed).
bool ReadPresetRecord(std::string_view record, void* block, int n);
// Reads live-object data into a block of `kind` (record number -3).
bool ReadLiveObjectRecord(std::string_view record, void* block, int kind);

// --- helpers of the per-type reader rules ----------------------------------
// Tracks which keys of a type a record held while the rules read it.
class RecordReader {
public:
    RecordReader(std::string_view record, void* block, const PresetType& type)
        : record_(record), block_(static_cast<char*>(block)), type_(type) {}

    // Reads one key of the table; true when present.
    bool Read(const char* key);
    // Reads every key of the table that was not read yet, except `skip`.
    void ReadRest(std::initializer_list<const char*> skip = {});
    bool Found(const char* key) const;

    // The field of a key, or of a named field (entries without a key too).
    template <typename T> T& Field(const char* keyOrName) {
        return *reinterpret_cast<T*>(block_ + Offset(keyOrName));
    }
    // Sets a numeric field by its key, converting to the key's value type.
    void Set(const char* key, double value);
    // Sets the field when its key was missing.
    void SetIfMissing(const char* key, double value) {
        if (!Found(key))
            Set(key, value);
    }

private:
    std::size_t Offset(const char* keyOrName) const;
    int Index(const char* key) const;

    std::string_view record_;
    char* block_;
    const PresetType& type_;
    std::bitset<128> found_;
    std::bitset<128> read_;
};

// Writes every stored key of a type in table order.
void WriteAllFields(std::string& text, const void* block, const PresetType& type,
                    std::initializer_list<const char*> skip = {});

} // namespace vtg
