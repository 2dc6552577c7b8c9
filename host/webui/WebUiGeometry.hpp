// The 3D view of the host's window: what a page receives once per opened project (the
// project's geometry with what the view tells of each element) and what every push carries
// (each element's level, the elements the palette's marked rows and the host's selection stand
// for).
#pragma once
#include "DG/PanelView.hpp"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace ReferenceHost {

class Host;
class Project;

// A 32-bit length, the geometry's block, then the elements' descriptions as JSON text.
std::string PageGeometryBuffer(const Project& project);

// null without a project; {"geometry": null} for a project without geometry; else the
// geometry's name (the project's serial, for the page to fetch once), "levels" (a letter per
// element: D, S, O, or - for an element of its own mesh), "marked" and "selected" (element
// numbers in the geometry's order).
nlohmann::json DescribeView3d(Host& host, const std::vector<DG::PanelView>& shownPanels);

} // namespace ReferenceHost
