// The bundled sample project and its configuration file: the building has what the counting,
// selecting and level-of-detail features need to show, and the configuration file names the
// sample parts' level-of-detail parameters with values their value lists offer.
#include "ProjectFile.hpp"
#include "ProjectTestSupport.hpp"

#include <set>
#include <sstream>

namespace ReferenceHost::Testing {
namespace {

// The configuration file's rows as name → quoted values, read simply (the sample file has
// no tricky lines).
std::map<std::string, std::vector<std::string>> ConfigurationRows()
{
	std::map<std::string, std::vector<std::string>> rows;
	std::istringstream lines(ReadWholeFile(std::filesystem::path(FACETALLY_SOURCE_DIR) / "examples" / "Facetally.txt"));
	std::string line;
	while (std::getline(lines, line)) {
		std::istringstream words(line);
		std::string name;
		if (!(words >> name) || name[0] == '#')
			continue;
		std::vector<std::string> values;
		for (std::size_t open = line.find('"'); open != std::string::npos;
			 open = line.find('"', line.find('"', open + 1) + 1))
			values.push_back(line.substr(open + 1, line.find('"', open + 1) - open - 1));
		rows[name] = values;
	}
	return rows;
}

class SampleProjectTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		std::string problem;
		project = ReadProjectFile(SampleProjectFile(), problem);
		ASSERT_NE(project, nullptr) << problem;
	}

	std::unique_ptr<Project> project;
};

TEST_F(SampleProjectTest, AMultiStoreyBuildingOfEveryCountedKind)
{
	EXPECT_GE(project->StoryList().last - project->StoryList().first + 1, 3);
	std::set<std::int16_t> stories;
	for (const std::int32_t type : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 17}) {
		EXPECT_GT(project->ElementCount(type), 0) << ElementTypeNameOf(type);
		for (const Element& element : project->ElementsOf(type))
			stories.insert(element.story);
	}
	EXPECT_GE(stories.size(), 3u);
	EXPECT_GT(project->ElementCount(28), 0) << "a group";
	bool stair = false;
	bool missing = false;
	bool protectedGroupMember = false;
	for (const Element& element : project->ElementsOf(6)) {
		stair = stair || element.variation == HostSdk::StairVariation;
		const LibraryPart* part = project->FindLibraryPart(element.libPartIndex);
		missing = missing || (part != nullptr && part->missing);
		if (element.groupIndex != 0) {
			const Element* group = project->FindElement(28, element.groupIndex);
			protectedGroupMember =
				protectedGroupMember || (group->groupMode == 1 && group->groupProtected && group->protectionId != 0);
		}
	}
	EXPECT_TRUE(stair) << "a stair object";
	EXPECT_TRUE(missing) << "an object of a missing part";
	EXPECT_TRUE(protectedGroupMember);
	std::set<std::int32_t> windowParts;
	for (const Element& element : project->ElementsOf(4))
		windowParts.insert(element.libPartIndex);
	std::set<std::int32_t> doorParts;
	for (const Element& element : project->ElementsOf(5))
		doorParts.insert(element.libPartIndex);
	EXPECT_GE(windowParts.size(), 2u);
	EXPECT_GE(doorParts.size(), 2u);
}

TEST_F(SampleProjectTest, TheConfigurationFileNamesTheLevelParametersOfTheParts)
{
	const std::map<std::string, std::vector<std::string>> rows = ConfigurationRows();
	std::size_t withLevels = 0;
	std::size_t without = 0;
	for (const LibraryPart& part : project->LibraryParts()) {
		if (part.missing)
			continue;
		if (part.modelParameter.empty()) {
			++without;
			for (const Parameter& parameter : part.parameters)
				EXPECT_FALSE(rows.contains(parameter.name)) << part.name << " has no level-of-detail parameter";
			continue;
		}
		++withLevels;
		SCOPED_TRACE(part.name);
		ASSERT_TRUE(rows.contains(part.modelParameter));
		const Parameter* parameter = FindParameter(part.parameters, part.modelParameter);
		// Every value of the list is in the row, so the row is accepted, and every value has a model.
		for (const std::string& value : parameter->valueList) {
			const std::vector<std::string>& row = rows.at(part.modelParameter);
			EXPECT_NE(std::find(row.begin(), row.end(), value), row.end()) << value;
			EXPECT_TRUE(part.models.contains(value)) << value;
		}
		// The levels really differ in polygons.
		std::set<std::int64_t> sums;
		for (const auto& [value, model] : part.models) {
			std::int64_t sum = 0;
			for (const std::int32_t polygons : model)
				sum += polygons;
			sums.insert(sum);
		}
		EXPECT_EQ(sums.size(), part.models.size());
	}
	EXPECT_GE(withLevels, 3u);
	EXPECT_GE(without, 1u);
}

} // namespace
} // namespace ReferenceHost::Testing
