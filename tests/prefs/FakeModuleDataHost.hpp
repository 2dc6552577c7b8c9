// A fake host for the preferences code linked into the test program: the module data
// entries (280 store, 281 query, 282 read) over one block held here, each countable and able
// to answer a chosen status, and the module's own resources (for the error message dialog)
// added as loading the module adds them. Modal dialogs are answered by a queued agent and
// recorded by the dialog library, so a test sees every message the code shows.
#pragma once

#include "shell/ModuleState.hpp"
#include "shell/Preferences.hpp"

#include "DG/DG.hpp"
#include "HostSdk/HostFunctions.hpp"
#include "VX/Memory.hpp"
#include "VX/ResourceManager.hpp"

#include "OwnModuleResources.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace FakeHost {

struct Block {
	std::uint32_t dataVersion = ModuleDataVersion;
	std::uint16_t platformMark = HostSdk::PlatformMark;
	std::string bytes;
};

struct State {
	std::optional<Block> block;
	int stores = 0;
	int queries = 0;
	int reads = 0;
	HostSdk::HostStatus storeAnswer = 0;
	HostSdk::HostStatus queryAnswer = 0;
	HostSdk::HostStatus readAnswer = 0;
	// A careless host: the query leaves a block of its own in the record.
	bool queryLeavesBlock = false;
};

inline State& The()
{
	static State state;
	return state;
}

inline HostSdk::HostStatus Store(HostSdk::ModuleToken, const HostSdk::ModuleDataRecord* record)
{
	++The().stores;
	if (The().storeAnswer != 0)
		return The().storeAnswer;
	Block block;
	block.dataVersion = record->dataVersion;
	block.platformMark = record->platformMark;
	block.bytes.assign(static_cast<const char*>(VX::GetHandleData(record->dataHandle)),
					   VX::GetHandleSize(record->dataHandle));
	The().block = block;
	return 0;
}

inline HostSdk::HostStatus Query(HostSdk::ModuleToken, HostSdk::ModuleDataRecord* record)
{
	++The().queries;
	if (The().queryAnswer != 0)
		return The().queryAnswer;
	if (!The().block)
		return HostSdk::StatusNoModuleData;
	record->dataVersion = The().block->dataVersion;
	if (The().queryLeavesBlock)
		record->dataHandle = VX::AllocateHandle(3);
	return 0;
}

inline HostSdk::HostStatus Read(HostSdk::ModuleToken, HostSdk::ModuleDataRecord* record)
{
	++The().reads;
	if (The().readAnswer != 0)
		return The().readAnswer;
	if (!The().block)
		return HostSdk::StatusNoModuleData;
	record->dataVersion = The().block->dataVersion;
	record->platformMark = The().block->platformMark;
	record->dataHandle = VX::AllocateHandle(The().block->bytes.size());
	std::memcpy(VX::GetHandleData(record->dataHandle), The().block->bytes.data(), The().block->bytes.size());
	return 0;
}

template <int EntryNumber, typename Function>
HostSdk::HostFunction Slot(Function function)
{
	HostSdk::EntryFunction<EntryNumber> typed = function;
	return reinterpret_cast<HostSdk::HostFunction>(typed);
}

// Text of an entry list: identifier, zero, level, zero, ...
inline std::string Entries(const std::vector<std::pair<std::string, std::string>>& entries)
{
	std::string bytes;
	for (const auto& [identifier, level] : entries) {
		bytes += identifier;
		bytes.push_back('\0');
		bytes += level;
		bytes.push_back('\0');
	}
	return bytes;
}

} // namespace FakeHost

// Each test starts with the module at its load-time state: no preferences built, the fake
// host's table handed over, no module data, no dialog shown, and ends with every memory
// handle given back.
class FakeHostFixture : public ::testing::Test {
protected:
	void SetUp() override
	{
		DiscardPreferencesForTesting();
		FakeHost::The() = {};
		auto& table = Module().hostTable;
		table.fill(nullptr);
		table[HostSdk::Entry::ModuleDataStore] = FakeHost::Slot<HostSdk::Entry::ModuleDataStore>(&FakeHost::Store);
		table[HostSdk::Entry::ModuleDataQuery] = FakeHost::Slot<HostSdk::Entry::ModuleDataQuery>(&FakeHost::Query);
		table[HostSdk::Entry::ModuleDataRead] = FakeHost::Slot<HostSdk::Entry::ModuleDataRead>(&FakeHost::Read);
		Module().tableSet = true;
		Module().token = 0x7E57u;
		ASSERT_TRUE(resources.Added()) << "the module's resources are linked into this program";
		DG::ClearShownModalDialogs();
		liveHandles = VX::LiveHandleCount();
	}

	void TearDown() override
	{
		DiscardPreferencesForTesting();
		EXPECT_EQ(VX::LiveHandleCount(), liveHandles) << "memory handles left alive";
		Module().hostTable.fill(nullptr);
		Module().tableSet = false;
		Module().token = 0;
		DG::ClearShownModalDialogs();
	}

	static void SetProjectBlock(const std::string& bytes, std::uint32_t dataVersion = ModuleDataVersion)
	{
		FakeHost::Block block;
		block.dataVersion = dataVersion;
		block.bytes = bytes;
		FakeHost::The().block = block;
	}

	// The texts of every modal dialog shown, one string per dialog: "first | second".
	static std::vector<std::string> MessagesShown()
	{
		std::vector<std::string> messages;
		for (const DG::ShownModalDialog& dialog : DG::GetShownModalDialogs()) {
			std::string text;
			for (const std::string& line : dialog.texts)
				if (line != "OK" && line != "Do not show again")
					text += (text.empty() ? "" : " | ") + line;
			messages.push_back(text);
		}
		return messages;
	}

	DG::QueuedUserAgent agent;
	DG::UserAgentScope agentScope {agent};

	OwnModuleResources resources;

private:
	std::size_t liveHandles = 0;
};
