// The resource compiler: the bytes each kind of source becomes, the checks that refuse bad
// sources with the file's name, the blob writer, the blob reader of the root library, and the
// program itself as the build runs it.
#include "ResourceBlobWriter.hpp"
#include "ResourceSource.hpp"
#include "ScratchFolder.hpp"

#include "VX/ResourceBlob.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(std::string_view text)
{
	return Bytes(text.begin(), text.end());
}

std::vector<Rescomp::CompiledResource> Compile(std::string_view json, const std::string& name = "source.json")
{
	return Rescomp::CompileResourceSource(json, name);
}

// The message of the error a source raises, or "" when it compiles.
std::string ErrorOf(std::string_view json, const std::string& name = "broken.json")
{
	try {
		Compile(json, name);
	} catch (const Rescomp::ResourceError& error) {
		return error.what();
	}
	return "";
}

// One source and the single resource it becomes; dialogs give a header and items.
TEST(ResourceSource, EachKindBecomesItsBytes)
{
	const struct {
		const char* what;
		const char* json;
		std::uint32_t type;
		std::int32_t id;
		std::string_view bytes;
	} cases[] = {
		{"strings are a count then terminated texts", R"({"strings": {"7": ["ab", "", "c\r\n"]}})",
			VX::ResourceTypes::StringList, 7, {"\x08\0\0\0ab\0\0c\r\n\0", 12}},
		{"an empty list is its count alone", R"({"strings": {"-3": []}})", VX::ResourceTypes::StringList, -3,
			{"\0\0\0\0", 4}},
		{"non-ASCII texts keep their bytes", "{\"strings\": {\"1\": [\"\xC3\xA9t\xC3\xA9\"]}}",
			VX::ResourceTypes::StringList, 1, {"\x06\0\0\0\xC3\xA9t\xC3\xA9\0", 10}},
		{"an icon is size and glyph", R"({"icons": {"32601": {"size": [16, 16], "glyph": ">"}}})",
			VX::ResourceTypes::Icon, 32601, {"\x10\0\x10\0>\0", 6}},
		{"binary words are little-endian", R"({"binary": {"MNUM:18000": [16, 1, -1, 4294967295, 258]}})",
			VX::MakeResourceType("MNUM"), 18000,
			{"\x10\0\0\0\x01\0\0\0\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x02\x01\0\0", 20}},
		{"a dialog header", R"({"dialogs": {"128": {"title": "T", "size": [450, 130], "items": [
			{"kind": "intedit", "rect": [127, -20, 35, 18], "min": "-1000", "max": 1000, "group": 2, "text": "x"}]}}})",
			VX::ResourceTypes::DialogHeader, 128, {"\xC2\x01\x82\x00\x01\x00\x00\x00T\0", 10}},
		{"its items", R"({"dialogs": {"128": {"title": "T", "size": [450, 130], "items": [
			{"kind": "intedit", "rect": [127, -20, 35, 18], "min": "-1000", "max": 1000, "group": 2, "text": "x"}]}}})",
			VX::ResourceTypes::DialogItems, 128,
			{"\x08\x00\x7F\x00\xEC\xFF\x23\x00\x12\x00\x02\x00x\0-1000\0"
			 "1000\0",
				12 + 2 + 6 + 5}},
		{"a dialog without title", R"({"dialogs": {"5": {"size": [10, 20]}}})", VX::ResourceTypes::DialogHeader, 5,
			{"\x0A\0\x14\0\0\0\0\0\0", 9}},
		{"nor items", R"({"dialogs": {"5": {"size": [10, 20]}}})", VX::ResourceTypes::DialogItems, 5, {}},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		const auto resources = Compile(row.json);
		ASSERT_EQ(resources.size(),
			row.type == VX::ResourceTypes::DialogHeader || row.type == VX::ResourceTypes::DialogItems ? 2u : 1u);
		const auto found = std::find_if(resources.begin(), resources.end(),
			[&](const Rescomp::CompiledResource& resource) { return resource.type == row.type; });
		ASSERT_NE(found, resources.end());
		EXPECT_EQ(found->id, row.id);
		EXPECT_EQ(found->sourceName, "source.json");
		EXPECT_EQ(found->bytes, ToBytes(row.bytes));
	}
}

