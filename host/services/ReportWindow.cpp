// The report line entry. The text is copied as it stands: a "%" has no special meaning.
#include "ReportWindow.hpp"

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

} // namespace ReferenceHost
