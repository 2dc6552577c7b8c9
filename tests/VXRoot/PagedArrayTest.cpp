// VX::PagedArray: page sizes, block growth and release per strategy, the page table, element
// lifetimes, assignment, iteration, output and the binary form.
#include "CountedElement.hpp"
#include "TestAccess.hpp"
#include "TestText.hpp"

#include "VXRoot/Array.hpp"
#include "VXRoot/PagedArray.hpp"

#include <gtest/gtest.h>

#include <new>
#include <utility>

using VX::AllocationStrategy;
using VX::PagedArray;
using VX::PagedArrayTestAccess;

namespace {

// Storage the containers hold right now, relative to the start of a test.
class StorageWatch {
public:
	StorageWatch() : start(VX::GetStorageStatistics()) {}
	long LiveBlocks() const { return static_cast<long>(VX::GetStorageStatistics().liveBlocks - start.liveBlocks); }
	long LiveBytes() const { return static_cast<long>(VX::GetStorageStatistics().liveBytes - start.liveBytes); }
	long Allocations() const { return static_cast<long>(VX::GetStorageStatistics().allocations - start.allocations); }

private:
	VX::StorageStatistics start;
};

template <class T>
void PushNumbers(PagedArray<T>& array, int first, int last)
{
	for (int number = first; number < last; ++number)
		array.Push(T(number));
}

} // namespace

class PagedArrayPageSize : public ::testing::Test {};

TEST_F(PagedArrayPageSize, ZeroTakesTheStrategyDefault)
{
	EXPECT_EQ(PagedArray<int>(0, AllocationStrategy::Constant).GetPageSize(), 128u);
	EXPECT_EQ(PagedArray<int>(0, AllocationStrategy::Linear).GetPageSize(), 32u);
	EXPECT_EQ(PagedArray<int>(0, AllocationStrategy::Exponential).GetPageSize(), 16u);
	// An unknown strategy works as "Linear", with its page size.
	PagedArray<int> unknown(0, static_cast<AllocationStrategy>(7));
	EXPECT_EQ(unknown.GetPageSize(), 32u);
	EXPECT_EQ(unknown.GetAllocationStrategy(), AllocationStrategy::Linear);
}

TEST_F(PagedArrayPageSize, IsRoundedUpToAPowerOfTwoAndCut)
{
	struct Case {
		std::uint32_t given;
		std::uint32_t pageSize;
		unsigned log2;
	};
	for (Case c : {Case {100, 128, 7}, Case {100000, 65536, 16}, Case {65536, 65536, 16}, Case {65537, 65536, 16},
			 Case {1, 1, 0}, Case {2, 2, 1}, Case {3, 4, 2}, Case {33, 64, 6}}) {
		SCOPED_TRACE(c.given);
		PagedArray<int> array(c.given, AllocationStrategy::Linear);
		EXPECT_EQ(array.GetPageSize(), c.pageSize);
		EXPECT_EQ(array.GetLog2PageSize(), c.log2);
		EXPECT_EQ(array.GetOffsetMask(), c.pageSize - 1);
		EXPECT_EQ(array.GetCapacity(), 0u);
		EXPECT_TRUE(array.CheckState());
	}
}

class PagedArrayLinearBlocks : public ::testing::Test {
protected:
	StorageWatch watch;
	PagedArray<long> array {0, AllocationStrategy::Linear};
};

TEST_F(PagedArrayLinearBlocks, OneThirtyThreeAndNinetySevenElementsTakeBlocksOfOneTwoAndThreePages)
{
	const long pageBytes = 32 * sizeof(long);
	struct Step {
		int size;
		std::uint32_t capacity;
		std::uint64_t lastBlock;
		std::uint32_t deallocationCapacity;
		std::uint32_t pageTableCapacity;
	};
	int pushed = 0;
	for (Step step : {Step {1, 32, 1, 0, 1}, Step {33, 96, 2, 0, 3}, Step {97, 192, 3, 32, 6}}) {
		SCOPED_TRACE(step.size);
		PushNumbers(array, pushed, step.size);
		pushed = step.size;
		EXPECT_EQ(array.GetCapacity(), step.capacity);
		EXPECT_EQ(PagedArrayTestAccess::LastBlock(array), step.lastBlock);
		EXPECT_EQ(array.GetDeallocationCapacity(), step.deallocationCapacity);
		EXPECT_EQ(array.GetPageTableCapacity(), step.pageTableCapacity);
		// One allocation per block plus the page table.
		EXPECT_EQ(watch.LiveBlocks(), static_cast<long>(step.lastBlock) + 1);
		EXPECT_EQ(watch.LiveBytes(), (step.capacity / 32) * pageBytes + step.pageTableCapacity * long {sizeof(void*)});
		EXPECT_TRUE(array.CheckState());
	}
	for (int index = 0; index < 97; ++index)
		ASSERT_EQ(array[static_cast<VX::UIndex>(index)], index);
}

