// List boxes: rows, fields, values, gray state, selection and scroll position set by code;
// a person's clicks and the selection they make; rows removed and inserted from inside the
// list's own handlers.
#include "DialogTestSupport.hpp"

namespace {

using namespace DialogTest;

class ListBoxes : public ::testing::Test {
protected:
	void SetUp() override
	{
		for (const char* name : {"Wall", "Column", "Beam", "Window", "Door"}) {
			multi.AppendItem();
			multi.SetTabItemText(multi.GetItemCount(), 1, name);
			single.AppendItem();
			single.SetTabItemText(single.GetItemCount(), 1, name);
		}
		multi.Attach(spy);
		single.Attach(spy);
	}

	std::vector<std::string> Names() const
	{
		std::vector<std::string> names;
		for (short i = 1; i <= multi.GetItemCount(); ++i)
			names.push_back(multi.GetTabItemText(i, 1));
		return names;
	}

	std::unique_ptr<DG::Palette> palette = OpenLibraryPalette();
	DG::MultiSelListBox multi {*palette, MultiListItem};
	DG::SingleSelListBox single {*palette, SingleListItem};
	EventSpy spy;
	DG::User user {*palette};
};

TEST_F(ListBoxes, FieldsTextsIconsValuesAndGrayState)
{
	multi.SetTabFieldCount(3);
	multi.SetTabFieldEndPosition(3, 120);
	multi.SetTabFieldBeginPosition(3, 25);
	multi.SetTabFieldJustification(2, DG::ListBox::Right);
	multi.SetTabFieldTruncation(3, DG::ListBox::EndTruncate);
	EXPECT_EQ(multi.GetTabFieldBeginPosition(3), 25);
	EXPECT_EQ(multi.GetTabFieldEndPosition(3), 120);
	EXPECT_EQ(multi.GetTabFieldJustification(2), DG::ListBox::Right);
	EXPECT_EQ(multi.GetTabFieldTruncation(3), DG::ListBox::EndTruncate);
	EXPECT_EQ(multi.GetTabFieldJustification(9), DG::ListBox::Left);

	multi.SetTabItemText(2, 3, "Column");
	multi.SetTabItemIcon(2, 1, DG::Icon(TestResources(), RightIcon));
	EXPECT_EQ(multi.GetTabItemText(2, 1), "Column");
	EXPECT_EQ(multi.GetTabItemText(2, 3), "Column");
	EXPECT_EQ(multi.GetTabItemIcon(2, 1).GetResourceId(), RightIcon);
	EXPECT_EQ(multi.GetTabItemIcon(2, 2).GetResourceId(), DG::Icon::NoResource);

	int row = 0;
	multi.SetItemValue(4, reinterpret_cast<std::uintptr_t>(&row));
	EXPECT_EQ(multi.GetItemValue(4), reinterpret_cast<std::uintptr_t>(&row));
	multi.GrayItem(3);
	EXPECT_TRUE(multi.IsItemGrayed(3));
	multi.EnableItem(3);
	EXPECT_FALSE(multi.IsItemGrayed(3));
}

TEST_F(ListBoxes, RowNumbersOutsideTheListAreIgnored)
{
	multi.SetTabItemText(0, 1, "x");
	multi.SetTabItemText(6, 1, "x");
	multi.SetTabItemText(1, 2, "x");
	multi.SelectItem(6);
	multi.InsertItem(7);
	multi.InsertItem(0);
	multi.DeleteItem(6);
	multi.DeleteItem(-3);
	EXPECT_EQ(multi.GetItemCount(), 5);
	EXPECT_EQ(multi.GetTabItemText(6, 1), "");
	EXPECT_EQ(multi.GetItemValue(9), 0u);
	EXPECT_FALSE(multi.IsItemGrayed(9));
	EXPECT_EQ(multi.GetSelectedCount(), 0);
}

TEST_F(ListBoxes, InsertAndDeleteMoveRowsWithTheirState)
{
	multi.SelectItem(4);
	multi.InsertItem(2);
	multi.SetTabItemText(2, 1, "Slab");
	EXPECT_EQ(Names(), (std::vector<std::string> {"Wall", "Slab", "Column", "Beam", "Window", "Door"}));
	EXPECT_EQ(multi.GetSelectedItems(), std::vector<int> {5});
	multi.DeleteItem(1);
	EXPECT_EQ(multi.GetSelectedItems(), std::vector<int> {4});
	multi.DeleteItem(DG::ListBox::AllItems);
	EXPECT_EQ(multi.GetItemCount(), 0);
	EXPECT_EQ(multi.GetSelectedItem(), 0);
}

TEST_F(ListBoxes, SingleSelectionKeepsOneRowMultipleKeepsMany)
{
	single.SelectItem(2);
	single.SelectItem(4);
	EXPECT_EQ(single.GetSelectedItems(), std::vector<int> {4});
	multi.SelectItem(4);
	multi.SelectItem(2);
	EXPECT_EQ(multi.GetSelectedItems(), (std::vector<int> {2, 4}));
	EXPECT_EQ(multi.GetSelectedItem(), 2);
	multi.DeselectItem(2);
	EXPECT_EQ(multi.GetSelectedCount(), 1);
	multi.DeselectAll();
	EXPECT_EQ(multi.GetSelectedCount(), 0);
	EXPECT_TRUE(spy.events.empty());
}

TEST_F(ListBoxes, ScrollPositionStaysInsideTheRows)
{
	multi.SetScrollPosition(4);
	EXPECT_EQ(multi.GetScrollPosition(), 4);
	multi.SetScrollPosition(40);
	EXPECT_EQ(multi.GetScrollPosition(), 5);
	const short remembered = multi.GetScrollPosition();
	multi.DeleteItem(DG::ListBox::AllItems);
	EXPECT_EQ(multi.GetScrollPosition(), 1);
	for (int i = 0; i < 8; ++i)
		multi.AppendItem();
	multi.SetScrollPosition(remembered);
	EXPECT_EQ(multi.GetScrollPosition(), 5);
	multi.SetScrollPosition(-2);
	EXPECT_EQ(multi.GetScrollPosition(), 1);
}

TEST_F(ListBoxes, PlainClickSelectsTheRowAloneAndADoubleClickFollowsTheClick)
{
	multi.SelectItem(1);
	multi.SelectItem(2);
	ASSERT_TRUE(user.ClickListItem(MultiListItem, 3, 12));
	EXPECT_EQ(multi.GetSelectedItems(), std::vector<int> {3});
	EXPECT_EQ(spy.lastSource, &multi);
	ASSERT_TRUE(user.DoubleClickListItem(MultiListItem, 2, 40, DG::Modifier::Command | DG::Modifier::Option));
	EXPECT_EQ(spy.events,
		(std::vector<std::string> {"ListBoxSelectionChanged item 10", "ListBoxClicked row 3 x 12",
			"ListBoxSelectionChanged item 10", "ListBoxClicked row 2 x 40 command option",
			"ListBoxDoubleClicked row 2 x 40 command option"}));
}

TEST_F(ListBoxes, CommandTogglesAndShiftExtendsOnlyInAMultipleSelectionList)
{
	ASSERT_TRUE(user.ClickListItem(MultiListItem, 2));
	ASSERT_TRUE(user.ClickListItem(MultiListItem, 4, 0, DG::Modifier::Command));
	EXPECT_EQ(multi.GetSelectedItems(), (std::vector<int> {2, 4}));
	ASSERT_TRUE(user.ClickListItem(MultiListItem, 2, 0, DG::Modifier::Command));
	EXPECT_EQ(multi.GetSelectedItems(), std::vector<int> {4});
	ASSERT_TRUE(user.ClickListItem(MultiListItem, 1, 0, DG::Modifier::Shift));
	EXPECT_EQ(multi.GetSelectedItems(), (std::vector<int> {1, 2}));
	// Modifiers do not widen a single selection.
	ASSERT_TRUE(user.ClickListItem(SingleListItem, 2));
	ASSERT_TRUE(user.ClickListItem(SingleListItem, 4, 0, DG::Modifier::Command));
	EXPECT_EQ(single.GetSelectedItems(), std::vector<int> {4});
}

TEST_F(ListBoxes, ClicksOnMissingRowsAreRefused)
{
	EXPECT_FALSE(user.ClickListItem(MultiListItem, 0));
	EXPECT_FALSE(user.ClickListItem(MultiListItem, 6));
	EXPECT_FALSE(user.DoubleClickListItem(MultiListItem, 6));
	EXPECT_FALSE(user.RequestListContextMenu(MultiListItem, 6));
	EXPECT_FALSE(user.ClickListItem(OkItem, 1));
	EXPECT_TRUE(spy.events.empty());
}

TEST_F(ListBoxes, MouseOffsetReportsTheRowRelativeToTheScrollPosition)
{
	struct Where : DG::ListBoxObserver {
		DG::Point offset;
		void ListBoxClicked(const DG::ListBoxClickEvent& ev) override { offset = ev.GetMouseOffset(); }
	} where;
	multi.Attach(where);
	multi.SetScrollPosition(2);
	ASSERT_TRUE(user.ClickListItem(MultiListItem, 4, 30));
	EXPECT_EQ(where.offset.x, 30);
	EXPECT_EQ(where.offset.y, 2 * DG::ListBox::RowHeight + DG::ListBox::RowHeight / 2);
}

// Folding and unfolding from the list's own click handler: rows below the clicked one are
// inserted or removed while the library is raising the click.
class FoldingHandler : public DG::ListBoxObserver {
public:
	explicit FoldingHandler(DG::ListBox& target) : list(target) {}
	void ListBoxSelectionChanged(const DG::ListBoxSelectionEvent&) override
	{
		// Deletes the row before the clicked one while the selection is being reported.
		if (deleteOnSelection && list.GetItemCount() > 1)
			list.DeleteItem(1);
	}
	void ListBoxClicked(const DG::ListBoxClickEvent& ev) override
	{
		const short row = ev.GetListItem();
		if (row < 1 || row > list.GetItemCount())
			return;
		if (list.GetTabItemText(row, 1).starts_with("+")) {
			list.SetTabItemText(row, 1, "-" + list.GetTabItemText(row, 1).substr(1));
			for (short k = 0; k < 3; ++k) {
				list.InsertItem(static_cast<short>(row + 1 + k));
				list.SetTabItemText(static_cast<short>(row + 1 + k), 1, "  child " + std::to_string(k));
			}
		} else if (list.GetTabItemText(row, 1).starts_with("-")) {
			list.SetTabItemText(row, 1, "+" + list.GetTabItemText(row, 1).substr(1));
			while (
				row + 1 <= list.GetItemCount() && list.GetTabItemText(static_cast<short>(row + 1), 1).starts_with("  "))
				list.DeleteItem(static_cast<short>(row + 1));
		}
	}
	void ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent&) override { list.DeleteItem(DG::ListBox::AllItems); }

