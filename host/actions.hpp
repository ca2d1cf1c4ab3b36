// actions.hpp - recordable actions: what plug-ins registered, the value
// blocks they fill, the recording state and the recorded events.
//
// Registered actions are never freed while the host lives, so their handles
// stay comparable by identity. A value block handle is an index that is
// never reused: a disposed block's handle stays detectable (kDeadHandleErr).
// Every live block the plug-in holds is counted in the host's memory
// accounting under kValueBlockMemoryName, so a leaked block shows there.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/api/vtg_action_suite.h"
#include "host/api/vtg_base.h"

namespace hostapp {

class Memory;

// One stored value of a block. `text` is the item text of an enumeration,
// the unit of a real and the text of a string.
struct ActionValue {
    uint32_t key = 0;
    int32_t type = kVtgActionInteger;
    int32_t integer = 0; // integer, boolean (0 or 1) and enumeration index
    double real = 0;
    std::string text;
};

// The values of one block in the order their keys were first stored.
struct ValueBlock {
    std::vector<ActionValue> values;

    const ActionValue* find(uint32_t key) const;
    // Stores `value`, replacing a value of the same key in its place.
    void put(ActionValue value);
    bool operator==(const ValueBlock& other) const;
};

struct ActionParamDesc {
    uint32_t key = 0;
    int32_t type = kVtgActionInteger;
    std::string label;
};

struct RecordedEvent {
    std::string action; // the registered name
    ValueBlock values;
};

} // namespace hostapp

struct ActionHandleOpaque {
    PluginRef plugin = nullptr;
    std::string name, title;
    int32_t version = 0;
    const void* userData = nullptr;
    std::vector<hostapp::ActionParamDesc> params;
};

namespace hostapp {

// The name under which live value blocks are counted in Memory.
inline constexpr const char* kValueBlockMemoryName = "Host Value Block";

class Actions {
public:
    explicit Actions(Memory& memory) : memory_(memory) {}
    ~Actions();
    Actions(const Actions&) = delete;
    Actions& operator=(const Actions&) = delete;

    // --- registration -------------------------------------------------------
    // kBadParameterErr for a null or empty name, null title, count < 0, null
    // params with count > 0, or a name already taken.
    ErrorCode registerAction(PluginRef plugin, const char* name, const char* title, int32_t version,
                             const void* userData, const VtgActionParam* params, int32_t count,
                             ActionHandle* action);
    ActionHandleOpaque* find(const std::string& name) const;
    const std::vector<std::unique_ptr<ActionHandleOpaque>>& registered() const { return actions_; }

    // --- value blocks -------------------------------------------------------
    // A new block holding `values`; kOutOfMemoryErr when the accounting
    // allocator refuses.
    ErrorCode newBlock(ValueBlockHandle* block, ValueBlock values = {});
    // kNoErr for null (nothing to free), kDeadHandleErr for a dead handle.
    ErrorCode disposeBlock(ValueBlockHandle block);
    // kBadParameterErr for null, kDeadHandleErr for a disposed or unknown one.
    ErrorCode block(ValueBlockHandle handle, ValueBlock*& out) const;
    int liveBlocks() const;

    // --- recording ----------------------------------------------------------
    void startRecording() { recording_ = true; }
    void stopRecording() { recording_ = false; }
    bool recording() const { return recording_; }
    // Appends a copy of the block under `name` while recording; without
    // recording it does nothing (null arguments still give kBadParameterErr).
    // kDeadHandleErr, kNotFoundErr (no action of that name).
    ErrorCode recordEvent(const char* name, ValueBlockHandle block);
    const std::vector<RecordedEvent>& events() const { return events_; }
    void setEvents(std::vector<RecordedEvent> events) { events_ = std::move(events); }
    void clearEvents() { events_.clear(); }

private:
    struct Slot {
        ValueBlock values;
        void* token = nullptr; // the accounting block
    };
    Memory& memory_;
    std::vector<std::unique_ptr<ActionHandleOpaque>> actions_;
    std::vector<std::unique_ptr<Slot>> blocks_; // null once disposed
    bool recording_ = false;
    std::vector<RecordedEvent> events_;
};

// --- the text form of a recording ----------------------------------------------
// A key as its four characters when they are all printable ASCII other than
// blank and do not start with "#" or "0x", else as 0x followed by eight hex
// digits.
std::string FormatActionKey(uint32_t key);
bool ParseActionKey(const std::string& text, uint32_t& key);
const char* ActionTypeName(int32_t type);
// A real as the shortest text that reads back to the same value.
std::string FormatActionReal(double value);

// The first line of a saved recording.
inline constexpr const char* kActionFileHeader = "VERTiGON actions 1";

// The events as `actions list` prints them: "action NAME", then one line
// "  KEY TYPE VALUE" per value.
std::string WriteActionEvents(const std::vector<RecordedEvent>& events);
// The save format: kActionFileHeader on a line of its own, then the events.
std::string WriteActionFile(const std::vector<RecordedEvent>& events);
// Reads the save format. On failure returns false with "LINE: reason" in
// `error` and leaves `events` untouched.
bool ReadActionEvents(const std::string& text, std::vector<RecordedEvent>& events,
                      std::string& error);

} // namespace hostapp