TEST_F(PagedArrayLinearBlocks, ShrinkingSixPagesToThirtyTwoElementsKeepsOnePage)
{
	PushNumbers(array, 0, 192);
	ASSERT_EQ(array.GetCapacity(), 192u);
	const long* firstPage = PagedArrayTestAccess::Pages(array)[0];
	array.SetSize(32);
	EXPECT_EQ(array.GetCapacity(), 32u);
	EXPECT_EQ(array.GetDeallocationCapacity(), 0u);
	EXPECT_EQ(array.GetPageTableCapacity(), 1u);
	EXPECT_EQ(PagedArrayTestAccess::Pages(array)[0], firstPage);
	EXPECT_EQ(watch.LiveBlocks(), 2);
	EXPECT_EQ(watch.LiveBytes(), 32 * long {sizeof(long)} + long {sizeof(void*)});
	EXPECT_EQ(array[31], 31);
	EXPECT_TRUE(array.CheckState());
}

TEST_F(PagedArrayLinearBlocks, ShrinkingAboveTheDeallocationCapacityKeepsEveryBlock)
{
	PushNumbers(array, 0, 192);
	array.SetSize(33);
	EXPECT_EQ(array.GetSize(), 33u);
	EXPECT_EQ(array.GetCapacity(), 192u);
	EXPECT_EQ(watch.LiveBlocks(), 4);
	EXPECT_TRUE(array.CheckState());
}

TEST_F(PagedArrayLinearBlocks, PushAndPopAtABlockBoundaryDoNotAllocateEachTime)
{
	PushNumbers(array, 0, 97); // the 3-page block now exists
	long allocations = watch.Allocations();
	for (int round = 0; round < 100; ++round) {
		array.SetSize(96);
		array.Push(96);
	}
	EXPECT_EQ(watch.Allocations(), allocations);
	EXPECT_EQ(array.GetCapacity(), 192u);
}

TEST_F(PagedArrayLinearBlocks, ElementsNeverMoveWhileTheArrayGrows)
{
	array.Push(7);
	const long* first = &array[0];
	PushNumbers(array, 1, 5000);
	EXPECT_EQ(&array[0], first);
	EXPECT_EQ(*first, 7);
}

TEST_F(PagedArrayLinearBlocks, ACapacityBeyondThirtyTwoBitsIsRefusedUnchanged)
{
	PagedArray<char> huge(65536, AllocationStrategy::Exponential);
	EXPECT_THROW(huge.Reserve(0xFFFFFFFFu), std::bad_alloc);
	EXPECT_EQ(huge.GetCapacity(), 0u);
	EXPECT_EQ(watch.LiveBlocks(), 0);
	EXPECT_TRUE(huge.CheckState());
}

class PagedArrayExponentialBlocks : public ::testing::Test {
protected:
	StorageWatch watch;
	PagedArray<int> array {16, AllocationStrategy::Exponential};
};

// The blocks are 1, 2, 4, 8 pages; the last block must be known as 4 and then 8, where
// reading it back from the two capacities would give 3.
TEST_F(PagedArrayExponentialBlocks, BlocksDoubleFromTheThirdBlockOn)
{
	struct Step {
		int size;
		std::uint32_t pages;
		std::uint64_t lastBlock;
		std::uint32_t deallocationCapacity;
	};
	int pushed = 0;
	long previousBytes = 0;
	std::uint32_t previousPages = 0;
	for (Step step :
		{Step {1, 1, 1, 0}, Step {17, 3, 2, 0}, Step {49, 7, 4, 16}, Step {113, 15, 8, 48}, Step {241, 31, 16, 112}}) {
		SCOPED_TRACE(step.size);
		PushNumbers(array, pushed, step.size);
		pushed = step.size;
		EXPECT_EQ(array.GetCapacity(), step.pages * 16);
		EXPECT_EQ(PagedArrayTestAccess::LastBlock(array), step.lastBlock);
		EXPECT_EQ(array.GetDeallocationCapacity(), step.deallocationCapacity);
		// The new block really has lastBlock pages: the block bytes grew by exactly that.
		long blockBytes = watch.LiveBytes() - long {array.GetPageTableCapacity()} * long {sizeof(void*)};
		EXPECT_EQ(blockBytes - previousBytes, static_cast<long>(step.lastBlock) * 16 * long {sizeof(int)});
		EXPECT_EQ(step.pages - previousPages, step.lastBlock);
		previousBytes = blockBytes;
		previousPages = step.pages;
		EXPECT_TRUE(array.CheckState());
	}
}

