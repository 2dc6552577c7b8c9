// VX::HashTable: the behaviour every instantiation shares (a typed fixture over the module's
// ten tables and one of counted elements), then growth, shrink, chains, seek statistics,
// exceptions, iteration, output and the binary form on integer keys.
#include "CountedElement.hpp"
#include "SampleValues.hpp"
#include "TestAccess.hpp"
#include "TestText.hpp"

#include "VX/HashTablePrivate.hpp"
#include "VXRoot/HashTable.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <utility>
#include <vector>

using VX::HashTable;
using VX::HashTableTestAccess;

// ---------------------------------------------------------------------------------------
// Shared behaviour, over every instantiation.

template <class Table>
class HashTableEveryInstantiation : public ::testing::Test {
protected:
	using Key = typename Table::KeyType;
	using Value = typename Table::ValueType;

	static Key K(int number) { return Sample<Key>::Make(number); }
	static Value V(int number) { return Sample<Value>::Make(number); }
	static bool Same(const Value& a, const Value& b) { return Sample<Value>::Same(a, b); }

	void SetUp() override { CountedElement::ResetCounts(); }
	void TearDown() override { EXPECT_EQ(CountedElement::counts.Live(), 0); }

	void Fill(Table& table, int count)
	{
		for (int number = 0; number < count; ++number)
			ASSERT_TRUE(table.Add(K(number), V(number)));
	}
};

using ModuleTables = ::testing::Types<HashTable<long, short>, HashTable<long, int>, HashTable<long, long>,
	HashTable<long, LibRow>, HashTable<long, VX::String>, HashTable<GuidStr, short>,
	HashTable<API_ElemTypeID, HashTable<long, int>>, HashTable<API_ElemTypeID, HashTable<long, LibRow>>,
	HashTable<API_ElemTypeID, std::vector<LibRow>>, HashTable<API_ElemTypeID, bool>, HashTable<long, CountedElement>>;
TYPED_TEST_SUITE(HashTableEveryInstantiation, ModuleTables);

TYPED_TEST(HashTableEveryInstantiation, StartsEmptyWithoutBuckets)
{
	TypeParam table(0.0f, 0.0f);
	EXPECT_EQ(table.GetSize(), 0u);
	EXPECT_TRUE(table.IsEmpty());
	EXPECT_EQ(table.GetCapacity(), 0u);
	EXPECT_EQ(table.GetAverageSeekFactorLimit(), 2.0f);
	EXPECT_EQ(table.GetMinFillFactor(), 0.75f);
	EXPECT_FALSE(table.GetOptimizeSeekOrder());
	EXPECT_FALSE(table.ContainsKey(this->K(1)));
	EXPECT_FALSE(table.Get(this->K(1), nullptr));
	EXPECT_FALSE(table.Delete(this->K(1)));
	EXPECT_TRUE(table.CheckState());
}

TYPED_TEST(HashTableEveryInstantiation, AddGetPutAndDelete)
{
	TypeParam table;
	this->Fill(table, 300);
	EXPECT_EQ(table.GetSize(), 300u);
	EXPECT_TRUE(table.CheckState());
	for (int number = 0; number < 300; ++number) {
		SCOPED_TRACE(number);
		typename TestFixture::Value value {};
		ASSERT_TRUE(table.Get(this->K(number), &value));
		EXPECT_TRUE(this->Same(value, this->V(number)));
		EXPECT_TRUE(this->Same(table[this->K(number)], this->V(number)));
	}
	EXPECT_FALSE(table.Add(this->K(5), this->V(6)));
	EXPECT_TRUE(this->Same(table[this->K(5)], this->V(5)));
	table.Put(this->K(5), this->V(6));
	EXPECT_TRUE(this->Same(table[this->K(5)], this->V(6)));
	table.Put(this->K(300), this->V(300));
	EXPECT_EQ(table.GetSize(), 301u);
	for (int number = 0; number < 301; number += 2)
		ASSERT_TRUE(table.Delete(this->K(number)));
	EXPECT_FALSE(table.Delete(this->K(0)));
	EXPECT_EQ(table.GetSize(), 150u);
	EXPECT_TRUE(table.CheckState());
	for (int number = 0; number < 301; ++number)
		ASSERT_EQ(table.ContainsKey(this->K(number)), number % 2 == 1) << number;
}

