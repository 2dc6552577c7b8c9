// The typed story numbers turned into story indexes: without story zero, positive numbers are
// one above their index. Which stories a run then admits is seen end to end.
#include "counting/StoryFilter.hpp"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(TypedStoryRange, TurnsTypedNumbersIntoIndexes)
{
	const struct {
		const char* what;
		std::int32_t from, to;
		std::uint8_t noStoryZero;
		std::int32_t first, last;
	} cases[] = {
		{"without story zero positive numbers are one above", 1, 2, 1, 0, 1},
		{"without story zero zero to zero is empty", 0, 0, 1, 0, -1},
		{"negative numbers are their own indexes", -2, -1, 1, -2, -1},
		{"with story zero every number is its index", -2, 3, 0, -2, 3},
		{"with story zero, zero is story zero", 0, 0, 0, 0, 0},
		{"only the byte one means no story zero", 2, 2, 7, 2, 2},
		{"the extreme numbers do not wrap", INT32_MIN, INT32_MAX, 1, INT32_MIN, INT32_MAX - 1},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		const StoryIndexRange range = TypedStoryRange(row.from, row.to, row.noStoryZero);
		EXPECT_EQ(range.first, row.first);
		EXPECT_EQ(range.last, row.last);
	}
}

} // namespace