TEST_F(PagedArrayExponentialBlocks, ShrinkFreesWholeBlocks)
{
	PushNumbers(array, 0, 15 * 16); // blocks 1, 2, 4, 8
	ASSERT_EQ(array.GetDeallocationCapacity(), 48u);
	array.SetSize(40); // 3 pages still hold 40: the 8- and 4-page blocks go
	EXPECT_EQ(array.GetCapacity(), 48u);
	EXPECT_EQ(PagedArrayTestAccess::LastBlock(array), 2u);
	EXPECT_EQ(array.GetDeallocationCapacity(), 0u);
	EXPECT_EQ(watch.LiveBlocks(), 3); // blocks of 1 and 2 pages and the page table
	EXPECT_EQ(array[39], 39);
	EXPECT_TRUE(array.CheckState());
	PushNumbers(array, 40, 15 * 16); // and they come back as 4 and 8 pages
	EXPECT_EQ(PagedArrayTestAccess::LastBlock(array), 8u);
	EXPECT_TRUE(array.CheckState());
}

TEST(PagedArrayConstantBlocks, GrowOnePageAtATimeAndHalveThePageTable)
{
	StorageWatch watch;
	PagedArray<int> array(0, AllocationStrategy::Constant);
	PushNumbers(array, 0, 3 * 128 + 1);
	EXPECT_EQ(array.GetCapacity(), 4u * 128);
	EXPECT_EQ(array.GetDeallocationCapacity(), 2u * 128);
	EXPECT_EQ(array.GetPageTableCapacity(), 4u);
	EXPECT_EQ(watch.LiveBlocks(), 5);
	array.SetSize(100);
	EXPECT_EQ(array.GetCapacity(), 128u);
	// One page left, at most a quarter of the table: cut to twice the remaining pages.
	EXPECT_EQ(array.GetPageTableCapacity(), 2u);
	EXPECT_EQ(watch.LiveBlocks(), 2);
	EXPECT_TRUE(array.CheckState());
}

class PagedArrayLifetimes : public ::testing::Test {
protected:
	void SetUp() override { CountedElement::ResetCounts(); }
	void TearDown() override { EXPECT_EQ(CountedElement::counts.Live(), 0); }
};

TEST_F(PagedArrayLifetimes, PushCopiesOnceAndEveryElementIsDestroyedOnce)
{
	{
		PagedArray<CountedElement> array;
		CountedElement element(5);
		for (int i = 0; i < 100; ++i)
			array.Push(element);
		EXPECT_EQ(CountedElement::counts.copied, 100);
		EXPECT_EQ(CountedElement::counts.Live(), 101);
		array.SetSize(10);
		EXPECT_EQ(CountedElement::counts.Live(), 11);
		array.SetSize(20);
		EXPECT_EQ(CountedElement::counts.Live(), 21);
		EXPECT_EQ(array[15].Get(), 0);
		array.Clear();
		EXPECT_EQ(CountedElement::counts.Live(), 1);
		array.Push(element);
	}
}

TEST_F(PagedArrayLifetimes, AssignmentKeepsThePageSizeAndCopiesInOrder)
{
	PagedArray<CountedElement> source(8, AllocationStrategy::Exponential);
	PushNumbers(source, 0, 50);
	PagedArray<CountedElement> target(0, AllocationStrategy::Constant);
	PushNumbers(target, 100, 103);
	target = source;
	EXPECT_EQ(target.GetPageSize(), 128u);
	EXPECT_EQ(target.GetAllocationStrategy(), AllocationStrategy::Constant);
	ASSERT_EQ(target.GetSize(), 50u);
	for (VX::UIndex index = 0; index < 50; ++index)
		EXPECT_EQ(target[index].Get(), static_cast<int>(index));
	EXPECT_TRUE(target.CheckState());

	PagedArray<CountedElement> copy(source);
	EXPECT_EQ(copy.GetPageSize(), 8u);
	EXPECT_EQ(copy.GetAllocationStrategy(), AllocationStrategy::Exponential);
	EXPECT_EQ(copy.GetSize(), 50u);

	// Assigning an array to itself leaves it as it is.
	PagedArray<CountedElement>& same = target;
	target = same;
	EXPECT_EQ(target.GetSize(), 50u);
	EXPECT_EQ(target[49].Get(), 49);
}

TEST_F(PagedArrayLifetimes, AssignmentFromAnyContainerCopiesItsIterationOrder)
{
	VX::Array<CountedElement> source;
	source.SetSize(3);
	source[0] = CountedElement(3);
	source[1] = CountedElement(1);
	source[2] = CountedElement(2);
	PagedArray<CountedElement> target;
	const VX::Container<CountedElement>& general = source;
	target.Assign(general);
	ASSERT_EQ(target.GetSize(), 3u);
	EXPECT_EQ(target[0].Get(), 3);
	EXPECT_EQ(target[1].Get(), 1);
	EXPECT_EQ(target[2].Get(), 2);
}

