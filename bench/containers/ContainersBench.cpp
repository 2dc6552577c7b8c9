// VX::HashTable against std::unordered_map and std::map with the same keys: inserting N
// keys, N successful and N failed lookups, deleting half of the keys, and iterating, for
// N = 1 000, 100 000 and 1 000 000. Integer keys are random distinct values below 2^31
// (the range of library-part indexes); identifier keys are random braced guid texts.
// Lookups and deletions go in an order shuffled apart from the insertion order, so the
// table's dense storage gives it no free run through memory.
#include "VXRoot/HashTable.hpp"
#include "counting/GuidStr.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------
// The same keys for every container.

template <class Key>
struct KeySet {
	std::vector<Key> inserted; // insertion order
	std::vector<Key> present;  // the same keys, shuffled
	std::vector<Key> absent;   // keys never inserted
};

const KeySet<long>& LongKeys(std::size_t count)
{
	static std::map<std::size_t, KeySet<long>> sets;
	auto found = sets.find(count);
	if (found != sets.end())
		return found->second;
	std::mt19937_64 random(20240611 + count);
	std::uniform_int_distribution<long> pick(0, (1L << 31) - 1);
	std::unordered_set<long> seen;
	KeySet<long> set;
	while (set.inserted.size() < count) {
		long key = pick(random);
		if (seen.insert(key).second)
			set.inserted.push_back(key);
	}
	while (set.absent.size() < count) {
		long key = pick(random);
		if (seen.insert(key).second)
			set.absent.push_back(key);
	}
	set.present = set.inserted;
	std::shuffle(set.present.begin(), set.present.end(), random);
	return sets.emplace(count, std::move(set)).first->second;
}

std::string GuidText(std::mt19937_64& random)
{
	std::uint64_t high = random();
	std::uint64_t low = random();
	char text[40];
	std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%012llX}", static_cast<unsigned>(high >> 32),
		static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0xFFFF),
		static_cast<unsigned>(low >> 48), static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
	return text;
}

const KeySet<std::string>& TextKeys(std::size_t count)
{
	static std::map<std::size_t, KeySet<std::string>> sets;
	auto found = sets.find(count);
	if (found != sets.end())
		return found->second;
	std::mt19937_64 random(77 + count);
	std::unordered_set<std::string> seen;
	KeySet<std::string> set;
	while (set.inserted.size() < count) {
		std::string key = GuidText(random);
		if (seen.insert(key).second)
			set.inserted.push_back(key);
	}
	while (set.absent.size() < count) {
		std::string key = GuidText(random);
		if (seen.insert(key).second)
			set.absent.push_back(key);
	}
	set.present = set.inserted;
	std::shuffle(set.present.begin(), set.present.end(), random);
	return sets.emplace(count, std::move(set)).first->second;
}

const KeySet<GuidStr>& GuidKeys(std::size_t count)
{
	static std::map<std::size_t, KeySet<GuidStr>> sets;
	auto found = sets.find(count);
	if (found != sets.end())
		return found->second;
	const KeySet<std::string>& texts = TextKeys(count);
	KeySet<GuidStr> set;
	for (const std::string& text : texts.inserted)
		set.inserted.emplace_back(text.c_str());
	for (const std::string& text : texts.present)
		set.present.emplace_back(text.c_str());
	for (const std::string& text : texts.absent)
		set.absent.emplace_back(text.c_str());
	return sets.emplace(count, std::move(set)).first->second;
}

// ---------------------------------------------------------------------------------------
// One interface over the three containers.

template <class Key, class Value>
struct VXTable {
	using Map = VX::HashTable<Key, Value>;
	static void Insert(Map& map, const Key& key, Value value) { map.Add(key, value); }
	static bool Find(const Map& map, const Key& key, Value& value) { return map.Get(key, &value); }
	static void Erase(Map& map, const Key& key) { map.Delete(key); }
	static long Sum(const Map& map)
	{
		long sum = 0;
		for (const Value& value : map)
			sum += value;
		return sum;
	}
};

template <class MapType, class Key, class Value>
struct StandardMap {
	using Map = MapType;
	static void Insert(Map& map, const Key& key, Value value) { map.emplace(key, value); }
	static bool Find(const Map& map, const Key& key, Value& value)
	{
		auto found = map.find(key);
		if (found == map.end())
			return false;
		value = found->second;
		return true;
	}
	static void Erase(Map& map, const Key& key) { map.erase(key); }
	static long Sum(const Map& map)
	{
		long sum = 0;
		for (const auto& pair : map)
			sum += pair.second;
		return sum;
	}
};

template <class Key, class Value>
using StdUnordered = StandardMap<std::unordered_map<Key, Value>, Key, Value>;
template <class Key, class Value>
using StdOrdered = StandardMap<std::map<Key, Value>, Key, Value>;

template <class Adapter, class Key, class Value>
void Fill(typename Adapter::Map& map, const std::vector<Key>& keys)
{
	Value value = 0;
	for (const Key& key : keys)
		Adapter::Insert(map, key, value++);
}

// ---------------------------------------------------------------------------------------
// The five operations, for any adapter and key set.

template <class Adapter, class Key, class Value>
void RunInsert(benchmark::State& state, const KeySet<Key>& keys)
{
	for (auto _ : state) {
		typename Adapter::Map map;
		Fill<Adapter, Key, Value>(map, keys.inserted);
		benchmark::DoNotOptimize(map);
	}
	state.SetItemsProcessed(static_cast<long>(state.iterations() * keys.inserted.size()));
}

