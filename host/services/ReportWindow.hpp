// The host's report window: the lines add-ons write through entry 60, kept as written (the
// host copies each text during the call) and shown in the transcript as they arrive.
#pragma once

#include "AddOnList.hpp"
#include "HostFunctionTable.hpp"
#include "Transcript.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ReferenceHost {

class ReportWindow {
public:
	ReportWindow(AddOnList& addOns, Transcript& transcript);

	// Offers entry 60.
	void Install(HostFunctionTable& table);

	const std::vector<std::string>& Lines() const { return lines; }
	void Clear()
	{
		lines.clear();
		++clearings;
	}
	// How often the window was cleared: lines shown elsewhere before a clearing are gone.
	std::uint64_t Clearings() const { return clearings; }
	// A line written by the host itself (its frame around an add-on's report, for instance).
	void Write(std::string line);
	// Keeps the window's lines as a text file, one line each, so a person can keep or compare a
	// count. False with the reason in problem; the file is then as it was.
	bool SaveTo(const std::filesystem::path& file, std::string& problem) const;

private:
	HostStatus WriteLine(ModuleToken token, const char* text, std::int32_t flags);

	AddOnList& addOns;
	Transcript& transcript;
	std::vector<std::string> lines;
	std::uint64_t clearings = 0;
};

} // namespace ReferenceHost
