// The built module's dynamic symbol table: the two functions the host looks up are the only
// symbols it defines for others, so nothing of the module's insides can clash with the host's
// or another add-on's.
#include "Host.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

struct CommandResult {
	int exitCode = -1;
	std::string output;
};

CommandResult RunCommand(const std::string& command)
{
	CommandResult result;
	FILE* pipe = popen(command.c_str(), "r");
	if (pipe == nullptr)
		return result;
	char buffer[4096];
	while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe))
		result.output.append(buffer, read);
	result.exitCode = pclose(pipe);
	return result;
}

std::string Quoted(const std::filesystem::path& path)
{
	return "'" + path.string() + "'";
}

TEST(ModuleExportsTest, TheModuleDefinesExactlyTheTwoExportedFunctions)
{
	const std::filesystem::path module =
		std::filesystem::path(FACETALLY_ADDON_DIR) / ("Facetally" + std::string(ReferenceHost::AddOnExtension));
	ASSERT_TRUE(std::filesystem::exists(module)) << module;
	const CommandResult listing = RunCommand("nm -D --defined-only " + Quoted(module) + " 2>&1");
	ASSERT_EQ(listing.exitCode, 0) << listing.output;

	// Lines read "<address> <kind> <name>"; the kind tells functions (T) from the rest.
	std::set<std::string> functions;
	std::set<std::string> others;
	std::istringstream lines(listing.output);
	std::string line;
	while (std::getline(lines, line)) {
		std::istringstream fields(line);
		std::string address, kind, name;
		if (!(fields >> address >> kind >> name))
			continue;
		(kind == "T" ? functions : others).insert(name + " (" + kind + ")");
	}
	EXPECT_EQ(functions, (std::set<std::string> {"GetExportedFuncAddrs (T)", "SetImportedFuncAddrs (T)"}));
	EXPECT_TRUE(others.empty()) << "also defined: " << ::testing::PrintToString(others);
}

} // namespace
