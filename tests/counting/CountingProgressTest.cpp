// The progress window of a real counting run: the module counts when its palette opens, and
// the reference host's window shows the run, is asked whether to stop as often as the
// 0.1-second timer lets the module ask, and stops the run when a person says so. The clock is
// the test's: frozen, or moving a fixed step at every reading, so no test sleeps.
#include "ModuleHost.hpp"
#include "ProjectGenerator.hpp"

#include "VX/Timer.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using ReferenceHost::TranscriptKind;

constexpr std::size_t Elements = 400;

class CountingProgress : public ModuleHostTest {
protected:
	void SetUp() override
	{
		ModuleHostTest::SetUp();
		StartWithProject();
	}

	// A fresh host with the module and a large generated project open.
	void StartWithProject()
	{
		StartHost();
		ReferenceHost::ProjectGeneratorSettings settings;
		settings.elements = Elements;
		settings.libraryParts = 5;
		settings.componentsPerElement = 2;
		LoadModule();
		ASSERT_TRUE(host->OpenProject(ReferenceHost::GenerateProject(settings)));
	}

	void TearDown() override
	{
		ModuleHostTest::TearDown();
		VX::SetClockForTesting({});
	}

	// Every reading of the clock moves it on by the step: time passes as the module works.
	static void TickingClock(std::chrono::milliseconds step)
	{
		auto now = std::make_shared<std::chrono::nanoseconds>(std::chrono::seconds(1000));
		VX::SetClockForTesting([now, step] { return *now += step; });
	}

	std::vector<std::string> ProgressLines() { return host->SessionTranscript().Texts(TranscriptKind::Progress); }
};

TEST_F(CountingProgress, ARunFasterThanTheIntervalNeverAsksTheHostAndEndsWithABeep)
{
	VX::ManualClock frozen;
	host->Progress().ResetTraffic();
	ChooseFacetally();
	const ReferenceHost::ProgressTraffic& traffic = host->Progress().Traffic();
	EXPECT_EQ(traffic.opens, 1u);
	EXPECT_EQ(traffic.phases, 1u);
	EXPECT_EQ(traffic.values, 1u) << "only the range's first value";
	EXPECT_EQ(traffic.cancelQuestions, 0u);
	EXPECT_EQ(traffic.closes, 1u);
	EXPECT_EQ(traffic.ends, 1u);
	EXPECT_EQ(ProgressLines(),
		(std::vector<std::string> {"Counting... (opened)",
			"Counting... Processed elements: 0 of " + std::to_string(Elements), "Counting... (done)"}));
	EXPECT_FALSE(host->Report().Lines().empty()) << "the run finished and wrote its report";
	EXPECT_EQ(host->BeepsHeard(), 1u);
	EXPECT_NE(host->SessionTranscript().ToText(false).find("progress Counting... (done)\nsound   warning beep\n"),
		std::string::npos)
		<< "the beep follows the close";
}

TEST_F(CountingProgress, TheHostIsAskedOnlyAsTheTimerAllows)
{
	// A reading every 10 ms: each element takes at least one reading.
	TickingClock(std::chrono::milliseconds(10));
	ChooseFacetally();
	const ReferenceHost::ProgressTraffic& traffic = host->Progress().Traffic();
	EXPECT_GT(traffic.cancelQuestions, 0u);
	EXPECT_LE(traffic.cancelQuestions, Elements / 10) << "at most one question per tenth of a second";
	EXPECT_EQ(traffic.values, traffic.cancelQuestions + 1);
	EXPECT_FALSE(host->Progress().IsOpen());
}

TEST_F(CountingProgress, AStopEndsTheRunWithoutAReport)
{
	const struct {
		const char* what;
		bool ticking;
		int atElement;
		int atQuestion;
	} cases[] = {
		// The real clock: the person's moment over the fifth element is what lets the add-on look.
		{"a person stops at the fifth element", false, 5, 0},
		{"a person answers the second question", true, 0, 2},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		StartWithProject();
		if (row.ticking)
			TickingClock(std::chrono::milliseconds(10));
		if (row.atElement > 0)
			host->Progress().StopAtElementRead(row.atElement);
		if (row.atQuestion > 0)
			host->Progress().StopAtCancelQuestion(row.atQuestion);
		ChooseFacetally();
		if (row.atElement > 0) {
			EXPECT_EQ(Calls(HostSdk::Entry::ElementRead), static_cast<std::uint64_t>(row.atElement))
				<< "no element after the chosen one is read";
		}
		if (row.atQuestion > 0) {
			EXPECT_EQ(host->Progress().Traffic().cancelQuestions, static_cast<std::uint64_t>(row.atQuestion));
		}
		ASSERT_EQ(ProgressLines().size(), 4u);
		EXPECT_EQ(ProgressLines()[2].rfind("Counting... (stopped by the person with the bar at ", 0), 0u)
			<< ProgressLines()[2];
		EXPECT_EQ(ProgressLines()[3], "Counting... (closed after the stop)");
		EXPECT_FALSE(host->Progress().IsOpen()) << "the module closes the window on its way out";
		EXPECT_TRUE(host->Report().Lines().empty()) << "a stopped run writes no report";
		EXPECT_EQ(host->BeepsHeard(), 2u) << "one for the stop, one for the close";
	}
}

} // namespace
