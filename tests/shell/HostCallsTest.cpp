// The wrappers of the host operations, against the host's own table with every entry forced
// to answer: each wrapper reaches its own entry (and selector) once and hands the answer back,
// and an empty slot answers 0x81060387 without a call (the report line 0, the filter test
// false). Whether the arguments arrive in order is seen end to end, where the host answers
// from them.
#include "shell/HostCalls.hpp"
#include "HostTableFixture.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace HostSdk;

// Stand-ins the wrappers hand through; only their addresses matter.
HostStatus SomeMenuHandler(const MenuParams*)
{
	return 0;
}
HostStatus SomeMergeHandler(std::int32_t, const ModuleDataRecord*, const ModuleDataRecord*, ModuleDataRecord*)
{
	return 0;
}
HostStatus SomeEventHandler(std::int32_t, std::int32_t)
{
	return 0;
}

struct Records {
	MenuRegistrationRecord menu {};
	PaletteRegistrationRecord palette {};
	DataRecord data {};
	WindowRecord window {};
	StoryRecord story {};
	StoryChangeRecord storyChange {};
	ParameterOwnerRecord owner {};
	ParameterListRecord parameters {};
	ValueListRequest values {};
	ChangeParameterRequest change {};
	LibPartRecord libPart {};
	std::int32_t count = 0;
	ElementRecord element {};
	ElementMemo memo {};
	Element3DInfo info3D {};
	SelectionRecord selection {};
	HandleId items = 0;
	Component3DRecord component {};
	ModuleDataRecord moduleData {};
	MenuItemRef menuItem {};
	std::uint32_t flags = 0;
	std::int16_t phases = 1;
	std::int32_t value = 0;
} r;

struct WrapperCase {
	const char* name;
	int entry;
	std::uint32_t selector; // 0: not a selector operation
	std::function<std::int64_t()> call;
	std::int64_t emptyAnswer = static_cast<std::uint32_t>(StatusMissingEntry);
};

std::int64_t Answer(HostStatus status)
{
	return static_cast<std::uint32_t>(status);
}

const std::vector<WrapperCase>& Cases()
{
	using namespace HostCalls;
	static const std::vector<WrapperCase> cases = {
		{"RegisterMenu", Entry::MenuRegistration, 0, [] { return Answer(RegisterMenu(r.menu)); }},
		{"InstallMenuHandler", Entry::MenuHandlerInstallation, 0,
			[] { return Answer(InstallMenuHandler(32500, SomeMenuHandler)); }},
		{"InstallModuleDataMergeHandler", Entry::MergeHandlerInstallation, 0,
			[] { return Answer(InstallModuleDataMergeHandler(SomeMergeHandler)); }},
		{"RegisterModelessPalette", Entry::PaletteRegistration, 0,
			[] { return Answer(RegisterModelessPalette(r.palette)); }},
		{"RemoveModelessPalette", Entry::PaletteRemoval, 0, [] { return Answer(RemoveModelessPalette(77)); }},
		{"RegisterProjectEvents", Entry::EventRegistration, 0,
			[] { return Answer(RegisterProjectEvents(0xFF, SomeEventHandler)); }},
		{"SetProgressText", Entry::ProgressText, 0, [] { return Answer(SetProgressText("text")); }},
		{"EndProgress", Entry::ProgressEnd, 0, [] { return Answer(EndProgress()); }},
		{"WriteReportLine", Entry::ReportLine, 0, [] { return Answer(WriteReportLine("text", 0)); }, 0},
		{"SearchLibPart", Entry::LibPartSearch, 0, [] { return Answer(SearchLibPart(&r.libPart, false)); }},
		{"ReadLibPart", Entry::LibPartRead, 0, [] { return Answer(ReadLibPart(&r.libPart)); }},
		{"CountElements", Entry::ElementCount, 0, [] { return Answer(CountElements(6, &r.count)); }},
		{"PassesElementFilter", Entry::ElementFilter, 0, [] { return std::int64_t {PassesElementFilter(5, 9, 0x10)}; },
			0},
		{"ReadElement", Entry::ElementRead, 0, [] { return Answer(ReadElement(&r.element)); }},
		{"ReadElementMemo", Entry::ElementMemoRead, 0, [] { return Answer(ReadElementMemo(28, 3, &r.memo)); }},
		{"ChangeElement", Entry::ElementChange, 0,
			[] { return Answer(ChangeElement(&r.element, &r.element, &r.memo, 4, 1)); }},
		{"SelectItems", Entry::SelectItems, 0, [] { return Answer(SelectItems(123, 4, 1)); }},
		{"ReadElement3DInfo", Entry::Element3DInfo, 0, [] { return Answer(ReadElement3DInfo(1, 2, &r.info3D)); }},
		{"ReadSelection", Entry::SelectionRead, 0, [] { return Answer(ReadSelection(&r.selection, &r.items)); }},
		{"ReadComponent3D", Entry::Component3DRead, 0, [] { return Answer(ReadComponent3D(&r.component)); }},
		{"StoreModuleData", Entry::ModuleDataStore, 0, [] { return Answer(StoreModuleData(&r.moduleData)); }},
		{"QueryModuleData", Entry::ModuleDataQuery, 0, [] { return Answer(QueryModuleData(&r.moduleData)); }},
		{"ReadModuleData", Entry::ModuleDataRead, 0, [] { return Answer(ReadModuleData(&r.moduleData)); }},
		{"OpenProgressWindow", Entry::Interface, Selectors::OpenProgressWindow,
			[] { return Answer(OpenProgressWindow("title", &r.phases)); }},
		{"SetProgressPhase", Entry::Interface, Selectors::SetProgressPhase,
			[] { return Answer(SetProgressPhase("label", &r.value)); }},
		{"SetProgressValue", Entry::Interface, Selectors::SetProgressValue,
			[] { return Answer(SetProgressValue(&r.value)); }},
		{"AskProgressCancelled", Entry::Interface, Selectors::ProgressCancelled,
			[] { return Answer(AskProgressCancelled()); }},
		{"CloseProgressWindow", Entry::Interface, Selectors::CloseProgressWindow,
			[] { return Answer(CloseProgressWindow()); }},
		{"GetMenuItemFlags", Entry::Interface, Selectors::GetMenuItemFlags,
			[] { return Answer(GetMenuItemFlags(&r.menuItem, &r.flags)); }},
		{"SetMenuItemFlags", Entry::Interface, Selectors::SetMenuItemFlags,
			[] { return Answer(SetMenuItemFlags(&r.menuItem, &r.flags)); }},
		{"GetDataRecord", Entry::Database, Selectors::GetDataRecord, [] { return Answer(GetDataRecord(&r.data)); }},
		{"ChangeDataRecord", Entry::Database, Selectors::ChangeDataRecord,
			[] { return Answer(ChangeDataRecord(&r.data)); }},
		{"GetWindowInfo", Entry::Database, Selectors::GetWindowInfo, [] { return Answer(GetWindowInfo(&r.window)); }},
		{"GetStoryInfo", Entry::Environment, Selectors::GetStoryInfo, [] { return Answer(GetStoryInfo(&r.story)); }},
		{"ChangeStory", Entry::Environment, Selectors::ChangeStory, [] { return Answer(ChangeStory(&r.storyChange)); }},
		{"ChangeWindow", Entry::Window, Selectors::ChangeWindow, [] { return Answer(ChangeWindow(&r.window)); }},
		{"OpenParameters", Entry::Utilities, Selectors::OpenParameters,
			[] { return Answer(OpenParameters(&r.owner)); }},
		{"GetParameters", Entry::Utilities, Selectors::GetParameters,
			[] { return Answer(GetParameters(&r.parameters)); }},
		{"GetParameterValues", Entry::Utilities, Selectors::GetParameterValues,
			[] { return Answer(GetParameterValues(&r.values)); }},
		{"ChangeParameter", Entry::Utilities, Selectors::ChangeParameter,
			[] { return Answer(ChangeParameter(&r.change)); }},
		{"CloseParameters", Entry::Utilities, Selectors::CloseParameters, [] { return Answer(CloseParameters()); }},
	};
	return cases;
}

