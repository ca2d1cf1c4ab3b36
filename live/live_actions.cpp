// The live-object actions: what all kinds share.
#include "live/live_actions.hpp"

#include <cstring>
#include <vector>

#include "core/suite_set.hpp"
#include "live/live_object.hpp"

namespace vtg {

namespace {

const LiveAction* const kActions[] = {&kCircleAction,    &kBorderAction,     &kGalaxyAction,
                                      &kExplosionAction, &kCutoutAction,     &kShadowAction,
                                      &kEmbossAction,    &kGenerationAction, &kReflectionsAction,
                                      &kFrameAction,     &kNeonAction};

const LiveAction* ActionOfIndex(int16_t index) {
    for (const LiveAction* a : kActions)
        if (a->index == index)
            return a;
    return nullptr;
}

// A value block of the host, disposed on every path.
class ValueBlock {
public:
    ValueBlock() {
        error_ = sAction->NewValueBlock(&block_);
        if (error_ != kNoErr)
            block_ = nullptr;
    }
    ~ValueBlock() {
        if (block_ != nullptr)
            sAction->DisposeValueBlock(block_);
    }
    ValueBlock(const ValueBlock&) = delete;
    ValueBlock& operator=(const ValueBlock&) = delete;
    ValueBlockHandle get() const { return block_; }
    ErrorCode error() const { return error_; }

private:
    ValueBlockHandle block_ = nullptr;
    ErrorCode error_ = kNoErr;
};

} // namespace

void ActionWriter::Integer(uint32_t key, int32_t value) {
    if (error_ == kNoErr)
        error_ = sAction->PutInteger(block_, key, value);
}
void ActionWriter::Boolean(uint32_t key, int32_t value) {
    if (error_ == kNoErr)
        error_ = sAction->PutBoolean(block_, key, value != 0 ? 1 : 0);
}
void ActionWriter::Enum(uint32_t key, const char* text, int32_t index) {
    if (error_ == kNoErr)
        error_ = sAction->PutEnum(block_, key, text != nullptr ? text : "", index);
}
void ActionWriter::Real(uint32_t key, const char* unit, double value) {
    if (error_ == kNoErr)
        error_ = sAction->PutReal(block_, key, unit, value);
}
void ActionWriter::String(uint32_t key, const char* text) {
    if (error_ == kNoErr)
        error_ = sAction->PutString(block_, key, text);
}

ErrorCode ActionReader::Integer(uint32_t key, int32_t& value) const {
    return sAction->GetInteger(block_, key, &value);
}
ErrorCode ActionReader::Boolean(uint32_t key, int32_t& value) const {
    return sAction->GetBoolean(block_, key, &value);
}
ErrorCode ActionReader::Enum(uint32_t key, int32_t& index) const {
    return sAction->GetEnum(block_, key, &index, nullptr, 0);
}
ErrorCode ActionReader::Real(uint32_t key, double& value) const {
    return sAction->GetReal(block_, key, &value, nullptr);
}
ErrorCode ActionReader::String(uint32_t key, std::string& text) const {
    // The values this program records are short; a longer one is cut by the
    // host and read as far as it goes.
    char buffer[256] = {};
    ErrorCode err = sAction->GetString(block_, key, buffer, sizeof buffer);
    if (err != kNoErr && err != kBufferTooSmallErr)
        return err;
    text = buffer;
    return kNoErr;
}

const LiveAction* LiveActionOfKind(LiveObjectKind kind) {
    for (const LiveAction* a : kActions)
        if (a->kind == kind)
            return a;
    return nullptr;
}

ErrorCode RegisterLiveObjectActions(PluginRef plugin) {
    if (sAction == nullptr || gGlobals == nullptr)
        return kNoErr;
    for (const LiveAction* a : kActions) {
        int16_t& word = gGlobals->actionIndexes[a->index];
        word = a->index;
        ActionHandle handle = nullptr;
        if (ErrorCode err = sAction->RegisterAction(plugin, a->name, a->title, 1, &word, a->params,
                                                    a->paramCount, &handle))
            return err;
    }
    return kNoErr;
}

ErrorCode RecordLiveObjectAction(LiveObjectKind kind, const void* record) {
    const LiveAction* action = LiveActionOfKind(kind);
    if (action == nullptr || sAction == nullptr || record == nullptr)
        return kNoErr;
    int32_t recording = 0;
    if (ErrorCode err = sAction->InRecordMode(&recording))
        return err;
    if (recording == 0)
        return kNoErr;
    ValueBlock block;
    if (block.error() != kNoErr)
        return block.error();
    ActionWriter out(block.get());
    action->record(out, record);
    if (out.error() != kNoErr)
        return out.error();
    return sAction->RecordEvent(action->name, block.get());
}

ErrorCode PlayLiveObjectAction(const void* userData, ValueBlockHandle values) {
    if (userData == nullptr || sAction == nullptr || gGlobals == nullptr)
        return kNoErr;
    const LiveAction* action = ActionOfIndex(*static_cast<const int16_t*>(userData));
    if (action == nullptr)
        return kNoErr;
    void* panelRecord = gGlobals->liveObjectParams[action->kind];
    if (panelRecord == nullptr)
        return kNoErr;
    // The keys go into a copy first: a playback that fails halfway leaves
    // the panel's values as they were.
    const std::size_t size = KindBlockSize(action->kind);
    std::vector<double> storage(size / sizeof(double) + 1);
    std::memcpy(storage.data(), panelRecord, size);
    if (ErrorCode err = action->play(ActionReader(values), storage.data()))
        return err;
    if (ErrorCode err = CheckRecordBounds(action->kind, storage.data()))
        return err; // the panel and the document stay as they were
    std::memcpy(panelRecord, storage.data(), size);
    SetCurrentKind(action->kind);
    if (ErrorCode err = ReleaseLiveObjectsOf(action->kind))
        return err;
    return ApplyWalkOf(action->kind, panelRecord);
}

} // namespace vtg
