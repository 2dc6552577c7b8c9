// Polygon and element counts are 32-bit signed numbers in a result, but a large project or a
// careless host can carry a sum past the largest of them. Sums are made in 64 bits and held at
// the largest 32-bit value instead of wrapping into a negative count; a count the host gives
// below zero counts as none.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

inline constexpr std::int64_t LargestCount = std::numeric_limits<std::int32_t>::max();

// Adds a non-negative amount to a count, holding it at the largest 32-bit value.
constexpr void AddSaturating(std::int32_t& count, std::int64_t amount)
{
	const std::int64_t sum = static_cast<std::int64_t>(count) + std::max<std::int64_t>(amount, 0);
	count = static_cast<std::int32_t>(std::min(sum, LargestCount));
}

constexpr std::int32_t SaturatedCount(std::int64_t amount)
{
	return static_cast<std::int32_t>(std::clamp<std::int64_t>(amount, 0, LargestCount));
}
