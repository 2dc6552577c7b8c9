// Reading the configuration file beside the module into the detail-level table: the file's
// place, a missing file created empty, an unusable file and lines lacking values reported in
// the error dialog, and the rows entered.
//
// The module's location is built once, from the module path, at its first use. In this test
// program no module is loaded, so the fixture points the module path into a temporary folder
// before that first use; every test then works on the Facetally.txt of that folder.
#include "OwnModuleResources.hpp"

#include "lod/DetailLevelTable.hpp"
#include "lod/ReadDetailLevelFile.hpp"
#include "shell/AddOnLocation.hpp"
#include "shell/ModuleState.hpp"

#include "DG/ModalRecord.hpp"
#include "DG/User.hpp"
#include "DG/UserAgent.hpp"
#include "IO/Location.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string ValuesMessage =
	"Two or three parameter values are required, each between double quote marks (\"), after the parameter name!\r\n";
const std::string CheckBoxLabel = "Do not show again";

class DetailLevelFileTest : public ModuleResourcesFixture {
protected:
	// The one message of a file that can be neither read nor created, and no levels.
	static void ExpectUnusableFileReported()
	{
		const std::vector<DG::ShownModalDialog> shown = DG::GetShownModalDialogs();
		ASSERT_EQ(shown.size(), 1u);
		EXPECT_EQ(shown[0].texts,
			(std::vector<std::string> {"Facetally.txt:", "File not found and cannot be created!", "OK"}));
		EXPECT_TRUE(DetailLevels().IsEmpty());
	}

	static void SetUpTestSuite()
	{
		if (folder.empty()) {
			std::string pattern = (fs::temp_directory_path() / "facetally-model-XXXXXX").string();
			ASSERT_NE(mkdtemp(pattern.data()), nullptr);
			folder = pattern;
			const std::string modulePath = (folder / "Facetally.addon").string();
			ASSERT_LT(modulePath.size(), sizeof(Module().modulePath));
			std::memcpy(Module().modulePath, modulePath.c_str(), modulePath.size() + 1);
		}
	}
	static void TearDownTestSuite()
	{
		std::error_code ignored;
		fs::remove_all(folder, ignored);
	}

	void SetUp() override
	{
		ModuleResourcesFixture::SetUp();
		IO::Location module;
		ASSERT_EQ(AddOnLocation(module), HostSdk::StatusOk);
		ASSERT_EQ(module.ToPath().ToStd(), (folder / "Facetally.addon").string())
			<< "the module's location was built before this fixture set the module path";
		std::error_code ignored;
		fs::remove_all(ConfigurationPath(), ignored);
		DG::ClearShownModalDialogs();
		DetailLevels().Clear();
	}
	void TearDown() override
	{
		std::error_code ignored;
		fs::remove_all(ConfigurationPath(), ignored);
		DetailLevels().Clear();
		DG::ClearShownModalDialogs();
		ModuleResourcesFixture::TearDown();
	}

	static fs::path ConfigurationPath() { return folder / "Facetally.txt"; }

	static void WriteConfiguration(const std::string& bytes)
	{
		std::ofstream file(ConfigurationPath(), std::ios::binary);
		file << bytes;
	}

	static std::string ReadConfiguration()
	{
		std::ifstream file(ConfigurationPath(), std::ios::binary);
		return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
	}

	// Every value of every row of a name, rows in the table's order.
	static std::vector<std::vector<std::string>> RowsOf(const char* name)
	{
		std::vector<std::vector<std::string>> rows;
		const auto [first, last] = DetailLevels().EqualRange(name);
		for (auto it = first; it != last; ++it) {
			std::vector<std::string> values;
			for (VX::UIndex position = 0; position < it->second.GetSize(); ++position)
				values.push_back(it->second[position].ToStd());
			rows.push_back(values);
		}
		return rows;
	}

	static void PutSomethingIntoTheTable()
	{
		DetailLevelTable::Row row;
		row.SetSize(1);
		row[0] = "stale";
		DetailLevels().Add("Stale", row);
	}

	static inline fs::path folder;
};

using Rows = std::vector<std::vector<std::string>>;

// What a file's text enters, with one message for each line lacking values; the table is
// emptied first, and nothing is ever written into the file.
TEST_F(DetailLevelFileTest, TheFilesRowsAreEntered)
{
	const struct {
		const char* what;
		std::string contents;
		std::size_t messages;
		std::vector<std::pair<const char*, Rows>> rows;
		std::size_t size;
	} cases[] = {
		{"empty", "", 0, {}, 0},
		{"comments, blank lines, tabs, two and five values",
			"# Level-of-detail parameters of our libraries\r\nLOD \"Detailed\" \"Simple\" \"Off\"\r\n\r\n"
			"  Detail\t\"full\"\t\"none\"\r\nLOD \"1\" \"2\" \"3\" \"4\" \"5\"\r\n",
			0,
			{{"LOD", {{"Detailed", "Simple", "Off"}, {"1", "2", "3", "4", "5"}}}, {"Detail", {{"full", "", "none"}}}},
			3},
		{"lines lacking values are still entered", "A \"1\"\nB \"1\" \"2\"\nC words only\n# D \"x\"\nE\n", 2,
			{{"A", {{"1"}}}, {"B", {{"1", "", "2"}}}, {"C", {{}}}, {"E", {}}, {"#", {}}}, 3},
	};
	for (const auto& each : cases) {
		SCOPED_TRACE(each.what);
		DG::ClearShownModalDialogs();
		WriteConfiguration(each.contents);
		PutSomethingIntoTheTable();
		ReadDetailLevelFile();
		const std::vector<DG::ShownModalDialog> shown = DG::GetShownModalDialogs();
		ASSERT_EQ(shown.size(), each.messages);
		for (const DG::ShownModalDialog& dialog : shown)
			EXPECT_EQ(dialog.texts, (std::vector<std::string> {"Facetally.txt:", ValuesMessage, "OK"}));
		for (const auto& [name, rows] : each.rows)
			EXPECT_EQ(RowsOf(name), rows) << name;
		EXPECT_EQ(DetailLevels().GetSize(), each.size);
		EXPECT_EQ(ReadConfiguration(), each.contents);
	}
}