template <class Adapter, class Key, class Value>
void RunLookup(benchmark::State& state, const KeySet<Key>& keys, bool present)
{
	typename Adapter::Map map;
	Fill<Adapter, Key, Value>(map, keys.inserted);
	const std::vector<Key>& probes = present ? keys.present : keys.absent;
	for (auto _ : state) {
		long found = 0;
		for (const Key& key : probes) {
			Value value {};
			found += Adapter::Find(map, key, value) ? 1 + value : 0;
		}
		benchmark::DoNotOptimize(found);
	}
	state.SetItemsProcessed(static_cast<long>(state.iterations() * probes.size()));
}

template <class Adapter, class Key, class Value>
void RunDeleteHalf(benchmark::State& state, const KeySet<Key>& keys)
{
	for (auto _ : state) {
		state.PauseTiming();
		auto* map = new typename Adapter::Map;
		Fill<Adapter, Key, Value>(*map, keys.inserted);
		state.ResumeTiming();
		for (std::size_t index = 0; index < keys.present.size(); index += 2)
			Adapter::Erase(*map, keys.present[index]);
		benchmark::DoNotOptimize(*map);
		state.PauseTiming();
		delete map;
		state.ResumeTiming();
	}
	state.SetItemsProcessed(static_cast<long>(state.iterations() * (keys.present.size() / 2)));
}

template <class Adapter, class Key, class Value>
void RunIterate(benchmark::State& state, const KeySet<Key>& keys)
{
	typename Adapter::Map map;
	Fill<Adapter, Key, Value>(map, keys.inserted);
	for (auto _ : state)
		benchmark::DoNotOptimize(Adapter::Sum(map));
	state.SetItemsProcessed(static_cast<long>(state.iterations() * keys.inserted.size()));
}

std::size_t Count(const benchmark::State& state)
{
	return static_cast<std::size_t>(state.range(0));
}

// Integer keys.
template <template <class, class> class Adapter>
void LongInsert(benchmark::State& state)
{
	RunInsert<Adapter<long, long>, long, long>(state, LongKeys(Count(state)));
}
template <template <class, class> class Adapter>
void LongFoundLookup(benchmark::State& state)
{
	RunLookup<Adapter<long, long>, long, long>(state, LongKeys(Count(state)), true);
}
template <template <class, class> class Adapter>
void LongFailedLookup(benchmark::State& state)
{
	RunLookup<Adapter<long, long>, long, long>(state, LongKeys(Count(state)), false);
}
template <template <class, class> class Adapter>
void LongDeleteHalf(benchmark::State& state)
{
	RunDeleteHalf<Adapter<long, long>, long, long>(state, LongKeys(Count(state)));
}
template <template <class, class> class Adapter>
void LongIterate(benchmark::State& state)
{
	RunIterate<Adapter<long, long>, long, long>(state, LongKeys(Count(state)));
}

// Identifier keys: GuidStr for the hash table, std::string for the standard maps.
template <template <class, class> class Adapter>
struct Text {
	using Key = std::conditional_t<std::is_same_v<Adapter<long, long>, VXTable<long, long>>, GuidStr, std::string>;
	static const KeySet<Key>& Keys(std::size_t count)
	{
		if constexpr (std::is_same_v<Key, GuidStr>)
			return GuidKeys(count);
		else
			return TextKeys(count);
	}
};

template <template <class, class> class Adapter>
void GuidInsert(benchmark::State& state)
{
	using Key = typename Text<Adapter>::Key;
	RunInsert<Adapter<Key, short>, Key, short>(state, Text<Adapter>::Keys(Count(state)));
}
template <template <class, class> class Adapter>
void GuidFoundLookup(benchmark::State& state)
{
	using Key = typename Text<Adapter>::Key;
	RunLookup<Adapter<Key, short>, Key, short>(state, Text<Adapter>::Keys(Count(state)), true);
}
template <template <class, class> class Adapter>
void GuidFailedLookup(benchmark::State& state)
{
	using Key = typename Text<Adapter>::Key;
	RunLookup<Adapter<Key, short>, Key, short>(state, Text<Adapter>::Keys(Count(state)), false);
}
template <template <class, class> class Adapter>
void GuidDeleteHalf(benchmark::State& state)
{
	using Key = typename Text<Adapter>::Key;
	RunDeleteHalf<Adapter<Key, short>, Key, short>(state, Text<Adapter>::Keys(Count(state)));
}
template <template <class, class> class Adapter>
void GuidIterate(benchmark::State& state)
{
	using Key = typename Text<Adapter>::Key;
	RunIterate<Adapter<Key, short>, Key, short>(state, Text<Adapter>::Keys(Count(state)));
}

} // namespace

#define CONTAINER_BENCHMARKS(operation)                                                                                \
	BENCHMARK_TEMPLATE(operation, VXTable)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);       \
	BENCHMARK_TEMPLATE(operation, StdUnordered)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);  \
	BENCHMARK_TEMPLATE(operation, StdOrdered)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond)

CONTAINER_BENCHMARKS(LongInsert);
CONTAINER_BENCHMARKS(LongFoundLookup);
CONTAINER_BENCHMARKS(LongFailedLookup);
CONTAINER_BENCHMARKS(LongDeleteHalf);
CONTAINER_BENCHMARKS(LongIterate);
CONTAINER_BENCHMARKS(GuidInsert);
CONTAINER_BENCHMARKS(GuidFoundLookup);
CONTAINER_BENCHMARKS(GuidFailedLookup);
CONTAINER_BENCHMARKS(GuidDeleteHalf);
CONTAINER_BENCHMARKS(GuidIterate);

BENCHMARK_MAIN();
