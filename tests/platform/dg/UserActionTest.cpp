// A person's actions and the events they raise, against changes made by code, which raise
// none; and the actions a person cannot take, which are refused and change nothing.
#include "DialogTestSupport.hpp"

namespace {

using namespace DialogTest;

class UserActions : public ::testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_TRUE(palette->IsValid()) << palette->GetProblem();
		ok.Attach(spy);
		cancel.Attach(spy);
		remember.Attach(spy);
		first.Attach(spy);
		second.Attach(spy);
		edit.Attach(spy);
		popUp.Attach(spy);
		singleList.Attach(spy);
		multiList.Attach(spy);
		control.Attach(spy);
		palette->Attach(static_cast<DG::PanelObserver&>(spy));
		for (const char* text : {"Detailed", "Simple", "Off"}) {
			popUp.AppendItem();
			popUp.SetItemText(popUp.GetItemCount(), text);
		}
	}

	EventSpy spy;
	std::unique_ptr<DG::Palette> palette = OpenLibraryPalette();
	DG::Button ok {*palette, OkItem};
	DG::Button cancel {*palette, CancelItem};
	DG::CheckBox remember {*palette, RememberItem};
	DG::RadioButton first {*palette, FirstRadioItem};
	DG::RadioButton second {*palette, SecondRadioItem};
	DG::IntEdit edit {*palette, EditItem};
	DG::PopUp popUp {*palette, PopUpItem};
	DG::SingleSelListBox singleList {*palette, SingleListItem};
	DG::MultiSelListBox multiList {*palette, MultiListItem};
	DG::UserControl control {*palette, UserControlItem};
	DG::User user {*palette};
};

TEST_F(UserActions, ChangesMadeByCodeRaiseNoEvents)
{
	remember.Check();
	first.Select();
	second.Select();
	edit.SetValue(5);
	popUp.SelectItem(3);
	singleList.AppendItem();
	singleList.SelectItem(1);
	multiList.AppendItem();
	multiList.SelectItem(1);
	control.SetValue(9);
	ok.SetText("Go");
	palette->SetSize(400, 300);
	EXPECT_TRUE(spy.events.empty()) << spy.events.front();
}

TEST_F(UserActions, EachActionRaisesOneEventPerChangeWithItsItemAsSource)
{
	first.Select();
	edit.SetValue(3);
	ASSERT_TRUE(user.Click(OkItem));
	EXPECT_EQ(spy.lastSource, &ok);
	ASSERT_TRUE(user.Click("Remember"));
	EXPECT_TRUE(remember.IsChecked());
	ASSERT_TRUE(user.Click("Remember"));
	EXPECT_FALSE(remember.IsChecked());
	ASSERT_TRUE(user.Click("Second"));
	EXPECT_TRUE(second.IsSelected());
	EXPECT_FALSE(first.IsSelected());
	ASSERT_TRUE(user.Click("Second")) << "choosing the chosen one again changes nothing";
	EXPECT_EQ(spy.lastSource, &second);
	ASSERT_TRUE(user.Type(EditItem, "7"));
	ASSERT_TRUE(user.Type(EditItem, " -2 "));
	ASSERT_TRUE(user.Type(EditItem, -2));
	ASSERT_TRUE(user.ChoosePopUpItem(PopUpItem, "Off"));
	ASSERT_TRUE(user.ChoosePopUpItem(PopUpItem, 3));
	ASSERT_TRUE(user.ChoosePopUpItem(PopUpItem, 2));
	EXPECT_FALSE(user.ChoosePopUpItem(PopUpItem, 4));
	EXPECT_FALSE(user.ChoosePopUpItem(PopUpItem, "Custom"));
	EXPECT_EQ(spy.events,
		(std::vector<std::string> {"ButtonClicked item 1", "CheckItemChanged checked item 3",
			"CheckItemChanged clear item 3", "RadioItemChanged item 6", "IntEditChanged 3 to 7 item 7",
			"IntEditChanged 7 to -2 item 7", "PopUpChanged 1 to 3 item 8", "PopUpChanged 3 to 2 item 8"}));
}

TEST_F(UserActions, EditRefusesValuesOutsideItsLimitsAndTextsThatAreNoNumbers)
{
	edit.SetValue(4);
	DG::ActionResult tooLarge = user.Type(EditItem, 11);
	EXPECT_FALSE(tooLarge);
	EXPECT_NE(tooLarge.GetProblem().find("-10 to 10"), std::string::npos) << tooLarge.GetProblem();
	EXPECT_FALSE(user.Type(EditItem, "-11"));
	EXPECT_FALSE(user.Type(EditItem, "abc"));
	EXPECT_FALSE(user.Type(EditItem, "5x"));
	EXPECT_FALSE(user.Type(EditItem, ""));
	EXPECT_FALSE(user.Type(EditItem, "99999999999"));
	EXPECT_EQ(edit.GetValue(), 4);
	EXPECT_TRUE(spy.events.empty());
}

TEST_F(UserActions, HiddenDisabledAndWrongKindItemsRefuseAndRaiseNothing)
{
	ok.Hide();
	DG::ActionResult hidden = user.Click(OkItem);
	EXPECT_FALSE(hidden);
	EXPECT_NE(hidden.GetProblem().find("hidden"), std::string::npos);
	EXPECT_EQ(user.FindItem("OK"), 0);

	cancel.Disable();
	DG::ActionResult disabled = user.Click("Cancel");
	EXPECT_FALSE(disabled);
	EXPECT_NE(disabled.GetProblem().find("disabled"), std::string::npos);

	EXPECT_FALSE(user.Click(EditItem));
	EXPECT_FALSE(user.Click(HelloItem));
	EXPECT_FALSE(user.Type(OkItem, 1));
	EXPECT_FALSE(user.Click(99));
	EXPECT_TRUE(spy.events.empty());
}

