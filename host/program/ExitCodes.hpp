// The exit codes of facetally-host, named once for the command line, the main job and scripts.
#pragma once

namespace ReferenceHost {

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitActionFailed = 1; // a script action or a step of the main job failed
inline constexpr int ExitUsage = 2;        // the command line or the script cannot be used

} // namespace ReferenceHost
