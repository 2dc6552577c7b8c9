// The story filter: the typed story numbers turned into story indexes, the order of its
// rules, the story record it reads (and whose handle it releases), and the stories it notes.
#include "counting/StoryFilter.hpp"

#include "FakeHostTable.hpp"

#include "VX/Memory.hpp"

#include <cstring>

namespace {

TEST(TypedStoryRangeTest, WithoutStoryZeroPositiveNumbersAreOneAboveTheirIndex)
{
	const StoryIndexRange range = TypedStoryRange(1, 2, 1);
	EXPECT_EQ(range.first, 0);
	EXPECT_EQ(range.last, 1);
}

TEST(TypedStoryRangeTest, WithoutStoryZeroTheRangeZeroToZeroIsEmpty)
{
	const StoryIndexRange range = TypedStoryRange(0, 0, 1);
	EXPECT_EQ(range.first, 0);
	EXPECT_EQ(range.last, -1);
}

TEST(TypedStoryRangeTest, NegativeNumbersAreTheirOwnIndexes)
{
	const StoryIndexRange withoutZero = TypedStoryRange(-2, -1, 1);
	EXPECT_EQ(withoutZero.first, -2);
	EXPECT_EQ(withoutZero.last, -1);
	const StoryIndexRange withZero = TypedStoryRange(-2, 3, 0);
	EXPECT_EQ(withZero.first, -2);
	EXPECT_EQ(withZero.last, 3);
}

TEST(TypedStoryRangeTest, WithStoryZeroEveryNumberIsItsIndex)
{
	const StoryIndexRange range = TypedStoryRange(0, 0, 0);
	EXPECT_EQ(range.first, 0);
	EXPECT_EQ(range.last, 0);
}

TEST(TypedStoryRangeTest, OnlyTheByteOneMeansThereIsNoStoryZero)
{
	const StoryIndexRange range = TypedStoryRange(2, 2, 7);
	EXPECT_EQ(range.first, 2);
	EXPECT_EQ(range.last, 2);
}

TEST(TypedStoryRangeTest, TheExtremeNumbersDoNotWrap)
{
	const StoryIndexRange range = TypedStoryRange(INT32_MIN, INT32_MAX, 1);
	EXPECT_EQ(range.first, INT32_MIN);
	EXPECT_EQ(range.last, INT32_MAX - 1);
}

// The host's story record: active story 2, no story zero, and a data handle the filter must
// release.
HostSdk::StoryRecord storyAnswer {};
int storyReads = 0;

HostSdk::HostStatus AnswerStories(HostSdk::ModuleToken, std::uint32_t selector, void* first, void*)
{
	if (selector != HostSdk::Selectors::GetStoryInfo)
		return HostSdk::StatusBadParameter;
	++storyReads;
	auto* record = static_cast<HostSdk::StoryRecord*>(first);
	*record = storyAnswer;
	record->dataHandle = VX::AllocateHandle(24);
	return HostSdk::StatusOk;
}

class StoryFilterTest : public FakeHostTableFixture {
protected:
	void SetUp() override
	{
		FakeHostTableFixture::SetUp();
		storyAnswer = {};
		storyAnswer.activeStory = 2;
		storyAnswer.noStoryZero = 1;
		storyReads = 0;
		Offer<HostSdk::Entry::Environment>(&AnswerStories);
		handles = VX::LiveHandleCount();
	}
	void TearDown() override
	{
		EXPECT_EQ(VX::LiveHandleCount(), handles) << "the story record's handle was released";
		FakeHostTableFixture::TearDown();
	}

	std::size_t handles = 0;
};

TEST_F(StoryFilterTest, AStoryRangeAdmitsItsIndexesOnly)
{
	const StoryFilter filter(false, 1, 3, false, false);
	EXPECT_EQ(storyReads, 1);
	EXPECT_EQ(filter.FirstStoryIndex(), 0);
	EXPECT_EQ(filter.LastStoryIndex(), 2);
	EXPECT_FALSE(filter.Test(-1));
	EXPECT_TRUE(filter.Test(0));
	EXPECT_TRUE(filter.Test(2));
	EXPECT_FALSE(filter.Test(3));
}

TEST_F(StoryFilterTest, AllStoriesAdmitsEveryStory)
{
	const StoryFilter filter(true, 5, 5, false, false);
	EXPECT_TRUE(filter.Test(-32768));
	EXPECT_TRUE(filter.Test(32767));
}

TEST_F(StoryFilterTest, ActiveStoryOnlyComesBeforeAllStories)
{
	const StoryFilter filter(true, 0, 10, true, false);
	EXPECT_TRUE(filter.Test(2));
	EXPECT_FALSE(filter.Test(1));
	EXPECT_FALSE(filter.Test(3));
}

TEST_F(StoryFilterTest, AcceptAllComesFirst)
{
	const StoryFilter filter(false, 1, 1, true, true);
	EXPECT_TRUE(filter.Test(7));
}

TEST_F(StoryFilterTest, AFailedStoryReadLeavesStoryZeroShownAndActive)
{
	Offer<HostSdk::Entry::Environment>(nullptr);
	const StoryFilter filter(false, 1, 1, false, false);
	EXPECT_EQ(filter.ActiveStory(), 0);
	EXPECT_EQ(filter.FirstStoryIndex(), 1);
}

TEST_F(StoryFilterTest, TheFirstNotedStoryIsKeptAndADifferentOneMarksTheStoriesMixed)
{
	StoryFilter filter(true, 0, 0, false, false);
	EXPECT_FALSE(filter.StorySeen());
	filter.NoteStory(4);
	filter.NoteStory(4);
	EXPECT_TRUE(filter.StorySeen());
	EXPECT_FALSE(filter.MixedStories());
	EXPECT_EQ(filter.FirstStorySeen(), 4);
	filter.NoteStory(-1);
	EXPECT_TRUE(filter.MixedStories());
	EXPECT_EQ(filter.FirstStorySeen(), 4);
}

} // namespace
