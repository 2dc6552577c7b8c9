// The element list: the whole project as the counted types' ranges, a selection turned into
// elements through the host's item codes, sorted and without repeats, and the host's answers
// taken only as far as they hold.
#include "counting/ElementList.hpp"

#include "FakeHostTable.hpp"

#include "VX/Memory.hpp"

#include <cstring>
#include <map>
#include <vector>

namespace {

using HostSdk::HostStatus;

struct FakeProject {
	std::map<std::int32_t, std::int32_t> counts;       // element type → count
	std::map<std::int32_t, HostStatus> countFailures;   // element type → status
	HostSdk::SelectionRecord selection {};
	std::vector<HostSdk::SelectionItem> items;
	// Bytes of the item handle beyond the whole items (a handle the count claims too much of
	// is made by giving fewer items than the record's count).
	std::size_t extraItemBytes = 0;
	std::vector<std::int32_t> countsAsked;
	int selectionReads = 0;
	int itemListsAsked = 0;
};
FakeProject* project = nullptr;

HostStatus CountElements(HostSdk::ModuleToken, std::int32_t type, std::int32_t* count)
{
	project->countsAsked.push_back(type);
	if (const auto failure = project->countFailures.find(type); failure != project->countFailures.end())
		return failure->second;
	const auto found = project->counts.find(type);
	*count = found != project->counts.end() ? found->second : 0;
	return HostSdk::StatusOk;
}

HostStatus ReadSelection(HostSdk::ModuleToken, HostSdk::SelectionRecord* record, HostSdk::HandleId* items, std::int32_t)
{
	++project->selectionReads;
	*record = project->selection;
	record->markerHandle = VX::AllocateHandle(8);
	if (items != nullptr) {
		++project->itemListsAsked;
		const std::size_t bytes = project->items.size() * sizeof(HostSdk::SelectionItem) + project->extraItemBytes;
		*items = VX::AllocateHandle(bytes);
		if (!project->items.empty())
			std::memcpy(VX::GetHandleData(*items), project->items.data(),
						project->items.size() * sizeof(HostSdk::SelectionItem));
	}
	return HostSdk::StatusOk;
}

// Item codes are the element type times 100; code 9999 is one the host cannot turn.
HostStatus Utilities(HostSdk::ModuleToken, std::uint32_t selector, void* first, void* second)
{
	if (selector != HostSdk::Selectors::ItemCodeToElementType)
		return HostSdk::StatusBadParameter;
	const std::int32_t code = *static_cast<const std::int32_t*>(first);
	if (code == 9999)
		return HostSdk::StatusBadParameter;
	*static_cast<std::int32_t*>(second) = code / 100;
	return HostSdk::StatusOk;
}

HostSdk::SelectionItem Item(std::int32_t type, std::int32_t index)
{
	HostSdk::SelectionItem item {};
	item.itemCode = type * 100;
	item.index = index;
	return item;
}

std::vector<ElementRef> Elements(const ElementList& list)
{
	std::vector<ElementRef> elements;
	list.ForEach([&](const ElementRef& element) {
		elements.push_back(element);
		return true;
	});
	return elements;
}

ElementRef Ref(std::int32_t type, std::int32_t index) { return {static_cast<API_ElemTypeID>(type), index}; }

class ElementListTest : public FakeHostTableFixture {
protected:
	void SetUp() override
	{
		FakeHostTableFixture::SetUp();
		project = &fake;
		Offer<HostSdk::Entry::ElementCount>(&CountElements);
		Offer<HostSdk::Entry::SelectionRead>(&ReadSelection);
		Offer<HostSdk::Entry::Utilities>(&Utilities);
		handles = VX::LiveHandleCount();
	}
	void TearDown() override
	{
		EXPECT_EQ(VX::LiveHandleCount(), handles) << "every handle of the selection reads was released";
		project = nullptr;
		FakeHostTableFixture::TearDown();
	}

	FakeProject fake;
	std::size_t handles = 0;
};

TEST_F(ElementListTest, TheWholeProjectIsTypesOneToTenAndSeventeenInOrder)
{
	for (std::int32_t type = 0; type <= 33; ++type)
		fake.counts[type] = 2;
	const ElementList list(false, false);
	const std::vector<std::int32_t> asked = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 17};
	EXPECT_EQ(fake.countsAsked, asked);
	EXPECT_EQ(list.Size(), 22u);
	const std::vector<ElementRef> elements = Elements(list);
	ASSERT_EQ(elements.size(), 22u);
	EXPECT_EQ(elements.front(), Ref(1, 1));
	EXPECT_EQ(elements[1], Ref(1, 2));
	EXPECT_EQ(elements[2], Ref(2, 1));
	EXPECT_EQ(elements.back(), Ref(17, 2));
	EXPECT_TRUE(std::is_sorted(elements.begin(), elements.end()));
}

TEST_F(ElementListTest, ATypeWhoseCountFailsOrIsNegativeGivesNoElements)
{
	fake.counts = {{1, 3}, {2, -5}, {4, 2}};
	fake.countFailures[4] = HostSdk::StatusRefused;
	const ElementList list(true, false);
	EXPECT_EQ(Elements(list), (std::vector<ElementRef> {Ref(1, 1), Ref(1, 2), Ref(1, 3)}));
}

