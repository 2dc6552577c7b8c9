// Counts the heap allocations of a stretch of a program and tells whose they are: the loaded
// module's (its own code, or library code it called) or the program's (the host). The
// program replaces the global allocation functions; each allocation made while counting
// walks its call stack to the nearest frame of either.
#pragma once

#include <cstddef>

namespace AllocationCounter {

struct Counts {
	std::size_t module = 0;
	std::size_t program = 0;
	std::size_t other = 0;
};

// Starts counting afresh; moduleAddress is any address inside the module.
void Start(const void* moduleAddress);
// Stops counting and answers what was counted.
Counts Stop();

} // namespace AllocationCounter
