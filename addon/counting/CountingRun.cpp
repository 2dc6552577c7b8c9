// The counting run, from the fresh result to the report, and its way back when stopped.
#include "counting/CountingRun.hpp"

#include "counting/CountElement.hpp"
#include "counting/CountReport.hpp"
#include "counting/CountResult.hpp"
#include "counting/DataRecordOverride.hpp"
#include "counting/ElementList.hpp"
#include "counting/SaturatingCount.hpp"
#include "counting/StoryFilter.hpp"
#include "shell/HostCalls.hpp"
#include "shell/Preferences.hpp"
#include "shell/ProgressWindow.hpp"
#include "shell/ResourceModuleScope.hpp"

#include <limits>
#include <memory>

namespace {

// The progress window's title, kept with the add-on: the host may hold on to it while the
// window is open.
char countingTitle[256];

// The progress window is closed on every way out of the run, once.
class OpenProgress {
public:
	OpenProgress()
	{
		{
			const ResourceModuleScope scope;
			LoadResourceString(ProgressStrings::List, ProgressStrings::CountingTitle, countingTitle);
		}
		window.Open(countingTitle);
	}
	~OpenProgress() { Close(); }
	OpenProgress(const OpenProgress&) = delete;
	OpenProgress& operator=(const OpenProgress&) = delete;

	ProgressWindow& Window() { return window; }
	void Close()
	{
		if (open) {
			open = false;
			window.Close();
		}
	}

private:
	ProgressWindow window;
	bool open = true;
};

std::uint32_t ProgressTotal(std::uint64_t elements)
{
	return elements < std::numeric_limits<std::uint32_t>::max() ? static_cast<std::uint32_t>(elements)
																: std::numeric_limits<std::uint32_t>::max();
}

// Counts one element of the list; false when it was left out.
bool VisitElement(CountResult& result, const StoryFilter& stories, const ElementRef& reference)
{
	// Types outside 0 to 33 reach a run only through a selection and have no place among
	// the booking types: they are left out of every sum, like elements the host filters out.
	if (reference.type < 0 || reference.type >= ElementTypes::NamedCount)
		return false;
	HostSdk::ElementRecord& element = SharedElementRecord();
	// Cleared, so nothing of the element before can be taken for this one's.
	HostSdk::ClearRecord(element);
	element.type = reference.type;
	element.index = reference.index;
	if (!HostCalls::PassesElementFilter(reference.type, reference.index, HostSdk::FilterVisible))
		return false;
	if (HostCalls::ReadElement(&element) != HostSdk::StatusOk)
		return false;
	if (!stories.Test(element.storyIndex))
		return false;
	AddSaturating(result.totalPolygons, CountElement(result, element));
	return true;
}

} // namespace

void CountingRun()
{
	CountResult* const previous = CurrentCountResult();
	auto fresh = std::make_unique<CountResult>();
	SetCurrentCountResult(fresh.get());
	try {
		Preferences& preferences = GetPreferences();
		ResetCountResult(*fresh, preferences.levelTable);
		const DataRecordOverride dataRecord;
		ElementList elements(preferences.selectionOnly, false);
		const StoryFilter stories(preferences.allStories, preferences.fromStory, preferences.toStory,
			elements.IsMarquee() && preferences.selectionOnly, false);
		fresh->defaultLod = preferences.defaultLevel;
		fresh->totalPolygons = 0;

		OpenProgress progress;
		progress.Window().SetTotal(ProgressTotal(elements.Size()));
		const bool finished = elements.ForEach([&](const ElementRef& reference) {
			if (!progress.Window().Step())
				return false;
			VisitElement(*fresh, stories, reference);
			return true;
		});
		if (!finished) {
			// Stopped by the user: the result before stays, and nothing is reported.
			SetCurrentCountResult(previous);
			fresh.reset();
			progress.Close();
		} else {
			progress.Close();
			WriteCountReport(*fresh);
			fresh.release();
			delete previous;
		}
		elements.Release();
	} catch (...) {
		// Whatever stopped the run, the result before is still the one the palette shows.
		SetCurrentCountResult(previous);
		throw;
	}
}
