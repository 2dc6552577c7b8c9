// The root library's timer: measures the time between starts and stops in seconds. All timers
// read one clock, a monotonic one unless a test installs its own, so code that waits for time
// to pass can be tested without sleeping. Time is kept in whole nanoseconds, so a clock moved
// by exactly 0.1 seconds shows exactly 0.1 seconds, wherever it stands.
#pragma once

#include <chrono>
#include <cmath>
#include <functional>
#include <utility>

namespace VX {

// A clock answers the current time from any fixed origin; it must not go back.
using Clock = std::function<std::chrono::nanoseconds()>;

// Installs a clock for every timer and returns the one it replaces; an empty clock restores
// the monotonic system clock.
Clock SetClockForTesting(Clock clock);

// The current time of the installed clock.
std::chrono::nanoseconds CurrentTime();

class Timer {
public:
	// Forgets the time measured so far; a running timer goes on running from now.
	void Reset();
	// Starts measuring; a running timer is left as it is.
	void Start();
	// Stops measuring and keeps the time measured; a stopped timer is left as it is.
	void Stop();
	bool IsRunning() const { return running; }
	// Time measured since the last reset, including the current run.
	double GetElapsedSeconds() const;

private:
	bool running = false;
	std::chrono::nanoseconds startedAt {};
	std::chrono::nanoseconds measured {};
};

// A clock that moves only when told to, installed for its lifetime.
class ManualClock {
public:
	explicit ManualClock(std::chrono::nanoseconds start = std::chrono::seconds(1000))
		: now(start), previous(SetClockForTesting([this] { return now; }))
	{
	}
	~ManualClock() { SetClockForTesting(std::move(previous)); }
	ManualClock(const ManualClock&) = delete;
	ManualClock& operator=(const ManualClock&) = delete;

	// Moves the clock on by the seconds given, rounded to whole nanoseconds. Negative steps
	// are ignored: clocks do not go back.
	void Advance(double seconds)
	{
		if (seconds > 0.0)
			now += std::chrono::nanoseconds(std::llround(seconds * 1e9));
	}
	std::chrono::nanoseconds Now() const { return now; }

private:
	std::chrono::nanoseconds now;
	Clock previous;
};

} // namespace VX
