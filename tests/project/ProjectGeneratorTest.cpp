// The project generator and its program: the projects have what was asked for, load again,
// and the same seed gives the same project.
#include "ProjectGenerator.hpp"
#include "ProjectFile.hpp"
#include "ProjectTestSupport.hpp"

#include <sys/wait.h>

#include <cstdlib>

namespace ReferenceHost::Testing {
namespace {

class ProjectGeneratorTest : public ::testing::Test {
protected:
	ScratchFolder scratch;
};

TEST_F(ProjectGeneratorTest, AProjectOfTheAskedSize)
{
	ProjectGeneratorSettings settings;
	settings.elements = 500;
	settings.libraryParts = 8;
	settings.componentsPerElement = 4;
	settings.stories = 5;
	const std::unique_ptr<Project> project = GenerateProject(settings);
	EXPECT_EQ(project->LibraryParts().size(), 8u);
	EXPECT_EQ(project->StoryList().last - project->StoryList().first + 1, 5);
	EXPECT_EQ(project->ElementCount(28), 6) << "one group per hundred elements, and one more";
	EXPECT_EQ(project->TotalElementCount(), 506u);

	std::size_t placed = 0;
	std::size_t stairs = 0;
	for (std::int32_t type = 0; type < ElementTypeCount; ++type)
		for (const Element& element : project->ElementsOf(type)) {
			EXPECT_TRUE(project->StoryList().Contains(element.story));
			if (element.libPartIndex != 0) {
				++placed;
				ASSERT_NE(project->PartOf(element), nullptr);
				EXPECT_EQ(project->PartOf(element)->typeId, element.type);
			} else if (!element.IsGroup()) {
				EXPECT_EQ(element.components.size(), 4u);
			}
			if (element.variation == HostSdk::StairVariation)
				++stairs;
			if (element.groupIndex != 0) {
				EXPECT_NE(project->FindElement(28, element.groupIndex), nullptr);
			}
		}
	EXPECT_GT(placed, 200u);
	EXPECT_LT(placed, 400u);
	EXPECT_GT(stairs, 0u);

	// Parts with the level-of-detail parameter: "Detailed" shows the whole model, "Simple" a
	// quarter, "Off" nothing; every fourth part has no such parameter.
	const LibraryPart& withLevels = project->LibraryParts()[0];
	EXPECT_EQ(withLevels.modelParameter, "detail_level");
	EXPECT_EQ(withLevels.models.at("Detailed").size(), 4u);
	EXPECT_EQ(withLevels.models.at("Simple").size(), 1u);
	EXPECT_TRUE(withLevels.models.at("Off").empty());
	EXPECT_TRUE(project->LibraryParts()[3].modelParameter.empty());
}

TEST_F(ProjectGeneratorTest, TheSameSeedGivesTheSameProjectAndItLoads)
{
	ProjectGeneratorSettings settings;
	settings.elements = 300;
	const std::string first = ProjectText(*GenerateProject(settings));
	EXPECT_EQ(ProjectText(*GenerateProject(settings)), first);
	settings.seed = 2;
	EXPECT_NE(ProjectText(*GenerateProject(settings)), first);

	std::string problem;
	const std::unique_ptr<Project> loaded = ParseProjectText(first, "generated.json", problem);
	ASSERT_NE(loaded, nullptr) << problem;
	EXPECT_EQ(ProjectText(*loaded), first);
}

TEST_F(ProjectGeneratorTest, SettingsNoProjectCanHaveAreRefused)
{
	ProjectGeneratorSettings settings;
	settings.stories = 0;
	EXPECT_THROW(GenerateProject(settings), std::invalid_argument);
	settings.stories = 40000;
	EXPECT_THROW(GenerateProject(settings), std::invalid_argument);
	settings.stories = 1;
	settings.elements = 1000000;
	settings.componentsPerElement = 5000;
	EXPECT_THROW(GenerateProject(settings), std::invalid_argument);
	settings = ProjectGeneratorSettings {};
	settings.simpleValue = settings.offValue;
	EXPECT_THROW(GenerateProject(settings), std::invalid_argument);
}

TEST_F(ProjectGeneratorTest, TheProgramWritesAProjectAndItsConfigurationLine)
{
	const std::filesystem::path project = scratch.Path() / "big.json";
	const std::filesystem::path configuration = scratch.Path() / "Facetally.txt";
	const std::string command = std::string("'") + GENPROJECT_PROGRAM + "' -o '" + project.string() +
		"' -n 2000 -p 12 -c 3 -s 4 --configuration '" + configuration.string() + "' > /dev/null";
	const int status = std::system(command.c_str());
	ASSERT_TRUE(WIFEXITED(status));
	ASSERT_EQ(WEXITSTATUS(status), 0);

	Host host(HostOptions {scratch.Path() / "none", scratch.Path()});
	const Outcome opened = host.OpenProject(project);
	ASSERT_TRUE(opened) << opened.problem;
	EXPECT_EQ(host.CurrentProject()->TotalElementCount(), 2021u);
	EXPECT_EQ(host.CurrentProject()->LibraryParts().size(), 12u);
	EXPECT_EQ(ReadWholeFile(configuration),
		"# Written by facetally-genproject\ndetail_level \"Detailed\" \"Simple\" \"Off\"\n");

	const std::string refused =
		std::string("'") + GENPROJECT_PROGRAM + "' -o '" + project.string() + "' -s 0 2> /dev/null";
	const int refusedStatus = std::system(refused.c_str());
	ASSERT_TRUE(WIFEXITED(refusedStatus));
	EXPECT_EQ(WEXITSTATUS(refusedStatus), 2);
}

} // namespace
} // namespace ReferenceHost::Testing
