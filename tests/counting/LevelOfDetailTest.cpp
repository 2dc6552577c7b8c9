// The level-of-detail change end to end: what a part's row shows and offers after a run,
// which elements the module rewrites (and which it leaves alone), the messages of the
// configuration file's faults and of refused changes, and the polygons counted afterwards.
#include "CountingFixture.hpp"

#include "DG/ModalRecord.hpp"
#include "DG/User.hpp"
#include "DG/UserAgent.hpp"

#include <algorithm>
#include <array>

namespace {

using namespace TestProjects;
using ReferenceHost::Project;
namespace Types = HostSdk::ElementTypes;
namespace Selectors = HostSdk::Selectors;

constexpr std::int16_t Detailed = 0;
constexpr std::int16_t Simple = 1;
constexpr std::int16_t Off = 2;
constexpr std::int16_t Custom = 3;
constexpr std::int16_t Default = 4;

using Flags = std::array<bool, 5>;

std::size_t CountCalls(const std::vector<ProbeCall>& calls, int entry, std::uint32_t selector = 0)
{
	return static_cast<std::size_t>(std::count_if(calls.begin(), calls.end(),
		[&](const ProbeCall& call) { return call.entry == entry && (selector == 0 || call.selector == selector); }));
}

// Parameters opened on elements (not on library parts).
std::size_t ElementParameterOpenings(const std::vector<ProbeCall>& calls)
{
	return static_cast<std::size_t>(std::count_if(calls.begin(), calls.end(), [](const ProbeCall& call) {
		return call.entry == HostSdk::Entry::Utilities && call.selector == Selectors::OpenParameters && call.type != 0;
	}));
}

std::size_t MessagesSaying(const std::string& text)
{
	std::size_t count = 0;
	for (const DG::ShownModalDialog& dialog : DG::GetShownModalDialogs())
		if (std::find(dialog.texts.begin(), dialog.texts.end(), text) != dialog.texts.end())
			++count;
	return count;
}

class LevelOfDetailTest : public CountingFixture {
protected:
	ProbeRow WindowRow()
	{
		const ProbeResult result = Result();
		const auto rows = result.sortedRows.find(Types::Window);
		if (rows == result.sortedRows.end() || rows->second.empty()) {
			ADD_FAILURE() << "no window row";
			return {};
		}
		return rows->second.front();
	}

	// Opens the palette, chooses the level for part 1 as the change dialog would, and counts
	// again with the calls recorded.
	std::vector<ProbeCall> CountWithLevel(std::int16_t level, std::int16_t defaultLevel = Custom)
	{
		OpenPalette();
		probe->setPartLevel(UniqueIdOf(1).c_str(), level);
		probe->startLog();
		Refresh(ProbeSettings {true, true, 0, 0, defaultLevel});
		return probe->stopLog();
	}
};

TEST_F(LevelOfDetailTest, APartNeverChosenShowsCustomAndItsElementsAreNotTouched)
{
	LoadProbe();
	OpenProject(TwoWindows());
	probe->startLog();
	OpenPalette();
	const std::vector<ProbeCall> calls = probe->stopLog();
	const ProbeRow row = WindowRow();
	EXPECT_EQ(row.lod, Custom);
	EXPECT_EQ(row.available, (Flags {true, true, true, true, true}));
	EXPECT_EQ(ElementParameterOpenings(calls), 0u);
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::ElementChange), 0u);
	EXPECT_EQ(row.polygons, 240);
	std::int16_t stored = -1;
	ASSERT_TRUE(probe->partLevel(UniqueIdOf(1).c_str(), stored)) << "every row's level is stored back";
	EXPECT_EQ(stored, Custom);
}

const Flags All {true, true, true, true, true};
const Flags NoSimple {true, false, true, true, true};
const Flags CustomAndDefaultOnly {false, false, false, true, true};
constexpr const char* TwoValues = "lod \"Full\" \"None\"\n";

struct WantedLevelCase {
	const char* what;
	const char* configuration; // nullptr: the standard one
	bool twoValuePart;         // one window of a part offering only "Full" and "None", else two windows
	std::int16_t level, defaultLevel;
	std::int16_t shown;
	Flags available;
	const char* value; // window 1's level parameter afterwards
	std::size_t changes;
	int openings; // elements whose parameters were opened; -1: not asked
	std::int32_t polygons;
};

class WantedLevel : public LevelOfDetailTest, public ::testing::WithParamInterface<WantedLevelCase> {};

