// The project a host session works on: its stories, its elements of every type, the library
// parts they are placed from with their parameters and 3D models, the selection, the current
// window, the host's data record and the add-ons' module data. The host's operations answer
// add-ons from this model (ProjectOperations); project files are its JSON form (ProjectFile).
//
// Elements are numbered per type from 1, in the order they were added; a deleted element
// keeps its index, as the host's indexes never move. An element placed from a library part
// has its own copy of the part's parameters, and its 3D model is the part's model for the
// element's current value of the part's model parameter (the level-of-detail parameter), so
// changing that value changes the polygons counted.
#pragma once

#include "ElementTypeTable.hpp"
#include "ModelGeometry.hpp"

#include "HostSdk/ElementTypes.hpp"
#include "HostSdk/HostRecords.hpp"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ReferenceHost {

// Members of a project file's object that the host does not know, as JSON text of an object
// ("{}" or empty when there are none). Kept so that saving loses nothing.
using UnknownFields = std::string;

// A library-part parameter, or an element's copy of one.
struct Parameter {
	std::string name;
	// HostSdk::ParameterTypeText for text parameters; any other code holds numbers.
	std::uint32_t typeCode = HostSdk::ParameterTypeText;
	bool isArray = false;
	std::string text;                   // single value of a text parameter
	double number = 0;                  // single value of any other type
	std::vector<std::string> texts;     // array values of a text parameter
	std::vector<double> numbers;        // array values of any other type
	std::vector<std::string> valueList; // the values offered to choose from
	UnknownFields unknownFields;

	bool IsText() const { return typeCode == HostSdk::ParameterTypeText; }
	bool IsSingleText() const { return IsText() && !isArray; }
	// Same type, shape and value (the value list is not compared).
	bool HasSameValue(const Parameter& other) const;
	// The value as a person reads it: the text, the number, or the array values in brackets.
	std::string ValueText() const;
};

// The parameter with this name; over-long names as a record's name field carries them (cut
// without a terminating zero) are found by their beginning.
const Parameter* FindParameter(const std::vector<Parameter>& parameters, std::string_view name);
Parameter* FindParameter(std::vector<Parameter>& parameters, std::string_view name);

// A 3D model: the polygon count of each of its components.
using ComponentList = std::vector<std::int32_t>;

struct LibraryPart {
	std::int32_t index = 0;  // from 1
	std::int32_t typeId = 0; // what the host puts in the library-part record's first field
	std::string name;
	std::string uniqueId;
	// The part's file, handed to add-ons as a file location; empty means "/Library/<name>.part".
	std::string file;
	// The part's library is not loaded: the host cannot read or find it.
	bool missing = false;
	std::vector<Parameter> parameters;
	// The text parameter whose value chooses the 3D model (the part's level-of-detail
	// parameter); empty when the part has one model.
	std::string modelParameter;
	std::map<std::string, ComponentList> models; // per value of the model parameter
	ComponentList model;                         // for any other value, or the only model
	UnknownFields unknownFields;

	std::string FileText() const;
	// The model an element with these parameters shows.
	const ComponentList& ModelFor(const std::vector<Parameter>& elementParameters) const;
	// The most components any of its models has.
	std::size_t LargestModelSize() const;
};

struct Element {
	std::int32_t type = 0;
	std::int32_t index = 0; // given by the project when the element is added
	std::uint32_t variation = 0;
	std::int32_t groupIndex = 0; // the group (type 28) it belongs to; 0 for none
	std::int16_t story = 0;
	std::int32_t libPartIndex = 0; // windows, doors, objects and lamps
	bool visible = true;           // filter bit 2
	bool editable = true;          // filter bit 16
	bool deleted = false;          // its record can no longer be read
	bool refusesChanges = false;   // the host refuses to change it
	// Groups only: the record fields and the protection id of the memo's group data.
	std::int32_t groupMode = 0;
	bool groupProtected = false;
	std::uint32_t protectionId = 0;
	// Elements placed from a library part: their copy of the part's parameters.
	std::vector<Parameter> parameters;
	// The element's own 3D model; elements placed from a library part that the host has use
	// the part's model instead.
	ComponentList components;
	UnknownFields unknownFields;

	ElementId Id() const { return {type, index}; }
	std::uint32_t FilterBits() const;
	bool IsGroup() const { return type == HostSdk::GroupElementType; }
};

