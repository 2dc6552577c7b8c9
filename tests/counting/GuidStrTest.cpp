// GuidStr as a hash key, and its refusal of texts longer than 255 characters.
#include "counting/GuidStr.hpp"
#include "VXRoot/HashTable.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(GuidStrKey, HashesAndComparesAsARootLibraryString)
{
	for (const char* text : {"", "a", "{9349160F-1FF1-4be3-9909-314107CCB286}", "\xff\x80 bytes"}) {
		SCOPED_TRACE(text);
		GuidStr key(text);
		EXPECT_EQ(VX::HashKeyTraits<GuidStr>::Hash(key), VX::String(text).GenerateHashValue());
		EXPECT_TRUE(VX::HashKeyTraits<GuidStr>::Equal(key, GuidStr(text)));
		EXPECT_EQ(VX::String(key.ToCStr()) == text, true);
	}
	EXPECT_EQ(VX::String::GenerateHashValue(static_cast<const char*>(nullptr)), VX::String().GenerateHashValue());
	EXPECT_NE(VX::HashKeyTraits<GuidStr>::Hash(GuidStr("ab")), VX::HashKeyTraits<GuidStr>::Hash(GuidStr("ba")));
	EXPECT_FALSE(VX::HashKeyTraits<GuidStr>::Equal(GuidStr("abc"), GuidStr("abd")));
	EXPECT_FALSE(VX::HashKeyTraits<GuidStr>::Equal(GuidStr("abc"), GuidStr("ab")));
}

class GuidStrLongText : public ::testing::Test {
protected:
	std::string longest = std::string(255, 'g');
	std::string tooLong = std::string(256, 'g');
	std::string huge = std::string(100000, 'h');
};

TEST_F(GuidStrLongText, TwoHundredFiftyFiveCharactersFitALongerTextIsRefusedAndTheKeyKept)
{
	EXPECT_TRUE(GuidStr::Fits(longest.c_str()));
	EXPECT_EQ(GuidStr(longest.c_str()).View(), longest);
	EXPECT_FALSE(GuidStr::Fits(tooLong.c_str()));
	try {
		GuidStr key(tooLong.c_str());
		FAIL() << "accepted " << key.GetLength() << " characters";
	} catch (const VX::IllegalArgumentException& exception) {
		EXPECT_EQ(exception.GetMessage(), "Illegal argument");
		EXPECT_EQ(exception.GetErrorCode(), -50);
		EXPECT_EQ(exception.GetSourceFile(), "counting\\GuidStr");
	}
	EXPECT_THROW(GuidStr(huge.c_str()), VX::PreconditionException);
	GuidStr key("{kept}");
	EXPECT_FALSE(key.Assign(tooLong.c_str()));
	EXPECT_FALSE(key.Assign(huge.c_str()));
	EXPECT_STREQ(key.ToCStr(), "{kept}");
	EXPECT_TRUE(key.Assign(longest.c_str()));
	EXPECT_EQ(key.View(), longest);
}

TEST_F(GuidStrLongText, KeysDifferingOnlyInTheLastCharacterStayApart)
{
	// Cutting longer texts would have merged these two keys.
	std::string first = longest;
	std::string second = longest;
	second.back() = 'h';
	VX::HashTable<GuidStr, short> levels;
	EXPECT_TRUE(levels.Add(GuidStr(first.c_str()), 1));
	EXPECT_TRUE(levels.Add(GuidStr(second.c_str()), 2));
	EXPECT_EQ(levels[GuidStr(first.c_str())], 1);
	EXPECT_EQ(levels[GuidStr(second.c_str())], 2);
}

TEST_F(GuidStrLongText, ReadingALongerKeyFailsWithoutOverflow)
{
	VX::StringOChannel output;
	output.PutText(tooLong.data(), tooLong.size());
	VX::StringIChannel input(output.GetText());
	GuidStr key("{kept}");
	EXPECT_EQ(VX::ElementSerializer<GuidStr>::Read(input, key), VX::ErrorFormat);
	EXPECT_STREQ(key.ToCStr(), "{kept}");

	VX::StringOChannel withNul;
	withNul.PutText("ab\0cd", 5);
	VX::StringIChannel nulInput(withNul.GetText());
	EXPECT_EQ(VX::ElementSerializer<GuidStr>::Read(nulInput, key), VX::ErrorFormat);
}
