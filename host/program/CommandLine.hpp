// The facetally-host program as a function, so tests can run it in-process: the command line
// (CLI11), then the main job on a project or a script, with the transcript written to out.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace ReferenceHost {

// Exit codes of the program.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitActionFailed = 1; // a script action or a step of the main job failed
inline constexpr int ExitUsage = 2;        // the command line or the script cannot be used

// arguments[0] is the program name. Makes a Host, so no other Host may exist meanwhile.
int RunHostProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace ReferenceHost