struct Stories {
	std::int16_t first = 0;
	std::int16_t last = 0;
	std::int16_t active = 0;
	// Story numbers the user sees start at 1 (the record's no-story-zero byte).
	bool noStoryZero = false;
	std::vector<std::string> names; // of the stories first..last; may be shorter
	UnknownFields unknownFields;

	bool Contains(std::int32_t story) const { return story >= first && story <= last; }
	std::string NameOf(std::int16_t story) const;
};

struct Selection {
	// 0 nothing selected, 1 elements, 2 or more a marquee of that kind.
	std::int32_t kind = 0;
	// The record's byte 27: 0 when a marquee acts on the active story only.
	std::uint8_t marqueeAllStories = 0;
	std::vector<ElementId> items;
	UnknownFields unknownFields;
};

// One add-on's module data, as the add-on last stored it.
struct ModuleDataBlock {
	std::uint32_t dataVersion = 0;
	std::uint16_t platformMark = 0;
	std::vector<std::uint8_t> bytes;

	friend bool operator==(const ModuleDataBlock&, const ModuleDataBlock&) = default;
};

// Answers a careless host gives, for tests of an add-on's defences. All off by default.
struct AnswerDamage {
	// A value list's count claims two texts more than its handle holds.
	bool valueListCountTooLarge = false;
	// A group's memo block holds one 32-bit word instead of two.
	bool groupDataTooShort = false;
	// A parameter list handle carries 100 stray bytes after its last whole record.
	bool parameterHandleRagged = false;
	// Text fields are filled to their end without a terminating zero, and the last text of a
	// value list lacks its zero.
	bool textsUnterminated = false;
	// Parameter names longer than a record's name field fill it without a terminating zero
	// (a sound host cuts them one byte shorter).
	bool parameterNamesOverlong = false;

	bool Any() const;
	friend bool operator==(const AnswerDamage&, const AnswerDamage&) = default;
};

// Where an element's 3D components lie in the project's 3D model.
struct ComponentRange {
	std::int32_t first = 1;
	std::int32_t last = 0; // first > last: no component
};

class Project {
public:
	// An untitled project: one story (0), nothing else.
	Project();
	// An empty project that will be saved to the file.
	explicit Project(std::filesystem::path file);

	// Each project object has its own number, never reused in a session.
	std::uint64_t Serial() const { return serial; }

	// ---- Identity ------------------------------------------------------------------------

	// The file's name, or "Untitled" for a project that was never saved.
	std::string Name() const;
	const std::filesystem::path& File() const { return file; }
	bool HasFile() const { return !file.empty(); }
	void SetFile(std::filesystem::path newFile) { file = std::move(newFile); }

	// The schema of the IFC file the project was read from ("IFC2X3", "IFC4"); empty for a
	// project file. Such a project is saved only as a project file, never over the IFC file.
	const std::string& IfcSchema() const { return ifcSchema; }
	void SetIfcSchema(std::string schema) { ifcSchema = std::move(schema); }
	// The 3D geometry of a project read from IFC; null for a project file, which has none.
	const ModelGeometry* Geometry() const { return geometry.get(); }
	void SetGeometry(std::shared_ptr<const ModelGeometry> read) { geometry = std::move(read); }

	bool IsModified() const { return modified; }
	void MarkModified() { modified = true; }
	void MarkSaved() { modified = false; }

	// ---- Stories -------------------------------------------------------------------------

	Stories& StoryList() { return stories; }
	const Stories& StoryList() const { return stories; }

	// ---- Elements ------------------------------------------------------------------------

	// Adds the element at the end of its type (type 0 to 33): its index is the new count.
	Element& AddElement(Element element);
	// Every element of the type, index 1 first; empty outside 0 to 33.
	const std::vector<Element>& ElementsOf(std::int32_t type) const;
	std::int32_t ElementCount(std::int32_t type) const;
	std::size_t TotalElementCount() const;
	// Null when there is no such element (deleted ones are found).
	Element* FindElement(std::int32_t type, std::int32_t index);
	const Element* FindElement(std::int32_t type, std::int32_t index) const;
	Element* FindElement(const ElementId& id) { return FindElement(id.type, id.index); }
	const Element* FindElement(const ElementId& id) const { return FindElement(id.type, id.index); }

	// ---- Library parts -------------------------------------------------------------------