TYPED_TEST(HashTableEveryInstantiation, IterationFollowsStorageOrder)
{
	TypeParam table;
	this->Fill(table, 40);
	int number = 0;
	for (const auto& value : std::as_const(table))
		EXPECT_TRUE(this->Same(value, this->V(number++)));
	EXPECT_EQ(number, 40);
	number = 0;
	for (auto pair : std::as_const(table).Pairs()) {
		EXPECT_EQ(pair.GetKey(), this->K(number));
		EXPECT_TRUE(this->Same(pair.GetValue(), this->V(number)));
		++number;
	}
	// The general iterators of the base class walk the same order.
	const VX::AssociativeContainer<typename TestFixture::Key, typename TestFixture::Value>& base = table;
	number = 0;
	for (auto it = base.BeginPairs(); it != base.EndPairs(); ++it, ++number)
		EXPECT_EQ(it->GetKey(), this->K(number));
	EXPECT_EQ(number, 40);
}

TYPED_TEST(HashTableEveryInstantiation, SwapClearAndMove)
{
	TypeParam first;
	TypeParam second(3.0f, 0.5f);
	this->Fill(first, 100);
	second.Add(this->K(1000), this->V(1000));
	std::uint32_t firstWeight = first.GetSeekWeightSum();
	first.Swap(second);
	EXPECT_EQ(first.GetSize(), 1u);
	EXPECT_EQ(second.GetSize(), 100u);
	EXPECT_EQ(first.GetAverageSeekFactorLimit(), 3.0f);
	EXPECT_EQ(first.GetMinFillFactor(), 0.5f);
	EXPECT_EQ(second.GetAverageSeekFactorLimit(), 2.0f);
	EXPECT_EQ(second.GetSeekWeightSum(), firstWeight);
	EXPECT_TRUE(first.ContainsKey(this->K(1000)));
	EXPECT_TRUE(first.CheckState() && second.CheckState());

	TypeParam moved(std::move(second));
	EXPECT_EQ(moved.GetSize(), 100u);
	EXPECT_EQ(second.GetSize(), 0u); // NOLINT: moved-from tables are empty and usable
	second.Add(this->K(1), this->V(1));
	EXPECT_TRUE(second.CheckState());

	moved.Clear();
	EXPECT_EQ(moved.GetSize(), 0u);
	EXPECT_EQ(moved.GetCapacity(), 0u);
	EXPECT_EQ(moved.GetSeekWeightSum(), 0u);
	EXPECT_TRUE(moved.CheckState());
	this->Fill(moved, 10);
	EXPECT_EQ(moved.GetSize(), 10u);
}

TYPED_TEST(HashTableEveryInstantiation, BinaryFormRoundTripsWhereTheTypesHaveOne)
{
	TypeParam table;
	this->Fill(table, 20);
	VX::StringOChannel output;
	VX::ErrCode written = table.Write(output);
	if (written == VX::ErrorNotSupported) {
		EXPECT_TRUE(output.GetText().empty());
		TypeParam unread;
		VX::StringIChannel input("");
		EXPECT_EQ(unread.Read(input), VX::ErrorNotSupported);
		return;
	}
	ASSERT_EQ(written, VX::NoError);
	TypeParam read;
	VX::StringIChannel input(output.GetText());
	ASSERT_EQ(read.Read(input), VX::NoError);
	EXPECT_EQ(input.GetPosition(), output.GetText().size());
	ASSERT_EQ(read.GetSize(), 20u);
	for (int number = 0; number < 20; ++number) {
		EXPECT_EQ(read.GetKeyAt(static_cast<VX::UIndex>(number)), this->K(number));
		EXPECT_TRUE(this->Same(read[this->K(number)], this->V(number)));
	}
	EXPECT_TRUE(read.CheckState());
}