TEST_P(WantedLevel, IsWrittenWhereTheFileOffersItAndCounted)
{
	const WantedLevelCase& test = GetParam();
	SCOPED_TRACE(test.what);
	if (test.configuration != nullptr)
		WriteConfiguration(test.configuration);
	LoadProbe();
	if (test.twoValuePart) {
		Project project;
		auto part = PartWithLevels(1, "Casement", 4, {100, 20}, 7);
		part.parameters[1].valueList = {"Full", "None"};
		project.AddLibraryPart(part);
		project.AddElement(Placed(Types::Window, part));
		OpenProject(project);
	} else {
		OpenProject(TwoWindows());
	}
	const std::vector<ProbeCall> calls = CountWithLevel(test.level, test.defaultLevel);
	const ProbeRow row = WindowRow();
	EXPECT_EQ(row.lod, test.shown);
	EXPECT_EQ(row.available, test.available);
	EXPECT_EQ(ValueOf({Types::Window, 1}), test.value);
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::ElementChange), test.changes);
	if (test.changes == 0) {
		EXPECT_EQ(CountCalls(calls, HostSdk::Entry::Utilities, Selectors::ChangeParameter), 0u);
	}
	if (test.openings >= 0) {
		EXPECT_EQ(ElementParameterOpenings(calls), static_cast<std::size_t>(test.openings));
	}
	EXPECT_EQ(row.polygons, test.polygons) << "counted after the change";
	EXPECT_EQ(MessagesSaying("Two parameters are equal in a row!"), 0u);
	EXPECT_EQ(HandlesLeft(), 0);
}

INSTANTIATE_TEST_SUITE_P(Levels, WantedLevel,
	::testing::Values(WantedLevelCase {"Simple is written into every element", nullptr, false, Simple, Custom, Simple,
						  All, "Reduced", 2, -1, 14},
		WantedLevelCase {
			"Off counts the elements without polygons", nullptr, false, Off, Custom, Off, All, "None", 2, -1, 0},
		WantedLevelCase {"an element that already has the value is looked at, not changed", nullptr, false, Detailed,
			Custom, Detailed, All, "Full", 0, 2, 240},
		WantedLevelCase {"Default while the default is Custom touches nothing", nullptr, false, Default, Custom,
			Default, All, "Full", 0, 0, 240},
		WantedLevelCase {
			"Default follows the default level", nullptr, false, Default, Off, Default, All, "None", 2, -1, 0},
		WantedLevelCase {"Default for a part without a value for the default shows Custom, touches nothing", TwoValues,
			true, Default, Simple, Custom, NoSimple, "Full", 0, 0, 120},
		WantedLevelCase {"two values in a file row offer Detailed and Off but not Simple", TwoValues, true, Off, Custom,
			Off, NoSimple, "None", 1, -1, 0},
		WantedLevelCase {"the first row holding every value decides (the third would give None)",
			"lod \"Full\" \"Half\" \"None\"\nlod \"Full\" \"Reduced\" \"None\"\nlod \"None\" \"Reduced\" \"Full\"\n",
			false, Detailed, Custom, Detailed, All, "Full", 0, -1, 240},
		WantedLevelCase {"no fitting row offers only Custom and Default; no value text to write",
			"lod \"Full\" \"Half\" \"None\"\n", false, Simple, Custom, Simple, CustomAndDefaultOnly, "Full", 0, -1,
			240}),
	[](const ::testing::TestParamInfo<WantedLevelCase>& param) { return "Case" + std::to_string(param.index); });

TEST_F(LevelOfDetailTest, TheResultKeepsTheLevelParameterItsValueAndTheDefault)
{
	LoadProbe();
	OpenProject(TwoWindows());
	CountWithLevel(Simple, Off);
	const ProbeResult result = Result();
	EXPECT_EQ(result.lodValueTexts.at(1), "Reduced");
	EXPECT_EQ(result.lodParamNames.at(1), "lod");
	EXPECT_EQ(result.lodParamIndex.at(1), 1) << "the part's second parameter";
	EXPECT_EQ(result.defaultLod, Off);
	EXPECT_EQ(probe->preferencesDefaultLevel(), Off) << "the result's default goes back into the preferences";
}

TEST_F(LevelOfDetailTest, AValueTwiceInARowIsToldOncePerPartAndRun)
{
	WriteConfiguration("lod \"Full\" \"Full\" \"None\"\n");
	LoadProbe();
	Project project;
	for (std::int32_t index = 1; index <= 2; ++index) {
		auto part = PartWithLevels(index, "Part " + std::to_string(index), 4, {10}, 1);
		part.parameters[1].valueList = {"Full", "None"};
		project.AddLibraryPart(part);
		project.AddElement(Placed(Types::Window, part));
		project.AddElement(Placed(Types::Window, part));
	}
	OpenProject(project);
	OpenPalette();
	EXPECT_EQ(MessagesSaying("Two parameters are equal in a row!"), 2u) << "once for each of the two parts";
	Refresh();
	EXPECT_EQ(MessagesSaying("Two parameters are equal in a row!"), 4u) << "and again in the next run";
	const ProbeRow row = WindowRow();
	EXPECT_EQ(row.available, (Flags {false, false, true, true, true})) << "the doubled value marks nothing";
}