TEST_F(PagedArrayLifetimes, MovingTakesTheStorage)
{
	PagedArray<CountedElement> source;
	PushNumbers(source, 0, 40);
	long constructed = CountedElement::counts.constructed;
	PagedArray<CountedElement> moved(std::move(source));
	EXPECT_EQ(CountedElement::counts.constructed, constructed);
	EXPECT_EQ(moved.GetSize(), 40u);
	EXPECT_EQ(source.GetSize(), 0u); // NOLINT: a moved-from array is empty and usable
	source.Push(CountedElement(1));
	EXPECT_TRUE(source.CheckState());
}

TEST(PagedArrayClear, ReleasesEveryBlockAndThePageTable)
{
	StorageWatch watch;
	PagedArray<int> array;
	PushNumbers(array, 0, 1000);
	array.Clear();
	EXPECT_EQ(watch.LiveBlocks(), 0);
	EXPECT_EQ(watch.LiveBytes(), 0);
	EXPECT_EQ(array.GetCapacity(), 0u);
	PushNumbers(array, 0, 10);
	EXPECT_EQ(array[9], 9);
}

TEST(PagedArrayIterators, WalkTheElementsInIndexOrder)
{
	PagedArray<int> array(4, AllocationStrategy::Linear);
	PushNumbers(array, 0, 10);
	int expected = 0;
	for (int element : array)
		EXPECT_EQ(element, expected++);
	EXPECT_EQ(expected, 10);
	for (int& element : array)
		element *= 2;
	// Through the general iterators of the base classes.
	const VX::Container<int>& constant = array;
	expected = 0;
	for (auto it = constant.Begin(); it != constant.End(); ++it, expected += 2)
		EXPECT_EQ(*it, expected);
	VX::RandomContainer<int>& mutableBase = array;
	for (auto it = mutableBase.Begin(); it != mutableBase.End(); it++)
		*it += 1;
	EXPECT_EQ(array[9], 19);
}

TEST(PagedArrayCheckState, NoticesAWrongDeallocationCapacity)
{
	PagedArray<int> array;
	PushNumbers(array, 0, 97);
	ASSERT_TRUE(array.CheckState());
	PagedArrayTestAccess::SetDeallocationCapacity(array, 0);
	EXPECT_FALSE(array.CheckState());
	PagedArrayTestAccess::SetDeallocationCapacity(array, 32);
	EXPECT_TRUE(array.CheckState());
}

TEST(PagedArrayOutput, PrintWritesTheSizeAndEachElement)
{
	PagedArray<int> array;
	PushNumbers(array, 10, 13);
	VX::StringOChannel channel;
	EXPECT_EQ(array.Print(channel), VX::NoError);
	EXPECT_EQ(Lines(channel.GetText()),
		(std::vector<std::string> {
			"Container size: 3", "---------------------", "[0000]  10", "[0001]  11", "[0002]  12"}));
}

// The fields of a filled array show in the dump of a hash table's entries.
TEST(PagedArrayOutput, DumpNamesTheStrategyAndAnAbsentPageTable)
{
	for (auto [strategy, name] : {std::pair {AllocationStrategy::Exponential, "Exponential"},
			 std::pair {AllocationStrategy::Constant, "Constant"}}) {
		VX::StringOChannel channel;
		EXPECT_EQ(PagedArray<int>(0, strategy).Dump(channel), VX::NoError);
		auto lines = Lines(channel.GetText());
		ASSERT_EQ(lines.size(), 8u);
		EXPECT_EQ(lines[0], "pageTable:            0x0000000000000000");
		EXPECT_EQ(lines[2], std::string("allocationStrategy:   ") + name);
	}
}

TEST(PagedArrayBinaryForm, RoundTripsAndRefusesTruncatedData)
{
	PagedArray<VX::String> array;
	array.Push(VX::String("first"));
	array.Push(VX::String(""));
	array.Push(VX::String("third"));
	VX::StringOChannel output;
	ASSERT_EQ(array.Write(output), VX::NoError);

	PagedArray<VX::String> read;
	VX::StringIChannel input(output.GetText());
	ASSERT_EQ(read.Read(input), VX::NoError);
	ASSERT_EQ(read.GetSize(), 3u);
	EXPECT_EQ(read[0], "first");
	EXPECT_EQ(read[1], "");
	EXPECT_EQ(read[2], "third");

	PagedArray<VX::String> unchanged;
	unchanged.Push(VX::String("kept"));
	VX::StringIChannel truncated(output.GetText().substr(0, output.GetText().size() - 2));
	EXPECT_EQ(unchanged.Read(truncated), VX::ErrorEndOfChannel);
	ASSERT_EQ(unchanged.GetSize(), 1u);
	EXPECT_EQ(unchanged[0], "kept");
}
