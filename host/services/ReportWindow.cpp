// The report line entry. The text is copied as it stands: a "%" has no special meaning.
#include "ReportWindow.hpp"

#include <fstream>
#include <system_error>

namespace ReferenceHost {

ReportWindow::ReportWindow(AddOnList& addOnList, Transcript& sessionTranscript)
	: addOns(addOnList), transcript(sessionTranscript)
{
}

void ReportWindow::Install(HostFunctionTable& table)
{
	table.Implement<HostSdk::Entry::ReportLine>(
		[this](ModuleToken token, const char* text, std::int32_t flags) { return WriteLine(token, text, flags); });
}

void ReportWindow::Write(std::string line)
{
	lines.push_back(line);
	transcript.Add(TranscriptKind::Report, std::move(line));
}

HostStatus ReportWindow::WriteLine(ModuleToken token, const char* text, std::int32_t /*flags*/)
{
	if (addOns.FromToken(token) == nullptr)
		return HostSdk::StatusRefused;
	if (text == nullptr)
		return HostSdk::StatusBadParameter;
	Write(text);
	return 0;
}

bool ReportWindow::SaveTo(const std::filesystem::path& file, std::string& problem) const
{
	// Written beside the file first, so a failed save leaves an older report whole.
	std::filesystem::path written = file;
	written += ".saving";
	{
		std::ofstream out(written, std::ios::binary | std::ios::trunc);
		for (const std::string& line : lines)
			out << line << '\n';
		out.flush();
		if (!out) {
			std::error_code ignored;
			std::filesystem::remove(written, ignored);
			problem = "Cannot write the report to " + file.string();
			return false;
		}
	}
	std::error_code error;
	std::filesystem::rename(written, file, error);
	if (error) {
		std::filesystem::remove(written, error);
		problem = "Cannot write the report to " + file.string();
		return false;
	}
	return true;
}

} // namespace ReferenceHost
