#include "PlanarFaces.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace IfcReading {

namespace {

// Metres: a building model's finest detail is far coarser; numeric noise of cut geometry
// stays below it.
constexpr double DistanceTolerance = 1e-4;
constexpr double NormalTolerance = 1e-5; // 1 - cosine of the angle between normals

struct Plane {
	std::array<double, 3> normal {};
	double distance = 0;
	bool valid = false;
	bool planar = true;
};

Plane PlaneOf(const FaceMesh& mesh, const std::vector<std::uint32_t>& face)
{
	Plane plane;
	if (face.size() < 3)
		return plane;
	// Newell's normal holds for any simple polygon, convex or not.
	std::array<double, 3> n {};
	std::array<double, 3> centre {};
	for (std::size_t i = 0; i < face.size(); ++i) {
		const auto& a = mesh.positions[face[i]];
		const auto& b = mesh.positions[face[(i + 1) % face.size()]];
		n[0] += (a[1] - b[1]) * (a[2] + b[2]);
		n[1] += (a[2] - b[2]) * (a[0] + b[0]);
		n[2] += (a[0] - b[0]) * (a[1] + b[1]);
		for (int k = 0; k < 3; ++k)
			centre[static_cast<std::size_t>(k)] += a[static_cast<std::size_t>(k)];
	}
	const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
	if (!(length > 1e-12))
		return plane;
	for (auto& c : n)
		c /= length;
	for (auto& c : centre)
		c /= static_cast<double>(face.size());
	plane.normal = n;
	plane.distance = n[0] * centre[0] + n[1] * centre[1] + n[2] * centre[2];
	plane.valid = true;
	for (std::uint32_t corner : face) {
		const auto& p = mesh.positions[corner];
		if (std::abs(n[0] * p[0] + n[1] * p[1] + n[2] * p[2] - plane.distance) > DistanceTolerance)
			plane.planar = false;
	}
	return plane;
}

bool SamePlane(const Plane& a, const Plane& b)
{
	const double cosine = a.normal[0] * b.normal[0] + a.normal[1] * b.normal[1] + a.normal[2] * b.normal[2];
	return cosine >= 1 - NormalTolerance && std::abs(a.distance - b.distance) <= DistanceTolerance;
}

std::size_t Root(std::vector<std::size_t>& parent, std::size_t i)
{
	while (parent[i] != i) {
		parent[i] = parent[parent[i]];
		i = parent[i];
	}
	return i;
}

} // namespace

std::int32_t CountPlanarFaces(const FaceMesh& mesh)
{
	const std::size_t count = mesh.faces.size();
	std::vector<Plane> planes(count);
	std::int64_t polygons = 0;
	for (std::size_t f = 0; f < count; ++f) {
		for (std::uint32_t corner : mesh.faces[f])
			if (corner >= mesh.positions.size())
				return 0;
		planes[f] = PlaneOf(mesh, mesh.faces[f]);
	}

	std::vector<std::size_t> parent(count);
	std::iota(parent.begin(), parent.end(), std::size_t {0});
	std::unordered_map<std::uint64_t, std::size_t> firstFaceOfEdge;
	firstFaceOfEdge.reserve(count * 3);
	for (std::size_t f = 0; f < count; ++f) {
		const auto& face = mesh.faces[f];
		if (!planes[f].valid || !planes[f].planar)
			continue;
		for (std::size_t i = 0; i < face.size(); ++i) {
			std::uint64_t a = face[i];
			std::uint64_t b = face[(i + 1) % face.size()];
			if (a > b)
				std::swap(a, b);
			const auto [found, added] = firstFaceOfEdge.try_emplace(a << 32 | b, f);
			if (!added && SamePlane(planes[found->second], planes[f]))
				parent[Root(parent, f)] = Root(parent, found->second);
		}
	}
	for (std::size_t f = 0; f < count; ++f) {
		if (!planes[f].valid)
			continue;
		if (!planes[f].planar)
			polygons += static_cast<std::int64_t>(mesh.faces[f].size()) - 2;
		else if (Root(parent, f) == f)
			++polygons;
	}
	return static_cast<std::int32_t>(std::min<std::int64_t>(polygons, INT32_MAX));
}

} // namespace IfcReading
