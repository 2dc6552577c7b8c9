// The IFC library and its geometry engine, and nothing else of ours, meet here. The library's
// headers are heavy (tens of seconds per translation unit), so this file is the only one that
// includes them.
#include "IfcConversion.hpp"

#include "PlanarFaces.hpp"

#include "HostSdk/ElementTypes.hpp"

#include <ifcpp/IFC4/include/IfcAnnotation.h>
#include <ifcpp/IFC4/include/IfcArbitraryClosedProfileDef.h>
#include <ifcpp/IFC4/include/IfcArbitraryOpenProfileDef.h>
#include <ifcpp/IFC4/include/IfcArbitraryProfileDefWithVoids.h>
#include <ifcpp/IFC4/include/IfcArcIndex.h>
#include <ifcpp/IFC4/include/IfcBeam.h>
#include <ifcpp/IFC4/include/IfcBuildingStorey.h>
#include <ifcpp/IFC4/include/IfcCartesianPoint.h>
#include <ifcpp/IFC4/include/IfcCartesianPointList2D.h>
#include <ifcpp/IFC4/include/IfcColumn.h>
#include <ifcpp/IFC4/include/IfcCurtainWall.h>
#include <ifcpp/IFC4/include/IfcDoor.h>
#include <ifcpp/IFC4/include/IfcElementAssembly.h>
#include <ifcpp/IFC4/include/IfcFace.h>
#include <ifcpp/IFC4/include/IfcFaceOuterBound.h>
#include <ifcpp/IFC4/include/IfcFeatureElementSubtraction.h>
#include <ifcpp/IFC4/include/IfcFlowTerminal.h>
#include <ifcpp/IFC4/include/IfcFooting.h>
#include <ifcpp/IFC4/include/IfcGeographicElement.h>
#include <ifcpp/IFC4/include/IfcGloballyUniqueId.h>
#include <ifcpp/IFC4/include/IfcGrid.h>
#include <ifcpp/IFC4/include/IfcIdentifier.h>
#include <ifcpp/IFC4/include/IfcIndexedPolyCurve.h>
#include <ifcpp/IFC4/include/IfcInteger.h>
#include <ifcpp/IFC4/include/IfcLabel.h>
#include <ifcpp/IFC4/include/IfcLengthMeasure.h>
#include <ifcpp/IFC4/include/IfcLightFixture.h>
#include <ifcpp/IFC4/include/IfcLightFixtureType.h>
#include <ifcpp/IFC4/include/IfcLineIndex.h>
#include <ifcpp/IFC4/include/IfcLocalPlacement.h>
#include <ifcpp/IFC4/include/IfcMappedItem.h>
#include <ifcpp/IFC4/include/IfcMember.h>
#include <ifcpp/IFC4/include/IfcPile.h>
#include <ifcpp/IFC4/include/IfcPolyline.h>
#include <ifcpp/IFC4/include/IfcPort.h>
#include <ifcpp/IFC4/include/IfcProductDefinitionShape.h>
#include <ifcpp/IFC4/include/IfcProject.h>
#include <ifcpp/IFC4/include/IfcPropertySet.h>
#include <ifcpp/IFC4/include/IfcPropertySingleValue.h>
#include <ifcpp/IFC4/include/IfcRamp.h>
#include <ifcpp/IFC4/include/IfcRampFlight.h>
#include <ifcpp/IFC4/include/IfcRelAggregates.h>
#include <ifcpp/IFC4/include/IfcRelContainedInSpatialStructure.h>
#include <ifcpp/IFC4/include/IfcRelDefinesByProperties.h>
#include <ifcpp/IFC4/include/IfcRelDefinesByType.h>
#include <ifcpp/IFC4/include/IfcRepresentationMap.h>
#include <ifcpp/IFC4/include/IfcRoof.h>
#include <ifcpp/IFC4/include/IfcShapeRepresentation.h>
#include <ifcpp/IFC4/include/IfcSite.h>
#include <ifcpp/IFC4/include/IfcSlab.h>
#include <ifcpp/IFC4/include/IfcSpace.h>
#include <ifcpp/IFC4/include/IfcStair.h>
#include <ifcpp/IFC4/include/IfcStairFlight.h>
#include <ifcpp/IFC4/include/IfcText.h>
#include <ifcpp/IFC4/include/IfcTypeProduct.h>
#include <ifcpp/IFC4/include/IfcVirtualElement.h>
#include <ifcpp/IFC4/include/IfcWall.h>
#include <ifcpp/IFC4/include/IfcWindow.h>
#include <ifcpp/geometry/Carve/GeometryConverter.h>
#include <ifcpp/model/BuildingModel.h>
#include <ifcpp/reader/ReaderSTEP.h>

#include <carve/triangulator.hpp>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

// Given by the converter program's own heap, which then starts afresh at a fixed address;
// absent elsewhere (the fuzz target, the tests).
extern "C" void FacetallyStartGeometryHeap() __attribute__((weak));

