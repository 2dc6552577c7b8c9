// A count result from construction through reset: its tables, its counters, the wanted levels
// found through the host's library-part search, and the current count result.
#include "counting/CountResult.hpp"

#include "shell/ModuleState.hpp"

#include "HostSdk/HostFunctions.hpp"
#include "IO/LocationTable.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using HostSdk::HostStatus;

constexpr HostSdk::ModuleToken TestToken = 0x5A17;

// The host's library-part search: answers from a table of identifiers and leaves a published
// location in every record it fills, as a real host does.
struct FakeLibrary {
	std::map<std::string, std::int32_t> indexByIdentifier;
	std::vector<std::string> searched;
	bool recordWasClearedOutsideTheIdentifier = true;
	bool warningsAsked = false;
	bool tokenPassed = true;
};
FakeLibrary* library = nullptr;

HostStatus SearchLibPart(HostSdk::ModuleToken token, HostSdk::LibPartRecord* record, bool warnings)
{
	library->tokenPassed = library->tokenPassed && token == TestToken;
	library->warningsAsked = library->warningsAsked || warnings;
	const std::string identifier(record->uniqueId);
	library->searched.push_back(identifier);
	HostSdk::LibPartRecord expected {};
	std::memcpy(expected.uniqueId, record->uniqueId, sizeof(expected.uniqueId));
	if (std::memcmp(&expected, record, sizeof(expected)) != 0)
		library->recordWasClearedOutsideTheIdentifier = false;

	const auto found = library->indexByIdentifier.find(identifier);
	if (found == library->indexByIdentifier.end())
		return HostSdk::StatusBadParameter;
	record->index = found->second;
	record->location = IO::PublishLocation(IO::Location("/library/" + identifier + ".part"));
	return HostSdk::StatusOk;
}

class CountResultTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		saved = Module();
		library = &fake;
		Module().token = TestToken;
		Module().hostTable[HostSdk::Entry::LibPartSearch] = reinterpret_cast<HostSdk::HostFunction>(&SearchLibPart);
		liveLocationsBefore = IO::LiveLocationCount();
	}
	void TearDown() override
	{
		EXPECT_EQ(IO::LiveLocationCount(), liveLocationsBefore) << "every location the host left was released";
		delete Module().currentCountResult;
		Module() = saved;
		library = nullptr;
	}

	static LevelTable Levels(std::initializer_list<std::pair<const char*, short>> entries)
	{
		LevelTable table(0, 0);
		for (const auto& [identifier, level] : entries)
			table.Add(GuidStr(identifier), level);
		return table;
	}

	ModuleState saved;
	FakeLibrary fake;
	std::size_t liveLocationsBefore = 0;
};

std::vector<int> Keys(const auto& table)
{
	std::vector<int> keys;
	for (const auto& pair : table.Pairs())
		keys.push_back(static_cast<int>(pair.GetKey()));
	return keys;
}

TEST_F(CountResultTest, NewResultIsEmptyWithDefaultTableLimits)
{
	const CountResult result;
	EXPECT_TRUE(result.partRows.IsEmpty());
	EXPECT_TRUE(result.seenParts.IsEmpty());
	EXPECT_TRUE(result.sortedRows.IsEmpty());
	EXPECT_TRUE(result.partLodWanted.IsEmpty());
	EXPECT_EQ(result.totalPolygons, 0);
	for (int type = 0; type < ElementTypes::NamedCount; ++type) {
		EXPECT_EQ(result.elementsPerType[type], 0);
		EXPECT_EQ(result.polygonsPerType[type], 0);
	}
	// Tables built with 0 and 0 take the container's defaults.
	EXPECT_FLOAT_EQ(result.partRows.GetAverageSeekFactorLimit(), 2.0f);
	EXPECT_FLOAT_EQ(result.partRows.GetMinFillFactor(), 0.75f);
	EXPECT_FLOAT_EQ(result.lodValueTexts.GetAverageSeekFactorLimit(), 2.0f);
	EXPECT_FLOAT_EQ(result.sortedRows.GetMinFillFactor(), 0.75f);
}

TEST_F(CountResultTest, ResetMakesOneEmptyTablePerRowBearingTypeInOrder)
{
	CountResult result;
	ResetCountResult(result, Levels({}));
	EXPECT_EQ(Keys(result.partRows), (std::vector<int> {4, 5, 6, 7, 33}));
	EXPECT_EQ(Keys(result.seenParts), (std::vector<int> {4, 5, 6, 7, 33}));
	for (const auto& rows : result.partRows) {
		EXPECT_TRUE(rows.IsEmpty());
		EXPECT_FLOAT_EQ(rows.GetAverageSeekFactorLimit(), 2.0f);
		EXPECT_FLOAT_EQ(rows.GetMinFillFactor(), 0.75f);
	}
	for (const auto& seen : result.seenParts)
		EXPECT_TRUE(seen.IsEmpty());
	EXPECT_TRUE(result.sortedRows.IsEmpty());
	EXPECT_TRUE(fake.searched.empty());
}

