// The project tests' shared fixture and helpers.
#include "ProjectTestSupport.hpp"

namespace ReferenceHost::Testing {

std::filesystem::path SampleProjectFile()
{
	return std::filesystem::path(FACETALLY_SOURCE_DIR) / "examples" / "sample-project.json";
}

const char* const SmallProjectText = R"({
  "format": "facetally-project",
  "version": 1,
  "stories": {"first": -1, "last": 2, "active": 1, "noStoryZero": true,
              "names": ["Cellar", "Ground", "Upper", "Attic"]},
  "window": {"kind": 4},
  "dataRecord": {"mode": 3},
  "libraryParts": [
    {"index": 1, "name": "Test Window", "uniqueId": "{W-1}", "typeId": 4,
     "parameters": [
       {"name": "width", "type": 1, "value": 1.5},
       {"name": "panes", "type": 12, "array": true, "value": ["left", "right"]},
       {"name": "sizes", "type": 2, "array": true, "value": [0.5, 0.75]},
       {"name": "lod", "type": 12, "value": "Detailed", "valueList": ["Detailed", "Simple", "Off"]}
     ],
     "modelParameter": "lod",
     "models": {"Detailed": [100, 50, 25], "Simple": [10], "Off": []},
     "model": [100, 50, 25]},
    {"index": 2, "name": "Gone Part", "uniqueId": "{G-2}", "missing": true, "parameters": [], "model": [7]},
    {"index": 3, "name": "Stair Part", "uniqueId": "{S-3}", "typeId": 6,
     "parameters": [
       {"name": "a_parameter_name_of_forty_characters_xx", "type": 12, "value": "long", "valueList": ["long", "short"]}
     ],
     "model": [300, 200]}
  ],
  "elements": [
    {"type": "Wall", "story": 0, "components": [6, 8]},
    {"type": "Wall", "story": 1, "visible": false, "editable": false, "components": [6]},
    {"type": "Wall", "story": 1, "deleted": true, "components": [6]},
    {"type": "Window", "story": 0, "libraryPart": 1, "group": 1, "parameters": {"lod": "Simple"}},
    {"type": "Window", "story": 1, "libraryPart": 1},
    {"type": "Window", "story": 1, "libraryPart": 5, "components": [9]},
    {"type": "Object", "story": -1, "libraryPart": 3, "variation": "SYST", "refusesChanges": true},
    {"type": "Object", "story": 2, "libraryPart": 2, "components": [11, 12]},
    {"type": "Group", "groupMode": 1, "protected": true, "protectionId": 7},
    {"type": "Group", "groupMode": 0, "protected": false}
  ],
  "selection": {"kind": 1, "marqueeAllStories": 0, "items": ["Wall:1", "Window:2"]}
}
)";

void ProjectHostTest::SetUp()
{
	std::filesystem::create_directories(scratch.Path() / "help");
	host = std::make_unique<Host>(HostOptions {scratch.Path() / "no-add-ons", scratch.Path() / "help"});
	AddOn* addOn = host->LoadAddOn(TEST_ADDON);
	ASSERT_NE(addOn, nullptr) << host->SessionTranscript().ToText(true);
	token = addOn->Token();
	leaks.emplace();
}

void ProjectHostTest::TearDown()
{
	leaks.reset();
	host.reset();
}

void ProjectHostTest::Open(const std::string& text)
{
	const std::filesystem::path file = scratch.Path() / "project.json";
	WriteWholeFile(file, text);
	const Outcome opened = host->OpenProject(file);
	ASSERT_TRUE(opened) << opened.problem;
}

HostSdk::HostStatus ProjectHostTest::Ask(int entry, std::uint32_t selector, void* first, void* second)
{
	using Selectorial = HostSdk::HostStatus (*)(HostSdk::ModuleToken, std::uint32_t, void*, void*);
	return reinterpret_cast<Selectorial>(host->Table().Slots()[entry])(token, selector, first, second);
}

} // namespace ReferenceHost::Testing
