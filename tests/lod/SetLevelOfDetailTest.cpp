// The Set Level of Detail command end to end: rows marked in the palette's results list as a
// person marks them, the change dialog answered as a person answers it (a level chosen by its
// text, a button or a key pressed), and what the real module then stores, counts and saves.
#include "CountingFixture.hpp"

#include "DG/ModalRecord.hpp"
#include "DG/User.hpp"

#include <algorithm>
#include <tuple>

namespace {

using namespace TestProjects;
namespace Types = HostSdk::ElementTypes;

constexpr std::int16_t Simple = 1;
constexpr std::int16_t Off = 2;
constexpr std::int16_t Custom = 3;
constexpr std::int16_t Default = 4;

const std::string Casement = UniqueIdOf(1);
const std::string Fixed = UniqueIdOf(2);
const std::string Louvre = UniqueIdOf(4);

// Windows of four parts: two of "Casement" (all levels), one of "Fixed" (no "Simple"), one
// of "Skylight" (no level-of-detail parameter) and one of "Louvre" (no "Detailed"); the last
// two are grayed in the results list.
ReferenceHost::Project WindowParts()
{
	ReferenceHost::Project project;
	const auto casement = project.AddLibraryPart(PartWithLevels(1, "Casement", 4, {100, 20}, 7));
	ReferenceHost::LibraryPart fixedPart = PartWithLevels(2, "Fixed", 4, {50}, 5);
	fixedPart.parameters[1].valueList = {"Full", "None"};
	const auto fixed = project.AddLibraryPart(fixedPart);
	const auto skylight = project.AddLibraryPart(PlainPart(3, "Skylight", 4, {9}));
	project.AddElement(Placed(Types::Window, casement));
	project.AddElement(Placed(Types::Window, casement));
	project.AddElement(Placed(Types::Window, fixed));
	ReferenceHost::LibraryPart louvrePart = PartWithLevels(4, "Louvre", 4, {30}, 3);
	louvrePart.parameters[1].text = "Reduced";
	louvrePart.parameters[1].valueList = {"Reduced", "None"};
	const auto louvre = project.AddLibraryPart(louvrePart);
	project.AddElement(Placed(Types::Window, skylight));
	project.AddElement(Placed(Types::Window, louvre));
	return project;
}

class SetLevelOfDetailTest : public CountingFixture {
protected:
	// Opens the project and the palette and counts everything, every level part at startLevel:
	// "choose" takes the first list showing the text, and the rows list shows the parts' levels.
	void Start(std::int16_t startLevel = Custom, std::int16_t defaultLevel = Custom)
	{
		LoadProbe();
		OpenProject(WindowParts());
		OpenPalette();
		probe->setPartLevel(Casement.c_str(), startLevel);
		probe->setPartLevel(Fixed.c_str(), startLevel);
		probe->setPartLevel(Louvre.c_str(), startLevel);
		Refresh(ProbeSettings {false, true, 0, 0, defaultLevel});
	}

	// Marks the rows (the first one alone, the others added), answers the dialog with the
	// steps and runs the command; answers whether the palette counted again.
	bool Run(const std::vector<std::string>& marked, const std::string& answer)
	{
		std::string lines = "palette-unfold Window\n";
		for (std::size_t row = 0; row < marked.size(); ++row)
			lines += "palette-list-click " + marked[row] + (row == 0 ? "\n" : " command\n");
		if (!answer.empty())
			lines += "answer " + answer + "\n";
		host->Report().Clear();
		EXPECT_EQ(RunScript(lines + "palette-click \"Set Level of Detail\"\n"), "");
		return !Report().empty();
	}

	std::int16_t LevelOf(const std::string& guid)
	{
		std::int16_t level = -1;
		EXPECT_TRUE(probe->partLevel(guid.c_str(), level)) << guid << " has no entry";
		return level;
	}

