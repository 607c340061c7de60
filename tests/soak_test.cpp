// A long random run of joystick reports on both sticks, under every switch
// setting, while the application in front changes now and then and its own
// configuration takes over, with the one guarantee that matters most to a
// user: once both sticks are back at rest, no key, modifier or mouse button
// is left down.
//
// QUELLPAD_SOAK_REPORTS sets the number of reports (default one million),
// QUELLPAD_SOAK_SEED the random seed. The rate printed at the end is for
// information only.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include "engine/axes.h"
#include "engine/engine_time.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "config/config_file.h"
#include "engine/joystick_report.h"
#include "platform/input_codes.h"
#include "tests/fake_platform.h"
#include "tests/stick_caps.h"

namespace {

constexpr uint32_t kJoyErrUnplugged = 167;
constexpr uint32_t kMouseDown[3] = {LEFTDOWN, MIDDLEDOWN, RIGHTDOWN};
constexpr uint32_t kMouseUp[3] = {LEFTUP, MIDDLEUP, RIGHTUP};
constexpr const char* kMouseName[3] = {"left", "middle", "right"};
// The profiles first: the base is written last and so is what runs at start.
constexpr const char* kFiles[] = {"C:\\Tools\\profiles\\game.CFG", "C:\\Tools\\profiles\\browser.CFG",
                                  "C:\\Tools\\quellpad.CFG"};

uint64_t FromEnvironment(const char* name, uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

// What the receiving application would believe is held, rebuilt from the log.
struct HeldInput {
    bool key[256];
    bool mouse[3];
    uint64_t keyDowns;

    void Take(const Event& e)
    {
        if (e.kind == EventKind::Key) {
            const bool down = (e.c & 2) == 0;
            key[e.a & 0xFF] = down;
            keyDowns += down;
        } else if (e.kind == EventKind::Mouse) {
            for (int b = 0; b < 3; ++b) {
                if (e.a == kMouseDown[b]) mouse[b] = true;
                if (e.a == kMouseUp[b]) mouse[b] = false;
            }
        }
    }
};

// Real sticks: 16-bit, two axes only, offset, 8-bit, none plugged in.
constexpr StickRange kRealSticks[] = {kStickRanges[1], kStickRanges[2], kStickRanges[3], kStickRanges[6],
                                      kStickRanges[0]};
constexpr int32_t kSensitivities[] = {1, 5, 10, 20, 20, 30, 45, 49, 50, 60, 90};
constexpr int32_t kDelays[] = {0, 1, 1, 5, 200, 1000};
constexpr int32_t kSteps[] = {1, 8, 8, 40, 0, -5};

class Soak {
   public:
    explicit Soak(uint32_t seed) : random_(seed) {}

    // Returns a description of the first violation, or "" when none.
    std::string Run(uint64_t reports)
    {
        for (uint64_t epoch = 0; done_ < reports; ++epoch) {
            StartEpoch(epoch);
            const uint64_t end = done_ + 200 + Below(1800);
            while (done_ < end && done_ < reports) {
                // A burst of activity on both sticks, then both come to rest.
                for (uint32_t n = 1 + Below(24); n > 0 && done_ < end; --n) {
                    const int port = int(Below(2));
                    if (Below(100) < 8) {
                        Lose(port);
                    } else {
                        Move(port);
                    }
                    if (!failure_.empty()) return failure_;
                }
                for (int step = 0; step < 2 + int(Below(2)); ++step) {
                    for (int port = 0; port < kPortCount; ++port) {
                        if (Below(100) < 3) {
                            Lose(port);
                        } else {
                            Rest(port);
                        }
                        if (!failure_.empty()) return failure_;
                    }
                }
            }
        }
        return failure_;
    }

    uint64_t Done() const { return done_; }
    uint64_t Checks() const { return checks_; }
    uint64_t KeyDowns() const { return held_.keyDowns; }
    uint64_t Switches() const { return switches_; }

   private:
    struct Port {
        bool lost;
        int restReports;  // consecutive good reports of the rest position
        uint32_t rest[kAxisCount];
    };

    uint32_t Below(uint32_t n) { return uint32_t(random_() % n); }
    template <class T, size_t N>
    T Pick(const T (&values)[N])
    {
        return values[Below(N)];
    }

    // A fresh program run: one settings combination, new sticks, new bindings.
    void StartEpoch(uint64_t epoch)
    {
        ResetProgramState();
        std::memset(&held_.key, 0, sizeof held_.key);
        std::memset(&held_.mouse, 0, sizeof held_.mouse);
        // The five switches go round all 32 combinations, one per run.
        running.config.settings.continuous = int32_t(epoch & 1);
        running.config.settings.dynamic = int32_t(epoch >> 1 & 1);
        running.config.settings.toggleLock = int32_t(epoch >> 2 & 1);
        running.config.settings.digital = int32_t(epoch >> 3 & 1);
        running.config.settings.dosMode = int32_t(epoch >> 4 & 1);
        running.config.settings.sensitivity = Pick(kSensitivities);
        running.config.settings.delay = Pick(kDelays);
        running.config.settings.xStep = Pick(kSteps);
        running.config.settings.yStep = Pick(kSteps);
        fake.doubleClickTime = Below(800);
        for (int port = 0; port < kPortCount; ++port) {
            JoyCaps& caps = fake.caps[port];
            SetStickRange(caps, Pick(kRealSticks));
            caps.wCaps = Below(2) == 0 ? kJoyCapsHasPov : 0;  // half the sticks have a hat
            ports_[port] = Port{};
            for (int axis = 0; axis < kAxisCount; ++axis) {
                ports_[port].rest[axis] = caps.*kAxes[axis].min / 2 + caps.*kAxes[axis].max / 2;
            }
        }
        // The base and two profiles: the same settings, bindings of their own;
        // every other run with layer keys, layers and turbo.
        const bool layered = (epoch >> 5 & 1) == 1;
        for (const char* path : kFiles) {
            for (int port = 0; port < kPortCount; ++port) {
                for (int slot = 0; slot < kAllSlotCount; ++slot) Binding(running.config, port, slot) = RandomBinding();
            }
            if (layered) RandomLayers();
            SaveConfig(path, running.config);
        }
        fake.foreground = ForegroundWindow{ForegroundWindow::SHELL, false, {}};
        HandleMainWindowMessage(kWmCreate, 0, 0);  // loads the base, the last one written
        describe_ = Describe(epoch);
    }

    int32_t Flag()
    {
        const uint32_t roll = Below(100);
        return roll < 60 ? 0 : roll < 95 ? 1 : 2;  // 2 is set but counts as off
    }

    // Layers 1 and 2 bind a dozen slots each; a few slots of the base and
    // the layers switch a layer (held or toggled) or repeat.
    void RandomLayers()
    {
        Configuration& config = running.config;
        std::memset(config.layers, 0, sizeof config.layers);
        std::memset(config.behaviour, 0, sizeof config.behaviour);
        for (int layer = 1; layer <= 2; ++layer) {
            for (int n = 0; n < 12; ++n) {
                LayerBinding(config, layer, int(Below(2)), int(Below(kAllSlotCount))) = RandomBinding();
            }
        }
        for (int layer = 0; layer <= 2; ++layer) {
            for (int n = 0; n < 4; ++n) {
                SlotBehaviour& behaviour = config.behaviour[layer][Below(2)][Below(kAllSlotCount)];
                behaviour.layerAction = uint8_t(Below(3));
                behaviour.layerTarget = behaviour.layerAction != 0 ? uint8_t(1 + Below(2)) : 0;
                behaviour.turbo = Below(2) == 0 ? uint16_t(kTurboMin + Below(200)) : 0;
            }
        }
    }

    ActionRecord RandomBinding()
    {
        ActionRecord r{};
        const uint32_t on = Below(100);
        r.on = on < 85 ? 1 : on < 95 ? 0 : -1;
        r.shift = Flag();
        r.control = Flag();
        r.alt = Flag();
        r.sendKey = Flag();
        constexpr int32_t kOddKeys[] = {-1, INT32_MIN, INT32_MAX, 16, 17, 18, 91, 92, 160, 256 + 16};
        switch (Below(4)) {
        case 0:
            r.keyCode = int32_t(Below(256));
            break;
        case 1:
            r.keyCode = 65 + int32_t(Below(27));
            break;  // inside the Shift wrap
        case 2:
            r.keyCode = 321 + int32_t(Below(26));
            break;  // small letters
        default:
            r.keyCode = Pick(kOddKeys);
            break;
        }
        r.sendText = Below(100) < 20 ? 1 : 0;
        constexpr char kMacroCharacters[] = "aZ09^%% x";
        const uint32_t length = Below(kTextSize + 1);  // kTextSize: no terminator at all
        for (uint32_t i = 0; i < length; ++i)
            r.text[i] = kMacroCharacters[Below(sizeof kMacroCharacters - 1)];
        r.sendMouse = Flag();
        r.mouseAction = int32_t(Below(12)) - 1;  // -1 .. 10, two of them no action
        return r;
    }

    // Another window comes to the front: a program with or without a
    // profile, one of ours, or the desktop.
    void ChangeFront()
    {
        constexpr const char* kStems[] = {"game", "browser", "player"};
        constexpr ForegroundWindow::Kind kKinds[] = {ForegroundWindow::APPLICATION, ForegroundWindow::APPLICATION,
                                                     ForegroundWindow::OURS, ForegroundWindow::SHELL};
        fake.foreground = ForegroundWindow{Pick(kKinds), false, {}};
        if (fake.foreground.kind == ForegroundWindow::APPLICATION) std::strcpy(fake.foreground.stem, Pick(kStems));
        HandleMainWindowMessage(WM_FOREGROUNDCHANGED, 0, 0);
    }

    void Report(int port, bool lost)
    {
        // Reports come every 10 ms; the switch falls between two of them.
        fake.tickCount += 10;
        const FakePlatform::Timer& settle = *FakeTimer(kTimerSettleFront);
        if (settle.running && int32_t(fake.tickCount - settle.due) >= 0) {
            HandleMainWindowMessage(kWmTimer, kTimerSettleFront, 0);
        }
        if (Below(100) < 2) ChangeFront();
        fake.posResult[port] = lost ? kJoyErrUnplugged : 0;
        ProcessJoystickReport(running.engine, running.config, port, fake.tickCount);
        ++done_;
        if (fake.eventCount > 8192) failure_ = "one report overflowed the fake's log";
        for (uint32_t i = 0; i < fake.eventCount; ++i) {
            held_.Take(fake.events[i]);
            const Event& e = fake.events[i];
            if (e.kind == EventKind::Shell && std::strncmp(e.text, "tip ", 4) == 0) ++switches_;
        }
        ClearEvents();
    }

    uint32_t RandomPosition(int port, int axis, uint32_t previous)
    {
        const uint32_t min = fake.caps[port].*kAxes[axis].min, max = fake.caps[port].*kAxes[axis].max;
        const uint32_t span = max - min;
        const uint32_t near = span / 50 + 1;
        switch (Below(8)) {
        case 0:
            return min;
        case 1:
            return max;
        case 2:
            return min + Below(near);
        case 3:
            return max - Below(near);
        case 4:
            return min + Below(span + 1);
        case 5:
            return ports_[port].rest[axis];
        case 6:
            return random_();  // a driver reporting nonsense
        default:
            return previous;
        }
    }

    void Move(int port)
    {
        JoyInfoEx& state = fake.state[port];
        uint32_t buttons = 0;
        for (uint32_t n = Below(4); n > 0; --n) buttons |= 1u << Below(32);
        state.dwButtons = Below(3) == 0 ? state.dwButtons : buttons;
        constexpr uint32_t kHat[] = {65535, 0, 4500, 9000, 13500, 18000, 27000, 31500, 35999, 36000};
        state.dwPOV = Below(4) == 0 ? random_() : Pick(kHat);
        for (int axis = 0; axis < kAxisCount; ++axis) {
            uint32_t& position = state.*kAxes[axis].position;
            position = RandomPosition(port, axis, position);
        }
        ports_[port].lost = false;
        ports_[port].restReports = 0;
        Report(port, false);
    }

    void Rest(int port)
    {
        JoyInfoEx& state = fake.state[port];
        state.dwButtons = 0;
        state.dwPOV = 65535;  // centred
        for (int axis = 0; axis < kAxisCount; ++axis) state.*kAxes[axis].position = ports_[port].rest[axis];
        ports_[port].lost = false;
        ++ports_[port].restReports;
        Report(port, false);
        CheckIfBothAtRest();
    }

    // An unplugged stick lets go of everything it held, so it counts as at rest.
    void Lose(int port)
    {
        ports_[port].lost = true;
        ports_[port].restReports = 0;
        Report(port, true);
        CheckIfBothAtRest();
    }

    // The rest position lies between the ends unless the end zones meet
    // (sensitivity 50 and up); an axis without range never fires at all.
    bool RestIsBetweenEnds(int port) const
    {
        for (int axis = 0; axis < kAxisCount; ++axis) {
            const uint32_t threshold = running.engine.axisLimits.threshold[axis][port];
            const uint32_t rest = ports_[port].rest[axis];
            const uint32_t min = fake.caps[port].*kAxes[axis].min, max = fake.caps[port].*kAxes[axis].max;
            if (threshold != 0 && (rest - min < threshold || max - rest < threshold)) return false;
        }
        return true;
    }

    bool AtRest(int port) const
    {
        return ports_[port].lost || (ports_[port].restReports >= 2 && RestIsBetweenEnds(port));
    }

    void CheckIfBothAtRest()
    {
        // A tap goes up on its own 40 ms after its key was let go.
        uint32_t due = 0;
        if (!AtRest(0) || !AtRest(1) || EngineNextRun(running.engine, due)) return;
        ++checks_;
        std::ostringstream stuck;
        for (int vk = 0; vk < 256; ++vk) {
            if (held_.key[vk]) stuck << " key " << vk;
        }
        for (int b = 0; b < 3; ++b) {
            // A toggle lock holds its button between clicks by design.
            if (held_.mouse[b] && running.config.settings.toggleLock != 1) stuck << " mouse " << kMouseName[b];
        }
        if (stuck.str().empty()) return;
        std::ostringstream out;
        out << "after report " << done_ << " both sticks are at rest"
            << (ports_[0].lost || ports_[1].lost ? " (one unplugged)" : "")
            << " but still down:" << stuck.str() << "\n"
            << describe_;
        failure_ = out.str();
    }

    std::string Describe(uint64_t epoch) const
    {
        const Settings& s = running.config.settings;
        std::ostringstream out;
        out << "run " << epoch << ((epoch >> 5 & 1) == 1 ? " (layers)" : "") << ": continuous " << s.continuous << ", dynamic " << s.dynamic
            << ", toggleLock " << s.toggleLock << ", digital " << s.digital << ", dosMode " << s.dosMode
            << ", sensitivity " << s.sensitivity << ", delay " << s.delay << ", steps " << s.xStep << "/"
            << s.yStep << ", ranges " << fake.caps[0].wXmax << "/" << fake.caps[1].wXmax;
        return out.str();
    }

    std::mt19937 random_;
    HeldInput held_{};
    Port ports_[kPortCount]{};
    uint64_t done_ = 0;
    uint64_t checks_ = 0;
    uint64_t switches_ = 0;
    std::string describe_;
    std::string failure_;
};

TEST(Soak, NothingStaysDownOnceBothSticksRest)
{
    const uint64_t reports = FromEnvironment("QUELLPAD_SOAK_REPORTS", 1000000);
    const uint32_t seed = uint32_t(FromEnvironment("QUELLPAD_SOAK_SEED", 20240607));
    Soak soak(seed);

    const auto start = std::chrono::steady_clock::now();
    const std::string failure = soak.Run(reports);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(failure, "") << "seed " << seed;
    EXPECT_GE(soak.Done(), reports);
    // A run that never came to rest, or never pressed a key, proves nothing.
    EXPECT_GT(soak.Checks(), soak.Done() / 100);
    EXPECT_GT(soak.KeyDowns(), soak.Done() / 10);
    EXPECT_GT(soak.Switches(), soak.Done() / 1000);
    std::printf("soak: %llu reports in %.1f s, %.0f reports/s, %llu checks at rest, %llu switches, seed %u\n",
                static_cast<unsigned long long>(soak.Done()), seconds, double(soak.Done()) / seconds,
                static_cast<unsigned long long>(soak.Checks()), static_cast<unsigned long long>(soak.Switches()),
                seed);
}

}  // namespace
