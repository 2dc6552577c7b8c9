// The preferences and the stored preferences against a fake host: loading once per project,
// the default level carried under the palette's key, the write at the project's save with
// the levels of the current count result, module data of another data version left alone,
// and the merge handler handing the merged block over.
#include "FakeModuleDataHost.hpp"

#include "counting/CountResult.hpp"
#include "shell/EventHandlers.hpp"
#include "shell/ModuleDataMerge.hpp"
#include "shell/Preferences.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Contents = std::vector<std::pair<std::string, short>>;
using FakeHost::Entries;

const std::string Key = DefaultLevelKey;

Contents ContentsOf(const LevelTable& table)
{
	Contents contents;
	for (const auto& entry : table.Pairs())
		contents.emplace_back(entry.GetKey().ToCStr(), entry.GetValue());
	return contents;
}

std::string ProjectBytes()
{
	return FakeHost::The().block ? FakeHost::The().block->bytes : std::string("(no module data)");
}

// ---- Loading the stored preferences ---------------------------------------------------------

class StoredPreferencesLoad : public FakeHostFixture {};

TEST_F(StoredPreferencesLoad, TakesTheDefaultLevelOutOfTheTable)
{
	SetProjectBlock(Entries({{"A", "0"}, {Key, "4"}}));
	StoredPreferences& stored = GetStoredPreferences();
	EXPECT_FALSE(stored.loaded);
	EXPECT_EQ(stored.StoredDefaultLevel(), 4);
	EXPECT_TRUE(stored.loaded);
	EXPECT_EQ(ContentsOf(stored.levelTable), (Contents {{"A", 0}}));
}

TEST_F(StoredPreferencesLoad, WithoutDataOrWithAnEmptyBlockTheDefaultIsCustom)
{
	EXPECT_EQ(GetStoredPreferences().StoredDefaultLevel(), 3);
	EXPECT_TRUE(GetStoredPreferences().levelTable.IsEmpty());

	DiscardPreferencesForTesting();
	SetProjectBlock("");
	EXPECT_EQ(GetStoredPreferences().StoredDefaultLevel(), 3);
	EXPECT_TRUE(GetStoredPreferences().levelTable.IsEmpty());
	EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(StoredPreferencesLoad, AnUnparsableLevelIsCustom)
{
	SetProjectBlock(Entries({{"A", "?"}}));
	EXPECT_EQ(GetStoredPreferences().StoredDefaultLevel(), 3);
	EXPECT_EQ(ContentsOf(GetStoredPreferences().levelTable), (Contents {{"A", 3}}));
}

TEST_F(StoredPreferencesLoad, ReadsTheProjectOnceUntilMarkedNotLoaded)
{
	SetProjectBlock(Entries({{Key, "1"}}));
	StoredPreferences& stored = GetStoredPreferences();
	EXPECT_EQ(stored.StoredDefaultLevel(), 1);
	SetProjectBlock(Entries({{Key, "2"}}));
	EXPECT_EQ(stored.StoredDefaultLevel(), 1);
	EXPECT_EQ(FakeHost::The().reads, 1);

	stored.MarkNotLoaded();
	EXPECT_FALSE(stored.loaded);
	EXPECT_EQ(stored.StoredDefaultLevel(), 2);
	EXPECT_EQ(FakeHost::The().reads, 2);
}

TEST_F(StoredPreferencesLoad, DataOfAnotherVersionKeepThePreviousDefaultAndAreReportedOnce)
{
	SetProjectBlock(Entries({{"A", "1"}, {Key, "4"}}));
	StoredPreferences& stored = GetStoredPreferences();
	EXPECT_EQ(stored.StoredDefaultLevel(), 4);
	stored.MarkNotLoaded();

	SetProjectBlock(Entries({{"B", "2"}, {Key, "0"}}), 3);
	EXPECT_EQ(stored.StoredDefaultLevel(), 4);
	EXPECT_TRUE(stored.levelTable.IsEmpty());
	EXPECT_TRUE(stored.loaded);
	EXPECT_TRUE(stored.FoundNewerData());
	EXPECT_EQ(stored.StoredDefaultLevel(), 4);
	EXPECT_EQ(MessagesShown(), (std::vector<std::string> {"-2130312810 | FacetallyModuleData, ReadValues ()"}));
}

TEST_F(StoredPreferencesLoad, AFailedFirstLoadKeepsTheInitialDefault)
{
	FakeHost::The().queryAnswer = HostSdk::StatusRefused;
	EXPECT_EQ(GetStoredPreferences().StoredDefaultLevel(), 0);
	EXPECT_EQ(MessagesShown().size(), 1u);
}

// ---- The preferences -----------------------------------------------------------------------

class PreferencesUse : public FakeHostFixture {
protected:
	void TearDown() override
	{
		delete CurrentCountResult();
		SetCurrentCountResult(nullptr);
		FakeHostFixture::TearDown();
	}
};

TEST_F(PreferencesUse, StartAsACopyOfTheStoredPreferences)
{
	SetProjectBlock(Entries({{"A", "0"}, {"B", "5"}, {Key, "4"}}));
	Preferences& preferences = GetPreferences();
	EXPECT_FALSE(preferences.selectionOnly);
	EXPECT_FALSE(preferences.allStories);
	EXPECT_EQ(preferences.fromStory, 0);
	EXPECT_EQ(preferences.toStory, 0);
	EXPECT_EQ(preferences.defaultLevel, 4);
	EXPECT_EQ(ContentsOf(preferences.levelTable), (Contents {{"A", 0}, {"B", 5}}));
	// A copy: changing one leaves the other.
	preferences.levelTable.Put(GuidStr("A"), 2);
	EXPECT_EQ(ContentsOf(GetStoredPreferences().levelTable), (Contents {{"A", 0}, {"B", 5}}));
}

TEST_F(PreferencesUse, WriteLeavesOutPartsWithoutParameterAndCarriesTheDefaultLevel)
{
	Preferences& preferences = GetPreferences();
	preferences.levelTable.Add(GuidStr("A"), 0);
	preferences.levelTable.Add(GuidStr("B"), 5);
	preferences.defaultLevel = 4;
	preferences.WritePreferences();
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "0"}, {Key, "4"}}));
	EXPECT_EQ(FakeHost::The().block->dataVersion, 2u);
	EXPECT_EQ(FakeHost::The().block->platformMark, 0x5757);
	EXPECT_EQ(ContentsOf(preferences.levelTable), (Contents {{"A", 0}, {"B", 5}})) << "the key is only there while writing";
}

