// The help folder query of the environment operation: a published file location the
// caller releases, refused for other folder codes and bad pointers.
#include "TestHost.hpp"

#include "IO/LocationTable.hpp"

namespace ReferenceHost::Testing {
namespace {

namespace Entry = HostSdk::Entry;
namespace Selectors = HostSdk::Selectors;

class HelpFolderTest : public HostTest {
protected:
	HostStatus Ask(ModuleToken token, std::int32_t code, HostSdk::LocationId* folder)
	{
		return CallSlot<Entry::Environment>(host->Table().Slots(), token, Selectors::GetSpecialFolder,
			static_cast<void*>(&code), static_cast<void*>(folder));
	}
};

TEST_F(HelpFolderTest, TheAddOnGetsTheHelpFolderAsALocationItReleases)
{
	const std::size_t liveBefore = IO::LiveLocationCount();
	const TestAddOnControl& control = ControlOf(Load(TestAddOnA));
	EXPECT_EQ(control.helpFolderAnswer, 0);
	EXPECT_EQ(control.helpFolderPath, (scratch.Path() / "help").string());
	EXPECT_EQ(IO::LiveLocationCount(), liveBefore);
}

TEST_F(HelpFolderTest, TheLocationBelongsToTheCaller)
{
	const ModuleToken token = Load(TestAddOnA).Token();
	HostSdk::LocationId folder = 0;
	ASSERT_EQ(Ask(token, HostSdk::HelpFolderCode, &folder), 0);
	ASSERT_NE(folder, 0u);
	IO::Location location;
	ASSERT_TRUE(IO::LookUpLocation(folder, &location));
	EXPECT_EQ(location.ToPath().ToStd(), host->Help().Folder().string());
	EXPECT_TRUE(IO::ReleaseLocation(folder));
}

TEST_F(HelpFolderTest, OtherFolderCodesAndBadPointersAreRefused)
{
	const ModuleToken token = Load(TestAddOnA).Token();
	const std::size_t liveBefore = IO::LiveLocationCount();
	HostSdk::LocationId folder = 99;
	EXPECT_EQ(Ask(token, 12, &folder), HostSdk::StatusBadParameter);
	EXPECT_EQ(folder, 0u) << "nothing to release after a refusal";
	EXPECT_EQ(Ask(token, HostSdk::HelpFolderCode, nullptr), HostSdk::StatusBadParameter);
	EXPECT_EQ(Ask(ModuleToken {0}, HostSdk::HelpFolderCode, &folder), HostSdk::StatusRefused);
	EXPECT_EQ(IO::LiveLocationCount(), liveBefore);
}

TEST_F(HelpFolderTest, AHostWithoutHelpFolderRefuses)
{
	host.reset();
	host = std::make_unique<Host>(HostOptions {TestAddOnFolder, {}});
	const ModuleToken token = Load(TestAddOnA).Token();
	HostSdk::LocationId folder = 99;
	EXPECT_EQ(Ask(token, HostSdk::HelpFolderCode, &folder), HostSdk::StatusRefused);
	EXPECT_EQ(folder, 0u);
}

} // namespace
} // namespace ReferenceHost::Testing
