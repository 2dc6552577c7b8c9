// A count result's reset: one empty row table per row-bearing type, nothing of the run before,
// and the wanted levels found through the host's library-part search, which leaves a file
// location in every record it fills.
#include "counting/CountResult.hpp"
#include "HostTableFixture.hpp"
#include "LeakCheck.hpp"

#include "IO/LocationTable.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using HostSdk::HostStatus;

class CountResultTest : public HostTableFixture {
protected:
	void SetUp() override
	{
		HostTableFixture::SetUp();
		Offer<HostSdk::Entry::LibPartSearch>([this](
												 HostSdk::ModuleToken, HostSdk::LibPartRecord* record, bool warnings) {
			HostSdk::LibPartRecord cleared {};
			std::memcpy(cleared.uniqueId, record->uniqueId, sizeof(cleared.uniqueId));
			EXPECT_EQ(std::memcmp(&cleared, record, sizeof(cleared)), 0) << "the record is cleared but the identifier";
			EXPECT_FALSE(warnings);
			searched.emplace_back(record->uniqueId);
			const auto found = library.find(record->uniqueId);
			if (found == library.end())
				return HostSdk::StatusBadParameter;
			record->index = found->second;
			record->location = IO::PublishLocation(IO::Location("/library/part"));
			return HostSdk::StatusOk;
		});
	}

	static LevelTable Levels(std::initializer_list<std::pair<std::string, short>> entries)
	{
		LevelTable table(0, 0);
		for (const auto& [identifier, level] : entries)
			table.Add(GuidStr(identifier.c_str()), level);
		return table;
	}

	static std::map<int, short> Wanted(const CountResult& result)
	{
		std::map<int, short> wanted;
		for (const auto& pair : result.partLodWanted.Pairs())
			wanted[static_cast<int>(pair.GetKey())] = pair.GetValue();
		return wanted;
	}

	const LeakCheck leaks;
	std::map<std::string, std::int32_t> library;
	std::vector<std::string> searched;
};

TEST_F(CountResultTest, ResetForgetsTheRunBeforeAndFindsTheWantedLevels)
{
	const std::string longest(GuidStr::MaxLength, 'x');
	library = {{"{AAAA}", 12}, {"{CCCC}", 3}, {longest, 9}};
	CountResult result;
	ResetCountResult(result, Levels({}));
	result.elementsPerType[6] = 3;
	result.polygonsPerType[33] = 900;
	result.partRows[API_ElemTypeID {5}].Add(17, LibRow {});
	result.seenParts[API_ElemTypeID {5}].Add(17, 0);
	result.sortedRows.Add(API_ElemTypeID {5}, std::vector<LibRow>(1));
	result.lodParamNames.Add(17, "Detail");
	result.lodValueTexts.Add(17, "coarse");
	result.partLodWanted.Add(17, 2);

	ResetCountResult(result, Levels({{"{AAAA}", 1}, {"{BBBB}", 2}, {"{CCCC}", 4}, {longest, 0}}));
	EXPECT_EQ(result.elementsPerType[6], 0);
	EXPECT_EQ(result.polygonsPerType[33], 0);
	std::vector<int> types;
	for (const auto& pair : result.partRows.Pairs()) {
		types.push_back(static_cast<int>(pair.GetKey()));
		EXPECT_TRUE(pair.GetValue().IsEmpty());
	}
	EXPECT_EQ(types, (std::vector<int> {4, 5, 6, 7, 33}));
	EXPECT_TRUE(result.seenParts[API_ElemTypeID {5}].IsEmpty());
	EXPECT_TRUE(result.sortedRows.IsEmpty());
	EXPECT_TRUE(result.lodParamNames.IsEmpty());
	EXPECT_TRUE(result.lodValueTexts.IsEmpty());
	EXPECT_EQ(Wanted(result), (std::map<int, short> {{3, 4}, {9, 0}, {12, 1}}));
	EXPECT_EQ(searched, (std::vector<std::string> {"{AAAA}", "{BBBB}", "{CCCC}", longest}))
		<< "in the table's order, whole";
}

TEST_F(CountResultTest, AHostWithoutTheSearchGivesNoWantedLevels)
{
	Empty(HostSdk::Entry::LibPartSearch);
	CountResult result;
	ResetCountResult(result, Levels({{"{AAAA}", 1}}));
	EXPECT_TRUE(result.partLodWanted.IsEmpty());
	EXPECT_EQ(result.partRows.GetSize(), 5u);
}

} // namespace
