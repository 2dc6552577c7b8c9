// The configuration file's line rules: lines split at line feeds (a carriage return stays in
// the line and falls outside the quotes), a name up to the first space or tab, "#" names as
// comments, and values taken between pairs of double quotes with everything else ignored.
#include "lod/DetailLevelParser.hpp"

namespace {

constexpr char LineFeed = '\n';
constexpr char Quote = '"';

bool IsNameSeparator(char c)
{
	return c == ' ' || c == '\t';
}

// Position of the first c at or after from, or the line's end when there is none.
std::size_t FindOrEnd(std::string_view line, char c, std::size_t from)
{
	if (from >= line.size())
		return line.size();
	const std::size_t found = line.find(c, from);
	return found == std::string_view::npos ? line.size() : found;
}

// Parses one line; false when the line yields no row.
bool ParseLine(std::string_view line, DetailLevelLine& row)
{
	if (line.size() < 2)
		return false;

	std::size_t nameStart = 0;
	while (nameStart < line.size() && IsNameSeparator(line[nameStart]))
		++nameStart;
	if (nameStart == line.size())
		return false;
	std::size_t nameEnd = nameStart;
	while (nameEnd < line.size() && !IsNameSeparator(line[nameEnd]))
		++nameEnd;
	if (line[nameStart] == '#')
		return false;
	// Past the separator, or past the line's end when the name ends the line.
	std::size_t scan = nameEnd + 1;
	if (scan >= line.size())
		return false;

	row.name = VX::String(line.substr(nameStart, nameEnd - nameStart));
	row.values.clear();
	while (scan < line.size()) {
		const std::size_t open = FindOrEnd(line, Quote, scan);
		const std::size_t close = FindOrEnd(line, Quote, open + 1);
		// An opening quote without a closing one takes the rest of the line.
		if (close > open)
			row.values.emplace_back(line.substr(open + 1, close - open - 1));
		scan = close + 1;
	}

	if (row.values.size() < 2) {
		row.lacksValues = true;
	} else if (row.values.size() == 2) {
		// Two values stand for "Detailed" and "Off"; "Simple" is then not offered.
		row.values.insert(row.values.begin() + 1, VX::String());
	}
	return true;
}

} // namespace

DetailLevelParse ParseDetailLevelText(std::string_view bytes)
{
	const std::string_view text = bytes.substr(0, bytes.find('\0'));
	DetailLevelParse result;
	std::size_t start = 0;
	std::size_t lineNumber = 0;
	do {
		const std::size_t feed = text.find(LineFeed, start);
		const std::size_t end = feed == std::string_view::npos ? text.size() : feed;
		++lineNumber;
		DetailLevelLine row;
		row.lineNumber = lineNumber;
		if (ParseLine(text.substr(start, end - start), row)) {
			if (row.lacksValues)
				result.linesLackingValues.push_back(lineNumber);
			result.rows.push_back(std::move(row));
		}
		start = end + 1;
	} while (start < text.size());
	return result;
}
