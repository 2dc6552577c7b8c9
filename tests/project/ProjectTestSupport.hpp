// What the project tests share: a scratch folder, reading and writing whole files, a host
// with one loaded test add-on whose token the tests call the host's entries with, and a
// small project that holds one of everything the host's operations answer about.
#pragma once

#include "CallSlot.hpp"
#include "Host.hpp"
#include "LeakCheck.hpp"
#include "ScratchFolder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace ReferenceHost::Testing {

// The sample project shipped in examples/.
std::filesystem::path SampleProjectFile();

// Stories -1 to 2 (no story zero), library parts 1 (level of detail "lod" with a model per
// value, an array and a number), 2 (missing), 3 (no model parameter, an over-long parameter
// name), and elements: Wall:1 (components 6, 8), Wall:2 (hidden, locked), Wall:3 (deleted),
// Window:1 and Window:2 (part 1, "Simple" and "Detailed"), Window:3 (part 5, not in the
// project), Object:1 (a stair of part 3 refusing changes), Object:2 (part 2, missing, own
// components), Group:1 (protecting, id 7) holding Window:1, Group:2 (not protecting), and
// a selection of Wall:1 and Window:2.
extern const char* const SmallProjectText;

class ProjectHostTest : public ::testing::Test {
protected:
	void SetUp() override;
	void TearDown() override;

	// Opens the project of the text (written to a file first); fails the test when it cannot.
	void Open(const std::string& text);

	template <int EntryNumber, typename... Arguments>
	auto Call(Arguments... arguments)
	{
		return CallSlot<EntryNumber>(host->Table().Slots(), token, arguments...);
	}
	HostSdk::HostStatus Ask(int entry, std::uint32_t selector, void* first, void* second = nullptr);

	Project& CurrentProject() { return *host->CurrentProject(); }

	ScratchFolder scratch;
	std::unique_ptr<Host> host;
	HostSdk::ModuleToken token = 0;
	// Whatever a test was handed, it gives back before the host goes.
	std::optional<LeakCheck> leaks;
};

} // namespace ReferenceHost::Testing
