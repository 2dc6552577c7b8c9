// Writing project files: the project model as the JSON document, each object's unknown
// members after the known ones, saved through a temporary file beside the target.
#include "FileChecks.hpp"
#include "FileWriting.hpp"
#include "ProjectFile.hpp"
#include "ProjectFileFields.hpp"

namespace ReferenceHost {

namespace {

using namespace ProjectJson;

Json ParameterValueJson(const Parameter& parameter)
{
	if (parameter.isArray) {
		Json values = Json::array();
		if (parameter.IsText())
			for (const std::string& text : parameter.texts)
				values.push_back(text);
		else
			for (const double number : parameter.numbers)
				values.push_back(number);
		return values;
	}
	return parameter.IsText() ? Json(parameter.text) : Json(parameter.number);
}

Json StoriesJson(const Stories& stories)
{
	Json json = {{"first", stories.first}, {"last", stories.last}, {"active", stories.active},
		{"noStoryZero", stories.noStoryZero}};
	if (!stories.names.empty())
		json["names"] = stories.names;
	AppendUnknown(json, stories.unknownFields);
	return json;
}

Json ParameterJson(const Parameter& parameter)
{
	Json json = {{"name", parameter.name}, {"type", parameter.typeCode}};
	if (parameter.isArray)
		json["array"] = true;
	json["value"] = ParameterValueJson(parameter);
	if (!parameter.valueList.empty())
		json["valueList"] = parameter.valueList;
	AppendUnknown(json, parameter.unknownFields);
	return json;
}

Json LibraryPartJson(const LibraryPart& part)
{
	Json json = {{"index", part.index}, {"name", part.name}, {"uniqueId", part.uniqueId}};
	if (part.typeId != 0)
		json["typeId"] = part.typeId;
	if (!part.file.empty())
		json["file"] = part.file;
	if (part.missing)
		json["missing"] = true;
	Json parameters = Json::array();
	for (const Parameter& parameter : part.parameters)
		parameters.push_back(ParameterJson(parameter));
	json["parameters"] = std::move(parameters);
	if (!part.modelParameter.empty()) {
		json["modelParameter"] = part.modelParameter;
		Json models = Json::object();
		for (const auto& [value, components] : part.models)
			models[value] = components;
		json["models"] = std::move(models);
	}
	json["model"] = part.model;
	AppendUnknown(json, part.unknownFields);
	return json;
}

Json ElementJson(const Element& element, const Project& project)
{
	Json json = {{"type", ElementTypeNameOf(element.type)}, {"index", element.index}, {"story", element.story}};
	const bool placedFromPart =
		element.type >= HostSdk::ElementTypes::Window && element.type <= HostSdk::ElementTypes::Lamp;
	if (placedFromPart)
		json["libraryPart"] = element.libPartIndex;
	if (element.variation != 0)
		json["variation"] = VariationJson(element.variation);
	if (element.groupIndex != 0)
		json["group"] = element.groupIndex;
	if (!element.visible)
		json["visible"] = false;
	if (!element.editable)
		json["editable"] = false;
	if (element.deleted)
		json["deleted"] = true;
	if (element.refusesChanges)
		json["refusesChanges"] = true;
	if (element.IsGroup()) {
		json["groupMode"] = element.groupMode;
		json["protected"] = element.groupProtected;
		json["protectionId"] = element.protectionId;
	}
	if (placedFromPart) {
		// Only the values that differ from the part's: the rest follows the part.
		Json values = Json::object();
		if (const LibraryPart* part = project.FindLibraryPart(element.libPartIndex))
			for (const Parameter& parameter : element.parameters) {
				const Parameter* original = FindParameter(part->parameters, parameter.name);
				if (original != nullptr && original->name == parameter.name && !original->HasSameValue(parameter))
					values[parameter.name] = ParameterValueJson(parameter);
			}
		if (!values.empty())
			json["parameters"] = std::move(values);
	}
	if (!element.components.empty())
		json["components"] = element.components;
	AppendUnknown(json, element.unknownFields);
	return json;
}

Json DataRecordJson(const Project& project)
{
	const auto& bytes = project.DataRecordBytes();
	Json json = {{"mode", project.DataRecordMode()}};
	for (std::size_t i = 4; i < bytes.size(); ++i)
		if (bytes[i] != 0) {
			json["rest"] = HexText(bytes.data() + 4, bytes.size() - 4);
			break;
		}
	return json;
}

Json DocumentOf(const Project& project)
{
	Json json = {{"format", ProjectFormatName}, {"version", ProjectFormatVersion}};
	json["stories"] = StoriesJson(project.StoryList());
	json["window"] = {{"kind", project.WindowKind()}};
	json["dataRecord"] = DataRecordJson(project);
	Json parts = Json::array();
	for (const LibraryPart& part : project.LibraryParts())
		parts.push_back(LibraryPartJson(part));
	json["libraryParts"] = std::move(parts);
	Json elements = Json::array();
	for (std::int32_t type = 0; type < ElementTypeCount; ++type)
		for (const Element& element : project.ElementsOf(type))
			elements.push_back(ElementJson(element, project));
	json["elements"] = std::move(elements);

	const Selection& selection = project.CurrentSelection();
	Json items = Json::array();
	for (const ElementId& id : selection.items)
		items.push_back(ElementIdText(id));
	json["selection"] = {
		{"kind", selection.kind}, {"marqueeAllStories", selection.marqueeAllStories}, {"items", items}};
	AppendUnknown(json["selection"], selection.unknownFields);

	const AnswerDamage& damage = project.Damage();
	if (damage.Any())
		json["damage"] = {{"valueListCountTooLarge", damage.valueListCountTooLarge},
			{"groupDataTooShort", damage.groupDataTooShort}, {"parameterHandleRagged", damage.parameterHandleRagged},
			{"textsUnterminated", damage.textsUnterminated}, {"parameterNamesOverlong", damage.parameterNamesOverlong}};
	if (!project.AllModuleData().empty()) {
		Json moduleData = Json::object();
		for (const auto& [name, block] : project.AllModuleData())
			moduleData[name] = {{"dataVersion", block.dataVersion}, {"platformMark", block.platformMark},
				{"bytes", HexText(block.bytes.data(), block.bytes.size())}};
		json["moduleData"] = std::move(moduleData);
	}
	AppendUnknown(json, project.TopLevelUnknownFields());
	return json;
}

} // namespace

std::string ProjectText(const Project& project)
{
	return DocumentOf(project).dump(2) + "\n";
}

bool WriteProjectFile(const Project& project, const std::filesystem::path& named, std::string& problem)
{
	std::string text;
	try {
		text = ProjectText(project);
	} catch (const std::exception& error) {
		problem = "Cannot write the project file " + FileBehindLinks(named).string() + ": " + error.what();
		return false;
	}
	return WriteFileWhole(named, text, "Cannot write the project file", problem);
}

} // namespace ReferenceHost
