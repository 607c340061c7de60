#include "tools/quellpad-cfg/diagnostic.h"

#include <algorithm>

std::string FormatDiagnostic(std::string_view source, const Diagnostic& d)
{
    return std::string(source) + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) +
           ": error: " + d.message;
}

void SortDiagnostics(std::vector<Diagnostic>& diagnostics)
{
    std::stable_sort(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& a, const Diagnostic& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
}
