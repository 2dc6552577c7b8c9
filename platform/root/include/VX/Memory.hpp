// The root library's memory services: memory handles (resizable zero-filled blocks named by
// 32-bit ids, so a handle fits the 32-bit slot of a host record on any pointer width) and raw
// memory blocks. Both count what is alive, so tests can prove that everything handed out was
// given back.
#pragma once

#include <cstddef>
#include <cstdint>

namespace VX {

// A memory handle's id; 0 is no handle.
using HandleId = std::uint32_t;
inline constexpr HandleId NoHandle = 0;

// A new handle of size bytes, all zero; 0 when the memory cannot be had.
HandleId AllocateHandle(std::size_t size);
// Frees a live handle. 0 is ignored (true); an id that is not live is left alone (false).
bool FreeHandle(HandleId handle);
// The handle's size in bytes; 0 for an id that is not live.
std::size_t GetHandleSize(HandleId handle);
// The handle's bytes, valid until it is resized or freed; null for an id that is not live.
// A handle of size 0 still has a valid (empty) data pointer.
void* GetHandleData(HandleId handle);
// Changes the size, keeping the first bytes; bytes beyond the old size are zero. False (the
// handle unchanged) for an id that is not live or when the memory cannot be had.
bool ResizeHandle(HandleId handle, std::size_t newSize);
// Number of handles allocated and not yet freed.
std::size_t LiveHandleCount();

// A raw block of size bytes, all zero; null when the memory cannot be had.
void* AllocateBlock(std::size_t size);
// Frees a block from AllocateBlock. Null is ignored (true); a pointer that is not a live block
// is left alone (false).
bool FreeBlock(void* block);
// Number of blocks allocated and not yet freed.
std::size_t LiveBlockCount();

} // namespace VX
