// facetally-genifc: writes an IFC file holding a building several times (the copies share its
// storeys, their GlobalIds differ), for benchmarks and trials on larger models.
#include "BuildingCopies.hpp"

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <iterator>

int main(int argc, char** argv)
{
	std::string input, output;
	int copies = 5;
	CLI::App app {"facetally-genifc: repeats the building of an IFC file within one file.", "facetally-genifc"};
	app.add_option("input", input, "the IFC file to repeat")->required()->check(CLI::ExistingFile);
	app.add_option("-o,--output", output, "the IFC file to write")->required();
	app.add_option("-n,--copies", copies, "how many times the building stands in the file")
		->capture_default_str()
		->check(CLI::Range(1, 1000));
	CLI11_PARSE(app, argc, argv);

	std::ifstream in(input, std::ios::binary);
	const std::string text(std::istreambuf_iterator<char>(in), {});
	std::ofstream out(output, std::ios::binary);
	out << IfcReading::RepeatBuilding(text, copies);
	if (!out) {
		std::cerr << "facetally-genifc: cannot write " << output << '\n';
		return 1;
	}
	return 0;
}