TEST_F(ElementListTest, SelectionOnlyWithNothingSelectedReadsTheSelectionOnceAndTakesTheProject)
{
	fake.counts = {{5, 1}};
	const ElementList list(true, false);
	EXPECT_EQ(fake.selectionReads, 1);
	EXPECT_EQ(fake.itemListsAsked, 0);
	EXPECT_EQ(Elements(list), (std::vector<ElementRef> {Ref(5, 1)}));
}

TEST_F(ElementListTest, ASelectionIsSortedWithoutRepeatsAndKeepsItemsOfAnyType)
{
	fake.selection.kind = 1;
	fake.items = {Item(5, 2), Item(1, 4), Item(28, 1), Item(1, 1), Item(5, 2), Item(15, 1)};
	fake.selection.itemCount = static_cast<std::int32_t>(fake.items.size());
	fake.counts = {{1, 9}};
	const ElementList list(true, false);
	EXPECT_EQ(fake.selectionReads, 2);
	EXPECT_EQ(fake.countsAsked.size(), 0u) << "a selection asks for no counts";
	EXPECT_EQ(Elements(list), (std::vector<ElementRef> {Ref(1, 1), Ref(1, 4), Ref(5, 2), Ref(15, 1), Ref(28, 1)}));
	EXPECT_EQ(list.Size(), 5u);
}

TEST_F(ElementListTest, ItemsTheHostCannotTurnIntoATypeAreLeftOut)
{
	fake.selection.kind = 1;
	fake.items = {Item(1, 1), Item(1, 2)};
	fake.items[0].itemCode = 9999;
	fake.selection.itemCount = 2;
	const ElementList list(true, false);
	EXPECT_EQ(Elements(list), (std::vector<ElementRef> {Ref(1, 2)}));
}

TEST_F(ElementListTest, ACountLargerThanTheItemHandleIsTakenOnlyAsFarAsTheHandleHoldsItems)
{
	fake.selection.kind = 1;
	fake.items = {Item(3, 1), Item(3, 2)};
	// A piece of a third item, and a count that claims a thousand.
	fake.extraItemBytes = 9;
	fake.selection.itemCount = 1000;
	const ElementList list(true, false);
	EXPECT_EQ(Elements(list), (std::vector<ElementRef> {Ref(3, 1), Ref(3, 2)}));
}

TEST_F(ElementListTest, ANegativeItemCountSelectsNothing)
{
	fake.selection.kind = 1;
	fake.items = {Item(3, 1)};
	fake.selection.itemCount = -1;
	const ElementList list(true, false);
	EXPECT_TRUE(list.IsEmpty());
}

TEST_F(ElementListTest, IgnoringTheSelectionOrTheEntireProjectTakesTheProject)
{
	fake.selection.kind = 1;
	fake.items = {Item(3, 1)};
	fake.selection.itemCount = 1;
	fake.counts = {{2, 1}};
	EXPECT_EQ(Elements(ElementList(true, true)), (std::vector<ElementRef> {Ref(2, 1)}));
	EXPECT_EQ(Elements(ElementList(false, false)), (std::vector<ElementRef> {Ref(2, 1)}));
	EXPECT_EQ(fake.itemListsAsked, 0);
}

TEST_F(ElementListTest, TheMarqueeTestNeedsKindTwoOrMoreAndTheActiveStoryByte)
{
	fake.selection.kind = 2;
	fake.selection.marqueeAllStories = 0;
	EXPECT_TRUE(ElementList(false, false).IsMarquee());
	fake.selection.kind = 5;
	EXPECT_TRUE(ElementList(false, false).IsMarquee());
	fake.selection.marqueeAllStories = 1;
	EXPECT_FALSE(ElementList(false, false).IsMarquee());
	fake.selection.kind = 1;
	fake.selection.marqueeAllStories = 0;
	EXPECT_FALSE(ElementList(false, false).IsMarquee());
}

TEST_F(ElementListTest, TheRecordKeptHasItsHandleReleased)
{
	fake.selection.kind = 1;
	fake.selection.itemCount = 0;
	const ElementList list(true, false);
	EXPECT_EQ(list.SelectionRecord().markerHandle, VX::NoHandle);
	EXPECT_EQ(list.SelectionRecord().kind, 1);
}

TEST_F(ElementListTest, AVisitCanBeStoppedAndAReleasedListIsEmpty)
{
	fake.counts = {{1, 4}, {2, 4}};
	ElementList list(false, false);
	int visited = 0;
	EXPECT_FALSE(list.ForEach([&](const ElementRef&) { return ++visited < 3; }));
	EXPECT_EQ(visited, 3);
	list.Release();
	EXPECT_TRUE(list.IsEmpty());
	EXPECT_TRUE(Elements(list).empty());
}

TEST_F(ElementListTest, TheLargestCountIsSizedWithoutWrapping)
{
	fake.counts = {{1, INT32_MAX}, {2, INT32_MAX}};
	const ElementList list(false, false);
	EXPECT_EQ(list.Size(), 2u * INT32_MAX);
}

} // namespace
