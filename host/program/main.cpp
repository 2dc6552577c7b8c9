// facetally-host: the reference host program.
#include "CommandLine.hpp"

#include <iostream>

int main(int argc, char** argv)
{
	return ReferenceHost::RunHostProgram(std::vector<std::string>(argv, argv + argc), std::cout, std::cerr);
}
