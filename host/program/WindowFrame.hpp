// The host's own frame around the lines of one of its windows, as a terminal shows them: a
// title in the top edge, the lines as they stand, the right edge after the longest line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ReferenceHost {

// The framed window, line by line (drawn with box-drawing characters).
std::vector<std::string> FramedWindow(std::string_view title, const std::vector<std::string>& lines);

} // namespace ReferenceHost
