// Panels drawn as text: items where they sit, each in the shape a person recognises, lists
// in columns with their selection and gray marks.
#include "DialogTestSupport.hpp"

namespace {

using namespace DialogTest;

TEST(TextRendering, MessageDialogShowsItsTextsLinesAndButtonsInTheirStates)
{
	DG::ModalDialog dialog(TestResources(), MessageDialog);
	EXPECT_EQ(DG::RenderText(dialog),
		"=== Message ===\n"
		"  First line\n"
		"  Second\n"
		"  Third\n"
		"  [ ] Tick me       [ OK ]\n");
	DG::CheckBox(dialog, 4).Check();
	DG::Button(dialog, 1).Disable();
	DG::LeftText(dialog, 3).Hide();
	EXPECT_EQ(DG::RenderText(dialog),
		"=== Message ===\n"
		"  First line\n"
		"  [x] Tick me       [ OK ] (disabled)\n");
}

TEST(TextRendering, EveryItemKindHasItsShape)
{
	DG::ModalDialog dialog(TestResources(), LibraryDialog);
	DG::RadioButton(dialog, SecondRadioItem).Select();
	DG::IntEdit(dialog, EditItem).SetValue(-3);
	DG::PopUp popUp(dialog, PopUpItem);
	popUp.AppendItem();
	popUp.SetItemText(1, "Simple");
	DG::SingleSelListBox(dialog, SingleListItem).Hide();
	DG::MultiSelListBox(dialog, MultiListItem).Hide();
	const std::string text = DG::RenderText(dialog);
	for (const char* shape : {"Hello", "Middle", "Right", "@", "( ) First", "(*) Second", "[  -3]", "[Simple v]", "<0>",
			 "[ ] Remember", "[ OK ]", "[ Cancel ]"}) {
		EXPECT_NE(text.find(shape), std::string::npos) << shape << " missing in\n" << text;
	}
}

TEST(TextRendering, ListRowsShowFieldsInColumnsWithMarks)
{
	DG::ModalDialog dialog(TestResources(), LibraryDialog);
	DG::MultiSelListBox(dialog, MultiListItem).Hide();
	DG::SingleSelListBox list(dialog, SingleListItem);
	list.SetTabFieldCount(3);
	list.SetTabFieldProperties(1, 0, 12, DG::ListBox::Left, DG::ListBox::NoTruncate);
	list.SetTabFieldProperties(2, 12, 60, DG::ListBox::Left, DG::ListBox::EndTruncate);
	list.SetTabFieldProperties(3, 60, 90, DG::ListBox::Right, DG::ListBox::NoTruncate);
	list.AppendItem();
	list.SetTabItemIcon(1, 1, DG::Icon(TestResources(), RightIcon));
	list.SetTabItemText(1, 2, "Window");
	list.SetTabItemText(1, 3, "12");
	list.AppendItem();
	list.SetTabItemText(2, 2, "A very long name");
	list.SetTabItemText(2, 3, "3");
	list.GrayItem(2);
	list.SelectItem(1);
	const std::string text = DG::RenderText(dialog);
	// The list sits at x 10 (column 1); fields at columns 0, 2 and 10 of the row, the third
	// right-aligned in its 5 columns, the long name cut to its 8 columns.
	EXPECT_NE(text.find("\n >  > Window     12\n"), std::string::npos) << text;
	EXPECT_NE(text.find("\n  ~   A ver...    3\n"), std::string::npos) << text;
}

TEST(TextRendering, HiddenColumnsAndEmptyListsAndTruncationInTheMiddle)
{
	DG::ModalDialog dialog(TestResources(), LibraryDialog);
	DG::MultiSelListBox multi(dialog, MultiListItem);
	multi.Hide();
	DG::SingleSelListBox list(dialog, SingleListItem);
	EXPECT_NE(DG::RenderText(dialog).find("(empty list)"), std::string::npos);
	list.SetTabFieldCount(2);
	list.SetTabFieldProperties(1, 0, 54, DG::ListBox::Left, DG::ListBox::MiddleTruncate);
	list.SetTabFieldProperties(2, 0, 0, DG::ListBox::Left, DG::ListBox::NoTruncate);
	list.AppendItem();
	list.SetTabItemText(1, 1, "Detailed level");
	list.SetTabItemText(1, 2, "hidden column");
	const std::string text = DG::RenderText(dialog);
	EXPECT_NE(text.find("Det...vel"), std::string::npos) << text;
	EXPECT_EQ(text.find("hidden column"), std::string::npos) << text;
}

TEST(TextRendering, PaletteShowsItsTabPagesIndented)
{
	DG::Palette palette(DG::Rect::FromSize(0, 0, 200, 200), TestGuid());
	palette.SetTitle("Facetally");
	DG::TabControl control(palette, DG::Rect::FromSize(0, 0, 200, 100));
	DG::TabPage page(control, 1, TestResources(), PageDialog);
	EXPECT_EQ(DG::RenderText(palette),
		"=== Facetally ===\n"
		"  --- tab page 1 ---\n"
		"   [ Press ]      On the page\n");
	palette.DisableItems();
	EXPECT_NE(DG::RenderText(palette).find("[ Press ] (disabled)"), std::string::npos);
}

} // namespace