TEST_F(PreferencesUse, WhatIsWrittenReadsBackAsItWas)
{
	SetProjectBlock(Entries({{"A", "0"}, {"B", "5"}, {Key, "4"}}));
	GetPreferences().WritePreferences();
	const std::string written = ProjectBytes();
	EXPECT_EQ(written, Entries({{"A", "0"}, {Key, "4"}}));

	DiscardPreferencesForTesting();
	EXPECT_EQ(GetStoredPreferences().StoredDefaultLevel(), 4);
	EXPECT_EQ(ContentsOf(GetStoredPreferences().levelTable), (Contents {{"A", 0}}));
	GetPreferences().WritePreferences();
	EXPECT_EQ(ProjectBytes(), written);
}

TEST_F(PreferencesUse, WriteTakesTheLevelsOfTheCurrentCountResult)
{
	Preferences& preferences = GetPreferences();
	preferences.levelTable.Add(GuidStr("A"), 0);
	preferences.defaultLevel = 3;

	auto* result = new CountResult;
	SetCurrentCountResult(result);
	result->defaultLod = 1;
	LibRow windowRow;
	windowRow.guid = GuidStr("W");
	windowRow.lod = 2;
	LibRow changed;
	changed.guid = GuidStr("A");
	changed.lod = 1;
	LibRow withoutParameter;
	withoutParameter.guid = GuidStr("N");
	result->sortedRows.Add(HostSdk::ElementTypes::Window, {windowRow});
	result->sortedRows.Add(HostSdk::ElementTypes::Object, {changed, withoutParameter});

	preferences.WritePreferences();
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "1"}, {"W", "2"}, {Key, "1"}}));
	EXPECT_EQ(preferences.defaultLevel, 1);
	EXPECT_EQ(ContentsOf(preferences.levelTable), (Contents {{"A", 1}, {"W", 2}, {"N", 5}}));
}