	bool deleteOnSelection = false;

private:
	DG::ListBox& list;
};

TEST_F(ListBoxes, RowsInsertedAndRemovedInsideTheListsOwnClickHandler)
{
	multi.SetTabItemText(1, 1, "+Window");
	FoldingHandler folding(multi);
	multi.Attach(folding);
	ASSERT_TRUE(user.ClickListItem(MultiListItem, 1));
	EXPECT_EQ(Names(),
		(std::vector<std::string> {
			"-Window", "  child 0", "  child 1", "  child 2", "Column", "Beam", "Window", "Door"}));
	ASSERT_TRUE(user.ClickListItem(MultiListItem, 1));
	EXPECT_EQ(Names(), (std::vector<std::string> {"+Window", "Column", "Beam", "Window", "Door"}));
}

TEST_F(ListBoxes, RowsRemovedBeforeTheClickIsReportedAndAllRowsRemovedOnDoubleClick)
{
	FoldingHandler folding(multi);
	folding.deleteOnSelection = true;
	multi.Attach(folding);
	ASSERT_TRUE(user.DoubleClickListItem(MultiListItem, 5));
	EXPECT_EQ(multi.GetItemCount(), 0);
	// The spy, attached first, heard every step with the row number of the original click.
	EXPECT_EQ(spy.events,
		(std::vector<std::string> {
			"ListBoxSelectionChanged item 10", "ListBoxClicked row 5 x 0", "ListBoxDoubleClicked row 5 x 0"}));
	EXPECT_FALSE(user.ClickListItem(MultiListItem, 1));
}

} // namespace
