// The detail-level table: names in signed byte order, rows of equal names in the order they
// were added, and the two lookups the level-of-detail change uses.
#include "lod/DetailLevelTable.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DetailLevelTable::Row MakeRow(std::initializer_list<const char*> values)
{
	DetailLevelTable::Row row;
	row.SetSize(static_cast<VX::UIndex>(values.size()));
	VX::UIndex position = 0;
	for (const char* value : values)
		row[position++] = value;
	return row;
}

std::vector<std::string> Names(const DetailLevelTable& table)
{
	std::vector<std::string> names;
	for (const auto& [name, row] : table)
		names.push_back(name.ToStd());
	return names;
}

std::string FirstValues(DetailLevelTable::ConstIterator first, DetailLevelTable::ConstIterator last)
{
	std::string values;
	for (; first != last; ++first)
		values += first->second[0].ToStd();
	return values;
}

using Texts = std::vector<std::string>;

TEST(DetailLevelTable, NamesAreOrderedAsSignedBytes)
{
	DetailLevelTable table;
	for (const char* name : {"b", "\xE9t", "B", "a", "ab", "A", ""})
		table.Add(name, MakeRow({"x"}));
	// A prefix (the empty name included) comes before the longer name; 0xE9 is negative as a
	// signed byte and comes before every ASCII character; upper case before lower case.
	EXPECT_EQ(Names(table), (Texts {"", "\xE9t", "A", "B", "a", "ab", "b"}));
}

TEST(DetailLevelTable, EqualNamesKeepTheirOrderOfAddition)
{
	DetailLevelTable table;
	table.Add("LOD", MakeRow({"1"}));
	table.Add("Detail", MakeRow({"d"}));
	table.Add("LOD", MakeRow({"2", "", "x"}));
	table.Add("LOD", MakeRow({"3"}));
	const auto [first, last] = table.EqualRange("LOD");
	EXPECT_EQ(FirstValues(first, last), "123");
	EXPECT_EQ(table.GetSize(), 4u);
}

TEST(DetailLevelTable, FindGivesTheFirstRowOfAName)
{
	DetailLevelTable table;
	table.Add("LOD", MakeRow({"first"}));
	table.Add("LOD", MakeRow({"second"}));
	const auto found = table.Find("LOD");
	ASSERT_NE(found, table.End());
	EXPECT_EQ(found->second[0], "first");
	EXPECT_EQ(table.Find("lod"), table.End());
	EXPECT_EQ(table.Find("LOD "), table.End());
	EXPECT_EQ(table.Find("LO"), table.End());
	const auto [first, last] = table.EqualRange("missing");
	EXPECT_EQ(first, last);
}

} // namespace
