// The configuration file's line rules, on plain byte strings: what each kind of line enters
// as a row, and which lines must be reported as lacking values.
#include "lod/DetailLevelParser.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

// A parse as one text, each row as in the file after its line number (line:name "value" ...),
// "!" after a row lacking values, and the lines reported as lacking values after "lacking".
std::string Shown(const DetailLevelParse& parse)
{
	std::string shown;
	for (const DetailLevelLine& row : parse.rows) {
		shown += (shown.empty() ? "" : "; ") + std::to_string(row.lineNumber) + ":" + row.name.ToStd();
		for (const VX::String& value : row.values)
			shown += " \"" + value.ToStd() + "\"";
		shown += row.lacksValues ? "!" : "";
	}
	for (const std::size_t line : parse.linesLackingValues)
		shown += " lacking " + std::to_string(line);
	return shown;
}

TEST(DetailLevelParser, EachKindOfLine)
{
	const struct {
		const char* what;
		std::string text;
		std::string rows;
	} cases[] = {
		{"three quoted values", "LOD \"x\" \"y\" \"z\"\n", "1:LOD \"x\" \"y\" \"z\""},
		{"two values get an empty simple between them", "LOD\t\"a\"\t\"b\"", "1:LOD \"a\" \"\" \"b\""},
		{"one value is reported and still entered", "ok \"1\" \"2\" \"3\"\nLOD \"only\"\n",
			"1:ok \"1\" \"2\" \"3\"; 2:LOD \"only\"! lacking 2"},
		{"unquoted words enter a row without values", "LOD detailed simple off\n", "1:LOD! lacking 1"},
		{"carriage returns end lines", "# levels\r\nLOD \"x\" \"y\" \"z\"\r\n\r\nDetail \"a\" \"b\"\r\n",
			"2:LOD \"x\" \"y\" \"z\"; 4:Detail \"a\" \"\" \"b\""},
		{"an unclosed quote takes the rest of the line", "LOD \"a\" \"b\r\nNext \"1\" \"2\" \"3\"",
			"1:LOD \"a\" \"\" \"b\r\"; 2:Next \"1\" \"2\" \"3\""},
		{"an unclosed quote at the end takes the rest", "LOD \"a\" \"b c", "1:LOD \"a\" \"\" \"b c\""},
		{"text between the values is ignored", "LOD \"a\", \"b\"; \"c\" trailing words\n", "1:LOD \"a\" \"b\" \"c\""},
		{"empty values are kept", "LOD \"\" \"\" \"off\"\n", "1:LOD \"\" \"\" \"off\""},
		{"fourth and fifth values are kept", "LOD \"d\" \"s\" \"o\" \"c\" \"x\"\nMore \"1\" \"2\" \"3\" \"4\"",
			"1:LOD \"d\" \"s\" \"o\" \"c\" \"x\"; 2:More \"1\" \"2\" \"3\" \"4\""},
		{"rows of equal names stay in file order", "LOD \"one\"\nLOD \"a\" \"b\" \"c\"\n",
			"1:LOD \"one\"!; 2:LOD \"a\" \"b\" \"c\" lacking 1"},
		{"blanks before the name are skipped", " \t  LOD \"a\" \"b\"\n", "1:LOD \"a\" \"\" \"b\""},
		{"the name ends at the nearer of space and tab", "Level\tof detail \"a\" \"b\" \"c\"\nA b\t\"1\" \"2\" \"3\"",
			"1:Level \"a\" \"b\" \"c\"; 2:A \"1\" \"2\" \"3\""},
		// A number sign after the first byte does not make a comment.
		{"names keep case and any byte", "l\xE9vel \"a\" \"b\" \"c\"\nLOD# \"1\" \"2\" \"3\"\n",
			"1:l\xE9vel \"a\" \"b\" \"c\"; 2:LOD# \"1\" \"2\" \"3\""},
		{"comments, also indented", "#LOD \"a\"\n   # note \"a\"\n\t#\n#\"x\" \"y\" \"z\"\n", ""},
		{"a name without values is skipped", "LOD\nLOD \nLOD\t\n  LOD\n", ""},
		// After the name's separator there is still something on the line, only not a value.
		{"more blanks after the separator lack values", "LOD  \n", "1:LOD! lacking 1"},
		{"blank and one-byte lines are skipped", "x\n\n \t \n\"\nL \"a\" \"b\" \"c\"\n", "5:L \"a\" \"b\" \"c\""},
		{"a one-byte text", "x", ""},
		{"a one-byte last line", "L \"a\" \"b\" \"c\"\nx", "1:L \"a\" \"b\" \"c\""},
		{"an empty text", "", ""},
		{"empty lines", "\n\n\n", ""},
		{"comments only", "# one\n# two\n\n", ""},
		{"empty carriage-return lines", "\r\n\r\n", ""},
		// The value runs to where the text ends, as an unclosed quote does.
		{"the text ends at its first zero", "LOD \"a\" \"b\" \"c\"\nCut \"x\0y\" \"z\"\nAfter \"1\" \"2\" \"3\"\n"s,
			"1:LOD \"a\" \"b\" \"c\"; 2:Cut \"x\"! lacking 2"},
		{"every offending line is listed", "A \"1\"\nB \"1\" \"2\"\nC x\nD \"1\" \"2\" \"3\"\nE \"\n",
			"1:A \"1\"!; 2:B \"1\" \"\" \"2\"; 3:C!; 4:D \"1\" \"2\" \"3\"; 5:E \"\"! lacking 1 lacking 3 lacking 5"},
	};
	for (const auto& row : cases)
		EXPECT_EQ(Shown(ParseDetailLevelText(row.text)), row.rows) << row.what;
}

} // namespace
