// The report's line builder: names filled to column 30, counts ending at columns 40 and 60,
// never cut but at the builder's room. The report itself is seen end to end.
#include "counting/CountReport.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ReportLineBuilderTest, FillingAppendsSpacesUpToTheColumnAndNeverCuts)
{
	ReportLineBuilder line;
	line.Append("abc");
	line.FillTo(6);
	EXPECT_EQ(line.Text(), "abc   ");
	line.FillTo(4);
	EXPECT_EQ(line.Text(), "abc   ");
	line.Append("de");
	EXPECT_EQ(line.Text(), "abc   de");
}

TEST(ReportLineBuilderTest, NumbersEndAtColumnsFortyAndSixty)
{
	ReportLineBuilder line;
	line.CountLine("    ", "Wall", 12, 345);
	const std::string text(line.Text());
	ASSERT_EQ(text.size(), 60u);
	EXPECT_EQ(text.substr(0, 8), "    Wall");
	EXPECT_EQ(text.substr(30, 2), " (");
	EXPECT_EQ(text.substr(38, 6), "12) : ");
	EXPECT_EQ(text.substr(57), "345");
	EXPECT_EQ(text.find_first_not_of(' ', 8), 31u) << "spaces fill the name to column 30";
}

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
