// The Select command end to end: the real module's code in the reference host, rows marked in
// the palette's results list as a person marks them, and the host's selection and view
// afterwards.
#include "CountingFixture.hpp"

#include "DG/Icon.hpp"
#include "DG/ListBox.hpp"
#include "DG/Panel.hpp"

#include "VX/Memory.hpp"

#include <algorithm>

namespace {

using namespace TestProjects;
using ReferenceHost::ElementId;
namespace Types = HostSdk::ElementTypes;

constexpr std::uint32_t StairVariation = 0x53595354;

// Stories 0 to 2. Windows of "Casement" on stories 0 and 1 and one of "Fixed"; two doors
// (the second hidden, so no filter admits it); a chair and a stair object; a wall.
ReferenceHost::Project House()
{
	ReferenceHost::Project project;
	project.StoryList().last = 2;
	const auto casement = project.AddLibraryPart(PartWithLevels(1, "Casement", 4, {10}, 2));
	const auto fixed = project.AddLibraryPart(PartWithLevels(2, "Fixed", 4, {6}, 1));
	const auto entrance = project.AddLibraryPart(PlainPart(3, "Entrance", 5, {8}));
	const auto chair = project.AddLibraryPart(PlainPart(4, "Chair", 6, {4}));
	const auto spiral = project.AddLibraryPart(PlainPart(5, "Spiral", 6, {30}));
	project.AddElement(Placed(Types::Window, casement, 0));
	project.AddElement(Placed(Types::Window, casement, 1));
	project.AddElement(Placed(Types::Window, fixed, 0));
	project.AddElement(Placed(Types::Door, entrance, 0));
	ReferenceHost::Element hidden = Placed(Types::Door, entrance, 0);
	hidden.visible = false;
	project.AddElement(hidden);
	project.AddElement(Placed(Types::Object, chair, 2));
	ReferenceHost::Element stair = Placed(Types::Object, spiral, 2);
	stair.variation = StairVariation;
	project.AddElement(stair);
	project.AddElement(Plain(Types::Wall, {6}, 2));
	return project;
}

struct SelectCase {
	const char* what;
	const char* marks; // the script lines marking the rows
	bool allStories;
	std::int32_t fromStory, toStory;
	std::vector<ElementId> selected;
	std::int32_t windowKind; // the window kind after the command, which starts in the 3D view
	std::int16_t story;      // the current story after it, which starts at 0
	std::int32_t mode = 1;   // the data record's mode after it, which starts at 0
	// What the host refuses during the command.
	void (*refuse)(ReferenceHost::HostFunctionTable& table) = nullptr;
};

class SelectCountedElementsTest : public CountingFixture, public ::testing::WithParamInterface<SelectCase> {
protected:
	// The house counted on every story, the wall selected, the 3D view current.
	void Start()
	{
		LoadProbe();
		ReferenceHost::Project project = House();
		project.SetWindowKind(4);
		project.CurrentSelection() = {1, 0, {{Types::Wall, 1}}, {}};
		project.DataRecordBytes()[100] = 0x5A;
		OpenProject(project);
		OpenPalette();
		Refresh(ProbeSettings {false, true, 0, 0, 3});
	}
};

TEST_P(SelectCountedElementsTest, SelectsTheAdmittedElementsOfTheMarkedRowsAndShowsThem)
{
	const SelectCase& test = GetParam();
	SCOPED_TRACE(test.what);
	Start();
	ASSERT_TRUE(probe->setSettings(ProbeSettings {false, test.allStories, test.fromStory, test.toStory, 3}));
	const std::size_t handlesBefore = VX::LiveHandleCount();
	EXPECT_EQ(RunScript(test.marks), "");
	if (test.refuse != nullptr)
		test.refuse(host->Table());
	EXPECT_EQ(RunScript("palette-click Select\n"), "");
	std::vector<ElementId> selected = host->CurrentProject()->CurrentSelection().items;
	std::sort(selected.begin(), selected.end());
	EXPECT_EQ(selected, test.selected);
	EXPECT_EQ(host->CurrentProject()->WindowKind(), test.windowKind);
	EXPECT_EQ(host->CurrentProject()->StoryList().active, test.story);
	EXPECT_EQ(host->CurrentProject()->DataRecordMode(), test.mode)
		<< "the data record's mode stays as the command set it";
	EXPECT_EQ(host->CurrentProject()->DataRecordBytes()[100], 0x5A) << "the rest of the data record is the host's";
	EXPECT_EQ(VX::LiveHandleCount(), handlesBefore) << "no handle outlives the command";
}

const ElementId Wall1 {Types::Wall, 1};
const ElementId Window1 {Types::Window, 1}, Window2 {Types::Window, 2}, Window3 {Types::Window, 3};
const ElementId Door1 {Types::Door, 1};
const ElementId Chair {Types::Object, 1}, StairObject {Types::Object, 2};

INSTANTIATE_TEST_SUITE_P(Rows, SelectCountedElementsTest,
	::testing::Values(
		SelectCase {"the Door row and one Window part: the admitted doors and that part's windows, on two stories",
			"palette-unfold Window\npalette-list-click Door\npalette-list-click Casement command", true, 0, 0,
			{Window1, Window2, Door1}, 4, 0},
		SelectCase {"the Object row leaves the stair object out; one story: it becomes current, 3D gives way",
			"palette-list-click Object", true, 0, 0, {Chair}, 1, 2},
		SelectCase {
			"the Stair row takes the stair object alone", "palette-list-click Stair", true, 0, 0, {StairObject}, 1, 2},
		SelectCase {"a story range that admits none of them leaves the selection; only the window changes",
			"palette-list-click Door", false, 3, 3, {Wall1}, 1, 0},
		SelectCase {"no marked row: nothing changes", "", true, 0, 0, {Wall1}, 4, 0, 0},
		// Deselecting leaves a marquee as it is; only the elements on the active story are noted.
		SelectCase {"selection only, a marquee on the active story: only its elements there count",
			"marquee active-story Window:1 Window:2 Window:3\npalette-click \"Selection only\"\n"
			"palette-click Refresh\npalette-list-click Window",
			true, 0, 0, {Window1, Window2, Window3}, 1, 0},
		SelectCase {"a part no longer in the libraries selects nothing",
			"palette-unfold Window\npalette-list-click Casement", true, 0, 0, {Wall1}, 1, 0, 1,
			[](ReferenceHost::HostFunctionTable& table) {
				table.ForceStatus(HostSdk::Entry::LibPartSearch, HostSdk::StatusRefused);
			}},
		SelectCase {"an element the host cannot read is left out", "palette-list-click Door", true, 0, 0, {Wall1}, 1, 0,
			1,
			[](ReferenceHost::HostFunctionTable& table) {
				table.ForceStatus(HostSdk::Entry::ElementRead, HostSdk::StatusRefused);
			}},
		SelectCase {"a data record the host cannot give is left alone", "palette-list-click Door", true, 0, 0, {Door1},
			1, 0, 0,
			[](ReferenceHost::HostFunctionTable& table) {
				table.ForceSelectorStatus(
					HostSdk::Entry::Database, HostSdk::Selectors::GetDataRecord, HostSdk::StatusRefused);
			}}),
	[](const ::testing::TestParamInfo<SelectCase>& param) { return "Case" + std::to_string(param.index); });

// A damaged list, which no person can make through the palette.
TEST_F(SelectCountedElementsTest, ARowValueThatIsNoElementTypeMarksNothing)
{
	Start();
	DG::Palette palette(DG::Rect {0, 0, 200, 200}, VX::Guid());
	palette.AddItem(DG::ItemKind::MultiSelList, DG::Rect {0, 0, 200, 200});
	{
		DG::MultiSelListBox list(palette, 1);
		for (const std::uintptr_t value : {std::uintptr_t {34}, static_cast<std::uintptr_t>(-1)}) {
			list.AppendItem();
			const short row = list.GetItemCount();
			list.SetTabItemIcon(row, 1, DG::Icon(DG::ActiveResourceModule, 32601));
			list.SetItemValue(row, value);
			list.SelectItem(row);
		}
		probe->selectCounted(list, false, true, 0, 0);
	}
	EXPECT_EQ(host->CurrentProject()->CurrentSelection().items, std::vector<ElementId> {Wall1});
}

} // namespace
