// libFuzzer entry: a configuration file and a stream of joystick reports.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (const char* failure = RunFuzzInput(data, size)) {
        std::fprintf(stderr, "fuzz check failed: %s\n", failure);
        std::abort();
    }
    return 0;
}
