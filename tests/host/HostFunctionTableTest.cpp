// The host function table and its seams: which slots are offered, emptied entries, forced
// answers, call counters, and the dispatch of the slots to the one active host.
#include "TestHost.hpp"

#include <algorithm>
#include <array>
#include <set>

namespace ReferenceHost::Testing {
namespace {

namespace Entry = HostSdk::Entry;
namespace Selectors = HostSdk::Selectors;

std::set<int> OfferedEntries(const HostSdk::HostFunction* slots)
{
	std::set<int> offered;
	for (int entry = 0; entry < HostSdk::HostFunctionCount; ++entry)
		if (slots[entry] != nullptr)
			offered.insert(entry);
	return offered;
}

class HostFunctionTableTest : public HostTest {
protected:
	// A loaded test add-on whose token the tests pass as the add-on would.
	ModuleToken LoadedToken() { return Load(TestAddOnA).Token(); }
};

TEST_F(HostFunctionTableTest, OffersItsImplementedEntriesAndNoOther)
{
	const std::set<int> offered = OfferedEntries(host->Table().Slots());
	for (int entry = 0; entry < HostSdk::HostFunctionCount; ++entry) {
		SCOPED_TRACE(entry);
		EXPECT_EQ(offered.contains(entry), host->Table().IsImplemented(entry));
	}
	for (const int entry : {Entry::MenuRegistration, Entry::MenuHandlerInstallation, Entry::MergeHandlerInstallation,
			 Entry::PaletteRegistration, Entry::PaletteRemoval, Entry::ReportLine, Entry::Environment, Entry::Interface,
			 Entry::EventRegistration})
		EXPECT_TRUE(offered.contains(entry)) << entry;
	EXPECT_FALSE(offered.contains(0));
	EXPECT_FALSE(offered.contains(HostSdk::HostFunctionCount - 1));
}

TEST_F(HostFunctionTableTest, AnUnknownSelectorIsRefusedAndCountedPerSelector)
{
	const ModuleToken token = LoadedToken();
	HostFunctionTable& table = host->Table();
	table.ResetCallCounts();
	const std::uint32_t unknown = HostSdk::Selector("ZZZZ");
	EXPECT_EQ(CallSlot<Entry::Interface>(
				  table.Slots(), token, unknown, static_cast<void*>(nullptr), static_cast<void*>(nullptr)),
		HostSdk::StatusBadParameter);
	EXPECT_EQ(table.CallCount(Entry::Interface), 1u);
	EXPECT_EQ(table.SelectorCallCount(Entry::Interface, unknown), 1u);
	EXPECT_EQ(table.SelectorCallCount(Entry::Interface, Selectors::GetMenuItemFlags), 0u);
}

TEST_F(HostFunctionTableTest, CallsWithATokenTheHostNeverGaveAreRefused)
{
	Load(TestAddOnA);
	const HostSdk::HostFunction* slots = host->Table().Slots();
	EXPECT_EQ(CallSlot<Entry::ReportLine>(slots, ModuleToken {0}, "no token", 0), HostSdk::StatusRefused);
	EXPECT_EQ(CallSlot<Entry::ReportLine>(slots, ModuleToken {12345}, "forged", 0), HostSdk::StatusRefused);
	EXPECT_TRUE(host->Report().Lines().empty());
}

TEST_F(HostFunctionTableTest, SeamsRefuseEntriesTheyCannotServe)
{
	HostFunctionTable& table = host->Table();
	EXPECT_THROW(table.EmptyEntry(HostSdk::HostFunctionCount), std::out_of_range);
	EXPECT_THROW(table.EmptyEntry(-1), std::out_of_range);
	EXPECT_THROW(table.ForceStatus(0, 1), std::invalid_argument) << "entry 0 has no signature in the SDK";
	EXPECT_THROW(table.ForceSelectorStatus(Entry::ReportLine, 1, 1), std::invalid_argument);
	EXPECT_EQ(table.CallCount(HostSdk::HostFunctionCount), 0u);
	EXPECT_TRUE(HostFunctionTable::IsSelectorOperation(Entry::Database));
	EXPECT_FALSE(HostFunctionTable::IsSelectorOperation(Entry::ElementRead));
	EXPECT_TRUE(HostFunctionTable::HasSignature(Entry::ModuleDataRead));
	EXPECT_FALSE(HostFunctionTable::HasSignature(1));
}

TEST_F(HostFunctionTableTest, OnlyOneTableIsActiveAtATime)
{
	EXPECT_THROW(HostFunctionTable second, std::logic_error);
	EXPECT_EQ(HostFunctionTable::Active(), &host->Table());
}

TEST_F(HostFunctionTableTest, ASlotKeptAfterItsHostWentAwayRefuses)
{
	const HostSdk::HostFunction reportSlot = host->Table().Slots()[Entry::ReportLine];
	host.reset();
	EXPECT_EQ(HostFunctionTable::Active(), nullptr);
	const auto report = reinterpret_cast<HostSdk::EntryFunction<Entry::ReportLine>>(reportSlot);
	EXPECT_EQ(report(1, "late", 0), HostSdk::StatusRefused);
}

// A table on its own, with only what each test implements.
TEST(BareHostFunctionTableTest, OnlyImplementedEntriesGetSlots)
{
	HostFunctionTable table;
	EXPECT_EQ(OfferedEntries(table.Slots()), std::set<int> {});
	table.Implement<Entry::ElementCount>([](ModuleToken, std::int32_t, std::int32_t* count) {
		*count = 7;
		return HostStatus {0};
	});
	table.ImplementSelector(
		Entry::Utilities, Selectors::CloseParameters, [](ModuleToken, void*, void*) { return HostStatus {0}; });
	EXPECT_EQ(OfferedEntries(table.Slots()), (std::set<int> {Entry::ElementCount, Entry::Utilities}));
	EXPECT_TRUE(table.IsSelectorImplemented(Entry::Utilities, Selectors::CloseParameters));
	EXPECT_FALSE(table.IsSelectorImplemented(Entry::Utilities, Selectors::OpenParameters));
	std::int32_t count = 0;
	EXPECT_EQ(CallSlot<Entry::ElementCount>(table.Slots(), ModuleToken {1}, std::int32_t {1}, &count), 0);
	EXPECT_EQ(count, 7);
}

TEST(BareHostFunctionTableTest, ForcingAnEntryTheHostLacksOffersASlotThatAnswersTheStatus)
{
	HostFunctionTable table;
	table.ForceStatus(Entry::ElementCount, HostSdk::StatusBadIndex);
	// An add-on's copy of the table.
	std::array<HostSdk::HostFunction, HostSdk::HostFunctionCount> copy {};
	std::copy_n(table.Slots(), copy.size(), copy.begin());
	ASSERT_NE(copy[Entry::ElementCount], nullptr);
	std::int32_t count = -1;
	EXPECT_EQ(
		CallSlot<Entry::ElementCount>(copy.data(), ModuleToken {1}, std::int32_t {1}, &count), HostSdk::StatusBadIndex);
	EXPECT_EQ(count, -1);
	EXPECT_EQ(table.CallCount(Entry::ElementCount), 1u);

	table.ClearForcedStatus(Entry::ElementCount);
	EXPECT_EQ(table.Slots()[Entry::ElementCount], nullptr);
	// The copy still holds the slot: it answers the missing-entry status once nothing serves it.
	EXPECT_EQ(CallSlot<Entry::ElementCount>(copy.data(), ModuleToken {1}, std::int32_t {1}, &count),
		HostSdk::StatusMissingEntry);
}

TEST(BareHostFunctionTableTest, ForcingOneSelectorOffersItsOperation)
{
	HostFunctionTable table;
	table.ForceSelectorStatus(Entry::Window, Selectors::ChangeWindow, HostSdk::StatusRefused);
	const HostSdk::HostFunction* slots = table.Slots();
	ASSERT_NE(slots[Entry::Window], nullptr);
	EXPECT_EQ(CallSlot<Entry::Window>(slots, ModuleToken {1}, Selectors::ChangeWindow, static_cast<void*>(nullptr),
				  static_cast<void*>(nullptr)),
		HostSdk::StatusRefused);
	EXPECT_EQ(CallSlot<Entry::Window>(slots, ModuleToken {1}, HostSdk::Selector("XXXX"), static_cast<void*>(nullptr),
				  static_cast<void*>(nullptr)),
		HostSdk::StatusBadParameter);
	table.ClearAllForcedStatuses();
	EXPECT_EQ(table.Slots()[Entry::Window], nullptr);
}

TEST(BareHostFunctionTableTest, EmptyingWinsOverImplementationAndForcing)
{
	HostFunctionTable table;
	table.Implement<Entry::ProgressEnd>([](ModuleToken) { return HostStatus {0}; });
	table.ForceStatus(Entry::ProgressEnd, 5);
	table.EmptyEntry(Entry::ProgressEnd);
	EXPECT_EQ(table.Slots()[Entry::ProgressEnd], nullptr);
	table.RestoreEntry(Entry::ProgressEnd);
	EXPECT_EQ(CallSlot<Entry::ProgressEnd>(table.Slots(), ModuleToken {1}), 5);
}

TEST(BareHostFunctionTableTest, AnExceptionNeverReachesTheAddOn)
{
	HostFunctionTable table;
	table.Implement<Entry::ProgressText>(
		[](ModuleToken, const char*) -> HostStatus { throw std::runtime_error("the window is gone"); });
	table.ImplementSelector(
		Entry::Interface, Selectors::CloseProgressWindow, [](ModuleToken, void*, void*) -> HostStatus { throw 42; });
	const HostSdk::HostFunction* slots = table.Slots();
	EXPECT_EQ(CallSlot<Entry::ProgressText>(slots, ModuleToken {1}, "x"), HostSdk::StatusRefused);
	EXPECT_EQ(table.LastFailure(), "host entry 55 failed: the window is gone");
	EXPECT_EQ(CallSlot<Entry::Interface>(slots, ModuleToken {1}, Selectors::CloseProgressWindow,
				  static_cast<void*>(nullptr), static_cast<void*>(nullptr)),
		HostSdk::StatusRefused);
	EXPECT_EQ(table.LastFailure(), "host entry 72 failed: an unknown exception");
	EXPECT_EQ(table.FailureCount(), 2u);
}

} // namespace
} // namespace ReferenceHost::Testing
