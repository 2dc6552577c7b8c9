// The one door to the IFC library: reads a STEP text into the library's model, mends the
// forms its geometry engine cannot convert, maps the model to stories, elements and library
// parts, and counts each body's planar faces. Every inclusion of the library's headers lives
// behind this interface, in IfcConversion.cpp.
#pragma once

#include "BuildingRecord.hpp"

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace IfcReading {

// A file the reader refuses: what is wrong, naming the entity (#id and class) where there is
// one.
struct IfcRefusal : std::runtime_error {
	using std::runtime_error::runtime_error;
};

// Called after each element's geometry: elements done, elements in all.
using ConversionProgress = std::function<void(std::size_t done, std::size_t total)>;

// The building of a STEP text that IfcStepCheck accepted; IfcRefusal for what the library's
// model shows to be unusable (placements in a cycle, coordinates out of range). Parts whose
// entity boxed lists get the box of their body, for an export.
BuildingRecord ConvertIfcText(
	std::string text, const ConversionProgress& progress, const std::vector<std::int32_t>& boxed = {});

} // namespace IfcReading