// ---------------------------------------------------------------------------------------
// Integer keys: capacity steps, chains and statistics.

class HashTableIntegerKeys : public ::testing::Test {
protected:
	using Table = HashTable<long, int>;
	static constexpr long firstCapacity = 61;

	static void AddRange(Table& table, long first, long last)
	{
		for (long key = first; key < last; ++key)
			ASSERT_TRUE(table.Add(key, static_cast<int>(key * 10)));
	}
	static std::vector<long> Keys(const Table& table)
	{
		std::vector<long> keys;
		for (auto pair : table.Pairs())
			keys.push_back(pair.GetKey());
		return keys;
	}
};

TEST_F(HashTableIntegerKeys, KeysOneCapacityApartShareAChainLatestFirst)
{
	Table table;
	table.Add(5, 50);
	table.Add(5 + firstCapacity, 660);
	table.Add(5 + 2 * firstCapacity, 1270);
	std::uint32_t bucket = HashTableTestAccess::BucketOf(table, 5L);
	EXPECT_EQ(bucket, 5u);
	EXPECT_EQ(
		HashTableTestAccess::Chain(table, bucket), (std::vector<long> {5 + 2 * firstCapacity, 5 + firstCapacity, 5}));
	EXPECT_EQ(table.GetSeekWeightSum(), 6u); // 1 + 2 + 3
	EXPECT_EQ(table.GetMaximumSeekFactor(), 3u);
	EXPECT_EQ(table.GetEmptyListCount(), static_cast<VX::UIndex>(firstCapacity - 1));
	// Keys are whole longs: the same low 32 bits hash alike but stay distinct keys.
	long far = 5 + (1L << 32);
	EXPECT_FALSE(table.ContainsKey(far));
	EXPECT_TRUE(table.Add(far, 1));
	EXPECT_EQ(HashTableTestAccess::Chain(table, bucket).front(), far);
	EXPECT_EQ(table[5], 50);
	EXPECT_TRUE(table.CheckState());
}

TEST_F(HashTableIntegerKeys, DeletingInTheMiddleMovesTheLastEntryIntoTheHole)
{
	Table table;
	AddRange(table, 0, 6);
	const int* lastValue = &table[5];
	ASSERT_TRUE(table.Delete(2));
	EXPECT_EQ(Keys(table), (std::vector<long> {0, 1, 5, 3, 4}));
	EXPECT_NE(&table[5], lastValue);
	EXPECT_EQ(table[5], 50);
	ASSERT_TRUE(table.Delete(4)); // the last one: nothing moves
	EXPECT_EQ(Keys(table), (std::vector<long> {0, 1, 5, 3}));
	EXPECT_TRUE(table.CheckState());
}

TEST_F(HashTableIntegerKeys, TheMovedEntryKeepsItsPlaceInItsChain)
{
	Table table;
	AddRange(table, 10, 21); // enough entries that the deletion does not shrink the table
	table.Add(1, 1);
	table.Add(2, 2);
	table.Add(3, 3);
	table.Add(2 + firstCapacity, 4);
	table.Add(2 + 2 * firstCapacity, 5); // last stored, head of bucket 2
	table.Delete(1);
	ASSERT_EQ(table.GetCapacity(), firstCapacity);
	EXPECT_EQ(HashTableTestAccess::Chain(table, 2), (std::vector<long> {2 + 2 * firstCapacity, 2 + firstCapacity, 2}));
	std::vector<long> keys = Keys(table);
	EXPECT_EQ(std::vector<long>(keys.begin() + 11, keys.end()),
		(std::vector<long> {2 + 2 * firstCapacity, 2, 3, 2 + firstCapacity}));
	EXPECT_TRUE(table.CheckState());
}

