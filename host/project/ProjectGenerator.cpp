// Building a synthetic project. A small generator of our own (splitmix64) keeps the output
// the same on every standard library. Of the elements, about three in five are placed from
// library parts, the rest are walls, columns, beams, slabs, roofs, meshes and zones; one
// object in twenty is a stair; a few are hidden or locked; about one in ten belongs to a
// group, half of the groups protecting.
#include "ProjectGenerator.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace ReferenceHost {

namespace {

class RandomNumbers {
public:
	explicit RandomNumbers(std::uint64_t seed) : state(seed) {}

	std::uint64_t Next()
	{
		std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
		z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
		z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
		return z ^ (z >> 31);
	}
	// A number from 0 to bound - 1 (bound > 0).
	std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }
	// True with a chance of one in n.
	bool OneIn(std::size_t n) { return Below(n) == 0; }

private:
	std::uint64_t state;
};

constexpr std::array<std::int32_t, 4> PartTypes = {4, 5, 6, 7};
constexpr std::array<std::int32_t, 7> PlainTypes = {1, 2, 3, 8, 9, 10, 17};
constexpr std::array<const char*, 4> PartKindNames = {"Window", "Door", "Object", "Lamp"};

ComponentList RandomModel(RandomNumbers& random, std::size_t components)
{
	ComponentList model;
	model.reserve(components);
	for (std::size_t i = 0; i < components; ++i)
		model.push_back(static_cast<std::int32_t>(1 + random.Below(500)));
	return model;
}

LibraryPart MakePart(const ProjectGeneratorSettings& settings, RandomNumbers& random, std::size_t position)
{
	LibraryPart part;
	part.index = static_cast<std::int32_t>(position + 1);
	part.typeId = PartTypes[position % PartTypes.size()];
	part.name = std::string(PartKindNames[position % PartTypes.size()]) + " " + std::to_string(position + 1);
	char uniqueId[96];
	std::snprintf(uniqueId, sizeof uniqueId, "{%08X-0000-4000-8000-%012zX}-{00000000-0000-0000-0000-000000000000}",
		static_cast<unsigned>(settings.seed), position + 1);
	part.uniqueId = uniqueId;

	Parameter width;
	width.name = "width";
	width.typeCode = 1;
	width.number = 0.5 + static_cast<double>(random.Below(20)) / 10.0;
	part.parameters.push_back(width);

	Parameter materials;
	materials.name = "materials";
	materials.isArray = true;
	materials.texts = {"Paint", "Glass"};
	part.parameters.push_back(materials);

	// One part in four has no level-of-detail parameter.
	const bool withLevels = position % 4 != 3;
	const ComponentList detailed = RandomModel(random, settings.componentsPerElement);
	if (withLevels) {
		Parameter level;
		level.name = settings.levelParameter;
		level.text = settings.detailedValue;
		level.valueList = {settings.detailedValue, settings.simpleValue, settings.offValue};
		part.parameters.push_back(level);
		part.modelParameter = level.name;
		part.models[settings.detailedValue] = detailed;
		const std::size_t simpleCount =
			settings.componentsPerElement == 0 ? 0 : std::max<std::size_t>(1, settings.componentsPerElement / 4);
		part.models[settings.simpleValue] =
			ComponentList(detailed.begin(), detailed.begin() + static_cast<std::ptrdiff_t>(simpleCount));
		part.models[settings.offValue] = {};
	}
	part.model = detailed;
	return part;
}

} // namespace

std::unique_ptr<Project> GenerateProject(const ProjectGeneratorSettings& settings)
{
	if (settings.stories == 0 || settings.stories > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
		throw std::invalid_argument("a project has from 1 to 32767 stories");
	if (settings.levelParameter.empty() || settings.detailedValue == settings.simpleValue ||
		settings.detailedValue == settings.offValue || settings.simpleValue == settings.offValue)
		throw std::invalid_argument("the level-of-detail parameter needs a name and three different values");
	const std::size_t groups = settings.elements / 100 + 1;
	if (settings.componentsPerElement > 0 &&
		settings.elements + groups >
			static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - 1) / settings.componentsPerElement)
		throw std::invalid_argument("so many components are more than 32-bit component indexes reach");

	RandomNumbers random(settings.seed);
	auto project = std::make_unique<Project>();
	Stories& stories = project->StoryList();
	stories.first = 0;
	stories.last = static_cast<std::int16_t>(settings.stories - 1);
	stories.active = 0;
	for (std::size_t story = 0; story < settings.stories; ++story)
		stories.names.push_back("Story " + std::to_string(story));

	for (std::size_t position = 0; position < settings.libraryParts; ++position)
		project->AddLibraryPart(MakePart(settings, random, position));

	for (std::size_t group = 0; group < groups; ++group) {
		Element element;
		element.type = HostSdk::GroupElementType;
		element.groupMode = group % 2 == 0 ? 1 : 0;
		element.groupProtected = group % 2 == 0;
		element.protectionId = group % 2 == 0 ? static_cast<std::uint32_t>(group + 1) : 0;
		project->AddElement(std::move(element));
	}

	const std::vector<LibraryPart>& parts = project->LibraryParts();
	for (std::size_t i = 0; i < settings.elements; ++i) {
		Element element;
		element.story = static_cast<std::int16_t>(random.Below(settings.stories));
		const bool placed = !parts.empty() && random.Below(5) < 3;
		if (placed) {
			const LibraryPart& part = parts[random.Below(parts.size())];
			element.type = part.typeId;
			element.libPartIndex = part.index;
			element.parameters = part.parameters;
			if (element.type == HostSdk::ElementTypes::Object && random.OneIn(20))
				element.variation = HostSdk::StairVariation;
			if (Parameter* level = FindParameter(element.parameters, part.modelParameter); level != nullptr) {
				const std::size_t roll = random.Below(10);
				level->text = roll < 7 ? settings.detailedValue : roll < 9 ? settings.simpleValue : settings.offValue;
			}
		} else {
			element.type = PlainTypes[random.Below(PlainTypes.size())];
			element.components = RandomModel(random, settings.componentsPerElement);
		}
		element.visible = !random.OneIn(50);
		element.editable = !random.OneIn(20);
		if (random.OneIn(10))
			element.groupIndex = static_cast<std::int32_t>(1 + random.Below(groups));
		project->AddElement(std::move(element));
	}
	return project;
}

std::string GeneratedDetailLevelLine(const ProjectGeneratorSettings& settings)
{
	return settings.levelParameter + " \"" + settings.detailedValue + "\" \"" + settings.simpleValue + "\" \"" +
		settings.offValue + "\"\n";
}

} // namespace ReferenceHost
