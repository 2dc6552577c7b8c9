// The page's files (HTML, CSS, JavaScript) as the program carries them.
#pragma once
#include <string_view>
#include <vector>

namespace ReferenceHost {

struct PageFile {
	std::string_view name;
	std::string_view content;
};

const std::vector<PageFile>& PageFiles();

} // namespace ReferenceHost
