#include <gtest/gtest.h>
#include "tests/fake_platform.h"
#include "engine/action_execution.h"
TEST(Smoke, Builds) { ResetProgramState(); ActionRecord r{}; r.on = 1; r.sendKey = 1; r.keyCode = 65; ExecuteAction(r, PHASE_PRESS); EXPECT_EQ(Events().size(), 3u); }
