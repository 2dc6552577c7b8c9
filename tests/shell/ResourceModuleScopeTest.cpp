// The resource-module switching and the string read, with the test program's own resources
// standing in for the module's: the scope makes the module's resources active and puts the
// previous active module back, and the read fills a caller's buffer without overrunning it.
#include "shell/ResourceModuleScope.hpp"
#include "shell/ModuleState.hpp"

#include "VX/ResourceManager.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace {

class ResourceModuleScopeTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		previouslyActive = RSGetActiveModule();
		// Two ids of the test program's resources: one plays the module's, one another's.
		ownModule = RSAddModule(nullptr);
		otherModule = RSAddModule(nullptr);
		ASSERT_NE(ownModule, VX::NoResourceModule);
		ASSERT_NE(otherModule, VX::NoResourceModule);
		Module().resourceModuleId = ownModule;
	}
	void TearDown() override
	{
		RSRemoveModule(ownModule);
		RSRemoveModule(otherModule);
		RSSetActiveModule(previouslyActive);
		Module().resourceModuleId = VX::NoResourceModule;
	}

	VX::ResourceModuleId previouslyActive = VX::NoResourceModule;
	VX::ResourceModuleId ownModule = VX::NoResourceModule;
	VX::ResourceModuleId otherModule = VX::NoResourceModule;
};

TEST_F(ResourceModuleScopeTest, MakesTheModulesResourcesActiveAndRestoresWhatWasActive)
{
	for (const VX::ResourceModuleId before : {otherModule, VX::NoResourceModule}) {
		SCOPED_TRACE(before);
		ASSERT_TRUE(RSSetActiveModule(before));
		try {
			const ResourceModuleScope outer;
			{
				const ResourceModuleScope inner;
				EXPECT_EQ(RSGetActiveModule(), ownModule);
			}
			EXPECT_EQ(RSGetActiveModule(), ownModule) << "the inner scope put back the outer's module";
			throw std::runtime_error("building failed");
		} catch (const std::runtime_error&) {
		}
		EXPECT_EQ(RSGetActiveModule(), before);
	}
}

TEST_F(ResourceModuleScopeTest, AModuleWithoutResourcesReadsNothingOfAnothers)
{
	// The module's resources are gone (or were never added): another module's list of the
	// same number must not be read in their place.
	Module().resourceModuleId = VX::NoResourceModule;
	ASSERT_TRUE(RSSetActiveModule(otherModule));
	char text[64] = "untouched";
	{
		const ResourceModuleScope scope;
		EXPECT_EQ(RSGetActiveModule(), VX::NoResourceModule);
		EXPECT_FALSE(LoadResourceString(32000, 1, text));
		EXPECT_STREQ(text, "");
	}
	EXPECT_EQ(RSGetActiveModule(), otherModule);

	RSRemoveModule(ownModule);
	Module().resourceModuleId = ownModule; // removed: no longer known to the manager
	{
		const ResourceModuleScope scope;
		EXPECT_EQ(RSGetActiveModule(), VX::NoResourceModule);
	}
	EXPECT_EQ(RSGetActiveModule(), otherModule);
}

class StringReadTest : public ResourceModuleScopeTest {};

TEST_F(StringReadTest, ReadsNumberedItemsFromOne)
{
	const ResourceModuleScope scope;
	char text[64];
	ASSERT_TRUE(LoadResourceString(700, 1, text));
	EXPECT_STREQ(text, "short");
	ASSERT_TRUE(LoadResourceString(700, 2, text));
	EXPECT_STREQ(text, "exactly twenty chars");
	ASSERT_TRUE(LoadResourceString(700, 3, text));
	EXPECT_STREQ(text, "");
}

TEST_F(StringReadTest, MissingListsAndItemsGiveAnEmptyText)
{
	const ResourceModuleScope scope;
	char text[16];
	std::strcpy(text, "old");
	EXPECT_FALSE(LoadResourceString(700, 0, text));
	EXPECT_STREQ(text, "");
	std::strcpy(text, "old");
	EXPECT_FALSE(LoadResourceString(700, 4, text));
	EXPECT_STREQ(text, "");
	std::strcpy(text, "old");
	EXPECT_FALSE(LoadResourceString(699, 1, text));
	EXPECT_STREQ(text, "");
	EXPECT_EQ(LoadResourceString(699, 1), "");
}

TEST_F(StringReadTest, CutsTheTextToTheCallersBuffer)
{
	const ResourceModuleScope scope;
	// Guard bytes after the buffer show any write past its end.
	char area[32];
	std::memset(area, '#', sizeof area);
	ASSERT_TRUE(LoadResourceString(700, 2, area, 8));
	EXPECT_STREQ(area, "exactly");
	for (std::size_t index = 8; index < sizeof area; ++index)
		EXPECT_EQ(area[index], '#') << "byte " << index;

	EXPECT_TRUE(LoadResourceString(700, 1, area, 1));
	EXPECT_EQ(area[0], '\0');
	EXPECT_FALSE(LoadResourceString(700, 1, area, 0));
	EXPECT_FALSE(LoadResourceString(700, 1, nullptr, 10));
}

TEST_F(StringReadTest, TheStringFormReadsTextsOfAnyLength)
{
	const ResourceModuleScope scope;
	EXPECT_EQ(LoadResourceString(700, 2), "exactly twenty chars");
	const std::string longText = LoadResourceString(701, 1);
	ASSERT_EQ(longText.size(), 700u);
	for (std::size_t index = 0; index < longText.size(); ++index)
		ASSERT_EQ(longText[index], static_cast<char>('a' + index % 26)) << "character " << index;
}

TEST_F(StringReadTest, ReadsFromTheActiveModuleOnly)
{
	// Outside a scope nothing is active here, so nothing is read.
	ASSERT_TRUE(RSSetActiveModule(VX::NoResourceModule));
	char text[16];
	EXPECT_FALSE(LoadResourceString(700, 1, text));
}

} // namespace
