// The names of the level codes, read from the module's own string list whatever resource
// module is active, with every code that is not a choice named as "Custom".
#include "lod/LevelCodes.hpp"

#include "OwnModuleResources.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using LevelNameTest = ModuleResourcesFixture;

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
