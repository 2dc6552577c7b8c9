// The report's line builder at its edges: long names shift the numbers, negative counts show
// as none, and a line is cut only at the builder's room. The columns are seen end to end.
#include "counting/CountReport.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ReportLineBuilderTest, ALongNameShiftsTheNumbersInsteadOfBeingCut)
{
	ReportLineBuilder line;
	const std::string name(45, 'n');
	line.CountLine("", name, 1, 2);
	EXPECT_EQ(std::string(line.Text()), name + " (1) : " + std::string(60 - 52 - 1, ' ') + "2");
}

TEST(ReportLineBuilderTest, NegativeCountsAreShownAsNone)
{
	ReportLineBuilder line;
	line.CountLine("", "x", -4, -1);
	const std::string text(line.Text());
	EXPECT_EQ(text.substr(39, 1), "0");
	EXPECT_EQ(text.back(), '0');
}

TEST(ReportLineBuilderTest, ALineIsCutAtTheBuildersRoom)
{
	ReportLineBuilder line;
	line.Append(std::string(ReportLineBuilder::Capacity + 50, 'x'));
	line.FillTo(ReportLineBuilder::Capacity + 80);
	EXPECT_EQ(line.Text().size(), ReportLineBuilder::Capacity);
}

} // namespace
