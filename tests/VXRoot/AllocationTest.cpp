// The module's allocation routine: the new-handler retry, std::bad_alloc, and containers
// that stay as they were when their storage cannot grow.
#include "VXRoot/Allocation.hpp"
#include "VXRoot/Array.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <new>

// Requests no machine can serve must come back as a null pointer under the address
// sanitizer too, as they do from the C library.
extern "C" const char* __asan_default_options()
{
	return "allocator_may_return_null=1";
}

namespace {
constexpr std::size_t impossibleBytes = std::size_t {1} << 62;

int handlerCalls = 0;
void GiveUpAfterThreeCalls()
{
	if (++handlerCalls == 3)
		std::set_new_handler(nullptr);
}

class NewHandlerScope {
public:
	explicit NewHandlerScope(std::new_handler handler) : previous(std::set_new_handler(handler)) {}
	~NewHandlerScope() { std::set_new_handler(previous); }
	NewHandlerScope(const NewHandlerScope&) = delete;
	NewHandlerScope& operator=(const NewHandlerScope&) = delete;

private:
	std::new_handler previous;
};

struct Megabyte {
	char bytes[1 << 20];
};
} // namespace

TEST(StorageAllocation, RetriesWhileTheNewHandlerReturnsThenRaisesBadAlloc)
{
	NewHandlerScope scope(GiveUpAfterThreeCalls);
	handlerCalls = 0;
	EXPECT_THROW(VX::AllocateStorage(impossibleBytes), std::bad_alloc);
	EXPECT_EQ(handlerCalls, 3);
}

TEST(StorageAllocation, WithoutANewHandlerRaisesBadAllocAtOnce)
{
	NewHandlerScope scope(nullptr);
	VX::StorageStatistics before = VX::GetStorageStatistics();
	EXPECT_THROW(VX::AllocateStorage(impossibleBytes), std::bad_alloc);
	EXPECT_EQ(VX::GetStorageStatistics().allocations, before.allocations);
}

TEST(StorageAllocation, CountsLiveBlocksAndBytes)
{
	VX::StorageStatistics before = VX::GetStorageStatistics();
	void* block = VX::AllocateStorage(100);
	void* empty = VX::AllocateStorage(0);
	ASSERT_NE(block, nullptr);
	ASSERT_NE(empty, nullptr);
	VX::StorageStatistics during = VX::GetStorageStatistics();
	EXPECT_EQ(during.liveBlocks - before.liveBlocks, 2u);
	EXPECT_EQ(during.liveBytes - before.liveBytes, 100u);
	EXPECT_EQ(during.allocations - before.allocations, 2u);
	VX::FreeStorage(block, 100);
	VX::FreeStorage(empty, 0);
	VX::FreeStorage(nullptr, 0);
	EXPECT_EQ(VX::GetStorageStatistics().liveBlocks, before.liveBlocks);
	EXPECT_EQ(VX::GetStorageStatistics().liveBytes, before.liveBytes);
}

TEST(StorageAllocation, AnOverflowingSizeIsRefused)
{
	EXPECT_THROW(VX::StorageBytes(std::numeric_limits<std::size_t>::max() / 2, 3), std::bad_alloc);
	EXPECT_EQ(VX::StorageBytes(1000, 24), 24000u);
	EXPECT_EQ(VX::StorageBytes(5, 0), 0u);
}

TEST(StorageAllocation, AnArrayThatCannotGrowStaysAsItWas)
{
	NewHandlerScope scope(nullptr);
	VX::Array<Megabyte> array;
	array.SetSize(2);
	array[1].bytes[5] = 'k';
	// 4 billion megabytes: refused by the allocator, not by a size check.
	EXPECT_THROW(array.SetSize(std::numeric_limits<VX::UIndex>::max()), std::bad_alloc);
	EXPECT_EQ(array.GetSize(), 2u);
	EXPECT_EQ(array.GetCapacity(), 2u);
	EXPECT_EQ(array[1].bytes[5], 'k');
	EXPECT_TRUE(array.CheckState());
}
