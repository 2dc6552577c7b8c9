// The add-on's progress window and the reference host's, talking through the host's function
// table: the module is loaded by the host (so its token is known and its resources are open),
// and the add-on's code linked into this program is handed the same table and token, as the
// loaded module is. A clock that moves only when told stands in for time. What the host's
// window shows, what it counts, the stop a script plans and the bar a terminal sees are
// checked against what the add-on did.
#include "Host.hpp"
#include "ProgressWindow.hpp"

#include "shell/ModuleState.hpp"
#include "shell/ProgressWindow.hpp"

#include "VX/Memory.hpp"
#include "VX/Timer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace {

using ReferenceHost::TranscriptKind;

constexpr std::uint32_t CancelSelector = HostSdk::Selectors::ProgressCancelled;

class ProgressWindowThroughHost : public ::testing::Test {
protected:
	void SetUp() override
	{
		liveHandles = VX::LiveHandleCount();
		host = std::make_unique<ReferenceHost::Host>(
			ReferenceHost::HostOptions {FACETALLY_ADDON_DIR, std::filesystem::path(FACETALLY_BINARY_DIR) / "help"});
		ReferenceHost::AddOn* addOn = host->LoadAddOn(std::filesystem::path(FACETALLY_ADDON_DIR) / "Facetally.addon");
		ASSERT_NE(addOn, nullptr) << host->SessionTranscript().ToText(true);
		const HostSdk::HostFunction* slots = host->Table().Slots();
		std::copy(slots, slots + HostSdk::HostFunctionCount, Module().hostTable.begin());
		Module().tableSet = true;
		Module().token = addOn->Token();
		Module().resourceModuleId = addOn->ResourceModule();
		host->Table().ResetCallCounts();
	}

	void TearDown() override
	{
		Module().hostTable.fill(nullptr);
		Module().tableSet = false;
		Module().token = 0;
		Module().resourceModuleId = -1;
		host.reset();
		EXPECT_EQ(VX::LiveHandleCount(), liveHandles);
	}

	ReferenceHost::ProgressWindow& HostWindow() { return host->Progress(); }

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
	std::unique_ptr<ReferenceHost::Host> host;

private:
	std::size_t liveHandles = 0;
};

TEST_F(ProgressWindowThroughHost, TheHostShowsTheTitleLabelRangeAndCount)
{
	window.Open("Counting...");
	EXPECT_TRUE(HostWindow().IsOpen());
	EXPECT_EQ(HostWindow().Title(), "Counting...");
	EXPECT_EQ(HostWindow().PhaseCount(), 1);
	window.SetTotal(100);
	EXPECT_EQ(HostWindow().Label(), "Processed elements:");
	EXPECT_EQ(HostWindow().BarMaximum(), 100);
	EXPECT_EQ(HostWindow().Value(), 0);
	EXPECT_EQ(Run(50, 0.1), 50);
	EXPECT_EQ(HostWindow().Value(), 50);
	window.Close();
	EXPECT_FALSE(HostWindow().IsOpen());
	EXPECT_EQ(host->SessionTranscript().Texts(TranscriptKind::Progress),
			  (std::vector<std::string> {"Counting... (opened)", "Counting... (closed at 50 of 100)"}));
	EXPECT_EQ(host->BeepsHeard(), 1u) << "the close beeps";
	EXPECT_TRUE(host->SessionTranscript().Contains(TranscriptKind::Sound, "warning beep"));
}

TEST_F(ProgressWindowThroughHost, ALargeRunIsShownScaled)
{
	window.Open("Counting...");
	window.SetTotal(65534);
	EXPECT_EQ(HostWindow().BarMaximum(), 32767);
	Run(3, 0.1);
	EXPECT_EQ(HostWindow().Value(), 1);
	window.Close();
}

TEST_F(ProgressWindowThroughHost, TheHostIsAskedAboutTenTimesASecond)
{
	window.Open("Counting...");
	window.SetTotal(20000);
	host->Table().ResetCallCounts();
	HostWindow().ResetTraffic();
	// Two seconds, ten thousand elements.
	EXPECT_EQ(Run(10000, 0.0002), 10000);
	EXPECT_GE(HostWindow().Traffic().cancelQuestions, 19u);
	EXPECT_LE(HostWindow().Traffic().cancelQuestions, 20u);
	EXPECT_EQ(HostWindow().Traffic().values, HostWindow().Traffic().cancelQuestions);
	EXPECT_EQ(host->Table().SelectorCallCount(HostSdk::Entry::Interface, CancelSelector),
			  HostWindow().Traffic().cancelQuestions);
	EXPECT_EQ(host->Table().TotalCallCount(), 2 * HostWindow().Traffic().cancelQuestions);
	window.Close();
}

