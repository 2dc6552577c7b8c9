// The progress window: its traffic with the host and the timer that limits it.
#include "shell/ProgressWindow.hpp"

#include "shell/HostCalls.hpp"
#include "shell/ResourceModuleScope.hpp"
#include "shell/ShellServices.hpp"

#include <algorithm>
#include <limits>

namespace {

// The bar's label, loaded once per range into module-wide storage: the host may keep the
// text it is given for as long as the window is open.
char barLabel[256];

} // namespace

void ProgressWindow::Open(const char* title)
{
	processed = 0;
	shownValue = 0;
	updateInterval = 0.1;
	phaseCount = 1;
	if (HostCalls::OpenProgressWindow(title, &phaseCount) != HostSdk::StatusOk)
		SoundWarningBeep();
	HostCalls::SetProgressText("");
}

void ProgressWindow::SetTotal(std::uint32_t n)
{
	total = n;
	if (n >= static_cast<std::uint32_t>(BarLimit)) {
		barMaximum = BarLimit;
		scale = static_cast<float>(BarLimit) / static_cast<float>(n);
	} else {
		barMaximum = static_cast<std::int32_t>(n);
		scale = 1.0f;
	}
	timer.Reset();
	timer.Start();
	{
		const ResourceModuleScope scope;
		LoadResourceString(ProgressStrings::List, ProgressStrings::BarLabel, barLabel);
		if (HostCalls::SetProgressPhase(barLabel, &barMaximum) != HostSdk::StatusOk)
			SoundWarningBeep();
	}
	shownValue = BarValue();
	if (HostCalls::SetProgressValue(&shownValue) != HostSdk::StatusOk)
		SoundWarningBeep();
}

bool ProgressWindow::Step()
{
	if (processed < std::numeric_limits<std::int32_t>::max())
		++processed;
	if (timer.GetElapsedSeconds() < updateInterval)
		return true;
	// A host without the stop question cannot have been asked to stop; taking its "no such
	// operation" for a stop would end every run after a tenth of a second.
	const HostSdk::HostStatus stopAnswer = HostCalls::AskProgressCancelled();
	if (stopAnswer != HostSdk::StatusOk && stopAnswer != HostSdk::StatusMissingEntry) {
		SoundWarningBeep();
		timer.Stop();
		return false;
	}
	timer.Reset();
	timer.Start();
	shownValue = BarValue();
	HostCalls::SetProgressValue(&shownValue);
	return true;
}

void ProgressWindow::Close()
{
	HostCalls::CloseProgressWindow();
	HostCalls::EndProgress();
	SoundWarningBeep();
}

std::int16_t ProgressWindow::BarValue() const
{
	// More steps than the total would carry a 16-bit value past its end and wrap it negative.
	const float position = std::min(static_cast<float>(processed) * scale, static_cast<float>(barMaximum));
	return static_cast<std::int16_t>(static_cast<std::int32_t>(position));
}