TEST_F(DetailLevelFileTest, MissingFileIsCreatedEmpty)
{
	PutSomethingIntoTheTable();
	ReadDetailLevelFile();
	EXPECT_TRUE(DetailLevels().IsEmpty());
	EXPECT_EQ(DG::GetShownModalDialogCount(), 0u);
	ASSERT_TRUE(fs::is_regular_file(ConfigurationPath()));
	EXPECT_EQ(fs::file_size(ConfigurationPath()), 0u);
}

TEST_F(DetailLevelFileTest, LineWithOneValueShowsTheMessageOnceAndIsStillEntered)
{
	WriteConfiguration("LOD \"only\"\nLOD \"a\" \"b\" \"c\"\n");
	DG::QueuedUserAgent agent;
	const DG::UserAgentScope scope(agent);
	std::size_t rowsWhileShown = 99;
	agent.Enqueue([&rowsWhileShown](DG::User& user) {
		// Hidden, so a person cannot tick it.
		EXPECT_EQ(user.FindItem(CheckBoxLabel), 0);
		rowsWhileShown = DetailLevels().GetSize();
		EXPECT_TRUE(user.Click("OK"));
	});
	ReadDetailLevelFile();

	const std::vector<DG::ShownModalDialog> shown = DG::GetShownModalDialogs();
	ASSERT_EQ(shown.size(), 1u);
	EXPECT_EQ(shown[0].title, "Facetally error");
	EXPECT_EQ(shown[0].texts, (std::vector<std::string> {"Facetally.txt:", ValuesMessage, "OK"}));
	// The user reads the message before the line's row is entered.
	EXPECT_EQ(rowsWhileShown, 0u);
	EXPECT_EQ(RowsOf("LOD"), (Rows {{"only"}, {"a", "b", "c"}}));
}

TEST_F(DetailLevelFileTest, ReadingAgainReplacesTheRows)
{
	WriteConfiguration("LOD \"a\" \"b\" \"c\"\n");
	ReadDetailLevelFile();
	WriteConfiguration("Other \"x\" \"y\" \"z\"\n");
	ReadDetailLevelFile();
	EXPECT_TRUE(RowsOf("LOD").empty());
	EXPECT_EQ(RowsOf("Other"), (Rows {{"x", "y", "z"}}));
}

TEST_F(DetailLevelFileTest, FolderInTheFilesPlaceIsReportedAsUnusable)
{
	fs::create_directory(ConfigurationPath());
	// A file inside shows that the folder is not taken for an empty file.
	std::ofstream(ConfigurationPath() / "LOD") << "LOD \"a\" \"b\" \"c\"\n";
	PutSomethingIntoTheTable();
	ReadDetailLevelFile();
	ExpectUnusableFileReported();
	EXPECT_TRUE(fs::is_directory(ConfigurationPath()));
}

TEST_F(DetailLevelFileTest, FileThatCanNeitherBeOpenedNorCreatedIsReported)
{
	// A link to itself: no file is there, and none can be created through it (root included).
	fs::create_symlink("Facetally.txt", ConfigurationPath());
	ReadDetailLevelFile();
	ExpectUnusableFileReported();
	EXPECT_TRUE(fs::is_symlink(ConfigurationPath()));
}

TEST(ConfigurationFileLocation, ReplacesTheAddOnExtensionByTxt)
{
	const struct {
		const char* module;
		const char* configuration;
	} cases[] = {
		{"/opt/host/Add-Ons/Facetally.addon", "/opt/host/Add-Ons/Facetally.txt"},
		{"/a/Face.tally.addon", "/a/Face.tally.txt"},
		{"/a/Facetally.ADDON", "/a/Facetally.txt"}, // the extension's case does not matter
		{"/a/Facetally.AddOn", "/a/Facetally.txt"}, {"/a/Facetally", "/a/Facetally.txt"}, // no extension: appended
	};
	for (const auto& row : cases) {
		IO::Location out;
		ASSERT_TRUE(ConfigurationFileLocation(IO::Location(row.module), out)) << row.module;
		EXPECT_EQ(out.ToPath(), row.configuration);
	}
}

TEST(ConfigurationFileLocation, OtherExtensionsAndNoFileNameFindNoFile)
{
	const IO::Location modules[] = {IO::Location("/a/Facetally.so"), IO::Location("/a/Facetally.addons"),
		IO::Location("/a/Facetally.txt"), IO::Location(), IO::Location("/")};
	for (std::size_t each = 0; each < std::size(modules); ++each) {
		IO::Location out("/untouched");
		EXPECT_FALSE(ConfigurationFileLocation(modules[each], out)) << "case " << each;
		EXPECT_EQ(out.ToPath(), "/untouched");
	}
}

} // namespace