TEST_F(PreferencesUse, StoreRowLevelsWithoutACountResultChangesNothing)
{
	Preferences& preferences = GetPreferences();
	preferences.levelTable.Add(GuidStr("A"), 0);
	preferences.defaultLevel = 2;
	StoreRowLevels(preferences);
	EXPECT_EQ(ContentsOf(preferences.levelTable), (Contents {{"A", 0}}));
	EXPECT_EQ(preferences.defaultLevel, 2);
}

TEST_F(PreferencesUse, ModuleDataOfAnotherVersionAreNotWrittenOver)
{
	const std::string foreign = Entries({{"A", "1"}}) + "and more of a format to come";
	SetProjectBlock(foreign, 3);
	Preferences& preferences = GetPreferences();
	preferences.levelTable.Add(GuidStr("B"), 2);
	preferences.WritePreferences();
	EXPECT_EQ(FakeHost::The().stores, 0);
	EXPECT_EQ(FakeHost::The().block->dataVersion, 3u);
	EXPECT_EQ(ProjectBytes(), foreign);
	EXPECT_EQ(MessagesShown().size(), 1u) << "the message is shown once, when the data are read";

	// The next project's data are read and written as usual.
	GetStoredPreferences().MarkNotLoaded();
	FakeHost::The().block.reset();
	preferences.WritePreferences();
	EXPECT_EQ(ProjectBytes(), Entries({{"B", "2"}, {Key, "0"}}));
}

TEST_F(PreferencesUse, ProjectEventsSaveAndCloseActOnThePreferences)
{
	SetProjectBlock(Entries({{"A", "2"}, {Key, "1"}}));
	EXPECT_EQ(ProjectEventHandler(HostSdk::ProjectEvents::Save, 0), 0);
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "2"}, {Key, "1"}}));
	FakeHost::The().block.reset();
	EXPECT_EQ(ProjectEventHandler(HostSdk::ProjectEvents::SaveAs, 0), 0);
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "2"}, {Key, "1"}}));
	EXPECT_EQ(FakeHost::The().stores, 2);

	EXPECT_TRUE(GetStoredPreferences().loaded);
	EXPECT_EQ(ProjectEventHandler(HostSdk::ProjectEvents::Close, 0), 0);
	EXPECT_FALSE(GetStoredPreferences().loaded);
	for (const std::int32_t other : {1, 2, 4, 16, 64})
		ProjectEventHandler(other, 0);
	EXPECT_EQ(FakeHost::The().stores, 2) << "only events 8 and 128 write";
}

// ---- The merge handler ---------------------------------------------------------------------

class MergeHandler : public FakeHostFixture {
protected:
	struct OwnedRecord {
		HostSdk::ModuleDataRecord record {};
		explicit OwnedRecord(const std::string& bytes, std::uint32_t version = 2)
		{
			record.dataVersion = version;
			record.platformMark = HostSdk::PlatformMark;
			record.dataHandle = VX::AllocateHandle(bytes.size());
			std::copy(bytes.begin(), bytes.end(), static_cast<char*>(VX::GetHandleData(record.dataHandle)));
		}
		~OwnedRecord() { VX::FreeHandle(record.dataHandle); }
	};

	static std::string TakeBlock(HostSdk::ModuleDataRecord& record)
	{
		std::string bytes(static_cast<const char*>(VX::GetHandleData(record.dataHandle)),
						  VX::GetHandleSize(record.dataHandle));
		VX::FreeHandle(record.dataHandle);
		record.dataHandle = VX::NoHandle;
		return bytes;
	}
};

TEST_F(MergeHandler, TheFirstProjectsLevelsWinAndTheMergedBlockIsHandedOver)
{
	const OwnedRecord first(Entries({{"A", "1"}}));
	const OwnedRecord second(Entries({{"A", "2"}, {"B", "0"}}));
	HostSdk::ModuleDataRecord merged {};
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, &first.record, &second.record, &merged), 0);
	EXPECT_EQ(merged.dataVersion, 2u);
	EXPECT_EQ(merged.platformMark, 0x5757);
	EXPECT_EQ(TakeBlock(merged), Entries({{"A", "1"}, {"B", "0"}}));
	EXPECT_EQ(FakeHost::The().queries + FakeHost::The().reads + FakeHost::The().stores, 0);
}

