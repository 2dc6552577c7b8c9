// What the host's tests share: a fixture with a host whose add-ons folder holds the test
// add-ons, a scratch folder of its own, and helpers to load a test add-on with its control
// block set up before the lifecycle runs.
#pragma once

#include "CallSlot.hpp"
#include "Host.hpp"
#include "LeakCheck.hpp"
#include "ScratchFolder.hpp"
#include "TestAddOnControl.hpp"
#include "VX/DebugOutput.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ReferenceHost::Testing {

inline const std::filesystem::path TestAddOnA = TEST_ADDON_A;
inline const std::filesystem::path TestAddOnB = TEST_ADDON_B;
inline const std::filesystem::path TestAddOnFolder = TEST_ADDON_FOLDER;
inline const std::filesystem::path NoExportsAddOn = NO_EXPORTS_ADDON;

// Writes the file of a new, empty project there, as a host saves one.
void WriteEmptyProject(const std::filesystem::path& file);

// True when an entry of the kind contains the text.
bool TranscriptHas(Host& host, TranscriptKind kind, std::string_view part);

// The control block of a loaded test add-on.
TestAddOnControl& ControlOf(const AddOn& addOn);

class HostTest : public ::testing::Test {
protected:
	void SetUp() override;
	void TearDown() override;

	// Opens a test add-on, resets its control block, lets the test set it up, then runs the
	// host's lifecycle; the add-on's control block afterwards. Fails the test when the
	// add-on cannot be opened.
	AddOn& Load(const std::filesystem::path& file, const std::function<void(TestAddOnControl&)>& setUp = {});
	// Opens a test add-on without any lifecycle call, control block reset.
	AddOn& Open(const std::filesystem::path& file);

	LeakCheck leaks;
	ScratchFolder scratch;
	// What the test add-ons write when they are unloaded, kept out of the test's output.
	VX::DebugOutputCapture debugOutput;
	std::unique_ptr<Host> host;
};

} // namespace ReferenceHost::Testing
