// The module-data block format on its own: the walk over a block (whole entries kept, damaged
// ones dropped without reading past the block), the block written from a table, and the read
// of a block from a record or from the project through a fake host.
#include "FakeModuleDataHost.hpp"

#include "shell/Preferences.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Contents = std::vector<std::pair<std::string, short>>;
using FakeHost::Entries;

Contents ContentsOf(const LevelTable& table)
{
	Contents contents;
	for (const auto& entry : table.Pairs())
		contents.emplace_back(entry.GetKey().ToCStr(), entry.GetValue());
	return contents;
}

// Parses a copy of the bytes in a buffer of exactly their size, so a read past the block's
// end is a read past the buffer (caught by the address sanitizer).
Contents Parse(const std::string& bytes)
{
	const std::unique_ptr<char[]> exact(new char[bytes.size() == 0 ? 1 : bytes.size()]);
	std::copy(bytes.begin(), bytes.end(), exact.get());
	LevelTable table;
	FacetallyModuleData::ParseDataBlock(exact.get(), bytes.size(), table);
	return ContentsOf(table);
}

std::string HandleBytes(VX::HandleId handle)
{
	return std::string(static_cast<const char*>(VX::GetHandleData(handle)), VX::GetHandleSize(handle));
}

const std::string Key = DefaultLevelKey;

// ---- The walk over a block ---------------------------------------------------------------

TEST(DataBlockWalk, ReadsEachPairOfTextsInOrder)
{
	EXPECT_EQ(Parse(Entries({{"{PART-A}", "2"}})), (Contents {{"{PART-A}", 2}}));
	EXPECT_EQ(Parse(Entries({{"B", "0"}, {"A", "4"}, {Key, "1"}})), (Contents {{"B", 0}, {"A", 4}, {Key, 1}}));
}

TEST(DataBlockWalk, AnEmptyBlockGivesAnEmptyTable)
{
	EXPECT_TRUE(Parse("").empty());
}

TEST(DataBlockWalk, ALevelThatIsNoNumberRepeatsTheLevelBeforeOrCustomFirst)
{
	EXPECT_EQ(Parse(Entries({{"A", "high"}})), (Contents {{"A", 3}}));
	EXPECT_EQ(Parse(Entries({{"A", "1"}, {"B", ""}, {"C", "x"}, {"D", "2"}})),
			  (Contents {{"A", 1}, {"B", 1}, {"C", 1}, {"D", 2}}));
}

TEST(DataBlockWalk, LevelsAreReadAsShortDecimalNumbers)
{
	EXPECT_EQ(Parse(Entries({{"A", " 2"}, {"B", "-1"}, {"C", "4th"}, {"D", "+3"}})),
			  (Contents {{"A", 2}, {"B", -1}, {"C", 4}, {"D", 3}}));
	// Beyond the range of a short is no level at all (not a wrapped one).
	EXPECT_EQ(Parse(Entries({{"A", "1"}, {"B", "70000"}, {"C", "-32769"}, {"D", "32767"}})),
			  (Contents {{"A", 1}, {"B", 1}, {"C", 1}, {"D", 32767}}));
}

TEST(DataBlockWalk, ARepeatedIdentifierKeepsItsFirstLevel)
{
	EXPECT_EQ(Parse(Entries({{"A", "1"}, {"B", "2"}, {"A", "0"}})), (Contents {{"A", 1}, {"B", 2}}));
}

TEST(DataBlockWalk, ABlockEndingInsideAnEntryKeepsEveryWholeEntryBeforeIt)
{
	const std::string whole = Entries({{"A", "1"}, {"B", "2"}});
	const struct {
		const char* what;
		std::string bytes;
	} cases[] = {
		{"inside an identifier", whole + "C"},
		{"after an identifier", whole + std::string("C\0", 2)},
		{"inside a level without its zero", whole + std::string("C\0" "0", 3)},
		{"a level of several digits without its zero", whole + std::string("C\0" "12", 4)},
	};
	for (const auto& damaged : cases) {
		SCOPED_TRACE(damaged.what);
		EXPECT_EQ(Parse(damaged.bytes), (Contents {{"A", 1}, {"B", 2}}));
	}
	EXPECT_TRUE(Parse("A").empty());
	EXPECT_TRUE(Parse(std::string("A\0", 2)).empty());
	EXPECT_TRUE(Parse(std::string("A\0" "1", 3)).empty());
}

TEST(DataBlockWalk, TextsOfUpTo255CharactersAreKept)
{
	const std::string longest(255, 'x');
	EXPECT_EQ(Parse(Entries({{longest, "2"}})), (Contents {{longest, 2}}));
	EXPECT_EQ(Parse(Entries({{"A", std::string(254, ' ') + "1"}})), (Contents {{"A", 1}}));
}

