// The add-on's progress window against the reference host's window: the module is loaded by
// the host (so its token is known and its resources are open), and the add-on's code linked
// into this program is handed the same table and token, as the loaded module is. A clock
// that moves only when told stands in for time. The host's window, its counters and its
// transcript show what the add-on did.
#include "ProgressWindow.hpp"
#include "ModuleHost.hpp"

#include "shell/ModuleState.hpp"
#include "shell/ProgressWindow.hpp"

#include "VX/Timer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ReferenceHost::TranscriptKind;
namespace Selectors = HostSdk::Selectors;
using Lines = std::vector<std::string>;

class ProgressWindowTest : public ModuleHostTest {
protected:
	void SetUp() override
	{
		ModuleHostTest::SetUp();
		saved = Module();
		addOn = &LoadModule();
		HandOver();
	}

	void TearDown() override
	{
		Module() = saved;
		ModuleHostTest::TearDown();
	}

	// The host's table as it is now, to the add-on's code in this program.
	void HandOver()
	{
		const HostSdk::HostFunction* slots = host->Table().Slots();
		std::copy(slots, slots + HostSdk::HostFunctionCount, Module().hostTable.begin());
		Module().tableSet = true;
		Module().token = addOn->Token();
		Module().resourceModuleId = addOn->ResourceModule();
	}

	ReferenceHost::ProgressWindow& HostWindow() { return host->Progress(); }
	Lines Progress() { return host->SessionTranscript().Texts(TranscriptKind::Progress); }

	// Steps n elements, each the given seconds after the one before; answers the number of
	// steps that said go on.
	int Run(int n, double seconds)
	{
		int goOn = 0;
		for (int element = 0; element < n; ++element) {
			clock.Advance(seconds);
			goOn += window.Step() ? 1 : 0;
		}
		return goOn;
	}

	VX::ManualClock clock;
	ProgressWindow window;
	ReferenceHost::AddOn* addOn = nullptr;

private:
	ModuleState saved;
};

TEST_F(ProgressWindowTest, TheHostShowsTheTitleLabelRangeAndCount)
{
	window.Open("Counting...");
	EXPECT_EQ(HostWindow().Title(), "Counting...");
	EXPECT_EQ(HostWindow().PhaseCount(), 1);
	window.SetTotal(100);
	EXPECT_EQ(HostWindow().Label(), "Processed elements:");
	EXPECT_EQ(HostWindow().BarMaximum(), 100);
	EXPECT_EQ(HostWindow().Value(), 0);
	EXPECT_EQ(Run(50, 0.1), 50);
	EXPECT_EQ(HostWindow().Value(), 50);
	window.SetTotal(80);
	EXPECT_EQ(HostWindow().Value(), 50) << "a new range shows the elements already processed";
	window.Close();
	EXPECT_FALSE(HostWindow().IsOpen());
	EXPECT_EQ(host->BeepsHeard(), 1u) << "the close beeps";
}

// The bar reads as elements done of elements, or as a share where its units may be scaled;
// how the run ended is told, as the bar is left where it stood.
TEST_F(ProgressWindowTest, APersonReadsTheBarAndHowTheRunEnded)
{
	const struct {
		const char* what;
		std::uint32_t total;
		int steps;
		bool stop;
		bool close;
		const char* reading;
		Lines lines; // after the opening
	} cases[] = {
		{"mid-run", 20000, 1234, false, false, "1,234 of 20,000", {"Counting... Processed elements: 0 of 20,000"}},
		{"to its end", 44, 44, false, true, "44 of 44",
			{"Counting... Processed elements: 0 of 44", "Counting... (done)"}},
		{"stopped", 44, 12, true, true, "12 of 44",
			{"Counting... Processed elements: 0 of 44", "Counting... (stopped by the person with the bar at 12 of 44)",
				"Counting... (closed after the stop)"}},
		{"at the 16-bit end, never full too soon", 32767, 32766, false, false, "99%",
			{"Counting... Processed elements: 0%"}},
		{"scaled", 65534, 65534, false, true, "100%", {"Counting... Processed elements: 0%", "Counting... (done)"}},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		ProgressWindow fresh;
		fresh.Open("Counting...");
		const std::size_t opened = Progress().size();
		fresh.SetTotal(row.total);
		for (int step = 1; step < row.steps; ++step)
			fresh.Step();
		clock.Advance(0.1);
		fresh.Step();
		if (row.stop) {
			HostWindow().StopAtCancelQuestion(1);
			clock.Advance(0.1);
			EXPECT_FALSE(fresh.Step());
		}
		EXPECT_EQ(HostWindow().Reading(), row.reading);
		if (row.close)
			fresh.Close();
		const Lines all = Progress();
		EXPECT_EQ(Lines(all.begin() + static_cast<std::ptrdiff_t>(opened), all.end()), row.lines);
	}
}

// The host's bar is 16 bits: larger runs are scaled, and the bar never passes its end.
TEST_F(ProgressWindowTest, TheBarFitsTheHostsSixteenBits)
{
	const struct {
		std::uint32_t total;
		int steps;
		std::int32_t maximum;
		std::int32_t value;
	} cases[] = {
		{65534, 3, 32767, 1}, // half a unit each, truncated
		{32767, 3, 32767, 3}, {32766, 3, 32766, 3}, {4000000000u, 5, 32767, 0}, {2, 5, 2, 2},
		{32767, 40001, 32767, 32767}, // a wrapped 16-bit value would be negative
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.total);
		ProgressWindow fresh;
		fresh.Open("Counting...");
		fresh.SetTotal(row.total);
		EXPECT_EQ(HostWindow().BarMaximum(), row.maximum);
		for (int step = 1; step < row.steps; ++step)
			fresh.Step();
		clock.Advance(0.1);
		fresh.Step();
		EXPECT_EQ(HostWindow().Value(), row.value);
		fresh.Close();
	}
}