TEST_F(UserActions, HiddenOrNotProcessingPaletteOrAModalDialogNotOpenRefusesEveryAction)
{
	palette->Hide();
	EXPECT_FALSE(user.Click("OK"));
	palette->Show();
	palette->EndEventProcessing();
	DG::ActionResult result = user.Click("OK");
	EXPECT_FALSE(result);
	EXPECT_NE(result.GetProblem().find("does not process events"), std::string::npos);
	EXPECT_TRUE(spy.events.empty());
	DG::ModalDialog dialog(TestResources(), LibraryDialog);
	const DG::ActionResult notOpen = DG::User(dialog).Click("OK");
	EXPECT_FALSE(notOpen);
	EXPECT_NE(notOpen.GetProblem().find("not open"), std::string::npos);
}

TEST_F(UserActions, RegisteredHotKeyReachesThePanelObservers)
{
	EXPECT_FALSE(user.PressKey(DG::Key::Escape));
	palette->EnableHotKeys();
	const short id = palette->RegisterHotKey(DG::Key::Escape);
	EXPECT_GT(id, 0);
	EXPECT_EQ(palette->RegisterHotKey(DG::Key::Escape), 0);
	ASSERT_TRUE(user.PressKey(DG::Key::Escape));
	EXPECT_FALSE(user.PressKey(DG::Key::Escape, DG::Modifier::Command));
	EXPECT_FALSE(user.PressKey(DG::Key::Enter));
	palette->UnregisterHotKey(id);
	EXPECT_FALSE(user.PressKey(DG::Key::Escape));
	EXPECT_EQ(spy.events, std::vector<std::string> {"PanelHotkeyPressed " + std::to_string(id)});
}

TEST_F(UserActions, CloseBoxHidesAModelessDialogUnlessRefused)
{
	spy.refuseClose = true;
	ASSERT_TRUE(user.PressCloseBox());
	EXPECT_TRUE(palette->IsVisible());
	spy.refuseClose = false;
	ASSERT_TRUE(user.PressCloseBox());
	EXPECT_FALSE(palette->IsVisible());
	EXPECT_EQ(spy.events, (std::vector<std::string> {"PanelCloseRequested", "PanelCloseRequested"}));
}

TEST_F(UserActions, ObserversHearEventsInTheOrderTheyAttached)
{
	struct Recorder : DG::ButtonItemObserver {
		Recorder(std::vector<std::string>& log, std::string name) : out(log), label(std::move(name)) {}
		void ButtonClicked(const DG::ButtonClickEvent&) override { out.push_back(label); }
		std::vector<std::string>& out;
		std::string label;
	};
	std::vector<std::string> order;
	Recorder a(order, "a"), b(order, "b");
	DG::Button again(*palette, CancelItem);
	again.Attach(b);
	again.Attach(a);
	again.Attach(b);
	ASSERT_TRUE(user.Click("Cancel"));
	EXPECT_EQ(order, (std::vector<std::string> {"b", "a"}));
}

TEST(PaletteOpening, PanelOpenedComesOnceWhenShownAndProcessingAndThenToItsPages)
{
	DG::Palette palette(DG::Rect::FromSize(0, 0, 200, 200), TestGuid());
	DG::TabControl control(palette, DG::Rect::FromSize(0, 0, 200, 100));
	DG::TabPage page(control, 1, TestResources(), PageDialog);
	std::vector<std::string> order;
	struct Opened : DG::PanelObserver {
		Opened(std::vector<std::string>& log, std::string name) : out(log), label(std::move(name)) {}
		void PanelOpened(const DG::PanelOpenEvent&) override { out.push_back(label); }
		std::vector<std::string>& out;
		std::string label;
	};
	Opened paletteObserver(order, "palette"), pageObserver(order, "page");
	palette.Attach(paletteObserver);
	page.Attach(pageObserver);
	palette.Show();
	EXPECT_TRUE(order.empty());
	palette.BeginEventProcessing();
	palette.Hide();
	palette.Show();
	EXPECT_EQ(order, (std::vector<std::string> {"palette", "page"}));
}

TEST(TabPageActions, PageItemsFollowThePaletteAndItsTabControl)
{
	DG::Palette palette(DG::Rect::FromSize(0, 0, 200, 200), TestGuid());
	DG::TabControl control(palette, DG::Rect::FromSize(0, 0, 200, 100));
	DG::TabPage page(control, 1, TestResources(), PageDialog);
	EventSpy spy;
	DG::Button press(page, 1);
	press.Attach(spy);
	DG::User user(page);
	EXPECT_FALSE(user.Click("Press"));
	palette.BeginEventProcessing();
	palette.Show();
	ASSERT_TRUE(user.Click("Press"));
	palette.DisableItems();
	EXPECT_FALSE(user.Click("Press"));
	palette.EnableItems();
	control.Disable();
	EXPECT_FALSE(user.Click("Press"));
	control.Enable();
	control.Hide();
	EXPECT_FALSE(user.Click("Press"));
	control.Show();
	EXPECT_FALSE(user.PressCloseBox());
	ASSERT_TRUE(user.Resize(180, 40));
	EXPECT_EQ(spy.events, std::vector<std::string> {"ButtonClicked item 1"});
}

} // namespace
