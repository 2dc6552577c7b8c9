// Memory handles and blocks. Handles live in a table keyed by id; ids are handed out in
// increasing order and wrap around past the live ones, so a stale id is unlikely to name a
// newer handle. Blocks are tracked by address so that a foreign pointer is never freed.
#include "VX/Memory.hpp"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>
#include <unordered_set>

namespace VX {

namespace {

struct HandleEntry {
	void* bytes = nullptr; // never null for a live handle, even at size 0
	std::size_t size = 0;
};

struct MemoryState {
	std::mutex lock;
	std::unordered_map<HandleId, HandleEntry> handles;
	HandleId lastId = NoHandle;
	std::unordered_set<void*> blocks;
};

MemoryState& State()
{
	// Never destroyed: handles may still be freed from other libraries' destructors at exit.
	static MemoryState* state = new MemoryState;
	return *state;
}

// One byte at least, so a size-0 handle still has a distinct, valid data pointer.
void* AllocateZeroed(std::size_t size)
{
	return std::calloc(size == 0 ? 1 : size, 1);
}

HandleId NextFreeId(MemoryState& state)
{
	do {
		++state.lastId;
	} while (state.lastId == NoHandle || state.handles.contains(state.lastId));
	return state.lastId;
}

} // namespace

HandleId AllocateHandle(std::size_t size)
{
	void* bytes = AllocateZeroed(size);
	if (bytes == nullptr)
		return NoHandle;
	MemoryState& state = State();
	std::lock_guard guard(state.lock);
	if (state.handles.size() >= 0xFFFFFFFEu) {
		std::free(bytes);
		return NoHandle;
	}
	const HandleId id = NextFreeId(state);
	try {
		state.handles.emplace(id, HandleEntry {bytes, size});
	} catch (const std::bad_alloc&) {
		std::free(bytes);
		return NoHandle;
	}
	return id;
}

bool FreeHandle(HandleId handle)
{
	if (handle == NoHandle)
		return true;
	MemoryState& state = State();
	std::lock_guard guard(state.lock);
	const auto found = state.handles.find(handle);
	if (found == state.handles.end())
		return false;
	std::free(found->second.bytes);
	state.handles.erase(found);
	return true;
}

std::size_t GetHandleSize(HandleId handle)
{
	MemoryState& state = State();
	std::lock_guard guard(state.lock);
	const auto found = state.handles.find(handle);
	return found == state.handles.end() ? 0 : found->second.size;
}

void* GetHandleData(HandleId handle)
{
	MemoryState& state = State();
	std::lock_guard guard(state.lock);
	const auto found = state.handles.find(handle);
	return found == state.handles.end() ? nullptr : found->second.bytes;
}

bool ResizeHandle(HandleId handle, std::size_t newSize)
{
	MemoryState& state = State();
	std::lock_guard guard(state.lock);
	const auto found = state.handles.find(handle);
	if (found == state.handles.end())
		return false;
	HandleEntry& entry = found->second;
	void* bytes = AllocateZeroed(newSize);
	if (bytes == nullptr)
		return false;
	std::memcpy(bytes, entry.bytes, entry.size < newSize ? entry.size : newSize);
	std::free(entry.bytes);
	entry.bytes = bytes;
	entry.size = newSize;
	return true;
}

std::size_t LiveHandleCount()
{
	MemoryState& state = State();
	std::lock_guard guard(state.lock);
	return state.handles.size();
}

void* AllocateBlock(std::size_t size)
{
	void* block = AllocateZeroed(size);
	if (block == nullptr)
		return nullptr;
	MemoryState& state = State();
	std::lock_guard guard(state.lock);
	try {
		state.blocks.insert(block);
	} catch (const std::bad_alloc&) {
		std::free(block);
		return nullptr;
	}
	return block;
}

bool FreeBlock(void* block)
{
	if (block == nullptr)
		return true;
	MemoryState& state = State();
	std::lock_guard guard(state.lock);
	if (state.blocks.erase(block) == 0)
		return false;
	std::free(block);
	return true;
}

std::size_t LiveBlockCount()
{
	MemoryState& state = State();
	std::lock_guard guard(state.lock);
	return state.blocks.size();
}

} // namespace VX