TEST_F(ProgressWindowThroughHost, StepsWithinTheIntervalNeverReachTheHost)
{
	window.Open("Counting...");
	window.SetTotal(1000);
	host->Table().ResetCallCounts();
	EXPECT_EQ(Run(999, 0.0), 999);
	EXPECT_EQ(host->Table().TotalCallCount(), 0u);
	window.Close();
}

TEST_F(ProgressWindowThroughHost, AStopPlannedAtTheThirdQuestionEndsTheRunThere)
{
	HostWindow().StopAtCancelQuestion(3);
	window.Open("Counting...");
	window.SetTotal(1000);
	int processed = 0;
	for (; processed < 1000; ++processed) {
		clock.Advance(0.04);
		if (!window.Step())
			break;
	}
	// Questions at the 3rd, 6th and 9th element (0.12 s, 0.24 s, 0.36 s).
	EXPECT_EQ(processed, 8) << "the 9th step brought the third question";
	EXPECT_EQ(HostWindow().Traffic().cancelQuestions, 3u);
	EXPECT_TRUE(HostWindow().StopRequested());
	EXPECT_EQ(host->BeepsHeard(), 1u) << "the stop beeps";
	window.Close();
	EXPECT_EQ(host->BeepsHeard(), 2u);
	EXPECT_EQ(host->SessionTranscript().Texts(TranscriptKind::Progress),
			  (std::vector<std::string> {"Counting... (opened)", "Counting... (stopped by the person)",
										 "Counting... (closed at 6 of 1000)"}));
	EXPECT_FALSE(HostWindow().StopRequested());
}

TEST_F(ProgressWindowThroughHost, APersonAtATerminalSeesTheBarMoveAndGo)
{
	std::ostringstream terminal;
	HostWindow().DrawBarOn(&terminal);
	window.Open("Counting...");
	window.SetTotal(10);
	Run(5, 0.1);
	EXPECT_EQ(HostWindow().BarText(), "[###############...............]        5 / 10  Processed elements:");
	const std::string drawn = terminal.str();
	EXPECT_NE(drawn.find("\rCounting...  [###############...............]        5 / 10  Processed elements:"),
			  std::string::npos)
		<< drawn;
	window.Close();
	const std::string after = terminal.str();
	EXPECT_EQ(after.back(), '\r') << "the bar's line is cleared for the transcript";
	EXPECT_EQ(after.find('\n'), std::string::npos) << "the bar is redrawn in place";
}

TEST_F(ProgressWindowThroughHost, TranscriptLinesOnTheTerminalStepAroundTheBar)
{
	std::ostringstream terminal;
	host->SessionTranscript().EchoTo(&terminal, false);
	HostWindow().DrawBarOn(&terminal);
	window.Open("Counting...");
	window.SetTotal(10);
	Run(3, 0.1);
	terminal.str({});
	host->SessionTranscript().Add(TranscriptKind::Notice, "A note");
	const std::string bar = "Counting...  " + HostWindow().BarText();
	EXPECT_EQ(terminal.str(), "\r" + std::string(bar.size(), ' ') + "\rA note\n\r" + bar);
	window.Close();
	HostWindow().DrawBarOn(nullptr);
	terminal.str({});
	host->SessionTranscript().Add(TranscriptKind::Notice, "Another note");
	EXPECT_EQ(terminal.str(), "Another note\n");
}

TEST_F(ProgressWindowThroughHost, TheHostRefusesAWindowThatIsNotOpen)
{
	ProgressWindow notOpened;
	notOpened.SetTotal(10);
	EXPECT_EQ(host->BeepsHeard(), 2u) << "the range and the first value fail, each with a beep";
	notOpened.Close();
	EXPECT_EQ(host->BeepsHeard(), 3u);
	EXPECT_TRUE(host->SessionTranscript().Texts(TranscriptKind::Progress).empty());
}

} // namespace
