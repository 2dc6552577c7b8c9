// Project files: what is read into the model, the round trip, members the host does not
// know, and files that are refused with the file and the place named, nothing overwritten.
#include "ProjectFile.hpp"
#include "CommandLine.hpp"
#include "ProjectTestSupport.hpp"

#include <sys/stat.h>

#include <sstream>

namespace ReferenceHost::Testing {
namespace {

std::unique_ptr<Project> Parse(const std::string& text, std::string& problem)
{
	return ParseProjectText(text, "test.json", problem);
}

// The small project with one piece of text replaced.
std::string SmallProjectWith(const std::string& from, const std::string& to)
{
	std::string text = SmallProjectText;
	const std::size_t at = text.find(from);
	if (at == std::string::npos)
		throw std::logic_error("the small project has no " + from);
	return text.replace(at, from.size(), to);
}

class ProjectFileReadTest : public ::testing::Test {};

TEST_F(ProjectFileReadTest, TheSmallProjectIsReadIntoTheModel)
{
	std::string problem;
	const std::unique_ptr<Project> project = Parse(SmallProjectText, problem);
	ASSERT_NE(project, nullptr) << problem;

	const Stories& stories = project->StoryList();
	EXPECT_EQ(stories.first, -1);
	EXPECT_EQ(stories.last, 2);
	EXPECT_EQ(stories.active, 1);
	EXPECT_TRUE(stories.noStoryZero);
	EXPECT_EQ(stories.NameOf(2), "Attic");
	EXPECT_EQ(project->WindowKind(), 4);
	EXPECT_EQ(project->DataRecordMode(), 3);

	EXPECT_EQ(project->ElementCount(1), 3);
	EXPECT_EQ(project->ElementCount(4), 3);
	EXPECT_EQ(project->ElementCount(6), 2);
	EXPECT_EQ(project->ElementCount(28), 2);
	EXPECT_EQ(project->TotalElementCount(), 10u);

	const Element* hidden = project->FindElement(1, 2);
	ASSERT_NE(hidden, nullptr);
	EXPECT_FALSE(hidden->visible);
	EXPECT_FALSE(hidden->editable);
	EXPECT_TRUE(project->FindElement(1, 3)->deleted);

	const Element* window = project->FindElement(4, 1);
	EXPECT_EQ(window->libPartIndex, 1);
	EXPECT_EQ(window->groupIndex, 1);
	ASSERT_EQ(window->parameters.size(), 4u) << "a placed part carries a copy of the part's parameters";
	EXPECT_EQ(FindParameter(window->parameters, "lod")->text, "Simple");
	EXPECT_EQ(FindParameter(window->parameters, "width")->number, 1.5);
	EXPECT_EQ(FindParameter(window->parameters, "panes")->texts, (std::vector<std::string> {"left", "right"}));
	EXPECT_EQ(FindParameter(window->parameters, "sizes")->numbers, (std::vector<double> {0.5, 0.75}));
	EXPECT_EQ(
		FindParameter(window->parameters, "lod")->valueList, (std::vector<std::string> {"Detailed", "Simple", "Off"}));

	const Element* stair = project->FindElement(6, 1);
	EXPECT_EQ(stair->variation, HostSdk::StairVariation) << "four characters are read as a big-endian number";
	EXPECT_TRUE(stair->refusesChanges);
	EXPECT_EQ(stair->story, -1);

	const Element* group = project->FindElement(28, 1);
	EXPECT_EQ(group->groupMode, 1);
	EXPECT_TRUE(group->groupProtected);
	EXPECT_EQ(group->protectionId, 7u);

	const LibraryPart* part = project->FindLibraryPart(1);
	ASSERT_NE(part, nullptr);
	EXPECT_EQ(part->name, "Test Window");
	EXPECT_EQ(part->typeId, 4);
	EXPECT_EQ(part->modelParameter, "lod");
	EXPECT_EQ(part->models.at("Simple"), (ComponentList {10}));
	EXPECT_TRUE(project->FindLibraryPart(2)->missing);
	EXPECT_EQ(project->FindLibraryPartByUniqueId("{S-3}"), project->FindLibraryPart(3));

	const Selection& selection = project->CurrentSelection();
	EXPECT_EQ(selection.kind, 1);
	EXPECT_EQ(selection.items, (std::vector<ElementId> {{1, 1}, {4, 2}}));
}

TEST_F(ProjectFileReadTest, AnElementWithoutStoryStandsOnTheFirst)
{
	std::string problem;
	const std::unique_ptr<Project> project =
		Parse(SmallProjectWith(
				  R"({"type": "Wall", "story": 0, "components": [6, 8]})", R"({"type": 1, "components": [6, 8]})"),
			problem);
	ASSERT_NE(project, nullptr) << problem;
	EXPECT_EQ(project->FindElement(1, 1)->story, -1);
}

class ProjectFileRoundTripTest : public ::testing::Test {
protected:
	ScratchFolder scratch;
};

TEST_F(ProjectFileRoundTripTest, WritingAndReadingAgainGivesTheSameFile)
{
	for (const std::string& text : {std::string(SmallProjectText), ReadWholeFile(SampleProjectFile())}) {
		std::string problem;
		const std::unique_ptr<Project> first = Parse(text, problem);
		ASSERT_NE(first, nullptr) << problem;
		const std::string written = ProjectText(*first);
		const std::unique_ptr<Project> second = Parse(written, problem);
		ASSERT_NE(second, nullptr) << problem << "\n" << written;
		EXPECT_EQ(ProjectText(*second), written);
		EXPECT_EQ(second->TotalElementCount(), first->TotalElementCount());
	}
}

TEST_F(ProjectFileRoundTripTest, ChangesAndModuleDataSurviveSavingAndOpening)
{
	std::string problem;
	std::unique_ptr<Project> project = Parse(SmallProjectText, problem);
	ASSERT_NE(project, nullptr) << problem;
	ASSERT_TRUE(project->SetElementParameter({4, 2}, "lod", "Off", problem)) << problem;
	ASSERT_TRUE(project->SetElementParameter({4, 2}, "sizes", "1|2.5|3", problem)) << problem;
	project->StoreModuleData("Facetally", {2, 0x5757, {'{', 'A', '}', 0, '1', 0, 0xFF}});
	project->DataRecordBytes()[500] = 0x42;
	project->Damage().groupDataTooShort = true;

	const std::filesystem::path file = scratch.Path() / "saved.json";
	ASSERT_TRUE(WriteProjectFile(*project, file, problem)) << problem;
	const std::unique_ptr<Project> reopened = ReadProjectFile(file, problem);
	ASSERT_NE(reopened, nullptr) << problem;
	EXPECT_EQ(reopened->File(), file);
	const Element* window = reopened->FindElement(4, 2);
	EXPECT_EQ(FindParameter(window->parameters, "lod")->text, "Off");
	EXPECT_EQ(FindParameter(window->parameters, "sizes")->numbers, (std::vector<double> {1, 2.5, 3}));
	ASSERT_NE(reopened->FindModuleData("Facetally"), nullptr);
	EXPECT_EQ(*reopened->FindModuleData("Facetally"), *project->FindModuleData("Facetally"));
	EXPECT_EQ(reopened->DataRecordBytes(), project->DataRecordBytes());
	EXPECT_TRUE(reopened->Damage().groupDataTooShort);
	EXPECT_FALSE(reopened->Damage().textsUnterminated);
}

TEST_F(ProjectFileRoundTripTest, MembersTheHostDoesNotKnowAreKept)
{
	std::string text = SmallProjectText;
	text =
		SmallProjectWith(R"("window": {"kind": 4},)", R"("window": {"kind": 4}, "architect": {"name": "A. Builder"},)");
	text.replace(text.find(R"({"type": "Wall", "story": 0,)"), 28, R"({"type": "Wall", "story": 0, "colour": "red",)");
	text.replace(text.find(R"("name": "Test Window",)"), 22, R"("name": "Test Window", "vendor": 17,)");
	text.replace(text.find(R"({"name": "width", "type": 1,)"), 28, R"({"name": "width", "type": 1, "unit": "m",)");
	text.replace(text.find(R"("noStoryZero": true,)"), 20, R"("noStoryZero": true, "height": [3.1, 2.9],)");
	text.replace(text.find(R"("marqueeAllStories": 0,)"), 23, R"("marqueeAllStories": 0, "since": "today",)");

	std::string problem;
	const std::unique_ptr<Project> project = Parse(text, problem);
	ASSERT_NE(project, nullptr) << problem;
	const std::string written = ProjectText(*project);
	for (const char* kept : {R"("architect": {)", R"("name": "A. Builder")", R"("colour": "red")", R"("vendor": 17)",
			 R"("unit": "m")", R"("height": [)", R"("since": "today")"})
		EXPECT_NE(written.find(kept), std::string::npos) << kept << " was lost:\n" << written;
	const std::unique_ptr<Project> again = Parse(written, problem);
	ASSERT_NE(again, nullptr) << problem;
	EXPECT_EQ(ProjectText(*again), written);
}

// ---- Refused files ---------------------------------------------------------------------------

struct RefusedCase {
	const char* what;
	std::string text;
	const char* expected; // part of the message after "test.json: "
};

void PrintTo(const RefusedCase& refused, std::ostream* out)
{
	*out << refused.what;
}

std::string Nested(std::size_t depth, const std::string& inside)
{
	return std::string(depth, '[') + inside + std::string(depth, ']');
}

std::string ManyOnes(std::size_t count)
{
	std::string items = "1";
	for (std::size_t i = 1; i < count; ++i)
		items += ",1";
	return "[" + items + "]";
}

class ProjectFileRefusalTest : public ::testing::TestWithParam<RefusedCase> {
protected:
	ScratchFolder scratch;
};

// The reader refuses the text with one short message; the host program, given it as a file,
// says so and exits with 1, and the file stays as it was.
TEST_P(ProjectFileRefusalTest, TheMessageNamesTheFileAndThePlace)
{
	std::string problem;
	EXPECT_EQ(Parse(GetParam().text, problem), nullptr);
	EXPECT_EQ(problem.rfind("test.json: ", 0), 0u) << problem;
	EXPECT_NE(problem.find(GetParam().expected), std::string::npos) << problem;
	EXPECT_LT(problem.size(), 800u) << "a message names the place, it does not print the value";

	const std::filesystem::path file = scratch.Path() / "refused.json";
	WriteWholeFile(file, GetParam().text);
	std::filesystem::create_directories(scratch.Path() / "no-add-ons");
	std::ostringstream out;
	std::ostringstream err;
	const int exitCode = RunHostProgram(
		{"facetally-host", "--addons", (scratch.Path() / "no-add-ons").string(), file.string()}, out, err);
	EXPECT_EQ(exitCode, 1);
	const std::string said = out.str() + err.str();
	EXPECT_NE(said.find(file.string() + ": " + GetParam().expected), std::string::npos) << said;
	EXPECT_EQ(ReadWholeFile(file), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProjectFileRefusalTest,
	::testing::Values(RefusedCase {"syntax", "{\n  \"format\": \"facetally-project\",\n  \"version\": 1,,\n}",
						  "at line 3, column 16: syntax error while parsing object key"},
		RefusedCase {"empty file", "", "at line 1, column 1"},
		RefusedCase {"no format", R"({"version": 1})", "at the top: the member \"format\" is missing"},
		RefusedCase {
			"other format", R"({"format": "house", "version": 1})", "at /format: expected \"facetally-project\""},
		RefusedCase {"newer version", R"({"format": "facetally-project", "version": 2})",
			"at /version: the file was written in version 2 of the project format; this host reads version 1"},
		RefusedCase {"not an object", "[1, 2]", "at the top: expected an object"},
		RefusedCase {"unknown type",
			SmallProjectWith(R"("type": "Object", "story": 2,)", R"("type": "Objekt", "story": 2,)"),
			"at /elements/7/type: \"Objekt\" is not an element type"},
		RefusedCase {"type out of range",
			SmallProjectWith(R"("type": "Object", "story": 2,)", R"("type": 34, "story": 2,)"),
			"at /elements/7/type: expected a whole number from 0 to 33, found 34"},
		RefusedCase {"story outside",
			SmallProjectWith(R"("type": "Object", "story": 2,)", R"("type": "Object", "story": 3,)"),
			"at /elements/7/story: the project has no story 3"},
		RefusedCase {"no such group", SmallProjectWith(R"("group": 1,)", R"("group": 3,)"),
			"at /elements/3/group: there is no group 3"},
		RefusedCase {"wrong index",
			SmallProjectWith(R"({"type": "Window", "story": 1, "libraryPart": 1},)",
				R"({"type": "Window", "index": 1, "story": 1, "libraryPart": 1},)"),
			"at /elements/4/index: this is element 2 of its type, not 1"},
		RefusedCase {"wall from a part",
			SmallProjectWith(R"("components": [6, 8]})", R"("components": [6, 8], "libraryPart": 1})"),
			"at /elements/0/libraryPart: only windows, doors, objects and lamps carry \"libraryPart\""},
		RefusedCase {"group fields on a wall",
			SmallProjectWith(R"("components": [6, 8]})", R"("components": [6, 8], "protected": true})"),
			"at /elements/0/protected: only groups carry \"protected\""},
		RefusedCase {"unknown parameter",
			SmallProjectWith(R"("parameters": {"lod": "Simple"})", R"("parameters": {"colour": "Simple"})"),
			"at /elements/3/parameters/colour: the library part \"Test Window\" has no parameter \"colour\""},
		RefusedCase {"parameter of the wrong kind",
			SmallProjectWith(R"("parameters": {"lod": "Simple"})", R"("parameters": {"lod": 3})"),
			"at /elements/3/parameters/lod: expected a text, found 3"},
		RefusedCase {"negative component", SmallProjectWith(R"("components": [6, 8]})", R"("components": [6, -8]})"),
			"at /elements/0/components/1: expected a whole number from 0 to 2147483647, found -8"},
		RefusedCase {"duplicate part index",
			SmallProjectWith(R"("index": 3, "name": "Stair Part")", R"("index": 1, "name": "Stair Part")"),
			"at /libraryParts/2/index: another library part has the index 1"},
		RefusedCase {"duplicate identifier", SmallProjectWith(R"("uniqueId": "{S-3}")", R"("uniqueId": "{W-1}")"),
			"at /libraryParts/2/uniqueId: another library part has the identifier \"{W-1}\""},
		RefusedCase {"model parameter not a text",
			SmallProjectWith(R"("modelParameter": "lod")", R"("modelParameter": "width")"),
			"at /libraryParts/0/modelParameter: \"width\" is not a single-value text parameter of the part"},
		RefusedCase {"selected twice", SmallProjectWith(R"(["Wall:1", "Window:2"])", R"(["Wall:1", "Wall:1"])"),
			"at /selection/items/1: \"Wall:1\" is selected twice"},
		RefusedCase {"selected deleted", SmallProjectWith(R"(["Wall:1", "Window:2"])", R"(["Wall:3"])"),
			"at /selection/items/0: there is no element \"Wall:3\""},
		RefusedCase {"nothing of kind one", SmallProjectWith(R"(["Wall:1", "Window:2"])", R"([])"),
			"at /selection/items: a selection of kind 1 (elements) needs at least one item"},
		RefusedCase {"active story outside", SmallProjectWith(R"("active": 1,)", R"("active": 5,)"),
			"at /stories/active: expected a whole number from -1 to 2, found 5"},
		RefusedCase {"misspelt damage",
			SmallProjectWith(R"("window": {"kind": 4},)", R"("window": {"kind": 4}, "damage": {"shortGroups": true},)"),
			"at /damage/shortGroups: \"shortGroups\" is not a kind of damaged answer this host can give"},
		RefusedCase {"bad module data",
			SmallProjectWith(R"("window": {"kind": 4},)",
				R"("window": {"kind": 4}, "moduleData": {"X": {"dataVersion": 2, "platformMark": 1, "bytes": "0g"}},)"),
			"at /moduleData/X/bytes: expected bytes as pairs of hexadecimal digits; character 2 is not one"},
		RefusedCase {"slash in a key",
			SmallProjectWith(
				R"("window": {"kind": 4},)", R"("window": {"kind": 4}, "moduleData": {"a/b~c": {"dataVersion": 2}},)"),
			"at /moduleData/a~1b~0c: the member \"platformMark\" is missing"},
		RefusedCase {"number beyond a double",
			SmallProjectWith(R"("window": {"kind": 4},)", R"("window": {"kind": 4}, "later": 1e999,)"),
			"at line 6, column 35: number overflow parsing '1e999'"},
		RefusedCase {"negative number beyond a double", SmallProjectWith(R"("value": 1.5)", R"("value": -1e400)"),
			"at line 11, column 46: number overflow parsing '-1e400'"},
		RefusedCase {"stories upside down",
			SmallProjectWith(R"("first": -1, "last": 2, "active": 1)", R"("first": 3, "last": 2, "active": 3)"),
			"at /stories/last: expected a whole number from 3 to 32767, found 2"},
		RefusedCase {"active story below",
			SmallProjectWith(R"("first": -1, "last": 2, "active": 1)", R"("first": 1, "last": 2, "active": 0)"),
			"at /stories/active: expected a whole number from 1 to 2, found 0"},
		RefusedCase {"window kind 0", SmallProjectWith(R"("kind": 4)", R"("kind": 0)"),
			"at /window/kind: expected a whole number from 1 to 2147483647, found 0"},
		RefusedCase {"part index 0",
			SmallProjectWith(R"("index": 1, "name": "Test Window")", R"("index": 0, "name": "Test Window")"),
			"at /libraryParts/0/index: expected a whole number from 1 to 2147483647, found 0"},
		RefusedCase {"deep nesting",
			SmallProjectWith(
				R"("window": {"kind": 4},)", R"("window": {"kind": 4}, "later": )" + Nested(10000, "") + ","),
			"at /later/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0...: the values are nested deeper than 256 "
			"levels"},
		RefusedCase {"deep value of the wrong type",
			SmallProjectWith(R"("kind": 4)", R"("kind": )" + Nested(1000000, "1")),
			"at /window/kind/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0/0...: the values are nested deeper than 256 "
			"levels"},
		RefusedCase {"long value of the wrong type", SmallProjectWith(R"("kind": 4)", R"("kind": )" + ManyOnes(100000)),
			"at /window/kind: expected a whole number from 1 to 2147483647, found "
			"[1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1..."},
		RefusedCase {"member twice",
			SmallProjectWith(R"("window": {"kind": 4},)", R"("window": {"kind": 4}, "window": {"kind": 3},)"),
			"at /window: the member \"window\" is there twice"},
		RefusedCase {"module data twice",
			SmallProjectWith(R"("window": {"kind": 4},)",
				R"("window": {"kind": 4}, "moduleData": {"X": {"dataVersion": 2, "platformMark": 1}, "X": {"dataVersion": 2, "platformMark": 1}},)"),
			"at /moduleData/X: the member \"X\" is there twice"},
		RefusedCase {"zero in a part name",
			SmallProjectWith(R"("name": "Test Window")", R"("name": "Test\u0000Window")"),
			"at /libraryParts/0/name: character 5 of the name is a zero character"},
		RefusedCase {"zero in a parameter name", SmallProjectWith(R"({"name": "width")", R"({"name": "wid\u0000th")"),
			"at /libraryParts/0/parameters/0/name: character 4 of the name is a zero character"}),
	[](const ::testing::TestParamInfo<RefusedCase>& caseInfo) {
		std::string name;
		for (const char c : std::string(caseInfo.param.what))
			name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
		return name;
	});

class ProjectFileOpenTest : public ::testing::Test {
protected:
	ScratchFolder scratch;
};

TEST_F(ProjectFileOpenTest, AMalformedFileIsRefusedAndTheOpenProjectStays)
{
	Host host(HostOptions {scratch.Path() / "none", scratch.Path()});
	const std::filesystem::path good = scratch.Path() / "good.json";
	WriteWholeFile(good, SmallProjectText);
	ASSERT_TRUE(host.OpenProject(good));
	Project* open = host.CurrentProject();

	const std::filesystem::path bad = scratch.Path() / "bad.json";
	const std::string badText = SmallProjectWith(R"("story": 2,)", R"("story": 9,)");
	WriteWholeFile(bad, badText);
	const Outcome refused = host.OpenProject(bad);
	EXPECT_FALSE(refused);
	EXPECT_NE(
		refused.problem.find(bad.string() + ": at /elements/7/story: the project has no story 9"), std::string::npos)
		<< refused.problem;
	EXPECT_EQ(host.CurrentProject(), open) << "the open project stays open";
	EXPECT_EQ(ReadWholeFile(bad), badText) << "the refused file is not touched";

	const Outcome missing = host.OpenProject(scratch.Path() / "nowhere.json");
	EXPECT_FALSE(missing);
	EXPECT_NE(missing.problem.find("nowhere.json: there is no such file"), std::string::npos) << missing.problem;
}

TEST_F(ProjectFileOpenTest, AFailedSaveLeavesTheOldFile)
{
	std::string problem;
	const std::unique_ptr<Project> project = Parse(SmallProjectText, problem);
	ASSERT_NE(project, nullptr);
	EXPECT_FALSE(WriteProjectFile(*project, scratch.Path() / "no-such-folder" / "p.json", problem));
	EXPECT_NE(problem.find("Cannot write the project file"), std::string::npos) << problem;

	// A folder that takes no new files: the old file stays as it was, no stray file is left.
	const std::filesystem::path folder = scratch.Path() / "locked";
	std::filesystem::create_directories(folder);
	const std::filesystem::path file = folder / "p.json";
	WriteWholeFile(file, "old contents");
	chmod(folder.c_str(), 0500);
	const bool written = WriteProjectFile(*project, file, problem);
	chmod(folder.c_str(), 0700);
	if (geteuid() != 0) { // the superuser writes anywhere
		EXPECT_FALSE(written);
		EXPECT_EQ(ReadWholeFile(file), "old contents");
	}
	std::size_t files = 0;
	for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
		++files;
	EXPECT_EQ(files, 1u);
}

TEST_F(ProjectFileOpenTest, SavingThroughTheHostWritesTheFileAfterTheSaveEvent)
{
	Host host(HostOptions {scratch.Path() / "none", scratch.Path()});
	ASSERT_TRUE(host.NewProject());
	const std::filesystem::path file = scratch.Path() / "new.json";
	ASSERT_TRUE(host.SaveProjectAs(file));
	EXPECT_EQ(host.CurrentProject()->File(), file);
	std::string problem;
	const std::unique_ptr<Project> saved = ReadProjectFile(file, problem);
	ASSERT_NE(saved, nullptr) << problem;
	EXPECT_EQ(saved->TotalElementCount(), 0u);

	host.CurrentProject()->StoreModuleData("Someone", {1, 2, {3}});
	ASSERT_TRUE(host.SaveProject());
	EXPECT_NE(ReadWholeFile(file).find(R"("Someone": {)"), std::string::npos);
}

} // namespace
} // namespace ReferenceHost::Testing
