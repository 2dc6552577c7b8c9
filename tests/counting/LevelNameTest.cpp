// The names of the level codes, read from the module's own string list whatever resource
// module is active, with every code that is not a choice named as "Custom".
#include "lod/LevelCodes.hpp"

#include "shell/ModuleState.hpp"

#include "VX/ResourceManager.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

class LevelNameTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		previouslyActive = RSGetActiveModule();
		ownModule = RSAddModule(nullptr);
		ASSERT_NE(ownModule, VX::NoResourceModule) << "the test program carries the module's resources";
		Module().resourceModuleId = ownModule;
		RSSetActiveModule(VX::NoResourceModule);
	}
	void TearDown() override
	{
		RSRemoveModule(ownModule);
		Module().resourceModuleId = VX::NoResourceModule;
		RSSetActiveModule(previouslyActive);
	}

	VX::ResourceModuleId previouslyActive = VX::NoResourceModule;
	VX::ResourceModuleId ownModule = VX::NoResourceModule;
};

TEST_F(LevelNameTest, TheFiveChoicesHaveTheirNames)
{
	EXPECT_EQ(std::string(LevelName(LevelCodes::Detailed)), "Detailed");
	EXPECT_EQ(std::string(LevelName(LevelCodes::Simple)), "Simple");
	EXPECT_EQ(std::string(LevelName(LevelCodes::Off)), "Off");
	EXPECT_EQ(std::string(LevelName(LevelCodes::Custom)), "Custom");
	EXPECT_EQ(std::string(LevelName(LevelCodes::Default)), "Default");
	EXPECT_EQ(RSGetActiveModule(), VX::NoResourceModule) << "the active resource module is put back";
}

TEST_F(LevelNameTest, AnyOtherCodeIsNamedAsCustom)
{
	EXPECT_EQ(std::string(LevelName(LevelCodes::NoParameter)), "Custom");
	EXPECT_EQ(std::string(LevelName(6)), "Custom");
	EXPECT_EQ(std::string(LevelName(-1)), "Custom");
	EXPECT_EQ(std::string(LevelName(INT32_MIN)), "Custom");
}

TEST(LevelCodesTest, OnlyZeroToFourAreChoices)
{
	EXPECT_TRUE(LevelCodes::IsChoice(0));
	EXPECT_TRUE(LevelCodes::IsChoice(4));
	EXPECT_FALSE(LevelCodes::IsChoice(5));
	EXPECT_FALSE(LevelCodes::IsChoice(-1));
}

} // namespace
