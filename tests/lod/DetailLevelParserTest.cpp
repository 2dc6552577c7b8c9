// The configuration file's line rules, on plain byte strings: what each kind of line enters
// as a row, and which lines must be reported as lacking values.
#include "lod/DetailLevelParser.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::vector<std::string> Values(const DetailLevelLine& row)
{
	std::vector<std::string> texts;
	for (const VX::String& value : row.values)
		texts.push_back(value.ToStd());
	return texts;
}

using Texts = std::vector<std::string>;

TEST(DetailLevelParser, ThreeQuotedValuesMakeOneRow)
{
	const DetailLevelParse parse = ParseDetailLevelText("LOD \"x\" \"y\" \"z\"\n");
	ASSERT_EQ(parse.rows.size(), 1u);
	EXPECT_EQ(parse.rows[0].name, "LOD");
	EXPECT_EQ(Values(parse.rows[0]), (Texts {"x", "y", "z"}));
	EXPECT_FALSE(parse.rows[0].lacksValues);
	EXPECT_TRUE(parse.linesLackingValues.empty());
}

TEST(DetailLevelParser, TwoValuesGetAnEmptySimpleBetweenThem)
{
	const DetailLevelParse parse = ParseDetailLevelText("LOD\t\"a\"\t\"b\"");
	ASSERT_EQ(parse.rows.size(), 1u);
	EXPECT_EQ(Values(parse.rows[0]), (Texts {"a", "", "b"}));
	EXPECT_TRUE(parse.linesLackingValues.empty());
}

TEST(DetailLevelParser, OneValueIsReportedOnceAndStillEntered)
{
	const DetailLevelParse parse = ParseDetailLevelText("ok \"1\" \"2\" \"3\"\nLOD \"only\"\n");
	ASSERT_EQ(parse.rows.size(), 2u);
	EXPECT_EQ(Values(parse.rows[1]), (Texts {"only"}));
	EXPECT_TRUE(parse.rows[1].lacksValues);
	EXPECT_EQ(parse.linesLackingValues, (std::vector<std::size_t> {2}));
}

TEST(DetailLevelParser, UnquotedWordsOnlyEnterARowWithoutValues)
{
	const DetailLevelParse parse = ParseDetailLevelText("LOD detailed simple off\n");
	ASSERT_EQ(parse.rows.size(), 1u);
	EXPECT_EQ(parse.rows[0].name, "LOD");
	EXPECT_TRUE(parse.rows[0].values.empty());
	EXPECT_EQ(parse.linesLackingValues, (std::vector<std::size_t> {1}));
}

TEST(DetailLevelParser, CarriageReturnLineEndsReadLikeLineFeeds)
{
	const DetailLevelParse parse =
		ParseDetailLevelText("# levels\r\nLOD \"x\" \"y\" \"z\"\r\n\r\nDetail \"a\" \"b\"\r\n");
	ASSERT_EQ(parse.rows.size(), 2u);
	EXPECT_EQ(parse.rows[0].name, "LOD");
	EXPECT_EQ(Values(parse.rows[0]), (Texts {"x", "y", "z"}));
	EXPECT_EQ(parse.rows[1].name, "Detail");
	EXPECT_EQ(Values(parse.rows[1]), (Texts {"a", "", "b"}));
	EXPECT_TRUE(parse.linesLackingValues.empty());
}

TEST(DetailLevelParser, UnclosedQuoteTakesTheRestOfTheLineWithItsCarriageReturn)
{
	const DetailLevelParse parse = ParseDetailLevelText("LOD \"a\" \"b\r\nNext \"1\" \"2\" \"3\"");
	ASSERT_EQ(parse.rows.size(), 2u);
	EXPECT_EQ(Values(parse.rows[0]), (Texts {"a", "", "b\r"}));
	EXPECT_EQ(Values(parse.rows[1]), (Texts {"1", "2", "3"}));
}

