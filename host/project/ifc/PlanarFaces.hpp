// Polygons as a building model's 3D window counts them: the planar faces of a mesh. Faces
// that share an edge and lie in one plane, facing the same way, are one polygon (a box has
// 6, a wall with an opening through it 10, an n-sided prism n + 2); a face that is not
// planar counts as its triangles. The count depends on the mesh alone, not on the order of
// its faces.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace IfcReading {

struct FaceMesh {
	std::vector<std::array<double, 3>> positions;
	// Each face: its corners as indexes into positions, in order around the face. Corners that
	// are one vertex of the mesh share an index.
	std::vector<std::vector<std::uint32_t>> faces;
};

std::int32_t CountPlanarFaces(const FaceMesh& mesh);

} // namespace IfcReading
