// The host tests' fixture and helpers.
#include "TestHost.hpp"

#include <stdexcept>

namespace ReferenceHost::Testing {

void WriteEmptyProject(const std::filesystem::path& file)
{
	Host writer(HostOptions {{}, {}});
	if (!writer.NewProject() || !writer.SaveProjectAs(file))
		throw std::runtime_error("cannot write an empty project to " + file.string());
}

bool TranscriptHas(Host& host, TranscriptKind kind, std::string_view part)
{
	for (const TranscriptEntry& entry : host.SessionTranscript().Entries())
		if (entry.kind == kind && entry.text.find(part) != std::string::npos)
			return true;
	return false;
}

TestAddOnControl& ControlOf(const AddOn& addOn)
{
	using ControlBlockFunction = TestAddOnControl* (*) ();
	const auto function = reinterpret_cast<ControlBlockFunction>(addOn.Symbol(TestAddOnControlBlockName));
	if (function == nullptr)
		throw std::logic_error("not a loaded test add-on: " + addOn.File().string());
	return *function();
}

void HostTest::SetUp()
{
	std::filesystem::create_directories(scratch.Path() / "help");
	host = std::make_unique<Host>(HostOptions {TestAddOnFolder, scratch.Path() / "help"});
}

void HostTest::TearDown()
{
	host.reset();
}

AddOn& HostTest::Open(const std::filesystem::path& file)
{
	std::string error;
	AddOn* addOn = host->OpenAddOn(file, error);
	if (addOn == nullptr)
		throw std::runtime_error("cannot open " + file.string() + ": " + error);
	ControlOf(*addOn) = TestAddOnControl {};
	return *addOn;
}

AddOn& HostTest::Load(const std::filesystem::path& file, const std::function<void(TestAddOnControl&)>& setUp)
{
	AddOn& addOn = Open(file);
	if (setUp)
		setUp(ControlOf(addOn));
	host->StartAddOn(addOn);
	return addOn;
}

} // namespace ReferenceHost::Testing
