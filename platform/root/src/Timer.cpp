// The timer and its replaceable clock.
#include "VX/Timer.hpp"

#include <mutex>

namespace VX {

namespace {

struct ClockState {
	std::mutex lock;
	Clock clock;
};

ClockState& State()
{
	// Never destroyed: timers may be read from other libraries' destructors at exit.
	static ClockState* state = new ClockState;
	return *state;
}

} // namespace

Clock SetClockForTesting(Clock clock)
{
	ClockState& state = State();
	std::lock_guard guard(state.lock);
	Clock previous = std::move(state.clock);
	state.clock = std::move(clock);
	return previous;
}

std::chrono::nanoseconds CurrentTime()
{
	ClockState& state = State();
	std::lock_guard guard(state.lock);
	if (state.clock)
		return state.clock();
	return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

void Timer::Reset()
{
	measured = {};
	if (running)
		startedAt = CurrentTime();
}

void Timer::Start()
{
	if (running)
		return;
	running = true;
	startedAt = CurrentTime();
}

void Timer::Stop()
{
	if (!running)
		return;
	measured += CurrentTime() - startedAt;
	running = false;
}

double Timer::GetElapsedSeconds() const
{
	const std::chrono::nanoseconds total = running ? measured + (CurrentTime() - startedAt) : measured;
	return std::chrono::duration<double>(total).count();
}

} // namespace VX
