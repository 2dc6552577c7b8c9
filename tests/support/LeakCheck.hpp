// What a test must give back: the memory handles and the file locations alive when it began.
// Declare a LeakCheck before what it watches, so that is gone when the check runs.
#pragma once

#include <cstddef>
#include <cstdint>

class LeakCheck {
public:
	LeakCheck();
	// Adds a test failure for every handle or location left alive since construction.
	~LeakCheck();
	LeakCheck(const LeakCheck&) = delete;
	LeakCheck& operator=(const LeakCheck&) = delete;

	// Memory handles alive now, minus those alive at construction.
	std::int64_t HandlesLeft() const;

private:
	std::size_t liveHandles;
	std::size_t liveLocations;
};
