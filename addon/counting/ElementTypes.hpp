// The element types the add-on knows by name (0 to 33), and the groups of them that counting,
// the report and the results list rely on: the library-part types, the booking type of stair
// objects, the types that bear library-part rows and the types that are shown.
#pragma once

#include "HostSdk/ElementTypes.hpp"

#include <array>
#include <cstdint>

namespace ElementTypes {

// Objects with this variation code (the characters S, Y, S, T read big-endian) are stairs and
// are booked apart from the other objects.
inline constexpr std::uint32_t StairVariationCode = 0x53595354u;
// Types 0 to 33 have names and per-type counters.
inline constexpr int NamedCount = HostSdk::ElementTypes::Count;

// Types whose rows are kept per library part, in the order their tables are made.
inline constexpr std::array<API_ElemTypeID, 5> RowBearing {HostSdk::ElementTypes::Window, HostSdk::ElementTypes::Door,
	HostSdk::ElementTypes::Object, HostSdk::ElementTypes::Lamp, HostSdk::ElementTypes::Stair};

// Types listed in the report and the results list, in their order.
inline constexpr std::array<API_ElemTypeID, 12> Shown {HostSdk::ElementTypes::Wall, HostSdk::ElementTypes::Column,
	HostSdk::ElementTypes::Beam, HostSdk::ElementTypes::Window, HostSdk::ElementTypes::Door,
	HostSdk::ElementTypes::Object, HostSdk::ElementTypes::Lamp, HostSdk::ElementTypes::Slab,
	HostSdk::ElementTypes::Roof, HostSdk::ElementTypes::Mesh, HostSdk::ElementTypes::Zone,
	HostSdk::ElementTypes::Stair};

} // namespace ElementTypes

// The display name of an element type (item type + 1 of string list 151), "???" for a number
// outside 0..33. The text lives in one static buffer that the next call overwrites.
const char* ElementTypeName(std::int32_t type);

// Windows, doors, objects and lamps: the host types whose elements carry a library-part index.
// The booking type 33 is not one of them.
constexpr bool IsLibPartType(std::int32_t type)
{
	return type >= HostSdk::ElementTypes::Window && type <= HostSdk::ElementTypes::Lamp;
}

// True for the types that have library-part rows: 4, 5, 6, 7 and 33.
constexpr bool IsRowBearingType(std::int32_t type)
{
	return IsLibPartType(type) || type == HostSdk::ElementTypes::Stair;
}

// The type an element is counted under: stair objects go under 33, every other element under
// its host type. Host calls keep using the element's real type.
constexpr API_ElemTypeID BookingType(std::int32_t hostType, std::uint32_t variationCode)
{
	if (hostType == HostSdk::ElementTypes::Object && variationCode == ElementTypes::StairVariationCode)
		return HostSdk::ElementTypes::Stair;
	return static_cast<API_ElemTypeID>(hostType);
}
