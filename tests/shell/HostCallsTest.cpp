// The wrappers of the host operations, against a table of recording fakes: each wrapper calls
// its own entry (and selector) with the module token first and its arguments in order, and an
// empty slot answers 0x81060387 without a call (the report line 0, the filter test false).
#include "shell/HostCalls.hpp"
#include "shell/ModuleState.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using namespace HostSdk;

constexpr ModuleToken TestToken = 0x5EED0042u;

// One call that reached a fake: the entry and every argument as a 64-bit word.
struct RecordedCall {
	int entry = -1;
	std::vector<std::uint64_t> words;
};

std::vector<RecordedCall> calls;
HostStatus nextAnswer = 0;

template <typename Value>
std::uint64_t Word(Value value)
{
	if constexpr (std::is_pointer_v<Value>)
		return reinterpret_cast<std::uintptr_t>(value);
	else
		return static_cast<std::uint64_t>(value);
}

template <int EntryNumber, typename Signature>
struct Fake;

template <int EntryNumber, typename Result, typename... Arguments>
struct Fake<EntryNumber, Result (*)(Arguments...)> {
	static Result Call(Arguments... arguments)
	{
		calls.push_back({EntryNumber, {Word(arguments)...}});
		if constexpr (std::is_same_v<Result, bool>)
			return nextAnswer != 0;
		else
			return nextAnswer;
	}
};

template <int EntryNumber>
HostFunction FakeSlot()
{
	return reinterpret_cast<HostFunction>(&Fake<EntryNumber, EntryFunction<EntryNumber>>::Call);
}

void FillTable()
{
	auto& table = Module().hostTable;
	table.fill(nullptr);
	table[Entry::MenuRegistration] = FakeSlot<Entry::MenuRegistration>();
	table[Entry::MenuHandlerInstallation] = FakeSlot<Entry::MenuHandlerInstallation>();
	table[Entry::MergeHandlerInstallation] = FakeSlot<Entry::MergeHandlerInstallation>();
	table[Entry::PaletteRegistration] = FakeSlot<Entry::PaletteRegistration>();
	table[Entry::PaletteRemoval] = FakeSlot<Entry::PaletteRemoval>();
	table[Entry::ProgressText] = FakeSlot<Entry::ProgressText>();
	table[Entry::ProgressEnd] = FakeSlot<Entry::ProgressEnd>();
	table[Entry::ReportLine] = FakeSlot<Entry::ReportLine>();
	table[Entry::Database] = FakeSlot<Entry::Database>();
	table[Entry::Environment] = FakeSlot<Entry::Environment>();
	table[Entry::Interface] = FakeSlot<Entry::Interface>();
	table[Entry::Utilities] = FakeSlot<Entry::Utilities>();
	table[Entry::Window] = FakeSlot<Entry::Window>();
	table[Entry::LibPartSearch] = FakeSlot<Entry::LibPartSearch>();
	table[Entry::LibPartRead] = FakeSlot<Entry::LibPartRead>();
	table[Entry::ElementCount] = FakeSlot<Entry::ElementCount>();
	table[Entry::ElementFilter] = FakeSlot<Entry::ElementFilter>();
	table[Entry::ElementRead] = FakeSlot<Entry::ElementRead>();
	table[Entry::ElementMemoRead] = FakeSlot<Entry::ElementMemoRead>();
	table[Entry::ElementChange] = FakeSlot<Entry::ElementChange>();
	table[Entry::SelectItems] = FakeSlot<Entry::SelectItems>();
	table[Entry::Element3DInfo] = FakeSlot<Entry::Element3DInfo>();
	table[Entry::SelectionRead] = FakeSlot<Entry::SelectionRead>();
	table[Entry::Component3DRead] = FakeSlot<Entry::Component3DRead>();
	table[Entry::EventRegistration] = FakeSlot<Entry::EventRegistration>();
	table[Entry::ModuleDataStore] = FakeSlot<Entry::ModuleDataStore>();
	table[Entry::ModuleDataQuery] = FakeSlot<Entry::ModuleDataQuery>();
	table[Entry::ModuleDataRead] = FakeSlot<Entry::ModuleDataRead>();
}

// Stand-ins the wrappers hand through; only their addresses matter.
HostStatus SomeMenuHandler(const MenuParams*) { return 0; }
HostStatus SomeMergeHandler(std::int32_t, const ModuleDataRecord*, const ModuleDataRecord*, ModuleDataRecord*)
{
	return 0;
}
HostStatus SomeEventHandler(std::int32_t, std::int32_t) { return 0; }