TEST(ResourceSource, EveryItemKindHasItsCode)
{
	const char* kinds[] = {"button", "icon", "lefttext", "centertext", "righttext", "checkbox", "radio", "intedit",
		"popup", "singlelist", "multilist", "usercontrol"};
	for (std::uint16_t code = 1; code <= 12; ++code) {
		SCOPED_TRACE(kinds[code - 1]);
		const std::string json = std::string(R"({"dialogs": {"1": {"size": [1, 1], "items": [{"kind": ")") +
			kinds[code - 1] + R"(", "rect": [0, 0, 1, 1]}]}}})";
		for (const auto& resource : Compile(json)) {
			if (resource.type == VX::ResourceTypes::DialogItems) {
				ASSERT_GE(resource.bytes.size(), 2u);
				EXPECT_EQ(resource.bytes[0], code);
				EXPECT_EQ(resource.bytes[1], 0);
			}
		}
	}
}

// A refused source: the message names the file and says what is wrong.
TEST(ResourceSource, RefusesBadSourcesNamingTheFile)
{
	const struct {
		std::string_view json;
		const char* expectedPart;
	} cases[] = {
		{R"({"strings": {"1": ["a"]})", "not valid JSON"},
		{"", "not valid JSON"},
		{"{\"strings\": {\"1\": [\"\xFF\"]}}", "not valid JSON"},
		{R"(["strings"])", "must be a JSON object"},
		{R"({"texts": {}})", "unknown section"},
		{R"({"strings": []})", "strings: must be an object"},
		{R"({"strings": {"1": "a"}})", "strings \"1\": must be a list of texts"},
		{R"({"strings": {"1": ["a", 2]}})", "strings \"1\" item 2: must be a text"},
		{R"({"icons": {"1": {"glyph": "x"}}})", "icons \"1\": needs a size"},
		{R"({"dialogs": {"1": {"size": [1]}}})", "size: must be a list of 2 whole numbers"},
		{R"({"dialogs": {"1": {"size": [1, 1], "items": {}}}})", "items: must be a list"},
		{R"({"strings": {"12a": []}})", "the id must be a whole number"},
		{R"({"strings": {"": []}})", "the id must be a whole number"},
		{R"({"strings": {"+1": []}})", "the id must be a whole number"},
		{R"({"strings": {"2147483648": []}})", "the id must be a whole number"},
		{R"({"binary": {"MDID32500": [1]}})", "four-character type"},
		{R"({"binary": {"MDI:32500": [1]}})", "four-character type"},
		{R"({"binary": {"MDID:x": [1]}})", "the id must be a whole number"},
		{R"({"binary": {"MNUM:1": [4294967296]}})", "word 1: must be from"},
		{R"({"binary": {"MNUM:1": [-2147483649]}})", "word 1: must be from"},
		{R"({"binary": {"MNUM:1": [1.5]}})", "must be a whole number"},
		{R"({"binary": {"MNUM:1": [true]}})", "must be a whole number"},
		{R"({"dialogs": {"1": {"size": [65536, 1]}}})", "size number 1: must be from 0 to 65535"},
		{R"({"dialogs": {"1": {"size": [1, 1], "items": [{"kind": "button", "rect": [0, 0, 40000, 1]}]}}})",
			"rect number 3: must be from -32768 to 32767"},
		{R"({"dialogs": {"1": {"size": [1, 1], "items": [{"kind": "radio", "rect": [0, 0, 1, 1], "group": -1}]}}})",
			"group: must be from 0 to 65535"},
		{R"({"dialogs": {"1": {"size": [1, 1], "titel": "x"}}})", "unknown key \"titel\""},
		{R"({"dialogs": {"1": {"size": [1, 1], "items": [{"kind": "slider", "rect": [0, 0, 1, 1]}]}}})",
			"unknown item kind \"slider\""},
		{R"({"dialogs": {"1": {"size": [1, 1], "items": [{"kind": "button"}]}}})", "needs a kind and a rect"},
		{R"({"dialogs": {"1": {"size": [1, 1], "items": [{"kind": "button", "rect": [0, 0, 1, 1], "txt": ""}]}}})",
			"item 1: unknown key \"txt\""},
		{R"({"icons": {"1": {"size": [1, 1], "colour": 3}}})", "unknown key \"colour\""},
		{R"({"strings": {"1": ["a"], "1": ["b"]}})", "the key \"1\" appears twice"},
		{R"({"strings": {}, "strings": {}})", "the key \"strings\" appears twice"},
		{R"({"strings": {"1": ["a\u0000b"]}})", "NUL"},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.json);
		const std::string message = ErrorOf(row.json, "broken.json");
		EXPECT_EQ(message.rfind("broken.json: ", 0), 0u) << "message: " << message;
		EXPECT_NE(message.find(row.expectedPart), std::string::npos) << "message: " << message;
	}
}

