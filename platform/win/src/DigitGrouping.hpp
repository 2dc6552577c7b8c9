// Digit grouping in the two forms Windows knows: the locale's grouping text ("3;2;0") and the
// number-format record's grouping code (32). Both become one list of group sizes, which is
// what the number formatter walks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Win::detail {

struct DigitGrouping {
	// Group sizes from the decimal separator leftwards; empty for no grouping.
	std::vector<unsigned> sizes;
	// After the listed groups the last size repeats; otherwise the remaining digits stay one group.
	bool repeatLast = false;

	friend bool operator==(const DigitGrouping&, const DigitGrouping&) = default;
};

// Whether the text is a grouping text: sizes 0 to 9 separated by ';', at most 9 characters,
// a 0 only as the last size.
bool IsGroupingText(std::string_view text);

// The grouping a valid grouping text stands for: a final 0 repeats the size before it.
DigitGrouping GroupingFromText(std::string_view text);

// The grouping of a number-format record's code: its decimal digits, most significant first,
// are the sizes; a 0 digit ends the grouping there, otherwise the last size repeats.
DigitGrouping GroupingFromCode(unsigned code);

// The shortest grouping text for a grouping ("3;0" rather than "3;3;0").
std::string GroupingText(DigitGrouping grouping);

} // namespace Win::detail
