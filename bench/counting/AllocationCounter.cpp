// The program's allocation functions, counting and attributing while asked to.
#include "AllocationCounter.hpp"

#include <dlfcn.h>
#include <execinfo.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting {false};
thread_local bool attributing = false;
const void* moduleBase = nullptr;
const void* programBase = nullptr;
AllocationCounter::Counts counts;

const void* BaseOf(const void* address)
{
	Dl_info info {};
	return dladdr(address, &info) != 0 ? info.dli_fbase : nullptr;
}

// caller is the return address of the allocation function: the walk starts at its frame, so
// the counter's own frames are never taken for the program's, however they were inlined.
__attribute__((noinline)) void Attribute(const void* caller)
{
	void* frames[64];
	const int depth = backtrace(frames, 64);
	int first = 0;
	while (first < depth && frames[first] != caller)
		++first;
	if (first == depth)
		first = 0;
	for (int frame = first; frame < depth; ++frame) {
		const void* base = BaseOf(frames[frame]);
		if (base == moduleBase) {
			++counts.module;
			return;
		}
		if (base == programBase) {
			++counts.program;
			return;
		}
	}
	++counts.other;
}

void* Allocate(std::size_t size, const void* caller)
{
	if (counting.load(std::memory_order_relaxed) && !attributing) {
		attributing = true;
		Attribute(caller);
		attributing = false;
	}
	void* block = std::malloc(size == 0 ? 1 : size);
	if (block == nullptr)
		throw std::bad_alloc();
	return block;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment, const void* caller)
{
	if (counting.load(std::memory_order_relaxed) && !attributing) {
		attributing = true;
		Attribute(caller);
		attributing = false;
	}
	const auto align = static_cast<std::size_t>(alignment);
	void* block = std::aligned_alloc(align, ((size == 0 ? 1 : size) + align - 1) / align * align);
	if (block == nullptr)
		throw std::bad_alloc();
	return block;
}

} // namespace

namespace AllocationCounter {

void Start(const void* moduleAddress)
{
	moduleBase = BaseOf(moduleAddress);
	programBase = BaseOf(reinterpret_cast<const void*>(&Start));
	// The unwinder loads itself at its first use; that is nobody's allocation.
	void* warmUp[4];
	backtrace(warmUp, 4);
	counts = {};
	counting = true;
}

Counts Stop()
{
	counting = false;
	return counts;
}

} // namespace AllocationCounter

void* operator new(std::size_t size)
{
	return Allocate(size, __builtin_return_address(0));
}
void* operator new[](std::size_t size)
{
	return Allocate(size, __builtin_return_address(0));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
	try {
		return Allocate(size, __builtin_return_address(0));
	} catch (...) {
		return nullptr;
	}
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
	try {
		return Allocate(size, __builtin_return_address(0));
	} catch (...) {
		return nullptr;
	}
}
void* operator new(std::size_t size, std::align_val_t alignment)
{
	return AllocateAligned(size, alignment, __builtin_return_address(0));
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
	return AllocateAligned(size, alignment, __builtin_return_address(0));
}
void operator delete(void* block) noexcept
{
	std::free(block);
}
void operator delete[](void* block) noexcept
{
	std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
	std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
	std::free(block);
}
void operator delete(void* block, std::align_val_t) noexcept
{
	std::free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept
{
	std::free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept
{
	std::free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept
{
	std::free(block);
}
