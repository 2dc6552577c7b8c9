// The reference host with the real Facetally module: a fresh host per test, so the module is
// loaded and unloaded once per test and starts from its load-time state every time. Every
// test ends with as many live memory handles and file locations as it started with.
#pragma once

#include "Host.hpp"
#include "LeakCheck.hpp"
#include "ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class ModuleHostTest : public ::testing::Test {
protected:
	static std::filesystem::path ModuleFile()
	{
		return std::filesystem::path(FACETALLY_ADDON_DIR) / ("Facetally" + std::string(ReferenceHost::AddOnExtension));
	}

	void SetUp() override { StartHost(); }
	void TearDown() override { host.reset(); }

	// A fresh host, no module loaded; the session before it ends.
	void StartHost()
	{
		host.reset();
		host =
			std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {FACETALLY_ADDON_DIR, scratch / "help"});
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

	// Chooses the module's menu command, as a person opens or closes its palette.
	void ChooseFacetally()
	{
		const ReferenceHost::Outcome chosen = host->ChooseMenuItem("Facetally");
		ASSERT_TRUE(chosen.ok) << chosen.problem << host->SessionTranscript().ToText(true);
	}

	std::vector<std::string> Messages()
	{
		return host->SessionTranscript().Texts(ReferenceHost::TranscriptKind::Message);
	}
	std::uint64_t Calls(int entry) { return host->Table().CallCount(entry); }
	std::uint64_t SelectorCalls(int entry, std::uint32_t selector)
	{
		return host->Table().SelectorCallCount(entry, selector);
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

	LeakCheck leaks;
	ScratchFolder scratch;
	std::unique_ptr<ReferenceHost::Host> host;
};
