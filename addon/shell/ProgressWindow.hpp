// The host's progress window for a long walk over the project's elements: a bar that follows
// the elements processed and the user's way to stop. The host is asked at most about ten
// times a second however fast the elements go: both the bar update and the stop question wait
// for a 0.1-second timer. The host's bar value is a 16-bit number, so the bar's range is cut
// to 32767 units and large walks are scaled down.
//
// The caller opens the window, sets the total, steps once before each element and closes it
// on every way out (normal end, stop, failure). A failing call of the host is only signalled
// by the warning beep; the window is used on regardless.
#pragma once

#include "VX/Timer.hpp"

#include <cstdint>

// String list 140: item 1 the add-on's name, item 2 the counting run's title "Counting...",
// item 3 the bar's label "Processed elements:".
namespace ProgressStrings {
inline constexpr std::int16_t List = 140;
inline constexpr std::int32_t CountingTitle = 2;
inline constexpr std::int32_t BarLabel = 3;
} // namespace ProgressStrings

class ProgressWindow {
public:
	// The bar's end is never more than the host's 16-bit bar can show.
	static constexpr std::int32_t BarLimit = 32767;

	// Starts the host's window with the title; nothing is processed yet.
	void Open(const char* title);
	// The bar's range for n elements, shown at the current count; starts the timer.
	void SetTotal(std::uint32_t n);
	// Counts one element. False when the user asked to stop (the window stays open).
	bool Step();
	// Ends the host's window, with the warning beep, every time.
	void Close();

	std::int32_t Processed() const { return processed; }
	std::int32_t ShownValue() const { return shownValue; }
	std::int32_t BarMaximum() const { return barMaximum; }
	float Scale() const { return scale; }
	std::uint32_t Total() const { return total; }

private:
	// The bar position for the elements processed: truncated toward zero, at most the bar's end.
	std::int16_t BarValue() const;

	std::int32_t processed = 0;
	std::int16_t phaseCount = 1;
	// A 16-bit value, in the 32-bit slot the host reads it from.
	std::int32_t shownValue = 0;
	std::int32_t barMaximum = 0;
	VX::Timer timer;
	double updateInterval = 0.1;
	float scale = 1.0f;
	std::uint32_t total = 0;
};
