// The add-on's progress window against a recording fake host and a clock that moves only when
// told: the bar's range and scale, the traffic the 0.1-second timer lets through, the stop
// request, and the warning beeps. Every host call and every beep is recorded in order.
#include "shell/ModuleState.hpp"
#include "shell/ProgressWindow.hpp"

#include "HostSdk/HostFunctions.hpp"
#include "VX/ResourceManager.hpp"
#include "VX/Timer.hpp"
#include "Win/Windows.hpp"

#include "OwnModuleResources.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace HostSdk;

// What the host saw, one line per call: "IPWD Counting... 1", "SPRV 50", "beep", ...
std::vector<std::string> traffic;
std::map<std::string, HostStatus> answers;

HostStatus Answer(const std::string& what)
{
	const auto found = answers.find(what);
	return found == answers.end() ? 0 : found->second;
}

HostStatus Interface(ModuleToken, std::uint32_t selector, void* first, void* second)
{
	std::string line;
	if (selector == Selectors::OpenProgressWindow) {
		line = "IPWD " + std::string(static_cast<const char*>(first)) + " " +
			   std::to_string(*static_cast<const std::int16_t*>(second));
	} else if (selector == Selectors::SetProgressPhase) {
		line = "SPRP " + std::string(static_cast<const char*>(first)) + " " +
			   std::to_string(*static_cast<const std::int32_t*>(second));
	} else if (selector == Selectors::SetProgressValue) {
		line = "SPRV " + std::to_string(*static_cast<const std::int32_t*>(first)) +
			   (second == nullptr ? "" : " (second parameter given)");
	} else if (selector == Selectors::ProgressCancelled) {
		line = std::string("CANC") + (first == nullptr && second == nullptr ? "" : " (parameters given)");
	} else if (selector == Selectors::CloseProgressWindow) {
		line = std::string("CPWD") + (first == nullptr && second == nullptr ? "" : " (parameters given)");
	} else {
		line = "unexpected selector";
	}
	traffic.push_back(line);
	return Answer(line.substr(0, 4));
}

HostStatus ProgressText(ModuleToken, const char* text)
{
	traffic.push_back("text \"" + std::string(text) + "\"");
	return 0;
}

HostStatus ProgressEnd(ModuleToken)
{
	traffic.push_back("end");
	return 0;
}

template <int EntryNumber>
HostFunction SlotOf(EntryFunction<EntryNumber> function)
{
	return reinterpret_cast<HostFunction>(function);
}

class ProgressWindowTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		traffic.clear();
		answers.clear();
		auto& table = Module().hostTable;
		table.fill(nullptr);
		table[Entry::Interface] = SlotOf<Entry::Interface>(&Interface);
		table[Entry::ProgressText] = SlotOf<Entry::ProgressText>(&ProgressText);
		table[Entry::ProgressEnd] = SlotOf<Entry::ProgressEnd>(&ProgressEnd);
		Module().token = 0x7E57u;
		ASSERT_TRUE(resources.Added()) << "the module's own string lists are linked into this program";
		previousObserver = Win::SetBeepObserver([](UINT type) {
			traffic.push_back(type == MB_ICONEXCLAMATION ? "beep" : "other beep");
		});
	}

	void TearDown() override
	{
		Win::SetBeepObserver(previousObserver);
		Module().hostTable.fill(nullptr);
		Module().token = 0;
	}

	// Opens and ranges a window, then forgets the traffic so far.
	void OpenWithTotal(std::uint32_t n)
	{
		window.Open("Counting...");
		window.SetTotal(n);
		traffic.clear();
	}

	// Steps n times, each step an interval of the clock apart; answers how many said go on.
	int StepEvery(int n, double seconds)
	{
		int goOn = 0;
		for (int step = 0; step < n; ++step) {
			clock.Advance(seconds);
			goOn += window.Step() ? 1 : 0;
		}
		return goOn;
	}

	VX::ManualClock clock;
	ProgressWindow window;
	Win::BeepObserver previousObserver;
	OwnModuleResources resources;
};

using Lines = std::vector<std::string>;

// ---- Opening and the range ----------------------------------------------------------------

