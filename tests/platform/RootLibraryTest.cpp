// The root library pieces under the containers: output and input channels, object frames,
// VXException and the capacity sequence of the hash tables.
#include "VX/Channel.hpp"
#include "VX/Exception.hpp"
#include "VX/HashTablePrivate.hpp"
#include "VX/Object.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using VX::HashTablePrivate::GetNextCapacity;
using VX::HashTablePrivate::GetPreviousCapacity;

TEST(OutputChannel, WritesNumbersTextsAndPointers)
{
	VX::StringOChannel channel;
	channel << "a" << 'b' << short {-3} << static_cast<unsigned short>(4) << -5 << 6u << -7L << 8UL << -9LL << 10ULL;
	EXPECT_EQ(channel.GetText(), "ab-34-56-78-910");
	channel.Clear();
	channel << 0.5 << ' ' << 2.0f << ' ' << true << ' ' << false << ' ' << VX::String("text");
	EXPECT_EQ(channel.GetText(), "0.500000 2.000000 true false text");
	channel.Clear();
	channel << static_cast<const void*>(nullptr) << ' ' << reinterpret_cast<const void*>(std::uintptr_t {0xABCDEF});
	EXPECT_EQ(channel.GetText(), "0x0000000000000000 0x0000000000abcdef");
	channel.Clear();
	channel << static_cast<const char*>(nullptr);
	EXPECT_EQ(channel.GetText(), "");
}

TEST(OutputChannel, FormatsFixedWidthFieldsOfAnyLength)
{
	VX::StringOChannel channel;
	channel.WriteFormatted("[%04lu]  ", 7UL);
	channel.WriteFormatted("[%04lu]", 123456UL);
	EXPECT_EQ(channel.GetText(), "[0007]  [123456]");
	channel.Clear();
	std::string longText(1000, 'x');
	channel.WriteFormatted("<%s>", longText.c_str());
	EXPECT_EQ(channel.GetText(), "<" + longText + ">");
}

TEST(InputChannel, ReadsBackWhatWasWritten)
{
	VX::StringOChannel output;
	output.PutInt8(-1);
	output.PutInt16(-300);
	output.PutInt32(-70000);
	output.PutInt64(-5000000000LL);
	output.PutUInt32(4000000000u);
	output.PutBool(true);
	output.PutFloat(0.75f);
	output.PutDouble(-1.5);
	output.PutText("abc", 3);
	VX::StringIChannel input(output.GetText());
	std::int8_t i8 = 0;
	std::int16_t i16 = 0;
	std::int32_t i32 = 0;
	std::int64_t i64 = 0;
	std::uint32_t u32 = 0;
	bool flag = false;
	float real = 0;
	double precise = 0;
	std::string text;
	EXPECT_EQ(input.GetInt8(i8), VX::NoError);
	EXPECT_EQ(input.GetInt16(i16), VX::NoError);
	EXPECT_EQ(input.GetInt32(i32), VX::NoError);
	EXPECT_EQ(input.GetInt64(i64), VX::NoError);
	EXPECT_EQ(input.GetUInt32(u32), VX::NoError);
	EXPECT_EQ(input.GetBool(flag), VX::NoError);
	EXPECT_EQ(input.GetFloat(real), VX::NoError);
	EXPECT_EQ(input.GetDouble(precise), VX::NoError);
	EXPECT_EQ(input.GetText(text, 10), VX::NoError);
	EXPECT_EQ(i8, -1);
	EXPECT_EQ(i16, -300);
	EXPECT_EQ(i32, -70000);
	EXPECT_EQ(i64, -5000000000LL);
	EXPECT_EQ(u32, 4000000000u);
	EXPECT_TRUE(flag);
	EXPECT_EQ(real, 0.75f);
	EXPECT_EQ(precise, -1.5);
	EXPECT_EQ(text, "abc");
}

