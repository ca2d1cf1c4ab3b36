// The action suite: registration of recordable actions, the recording state,
// value blocks and recorded events.
#include <cstring>

#include "host/api/vtg_action_suite.h"
#include "host/host.hpp"
#include "host/suites/suites.hpp"

namespace hostapp {
namespace {

Actions* A() {
    return Host::current() ? &Host::current()->actions() : nullptr;
}

ErrorCode Block(ValueBlockHandle handle, ValueBlock*& out) {
    out = nullptr;
    if (A() == nullptr)
        return kBadParameterErr;
    return A()->block(handle, out);
}

// The value under `key` when it has `type`.
ErrorCode Find(ValueBlockHandle handle, uint32_t key, int32_t type, const ActionValue*& out) {
    out = nullptr;
    ValueBlock* b = nullptr;
    if (ErrorCode e = Block(handle, b))
        return e;
    const ActionValue* v = b->find(key);
    if (v == nullptr || v->type != type)
        return kActionKeyMissingErr;
    out = v;
    return kNoErr;
}

ErrorCode Put(ValueBlockHandle handle, ActionValue value) {
    ValueBlock* b = nullptr;
    if (ErrorCode e = Block(handle, b))
        return e;
    b->put(std::move(value));
    return kNoErr;
}

ErrorCode RegisterAction(PluginRef plugin, const char* name, const char* title, int32_t version,
                         const void* userData, const VtgActionParam* params, int32_t count,
                         ActionHandle* action) {
    if (A() == nullptr)
        return kBadParameterErr;
    return A()->registerAction(plugin, name, title, version, userData, params, count, action);
}

ErrorCode InRecordMode(int32_t* recording) {
    if (recording == nullptr)
        return kBadParameterErr;
    *recording = A() != nullptr && A()->recording() ? 1 : 0;
    return kNoErr;
}

ErrorCode NewValueBlock(ValueBlockHandle* block) {
    if (block == nullptr || A() == nullptr)
        return kBadParameterErr;
    return A()->newBlock(block);
}

ErrorCode DisposeValueBlock(ValueBlockHandle block) {
    if (A() == nullptr)
        return kBadParameterErr;
    return A()->disposeBlock(block);
}

ErrorCode PutInteger(ValueBlockHandle block, uint32_t key, int32_t value) {
    ActionValue v;
    v.key = key;
    v.type = kVtgActionInteger;
    v.integer = value;
    return Put(block, std::move(v));
}

ErrorCode PutBoolean(ValueBlockHandle block, uint32_t key, int32_t value) {
    ActionValue v;
    v.key = key;
    v.type = kVtgActionBoolean;
    v.integer = value != 0 ? 1 : 0;
    return Put(block, std::move(v));
}

ErrorCode PutEnum(ValueBlockHandle block, uint32_t key, const char* text, int32_t index) {
    if (text == nullptr)
        return kBadParameterErr;
    ActionValue v;
    v.key = key;
    v.type = kVtgActionEnum;
    v.integer = index;
    v.text = text;
    return Put(block, std::move(v));
}

ErrorCode PutReal(ValueBlockHandle block, uint32_t key, const char* unit, double value) {
    // The unit must fit the kVtgUnitSize buffer GetReal copies it into.
    if (unit == nullptr || std::strlen(unit) >= kVtgUnitSize)
        return kBadParameterErr;
    ActionValue v;
    v.key = key;
    v.type = kVtgActionReal;
    v.real = value;
    v.text = unit;
    return Put(block, std::move(v));
}

ErrorCode PutString(ValueBlockHandle block, uint32_t key, const char* text) {
    if (text == nullptr)
        return kBadParameterErr;
    ActionValue v;
    v.key = key;
    v.type = kVtgActionString;
    v.text = text;
    return Put(block, std::move(v));
}

ErrorCode GetInteger(ValueBlockHandle block, uint32_t key, int32_t* value) {
    const ActionValue* v = nullptr;
    if (value == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Find(block, key, kVtgActionInteger, v))
        return e;
    *value = v->integer;
    return kNoErr;
}

ErrorCode GetBoolean(ValueBlockHandle block, uint32_t key, int32_t* value) {
    const ActionValue* v = nullptr;
    if (value == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Find(block, key, kVtgActionBoolean, v))
        return e;
    *value = v->integer;
    return kNoErr;
}

ErrorCode GetEnum(ValueBlockHandle block, uint32_t key, int32_t* index, char* text, size_t size) {
    const ActionValue* v = nullptr;
    if (index == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Find(block, key, kVtgActionEnum, v))
        return e;
    *index = v->integer;
    return text != nullptr ? CopyOut(v->text, text, size) : kNoErr;
}

ErrorCode GetReal(ValueBlockHandle block, uint32_t key, double* value, char* unit) {
    if (value == nullptr)
        return kBadParameterErr;
    ValueBlock* b = nullptr;
    if (ErrorCode e = Block(block, b))
        return e;
    const ActionValue* v = b->find(key);
    if (v == nullptr || (v->type != kVtgActionReal && v->type != kVtgActionInteger))
        return kActionKeyMissingErr;
    // An integer reads as a real without a unit.
    *value = v->type == kVtgActionReal ? v->real : static_cast<double>(v->integer);
    if (unit != nullptr)
        CopyOut(v->type == kVtgActionReal ? v->text : std::string(), unit, kVtgUnitSize);
    return kNoErr;
}

ErrorCode GetString(ValueBlockHandle block, uint32_t key, char* text, size_t size) {
    const ActionValue* v = nullptr;
    if (text == nullptr)
        return kBadParameterErr;
    if (ErrorCode e = Find(block, key, kVtgActionString, v))
        return e;
    return CopyOut(v->text, text, size);
}

ErrorCode RecordEvent(const char* name, ValueBlockHandle block) {
    if (A() == nullptr)
        return kBadParameterErr;
    return A()->recordEvent(name, block);
}

const ActionSuite kActions = {&RegisterAction, &InRecordMode, &NewValueBlock, &DisposeValueBlock,
                              &PutInteger,     &PutBoolean,   &PutEnum,       &PutReal,
                              &PutString,      &GetInteger,   &GetBoolean,    &GetEnum,
                              &GetReal,        &GetString,    &RecordEvent};

} // namespace

void PublishActionSuite(SuiteBroker& broker) {
    broker.publish(kActionSuiteName, kActionSuiteVersion, &kActions);
}

} // namespace hostapp
