// Hashing and equality of hash table keys. A key type is usable once HashKeyTraits is
// specialised for it; the integer keys of the module hash to their own 32-bit value, so
// keys k and k + capacity share a chain.
#pragma once

#include "HostSdk/ElementTypes.hpp"

#include <cstdint>

namespace VX {

template <class Key>
struct HashKeyTraits;

template <>
struct HashKeyTraits<long> {
	static std::uint32_t Hash(long key) { return static_cast<std::uint32_t>(key); }
	static bool Equal(long stored, long key) { return stored == key; }
};

template <>
struct HashKeyTraits<API_ElemTypeID> {
	static std::uint32_t Hash(API_ElemTypeID key) { return static_cast<std::uint32_t>(key); }
	static bool Equal(API_ElemTypeID stored, API_ElemTypeID key) { return stored == key; }
};

} // namespace VX
