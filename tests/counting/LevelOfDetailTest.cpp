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
	return static_cast<std::size_t>(std::count_if(calls.begin(), calls.end(), [&](const ProbeCall& call) {
		return call.entry == entry && (selector == 0 || call.selector == selector);
	}));
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
	// One window of a part offering only "Full" and "None", and a file row of those two.
	void OpenWindowOfTwoValues()
	{
		WriteConfiguration("lod \"Full\" \"None\"\n");
		LoadProbe();
		Project project;
		auto part = TestProjects::PartWithLevels(1, "Casement", 4, {100, 20}, 7);
		part.parameters[1].valueList = {"Full", "None"};
		project.AddLibraryPart(part);
		project.AddElement(TestProjects::Placed(HostSdk::ElementTypes::Window, part));
		OpenProject(project);
	}

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

TEST_F(LevelOfDetailTest, TheWantedLevelIsWrittenIntoEveryElementAndItsPolygonsAreCounted)
{
	LoadProbe();
	OpenProject(TwoWindows());
	const std::vector<ProbeCall> calls = CountWithLevel(Simple);
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::ElementChange), 2u);
	EXPECT_EQ(ValueOf({Types::Window, 1}), "Reduced");
	EXPECT_EQ(ValueOf({Types::Window, 2}), "Reduced");
	const ProbeRow row = WindowRow();
	EXPECT_EQ(row.lod, Simple);
	EXPECT_EQ(row.polygons, 14) << "counted after the change";
	EXPECT_EQ(Result().lodValueTexts.at(1), "Reduced");
	EXPECT_EQ(Result().lodParamNames.at(1), "lod");
	EXPECT_EQ(Result().lodParamIndex.at(1), 1) << "the part's second parameter";
	EXPECT_EQ(HandlesLeft(), 0);
}

TEST_F(LevelOfDetailTest, OffCountsTheElementsWithoutPolygons)
{
	LoadProbe();
	OpenProject(TwoWindows());
	CountWithLevel(Off);
	const ProbeResult result = Result();
	EXPECT_EQ(result.elementsPerType[Types::Window], 2);
	EXPECT_EQ(result.polygonsPerType[Types::Window], 0);
	EXPECT_EQ(ValueOf({Types::Window, 2}), "None");
}

TEST_F(LevelOfDetailTest, AnElementThatAlreadyHasTheWantedValueGetsNoChangeCall)
{
	LoadProbe();
	OpenProject(TwoWindows());
	const std::vector<ProbeCall> calls = CountWithLevel(Detailed);
	EXPECT_EQ(ElementParameterOpenings(calls), 2u) << "each element is looked at";
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::Utilities, Selectors::ChangeParameter), 0u);
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::ElementChange), 0u);
	EXPECT_EQ(WindowRow().lod, Detailed);
}

TEST_F(LevelOfDetailTest, DefaultWithTheDefaultCustomTouchesNothing)
{
	LoadProbe();
	OpenProject(TwoWindows());
	const std::vector<ProbeCall> calls = CountWithLevel(Default, Custom);
	EXPECT_EQ(WindowRow().lod, Default);
	EXPECT_EQ(ElementParameterOpenings(calls), 0u);
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::ElementChange), 0u);
}

TEST_F(LevelOfDetailTest, DefaultFollowsTheDefaultLevel)
{
	LoadProbe();
	OpenProject(TwoWindows());
	CountWithLevel(Default, Off);
	EXPECT_EQ(WindowRow().lod, Default);
	EXPECT_EQ(ValueOf({Types::Window, 1}), "None");
	EXPECT_EQ(Result().defaultLod, Off);
	EXPECT_EQ(probe->preferencesDefaultLevel(), Off) << "the result's default goes back into the preferences";
}

TEST_F(LevelOfDetailTest, DefaultForAPartWithoutAValueForTheDefaultShowsCustomAndTouchesNothing)
{
	OpenWindowOfTwoValues();
	const std::vector<ProbeCall> calls = CountWithLevel(Default, Simple);
	const ProbeRow row = WindowRow();
	EXPECT_EQ(row.lod, Custom);
	EXPECT_EQ(row.available, (Flags {true, false, true, true, true}));
	EXPECT_EQ(ElementParameterOpenings(calls), 0u);
	EXPECT_EQ(ValueOf({Types::Window, 1}), "Full");
}

TEST_F(LevelOfDetailTest, TwoValuesInAFileRowOfferDetailedAndOffButNotSimple)
{
	OpenWindowOfTwoValues();
	CountWithLevel(Off);
	const ProbeRow row = WindowRow();
	EXPECT_EQ(row.available, (Flags {true, false, true, true, true}));
	EXPECT_EQ(row.lod, Off);
	EXPECT_EQ(ValueOf({Types::Window, 1}), "None");
}

TEST_F(LevelOfDetailTest, TheFirstRowHoldingEveryValueDecides)
{
	WriteConfiguration("lod \"Full\" \"Half\" \"None\"\n"
					   "lod \"Full\" \"Reduced\" \"None\"\n"
					   "lod \"None\" \"Reduced\" \"Full\"\n");
	LoadProbe();
	OpenProject(TwoWindows());
	CountWithLevel(Detailed);
	EXPECT_EQ(Result().lodValueTexts.at(1), "Full") << "the third row would have given None";
	EXPECT_EQ(ValueOf({Types::Window, 1}), "Full");
	EXPECT_EQ(MessagesSaying("Two parameters are equal in a row!"), 0u);
}

TEST_F(LevelOfDetailTest, NoFittingRowOffersOnlyCustomAndDefaultAndWritesNothing)
{
	WriteConfiguration("lod \"Full\" \"Half\" \"None\"\n");
	LoadProbe();
	OpenProject(TwoWindows());
	const std::vector<ProbeCall> calls = CountWithLevel(Simple);
	const ProbeRow row = WindowRow();
	EXPECT_EQ(row.available, (Flags {false, false, false, true, true}));
	EXPECT_EQ(row.lod, Simple) << "the row shows the wanted level";
	EXPECT_EQ(CountCalls(calls, HostSdk::Entry::ElementChange), 0u) << "there is no value text to write";
	EXPECT_EQ(ValueOf({Types::Window, 1}), "Full");
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

TEST_F(LevelOfDetailTest, LevelsStoredInTheProjectAreTheWantedLevelsOfTheNextSession)
{
	LoadProbe();
	OpenProject(TwoWindows());
	CountWithLevel(Simple);
	ASSERT_TRUE(host->SaveProjectAs(folder / "saved.json").ok);

	// A new session: the module starts again from its load and reads the project's data.
	host.reset();
	host = std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {folder / "addons", folder / "help"});
	LoadProbe();
	ASSERT_TRUE(host->OpenProject(folder / "saved.json").ok);
	std::string problem;
	ASSERT_TRUE(host->CurrentProject()->SetElementParameter({Types::Window, 1}, "lod", "Full", problem)) << problem;
	OpenPalette();
	EXPECT_EQ(WindowRow().lod, Simple);
	EXPECT_EQ(ValueOf({Types::Window, 1}), "Reduced");
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
	const std::string older = std::string("A\0" "1\0", 4);
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

} // namespace
