// MessageBeep without a sound device: every beep is counted and shown to an observer, so a
// host can put it in its transcript and tests can count warning beeps.
#include "Win/Windows.hpp"

#include <atomic>
#include <mutex>
#include <utility>

namespace {

struct BeepState {
	std::mutex lock;
	Win::BeepObserver observer;
	std::atomic<std::size_t> count {0};
};

BeepState& State()
{
	// Never destroyed: modules may beep from destructors at process exit.
	static BeepState* state = new BeepState;
	return *state;
}

} // namespace

extern "C" BOOL MessageBeep(UINT uType)
{
	BeepState& state = State();
	++state.count;
	Win::BeepObserver observer;
	{
		std::lock_guard guard(state.lock);
		observer = state.observer;
	}
	// Called outside the lock, so an observer may beep or change the observer itself.
	if (observer)
		observer(uType);
	return TRUE;
}

namespace Win {

BeepObserver SetBeepObserver(BeepObserver observer)
{
	BeepState& state = State();
	std::lock_guard guard(state.lock);
	return std::exchange(state.observer, std::move(observer));
}

std::size_t GetBeepCount()
{
	return State().count.load();
}

void ResetBeepCount()
{
	State().count = 0;
}

} // namespace Win