TEST_F(LevelOfDetailTest, ARefusedChangeIsToldForEachElementAndTheRunGoesOn)
{
	LoadProbe();
	Project project = Windows(3);
	project.AddElement(Plain(Types::Wall, {5}));
	OpenProject(project);
	host->CurrentProject()->FindElement(Types::Window, 1)->refusesChanges = true;
	host->CurrentProject()->FindElement(Types::Window, 3)->refusesChanges = true;
	CountWithLevel(Simple);
	EXPECT_EQ(MessagesSaying("An error occured while changing an element's level of detail!"), 2u);
	EXPECT_EQ(ValueOf({Types::Window, 1}), "Full");
	EXPECT_EQ(ValueOf({Types::Window, 2}), "Reduced");
	const ProbeResult result = Result();
	EXPECT_EQ(result.elementsPerType[Types::Window], 3);
	EXPECT_EQ(result.polygonsPerType[Types::Window], 120 + 7 + 120);
	EXPECT_EQ(result.polygonsPerType[Types::Wall], 5) << "the run went on after the messages";
}

// A refused parameter change leaves nothing to hand the element: the change failed, and says so.
TEST_F(LevelOfDetailTest, ARefusedParameterChangeIsToldAndChangesNoElement)
{
	LoadProbe();
	OpenProject(Windows(2));
	host->Table().ForceSelectorStatus(HostSdk::Entry::Utilities, Selectors::ChangeParameter, HostSdk::StatusRefused);
	CountWithLevel(Simple);
	EXPECT_EQ(MessagesSaying("An error occured while changing an element's level of detail!"), 2u);
	EXPECT_EQ(host->Table().CallCount(HostSdk::Entry::ElementChange), 0u);
	EXPECT_EQ(ValueOf({Types::Window, 2}), "Full");
}

TEST_F(LevelOfDetailTest, AnElementChangedByHandIsSetBackOnTheNextRun)
{
	LoadProbe();
	OpenProject(TwoWindows());
	CountWithLevel(Simple);
	EXPECT_EQ(ValueOf({Types::Window, 2}), "Reduced");
	std::string problem;
	ASSERT_TRUE(host->CurrentProject()->SetElementParameter({Types::Window, 2}, "lod", "Full", problem)) << problem;
	probe->startLog();
	Refresh();
	const std::vector<ProbeCall> calls = probe->stopLog();
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::ElementChange), 1u) << "only the element changed by hand";
	EXPECT_EQ(ValueOf({Types::Window, 2}), "Reduced");
	const ProbeRow row = WindowRow();
	EXPECT_EQ(row.lod, Simple);
	EXPECT_EQ(row.polygons, 14);
}

TEST_F(LevelOfDetailTest, APartWithoutALevelParameterKeepsLevelFiveAndIsStoredSo)
{
	OpenOneObject("Chair", {30});
	const std::vector<ProbeCall> calls = CountWithLevel(Detailed);
	const ProbeResult result = Result();
	ASSERT_EQ(result.sortedRows.at(Types::Object).size(), 1u);
	EXPECT_EQ(result.sortedRows.at(Types::Object)[0].lod, 5);
	EXPECT_EQ(result.sortedRows.at(Types::Object)[0].available, (Flags {false, false, false, true, true}));
	EXPECT_EQ(ElementParameterOpenings(calls), 0u);
	std::int16_t stored = -1;
	ASSERT_TRUE(probe->partLevel(UniqueIdOf(1).c_str(), stored));
	EXPECT_EQ(stored, 5);
}

TEST_F(LevelOfDetailTest, EachPartIsDetectedOncePerRun)
{
	LoadProbe();
	Project project;
	const auto window = project.AddLibraryPart(PartWithLevels(1, "Casement", 4, {10}, 1));
	for (int i = 0; i < 5; ++i)
		project.AddElement(Placed(Types::Window, window));
	OpenProject(project);
	const std::vector<ProbeCall> calls = CountWithLevel(Custom);
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::LibPartRead), 1u);
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::Utilities, Selectors::GetParameterValues), 1u);
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::Utilities, Selectors::OpenParameters),
		CountCalls(calls, HostSdk::Entry::Utilities, Selectors::CloseParameters));
}

