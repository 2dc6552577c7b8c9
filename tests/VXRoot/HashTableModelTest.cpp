// A randomized model test of VX::HashTable: long, seeded and repeatable sequences of Add,
// Put, Delete, Clear, Swap, copies and lookups, checked against std::map after every step,
// with CheckState true throughout. Integer keys include keys that share chains and keys that
// differ only above 32 bits; text keys are identifier texts.
#include "SampleValues.hpp"

#include "VXRoot/HashTable.hpp"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace {

template <class Key>
struct ModelKey;

template <>
struct ModelKey<long> {
	using Ordered = long;
	static long Make(std::mt19937& random)
	{
		std::uniform_int_distribution<int> pick(0, 9);
		std::uniform_int_distribution<long> small(-300, 300);
		switch (pick(random)) {
		case 0: return small(random) * 61;               // one chain at 61 buckets
		case 1: return small(random) + (long {1} << 32); // hashes like a small key
		case 2: return std::uniform_int_distribution<long>(-3000000000L, 3000000000L)(random);
		default: return small(random);
		}
	}
	static Ordered Order(long key) { return key; }
	static long FromOrder(Ordered key) { return key; }
};

template <>
struct ModelKey<GuidStr> {
	using Ordered = std::string;
	static GuidStr Make(std::mt19937& random)
	{
		return Sample<GuidStr>::Make(std::uniform_int_distribution<int>(0, 700)(random));
	}
	static Ordered Order(const GuidStr& key) { return key.ToCStr(); }
	static GuidStr FromOrder(const Ordered& key) { return GuidStr(key.c_str()); }
};

template <class Key>
class ModelRun {
public:
	using Table = VX::HashTable<Key, int>;
	using Model = std::map<typename ModelKey<Key>::Ordered, int>;

	explicit ModelRun(unsigned seed) : random(seed) {}

	void Step(int step)
	{
		std::uniform_int_distribution<int> operation(0, 999);
		int choice = operation(random);
		Key key = ModelKey<Key>::Make(random);
		auto ordered = ModelKey<Key>::Order(key);
		int value = static_cast<int>(random() % 100000);
		Table& table = tables[current];
		Model& model = models[current];

		if (choice < 350) {
			bool added = table.Add(key, value);
			ASSERT_EQ(added, model.emplace(ordered, value).second);
		} else if (choice < 500) {
			table.Put(key, value);
			model[ordered] = value;
		} else if (choice < 750) {
			// Delete a present key most of the time.
			if (!model.empty() && choice < 650) {
				auto it = model.begin();
				std::advance(it, static_cast<long>(random() % model.size()));
				key = ModelKey<Key>::FromOrder(it->first);
				ordered = it->first;
			}
			ASSERT_EQ(table.Delete(key), model.erase(ordered) == 1);
		} else if (choice < 970) {
			int found = -1;
			auto it = model.find(ordered);
			ASSERT_EQ(table.Get(key, &found), it != model.end());
			ASSERT_EQ(table.ContainsKey(key), it != model.end());
			if (it != model.end()) {
				ASSERT_EQ(found, it->second);
				ASSERT_EQ(std::as_const(table)[key], it->second);
			} else {
				ASSERT_THROW(table[key], VX::IllegalReferenceException);
			}
		} else if (choice < 985) {
			// Work on the other table from now on, or swap the two.
			if (choice % 2 == 0) {
				tables[0].Swap(tables[1]);
				std::swap(models[0], models[1]);
			} else {
				current = 1 - current;
			}
		} else if (choice < 999) {
			Table copy(table);
			ASSERT_TRUE(copy.CheckState());
			tables[1 - current] = copy;
			models[1 - current] = model;
		} else {
			table.Clear();
			model.clear();
		}
		for (int which = 0; which < 2; ++which) {
			ASSERT_TRUE(tables[which].CheckState()) << "step " << step;
			ASSERT_EQ(tables[which].GetSize(), models[which].size()) << "step " << step;
		}
		if (step % 500 == 0)
			CompareAll();
	}

	void CompareAll()
	{
		for (int which = 0; which < 2; ++which) {
			Model seen;
			for (auto pair : tables[which].Pairs())
				ASSERT_TRUE(seen.emplace(ModelKey<Key>::Order(pair.GetKey()), pair.GetValue()).second);
			ASSERT_EQ(seen, models[which]);
		}
	}

	std::size_t LargestSize() const { return std::max(models[0].size(), models[1].size()); }

private:
	std::mt19937 random;
	Table tables[2];
	Model models[2];
	int current = 0;
};

template <class Key>
void RunModel(unsigned seed, int steps)
{
	SCOPED_TRACE(seed);
	ModelRun<Key> run(seed);
	std::size_t largest = 0;
	for (int step = 0; step < steps; ++step) {
		ASSERT_NO_FATAL_FAILURE(run.Step(step));
		largest = std::max(largest, run.LargestSize());
	}
	run.CompareAll();
	// The run must have reached tables big enough to grow and shrink several times.
	EXPECT_GT(largest, 150u);
}

} // namespace

TEST(HashTableModel, IntegerKeysBehaveLikeAnOrderedMap)
{
	for (unsigned seed : {1u, 2u, 3u})
		RunModel<long>(seed, 8000);
}

TEST(HashTableModel, IdentifierKeysBehaveLikeAnOrderedMap)
{
	for (unsigned seed : {11u, 12u})
		RunModel<GuidStr>(seed, 4000);
}