MenuRegistrationRecord menuRecord {};
PaletteRegistrationRecord paletteRecord {};
DataRecord dataRecord {};
WindowRecord windowRecord {};
StoryRecord storyRecord {};
StoryChangeRecord storyChange {};
ParameterOwnerRecord owner {};
ParameterListRecord parameterList {};
ValueListRequest valueList {};
ChangeParameterRequest change {};
LibPartRecord libPart {};
std::int32_t count = 0;
ElementRecord element {};
ElementRecord elementMask {};
ElementMemo memo {};
Element3DInfo info3D {};
SelectionRecord selection {};
HandleId selectionItems = 0;
Component3DRecord component {};
ModuleDataRecord moduleData {};
MenuItemRef menuItem {};
std::uint32_t menuFlags = 0;
std::int16_t phaseCount = 1;
std::int32_t barMaximum = 0;
std::int32_t barValue = 0;
const char* const someText = "some text";

template <typename Pointer>
std::uint64_t At(Pointer pointer)
{
	return Word(pointer);
}

// One wrapper: how to call it, what the fake must have seen (token included where it is
// passed), and what an empty slot answers.
struct WrapperCase {
	std::string name;
	int entry;
	std::function<std::int64_t()> call;
	std::vector<std::uint64_t> expectedWords;
	std::int64_t emptyAnswer = static_cast<std::uint32_t>(StatusMissingEntry);
};

std::int64_t Answer(HostStatus status) { return static_cast<std::uint32_t>(status); }