TEST_F(MergeHandler, TheDefaultLevelMergesLikeAnyPart)
{
	const OwnedRecord first(Entries({{"A", "1"}}));
	const OwnedRecord second(Entries({{Key, "2"}, {"A", "0"}, {"C", "5"}}));
	HostSdk::ModuleDataRecord merged {};
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, &first.record, &second.record, &merged), 0);
	EXPECT_EQ(TakeBlock(merged), Entries({{"A", "1"}, {Key, "2"}}));
}

TEST_F(MergeHandler, WithoutAPlaceForTheMergedBlockItIsFreed)
{
	const OwnedRecord first(Entries({{"A", "1"}}));
	const OwnedRecord second(Entries({{"B", "0"}}));
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, &first.record, &second.record, nullptr), 0);
	// The fixture checks that no handle is left alive.
}

TEST_F(MergeHandler, OtherCodesDoNothing)
{
	const OwnedRecord first(Entries({{"A", "1"}}));
	HostSdk::ModuleDataRecord merged {};
	merged.dataHandle = 0x1234;
	EXPECT_EQ(ModuleDataMergeHandler(12, &first.record, &first.record, &merged), 0);
	EXPECT_EQ(merged.dataHandle, 0x1234u);
}

TEST_F(MergeHandler, MissingBlocksAreEmpty)
{
	const OwnedRecord second(Entries({{"B", "0"}}));
	const HostSdk::ModuleDataRecord noBlock {};
	HostSdk::ModuleDataRecord merged {};
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, &noBlock, &second.record, &merged), 0);
	EXPECT_EQ(TakeBlock(merged), Entries({{"B", "0"}}));
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, nullptr, nullptr, &merged), 0);
	EXPECT_EQ(TakeBlock(merged), "");
}

TEST_F(MergeHandler, ABlockOfAnotherVersionIsNotMerged)
{
	const OwnedRecord first(Entries({{"A", "1"}}));
	const OwnedRecord foreign(Entries({{"B", "0"}}), 1);
	HostSdk::ModuleDataRecord merged {};
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, &first.record, &foreign.record, &merged),
			  HostSdk::StatusBadDataVersion);
	EXPECT_EQ(merged.dataHandle, VX::NoHandle);
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, &foreign.record, &first.record, &merged),
			  HostSdk::StatusBadDataVersion);
	EXPECT_EQ(merged.dataHandle, VX::NoHandle);
	EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(MergeHandler, ThePreferencesLearnThePartsTheMergeBrought)
{
	SetProjectBlock(Entries({{"A", "1"}, {Key, "2"}}));
	Preferences& preferences = GetPreferences();
	EXPECT_TRUE(GetStoredPreferences().loaded);
	const OwnedRecord first(Entries({{"A", "1"}, {Key, "2"}}));
	const OwnedRecord second(Entries({{"A", "0"}, {"B", "4"}, {Key, "0"}}));
	HostSdk::ModuleDataRecord merged {};
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, &first.record, &second.record, &merged), 0);
	EXPECT_EQ(ContentsOf(preferences.levelTable), (Contents {{"A", 1}, {"B", 4}}));
	EXPECT_EQ(preferences.defaultLevel, 2) << "the open project's default level stays";
	EXPECT_FALSE(GetStoredPreferences().loaded) << "the merged data are read at the next use";

	// The host keeps the merged block as the project's; the next save keeps what it brought.
	SetProjectBlock(TakeBlock(merged));
	preferences.WritePreferences();
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "1"}, {"B", "4"}, {Key, "2"}}));
}

TEST_F(MergeHandler, ANotHandedOverMergeLeavesThePreferences)
{
	Preferences& preferences = GetPreferences();
	const OwnedRecord second(Entries({{"B", "4"}}));
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, nullptr, &second.record, nullptr), 0);
	EXPECT_TRUE(preferences.levelTable.IsEmpty());
	EXPECT_TRUE(GetStoredPreferences().loaded);
}

TEST_F(MergeHandler, DamagedBlocksMergeTheirWholeEntries)
{
	const OwnedRecord first(Entries({{"A", "1"}, {std::string(400, 'z'), "2"}}) + "Q");
	const OwnedRecord second(Entries({{"B", "0"}}) + std::string("C\0", 2));
	HostSdk::ModuleDataRecord merged {};
	EXPECT_EQ(ModuleDataMergeHandler(HostSdk::MergeCode, &first.record, &second.record, &merged), 0);
	EXPECT_EQ(TakeBlock(merged), Entries({{"A", "1"}, {"B", "0"}}));
}

} // namespace
