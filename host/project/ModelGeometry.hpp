// The 3D geometry of a project read from IFC, kept compactly: every mesh once (32-bit float
// positions, 32-bit indices), a library part's mesh once per level whatever its placements,
// and each element as the mesh it shows and the transform that puts it into the building.
// The converter writes it as a binary block after the project's text; the host reads that
// block back here, checked in full, and the browser window receives the same block.
#pragma once

#include "ElementTypeTable.hpp"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ReferenceHost {

class Project;

// Rows of a 3x4 matrix: x' = t[0] x + t[1] y + t[2] z + t[3], and so on for y' and z'.
using Transform3 = std::array<float, 12>;
inline constexpr Transform3 IdentityTransform {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};

// One mesh's stretch of the shared arrays; its indices count from its first vertex.
struct MeshRange {
	std::uint32_t firstVertex = 0;
	std::uint32_t vertexCount = 0;
	std::uint32_t firstIndex = 0;
	std::uint32_t indexCount = 0;
};

// Triangle meshes in shared arrays.
struct MeshSet {
	std::vector<float> positions; // x, y, z per vertex, metres
	std::vector<std::uint32_t> indices;
	std::vector<MeshRange> meshes;

	// Adds a mesh; answers its number. Indices count from the mesh's first vertex.
	std::int32_t Add(const std::vector<float>& meshPositions, const std::vector<std::uint32_t>& meshIndices);
	std::size_t TriangleCount(std::int32_t mesh) const;
};

// What an element shows: its own mesh, or its part's mesh for the level it is at.
struct GeometryInstance {
	ElementId element;
	std::int32_t part = 0;     // the library part's index (from 1), 0 for an element's own mesh
	std::int32_t ownMesh = -1; // the element's own mesh, in building coordinates; -1 for none
	Transform3 transform = IdentityTransform; // the part's mesh into the building
};

// A library part's meshes: as modelled, and a box of the same extent ("Simple").
struct PartMeshes {
	std::int32_t detailed = -1;
	std::int32_t simple = -1;
};

class ModelGeometry {
public:
	MeshSet meshes;
	std::vector<PartMeshes> parts; // by part index - 1
	std::vector<GeometryInstance> instances;

	// Gives each part with a detailed mesh its box.
	void AddPartBoxes();
	// The block as the converter writes it and the browser window receives it.
	std::string Block() const;
	// The block read back; null with the reason when it is damaged or short.
	static std::unique_ptr<ModelGeometry> FromBlock(std::string_view block, std::string& problem);
	// Whether it describes the project's elements and parts; empty when it does, else why not.
	std::string MismatchWith(const Project& project) const;
	// Bytes the store holds (its arrays' used sizes).
	std::size_t MemoryBytes() const;
	// The mesh an element shows at a level value ("Detailed", "Simple", "Off"); -1 for none.
	std::int32_t MeshAt(const GeometryInstance& instance, std::string_view level) const;
};

// The level value an element of the project shows (its detail3D value, else its part's); empty
// for an element with no part.
std::string LevelOf(const Project& project, const ElementId& element);

} // namespace ReferenceHost
