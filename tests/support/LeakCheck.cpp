// The leak check over the handle service and the location table.
#include "LeakCheck.hpp"

#include "IO/LocationTable.hpp"
#include "VX/Memory.hpp"

#include <gtest/gtest.h>

LeakCheck::LeakCheck() : liveHandles(VX::LiveHandleCount()), liveLocations(IO::LiveLocationCount())
{
}

LeakCheck::~LeakCheck()
{
	EXPECT_EQ(VX::LiveHandleCount(), liveHandles) << "memory handles left alive";
	EXPECT_EQ(IO::LiveLocationCount(), liveLocations) << "file locations left published";
}

std::int64_t LeakCheck::HandlesLeft() const
{
	return static_cast<std::int64_t>(VX::LiveHandleCount()) - static_cast<std::int64_t>(liveHandles);
}
