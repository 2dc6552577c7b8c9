// The counting tests' host, probe and project files.
#include "CountingFixture.hpp"

#include "ProjectFile.hpp"
#include "Script.hpp"

#include "DG/DG.hpp"

#include <fstream>
#include <iomanip>
#include <sstream>

namespace {

std::filesystem::path ProbeModule()
{
	return std::filesystem::path(PROBE_MODULE);
}

} // namespace

void CountingFixture::SetUp()
{
	std::filesystem::create_directories(folder / "addons");
	std::filesystem::copy_file(ProbeModule(), folder / "addons" / ProbeModule().filename());
	WriteConfiguration(StandardConfiguration);
	host = std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {folder / "addons", folder / "help"});
	DG::ClearShownModalDialogs();
}

std::string CountingFixture::ValueOf(ReferenceHost::ElementId id, const std::string& name) const
{
	const ReferenceHost::Element* element = host->CurrentProject()->FindElement(id);
	const ReferenceHost::Parameter* parameter =
		element != nullptr ? ReferenceHost::FindParameter(element->parameters, name) : nullptr;
	return parameter != nullptr ? parameter->text : "(none)";
}

void CountingFixture::TearDown()
{
	host.reset();
}

void CountingFixture::WriteConfiguration(std::string_view text)
{
	WriteWholeFile(folder / "addons" / "FacetallyProbe.txt", std::string(text));
}

void CountingFixture::LoadProbe()
{
	ReferenceHost::AddOn* addOn = host->LoadAddOn(folder / "addons" / ProbeModule().filename());
	ASSERT_NE(addOn, nullptr) << host->SessionTranscript().ToText(true);
	const auto control = reinterpret_cast<const ProbeControl* (*) ()>(addOn->Symbol(ProbeControlName));
	ASSERT_NE(control, nullptr);
	probe = control();
}

void CountingFixture::OpenProject(const ReferenceHost::Project& project)
{
	const std::filesystem::path file = folder / "project.json";
	std::string problem;
	ASSERT_TRUE(ReferenceHost::WriteProjectFile(project, file, problem)) << problem;
	const ReferenceHost::Outcome opened = host->OpenProject(file);
	ASSERT_TRUE(opened.ok) << opened.problem;
}

void CountingFixture::OpenOneObject(std::string partName, std::vector<std::int32_t> model)
{
	LoadProbe();
	ReferenceHost::Project project;
	const auto part = project.AddLibraryPart(TestProjects::PlainPart(1, std::move(partName), 6, std::move(model)));
	project.AddElement(TestProjects::Placed(HostSdk::ElementTypes::Object, part));
	OpenProject(project);
}

void CountingFixture::OpenPalette()
{
	host->Report().Clear();
	const ReferenceHost::Outcome chosen = host->ChooseMenuItem("Facetally");
	ASSERT_TRUE(chosen.ok) << chosen.problem;
	ProbeSettings settings;
	ASSERT_TRUE(probe->getSettings(settings)) << "the palette did not open";
}

void CountingFixture::ClosePalette()
{
	ProbeSettings settings;
	ASSERT_TRUE(probe->getSettings(settings)) << "the palette is not open";
	const ReferenceHost::Outcome chosen = host->ChooseMenuItem("Facetally");
	ASSERT_TRUE(chosen.ok) << chosen.problem;
}

void CountingFixture::Refresh(const ProbeSettings& settings)
{
	ASSERT_TRUE(probe->setSettings(settings)) << "the palette is not open";
	Refresh();
}

void CountingFixture::Refresh()
{
	host->Report().Clear();
	ASSERT_TRUE(probe->refresh()) << "the palette is not open";
}

std::string CountingFixture::RunScript(const std::string& lines)
{
	const ReferenceHost::Script script = ReferenceHost::ParseScript(lines, "test.script");
	if (!script.IsValid())
		return script.problems.front().message;
	// Line by line: a whole script ends the session, and the test goes on after it.
	ReferenceHost::ScriptContext context {*host};
	for (const ReferenceHost::ScriptLine& line : script.lines) {
		host->SessionTranscript().Add(ReferenceHost::TranscriptKind::Action, line.text);
		const ReferenceHost::ScriptActionDefinition* action = ReferenceHost::FindScriptAction(line.word);
		const ReferenceHost::Outcome outcome = action != nullptr ? action->run(context, line.arguments)
																 : ReferenceHost::Outcome::Failure("unknown action");
		if (!outcome.ok)
			return line.text + ": " + outcome.problem + "\n" + host->SessionTranscript().ToText(false);
	}
	return {};
}

ProbeResult CountingFixture::Result() const
{
	ProbeResult result;
	probe->readResult(result);
	return result;
}

namespace TestProjects {

using ReferenceHost::Element;
using ReferenceHost::LibraryPart;
using ReferenceHost::Parameter;

std::string UniqueIdOf(std::int32_t partIndex)
{
	std::ostringstream text;
	text << "{00000000-0000-0000-0000-" << std::setw(12) << std::setfill('0') << partIndex << "}";
	return text.str();
}

namespace {

LibraryPart NamedPart(std::int32_t index, std::string name, std::int32_t typeId)
{
	LibraryPart part;
	part.index = index;
	part.typeId = typeId;
	part.name = std::move(name);
	part.uniqueId = UniqueIdOf(index);
	return part;
}

} // namespace

LibraryPart PartWithLevels(std::int32_t index, std::string name, std::int32_t typeId,
	std::vector<std::int32_t> fullModel, std::int32_t reducedPolygons)
{
	LibraryPart part = NamedPart(index, std::move(name), typeId);
	Parameter width;
	width.name = "width";
	width.typeCode = 1;
	width.number = 0.9;
	Parameter level;
	level.name = "lod";
	level.text = "Full";
	level.valueList = {"Full", "Reduced", "None"};
	part.parameters = {width, level};
	part.modelParameter = "lod";
	part.models["Full"] = fullModel;
	part.models["Reduced"] = {reducedPolygons};
	part.models["None"] = {};
	part.model = std::move(fullModel);
	return part;
}

LibraryPart PlainPart(std::int32_t index, std::string name, std::int32_t typeId, std::vector<std::int32_t> model)
{
	LibraryPart part = NamedPart(index, std::move(name), typeId);
	Parameter material;
	material.name = "material";
	material.text = "oak";
	material.valueList = {"oak", "pine"};
	part.parameters = {material};
	part.model = std::move(model);
	return part;
}

Element Placed(std::int32_t type, const LibraryPart& part, std::int16_t story)
{
	Element element;
	element.type = type;
	element.libPartIndex = part.index;
	element.story = story;
	element.parameters = part.parameters;
	return element;
}

Element ProtectingGroup(std::int32_t protectionId)
{
	Element group;
	group.type = HostSdk::ElementTypes::Group;
	group.groupMode = 1;
	group.groupProtected = true;
	group.protectionId = protectionId;
	return group;
}

ReferenceHost::Project Windows(int count)
{
	ReferenceHost::Project project;
	const auto window = project.AddLibraryPart(PartWithLevels(1, "Casement", 4, {100, 20}, 7));
	for (int i = 0; i < count; ++i)
		project.AddElement(Placed(HostSdk::ElementTypes::Window, window));
	return project;
}

ReferenceHost::Project TwoWindows()
{
	return Windows(2);
}

Element Plain(std::int32_t type, std::vector<std::int32_t> components, std::int16_t story)
{
	Element element;
	element.type = type;
	element.story = story;
	element.components = std::move(components);
	return element;
}

} // namespace TestProjects
