// The table of published locations. A location handed across the host interface travels as
// a 32-bit id (so it fits a record's 32-bit slot on any pointer width): the side that makes it
// publishes it, the side that receives it looks it up and releases it. The live count lets
// tests prove that every location handed over was released.
#pragma once

#include "IO/Location.hpp"

#include <cstddef>
#include <cstdint>

namespace IO {

// A published location's id; 0 is none.
using LocationId = std::uint32_t;
inline constexpr LocationId NoLocation = 0;

// Keeps a copy of the location and answers its id (0 when the table is full).
LocationId PublishLocation(const Location& location);
// Copies the published location into out; false (out cleared) for an id that is not live.
bool LookUpLocation(LocationId id, Location* out);
// Forgets a published location. 0 is ignored (true); an id that is not live is refused (false).
bool ReleaseLocation(LocationId id);
// Number of locations published and not yet released.
std::size_t LiveLocationCount();

} // namespace IO
