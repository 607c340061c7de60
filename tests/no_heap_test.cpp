// The report path runs at the joystick's polling rate inside the window
// procedure; it must never touch the heap.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "config/config_file.h"
#include "engine/joystick_report.h"
#include "tests/fake_platform.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(ReportPath, AllocatesNothingWhileFiringEveryKindOfBinding)
{
    ResetProgramState();
    for (int port = 0; port < kPortCount; ++port) {
        fake.caps[port].wXmax = fake.caps[port].wYmax = fake.caps[port].wZmax = 65535;
        fake.caps[port].wRmax = fake.caps[port].wUmax = fake.caps[port].wVmax = 65535;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            ActionRecord& record = running.config.MappingTable[port][slot];
            record = ActionRecord{1, 1, 1, 1, 1, 65 + slot % 30, 1, "^aB1%x", 1, slot % 10};
        }
    }
    ComputeAxisLimits(running.engine, running.config.settings);

    const long before = allocations.load();
    for (int round = 0; round < 50; ++round) {
        running.config.settings.continuous = round % 2;
        running.config.settings.toggleLock = round / 10 % 2;
        for (int port = 0; port < kPortCount; ++port) {
            fake.state[port].dwButtons = round % 2 ? 0xFFFFFFFFu : 0u;
            const uint32_t pos = round % 3 == 0 ? 0u : round % 3 == 1 ? 32767u : 65535u;
            fake.state[port].dwXpos = fake.state[port].dwYpos = fake.state[port].dwZpos = pos;
            fake.state[port].dwRpos = fake.state[port].dwUpos = fake.state[port].dwVpos = pos;
            fake.posResult[port] = round % 7 == 6 ? 167u : 0u;  // an unplugged stick too
            ProcessJoystickReport(running.engine, running.config, port, fake.tickCount);
            ProcessJoystickReport(running.engine, running.config, port, fake.tickCount);
            ClearEvents();
        }
    }
    EXPECT_EQ(allocations.load() - before, 0);
    // Make sure the loop really fired bindings, or the count proves nothing.
    EXPECT_GT(fake.posReads[0], 90u);
}

// Saving happens from the editor and the menu, but the program has no heap
// to fall back on: the temporary name beside the target is built in place.
TEST(SaveConfig, AllocatesNothingWritingEveryPart)
{
    ResetProgramState();
    Configuration config;
    config.MappingTable[1][43].on = 1;
    config.HatTable[0][2].sendKey = 1;
    config.portSource[1] = 2;
    const char* path = "C:\\Tools\\quellpad.CFG";
    PutFakeFile(path, {1, 2, 3});  // an old file, replaced

    const long before = allocations.load();
    const SaveOutcome outcome = SaveConfig(path, config);
    EXPECT_EQ(allocations.load() - before, 0);

    EXPECT_EQ(outcome.kind, SaveOutcome::WRITTEN);
    // The 6724 bytes, the port sources' chunk and the hats' chunk.
    ASSERT_NE(FindFakeFile(path), nullptr);
    EXPECT_EQ(FindFakeFile(path)->size, 6724u + 8 + 2 + 8 + 608);
}
