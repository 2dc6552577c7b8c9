// Additional help locations: registered under a module's identity pair, replaced, taken away.
#include "DG/Help.hpp"

#include <gtest/gtest.h>

namespace {

class HelpLocations : public ::testing::Test {
protected:
	void TearDown() override
	{
		DG::UnregisterAdditionalHelpLocation(1, 2);
		DG::UnregisterAdditionalHelpLocation(3, 4);
	}
};

TEST_F(HelpLocations, PairsAreListedInOrderReplacedAndRemovedOneByOne)
{
	EXPECT_EQ(DG::RegisterAdditionalHelpLocation(1, 2, IO::Location()), DG::HelpBadLocation);
	EXPECT_TRUE(DG::GetAdditionalHelpLocations().empty());
	EXPECT_EQ(DG::RegisterAdditionalHelpLocation(1, 2, IO::Location("/help/one")), DG::HelpNoError);
	EXPECT_EQ(DG::RegisterAdditionalHelpLocation(3, 4, IO::Location("/help/two")), DG::HelpNoError);
	auto registered = DG::GetAdditionalHelpLocations();
	ASSERT_EQ(registered.size(), 2u);
	EXPECT_EQ(registered[0].developerId, 1u);
	EXPECT_EQ(registered[0].localId, 2u);
	EXPECT_EQ(registered[0].location, IO::Location("/help/one"));
	EXPECT_EQ(registered[1].location, IO::Location("/help/two"));

	EXPECT_EQ(DG::RegisterAdditionalHelpLocation(3, 4, IO::Location("/help/new")), DG::HelpNoError);
	registered = DG::GetAdditionalHelpLocations();
	ASSERT_EQ(registered.size(), 2u) << "registering a pair again replaces its location";
	EXPECT_EQ(registered[1].location, IO::Location("/help/new"));

	EXPECT_EQ(DG::UnregisterAdditionalHelpLocation(1, 2), DG::HelpNoError);
	EXPECT_EQ(DG::UnregisterAdditionalHelpLocation(1, 2), DG::HelpNotRegistered);
	registered = DG::GetAdditionalHelpLocations();
	ASSERT_EQ(registered.size(), 1u);
	EXPECT_EQ(registered[0].developerId, 3u);
}

} // namespace
