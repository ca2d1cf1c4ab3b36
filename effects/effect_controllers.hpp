// effect_controllers.hpp - the live-effect controllers the main plug-in
// object owns: created on first use from the effects' blocks in the
// globals, deleted at shut-down.
#pragma once

namespace vtg {

class EffectCtrlr;

// The controller of an effect index (EffectIndex), created when missing;
// null for an index out of range.
EffectCtrlr* EffectController(int index);
// Deletes the controllers (at shut-down).
void DestroyEffectControllers();

} // namespace vtg
