#include "IfcProjectBuilder.hpp"

#include "ProjectFile.hpp"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <map>
#include <set>

namespace IfcReading {

namespace {

std::string ElementMembers(const ElementRecord& element)
{
	// Kept as unknown members of the element, so a saved project still knows its source.
	nlohmann::json ifc = {{"class", element.ifcClass}, {"globalId", element.globalId}, {"name", element.name}};
	return nlohmann::json({{"ifc", ifc}}).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string PartMembers(const PartRecord& part)
{
	static constexpr const char* Bodies[] = {"type", "map", "element"};
	nlohmann::json ifc = {{"class", part.ifcClass}, {"globalId", part.globalId},
		{"body", Bodies[static_cast<int>(part.body)]}, {"entity", part.entity}};
	return nlohmann::json({{"ifc", ifc}}).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

ReferenceHost::Parameter DetailParameterOf()
{
	ReferenceHost::Parameter parameter;
	parameter.name = DetailParameter;
	parameter.text = DetailedValue;
	parameter.valueList = {DetailedValue, SimpleValue, OffValue};
	return parameter;
}

} // namespace

std::string GuidOfGlobalId(const std::string& globalId)
{
	static constexpr std::string_view Alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
	if (globalId.size() != 22)
		return {};
	// 22 characters of 6 bits, the first holding only 2: 128 bits.
	std::array<std::uint8_t, 16> bytes {};
	unsigned bit = 0;
	for (std::size_t i = 0; i < globalId.size(); ++i) {
		const std::size_t value = Alphabet.find(globalId[i]);
		if (value == std::string_view::npos || (i == 0 && value > 3))
			return {};
		for (int b = i == 0 ? 1 : 5; b >= 0; --b, ++bit)
			if ((value >> b) & 1U)
				bytes[bit / 8] |= static_cast<std::uint8_t>(0x80U >> (bit % 8));
	}
	char text[40];
	std::snprintf(text, sizeof text, "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", bytes[0],
		bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8], bytes[9], bytes[10], bytes[11],
		bytes[12], bytes[13], bytes[14], bytes[15]);
	return text;
}

std::unique_ptr<ReferenceHost::Project> ProjectOfBuilding(const BuildingRecord& building)
{
	auto project = std::make_unique<ReferenceHost::Project>();
	ReferenceHost::Stories& stories = project->StoryList();
	const auto storyCount = static_cast<std::int32_t>(building.stories.size());
	stories.first = static_cast<std::int16_t>(-building.zeroStory);
	stories.last = static_cast<std::int16_t>(storyCount - 1 - building.zeroStory);
	stories.active = 0;
	stories.names.clear();
	for (const StoryRecord& story : building.stories)
		stories.names.push_back(story.name);

	std::set<std::string> uniqueIds;
	for (std::size_t i = 0; i < building.parts.size(); ++i) {
		const PartRecord& source = building.parts[i];
		ReferenceHost::LibraryPart part;
		part.index = static_cast<std::int32_t>(i + 1);
		part.typeId = source.hostType;
		part.name = source.name;
		std::string guid = GuidOfGlobalId(source.globalId);
		if (guid.empty()) { // a map without a type, or a type without a GlobalId
			char numbered[64];
			std::snprintf(numbered, sizeof numbered, "00000000-0000-0000-0000-%012zX", i + 1);
			guid = numbered;
		}
		// The second half tells apart types that share a GlobalId in a careless file.
		std::string uniqueId;
		for (std::size_t n = 0;; ++n) {
			char second[64];
			std::snprintf(second, sizeof second, "00000000-0000-0000-0000-%012zX", n);
			uniqueId = "{" + guid + "}-{" + second + "}";
			if (uniqueIds.insert(uniqueId).second)
				break;
		}
		part.uniqueId = uniqueId;
		part.parameters.push_back(DetailParameterOf());
		part.modelParameter = DetailParameter;
		part.models[DetailedValue] = source.detailed;
		part.models[SimpleValue] = {BoxPolygons};
		part.models[OffValue] = {};
		part.model = source.detailed;
		part.unknownFields = PartMembers(source);
		project->AddLibraryPart(std::move(part));
	}

	for (const ElementRecord& source : building.elements) {
		ReferenceHost::Element element;
		element.type = source.hostType;
		element.variation = source.variation;
		element.story = static_cast<std::int16_t>(source.storyIndex - building.zeroStory);
		if (source.part >= 0) {
			element.libPartIndex = source.part + 1;
			element.parameters.push_back(DetailParameterOf());
			const std::string& exported = building.parts[static_cast<std::size_t>(source.part)].exportedLevel;
			if (!exported.empty())
				element.parameters.back().text = exported;
		} else {
			element.components = source.components;
		}
		element.unknownFields = ElementMembers(source);
		project->AddElement(std::move(element));
	}
	for (const ModuleDataProperties& data : building.moduleData)
		project->StoreModuleData(data.addOnName, {data.dataVersion, data.platformMark, data.bytes});
	return project;
}

std::string EnvelopeText(const BuildingRecord& building, std::size_t geometryBytes)
{
	const std::unique_ptr<ReferenceHost::Project> project = ProjectOfBuilding(building);
	nlohmann::json envelope = {{"schema", building.schema}, {"withoutGeometry", building.withoutConvertibleGeometry},
		{"skippedEntities", building.skippedEntities}, {"geometryBytes", geometryBytes}};
	return envelope.dump() + "\n" + ReferenceHost::ProjectText(*project);
}

std::string GeometryBlock(const BuildingRecord& building)
{
	const BuildingGeometry& source = building.geometry;
	ReferenceHost::ModelGeometry geometry;
	geometry.meshes = source.meshes;
	for (std::int32_t mesh : source.partMesh)
		geometry.parts.push_back({mesh, -1});
	std::map<std::int32_t, std::int32_t> countOfType;
	for (std::size_t i = 0; i < building.elements.size() && i < source.elementMesh.size(); ++i) {
		const ElementRecord& element = building.elements[i];
		ReferenceHost::GeometryInstance instance;
		// As the project adds them: each type counts from 1.
		instance.element = {element.hostType, ++countOfType[element.hostType]};
		instance.part = element.part + 1;
		instance.ownMesh = source.elementMesh[i];
		instance.transform = source.elementPlacement[i];
		geometry.instances.push_back(instance);
	}
	return geometry.Block();
}

} // namespace IfcReading
