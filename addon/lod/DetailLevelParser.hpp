// The line parser of the detail-level configuration file: turns the file's bytes into the
// rows it names, and says which lines lack the two or three quoted values a row needs. It
// shows nothing and touches no table, so every rule of the file format can be tested on plain
// byte strings; ReadDetailLevelFile wraps it with the file and the messages.
#pragma once

#include "VX/String.hpp"

#include <cstddef>
#include <string_view>
#include <vector>

// One accepted line: a parameter name and its value texts, position k standing for level of
// detail k (0 "Detailed", 1 "Simple", 2 "Off", further positions as written).
struct DetailLevelLine {
	std::size_t lineNumber = 0; // from 1, counting every line of the text
	VX::String name;
	std::vector<VX::String> values;
	// The line has fewer than two quoted values: the user must be told, and the row is still
	// entered with what it has.
	bool lacksValues = false;
};

struct DetailLevelParse {
	std::vector<DetailLevelLine> rows;           // in the order of their lines
	std::vector<std::size_t> linesLackingValues; // line numbers of the rows with lacksValues
};

// Parses the file's bytes. The text ends at the first NUL byte, if any.
DetailLevelParse ParseDetailLevelText(std::string_view bytes);