TEST(InputChannel, AFailedReadChangesNothingAndTheFailureSticks)
{
	VX::StringOChannel output;
	output.PutInt16(5);
	VX::StringIChannel input(output.GetText());
	std::int32_t wide = 77;
	EXPECT_EQ(input.GetInt32(wide), VX::ErrorEndOfChannel);
	EXPECT_EQ(wide, 77);
	std::int16_t narrow = 0;
	EXPECT_EQ(input.GetInt16(narrow), VX::ErrorEndOfChannel);
	EXPECT_EQ(narrow, 0);
	input.Reset();
	EXPECT_EQ(input.GetInt16(narrow), VX::NoError);
	EXPECT_EQ(narrow, 5);
	VX::StringOChannel textOutput;
	textOutput.PutText("too long", 8);
	VX::StringIChannel textInput(textOutput.GetText());
	std::string text = "unchanged";
	EXPECT_EQ(textInput.GetText(text, 4), VX::ErrorFormat);
	EXPECT_EQ(text, "unchanged");
}

namespace {
class Plain : public VX::Object {
public:
	static inline const VX::ClassInfo classInfo {"Test::Plain", 2, 5};
	const VX::ClassInfo* Get_ClassInfo() const override { return &classInfo; }
	Plain* Clone() const override { return new Plain(*this); }
};
} // namespace

// A foreign frame is seen through the containers; a short channel says so.
TEST(Object, ReadsItsOwnFrameAndReportsAShortChannel)
{
	Plain plain;
	VX::StringOChannel output;
	EXPECT_EQ(plain.Write(output), VX::NoError);
	VX::StringIChannel input(output.GetText());
	EXPECT_EQ(Plain().Read(input), VX::NoError);
	VX::StringIChannel empty("");
	EXPECT_EQ(Plain().Read(empty), VX::ErrorEndOfChannel);
}

// The getters are seen through the containers' exceptions; missing texts must not crash.
TEST(VXExceptionBase, MissingTextsAreEmpty)
{
	VXException empty(nullptr, 0, nullptr, 0);
	EXPECT_EQ(empty.GetMessage(), "");
	EXPECT_EQ(empty.GetSourceFile(), "");
}

namespace {
bool IsPrime(std::uint32_t n)
{
	if (n < 2)
		return false;
	for (std::uint64_t divisor = 2; divisor * divisor <= n; ++divisor)
		if (n % divisor == 0)
			return false;
	return true;
}

std::vector<std::uint32_t> Steps()
{
	std::vector<std::uint32_t> steps {GetNextCapacity(0)};
	while (GetNextCapacity(steps.back()) > steps.back())
		steps.push_back(GetNextCapacity(steps.back()));
	return steps;
}
} // namespace

TEST(CapacitySequence, IsOneThenTheLargestPrimeBelowEachPowerOfTwo)
{
	std::vector<std::uint32_t> steps = Steps();
	ASSERT_EQ(steps.size(), 32u);
	EXPECT_EQ(steps.front(), 1u);
	for (std::size_t index = 1; index < steps.size(); ++index) {
		SCOPED_TRACE(steps[index]);
		EXPECT_TRUE(IsPrime(steps[index]));
		std::uint64_t power = std::uint64_t {1} << (index + 1);
		EXPECT_LT(steps[index], power);
		EXPECT_GT(steps[index], power / 2);
		for (std::uint64_t candidate = steps[index] + 1; candidate < power; ++candidate)
			EXPECT_FALSE(IsPrime(static_cast<std::uint32_t>(candidate)));
	}
}

TEST(CapacitySequence, NextIsStrictlyAboveAndPreviousStrictlyBelow)
{
	EXPECT_EQ(GetNextCapacity(32), 61u);
	EXPECT_EQ(GetNextCapacity(61), 127u);
	EXPECT_EQ(GetNextCapacity(60), 61u);
	EXPECT_EQ(GetPreviousCapacity(127), 61u);
	EXPECT_EQ(GetPreviousCapacity(128), 127u);
	EXPECT_EQ(GetPreviousCapacity(61), 31u);
	EXPECT_EQ(GetPreviousCapacity(2), 1u);
	EXPECT_EQ(GetPreviousCapacity(1), 0u);
	EXPECT_EQ(GetPreviousCapacity(0), 0u);
	// At the top the sequence stays on its last step.
	EXPECT_EQ(GetNextCapacity(std::numeric_limits<std::uint32_t>::max()), 4294967291u);
	for (std::uint32_t step : Steps()) {
		SCOPED_TRACE(step);
		if (step > 1) {
			EXPECT_EQ(GetNextCapacity(GetPreviousCapacity(step)), step);
		}
		EXPECT_EQ(GetPreviousCapacity(GetNextCapacity(step)), step == 4294967291u ? 2147483647u : step);
	}
}
