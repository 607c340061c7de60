#include "engine/layers.h"

#include "engine/action_execution.h"
#include "platform/clock.h"

namespace {

bool IsOn(const LayerStack& layers, int layer)
{
    return layers.holders[layer] > 0 || (layers.toggled >> layer & 1) != 0;
}

// A layer that comes on goes on top; one that goes off leaves the stack
// wherever it stands, so layers may be released in any order.
void Restack(LayerStack& layers, int layer, bool wasOn)
{
    const bool on = IsOn(layers, layer);
    if (on == wasOn) return;
    if (on) {
        layers.order[layers.count++] = uint8_t(layer);
        return;
    }
    int kept = 0;
    for (int i = 0; i < layers.count; ++i) {
        if (layers.order[i] != layer) layers.order[kept++] = layers.order[i];
    }
    layers.count = uint8_t(kept);
}

void HoldLayer(LayerStack& layers, int layer)
{
    const bool wasOn = IsOn(layers, layer);
    ++layers.holders[layer];
    Restack(layers, layer, wasOn);
}

void UnholdLayer(LayerStack& layers, int layer)
{
    if (layers.holders[layer] == 0) return;  // the stack went back to the base meanwhile
    const bool wasOn = IsOn(layers, layer);
    --layers.holders[layer];
    Restack(layers, layer, wasOn);
}

bool HasOutput(const ActionRecord& binding)
{
    return binding.on != 0 && (binding.shift == 1 || binding.control == 1 || binding.alt == 1 ||
                               binding.sendKey == 1 || binding.sendText == 1 || binding.sendMouse == 1);
}

// Turbo clicks are clicks: the toggle lock would turn every other pulse into
// a release of the button.
Settings TurboSettings(const Settings& settings)
{
    Settings turbo = settings;
    turbo.toggleLock = 0;
    return turbo;
}

uint32_t TurboDue(const SlotTimers& timers, int port, int slot, uint32_t period)
{
    return timers.turboStart[port][slot] + uint32_t((uint64_t(timers.turboPulses[port][slot]) + 1) * period / 2);
}

void EndTap(EngineState& engine, const Settings& settings, int port, int slot)
{
    engine.timers.tap[port] &= ~(uint64_t(1) << slot);
    ExecuteBinding(engine, *engine.timers.tapBinding[port][slot], settings, port, slot, PHASE_RELEASE);
}

// The wake the shell's timer keeps: the soonest slot timer.
void UpdateWake(EngineState& engine)
{
    engine.wake.pending = NextSlotTimer(engine, engine.wake.at);
}

}  // namespace

int ResolveLayer(const EngineState& engine, const Configuration& config, int port, int slot)
{
    const LayerStack& layers = engine.layers;
    for (int i = layers.count - 1; i >= 0; --i) {
        const int layer = layers.order[i];
        if (config.layers[layer - 1][port][slot].on != 0 || config.behaviour[layer][port][slot].layerAction != 0) {
            return layer;
        }
    }
    return 0;
}

void PressBehaving(EngineState& engine, const Settings& settings, int port, int slot, const ActionRecord& binding,
                   SlotBehaviour behaviour, uint32_t now)
{
    const uint64_t bit = uint64_t(1) << slot;
    PressedBindings& pressed = engine.pressed;
    SlotTimers& timers = engine.timers;
    // A tap of this slot still down goes up before the slot acts again.
    if ((timers.tap[port] & bit) != 0) EndTap(engine, settings, port, slot);
    pressed.slots[port] |= bit;
    pressed.behaving[port] |= bit;
    pressed.binding[port][slot] = &binding;
    pressed.behaviour[port][slot] = behaviour;
    switch (behaviour.layerAction) {
    case LAYER_WHILE_HELD:
        HoldLayer(engine.layers, behaviour.layerTarget);
        if (HasOutput(binding)) {
            timers.tapCandidates[port] |= bit;
            timers.pressedAt[port][slot] = now;
        }
        return;
    case LAYER_TOGGLE: {
        LayerStack& layers = engine.layers;
        const bool wasOn = IsOn(layers, behaviour.layerTarget);
        layers.toggled ^= uint8_t(1u << behaviour.layerTarget);
        Restack(layers, behaviour.layerTarget, wasOn);
        ExecuteBinding(engine, binding, settings, port, slot, PHASE_PRESS);
        return;
    }
    default:
        timers.turbo[port] |= bit;
        timers.turboStart[port][slot] = now;
        timers.turboPulses[port][slot] = 0;
        ExecuteBinding(engine, binding, TurboSettings(settings), port, slot, PHASE_PRESS);
        UpdateWake(engine);
        return;
    }
}

