// Every allocation of the converter process comes from one region mapped at a fixed
// address, in size classes with a free list each. The geometry engine's boolean cuts keep
// faces and vertices in containers keyed by their addresses and take the first entry found,
// so with the system's randomised heap the same file cut its walls differently from run to
// run. Here an address depends only on the sequence of allocations before it, that is on the
// file, and so do the counts. Replacing the global operators in this program alone keeps the
// host's own heap as it is.
#include <sys/mman.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Far from where the system puts anything, and between the address sanitizer's shadow memory
// (up to 0x10007fff7fff) and its own heap (from 0x600000000000).
constexpr std::uintptr_t RegionStart = 0x300000000000;
constexpr std::size_t RegionSize = std::size_t {1} << 40; // reserved only; pages come on first touch
constexpr std::size_t Alignment = 16;
constexpr std::size_t HeaderSize = 16; // the size class, in front of each block
constexpr int ClassCount = 160;

struct FreeBlock {
	FreeBlock* next;
};

struct Heap {
	std::atomic_flag busy = ATOMIC_FLAG_INIT;
	char* next = nullptr;
	char* end = nullptr;
	FreeBlock* free[ClassCount] = {};
	// Blocks below this are of the reading before the geometry, and are not used again.
	char* retired = nullptr;
};

Heap heap;

// 16-byte steps up to 256 bytes, then four classes per doubling: at most a quarter wasted.
int ClassOf(std::size_t size)
{
	if (size <= 256)
		return static_cast<int>((size + Alignment - 1) / Alignment);
	int power = 8;
	while ((std::size_t {1} << (power + 1)) < size)
		++power;
	const std::size_t base = std::size_t {1} << power;
	const std::size_t quarter = base / 4;
	const auto step = static_cast<int>((size - base + quarter - 1) / quarter); // 1..4
	return 16 + (power - 8) * 4 + step;
}

std::size_t SizeOfClass(int sizeClass)
{
	if (sizeClass <= 16)
		return static_cast<std::size_t>(sizeClass) * Alignment;
	const int power = 8 + (sizeClass - 17) / 4;
	const int step = (sizeClass - 17) % 4 + 1;
	const std::size_t base = std::size_t {1} << power;
	return base + base / 4 * static_cast<std::size_t>(step);
}

class Lock {
public:
	Lock()
	{
		while (heap.busy.test_and_set(std::memory_order_acquire)) {
		}
	}
	~Lock() { heap.busy.clear(std::memory_order_release); }
	Lock(const Lock&) = delete;
	Lock& operator=(const Lock&) = delete;
};

void* Allocate(std::size_t size) noexcept
{
	const int sizeClass = ClassOf(size == 0 ? 1 : size);
	if (sizeClass >= ClassCount)
		return nullptr;
	Lock lock;
	if (heap.next == nullptr) {
		void* region = mmap(reinterpret_cast<void*>(RegionStart), RegionSize, PROT_READ | PROT_WRITE,
			MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_FIXED_NOREPLACE, -1, 0);
		if (region != reinterpret_cast<void*>(RegionStart))
			std::abort(); // without its fixed place the converter could not promise repeatable counts
		heap.next = static_cast<char*>(region);
		heap.end = heap.next + RegionSize;
	}
	char* block;
	if (FreeBlock* reused = heap.free[sizeClass]) {
		heap.free[sizeClass] = reused->next;
		block = reinterpret_cast<char*>(reused) - HeaderSize;
	} else {
		const std::size_t total = HeaderSize + SizeOfClass(sizeClass);
		if (static_cast<std::size_t>(heap.end - heap.next) < total)
			return nullptr;
		block = heap.next;
		heap.next += total;
	}
	std::memcpy(block, &sizeClass, sizeof sizeClass);
	return block + HeaderSize;
}

void Release(void* pointer) noexcept
{
	if (pointer == nullptr)
		return;
	char* block = static_cast<char*>(pointer) - HeaderSize;
	int sizeClass;
	std::memcpy(&sizeClass, block, sizeof sizeClass);
	Lock lock;
	if (block < heap.retired)
		return;
	auto* freed = static_cast<FreeBlock*>(pointer);
	freed->next = heap.free[sizeClass];
	heap.free[sizeClass] = freed;
}

void* AllocateOrThrow(std::size_t size)
{
	if (void* pointer = Allocate(size))
		return pointer;
	throw std::bad_alloc();
}

// Over-aligned blocks: a plain block with room to move the start, the plain start kept
// just in front of the one handed out.
void* AllocateAligned(std::size_t size, std::align_val_t align) noexcept
{
	const auto alignment = static_cast<std::size_t>(align);
	if (alignment <= Alignment)
		return Allocate(size);
	char* raw = static_cast<char*>(Allocate(size + alignment + sizeof(void*)));
	if (raw == nullptr)
		return nullptr;
	const auto start = (reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*) + alignment - 1) & ~(alignment - 1);
	char* aligned = reinterpret_cast<char*>(start);
	std::memcpy(aligned - sizeof(void*), &raw, sizeof raw);
	return aligned;
}

void ReleaseAligned(void* pointer, std::align_val_t align) noexcept
{
	if (pointer == nullptr)
		return;
	if (static_cast<std::size_t>(align) <= Alignment) {
		Release(pointer);
		return;
	}
	void* raw;
	std::memcpy(&raw, static_cast<char*>(pointer) - sizeof(void*), sizeof raw);
	Release(raw);
}

} // namespace

// Each call starts the allocations afresh at the next of fixed places in the region's upper
// half, so what is allocated from there depends on what is done from there and not on what
// came before: on the building's entities rather than on how its text was written, on a
// wall and its openings rather than on the parts converted before it. Blocks from before
// are not used again.
extern "C" void FacetallyStartGeometryHeap()
{
	constexpr std::uintptr_t Step = 1U << 22; // 4 MiB
	Lock lock;
	if (heap.next == nullptr)
		return;
	const std::uintptr_t upper = RegionStart + RegionSize / 2;
	const auto at = reinterpret_cast<std::uintptr_t>(heap.next);
	const std::uintptr_t fresh = at < upper ? upper : (at - upper) / Step * Step + Step + upper;
	if (fresh >= RegionStart + RegionSize)
		return;
	heap.next = reinterpret_cast<char*>(fresh);
	heap.retired = heap.next;
	std::memset(heap.free, 0, sizeof heap.free);
}

void* operator new(std::size_t size)
{
	return AllocateOrThrow(size);
}
void* operator new[](std::size_t size)
{
	return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
	return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
	return Allocate(size);
}
void operator delete(void* pointer) noexcept
{
	Release(pointer);
}
void operator delete[](void* pointer) noexcept
{
	Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept
{
	Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept
{
	Release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept
{
	Release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept
{
	Release(pointer);
}

void* operator new(std::size_t size, std::align_val_t align)
{
	if (void* pointer = AllocateAligned(size, align))
		return pointer;
	throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t align)
{
	return operator new(size, align);
}
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept
{
	return AllocateAligned(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept
{
	return AllocateAligned(size, align);
}
void operator delete(void* pointer, std::align_val_t align) noexcept
{
	ReleaseAligned(pointer, align);
}
void operator delete[](void* pointer, std::align_val_t align) noexcept
{
	ReleaseAligned(pointer, align);
}
void operator delete(void* pointer, std::size_t, std::align_val_t align) noexcept
{
	ReleaseAligned(pointer, align);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t align) noexcept
{
	ReleaseAligned(pointer, align);
}