TEST_F(HashTableIntegerKeys, AFullTableWithShortChainsDoesNotGrow)
{
	Table table;
	AddRange(table, 0, 3 * firstCapacity); // three entries in every chain: average exactly 2
	EXPECT_EQ(table.GetCapacity(), firstCapacity);
	EXPECT_DOUBLE_EQ(table.GetAverageSeekFactor(), 2.0);
	EXPECT_DOUBLE_EQ(table.GetFillFactor(), 3.0);
	table.Add(3 * firstCapacity, 0); // the average passes 2: the table grows
	EXPECT_EQ(table.GetCapacity(), 127u);
	// Keys 0..183 over 127 buckets: 57 chains of two, 70 of one.
	EXPECT_EQ(table.GetSeekWeightSum(), 57u * 3 + 70u);
	EXPECT_EQ(HashTableTestAccess::Chain(table, 3), (std::vector<long> {130, 3}));
	EXPECT_TRUE(table.CheckState());
}

TEST_F(HashTableIntegerKeys, LongChainsInASparseTableDoNotGrowIt)
{
	Table table;
	for (long number = 0; number < 45; ++number)
		table.Add(number * firstCapacity, 0); // one chain
	EXPECT_EQ(table.GetCapacity(), firstCapacity);
	EXPECT_DOUBLE_EQ(table.GetAverageSeekFactor(), 23.0);
	table.Add(45 * firstCapacity, 0); // fill reaches 46/61 ≥ 0.75
	EXPECT_EQ(table.GetCapacity(), 127u);
	EXPECT_TRUE(table.CheckState());
}

TEST_F(HashTableIntegerKeys, ASparseTableShrinksStepByStep)
{
	Table table;
	AddRange(table, 0, 184);
	ASSERT_EQ(table.GetCapacity(), 127u);
	struct Step {
		long remaining;
		std::uint32_t capacity;
	};
	long key = 183;
	for (Step step : {Step {24, 127}, Step {23, 61}, Step {12, 61}, Step {11, 31}, Step {6, 31}, Step {5, 13},
			 Step {3, 13}, Step {2, 7}, Step {1, 3}, Step {0, 0}}) {
		while (static_cast<long>(table.GetSize()) > step.remaining)
			ASSERT_TRUE(table.Delete(key--));
		SCOPED_TRACE(step.remaining);
		EXPECT_EQ(table.GetCapacity(), step.capacity);
		EXPECT_TRUE(table.CheckState());
	}
	// The last deletion releases the buckets and the entries; the next add starts afresh, at
	// the first capacity above the page size.
	EXPECT_EQ(table.GetSeekWeightSum(), 0u);
	EXPECT_EQ(HashTableTestAccess::Entries(table).GetCapacity(), 0u);
	table.Add(43, 2);
	EXPECT_EQ(table.GetCapacity(), VX::HashTablePrivate::GetNextCapacity(32));
	EXPECT_EQ(table.GetCapacity(), firstCapacity);
	EXPECT_EQ(table.GetSeekWeightSum(), 1u);
}

TEST_F(HashTableIntegerKeys, AHighMinimumFillNeverShrinksBelowOneBucket)
{
	Table table(2.0f, 8.0f); // shrinks whenever count / capacity ≤ 2
	AddRange(table, 0, 11);
	for (long key = 0; key < 10; ++key) { // 61, 31, 13, 7, 3, 1, then 1 stays
		ASSERT_TRUE(table.Delete(key));
		EXPECT_GE(table.GetCapacity(), 1u);
		EXPECT_TRUE(table.CheckState());
	}
	EXPECT_EQ(table.GetCapacity(), 1u);
	EXPECT_EQ(table[10], 100);
	EXPECT_TRUE(table.Delete(10));
	EXPECT_EQ(table.GetCapacity(), 0u);
}

