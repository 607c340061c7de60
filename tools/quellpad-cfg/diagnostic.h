// A problem found in a text the user wrote, and where it is.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

struct Diagnostic {
    int line;    // from 1
    int column;  // from 1
    std::string message;
};

// The first errors of a text in text order, however they arrive. Past
// kMaxShownErrors the later ones are only counted, so a text with millions of
// mistakes costs little more than one with twenty.
class DiagnosticList {
public:
    static constexpr size_t kMaxShownErrors = 20;

    // Whether an error at line:column would be kept; when not, it is counted
    // here, and the caller can skip putting its message together.
    bool Wants(int line, int column);
    void Add(Diagnostic diagnostic);

    bool empty() const { return kept_.empty(); }
    size_t size() const { return kept_.size(); }
    const Diagnostic& operator[](size_t i) const { return kept_[i]; }
    const Diagnostic& front() const { return kept_.front(); }
    std::vector<Diagnostic>::const_iterator begin() const { return kept_.begin(); }
    std::vector<Diagnostic>::const_iterator end() const { return kept_.end(); }
    size_t more() const { return more_; }  // errors counted but not kept

private:
    std::vector<Diagnostic> kept_;
    size_t more_ = 0;
};

// "source:line:column: error: message", the form editors jump to.
std::string FormatDiagnostic(std::string_view source, const Diagnostic& diagnostic);

// Each kept error on its own line, then "... and N more errors".
void PrintDiagnostics(std::string_view source, const DiagnosticList& diagnostics, std::ostream& out);

// Text for a terminal: bytes it would act on (C0 controls but tab, C1
// controls, DEL) and bytes that are not UTF-8 become \xNN; all else is left
// as it is.
std::string EscapeControls(std::string_view text);

// A value the user wrote, shortened for a message: its first
// kShownCharacters characters and "...". Cuts between characters.
constexpr size_t kShownCharacters = 60;
std::string_view ShortenedForMessage(std::string_view text, bool& cut);

// A word from a trace or the command line, quoted for a message: shortened
// and with control bytes escaped.
std::string QuoteWord(std::string_view text);