TEST_F(ProgressWindowTest, OpenHandsTheTitleAndOnePhaseThenAnEmptyText)
{
	window.Open("Counting...");
	EXPECT_EQ(traffic, (Lines {"IPWD Counting... 1", "text \"\""}));
	EXPECT_EQ(window.Processed(), 0);
	EXPECT_EQ(window.ShownValue(), 0);
}

TEST_F(ProgressWindowTest, AHundredElementsShowTheCountItself)
{
	window.Open("Counting...");
	window.SetTotal(100);
	EXPECT_EQ(window.BarMaximum(), 100);
	EXPECT_EQ(window.Scale(), 1.0f);
	EXPECT_EQ(traffic, (Lines {"IPWD Counting... 1", "text \"\"", "SPRP Processed elements: 100", "SPRV 0"}));

	traffic.clear();
	EXPECT_EQ(StepEvery(37, 0.1), 37);
	EXPECT_EQ(window.ShownValue(), 37);
	EXPECT_EQ(traffic.back(), "SPRV 37");
}

TEST_F(ProgressWindowTest, LargeRunsAreScaledToTheSixteenBitBar)
{
	window.Open("Counting...");
	window.SetTotal(65534);
	EXPECT_EQ(window.BarMaximum(), 32767);
	EXPECT_EQ(window.Scale(), 0.5f);
	EXPECT_EQ(window.Total(), 65534u);
	traffic.clear();
	EXPECT_EQ(StepEvery(3, 0.1), 3);
	EXPECT_EQ(window.ShownValue(), 1) << "3 elements at half a unit each, truncated";
	EXPECT_EQ(traffic, (Lines {"CANC", "SPRV 0", "CANC", "SPRV 1", "CANC", "SPRV 1"}));
}

TEST_F(ProgressWindowTest, ExactlyTheBarLimitTakesTheScaledPathWithScaleOne)
{
	window.Open("Counting...");
	window.SetTotal(32767);
	EXPECT_EQ(window.BarMaximum(), 32767);
	EXPECT_EQ(window.Scale(), 1.0f);
	window.SetTotal(32766);
	EXPECT_EQ(window.BarMaximum(), 32766);
	window.SetTotal(4000000000u);
	EXPECT_EQ(window.BarMaximum(), 32767);
	EXPECT_EQ(window.Scale(), 32767.0f / 4000000000.0f);
}

TEST_F(ProgressWindowTest, SetTotalShowsTheElementsAlreadyProcessed)
{
	window.Open("Counting...");
	window.SetTotal(10);
	StepEvery(4, 0.1);
	traffic.clear();
	window.SetTotal(8);
	EXPECT_EQ(traffic, (Lines {"SPRP Processed elements: 8", "SPRV 4"}));
}

TEST_F(ProgressWindowTest, TheBarNeverShowsMoreThanItsEnd)
{
	OpenWithTotal(2);
	StepEvery(5, 0.1);
	EXPECT_EQ(window.ShownValue(), 2);
	OpenWithTotal(32767);
	for (int step = 0; step < 40000; ++step)
		window.Step();
	clock.Advance(0.1);
	window.Step();
	EXPECT_EQ(window.Processed(), 40001);
	EXPECT_EQ(window.ShownValue(), 32767) << "a wrapped 16-bit value would be negative";
}

// ---- The timer ------------------------------------------------------------------------------

TEST_F(ProgressWindowTest, StepsWithinATenthOfASecondNeverReachTheHost)
{
	OpenWithTotal(100000);
	EXPECT_EQ(StepEvery(1000, 0.0), 1000);
	EXPECT_EQ(StepEvery(9, 0.011), 9);
	EXPECT_TRUE(traffic.empty()) << traffic.front();
	EXPECT_EQ(window.Processed(), 1009);
}

TEST_F(ProgressWindowTest, TheHostIsAskedAtMostTenTimesASecond)
{
	OpenWithTotal(100000);
	// Ten seconds of elements, a thousand a second.
	EXPECT_EQ(StepEvery(10000, 0.001), 10000);
	int questions = 0;
	for (const std::string& line : traffic)
		questions += line == "CANC" ? 1 : 0;
	EXPECT_GE(questions, 99);
	EXPECT_LE(questions, 100);
	EXPECT_EQ(traffic.size(), 2u * static_cast<std::size_t>(questions)) << "one bar update per question";
}

