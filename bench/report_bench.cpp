// Cost of one joystick report: the program handles one per polling period
// per stick, inside the window procedure.
#include <benchmark/benchmark.h>

#include "app/stick_ports.h"
#include "app/running_config.h"
#include "bench/noop_platform.h"
#include "engine/joystick_report.h"
#include "engine/xinput_report.h"
#include "platform/input_codes.h"

namespace {

// What the reports act on, as the program's running configuration, and the
// engine's state, as the shell's.
Configuration config;
EngineState engine;

void SetUpSticks(EngineState& sticksEngine = engine)
{
    for (JoyCaps& caps : benchCaps) {
        caps.wXmax = caps.wYmax = caps.wZmax = caps.wRmax = caps.wUmax = caps.wVmax = 65535;
        caps.wCaps = kJoyCapsHasPov;  // a gamepad's d-pad, checked at every report
    }
    for (JoyInfoEx& state : benchState) {
        state.dwXpos = state.dwYpos = state.dwZpos = 32767;
        state.dwRpos = state.dwUpos = state.dwVpos = 32767;
        state.dwButtons = 0;
        state.dwPOV = kJoyPovCentered;
    }
    sticksEngine = EngineState{};
    ComputeAxisLimits(sticksEngine, config.settings);
}

// Every slot bound to a key with a modifier, so firing costs real work.
void BindEverySlot()
{
    for (int port = 0; port < kPortCount; ++port) {
        for (int slot = 0; slot < kAllSlotCount; ++slot) {
            ActionRecord& record = Binding(config, port, slot);
            record = ActionRecord{};
            record.on = 1;
            record.control = 1;
            record.sendKey = 1;
            record.keyCode = 96 + slot % 10;
        }
    }
}

// Sticks at rest, no button change: what the driver sends most of the time.
void BM_IdleReport(benchmark::State& state)
{
    config = Configuration{};
    BindEverySlot();
    SetUpSticks();
    ProcessJoystickReport(engine, config, 0, 0);
    for (auto _ : state) ProcessJoystickReport(engine, config, 0, 0);
    benchmark::DoNotOptimize(benchKeyEvents);
}
BENCHMARK(BM_IdleReport);

// At rest with layers 1 and 2 bound on every slot and button 5 held as the
// key of layer 1: what a held layer adds to a report that changes nothing.
void BM_IdleReportWithALayerHeld(benchmark::State& state)
{
    config = Configuration{};
    BindEverySlot();
    for (int layer = 1; layer <= 2; ++layer) {
        for (int port = 0; port < kPortCount; ++port) {
            for (int slot = 0; slot < kAllSlotCount; ++slot) {
                LayerBinding(config, layer, port, slot) = Binding(config, port, slot);
            }
        }
    }
    config.behaviour[0][0][4] = SlotBehaviour{LAYER_WHILE_HELD, 1, 0};
    SetUpSticks();
    ProcessJoystickReport(engine, config, 0, 0);
    benchState[0].dwButtons = 1u << 4;
    ProcessJoystickReport(engine, config, 0, 0);
    for (auto _ : state) ProcessJoystickReport(engine, config, 0, 0);
    benchState[0].dwButtons = 0;
    engine = EngineState{};  // no layer held in the benchmarks after this one
    benchmark::DoNotOptimize(benchKeyEvents);
}
BENCHMARK(BM_IdleReportWithALayerHeld);

// The same report as the main window hands it on: what the watch over the
// ports adds to every report is the time of the last good one.
void BM_IdleReportThroughTheShell(benchmark::State& state)
{
    config = Configuration{};
    BindEverySlot();
    running.config = config;
    SetUpSticks(running.engine);
    HandleStickReport(0);
    for (auto _ : state) HandleStickReport(0);
    benchmark::DoNotOptimize(benchKeyEvents);
}
BENCHMARK(BM_IdleReportThroughTheShell);

// All 32 buttons change and, held continuously, every axis lets go of both
// ends: 44 bindings fire in each report.
void BM_ReportFiringAllSlots(benchmark::State& state)
{
    config = Configuration{};
    config.settings.continuous = 1;
    BindEverySlot();
    SetUpSticks();
    ProcessJoystickReport(engine, config, 0, 0);
    const uint32_t before = benchKeyEvents;
    for (auto _ : state) {
        benchState[0].dwButtons = ~benchState[0].dwButtons;
        ProcessJoystickReport(engine, config, 0, 0);
    }
    state.counters["events_per_report"] =
        double(benchKeyEvents - before) / double(state.iterations());
}
BENCHMARK(BM_ReportFiringAllSlots);

// An Xbox controller's state read through XInput, at rest: the mapping to a
// report and its processing, what the report timer costs per port.
void BM_XInputReport(benchmark::State& state)
{
    config = Configuration{};
    BindEverySlot();
    SetUpSticks();
    XInputCaps(0, benchCaps[0]);
    ComputeAxisLimits(engine, config.settings);
    const XInputPad pad = {};
    JoyInfoEx info = {};
    XInputReport(pad, info);
    ProcessJoystickState(engine, config, 0, &info, 0);
    for (auto _ : state) {
        XInputReport(pad, info);
        ProcessJoystickState(engine, config, 0, &info, 0);
    }
    benchmark::DoNotOptimize(benchKeyEvents);
}
BENCHMARK(BM_XInputReport);

}  // namespace
