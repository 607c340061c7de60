// Suggestions for misspelt names: the valid name fewest edits away.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Levenshtein distance: insertions, deletions and substitutions of one byte.
size_t EditDistance(std::string_view a, std::string_view b);

// The candidate closest to value, the earliest on a tie; empty when there
// are no candidates. Case does not count, and a name that begins with what
// was typed counts as one edit away.
std::string NearestName(std::string_view value, const std::vector<std::string>& candidates);

// The key or mouse action whose vocabulary name is closest. A lone
// character also matches the entry that shows it in quotes, so "a" leads to
// character "a" rather than to "add".
std::string NearestKeyName(std::string_view value);
std::string NearestMouseName(std::string_view value);
