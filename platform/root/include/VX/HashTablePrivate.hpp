// The capacity steps of the hash tables: one fixed ascending sequence of bucket counts,
// 1 and then the largest prime below each power of two from 4 to 2^32, so each step
// about doubles the number of buckets.
#pragma once

#include <cstdint>

namespace VX::HashTablePrivate {

// The first step strictly above n; the last step when n is at or above it.
std::uint32_t GetNextCapacity(std::uint32_t n);
// The last step strictly below n; 0 when n is at or below the first step.
std::uint32_t GetPreviousCapacity(std::uint32_t n);

} // namespace VX::HashTablePrivate