void ReleaseBehaving(EngineState& engine, const Settings& settings, int port, int slot, uint32_t now)
{
    const uint64_t bit = uint64_t(1) << slot;
    PressedBindings& pressed = engine.pressed;
    SlotTimers& timers = engine.timers;
    pressed.slots[port] &= ~bit;
    pressed.behaving[port] &= ~bit;
    const ActionRecord& binding = *pressed.binding[port][slot];
    const SlotBehaviour behaviour = pressed.behaviour[port][slot];
    switch (behaviour.layerAction) {
    case LAYER_WHILE_HELD: {
        UnholdLayer(engine.layers, behaviour.layerTarget);
        const bool tap = (timers.tapCandidates[port] & bit) != 0 && now - timers.pressedAt[port][slot] <= kTapMs;
        timers.tapCandidates[port] &= ~bit;
        if (!tap) return;
        ExecuteBinding(engine, binding, settings, port, slot, PHASE_PRESS);
        timers.tap[port] |= bit;
        timers.tapUpAt[port][slot] = now + kTapHoldMs;
        timers.tapBinding[port][slot] = &binding;
        UpdateWake(engine);
        return;
    }
    case LAYER_TOGGLE:
        ExecuteBinding(engine, binding, settings, port, slot, PHASE_RELEASE);
        return;
    default:
        // Whatever the pulse holds goes up at once.
        if ((timers.turbo[port] & bit) == 0) return;
        timers.turbo[port] &= ~bit;
        if (timers.turboPulses[port][slot] % 2 == 0) {
            ExecuteBinding(engine, binding, TurboSettings(settings), port, slot, PHASE_RELEASE);
        }
        UpdateWake(engine);
        return;
    }
}

void RunSlotTimers(EngineState& engine, const Settings& settings, uint32_t now)
{
    SlotTimers& timers = engine.timers;
    for (int port = 0; port < kPortCount; ++port) {
        for (uint64_t taps = timers.tap[port]; taps != 0; taps &= taps - 1) {
            const int slot = __builtin_ctzll(taps);
            if (TickDue(timers.tapUpAt[port][slot], now)) EndTap(engine, settings, port, slot);
        }
        for (uint64_t turbo = timers.turbo[port]; turbo != 0; turbo &= turbo - 1) {
            const int slot = __builtin_ctzll(turbo);
            const uint32_t period = engine.pressed.behaviour[port][slot].turbo;
            if (!TickDue(TurboDue(timers, port, slot, period), now)) continue;
            // A late run (a blocked thread, a slow timer) catches up without
            // a burst: half periods missed in pairs are skipped.
            const uint32_t done = uint32_t(uint64_t(now - timers.turboStart[port][slot]) * 2 / period);
            const uint32_t missed = done - timers.turboPulses[port][slot];
            timers.turboPulses[port][slot] = done;
            if (missed % 2 == 0) continue;
            const ActionPhase phase = done % 2 == 0 ? PHASE_PRESS : PHASE_RELEASE;
            ExecuteBinding(engine, *engine.pressed.binding[port][slot], TurboSettings(settings), port, slot, phase);
        }
    }
    SetActingBinding(engine.heldRecord, -1, -1);
    UpdateWake(engine);
}

bool NextSlotTimer(const EngineState& engine, uint32_t& at)
{
    const SlotTimers& timers = engine.timers;
    bool any = false;
    const auto sooner = [&](uint32_t due) {
        if (!any || int32_t(due - at) < 0) at = due;
        any = true;
    };
    for (int port = 0; port < kPortCount; ++port) {
        for (uint64_t taps = timers.tap[port]; taps != 0; taps &= taps - 1) {
            sooner(timers.tapUpAt[port][__builtin_ctzll(taps)]);
        }
        for (uint64_t turbo = timers.turbo[port]; turbo != 0; turbo &= turbo - 1) {
            const int slot = __builtin_ctzll(turbo);
            sooner(TurboDue(timers, port, slot, engine.pressed.behaviour[port][slot].turbo));
        }
    }
    return any;
}

void ForgetBehaviour(EngineState& engine, int port, uint64_t slots)
{
    if (((engine.pressed.behaving[port] | engine.timers.tap[port]) & slots) == 0) return;
    PressedBindings& pressed = engine.pressed;
    SlotTimers& timers = engine.timers;
    for (uint64_t behaving = pressed.behaving[port] & slots; behaving != 0; behaving &= behaving - 1) {
        const SlotBehaviour& behaviour = pressed.behaviour[port][__builtin_ctzll(behaving)];
        if (behaviour.layerAction == LAYER_WHILE_HELD) UnholdLayer(engine.layers, behaviour.layerTarget);
    }
    pressed.behaving[port] &= ~slots;
    pressed.heldZones[port] &= ~slots;
    timers.turbo[port] &= ~slots;
    timers.tap[port] &= ~slots;
    timers.tapCandidates[port] &= ~slots;
    UpdateWake(engine);
}

void ResetLayers(EngineState& engine)
{
    // A layer key still held holds nothing from now on; its release finds
    // its layer off already. What still repeats belongs to slots still held,
    // whose release stops it.
    engine.layers = LayerStack{};
    engine.timers.tapCandidates[0] = engine.timers.tapCandidates[1] = 0;
}

int TopToggledLayer(const LayerStack& layers)
{
    for (int i = layers.count - 1; i >= 0; --i) {
        if ((layers.toggled >> layers.order[i] & 1) != 0) return layers.order[i];
    }
    return 0;
}
