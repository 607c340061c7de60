#include "app/running_config.h"

#include "app/config_messages.h"
#include "app/stick_ports.h"
#include "config/config_file.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"

Running running;

void PutConfigInPlace(const Configuration& value, bool computeLimits)
{
    // Nothing that the old bindings hold may outlive them; a button still
    // held presses its new binding at the next report, whether its old one
    // held something or not.
    LetGoForNewBindings(running.engine);
    running.config = value;
    ApplyPortSources();
    if (computeLimits) ComputeAxisLimits(running.engine, running.config.settings);
}

DefaultProcessing ReloadConfig(const Configuration* fallback)
{
    // What the file lacks keeps what runs, as a partial file always has.
    Configuration loaded = running.config;
    const LoadOutcome outcome = LoadConfig(running.configPath, loaded);
    TellLoadOutcome(outcome);
    const bool restored = outcome.kind != LoadOutcome::READ && fallback != nullptr;
    if (restored) loaded = *fallback;
    PutConfigInPlace(loaded, outcome.kind != LoadOutcome::TABLE_SHORT || restored);
    return outcome.kind == LoadOutcome::TABLE_SHORT ? SKIP_DEFAULT : RUN_DEFAULT;
}

bool SaveRunningConfig()
{
    return TellSaveOutcome(SaveConfig(running.configPath, running.config));
}