std::vector<WrapperCase> Cases()
{
	const std::uint64_t token = TestToken;
	const auto selectorCase = [token](std::string name, int entry, std::uint32_t selector, std::function<HostStatus()> call,
									  std::uint64_t first, std::uint64_t second) {
		return WrapperCase {std::move(name), entry, [call] { return Answer(call()); }, {token, selector, first, second}};
	};
	using namespace HostCalls;
	std::vector<WrapperCase> cases = {
		{"RegisterMenu", Entry::MenuRegistration, [] { return Answer(RegisterMenu(menuRecord)); }, {At(&menuRecord)}},
		{"InstallMenuHandler", Entry::MenuHandlerInstallation,
		 [] { return Answer(InstallMenuHandler(32500, SomeMenuHandler)); },
		 {token, 32500, At(&SomeMenuHandler)}},
		{"InstallModuleDataMergeHandler", Entry::MergeHandlerInstallation,
		 [] { return Answer(InstallModuleDataMergeHandler(SomeMergeHandler)); }, {token, At(&SomeMergeHandler)}},
		{"RegisterModelessPalette", Entry::PaletteRegistration,
		 [] { return Answer(RegisterModelessPalette(paletteRecord)); }, {token, At(&paletteRecord)}},
		{"RemoveModelessPalette", Entry::PaletteRemoval, [] { return Answer(RemoveModelessPalette(77)); }, {token, 77}},
		{"RegisterProjectEvents", Entry::EventRegistration,
		 [] { return Answer(RegisterProjectEvents(0xFF, SomeEventHandler)); }, {token, 0xFF, At(&SomeEventHandler)}},
		{"SetProgressText", Entry::ProgressText, [] { return Answer(SetProgressText(someText)); }, {token, At(someText)}},
		{"EndProgress", Entry::ProgressEnd, [] { return Answer(EndProgress()); }, {token}},
		{"WriteReportLine", Entry::ReportLine, [] { return Answer(WriteReportLine(someText, 0)); },
		 {token, At(someText), 0}, 0},
		{"SearchLibPart", Entry::LibPartSearch, [] { return Answer(SearchLibPart(&libPart, false)); },
		 {token, At(&libPart), 0}},
		{"ReadLibPart", Entry::LibPartRead, [] { return Answer(ReadLibPart(&libPart)); }, {token, At(&libPart)}},
		{"CountElements", Entry::ElementCount, [] { return Answer(CountElements(6, &count)); }, {token, 6, At(&count)}},
		{"PassesElementFilter", Entry::ElementFilter, [] { return std::int64_t {PassesElementFilter(5, 9, 0x10)}; },
		 {token, 5, 9, 0x10}, 0},
		{"ReadElement", Entry::ElementRead, [] { return Answer(ReadElement(&element)); }, {token, At(&element)}},
		{"ReadElementMemo", Entry::ElementMemoRead, [] { return Answer(ReadElementMemo(28, 3, &memo)); },
		 {token, 28, 3, At(&memo)}},
		{"ChangeElement", Entry::ElementChange,
		 [] { return Answer(ChangeElement(&element, &elementMask, &memo, 4, 1)); },
		 {token, At(&element), At(&elementMask), At(&memo), 4, 1}},
		{"SelectItems", Entry::SelectItems, [] { return Answer(SelectItems(123, 4, 1)); }, {token, 123, 4, 1}},
		{"ReadElement3DInfo", Entry::Element3DInfo, [] { return Answer(ReadElement3DInfo(1, 2, &info3D)); },
		 {token, 1, 2, At(&info3D)}},
		{"ReadSelection", Entry::SelectionRead, [] { return Answer(ReadSelection(&selection, &selectionItems)); },
		 {token, At(&selection), At(&selectionItems), 0}},
		{"ReadComponent3D", Entry::Component3DRead, [] { return Answer(ReadComponent3D(&component)); },
		 {token, At(&component)}},
		{"StoreModuleData", Entry::ModuleDataStore, [] { return Answer(StoreModuleData(&moduleData)); },
		 {token, At(&moduleData)}},
		{"QueryModuleData", Entry::ModuleDataQuery, [] { return Answer(QueryModuleData(&moduleData)); },
		 {token, At(&moduleData)}},
		{"ReadModuleData", Entry::ModuleDataRead, [] { return Answer(ReadModuleData(&moduleData)); },
		 {token, At(&moduleData)}},
	};
	cases.push_back(selectorCase("OpenProgressWindow", Entry::Interface, Selectors::OpenProgressWindow,
								 [] { return OpenProgressWindow(someText, &phaseCount); }, At(someText), At(&phaseCount)));
	cases.push_back(selectorCase("SetProgressPhase", Entry::Interface, Selectors::SetProgressPhase,
								 [] { return SetProgressPhase(someText, &barMaximum); }, At(someText), At(&barMaximum)));
	cases.push_back(selectorCase("SetProgressValue", Entry::Interface, Selectors::SetProgressValue,
								 [] { return SetProgressValue(&barValue); }, At(&barValue), 0));
	cases.push_back(selectorCase("AskProgressCancelled", Entry::Interface, Selectors::ProgressCancelled,
								 [] { return AskProgressCancelled(); }, 0, 0));
	cases.push_back(selectorCase("CloseProgressWindow", Entry::Interface, Selectors::CloseProgressWindow,
								 [] { return CloseProgressWindow(); }, 0, 0));
	cases.push_back(selectorCase("GetMenuItemFlags", Entry::Interface, Selectors::GetMenuItemFlags,
								 [] { return GetMenuItemFlags(&menuItem, &menuFlags); }, At(&menuItem), At(&menuFlags)));
	cases.push_back(selectorCase("SetMenuItemFlags", Entry::Interface, Selectors::SetMenuItemFlags,
								 [] { return SetMenuItemFlags(&menuItem, &menuFlags); }, At(&menuItem), At(&menuFlags)));
	cases.push_back(selectorCase("GetDataRecord", Entry::Database, Selectors::GetDataRecord,
								 [] { return GetDataRecord(&dataRecord); }, At(&dataRecord), 0));
	cases.push_back(selectorCase("ChangeDataRecord", Entry::Database, Selectors::ChangeDataRecord,
								 [] { return ChangeDataRecord(&dataRecord); }, At(&dataRecord), 0));
	cases.push_back(selectorCase("GetWindowInfo", Entry::Database, Selectors::GetWindowInfo,
								 [] { return GetWindowInfo(&windowRecord); }, At(&windowRecord), 0));
	cases.push_back(selectorCase("GetStoryInfo", Entry::Environment, Selectors::GetStoryInfo,
								 [] { return GetStoryInfo(&storyRecord); }, At(&storyRecord), 0));
	cases.push_back(selectorCase("ChangeStory", Entry::Environment, Selectors::ChangeStory,
								 [] { return ChangeStory(&storyChange); }, At(&storyChange), 0));
	cases.push_back(selectorCase("ChangeWindow", Entry::Window, Selectors::ChangeWindow,
								 [] { return ChangeWindow(&windowRecord); }, At(&windowRecord), 0));
	cases.push_back(selectorCase("OpenParameters", Entry::Utilities, Selectors::OpenParameters,
								 [] { return OpenParameters(&owner); }, At(&owner), 0));
	cases.push_back(selectorCase("GetParameters", Entry::Utilities, Selectors::GetParameters,
								 [] { return GetParameters(&parameterList); }, At(&parameterList), 0));
	cases.push_back(selectorCase("GetParameterValues", Entry::Utilities, Selectors::GetParameterValues,
								 [] { return GetParameterValues(&valueList); }, At(&valueList), 0));
	cases.push_back(selectorCase("ChangeParameter", Entry::Utilities, Selectors::ChangeParameter,
								 [] { return ChangeParameter(&change); }, At(&change), 0));
	cases.push_back(selectorCase("CloseParameters", Entry::Utilities, Selectors::CloseParameters,
								 [] { return CloseParameters(); }, 0, 0));
	return cases;
}

