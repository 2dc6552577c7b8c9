// The host's module data entries as an add-on meets them, called through the function table
// with the loaded module's token: what the store copies and who keeps which handle, what the
// query and the read answer, the refusals of a careless call, and the merge's refusals.
#include "ModuleHost.hpp"

#include "VX/Memory.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using HostSdk::ModuleDataRecord;
namespace Entry = HostSdk::Entry;

class ModuleDataEntries : public ModuleHostTest {
protected:
	void SetUp() override
	{
		ModuleHostTest::SetUp();
		token = LoadModule().Token();
	}

	template <int EntryNumber>
	HostSdk::HostStatus Call(HostSdk::ModuleToken caller, ModuleDataRecord* record)
	{
		return reinterpret_cast<HostSdk::EntryFunction<EntryNumber>>(host->Table().Slots()[EntryNumber])(
			caller, record);
	}

	std::string Kept()
	{
		const ReferenceHost::ModuleDataBlock* kept = host->CurrentProject()->FindModuleData("Facetally");
		return kept == nullptr ? "(none)" : std::string(kept->bytes.begin(), kept->bytes.end());
	}

	HostSdk::ModuleToken token = 0;
};

TEST_F(ModuleDataEntries, TheStoreCopiesTheReadHandsOutANewBlock)
{
	ASSERT_TRUE(host->NewProject());
	ModuleDataRecord record {};
	EXPECT_EQ(Call<Entry::ModuleDataQuery>(token, &record), HostSdk::StatusNoModuleData);
	EXPECT_EQ(Call<Entry::ModuleDataRead>(token, &record), HostSdk::StatusNoModuleData);
	host->CurrentProject()->StoreModuleData("Another add-on", {2, 0x5757, {'Z', 0}});
	EXPECT_EQ(Call<Entry::ModuleDataQuery>(token, &record), HostSdk::StatusNoModuleData) << "each add-on its own block";

	record.dataVersion = 3;
	record.platformMark = 0x5757;
	record.dataHandle = VX::AllocateHandle(4);
	std::memcpy(VX::GetHandleData(record.dataHandle),
		"A\0"
		"1",
		4);
	EXPECT_EQ(Call<Entry::ModuleDataStore>(token, &record), 0);
	std::memset(VX::GetHandleData(record.dataHandle), 'x', 4); // still the add-on's
	VX::FreeHandle(record.dataHandle);
	EXPECT_EQ(Kept(),
		std::string("A\0"
					"1",
			4));

	ModuleDataRecord asked {};
	EXPECT_EQ(Call<Entry::ModuleDataQuery>(token, &asked), 0);
	EXPECT_EQ(asked.dataVersion, 3u);
	EXPECT_EQ(asked.platformMark, 0x5757);
	EXPECT_EQ(asked.dataHandle, VX::NoHandle) << "the query hands out no block";
	EXPECT_EQ(Call<Entry::ModuleDataRead>(token, &asked), 0);
	ASSERT_NE(asked.dataHandle, VX::NoHandle);
	EXPECT_EQ(std::string(static_cast<const char*>(VX::GetHandleData(asked.dataHandle)), 4),
		std::string("A\0"
					"1",
			4));
	VX::FreeHandle(asked.dataHandle);
}

TEST_F(ModuleDataEntries, CarelessCallsAreRefused)
{
	ModuleDataRecord record {};
	EXPECT_EQ(Call<Entry::ModuleDataStore>(token, &record), HostSdk::StatusRefused) << "no project is open";
	EXPECT_EQ(Call<Entry::ModuleDataRead>(token, &record), HostSdk::StatusNoModuleData);
	ASSERT_TRUE(host->NewProject());
	EXPECT_EQ(Call<Entry::ModuleDataStore>(token + 100, &record), HostSdk::StatusRefused) << "a token never handed out";
	EXPECT_EQ(Call<Entry::ModuleDataQuery>(token + 100, &record), HostSdk::StatusRefused);
	EXPECT_EQ(Call<Entry::ModuleDataRead>(0, &record), HostSdk::StatusRefused);
	EXPECT_EQ(Call<Entry::ModuleDataStore>(token, nullptr), HostSdk::StatusBadParameter);
	EXPECT_EQ(Call<Entry::ModuleDataQuery>(token, nullptr), HostSdk::StatusBadParameter);
	EXPECT_EQ(Call<Entry::ModuleDataRead>(token, nullptr), HostSdk::StatusBadParameter);
	record.dataHandle = 0x7FFFFFF0u;
	EXPECT_EQ(Call<Entry::ModuleDataStore>(token, &record), HostSdk::StatusBadParameter) << "a handle not alive";
	EXPECT_EQ(Kept(), "(none)");
	record.dataHandle = VX::NoHandle;
	EXPECT_EQ(Call<Entry::ModuleDataStore>(token, &record), 0) << "no handle is an empty block";
	EXPECT_EQ(Kept(), "");
}

TEST_F(ModuleDataEntries, AMergeWithoutProjectOrAddOnChangesNothing)
{
	const ReferenceHost::ModuleDataBlock incoming {2, 0x5757, {'A', 0, '1', 0}};
	EXPECT_EQ(host->ModuleData().Merge("Facetally", incoming).problem, "no project is open");
	ASSERT_TRUE(host->NewProject());
	host->CurrentProject()->MarkSaved();
	const ReferenceHost::ModuleDataMergeResult result = host->ModuleData().Merge("Not loaded", incoming);
	EXPECT_FALSE(result.merged);
	EXPECT_EQ(result.problem, "the add-on is not loaded");
	EXPECT_TRUE(host->CurrentProject()->AllModuleData().empty());
	EXPECT_FALSE(host->CurrentProject()->IsModified());
	EXPECT_TRUE(host->SessionTranscript().Contains(ReferenceHost::TranscriptKind::Notice,
		"The module data of \"Not loaded\" were not merged: the add-on is not loaded"));
	EXPECT_TRUE(host->ModuleData().Merge("Facetally", incoming).merged);
	EXPECT_TRUE(host->CurrentProject()->IsModified()) << "a merge changes the project";
}

} // namespace
