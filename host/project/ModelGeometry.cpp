#include "ModelGeometry.hpp"

#include "Project.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace ReferenceHost {

namespace {

constexpr char Magic[8] = {'F', 'T', 'G', 'E', 'O', 'M', '0', '1'};
// Beyond these the block is no building's: refused before anything is allocated.
constexpr std::uint32_t MostVertices = 1U << 28;
constexpr std::uint32_t MostIndices = 1U << 29;
constexpr std::uint32_t MostRecords = 1U << 24;

void Put(std::string& out, const void* data, std::size_t bytes)
{
	out.append(static_cast<const char*>(data), bytes);
}

template <class T>
void Put(std::string& out, T value)
{
	Put(out, &value, sizeof value);
}

// Reads the block front to back; every read checks what is left.
class Reader {
public:
	explicit Reader(std::string_view block) : rest(block) {}

	template <class T>
	bool Get(T& value)
	{
		return Bytes(&value, sizeof value);
	}
	bool Bytes(void* out, std::size_t bytes)
	{
		if (rest.size() < bytes)
			return false;
		// An empty array has no storage to copy into.
		if (bytes > 0)
			std::memcpy(out, rest.data(), bytes);
		rest.remove_prefix(bytes);
		return true;
	}
	std::size_t Left() const { return rest.size(); }

private:
	std::string_view rest;
};

} // namespace

std::int32_t MeshSet::Add(const std::vector<float>& meshPositions, const std::vector<std::uint32_t>& meshIndices)
{
	MeshRange range;
	range.firstVertex = static_cast<std::uint32_t>(positions.size() / 3);
	range.vertexCount = static_cast<std::uint32_t>(meshPositions.size() / 3);
	range.firstIndex = static_cast<std::uint32_t>(indices.size());
	range.indexCount = static_cast<std::uint32_t>(meshIndices.size());
	positions.insert(positions.end(), meshPositions.begin(), meshPositions.begin() + range.vertexCount * 3);
	indices.insert(indices.end(), meshIndices.begin(), meshIndices.end());
	meshes.push_back(range);
	return static_cast<std::int32_t>(meshes.size() - 1);
}

std::size_t MeshSet::TriangleCount(std::int32_t mesh) const
{
	return mesh < 0 ? 0 : meshes[static_cast<std::size_t>(mesh)].indexCount / 3;
}

void ModelGeometry::AddPartBoxes()
{
	for (PartMeshes& part : parts) {
		if (part.detailed < 0 || part.simple >= 0)
			continue;
		const MeshRange range = meshes.meshes[static_cast<std::size_t>(part.detailed)];
		if (range.vertexCount == 0)
			continue;
		std::array<float, 3> low {}, high {};
		for (int axis = 0; axis < 3; ++axis) {
			low[axis] = std::numeric_limits<float>::max();
			high[axis] = std::numeric_limits<float>::lowest();
		}
		for (std::uint32_t v = range.firstVertex; v < range.firstVertex + range.vertexCount; ++v)
			for (std::size_t axis = 0; axis < 3; ++axis) {
				low[axis] = std::min(low[axis], meshes.positions[v * 3 + axis]);
				high[axis] = std::max(high[axis], meshes.positions[v * 3 + axis]);
			}
		std::vector<float> corners;
		for (int corner = 0; corner < 8; ++corner)
			for (int axis = 0; axis < 3; ++axis)
				corners.push_back(((corner >> axis) & 1) != 0 ? high[static_cast<std::size_t>(axis)]
															  : low[static_cast<std::size_t>(axis)]);
		// Two triangles per side, facing out (corner bits: x 1, y 2, z 4).
		static const std::vector<std::uint32_t> BoxIndices = {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4, 2,
			6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5};
		part.simple = meshes.Add(corners, BoxIndices);
	}
}

std::string ModelGeometry::Block() const
{
	std::string out;
	Put(out, Magic, sizeof Magic);
	for (std::size_t count : {meshes.meshes.size(), parts.size(), instances.size(), meshes.positions.size() / 3,
			 meshes.indices.size()})
		Put(out, static_cast<std::uint32_t>(count));
	Put(out, std::uint32_t {0});
	for (const MeshRange& range : meshes.meshes)
		Put(out, &range, sizeof range);
	for (const PartMeshes& part : parts) {
		Put(out, part.detailed);
		Put(out, part.simple);
	}
	for (const GeometryInstance& instance : instances) {
		for (std::int32_t field : {instance.element.type, instance.element.index, instance.part, instance.ownMesh})
			Put(out, field);
		Put(out, instance.transform.data(), sizeof instance.transform);
	}
	Put(out, meshes.positions.data(), meshes.positions.size() * sizeof(float));
	Put(out, meshes.indices.data(), meshes.indices.size() * sizeof(std::uint32_t));
	return out;
}

