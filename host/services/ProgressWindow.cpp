// The progress window's entries and selectors, the stop a script plans, and the bar drawn on
// a terminal.
#include "ProgressWindow.hpp"

#include "HostText.hpp"

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

namespace ReferenceHost {

namespace Selectors = HostSdk::Selectors;

namespace {

constexpr int BarWidth = 30;
// The largest bar value the 16-bit slot holds: a bar this long or longer may be scaled, so its
// units are not the add-on's things and only a share of the way is true of them.
constexpr std::int32_t SixteenBitEnd = 32767;
constexpr std::chrono::milliseconds PersonsMomentToStop {150};

} // namespace

ProgressWindow::ProgressWindow(AddOnList& addOnList, Transcript& sessionTranscript)
	: addOns(addOnList), transcript(sessionTranscript)
{
}

ProgressWindow::~ProgressWindow()
{
	if (bar != nullptr)
		transcript.SetEchoInterruption({}, {});
}

void ProgressWindow::DrawBarOn(std::ostream* stream)
{
	EraseBar();
	bar = stream;
	if (bar != nullptr)
		transcript.SetEchoInterruption([this] { EraseBar(); }, [this] { Draw(); });
	else
		transcript.SetEchoInterruption({}, {});
}

void ProgressWindow::Install(HostFunctionTable& table)
{
	table.SetCallObserver(HostSdk::Entry::ElementRead, [this] {
		if (elementReadsBeforeStop == 0 || --elementReadsBeforeStop > 0)
			return;
		StopAtCancelQuestion(1);
		// Longer than the add-on's update interval, so it asks before its next element.
		std::this_thread::sleep_for(PersonsMomentToStop);
	});
	table.Implement<HostSdk::Entry::ProgressText>(
		[this](ModuleToken token, const char* newText) { return SetText(token, newText); });
	table.Implement<HostSdk::Entry::ProgressEnd>([this](ModuleToken token) { return End(token); });
	const int entry = HostSdk::Entry::Interface;
	table.ImplementSelector(entry, Selectors::OpenProgressWindow, [this](ModuleToken token, void* first, void* second) {
		return Open(token, static_cast<const char*>(first), static_cast<const std::int16_t*>(second));
	});
	table.ImplementSelector(entry, Selectors::SetProgressPhase, [this](ModuleToken token, void* first, void* second) {
		return SetPhase(token, static_cast<const char*>(first), static_cast<const std::int32_t*>(second));
	});
	table.ImplementSelector(entry, Selectors::SetProgressValue, [this](ModuleToken token, void* first, void*) {
		return SetValue(token, static_cast<const std::int32_t*>(first));
	});
	table.ImplementSelector(
		entry, Selectors::ProgressCancelled, [this](ModuleToken token, void*, void*) { return AskCancelled(token); });
	table.ImplementSelector(
		entry, Selectors::CloseProgressWindow, [this](ModuleToken token, void*, void*) { return Close(token); });
}

void ProgressWindow::StopAtCancelQuestion(std::uint64_t n)
{
	stopCountdown = n;
}

HostStatus ProgressWindow::Open(ModuleToken token, const char* windowTitle, const std::int16_t* phases)
{
	++traffic.opens;
	if (addOns.FromToken(token) == nullptr)
		return HostSdk::StatusRefused;
	if (windowTitle == nullptr)
		return HostSdk::StatusBadParameter;
	Opened(windowTitle, phases != nullptr ? *phases : 1);
	return 0;
}

void ProgressWindow::Opened(const std::string& windowTitle, std::int16_t phases)
{
	// A window opened over an open one replaces it, as the host has only one.
	EraseBar();
	open = true;
	title = windowTitle;
	phaseCount = phases;
	label.clear();
	text.clear();
	barMaximum = 0;
	value = 0;
	ranged = false;
	stopRequested = false;
	transcript.Add(TranscriptKind::Progress, title + " (opened)");
	if (changed)
		changed();
}

HostStatus ProgressWindow::SetText(ModuleToken token, const char* newText)
{
	++traffic.texts;
	if (addOns.FromToken(token) == nullptr || !open)
		return HostSdk::StatusRefused;
	if (newText == nullptr)
		return HostSdk::StatusBadParameter;
	text = newText;
	Draw();
	return 0;
}

HostStatus ProgressWindow::SetPhase(ModuleToken token, const char* newLabel, const std::int32_t* maximum)
{
	++traffic.phases;
	if (addOns.FromToken(token) == nullptr || !open)
		return HostSdk::StatusRefused;
	if (newLabel == nullptr || maximum == nullptr || *maximum < 0)
		return HostSdk::StatusBadParameter;
	Ranged(newLabel, *maximum);
	return 0;
}

void ProgressWindow::Ranged(const std::string& newLabel, std::int32_t maximum)
{
	label = newLabel;
	barMaximum = maximum;
	ranged = true;
	transcript.Add(TranscriptKind::Progress, title + " " + LabelledReading());
	Draw();
}

HostStatus ProgressWindow::SetValue(ModuleToken token, const std::int32_t* newValue)
{
	++traffic.values;
	if (addOns.FromToken(token) == nullptr || !open)
		return HostSdk::StatusRefused;
	if (newValue == nullptr)
		return HostSdk::StatusBadParameter;
	// The bar value is a 16-bit number in a 32-bit slot.
	value = static_cast<std::int16_t>(*newValue);
	Draw();
	return 0;
}

HostStatus ProgressWindow::AskCancelled(ModuleToken token)
{
	++traffic.cancelQuestions;
	if (addOns.FromToken(token) == nullptr)
		return HostSdk::StatusRefused;
	return StopAsked() ? 1 : 0;
}

bool ProgressWindow::StopAsked()
{
	if (changed)
		changed();
	if (stopCountdown > 0 && --stopCountdown == 0 && open && !stopRequested) {
		stopRequested = true;
		EraseBar();
		transcript.Add(TranscriptKind::Progress,
			title + " (stopped by the person" + (ranged ? " with the bar at " + Reading() : "") + ")");
	}
	return open && stopRequested;
}

HostStatus ProgressWindow::Close(ModuleToken token)
{
	++traffic.closes;
	if (addOns.FromToken(token) == nullptr || !open)
		return HostSdk::StatusRefused;
	Closed();
	return 0;
}

void ProgressWindow::Closed(bool failed)
{
	EraseBar();
	open = false;
	// The bar is not brought to its end when a run ends, so the close tells how it ended.
	transcript.Add(TranscriptKind::Progress,
		title +
			(stopRequested   ? " (closed after the stop)"
					: failed ? " (closed: it failed)"
							 : " (done)"));
	stopRequested = false;
}

void ProgressWindow::OpenForHost(const std::string& windowTitle)
{
	Opened(windowTitle, 1);
}

void ProgressWindow::RangeForHost(const std::string& newLabel, std::int32_t maximum)
{
	if (open)
		Ranged(newLabel, maximum);
}

bool ProgressWindow::StepForHost(std::int32_t newValue)
{
	if (!open)
		return false;
	value = static_cast<std::int16_t>(std::min<std::int32_t>(newValue, INT16_MAX));
	Draw();
	return StopAsked();
}

void ProgressWindow::CloseForHost(bool failed)
{
	if (open)
		Closed(failed);
}

HostStatus ProgressWindow::End(ModuleToken token)
{
	++traffic.ends;
	if (addOns.FromToken(token) == nullptr)
		return HostSdk::StatusRefused;
	return 0;
}

std::string ProgressWindow::Reading() const
{
	if (!ranged)
		return {};
	const std::int64_t shown = std::clamp<std::int32_t>(value, 0, barMaximum);
	if (barMaximum < SixteenBitEnd)
		return Grouped(static_cast<std::uint64_t>(shown)) + " of " + Grouped(static_cast<std::uint64_t>(barMaximum));
	// Rounded down: the bar never reads as further along, or as full, before it is.
	return std::to_string(shown * 100 / barMaximum) + "%";
}

std::string ProgressWindow::LabelledReading() const
{
	return label.empty() ? Reading() : label + " " + Reading();
}

std::string ProgressWindow::BarText() const
{
	const std::int32_t shown = std::clamp<std::int32_t>(value, 0, barMaximum);
	const int filled = barMaximum > 0 ? static_cast<int>(static_cast<std::int64_t>(shown) * BarWidth / barMaximum) : 0;
	std::string drawn = "[" + std::string(static_cast<std::size_t>(filled), '#') +
		std::string(static_cast<std::size_t>(BarWidth - filled), '.') + "]";
	if (ranged)
		drawn += "  " + LabelledReading();
	if (!text.empty())
		drawn += "  " + text;
	return drawn;
}

void ProgressWindow::Draw()
{
	if (changed)
		changed();
	if (bar == nullptr || !open)
		return;
	const std::string line = title + "  " + BarText();
	*bar << '\r' << line;
	if (line.size() < drawnLength)
		*bar << std::string(drawnLength - line.size(), ' ');
	*bar << std::flush;
	drawnLength = std::max(drawnLength, line.size());
	barDrawn = true;
}

void ProgressWindow::EraseBar()
{
	if (bar == nullptr || !barDrawn)
		return;
	// Clears the line the bar took, so the transcript's next line starts on a clean line.
	*bar << '\r' << std::string(drawnLength, ' ') << '\r' << std::flush;
	barDrawn = false;
	drawnLength = 0;
}

} // namespace ReferenceHost