class ResourceBlobTest : public ::testing::Test {
protected:
	static std::vector<Rescomp::CompiledResource> Sample()
	{
		auto first = Compile(
			R"({"strings": {"32000": ["Name", "Description"]}, "binary": {"MDID:32500": [8, 7, 9]}})", "a.json");
		auto second =
			Compile(R"({"icons": {"2": {"size": [16, 16], "glyph": "ab"}}, "strings": {"140": ["x"]}})", "b.json");
		first.insert(first.end(), second.begin(), second.end());
		return first;
	}
};

TEST_F(ResourceBlobTest, WrittenBlobReadsBack)
{
	const Bytes blob = Rescomp::WriteResourceBlob(Sample());
	std::string problem;
	const auto view = VX::ResourceBlob::Open(blob, &problem);
	ASSERT_TRUE(view) << problem;
	EXPECT_EQ(view->Entries().size(), 4u);
	const auto names = view->Find(VX::ResourceTypes::StringList, 32000);
	ASSERT_TRUE(names);
	EXPECT_EQ(VX::GetStringListItem(*names, 1), "Name");
	EXPECT_EQ(VX::GetStringListItem(*names, 2), "Description");
	EXPECT_FALSE(VX::GetStringListItem(*names, 3));
	EXPECT_FALSE(VX::GetStringListItem(*names, 0));
	const auto identity = view->Find(VX::ResourceTypes::ModuleIdentity, 32500);
	ASSERT_TRUE(identity);
	EXPECT_EQ(identity->size(), 12u);
	EXPECT_FALSE(view->Find(VX::ResourceTypes::StringList, 32001));
}

TEST_F(ResourceBlobTest, LayoutIsHeaderDirectoryAlignedData)
{
	const Bytes blob = Rescomp::WriteResourceBlob(Sample());
	ASSERT_GE(blob.size(), 12u + 4 * 16);
	EXPECT_EQ(std::string(blob.begin(), blob.begin() + 4), "VXRS");
	EXPECT_EQ(blob[4], 1);
	EXPECT_EQ(blob[8], 4);
	EXPECT_EQ(blob.size() % 4, 0u);
	const auto view = VX::ResourceBlob::Open(blob);
	ASSERT_TRUE(view);
	std::uint64_t previousKey = 0;
	for (const VX::ResourceEntry& entry : view->Entries()) {
		const auto offset = static_cast<std::size_t>(entry.bytes.data() - blob.data());
		EXPECT_EQ(offset % 4, 0u) << "every resource starts on a 4-byte boundary";
		EXPECT_GE(offset, 12u + 4 * 16) << "data follow the directory";
		const std::uint64_t key =
			(std::uint64_t {entry.type} << 32) | static_cast<std::uint32_t>(entry.id + 0x80000000u);
		EXPECT_GT(key, previousKey) << "the directory is ordered by type and id";
		previousKey = key;
	}
}

TEST_F(ResourceBlobTest, SameBlobWhateverTheSourceOrder)
{
	auto resources = Sample();
	const Bytes forward = Rescomp::WriteResourceBlob(resources);
	std::reverse(resources.begin(), resources.end());
	EXPECT_EQ(Rescomp::WriteResourceBlob(resources), forward);
}

TEST_F(ResourceBlobTest, DuplicateAcrossFilesNamesBoth)
{
	auto resources = Compile(R"({"strings": {"32000": ["a"]}})", "first.json");
	auto again = Compile(R"({"strings": {"32000": ["b"]}})", "second.json");
	resources.insert(resources.end(), again.begin(), again.end());
	try {
		Rescomp::WriteResourceBlob(resources);
		FAIL() << "a duplicate must be refused";
	} catch (const Rescomp::ResourceError& error) {
		const std::string message = error.what();
		EXPECT_NE(message.find("STRS 32000 is defined twice"), std::string::npos) << message;
		EXPECT_NE(message.find("first.json"), std::string::npos) << message;
		EXPECT_NE(message.find("second.json"), std::string::npos) << message;
	}
}

TEST_F(ResourceBlobTest, DialogAndBinaryOfTheSameTypeCollideAndAnEmptyBlobIsValid)
{
	auto resources = Compile(R"({"dialogs": {"128": {"size": [1, 1]}}, "binary": {"DLGH:128": [0]}})", "one.json");
	EXPECT_THROW(Rescomp::WriteResourceBlob(resources), Rescomp::ResourceError);
	const Bytes blob = Rescomp::WriteResourceBlob({});
	EXPECT_EQ(blob.size(), 12u);
	const auto view = VX::ResourceBlob::Open(blob);
	ASSERT_TRUE(view);
	EXPECT_TRUE(view->Entries().empty());
}

