// Menu items registered by add-ons, their texts from the add-ons' resources, the check mark
// through the item flags, and the dispatch of menu commands.
#include "TestHost.hpp"

#include "Win/Windows.hpp"

namespace ReferenceHost::Testing {
namespace {

namespace Entry = HostSdk::Entry;
namespace Selectors = HostSdk::Selectors;

class MenuTest : public HostTest {};

TEST_F(MenuTest, ARegisteredItemShowsItsTextWithoutTheHostsCodes)
{
	const AddOn& addOn = Load(TestAddOnA);
	ASSERT_EQ(host->Menus().Items().size(), 1u);
	const MenuItem& item = host->Menus().Items().front();
	EXPECT_EQ(item.owner, &addOn);
	EXPECT_EQ(item.resourceText, "Test Add-On A^E3");
	EXPECT_EQ(item.text, "Test Add-On A");
	EXPECT_EQ(item.prompt, "Status bar A");
	EXPECT_EQ(item.menuStringListId, 32500);
	EXPECT_EQ(item.itemIndex, 1);
	EXPECT_EQ(item.promptStringListId, 32502);
	EXPECT_EQ(item.placement, 12u);
	EXPECT_EQ(item.flags, 0u);
	EXPECT_FALSE(item.Checked());
}

TEST_F(MenuTest, EveryTextOfTheStringListBecomesAnItem)
{
	const AddOn& addOn = Load(TestAddOnB);
	const std::vector<const MenuItem*> items = host->Menus().ItemsOf(addOn);
	ASSERT_EQ(items.size(), 2u);
	EXPECT_EQ(items[1]->text, "Second Item of B");
	EXPECT_EQ(items[1]->itemIndex, 2);
	EXPECT_EQ(items[1]->prompt, "") << "the prompt list has no second text";
}

TEST_F(MenuTest, ChoosingAnItemCallsItsHandlerWithItsParameters)
{
	const AddOn& addOn = Load(TestAddOnB);
	ASSERT_TRUE(host->ChooseMenuItem("Second Item of B"));
	const TestAddOnControl& control = ControlOf(addOn);
	ASSERT_EQ(control.menuParams.size(), 1u);
	EXPECT_EQ(control.menuParams[0].menuStringListId, 32500);
	EXPECT_EQ(control.menuParams[0].itemIndex, 2);
	EXPECT_EQ(control.menuParams[0].reserved[0], 0u);
	EXPECT_EQ(host->Report().Lines(), std::vector<std::string> {"Test Add-On B menu command 2"});
}

TEST_F(MenuTest, WarningBeepsOfACommandAreHeardInTheTranscript)
{
	Load(TestAddOnA, [](TestAddOnControl& control) { control.warningBeepsPerMenuCommand = 2; });
	const std::size_t countedBefore = Win::GetBeepCount();
	ASSERT_TRUE(host->ChooseMenuItem("Test Add-On A"));
	EXPECT_EQ(host->BeepsHeard(), 2u);
	EXPECT_EQ(Win::GetBeepCount() - countedBefore, 2u);
	EXPECT_EQ(host->SessionTranscript().Texts(TranscriptKind::Sound),
		(std::vector<std::string> {"warning beep", "warning beep"}));
	const std::string printed = host->SessionTranscript().ToText(false);
	EXPECT_NE(printed.find("sound   warning beep\nsound   warning beep\nmenu    [x] Test Add-On A\n"
						   "report  | Test Add-On A menu command 1\n"),
		std::string::npos)
		<< printed;
}

TEST_F(MenuTest, ItemsAreFoundRegardlessOfCaseWhenUnambiguous)
{
	Load(TestAddOnA);
	Load(TestAddOnB);
	EXPECT_NE(host->Menus().Find("test add-on a"), nullptr);
	EXPECT_EQ(host->Menus().Find("Test Add-On"), nullptr);
	const Outcome missing = host->ChooseMenuItem("Nothing Like It");
	EXPECT_FALSE(missing.ok);
	EXPECT_EQ(missing.problem, "There is no menu item \"Nothing Like It\"");
}

TEST_F(MenuTest, AnItemWithoutHandlerDoesNothing)
{
	Load(TestAddOnA, [](TestAddOnControl& control) { control.installMenuHandler = false; });
	const Outcome outcome = host->ChooseMenuItem("Test Add-On A");
	EXPECT_FALSE(outcome.ok);
	EXPECT_NE(outcome.problem.find("installed no handler"), std::string::npos);
}

TEST_F(MenuTest, AHandlerFailureFailsTheCommand)
{
	Load(TestAddOnA, [](TestAddOnControl& control) { control.menuHandlerAnswer = HostSdk::StatusRefused; });
	const Outcome outcome = host->ChooseMenuItem("Test Add-On A");
	EXPECT_FALSE(outcome.ok);
	EXPECT_EQ(outcome.problem, "The menu command \"Test Add-On A\" failed (status 0x81060100)");
}

TEST_F(MenuTest, AMissingMenuStringListIsRefused)
{
	AddOn& addOn = Load(TestAddOnA, [](TestAddOnControl& control) { control.menuStringListId = 31999; });
	EXPECT_EQ(ControlOf(addOn).menuRegistrationAnswer, HostSdk::StatusBadParameter);
	EXPECT_TRUE(host->Menus().Items().empty());
	EXPECT_TRUE(TranscriptHas(*host, TranscriptKind::Error, "menu string list 31999 is missing"));
}

TEST_F(MenuTest, TheRegistrationOutsideAnyCallIntoAnAddOnIsRefused)
{
	Load(TestAddOnA);
	HostSdk::MenuRegistrationRecord record {};
	record.menuStringListId = 32502;
	EXPECT_EQ(CallSlot<Entry::MenuRegistration>(
				  host->Table().Slots(), static_cast<const HostSdk::MenuRegistrationRecord*>(&record)),
		HostSdk::StatusRefused);
}

TEST_F(MenuTest, FlagCallsCheckTheirItemAndPointers)
{
	const ModuleToken token = Load(TestAddOnA).Token();
	const HostSdk::HostFunction* slots = host->Table().Slots();
	HostSdk::MenuItemRef unknown {32500, 2};
	HostSdk::MenuItemRef known {32500, 1};
	std::uint32_t flags = 0x12;
	EXPECT_EQ(CallSlot<Entry::Interface>(
				  slots, token, Selectors::SetMenuItemFlags, static_cast<void*>(&unknown), static_cast<void*>(&flags)),
		HostSdk::StatusBadIndex);
	EXPECT_EQ(CallSlot<Entry::Interface>(
				  slots, token, Selectors::SetMenuItemFlags, static_cast<void*>(nullptr), static_cast<void*>(&flags)),
		HostSdk::StatusBadParameter);
	EXPECT_EQ(CallSlot<Entry::Interface>(
				  slots, token, Selectors::GetMenuItemFlags, static_cast<void*>(&known), static_cast<void*>(nullptr)),
		HostSdk::StatusBadParameter);
	ASSERT_EQ(CallSlot<Entry::Interface>(
				  slots, token, Selectors::SetMenuItemFlags, static_cast<void*>(&known), static_cast<void*>(&flags)),
		0);
	std::uint32_t read = 0;
	ASSERT_EQ(CallSlot<Entry::Interface>(
				  slots, token, Selectors::GetMenuItemFlags, static_cast<void*>(&known), static_cast<void*>(&read)),
		0);
	EXPECT_EQ(read, 0x12u) << "every flag bit is kept, not only the check mark";
	EXPECT_TRUE(host->Menus().Find("Test Add-On A")->Checked());
}

TEST_F(MenuTest, AnAddOnReachesOnlyItsOwnItems)
{
	Load(TestAddOnA);
	const ModuleToken tokenB = Load(TestAddOnB).Token();
	HostSdk::MenuItemRef item {32500, 1};
	std::uint32_t flags = HostSdk::MenuItemCheckedFlag;
	ASSERT_EQ(CallSlot<Entry::Interface>(host->Table().Slots(), tokenB, Selectors::SetMenuItemFlags,
				  static_cast<void*>(&item), static_cast<void*>(&flags)),
		0);
	EXPECT_TRUE(host->Menus().Find("Test Add-On B")->Checked());
	EXPECT_FALSE(host->Menus().Find("Test Add-On A")->Checked());
}

TEST_F(MenuTest, AnUnloadedAddOnsItemsAndHandlersAreGone)
{
	AddOn& addOn = Load(TestAddOnA);
	host->UnloadAddOn(addOn);
	EXPECT_TRUE(host->Menus().Items().empty());
	EXPECT_EQ(host->Menus().HandlerOf(addOn, 32500), nullptr);
}

} // namespace
} // namespace ReferenceHost::Testing
