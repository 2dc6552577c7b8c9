// Digit grouping in the two forms Windows knows: the locale's grouping text ("3;2;0") and the
// number-format record's grouping code (32). Both become one list of group sizes, which is
// what the number formatter walks.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace Win::detail {

// The group sizes of one grouping, held in place: a number is formatted without a single
// allocation for them. Ten sizes are more than any grouping text or code can say.
class GroupSizes {
public:
	static constexpr std::size_t Capacity = 10;

	bool empty() const { return count == 0; }
	std::size_t size() const { return count; }
	bool full() const { return count == Capacity; }
	unsigned operator[](std::size_t index) const { return sizes[index]; }
	unsigned back() const { return sizes[count - 1]; }
	const unsigned char* begin() const { return sizes.data(); }
	const unsigned char* end() const { return sizes.data() + count; }
	// A size past the capacity is not kept; callers that can have that many check full().
	// Sizes are single digits.
	void push_back(unsigned size)
	{
		if (count < Capacity)
			sizes[count++] = static_cast<unsigned char>(size);
	}
	void pop_back() { --count; }

	friend bool operator==(const GroupSizes& a, const GroupSizes& b)
	{
		return std::equal(a.begin(), a.end(), b.begin(), b.end());
	}

private:
	// Bytes, so a grouping is copied and cleared in a store or two: numbers are formatted by
	// the thousand.
	std::array<unsigned char, Capacity> sizes {};
	unsigned char count = 0;
};

struct DigitGrouping {
	// Group sizes from the decimal separator leftwards; empty for no grouping.
	GroupSizes sizes;
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
