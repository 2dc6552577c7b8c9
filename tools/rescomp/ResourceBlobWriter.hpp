// Merging the resources of several sources into one blob in the format the root library's
// resource manager reads.
#pragma once

#include "ResourceSource.hpp"

#include <cstdint>
#include <vector>

namespace Rescomp {

// The blob of all resources, ordered by type and id. Two resources of one type and id are
// refused with a ResourceError naming both files.
std::vector<std::uint8_t> WriteResourceBlob(std::vector<CompiledResource> resources);

} // namespace Rescomp
