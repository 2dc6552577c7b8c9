// What the converter reads out of an IFC file, in plain terms the host's project model takes:
// stories, elements with their host type and components, and the library parts that typed
// elements are placed from. Nothing here knows the IFC library.
#pragma once

#include "BuildingGeometry.hpp"
#include "LighterIfc.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace IfcReading {

// A component's polygon count: one entry per item of a body representation.
using ComponentPolygons = std::vector<std::int32_t>;

struct StoryRecord {
	std::string name;
	double elevation = 0; // metres
};

// Where a part's body comes from in the file.
enum class PartBody {
	Type,    // a type's body maps, placed by elements through mapped items
	Map,     // a map without a type, placed more than once
	Element, // the one element's own body
};

// A library part: a type's (or a repeated map's) body, or an element's own.
struct PartRecord {
	std::string name; // unique in the building
	std::string globalId;
	std::string ifcClass;
	std::int32_t hostType = 6; // the host type of its placements
	PartBody body = PartBody::Type;
	ComponentPolygons detailed;
	// The entity the part stands for (its type, map or element): how an export finds it again.
	std::int32_t entity = 0;
	// Where its body lives, for an export that lightens it; box only when asked for.
	PartLightening place;
	// The level an earlier export gave the part: its placements show it ("Simple", "Off").
	std::string exportedLevel;
};

struct ElementRecord {
	std::int32_t entityId = 0;
	std::string ifcClass;
	std::string name;
	std::string globalId;
	std::int32_t hostType = 6;
	std::uint32_t variation = 0;
	std::int32_t storyIndex = 0; // into BuildingRecord::stories
	// Index into BuildingRecord::parts when placed from a part, else -1 and components hold the
	// element's own body.
	std::int32_t part = -1;
	ComponentPolygons components;
};

struct BuildingRecord {
	std::string schema;               // "IFC2X3", "IFC4"
	std::vector<StoryRecord> stories; // by elevation, lowest first
	std::int32_t zeroStory = 0;       // the index of story 0
	std::vector<ElementRecord> elements;
	std::vector<PartRecord> parts;
	// Elements with a body item the geometry engine gives nothing for.
	std::int32_t withoutConvertibleGeometry = 0;
	// Entities of classes the reader does not know (IFC2X3 classes that IFC4 dropped).
	std::int32_t skippedEntities = 0;
	// Module data an export left on the project.
	std::vector<ModuleDataProperties> moduleData;
	BuildingGeometry geometry;
};

} // namespace IfcReading