TEST(DetailLevelParser, UnclosedQuoteAtTheEndOfTheTextTakesTheRest)
{
	const DetailLevelParse parse = ParseDetailLevelText("LOD \"a\" \"b c");
	ASSERT_EQ(parse.rows.size(), 1u);
	EXPECT_EQ(Values(parse.rows[0]), (Texts {"a", "", "b c"}));
}

TEST(DetailLevelParser, TextBetweenTheQuotedValuesIsIgnored)
{
	const DetailLevelParse parse = ParseDetailLevelText("LOD \"a\", \"b\"; \"c\" trailing words\n");
	ASSERT_EQ(parse.rows.size(), 1u);
	EXPECT_EQ(Values(parse.rows[0]), (Texts {"a", "b", "c"}));
}

TEST(DetailLevelParser, EmptyQuotedValuesAreKept)
{
	const DetailLevelParse parse = ParseDetailLevelText("LOD \"\" \"\" \"off\"\n");
	ASSERT_EQ(parse.rows.size(), 1u);
	EXPECT_EQ(Values(parse.rows[0]), (Texts {"", "", "off"}));
}

TEST(DetailLevelParser, FourthAndFifthValuesAreKeptInOrder)
{
	const DetailLevelParse parse = ParseDetailLevelText("LOD \"d\" \"s\" \"o\" \"c\" \"x\"\nMore \"1\" \"2\" \"3\" \"4\"");
	ASSERT_EQ(parse.rows.size(), 2u);
	EXPECT_EQ(Values(parse.rows[0]), (Texts {"d", "s", "o", "c", "x"}));
	EXPECT_EQ(Values(parse.rows[1]), (Texts {"1", "2", "3", "4"}));
}

TEST(DetailLevelParser, RowsWithEqualNamesStayInFileOrder)
{
	const DetailLevelParse parse = ParseDetailLevelText("LOD \"one\"\nLOD \"a\" \"b\" \"c\"\n");
	ASSERT_EQ(parse.rows.size(), 2u);
	EXPECT_EQ(parse.rows[0].lineNumber, 1u);
	EXPECT_EQ(Values(parse.rows[0]), (Texts {"one"}));
	EXPECT_EQ(parse.rows[1].lineNumber, 2u);
	EXPECT_EQ(Values(parse.rows[1]), (Texts {"a", "b", "c"}));
	EXPECT_EQ(parse.linesLackingValues, (std::vector<std::size_t> {1}));
}

TEST(DetailLevelParser, SpacesAndTabsBeforeTheNameAreSkipped)
{
	const DetailLevelParse parse = ParseDetailLevelText(" \t  LOD \"a\" \"b\"\n");
	ASSERT_EQ(parse.rows.size(), 1u);
	EXPECT_EQ(parse.rows[0].name, "LOD");
	EXPECT_EQ(Values(parse.rows[0]), (Texts {"a", "", "b"}));
}

TEST(DetailLevelParser, NameEndsAtTheNearerOfSpaceAndTab)
{
	const DetailLevelParse parse = ParseDetailLevelText("Level\tof detail \"a\" \"b\" \"c\"\nA b\t\"1\" \"2\" \"3\"");
	ASSERT_EQ(parse.rows.size(), 2u);
	EXPECT_EQ(parse.rows[0].name, "Level");
	EXPECT_EQ(parse.rows[1].name, "A");
}

TEST(DetailLevelParser, NamesKeepCaseAndAnyByte)
{
	const DetailLevelParse parse = ParseDetailLevelText("l\xE9vel \"a\" \"b\" \"c\"\nLOD# \"1\" \"2\" \"3\"\n");
	ASSERT_EQ(parse.rows.size(), 2u);
	EXPECT_EQ(parse.rows[0].name, "l\xE9vel");
	// A number sign after the first byte does not make a comment.
	EXPECT_EQ(parse.rows[1].name, "LOD#");
}

