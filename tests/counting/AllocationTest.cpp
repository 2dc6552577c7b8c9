// The module's heap allocations in a run do not grow with the number of elements: once every
// library part has been met, counting an element, testing its group and its lock, reading its
// level-of-detail parameter and rewriting it allocate nothing. Runs over a project and one
// with more elements of the same parts must allocate alike.
#include "AllocationCounter.hpp"
#include "CountingFixture.hpp"

namespace {

using namespace TestProjects;
using ReferenceHost::Project;
namespace Types = HostSdk::ElementTypes;

constexpr std::uint32_t StairVariation = 0x53595354u;

class ElementAllocationTest : public CountingFixture {
protected:
	// perKind walls, slabs, windows of two parts with levels (half of them in a protecting
	// group), doors of a part without levels, chairs and stairs.
	static Project Mixed(int perKind)
	{
		Project project;
		project.StoryList().last = 2;
		const auto casement = project.AddLibraryPart(PartWithLevels(1, "Casement", 4, {40, 8, 8}, 6));
		const auto sliding = project.AddLibraryPart(PartWithLevels(2, "Sliding", 4, {30, 30}, 4));
		const auto door = project.AddLibraryPart(PlainPart(3, "Door", 5, {20, 4}));
		const auto chair = project.AddLibraryPart(PartWithLevels(4, "Chair", 6, {90}, 9));
		const auto stair = project.AddLibraryPart(PlainPart(5, "Stair", 6, {300}));
		project.AddElement(TestProjects::ProtectingGroup(3));
		for (int i = 0; i < perKind; ++i) {
			const auto story = static_cast<std::int16_t>(i % 3);
			project.AddElement(Plain(Types::Wall, {6, 6, 6}, story));
			project.AddElement(Plain(Types::Slab, {12}, story));
			auto window = Placed(Types::Window, i % 2 == 0 ? casement : sliding, story);
			window.groupIndex = i % 4 < 2 ? 1 : 0;
			project.AddElement(window);
			project.AddElement(Placed(Types::Door, door, story));
			project.AddElement(Placed(Types::Object, chair, story));
			auto stairElement = Placed(Types::Object, stair, story);
			stairElement.variation = StairVariation;
			project.AddElement(stairElement);
		}
		return project;
	}

	// Opens the project, chooses the levels (casements and chairs "Simple", sliding windows
	// "Detailed") and counts the allocations of the palette's first run (every level-of-detail
	// element is rewritten) and of a second (every one is only read).
	std::pair<AllocationCounter::Counts, AllocationCounter::Counts> Runs(int perKind)
	{
		OpenProject(Mixed(perKind));
		probe->setPartLevel(UniqueIdOf(1).c_str(), 1);
		probe->setPartLevel(UniqueIdOf(2).c_str(), 0);
		probe->setPartLevel(UniqueIdOf(4).c_str(), 1);
		AllocationCounter::Start(reinterpret_cast<const void*>(probe->refresh));
		OpenPalette();
		const AllocationCounter::Counts changing = AllocationCounter::Stop();
		AllocationCounter::Start(reinterpret_cast<const void*>(probe->refresh));
		Refresh();
		const AllocationCounter::Counts reading = AllocationCounter::Stop();
		ClosePalette();
		EXPECT_EQ(HandlesLeft(), 0);
		return {changing, reading};
	}
};

TEST_F(ElementAllocationTest, MoreElementsOfTheSamePartsAllocateNoMore)
{
	LoadProbe();
	// The module's buffers that grow once to their working size grow here.
	Runs(4);
	// Every number of the two reports has as many digits in the one as in the other: the
	// platform's number formatting allocates by a number's digits, once per report line.
	const auto [smallChanging, smallReading] = Runs(1000);
	const auto [largeChanging, largeReading] = Runs(1100);

	EXPECT_GT(smallChanging.module, 0u) << "the counter sees the module's allocations";
	EXPECT_EQ(largeChanging.module, smallChanging.module) << "a run that rewrites every element";
	EXPECT_EQ(largeReading.module, smallReading.module) << "a run that reads every element";
	// The host does allocate per element (it copies parameter lists): the counter tells the
	// two apart.
	EXPECT_GT(largeChanging.program, smallChanging.program);

	const ProbeResult result = Result();
	EXPECT_EQ(result.elementsPerType[Types::Window], 1100);
	EXPECT_EQ(result.polygonsPerType[Types::Window], 550 * 6 + 550 * 60);
}

} // namespace