TEST_F(CountResultTest, ResetForgetsEverythingOfTheRunBefore)
{
	CountResult result;
	ResetCountResult(result, Levels({}));
	result.elementsPerType[6] = 3;
	result.polygonsPerType[33] = 900;
	result.partRows[API_ElemTypeID {5}].Add(17, LibRow {});
	result.seenParts[API_ElemTypeID {5}].Add(17, 0);
	result.sortedRows.Add(API_ElemTypeID {5}, std::vector<LibRow>(1));
	result.lodParamNames.Add(17, "Detail");
	result.lodParamIndex.Add(17, 4);
	result.lodValueTexts.Add(17, "coarse");
	result.partLodWanted.Add(17, 2);

	ResetCountResult(result, Levels({}));
	EXPECT_EQ(result.elementsPerType[6], 0);
	EXPECT_EQ(result.polygonsPerType[33], 0);
	EXPECT_EQ(Keys(result.partRows), (std::vector<int> {4, 5, 6, 7, 33}));
	EXPECT_TRUE(result.partRows[API_ElemTypeID {5}].IsEmpty());
	EXPECT_TRUE(result.seenParts[API_ElemTypeID {5}].IsEmpty());
	EXPECT_TRUE(result.sortedRows.IsEmpty());
	EXPECT_TRUE(result.lodParamNames.IsEmpty());
	EXPECT_TRUE(result.lodParamIndex.IsEmpty());
	EXPECT_TRUE(result.lodValueTexts.IsEmpty());
	EXPECT_TRUE(result.partLodWanted.IsEmpty());
}

TEST_F(CountResultTest, WantedLevelsAreFoundByIdentifierThroughTheHost)
{
	fake.indexByIdentifier = {{"{AAAA}", 12}, {"{CCCC}", 3}};
	CountResult result;
	ResetCountResult(result, Levels({{"{AAAA}", 1}, {"{BBBB}", 2}, {"{CCCC}", 4}}));

	EXPECT_EQ(fake.searched.size(), 3u);
	EXPECT_TRUE(fake.recordWasClearedOutsideTheIdentifier);
	EXPECT_FALSE(fake.warningsAsked);
	EXPECT_TRUE(fake.tokenPassed);
	EXPECT_EQ(result.partLodWanted.GetSize(), 2u);
	short level = -1;
	EXPECT_TRUE(result.partLodWanted.Get(12, &level));
	EXPECT_EQ(level, 1);
	EXPECT_TRUE(result.partLodWanted.Get(3, &level));
	EXPECT_EQ(level, 4);
}

TEST_F(CountResultTest, EntriesAreSearchedInTheLevelTablesOrder)
{
	const LevelTable levels = Levels({{"{1}", 0}, {"{2}", 1}, {"{3}", 2}, {"{4}", 3}});
	std::vector<std::string> expected;
	for (const auto& pair : levels.Pairs())
		expected.emplace_back(pair.GetKey().ToCStr());
	CountResult result;
	ResetCountResult(result, levels);
	EXPECT_EQ(fake.searched, expected);
}

TEST_F(CountResultTest, LongestIdentifierReachesTheHostWhole)
{
	const std::string longest(GuidStr::MaxLength, 'x');
	fake.indexByIdentifier = {{longest, 9}};
	CountResult result;
	ResetCountResult(result, Levels({{longest.c_str(), 2}}));
	ASSERT_EQ(fake.searched.size(), 1u);
	EXPECT_EQ(fake.searched[0], longest);
	EXPECT_TRUE(result.partLodWanted.ContainsKey(9));
}

TEST_F(CountResultTest, HostWithoutLibraryPartSearchGivesNoWantedLevels)
{
	Module().hostTable[HostSdk::Entry::LibPartSearch] = nullptr;
	CountResult result;
	ResetCountResult(result, Levels({{"{AAAA}", 1}}));
	EXPECT_TRUE(result.partLodWanted.IsEmpty());
	EXPECT_EQ(Keys(result.partRows), (std::vector<int> {4, 5, 6, 7, 33}));
}

TEST_F(CountResultTest, CurrentResultIsTheShellsAndDestroyedByItsHook)
{
	EXPECT_EQ(CurrentCountResult(), nullptr);
	auto* result = new CountResult;
	SetCurrentCountResult(result);
	EXPECT_EQ(CurrentCountResult(), result);
	EXPECT_EQ(Module().currentCountResult, result);
	DestroyCurrentCountResult();
	EXPECT_EQ(CurrentCountResult(), nullptr);
	// Harmless without a result.
	DestroyCurrentCountResult();
	EXPECT_EQ(CurrentCountResult(), nullptr);
}

} // namespace
