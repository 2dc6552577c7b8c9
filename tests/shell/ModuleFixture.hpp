// A reference host with the real Facetally module, for the shell's end-to-end tests. Each
// test gets a fresh host and loads the module itself, so the module is loaded and unloaded
// once per test and starts from its load-time state every time.
#pragma once

#include "Host.hpp"

#include "VX/Memory.hpp"
#include "VX/ResourceManager.hpp"
#include "IO/LocationTable.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

class ModuleFixture : public ::testing::Test {
protected:
	static std::filesystem::path ModuleFile()
	{
		return std::filesystem::path(FACETALLY_ADDON_DIR) / ("Facetally" + std::string(ReferenceHost::AddOnExtension));
	}

	void SetUp() override
	{
		ASSERT_TRUE(std::filesystem::exists(ModuleFile())) << ModuleFile();
		liveHandles = VX::LiveHandleCount();
		liveLocations = IO::LiveLocationCount();
		host = std::make_unique<ReferenceHost::Host>(
			ReferenceHost::HostOptions {FACETALLY_ADDON_DIR, std::filesystem::path(FACETALLY_BINARY_DIR) / "help"});
	}

	void TearDown() override
	{
		host.reset();
		EXPECT_EQ(VX::LiveHandleCount(), liveHandles) << "memory handles left alive";
		EXPECT_EQ(IO::LiveLocationCount(), liveLocations) << "file locations left published";
	}

	// The module through the host's whole start-up.
	ReferenceHost::AddOn& LoadModule()
	{
		ReferenceHost::AddOn* addOn = host->LoadAddOn(ModuleFile());
		if (addOn == nullptr) {
			ADD_FAILURE() << "the module did not load:\n" << host->SessionTranscript().ToText(true);
			throw std::runtime_error("module not loaded");
		}
		return *addOn;
	}

	// The module loaded (dlopen) but no lifecycle step made yet.
	ReferenceHost::AddOn& OpenModule()
	{
		std::string error;
		ReferenceHost::AddOn* addOn = host->OpenAddOn(ModuleFile(), error);
		if (addOn == nullptr) {
			ADD_FAILURE() << "the module could not be opened: " << error;
			throw std::runtime_error("module not opened");
		}
		return *addOn;
	}

	const ReferenceHost::MenuItem& MenuItemOf(const ReferenceHost::AddOn& addOn)
	{
		const ReferenceHost::MenuItem* item = host->Menus().Find(addOn, 32500, 1);
		if (item == nullptr) {
			ADD_FAILURE() << "the module's menu item is missing";
			throw std::runtime_error("no menu item");
		}
		return *item;
	}

	// The palette is open exactly while the module's menu item carries its check mark.
	bool PaletteShown(const ReferenceHost::AddOn& addOn) { return MenuItemOf(addOn).Checked(); }

	std::uint64_t Calls(int entry) { return host->Table().CallCount(entry); }
	std::uint64_t SelectorCalls(int entry, std::uint32_t selector)
	{
		return host->Table().SelectorCallCount(entry, selector);
	}

	std::unique_ptr<ReferenceHost::Host> host;

private:
	std::size_t liveHandles = 0;
	std::size_t liveLocations = 0;
};
