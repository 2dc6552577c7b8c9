// The palette's life through the real module in the reference host: every step of building
// it failing in turn, the close box, and open, resize, hide, show and close cycles ending with
// the module unloaded while the palette is open. What must hold each time: no panel, surface,
// memory handle or file location is left behind, and the next menu command works.
#include "Host.hpp"
#include "PaletteHands.hpp"

#include "DG/Census.hpp"
#include "DG/ModalRecord.hpp"
#include "DG/User.hpp"
#include "HostSdk/HostFunctions.hpp"
#include "IO/LocationTable.hpp"
#include "UD/RollDownSurface.hpp"
#include "VX/Memory.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class PaletteLifecycle : public ::testing::Test {
protected:
	void SetUp() override
	{
		static std::atomic<int> serial {0};
		folder = fs::temp_directory_path() /
			("facetally-palette-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
		fs::create_directories(folder / "addons");
		fs::copy_file(fs::path(FACETALLY_ADDON_DIR) / "Facetally.addon", folder / "addons" / "Facetally.addon");
		UD::ForgetRolledStates();
		DG::ClearShownModalDialogs();
		beforeHost = Census::Now();
	}

	void TearDown() override
	{
		host.reset();
		ExpectNothingLeft(beforeHost);
		std::error_code ignored;
		fs::remove_all(folder, ignored);
	}

	// A host with the module beside the configuration file given, on the sample project.
	void Start(const std::string& configuration = "lod3D \"Full\" \"Reduced\" \"None\"\n")
	{
		std::ofstream(folder / "addons" / "Facetally.txt") << configuration;
		host = std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {folder / "addons", folder / "help"});
		ASSERT_NE(host->LoadAddOn(folder / "addons" / "Facetally.addon"), nullptr)
			<< host->SessionTranscript().ToText(true);
		ASSERT_TRUE(host->OpenProject(fs::path(FACETALLY_SOURCE_DIR) / "examples" / "sample-project.json"));
		closed = Census::Now();
	}

	bool Open() { return host->Menus().Find("Facetally")->Checked(); }
	// How often the module has complained about its configuration file.
	static std::size_t ConfigurationMessages()
	{
		std::size_t count = 0;
		for (const DG::ShownModalDialog& dialog : DG::GetShownModalDialogs())
			count += std::count(dialog.texts.begin(), dialog.texts.end(), "Facetally.txt:");
		return count;
	}
	DG::Dialog* Palette() { return ReferenceHost::FindOpenPalette(*host); }
	void Menu() { ASSERT_TRUE(host->ChooseMenuItem("Facetally")); }

	// What lives in the process: panels, surfaces, memory handles, file locations.
	struct Census {
		std::size_t panels = 0;
		std::size_t surfaces = 0;
		std::size_t handles = 0;
		std::size_t locations = 0;
		static Census Now()
		{
			return {DG::LivePanelCount(), UD::LiveSurfaceCount(), VX::LiveHandleCount(), IO::LiveLocationCount()};
		}
	};

	static void ExpectNothingLeft(const Census& before)
	{
		const Census now = Census::Now();
		EXPECT_EQ(now.panels, before.panels) << "panels left alive";
		EXPECT_EQ(now.surfaces, before.surfaces) << "roll-down surfaces left alive";
		EXPECT_EQ(now.handles, before.handles) << "memory handles left alive";
		EXPECT_EQ(now.locations, before.locations) << "file locations left published";
	}

	fs::path folder;
	std::unique_ptr<ReferenceHost::Host> host;
	// With the host up and the palette closed.
	Census closed;

private:
	Census beforeHost;
};

struct CreationFault {
	const char* step;
	std::function<void(bool on)> set;
};

TEST_F(PaletteLifecycle, EachBuildingStepThatFailsLeavesThePaletteClosedAndNothingBehind)
{
	auto rollDown = [](int n) { return [n](bool on) { UD::FailCreationForTesting(on ? n : 0); }; };
	auto page = [](short resource) {
		return [resource](bool on) { DG::RefuseDialogResourceForTesting(resource, on); };
	};
	const CreationFault faults[] = {
		{"surface", rollDown(1)},
		{"panel set", rollDown(2)},
		{"stories panel", rollDown(3)},
		{"stories page", page(32510)},
		{"selection panel", rollDown(4)},
		{"selection page", page(32511)},
		{"default level panel", rollDown(5)},
		{"default level page", page(32512)},
		{"results panel", rollDown(6)},
		{"results page", page(32513)},
		{"bottom panel", rollDown(7)},
		{"command page", page(32514)},
	};
	Start();
	for (const CreationFault& fault : faults) {
		SCOPED_TRACE(fault.step);
		fault.set(true);
		Menu();
		fault.set(false);
		EXPECT_FALSE(Open());
		EXPECT_EQ(Palette(), nullptr);
		EXPECT_TRUE(host->Palettes().Registered().empty());
		ExpectNothingLeft(closed);
		// The open palette was left null: the next command builds one instead of closing.
		Menu();
		EXPECT_TRUE(Open());
		ASSERT_NE(Palette(), nullptr);
		Menu();
		EXPECT_FALSE(Open());
		ExpectNothingLeft(closed);
	}
}

TEST_F(PaletteLifecycle, TheCloseBoxDestroysThePaletteAndTheNextCommandBuildsItAfresh)
{
	// A configuration the module complains about each time it reads it.
	Start("lod3D \"Full\"\n");
	Menu();
	EXPECT_EQ(ConfigurationMessages(), 1u);
	DG::Dialog* palette = Palette();
	ASSERT_NE(palette, nullptr);
	ASSERT_TRUE(DG::User(*ReferenceHost::PalettePages(*palette)[1].panel).Click("Entire project"));

	ASSERT_TRUE(DG::User(*palette).PressCloseBox());
	EXPECT_FALSE(Open());
	EXPECT_EQ(Palette(), nullptr);
	EXPECT_TRUE(host->Palettes().Registered().empty());
	ExpectNothingLeft(closed);

	Menu();
	EXPECT_TRUE(Open());
	EXPECT_EQ(ConfigurationMessages(), 2u) << "the configuration file was not read again";
	EXPECT_EQ(host->Table().CallCount(HostSdk::Entry::EventRegistration), 2u) << "not subscribed again";
	const auto selection = ReferenceHost::PalettePages(*Palette())[1];
	EXPECT_TRUE(DG::RadioButton(*selection.panel, 1).IsSelected()) << "a fresh palette starts with the selection";
}

TEST_F(PaletteLifecycle, NothingOutlivesOpeningResizingHidingAndClosingNorUnloadingWithThePaletteOpen)
{
	Start();
	for (int round = 0; round < 3; ++round) {
		SCOPED_TRACE(round);
		Menu();
		ASSERT_NE(Palette(), nullptr);
		ASSERT_TRUE(DG::User(*Palette()).Resize(static_cast<short>(200 + 50 * round), 500));
		ASSERT_TRUE(UD::UserRoll(*ReferenceHost::PalettePages(*Palette())[0].rollPanel, false));
		EXPECT_EQ(host->HidePalettes(), 1u);
		EXPECT_FALSE(Open());
		EXPECT_EQ(host->ShowPalettes(), 1u);
		EXPECT_TRUE(Open());
		ASSERT_TRUE(DG::User(*Palette()).PressCloseBox());
		EXPECT_FALSE(Open());
		ExpectNothingLeft(closed);
	}
	Menu();
	ASSERT_TRUE(Open());
	// Quitting releases and unloads the module with its palette open; TearDown checks.
}

} // namespace
