// VX::Array: the reallocation rules of set size, fill, element lifetimes, output and the
// binary form.
#include "CountedElement.hpp"
#include "TestText.hpp"

#include "VXRoot/Array.hpp"
#include "VXRoot/PagedArray.hpp"

#include <gtest/gtest.h>

using VX::Array;

TEST(ArraySetSize, GrowsToTheLargerOfTwiceTheSizeAndTheNewSize)
{
	Array<int> array;
	array.SetSize(61);
	EXPECT_EQ(array.GetCapacity(), 61u); // twice 0 is less than 61
	array.SetSize(127);
	EXPECT_EQ(array.GetCapacity(), 127u); // 127 is more than twice 61
	array.SetSize(130);
	EXPECT_EQ(array.GetCapacity(), 254u); // twice 127
	array.SetSize(200);
	EXPECT_EQ(array.GetCapacity(), 254u);
	EXPECT_TRUE(array.CheckState());
}

TEST(ArraySetSize, ShrinksTheBlockAtAQuarterOfTheCapacity)
{
	Array<int> array;
	array.SetSize(100);
	array.Fill(4);
	array.SetSize(26);
	EXPECT_EQ(array.GetCapacity(), 100u); // above a quarter
	array.SetSize(25);
	EXPECT_EQ(array.GetCapacity(), 50u); // twice the new size
	EXPECT_EQ(array[24], 4);
	array.SetSize(0);
	EXPECT_EQ(array.GetCapacity(), 0u);
	EXPECT_EQ(array.GetContent(), nullptr);
	EXPECT_TRUE(array.CheckState());
}

TEST(ArrayFill, SetsARangeOrEverythingToTheEnd)
{
	Array<int> array;
	array.SetSize(6);
	array.Fill(0);
	array.Fill(7, 2, 2);
	EXPECT_EQ((std::vector<int>(array.begin(), array.end())), (std::vector<int> {0, 0, 7, 7, 0, 0}));
	array.Fill(9, 4);
	EXPECT_EQ((std::vector<int>(array.begin(), array.end())), (std::vector<int> {0, 0, 7, 7, 9, 9}));
	// A range reaching past the size is cut at the size.
	array.Fill(1, 5, 100);
	array.Fill(1, 6);
	array.Fill(1, 1000, 3);
	EXPECT_EQ((std::vector<int>(array.begin(), array.end())), (std::vector<int> {0, 0, 7, 7, 9, 1}));
}

class ArrayLifetimes : public ::testing::Test {
protected:
	void SetUp() override { CountedElement::ResetCounts(); }
	void TearDown() override { EXPECT_EQ(CountedElement::counts.Live(), 0); }
};

TEST_F(ArrayLifetimes, ElementsOfClassTypeAreBuiltMovedAndDestroyedExactlyOnce)
{
	Array<CountedElement> array;
	array.SetSize(3);
	EXPECT_EQ(CountedElement::counts.Live(), 3);
	array[2] = CountedElement(42);
	array.SetSize(10); // reallocates: the elements move
	EXPECT_EQ(CountedElement::counts.Live(), 10);
	EXPECT_EQ(array[2].Get(), 42);
	EXPECT_EQ(CountedElement::counts.copied, 0);
	array.SetSize(1);
	EXPECT_EQ(CountedElement::counts.Live(), 1);
	Array<CountedElement> copy(array);
	EXPECT_EQ(CountedElement::counts.Live(), 2);
	copy = array;
	copy = copy;
	EXPECT_EQ(copy.GetSize(), 1u);
	array.Clear();
	EXPECT_EQ(CountedElement::counts.Live(), 1);
}

// The dump shows in the dump of a hash table's buckets.
TEST(ArrayOutput, PrintWritesTheSizeAndEachElement)
{
	Array<long> array;
	array.SetSize(2);
	array[0] = -5;
	array[1] = 70000;
	VX::StringOChannel channel;
	array.Print(channel);
	EXPECT_EQ(Lines(channel.GetText()),
		(std::vector<std::string> {"Container size: 2", "---------------------", "[0000]  -5", "[0001]  70000"}));
}

TEST(ArrayBinaryForm, RoundTrips)
{
	Array<int> array;
	array.SetSize(3);
	array[0] = 1;
	array[1] = -2;
	array[2] = 3;
	VX::StringOChannel output;
	ASSERT_EQ(array.Write(output), VX::NoError);
	Array<int> read;
	VX::StringIChannel input(output.GetText());
	ASSERT_EQ(read.Read(input), VX::NoError);
	EXPECT_EQ((std::vector<int>(read.begin(), read.end())), (std::vector<int> {1, -2, 3}));

	// Another class's frame is refused.
	VX::PagedArray<int> paged;
	VX::StringIChannel foreign(output.GetText());
	EXPECT_EQ(paged.Read(foreign), VX::ErrorFormat);
}
