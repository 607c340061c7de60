// libFuzzer entry: a joystick trace for quellpad-cfg simulate.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/text_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (const char* failure = RunTraceFuzzInput(data, size)) {
        std::fprintf(stderr, "fuzz check failed: %s\n", failure);
        std::abort();
    }
    return 0;
}
