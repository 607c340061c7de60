// The five commands of quellpad-cfg. Each writes its result to out and its
// complaints to err, and returns the exit status: 0 all well, 1 findings or
// differences, 2 trouble (a file that cannot be read or written, bad input).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

constexpr int kExitOk = 0;
constexpr int kExitFindings = 1;
constexpr int kExitTrouble = 2;

int RunShow(const std::string& file, bool all, std::ostream& out, std::ostream& err);
// textFile "-" reads standard input.
int RunBuild(const std::string& textFile, const std::string& output, std::ostream& out, std::ostream& err);
int RunCheck(const std::string& file, std::ostream& out, std::ostream& err);
int RunDiff(const std::string& a, const std::string& b, std::ostream& out, std::ostream& err);
int RunSimulate(const std::string& file, const std::string& traceFile, uint32_t doubleClickTime, std::ostream& out,
                std::ostream& err);