TEST_F(HashTableIntegerKeys, OptimizedSeekOrderMovesTheFoundEntryToTheHead)
{
	Table table;
	table.Add(4, 1);
	table.Add(4 + firstCapacity, 2);
	table.Add(4 + 2 * firstCapacity, 3);
	EXPECT_EQ(table[4], 1); // off: nothing moves
	EXPECT_EQ(HashTableTestAccess::Chain(table, 4).front(), 4 + 2 * firstCapacity);
	table.SetOptimizeSeekOrder(true);
	std::uint32_t weight = table.GetSeekWeightSum();
	const Table& constant = table;
	EXPECT_TRUE(constant.Get(4, nullptr));
	EXPECT_EQ(HashTableTestAccess::Chain(table, 4), (std::vector<long> {4, 4 + 2 * firstCapacity, 4 + firstCapacity}));
	EXPECT_TRUE(table.ContainsKey(4 + firstCapacity));
	EXPECT_EQ(HashTableTestAccess::Chain(table, 4), (std::vector<long> {4 + firstCapacity, 4, 4 + 2 * firstCapacity}));
	EXPECT_EQ(table.GetSeekWeightSum(), weight);
	EXPECT_EQ(Keys(table), (std::vector<long> {4, 4 + firstCapacity, 4 + 2 * firstCapacity})); // storage unchanged
	EXPECT_TRUE(table.CheckState());
}

TEST_F(HashTableIntegerKeys, CheckStateNoticesBrokenStatisticsAndChains)
{
	Table table;
	AddRange(table, 0, 100);
	ASSERT_TRUE(table.CheckState());
	HashTableTestAccess::SetSeekWeightSum(table, table.GetSeekWeightSum() + 1);
	EXPECT_FALSE(table.CheckState());
	HashTableTestAccess::SetSeekWeightSum(table, table.GetSeekWeightSum() - 1);
	EXPECT_TRUE(table.CheckState());
	HashTableTestAccess::UnlinkHead(table, 7);
	EXPECT_FALSE(table.CheckState());
}

// ---------------------------------------------------------------------------------------
// Lookups of an empty table hash nothing; others hash once.

struct CountingKey {
	long value = 0;
	static long hashes;
	friend bool operator==(const CountingKey& a, const CountingKey& b) { return a.value == b.value; }
};
long CountingKey::hashes = 0;

template <>
struct VX::HashKeyTraits<CountingKey> {
	static std::uint32_t Hash(const CountingKey& key)
	{
		++CountingKey::hashes;
		return static_cast<std::uint32_t>(key.value);
	}
	static bool Equal(const CountingKey& a, const CountingKey& b) { return a == b; }
};

TEST(HashTableHashing, ATableNeverFilledAnswersWithoutHashing)
{
	HashTable<CountingKey, int> table;
	CountingKey::hashes = 0;
	EXPECT_FALSE(table.ContainsKey(CountingKey {3}));
	EXPECT_FALSE(table.Get(CountingKey {3}, nullptr));
	EXPECT_FALSE(table.Delete(CountingKey {3}));
	EXPECT_EQ(CountingKey::hashes, 0);
	table.Add(CountingKey {3}, 1);
	CountingKey::hashes = 0;
	EXPECT_TRUE(table.ContainsKey(CountingKey {3}));
	EXPECT_EQ(CountingKey::hashes, 1);
}

// ---------------------------------------------------------------------------------------
// Exceptions.

class HashTableExceptions : public ::testing::Test {
protected:
	HashTable<long, int> table;
	void SetUp() override { table.Add(1, 10); }
};

TEST_F(HashTableExceptions, IndexingAnAbsentKeyRaisesIllegalReference)
{
	const auto expectRaised = [](const auto& index, std::uint32_t line) {
		try {
			index();
			FAIL() << "no exception";
		} catch (const VX::IllegalReferenceException& exception) {
			EXPECT_EQ(exception.GetMessage(), "Illegal reference");
			EXPECT_STREQ(exception.what(), "Illegal reference");
			EXPECT_EQ(exception.GetErrorCode(), -50);
			EXPECT_EQ(exception.GetSourceFile(), "VXRoot\\HashTable");
			EXPECT_EQ(exception.GetLine(), line);
		}
	};
	expectRaised([this] { table[2] = 5; }, 440u);
	expectRaised([this] { (void) std::as_const(table)[2]; }, 428u);
	EXPECT_EQ(table.GetSize(), 1u);
}

