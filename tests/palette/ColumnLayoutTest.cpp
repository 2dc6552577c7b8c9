// The results list's columns at the widths where they appear and drop, with the header
// extents of the results page (Name 120 wide; Objects, Polygons, Percent and Detail Level
// ending at 201, 282, 343 and 428).
#include "palette/ColumnLayout.hpp"

#include <gtest/gtest.h>

namespace {

const HeaderExtents PageHeaders {120, 201, 282, 343, 428};

struct Case {
	std::int32_t width;
	int visibleColumns;
};

class ColumnLayoutTest : public testing::TestWithParam<Case> {};

TEST_P(ColumnLayoutTest, ColumnsDropFromTheRight)
{
	const Case c = GetParam();
	const ColumnLayout layout = ComputeColumnLayout(PageHeaders, ComputeColumnRatios(PageHeaders), c.width);
	for (int column = 0; column < 5; ++column) {
		const auto at = static_cast<std::size_t>(column);
		const bool shown = column < c.visibleColumns;
		EXPECT_EQ(layout.visible[at], shown) << "column " << column;
		if (!shown && column > 0) {
			EXPECT_EQ(layout.fields[at].begin, 0) << "column " << column;
			EXPECT_EQ(layout.fields[at].end, 0) << "column " << column;
		}
	}
	EXPECT_EQ(layout.fields[0].begin, NameFieldBegin);
	if (c.visibleColumns == 0) {
		EXPECT_EQ(layout.fields[0].end, 0);
	}
	// The rightmost shown column ends at the width; columns follow each other.
	if (c.visibleColumns > 0) {
		EXPECT_EQ(layout.fields[static_cast<std::size_t>(c.visibleColumns - 1)].end, c.width);
	}
	for (int column = 1; column < c.visibleColumns; ++column) {
		const auto at = static_cast<std::size_t>(column);
		EXPECT_EQ(layout.fields[at].begin, layout.fields[at - 1].end + (column == 4 ? 5 : 1)) << "column " << column;
		EXPECT_LT(layout.fields[at].begin, layout.fields[at].end) << "column " << column;
	}
}

INSTANTIATE_TEST_SUITE_P(Thresholds, ColumnLayoutTest,
	testing::Values(Case {483, 5}, Case {428, 5}, Case {427, 4}, Case {343, 4}, Case {342, 3}, Case {282, 3},
		Case {281, 2}, Case {201, 2}, Case {200, 1}, Case {120, 1}, Case {119, 0}, Case {0, 0}, Case {-5, 0}),
	[](const testing::TestParamInfo<Case>& param) {
		const std::int32_t width = param.param.width;
		return width < 0 ? std::string("NegativeWidth") : "Width" + std::to_string(width);
	});

// At the headers' own width the Detail Level column ends at 428 and stands 5 units right of
// Percent.
TEST(ColumnLayout, DetailLevelAtTheHeadersOwnWidth)
{
	const ColumnLayout layout = ComputeColumnLayout(PageHeaders, ComputeColumnRatios(PageHeaders), 428);
	EXPECT_EQ(layout.fields[4].end, 428);
	EXPECT_EQ(layout.fields[4].begin, layout.fields[3].end + 5);
	EXPECT_EQ(layout.fields[0].end, 120);
}

} // namespace
