// Conversions between the grouping text, the grouping code and the list of group sizes.
#include "DigitGrouping.hpp"

namespace Win::detail {

bool IsGroupingText(std::string_view text)
{
	if (text.empty() || text.size() > 9 || text.size() % 2 == 0)
		return false;
	for (std::size_t index = 0; index < text.size(); ++index) {
		const char c = text[index];
		if (index % 2 == 1) {
			if (c != ';')
				return false;
		} else if (c < '0' || c > '9' || (c == '0' && index + 1 != text.size())) {
			return false;
		}
	}
	// "0;0" would say "repeat no grouping": only a lone 0 may follow nothing.
	return !(text.size() > 1 && text[0] == '0');
}

DigitGrouping GroupingFromText(std::string_view text)
{
	DigitGrouping grouping;
	for (std::size_t index = 0; index < text.size(); index += 2) {
		const unsigned size = static_cast<unsigned>(text[index] - '0');
		if (size == 0) {
			grouping.repeatLast = !grouping.sizes.empty();
			break;
		}
		grouping.sizes.push_back(size);
	}
	return grouping;
}

DigitGrouping GroupingFromCode(unsigned code)
{
	DigitGrouping grouping;
	if (code == 0)
		return grouping;
	unsigned divisor = 1;
	while (code / divisor >= 10)
		divisor *= 10;
	grouping.repeatLast = true;
	for (; divisor != 0; divisor /= 10) {
		const unsigned digit = code / divisor % 10;
		if (digit == 0) {
			grouping.repeatLast = false;
			break;
		}
		grouping.sizes.push_back(digit);
	}
	return grouping;
}

std::string GroupingText(DigitGrouping grouping)
{
	if (grouping.sizes.empty())
		return "0";
	if (grouping.repeatLast) {
		while (grouping.sizes.size() >= 2 && grouping.sizes.back() == grouping.sizes[grouping.sizes.size() - 2])
			grouping.sizes.pop_back();
	}
	std::string text;
	for (unsigned size : grouping.sizes) {
		if (!text.empty())
			text += ';';
		text += static_cast<char>('0' + size);
	}
	if (grouping.repeatLast)
		text += ";0";
	return text;
}

} // namespace Win::detail
