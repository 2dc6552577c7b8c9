// The module's own allocation routine for container storage. When memory runs out it calls
// the installed new-handler and tries again as long as the handler returns, and raises
// std::bad_alloc when no handler is installed, as operator new does. Blocks are counted so
// that tests can prove storage is released.
#pragma once

#include <cstddef>
#include <cstdint>

namespace VX {

// A block of at least `bytes` bytes, aligned for any fundamental type; never null.
void* AllocateStorage(std::size_t bytes);
// Releases a block from AllocateStorage; `bytes` is the size it was allocated with.
void FreeStorage(void* block, std::size_t bytes) noexcept;
// count × elementSize, or std::bad_alloc when the product does not fit in memory's range.
std::size_t StorageBytes(std::size_t count, std::size_t elementSize);

struct StorageStatistics {
	std::uint64_t allocations = 0; // successful AllocateStorage calls since start
	std::uint64_t liveBlocks = 0;  // blocks not yet freed
	std::uint64_t liveBytes = 0;   // their bytes
};
StorageStatistics GetStorageStatistics();

} // namespace VX
