// The share of the total polygons, in percent.
#include "counting/Percentages.hpp"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(PolygonPercentage, IsThePartOfTheTotalTimesOneHundred)
{
	EXPECT_DOUBLE_EQ(PolygonPercentage(125, 1000), 12.5);
	EXPECT_DOUBLE_EQ(PolygonPercentage(1000, 1000), 100.0);
	EXPECT_DOUBLE_EQ(PolygonPercentage(0, 1000), 0.0);
	EXPECT_DOUBLE_EQ(PolygonPercentage(1, 3), 100.0 / 3.0);
}

TEST(PolygonPercentage, IsZeroWhenNothingWasCounted)
{
	EXPECT_EQ(PolygonPercentage(0, 0), 0.0);
	EXPECT_EQ(PolygonPercentage(500, 0), 0.0);
	EXPECT_EQ(PolygonPercentage(500, -1), 0.0);
	EXPECT_EQ(PolygonPercentage(INT_MIN, INT_MIN), 0.0);
}

TEST(PolygonPercentage, LargeCountsDoNotOverflow)
{
	EXPECT_DOUBLE_EQ(PolygonPercentage(INT_MAX, INT_MAX), 100.0);
	EXPECT_DOUBLE_EQ(PolygonPercentage(INT_MAX / 2 + 1, INT_MAX), (INT_MAX / 2 + 1) * 100.0 / INT_MAX);
}

} // namespace
