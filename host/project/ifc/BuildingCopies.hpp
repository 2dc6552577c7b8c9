// Larger IFC files for benchmarks: a building repeated within one file. The copies share the
// original's project, site, building, storeys and contexts, so they stand on the same
// stories; everything else (elements, types, geometry, relations) is repeated with entity
// numbers of its own and GlobalIds that differ from every other copy's.
#pragma once

#include <string>
#include <string_view>

namespace IfcReading {

// The STEP text with copies - 1 more copies of the building; the text unchanged for 1. Texts
// that are not a STEP file with a DATA section are returned as they are.
std::string RepeatBuilding(std::string_view text, int copies);

} // namespace IfcReading
