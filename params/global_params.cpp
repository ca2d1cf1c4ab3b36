// The global settings: three reserved flags.
#include "params/global_params.hpp"

#include "params/key_table.hpp"
#include "params/preset_text.hpp"

namespace vtg {
namespace {

const KeyField kPrefsKeys[] = {
    VTG_KEY(PrefsParams, "A", Bool, flagA, None, ""),
    VTG_KEY(PrefsParams, "B", Bool, flagB, None, ""),
    VTG_KEY(PrefsParams, "C", Bool, flagC, None, ""),
};

void DefaultsPrefs(void* block) {
    PrefsParams& p = As<PrefsParams>(block);
    p.flagA = p.flagB = p.flagC = 0;
}

void ReadPrefs(std::string_view record, void* block, int n) {
    RecordReader r(record, block, kPrefsType);
    r.ReadRest();
    for (const char* key : {"A", "B", "C"})
        if (!r.Found(key) || n == kRecordDefault)
            r.Set(key, 0);
}

} // namespace

const PresetType kPrefsType = {"prefs",
                               "Global settings",
                               "PrefsData",
                               "VERTiGON6_PST_Prefs.txt",
                               sizeof(PrefsParams),
                               kPrefsKeys,
                               &DefaultsPrefs,
                               &ReadPrefs,
                               nullptr,
                               -1};

} // namespace vtg
