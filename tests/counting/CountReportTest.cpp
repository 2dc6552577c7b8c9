// The report's lines: the columns of the line builder, the rows of a type in display order,
// and the cut to what the host's report window takes, through the core library with a report
// window of the test's own.
#include "counting/CountReport.hpp"

#include "FakeHostTable.hpp"
#include "OwnModuleResources.hpp"

#include "VX/ResourceManager.hpp"

#include <string>
#include <vector>

namespace {

std::vector<std::string>* reportLines = nullptr;

HostSdk::HostStatus TakeReportLine(HostSdk::ModuleToken, const char* text, std::int32_t flags)
{
	EXPECT_EQ(flags, 0);
	reportLines->push_back(text);
	return HostSdk::StatusOk;
}

class CountReportTest : public FakeHostTableFixture {
protected:
	void SetUp() override
	{
		FakeHostTableFixture::SetUp();
		ASSERT_TRUE(resources.Added()) << "the test program carries the module's resources";
		reportLines = &lines;
		Offer<HostSdk::Entry::ReportLine>(&TakeReportLine);
	}
	void TearDown() override
	{
		reportLines = nullptr;
		FakeHostTableFixture::TearDown();
	}

	static LibRow Row(std::string name, std::int32_t objects, std::int32_t polygons, const char* guid)
	{
		LibRow row;
		row.name = VX::String(std::move(name));
		row.objects = objects;
		row.polygons = polygons;
		row.guid = GuidStr(guid);
		return row;
	}

	std::vector<std::string> lines;
	OwnModuleResources resources {OwnModuleResources::Active::None};
};

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

TEST_F(CountReportTest, ATypeWithoutRowsGetsAnEmptyVectorAndNoLine)
{
	CountResult result;
	result.partRows.Add(HostSdk::ElementTypes::Door, VX::HashTable<long, LibRow>(0, 0));
	BuildSortedRows(result, HostSdk::ElementTypes::Door);
	EXPECT_TRUE(lines.empty());
	ASSERT_NE(result.sortedRows.GetPtr(HostSdk::ElementTypes::Door), nullptr);
	EXPECT_TRUE(result.sortedRows[HostSdk::ElementTypes::Door].empty());
	// A type the result has no table for is treated alike.
	BuildSortedRows(result, HostSdk::ElementTypes::Lamp);
	EXPECT_TRUE(result.sortedRows[HostSdk::ElementTypes::Lamp].empty());
}

TEST_F(CountReportTest, RowsAreStoredAndWrittenInDisplayOrder)
{
	CountResult result;
	VX::HashTable<long, LibRow> rows(0, 0);
	rows.Add(1, Row("Few", 1, 10, "{1}"));
	rows.Add(2, Row("Many", 3, 900, "{2}"));
	result.partRows.Add(HostSdk::ElementTypes::Window, rows);
	BuildSortedRows(result, HostSdk::ElementTypes::Window);
	ASSERT_EQ(lines.size(), 2u);
	EXPECT_EQ(lines[0].substr(0, 4), "Many");
	EXPECT_EQ(lines[1].substr(0, 3), "Few");
	const std::vector<LibRow>& sorted = result.sortedRows[HostSdk::ElementTypes::Window];
	ASSERT_EQ(sorted.size(), 2u);
	EXPECT_EQ(sorted[0].name, "Many");
}

TEST_F(CountReportTest, ALineLongerThanTheHostTakesIsCutTo511Characters)
{
	CountResult result;
	VX::HashTable<long, LibRow> rows(0, 0);
	rows.Add(1, Row(std::string(600, 'L'), 1, 10, "{1}"));
	result.partRows.Add(HostSdk::ElementTypes::Object, rows);
	BuildSortedRows(result, HostSdk::ElementTypes::Object);
	ASSERT_EQ(lines.size(), 1u);
	EXPECT_EQ(lines[0], std::string(511, 'L'));
}

TEST_F(CountReportTest, TheReportListsTheTwelveShownTypesWithTheirRows)
{
	CountResult result;
	for (const API_ElemTypeID type : ElementTypes::RowBearing)
		result.partRows.Add(type, VX::HashTable<long, LibRow>(0, 0));
	result.partRows[HostSdk::ElementTypes::Stair].Add(8, Row("Stairs", 1, 5, "{8}"));
	result.elementsPerType[HostSdk::ElementTypes::Stair] = 1;
	result.polygonsPerType[HostSdk::ElementTypes::Stair] = 5;
	// A type that is not shown still counts in the total.
	result.elementsPerType[HostSdk::ElementTypes::Text] = 1;
	result.polygonsPerType[HostSdk::ElementTypes::Text] = 2;
	result.totalPolygons = 7;
	WriteCountReport(result);
	ASSERT_EQ(lines.size(), 4u + 12u + 1u + 1u);
	EXPECT_EQ(lines[0], "");
	EXPECT_EQ(lines[1], "Total polygons: 7");
	EXPECT_EQ(lines[2], "       Name                   Total objects       Total polygons");
	EXPECT_EQ(lines[3], "");
	EXPECT_EQ(lines[4].substr(0, 8), "    Wall");
	EXPECT_EQ(lines[15].substr(0, 9), "    Stair");
	EXPECT_EQ(lines[16].substr(0, 6), "Stairs");
	EXPECT_EQ(lines[17], "");
	for (const API_ElemTypeID type : ElementTypes::RowBearing)
		EXPECT_NE(result.sortedRows.GetPtr(type), nullptr) << type;
	EXPECT_EQ(RSGetActiveModule(), VX::NoResourceModule) << "the resource module is put back";
}

} // namespace
