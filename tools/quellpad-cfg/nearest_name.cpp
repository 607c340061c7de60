#include "tools/quellpad-cfg/nearest_name.h"

#include <algorithm>
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

std::string NearestName(std::string_view value, const std::vector<std::string>& candidates)
{
    std::string best;
    size_t bestDistance = SIZE_MAX;
    for (const std::string& candidate : candidates) {
        const size_t distance = EditDistance(value, candidate);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::string NearestKeyName(std::string_view value)
{
    std::string best;
    size_t bestDistance = SIZE_MAX;
    for (const KeyChoice& choice : KeyChoiceList) {
        const std::string_view name = choice.text;
        size_t distance = EditDistance(value, name);
        // number "1", character "a": the quoted character alone is a near miss.
        const size_t open = name.find('"');
        if (open != std::string_view::npos) {
            distance = std::min(distance, EditDistance(value, name.substr(open + 1, 1)));
        }
        if (distance < bestDistance) {
            best = name;
            bestDistance = distance;
        }
    }
    return best;
}

std::string NearestMouseName(std::string_view value)
{
    std::vector<std::string> names;
    for (const MouseChoice& choice : MouseChoiceList) names.push_back(choice.text);
    return NearestName(value, names);
}
