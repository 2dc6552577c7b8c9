// The ten hash tables the module uses: each is instantiated in full here, so every member
// compiles for it, and each is filled, read, copied, iterated, printed and emptied once.
#include "VXRoot/HashTable.hpp"
#include "counting/GuidStr.hpp"
#include "counting/LibRow.hpp"

#include <gtest/gtest.h>

#include <vector>

template class VX::HashTable<long, short>;
template class VX::HashTable<long, int>;
template class VX::HashTable<long, long>;
template class VX::HashTable<long, LibRow>;
template class VX::HashTable<long, VX::String>;
template class VX::HashTable<GuidStr, short>;
template class VX::HashTable<API_ElemTypeID, VX::HashTable<long, int>>;
template class VX::HashTable<API_ElemTypeID, VX::HashTable<long, LibRow>>;
template class VX::HashTable<API_ElemTypeID, std::vector<LibRow>>;
template class VX::HashTable<API_ElemTypeID, bool>;

namespace {
const API_ElemTypeID rowBearingTypes[] = {API_ElemTypeID {4}, API_ElemTypeID {5}, API_ElemTypeID {6},
	API_ElemTypeID {7}, API_ElemTypeID {33}};
}

// Tables of tables, filled the way a counting run fills them: an empty inner table per type,
// then rows found through the outer table and changed in place.
TEST(ModuleTables, NestedTablesAreFilledInPlace)
{
	VX::HashTable<API_ElemTypeID, VX::HashTable<long, LibRow>> partRows(0.0f, 0.0f);
	VX::HashTable<API_ElemTypeID, VX::HashTable<long, int>> seenParts(0.0f, 0.0f);
	for (API_ElemTypeID type : rowBearingTypes) {
		ASSERT_TRUE(partRows.Add(type, VX::HashTable<long, LibRow>(0.0f, 0.0f)));
		ASSERT_TRUE(seenParts.Add(type, VX::HashTable<long, int>(0.0f, 0.0f)));
	}
	for (long part = 1; part <= 200; ++part) {
		API_ElemTypeID type = rowBearingTypes[part % 5];
		if (!seenParts[type].ContainsKey(part)) {
			seenParts[type].Add(part, 0);
			LibRow row;
			row.name = VX::String("Window");
			partRows[type].Add(part, row);
		}
		LibRow& row = partRows[type][part];
		row.objects += 1;
		row.polygons += static_cast<std::int32_t>(part);
	}
	EXPECT_EQ(partRows[API_ElemTypeID {33}].GetSize(), 40u);
	EXPECT_EQ(partRows[API_ElemTypeID {5}][1].polygons, 1);
	EXPECT_EQ(partRows[API_ElemTypeID {6}][2].objects, 1);
	EXPECT_EQ(partRows[API_ElemTypeID {6}][2].lod, 5);
	EXPECT_THROW(partRows[API_ElemTypeID {6}][1], VX::IllegalReferenceException);
	EXPECT_TRUE(partRows.CheckState() && seenParts.CheckState());
	for (auto pair : partRows.Pairs())
		EXPECT_TRUE(pair.GetValue().CheckState());

	// Display order per type and the unfolded flags of the results page.
	VX::HashTable<API_ElemTypeID, std::vector<LibRow>> sortedRows(0.0f, 0.0f);
	VX::HashTable<API_ElemTypeID, bool> unfolded(0.0f, 0.0f);
	for (auto pair : partRows.Pairs()) {
		std::vector<LibRow> rows;
		for (const LibRow& row : pair.GetValue())
			rows.push_back(row);
		sortedRows.Add(pair.GetKey(), rows);
		unfolded.Add(pair.GetKey(), pair.GetKey() == 6);
	}
	EXPECT_EQ(sortedRows[API_ElemTypeID {4}].size(), 40u);
	EXPECT_TRUE(unfolded[API_ElemTypeID {6}]);
	EXPECT_FALSE(unfolded[API_ElemTypeID {7}]);
}

TEST(ModuleTables, CachesAndLevelTables)
{
	VX::HashTable<long, VX::String> lodParamNames(0.0f, 0.0f);
	VX::HashTable<long, short> partLodWanted(0.0f, 0.0f);
	VX::HashTable<long, long> lodParamIndex(0.0f, 0.0f);
	VX::HashTable<GuidStr, short> levels(0.0f, 0.0f);
	for (long part = 0; part < 100; ++part) {
		lodParamNames.Put(part, VX::String("lod"));
		partLodWanted.Put(part, static_cast<short>(part % 5));
		lodParamIndex.Put(part, part * 3);
	}
	levels.Put(GuidStr("{9349160F-1FF1-4be3-9909-314107CCB286}"), 1);
	levels.Put(GuidStr("{9349160F-1FF1-4be3-9909-314107CCB286}"), 2);
	EXPECT_EQ(levels.GetSize(), 1u);
	EXPECT_EQ(levels[GuidStr("{9349160F-1FF1-4be3-9909-314107CCB286}")], 2);
	EXPECT_EQ(lodParamNames[7], "lod");
	EXPECT_EQ(partLodWanted[7], 2);
	EXPECT_EQ(lodParamIndex[7], 21);
	lodParamNames.Clear();
	partLodWanted.Clear();
	EXPECT_TRUE(lodParamNames.IsEmpty() && partLodWanted.IsEmpty());
}