// ---- A library part the host cannot give --------------------------------------------------

class MissingPartTest : public CountingFixture {
protected:
	void SetUp() override
	{
		CountingFixture::SetUp();
		DG::ClearShownModalDialogs();
	}

	Project WithMissingParts()
	{
		Project project;
		auto gone = PlainPart(1, "Gone", 6, {50});
		gone.missing = true;
		auto lost = PlainPart(2, "Lost", 6, {60});
		lost.missing = true;
		project.AddLibraryPart(gone);
		project.AddLibraryPart(lost);
		project.AddElement(Placed(Types::Object, gone));
		project.AddElement(Placed(Types::Object, gone));
		project.AddElement(Placed(Types::Object, lost));
		return project;
	}
};

TEST_F(MissingPartTest, EachMissingPartIsToldOncePerRunAndItsElementsStillCount)
{
	LoadProbe();
	OpenProject(WithMissingParts());
	OpenPalette();
	EXPECT_EQ(MessagesSaying("A library part is missing!"), 2u);
	const ProbeResult result = Result();
	EXPECT_TRUE(result.sortedRows.at(Types::Object).empty());
	EXPECT_EQ(result.elementsPerType[Types::Object], 3);
	EXPECT_FALSE(probe->missingPartMessagesOff());
}

TEST_F(MissingPartTest, DoNotShowAgainStopsTheMessageUntilTheAddOnIsUnloaded)
{
	LoadProbe();
	OpenProject(WithMissingParts());
	DG::QueuedUserAgent agent;
	agent.Enqueue([](DG::User& user) {
		user.SetCheck("Do not show again", true);
		user.Click("OK");
	});
	const DG::UserAgentScope scope(agent);
	OpenPalette();
	EXPECT_EQ(MessagesSaying("A library part is missing!"), 1u);
	EXPECT_TRUE(probe->missingPartMessagesOff());
	Refresh();
	EXPECT_EQ(MessagesSaying("A library part is missing!"), 1u);
}

} // namespace

// ---- Levels kept in module data of an older format ------------------------------------------

namespace {

class OlderModuleDataTest : public LevelOfDetailTest {};

TEST_F(OlderModuleDataTest, TheChosenLevelsAreSavedInTheCurrentFormat)
{
	LoadProbe();
	const std::string addOn = host->AddOns().All().front()->Name();
	Project project = TwoWindows();
	const std::string older = std::string("A\0"
										  "1\0",
		4);
	project.StoreModuleData(addOn, {1, 0x5757, {older.begin(), older.end()}});
	OpenProject(project);
	CountWithLevel(Simple, Detailed);
	EXPECT_EQ(MessagesSaying("FacetallyModuleData, ReadValues ()"), 1u) << "the older data are not read";

	ASSERT_TRUE(host->SaveProject().ok);
	const ReferenceHost::ModuleDataBlock* saved = host->CurrentProject()->FindModuleData(addOn);
	ASSERT_NE(saved, nullptr);
	EXPECT_EQ(saved->dataVersion, 2u);
	const std::string key = "{9349160F-1FF1-4be3-9909-314107CCB286}";
	EXPECT_EQ(std::string(saved->bytes.begin(), saved->bytes.end()),
		UniqueIdOf(1) + '\0' + "1" + '\0' + key + '\0' + "0" + '\0')
		<< "the person's level for the window and the default level, in place of the older data";
}

// Page 3's pop-up offers "Detailed" to "Custom" only: a stored "Default" (4) is kept through
// the palette's Refresh and the next save, not replaced by what the pop-up shows.
TEST_F(OlderModuleDataTest, AStoredDefaultLevelThePopUpDoesNotOfferIsKept)
{
	LoadProbe();
	const std::string addOn = host->AddOns().All().front()->Name();
	Project project = TwoWindows();
	const std::string key = "{9349160F-1FF1-4be3-9909-314107CCB286}";
	const std::string stored = key + '\0' + "4" + '\0';
	project.StoreModuleData(addOn, {2, 0x5757, {stored.begin(), stored.end()}});
	OpenProject(project);
	OpenPalette();
	Refresh();
	EXPECT_EQ(probe->preferencesDefaultLevel(), 4);
	ASSERT_TRUE(host->SaveProject().ok);
	const ReferenceHost::ModuleDataBlock* saved = host->CurrentProject()->FindModuleData(addOn);
	ASSERT_NE(saved, nullptr);
	EXPECT_NE(std::string(saved->bytes.begin(), saved->bytes.end()).find(stored), std::string::npos);
}

} // namespace
