// The reference host's module data entries as an add-on meets them, called through the
// function table with the loaded module's token: what the store copies and who keeps which
// handle, what the query and the read answer, and the refusals of a careless call. And the
// merge action's refusals, which leave the project as it was.
#include "Host.hpp"

#include "VX/Memory.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using HostSdk::ModuleDataRecord;
using ReferenceHost::ModuleDataBlock;

class HostModuleData : public ::testing::Test {
protected:
	void SetUp() override
	{
		liveHandles = VX::LiveHandleCount();
		host = std::make_unique<ReferenceHost::Host>(
			ReferenceHost::HostOptions {FACETALLY_ADDON_DIR, std::filesystem::path(FACETALLY_BINARY_DIR) / "help"});
		addOn = host->LoadAddOn(std::filesystem::path(FACETALLY_ADDON_DIR) / "Facetally.addon");
		ASSERT_NE(addOn, nullptr) << host->SessionTranscript().ToText(true);
		token = addOn->Token();
		const HostSdk::HostFunction* slots = host->Table().Slots();
		store = reinterpret_cast<HostSdk::EntryFunction<HostSdk::Entry::ModuleDataStore>>(slots[HostSdk::Entry::ModuleDataStore]);
		query = reinterpret_cast<HostSdk::EntryFunction<HostSdk::Entry::ModuleDataQuery>>(slots[HostSdk::Entry::ModuleDataQuery]);
		read = reinterpret_cast<HostSdk::EntryFunction<HostSdk::Entry::ModuleDataRead>>(slots[HostSdk::Entry::ModuleDataRead]);
		ASSERT_NE(store, nullptr);
		ASSERT_NE(query, nullptr);
		ASSERT_NE(read, nullptr);
	}

	void TearDown() override
	{
		host.reset();
		EXPECT_EQ(VX::LiveHandleCount(), liveHandles);
	}

	static VX::HandleId HandleWith(const std::string& bytes)
	{
		const VX::HandleId handle = VX::AllocateHandle(bytes.size());
		std::memcpy(VX::GetHandleData(handle), bytes.data(), bytes.size());
		return handle;
	}

	static std::string BytesOf(VX::HandleId handle)
	{
		return std::string(static_cast<const char*>(VX::GetHandleData(handle)), VX::GetHandleSize(handle));
	}

	std::unique_ptr<ReferenceHost::Host> host;
	ReferenceHost::AddOn* addOn = nullptr;
	HostSdk::ModuleToken token = 0;
	HostSdk::EntryFunction<HostSdk::Entry::ModuleDataStore> store = nullptr;
	HostSdk::EntryFunction<HostSdk::Entry::ModuleDataQuery> query = nullptr;
	HostSdk::EntryFunction<HostSdk::Entry::ModuleDataRead> read = nullptr;

private:
	std::size_t liveHandles = 0;
};

TEST_F(HostModuleData, TheStoreCopiesTheBlockAndLeavesTheHandleToTheAddOn)
{
	ASSERT_TRUE(host->NewProject());
	ModuleDataRecord record {};
	record.dataVersion = 2;
	record.platformMark = 0x5757;
	record.dataHandle = HandleWith(std::string("A\0" "1\0", 4));
	EXPECT_EQ(store(token, &record), 0);
	ASSERT_NE(VX::GetHandleData(record.dataHandle), nullptr) << "the handle is still the add-on's";
	std::memset(VX::GetHandleData(record.dataHandle), 'x', 4);
	VX::FreeHandle(record.dataHandle);

	const ModuleDataBlock* kept = host->CurrentProject()->FindModuleData("Facetally");
	ASSERT_NE(kept, nullptr);
	EXPECT_EQ(kept->dataVersion, 2u);
	EXPECT_EQ(kept->platformMark, 0x5757);
	EXPECT_EQ(std::string(kept->bytes.begin(), kept->bytes.end()), std::string("A\0" "1\0", 4));
}

