// The project model on its own: element numbering, the 3D model's component blocks, a
// person's parameter edits, and the per-type tables.
#include "ProjectFile.hpp"
#include "ProjectTestSupport.hpp"

namespace ReferenceHost::Testing {
namespace {

class ProjectModelTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		std::string problem;
		project = ParseProjectText(SmallProjectText, "small.json", problem);
		ASSERT_NE(project, nullptr) << problem;
	}

	std::unique_ptr<Project> project;
};

TEST_F(ProjectModelTest, ElementsAreNumberedPerTypeFromOne)
{
	Element wall;
	wall.type = 1;
	EXPECT_EQ(project->AddElement(wall).index, 4);
	Element zone;
	zone.type = 17;
	EXPECT_EQ(project->AddElement(zone).index, 1);
	EXPECT_EQ(project->FindElement(1, 0), nullptr);
	EXPECT_EQ(project->FindElement(1, 5), nullptr);
	EXPECT_EQ(project->FindElement(34, 1), nullptr);
	EXPECT_EQ(project->FindElement(-1, 1), nullptr);
	EXPECT_EQ(project->ElementCount(34), 0);
	Element bad;
	bad.type = 34;
	EXPECT_THROW(project->AddElement(bad), std::invalid_argument);
	LibraryPart taken;
	taken.index = 1;
	EXPECT_THROW(project->AddLibraryPart(taken), std::invalid_argument);
}

TEST_F(ProjectModelTest, EachElementHasItsOwnBlockOfComponents)
{
	const Element& wall = *project->FindElement(1, 1);
	const Element& simpleWindow = *project->FindElement(4, 1);
	const Element& detailedWindow = *project->FindElement(4, 2);
	const ComponentRange wallRange = project->ComponentsOf(wall);
	EXPECT_EQ(wallRange.last - wallRange.first, 1);
	EXPECT_EQ(project->ComponentPolygons(wallRange.first), 6);
	EXPECT_EQ(project->ComponentPolygons(wallRange.last), 8);

	// The simple window shows one component but owns room for the three of its detailed model.
	const ComponentRange simple = project->ComponentsOf(simpleWindow);
	const ComponentRange detailed = project->ComponentsOf(detailedWindow);
	EXPECT_EQ(simple.last, simple.first);
	EXPECT_EQ(detailed.first, simple.first + 3);
	EXPECT_EQ(detailed.last, detailed.first + 2);
	EXPECT_EQ(project->ComponentPolygons(simple.first), 10);
	EXPECT_EQ(project->ComponentPolygons(simple.first + 1), std::nullopt) << "room of a component not shown now";
	EXPECT_EQ(project->PolygonsOf(detailedWindow), 175);
	EXPECT_EQ(project->PolygonsOf(simpleWindow), 10);
	EXPECT_EQ(project->ComponentPolygons(0), std::nullopt);
	EXPECT_EQ(project->ComponentPolygons(1000000), std::nullopt);
}

TEST_F(ProjectModelTest, AChangedLevelChangesTheModelAndMovesNoOtherElement)
{
	const ComponentRange before = project->ComponentsOf(*project->FindElement(4, 2));
	std::string problem;
	ASSERT_TRUE(project->SetElementParameter({4, 1}, "lod", "Off", problem)) << problem;
	const ComponentRange off = project->ComponentsOf(*project->FindElement(4, 1));
	EXPECT_GT(off.first, off.last) << "no component";
	EXPECT_EQ(project->PolygonsOf(*project->FindElement(4, 1)), 0);
	ASSERT_TRUE(project->SetElementParameter({4, 1}, "lod", "Detailed", problem));
	EXPECT_EQ(project->PolygonsOf(*project->FindElement(4, 1)), 175);
	ASSERT_TRUE(project->SetElementParameter({4, 1}, "lod", "Unheard of", problem));
	EXPECT_EQ(project->PolygonsOf(*project->FindElement(4, 1)), 175)
		<< "a value without a model shows the part's model";
	const ComponentRange after = project->ComponentsOf(*project->FindElement(4, 2));
	EXPECT_EQ(after.first, before.first);
	EXPECT_EQ(after.last, before.last);
	EXPECT_TRUE(project->IsModified());
}

