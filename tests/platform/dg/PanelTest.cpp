// Panels and items built from the test program's dialog resources: ids and validity, the
// items' state as the resource gives it, handles of the wrong kind, tab pages.
#include "DialogTestSupport.hpp"

namespace {

using namespace DialogTest;

TEST(PanelBuilding, DialogTakesSizeTitleAndItemsFromItsResource)
{
	DG::ModalDialog dialog(TestResources(), LibraryDialog);
	ASSERT_TRUE(dialog.IsValid()) << dialog.GetProblem();
	EXPECT_EQ(dialog.GetTitle(), "Library test");
	EXPECT_EQ(dialog.GetClientWidth(), 300);
	EXPECT_EQ(dialog.GetClientHeight(), 200);
	EXPECT_EQ(dialog.GetItemCount(), 14);
	EXPECT_EQ(dialog.GetResourceId(), LibraryDialog);

	DG::Button ok(dialog, OkItem);
	EXPECT_TRUE(ok.IsValid());
	EXPECT_EQ(ok.GetText(), "OK");
	EXPECT_EQ(ok.GetRect(), DG::Rect::FromSize(10, 170, 80, 24));
	EXPECT_TRUE(ok.IsVisible());
	EXPECT_TRUE(ok.IsEnabled());

	DG::IntEdit edit(dialog, EditItem);
	EXPECT_EQ(edit.GetMin(), -10);
	EXPECT_EQ(edit.GetMax(), 10);
	EXPECT_EQ(edit.GetValue(), 0);

	EXPECT_EQ(DG::RadioButton(dialog, FirstRadioItem).GetGroup(), 1);

	DG::IconItem icon(dialog, IconItemNumber);
	EXPECT_EQ(icon.GetIcon().GetGlyph(), "@");
	EXPECT_EQ(icon.GetIcon().GetResourceId(), DG::Icon::NoResource);
}

TEST(PanelBuilding, MissingResourceGivesAnInvalidPanelWithTheReason)
{
	DG::ModalDialog dialog(TestResources(), 4321);
	EXPECT_FALSE(dialog.IsValid());
	EXPECT_NE(dialog.GetProblem().find("4321"), std::string::npos) << dialog.GetProblem();
	EXPECT_NE(DG::RenderText(dialog).find("not valid: dialog resource 4321"), std::string::npos);
	EXPECT_EQ(dialog.GetItemCount(), 0);
	DG::Button button(dialog, 1);
	EXPECT_FALSE(button.IsValid());
	button.SetText("ignored");
	EXPECT_EQ(button.GetText(), "");
	EXPECT_FALSE(dialog.Invoke());
	EXPECT_FALSE(DG::ModalDialog(VX::NoResourceModule, LibraryDialog).IsValid());
}

TEST(ItemHandles, HandlesOfTheWrongKindOrOutsideThePanelAreNotValidAndChangeNothing)
{
	DG::ModalDialog dialog(TestResources(), LibraryDialog);
	DG::CheckBox notACheckBox(dialog, OkItem);
	EXPECT_FALSE(notACheckBox.IsValid());
	notACheckBox.Hide();
	notACheckBox.SetText("changed");
	DG::Button ok(dialog, OkItem);
	EXPECT_TRUE(ok.IsVisible());
	EXPECT_EQ(ok.GetText(), "OK");
	EXPECT_FALSE(DG::Item(dialog, 0).IsValid());
	EXPECT_FALSE(DG::Item(dialog, 15).IsValid());
	EXPECT_FALSE(DG::Item(dialog, -1).IsValid());
	EXPECT_TRUE(DG::Item(dialog, 14).IsValid());
}

TEST(ItemHandles, TwoHandlesOnOneItemShareItsState)
{
	DG::ModalDialog dialog(TestResources(), LibraryDialog);
	DG::LeftText one(dialog, HelloItem);
	DG::Item other(dialog, HelloItem);
	one.SetText("Changed");
	one.SetRect(DG::Rect {1, 2, 3, 4});
	one.Hide();
	EXPECT_EQ(other.GetRect(), (DG::Rect {1, 2, 3, 4}));
	EXPECT_FALSE(other.IsVisible());
	EXPECT_EQ(other.GetKind(), DG::ItemKind::LeftText);
}

TEST(ItemHandles, HandleOutlivingItsPanelAnswersEmptyValues)
{
	auto dialog = std::make_unique<DG::ModalDialog>(TestResources(), LibraryDialog);
	DG::Button ok(*dialog, OkItem);
	dialog.reset();
	EXPECT_FALSE(ok.IsValid());
	EXPECT_EQ(ok.GetPanel(), nullptr);
	EXPECT_EQ(ok.GetText(), "");
	ok.SetText("nothing happens");
}

TEST(ItemState, IntEditValuesSetByCodeStayWithinLimits)
{
	DG::ModalDialog dialog(TestResources(), LibraryDialog);
	DG::IntEdit edit(dialog, EditItem);
	edit.SetValue(50);
	EXPECT_EQ(edit.GetValue(), 10);
	edit.SetValue(-50);
	EXPECT_EQ(edit.GetValue(), -10);
	edit.SetMin(-5);
	EXPECT_EQ(edit.GetValue(), -5);
}

TEST(ItemState, PopUpKeepsItsSelectedTextAcrossInsertsAndDeletes)
{
	DG::ModalDialog dialog(TestResources(), LibraryDialog);
	DG::PopUp popUp(dialog, PopUpItem);
	EXPECT_EQ(popUp.GetSelectedItem(), 0);
	for (const char* text : {"Detailed", "Simple", "Off"}) {
		popUp.AppendItem();
		popUp.SetItemText(popUp.GetItemCount(), text);
	}
	EXPECT_EQ(popUp.GetSelectedItem(), 1);
	popUp.SelectItem(2);
	popUp.InsertItem(1);
	EXPECT_EQ(popUp.GetItemText(popUp.GetSelectedItem()), "Simple");
	popUp.DeleteItem(1);
	popUp.DeleteItem(3);
	EXPECT_EQ(popUp.GetItemText(popUp.GetSelectedItem()), "Simple");
	popUp.DeleteItem(2);
	EXPECT_EQ(popUp.GetSelectedItem(), 1);
	popUp.SelectItem(7);
	EXPECT_EQ(popUp.GetSelectedItem(), 1);
	EXPECT_EQ(popUp.GetItemText(9), "");
}

TEST(Icons, IconsLoadFromIconResources)
{
	DG::Icon right(TestResources(), RightIcon);
	EXPECT_TRUE(right.IsLoaded());
	EXPECT_EQ(right.GetGlyph(), ">");
	EXPECT_EQ(right.GetWidth(), 16);
	EXPECT_EQ(right.GetResourceId(), RightIcon);
	EXPECT_EQ(right, DG::Icon(TestResources(), RightIcon));
	EXPECT_NE(right, DG::Icon(TestResources(), DownIcon));

	DG::Icon missing(TestResources(), 1199);
	EXPECT_FALSE(missing.IsLoaded());
	EXPECT_EQ(missing.GetResourceId(), 1199);
	EXPECT_TRUE(DG::Icon().IsEmpty());
	EXPECT_EQ(DG::Icon().GetResourceId(), -1);
}

class TabPages : public ::testing::Test {
protected:
	DG::Palette palette {DG::Rect::FromSize(10, 10, 380, 417), TestGuid(), DG::Dialog::HVGrow};
	DG::TabControl control {palette, DG::Rect::FromSize(0, 0, 380, 100)};
};

TEST_F(TabPages, PageKnowsItsDialogAndTheControlKnowsThePageUntilItIsDeleted)
{
	ASSERT_TRUE(control.IsValid());
	EXPECT_EQ(control.GetIndex(), 1);
	auto page = std::make_unique<DG::TabPage>(control, 1, TestResources(), PageDialog);
	ASSERT_TRUE(page->IsValid()) << page->GetProblem();
	EXPECT_EQ(page->GetParentDialog(), &palette);
	EXPECT_EQ(control.GetTabPage(1), page.get());
	EXPECT_EQ(control.GetTabPageCount(), 1);
	EXPECT_EQ(control.GetTabPage(2), nullptr);
	EXPECT_EQ(DG::Button(*page, 1).GetText(), "Press");
	DG::TabPage again(control, 1, TestResources(), PageDialog);
	EXPECT_FALSE(again.IsValid()) << "a second page of the same number";
	EXPECT_EQ(control.GetTabPage(1), page.get());
	page.reset();
	EXPECT_EQ(control.GetTabPage(1), nullptr);
	EXPECT_EQ(control.GetTabPageCount(), 0);
	DG::TabPage replacement(control, 1, TestResources(), PageDialog);
	EXPECT_TRUE(replacement.IsValid());
}

TEST(DialogProperties, MoveResizeBracketsNestAndAnUnmatchedEndIsHarmless)
{
	DG::Palette palette(DG::Rect::FromSize(0, 0, 10, 10), TestGuid());
	palette.EndMoveResizeItems();
	EXPECT_FALSE(palette.IsMovingResizingItems());
	palette.BeginMoveResizeItems();
	palette.BeginMoveResizeItems();
	palette.EndMoveResizeItems();
	EXPECT_TRUE(palette.IsMovingResizingItems());
	palette.EndMoveResizeItems();
	EXPECT_FALSE(palette.IsMovingResizingItems());
}

} // namespace
