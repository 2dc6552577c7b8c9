// The host's project model of a building read from IFC, and the text the converter hands the
// host: the project as a project file's JSON, inside an envelope that says what was read.
#pragma once

#include "BuildingRecord.hpp"
#include "Project.hpp"

#include <memory>
#include <string>

namespace IfcReading {

// The level-of-detail parameter of every part read from IFC, and its values.
inline constexpr const char* DetailParameter = "detail3D";
inline constexpr const char* DetailedValue = "Detailed";
inline constexpr const char* SimpleValue = "Simple";
inline constexpr const char* OffValue = "Off";
// A box: what "Simple" shows of a part, per placement.
inline constexpr std::int32_t BoxPolygons = 6;

std::unique_ptr<ReferenceHost::Project> ProjectOfBuilding(const BuildingRecord& building);

// A line {"schema": ..., "withoutGeometry": n, "skippedEntities": n, "geometryBytes": n}, then
// the project file's text; the geometry's block of that many bytes follows it.
std::string EnvelopeText(const BuildingRecord& building, std::size_t geometryBytes = 0);

// The building's meshes as the host keeps them (ModelGeometry's block), elements named as the
// project of ProjectOfBuilding numbers them.
std::string GeometryBlock(const BuildingRecord& building);

// The GUID text a library part's unique identifier holds, from an IFC GlobalId (22 characters
// of the IFC base-64 alphabet); empty when the text is not one.
std::string GuidOfGlobalId(const std::string& globalId);

} // namespace IfcReading
