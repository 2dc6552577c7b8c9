// The 3D view's geometry and state for the page.
#include "WebUiGeometry.hpp"

#include "Host.hpp"

#include <algorithm>
#include <map>
#include <set>

namespace ReferenceHost {

namespace {

using nlohmann::json;

constexpr const char* Levels[] = {"Detailed", "Simple", "Off"};

std::int64_t Sum(const ComponentList& components)
{
	std::int64_t sum = 0;
	for (std::int32_t polygons : components)
		sum += polygons;
	return sum;
}

// The element's name in the file it was read from, else its part's.
std::string NameOf(const Project& project, const Element& element)
{
	if (const LibraryPart* part = project.PartOf(element))
		return part->name;
	const json fields = json::parse(element.unknownFields, nullptr, false);
	if (fields.is_object() && fields.contains("ifc") && fields["ifc"].is_object())
		return fields["ifc"].value("name", std::string());
	return {};
}

// Each element's number in the geometry, kept for the project shown.
const std::map<ElementId, std::size_t>& NumbersOf(const Project& project)
{
	static std::uint64_t serial = 0;
	static std::map<ElementId, std::size_t> numbers;
	if (serial != project.Serial()) {
		numbers.clear();
		const auto& instances = project.Geometry()->instances;
		for (std::size_t i = 0; i < instances.size(); ++i)
			numbers.emplace(instances[i].element, i);
		serial = project.Serial();
	}
	return numbers;
}

// What the selected rows of the palette's lists stand for: a row naming an element type, its
// elements that the last count read; a row naming a library part, its placements.
void CollectMarked(Host& host, const Project& project, const DG::PanelView& panel, std::set<ElementId>& marked)
{
	for (const DG::ItemView& item : panel.items) {
		for (const DG::PanelView& page : item.pages)
			CollectMarked(host, project, page, marked);
		for (const DG::ListRowView& row : item.rows) {
			if (!row.selected)
				continue;
			for (const DG::ListCellView& cell : row.cells) {
				if (cell.text.empty())
					continue;
				std::int32_t type = 0;
				while (type < ElementTypeCount && ElementTypeNameOf(type) != cell.text)
					++type;
				if (type < ElementTypeCount) {
					for (const ElementId& id : host.ProjectAnswers().ModelsOfLastCount())
						if (id.type == type)
							marked.insert(id);
					break;
				}
				const auto& parts = project.LibraryParts();
				const auto part = std::find_if(
					parts.begin(), parts.end(), [&](const LibraryPart& named) { return named.name == cell.text; });
				if (part != parts.end()) {
					for (const GeometryInstance& instance : project.Geometry()->instances)
						if (instance.part == part->index)
							marked.insert(instance.element);
					break;
				}
			}
		}
	}
}

} // namespace

std::string PageGeometryBuffer(const Project& project)
{
	const ModelGeometry* geometry = project.Geometry();
	if (geometry == nullptr)
		return {};
	const std::string block = geometry->Block();
	json parts = json::array();
	for (const LibraryPart& part : project.LibraryParts()) {
		json polygons = json::array();
		for (const char* level : Levels) {
			const auto model = part.models.find(level);
			polygons.push_back(Sum(model != part.models.end() ? model->second : part.model));
		}
		parts.push_back({{"name", part.name}, {"polygons", std::move(polygons)}});
	}
	json elements = json::array();
	for (const GeometryInstance& instance : geometry->instances) {
		const Element* element = project.FindElement(instance.element);
		elements.push_back({{"id", ElementIdText(instance.element)},
			{"type", std::string(ElementTypeNameOf(instance.element.type))}, {"name", NameOf(project, *element)},
			{"story", element->story}, {"polygons", Sum(element->components)}});
	}
	const Stories& stories = project.StoryList();
	json storyList = json::array();
	for (std::int32_t story = stories.first; story <= stories.last; ++story)
		storyList.push_back({{"number", story}, {"name", stories.NameOf(static_cast<std::int16_t>(story))}});
	const std::string info = json({{"stories", std::move(storyList)}, {"parts", std::move(parts)},
		{"elements", std::move(elements)}})
								 .dump(-1, ' ', false, json::error_handler_t::replace);
	std::string buffer;
	const auto length = static_cast<std::uint32_t>(block.size());
	buffer.append(reinterpret_cast<const char*>(&length), sizeof length);
	return buffer + block + info;
}

json DescribeView3d(Host& host, const std::vector<DG::PanelView>& shownPanels)
{
	const Project* project = host.CurrentProject();
	if (project == nullptr)
		return nullptr;
	const ModelGeometry* geometry = project->Geometry();
	if (geometry == nullptr)
		return {{"geometry", nullptr}};
	std::string levels;
	levels.reserve(geometry->instances.size());
	for (const GeometryInstance& instance : geometry->instances) {
		const std::string level = instance.part > 0 ? LevelOf(*project, instance.element) : "-";
		levels += level == "Simple" ? 'S' : level == "Off" ? 'O' : level == "-" ? '-' : 'D';
	}
	const std::map<ElementId, std::size_t>& numbers = NumbersOf(*project);
	std::set<ElementId> markedIds;
	for (const DG::PanelView& panel : shownPanels)
		if (panel.kind == DG::PanelKind::Palette)
			CollectMarked(host, *project, panel, markedIds);
	json marked = json::array();
	for (const ElementId& id : markedIds)
		if (auto found = numbers.find(id); found != numbers.end())
			marked.push_back(found->second);
	json selected = json::array();
	for (const ElementId& id : project->CurrentSelection().items)
		if (auto found = numbers.find(id); found != numbers.end())
			selected.push_back(found->second);
	return {{"geometry", std::to_string(project->Serial())}, {"levels", std::move(levels)},
		{"marked", std::move(marked)}, {"selected", std::move(selected)}};
}

} // namespace ReferenceHost
