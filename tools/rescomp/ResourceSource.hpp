// One readable resource source (a JSON file) turned into compiled resources: string lists,
// dialogs (header and items), icons and binary word resources, each as the bytes the blob
// carries. Every fault is reported with the file's name and the place in it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace Rescomp {

struct CompiledResource {
	std::uint32_t type = 0;
	std::int32_t id = 0;
	std::vector<std::uint8_t> bytes;
	std::string sourceName; // the file it came from, for messages
};

// A malformed source or a conflict between sources; what() names the file.
class ResourceError : public std::runtime_error {
public:
	using std::runtime_error::runtime_error;
};

// Compiles the JSON text of one source; sourceName is used in messages.
std::vector<CompiledResource> CompileResourceSource(std::string_view jsonText, const std::string& sourceName);

} // namespace Rescomp
