// Byte-wise text comparison with the bytes taken as signed 8-bit characters, the ordering the
// add-on's row order and its configuration-file names share. Bytes from 0x80 up are negative
// here, so they come before every plain ASCII character; std::string's own comparison treats
// them as unsigned and would order such texts the other way round.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

// Negative when a comes first, positive when b comes first, 0 for equal texts. Over the length
// of the shorter text the first differing byte decides; otherwise the shorter (a prefix of the
// other) comes first.
inline int CompareSignedBytes(std::string_view a, std::string_view b)
{
	const std::size_t common = std::min(a.size(), b.size());
	for (std::size_t i = 0; i < common; ++i) {
		const signed char left = static_cast<signed char>(a[i]);
		const signed char right = static_cast<signed char>(b[i]);
		if (left != right)
			return left < right ? -1 : 1;
	}
	if (a.size() == b.size())
		return 0;
	return a.size() < b.size() ? -1 : 1;
}
