// Texts of host records and handles: read up to their zero or their field's end, never
// further, and written only when they fit with their zero.
#include "counting/RecordText.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(BoundedTextTest, ATextEndsAtItsZero)
{
	const char field[8] = {'a', 'b', '\0', 'x', 'x', 'x', 'x', 'x'};
	EXPECT_EQ(BoundedText(field), "ab");
}

TEST(BoundedTextTest, ATextWithoutItsZeroEndsWithItsField)
{
	const char field[4] = {'a', 'b', 'c', 'd'};
	EXPECT_EQ(BoundedText(field), "abcd");
	EXPECT_EQ(BoundedText(field, 2), "ab");
}

TEST(CopyTextIntoFieldTest, ATextThatFitsWithItsZeroIsCopied)
{
	char field[4] = {'x', 'x', 'x', 'x'};
	EXPECT_TRUE(CopyTextIntoField(field, "abc"));
	EXPECT_EQ(std::string(field), "abc");
}

TEST(CopyTextIntoFieldTest, ATextThatWouldRunIntoTheNextFieldIsRefusedAndTheFieldLeftEmpty)
{
	struct {
		char name[4];
		char next[4];
	} record = {{'x', 'x', 'x', 'x'}, {'n', 'e', 'x', 't'}};
	EXPECT_FALSE(CopyTextIntoField(record.name, "abcd"));
	EXPECT_EQ(record.name[0], '\0');
	EXPECT_EQ(std::string(record.next, 4), "next");
}

TEST(CopyTextIntoFieldTest, ATextHoldingAZeroIsRefused)
{
	char field[8];
	EXPECT_FALSE(CopyTextIntoField(field, std::string_view("a\0b", 3)));
}

std::vector<std::string> ReadAll(const char* block, std::size_t size)
{
	std::vector<std::string> texts;
	TextBlockReader reader(block, size);
	std::string_view text;
	while (reader.Next(text))
		texts.emplace_back(text);
	return texts;
}

TEST(TextBlockReaderTest, ConsecutiveTextsAreReadInOrderEmptyOnesIncluded)
{
	const char block[] = {'a', '\0', '\0', 'b', 'c', '\0'};
	EXPECT_EQ(ReadAll(block, sizeof block), (std::vector<std::string> {"a", "", "bc"}));
}

TEST(TextBlockReaderTest, ALastTextWithoutItsZeroIsBoundedByTheBlock)
{
	const char block[] = {'a', '\0', 'b', 'c'};
	EXPECT_EQ(ReadAll(block, sizeof block), (std::vector<std::string> {"a", "bc"}));
}

TEST(TextBlockReaderTest, AnEmptyOrMissingBlockHoldsNoText)
{
	EXPECT_TRUE(ReadAll(nullptr, 12).empty());
	const char block[] = {'a'};
	EXPECT_TRUE(ReadAll(block, 0).empty());
}

} // namespace
