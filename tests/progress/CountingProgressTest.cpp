// The progress window of a real counting run: the module counts when its palette opens, and
// the reference host's window shows the run, is asked whether to stop as often as the
// 0.1-second timer lets the module ask, and stops the run when a script's person says so. The
// clock is the test's: frozen, or moving a fixed step at every reading, so no test sleeps.
#include "Host.hpp"
#include "ProjectFile.hpp"
#include "ProjectGenerator.hpp"

#include "VX/Memory.hpp"
#include "VX/Timer.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using ReferenceHost::TranscriptKind;

constexpr std::size_t Elements = 400;

class CountingProgress : public ::testing::Test {
protected:
	void SetUp() override
	{
		static std::atomic<int> serial {0};
		folder = std::filesystem::temp_directory_path() /
				 ("facetally-progress-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
		std::filesystem::create_directories(folder);
		ReferenceHost::ProjectGeneratorSettings settings;
		settings.elements = Elements;
		settings.libraryParts = 5;
		settings.componentsPerElement = 2;
		const std::unique_ptr<ReferenceHost::Project> generated = ReferenceHost::GenerateProject(settings);
		std::string problem;
		ASSERT_TRUE(ReferenceHost::WriteProjectFile(*generated, folder / "large.json", problem)) << problem;

		liveHandles = VX::LiveHandleCount();
		host = std::make_unique<ReferenceHost::Host>(
			ReferenceHost::HostOptions {FACETALLY_ADDON_DIR, std::filesystem::path(FACETALLY_BINARY_DIR) / "help"});
		ASSERT_NE(host->LoadAddOn(std::filesystem::path(FACETALLY_ADDON_DIR) / "Facetally.addon"), nullptr)
			<< host->SessionTranscript().ToText(true);
		ASSERT_TRUE(host->OpenProject(folder / "large.json"));
	}

	void TearDown() override
	{
		host.reset();
		VX::SetClockForTesting({});
		EXPECT_EQ(VX::LiveHandleCount(), liveHandles);
		std::error_code ignored;
		std::filesystem::remove_all(folder, ignored);
	}

	// Every reading of the clock moves it on by the step: time passes as the module works.
	static void TickingClock(std::chrono::milliseconds step)
	{
		auto now = std::make_shared<std::chrono::nanoseconds>(std::chrono::seconds(1000));
		VX::SetClockForTesting([now, step] { return *now += step; });
	}

	// Opening the palette counts the project.
	void Count() { ASSERT_TRUE(host->ChooseMenuItem("Facetally")) << host->SessionTranscript().ToText(true); }

	std::vector<std::string> ProgressLines() { return host->SessionTranscript().Texts(TranscriptKind::Progress); }

	std::unique_ptr<ReferenceHost::Host> host;
	std::filesystem::path folder;

private:
	std::size_t liveHandles = 0;
};

TEST_F(CountingProgress, ARunFasterThanTheIntervalNeverAsksTheHost)
{
	VX::ManualClock frozen;
	host->Progress().ResetTraffic();
	Count();
	const ReferenceHost::ProgressTraffic& traffic = host->Progress().Traffic();
	EXPECT_EQ(traffic.opens, 1u);
	EXPECT_EQ(traffic.phases, 1u);
	EXPECT_EQ(traffic.values, 1u) << "only the range's first value";
	EXPECT_EQ(traffic.cancelQuestions, 0u);
	EXPECT_EQ(traffic.closes, 1u);
	EXPECT_EQ(traffic.ends, 1u);
	EXPECT_EQ(ProgressLines(), (std::vector<std::string> {"Counting... (opened)", "Counting... (closed at 0 of " +
																  std::to_string(host->Progress().BarMaximum()) + ")"}));
	EXPECT_GT(host->Progress().BarMaximum(), 0);
	EXPECT_FALSE(host->Report().Lines().empty()) << "the run finished and wrote its report";
}

TEST_F(CountingProgress, TheHostIsAskedOnlyAsTheTimerAllows)
{
	// A reading every 10 ms: each element takes at least one reading.
	TickingClock(std::chrono::milliseconds(10));
	Count();
	const ReferenceHost::ProgressTraffic& traffic = host->Progress().Traffic();
	EXPECT_GT(traffic.cancelQuestions, 0u);
	EXPECT_LE(traffic.cancelQuestions, Elements / 10) << "at most one question per tenth of a second";
	EXPECT_EQ(traffic.values, traffic.cancelQuestions + 1);
	EXPECT_EQ(host->Table().SelectorCallCount(HostSdk::Entry::Interface, HostSdk::Selectors::ProgressCancelled),
			  traffic.cancelQuestions);
	EXPECT_FALSE(host->Progress().IsOpen());
}

TEST_F(CountingProgress, APersonWhoStopsAtAChosenElementEndsTheRunRightAfterIt)
{
	// The real clock: the person's moment over the fifth element is what lets the add-on look.
	host->Progress().StopAtElementRead(5);
	Count();
	EXPECT_EQ(host->Table().CallCount(HostSdk::Entry::ElementRead), 5u) << "no element after the fifth is read";
	ASSERT_EQ(ProgressLines().size(), 3u);
	EXPECT_EQ(ProgressLines()[1], "Counting... (stopped by the person)");
	EXPECT_TRUE(host->Report().Lines().empty()) << "a stopped run writes no report";
}

TEST_F(CountingProgress, AStopEndsTheRunWithoutAReportAndBeepsTwice)
{
	TickingClock(std::chrono::milliseconds(10));
	host->Progress().StopAtCancelQuestion(2);
	const std::size_t beepsBefore = host->BeepsHeard();
	Count();
	EXPECT_EQ(host->Progress().Traffic().cancelQuestions, 2u) << "the run stops at the question that says stop";
	ASSERT_EQ(ProgressLines().size(), 3u);
	EXPECT_EQ(ProgressLines()[1], "Counting... (stopped by the person)");
	EXPECT_FALSE(host->Progress().IsOpen()) << "the module closes the window on its way out";
	EXPECT_TRUE(host->Report().Lines().empty()) << "a stopped run writes no report";
	EXPECT_EQ(host->BeepsHeard() - beepsBefore, 2u) << "one for the stop, one for the close";
}

TEST_F(CountingProgress, EveryRunEndsWithTheWarningBeep)
{
	VX::ManualClock frozen;
	const std::size_t beepsBefore = host->BeepsHeard();
	Count();
	EXPECT_EQ(host->BeepsHeard() - beepsBefore, 1u);
	const std::vector<ReferenceHost::TranscriptEntry>& entries = host->SessionTranscript().Entries();
	std::size_t closed = entries.size();
	std::size_t beep = entries.size();
	for (std::size_t index = 0; index < entries.size(); ++index) {
		if (entries[index].kind == TranscriptKind::Progress && entries[index].text.find("(closed") != std::string::npos)
			closed = index;
		if (entries[index].kind == TranscriptKind::Sound)
			beep = index;
	}
	EXPECT_LT(closed, beep) << "the beep follows the close";
}

} // namespace