TEST_F(ProjectModelTest, ElementsOfMissingOrUnknownPartsShowTheirOwnComponents)
{
	EXPECT_EQ(project->PolygonsOf(*project->FindElement(6, 2)), 23) << "part 2 is missing";
	EXPECT_EQ(project->PolygonsOf(*project->FindElement(4, 3)), 9) << "part 5 is not in the project";
	EXPECT_EQ(project->PartOf(*project->FindElement(6, 2)), nullptr);
	EXPECT_EQ(project->PartOf(*project->FindElement(6, 1)), project->FindLibraryPart(3));
	EXPECT_TRUE(project->FindElement(4, 3)->parameters.empty());
}

TEST_F(ProjectModelTest, APersonsEditIsCheckedAgainstTheParameter)
{
	std::string problem;
	EXPECT_FALSE(project->SetElementParameter({4, 2}, "width", "wide", problem));
	EXPECT_EQ(problem, "\"wide\" is not a number");
	EXPECT_FALSE(project->SetElementParameter({4, 2}, "depth", "1", problem));
	EXPECT_EQ(problem, "the element Window:2 has no parameter \"depth\"");
	EXPECT_FALSE(project->SetElementParameter({1, 3}, "lod", "Off", problem));
	EXPECT_EQ(problem, "there is no element Wall:3") << "deleted";
	EXPECT_FALSE(project->SetElementParameter({4, 2}, "sizes", "1|x", problem));
	EXPECT_FALSE(project->IsModified());
	ASSERT_TRUE(project->SetElementParameter({4, 2}, "width", "2.25", problem));
	EXPECT_EQ(FindParameter(project->FindElement(4, 2)->parameters, "width")->number, 2.25);
	ASSERT_TRUE(project->SetElementParameter({4, 2}, "panes", "a|b|c", problem));
	EXPECT_EQ(FindParameter(project->FindElement(4, 2)->parameters, "panes")->ValueText(), "[a|b|c]");
}

TEST(ElementTypeTableTest, NamesNumbersAndItemCodes)
{
	EXPECT_EQ(ElementTypeNameOf(33), "Stair");
	EXPECT_EQ(ElementTypeNameOf(27), "Camera set");
	EXPECT_EQ(ElementTypeNameOf(34), "");
	EXPECT_EQ(ElementTypeFromText("camera SET"), 27);
	EXPECT_EQ(ElementTypeFromText("17"), 17);
	EXPECT_EQ(ElementTypeFromText("34"), std::nullopt);
	EXPECT_EQ(ElementTypeFromText(""), std::nullopt);
	EXPECT_EQ(ParseElementId("Door:2"), (ElementId {5, 2}));
	EXPECT_EQ(ParseElementId("Camera set:1"), (ElementId {27, 1}));
	EXPECT_EQ(ParseElementId("Door:0"), std::nullopt);
	EXPECT_EQ(ParseElementId("Door2"), std::nullopt);
	EXPECT_EQ(ElementIdText({17, 3}), "Zone:3");

	// The published codes, and each code leads back to its type.
	EXPECT_EQ(SelectionItemCodeOf(1)->itemCode, 1);
	EXPECT_EQ(SelectionItemCodeOf(4)->itemCode, 10);
	EXPECT_EQ(SelectionItemCodeOf(4)->subField, 0);
	EXPECT_EQ(SelectionItemCodeOf(2)->subField, 0);
	EXPECT_EQ(SelectionItemCodeOf(32)->itemCode, 57);
	EXPECT_FALSE(SelectionItemCodeOf(0));
	EXPECT_FALSE(SelectionItemCodeOf(29));
	for (std::int32_t type = 0; type < ElementTypeCount; ++type)
		if (const std::optional<SelectionItemCode> code = SelectionItemCodeOf(type)) {
			EXPECT_EQ(ElementTypeOfItemCode(code->itemCode), type) << type;
		}
	EXPECT_FALSE(ElementTypeOfItemCode(2));
}

} // namespace
} // namespace ReferenceHost::Testing
