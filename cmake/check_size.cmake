# Fails the build when the executable outgrows its budget: a tray utility
# that sits beside every game should stay small, and a sudden jump means a
# library call dragged in exceptions, the unwinder or the demangler again.
# Usage: cmake -DEXE=... -DBUDGET=bytes -P check_size.cmake
file(SIZE ${EXE} size)
if(size GREATER BUDGET)
  message(FATAL_ERROR "${EXE} is ${size} bytes, over its budget of ${BUDGET}: "
                      "look for std::string, throwing calls or function-local statics in the program")
endif()
message(STATUS "${EXE} is ${size} bytes, within its budget of ${BUDGET}")
