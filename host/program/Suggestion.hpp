// "Did you mean": the known name nearest to a mistyped one, so a person who writes
// "menu Facetaly" or "opne house.json" is told what was probably meant.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ReferenceHost {

// The candidate nearest to word (letters compared regardless of case), when it is near enough
// to be a slip of the fingers; empty otherwise.
std::string NearestName(std::string_view word, const std::vector<std::string>& candidates);

// " (did you mean "NAME"?)" for the nearest candidate, or nothing.
std::string DidYouMean(std::string_view word, const std::vector<std::string>& candidates);

} // namespace ReferenceHost
