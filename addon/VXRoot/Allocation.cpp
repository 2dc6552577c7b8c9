// Container storage allocation with the new-handler retry, and its counters.
#include "VXRoot/Allocation.hpp"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace VX {

namespace {
std::atomic<std::uint64_t> allocationCount {0};
std::atomic<std::uint64_t> liveBlockCount {0};
std::atomic<std::uint64_t> liveByteCount {0};
} // namespace

void* AllocateStorage(std::size_t bytes)
{
	// malloc may answer a request of 0 bytes with null; one byte keeps "never null".
	std::size_t request = bytes != 0 ? bytes : 1;
	for (;;) {
		void* block = std::malloc(request);
		if (block != nullptr) {
			allocationCount.fetch_add(1, std::memory_order_relaxed);
			liveBlockCount.fetch_add(1, std::memory_order_relaxed);
			liveByteCount.fetch_add(bytes, std::memory_order_relaxed);
			return block;
		}
		std::new_handler handler = std::get_new_handler();
		if (handler == nullptr)
			throw std::bad_alloc();
		handler();
	}
}

void FreeStorage(void* block, std::size_t bytes) noexcept
{
	if (block == nullptr)
		return;
	std::free(block);
	liveBlockCount.fetch_sub(1, std::memory_order_relaxed);
	liveByteCount.fetch_sub(bytes, std::memory_order_relaxed);
}

std::size_t StorageBytes(std::size_t count, std::size_t elementSize)
{
	if (elementSize != 0 && count > std::numeric_limits<std::size_t>::max() / elementSize)
		throw std::bad_alloc();
	return count * elementSize;
}

StorageStatistics GetStorageStatistics()
{
	StorageStatistics statistics;
	statistics.allocations = allocationCount.load(std::memory_order_relaxed);
	statistics.liveBlocks = liveBlockCount.load(std::memory_order_relaxed);
	statistics.liveBytes = liveByteCount.load(std::memory_order_relaxed);
	return statistics;
}

} // namespace VX
