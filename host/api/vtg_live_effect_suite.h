/* vtg_live_effect_suite.h - live effects in an art's appearance. */
#ifndef VTG_API_LIVE_EFFECT_SUITE_H
#define VTG_API_LIVE_EFFECT_SUITE_H
#include "host/api/vtg_base.h"
#ifdef __cplusplus
extern "C" {
#endif

#define kLiveEffectSuiteName "Host Live Effect Suite"
#define kLiveEffectSuiteVersion 1

/* Input kinds an effect prefers (bits). */
#define kEffectInputGroup 0x1
#define kEffectInputPath 0x2
#define kEffectInputCompoundPath 0x4

/* Style filter flags. */
#define kEffectPreEffect 0x1          /* runs before the fill and stroke       */
#define kEffectPostEffect 0x2         /* runs after the fill and stroke        */
#define kEffectScalableParams 0x20000 /* receives "Scale Parameters" messages  */

typedef struct LiveEffectDefinition {
    const char* name;  /* unique internal name (ASCII)             */
    const char* title; /* display title                             */
    int32_t majorVersion, minorVersion;
    int32_t inputKinds; /* kEffectInput... bits                      */
    int32_t styleFlags; /* kEffect... flags                          */
} LiveEffectDefinition;

typedef struct LiveEffectSuite {
    /* Registers a live effect. Errors: kBadParameterErr (missing or duplicate
     * name). */
    ErrorCode (*AddLiveEffect)(PluginRef plugin, const LiveEffectDefinition* definition,
                               LiveEffectHandle* effect);
    /* Adds the effect's item to the host's effect menu under `category`. */
    ErrorCode (*AddLiveEffectMenuItem)(LiveEffectHandle effect, const char* category,
                                       const char* menuTitle, int32_t options);
    /* The name an effect was registered with, copied to buffer. */
    ErrorCode (*GetLiveEffectName)(LiveEffectHandle effect, char* buffer, size_t size);
} LiveEffectSuite;

/* ---- editing an effect instance ------------------------------------------ */
#define kLiveEffectEditSuiteName "Host Live Effect Edit Suite"
#define kLiveEffectEditSuiteVersion 1

typedef struct LiveEffectEditSuite {
    /* UpdateParameters: while "Host Live Effect Edit Parameters" runs, puts
     * the entries of `parameters` into the instances being edited and shows
     * them: the host runs "Host Live Effect Go Live" on a preview copy of each
     * edited art (re-entering the plug-in) and redraws. `preview` is the
     * edit message's preview context, handed back as it came. The changes are
     * pending changes of the document: RevertPending undoes them.
     * Errors: kBadParameterErr (no edit runs with this context, null
     * dictionary), the error of a failing Go Live. */
    ErrorCode (*UpdateParameters)(void* preview, DictionaryHandle parameters);
} LiveEffectEditSuite;

#ifdef __cplusplus
}
#endif
#endif
