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

} // namespace
