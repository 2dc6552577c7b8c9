// The menu command and the project events of the real module, through the reference host:
// the palette opens and closes with the menu command and the menu item's check mark follows
// it; the project's closing closes it and the next project brings it back; the host's quit
// ends the subscription; and a palette that cannot be built stays closed.
#include "ModuleFixture.hpp"

#include "HostSdk/HostApi.hpp"

#include <optional>

namespace {

using namespace HostSdk;
using ReferenceHost::AddOn;

class MenuCommandTest : public ModuleFixture {};

TEST_F(MenuCommandTest, TheCheckMarkFollowsTwoMenuCommands)
{
	AddOn& addOn = LoadModule();
	ASSERT_FALSE(PaletteShown(addOn));

	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	EXPECT_TRUE(PaletteShown(addOn));
	// Building the palette subscribes the module to every project event.
	const std::optional<ReferenceHost::EventRegistration> registration = host->Events().RegistrationOf(addOn);
	ASSERT_TRUE(registration.has_value());
	EXPECT_EQ(registration->mask, 0xFFu);
	EXPECT_NE(registration->handler, nullptr);
	EXPECT_EQ(Calls(Entry::EventRegistration), 1u);

	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	EXPECT_FALSE(PaletteShown(addOn));

	// A fresh palette subscribes again.
	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	EXPECT_TRUE(PaletteShown(addOn));
	EXPECT_EQ(Calls(Entry::EventRegistration), 2u);
}

TEST_F(MenuCommandTest, TheMarkKeepsTheItemsOtherFlags)
{
	AddOn& addOn = LoadModule();
	// The host's own flag bits on the item survive the module's marking.
	const_cast<ReferenceHost::MenuItem&>(MenuItemOf(addOn)).flags = 0x41;
	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	EXPECT_EQ(MenuItemOf(addOn).flags, 0x43u);
	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	EXPECT_EQ(MenuItemOf(addOn).flags, 0x41u);
}

TEST_F(MenuCommandTest, ACommandOfAnotherMenuListDoesNothing)
{
	AddOn& addOn = LoadModule();
	const std::uint64_t interfaceCalls = Calls(Entry::Interface);
	MenuParams params {};
	params.menuStringListId = 32501;
	params.itemIndex = 1;
	const ReferenceHost::MenuChoice choice = host->Menus().SendParams(addOn, 32500, params);
	EXPECT_TRUE(choice.dispatched);
	EXPECT_EQ(choice.status, 0);
	EXPECT_FALSE(PaletteShown(addOn));
	EXPECT_EQ(Calls(Entry::EventRegistration), 0u);
	EXPECT_EQ(Calls(Entry::Interface), interfaceCalls);
}

TEST_F(MenuCommandTest, APaletteThatCannotBeBuiltStaysClosed)
{
	AddOn& addOn = LoadModule();
	// Take the module's resources away (its own addition and the host's opening of them):
	// the palette's pages cannot be built from their dialog resources.
	std::int32_t removed = 0;
	for (VX::ResourceModuleId id = 0; id <= addOn.ResourceModule(); ++id) {
		std::uint32_t size = 0;
		const void* identity = RSLoadResource(VX::ResourceTypes::ModuleIdentity, 32500, id, &size);
		if (identity != nullptr && RSRemoveModule(id))
			++removed;
	}
	ASSERT_EQ(removed, 2);

	ASSERT_TRUE(host->ChooseMenuItem(MenuItemOf(addOn)));
	EXPECT_FALSE(PaletteShown(addOn));
	// The palette subscribes before it builds its pages, but is never shown nor registered.
	EXPECT_EQ(Calls(Entry::EventRegistration), 1u);
	EXPECT_EQ(Calls(Entry::PaletteRegistration), 0u);
	EXPECT_EQ(SelectorCalls(Entry::Interface, Selectors::SetMenuItemFlags), 0u);
}

TEST_F(MenuCommandTest, TogglingWorksWithoutTheHostsMenuFlags)
{
	AddOn& addOn = LoadModule();
	host->Table().EmptyEntry(Entry::Interface);
	ASSERT_EQ(host->HandOverTable(addOn), 0);
	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	EXPECT_EQ(Calls(Entry::EventRegistration), 1u) << "the palette was not built";
	EXPECT_FALSE(PaletteShown(addOn));
	EXPECT_EQ(Calls(Entry::Interface), 0u);
}

class ProjectEventsTest : public ModuleFixture {
protected:
	AddOn& LoadWithPaletteOpen()
	{
		AddOn& addOn = LoadModule();
		EXPECT_TRUE(host->ChooseMenuItem("Facetally"));
		EXPECT_TRUE(PaletteShown(addOn));
		return addOn;
	}
};

TEST_F(ProjectEventsTest, ClosingTheProjectClosesThePaletteAndTheNextProjectReopensIt)
{
	AddOn& addOn = LoadWithPaletteOpen();

	host->RaiseProjectEvent(ProjectEvents::Close);
	EXPECT_FALSE(PaletteShown(addOn));
	host->RaiseProjectEvent(ProjectEvents::New);
	EXPECT_TRUE(PaletteShown(addOn));

	host->RaiseProjectEvent(ProjectEvents::Close);
	EXPECT_FALSE(PaletteShown(addOn));
	host->RaiseProjectEvent(ProjectEvents::Open);
	EXPECT_TRUE(PaletteShown(addOn));
}

TEST_F(ProjectEventsTest, AClosedPaletteStaysClosedAcrossProjects)
{
	AddOn& addOn = LoadWithPaletteOpen();
	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	ASSERT_FALSE(PaletteShown(addOn));
	// Still subscribed: the closed palette's subscription is not withdrawn.
	ASSERT_TRUE(host->Events().RegistrationOf(addOn).has_value());

	host->RaiseProjectEvent(ProjectEvents::Close);
	host->RaiseProjectEvent(ProjectEvents::New);
	EXPECT_FALSE(PaletteShown(addOn));
	host->RaiseProjectEvent(ProjectEvents::Open);
	EXPECT_FALSE(PaletteShown(addOn));
}

TEST_F(ProjectEventsTest, AClosedPaletteAtTheNextClosingForgetsTheEarlierReopening)
{
	AddOn& addOn = LoadWithPaletteOpen();
	host->RaiseProjectEvent(ProjectEvents::Close);
	host->RaiseProjectEvent(ProjectEvents::Open);
	ASSERT_TRUE(PaletteShown(addOn));
	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));

	host->RaiseProjectEvent(ProjectEvents::Close);
	host->RaiseProjectEvent(ProjectEvents::Open);
	EXPECT_FALSE(PaletteShown(addOn));
}