class HostCallsTest : public HostTableFixture {
protected:
	void SetUp() override
	{
		for (const WrapperCase& wrapper : Cases())
			table.ForceStatus(wrapper.entry, 0x1234);
		HostTableFixture::SetUp();
	}
};

TEST_F(HostCallsTest, EachWrapperReachesItsEntryOnceAndHandsBackTheAnswer)
{
	for (const WrapperCase& wrapper : Cases()) {
		SCOPED_TRACE(wrapper.name);
		table.ResetCallCounts();
		// The filter test reads the host's answer as a truth value.
		EXPECT_EQ(wrapper.call(), wrapper.entry == Entry::ElementFilter ? 1 : 0x1234);
		EXPECT_EQ(table.TotalCallCount(), 1u);
		EXPECT_EQ(table.CallCount(wrapper.entry), 1u);
		if (wrapper.selector != 0) {
			EXPECT_EQ(table.SelectorCallCount(wrapper.entry, wrapper.selector), 1u);
		}
	}
}

TEST_F(HostCallsTest, AnEmptySlotAnswersWithoutACall)
{
	for (const WrapperCase& wrapper : Cases()) {
		SCOPED_TRACE(wrapper.name);
		Empty(wrapper.entry);
		table.ResetCallCounts();
		EXPECT_EQ(wrapper.call(), wrapper.emptyAnswer);
		EXPECT_EQ(table.TotalCallCount(), 0u);
		table.RestoreEntry(wrapper.entry);
		HandOver();
	}
	EXPECT_EQ(HostCalls::RemoveModelessPalette(5), 0x1234) << "the other slots stay callable";
}

TEST_F(HostCallsTest, TheTokenPassedIsTheOneHeldNowAndCodesGoByPointer)
{
	table.ClearAllForcedStatuses();
	std::vector<ModuleToken> tokens;
	Offer<Entry::ProgressEnd>([&tokens](ModuleToken token) {
		tokens.push_back(token);
		return StatusOk;
	});
	Module().token = 7;
	HostCalls::EndProgress();
	EXPECT_EQ(tokens, std::vector<ModuleToken> {7});

	// The host reads the code through the first parameter during the call.
	const auto echo = [](std::uint32_t answer) {
		return [answer](ModuleToken, void* first, void* second) {
			*static_cast<std::uint32_t*>(second) =
				answer + static_cast<std::uint32_t>(*static_cast<const std::int32_t*>(first));
			return StatusOk;
		};
	};
	OfferSelector(Entry::Utilities, Selectors::ItemCodeToElementType, echo(6));
	OfferSelector(Entry::Environment, Selectors::GetSpecialFolder, echo(1000));
	std::int32_t type = 0;
	EXPECT_EQ(HostCalls::ItemCodeToElementType(1234, &type), 0);
	EXPECT_EQ(type, 1240);
	LocationId location = 0;
	EXPECT_EQ(HostCalls::GetSpecialFolder(HelpFolderCode, &location), 0);
	EXPECT_EQ(location, 1011u);
}

} // namespace
