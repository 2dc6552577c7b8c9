// The host's progress window: the bar an add-on shows during a long run, through the two
// progress entries (55 text, 56 end) and the interface operation's selectors 'IPWD' (open),
// 'SPRP' (label and bar end), 'SPRV' (bar value), 'CANC' (did the person ask to stop?) and
// 'CPWD' (close). A person sees it as a bar redrawn in place when the output is a terminal,
// and as transcript lines when it opens, is stopped and closes.
//
// A script or test plays the person who stops the run: the n-th stop question from now on
// answers "stop", and every question after it too until the window closes. Every call is
// counted, so tests can check how often an add-on asks.
#pragma once

#include "AddOnList.hpp"
#include "HostFunctionTable.hpp"
#include "Transcript.hpp"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace ReferenceHost {

// Calls that reached the progress window, per kind, since the host started (or the last reset).
struct ProgressTraffic {
	std::uint64_t opens = 0;           // 'IPWD'
	std::uint64_t texts = 0;           // entry 55
	std::uint64_t phases = 0;          // 'SPRP'
	std::uint64_t values = 0;          // 'SPRV'
	std::uint64_t cancelQuestions = 0; // 'CANC'
	std::uint64_t closes = 0;          // 'CPWD'
	std::uint64_t ends = 0;            // entry 56

	friend bool operator==(const ProgressTraffic&, const ProgressTraffic&) = default;
};

class ProgressWindow {
public:
	ProgressWindow(AddOnList& addOns, Transcript& transcript);
	~ProgressWindow();
	ProgressWindow(const ProgressWindow&) = delete;
	ProgressWindow& operator=(const ProgressWindow&) = delete;

	// Offers entries 55 and 56 and the five selectors of entry 72.
	void Install(HostFunctionTable& table);

	// ---- What the person sees ------------------------------------------------------------

	bool IsOpen() const { return open; }
	const std::string& Title() const { return title; }
	std::int16_t PhaseCount() const { return phaseCount; }
	const std::string& Label() const { return label; }
	const std::string& Text() const { return text; }
	std::int32_t BarMaximum() const { return barMaximum; }
	// The last bar value sent (a 16-bit value).
	std::int16_t Value() const { return value; }
	// The person asked to stop and the window is still open.
	bool StopRequested() const { return stopRequested; }

	// Draws the bar in place on the stream (a terminal) while a window is open; null stops it.
	// The transcript's lines echoed to the same stream meanwhile clear the bar's line first and
	// the bar comes back below them.
	void DrawBarOn(std::ostream* stream);
	// The bar as a person reads it: "50 of 100", or "49%" for a bar at the 16-bit end or beyond;
	// empty before the add-on gave a range.
	std::string Reading() const;
	// The bar as drawn, without the carriage return: "[#####.....]  label 50 of 100  text".
	std::string BarText() const;
	// Called whenever what the window shows changes and before each stop question, so a window
	// drawn elsewhere follows the run and a person's stop is seen in time.
	void Watch(std::function<void()> watcher) { changed = std::move(watcher); }

	// ---- The host's own long work ----------------------------------------------------------

	// The host shows the window for work of its own (reading a large file), as an add-on
	// would: opened with a title, a label and range once the range is known, the bar moved at
	// each step, closed at the end (saying whether the work failed). Each step answers true
	// when the person asked to stop.
	void OpenForHost(const std::string& windowTitle);
	void RangeForHost(const std::string& newLabel, std::int32_t maximum);
	bool StepForHost(std::int32_t newValue);
	void CloseForHost(bool failed);

	// ---- The person who stops a run ------------------------------------------------------

	// The n-th stop question from now on (1 = the next) answers "stop"; 0 never.
	void StopAtCancelQuestion(std::uint64_t n);
	// The person presses stop while the add-on reads the n-th element from now on (element
	// read, entry 143; 0 never) and takes a moment over it, so the add-on's next look at its
	// window sees the stop: the run ends before the element after it.
	void StopAtElementRead(std::uint64_t n) { elementReadsBeforeStop = n; }

	// Questions still to come before the stop; 0 when no stop is planned.
	std::uint64_t CancelQuestionsBeforeStop() const { return stopCountdown; }

	// ---- Accounting ------------------------------------------------------------------------

	const ProgressTraffic& Traffic() const { return traffic; }
	void ResetTraffic() { traffic = {}; }

private:
	HostStatus Open(ModuleToken token, const char* windowTitle, const std::int16_t* phases);
	void Opened(const std::string& windowTitle, std::int16_t phases);
	void Ranged(const std::string& newLabel, std::int32_t maximum);
	bool StopAsked();
	void Closed(bool failed = false);
	HostStatus SetText(ModuleToken token, const char* newText);
	HostStatus SetPhase(ModuleToken token, const char* newLabel, const std::int32_t* maximum);
	HostStatus SetValue(ModuleToken token, const std::int32_t* newValue);
	HostStatus AskCancelled(ModuleToken token);
	HostStatus Close(ModuleToken token);
	HostStatus End(ModuleToken token);
	std::string LabelledReading() const;
	void Draw();
	void EraseBar();

	AddOnList& addOns;
	Transcript& transcript;
	bool open = false;
	std::string title;
	std::int16_t phaseCount = 0;
	std::string label;
	std::string text;
	std::int32_t barMaximum = 0;
	std::int16_t value = 0;
	// A range was set since the window opened: until then the bar has nothing to read.
	bool ranged = false;
	bool stopRequested = false;
	std::uint64_t stopCountdown = 0;
	std::uint64_t elementReadsBeforeStop = 0;
	ProgressTraffic traffic;
	std::function<void()> changed;
	std::ostream* bar = nullptr;
	bool barDrawn = false;
	// Characters of the bar's line as last drawn, so a shorter line covers a longer one.
	std::size_t drawnLength = 0;
};

} // namespace ReferenceHost
