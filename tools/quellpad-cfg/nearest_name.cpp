#include "tools/quellpad-cfg/nearest_name.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "config/vocabulary.h"

size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

namespace {

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Case does not count, and a name that starts with what was typed ("esc"
// for "escape") comes close.
size_t Score(std::string_view value, std::string_view name)
{
    const std::string v = Lower(value), n = Lower(name);
    size_t score = EditDistance(v, n);
    if (v.size() < n.size()) score = std::min(score, EditDistance(v, std::string_view(n).substr(0, v.size())) + 1);
    return score;
}

template <class Names, class NameOf, class Alias>
std::string Nearest(std::string_view value, const Names& names, NameOf nameOf, Alias alias)
{
    // Every name is short; comparing more of a long value only costs time
    // (the distance grows with the product of the lengths).
    value = value.substr(0, 64);
    std::string best;
    size_t bestScore = SIZE_MAX;
    for (const auto& entry : names) {
        const std::string_view name = nameOf(entry);
        const size_t score = alias(name) ? 0 : Score(value, name);
        if (score < bestScore) {
            best = name;
            bestScore = score;
        }
    }
    return best;
}

}  // namespace

std::string NearestName(std::string_view value, const std::vector<std::string>& candidates)
{
    return Nearest(value, candidates, [](const std::string& name) -> std::string_view { return name; },
                   [](std::string_view) { return false; });
}

std::string NearestKeyName(std::string_view value)
{
    // number "1", character "a": the quoted character typed alone means it.
    return Nearest(value, KeyChoiceList, [](const KeyChoice& choice) -> std::string_view { return choice.text; },
                   [value](std::string_view name) {
                       const size_t open = name.find('"');
                       return value.size() == 1 && open != std::string_view::npos && name[open + 1] == value[0];
                   });
}

std::string NearestMouseName(std::string_view value)
{
    return Nearest(value, MouseChoiceList, [](const MouseChoice& choice) -> std::string_view { return choice.text; },
                   [](std::string_view) { return false; });
}