TEST_F(ProjectEventsTest, AProjectOpeningNeverClosesAnOpenPalette)
{
	// Two openings in a row after one closing: the second finds the palette open already.
	AddOn& addOn = LoadWithPaletteOpen();
	host->RaiseProjectEvent(ProjectEvents::Close);
	host->RaiseProjectEvent(ProjectEvents::New);
	ASSERT_TRUE(PaletteShown(addOn));
	host->RaiseProjectEvent(ProjectEvents::Open);
	EXPECT_TRUE(PaletteShown(addOn));
}

TEST_F(ProjectEventsTest, QuitEndsTheSubscriptionAndLeavesThePaletteAsItWas)
{
	AddOn& addOn = LoadWithPaletteOpen();
	const std::uint64_t registrations = Calls(Entry::EventRegistration);
	host->RaiseProjectEvent(ProjectEvents::Quit);
	EXPECT_TRUE(PaletteShown(addOn));
	EXPECT_EQ(Calls(Entry::EventRegistration), registrations + 1);
	EXPECT_FALSE(host->Events().RegistrationOf(addOn).has_value());
	// No longer subscribed: a closing reaches the module no more.
	host->RaiseProjectEvent(ProjectEvents::Close);
	EXPECT_TRUE(PaletteShown(addOn));
}

TEST_F(ProjectEventsTest, QuitWithThePaletteClosedLeavesItClosed)
{
	AddOn& addOn = LoadWithPaletteOpen();
	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	const std::uint64_t registrations = Calls(Entry::EventRegistration);
	host->RaiseProjectEvent(ProjectEvents::Quit);
	EXPECT_FALSE(PaletteShown(addOn));
	EXPECT_EQ(Calls(Entry::EventRegistration), registrations + 1);
	EXPECT_FALSE(host->Events().RegistrationOf(addOn).has_value());
}

TEST_F(ProjectEventsTest, OtherEventsLeaveThePaletteAlone)
{
	AddOn& addOn = LoadWithPaletteOpen();
	const std::uint64_t before = host->Table().TotalCallCount();
	for (const std::int32_t code : {ProjectEvents::Changed, ProjectEvents::Reserved}) {
		SCOPED_TRACE(code);
		const std::vector<ReferenceHost::EventDelivery> deliveries = host->RaiseProjectEvent(code);
		ASSERT_EQ(deliveries.size(), 1u);
		EXPECT_EQ(deliveries[0].status, 0);
		EXPECT_TRUE(PaletteShown(addOn));
	}
	EXPECT_EQ(host->Table().TotalCallCount(), before);
}

TEST_F(ProjectEventsTest, EveryEventAnswersZero)
{
	LoadWithPaletteOpen();
	for (const std::int32_t code : {1, 4, 8, 16, 32, 64, 128, 1, 2}) {
		SCOPED_TRACE(code);
		for (const ReferenceHost::EventDelivery& delivery : host->RaiseProjectEvent(code))
			EXPECT_EQ(delivery.status, 0);
	}
}

} // namespace