namespace IfcReading {

namespace {

using namespace HostSdk::ElementTypes;
constexpr std::uint32_t StairVariation = 0x53595354; // "SYST": an object the host books as a stair
// Coordinates beyond this many metres are no building's: their squares overflow the engine.
constexpr double LargestCoordinate = 1e7;

std::string Narrow(const std::wstring& text)
{
	// UTF-8 of the library's wide texts.
	std::string out;
	for (wchar_t w : text) {
		auto c = static_cast<std::uint32_t>(w);
		if (c < 0x80) {
			out += static_cast<char>(c);
		} else if (c < 0x800) {
			out += static_cast<char>(0xC0 | (c >> 6));
			out += static_cast<char>(0x80 | (c & 0x3F));
		} else if (c < 0x10000) {
			out += static_cast<char>(0xE0 | (c >> 12));
			out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
			out += static_cast<char>(0x80 | (c & 0x3F));
		} else if (c < 0x110000) {
			out += static_cast<char>(0xF0 | (c >> 18));
			out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
			out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
			out += static_cast<char>(0x80 | (c & 0x3F));
		}
	}
	return out;
}

std::string LabelText(const shared_ptr<IfcLabel>& label)
{
	return label ? Narrow(label->m_value) : std::string();
}

std::string EntityText(const BuildingEntity& entity)
{
	std::string name = entity.className();
	std::transform(
		name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
	return "#" + std::to_string(entity.m_entity_id) + " " + name;
}

// Messages of the library: it reports unknown classes while reading and conversion failures
// while converting; only the former matter to us (the latter show as missing geometry).
struct MessageSink : StatusCallback {
	std::int32_t unknownEntities = 0;

	static void Receive(void* self, shared_ptr<Message> message)
	{
		if (message == nullptr)
			return;
		const std::wstring& text = message->m_message_text;
		if (text.find(L"unknown") != std::wstring::npos || text.find(L"Unknown") != std::wstring::npos)
			++static_cast<MessageSink*>(self)->unknownEntities;
	}
};

// ---- Mending what the engine cannot convert ------------------------------------------------

// The engine takes the first bound of a face as its outer one.
void PutOuterBoundsFirst(IfcFace& face)
{
	std::stable_partition(face.m_Bounds.begin(), face.m_Bounds.end(), [](const shared_ptr<IfcFaceBound>& bound) {
		return dynamic_pointer_cast<IfcFaceOuterBound>(bound) != nullptr;
	});
}

using Point2 = std::array<double, 2>;

shared_ptr<IfcCartesianPoint> CartesianPoint(const Point2& p)
{
	auto point = make_shared<IfcCartesianPoint>();
	point->m_Coordinates.push_back(make_shared<IfcLengthMeasure>(p[0]));
	point->m_Coordinates.push_back(make_shared<IfcLengthMeasure>(p[1]));
	return point;
}

// Points along the arc through a, b and c, after a and up to c, at the engine's resolution.
void AppendArc(const Point2& a, const Point2& b, const Point2& c, int verticesPerCircle, std::vector<Point2>& out)
{
	const double d = 2 * (a[0] * (b[1] - c[1]) + b[0] * (c[1] - a[1]) + c[0] * (a[1] - b[1]));
	if (std::abs(d) < 1e-12) { // the three points are on a line
		out.push_back(b);
		out.push_back(c);
		return;
	}
	const double a2 = a[0] * a[0] + a[1] * a[1], b2 = b[0] * b[0] + b[1] * b[1], c2 = c[0] * c[0] + c[1] * c[1];
	const Point2 centre {(a2 * (b[1] - c[1]) + b2 * (c[1] - a[1]) + c2 * (a[1] - b[1])) / d,
		(a2 * (c[0] - b[0]) + b2 * (a[0] - c[0]) + c2 * (b[0] - a[0])) / d};
	const double radius = std::hypot(a[0] - centre[0], a[1] - centre[1]);
	const double start = std::atan2(a[1] - centre[1], a[0] - centre[0]);
	const double twoPi = 2 * M_PI;
	auto sweepTo = [&](const Point2& p) {
		double angle = std::atan2(p[1] - centre[1], p[0] - centre[0]) - start;
		return angle < 0 ? angle + twoPi : angle;
	};
	// Counter-clockwise when b lies before c going that way round, else clockwise.
	double sweep = sweepTo(c);
	if (sweepTo(b) > sweep)
		sweep -= twoPi;
	const int segments = std::max(2, static_cast<int>(std::ceil(std::abs(sweep) / twoPi * verticesPerCircle)));
	for (int i = 1; i < segments; ++i) {
		const double angle = start + sweep * i / segments;
		out.push_back({centre[0] + radius * std::cos(angle), centre[1] + radius * std::sin(angle)});
	}
	out.push_back(c);
}

// The polyline an indexed poly curve of 2D points stands for; null when it is not one.
shared_ptr<IfcPolyline> AsPolyline(const IfcIndexedPolyCurve& curve, int verticesPerCircle)
{
	auto list = dynamic_pointer_cast<IfcCartesianPointList2D>(curve.m_Points);
	if (list == nullptr)
		return nullptr;
	std::vector<Point2> given;
	for (const auto& coordinates : list->m_CoordList) {
		if (coordinates.size() < 2 || !coordinates[0] || !coordinates[1])
			return nullptr;
		given.push_back({coordinates[0]->m_value, coordinates[1]->m_value});
	}
	auto at = [&](const IfcPositiveInteger& index, Point2& p) {
		if (index.m_value < 1 || static_cast<std::size_t>(index.m_value) > given.size())
			return false;
		p = given[static_cast<std::size_t>(index.m_value) - 1];
		return true;
	};
	std::vector<Point2> points;
	if (curve.m_Segments.empty()) {
		points = given;
	} else {
		for (const auto& segment : curve.m_Segments) {
			if (auto line = dynamic_pointer_cast<IfcLineIndex>(segment)) {
				for (std::size_t i = 0; i < line->m_vec.size(); ++i) {
					Point2 p;
					if (!at(line->m_vec[i], p))
						return nullptr;
					if (i > 0 || points.empty())
						points.push_back(p);
				}
			} else if (auto arc = dynamic_pointer_cast<IfcArcIndex>(segment)) {
				Point2 a, b, c;
				if (arc->m_vec.size() != 3 || !at(arc->m_vec[0], a) || !at(arc->m_vec[1], b) || !at(arc->m_vec[2], c))
					return nullptr;
				if (points.empty())
					points.push_back(a);
				AppendArc(a, b, c, verticesPerCircle, points);
			} else {
				return nullptr;
			}
		}
	}
	if (points.size() < 2)
		return nullptr;
	auto polyline = make_shared<IfcPolyline>();
	for (const Point2& p : points)
		polyline->m_Points.push_back(CartesianPoint(p));
	return polyline;
}

template <class Curve>
void ReplaceIndexedCurve(shared_ptr<Curve>& curve, int verticesPerCircle)
{
	if (auto indexed = dynamic_pointer_cast<IfcIndexedPolyCurve>(curve))
		if (auto polyline = AsPolyline(*indexed, verticesPerCircle))
			curve = polyline;
}

// ---- Counting -----------------------------------------------------------------------------

// The face's corners, as indexes of the mesh set's vertices, walking its edges once round;
// false for a face without edges.
bool FaceCorners(const carve::mesh::MeshSet<3>& meshSet, const carve::mesh::Face<3>& face, std::vector<std::uint32_t>& corners)
{
	corners.clear();
	const carve::mesh::Vertex<3>* first = meshSet.vertex_storage.data();
	const carve::mesh::Edge<3>* edge = face.edge;
	if (edge == nullptr)
		return false;
	do {
		corners.push_back(static_cast<std::uint32_t>(edge->vert - first));
		edge = edge->next;
	} while (edge != face.edge && corners.size() <= face.n_edges);
	return true;
}

std::int32_t PlanarFacesOf(const carve::mesh::MeshSet<3>& meshSet)
{
	FaceMesh mesh;
	mesh.positions.reserve(meshSet.vertex_storage.size());
	for (const auto& vertex : meshSet.vertex_storage)
		mesh.positions.push_back({vertex.v.x, vertex.v.y, vertex.v.z});
	for (const carve::mesh::Mesh<3>* part : meshSet.meshes) {
		for (const carve::mesh::Face<3>* face : part->faces) {
			std::vector<std::uint32_t> corners;
			if (FaceCorners(meshSet, *face, corners))
				mesh.faces.push_back(std::move(corners));
		}
	}
	return CountPlanarFaces(mesh);
}

std::int32_t PolygonsOf(const ItemShapeData& item)
{
	std::int64_t polygons = 0;
	for (const auto& meshSet : item.m_meshsets)
		if (meshSet)
			polygons += PlanarFacesOf(*meshSet);
	for (const auto& meshSet : item.m_meshsets_open)
		if (meshSet)
			polygons += PlanarFacesOf(*meshSet);
	return static_cast<std::int32_t>(std::min<std::int64_t>(polygons, INT32_MAX));
}

// ---- Meshes -------------------------------------------------------------------------------

using Matrix = carve::math::Matrix;

// Triangles with their own corners, as the converter gathers them.
struct Triangles {
	std::vector<float> positions;
	std::vector<std::uint32_t> indices;

	// Appends other with its corners moved by the matrix.
	void Append(const Triangles& other, const Matrix& matrix)
	{
		const auto base = static_cast<std::uint32_t>(positions.size() / 3);
		for (std::size_t v = 0; v + 2 < other.positions.size(); v += 3) {
			const carve::geom::vector<3> moved =
				matrix * carve::geom::VECTOR(other.positions[v], other.positions[v + 1], other.positions[v + 2]);
			positions.insert(positions.end(),
				{static_cast<float>(moved.x), static_cast<float>(moved.y), static_cast<float>(moved.z)});
		}
		for (std::uint32_t index : other.indices)
			indices.push_back(base + index);
	}
};

// Each face of the engine's mesh as triangles: ear-clipped in the face's plane, a fan when that
// fails.
void AppendMeshSet(const carve::mesh::MeshSet<3>& meshSet, const Matrix& matrix, Triangles& out)
{
	const auto base = static_cast<std::uint32_t>(out.positions.size() / 3);
	for (const auto& vertex : meshSet.vertex_storage) {
		const carve::geom::vector<3> moved = matrix * vertex.v;
		out.positions.insert(
			out.positions.end(), {static_cast<float>(moved.x), static_cast<float>(moved.y), static_cast<float>(moved.z)});
	}
	std::vector<std::uint32_t> corners;
	std::vector<carve::geom2d::P2> flat;
	std::vector<carve::triangulate::tri_idx> triangles;
	for (const carve::mesh::Mesh<3>* part : meshSet.meshes) {
		for (const carve::mesh::Face<3>* face : part->faces) {
			if (!FaceCorners(meshSet, *face, corners))
				continue;
			triangles.clear();
			if (corners.size() > 3 && face->project != nullptr) {
				flat.clear();
				for (std::uint32_t corner : corners)
					flat.push_back(face->project(meshSet.vertex_storage[corner].v));
				try {
					carve::triangulate::triangulate(flat, triangles);
				} catch (const std::exception&) {
					triangles.clear();
				}
			}
			if (triangles.size() != corners.size() - 2) {
				triangles.clear();
				for (std::size_t i = 1; i + 1 < corners.size(); ++i)
					triangles.emplace_back(0, static_cast<unsigned>(i), static_cast<unsigned>(i + 1));
			}
			for (const auto& triangle : triangles)
				for (unsigned corner : {triangle.a, triangle.b, triangle.c})
					out.indices.push_back(base + corners[corner]);
		}
	}
}

void AppendItem(const ItemShapeData& item, const Matrix& matrix, Triangles& out)
{
	for (const auto* meshSets : {&item.m_meshsets, &item.m_meshsets_open})
		for (const auto& meshSet : *meshSets)
			if (meshSet)
				AppendMeshSet(*meshSet, matrix, out);
}

ReferenceHost::Transform3 TransformOf(const Matrix& matrix)
{
	const carve::geom::vector<3> origin = matrix * carve::geom::VECTOR(0, 0, 0);
	const carve::geom::vector<3> axes[3] = {matrix * carve::geom::VECTOR(1, 0, 0) - origin,
		matrix * carve::geom::VECTOR(0, 1, 0) - origin, matrix * carve::geom::VECTOR(0, 0, 1) - origin};
	ReferenceHost::Transform3 transform {};
	for (int row = 0; row < 3; ++row) {
		for (int column = 0; column < 3; ++column)
			transform[static_cast<std::size_t>(row * 4 + column)] = static_cast<float>(axes[column][row]);
		transform[static_cast<std::size_t>(row * 4 + 3)] = static_cast<float>(origin[row]);
	}
	return transform;
}

// ---- The model's structure -------------------------------------------------------------------

bool IsBodyIdentifier(const std::string& identifier)
{
	return identifier == "Body" || identifier == "Facetation" || identifier == "Body-FallBack";
}

// The representation that is the 3D model: "Body", else "Facetation", else "Body-FallBack".
shared_ptr<IfcRepresentation> BodyOf(const IfcProduct& product)
{
	if (product.m_Representation == nullptr)
		return nullptr;
	shared_ptr<IfcRepresentation> best;
	int bestRank = 4;
	for (const auto& representation : product.m_Representation->m_Representations) {
		if (representation == nullptr)
			continue;
		const std::string identifier = LabelText(representation->m_RepresentationIdentifier);
		const int rank = identifier == "Body" ? 1
			: identifier == "Facetation"      ? 2
			: identifier == "Body-FallBack"   ? 3
											  : 4;
		if (rank < bestRank) {
			best = representation;
			bestRank = rank;
		}
	}
	return best;
}

template <class T>
bool Is(const shared_ptr<IfcProduct>& product)
{
	return dynamic_pointer_cast<T>(product) != nullptr;
}

enum class Role {
	LeftOut,
	Element,         // an element in its own right
	Absorbing,       // an element whose aggregated parts are its components
	ElementWithBody, // an element only when it has a body of its own
};

struct Classified {
	Role role = Role::LeftOut;
	std::int32_t hostType = Object;
	std::uint32_t variation = 0;
};

class Converter {
public:
	Converter(shared_ptr<BuildingModel> read, const ConversionProgress& report, const std::vector<std::int32_t>& boxes)
		: model(std::move(read)), geometry(model), progress(report), boxed(boxes.begin(), boxes.end())
	{
		geometry.getGeomSettings()->setNumVerticesPerCircle(14);
		representations = geometry.getRepresentationConverter();
		geometry.setMessageCallBack(&quiet, &MessageSink::Receive);
		representations->setMessageCallBack(&quiet, &MessageSink::Receive);
	}

	BuildingRecord Convert()
	{
		IndexRelations();
		CheckPlacementsAndCoordinates();
		ReadProjectProperties();
		MendEngineGaps();
		ReadStories();
		ClassifyProducts();
		ConvertElements();
		FormParts();
		GiveExportedLevels();
		BoxParts();
		return std::move(building);
	}

private:
	template <class T>
	std::vector<shared_ptr<T>> All() const
	{
		std::vector<shared_ptr<T>> found;
		for (const auto& [id, entity] : model->getMapIfcEntities())
			if (auto typed = dynamic_pointer_cast<T>(entity))
				found.push_back(typed);
		return found;
	}

	void IndexRelations()
	{
		for (const auto& relation : All<IfcRelContainedInSpatialStructure>())
			for (const auto& element : relation->m_RelatedElements)
				if (element && relation->m_RelatingStructure)
					container.emplace(element->m_entity_id, relation->m_RelatingStructure);
		for (const auto& relation : All<IfcRelAggregates>())
			for (const auto& part : relation->m_RelatedObjects)
				if (part && relation->m_RelatingObject)
					aggregateParent.emplace(part->m_entity_id, relation->m_RelatingObject);
		for (const auto& relation : All<IfcRelDefinesByType>())
			for (const auto& object : relation->m_RelatedObjects)
				if (object && relation->m_RelatingType)
					typeOf.emplace(object->m_entity_id, relation->m_RelatingType);
	}

	void CheckPlacementsAndCoordinates()
	{
		const double factor = model->getUnitConverter()->getLengthInMeterFactor();
		for (const auto& point : All<IfcCartesianPoint>())
			for (const auto& coordinate : point->m_Coordinates)
				if (coordinate && !(std::abs(coordinate->m_value * factor) <= LargestCoordinate))
					throw IfcRefusal(EntityText(*point) + ": a coordinate out of range (" +
						std::to_string(coordinate->m_value) + ")");
		for (const auto& list : All<IfcCartesianPointList2D>())
			for (const auto& coordinates : list->m_CoordList)
				for (const auto& coordinate : coordinates)
					if (coordinate && !(std::abs(coordinate->m_value * factor) <= LargestCoordinate))
						throw IfcRefusal(EntityText(*list) + ": a coordinate out of range");
		for (const auto& placement : All<IfcLocalPlacement>()) {
			std::set<int> seen {placement->m_entity_id};
			for (auto next = dynamic_pointer_cast<IfcLocalPlacement>(placement->m_PlacementRelTo); next;
				 next = dynamic_pointer_cast<IfcLocalPlacement>(next->m_PlacementRelTo))
				if (!seen.insert(next->m_entity_id).second)
					throw IfcRefusal(EntityText(*placement) + ": placements relative to each other in a cycle");
		}
	}

	void MendEngineGaps()
	{
		for (const auto& face : All<IfcFace>())
			PutOuterBoundsFirst(*face);
		const int perCircle = geometry.getGeomSettings()->getNumVerticesPerCircle();
		for (const auto& profile : All<IfcArbitraryClosedProfileDef>()) {
			ReplaceIndexedCurve(profile->m_OuterCurve, perCircle);
			if (auto withVoids = dynamic_pointer_cast<IfcArbitraryProfileDefWithVoids>(profile))
				for (auto& inner : withVoids->m_InnerCurves)
					ReplaceIndexedCurve(inner, perCircle);
		}
		for (const auto& profile : All<IfcArbitraryOpenProfileDef>())
			ReplaceIndexedCurve(profile->m_Curve, perCircle);
	}

	// ---- Stories --------------------------------------------------------------------------

	double ElevationOf(const IfcBuildingStorey& storey)
	{
		const double factor = model->getUnitConverter()->getLengthInMeterFactor();
		if (storey.m_Elevation)
			return storey.m_Elevation->m_value * factor;
		if (!storey.m_ObjectPlacement)
			return 0;
		auto placed = make_shared<ProductShapeData>(storey.m_entity_id);
		std::unordered_set<IfcObjectPlacement*> applied;
		representations->getPlacementConverter()->convertIfcObjectPlacement(
			storey.m_ObjectPlacement, placed, applied, false);
		return placed->getTransform()._43;
	}

	void ReadStories()
	{
		struct Found {
			double elevation;
			int id;
			std::string name;
		};
		std::vector<Found> found;
		for (const auto& storey : All<IfcBuildingStorey>())
			found.push_back({ElevationOf(*storey), storey->m_entity_id, LabelText(storey->m_Name)});
		std::stable_sort(
			found.begin(), found.end(), [](const Found& a, const Found& b) { return a.elevation < b.elevation; });
		if (found.empty()) {
			building.stories.push_back({"", 0});
			return;
		}
		std::size_t zero = 0;
		for (std::size_t i = 0; i < found.size(); ++i) {
			storyOfStorey[found[i].id] = static_cast<std::int32_t>(i);
			building.stories.push_back({found[i].name, found[i].elevation});
			// Ties go to the higher storey: later ones in this order.
			if (std::abs(found[i].elevation) <= std::abs(found[zero].elevation))
				zero = i;
		}
		building.zeroStory = static_cast<std::int32_t>(zero);
	}

	std::int32_t StoryOfSpatial(const shared_ptr<IfcObjectDefinition>& spatial, int depth = 0)
	{
		if (spatial == nullptr || depth > 64)
			return 0;
		if (auto it = storyOfStorey.find(spatial->m_entity_id); it != storyOfStorey.end())
			return it->second;
		if (auto parent = aggregateParent.find(spatial->m_entity_id); parent != aggregateParent.end())
			return StoryOfSpatial(parent->second, depth + 1);
		return 0; // outside every storey: the lowest
	}

	std::int32_t StoryOf(const IfcObjectDefinition& object, int depth = 0)
	{
		if (depth > 64)
			return 0;
		if (auto it = container.find(object.m_entity_id); it != container.end())
			return StoryOfSpatial(it->second);
		if (auto it = storyOfStorey.find(object.m_entity_id); it != storyOfStorey.end())
			return it->second;
		if (auto parent = aggregateParent.find(object.m_entity_id); parent != aggregateParent.end() && parent->second)
			return StoryOf(*parent->second, depth + 1);
		return 0;
	}

	// ---- Classes ----------------------------------------------------------------------------

	Classified Classify(const shared_ptr<IfcProduct>& product) const
	{
		if (Is<IfcSite>(product))
			return {Role::Element, Mesh};
		if (Is<IfcSpace>(product))
			return {Role::Element, Zone};
		if (dynamic_pointer_cast<IfcElement>(product) == nullptr)
			return {}; // storeys, buildings, annotations, grids, ports
		if (Is<IfcFeatureElementSubtraction>(product) || Is<IfcVirtualElement>(product))
			return {};
		if (Is<IfcCurtainWall>(product))
			return {Role::Absorbing, Wall};
		if (Is<IfcWall>(product))
			return {Role::Element, Wall};
		if (Is<IfcColumn>(product) || Is<IfcPile>(product))
			return {Role::Element, Column};
		if (Is<IfcBeam>(product) || Is<IfcMember>(product))
			return {Role::Element, Beam};
		if (Is<IfcWindow>(product))
			return {Role::Absorbing, Window};
		if (Is<IfcDoor>(product))
			return {Role::Absorbing, Door};
		if (Is<IfcRoof>(product))
			return {Role::Absorbing, Roof};
		if (Is<IfcSlab>(product) || Is<IfcFooting>(product))
			return {Role::Element, Slab};
		if (Is<IfcGeographicElement>(product))
			return {Role::Element, Mesh};
		if (Is<IfcStair>(product) || Is<IfcRamp>(product))
			return {Role::Absorbing, Object, StairVariation};
		if (Is<IfcStairFlight>(product) || Is<IfcRampFlight>(product))
			return {Role::Element, Object, StairVariation};
		if (Is<IfcLightFixture>(product))
			return {Role::Element, Lamp};
		if (Is<IfcFlowTerminal>(product)) {
			auto type = typeOf.find(product->m_entity_id);
			if (type != typeOf.end() && dynamic_pointer_cast<IfcLightFixtureType>(type->second))
				return {Role::Element, Lamp};
		}
		return {Role::ElementWithBody, Object};
	}

	struct Candidate {
		shared_ptr<IfcProduct> product;
		Classified classified;
		std::vector<shared_ptr<IfcProduct>> absorbed; // in entity order
	};

	// The outermost absorbing element the product is aggregated into, or null.
	shared_ptr<IfcProduct> AbsorberOf(const IfcProduct& product)
	{
		shared_ptr<IfcProduct> absorber;
		int id = product.m_entity_id;
		for (int depth = 0; depth < 64; ++depth) {
			auto parent = aggregateParent.find(id);
			if (parent == aggregateParent.end() || parent->second == nullptr)
				break;
			auto parentProduct = dynamic_pointer_cast<IfcProduct>(parent->second);
			if (parentProduct && Classify(parentProduct).role == Role::Absorbing)
				absorber = parentProduct;
			id = parent->second->m_entity_id;
		}
		return absorber;
	}

	void ClassifyProducts()
	{
		std::map<int, std::size_t> position;
		std::vector<std::pair<shared_ptr<IfcProduct>, shared_ptr<IfcProduct>>> absorbedInto;
		for (const auto& product : All<IfcProduct>()) {
			Classified classified = Classify(product);
			if (classified.role == Role::LeftOut)
				continue;
			if (auto absorber = AbsorberOf(*product)) {
				absorbedInto.emplace_back(product, absorber);
				continue;
			}
			if (classified.role == Role::ElementWithBody && BodyOf(*product) == nullptr &&
				TypeWithoutBody(*product) == nullptr && !ExportedOff(*product))
				continue;
			position[product->m_entity_id] = candidates.size();
			candidates.push_back({product, classified, {}});
		}
		for (const auto& [product, absorber] : absorbedInto)
			if (auto it = position.find(absorber->m_entity_id); it != position.end())
				candidates[it->second].absorbed.push_back(product);
	}

	// ---- Geometry -------------------------------------------------------------------------

	struct Body {
		ComponentPolygons components;
		bool missingGeometry = false;
		std::vector<int> maps; // the maps of a body made only of mapped items, else empty
		Triangles own;         // items converted on their own, in building coordinates
		std::vector<std::pair<int, Matrix>> mappedUses; // maps placed, and where in the building
	};

	// Each map's items, converted once however often the map is placed.
	const ComponentPolygons& MapComponents(const IfcRepresentationMap& map, bool& missing)
	{
		auto [it, added] = mapComponents.try_emplace(map.m_entity_id);
		if (added && map.m_MappedRepresentation) {
			auto data = make_shared<RepresentationData>();
			try {
				representations->convertIfcRepresentation(map.m_MappedRepresentation, data);
			} catch (const std::exception&) {
			}
			for (const auto& item : data->m_vec_item_data) {
				it->second.components.push_back(item ? PolygonsOf(*item) : 0);
				if (item)
					AppendItem(*item, Matrix::IDENT(), it->second.mesh);
			}
			it->second.missing = data->m_vec_item_data.empty() ||
				std::find(it->second.components.begin(), it->second.components.end(), 0) != it->second.components.end();
		}
		missing = missing || it->second.missing;
		return it->second.components;
	}

	// The product's body with its openings cut out, one component per item.
	void ConvertBody(const shared_ptr<IfcProduct>& product, Body& body)
	{
		shared_ptr<IfcRepresentation> representation = BodyOf(*product);
		if (representation == nullptr)
			return;
		auto element = dynamic_pointer_cast<IfcElement>(product);
		const bool hasOpenings = element && !element->m_HasOpenings_inverse.empty();
		bool onlyMapped = !representation->m_Items.empty();
		for (const auto& item : representation->m_Items)
			onlyMapped = onlyMapped && dynamic_pointer_cast<IfcMappedItem>(item) != nullptr;

		const Matrix placement = PlacementOf(*product);
		if (onlyMapped && !hasOpenings) {
			for (const auto& item : representation->m_Items) {
				auto mapped = dynamic_pointer_cast<IfcMappedItem>(item);
				if (mapped->m_MappingSource == nullptr) {
					body.missingGeometry = true;
					continue;
				}
				const ComponentPolygons& components = MapComponents(*mapped->m_MappingSource, body.missingGeometry);
				body.components.insert(body.components.end(), components.begin(), components.end());
				body.maps.push_back(mapped->m_MappingSource->m_entity_id);
				body.mappedUses.emplace_back(mapped->m_MappingSource->m_entity_id, placement * MappingOf(*mapped));
			}
			return;
		}

		auto shape = make_shared<ProductShapeData>(product->m_entity_id);
		shape->m_ifc_object_definition = product;
		auto data = make_shared<RepresentationData>();
		try {
			representations->convertIfcRepresentation(representation, data);
		} catch (const std::exception&) {
		}
		shape->m_vec_representations.push_back(data);
		if (hasOpenings && OpeningsArePlaced(*element)) {
			try {
				if (product->m_ObjectPlacement) {
					std::unordered_set<IfcObjectPlacement*> applied;
					representations->getPlacementConverter()->convertIfcObjectPlacement(
						product->m_ObjectPlacement, shape, applied, false);
				}
				representations->subtractOpenings(element, shape);
			} catch (const std::exception&) {
			}
		}
		for (const auto& item : data->m_vec_item_data) {
			const std::int32_t polygons = item ? PolygonsOf(*item) : 0;
			body.missingGeometry = body.missingGeometry || polygons == 0;
			body.components.push_back(polygons);
			if (item)
				AppendItem(*item, placement, body.own);
		}
		if (data->m_vec_item_data.empty() && !representation->m_Items.empty())
			body.missingGeometry = true;
	}

	// The engine dereferences an opening's placement unchecked.
	static bool OpeningsArePlaced(const IfcElement& element)
	{
		for (const auto& voids : element.m_HasOpenings_inverse) {
			auto relation = voids.lock();
			if (relation && relation->m_RelatedOpeningElement && !relation->m_RelatedOpeningElement->m_ObjectPlacement)
				return false;
		}
		return true;
	}

	static bool CutsOpenings(const Candidate& candidate)
	{
		auto element = dynamic_pointer_cast<IfcElement>(candidate.product);
		return element && !element->m_HasOpenings_inverse.empty();
	}

	// Elements with openings first, each from a fresh start of the heap: the engine's cuts
	// depend on addresses, and so they do not depend on how the parts converted before them
	// were modelled (a file and its lighter export cut their walls alike).
	void ConvertElements()
	{
		const std::size_t total = candidates.size();
		bodies.resize(total);
		std::size_t done = 0;
		for (const bool cutting : {true, false})
			for (std::size_t i = 0; i < total; ++i) {
				if (CutsOpenings(candidates[i]) != cutting)
					continue;
				if (cutting && FacetallyStartGeometryHeap != nullptr)
					FacetallyStartGeometryHeap();
				ConvertCandidate(i);
				if (progress)
					progress(++done, total);
			}
	}

	void ConvertCandidate(std::size_t i)
	{
		Candidate& candidate = candidates[i];
		Body& body = bodies[i];
		ConvertBody(candidate.product, body);
		for (const auto& part : candidate.absorbed) {
			Body partBody;
			ConvertBody(part, partBody);
			body.components.insert(body.components.end(), partBody.components.begin(), partBody.components.end());
			body.missingGeometry = body.missingGeometry || partBody.missingGeometry;
			body.own.Append(partBody.own, Matrix::IDENT());
			body.mappedUses.insert(body.mappedUses.end(), partBody.mappedUses.begin(), partBody.mappedUses.end());
		}
		if (!candidate.absorbed.empty())
			body.maps.clear();
	}

	// ---- Library parts ----------------------------------------------------------------------

	// The product's type when that has no body to place (never had, or an export took it out).
	shared_ptr<IfcTypeProduct> TypeWithoutBody(const IfcProduct& product) const
	{
		auto type = typeOf.find(product.m_entity_id);
		auto typeProduct = type == typeOf.end() ? nullptr : dynamic_pointer_cast<IfcTypeProduct>(type->second);
		if (typeProduct == nullptr)
			return nullptr;
		for (const auto& map : typeProduct->m_RepresentationMaps)
			if (map && map->m_MappedRepresentation &&
				IsBodyIdentifier(LabelText(map->m_MappedRepresentation->m_RepresentationIdentifier)))
				return nullptr;
		return typeProduct;
	}

	static bool TakesParts(const Classified& classified)
	{
		const std::int32_t type = classified.hostType;
		return type == Window || type == Door || type == Lamp || type == Object;
	}

	void FormParts()
	{
		// The body maps of each type, and the type of each map.
		std::map<int, std::vector<int>> bodyMapsOfType;
		std::map<int, shared_ptr<IfcTypeProduct>> typeOfMap;
		std::map<int, shared_ptr<IfcTypeProduct>> typeById;
		for (const auto& type : All<IfcTypeProduct>())
			for (const auto& map : type->m_RepresentationMaps)
				if (map && map->m_MappedRepresentation &&
					IsBodyIdentifier(LabelText(map->m_MappedRepresentation->m_RepresentationIdentifier))) {
					bodyMapsOfType[type->m_entity_id].push_back(map->m_entity_id);
					typeOfMap.emplace(map->m_entity_id, type);
					typeById.emplace(type->m_entity_id, type);
				}

		// Which part each placement would take: a type's whole body, or a single untyped map.
		std::map<int, int> placementsOfMap;
		for (std::size_t i = 0; i < candidates.size(); ++i)
			if (bodies[i].maps.size() == 1 && !typeOfMap.contains(bodies[i].maps[0]))
				++placementsOfMap[bodies[i].maps[0]];

		std::map<int, std::int32_t> partOfKey; // type or map entity → part index
		for (std::size_t i = 0; i < candidates.size(); ++i) {
			const Body& body = bodies[i];
			if (body.maps.empty())
				continue;
			auto owner = typeOfMap.find(body.maps[0]);
			if (owner != typeOfMap.end()) {
				std::vector<int> used = body.maps;
				std::sort(used.begin(), used.end());
				std::vector<int> all = bodyMapsOfType[owner->second->m_entity_id];
				std::sort(all.begin(), all.end());
				if (used == all)
					partKeyOf.emplace(i, owner->second->m_entity_id);
			} else if (body.maps.size() == 1 && placementsOfMap[body.maps[0]] > 1) {
				partKeyOf.emplace(i, body.maps[0]);
			}
		}

		// Elements without a body whose type has none either (an export took a part "Off") are
		// placed from their type's part, so its level stays with them.
		for (std::size_t i = 0; i < candidates.size(); ++i)
			if (TakesParts(candidates[i].classified) && !partKeyOf.contains(i) && bodies[i].components.empty() &&
				BodyOf(*candidates[i].product) == nullptr)
				if (auto type = TypeWithoutBody(*candidates[i].product)) {
					partKeyOf.emplace(i, type->m_entity_id);
					typeById.emplace(type->m_entity_id, type);
				}

		// Elements of the types that take parts and share none get a part of their own, as every
		// such element of a modelling host is placed from a library part; so each can be lightened.
		for (std::size_t i = 0; i < candidates.size(); ++i)
			if (TakesParts(candidates[i].classified) && !partKeyOf.contains(i))
				partKeyOf.emplace(i, candidates[i].product->m_entity_id);

		// Parts in the order of the entities they come from, each with its first placement.
		std::map<int, std::size_t> firstPlacement;
		for (const auto& [candidate, key] : partKeyOf)
			if (TakesParts(candidates[candidate].classified))
				firstPlacement.emplace(key, candidate);
		std::map<std::string, int> namesSeen;
		for (const auto& [key, first] : firstPlacement) {
			PartRecord part;
			part.entity = key;
			const IfcProduct& placed = *candidates[first].product;
			if (key == placed.m_entity_id) {
				part.place.product = key;
				if (auto own = BodyOf(placed))
					part.place.ownBody = own->m_entity_id;
				for (const auto& absorbed : candidates[first].absorbed)
					if (auto body = BodyOf(*absorbed))
						part.place.absorbedBodies.push_back(body->m_entity_id);
				partCandidate.emplace(key, first);
				part.name = LabelText(placed.m_Name);
				part.globalId = placed.m_GlobalId ? Narrow(placed.m_GlobalId->m_value) : std::string();
				part.ifcClass = placed.className();
				part.body = PartBody::Element;
				part.detailed = bodies[first].components;
			} else if (auto type = typeById.find(key); type != typeById.end()) {
				part.name = LabelText(type->second->m_Name);
				part.globalId = type->second->m_GlobalId ? Narrow(type->second->m_GlobalId->m_value) : std::string();
				part.ifcClass = type->second->className();
				part.body = PartBody::Type;
				for (int map : bodyMapsOfType[key])
					part.place.maps.push_back(map);
				bool missing = false;
				for (const auto& map : type->second->m_RepresentationMaps)
					if (map && typeOfMap.contains(map->m_entity_id)) {
						const ComponentPolygons& components = MapComponents(*map, missing);
						part.detailed.insert(part.detailed.end(), components.begin(), components.end());
					}
			} else {
				part.ifcClass = "IfcRepresentationMap";
				part.body = PartBody::Map;
				part.place.maps.push_back(key);
				part.detailed = bodies[first].components;
				part.name = LabelText(placed.m_Name);
			}
			part.place.key = part.body != PartBody::Map && !part.globalId.empty() ? part.globalId : "#" + std::to_string(key);
			if (part.name.empty())
				part.name = part.ifcClass + " #" + std::to_string(key);
			const int seen = ++namesSeen[part.name];
			if (seen > 1)
				part.name += " (" + std::to_string(seen) + ")";
			partOfKey[key] = static_cast<std::int32_t>(building.parts.size());
			partSources.push_back({key, first});
			building.parts.push_back(std::move(part));
		}

		for (std::size_t i = 0; i < candidates.size(); ++i) {
			const Candidate& candidate = candidates[i];
			const Body& body = bodies[i];
			ElementRecord element;
			element.entityId = candidate.product->m_entity_id;
			element.ifcClass = candidate.product->className();
			element.name = LabelText(candidate.product->m_Name);
			element.globalId =
				candidate.product->m_GlobalId ? Narrow(candidate.product->m_GlobalId->m_value) : std::string();
			element.hostType = candidate.classified.hostType;
			element.variation = candidate.classified.variation;
			element.storyIndex = StoryOf(*candidate.product);
			element.components = body.components;
			if (auto key = partKeyOf.find(i); key != partKeyOf.end() && TakesParts(candidate.classified)) {
				element.part = partOfKey.at(key->second);
				// A part takes the type of its first placement.
				if (partTyped.insert(element.part).second)
					building.parts[static_cast<std::size_t>(element.part)].hostType = element.hostType;
			}
			if (body.missingGeometry)
				++building.withoutConvertibleGeometry;
			building.elements.push_back(std::move(element));
		}
		KeepMeshes(typeOfMap);
	}

	// ---- Meshes -------------------------------------------------------------------------------

	// Where the product's placement puts its own coordinates in the building.
	Matrix PlacementOf(const IfcProduct& product)
	{
		if (product.m_ObjectPlacement == nullptr)
			return Matrix::IDENT();
		auto shape = make_shared<ProductShapeData>(product.m_entity_id);
		std::unordered_set<IfcObjectPlacement*> applied;
		try {
			representations->getPlacementConverter()->convertIfcObjectPlacement(
				product.m_ObjectPlacement, shape, applied, false);
		} catch (const std::exception&) {
			return Matrix::IDENT();
		}
		return shape->getTransform();
	}

	// Where a mapped item puts its map, as the engine places it.
	Matrix MappingOf(const IfcMappedItem& mapped)
	{
		shared_ptr<TransformData> target, origin;
		try {
			if (mapped.m_MappingTarget)
				representations->getPlacementConverter()->convertTransformationOperator(mapped.m_MappingTarget, target);
			if (auto placement = dynamic_pointer_cast<IfcPlacement>(mapped.m_MappingSource->m_MappingOrigin))
				representations->getPlacementConverter()->convertIfcPlacement(placement, origin);
		} catch (const std::exception&) {
			return Matrix::IDENT();
		}
		return target && origin ? target->m_matrix * origin->m_matrix : Matrix::IDENT();
	}

	Triangles BuildingMeshOf(const Body& body) const
	{
		Triangles mesh = body.own;
		for (const auto& [map, matrix] : body.mappedUses)
			mesh.Append(mapComponents.at(map).mesh, matrix);
		return mesh;
	}

	// A part's mesh once, in its own coordinates (a type's or a map's) or the building's (an
	// element's own body); each element's own mesh, or where it places its part's.
	void KeepMeshes(const std::map<int, shared_ptr<IfcTypeProduct>>& typeOfMap)
	{
		BuildingGeometry& kept = building.geometry;
		auto add = [&kept](const Triangles& mesh) {
			return mesh.indices.empty() ? -1 : kept.meshes.Add(mesh.positions, mesh.indices);
		};
		for (std::size_t p = 0; p < partSources.size(); ++p) {
			const auto [key, first] = partSources[p];
			Triangles mesh;
			if (building.parts[p].body == PartBody::Element) {
				mesh = BuildingMeshOf(bodies[first]);
			} else {
				for (const auto& [map, entry] : mapComponents)
					if (map == key || (typeOfMap.contains(map) && typeOfMap.at(map)->m_entity_id == key))
						mesh.Append(entry.mesh, Matrix::IDENT());
			}
			kept.partMesh.push_back(add(mesh));
		}
		for (std::size_t i = 0; i < building.elements.size(); ++i) {
			const ElementRecord& element = building.elements[i];
			const Body& body = bodies[i];
			ReferenceHost::Transform3 placement = ReferenceHost::IdentityTransform;
			std::int32_t own = -1;
			if (element.part < 0)
				own = add(BuildingMeshOf(body));
			else if (building.parts[static_cast<std::size_t>(element.part)].body != PartBody::Element &&
				!body.mappedUses.empty())
				placement = TransformOf(body.mappedUses.front().second);
			kept.elementMesh.push_back(own);
			kept.elementPlacement.push_back(placement);
		}
	}

	// ---- Boxes for an export -------------------------------------------------------------------

	struct Bounds {
		bool empty = true;
		carve::geom::vector<3> min, max;

		void Add(const carve::geom::vector<3>& p)
		{
			if (empty) {
				min = max = p;
				empty = false;
				return;
			}
			for (int i = 0; i < 3; ++i) {
				min.v[i] = std::min(min.v[i], p.v[i]);
				max.v[i] = std::max(max.v[i], p.v[i]);
			}
		}
	};

	// The representation's geometry, in its own coordinates moved by matrix, into bounds.
	void AddBounds(const shared_ptr<IfcRepresentation>& representation, const carve::math::Matrix& matrix, Bounds& bounds)
	{
		if (representation == nullptr)
			return;
		auto data = make_shared<RepresentationData>();
		try {
			representations->convertIfcRepresentation(representation, data);
		} catch (const std::exception&) {
		}
		for (const auto& item : data->m_vec_item_data) {
			if (item == nullptr)
				continue;
			for (const auto* meshSets : {&item->m_meshsets, &item->m_meshsets_open})
				for (const auto& meshSet : *meshSets)
					if (meshSet)
						for (const auto& vertex : meshSet->vertex_storage)
							bounds.Add(matrix * vertex.v);
		}
	}

	carve::math::Matrix PlacementOf(const shared_ptr<IfcProduct>& product)
	{
		auto shape = make_shared<ProductShapeData>(product->m_entity_id);
		if (product->m_ObjectPlacement) {
			std::unordered_set<IfcObjectPlacement*> applied;
			try {
				representations->getPlacementConverter()->convertIfcObjectPlacement(
					product->m_ObjectPlacement, shape, applied, false);
			} catch (const std::exception&) {
			}
		}
		return shape->getTransform();
	}

	// The bounds of each asked-for part's body, in the coordinates its box will take: the first
	// map's, or the element's own (its aggregated parts moved into them).
	void BoxParts()
	{
		if (boxed.empty())
			return;
		const double toFileUnits = 1.0 / model->getUnitConverter()->getLengthInMeterFactor();
		const auto& entities = model->getMapIfcEntities();
		auto find = [&entities](int id) {
			auto it = entities.find(id);
			return it == entities.end() ? nullptr : it->second;
		};
		const carve::math::Matrix identity;
		for (PartRecord& part : building.parts) {
			if (!boxed.contains(part.entity))
				continue;
			Bounds bounds;
			for (long id : part.place.maps)
				if (auto map = dynamic_pointer_cast<IfcRepresentationMap>(find(static_cast<int>(id))))
					AddBounds(map->m_MappedRepresentation, identity, bounds);
			if (auto candidate = partCandidate.find(part.entity); candidate != partCandidate.end()) {
				const Candidate& placed = candidates[candidate->second];
				AddBounds(BodyOf(*placed.product), identity, bounds);
				carve::math::Matrix intoElement;
				if (!placed.absorbed.empty() &&
					GeomUtils::computeInverse(PlacementOf(placed.product), intoElement, 1e-9))
					for (const auto& absorbed : placed.absorbed)
						AddBounds(BodyOf(*absorbed), intoElement * PlacementOf(absorbed), bounds);
			}
			if (bounds.empty)
				continue;
			BodyBox box;
			for (std::size_t i = 0; i < 3; ++i) {
				box.min[i] = bounds.min.v[i] * toFileUnits;
				box.max[i] = bounds.max.v[i] * toFileUnits;
			}
			part.place.box = box;
		}
	}

	// ---- Module data ---------------------------------------------------------------------------

	// What an export stored on the project: the add-ons' module data (a set that is not whole
	// is left alone, as the project's other property sets are) and the parts' levels.
	void ReadProjectProperties()
	{
		for (const auto& relation : All<IfcRelDefinesByProperties>()) {
			auto set = dynamic_pointer_cast<IfcPropertySet>(relation->m_RelatingPropertyDefinition);
			const bool onProject = std::any_of(relation->m_RelatedObjects.begin(), relation->m_RelatedObjects.end(),
				[](const auto& object) { return dynamic_pointer_cast<IfcProject>(object) != nullptr; });
			if (set == nullptr || !onProject)
				continue;
			ModuleDataProperties data;
			data.addOnName = LabelText(set->m_Name);
			if (data.addOnName == LevelsPropertySet) {
				ReadExportedLevels(*set);
				continue;
			}
			std::optional<std::vector<std::uint8_t>> bytes;
			bool versioned = false, marked = false;
			for (const auto& property : set->m_HasProperties) {
				auto single = dynamic_pointer_cast<IfcPropertySingleValue>(property);
				if (single == nullptr || single->m_Name == nullptr)
					continue;
				const std::string name = Narrow(single->m_Name->m_value);
				auto text = dynamic_pointer_cast<IfcText>(single->m_NominalValue);
				auto integer = dynamic_pointer_cast<IfcInteger>(single->m_NominalValue);
				if (name == ModuleBytesProperty && text) {
					bytes = BytesOfHex(Narrow(text->m_value));
				} else if (name == ModuleDataVersionProperty && integer && integer->m_value >= 0) {
					data.dataVersion = static_cast<std::uint32_t>(integer->m_value);
					versioned = true;
				} else if (name == ModulePlatformMarkProperty && integer && integer->m_value >= 0 &&
					integer->m_value <= 0xFFFF) {
					data.platformMark = static_cast<std::uint16_t>(integer->m_value);
					marked = true;
				}
			}
			if (bytes && versioned && marked && !data.addOnName.empty()) {
				data.bytes = std::move(*bytes);
				building.moduleData.push_back(std::move(data));
			}
		}
	}

	// The levels an export gave the parts ("KEY=Simple;KEY=Off;").
	void ReadExportedLevels(const IfcPropertySet& set)
	{
		for (const auto& property : set.m_HasProperties) {
			auto single = dynamic_pointer_cast<IfcPropertySingleValue>(property);
			auto text = single ? dynamic_pointer_cast<IfcText>(single->m_NominalValue) : nullptr;
			if (text == nullptr || single->m_Name == nullptr || Narrow(single->m_Name->m_value) != LevelsProperty)
				continue;
			const std::string all = Narrow(text->m_value);
			for (std::size_t at = 0, end; (end = all.find(';', at)) != std::string::npos; at = end + 1) {
				const std::string entry = all.substr(at, end - at);
				const std::size_t equals = entry.find('=');
				if (equals != std::string::npos)
					exportedLevels[entry.substr(0, equals)] = entry.substr(equals + 1);
			}
		}
	}

	// The parts' placements show the level they were exported at.
	void GiveExportedLevels()
	{
		for (PartRecord& part : building.parts)
			if (auto level = exportedLevels.find(part.place.key); level != exportedLevels.end() &&
				(level->second == SimpleLevelName || level->second == OffLevelName))
				part.exportedLevel = level->second;
	}

	// An element an export took "Off" with a part of its own: it stays an element, without body.
	bool ExportedOff(const IfcProduct& product) const
	{
		auto level = product.m_GlobalId ? exportedLevels.find(Narrow(product.m_GlobalId->m_value)) : exportedLevels.end();
		return level != exportedLevels.end() && level->second == OffLevelName;
	}

	struct MapEntry {
		ComponentPolygons components;
		bool missing = false;
		Triangles mesh; // in the map's own coordinates
	};

	shared_ptr<BuildingModel> model;
	GeometryConverter geometry;
	shared_ptr<RepresentationConverter> representations;
	const ConversionProgress& progress;
	MessageSink quiet;
	BuildingRecord building;
	std::unordered_map<int, shared_ptr<IfcSpatialElement>> container;
	std::unordered_map<int, shared_ptr<IfcObjectDefinition>> aggregateParent;
	std::unordered_map<int, shared_ptr<IfcTypeObject>> typeOf;
	std::unordered_map<int, std::int32_t> storyOfStorey;
	std::vector<Candidate> candidates;
	std::vector<Body> bodies;
	std::map<int, MapEntry> mapComponents;
	std::map<std::size_t, int> partKeyOf;
	std::vector<std::pair<int, std::size_t>> partSources; // per part: its key and first placement
	std::set<std::int32_t> partTyped;
	std::set<std::int32_t> boxed;
	std::map<int, std::size_t> partCandidate; // an element's own part → its candidate
	std::map<std::string, std::string> exportedLevels; // part key → level, from an export
};

// The library reads numbers with the process's locale; the reader runs in the "C" locale and
// leaves the caller's as it was.
class CLocale {
public:
	CLocale()
	{
		if (const char* current = std::setlocale(LC_ALL, nullptr))
			saved = current;
		std::setlocale(LC_ALL, "C");
	}
	~CLocale() { std::setlocale(LC_ALL, saved.c_str()); }
	CLocale(const CLocale&) = delete;
	CLocale& operator=(const CLocale&) = delete;

private:
	std::string saved = "C";
};

} // namespace

BuildingRecord ConvertIfcText(std::string text, const ConversionProgress& progress, const std::vector<std::int32_t>& boxed)
{
	CLocale locale;
	auto model = make_shared<BuildingModel>();
	MessageSink reading;
	ReaderSTEP reader;
	reader.setMessageCallBack(&reading, &MessageSink::Receive);
	model->setMessageCallBack(&reading, &MessageSink::Receive);
	try {
		reader.loadModelFromString(text, model);
		text.clear();
		text.shrink_to_fit();
		if (FacetallyStartGeometryHeap != nullptr)
			FacetallyStartGeometryHeap();
		Converter converter(model, progress, boxed);
		BuildingRecord building = converter.Convert();
		building.skippedEntities = reading.unknownEntities;
		return building;
	} catch (const IfcRefusal&) {
		throw;
	} catch (const std::bad_alloc&) {
		throw;
	} catch (const std::exception& failure) {
		throw IfcRefusal(std::string("the IFC library cannot read it: ") + failure.what());
	}
}

} // namespace IfcReading