TEST_F(ProgressWindowTest, TheIntervalStartsAgainAfterEachUpdate)
{
	OpenWithTotal(1000);
	clock.Advance(0.1);
	window.Step();
	EXPECT_EQ(traffic, (Lines {"CANC", "SPRV 1"}));
	clock.Advance(0.099);
	window.Step();
	EXPECT_EQ(traffic.size(), 2u);
	clock.Advance(0.001);
	window.Step();
	EXPECT_EQ(traffic, (Lines {"CANC", "SPRV 1", "CANC", "SPRV 3"}));
}

// ---- Stopping -------------------------------------------------------------------------------

TEST_F(ProgressWindowTest, AStopIsNoticedAtTheFirstStepAfterTheInterval)
{
	OpenWithTotal(1000);
	answers["CANC"] = 1;
	clock.Advance(0.05);
	EXPECT_TRUE(window.Step()) << "within the interval the stop is not looked at";
	EXPECT_TRUE(window.Step());
	EXPECT_TRUE(traffic.empty());
	clock.Advance(0.05);
	EXPECT_FALSE(window.Step());
	EXPECT_EQ(traffic, (Lines {"CANC", "beep"}));
	EXPECT_EQ(window.Processed(), 3);
}

TEST_F(ProgressWindowTest, AfterAStopTheWindowStaysOpenUntilClosed)
{
	OpenWithTotal(1000);
	answers["CANC"] = 1;
	clock.Advance(0.1);
	EXPECT_FALSE(window.Step());
	traffic.clear();
	window.Close();
	EXPECT_EQ(traffic, (Lines {"CPWD", "end", "beep"}));
}

TEST_F(ProgressWindowTest, AHostWithoutTheInterfaceOperationNeverStopsTheRun)
{
	OpenWithTotal(1000);
	Module().hostTable[Entry::Interface] = nullptr;
	traffic.clear();
	for (int tenth = 0; tenth < 5; ++tenth) {
		clock.Advance(0.1);
		EXPECT_TRUE(window.Step()) << "no stop question could be asked, so no stop was asked for";
	}
	EXPECT_EQ(std::count(traffic.begin(), traffic.end(), "beep"), 0);
}

TEST_F(ProgressWindowTest, AFailingStopQuestionStillStopsTheRun)
{
	OpenWithTotal(1000);
	answers["CANC"] = StatusRefused;
	clock.Advance(0.1);
	EXPECT_FALSE(window.Step());
}

// ---- Beeps ----------------------------------------------------------------------------------

TEST_F(ProgressWindowTest, EveryCloseBeepsAlsoAfterANormalEnd)
{
	OpenWithTotal(3);
	StepEvery(3, 0.1);
	traffic.clear();
	window.Close();
	EXPECT_EQ(traffic, (Lines {"CPWD", "end", "beep"}));
	window.Open("Counting...");
	window.Close();
	EXPECT_EQ(traffic.back(), "beep");
	EXPECT_EQ(std::count(traffic.begin(), traffic.end(), "beep"), 2);
}

TEST_F(ProgressWindowTest, FailuresOfOpenRangeAndFirstValueOnlyBeep)
{
	answers["IPWD"] = StatusRefused;
	answers["SPRP"] = StatusBadParameter;
	answers["SPRV"] = StatusRefused;
	window.Open("Counting...");
	window.SetTotal(10);
	EXPECT_EQ(traffic, (Lines {"IPWD Counting... 1", "beep", "text \"\"", "SPRP Processed elements: 10", "beep",
							   "SPRV 0", "beep"}));
	traffic.clear();
	// A failing bar update while stepping is not signalled.
	EXPECT_EQ(StepEvery(2, 0.1), 2);
	EXPECT_EQ(traffic, (Lines {"CANC", "SPRV 1", "CANC", "SPRV 2"}));
	traffic.clear();
	answers["CPWD"] = StatusRefused;
	window.Close();
	EXPECT_EQ(traffic, (Lines {"CPWD", "end", "beep"}));
}

} // namespace