TEST(DataBlockWalk, AnEntryWithALongerTextIsSkippedAndTheWalkGoesOn)
{
	const std::string overlong(256, 'x');
	// Cut to 255 characters the identifier would be the one of the entry after it.
	EXPECT_EQ(Parse(Entries({{"A", "1"}, {overlong, "2"}, {std::string(255, 'x'), "0"}})),
			  (Contents {{"A", 1}, {std::string(255, 'x'), 0}}));
	EXPECT_EQ(Parse(Entries({{"A", "1"}, {"B", std::string(300, '7')}, {"C", "x"}})),
			  (Contents {{"A", 1}, {"C", 1}}));
	// A huge text without its zero: nothing read past the block.
	EXPECT_EQ(Parse(Entries({{"A", "1"}}) + std::string(5000, 'y')), (Contents {{"A", 1}}));
}

TEST(DataBlockWalk, AnEmptyIdentifierIsAWholeEntry)
{
	EXPECT_EQ(Parse(std::string("\0" "2\0" "A\0" "1\0", 7)), (Contents {{"", 2}, {"A", 1}}));
}

// ---- Writing a table ---------------------------------------------------------------------

class DataBlockWrite : public FakeHostFixture {};

TEST_F(DataBlockWrite, LeavesOutPartsWithoutALevelParameterAndKeepsTheTablesOrder)
{
	LevelTable table;
	table.Add(GuidStr("A"), 0);
	table.Add(GuidStr("B"), 5);
	table.Add(GuidStr(DefaultLevelKey), 4);
	HostSdk::ModuleDataRecord record {};
	ASSERT_EQ(FacetallyModuleData::WriteValues(table, &record), HostSdk::StatusOk);
	ASSERT_NE(record.dataHandle, VX::NoHandle);
	EXPECT_EQ(HandleBytes(record.dataHandle), Entries({{"A", "0"}, {Key, "4"}}));
	EXPECT_EQ(FakeHost::The().stores, 0) << "a block for a record is not stored";
	VX::FreeHandle(record.dataHandle);
}

TEST_F(DataBlockWrite, WritesLevelsInDecimalWithTheirSign)
{
	LevelTable table;
	table.Add(GuidStr("low"), -32768);
	table.Add(GuidStr("high"), 32767);
	HostSdk::ModuleDataRecord record {};
	ASSERT_EQ(FacetallyModuleData::WriteValues(table, &record), HostSdk::StatusOk);
	EXPECT_EQ(HandleBytes(record.dataHandle), Entries({{"low", "-32768"}, {"high", "32767"}}));
	VX::FreeHandle(record.dataHandle);
}

TEST_F(DataBlockWrite, AnEmptyTableIsAnEmptyBlock)
{
	HostSdk::ModuleDataRecord record {};
	ASSERT_EQ(FacetallyModuleData::WriteValues(LevelTable(), &record), HostSdk::StatusOk);
	ASSERT_NE(record.dataHandle, VX::NoHandle);
	EXPECT_EQ(VX::GetHandleSize(record.dataHandle), 0u);
	VX::FreeHandle(record.dataHandle);
}

TEST_F(DataBlockWrite, WithoutARecordTheBlockIsStoredAsTheProjectsModuleDataAndFreed)
{
	LevelTable table;
	table.Add(GuidStr("A"), 2);
	EXPECT_EQ(FacetallyModuleData::WriteValues(table, nullptr), HostSdk::StatusOk);
	ASSERT_TRUE(FakeHost::The().block.has_value());
	EXPECT_EQ(FakeHost::The().block->dataVersion, 2u);
	EXPECT_EQ(FakeHost::The().block->platformMark, 0x5757);
	EXPECT_EQ(FakeHost::The().block->bytes, Entries({{"A", "2"}}));
}

TEST_F(DataBlockWrite, AFailedStoreAnswersTheHostsStatusAndFreesTheBlock)
{
	FakeHost::The().storeAnswer = HostSdk::StatusRefused;
	LevelTable table;
	table.Add(GuidStr("A"), 2);
	EXPECT_EQ(FacetallyModuleData::WriteValues(table, nullptr), HostSdk::StatusRefused);
	EXPECT_FALSE(FakeHost::The().block.has_value());
	EXPECT_TRUE(MessagesShown().empty()) << "write failures are not reported";
}

TEST_F(DataBlockWrite, AHostWithoutTheStoreEntryAnswersTheMissingEntry)
{
	Module().hostTable[HostSdk::Entry::ModuleDataStore] = nullptr;
	EXPECT_EQ(FacetallyModuleData::WriteValues(LevelTable(), nullptr), HostSdk::StatusMissingEntry);
}

// ---- Reading a block ---------------------------------------------------------------------

class DataBlockRead : public FakeHostFixture {};

TEST_F(DataBlockRead, FromARecordLeavesTheBlockToItsOwner)
{
	const std::string bytes = Entries({{"A", "0"}, {Key, "4"}});
	HostSdk::ModuleDataRecord record {};
	record.dataVersion = 2;
	record.dataHandle = VX::AllocateHandle(bytes.size());
	std::copy(bytes.begin(), bytes.end(), static_cast<char*>(VX::GetHandleData(record.dataHandle)));
	LevelTable table;
	table.Add(GuidStr("stale"), 1);
	EXPECT_EQ(FacetallyModuleData::ReadValues(table, &record), HostSdk::StatusOk);
	EXPECT_EQ(ContentsOf(table), (Contents {{"A", 0}, {Key, 4}}));
	EXPECT_EQ(HandleBytes(record.dataHandle), bytes) << "the block is still its owner's";
	EXPECT_EQ(FakeHost::The().queries + FakeHost::The().reads, 0) << "no host call with a record";
	VX::FreeHandle(record.dataHandle);
}