TEST_F(HashTableExceptions, AssigningPlainValuesRaisesRunTimeError)
{
	VX::PagedArray<int> values;
	values.Push(3);
	VX::Container<int>& base = table;
	try {
		base.Assign(values);
		FAIL() << "no exception";
	} catch (const VX::LogicErrorException&) {
		FAIL() << "a run-time error is not a logic error";
	} catch (const VX::RunTimeErrorException& exception) {
		EXPECT_EQ(exception.GetMessage(), "Runtime error");
		EXPECT_EQ(exception.GetErrorCode(), -7003);
		EXPECT_EQ(exception.GetSourceFile(), "VXRoot\\HashTable");
		EXPECT_EQ(exception.GetLine(), 1017u);
	}
	EXPECT_EQ(table.GetSize(), 1u);
	EXPECT_EQ(table[1], 10);
}

TEST(ContainerExceptionFamily, EachClassCarriesItsMessageAndCode)
{
	struct Case {
		VXException exception;
		const char* message;
		std::int32_t code;
	};
	Case cases[] = {
		{VX::LogicErrorException("file", 1), "Logic error", -7003},
		{VX::PreconditionException("file", 2), "Precondition violation", -50},
		{VX::IllegalArgumentException("file", 3), "Illegal argument", -50},
		{VX::IllegalReferenceException("file", 4), "Illegal reference", -50},
		{VX::RunTimeErrorException("file", 5), "Runtime error", -7003},
		{VX::GeneralException("General", 7, "file", 6), "General", 7},
	};
	std::uint32_t line = 1;
	for (const Case& c : cases) {
		SCOPED_TRACE(c.message);
		EXPECT_EQ(c.exception.GetMessage(), c.message);
		EXPECT_EQ(c.exception.GetErrorCode(), c.code);
		EXPECT_EQ(c.exception.GetSourceFile(), "file");
		EXPECT_EQ(c.exception.GetLine(), line++);
	}
}

// ---------------------------------------------------------------------------------------
// Iterators.

TEST(HashTableIterators, MutableIteratorsChangeValuesInPlace)
{
	HashTable<long, int> table;
	for (long key = 0; key < 50; ++key)
		table.Add(key, 1);
	for (int& value : table)
		value += 1;
	for (auto pair : table.Pairs())
		pair.GetValue() *= static_cast<int>(pair.GetKey());
	VX::AssociativeContainer<long, int>& base = table;
	for (auto it = base.Begin(); it != base.End(); ++it)
		*it += 1;
	for (auto it = base.BeginPairs(); it != base.EndPairs(); it++)
		EXPECT_EQ(it->GetValue(), 2 * it->GetKey() + 1);
	EXPECT_EQ(table[49], 99);
}

TEST(HashTableIterators, PositionsAtOrBeyondTheEndAreEqual)
{
	HashTable<long, int> table;
	table.Add(1, 1);
	table.Add(2, 2);
	auto it = table.begin();
	auto end = table.end();
	EXPECT_NE(it, end);
	++it;
	++it;
	EXPECT_EQ(it, end);
	++it;
	EXPECT_EQ(it, end);
	EXPECT_EQ(end, it);
	// The same holds for general iterators, and an empty general iterator is an end.
	VX::ConstForwardIterator<int> general = std::as_const(table).begin();
	VX::ConstForwardIterator<int> generalEnd = std::as_const(table).End();
	EXPECT_NE(general, generalEnd);
	general++;
	++general;
	EXPECT_EQ(general, generalEnd);
	EXPECT_EQ(VX::ConstForwardIterator<int>(), generalEnd);
	EXPECT_THROW(*VX::ConstForwardIterator<int>(), VX::PreconditionException);
	// Iterators of two tables never compare equal through the general interface.
	HashTable<long, int> other;
	other.Add(1, 1);
	EXPECT_NE(VX::ConstForwardIterator<int>(std::as_const(other).begin()),
		VX::ConstForwardIterator<int>(std::as_const(table).begin()));
}

// ---------------------------------------------------------------------------------------
// Print and Dump.