	// The lines of the dialog as the person last looked at it ("look").
	std::vector<std::string> LookedAt() const
	{
		std::vector<std::string> lines;
		for (const std::string& line : host->SessionTranscript().Texts(ReferenceHost::TranscriptKind::Notice))
			if (line.starts_with("  "))
				lines.push_back(line);
		return lines;
	}
};

struct LevelCase {
	const char* what;
	std::int16_t startLevel, defaultLevel;
	std::vector<std::string> marked;
	const char* answer;
	bool recount;
	std::int16_t casement, fixed;
	std::size_t dialogs;
};

class LevelChoice : public SetLevelOfDetailTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(LevelChoice, StoresTheLevelForTheOfferedPartsAndRecountsOnlyForARealChange)
{
	const LevelCase& test = GetParam();
	Start(test.startLevel, test.defaultLevel);
	const std::size_t dialogsBefore = DG::GetShownModalDialogCount();
	EXPECT_EQ(Run(test.marked, test.answer), test.recount) << test.what;
	EXPECT_EQ(LevelOf(Casement), test.casement) << test.what;
	EXPECT_EQ(LevelOf(Fixed), test.fixed) << test.what;
	EXPECT_EQ(DG::GetShownModalDialogCount() - dialogsBefore, test.dialogs) << test.what;
	EXPECT_TRUE(host->Dialogs().RefusedSteps().empty()) << test.what;
}

INSTANTIATE_TEST_SUITE_P(Choices, LevelChoice,
	::testing::Values(LevelCase {"Simple: stored for the part that offers it", Custom, Custom, {"Window"},
						  "choose Simple ok", true, Simple, Custom, 1},
		LevelCase {"Default (Simple): stored for the part that offers the default", Custom, Simple, {"Window"},
			"choose Default ok", true, Default, Custom, 1},
		LevelCase {"the level every part already has: no recount", Off, Custom, {"Window"}, "choose Off ok", false, Off,
			Off, 1},
		LevelCase {"Custom: stored, no recount", Off, Custom, {"Window"}, "choose Custom ok", false, Custom, Custom, 1},
		LevelCase {"Default while the default is Custom: stored, no recount", Off, Custom, {"Window"},
			"choose Default ok", false, Default, Default, 1},
		LevelCase {"OK without a level: nothing stored", Custom, Custom, {"Window"}, "ok", false, Custom, Custom, 1},
		LevelCase {
			"the hot key cancels", Custom, Custom, {"Window"}, "choose Off key Escape", false, Custom, Custom, 1},
		LevelCase {"Cancel", Custom, Custom, {"Window"}, "choose Off press Cancel", false, Custom, Custom, 1},
		LevelCase {
			"a grayed part row on its own: no dialog", Custom, Custom, {"Louvre"}, "", false, Custom, Custom, 0}),
	[](const ::testing::TestParamInfo<LevelCase>& param) { return "Case" + std::to_string(param.index); });

// A type row and its part rows list each part once, the parts without levels not, a part
// grayed in the results list for another reason yes; choosing a level grays the parts without
// it, and the dialog's list keeps no row selected.
TEST_F(SetLevelOfDetailTest, TheDialogListsEachPartOnceAndGraysThePartsWithoutTheChosenLevel)
{
	Start();
	EXPECT_FALSE(Run({"Window", "Casement", "Fixed", "Skylight"}, "choose Simple choose Fixed look cancel"));
	const std::vector<std::string> lines = LookedAt();
	for (const auto& [name, listed, grayed] :
		{std::tuple {"Casement", 1, false}, {"Fixed", 1, true}, {"Skylight", 0, false}, {"Louvre", 1, false}}) {
		SCOPED_TRACE(name);
		std::size_t count = 0;
		for (const std::string& line : lines) {
			if (line.find(name) == std::string::npos)
				continue;
			++count;
			EXPECT_NE(line.find("Custom"), std::string::npos) << line;
			EXPECT_EQ(line.find(std::string("~ ") + name) != std::string::npos, grayed) << line;
			EXPECT_EQ(line.find(">"), std::string::npos) << "a row stayed selected: " << line;
		}
		EXPECT_EQ(count, static_cast<std::size_t>(listed));
	}
}

TEST_F(SetLevelOfDetailTest, APartTheLevelTableNoLongerHoldsIsStoredAsANewEntryAndCountsAsAChange)
{
	Start(Off);
	// While the dialog is open the part leaves the level table (a merge of another project).
	host->Dialogs().Answers().Enqueue([&](DG::User& person) {
		probe->forgetPartLevel(Casement.c_str());
		ASSERT_TRUE(person.ClickListItem(2, "Off"));
		ASSERT_TRUE(person.Click("OK"));
	});
	EXPECT_TRUE(Run({"Window"}, ""));
	EXPECT_EQ(LevelOf(Casement), Off);
}

// "Custom" after a run that set "Off": no run, but the saved project and the next run keep
// "Custom", so a value the person then sets by hand stays.
TEST_F(SetLevelOfDetailTest, ALevelStoredWithoutARunIsSavedAndTheNextRunKeepsIt)
{
	Start();
	ASSERT_TRUE(Run({"Casement"}, "choose Off ok"));
	EXPECT_EQ(RunScript("palette-list-click Casement\nanswer choose Custom ok\npalette-click \"Set Level of Detail\"\n"
						"set-parameter Window:1 lod Full\n"),
		"");
	ASSERT_TRUE(host->SaveProject().ok);
	const ReferenceHost::ModuleDataBlock* data = host->CurrentProject()->FindModuleData("Facetally");
	ASSERT_NE(data, nullptr);
	EXPECT_NE(std::string(data->bytes.begin(), data->bytes.end()).find(Casement + std::string(1, '\0') + "3"),
		std::string::npos);
	Refresh();
	EXPECT_EQ(ValueOf({Types::Window, 1}), "Full");
	EXPECT_EQ(ValueOf({Types::Window, 2}), "None");
	EXPECT_EQ(LevelOf(Casement), Custom);
}

TEST_F(SetLevelOfDetailTest, AnAcceptedChangeRecountsRewritesTheElementsAndTheNextSaveKeepsIt)
{
	Start();
	const std::int32_t before = Result().totalPolygons;
	ASSERT_TRUE(Run({"Casement", "Fixed"}, "choose Off ok"));
	Refresh();
	EXPECT_EQ(Result().totalPolygons, before - 2 * 120 - 50);
	for (std::int32_t index : {1, 2, 3})
		EXPECT_EQ(ValueOf({Types::Window, index}), "None");
	ASSERT_TRUE(host->SaveProject().ok);
	const ReferenceHost::ModuleDataBlock* data = host->CurrentProject()->FindModuleData("Facetally");
	ASSERT_NE(data, nullptr);
	const std::string bytes(data->bytes.begin(), data->bytes.end());
	for (const std::string& guid : {Casement, Fixed})
		EXPECT_NE(bytes.find(guid + std::string(1, '\0') + "2"), std::string::npos) << guid;
	EXPECT_EQ(HandlesLeft(), 0);
}

} // namespace
