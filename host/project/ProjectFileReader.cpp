// Reading project files. The reader walks the JSON document with the JSON pointer of each
// value at hand, so every complaint names its place; each object's members that the reader
// never asked for are kept as text and written back after the known ones.
#include "FileChecks.hpp"
#include "ProjectFile.hpp"
#include "ProjectFileFields.hpp"
#include "ProjectJsonText.hpp"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

namespace ReferenceHost {

namespace {

using namespace ProjectJson;

// A name an add-on reads as a zero-terminated text: a zero inside would make it another name.
std::string ReadName(const Json& value, const std::string& pointer)
{
	std::string name = ReadString(value, pointer);
	const std::size_t zero = name.find('\0');
	if (zero != std::string::npos)
		Fail(pointer, "character " + std::to_string(zero + 1) + " of the name is a zero character");
	return name;
}

void ReadStories(const Json& value, const std::string& pointer, Stories& stories)
{
	ObjectReader reader(value, pointer);
	if (const Json* first = reader.Find("first"))
		stories.first = ReadIntegerOf<std::int16_t>(*first, reader.PointerOf("first"));
	stories.last = stories.first;
	if (const Json* last = reader.Find("last"))
		stories.last = ReadIntegerOf<std::int16_t>(*last, reader.PointerOf("last"), stories.first);
	stories.active = stories.first;
	if (const Json* active = reader.Find("active"))
		stories.active = ReadIntegerOf<std::int16_t>(*active, reader.PointerOf("active"), stories.first, stories.last);
	if (const Json* noStoryZero = reader.Find("noStoryZero"))
		stories.noStoryZero = ReadBool(*noStoryZero, reader.PointerOf("noStoryZero"));
	if (const Json* names = reader.Find("names")) {
		stories.names = ReadStrings(*names, reader.PointerOf("names"));
		if (stories.names.size() > static_cast<std::size_t>(stories.last - stories.first + 1))
			Fail(reader.PointerOf("names"), "there are more names than stories");
	}
	stories.unknownFields = reader.Unknown();
}

// A parameter value of the parameter's type and shape.
void ReadParameterValue(const Json& value, const std::string& pointer, Parameter& parameter)
{
	if (parameter.isArray) {
		parameter.texts.clear();
		parameter.numbers.clear();
		std::size_t position = 0;
		for (const Json& item : ReadArray(value, pointer)) {
			if (parameter.IsText())
				parameter.texts.push_back(ReadString(item, Position(pointer, position++)));
			else
				parameter.numbers.push_back(ReadNumber(item, Position(pointer, position++)));
		}
	} else if (parameter.IsText()) {
		parameter.text = ReadString(value, pointer);
	} else {
		parameter.number = ReadNumber(value, pointer);
	}
}

Parameter ReadParameter(const Json& value, const std::string& pointer)
{
	ObjectReader reader(value, pointer);
	Parameter parameter;
	parameter.name = ReadName(reader.Require("name"), reader.PointerOf("name"));
	if (parameter.name.empty())
		Fail(reader.PointerOf("name"), "a parameter needs a name");
	if (const Json* type = reader.Find("type"))
		parameter.typeCode = ReadIntegerOf<std::uint32_t>(*type, reader.PointerOf("type"), 0);
	if (const Json* array = reader.Find("array"))
		parameter.isArray = ReadBool(*array, reader.PointerOf("array"));
	if (const Json* parameterValue = reader.Find("value"))
		ReadParameterValue(*parameterValue, reader.PointerOf("value"), parameter);
	if (const Json* valueList = reader.Find("valueList"))
		parameter.valueList = ReadStrings(*valueList, reader.PointerOf("valueList"));
	parameter.unknownFields = reader.Unknown();
	return parameter;
}

LibraryPart ReadLibraryPart(const Json& value, const std::string& pointer)
{
	ObjectReader reader(value, pointer);
	LibraryPart part;
	part.index = ReadIntegerOf<std::int32_t>(reader.Require("index"), reader.PointerOf("index"), 1);
	part.name = ReadName(reader.Require("name"), reader.PointerOf("name"));
	part.uniqueId = ReadName(reader.Require("uniqueId"), reader.PointerOf("uniqueId"));
	if (part.uniqueId.empty())
		Fail(reader.PointerOf("uniqueId"), "a library part needs a unique identifier");
	if (const Json* typeId = reader.Find("typeId"))
		part.typeId = ReadIntegerOf<std::int32_t>(*typeId, reader.PointerOf("typeId"));
	if (const Json* file = reader.Find("file"))
		part.file = ReadString(*file, reader.PointerOf("file"));
	if (const Json* missing = reader.Find("missing"))
		part.missing = ReadBool(*missing, reader.PointerOf("missing"));
	if (const Json* parameters = reader.Find("parameters")) {
		const std::string parametersPointer = reader.PointerOf("parameters");
		std::size_t position = 0;
		for (const Json& item : ReadArray(*parameters, parametersPointer)) {
			const std::string itemPointer = Position(parametersPointer, position++);
			Parameter parameter = ReadParameter(item, itemPointer);
			for (const Parameter& earlier : part.parameters)
				if (earlier.name == parameter.name)
					Fail(Member(itemPointer, "name"), "the part has two parameters named " + Quoted(parameter.name));
			part.parameters.push_back(std::move(parameter));
		}
	}
	if (const Json* model = reader.Find("model"))
		part.model = ReadComponents(*model, reader.PointerOf("model"));
	if (const Json* modelParameter = reader.Find("modelParameter")) {
		part.modelParameter = ReadString(*modelParameter, reader.PointerOf("modelParameter"));
		const Parameter* chooser = FindParameter(part.parameters, part.modelParameter);
		if (chooser == nullptr || chooser->name != part.modelParameter || !chooser->IsSingleText())
			Fail(reader.PointerOf("modelParameter"),
				Quoted(part.modelParameter) + " is not a single-value text parameter of the part");
	}
	if (const Json* models = reader.Find("models")) {
		const std::string modelsPointer = reader.PointerOf("models");
		ObjectReader modelsReader(*models, modelsPointer);
		if (part.modelParameter.empty() && !models->empty())
			Fail(modelsPointer, "models per value need a \"modelParameter\" that names the value's parameter");
		for (const auto& [valueText, components] : models->items()) {
			modelsReader.Find(valueText);
			part.models[valueText] = ReadComponents(components, Member(modelsPointer, valueText));
		}
	}
	part.unknownFields = reader.Unknown();
	return part;
}

// Element members that only some types may carry.
void RefuseUnless(bool allowed, ObjectReader& reader, const std::string& key, std::string_view who)
{
	if (!allowed && reader.Find(key) != nullptr)
		Fail(reader.PointerOf(key), "only " + std::string(who) + " carry " + Quoted(key));
}

Element ReadElement(
	const Json& value, const std::string& pointer, const Project& project, std::vector<std::int32_t>& nextIndex)
{
	ObjectReader reader(value, pointer);
	Element element;
	const Json& typeValue = reader.Require("type");
	if (typeValue.is_string()) {
		const std::optional<std::int32_t> type = ElementTypeFromText(typeValue.get<std::string>());
		if (!type)
			Fail(reader.PointerOf("type"), Quoted(typeValue.get<std::string>()) + " is not an element type");
		element.type = *type;
	} else {
		element.type = ReadIntegerOf<std::int32_t>(typeValue, reader.PointerOf("type"), 0, ElementTypeCount - 1);
	}
	const std::int32_t index = nextIndex[static_cast<std::size_t>(element.type)]++;
	if (const Json* given = reader.Find("index")) {
		const auto written = ReadIntegerOf<std::int32_t>(*given, reader.PointerOf("index"), 1);
		if (written != index)
			Fail(reader.PointerOf("index"),
				"this is element " + std::to_string(index) + " of its type, not " + std::to_string(written) +
					" (indexes follow the order of the elements)");
	}
	if (const Json* story = reader.Find("story")) {
		element.story = ReadIntegerOf<std::int16_t>(*story, reader.PointerOf("story"));
		if (!project.StoryList().Contains(element.story))
			Fail(reader.PointerOf("story"), "the project has no story " + std::to_string(element.story));
	} else {
		element.story = project.StoryList().first;
	}
	if (const Json* variation = reader.Find("variation"))
		element.variation = ReadVariation(*variation, reader.PointerOf("variation"));
	if (const Json* group = reader.Find("group"))
		element.groupIndex = ReadIntegerOf<std::int32_t>(*group, reader.PointerOf("group"), 0);
	if (const Json* visible = reader.Find("visible"))
		element.visible = ReadBool(*visible, reader.PointerOf("visible"));
	if (const Json* editable = reader.Find("editable"))
		element.editable = ReadBool(*editable, reader.PointerOf("editable"));
	if (const Json* deleted = reader.Find("deleted"))
		element.deleted = ReadBool(*deleted, reader.PointerOf("deleted"));
	if (const Json* refuses = reader.Find("refusesChanges"))
		element.refusesChanges = ReadBool(*refuses, reader.PointerOf("refusesChanges"));
	if (const Json* components = reader.Find("components"))
		element.components = ReadComponents(*components, reader.PointerOf("components"));

	const bool placedFromPart =
		element.type >= HostSdk::ElementTypes::Window && element.type <= HostSdk::ElementTypes::Lamp;
	RefuseUnless(placedFromPart, reader, "libraryPart", "windows, doors, objects and lamps");
	RefuseUnless(placedFromPart, reader, "parameters", "windows, doors, objects and lamps");
	RefuseUnless(element.IsGroup(), reader, "groupMode", "groups");
	RefuseUnless(element.IsGroup(), reader, "protected", "groups");
	RefuseUnless(element.IsGroup(), reader, "protectionId", "groups");
	if (element.IsGroup()) {
		if (const Json* mode = reader.Find("groupMode"))
			element.groupMode = ReadIntegerOf<std::int32_t>(*mode, reader.PointerOf("groupMode"));
		if (const Json* isProtected = reader.Find("protected"))
			element.groupProtected = ReadBool(*isProtected, reader.PointerOf("protected"));
		if (const Json* protectionId = reader.Find("protectionId"))
			element.protectionId = ReadIntegerOf<std::uint32_t>(*protectionId, reader.PointerOf("protectionId"), 0);
	}
	if (placedFromPart) {
		if (const Json* part = reader.Find("libraryPart"))
			element.libPartIndex = ReadIntegerOf<std::int32_t>(*part, reader.PointerOf("libraryPart"), 0);
		const LibraryPart* part = project.FindLibraryPart(element.libPartIndex);
		if (part != nullptr)
			element.parameters = part->parameters;
		if (const Json* values = reader.Find("parameters")) {
			const std::string valuesPointer = reader.PointerOf("parameters");
			ObjectReader valuesReader(*values, valuesPointer);
			for (const auto& [name, parameterValue] : values->items()) {
				valuesReader.Find(name);
				Parameter* parameter = nullptr;
				for (Parameter& candidate : element.parameters)
					if (candidate.name == name)
						parameter = &candidate;
				if (parameter == nullptr)
					Fail(Member(valuesPointer, name),
						part == nullptr
							? "the element's library part " + std::to_string(element.libPartIndex) +
								" is not in the project, so it has no parameters"
							: "the library part " + Quoted(part->name) + " has no parameter " + Quoted(name));
				ReadParameterValue(parameterValue, Member(valuesPointer, name), *parameter);
			}
		}
	}
	element.unknownFields = reader.Unknown();
	return element;
}

void ReadSelection(const Json& value, const std::string& pointer, Project& project)
{
	ObjectReader reader(value, pointer);
	Selection& selection = project.CurrentSelection();
	if (const Json* kind = reader.Find("kind"))
		selection.kind = ReadIntegerOf<std::int32_t>(*kind, reader.PointerOf("kind"), 0);
	if (const Json* allStories = reader.Find("marqueeAllStories"))
		selection.marqueeAllStories =
			ReadIntegerOf<std::uint8_t>(*allStories, reader.PointerOf("marqueeAllStories"), 0);
	if (const Json* items = reader.Find("items")) {
		const std::string itemsPointer = reader.PointerOf("items");
		std::size_t position = 0;
		for (const Json& item : ReadArray(*items, itemsPointer)) {
			const std::string itemPointer = Position(itemsPointer, position++);
			const std::string text = ReadString(item, itemPointer);
			const std::optional<ElementId> id = ParseElementId(text);
			if (!id)
				Fail(itemPointer, Quoted(text) + " does not name an element (write type, colon, index: \"Door:2\")");
			const Element* element = project.FindElement(*id);
			if (element == nullptr || element->deleted)
				Fail(itemPointer, "there is no element " + Quoted(text));
			if (!SelectionItemCodeOf(id->type))
				Fail(
					itemPointer, "elements of the type " + Quoted(ElementTypeNameOf(id->type)) + " cannot be selected");
			for (const ElementId& earlier : selection.items)
				if (earlier == *id)
					Fail(itemPointer, Quoted(text) + " is selected twice");
			selection.items.push_back(*id);
		}
	}
	if (selection.kind == 0 && !selection.items.empty())
		Fail(reader.PointerOf("kind"), "a selection of kind 0 (nothing selected) holds no items");
	if (selection.kind == 1 && selection.items.empty())
		Fail(reader.PointerOf("items"), "a selection of kind 1 (elements) needs at least one item");
	selection.unknownFields = reader.Unknown();
}

void ReadDamage(const Json& value, const std::string& pointer, AnswerDamage& damage)
{
	ObjectReader reader(value, pointer);
	const std::pair<const char*, bool AnswerDamage::*> switches[] = {
		{"valueListCountTooLarge", &AnswerDamage::valueListCountTooLarge},
		{"groupDataTooShort", &AnswerDamage::groupDataTooShort},
		{"parameterHandleRagged", &AnswerDamage::parameterHandleRagged},
		{"textsUnterminated", &AnswerDamage::textsUnterminated},
		{"parameterNamesOverlong", &AnswerDamage::parameterNamesOverlong},
	};
	for (const auto& [name, flag] : switches)
		if (const Json* on = reader.Find(name))
			damage.*flag = ReadBool(*on, reader.PointerOf(name));
	// A misspelt damage would silently test nothing.
	if (!reader.Unknown().empty()) {
		for (const auto& [key, ignored] : value.items()) {
			bool knownName = false;
			for (const auto& [name, flag] : switches)
				knownName = knownName || key == name;
			if (!knownName)
				Fail(Member(pointer, key), Quoted(key) + " is not a kind of damaged answer this host can give");
		}
	}
}

void ReadModuleData(const Json& value, const std::string& pointer, Project& project)
{
	ObjectReader reader(value, pointer);
	for (const auto& [name, blockValue] : value.items()) {
		reader.Find(name);
		ObjectReader blockReader(blockValue, Member(pointer, name));
		ModuleDataBlock block;
		block.dataVersion =
			ReadIntegerOf<std::uint32_t>(blockReader.Require("dataVersion"), blockReader.PointerOf("dataVersion"), 0);
		block.platformMark =
			ReadIntegerOf<std::uint16_t>(blockReader.Require("platformMark"), blockReader.PointerOf("platformMark"), 0);
		if (const Json* bytes = blockReader.Find("bytes"))
			block.bytes = ReadHexBytes(*bytes, blockReader.PointerOf("bytes"));
		if (!blockReader.Unknown().empty())
			Fail(blockReader.Pointer(), "module data holds only \"dataVersion\", \"platformMark\" and \"bytes\"");
		project.StoreModuleData(name, std::move(block));
	}
}

void ReadDataRecord(const Json& value, const std::string& pointer, Project& project)
{
	ObjectReader reader(value, pointer);
	auto& bytes = project.DataRecordBytes();
	if (const Json* rest = reader.Find("rest")) {
		const std::vector<std::uint8_t> restBytes = ReadHexBytes(*rest, reader.PointerOf("rest"));
		if (restBytes.size() != bytes.size() - 4)
			Fail(reader.PointerOf("rest"),
				"expected the record's bytes 4 to 823: " + std::to_string(bytes.size() - 4) + " bytes, found " +
					std::to_string(restBytes.size()));
		std::copy(restBytes.begin(), restBytes.end(), bytes.begin() + 4);
	}
	if (const Json* mode = reader.Find("mode")) {
		const auto modeValue = ReadIntegerOf<std::int32_t>(*mode, reader.PointerOf("mode"));
		std::memcpy(bytes.data(), &modeValue, sizeof modeValue);
	}
	if (!reader.Unknown().empty())
		Fail(pointer, "the data record holds only \"mode\" and \"rest\"");
}

std::unique_ptr<Project> ReadDocument(const Json& document)
{
	auto project = std::make_unique<Project>();
	ObjectReader root(document, "");
	const Json& format = root.Require("format");
	if (!format.is_string() || format.get<std::string>() != ProjectFormatName)
		Fail(root.PointerOf("format"), "expected " + Quoted(ProjectFormatName) + ", found " + ShownValue(format));
	const auto version = ReadIntegerOf<std::int32_t>(root.Require("version"), root.PointerOf("version"), 1);
	if (version > ProjectFormatVersion)
		Fail(root.PointerOf("version"),
			"the file was written in version " + std::to_string(version) +
				" of the project format; this host reads version " + std::to_string(ProjectFormatVersion));

	if (const Json* stories = root.Find("stories"))
		ReadStories(*stories, root.PointerOf("stories"), project->StoryList());
	if (const Json* window = root.Find("window")) {
		ObjectReader windowReader(*window, root.PointerOf("window"));
		if (const Json* kind = windowReader.Find("kind"))
			project->SetWindowKind(ReadIntegerOf<std::int32_t>(*kind, windowReader.PointerOf("kind"), 1));
		if (!windowReader.Unknown().empty())
			Fail(windowReader.Pointer(), "the window holds only \"kind\"");
	}
	if (const Json* dataRecord = root.Find("dataRecord"))
		ReadDataRecord(*dataRecord, root.PointerOf("dataRecord"), *project);

	if (const Json* parts = root.Find("libraryParts")) {
		const std::string partsPointer = root.PointerOf("libraryParts");
		std::size_t position = 0;
		for (const Json& item : ReadArray(*parts, partsPointer)) {
			const std::string itemPointer = Position(partsPointer, position++);
			LibraryPart part = ReadLibraryPart(item, itemPointer);
			if (project->FindLibraryPart(part.index) != nullptr)
				Fail(Member(itemPointer, "index"), "another library part has the index " + std::to_string(part.index));
			if (project->FindLibraryPartByUniqueId(part.uniqueId) != nullptr)
				Fail(Member(itemPointer, "uniqueId"),
					"another library part has the identifier " + Quoted(part.uniqueId));
			project->AddLibraryPart(std::move(part));
		}
	}

	if (const Json* elements = root.Find("elements")) {
		const std::string elementsPointer = root.PointerOf("elements");
		std::vector<std::int32_t> nextIndex(ElementTypeCount, 1);
		std::vector<std::pair<std::string, ElementId>> memberships;
		std::size_t position = 0;
		for (const Json& item : ReadArray(*elements, elementsPointer)) {
			const std::string itemPointer = Position(elementsPointer, position++);
			const Element& element = project->AddElement(ReadElement(item, itemPointer, *project, nextIndex));
			if (element.groupIndex != 0)
				memberships.emplace_back(Member(itemPointer, "group"), element.Id());
		}
		// Groups may come after their members.
		for (const auto& [groupPointer, member] : memberships) {
			const std::int32_t group = project->FindElement(member)->groupIndex;
			if (project->FindElement(HostSdk::GroupElementType, group) == nullptr)
				Fail(groupPointer, "there is no group " + std::to_string(group));
		}
	}

	if (const Json* selection = root.Find("selection"))
		ReadSelection(*selection, root.PointerOf("selection"), *project);
	if (const Json* damage = root.Find("damage"))
		ReadDamage(*damage, root.PointerOf("damage"), project->Damage());
	if (const Json* moduleData = root.Find("moduleData"))
		ReadModuleData(*moduleData, root.PointerOf("moduleData"), *project);
	project->TopLevelUnknownFields() = root.Unknown();
	return project;
}

} // namespace

std::unique_ptr<Project> ParseProjectText(std::string_view text, const std::string& fileName, std::string& problem)
{
	JsonProblem refused;
	const std::optional<Json> document = ParseJsonDocument(text, refused);
	if (!document) {
		problem = fileName + ": " + refused.place + ": " + refused.text;
		return nullptr;
	}
	try {
		return ReadDocument(*document);
	} catch (const FormatError& error) {
		problem =
			fileName + ": at " + (error.Place().empty() ? std::string("the top") : error.Place()) + ": " + error.what();
	} catch (const std::exception& error) {
		problem = fileName + ": " + error.what();
	}
	return nullptr;
}

namespace {

// The whole text of a file that passed the checks; false with the reason in problem.
bool ReadCheckedFile(const std::filesystem::path& file, std::string& text, std::string& problem)
{
	if (!CheckFileBeforeReading(file, MostProjectFileBytes, "Cannot read the project file", problem))
		return false;
	std::ifstream stream(file, std::ios::binary);
	std::ostringstream contents;
	if (stream)
		contents << stream.rdbuf();
	if (!stream || stream.bad()) {
		problem = "Cannot read the project file " + file.string();
		return false;
	}
	text = std::move(contents).str();
	return true;
}

} // namespace

std::unique_ptr<Project> ReadProjectFile(const std::filesystem::path& file, std::string& problem)
{
	std::string text;
	if (!ReadCheckedFile(file, text, problem))
		return nullptr;
	std::unique_ptr<Project> project = ParseProjectText(text, file.string(), problem);
	if (project != nullptr)
		project->SetFile(file);
	return project;
}

bool IsProjectFile(const std::filesystem::path& file)
{
	std::string text;
	std::string problem;
	if (!ReadCheckedFile(file, text, problem))
		return false;
	const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
	const auto format = document.is_object() ? document.find("format") : document.end();
	return document.is_object() && format != document.end() && *format == ProjectFormatName;
}

} // namespace ReferenceHost
