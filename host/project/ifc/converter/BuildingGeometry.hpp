// The meshes the converter reads out of an IFC file, in the host's compact form: a library
// part's mesh once, in its own coordinates, placed by each of its elements with a transform; an
// element of its own body as a mesh in building coordinates.
#pragma once

#include "ModelGeometry.hpp"

#include <cstdint>
#include <vector>

namespace IfcReading {

struct BuildingGeometry {
	ReferenceHost::MeshSet meshes;
	std::vector<std::int32_t> partMesh;    // per part: its mesh as modelled, -1 for none
	std::vector<std::int32_t> elementMesh; // per element not placed from a part, -1 for none
	// Per element placed from a part: the part's mesh into the building.
	std::vector<ReferenceHost::Transform3> elementPlacement;
};

} // namespace IfcReading
