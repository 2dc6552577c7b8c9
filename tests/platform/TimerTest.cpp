// The root library's timer, driven by a manual clock so that no test waits for real time.
#include "VX/Timer.hpp"

#include <gtest/gtest.h>

namespace {

class TimerTest : public ::testing::Test {
protected:
	VX::ManualClock clock;
	VX::Timer timer;
};

TEST_F(TimerTest, FollowsTheClockWhileRunningAndKeepsItsTimeWhenStopped)
{
	timer.Start();
	clock.Advance(0.25);
	EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.25);
	timer.Stop();
	clock.Advance(10.0);
	EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.25);
	timer.Start();
	clock.Advance(0.3);
	EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.55) << "a restart adds to the time measured";
	timer.Reset();
	EXPECT_TRUE(timer.IsRunning()) << "a running timer counts again from now";
	EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.0);
	clock.Advance(0.05);
	EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.05);
	timer.Stop();
	timer.Reset();
	EXPECT_FALSE(timer.IsRunning());
	EXPECT_DOUBLE_EQ(timer.GetElapsedSeconds(), 0.0);
}

TEST_F(TimerTest, TenthOfASecondIsExactWhereverTheClockStands)
{
	// Waiting code compares against 0.1 with "less than"; a rounding error would make a
	// step of exactly 0.1 seconds look too short.
	clock.Advance(12345.678);
	timer.Start();
	for (int step = 0; step < 1000; ++step) {
		timer.Reset();
		clock.Advance(0.1);
		ASSERT_GE(timer.GetElapsedSeconds(), 0.1) << "step " << step;
	}
}

TEST(ManualClockTest, RestoresTheSystemClock)
{
	using namespace std::chrono_literals;
	{
		VX::ManualClock clock(42s);
		EXPECT_EQ(VX::CurrentTime(), 42s);
		clock.Advance(-1.0);
		EXPECT_EQ(VX::CurrentTime(), 42s) << "the clock must not go back";
		clock.Advance(0.5);
		EXPECT_EQ(VX::CurrentTime(), 42500ms);
	}
	const auto first = VX::CurrentTime();
	const auto second = VX::CurrentTime();
	EXPECT_GE(second, first);
	EXPECT_NE(first, 42500ms);
}

} // namespace
