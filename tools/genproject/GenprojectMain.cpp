// facetally-genproject: writes a large synthetic project file (and, when asked, the
// configuration file line that names its level-of-detail parameter) for benchmarks and
// stress tests.
#include "HostText.hpp"
#include "ProjectFile.hpp"
#include "ProjectGenerator.hpp"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <fstream>
#include <iostream>

// Settings the generator refuses, as a command line it cannot use.
constexpr int ExitBadSettings = 2;

int main(int argc, char** argv)
{
	ReferenceHost::ProjectGeneratorSettings settings;
	std::string output;
	std::string configuration;
	CLI::App app {"facetally-genproject: writes a synthetic project of many elements for benchmarks and stress tests.",
		"facetally-genproject"};
	app.add_option("-o,--output", output, "the project file to write")->required();
	app.add_option("-n,--elements", settings.elements, "number of elements (groups come on top)")
		->capture_default_str();
	app.add_option("-p,--parts", settings.libraryParts, "number of library parts")->capture_default_str();
	app.add_option("-c,--components", settings.componentsPerElement, "3D components per element")
		->capture_default_str();
	app.add_option("-s,--stories", settings.stories, "number of stories")->capture_default_str();
	app.add_option("--seed", settings.seed, "seed of the random choices")->capture_default_str();
	app.add_option("--configuration", configuration,
		"also write a configuration file naming the parts' level-of-detail parameter");
	CLI11_PARSE(app, argc, argv);

	std::unique_ptr<ReferenceHost::Project> project;
	try {
		project = ReferenceHost::GenerateProject(settings);
	} catch (const std::exception& error) {
		std::cerr << "facetally-genproject: " << error.what() << "\n";
		return ExitBadSettings;
	}
	std::string problem;
	if (!ReferenceHost::WriteProjectFile(*project, output, problem)) {
		std::cerr << "facetally-genproject: " << problem << "\n";
		return EXIT_FAILURE;
	}
	if (!configuration.empty()) {
		std::ofstream file(configuration, std::ios::binary | std::ios::trunc);
		file << "# Written by facetally-genproject\n" << ReferenceHost::GeneratedDetailLevelLine(settings);
		file.close();
		if (!file) {
			std::cerr << "facetally-genproject: cannot write the configuration file " << configuration << "\n";
			return EXIT_FAILURE;
		}
	}
	std::cout << output << ": " << ReferenceHost::Counted(project->TotalElementCount(), "element") << ", "
			  << ReferenceHost::Counted(project->LibraryParts().size(), "library part") << ", "
			  << ReferenceHost::Counted(settings.stories, "story", "stories") << "\n";
	return EXIT_SUCCESS;
}