TEST(DetailLevelParser, CommentsAreSkippedAlsoAfterIndentation)
{
	const DetailLevelParse parse = ParseDetailLevelText("#LOD \"a\"\n   # note \"a\"\n\t#\n#\"x\" \"y\" \"z\"\n");
	EXPECT_TRUE(parse.rows.empty());
	EXPECT_TRUE(parse.linesLackingValues.empty());
}

TEST(DetailLevelParser, NameWithoutValuesIsSkippedSilently)
{
	const DetailLevelParse parse = ParseDetailLevelText("LOD\nLOD \nLOD\t\n  LOD\n");
	EXPECT_TRUE(parse.rows.empty());
	EXPECT_TRUE(parse.linesLackingValues.empty());
}

TEST(DetailLevelParser, SeparatorFollowedByMoreBlanksIsALineLackingValues)
{
	// After the name's separator there is still something on the line, only not a value.
	const DetailLevelParse parse = ParseDetailLevelText("LOD  \n");
	ASSERT_EQ(parse.rows.size(), 1u);
	EXPECT_TRUE(parse.rows[0].values.empty());
	EXPECT_EQ(parse.linesLackingValues, (std::vector<std::size_t> {1}));
}

TEST(DetailLevelParser, BlankAndShortLinesAreSkipped)
{
	// A line of one byte, a line feed right after another, a line of blanks only.
	const DetailLevelParse parse = ParseDetailLevelText("x\n\n \t \n\"\nL \"a\" \"b\" \"c\"\n");
	ASSERT_EQ(parse.rows.size(), 1u);
	EXPECT_EQ(parse.rows[0].lineNumber, 5u);
	EXPECT_EQ(parse.rows[0].name, "L");
	EXPECT_TRUE(parse.linesLackingValues.empty());
}

TEST(DetailLevelParser, OneByteTextAndOneByteLastLineAreSkipped)
{
	EXPECT_TRUE(ParseDetailLevelText("x").rows.empty());
	const DetailLevelParse parse = ParseDetailLevelText("L \"a\" \"b\" \"c\"\nx");
	EXPECT_EQ(parse.rows.size(), 1u);
}

TEST(DetailLevelParser, EmptyTextAndCommentsOnlyYieldNothing)
{
	for (const char* text : {"", "\n", "\n\n\n", "# one\n# two\n\n", "\r\n\r\n"}) {
		SCOPED_TRACE(text);
		const DetailLevelParse parse = ParseDetailLevelText(text);
		EXPECT_TRUE(parse.rows.empty());
		EXPECT_TRUE(parse.linesLackingValues.empty());
	}
}

TEST(DetailLevelParser, TextEndsAtTheFirstNulByte)
{
	const std::string bytes = "LOD \"a\" \"b\" \"c\"\nCut \"x\0y\" \"z\"\nAfter \"1\" \"2\" \"3\"\n"s;
	const DetailLevelParse parse = ParseDetailLevelText(bytes);
	ASSERT_EQ(parse.rows.size(), 2u);
	EXPECT_EQ(parse.rows[1].name, "Cut");
	// The value runs to where the text ends, as an unclosed quote does.
	EXPECT_EQ(Values(parse.rows[1]), (Texts {"x"}));
	EXPECT_EQ(parse.linesLackingValues, (std::vector<std::size_t> {2}));
}

TEST(DetailLevelParser, EveryOffendingLineIsListed)
{
	const DetailLevelParse parse = ParseDetailLevelText("A \"1\"\nB \"1\" \"2\"\nC x\nD \"1\" \"2\" \"3\"\nE \"\n");
	ASSERT_EQ(parse.rows.size(), 5u);
	EXPECT_EQ(parse.linesLackingValues, (std::vector<std::size_t> {1, 3, 5}));
	EXPECT_EQ(Values(parse.rows[4]), (Texts {""}));
}

} // namespace