class ResourceBlobReaderTest : public ::testing::Test {
protected:
	static bool Refused(const Bytes& blob)
	{
		std::string problem;
		const bool refused = !VX::ResourceBlob::Open(blob, &problem);
		if (refused) {
			EXPECT_FALSE(problem.empty());
		}
		return refused;
	}
	Bytes valid = Rescomp::WriteResourceBlob(Compile(R"({"strings": {"1": ["abc"]}})"));
};

TEST_F(ResourceBlobReaderTest, DamagedBlobsAreRefused)
{
	EXPECT_FALSE(Refused(valid));
	EXPECT_TRUE(Refused(Bytes(valid.begin(), valid.begin() + 11))) << "short header";
	Bytes magic = valid;
	magic[0] = 'W';
	EXPECT_TRUE(Refused(magic));
	Bytes version = valid;
	version[4] = 2;
	EXPECT_TRUE(Refused(version));
	Bytes count = valid;
	count[8] = 2;
	EXPECT_TRUE(Refused(count)) << "directory past the end";
	Bytes offset = valid;
	offset[12 + 8] = 0xF0;
	EXPECT_TRUE(Refused(offset)) << "resource offset past the end";
	Bytes size = valid;
	size[12 + 12] = 0xF0;
	EXPECT_TRUE(Refused(size)) << "resource size past the end";
	Bytes hugeCount = valid;
	hugeCount[11] = 0xFF;
	EXPECT_TRUE(Refused(hugeCount));
}

TEST_F(ResourceBlobReaderTest, StringListCountIsBoundedByTheResource)
{
	// A count larger than the resource and a last text without NUL stay inside the bytes.
	const Bytes list = ToBytes(std::string_view("\xFF\0\0\0ab\0cd", 9));
	EXPECT_EQ(VX::GetStringListItem(list, 1), "ab");
	EXPECT_EQ(VX::GetStringListItem(list, 2), "cd");
	EXPECT_FALSE(VX::GetStringListItem(list, 3));
	const Bytes shortCount = ToBytes(std::string_view("\x03\0\0\0ab\0cd\0", 10));
	EXPECT_EQ(VX::GetStringListItem(shortCount, 1), "ab");
	EXPECT_FALSE(VX::GetStringListItem(shortCount, 2)) << "texts past the count are not part of the list";
	EXPECT_FALSE(VX::GetStringListItem(Bytes {1, 0}, 1));
}

// The program as the build runs it.
class ResourceCompilerProgramTest : public ::testing::Test {
protected:
	std::string Write(const std::string& name, const std::string& text)
	{
		WriteWholeFile(folder / name, text);
		return (folder / name).string();
	}

	// Runs the compiler; answers its exit status and keeps what it wrote to standard error.
	int Run(const std::string& arguments)
	{
		const std::string errors = (folder / "errors.txt").string();
		const std::string command = std::string("'") + RESCOMP_PROGRAM + "' " + arguments + " 2>'" + errors + "'";
		const int status = std::system(command.c_str());
		std::ifstream file(errors);
		std::stringstream text;
		text << file.rdbuf();
		errorText = text.str();
		return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
	}

	ScratchFolder scratch;
	const std::filesystem::path& folder = scratch.Path();
	std::string errorText;
};

// A faulty source is named, and nothing is written.
TEST_F(ResourceCompilerProgramTest, FaultySourcesAreNamedAndNothingWritten)
{
	const std::string one = R"({"strings": {"1": ["one"]}})";
	const struct {
		const char* what;
		std::string second; // empty: the file is missing
		const char* message;
	} cases[] = {
		{"a duplicate", R"({"strings": {"1": ["again"]}})", "b.json: STRS 1 is defined twice"},
		{"malformed", R"({"strings": {"1": ["one"]})", "/b.json: not valid JSON: "},
		{"missing", "", "b.json: cannot be read"},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		std::filesystem::remove(folder / "b.json");
		const std::string a = Write("a.json", one);
		const std::string b = row.second.empty() ? (folder / "b.json").string() : Write("b.json", row.second);
		const std::string output = (folder / "out.vxrs").string();
		EXPECT_EQ(Run("-o '" + output + "' '" + a + "' '" + b + "'"), 1);
		EXPECT_NE(errorText.find(row.message), std::string::npos) << errorText;
		EXPECT_FALSE(std::filesystem::exists(output));
	}
}

TEST_F(ResourceCompilerProgramTest, OutputIsRequired)
{
	const std::string a = Write("a.json", "{}");
	EXPECT_NE(Run("'" + a + "'"), 0);
	EXPECT_NE(errorText.find("output"), std::string::npos) << errorText;
}

} // namespace