// A selector operation that reads a 32-bit value through its first parameter and writes a
// 32-bit answer through its second, as the item-code and special-folder selectors do.
struct SeenThroughPointer {
	static HostStatus Call(ModuleToken, std::uint32_t selector, void* first, void* second)
	{
		seenSelector = selector;
		seenCode = *static_cast<const std::int32_t*>(first);
		*static_cast<std::uint32_t*>(second) = answer;
		return 0;
	}
	static inline std::uint32_t seenSelector = 0;
	static inline std::int32_t seenCode = 0;
	static inline std::uint32_t answer = 0;
};

class HostCallsTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		FillTable();
		Module().token = TestToken;
		calls.clear();
		nextAnswer = 0;
	}
	void TearDown() override
	{
		Module().hostTable.fill(nullptr);
		Module().token = 0;
	}
};

TEST_F(HostCallsTest, EachWrapperCallsItsEntryWithTheTokenFirstAndItsArgumentsInOrder)
{
	for (const WrapperCase& wrapper : Cases()) {
		SCOPED_TRACE(wrapper.name);
		calls.clear();
		nextAnswer = 0x1234;
		const std::int64_t answer = wrapper.call();
		ASSERT_EQ(calls.size(), 1u);
		EXPECT_EQ(calls[0].entry, wrapper.entry);
		EXPECT_EQ(calls[0].words, wrapper.expectedWords);
		// The host's answer comes back as it is (the filter test as a truth value).
		EXPECT_EQ(answer, wrapper.entry == Entry::ElementFilter ? 1 : 0x1234);
	}
}

TEST_F(HostCallsTest, AnEmptySlotAnswersWithoutACall)
{
	for (const WrapperCase& wrapper : Cases()) {
		SCOPED_TRACE(wrapper.name);
		FillTable();
		Module().hostTable[static_cast<std::size_t>(wrapper.entry)] = nullptr;
		calls.clear();
		EXPECT_EQ(wrapper.call(), wrapper.emptyAnswer);
		EXPECT_TRUE(calls.empty());
	}
}

TEST_F(HostCallsTest, EmptyingOneSlotLeavesTheOthersCallable)
{
	Module().hostTable[Entry::Interface] = nullptr;
	MenuItemRef item {32500, 1};
	std::uint32_t flags = 0;
	EXPECT_EQ(HostCalls::GetMenuItemFlags(&item, &flags), StatusMissingEntry);
	EXPECT_EQ(HostCalls::RemoveModelessPalette(5), 0);
	ASSERT_EQ(calls.size(), 1u);
	EXPECT_EQ(calls[0].entry, Entry::PaletteRemoval);
}

TEST_F(HostCallsTest, TheFilterTestReadsTheHostsAnswerAsATruthValue)
{
	nextAnswer = 0;
	EXPECT_FALSE(HostCalls::PassesElementFilter(1, 1, FilterVisible));
	nextAnswer = 1;
	EXPECT_TRUE(HostCalls::PassesElementFilter(1, 1, FilterVisible));
}

TEST_F(HostCallsTest, TheTokenPassedIsTheOneHeldNow)
{
	Module().token = 0;
	HostCalls::EndProgress();
	Module().token = 7;
	HostCalls::EndProgress();
	ASSERT_EQ(calls.size(), 2u);
	EXPECT_EQ(calls[0].words, std::vector<std::uint64_t> {0});
	EXPECT_EQ(calls[1].words, std::vector<std::uint64_t> {7});
}

TEST_F(HostCallsTest, ItemCodeIsHandedAsAPointerToItsValue)
{
	// The host reads the item code through the first parameter during the call.
	Module().hostTable[Entry::Utilities] = reinterpret_cast<HostFunction>(&SeenThroughPointer::Call);
	SeenThroughPointer::answer = 6;
	std::int32_t type = 0;
	EXPECT_EQ(HostCalls::ItemCodeToElementType(1234, &type), 0);
	EXPECT_EQ(SeenThroughPointer::seenSelector, Selectors::ItemCodeToElementType);
	EXPECT_EQ(SeenThroughPointer::seenCode, 1234);
	EXPECT_EQ(type, 6);
}

TEST_F(HostCallsTest, SpecialFolderPassesTheFolderCodeByPointer)
{
	Module().hostTable[Entry::Environment] = reinterpret_cast<HostFunction>(&SeenThroughPointer::Call);
	SeenThroughPointer::answer = 99;
	LocationId location = 0;
	EXPECT_EQ(HostCalls::GetSpecialFolder(HelpFolderCode, &location), 0);
	EXPECT_EQ(SeenThroughPointer::seenSelector, Selectors::GetSpecialFolder);
	EXPECT_EQ(SeenThroughPointer::seenCode, 11);
	EXPECT_EQ(location, 99u);
}

} // namespace