TEST(HashTableOutput, PrintListsEntriesInStorageOrderAndTheStatistics)
{
	HashTable<long, int> table;
	table.Add(5, 50);
	table.Add(66, 660); // shares bucket 5
	table.Add(7, 70);
	VX::StringOChannel channel;
	EXPECT_EQ(table.Print(channel), VX::NoError);
	EXPECT_EQ(Lines(channel.GetText()),
		(std::vector<std::string> {
			"HashTable size: 3",
			"---------------------",
			"[0000]  5  =>  50",
			"[0001]  66  =>  660",
			"[0002]  7  =>  70",
			"",
			"Average seek factor: 1.333333",
			"Maximum seek factor: 2",
			"Fill factor:         0.049180",
			"List count:          61",
			"Empty list count:    59",
		}));
}

TEST(HashTableOutput, PrintLeavesOutKeysAndValuesThatCannotBeWritten)
{
	const auto entryLine = [](const auto& table) {
		VX::StringOChannel channel;
		table.Print(channel);
		return Lines(channel.GetText())[2];
	};
	HashTable<GuidStr, short> levels;
	levels.Add(GuidStr("{9349160F-1FF1-4be3-9909-314107CCB286}"), 3);
	HashTable<long, LibRow> rows;
	rows.Add(12, LibRow {});
	HashTable<long, VX::String> names;
	names.Add(-4, VX::String("Lod"));
	HashTable<API_ElemTypeID, bool> unfolded;
	unfolded.Add(API_ElemTypeID {6}, true);
	EXPECT_EQ(entryLine(levels), "[0000]    =>  3");
	EXPECT_EQ(entryLine(rows), "[0000]  12  =>  ");
	EXPECT_EQ(entryLine(names), "[0000]  -4  =>  Lod");
	EXPECT_EQ(entryLine(unfolded), "[0000]  6  =>  true");
}

TEST(HashTableOutput, DumpWritesEveryFieldWithItsLabel)
{
	HashTable<long, int> table;
	table.Add(5, 50);
	table.Add(66, 660);
	table.Add(7, 70);
	VX::StringOChannel channel;
	EXPECT_EQ(table.Dump(channel), VX::NoError);
	EXPECT_EQ(Lines(std::regex_replace(channel.GetText(), std::regex("0x[0-9a-f]{16}"), "@")),
		(std::vector<std::string> {"hashListTable:          array:    @", "capacity: 61", "size:     61", "",
			"hashEntryTable:         pageTable:            @", "pageTableCapacity:    1",
			"allocationStrategy:   Linear", "log2PageSize:         5", "offsetMask:           31",
			"capacity:             32", "deallocationCapacity: 0", "size:                 3", "",
			"averageSeekFactorLimit: 2.000000", "minFillFactor:          0.750000", "seekWeightSum:          4",
			"optimizeSeekOrder:      false"}));
}

// ---------------------------------------------------------------------------------------
// Element lifetimes.

class HashTableLifetimes : public ::testing::Test {
protected:
	void SetUp() override { CountedElement::ResetCounts(); }
	void TearDown() override { EXPECT_EQ(CountedElement::counts.Live(), 0); }
};

TEST_F(HashTableLifetimes, AddCopiesTheValueOnceAndDeleteMovesTheLastEntry)
{
	HashTable<long, CountedElement> table;
	CountedElement element(8);
	for (long key = 0; key < 10; ++key)
		table.Add(key, element);
	EXPECT_EQ(CountedElement::counts.copied, 10);
	EXPECT_EQ(CountedElement::counts.Live(), 11);
	EXPECT_FALSE(table.Add(3, element)); // nothing copied
	EXPECT_EQ(CountedElement::counts.copied, 10);
	long moved = CountedElement::counts.moved;
	table.Delete(2);
	EXPECT_EQ(CountedElement::counts.moved, moved + 1);
	EXPECT_EQ(CountedElement::counts.Live(), 10);
	table.Put(3, CountedElement(1));
	EXPECT_EQ(CountedElement::counts.Live(), 10);
	EXPECT_EQ(table[3].Get(), 1);
	table.Clear();
	EXPECT_EQ(CountedElement::counts.Live(), 1);
	for (long key = 0; key < 1000; ++key)
		table.Add(key, element);
}