std::unique_ptr<ModelGeometry> ModelGeometry::FromBlock(std::string_view block, std::string& problem)
{
	Reader in(block);
	char magic[sizeof Magic];
	std::uint32_t meshCount = 0, partCount = 0, instanceCount = 0, vertexCount = 0, indexCount = 0, reserved = 0;
	if (!in.Bytes(magic, sizeof magic) || std::memcmp(magic, Magic, sizeof Magic) != 0) {
		problem = "the geometry does not begin as geometry does";
		return nullptr;
	}
	if (!in.Get(meshCount) || !in.Get(partCount) || !in.Get(instanceCount) || !in.Get(vertexCount) ||
		!in.Get(indexCount) || !in.Get(reserved)) {
		problem = "the geometry is cut short";
		return nullptr;
	}
	if (meshCount > MostRecords || partCount > MostRecords || instanceCount > MostRecords ||
		vertexCount > MostVertices || indexCount > MostIndices) {
		problem = "the geometry claims more than a building holds";
		return nullptr;
	}
	const std::size_t expected = std::size_t {meshCount} * sizeof(MeshRange) + std::size_t {partCount} * 8 +
		std::size_t {instanceCount} * (16 + sizeof(Transform3)) + std::size_t {vertexCount} * 12 +
		std::size_t {indexCount} * 4;
	if (in.Left() != expected) {
		problem = in.Left() < expected ? "the geometry is cut short" : "the geometry has bytes after its end";
		return nullptr;
	}
	auto geometry = std::make_unique<ModelGeometry>();
	geometry->meshes.meshes.resize(meshCount);
	geometry->parts.resize(partCount);
	geometry->instances.resize(instanceCount);
	geometry->meshes.positions.resize(std::size_t {vertexCount} * 3);
	geometry->meshes.indices.resize(indexCount);
	for (MeshRange& range : geometry->meshes.meshes)
		in.Get(range);
	for (PartMeshes& part : geometry->parts)
		in.Get(part.detailed) && in.Get(part.simple);
	for (GeometryInstance& instance : geometry->instances) {
		in.Get(instance.element.type) && in.Get(instance.element.index) && in.Get(instance.part) &&
			in.Get(instance.ownMesh) && in.Bytes(instance.transform.data(), sizeof instance.transform);
	}
	in.Bytes(geometry->meshes.positions.data(), geometry->meshes.positions.size() * sizeof(float));
	in.Bytes(geometry->meshes.indices.data(), geometry->meshes.indices.size() * sizeof(std::uint32_t));

	// Every number must point inside what the block holds, so nothing reading it needs to ask.
	for (const MeshRange& range : geometry->meshes.meshes) {
		if (std::uint64_t {range.firstVertex} + range.vertexCount > vertexCount ||
			std::uint64_t {range.firstIndex} + range.indexCount > indexCount || range.indexCount % 3 != 0) {
			problem = "a mesh of the geometry lies outside it";
			return nullptr;
		}
		for (std::uint32_t i = range.firstIndex; i < range.firstIndex + range.indexCount; ++i)
			if (geometry->meshes.indices[i] >= range.vertexCount) {
				problem = "a triangle of the geometry names a corner its mesh does not have";
				return nullptr;
			}
	}
	auto isMesh = [&](std::int32_t mesh) { return mesh >= -1 && mesh < static_cast<std::int64_t>(meshCount); };
	for (const PartMeshes& part : geometry->parts)
		if (!isMesh(part.detailed) || !isMesh(part.simple)) {
			problem = "a part of the geometry names a mesh it does not have";
			return nullptr;
		}
	for (const GeometryInstance& instance : geometry->instances) {
		if (!isMesh(instance.ownMesh) || instance.part < 0 || instance.part > static_cast<std::int64_t>(partCount) ||
			!std::all_of(instance.transform.begin(), instance.transform.end(), [](float f) { return std::isfinite(f); })) {
			problem = "an element of the geometry names a mesh or part it does not have";
			return nullptr;
		}
	}
	if (!std::all_of(geometry->meshes.positions.begin(), geometry->meshes.positions.end(),
			[](float f) { return std::isfinite(f); })) {
		problem = "a corner of the geometry is not a number";
		return nullptr;
	}
	return geometry;
}

std::string ModelGeometry::MismatchWith(const Project& project) const
{
	if (parts.size() != project.LibraryParts().size())
		return "the geometry has " + std::to_string(parts.size()) + " parts, the project " +
			std::to_string(project.LibraryParts().size());
	for (const GeometryInstance& instance : instances) {
		const Element* element = project.FindElement(instance.element);
		if (element == nullptr)
			return "the geometry names an element the project does not have";
		if (element->libPartIndex != instance.part)
			return "the geometry places an element from another part than the project";
	}
	return {};
}

std::size_t ModelGeometry::MemoryBytes() const
{
	return meshes.positions.size() * sizeof(float) + meshes.indices.size() * sizeof(std::uint32_t) +
		meshes.meshes.size() * sizeof(MeshRange) + parts.size() * sizeof(PartMeshes) +
		instances.size() * sizeof(GeometryInstance) + sizeof(ModelGeometry);
}

std::int32_t ModelGeometry::MeshAt(const GeometryInstance& instance, std::string_view level) const
{
	if (instance.part <= 0)
		return instance.ownMesh;
	const PartMeshes& part = parts[static_cast<std::size_t>(instance.part - 1)];
	if (level == "Off")
		return -1;
	return level == "Simple" ? part.simple : part.detailed;
}

std::string LevelOf(const Project& project, const ElementId& id)
{
	const Element* element = project.FindElement(id);
	const LibraryPart* part = element != nullptr ? project.PartOf(*element) : nullptr;
	if (part == nullptr || part->modelParameter.empty())
		return {};
	// As the part's model is chosen: by the element's own value.
	const Parameter* chooser = FindParameter(element->parameters, part->modelParameter);
	return chooser != nullptr && chooser->IsSingleText() && part->models.contains(chooser->text) ? chooser->text
																								  : std::string();
}

} // namespace ReferenceHost
