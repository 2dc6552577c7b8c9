// DBPrintf: formatting and capture of the debug output.
#include "VX/DebugOutput.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DebugOutputTest, CaptureSeesFormattedText)
{
	VX::DebugOutputCapture capture;
	DBPrintf("Abnormal add-on termination (\"%s\")", "/tmp/Facetally.addon");
	DBPrintf("\n");
	EXPECT_EQ(capture.Text(), "Abnormal add-on termination (\"/tmp/Facetally.addon\")\n");
}

TEST(DebugOutputTest, LongTextArrivesWhole)
{
	VX::DebugOutputCapture capture;
	const std::string longText(10000, 'x');
	DBPrintf("%s|%d", longText.c_str(), 7);
	EXPECT_EQ(capture.Text(), longText + "|7");
}

TEST(DebugOutputTest, NestedCapturesRestoreEachOther)
{
	VX::DebugOutputCapture outer;
	{
		VX::DebugOutputCapture inner;
		DBPrintf("inner");
		EXPECT_EQ(inner.Text(), "inner");
	}
	DBPrintf("outer");
	EXPECT_EQ(outer.Text(), "outer");
}

TEST(DebugOutputTest, WithoutSinkTextGoesToStandardError)
{
	::testing::internal::CaptureStderr();
	DBPrintf("to stderr %d", 1);
	EXPECT_EQ(::testing::internal::GetCapturedStderr(), "to stderr 1");
}

TEST(DebugOutputTest, SinkSeesEachCallOnce)
{
	int calls = 0;
	VX::DebugSink previous = VX::SetDebugSink([&calls](std::string_view) { ++calls; });
	DBPrintf("a");
	DBPrintf("%s", "");
	VX::SetDebugSink(std::move(previous));
	EXPECT_EQ(calls, 2);
}

} // namespace
