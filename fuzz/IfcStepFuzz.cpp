// Fuzz target: an IFC file's text through the reading the host's converter does: the STEP
// check, the IFC library's model, the mending of forms the engine cannot convert, the mapping
// to stories, elements and parts, and the project model made of it.
//
// Checked beyond "no crash": a refusal names what is wrong; an accepted building's elements
// lie on its stories and are placed from parts it has; its project reads back through the
// host's own project reader, so the host never receives a project it cannot open.
#include "FuzzCheck.hpp"

#include "IfcConversion.hpp"
#include "IfcProjectBuilder.hpp"
#include "ProjectFile.hpp"
#include "StepCheck.hpp"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	const std::string text(reinterpret_cast<const char*>(data), size);
	const IfcReading::StepCheck check = IfcReading::CheckStepText(text);
	if (!check.ok) {
		FUZZ_CHECK(!check.problem.empty());
		return 0;
	}
	IfcReading::BuildingRecord building;
	try {
		building = IfcReading::ConvertIfcText(text, {});
	} catch (const IfcReading::IfcRefusal& refusal) {
		FUZZ_CHECK(refusal.what()[0] != '\0');
		return 0;
	}
	FUZZ_CHECK(!building.stories.empty());
	for (const IfcReading::ElementRecord& element : building.elements) {
		FUZZ_CHECK(element.storyIndex >= 0 && element.storyIndex < static_cast<std::int32_t>(building.stories.size()));
		FUZZ_CHECK(element.part < static_cast<std::int32_t>(building.parts.size()));
	}
	building.schema = check.schema;
	const std::string envelope = IfcReading::EnvelopeText(building);
	std::string problem;
	FUZZ_CHECK(
		ReferenceHost::ParseProjectText(envelope.substr(envelope.find('\n') + 1), "fuzz.ifc", problem) != nullptr);
	return 0;
}