TEST_F(HostModuleData, TheQueryTellsWhatThereIsAndTheReadHandsOutANewBlock)
{
	ASSERT_TRUE(host->NewProject());
	ModuleDataRecord record {};
	EXPECT_EQ(query(token, &record), HostSdk::StatusNoModuleData);
	EXPECT_EQ(read(token, &record), HostSdk::StatusNoModuleData);
	EXPECT_EQ(record.dataHandle, VX::NoHandle);

	host->CurrentProject()->StoreModuleData("Facetally", {3, 0x5757, {'B', 0, '2', 0}});
	EXPECT_EQ(query(token, &record), 0);
	EXPECT_EQ(record.dataVersion, 3u);
	EXPECT_EQ(record.platformMark, 0x5757);
	EXPECT_EQ(record.dataHandle, VX::NoHandle) << "the query hands out no block";

	const std::size_t before = VX::LiveHandleCount();
	EXPECT_EQ(read(token, &record), 0);
	ASSERT_NE(record.dataHandle, VX::NoHandle);
	EXPECT_EQ(VX::LiveHandleCount(), before + 1);
	EXPECT_EQ(BytesOf(record.dataHandle), std::string("B\0" "2\0", 4));
	VX::FreeHandle(record.dataHandle);
}

TEST_F(HostModuleData, EachAddOnHasABlockOfItsOwn)
{
	ASSERT_TRUE(host->NewProject());
	host->CurrentProject()->StoreModuleData("Another add-on", {2, 0x5757, {'Z', 0, '1', 0}});
	ModuleDataRecord record {};
	EXPECT_EQ(query(token, &record), HostSdk::StatusNoModuleData);
}

TEST_F(HostModuleData, CarelessCallsAreRefused)
{
	ModuleDataRecord record {};
	EXPECT_EQ(store(token, &record), HostSdk::StatusRefused) << "no project is open";
	EXPECT_EQ(query(token, &record), HostSdk::StatusNoModuleData);
	EXPECT_EQ(read(token, &record), HostSdk::StatusNoModuleData);

	ASSERT_TRUE(host->NewProject());
	EXPECT_EQ(store(token + 100, &record), HostSdk::StatusRefused) << "a token the host never handed out";
	EXPECT_EQ(query(token + 100, &record), HostSdk::StatusRefused);
	EXPECT_EQ(read(0, &record), HostSdk::StatusRefused);
	EXPECT_EQ(store(token, nullptr), HostSdk::StatusBadParameter);
	EXPECT_EQ(query(token, nullptr), HostSdk::StatusBadParameter);
	EXPECT_EQ(read(token, nullptr), HostSdk::StatusBadParameter);
	record.dataHandle = 0x7FFFFFF0u;
	EXPECT_EQ(store(token, &record), HostSdk::StatusBadParameter) << "a handle that is not alive";
	EXPECT_EQ(host->CurrentProject()->FindModuleData("Facetally"), nullptr);

	record.dataHandle = VX::NoHandle;
	EXPECT_EQ(store(token, &record), 0) << "no handle is an empty block";
	ASSERT_NE(host->CurrentProject()->FindModuleData("Facetally"), nullptr);
	EXPECT_TRUE(host->CurrentProject()->FindModuleData("Facetally")->bytes.empty());
}

TEST_F(HostModuleData, AMergeWithoutProjectOrAddOnChangesNothing)
{
	const ModuleDataBlock incoming {2, 0x5757, {'A', 0, '1', 0}};
	ReferenceHost::ModuleDataMergeResult result = host->ModuleData().Merge("Facetally", incoming);
	EXPECT_FALSE(result.merged);
	EXPECT_EQ(result.problem, "no project is open");

	ASSERT_TRUE(host->NewProject());
	result = host->ModuleData().Merge("Not loaded", incoming);
	EXPECT_FALSE(result.merged);
	EXPECT_EQ(result.problem, "the add-on is not loaded");
	EXPECT_TRUE(host->CurrentProject()->AllModuleData().empty());
	EXPECT_TRUE(host->SessionTranscript().Contains(ReferenceHost::TranscriptKind::Notice,
												   "The module data of \"Not loaded\" were not merged: the add-on is not loaded"));
}

TEST_F(HostModuleData, TheHandlerIsCalledWithTheMergeCodeAndBothBlocks)
{
	ASSERT_TRUE(host->NewProject());
	host->CurrentProject()->StoreModuleData("Facetally", {2, 0x5757, {'A', 0, '1', 0}});
	host->CurrentProject()->MarkSaved();
	const ReferenceHost::ModuleDataMergeResult result =
		host->ModuleData().Merge("Facetally", {2, 0x5757, {'C', 0, '0', 0}});
	EXPECT_TRUE(result.merged) << result.problem;
	const ModuleDataBlock* merged = host->CurrentProject()->FindModuleData("Facetally");
	ASSERT_NE(merged, nullptr);
	EXPECT_EQ(std::string(merged->bytes.begin(), merged->bytes.end()), std::string("A\0" "1\0" "C\0" "0\0", 8));
	EXPECT_TRUE(host->CurrentProject()->IsModified()) << "a merge changes the project";
}

} // namespace
