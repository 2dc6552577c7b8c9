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

TEST_F(HelpLocations, RegisteredPairsAreListedInOrder)
{
	EXPECT_EQ(DG::RegisterAdditionalHelpLocation(1, 2, IO::Location("/help/one")), DG::HelpNoError);
	EXPECT_EQ(DG::RegisterAdditionalHelpLocation(3, 4, IO::Location("/help/two")), DG::HelpNoError);
	const auto registered = DG::GetAdditionalHelpLocations();
	ASSERT_EQ(registered.size(), 2u);
	EXPECT_EQ(registered[0].developerId, 1u);
	EXPECT_EQ(registered[0].localId, 2u);
	EXPECT_EQ(registered[0].location, IO::Location("/help/one"));
	EXPECT_EQ(registered[1].location, IO::Location("/help/two"));
}

TEST_F(HelpLocations, RegisteringThePairAgainReplacesItsLocation)
{
	DG::RegisterAdditionalHelpLocation(1, 2, IO::Location("/help/one"));
	DG::RegisterAdditionalHelpLocation(1, 2, IO::Location("/help/new"));
	const auto registered = DG::GetAdditionalHelpLocations();
	ASSERT_EQ(registered.size(), 1u);
	EXPECT_EQ(registered[0].location, IO::Location("/help/new"));
}

TEST_F(HelpLocations, UnregisteringRemovesOnlyThatPair)
{
	DG::RegisterAdditionalHelpLocation(1, 2, IO::Location("/help/one"));
	DG::RegisterAdditionalHelpLocation(3, 4, IO::Location("/help/two"));
	EXPECT_EQ(DG::UnregisterAdditionalHelpLocation(1, 2), DG::HelpNoError);
	EXPECT_EQ(DG::UnregisterAdditionalHelpLocation(1, 2), DG::HelpNotRegistered);
	const auto registered = DG::GetAdditionalHelpLocations();
	ASSERT_EQ(registered.size(), 1u);
	EXPECT_EQ(registered[0].developerId, 3u);
}

TEST_F(HelpLocations, EmptyLocationIsRefused)
{
	EXPECT_EQ(DG::RegisterAdditionalHelpLocation(1, 2, IO::Location()), DG::HelpBadLocation);
	EXPECT_TRUE(DG::GetAdditionalHelpLocations().empty());
}

} // namespace
