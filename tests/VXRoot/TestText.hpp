// Splits channel output into lines, so tests compare printed text line by line.
#pragma once

#include <string>
#include <vector>

inline std::vector<std::string> Lines(const std::string& text)
{
	std::vector<std::string> lines;
	std::string::size_type start = 0;
	while (start < text.size()) {
		std::string::size_type end = text.find('\n', start);
		if (end == std::string::npos) {
			lines.push_back(text.substr(start));
			break;
		}
		lines.push_back(text.substr(start, end - start));
		start = end + 1;
	}
	return lines;
}