	// Adds a part; its index must be new and from 1 (std::invalid_argument otherwise).
	LibraryPart& AddLibraryPart(LibraryPart part);
	// In the order they were added.
	const std::vector<LibraryPart>& LibraryParts() const { return parts; }
	LibraryPart* FindLibraryPart(std::int32_t index);
	const LibraryPart* FindLibraryPart(std::int32_t index) const;
	// The first part with this unique identifier, missing ones included.
	const LibraryPart* FindLibraryPartByUniqueId(std::string_view uniqueId) const;
	// The part an element is placed from, when the host has it (not missing).
	const LibraryPart* PartOf(const Element& element) const;

	// ---- The 3D model ----------------------------------------------------------------------

	// The element's components; every element has a block of component indexes of its own,
	// as large as its largest model, so changing a parameter never moves other elements'
	// components.
	ComponentRange ComponentsOf(const Element& element) const;
	// The polygon count of a component; nothing for an index of no current component.
	std::optional<std::int32_t> ComponentPolygons(std::int32_t componentIndex) const;
	// The element's polygons: the sum over its current components.
	std::int64_t PolygonsOf(const Element& element) const;
	// The polygons of every element of the project.
	std::int64_t TotalPolygons() const;
	// Call after changing a part's models or an element's own components directly, so the
	// blocks of component indexes are laid out anew. Adding elements and parts does this.
	void ModelStructureChanged() { componentLayoutValid = false; }

	// ---- Parameters a person edits -------------------------------------------------------

	// Sets the value of an element's parameter from text, as a person types it: a text as it
	// stands, a number for other types, array values separated by "|". False with the reason
	// when the element, the parameter or the value does not fit.
	bool SetElementParameter(const ElementId& id, std::string_view name, std::string_view value, std::string& problem);

	// ---- Selection, windows, data record -----------------------------------------------

	Selection& CurrentSelection() { return selection; }
	const Selection& CurrentSelection() const { return selection; }

	std::int32_t WindowKind() const { return windowKind; }
	void SetWindowKind(std::int32_t kind) { windowKind = kind; }

	// The host's 824-byte data record, which add-ons read and hand back.
	std::array<std::uint8_t, sizeof(HostSdk::DataRecord)>& DataRecordBytes() { return dataRecord; }
	const std::array<std::uint8_t, sizeof(HostSdk::DataRecord)>& DataRecordBytes() const { return dataRecord; }
	std::int32_t DataRecordMode() const;

	// ---- Module data ---------------------------------------------------------------------

	// One block per add-on, keyed by the name the add-on identifies itself with.
	const ModuleDataBlock* FindModuleData(const std::string& addOnName) const;
	void StoreModuleData(const std::string& addOnName, ModuleDataBlock block);
	bool RemoveModuleData(const std::string& addOnName);
	const std::map<std::string, ModuleDataBlock>& AllModuleData() const { return moduleData; }

	// ---- Damaged answers and unknown fields -------------------------------------------

	AnswerDamage& Damage() { return damage; }
	const AnswerDamage& Damage() const { return damage; }

	// The top-level members of the project file the host does not know.
	UnknownFields& TopLevelUnknownFields() { return unknownFields; }
	const UnknownFields& TopLevelUnknownFields() const { return unknownFields; }

private:
	void LayOutComponents() const;
	std::size_t ComponentCapacityOf(const Element& element) const;
	const ComponentList& CurrentModelOf(const Element& element) const;

	std::uint64_t serial;
	std::filesystem::path file;
	std::string ifcSchema;
	std::shared_ptr<const ModelGeometry> geometry;
	bool modified = false;
	Stories stories;
	std::array<std::vector<Element>, ElementTypeCount> elements;
	std::vector<LibraryPart> parts;
	std::map<std::int32_t, std::size_t> partPositions;
	// Unique identifier → position of the first part with it; rebuilt when parts are added,
	// and checked at each use, so a part whose identifier was edited in place is still found.
	mutable std::unordered_map<std::string, std::size_t> uniqueIdPositions;
	mutable std::size_t uniqueIdsIndexed = 0;
	Selection selection;
	std::int32_t windowKind = 1;
	std::array<std::uint8_t, sizeof(HostSdk::DataRecord)> dataRecord {};
	std::map<std::string, ModuleDataBlock> moduleData;
	AnswerDamage damage;
	UnknownFields unknownFields;

	// Component index blocks: the first index of each element's block, per type and index,
	// and the owners of the blocks in index order.
	struct ComponentBlock {
		std::int32_t first;
		ElementId owner;
	};
	mutable bool componentLayoutValid = false;
	mutable std::array<std::vector<std::int32_t>, ElementTypeCount> blockStarts;
	mutable std::vector<ComponentBlock> blocks;
};

} // namespace ReferenceHost
