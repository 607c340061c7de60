// Traces through the real engine: what a configuration makes of a stick.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <sstream>

#include "tools/quellpad-cfg/build_text.h"
#include "tools/quellpad-cfg/commands.h"
#include "tools/quellpad-cfg/simulate.h"
#include "tools/quellpad-cfg/tests/test_files.h"

namespace {

struct SimCase {
    const char* what;
    const char* config;
    const char* trace;
    const char* output;
};

// Named by what it shows, so test names stay the same from build to build.
void PrintTo(const SimCase& c, std::ostream* out) { *out << c.what; }

const SimCase kCases[] = {
    {"one shot at the X maximum repeats press, wait and release",
     "[port1.axis_x_plus]\nsendKey = true\nkeyCode = \"cursor right\"\n",
     "caps 1 x=0..65535 y=0..65535\nreport 1 x=32767 y=32767\nreport 1 x=65535\nreport 1\n",
     "line 2: report 1 x=32767 y=32767\n"
     "line 3: report 1 x=65535\n"
     "line 4: report 1\n  key down \"cursor right\"\n  sleep 1\n  key up \"cursor right\"\n"},
    {"Y at its raw minimum is Y+, and the first report compares with zero",
     "delay = 7\n[port1.axis_y_plus]\nsendMouse = true\nmouseAction = \"move up\"\n",
     "caps 1 x=0..65535 y=0..65535\nreport 1 x=32767 y=0\nreport 1 y=1000\n",
     "line 2: report 1 x=32767 y=0\n  mouse move 0 -8\n  sleep 7\nline 3: report 1 y=1000\n  mouse move 0 -8\n  sleep 7\n"},
    {"a macro with a capital, a prefix and a skipped space",
     "[port1.button2]\nsendText = true\ntext = \"a^B 1\"\n",
     "report 1 buttons=2\nreport 1 buttons=none\n",
     "line 1: report 1 buttons=2\n"
     "  key down 'character \"A\"'\n  key up 'character \"A\"'\n"
     "  key down \"control\"\n  key down \"shift\"\n  key down 'character \"B\"'\n  key up 'character \"B\"'\n"
     "  key up \"shift\"\n  key up \"control\"\n"
     "  key down 'number \"1\"'\n  key up 'number \"1\"'\n"
     "line 2: report 1 buttons=none\n"},
    {"a capital key is wrapped in Shift, let go with the extended flag",
     "[port1.button1]\nsendKey = true\nkeyCode = 'character \"Q\"'\nshift = true\n",
     "report 1 buttons=1\nreport 1 buttons=none\n",
     "line 1: report 1 buttons=1\n  key down \"shift\"\n  key down \"shift\"\n  key down 'character \"Q\"'\n"
     "  key up \"shift\" extended\n"
     "line 2: report 1 buttons=none\n  key up 'character \"Q\"'\n  key up \"shift\"\n"},
    {"a held button is let go when its stick is lost",
     "continuous = true\n[port1.button32]\nsendMouse = true\nmouseAction = \"right click\"\n",
     "report 1 buttons=32\nlost 1\nlost 1\n",
     "line 1: report 1 buttons=32\n  mouse right down\nline 2: lost 1\n  mouse right up\nline 3: lost 1\n"},
    {"a toggle-locked button is let go at the end",
     "toggleLock = true\n[port2.button1]\nsendMouse = true\nmouseAction = \"left click\"\n",
     "report 2 buttons=1\nreport 2 buttons=none\nexit\n",
     "line 1: report 2 buttons=1\n  mouse left up\nline 2: report 2 buttons=none\n  mouse left down\n"
     "line 3: exit\n  mouse left up\n"},
    {"the hat fires after the buttons, a diagonal holds two directions; the wheel turns at the press",
     "[port1.hat_up]\nsendKey = true\nkeyCode = \"cursor up\"\n[port1.hat_right]\nsendMouse = true\n"
     "mouseAction = \"wheel right\"\n[port1.button1]\nsendMouse = true\nmouseAction = \"wheel down\"\n",
     "caps 1 hat\nreport 1 hat=4500 buttons=1\nreport 1 hat=9000\nreport 1 hat=centre buttons=none\n",
     "line 2: report 1 hat=4500 buttons=1\n  mouse wheel -120\n  key down \"cursor up\"\n  mouse hwheel +120\n"
     "line 3: report 1 hat=9000\n  key up \"cursor up\"\n"
     "line 4: report 1 hat=centre buttons=none\n"},
    {"codes outside the vocabulary are shown as numbers",
     "[port1.button1]\nsendKey = true\nkeyCode = -1\nsendMouse = true\nmouseAction = 14\n",
     "report 1 buttons=1\n", "line 1: report 1 buttons=1\n  key down 255\n"},
    {"an Xbox controller holds both triggers at once, and its guide button fires",
     "continuous = true\n[port2.axis_z_plus]\nsendMouse = true\nmouseAction = \"right click\"\n"
     "[port2.axis_v_plus]\nsendMouse = true\nmouseAction = \"left click\"\n"
     "[port2.button11]\nsendKey = true\nkeyCode = \"escape\"\n",
     "caps 2 xbox\npad 2 lt=255 rt=255\npad 2\npad 2 buttons=guide\n",
     "line 2: pad 2 lt=255 rt=255\n"
     "line 3: pad 2\n  mouse right down\n  mouse left down\n"
     "line 4: pad 2 buttons=guide\n  key down \"escape\"\n  mouse right down\n  mouse left down\n"},
    {"a wait lets the timer send a tap's end and turbo pulses, each with its time",
     "[port1.button1]\nsendKey = true\nkeyCode = \"escape\"\nlayerAction = \"while held\"\nlayerTarget = 1\n"
     "[port1.button2]\nsendKey = true\nkeyCode = \"space\"\nturbo = 100\n",
     "report 1 buttons=1\nwait 50\nreport 1 buttons=none\nwait 60\nreport 1 buttons=2\nwait 120\nreport 1 buttons=none\n",
     "line 1: report 1 buttons=1\nline 2: wait 50\nline 3: report 1 buttons=none\n  key down \"escape\"\n"
     "line 4: wait 60\n  @90 key up \"escape\"\nline 5: report 1 buttons=2\n  key down \"space\"\n"
     "line 6: wait 120\n  @160 key up \"space\"\n  @210 key down \"space\"\nline 7: report 1 buttons=none\n"
     "  key up \"space\"\n"},
};

class Simulation : public testing::TestWithParam<SimCase> {};

TEST_P(Simulation, PrintsWhatTheEngineSends)
{
    ScratchDir dir;
    const BuildResult built = BuildConfig(GetParam().config, "t");
    ASSERT_TRUE(built.errors.empty());
    ASSERT_EQ(SaveImage(built.image, dir / "c.cfg").kind, SaveOutcome::WRITTEN);
    Trace trace;
    ASSERT_TRUE(ParseTrace(GetParam().trace, trace).empty());
    std::ostringstream out;
    EXPECT_TRUE(Simulate(dir / "c.cfg", trace, 500, out));
    EXPECT_EQ(out.str(), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(Each, Simulation, testing::ValuesIn(kCases), [](const testing::TestParamInfo<SimCase>& param) {
    std::string name = param.param.what;
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

TEST(SimulationFile, ShortFileIsReadAsTheProgramReadsIt)
{
    ScratchDir dir;
    WriteBytes(dir / "short.cfg", std::vector<uint8_t>(100, 1));
    Trace trace;
    ASSERT_TRUE(ParseTrace("report 1 buttons=1\n", trace).empty());
    std::ostringstream out, absent;
    EXPECT_TRUE(Simulate(dir / "short.cfg", trace, 500, out));
    // The table is cleared, so the all-ones bytes fire nothing.
    EXPECT_EQ(out.str(), "message \"error reading file\\u000Aplease configure first\"\nline 1: report 1 buttons=1\n");
    EXPECT_FALSE(Simulate(dir / "absent.cfg", trace, 500, absent));
    EXPECT_EQ(absent.str(), "");
}

TEST(SimulationFile, DoubleClickPauseIsHalfTheSystemTime)
{
    ScratchDir dir;
    const BuildResult built = BuildConfig("[port1.button1]\nsendMouse = true\nmouseAction = \"middle double click\"\n", "t");
    ASSERT_EQ(SaveImage(built.image, dir / "c.cfg").kind, SaveOutcome::WRITTEN);
    WriteBytes(dir / "t.trace", {'r', 'e', 'p', 'o', 'r', 't', ' ', '1', ' ', 'b', 'u', 't', 't', 'o', 'n', 's', '=', '1'});
    std::ostringstream out, err;
    EXPECT_EQ(RunSimulate(dir / "c.cfg", dir / "t.trace", 501, out, err), kExitOk);
    EXPECT_EQ(out.str(),
              "line 1: report 1 buttons=1\n  mouse middle down\n  mouse middle up\n  sleep 250\n"
              "  mouse middle down\n  mouse middle up\n");
}

TEST(TraceErrors, SayWhatAndWhere)
{
    const std::pair<const char*, const char*> cases[] = {
        {"repot 1", "1:1: error: unknown command \"repot\"; nearest is \"report\""},
        {"report", "1:1: error: report needs a port, 1 or 2"},
        {"report 3", "1:8: error: port \"3\" is neither 1 nor 2"},
        {"report 1 w=5", "1:10: error: unknown axis \"w\"; nearest is \"x\""},
        {"report 1 x5", "1:10: error: \"x5\" is not of the form name=value"},
        {"report 1 x=-5", "1:10: error: position \"-5\" of axis x is not a whole number 0 to 4294967295"},
        {"report 1 x=5\a\x1B[2J", "1:10: error: position \"5\\x07\\x1B[2J\" of axis x is not a whole number 0 to 4294967295"},
        {"report 1 x=4294967296", "1:10: error: position \"4294967296\" of axis x is not a whole number 0 to 4294967295"},
        {"report 1  buttons=1,33", "1:11: error: button \"33\" is not a number 1 to 32 (write buttons=none for none)"},
        {"report 1 buttons=", "1:10: error: button \"\" is not a number 1 to 32 (write buttons=none for none)"},
        {"caps 2 x=5", "1:8: error: range \"5\" of axis x is not of the form MIN..MAX with whole numbers 0 to 4294967295"},
        {"caps 1 butons=1", "1:8: error: unknown axis \"butons\"; nearest is \"u\""},
        {"report 1\ncaps 1 x=0..5", "2:1: error: caps after the first report; the program reads capabilities before it "
                                    "captures the sticks"},
        {"lost 1 x=5", "1:8: error: \"x=5\" after lost; lost takes only a port"},
        {"exit now", "1:6: error: \"now\" after exit; exit takes nothing"},
        {"exit\nreport 1", "2:1: error: nothing can follow exit; the program has ended"},
        {"wait", "1:1: error: wait needs milliseconds, a whole number"},
        {"wait 5 ms", "1:8: error: \"ms\" after wait; wait takes only milliseconds"},
        {"wait -5", "1:6: error: wait \"-5\" is not a whole number of milliseconds that keeps the trace within 4294967295 ms"},
        {"wait 4294967295\nwait 1", "2:6: error: wait \"1\" is not a whole number of milliseconds that keeps the trace within "
                                    "4294967295 ms"},
        {"report 1 hat=north",
         "1:10: error: hat \"north\" is neither centre nor a whole number 0 to 4294967295 (hundredths of a degree)"},
    };
    for (const auto& [text, message] : cases) {
        Trace trace;
        const DiagnosticList errors = ParseTrace(text, trace);
        ASSERT_EQ(errors.size(), 1u) << text;
        EXPECT_EQ(FormatDiagnostic("t", errors[0]), std::string("t:") + message);
    }
}

TEST(TraceErrors, LeftOutValuesCarryOverPerPort)
{
    Trace trace;
    ASSERT_TRUE(ParseTrace("caps 2 v=3..9 hat # comment\n\nreport 1 x=5 buttons=1,32 hat=0\nreport 2 y=6\nreport 1 z=7\n",
                           trace).empty());
    EXPECT_EQ(trace.caps[1].wCaps, 0x10u);  // JOYCAPS_HASPOV
    EXPECT_EQ(trace.steps[1].hat, 65535u);  // port 2's hat starts centred
    EXPECT_EQ(trace.steps[2].hat, 0u);
    EXPECT_EQ(trace.caps[1].wVmin, 3u);
    EXPECT_EQ(trace.caps[1].wVmax, 9u);
    ASSERT_EQ(trace.steps.size(), 3u);
    const TraceStep& last = trace.steps[2];
    EXPECT_EQ(last.line, 5);
    EXPECT_EQ(last.position[0], 5u);
    EXPECT_EQ(last.position[1], 0u);  // port 2's y is not port 1's
    EXPECT_EQ(last.position[2], 7u);
    EXPECT_EQ(last.buttons, 0x80000001u);
}

// Each step happens at the sum of the waits before it; a wait's own step at its end.
TEST(TraceErrors, WaitsAddUpToEachStepsTime)
{
    Trace trace;
    ASSERT_TRUE(ParseTrace("report 1 buttons=1\nwait 40\nwait 0\nreport 1\nwait 4294967000\nlost 2\nexit\n", trace).empty());
    std::vector<uint32_t> times;
    for (const TraceStep& step : trace.steps) times.push_back(step.time);
    EXPECT_EQ(times, (std::vector<uint32_t>{0, 40, 40, 40, 4294967040u, 4294967040u, 4294967040u}));
    EXPECT_EQ(trace.steps[3].buttons, 1u);  // a wait keeps the port's report as it was
}

}  // namespace
