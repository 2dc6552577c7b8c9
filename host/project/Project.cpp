// The project model: elements numbered per type, library parts by index, the 3D model laid
// out in blocks of component indexes, and a person's edits of parameters.
#include "Project.hpp"

#include "HostText.hpp"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace ReferenceHost {

namespace {

std::uint64_t NextSerial()
{
	static std::atomic<std::uint64_t> counter {0};
	return ++counter;
}

const std::vector<Element>& NoElements()
{
	static const std::vector<Element> none;
	return none;
}

std::vector<std::string> SplitAtBars(std::string_view text)
{
	std::vector<std::string> parts;
	if (text.empty())
		return parts;
	std::size_t start = 0;
	while (true) {
		const std::size_t bar = text.find('|', start);
		parts.emplace_back(text.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
		if (bar == std::string_view::npos)
			break;
		start = bar + 1;
	}
	return parts;
}

// The shortest text that reads back as the same number.
std::string NumberText(double number)
{
	char text[32];
	const auto [end, error] = std::to_chars(text, text + sizeof text, number);
	return error == std::errc() ? std::string(text, end) : std::string("?");
}

// The width of a parameter record's name field; a name at least this long reaches an add-on
// cut, so it is found again by its beginning.
constexpr std::size_t RecordNameWidth = sizeof(HostSdk::ParameterRecord::name);

} // namespace

// ---- Parameters ----------------------------------------------------------------------------

bool Parameter::HasSameValue(const Parameter& other) const
{
	if (typeCode != other.typeCode || isArray != other.isArray)
		return false;
	if (isArray)
		return IsText() ? texts == other.texts : numbers == other.numbers;
	return IsText() ? text == other.text : number == other.number;
}

std::string Parameter::ValueText() const
{
	if (!isArray)
		return IsText() ? text : NumberText(number);
	std::string joined = "[";
	const std::size_t count = IsText() ? texts.size() : numbers.size();
	for (std::size_t i = 0; i < count; ++i) {
		if (i > 0)
			joined += "|";
		joined += IsText() ? texts[i] : NumberText(numbers[i]);
	}
	return joined + "]";
}

const Parameter* FindParameter(const std::vector<Parameter>& parameters, std::string_view name)
{
	for (const Parameter& parameter : parameters)
		if (parameter.name == name)
			return &parameter;
	if (name.size() + 1 < RecordNameWidth)
		return nullptr;
	for (const Parameter& parameter : parameters)
		if (parameter.name.size() >= name.size() && std::string_view(parameter.name).substr(0, name.size()) == name)
			return &parameter;
	return nullptr;
}

Parameter* FindParameter(std::vector<Parameter>& parameters, std::string_view name)
{
	return const_cast<Parameter*>(FindParameter(static_cast<const std::vector<Parameter>&>(parameters), name));
}

// ---- Library parts -------------------------------------------------------------------------

std::string LibraryPart::FileText() const
{
	return file.empty() ? "/Library/" + name + ".part" : file;
}

const ComponentList& LibraryPart::ModelFor(const std::vector<Parameter>& elementParameters) const
{
	if (modelParameter.empty())
		return model;
	const Parameter* chooser = FindParameter(elementParameters, modelParameter);
	if (chooser == nullptr || !chooser->IsSingleText())
		return model;
	const auto found = models.find(chooser->text);
	return found == models.end() ? model : found->second;
}

std::size_t LibraryPart::LargestModelSize() const
{
	std::size_t largest = model.size();
	for (const auto& [value, components] : models)
		largest = std::max(largest, components.size());
	return largest;
}

// ---- Elements and stories ----------------------------------------------------------------

std::uint32_t Element::FilterBits() const
{
	return (visible ? HostSdk::FilterVisible : 0u) | (editable ? HostSdk::FilterEditable : 0u);
}

std::string Stories::NameOf(std::int16_t story) const
{
	const std::int32_t position = story - first;
	if (position >= 0 && static_cast<std::size_t>(position) < names.size())
		return names[static_cast<std::size_t>(position)];
	return {};
}

bool AnswerDamage::Any() const
{
	return valueListCountTooLarge || groupDataTooShort || parameterHandleRagged || textsUnterminated ||
		parameterNamesOverlong;
}

// ---- The project ---------------------------------------------------------------------------

Project::Project() : serial(NextSerial())
{
}

Project::Project(std::filesystem::path projectFile) : serial(NextSerial()), file(std::move(projectFile))
{
}

std::string Project::Name() const
{
	return HasFile() ? file.filename().string() : std::string("Untitled");
}

Element& Project::AddElement(Element element)
{
	if (element.type < 0 || element.type >= ElementTypeCount)
		throw std::invalid_argument("element type " + std::to_string(element.type) + " is not 0 to 33");
	std::vector<Element>& ofType = elements[static_cast<std::size_t>(element.type)];
	if (ofType.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
		throw std::length_error("too many elements of one type");
	element.index = static_cast<std::int32_t>(ofType.size() + 1);
	ofType.push_back(std::move(element));
	componentLayoutValid = false;
	return ofType.back();
}

const std::vector<Element>& Project::ElementsOf(std::int32_t type) const
{
	if (type < 0 || type >= ElementTypeCount)
		return NoElements();
	return elements[static_cast<std::size_t>(type)];
}

std::int32_t Project::ElementCount(std::int32_t type) const
{
	return static_cast<std::int32_t>(ElementsOf(type).size());
}

std::size_t Project::TotalElementCount() const
{
	std::size_t total = 0;
	for (const std::vector<Element>& ofType : elements)
		total += ofType.size();
	return total;
}

const Element* Project::FindElement(std::int32_t type, std::int32_t index) const
{
	const std::vector<Element>& ofType = ElementsOf(type);
	if (index < 1 || static_cast<std::size_t>(index) > ofType.size())
		return nullptr;
	return &ofType[static_cast<std::size_t>(index - 1)];
}

Element* Project::FindElement(std::int32_t type, std::int32_t index)
{
	return const_cast<Element*>(static_cast<const Project&>(*this).FindElement(type, index));
}

LibraryPart& Project::AddLibraryPart(LibraryPart part)
{
	if (part.index < 1)
		throw std::invalid_argument("library-part index " + std::to_string(part.index) + " is not 1 or more");
	if (partPositions.contains(part.index))
		throw std::invalid_argument("library-part index " + std::to_string(part.index) + " is taken");
	partPositions[part.index] = parts.size();
	parts.push_back(std::move(part));
	componentLayoutValid = false;
	return parts.back();
}

const LibraryPart* Project::FindLibraryPart(std::int32_t index) const
{
	const auto found = partPositions.find(index);
	return found == partPositions.end() ? nullptr : &parts[found->second];
}

LibraryPart* Project::FindLibraryPart(std::int32_t index)
{
	return const_cast<LibraryPart*>(static_cast<const Project&>(*this).FindLibraryPart(index));
}

const LibraryPart* Project::FindLibraryPartByUniqueId(std::string_view uniqueId) const
{
	// A run looks up every part it keeps a level for: with tens of thousands of parts a scan
	// per look-up would make the host, not the add-on, the slow side.
	const auto rebuild = [this] {
		uniqueIdPositions.clear();
		for (std::size_t i = parts.size(); i-- > 0;)
			uniqueIdPositions[parts[i].uniqueId] = i;
		uniqueIdsIndexed = parts.size();
	};
	if (uniqueIdsIndexed != parts.size())
		rebuild();
	const auto found = uniqueIdPositions.find(std::string(uniqueId));
	if (found != uniqueIdPositions.end() && parts[found->second].uniqueId == uniqueId)
		return &parts[found->second];
	// Not indexed, or an identifier edited in place since the index was made.
	for (const LibraryPart& part : parts) {
		if (part.uniqueId == uniqueId) {
			rebuild();
			return &parts[uniqueIdPositions.at(part.uniqueId)];
		}
	}
	return nullptr;
}

const LibraryPart* Project::PartOf(const Element& element) const
{
	if (element.type < HostSdk::ElementTypes::Window || element.type > HostSdk::ElementTypes::Lamp)
		return nullptr;
	const LibraryPart* part = FindLibraryPart(element.libPartIndex);
	return part != nullptr && !part->missing ? part : nullptr;
}

// ---- The 3D model --------------------------------------------------------------------------

const ComponentList& Project::CurrentModelOf(const Element& element) const
{
	if (const LibraryPart* part = PartOf(element))
		return part->ModelFor(element.parameters);
	return element.components;
}

std::size_t Project::ComponentCapacityOf(const Element& element) const
{
	if (const LibraryPart* part = PartOf(element))
		return part->LargestModelSize();
	return element.components.size();
}

void Project::LayOutComponents() const
{
	blocks.clear();
	std::int64_t next = 1;
	for (std::size_t type = 0; type < elements.size(); ++type) {
		blockStarts[type].assign(elements[type].size(), 0);
		for (std::size_t position = 0; position < elements[type].size(); ++position) {
			const std::size_t capacity = ComponentCapacityOf(elements[type][position]);
			if (next + static_cast<std::int64_t>(capacity) > std::numeric_limits<std::int32_t>::max())
				throw std::length_error("the project's 3D model has more components than 32-bit indexes reach");
			blockStarts[type][position] = static_cast<std::int32_t>(next);
			if (capacity > 0)
				blocks.push_back({static_cast<std::int32_t>(next),
					ElementId {static_cast<std::int32_t>(type), static_cast<std::int32_t>(position + 1)}});
			next += static_cast<std::int64_t>(capacity);
		}
	}
	componentLayoutValid = true;
}

ComponentRange Project::ComponentsOf(const Element& element) const
{
	if (!componentLayoutValid)
		LayOutComponents();
	const std::vector<std::int32_t>& starts = blockStarts[static_cast<std::size_t>(element.type)];
	const std::int32_t first = starts[static_cast<std::size_t>(element.index - 1)];
	const auto count = static_cast<std::int32_t>(CurrentModelOf(element).size());
	return {first, first + count - 1};
}

std::optional<std::int32_t> Project::ComponentPolygons(std::int32_t componentIndex) const
{
	if (!componentLayoutValid)
		LayOutComponents();
	const auto after = std::upper_bound(blocks.begin(), blocks.end(), componentIndex,
		[](std::int32_t index, const ComponentBlock& block) { return index < block.first; });
	if (after == blocks.begin())
		return std::nullopt;
	const ComponentBlock& block = *(after - 1);
	const Element* owner = FindElement(block.owner);
	if (owner == nullptr || owner->deleted)
		return std::nullopt;
	const ComponentList& model = CurrentModelOf(*owner);
	const auto position = static_cast<std::size_t>(componentIndex - block.first);
	if (position >= model.size())
		return std::nullopt;
	return model[position];
}

std::int64_t Project::PolygonsOf(const Element& element) const
{
	std::int64_t sum = 0;
	for (const std::int32_t polygons : CurrentModelOf(element))
		sum += polygons;
	return sum;
}

std::int64_t Project::TotalPolygons() const
{
	std::int64_t sum = 0;
	for (const std::vector<Element>& ofType : elements)
		for (const Element& element : ofType)
			sum += PolygonsOf(element);
	return sum;
}

// ---- A person's edits ----------------------------------------------------------------------

bool Project::SetElementParameter(
	const ElementId& id, std::string_view name, std::string_view value, std::string& problem)
{
	Element* element = FindElement(id);
	if (element == nullptr || element->deleted) {
		problem = "there is no element " + ElementIdText(id);
		return false;
	}
	Parameter* parameter = FindParameter(element->parameters, name);
	if (parameter == nullptr) {
		problem = "the element " + ElementIdText(id) + " has no parameter " + Quoted(name);
		return false;
	}
	Parameter changed = *parameter;
	if (changed.isArray) {
		const std::vector<std::string> values = SplitAtBars(value);
		if (changed.IsText()) {
			changed.texts = values;
		} else {
			changed.numbers.clear();
			for (const std::string& text : values) {
				const std::optional<double> number = ParseNumber(text);
				if (!number) {
					problem = Quoted(text) + " is not a number";
					return false;
				}
				changed.numbers.push_back(*number);
			}
		}
	} else if (changed.IsText()) {
		changed.text = value;
	} else if (const std::optional<double> number = ParseNumber(value)) {
		changed.number = *number;
	} else {
		problem = Quoted(value) + " is not a number";
		return false;
	}
	*parameter = std::move(changed);
	modified = true;
	return true;
}

// ---- Data record and module data -----------------------------------------------------------

std::int32_t Project::DataRecordMode() const
{
	HostSdk::DataRecord record {};
	static_assert(sizeof record == sizeof dataRecord, "the project's data record bytes no longer match the record");
	std::memcpy(&record, dataRecord.data(), sizeof record);
	return record.mode;
}

const ModuleDataBlock* Project::FindModuleData(const std::string& addOnName) const
{
	const auto found = moduleData.find(addOnName);
	return found == moduleData.end() ? nullptr : &found->second;
}

void Project::StoreModuleData(const std::string& addOnName, ModuleDataBlock block)
{
	moduleData[addOnName] = std::move(block);
}

bool Project::RemoveModuleData(const std::string& addOnName)
{
	return moduleData.erase(addOnName) > 0;
}

} // namespace ReferenceHost
