// The menu command and the project events of the real module, through the reference host:
// the palette opens and closes with the menu command and the menu item's check mark follows
// it; the project's closing closes it and the next project brings it back; the host's quit
// ends the subscription.
#include "ModuleHost.hpp"

#include "HostSdk/HostApi.hpp"

#include <map>
#include <optional>
#include <string>

namespace {

using namespace HostSdk;
using ReferenceHost::AddOn;

class MenuCommandTest : public ModuleHostTest {};

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
	// The host's answer to the reading is not looked at: the mark is written from cleared flags.
	host->Table().ForceSelectorStatus(Entry::Interface, Selectors::GetMenuItemFlags, StatusRefused);
	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	EXPECT_EQ(MenuItemOf(addOn).flags, 0x2u);
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

// The palette across the project's events. Each step is a menu command (M) or an event:
// closing (C), new (N), opening (O), quit (Q), change (X), reserved (R); then + when the
// palette is shown after it, - when not. Every sequence starts with the palette open.
TEST_F(MenuCommandTest, ThePaletteFollowsTheProjectsEvents)
{
	const struct {
		const char* what;
		const char* steps;
	} cases[] = {
		{"the closing closes it and the next project reopens it", "C-N+C-O+"},
		{"a palette closed by the person stays closed across projects", "M-C-N-O-"},
		{"a closed palette at the next closing forgets the earlier reopening", "C-O+M-C-O-"},
		{"an opening never closes an open palette", "C-N+O+"},
		{"quit ends the subscription and leaves the palette as it was", "Q+C+"},
		{"quit with the palette closed", "M-Q-"},
		{"other events leave it alone", "X+R+"},
	};
	const std::map<char, std::int32_t> events {{'C', ProjectEvents::Close}, {'N', ProjectEvents::New},
		{'O', ProjectEvents::Open}, {'Q', ProjectEvents::Quit}, {'X', ProjectEvents::Changed},
		{'R', ProjectEvents::Reserved}};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		StartHost();
		AddOn& addOn = LoadModule();
		ChooseFacetally();
		const std::uint64_t registrations = Calls(Entry::EventRegistration);
		for (const char* step = row.steps; *step != '\0'; step += 2) {
			SCOPED_TRACE(*step);
			if (*step == 'M')
				ChooseFacetally();
			else
				for (const ReferenceHost::EventDelivery& delivery : host->RaiseProjectEvent(events.at(*step)))
					EXPECT_EQ(delivery.status, 0);
			EXPECT_EQ(PaletteShown(addOn), step[1] == '+');
		}
		const bool quit = std::string(row.steps).find('Q') != std::string::npos;
		// Still subscribed but after a quit: a closed palette's subscription is not withdrawn.
		EXPECT_EQ(host->Events().RegistrationOf(addOn).has_value(), !quit);
		if (quit) {
			EXPECT_EQ(Calls(Entry::EventRegistration), registrations + 1) << "the quit withdraws it";
		}
	}
}

} // namespace
