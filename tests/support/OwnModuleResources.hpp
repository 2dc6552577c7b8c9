// Test support: a test program that links the add-on's code also carries the module's compiled
// resources. OwnModuleResources adds them as the module's own resource module for its lifetime,
// as loading the module does, and puts the previously active module back when it ends.
// ModuleResourcesFixture leaves no module active meanwhile, so a read that forgets to switch to
// the module's resources finds nothing.
#pragma once

#include "shell/ModuleState.hpp"

#include "VX/ResourceManager.hpp"

#include <gtest/gtest.h>

class OwnModuleResources {
public:
	enum class Active { KeepPrevious, None };

	explicit OwnModuleResources(Active active = Active::KeepPrevious)
		: previouslyActive(RSGetActiveModule()), ownModule(RSAddModule(nullptr))
	{
		Module().resourceModuleId = ownModule;
		RSSetActiveModule(active == Active::None ? VX::NoResourceModule : previouslyActive);
	}
	~OwnModuleResources()
	{
		RSRemoveModule(ownModule);
		Module().resourceModuleId = VX::NoResourceModule;
		RSSetActiveModule(previouslyActive);
	}
	OwnModuleResources(const OwnModuleResources&) = delete;
	OwnModuleResources& operator=(const OwnModuleResources&) = delete;

	bool Added() const { return ownModule != VX::NoResourceModule; }
	VX::ResourceModuleId Id() const { return ownModule; }

private:
	VX::ResourceModuleId previouslyActive;
	VX::ResourceModuleId ownModule;
};

class ModuleResourcesFixture : public ::testing::Test {
protected:
	void SetUp() override { ASSERT_TRUE(resources.Added()) << "the test program carries the module's resources"; }

	OwnModuleResources resources {OwnModuleResources::Active::None};
};
