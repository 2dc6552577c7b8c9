// Test fixture support: the test program carries the module's compiled resources, so it adds
// them as a resource module and makes that the module's own for the duration of a test, just
// as loading the module does. Another module is left active, so a read that forgets to switch
// to the module's resources finds nothing.
#pragma once

#include "shell/ModuleState.hpp"

#include "VX/ResourceManager.hpp"

#include <gtest/gtest.h>

class ModuleResourcesFixture : public ::testing::Test {
protected:
	void SetUp() override
	{
		previouslyActive = RSGetActiveModule();
		ownModule = RSAddModule(nullptr);
		ASSERT_NE(ownModule, VX::NoResourceModule) << "the test program carries no resources";
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
