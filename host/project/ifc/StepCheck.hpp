// The first look at an IFC file, before the IFC library sees it: is it a STEP exchange file
// of a schema we read, whole, with every text closed and every reference defined? The library
// itself skips what it cannot read, so a damaged file would open as a silently smaller
// building; this check names the place instead (line, #id and class).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace IfcReading {

struct StepCheck {
	bool ok = false;
	std::string problem; // for a person, when not ok
	std::string schema;  // "IFC2X3" or "IFC4"
	std::size_t instances = 0;
};

StepCheck CheckStepText(std::string_view text);

// Where the text goes on after blanks and /* comments */ from at (its end when a comment is
// never closed).
std::size_t AfterSpaceAndComments(std::string_view text, std::size_t at);

} // namespace IfcReading
