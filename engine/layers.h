// Layers, tap-or-hold and turbo. A press is resolved once, through the layers
// that are on at that moment, and its release acts on what it resolved to,
// whatever the layers do in between: a layer change presses and releases
// nothing by itself. A slot whose resolved behaviour has a layer action or a
// turbo period "behaves": its press and release are handled here; every
// other slot takes the plain path of the report.
#pragma once

#include <cstdint>

#include "config/configuration.h"
#include "engine/engine_state.h"

constexpr uint32_t kTapMs = 200;     // a "while held" key released within this taps its binding
constexpr uint32_t kTapHoldMs = 40;  // how long a tap holds its binding down

// The layer a press of the slot resolves to: from the top down, the first
// layer that is on where the slot's binding is on or has a layer action; 0,
// the base, when none has.
int ResolveLayer(const EngineState& engine, const Configuration& config, int port, int slot);

// Whether a resolved slot behaves: a layer action, or turbo on a binding that
// is on (turbo on a layer key is ignored).
inline bool Behaves(const SlotBehaviour& behaviour, const ActionRecord& binding)
{
    if (behaviour.layerAction == LAYER_WHILE_HELD || behaviour.layerAction == LAYER_TOGGLE) {
        return behaviour.layerTarget >= 1 && behaviour.layerTarget <= kLayerCount;
    }
    return behaviour.turbo >= kTurboMin && behaviour.turbo <= kTurboMax && binding.on != 0;
}

// The press and the release of a behaving slot; binding is what it resolved to.
void PressBehaving(EngineState& engine, const Settings& settings, int port, int slot, const ActionRecord& binding,
                   SlotBehaviour behaviour, uint32_t now);
void ReleaseBehaving(EngineState& engine, const Settings& settings, int port, int slot, uint32_t now);

// Any slot's new press: a tap-or-hold key held meanwhile switches its layer
// only.
inline void NotePress(EngineState& engine)
{
    engine.timers.tapCandidates[0] = engine.timers.tapCandidates[1] = 0;
}

// Turbo pulses and the ends of taps that are due at now.
void RunSlotTimers(EngineState& engine, const Settings& settings, uint32_t now);
// When the next of them is due; false when none is.
bool NextSlotTimer(const EngineState& engine, uint32_t& at);

// Forgotten slots (let go of, or their port lost): the layers they hold go
// off, their pulses and taps stop. The caller has sent the ups.
void ForgetBehaviour(EngineState& engine, int port, uint64_t slots);
// Back to the base: no layer on.
void ResetLayers(EngineState& engine);

// The topmost layer that is toggled on, 0 for none: what the tray tip names.
int TopToggledLayer(const LayerStack& layers);
