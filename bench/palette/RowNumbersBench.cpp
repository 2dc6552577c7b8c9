// What the three numbers of a listed row cost: two counts and a percentage, as the results
// list writes them for every library part it shows, through the user's regional settings.
#include "counting/NumberFormat.hpp"
#include "counting/Percentages.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

void Count(benchmark::State& state)
{
	std::uint32_t value = 1;
	for (auto _ : state) {
		benchmark::DoNotOptimize(FormatCount(value));
		value = value * 7 + 12345;
	}
}
BENCHMARK(Count);

void Percent(benchmark::State& state)
{
	std::int32_t polygons = 1;
	for (auto _ : state) {
		benchmark::DoNotOptimize(FormatPercent(PolygonPercentage(polygons, 123456789)));
		polygons = (polygons * 7 + 12345) % 123456789;
	}
}
BENCHMARK(Percent);

} // namespace

BENCHMARK_MAIN();
