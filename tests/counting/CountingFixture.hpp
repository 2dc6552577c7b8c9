// A reference host with the probe (the real module's code, plus the export through which a
// test plays the palette's pages and change dialog) loaded from a folder of the test's own,
// beside a configuration file the test writes. Projects are built in memory, written as
// project files and opened by the host, so every run goes through the host as a person's
// would: the menu command opens the palette, and the palette's Refresh counts.
//
// Every test ends with as many live memory handles and file locations as it started with.
#pragma once

#include "Host.hpp"
#include "LeakCheck.hpp"
#include "ScratchFolder.hpp"
#include "probe/ProbeControl.hpp"

#include "HostSdk/HostApi.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CountingFixture : public ::testing::Test {
protected:
	// The configuration file every test starts with: one parameter, "lod", with the values
	// "Full", "Reduced" and "None".
	static constexpr std::string_view StandardConfiguration = "lod \"Full\" \"Reduced\" \"None\"\n";

	void SetUp() override;
	void TearDown() override;

	// Replaces the configuration file; it is read each time the palette is built.
	void WriteConfiguration(std::string_view text);
	// Loads the probe through the host's whole start-up.
	void LoadProbe();
	// Writes the project as a file of the test's folder and opens it in the host.
	void OpenProject(const ReferenceHost::Project& project);
	// Loads the probe and opens a project of one object placed from a plain part 1.
	void OpenOneObject(std::string partName, std::vector<std::int32_t> model);

	// Chooses the module's menu command; the palette opens and counts (a fresh report).
	void OpenPalette();
	void ClosePalette();
	// Changes the palette's settings as a person would on its pages, then runs its Refresh
	// (a fresh report).
	void Refresh(const ProbeSettings& settings);
	void Refresh();
	// Runs script lines on the host as a person would; answers the transcript when a line
	// failed, else empty.
	std::string RunScript(const std::string& lines);

	// The report window's lines, since the last OpenPalette or Refresh.
	const std::vector<std::string>& Report() const { return host->Report().Lines(); }
	ProbeResult Result() const;
	// The text of an element's parameter in the open project; "(none)" when either is missing.
	std::string ValueOf(ReferenceHost::ElementId id, const std::string& name = "lod") const;
	// Memory handles alive now, minus those alive when the test began.
	std::int64_t HandlesLeft() const { return leaks.HandlesLeft(); }

	LeakCheck leaks;
	ScratchFolder scratch;
	const std::filesystem::path& folder = scratch.Path();
	std::unique_ptr<ReferenceHost::Host> host;
	const ProbeControl* probe = nullptr;
};

// Building blocks of test projects.
namespace TestProjects {

// A library part with a single-value text parameter "lod" (valued "Full", offered "Full",
// "Reduced", "None") that chooses its 3D model: fullModel, then a model of one component of
// reducedPolygons, then no components.
ReferenceHost::LibraryPart PartWithLevels(std::int32_t index, std::string name, std::int32_t typeId,
	std::vector<std::int32_t> fullModel, std::int32_t reducedPolygons);
// A library part without any level-of-detail parameter.
ReferenceHost::LibraryPart PlainPart(
	std::int32_t index, std::string name, std::int32_t typeId, std::vector<std::int32_t> model);
// The part's unique identifier as PartWithLevels and PlainPart make it.
std::string UniqueIdOf(std::int32_t partIndex);

// An element placed from the part, with its own copy of the part's parameters.
ReferenceHost::Element Placed(std::int32_t type, const ReferenceHost::LibraryPart& part, std::int16_t story = 0);
// A protecting group (mode 1, protected) with the protection id.
ReferenceHost::Element ProtectingGroup(std::int32_t protectionId);
// Windows of part 1 ("Full" 100 + 20 polygons, "Reduced" 7, "None" nothing).
ReferenceHost::Project Windows(int count);
// Two windows of part 1 ("Full" 100 + 20 polygons, "Reduced" 7, "None" nothing).
ReferenceHost::Project TwoWindows();
// An element with its own 3D model.
ReferenceHost::Element Plain(std::int32_t type, std::vector<std::int32_t> components, std::int16_t story = 0);

} // namespace TestProjects
