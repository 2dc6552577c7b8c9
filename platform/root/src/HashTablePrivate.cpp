// The capacity sequence of the hash tables. Primes keep keys that share a common factor
// with the bucket count (such as multiples of a page size) from crowding a few buckets.
#include "VX/HashTablePrivate.hpp"

#include <algorithm>
#include <array>

namespace VX::HashTablePrivate {

namespace {
// The largest prime below 2^k for k = 2 to 32, after 1.
constexpr std::array<std::uint32_t, 32> capacitySteps {
	1u,
	3u,
	7u,
	13u,
	31u,
	61u,
	127u,
	251u,
	509u,
	1021u,
	2039u,
	4093u,
	8191u,
	16381u,
	32749u,
	65521u,
	131071u,
	262139u,
	524287u,
	1048573u,
	2097143u,
	4194301u,
	8388593u,
	16777213u,
	33554393u,
	67108859u,
	134217689u,
	268435399u,
	536870909u,
	1073741789u,
	2147483647u,
	4294967291u,
};

static_assert(std::is_sorted(capacitySteps.begin(), capacitySteps.end()), "the steps must ascend");
} // namespace

std::uint32_t GetNextCapacity(std::uint32_t n)
{
	auto step = std::upper_bound(capacitySteps.begin(), capacitySteps.end(), n);
	return step != capacitySteps.end() ? *step : capacitySteps.back();
}

std::uint32_t GetPreviousCapacity(std::uint32_t n)
{
	auto step = std::lower_bound(capacitySteps.begin(), capacitySteps.end(), n);
	return step != capacitySteps.begin() ? *(step - 1) : 0;
}

} // namespace VX::HashTablePrivate
