// A problem found in a text the user wrote, and where it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct Diagnostic {
    int line;    // from 1
    int column;  // from 1
    std::string message;
};

// "source:line:column: error: message", the form editors jump to.
std::string FormatDiagnostic(std::string_view source, const Diagnostic& diagnostic);

// In the order of the text, so the first problem comes first.
void SortDiagnostics(std::vector<Diagnostic>& diagnostics);