TEST_F(DataBlockRead, ARecordWithoutABlockGivesAnEmptyTable)
{
	const HostSdk::ModuleDataRecord record {};
	LevelTable table;
	table.Add(GuidStr("stale"), 1);
	EXPECT_EQ(FacetallyModuleData::ReadValues(table, &record), HostSdk::StatusOk);
	EXPECT_TRUE(table.IsEmpty());
}

TEST_F(DataBlockRead, FromTheProjectFreesTheBlockItRead)
{
	SetProjectBlock(Entries({{"A", "0"}, {Key, "4"}}));
	LevelTable table;
	EXPECT_EQ(FacetallyModuleData::ReadValues(table, nullptr), HostSdk::StatusOk);
	EXPECT_EQ(ContentsOf(table), (Contents {{"A", 0}, {Key, 4}}));
	EXPECT_EQ(FakeHost::The().queries, 1);
	EXPECT_EQ(FakeHost::The().reads, 1);
	EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(DataBlockRead, AProjectWithoutModuleDataIsNoFailure)
{
	LevelTable table;
	EXPECT_EQ(FacetallyModuleData::ReadValues(table, nullptr), HostSdk::StatusOk);
	EXPECT_TRUE(table.IsEmpty());
	EXPECT_EQ(FakeHost::The().reads, 0) << "nothing to read after the query said there is nothing";
	EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(DataBlockRead, ABlockOfAnotherDataVersionIsFreedAndReported)
{
	SetProjectBlock(Entries({{"A", "0"}}), 1);
	LevelTable table;
	table.Add(GuidStr("stale"), 1);
	EXPECT_EQ(FacetallyModuleData::ReadValues(table, nullptr), HostSdk::StatusBadDataVersion);
	EXPECT_TRUE(table.IsEmpty());
	EXPECT_EQ(MessagesShown(), (std::vector<std::string> {"-2130312810 | FacetallyModuleData, ReadValues ()"}));
	EXPECT_EQ(FakeHost::The().block->bytes, Entries({{"A", "0"}})) << "reading changes nothing in the project";
}

TEST_F(DataBlockRead, AFailingQueryOrReadIsReportedWithItsStatus)
{
	SetProjectBlock(Entries({{"A", "0"}}));
	FakeHost::The().queryAnswer = HostSdk::StatusRefused;
	LevelTable table;
	EXPECT_EQ(FacetallyModuleData::ReadValues(table, nullptr), HostSdk::StatusRefused);
	EXPECT_EQ(FakeHost::The().reads, 0);

	FakeHost::The().queryAnswer = 0;
	FakeHost::The().readAnswer = HostSdk::StatusBadParameter;
	EXPECT_EQ(FacetallyModuleData::ReadValues(table, nullptr), HostSdk::StatusBadParameter);
	EXPECT_TRUE(table.IsEmpty());
	EXPECT_EQ(MessagesShown(), (std::vector<std::string> {"-2130312960 | FacetallyModuleData, ReadValues ()",
														   "-2130312958 | FacetallyModuleData, ReadValues ()"}));
}

TEST_F(DataBlockRead, AHostWithoutTheModuleDataEntriesIsReported)
{
	Module().hostTable[HostSdk::Entry::ModuleDataQuery] = nullptr;
	LevelTable table;
	EXPECT_EQ(FacetallyModuleData::ReadValues(table, nullptr), HostSdk::StatusMissingEntry);
	EXPECT_EQ(MessagesShown(), (std::vector<std::string> {"-2130312313 | FacetallyModuleData, ReadValues ()"}));
}

TEST_F(DataBlockRead, ABlockTheQueryLeftBehindIsFreedToo)
{
	SetProjectBlock(Entries({{"A", "1"}}));
	FakeHost::The().queryLeavesBlock = true;
	LevelTable table;
	EXPECT_EQ(FacetallyModuleData::ReadValues(table, nullptr), HostSdk::StatusOk);
	EXPECT_EQ(ContentsOf(table), (Contents {{"A", 1}}));
	// The fixture checks that no handle is left alive.
}

TEST_F(DataBlockRead, DamagedProjectDataKeepTheirWholeEntries)
{
	SetProjectBlock(Entries({{"A", "1"}, {std::string(300, 'x'), "2"}, {"B", "0"}}) + "C");
	LevelTable table;
	EXPECT_EQ(FacetallyModuleData::ReadValues(table, nullptr), HostSdk::StatusOk);
	EXPECT_EQ(ContentsOf(table), (Contents {{"A", 1}, {"B", 0}}));
	EXPECT_TRUE(MessagesShown().empty());
}

} // namespace
