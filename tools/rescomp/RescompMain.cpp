// facetally-rescomp: compiles readable JSON resource sources into the blob a module carries.
// Nothing is written unless every source compiled, so a failed build never leaves a blob that
// looks current.
#include "ResourceBlobWriter.hpp"
#include "ResourceSource.hpp"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadSource(const std::string& path)
{
	std::ifstream file(path, std::ios::binary);
	if (!file)
		throw Rescomp::ResourceError(path + ": cannot be read");
	std::ostringstream text;
	text << file.rdbuf();
	if (file.bad())
		throw Rescomp::ResourceError(path + ": cannot be read");
	return text.str();
}

void WriteBlob(const std::string& path, const std::vector<std::uint8_t>& blob)
{
	// Written beside the target and renamed, so readers never see half a blob.
	const std::string partial = path + ".partial";
	{
		std::ofstream file(partial, std::ios::binary | std::ios::trunc);
		file.write(reinterpret_cast<const char*>(blob.data()), static_cast<std::streamsize>(blob.size()));
		if (!file)
			throw Rescomp::ResourceError(path + ": cannot be written");
	}
	std::error_code error;
	std::filesystem::rename(partial, path, error);
	if (error) {
		std::filesystem::remove(partial, error);
		throw Rescomp::ResourceError(path + ": cannot be written");
	}
}

} // namespace

int main(int argumentCount, char** arguments)
{
	CLI::App app("Compiles JSON resource sources (string lists, dialogs, icons, binary words) into one resource blob.",
		"facetally-rescomp");
	std::string outputPath;
	std::vector<std::string> sourcePaths;
	app.add_option("-o,--output", outputPath, "The blob file to write")->required();
	app.add_option("sources", sourcePaths, "The JSON resource sources, merged into one blob")->required();
	CLI11_PARSE(app, argumentCount, arguments);

	try {
		std::vector<Rescomp::CompiledResource> resources;
		for (const std::string& path : sourcePaths) {
			std::vector<Rescomp::CompiledResource> compiled = Rescomp::CompileResourceSource(ReadSource(path), path);
			resources.insert(
				resources.end(), std::make_move_iterator(compiled.begin()), std::make_move_iterator(compiled.end()));
		}
		WriteBlob(outputPath, Rescomp::WriteResourceBlob(std::move(resources)));
	} catch (const Rescomp::ResourceError& error) {
		std::cerr << "facetally-rescomp: " << error.what() << '\n';
		return EXIT_FAILURE;
	}
	return EXIT_SUCCESS;
}
