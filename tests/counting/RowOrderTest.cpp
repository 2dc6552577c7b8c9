// The order of library-part rows: more polygons first, then the greater identifier text
// compared as signed bytes; rows that tie on both keep only the first.
#include "counting/RowOrder.hpp"

#include "VXRoot/HashTable.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

LibRow Row(const char* guid, std::int32_t polygons, const char* name = "")
{
	LibRow row;
	row.guid = GuidStr(guid);
	row.polygons = polygons;
	row.name = name;
	return row;
}

std::vector<std::string> Guids(const std::vector<LibRow>& rows)
{
	std::vector<std::string> texts;
	for (const LibRow& row : rows)
		texts.emplace_back(row.guid.ToCStr());
	return texts;
}

using Texts = std::vector<std::string>;

TEST(RowOrder, OrdersByPolygonsThenByTheGreaterIdentifierAsSignedBytes)
{
	const struct {
		const char* what;
		std::vector<LibRow> rows;
		Texts ordered;
	} cases[] = {
		{"more polygons first", {Row("A", 500), Row("B", 700)}, {"B", "A"}},
		{"negative counts still by value", {Row("A", -5), Row("B", 0), Row("C", 3)}, {"C", "B", "A"}},
		{"equal counts: the greater identifier first", {Row("A", 600), Row("B", 600)}, {"B", "A"}},
		{"whatever the order they come in", {Row("B", 600), Row("A", 600)}, {"B", "A"}},
		{"a longer text before its prefix", {Row("A", 600), Row("AB", 600)}, {"AB", "A"}},
		{"the empty text last", {Row("", 600), Row("A", 600)}, {"A", ""}},
		// 0xC3 is negative as a signed byte: an unsigned comparison would put it first.
		{"signed bytes, case matters", {Row("\xC3", 1), Row("A", 1), Row("a", 1)}, {"a", "A", "\xC3"}},
	};
	for (const auto& each : cases)
		EXPECT_EQ(Guids(OrderRows(each.rows)), each.ordered) << each.what;
	const LibRow row = Row("X", 3);
	EXPECT_FALSE(RowOrder()(row, row)) << "irreflexive";
}

TEST(RowOrder, TiesKeepTheFirstRowOnly)
{
	const std::vector<LibRow> rows {Row("G", 100, "first"), Row("H", 200), Row("G", 100, "second")};
	const std::vector<LibRow> ordered = OrderRows(rows);
	ASSERT_EQ(ordered.size(), 2u);
	EXPECT_EQ(Guids(ordered), (Texts {"H", "G"}));
	EXPECT_EQ(ordered[1].name, "first");
	// The same identifier with another count is another row.
	EXPECT_EQ(OrderRows(std::vector<LibRow> {Row("G", 1), Row("G", 2)}).size(), 2u);
}

TEST(RowOrder, OrdersTheRowsOfATypeTableWithAllTheirFields)
{
	VX::HashTable<long, LibRow> table(0, 0);
	LibRow small = Row("{S}", 10, "Small");
	small.objects = 2;
	small.lod = 1;
	small.lockFlags = 0;
	small.available[0] = true;
	table.Add(11, small);
	table.Add(12, Row("{L}", 1000, "Large"));
	table.Add(13, Row("{M}", 100, "Middle"));
	const std::vector<LibRow> ordered = OrderRows(table);
	ASSERT_EQ(ordered.size(), 3u);
	EXPECT_EQ(ordered[0].name, "Large");
	EXPECT_EQ(ordered[1].name, "Middle");
	EXPECT_EQ(ordered[2].name, "Small");
	// The copies carry every field of the row.
	EXPECT_EQ(ordered[2].objects, 2);
	EXPECT_EQ(ordered[2].lod, 1);
	EXPECT_EQ(ordered[2].lockFlags, 0u);
	EXPECT_TRUE(ordered[2].available[0]);
	EXPECT_STREQ(ordered[2].guid.ToCStr(), "{S}");
}

TEST(RowOrder, EmptyTableGivesNoRows)
{
	EXPECT_TRUE(OrderRows(VX::HashTable<long, LibRow>(0, 0)).empty());
}

} // namespace
