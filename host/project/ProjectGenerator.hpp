// Large synthetic projects for benchmarks and stress tests: a number of elements spread over
// the element types a counting run visits, library parts with a level-of-detail parameter
// and a 3D model per level, stories, and groups. The same settings and seed always give the
// same project.
#pragma once

#include "Project.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace ReferenceHost {

struct ProjectGeneratorSettings {
	std::size_t elements = 1000;
	std::size_t libraryParts = 20;
	// Components of each element's 3D model (of a library part's "Detailed" model; its
	// "Simple" model has a quarter of them, at least one, and "Off" none).
	std::size_t componentsPerElement = 8;
	std::size_t stories = 3;
	std::uint32_t seed = 1;
	// The name of the level-of-detail parameter, and its three value texts.
	std::string levelParameter = "detail_level";
	std::string detailedValue = "Detailed";
	std::string simpleValue = "Simple";
	std::string offValue = "Off";
};

// Throws std::invalid_argument for settings no project can have (no stories, more than
// 32767 stories, more components than 32-bit indexes reach, level values that are not three
// different texts).
std::unique_ptr<Project> GenerateProject(const ProjectGeneratorSettings& settings);

// The configuration file line that names the generated parts' level-of-detail parameter.
std::string GeneratedDetailLevelLine(const ProjectGeneratorSettings& settings);

} // namespace ReferenceHost