TEST_F(ProgressWindowTest, TheHostIsAskedAtMostTenTimesASecond)
{
	window.Open("Counting...");
	window.SetTotal(20000);
	host->Table().ResetCallCounts();
	HostWindow().ResetTraffic();
	EXPECT_EQ(Run(999, 0.0), 999);
	EXPECT_EQ(host->Table().TotalCallCount(), 0u) << "steps within the interval never reach the host";
	EXPECT_EQ(Run(9, 0.011), 9);
	EXPECT_EQ(host->Table().TotalCallCount(), 0u);
	// Two seconds, ten thousand elements.
	EXPECT_EQ(Run(10000, 0.0002), 10000);
	EXPECT_GE(HostWindow().Traffic().cancelQuestions, 19u);
	EXPECT_LE(HostWindow().Traffic().cancelQuestions, 20u);
	EXPECT_EQ(HostWindow().Traffic().values, HostWindow().Traffic().cancelQuestions);
	EXPECT_EQ(host->Table().SelectorCallCount(HostSdk::Entry::Interface, Selectors::ProgressCancelled),
		HostWindow().Traffic().cancelQuestions);
	EXPECT_EQ(host->Table().TotalCallCount(), 2 * HostWindow().Traffic().cancelQuestions);

	// The interval starts again after each update.
	HostWindow().ResetTraffic();
	clock.Advance(0.1);
	window.Step();
	clock.Advance(0.099);
	window.Step();
	EXPECT_EQ(HostWindow().Traffic().cancelQuestions, 1u);
	clock.Advance(0.001);
	window.Step();
	EXPECT_EQ(HostWindow().Traffic().cancelQuestions, 2u);
	window.Close();
}

// A failing call is only signalled by the beep; the window is used on regardless.
TEST_F(ProgressWindowTest, FailingHostCallsBeepAndTheRunGoesOn)
{
	const struct {
		const char* what;
		std::uint32_t selector;
		std::size_t beeps; // of opening, ranging, two steps and closing
		bool goesOn;
	} cases[] = {
		// The window the host did not open refuses the range and the first value too.
		{"the opening", Selectors::OpenProgressWindow, 4, true},
		{"the range", Selectors::SetProgressPhase, 2, true},
		{"the first value, not the later ones", Selectors::SetProgressValue, 2, true},
		{"the stop question stops, at each question", Selectors::ProgressCancelled, 3, false},
		{"the closing", Selectors::CloseProgressWindow, 1, true},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		host->Table().ClearAllForcedStatuses();
		host->Table().ForceSelectorStatus(HostSdk::Entry::Interface, row.selector, HostSdk::StatusRefused);
		const std::size_t before = host->BeepsHeard();
		ProgressWindow fresh;
		fresh.Open("Counting...");
		fresh.SetTotal(10);
		clock.Advance(0.1);
		EXPECT_EQ(fresh.Step(), row.goesOn);
		clock.Advance(0.1);
		fresh.Step();
		fresh.Close();
		EXPECT_EQ(host->BeepsHeard() - before, row.beeps);
	}
}

TEST_F(ProgressWindowTest, AHostWithoutTheInterfaceOperationNeverStopsTheRun)
{
	HostWindow().StopAtCancelQuestion(1);
	host->Table().EmptyEntry(HostSdk::Entry::Interface);
	HandOver();
	window.Open("Counting...");
	window.SetTotal(1000);
	EXPECT_EQ(Run(5, 0.1), 5) << "no stop question could be asked, so no stop was asked for";
	EXPECT_EQ(host->BeepsHeard(), 3u) << "only the failed opening, range and first value";
	window.Close();
}

TEST_F(ProgressWindowTest, TheHostRefusesAWindowThatIsNotOpen)
{
	ProgressWindow notOpened;
	notOpened.SetTotal(10);
	EXPECT_EQ(host->BeepsHeard(), 2u) << "the range and the first value fail, each with a beep";
	notOpened.Close();
	EXPECT_EQ(host->BeepsHeard(), 3u);
	EXPECT_TRUE(Progress().empty());
}

TEST_F(ProgressWindowTest, APersonAtATerminalSeesTheBarMoveAroundTranscriptLines)
{
	std::ostringstream terminal;
	host->SessionTranscript().EchoTo(&terminal, false);
	HostWindow().DrawBarOn(&terminal);
	window.Open("Counting...");
	window.SetTotal(10);
	Run(5, 0.1);
	const std::string bar = "Counting...  [###############...............]  Processed elements: 5 of 10";
	EXPECT_EQ(HostWindow().BarText(), bar.substr(13));
	EXPECT_NE(terminal.str().find("\r" + bar), std::string::npos) << terminal.str();
	terminal.str({});
	host->SessionTranscript().Add(TranscriptKind::Notice, "A note");
	EXPECT_EQ(terminal.str(), "\r" + std::string(bar.size(), ' ') + "\rA note\n\r" + bar);
	host->SessionTranscript().EchoTo(nullptr, false);
	window.Close();
	EXPECT_EQ(terminal.str().back(), '\r') << "the bar's line is cleared for the transcript";
	HostWindow().DrawBarOn(nullptr);
	host->SessionTranscript().EchoTo(&terminal, false);
	terminal.str({});
	host->SessionTranscript().Add(TranscriptKind::Notice, "Another note");
	EXPECT_EQ(terminal.str(), "Another note\n");
}

} // namespace
