// "Did you mean ...?": the nearest of our own words to a mistyped one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorl {

// Edits (insert, delete, replace, swap two neighbours) that turn a into b.
int EditDistance(std::string_view a, std::string_view b);

// The candidate nearest to `word`, when it is near enough to be a slip of the
// fingers (at most 2 edits, and fewer than the word has letters); otherwise
// empty. Ties go to the earlier candidate.
std::string NearestWord(std::string_view word, const std::vector<std::string>& candidates);

}  // namespace quorl
