// A building's IFC file made lighter part by part: each library part's body is kept, replaced
// by a box, or taken out, and nothing else changes. Every instance with a GlobalId stays, with
// its relations, properties and placements; the geometry no longer used goes. The add-on's
// module data travel along as property sets of the IfcProject, so a project read back from
// the file has them again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace IfcReading {

enum class DetailLevel { Detailed, Simple, Off };

// An axis-aligned box in the file's length units.
struct BodyBox {
	std::array<double, 3> min {};
	std::array<double, 3> max {};
};

// Where one library part's body lives in the file, and what becomes of it.
struct PartLightening {
	DetailLevel level = DetailLevel::Detailed;
	// How a reader finds the part again: its type's or element's GlobalId, else "#" and its
	// map's entity number.
	std::string key;
	// A type's (or an untyped map's) body maps; "Simple" puts the box in the first.
	std::vector<long> maps;
	// Otherwise an element's own body: the element, its body representation (0 when it has
	// none) and those of the parts aggregated into it, which the box stands for as well.
	long product = 0;
	long ownBody = 0;
	std::vector<long> absorbedBodies;
	// For "Simple": the body's bounds, in the first map's coordinates or the element's.
	std::optional<BodyBox> box;
};

// One add-on's module data.
struct ModuleDataProperties {
	std::string addOnName;
	std::uint32_t dataVersion = 0;
	std::uint16_t platformMark = 0;
	std::vector<std::uint8_t> bytes;
};

// The names of a module data property set's properties.
inline constexpr const char* ModuleBytesProperty = "Bytes";
inline constexpr const char* ModuleDataVersionProperty = "DataVersion";
inline constexpr const char* ModulePlatformMarkProperty = "PlatformMark";
inline constexpr const char* ExportingSystem = "Facetally";
// The project's property set that names the level each part was exported at ("KEY=Simple;..."),
// so a reader gives the parts' placements that level again.
inline constexpr const char* LevelsPropertySet = "Facetally levels of detail";
inline constexpr const char* LevelsProperty = "Levels";
inline constexpr const char* SimpleLevelName = "Simple";
inline constexpr const char* OffLevelName = "Off";

struct ExportNames {
	std::string fileName;
	std::string timeStamp; // ISO 8601
};

// Module data bytes as the property set holds them, and back (nullopt for a text that is not
// pairs of hexadecimal digits).
std::string HexOfBytes(const std::vector<std::uint8_t>& bytes);
std::optional<std::vector<std::uint8_t>> BytesOfHex(std::string_view hex);

// The lighter file's text; nullopt with the reason in problem when the source cannot be read
// as a STEP file with an IfcProject.
std::optional<std::string> LighterIfcText(std::string_view source, const std::vector<PartLightening>& parts,
	const std::vector<ModuleDataProperties>& moduleData, const ExportNames& names, std::string& problem);

} // namespace IfcReading
