// How far apart two texts are by spelling, for the suggestions of refusals.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// The fewest insertions, deletions and substitutions that turn a into b, characters compared
// by same (equal, or letter case aside, say); a and b are sequences of characters (bytes or code
// points).
template <class Text, class Same = std::equal_to<>>
std::size_t EditDistance(const Text& a, const Text& b, Same same = {}) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min(
                {row[j] + 1, row[j - 1] + 1, diagonal + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

CHENGGU_END_NAMESPACE
