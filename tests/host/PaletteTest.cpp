// Palette registrations and the host's hide and show messages.
#include "TestHost.hpp"

namespace ReferenceHost::Testing {
namespace {

class PaletteTest : public HostTest {
protected:
	AddOn& LoadWithPalette(const std::filesystem::path& file, std::int32_t panelId)
	{
		return Load(file, [panelId](TestAddOnControl& control) {
			control.registerPaletteAtInitialize = true;
			control.panelId = panelId;
		});
	}
};

TEST_F(PaletteTest, ARegistrationIsKeptWithItsOwnerAndFlags)
{
	const AddOn& addOn = LoadWithPalette(TestAddOnA, 77);
	ASSERT_EQ(host->Palettes().Registered().size(), 1u);
	const PaletteRegistration& palette = host->Palettes().Registered().front();
	EXPECT_EQ(palette.owner, &addOn);
	EXPECT_EQ(palette.panelId, 77);
	EXPECT_EQ(palette.flags, 5u);
	EXPECT_NE(palette.callback, nullptr);
}

TEST_F(PaletteTest, HideAndShowReachEveryPalette)
{
	TestAddOnControl& a = ControlOf(LoadWithPalette(TestAddOnA, 77));
	TestAddOnControl& b = ControlOf(LoadWithPalette(TestAddOnB, 78));
	EXPECT_EQ(host->HidePalettes(), 2u);
	EXPECT_EQ(host->ShowPalettes(), 2u);
	EXPECT_EQ(
		a.paletteMessages, (std::vector<std::int32_t> {HostSdk::PaletteMessageHide, HostSdk::PaletteMessageShow}));
	EXPECT_EQ(b.paletteMessages, a.paletteMessages);
	EXPECT_EQ(a.calls.back(), "PaletteControl 77 3 0");
}

TEST_F(PaletteTest, TheReleaseRemovesThePalette)
{
	AddOn& addOn = LoadWithPalette(TestAddOnA, 77);
	host->UnloadAddOn(addOn, true);
	EXPECT_EQ(host->Table().CallCount(HostSdk::Entry::PaletteRemoval), 1u);
	EXPECT_TRUE(host->Palettes().Registered().empty());
}

TEST_F(PaletteTest, AnUnloadWithoutReleaseForgetsThePaletteAllTheSame)
{
	AddOn& addOn = LoadWithPalette(TestAddOnA, 77);
	host->UnloadAddOn(addOn, false);
	EXPECT_EQ(host->Table().CallCount(HostSdk::Entry::PaletteRemoval), 0u);
	EXPECT_TRUE(host->Palettes().Registered().empty());
	EXPECT_EQ(host->HidePalettes(), 0u);
}

TEST_F(PaletteTest, RegistrationAndRemovalCheckWhatTheyAreGiven)
{
	AddOn& addOn = LoadWithPalette(TestAddOnA, 77);
	const HostSdk::HostFunction* slots = host->Table().Slots();
	EXPECT_EQ(CallSlot<HostSdk::Entry::PaletteRegistration>(
				  slots, addOn.Token(), static_cast<const HostSdk::PaletteRegistrationRecord*>(nullptr)),
		HostSdk::StatusBadParameter);
	HostSdk::PaletteRegistrationRecord withoutCallback {};
	withoutCallback.panelId = 5;
	EXPECT_EQ(CallSlot<HostSdk::Entry::PaletteRegistration>(
				  slots, addOn.Token(), static_cast<const HostSdk::PaletteRegistrationRecord*>(&withoutCallback)),
		HostSdk::StatusBadParameter);
	EXPECT_EQ(
		CallSlot<HostSdk::Entry::PaletteRemoval>(slots, addOn.Token(), std::int32_t {5}), HostSdk::StatusBadIndex);
	EXPECT_EQ(host->Palettes().Registered().size(), 1u);
}

TEST_F(PaletteTest, OnlyItsOwnerRemovesAPalette)
{
	LoadWithPalette(TestAddOnA, 77);
	const ModuleToken tokenB = Load(TestAddOnB).Token();
	EXPECT_EQ(CallSlot<HostSdk::Entry::PaletteRemoval>(host->Table().Slots(), tokenB, std::int32_t {77}),
		HostSdk::StatusBadIndex);
	EXPECT_NE(host->Palettes().Find(77), nullptr);
}

} // namespace
} // namespace ReferenceHost::Testing
