// The checks a file passes before the host reads it whole or writes over it: a name that is
// the name a person gave, a regular file (not a device, a pipe or a folder, which would read
// for ever or block), a size the host can hold. Every opening of a file goes through them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace ReferenceHost {

// The largest project file the host reads.
inline constexpr std::uintmax_t MostProjectFileBytes = std::uintmax_t(1) << 30;

// Whether the name holds a zero character, which the system would take as its end.
bool HoldsZeroCharacter(const std::filesystem::path& file);

// Whether the file may be read whole: its name holds no zero character, it exists and is a
// regular file (a symbolic link is followed), and it holds at most mostBytes. False with a
// message naming the file, which begins with what ("Cannot read the project file NAME: ...").
bool CheckFileBeforeReading(
	const std::filesystem::path& file, std::uintmax_t mostBytes, const std::string& what, std::string& problem);

// The file a write to file really changes: the target of a symbolic link (of a chain of them),
// so that the link stays; the name itself otherwise.
std::filesystem::path FileBehindLinks(const std::filesystem::path& file);

} // namespace ReferenceHost
