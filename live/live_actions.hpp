// live_actions.hpp - the recordable live-object actions: registration at
// start-up, recording at the end of Apply, and playback on "Do Action".
#pragma once

#include <cstdint>
#include <string>

#include "core/plugin_globals.hpp"
#include "host/api/vtg_action_suite.h"

namespace vtg {

// A four-character key as the host takes it: "cpNm" -> 'c' << 24 | ...
constexpr uint32_t ActionKey(const char (&k)[5]) {
    return static_cast<uint32_t>(static_cast<unsigned char>(k[0])) << 24 |
           static_cast<uint32_t>(static_cast<unsigned char>(k[1])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(k[2])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(k[3]));
}

// One entry of an action's parameter description.
constexpr VtgActionParam ActionParam(const char (&key)[5], int32_t type, const char* label) {
    return {ActionKey(key), type, label};
}

inline constexpr const char* kUnitDistance = "#Pxl";
inline constexpr const char* kUnitPercent = "#Prc";
inline constexpr const char* kUnitAngle = "#Ang";

// Puts values into a value block; the first failing put is kept and the
// later ones do nothing.
class ActionWriter {
public:
    explicit ActionWriter(ValueBlockHandle block) : block_(block) {}
    void Integer(uint32_t key, int32_t value);
    void Boolean(uint32_t key, int32_t value);
    void Enum(uint32_t key, const char* text, int32_t index);
    void Real(uint32_t key, const char* unit, double value);
    void String(uint32_t key, const char* text);
    ErrorCode error() const { return error_; }

private:
    ValueBlockHandle block_;
    ErrorCode error_ = kNoErr;
};

// Reads values from a value block; each read returns the host's error.
class ActionReader {
public:
    explicit ActionReader(ValueBlockHandle block) : block_(block) {}
    ErrorCode Integer(uint32_t key, int32_t& value) const;
    ErrorCode Boolean(uint32_t key, int32_t& value) const;
    ErrorCode Enum(uint32_t key, int32_t& index) const;
    ErrorCode Real(uint32_t key, double& value) const;
    ErrorCode String(uint32_t key, std::string& text) const;

private:
    ValueBlockHandle block_;
};

// One kind's action.
struct LiveAction {
    LiveObjectKind kind;
    int16_t index; // the action index; the globals hold it as user data
    const char* name;
    const char* title;
    const VtgActionParam* params;
    int32_t paramCount;
    // Puts the panel's record under the kind's keys.
    void (*record)(ActionWriter& out, const void* record);
    // Reads the kind's keys into `record`; the first failing read that has
    // no default is returned.
    ErrorCode (*play)(const ActionReader& in, void* record);
};

// The action of a kind, or null when it has none (yet).
const LiveAction* LiveActionOfKind(LiveObjectKind kind);

// Registers every kind's action with the host's action service (nothing
// without one).
ErrorCode RegisterLiveObjectActions(PluginRef plugin);
// Records the kind's action with the panel's record while the host records.
ErrorCode RecordLiveObjectAction(LiveObjectKind kind, const void* record);
// "Do Action": the action index behind `userData` picks the kind; its keys
// are read into a copy of the panel's record, which replaces the panel's
// record only when every key was read; then Release and Apply's walk run.
// An index that names no kind gives success and changes nothing.
ErrorCode PlayLiveObjectAction(const void* userData, ValueBlockHandle values);

// The kinds' actions, defined with each kind.
extern const LiveAction kCircleAction;
extern const LiveAction kBorderAction;
extern const LiveAction kGalaxyAction;
extern const LiveAction kExplosionAction;
extern const LiveAction kCutoutAction;
extern const LiveAction kShadowAction;
extern const LiveAction kEmbossAction;
extern const LiveAction kGenerationAction;
extern const LiveAction kReflectionsAction;
extern const LiveAction kNeonAction;
extern const LiveAction kFrameAction;

} // namespace vtg
